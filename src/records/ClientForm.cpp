#include "records/ClientForm.h"

namespace halcyra {

ClientForm formOf(const ClientRecord& record)
{
    ClientForm form;
    for (int index = 0; index < columns::kDetailCount; ++index)
        form.details[static_cast<size_t>(index)] = record.text(columns::detail(index));
    for (int n = 1; n <= columns::kScoreCount; ++n)
        form.scores[static_cast<size_t>(n)] = record.score(n);
    for (int i = 0; i < columns::kYesNoCount; ++i)
        form.yesNo[static_cast<size_t>(i)] = record.yesNo(i);
    return form;
}

ClientRecord editedRecord(const ClientRecord& stored, const ClientForm& form)
{
    ClientRecord edited = stored;
    // From 1: the record number is the database's, not the adviser's.
    for (int index = 1; index < columns::kDetailCount; ++index) {
        const QString& text = form.details[static_cast<size_t>(index)];
        if (text != stored.text(columns::detail(index)))
            edited.setText(columns::detail(index), text);
    }
    for (int n = 1; n <= columns::kScoreCount; ++n) {
        const QString& text = form.scores[static_cast<size_t>(n)];
        if (text != stored.score(n))
            edited.setScore(n, text);
    }
    for (int i = 0; i < columns::kYesNoCount; ++i) {
        const bool yes = form.yesNo[static_cast<size_t>(i)];
        if (yes != stored.yesNo(i))
            edited.setYesNo(i, yes);
    }
    return edited;
}

bool isEdited(const ClientRecord& stored, const ClientForm& form)
{
    return !(editedRecord(stored, form) == stored);
}

} // namespace halcyra

#pragma once

#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "setup/Options.h"

#include <QList>
#include <QString>
#include <array>

namespace halcyra::test {

// The options dialog's answers, for tests of the commands that act on them.

// Report documents 1..5 ticked as "1"/"0" a box.
inline QString ticked(const QList<int>& chosen)
{
    std::array<bool, kDocumentsPerPage> boxes{};
    for (int n = 1; n <= kDocumentsPerPage; ++n)
        boxes[static_cast<size_t>(n - 1)] = chosen.contains(n);
    return selectedDocsText(boxes);
}

// Print pressed on the Reports page with the documents `chosen` ticked.
inline OptionsResult printAnswer(const QList<int>& chosen)
{
    OptionsResult answer;
    answer.button = OptionsButton::Print;
    answer.selectedDocs = ticked(chosen);
    answer.steps = documentsToPrint(OptionsTab::Reports, *answer.selectedDocs);
    return answer;
}

// View pressed with the report pages `chosen` ticked, which the dialog stores as it closes.
inline OptionsResult viewAnswer(SettingsStore& settings, const QList<int>& chosen)
{
    for (int n = 1; n <= kDocumentsPerPage; ++n)
        settings.save(keys::reportDocument(n),
                      chosen.contains(n) ? QStringLiteral("1") : QStringLiteral("0"));
    OptionsResult answer;
    answer.button = OptionsButton::View;
    answer.selectedDocs = ticked(chosen);
    return answer;
}

} // namespace halcyra::test

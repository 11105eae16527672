#pragma once

#include "records/ClientRecord.h"
#include "records/ScoreRules.h"

#include <QString>
#include <array>

namespace halcyra {

// What the main window's boxes show of one client: the detail boxes txtFields(0..18), the score
// boxes txtScore(1..42) and the yes/no boxes ckYesNo(0..4).
struct ClientForm
{
    std::array<QString, columns::kDetailCount> details;
    ScoreBoxes scores;
    std::array<bool, columns::kYesNoCount> yesNo{};

    bool operator==(const ClientForm& other) const = default;
};

// The boxes' texts for a stored record (an empty value shows as an empty box).
ClientForm formOf(const ClientRecord& record);

// The record as the boxes now show it. A column whose text is unchanged keeps its stored value,
// so a number stays a number and an empty value stays empty; the record number never changes.
ClientRecord editedRecord(const ClientRecord& stored, const ClientForm& form);

// Whether the boxes show anything other than the stored record, i.e. whether there is
// something to save.
bool isEdited(const ClientRecord& stored, const ClientForm& form);

} // namespace halcyra

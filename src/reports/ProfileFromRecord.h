#pragma once

#include "reports/ProfileInput.h"

namespace halcyra {

struct ClientRecord;

// The profile of a saved client record, as the report commands read it from the main
// window's boxes: row r from score box r, the five yes/no boxes, age, sex, total cholesterol
// and HDL.
ProfileInput profileInputFromRecord(const ClientRecord& record);

} // namespace halcyra

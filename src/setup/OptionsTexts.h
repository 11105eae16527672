#pragma once

#include "setup/Options.h"

#include <QString>
#include <array>

namespace halcyra {

// The fixed texts of the options dialog that do not come from the catalogue.

// A message title that can be switched off, which is also its settings key, with the tool tip
// of its box.
struct MessageSwitch
{
    QString caption;
    QString toolTip;
};
const std::array<MessageSwitch, kMessageSwitchCount>& messageSwitches();

// Captions of the report document boxes Check1(1..5) and the daily sheet boxes Check2(1..5).
const std::array<QString, kDocumentsPerPage>& reportDocumentCaptions();
const std::array<QString, kDocumentsPerPage>& dailySheetCaptions();

// Captions of optMethod(0..2).
const std::array<QString, kFlyersMethodCount>& flyersMethodCaptions();

// The help texts placed on the pages.
QString documentsHelpText();   // Reports and Daily Intake
QString pageHeadersHelpText(); // Page Headers

} // namespace halcyra

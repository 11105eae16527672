#pragma once

#include "core/CompanyFields.h"

#include <QString>

namespace halcyra {

// Program-wide values fixed at start-up and read by the windows and reports.
struct ProgramState
{
    static QString DatabaseFileName() { return QStringLiteral("HCY300.db"); }

    QString DatabaseFolder;   // always ends in the folder separator
    QString DatabaseFullPath; // DatabaseFolder + DatabaseFileName()
    QString DatabaseConnect;  // empty: the default database format

    // The company information the reports print; the company window keeps it up to date.
    CompanyInfo CompanyInfoLines;
    bool CompanyInfoOpenedAtStart = false;

    // Set when the adviser cancels the options dialog or a message's Cancel button.
    bool OptionsCancelled = false;

    // The report commands' hand-over with the options dialog: the command that opens it
    // ("P-Well", "V-Well", "P-Daily", "V-Daily"; empty for the Setup menu), the chosen documents
    // as one "1"/"0" per box, and how the dialog was left.
    QString OptionsMode;
    QString SelectedDocs;
    bool PrintRequested = false;
    bool SkipPrinting = false; // also set when the print dialog fails or is cancelled
};

} // namespace halcyra

#pragma once

#include <QString>
#include <optional>

class QPrinter;
class QWidget;

namespace halcyra {

class UserPrompts;
struct SettingsShown;

// The printer choice: the system's Print dialog on a copy of the program's printer, and on OK
// the chosen device and settings copied onto the program's printer. Nothing of its own shows.
class frmPrnDialog
{
public:
    explicit frmPrnDialog(UserPrompts& prompts, QWidget* parent = nullptr);

    // Lets the adviser choose the printer and its settings. True when the choice was applied;
    // false when the Print dialog ended without OK (cancelled or failed), which is a report
    // run's SkipPrinting: the printer stays exactly as it was.
    bool Command2_Click(QPrinter& printer);

    // The page setup (paper, orientation, margins) of `printer` itself; true on OK. Otherwise
    // says "Dialog canceled" or why it failed.
    bool ShowPageSetup(QPrinter& printer);

private:
    // The Print dialog on `chosen`; true on OK. Otherwise reports a failure `code` (a plain cancel,
    // code 0, says nothing). `shown` tells which of the kept settings' controls the adviser saw.
    bool ShowPrinter(QPrinter& chosen, int code, SettingsShown* shown);

    UserPrompts& m_prompts;
    QWidget* m_parent;
};

// Where a print for the PDF writer goes, when no Print dialog asked: a save dialog on
// `proposed`, which asks before it replaces a file. Nothing when cancelled.
std::optional<QString> askPdfFile(const QString& title, const QString& proposed, QWidget* parent);

// File > Page Setup of the main window: the printer choice on the program's printer. A cancel
// here only matters to a report run, which asks for itself, so it is not kept.
void mnuFilePageSetup_Click(QPrinter& printer, UserPrompts& prompts, QWidget* parent);

} // namespace halcyra

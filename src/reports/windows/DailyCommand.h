#pragma once

#include "reports/windows/ViewWellCommand.h"

#include <QString>

class QPrinter;
class QWidget;

namespace halcyra {

class Catalogue;
class ErrorReporter;
class PrintWellCommand;
class SettingsStore;
struct ProgramState;

// View and Print > Daily Intake Sheets: the options dialog on its daily-sheets page, then the
// chosen sheets opened in the PDF reader or printed as report documents 6 to 10.
class DailyCommand
{
public:
    DailyCommand(const Catalogue& catalogue, SettingsStore& settings, ProgramState& state,
                 ErrorReporter& reporter, PrintWellCommand& printer);

    // Starts the reader launcher; tests put a recorder in its place.
    void setLauncher(ViewWellCommand::LauncherFunction launcher)
    {
        m_launcher = std::move(launcher);
    }
    // Where the sheets to view are chosen; the options dialog unless a test answers instead.
    void setOptionsChooser(OptionsChooser choose) { m_chooseOptions = std::move(choose); }

    void mnuViewDaily_Click(QWidget* parent);
    void mnuPrintDaily_Click(QPrinter& printer, QWidget* parent);

    // The sheets handed to the reader by the last view ("P1.PDF NSG.PDF"), or "00000" after a
    // cancelled printer choice; named in the error report of the view.
    const QString& printQue() const { return m_printQue; }

private:
    const Catalogue& m_catalogue;
    SettingsStore& m_settings;
    ProgramState& m_state;
    ErrorReporter& m_reporter;
    PrintWellCommand& m_printer;
    ViewWellCommand::LauncherFunction m_launcher;
    OptionsChooser m_chooseOptions;
    QString m_printQue;
};

} // namespace halcyra

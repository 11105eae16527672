#pragma once

#include "core/Result.h"
#include "flyers/FlyerSelection.h"
#include "records/ClientRecord.h"
#include "reports/ReferenceTables.h"
#include "reports/ScreenPages.h"
#include "setup/Options.h"

#include <QPointer>
#include <functional>

class QPrinter;
class QWidget;

namespace halcyra {

class Catalogue;
class ErrorReporter;
class PrintWellCommand;
class SettingsStore;
class frmPreview;
struct ProgramState;

// View > Halcyra Documents: the options dialog in its "V-Well" mode for the choice of pages,
// then the page loop over the preview window, where the adviser prints single pages and
// queues the flyers of ticked supplements for the reader.
class ViewWellCommand
{
public:
    ViewWellCommand(const Catalogue& catalogue, SettingsStore& settings, ProgramState& state,
                    ErrorReporter& reporter, PrintWellCommand& printer);
    ~ViewWellCommand();
    ViewWellCommand(const ViewWellCommand&) = delete;
    ViewWellCommand& operator=(const ViewWellCommand&) = delete;

    // Starts the reader launcher for the program folder; tests put a recorder in its place.
    using LauncherFunction = std::function<Status(const QString& folder)>;
    void setLauncher(LauncherFunction launcher) { m_launcher = std::move(launcher); }
    // Where the pages are chosen; the options dialog unless a test answers instead.
    void setOptionsChooser(OptionsChooser choose) { m_chooseOptions = std::move(choose); }

    // Views the report of a saved record (the caller has saved it).
    void mnuViewWell_Click(const ClientRecord& record, QPrinter& printer, QWidget* parent);
    // The page loop and one page of it.
    void ViewOptions();
    void ViewDocuments(int& page);
    // Queues the flyers of the ticked items and starts the launcher.
    void PrintFlyers();

    // Queues one document of the program folder and starts the launcher: the help menu's
    // documents.
    void openInReader(const QString& fileName);

    frmPreview* preview() const;
    const MissingFlyers& missingFlyers() const { return m_missing; }
    int CurrentPage = 0;

private:
    void queue(const QString& fileName);
    void launch();

    const Catalogue& m_catalogue;
    SettingsStore& m_settings;
    ProgramState& m_state;
    ErrorReporter& m_reporter;
    PrintWellCommand& m_printer;
    ReferenceTables m_tables;
    LauncherFunction m_launcher;
    OptionsChooser m_chooseOptions;
    MissingFlyers m_missing;

    // The run in progress.
    ClientRecord m_record;
    screen::ScreenReport m_report;
    QPrinter* m_printDevice = nullptr;
    QWidget* m_parent = nullptr;
    QPointer<frmPreview> m_preview;
};

} // namespace halcyra

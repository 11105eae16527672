#include "reports/windows/DailyCommand.h"

#include "core/BusyCursor.h"
#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "flyers/ReaderQueue.h"
#include "reports/ReportDocuments.h"
#include "reports/windows/PrintWellCommand.h"
#include "setup/windows/frmOptions.h"

#include <QCoreApplication>

namespace halcyra {
namespace {

const char* const kViewLabel = "frmMain:Sub mnuViewDaily_Click()";
const char* const kPrintLabel = "frmMain:Sub mnuPrintDaily_Click()";

} // namespace

DailyCommand::DailyCommand(const Catalogue& catalogue, SettingsStore& settings, ProgramState& state,
                           ErrorReporter& reporter, PrintWellCommand& printer)
    : m_catalogue(catalogue), m_settings(settings), m_state(state), m_reporter(reporter),
      m_printer(printer), m_launcher(startReaderLauncher),
      m_chooseOptions(optionsDialogChooser(catalogue, settings, reporter))
{}

void DailyCommand::mnuViewDaily_Click(QWidget* parent)
{
    m_reporter.trap(QString::fromLatin1(kViewLabel), [&] {
        try {
            chooseReportOptions(m_chooseOptions, m_state, OptionsMode::ViewDaily, parent);
            if (m_state.OptionsCancelled)
                return;
            const BusyCursor busy(m_reporter.prompts());
            m_printQue.clear();
            for (const QString& sheet : chosenDailySheets(m_settings)) {
                // The queue names the file as it is on disk; a missing one is still queued, and
                // the reader says it is missing.
                const QString found = findDocument(m_state.DatabaseFolder, sheet);
                const QString name = found.isEmpty() ? sheet : found.section(u'/', -1);
                const Status queued = QueueFileForReader(m_state.DatabaseFolder, name);
                if (!queued)
                    throw ProgramError(errors::kPathFileAccess, queued.error());
                m_printQue += (m_printQue.isEmpty() ? QString() : QStringLiteral(" ")) + name;
                QCoreApplication::processEvents();
            }
            // Started even with nothing queued: the launcher also opens what an earlier command
            // left in the queue.
            const Status started = m_launcher(m_state.DatabaseFolder);
            if (!started)
                throw ProgramError(errors::kFileNotFound, started.error());
        } catch (const ProgramError& error) {
            throw ProgramError(error.number(),
                               error.description() + QStringLiteral("\nPrintQue = ") + m_printQue);
        }
    });
}

void DailyCommand::mnuPrintDaily_Click(QPrinter& printer, QWidget* parent)
{
    m_reporter.trap(QString::fromLatin1(kPrintLabel), [&] {
        const bool cancelled = m_printer.printDailySheets(printer, parent);
        if (cancelled) {
            // Nothing was printed: the sheets are offered for viewing instead.
            m_printQue = QStringLiteral("00000");
            m_state.SkipPrinting = true;
        }
        if (!m_printQue.isEmpty() && m_state.SkipPrinting) {
            mnuViewDaily_Click(parent);
            m_state.SkipPrinting = false;
        }
    });
}

} // namespace halcyra

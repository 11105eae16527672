#include "reports/windows/ViewWellCommand.h"

#include "core/BusyCursor.h"
#include "core/Conversions.h"
#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "flyers/ReaderQueue.h"
#include "reports/ProfileFromRecord.h"
#include "reports/windows/PrintWellCommand.h"
#include "reports/windows/frmPreview.h"
#include "setup/windows/frmOptions.h"

#include <QCoreApplication>
#include <QDate>

namespace halcyra {
namespace {

QString label(const char* procedure)
{
    return QStringLiteral("frmMain:Sub ") + QString::fromLatin1(procedure) + QStringLiteral("()");
}

} // namespace

ViewWellCommand::ViewWellCommand(const Catalogue& catalogue, SettingsStore& settings,
                                 ProgramState& state, ErrorReporter& reporter,
                                 PrintWellCommand& printer)
    : m_catalogue(catalogue), m_settings(settings), m_state(state), m_reporter(reporter),
      m_printer(printer), m_tables(ReferenceTables::fromCatalogue(catalogue)),
      m_launcher(startReaderLauncher),
      m_chooseOptions(optionsDialogChooser(catalogue, settings, reporter))
{}

ViewWellCommand::~ViewWellCommand()
{
    delete m_preview;
}

frmPreview* ViewWellCommand::preview() const
{
    return m_preview;
}

void ViewWellCommand::mnuViewWell_Click(const ClientRecord& record, QPrinter& printer,
                                        QWidget* parent)
{
    m_record = record;
    m_printDevice = &printer;
    m_parent = parent;
    const ClientDetails client = clientDetailsFromRecord(record);
    {
        const BusyCursor busy(m_reporter.prompts());
        m_report = screen::buildScreenReport(
            m_catalogue, m_tables, profileInputFromRecord(record), client, m_state.CompanyInfoLines,
            HeaderOptions::fromSettings(m_settings), dateText(QDate::currentDate()));
    }
    chooseReportOptions(m_chooseOptions, m_state, OptionsMode::ViewWell, parent);
    if (m_state.OptionsCancelled)
        return;
    if (!m_preview)
        m_preview = new frmPreview(m_state.DatabaseFolder, m_reporter, parent);
    m_preview->setClientName(client.firstName + u' ' + client.lastName);
    ViewOptions();
}

void ViewWellCommand::ViewOptions()
{
    m_reporter.trap(label("ViewOptions"), [&] {
        for (CurrentPage = screen::kCoverPage; CurrentPage <= screen::kPageCount; ++CurrentPage) {
            if (leadingNumber(m_settings.get(keys::reportDocument(CurrentPage))) != 1)
                continue;
            QCoreApplication::processEvents();
            ViewDocuments(CurrentPage);
            switch (m_preview->pressed()) {
            case frmPreview::Button::Previous:
                CurrentPage = screen::pageBeforePrevious(m_state.SelectedDocs, CurrentPage);
                break;
            case frmPreview::Button::Close:
                CurrentPage = screen::kPageCount;
                break;
            case frmPreview::Button::Print:
                m_printer.PrintDocument(m_record, *m_printDevice, m_parent, CurrentPage);
                --CurrentPage;
                break;
            case frmPreview::Button::Flyers:
                PrintFlyers();
                --CurrentPage;
                break;
            case frmPreview::Button::Next:
            case frmPreview::Button::None:
                break;
            }
        }
    });
    delete m_preview;
}

void ViewWellCommand::ViewDocuments(int& page)
{
    if (screen::pageCaption(page).isEmpty())
        return;
    m_reporter.trap(label("ViewDocuments"), [&] {
        {
            const BusyCursor busy(m_reporter.prompts());
            const QString& docs = m_state.SelectedDocs;
            frmPreview::Frame frame{page, screen::nextEnabled(docs, page),
                                    screen::previousEnabled(docs, page),
                                    page == screen::kSupplementGuidePage};
            switch (page) {
            case screen::kCoverPage:
                m_preview->showCover(frame, m_report.cover);
                // The introduction and purpose documents open beside the cover page.
                queue(QStringLiteral("Intro.pdf"));
                queue(QStringLiteral("Purpose.pdf"));
                launch();
                break;
            case screen::kSummaryPage:
                m_preview->showText(frame, m_report.summary);
                break;
            case screen::kAnalysisPage:
                m_preview->showText(frame, m_report.analysis);
                break;
            case screen::kSupplementGuidePage:
                m_preview->showGuide(frame, m_report.guideItems);
                break;
            case screen::kReferencesPage:
                frame.next = false;
                m_preview->showText(frame, m_report.references);
                // Opens with the next launch.
                queue(QStringLiteral("References.pdf"));
                break;
            default:
                break;
            }
        }
        m_preview->run();
        m_preview->clearText();
    });
}

void ViewWellCommand::PrintFlyers()
{
    m_reporter.trap(label("PrintFlyers"), [&] {
        const QStringList files =
            resolveFlyers(m_catalogue, m_state.DatabaseFolder, m_preview->tickedItems(), m_missing);
        for (const QString& file : files)
            queue(file);
        if (const auto message = flyerAvailabilityMessage(m_missing))
            m_reporter.prompts().inform(QStringLiteral("Flyer Availability"), *message,
                                        UserPrompts::Icon::Information);
        m_missing.NoteMissingFlyer(QStringLiteral("Clear"));
        launch();
    });
}

void ViewWellCommand::openInReader(const QString& fileName)
{
    queue(fileName);
    launch();
}

void ViewWellCommand::queue(const QString& fileName)
{
    const Status queued = QueueFileForReader(m_state.DatabaseFolder, fileName);
    if (!queued)
        m_reporter.prompts().inform(AppTitle(), queued.error(), UserPrompts::Icon::Critical);
}

void ViewWellCommand::launch()
{
    const Status started = m_launcher(m_state.DatabaseFolder);
    if (!started)
        m_reporter.ReportError(QString::number(errors::kFileNotFound), started.error(),
                               m_reporter.CurrentProcedureLabel());
}

} // namespace halcyra

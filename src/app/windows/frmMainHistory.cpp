// The main window's commands for the client's assessments and for moving clients to and from
// CSV files.

#include "app/windows/frmMain.h"
#include "core/BusyCursor.h"
#include "core/Catalogue.h"
#include "core/Conversions.h"
#include "core/ErrorReporter.h"
#include "core/Version.h"
#include "records/AssessmentHistory.h"
#include "records/ClientCsv.h"
#include "records/ClientDataSource.h"
#include "records/DetailRules.h"
#include "records/windows/ScoreGrid.h"
#include "records/windows/frmHistory.h"
#include "reports/ProfileFromRecord.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QSqlDatabase>

namespace halcyra {
namespace {

QString label(const char* procedure)
{
    return QStringLiteral("frmMain:Sub ") + QString::fromLatin1(procedure) + QStringLiteral("()");
}

constexpr int kDateBox = 16;
const QString kCsvFilter = QStringLiteral("CSV files (*.csv);;All files (*)");

QString clientName(const ClientRecord& record)
{
    return (record.text(columns::detail(2)) + u' ' + record.text(columns::detail(1))).trimmed();
}

} // namespace

void frmMain::mnuFileNewAssessment_Click()
{
    m_reporter.trap(label("mnuFileNewAssessment_Click"), [&] {
        if (!finishEntryInFocusedBox() || !saveIfEdited())
            return;
        UserPrompts& prompts = m_reporter.prompts();
        if (m_data->isNewRecord() || m_data->isEmpty()) {
            prompts.inform(AppTitle(), QStringLiteral("Save the client's record first."),
                           UserPrompts::Icon::Information);
            return;
        }
        const ClientRecord& current = m_data->current();
        const QString today = todayText(QDate::currentDate());
        const QString question =
            QStringLiteral("Keep the scores of %1 as an earlier assessment of %2, and clear the "
                           "score boxes for a new visit dated %3?")
                .arg(shownDate(current.text(columns::detail(kDateBox))), clientName(current),
                     today);
        if (prompts.ask(QStringLiteral("New Assessment"), question, UserPrompts::Buttons::YesNo,
                        UserPrompts::Icon::Question,
                        UserPrompts::Answer::No) != UserPrompts::Answer::Yes)
            return;
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        Status started;
        {
            const BusyCursor busy(prompts);
            started = startNewAssessment(db, current, today);
        }
        if (!started) {
            prompts.inform(QStringLiteral("New Assessment"), started.error(),
                           UserPrompts::Icon::Warning);
            return;
        }
        if (const Status moved = m_data->moveTo(m_data->absolutePosition()); !moved)
            showDataError(moved.error());
        Data1_Reposition();
        Frame2->box(1)->setFocus();
    });
}

void frmMain::mnuViewHistory_Click()
{
    m_reporter.trap(label("mnuViewHistory_Click"), [&] {
        if (!finishEntryInFocusedBox() || !saveIfEdited())
            return;
        if (m_data->isNewRecord() || m_data->isEmpty())
            return;
        const ClientRecord& current = m_data->current();
        std::vector<AssessmentSummary> assessments;
        {
            const BusyCursor busy(m_reporter.prompts());
            const auto earlier =
                readEarlierAssessments(QSqlDatabase::database(m_connectionName, false), current);
            if (!earlier) {
                showDataError(earlier.error());
                return;
            }
            const ReferenceTables tables = ReferenceTables::fromCatalogue(m_catalogue);
            // Older records and imports may hold their dates in other forms; the table and the
            // chart show them all in the program's one.
            for (const ClientRecord& record : *earlier)
                assessments.push_back(
                    summariseAssessment(profileInputFromRecord(record),
                                        shownDate(record.text(columns::detail(kDateBox))), tables));
            assessments.push_back(
                summariseAssessment(profileInputFromRecord(current),
                                    shownDate(current.text(columns::detail(kDateBox))), tables));
            delete m_historyWindow;
            m_historyWindow = new frmHistory(clientName(current), std::move(assessments),
                                             m_catalogue, tables, this);
            m_historyWindow->setAttribute(Qt::WA_DeleteOnClose);
        }
        m_historyWindow->show();
        m_historyWindow->raise();
    });
}

void frmMain::mnuFileExport_Click()
{
    m_reporter.trap(label("mnuFileExport_Click"), [&] {
        if (!finishEntryInFocusedBox() || !saveIfEdited())
            return;
        UserPrompts& prompts = m_reporter.prompts();
        const QString title = QStringLiteral("Export Clients");
        const auto chosen =
            prompts.chooseSaveFile(title, kCsvFilter, proposedExportName(QDate::currentDate()));
        if (!chosen)
            return;
        // The dialog asked before replacing the name as typed; a name given ".csv" here is
        // asked about here.
        const QString path = withCsvExtension(*chosen);
        if (path != *chosen && QFileInfo::exists(path) &&
            prompts.ask(title,
                        QStringLiteral("%1 already exists. Do you want to replace it?")
                            .arg(QDir::toNativeSeparators(path)),
                        UserPrompts::Buttons::YesNo, UserPrompts::Icon::Warning,
                        UserPrompts::Answer::No) != UserPrompts::Answer::Yes)
            return;
        Result<CsvExportResult> written = fail(QString());
        {
            const BusyCursor busy(prompts);
            written = exportClientsCsv(QSqlDatabase::database(m_connectionName, false), path,
                                       m_catalogue, true);
        }
        if (!written) {
            prompts.inform(title, written.error(), UserPrompts::Icon::Warning);
            return;
        }
        prompts.inform(title, exportSummary(*written, path, true), UserPrompts::Icon::Information);
    });
}

void frmMain::mnuFileImport_Click()
{
    m_reporter.trap(label("mnuFileImport_Click"), [&] {
        if (!finishEntryInFocusedBox() || !saveIfEdited())
            return;
        UserPrompts& prompts = m_reporter.prompts();
        const QString title = QStringLiteral("Import Clients");
        const auto path = prompts.chooseFile(title, kCsvFilter, false);
        if (!path)
            return;
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        ImportOptions options;
        options.today = QDate::currentDate();
        // First only checked, so the adviser sees what would happen before anything changes.
        options.dryRun = true;
        auto check = [&] {
            const BusyCursor busy(prompts);
            return importClientsCsv(db, *path, m_catalogue, options);
        };
        Result<ImportReport> checked = check();
        if (checked && checked->encodingGuessed) {
            // Not UTF-8: which of the 8-bit encodings the program that wrote it used is the
            // adviser's to say (a spreadsheet on Windows writes Windows-1252).
            const std::optional<int> chosen = prompts.chooseItem(
                title,
                QStringLiteral("The file is not UTF-8 text. Which encoding did the program that "
                               "wrote it use?"),
                {encodingName(TextEncoding::Windows1252) +
                     QStringLiteral(" (spreadsheets on Windows)"),
                 encodingName(TextEncoding::Latin1)},
                0);
            if (!chosen)
                return;
            options.encoding = *chosen == 0 ? TextEncoding::Windows1252 : TextEncoding::Latin1;
            checked = check();
        }
        if (!checked) {
            prompts.inform(title, checked.error(), UserPrompts::Icon::Warning);
            return;
        }
        QStringList lines = importReportLines(*checked, options);
        const QString summary = lines.takeLast();
        constexpr qsizetype kShown = 15;
        if (lines.size() > kShown) {
            const qsizetype more = lines.size() - kShown;
            lines = lines.first(kShown);
            lines << QStringLiteral("... and %1 more.").arg(more);
        }
        if (!lines.isEmpty())
            lines << QString();
        lines << summary;
        const QString details = lines.join(u'\n') + QStringLiteral("\n\n");
        if (checked->wouldAdd == 0) {
            prompts.inform(title, details + QStringLiteral("There is no client to add."),
                           UserPrompts::Icon::Information);
            return;
        }
        if (prompts.ask(title, details + importQuestion(*checked), UserPrompts::Buttons::YesNo,
                        checked->refused.empty() ? UserPrompts::Icon::Question
                                                 : UserPrompts::Icon::Warning,
                        UserPrompts::Answer::No) != UserPrompts::Answer::Yes)
            return;
        options.dryRun = false;
        options.skipBad = true;
        Result<ImportReport> imported = fail(QString());
        {
            const BusyCursor busy(prompts);
            imported = importClientsCsv(db, *path, m_catalogue, options);
            if (imported && imported->written) {
                if (const Status requeried = m_data->requery(); !requeried)
                    showDataError(requeried.error());
                Data1_Reposition();
            }
        }
        if (!imported) {
            prompts.inform(title, imported.error(), UserPrompts::Icon::Warning);
            return;
        }
        prompts.inform(title, importSummary(*imported, options), UserPrompts::Icon::Information);
    });
}

} // namespace halcyra

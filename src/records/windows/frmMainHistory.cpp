// The main window's commands for the client's assessments and for moving clients to and from
// CSV files.

#include "core/BusyCursor.h"
#include "core/Catalogue.h"
#include "core/ErrorReporter.h"
#include "core/Version.h"
#include "records/AssessmentHistory.h"
#include "records/ClientCsv.h"
#include "records/ClientDataSource.h"
#include "records/DetailRules.h"
#include "records/windows/ScoreGrid.h"
#include "records/windows/frmHistory.h"
#include "records/windows/frmMain.h"
#include "reports/ProfileFromRecord.h"

#include <QDate>
#include <QDir>
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
                .arg(current.text(columns::detail(kDateBox)), clientName(current), today);
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
        QString error;
        if (!m_data->moveTo(m_data->AbsolutePosition(), &error))
            showDataError(error);
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
            for (const ClientRecord& record : *earlier)
                assessments.push_back(summariseAssessment(profileInputFromRecord(record),
                                                          record.text(columns::detail(kDateBox)),
                                                          tables));
            assessments.push_back(summariseAssessment(
                profileInputFromRecord(current), current.text(columns::detail(kDateBox)), tables));
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
        const auto path = prompts.chooseFile(QStringLiteral("Export Clients"), kCsvFilter, true);
        if (!path)
            return;
        Result<CsvExportResult> written = fail(QString());
        {
            const BusyCursor busy(prompts);
            written = exportClientsCsv(QSqlDatabase::database(m_connectionName, false), *path,
                                       m_catalogue, true);
        }
        if (!written) {
            prompts.inform(QStringLiteral("Export Clients"), written.error(),
                           UserPrompts::Icon::Warning);
            return;
        }
        prompts.inform(QStringLiteral("Export Clients"),
                       QStringLiteral("Wrote %1 clients and %2 earlier assessments to %3.")
                           .arg(written->clients)
                           .arg(written->earlierAssessments)
                           .arg(QDir::toNativeSeparators(*path)),
                       UserPrompts::Icon::Information);
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
        Result<ImportReport> checked = fail(QString());
        {
            const BusyCursor busy(prompts);
            checked = importClientsCsv(db, *path, m_catalogue, options);
        }
        if (!checked) {
            prompts.inform(title, checked.error(), UserPrompts::Icon::Warning);
            return;
        }
        QStringList lines = importReportLines(*checked, options);
        lines.removeLast();
        constexpr qsizetype kShown = 15;
        if (lines.size() > kShown) {
            const qsizetype more = lines.size() - kShown;
            lines = lines.first(kShown);
            lines << QStringLiteral("... and %1 more.").arg(more);
        }
        const QString details =
            lines.isEmpty() ? QString() : lines.join(u'\n') + QStringLiteral("\n\n");
        if (checked->wouldAdd == 0) {
            prompts.inform(title, details + QStringLiteral("There is no client to add."),
                           UserPrompts::Icon::Information);
            return;
        }
        const QString question =
            checked->refused.empty()
                ? QStringLiteral("Add %1 clients?").arg(checked->wouldAdd)
                : QStringLiteral("Some values are refused. Add the %1 clients whose rows are "
                                 "accepted, and leave out the others?")
                      .arg(checked->wouldAdd);
        if (prompts.ask(title, details + question, UserPrompts::Buttons::YesNo,
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
        prompts.inform(title, importReportLines(*imported, options).last(),
                       UserPrompts::Icon::Information);
    });
}

} // namespace halcyra

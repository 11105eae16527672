// The record list over 100,000 clients: opening it, sorting by last name, a last-name prefix
// filter and scrolling to the end, each against the same query run by the sqlite3 command line
// on the same file in the same run, and the process's peak memory.
//
//   halcyra-bench-record-list [CLIENTS] [RUNS] [FOLDER]
//
// With FOLDER, the database there (for instance made by "halcyra-cli demo") is used as it is,
// so the peak memory is the list's alone.

#include "app/windows/frmMain.h"
#include "core/Catalogue.h"
#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "records/ClientDataSource.h"
#include "records/DatabaseFile.h"
#include "records/DemoClients.h"
#include "records/FilterExpression.h"
#include "records/windows/frmDataGrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>

using namespace halcyra;

namespace {

class BenchPrompts final : public UserPrompts
{
public:
    QString nextText;
    void inform(const QString& title, const QString& text, Icon) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
    Answer ask(const QString&, const QString&, Buttons, Icon, Answer answer) override
    {
        return answer;
    }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override
    {
        return nextText;
    }
    void setBusy(bool) override {}
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double milliseconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Lets the windows lay out and paint what the step changed.
void paint()
{
    QApplication::processEvents();
    QApplication::processEvents();
}

// The sqlite3 command line running `sql` on the file, output discarded.
double sqliteCli(const QString& database, const QString& sql)
{
    QProcess cli;
    cli.setStandardOutputFile(QProcess::nullDevice());
    return milliseconds([&] {
        cli.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), database, sql});
        cli.waitForFinished(60000);
    });
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int clients = argc > 1 ? std::atoi(argv[1]) : 100'000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    QTemporaryDir dir;
    QString error;
    const QString given = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const QString folder = given.isEmpty() ? dir.path() : given;
    (void)createDatabaseIfMissing(folder);
    const QString database = QDir(folder).filePath(QStringLiteral("HCY300.db"));
    if (given.isEmpty()) {
        (void)openDatabase(database, QStringLiteral("fill"));
        QSqlDatabase db = QSqlDatabase::database(QStringLiteral("fill"));
        (void)addDemoClients(db, clients, 7);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));

    Catalogue catalogue = Catalogue::builtIn();
    BenchPrompts prompts;
    SettingsStore settings(dir.filePath(QStringLiteral("settings")));
    ErrorReporter reporter(dir.path(), prompts);
    ProgramState state;
    state.DatabaseFolder = folder + u'/';
    state.DatabaseFullPath = database;

    std::vector<double> open, sort, filter, scroll;
    std::vector<double> cliOpen, cliSort, cliFilter, cliScroll;
    std::vector<double> queryOpen, querySort, queryFilter, queryScroll;
    const QString lastBlock = QStringLiteral("SELECT * FROM \"Customers\" ORDER BY \"CustomerID\" "
                                             "LIMIT 128 OFFSET %1")
                                  .arg(std::max(0, clients - 128));
    for (int run = 0; run < runs; ++run) {
        auto window = std::make_unique<frmMain>(catalogue, settings, state, reporter,
                                                [](const QString&, const QString&) {});
        window->show();
        paint();
        open.push_back(milliseconds([&] {
            window->cmdList_Click();
            paint();
        }));
        auto* list = window->findChild<frmDataGrid*>(QStringLiteral("frmDataGrid"));
        sort.push_back(milliseconds([&] {
            list->grdDataGrid_HeadClick(1);
            paint();
        }));
        prompts.nextText = QStringLiteral("LastName Like 'San*'");
        filter.push_back(milliseconds([&] {
            list->cmdFilter_Click();
            paint();
        }));
        list->cmdRefresh_Click();
        paint();
        scroll.push_back(milliseconds([&] {
            list->grid()->scrollToBottom();
            paint();
        }));
        window->unloadWithoutQuestion();
        window.reset();

        // The same four steps on the data source alone: the queries without the windows.
        {
            (void)openDatabase(database, QStringLiteral("query"));
            ClientDataSource source(QSqlDatabase::database(QStringLiteral("query")));
            queryOpen.push_back(milliseconds([&] {
                (void)source.open();
                (void)source.recordsAt(0, 128);
            }));
            querySort.push_back(milliseconds([&] {
                (void)source.setOrderAndFilter(
                    {*parseFilter({}), *parseSort(QStringLiteral("[LastName]"))});
            }));
            queryFilter.push_back(milliseconds([&] {
                (void)source.setOrderAndFilter(
                    {*parseFilter(QStringLiteral("LastName Like 'San*'")),
                     *parseSort(QStringLiteral("[LastName]"))});
            }));
            (void)source.setOrderAndFilter({});
            queryScroll.push_back(
                milliseconds([&] { (void)source.recordsAt(source.recordCount() - 128, 128); }));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("query"));

        cliOpen.push_back(sqliteCli(
            database, QStringLiteral("SELECT \"CustomerID\" FROM \"Customers\" ORDER BY "
                                     "\"CustomerID\"; SELECT * FROM \"Customers\" ORDER BY "
                                     "\"CustomerID\" LIMIT 128;")));
        cliSort.push_back(
            sqliteCli(database, QStringLiteral("SELECT \"CustomerID\" FROM \"Customers\" "
                                               "ORDER BY \"LastName\" COLLATE NOCASE, "
                                               "\"CustomerID\";")));
        cliFilter.push_back(sqliteCli(
            database, QStringLiteral("SELECT \"CustomerID\" FROM \"Customers\" WHERE "
                                     "(\"LastName\" LIKE 'San%') ORDER BY \"LastName\" COLLATE "
                                     "NOCASE, \"CustomerID\";")));
        cliScroll.push_back(sqliteCli(database, lastBlock));
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("Record list over %d clients, median of %d runs (ms). Window: the command and\n"
                "the repaint of the list and the main window; query: the data source alone;\n"
                "sqlite3 CLI: the same query, process start included.\n",
                clients, runs);
    std::printf("%-34s %8s %8s %12s %13s\n", "step", "window", "query", "sqlite3 CLI",
                "window/CLI");
    const auto line = [](const char* step, const std::vector<double>& window,
                         const std::vector<double>& query, const std::vector<double>& cli) {
        std::printf("%-34s %8.1f %8.1f %12.1f %13.2f\n", step, median(window), median(query),
                    median(cli), median(window) / median(cli));
    };
    line("open the list", open, queryOpen, cliOpen);
    line("sort by last name (header click)", sort, querySort, cliSort);
    line("filter LastName Like 'San*'", filter, queryFilter, cliFilter);
    line("scroll to the end", scroll, queryScroll, cliScroll);
    std::printf("peak memory of the process: %.1f MB\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}

// The main window over a database of 100,000 clients: opening it on the first record, moving to
// the next record, and saving an edited record.

#include "app/windows/frmMain.h"
#include "core/Catalogue.h"
#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "records/ClientDataSource.h"
#include "records/DatabaseFile.h"
#include "records/DemoClients.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

using namespace halcyra;

namespace {

constexpr int kClients = 100'000;

class SilentPrompts final : public UserPrompts
{
public:
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
        return std::nullopt;
    }
    void setBusy(bool) override {}
};

// One program folder with the demo clients, made once for all benchmarks.
struct Fixture
{
    QTemporaryDir dir;
    Catalogue catalogue = Catalogue::builtIn();
    SilentPrompts prompts;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<ErrorReporter> reporter;
    ProgramState state;

    Fixture()
    {
        (void)createDatabaseIfMissing(dir.path());
        {
            (void)openDatabase(QDir(dir.path()).filePath(QStringLiteral("HCY300.db")),
                               QStringLiteral("fill"));
            QSqlDatabase db = QSqlDatabase::database(QStringLiteral("fill"));
            (void)addDemoClients(db, kClients, 7);
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fill"));
        settings = std::make_unique<SettingsStore>(dir.filePath(QStringLiteral("settings")));
        reporter = std::make_unique<ErrorReporter>(dir.path(), prompts);
        state.DatabaseFolder = dir.path() + u'/';
        state.DatabaseFullPath = state.DatabaseFolder + ProgramState::DatabaseFileName();
    }

    std::unique_ptr<frmMain> openWindow()
    {
        auto window = std::make_unique<frmMain>(catalogue, *settings, state, *reporter,
                                                [](const QString&, const QString&) {});
        window->show();
        QApplication::processEvents();
        return window;
    }
};

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

void BM_OpenMainWindowOnFirstRecord(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        auto window = f.openWindow();
        benchmark::DoNotOptimize(window->lastNameBox()->text());
        state.PauseTiming();
        window->unloadWithoutQuestion();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenMainWindowOnFirstRecord)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_MoveToNextRecord(benchmark::State& state)
{
    Fixture& f = fixture();
    auto window = f.openWindow();
    for (auto _ : state) {
        window->moveRecord(DataAction::MoveNext);
        QApplication::processEvents();
    }
    window->unloadWithoutQuestion();
}
BENCHMARK(BM_MoveToNextRecord)->Unit(benchmark::kMillisecond)->Iterations(500);

void BM_SaveEditedRecord(benchmark::State& state)
{
    Fixture& f = fixture();
    auto window = f.openWindow();
    int round = 0;
    for (auto _ : state) {
        window->lastNameBox()->setText(QStringLiteral("Edited%1").arg(++round));
        window->cmdUpdate_Click();
        QApplication::processEvents();
    }
    window->unloadWithoutQuestion();
}
BENCHMARK(BM_SaveEditedRecord)->Unit(benchmark::kMillisecond)->Iterations(100);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    fixture();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "core/Startup.h"

#include "core/Conversions.h"
#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace halcyra {
namespace {

constexpr double kSecondsPerDay = 86400;
constexpr int kLongestWaitStepMs = 50;

const QString kMainLabel = QStringLiteral("Module1:Sub Main()");
const QString kVerifyLabel = QStringLiteral("Module1:Sub VerifyDatabase()");

// Waits, keeping the windows painted, until more than `seconds` have passed since `start`.
void waitSince(double start, double seconds, StartupWindows& windows, const TimeOfDay& clock)
{
    for (;;) {
        const double elapsed = elapsedSecondsSince(start, clock.secondsSinceMidnight());
        if (elapsed > seconds)
            return;
        const double remainingMs = std::ceil((seconds - elapsed) * 1000.0) + 1;
        windows.waitFor(static_cast<int>(std::min<double>(remainingMs, kLongestWaitStepMs)));
    }
}

enum class OpenResult { Opened, NotFound };

// Looks at the file without opening it: the program may already hold a connection to it, and
// closing any descriptor of a file would drop the database locks the process holds on it.
// Fails when the file is there but cannot be used.
Result<OpenResult> tryOpen(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return OpenResult::NotFound;
    if (!info.isFile() || !info.isReadable())
        return fail(info.isFile() ? QStringLiteral("Permission denied")
                                  : QStringLiteral("It is not a file"));
    return OpenResult::Opened;
}

} // namespace

double elapsedSecondsSince(double startSecondsOfDay, double nowSecondsOfDay)
{
    double elapsed = nowSecondsOfDay - startSecondsOfDay;
    if (elapsed < 0)
        elapsed += kSecondsPerDay;
    return elapsed;
}

QString tutorialPromptText()
{
    return QStringLiteral("Would you like to run the tutorial now.  The tutorial illustrates the "
                          "features of the program and how to use the program ");
}

bool VerifyDatabase(const QString& databaseFolder, const QString& fallbackFolder,
                    ErrorReporter& reporter)
{
    // The caller's label stays current: the failure report names the procedure that asked.
    const QString fileName = ProgramState::DatabaseFileName();
    QString folder = databaseFolder;
    int failures = 0;
    for (;;) {
        const Result<OpenResult> result = tryOpen(folder + fileName);
        if (!result) {
            reporter.ReportError(QString::number(errors::kPathFileAccess),
                                 QStringLiteral("Path/File access error: ") + result.error(),
                                 reporter.CurrentProcedureLabel());
            return true;
        }
        if (*result == OpenResult::Opened)
            return true;
        ++failures;
        if (failures <= 2) {
            folder = fallbackFolder.isEmpty() ? databaseFolder : fallbackFolder;
            continue;
        }
        const QString message =
            QStringLiteral("Continuous Loop in Module1: Main: HostDirectory Error.\n\n"
                           "For help: Call Veltrin - Software Division.\n\n"
                           "This program will terminate.");
        reporter.ReportError(QString::number(errors::kFileNotFound),
                             QStringLiteral("File not found: ") + databaseFolder + fileName,
                             reporter.CurrentProcedureLabel() + u'\n' + message,
                             ErrorReporter::kStyleCritical);
        return false;
    }
}

bool Main(const StartupOptions& options, ProgramState& state, SettingsStore& settings,
          ErrorReporter& reporter, StartupWindows& windows, const TimeOfDay& clock)
{
    ProcedureScope scope(reporter, kMainLabel);

    state.DatabaseFolder = databaseFolderFor(options.workingFolder);
    reporter.setLogFolder(state.DatabaseFolder);
    if (!VerifyDatabase(state.DatabaseFolder, options.fallbackFolder, reporter))
        return false;
    state.DatabaseFullPath = state.DatabaseFolder + ProgramState::DatabaseFileName();
    state.DatabaseConnect.clear();

    // Each later step runs under the standard trap: a failure is reported and start-up goes
    // on, so the adviser still reaches the main window.
    auto step = [&](const auto& body) { reporter.trap(kMainLabel, body); };

    step([&] { windows.createMainWindow(); });

    step([&] {
        if (settingAsNumber(settings.get(keys::tutorial())) != -1)
            windows.ShowMsg(QStringLiteral("Tutorial"), tutorialPromptText());
    });

    double splashStart = clock.secondsSinceMidnight();
    step([&] {
        windows.showSplash();
        splashStart = clock.secondsSinceMidnight();
    });
    step([&] {
        waitSince(splashStart, std::min(options.pointerSeconds, options.splashSeconds), windows,
                  clock);
    });

    step([&] {
        if (settings.flag(keys::showTipsAtStartup()))
            windows.showTips();
    });
    step([&] { windows.processEvents(); });
    step([&] { settings.save(keys::databasePath(), state.DatabaseFolder); });

    step([&] { state.CompanyInfoLines = windows.loadCompanyInfo(); });

    step([&] { waitSince(splashStart, options.splashSeconds, windows, clock); });
    step([&] { windows.closeSplash(); });

    step([&] {
        // Incomplete by the company window's own rule, so the window opened here can be closed.
        if (firstEmptyRequiredField(state.CompanyInfoLines)) {
            state.CompanyInfoOpenedAtStart = true;
            windows.showCompanyInfo();
        }
    });

    step([&] { windows.showMainWindow(); });
    return true;
}

} // namespace halcyra

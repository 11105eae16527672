#include "app/AppStartupWindows.h"
#include "app/windows/frmMain.h"
#include "core/Catalogue.h"
#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "core/SingleInstance.h"
#include "core/Startup.h"
#include "core/SystemTimeOfDay.h"
#include "core/Version.h"
#include "core/windows/HalcyraApplication.h"
#include "records/ProgramFolder.h"
#include "ui/windows/QtPrompts.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>

using namespace halcyra;

namespace {

struct ProgramOptions
{
    QCommandLineOption splashSeconds{
        QStringLiteral("splash-seconds"),
        QStringLiteral("Shortest time the start-up window stays (default 3)."),
        QStringLiteral("seconds"), QStringLiteral("3")};
    QCommandLineOption exitAfterStart{
        QStringLiteral("exit-after-start"),
        QStringLiteral("Quit as soon as the main window shows and print the start-up time.")};
};

void describe(QCommandLineParser& parser, const ProgramOptions& options)
{
    QCoreApplication::setApplicationVersion(versionNumber());
    parser.setApplicationDescription(
        QStringLiteral("Halcyra: client records and wellness profiles. Works in the adviser's "
                       "program folder: $HALCYRA_HOME, else the working folder or the program's "
                       "own when it holds the database, else ~/Halcyra when it holds one, else "
                       "~/.local/share/Halcyra, made at the first start."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(options.splashSeconds);
    parser.addOption(options.exitAfterStart);
}

// --help and --version are answered on the terminal before any window is asked for, so they
// work without a display.
bool answersOnTheTerminal(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray word(argv[i]);
        if (word == "-h" || word == "--help" || word == "-?" || word == "--help-all" ||
            word == "-v" || word == "--version")
            return true;
    }
    return false;
}

// Reads the options: wrong ones end the program with 2 and the reason, as the other programs
// do; --help and --version print their answer and end it with 0.
bool readOptions(QCommandLineParser& parser)
{
    if (!parser.parse(QCoreApplication::arguments())) {
        QTextStream(stderr) << "halcyra: " << parser.errorText() << " Run 'halcyra --help'.\n";
        return false;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceLaunch;
    sinceLaunch.start();
    const ProgramOptions options;
    if (answersOnTheTerminal(argc, argv)) {
        const QCoreApplication terminal(argc, argv);
        // "halcyra 6.3.18", as the other programs answer.
        QCoreApplication::setApplicationName(QStringLiteral("halcyra"));
        QCommandLineParser parser;
        describe(parser, options);
        return readOptions(parser) ? 0 : 2;
    }

    // The browser window's web engine, loaded later, shares its drawing contexts; this can
    // only be set before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    HalcyraApplication app(argc, argv);
    QCoreApplication::setApplicationName(AppTitle());
    QCommandLineParser parser;
    describe(parser, options);
    if (!readOptions(parser))
        return 2;

    QtPrompts prompts;
    // The program works in the adviser's program folder, wherever it was started from.
    const QString folder = userProgramFolder(QDir::currentPath());
    if (const Status ready = prepareProgramFolder(folder, installedProgramData());
        !ready || !QDir::setCurrent(folder)) {
        prompts.inform(AppTitle(),
                       QStringLiteral("The program folder %1 could not be made ready: %2")
                           .arg(QDir::toNativeSeparators(folder),
                                ready ? QStringLiteral("it cannot be entered.") : ready.error()),
                       UserPrompts::Icon::Critical);
        return 1;
    }
    SingleInstance instance(QDir::currentPath());
    if (!instance.claim()) {
        prompts.inform(AppTitle(),
                       QStringLiteral("Halcyra is already running on this program folder. Its "
                                      "window has been brought to the front."),
                       UserPrompts::Icon::Information);
        return 0;
    }
    SettingsStore settings(SettingsStore::defaultFolder());
    ErrorReporter reporter(QDir::currentPath(), prompts);
    app.setErrorReporter(&reporter);
    settings.setWriteFailureHandler([&reporter](const QString& reason) {
        reporter.ReportError(QString::number(errors::kPathFileAccess),
                             reason + QStringLiteral(" Options and choices made now are kept only "
                                                     "until the program closes."),
                             reporter.CurrentProcedureLabel());
    });

    const Catalogue catalogue = Catalogue::builtIn();
    ProgramState state;
    AppStartupWindows windows(catalogue, settings, state, reporter);
    prompts.openHelp = [&windows](int context) { windows.showHelpTopic(context); };
    SystemTimeOfDay clock;

    StartupOptions startup;
    startup.workingFolder = QDir::currentPath();
    startup.splashSeconds = qMax(0.0, parser.value(options.splashSeconds).toDouble());
    QObject::connect(&instance, &SingleInstance::activationRequested, &app,
                     [&windows] { windows.bringToFront(); });
    if (!Main(startup, state, settings, reporter, windows, clock))
        return 1;

    if (parser.isSet(options.exitAfterStart)) {
        QApplication::processEvents();
        const qint64 ms = sinceLaunch.elapsed() - windows.waitedMilliseconds();
        QTextStream(stdout) << "Main window shown after " << ms << " ms (splash wait excluded)\n";
        return 0;
    }
    return app.exec();
}

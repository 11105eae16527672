#include "app/AppStartupWindows.h"
#include "app/windows/frmMain.h"
#include "core/Catalogue.h"
#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "core/SingleInstance.h"
#include "core/Startup.h"
#include "core/SystemTimeOfDay.h"
#include "core/Version.h"
#include "core/windows/HalcyraApplication.h"
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
        QStringLiteral("Halcyra: client records and wellness profiles. Runs in its program "
                       "folder, the current working folder."));
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
        parser.process(terminal); // prints the answer and ends the program
        return 0;
    }

    // The browser window's web engine, loaded later, shares its drawing contexts; this can
    // only be set before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    HalcyraApplication app(argc, argv);
    QCoreApplication::setApplicationName(AppTitle());
    QCommandLineParser parser;
    describe(parser, options);
    parser.process(app);

    QtPrompts prompts;
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

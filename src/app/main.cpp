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

int main(int argc, char** argv)
{
    QElapsedTimer sinceLaunch;
    sinceLaunch.start();

    // The browser window's web engine, loaded later, shares its drawing contexts; this can
    // only be set before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    HalcyraApplication app(argc, argv);
    QApplication::setApplicationName(AppTitle());
    QApplication::setApplicationVersion(versionNumber());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Halcyra: client records and wellness profiles. Runs in its program "
                       "folder, the current working folder."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption splashSeconds(
        QStringLiteral("splash-seconds"),
        QStringLiteral("Shortest time the start-up window stays (default 3)."),
        QStringLiteral("seconds"), QStringLiteral("3"));
    const QCommandLineOption exitAfterStart(
        QStringLiteral("exit-after-start"),
        QStringLiteral("Quit as soon as the main window shows and print the start-up time."));
    parser.addOption(splashSeconds);
    parser.addOption(exitAfterStart);
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

    StartupOptions options;
    options.workingFolder = QDir::currentPath();
    options.splashSeconds = qMax(0.0, parser.value(splashSeconds).toDouble());
    QObject::connect(&instance, &SingleInstance::activationRequested, &app,
                     [&windows] { windows.bringToFront(); });
    if (!Main(options, state, settings, reporter, windows, clock))
        return 1;

    if (parser.isSet(exitAfterStart)) {
        QApplication::processEvents();
        const qint64 ms = sinceLaunch.elapsed() - windows.waitedMilliseconds();
        QTextStream(stdout) << "Main window shown after " << ms << " ms (splash wait excluded)\n";
        return 0;
    }
    return app.exec();
}

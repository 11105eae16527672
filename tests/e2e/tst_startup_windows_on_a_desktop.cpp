// The real program on a virtual screen with a real window manager: what stacks above what
// cannot be seen offscreen.

#include "records/CompanyRecord.h"
#include "support/CompanyRow.h"
#include "support/RealDesktop.h"
#include "support/TempProgramFolder.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QThread>
#include <QtTest>

using halcyra::test::RealDesktop;
using halcyra::test::TempProgramFolder;

namespace {

// A program folder with complete company details and the tutorial prompt switched off; the
// tips stay on, as on a first start.
void prepare(const TempProgramFolder& folder)
{
    folder.createDatabase();
    QVERIFY(halcyra::saveCompanyRow(folder.path(QStringLiteral("HCY300.db")),
                                    halcyra::test::fullCompanyRow()));
    QSettings exe(folder.settingsFolder() + QStringLiteral("/HCY.ini"), QSettings::IniFormat);
    exe.setValue(QStringLiteral("Options/Tutorial"), QStringLiteral("True"));
}

QProcessEnvironment environmentFor(const RealDesktop& desktop, const TempProgramFolder& folder)
{
    QProcessEnvironment env = desktop.environment();
    env.insert(QStringLiteral("HALCYRA_CONFIG_DIR"), folder.settingsFolder());
    return env;
}

// The stack once a window with `title` is on screen, or empty after `ms`.
QList<RealDesktop::Window> stackOnceShown(const RealDesktop& desktop, const QString& title,
                                          int ms = 60000)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        const auto stack = desktop.stack();
        for (const auto& window : stack)
            if (window.title == title && window.viewable)
                return stack;
        QThread::msleep(150);
    }
    return {};
}

qsizetype indexOf(const QList<RealDesktop::Window>& stack, auto predicate)
{
    for (qsizetype i = 0; i < stack.size(); ++i)
        if (predicate(stack[i]))
            return i;
    return -1;
}

} // namespace

class StartupWindowsOnADesktop : public QObject
{
    Q_OBJECT

private slots:
    void theTipOfTheDayIsNotHiddenByTheSplash()
    {
        RealDesktop desktop;
        if (!desktop.unavailableBecause().isEmpty())
            QSKIP(qPrintable(desktop.unavailableBecause()));
        TempProgramFolder folder;
        prepare(folder);

        QProcess program;
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.setWorkingDirectory(folder.folder());
        program.setProcessEnvironment(environmentFor(desktop, folder));
        program.start(QStringLiteral(HALCYRA_APP_PATH),
                      {QStringLiteral("--splash-seconds"), QStringLiteral("30")});
        const auto stack = stackOnceShown(desktop, QStringLiteral("Tip of the Day"));
        QVERIFY2(!stack.isEmpty(), qPrintable(QStringLiteral("the tip of the day never showed: ") +
                                              QString::fromLocal8Bit(program.readAll())));
        const qsizetype tip =
            indexOf(stack, [](const auto& w) { return w.title == u"Tip of the Day"; });
        const qsizetype splash =
            indexOf(stack, [](const auto& w) { return w.splash && w.viewable; });
        QVERIFY2(splash < tip, "the splash window lies above the tip of the day");

        // Closing the tip brings the splash back until its time is up.
        desktop.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")});
        QDeadlineTimer deadline(10000);
        bool splashBack = false;
        while (!splashBack && !deadline.hasExpired()) {
            const auto now = desktop.stack();
            splashBack = indexOf(now, [](const auto& w) { return w.splash && w.viewable; }) >= 0;
            QThread::msleep(150);
        }
        QVERIFY2(splashBack, "the splash did not come back after the tip");
        program.kill();
        program.waitForFinished();
    }

    // File > Exit ends the process with the window, not seconds later; a second start on the
    // same folder while it runs opens nothing of its own.
    void exitEndsTheProcessPromptlyAndOnlyOneCopyRuns()
    {
        RealDesktop desktop;
        if (!desktop.unavailableBecause().isEmpty())
            QSKIP(qPrintable(desktop.unavailableBecause()));
        TempProgramFolder folder;
        prepare(folder);
        QSettings title(folder.settingsFolder() + QStringLiteral("/Halcyra 6.3.ini"),
                        QSettings::IniFormat);
        title.setValue(QStringLiteral("Options/Show Tips at Startup"), QStringLiteral("0"));
        title.sync();

        QProcess program;
        program.setWorkingDirectory(folder.folder());
        program.setProcessEnvironment(environmentFor(desktop, folder));
        program.start(QStringLiteral(HALCYRA_APP_PATH),
                      {QStringLiteral("--splash-seconds"), QStringLiteral("0")});
        const auto started = stackOnceShown(desktop, QStringLiteral("Halcyra Data Entry"));
        const qsizetype mainIndex =
            indexOf(started, [](const auto& w) { return w.title == u"Halcyra Data Entry"; });
        QVERIFY2(mainIndex >= 0, "the main window never showed");
        const QString main = started[mainIndex].id;

        QProcess second;
        second.setWorkingDirectory(folder.folder());
        second.setProcessEnvironment(environmentFor(desktop, folder));
        second.start(QStringLiteral(HALCYRA_APP_PATH),
                     {QStringLiteral("--splash-seconds"), QStringLiteral("0")});
        const auto stack = stackOnceShown(desktop, QStringLiteral("Halcyra 6.3"), 10000);
        QVERIFY2(!stack.isEmpty(), "the second start did not say that one copy runs");
        QCOMPARE(indexOf(stack, [](const auto& w) { return w.splash; }), -1);
        desktop.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        desktop.run(QStringLiteral("xdotool"),
                    {QStringLiteral("windowactivate"), QStringLiteral("--sync"), main});
        desktop.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("alt+f")});
        QThread::msleep(300);
        desktop.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("x")});
        QElapsedTimer sinceExit;
        sinceExit.start();
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(sinceExit.elapsed() < 1500,
                 qPrintable(QStringLiteral("the process ended %1 ms after File > Exit")
                                .arg(sinceExit.elapsed())));
    }
};

QTEST_GUILESS_MAIN(StartupWindowsOnADesktop)
#include "tst_startup_windows_on_a_desktop.moc"

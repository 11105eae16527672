// Every window opens inside the screen with every button in reach, on a small screen and at
// the desktop's larger scales. Each screen runs in a program of its own, since the screen and
// the scale are fixed when the program starts.

#include "core/Catalogue.h"
#include "core/SettingsKeys.h"
#include "records/CompanyRecord.h"
#include "records/windows/frmDataGrid.h"
#include "records/windows/frmHistory.h"
#include "reports/ScreenPages.h"
#include "reports/windows/frmPreview.h"
#include "setup/windows/frmCompanyInfo.h"
#include "setup/windows/frmOptions.h"
#include "support/CompanyRow.h"
#include "support/MainWindowHarness.h"
#include "ui/EmailSetup.h"
#include "ui/SendEmail.h"
#include "ui/windows/frmAbout.h"
#include "ui/windows/frmEmail.h"
#include "ui/windows/frmHelp.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

namespace {

const char* const kChildSwitch = "HALCYRA_SCREEN_UNDER_TEST";

QString describe(const QRect& r)
{
    return u"%1,%2 %3x%4"_s.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Where a button can be seen: its own place, or, inside a scroll area, the area's view of it
// (scrolling brings it there).
QRect reachableRect(QAbstractButton* button, QWidget* window)
{
    for (QWidget* up = button->parentWidget(); up && up != window; up = up->parentWidget())
        if (auto* scroll = qobject_cast<QScrollArea*>(up)) {
            QWidget* view = scroll->viewport();
            return QRect(view->mapTo(window, QPoint(0, 0)), view->size());
        }
    return QRect(button->mapTo(window, QPoint(0, 0)), button->size());
}

void checkState(QWidget* window, const QString& name, QStringList& problems)
{
    const QRect inside = window->rect();
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->window() != window || !button->isVisibleTo(window))
            continue;
        const QRect place = reachableRect(button, window);
        if (place.height() < button->height() / 2 || !inside.contains(place))
            problems << u"%1: \"%2\" (%3) at %4, outside %5"_s.arg(
                name, button->text(), button->objectName(), describe(place), describe(inside));
    }
}

// The window's frame inside the screen's free area and its buttons inside the window, on
// each page of its tabs.
void checkWindow(QWidget* window, const QString& name, QStringList& problems)
{
    QCoreApplication::processEvents();
    const QRect available = window->screen()->availableGeometry();
    if (!available.contains(window->frameGeometry()))
        problems << u"%1: frame %2 outside the screen's %3"_s.arg(
            name, describe(window->frameGeometry()), describe(available));
    QTabWidget* tabs = nullptr;
    for (QTabWidget* each : window->findChildren<QTabWidget*>())
        if (each->window() == window && each->isVisibleTo(window))
            tabs = each;
    if (!tabs) {
        checkState(window, name, problems);
        return;
    }
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QCoreApplication::processEvents();
        checkState(window, name + u", page "_s + tabs->tabText(i), problems);
    }
}

QStringList mainWindow()
{
    MainWindowHarness h;
    h.addClient(u"Abel"_s, u"Pat"_s);
    h.open();
    QStringList problems;
    checkWindow(&h.window(), u"main window"_s, problems);
    return problems;
}

// A size stored on a larger screen is brought inside this one.
QStringList mainWindowStoredLarger()
{
    MainWindowHarness h;
    h.settings.save(keys::mainWindow(u"MainLeft"_s), u"300"_s);
    h.settings.save(keys::mainWindow(u"MainTop"_s), u"200"_s);
    h.settings.save(keys::mainWindow(u"MainWidth"_s), u"2400"_s);
    h.settings.save(keys::mainWindow(u"MainHeight"_s), u"1600"_s);
    h.open();
    QStringList problems;
    checkWindow(&h.window(), u"main window, stored larger"_s, problems);
    return problems;
}

QStringList recordList()
{
    MainWindowHarness h;
    h.addClient(u"Abel"_s, u"Pat"_s);
    h.open();
    h.window().cmdList_Click();
    auto* list = h.window().findChild<frmDataGrid*>();
    if (!list)
        return {u"the record list did not open"_s};
    QStringList problems;
    checkWindow(list, u"record list"_s, problems);
    return problems;
}

QStringList history()
{
    MainWindowHarness h;
    h.addClient(u"Abel"_s, u"Pat"_s);
    h.open();
    h.window().mnuViewHistory_Click();
    auto* window = h.window().findChild<frmHistory*>();
    if (!window)
        return {u"the history did not open"_s};
    QStringList problems;
    checkWindow(window, u"history"_s, problems);
    return problems;
}

QStringList options()
{
    MainWindowHarness h;
    QStringList problems;
    for (const char* mode : {"", "P-Well"}) {
        frmOptions dialog(Catalogue::builtIn(), h.settings, h.reporter);
        dialog.setMode(optionsModeFromText(QString::fromLatin1(mode)));
        dialog.show();
        checkWindow(&dialog, u"options %1"_s.arg(QLatin1String(mode)), problems);
    }
    return problems;
}

QStringList companyInfo()
{
    MainWindowHarness h;
    if (!saveCompanyRow(h.state.DatabaseFullPath, fullCompanyRow()))
        return {u"the company row could not be stored"_s};
    frmCompanyInfo window(h.settings, h.state, h.reporter, [](const QString&, const QString&) {});
    window.show();
    QStringList problems;
    checkWindow(&window, u"company info"_s, problems);
    return problems;
}

QStringList email()
{
    MainWindowHarness h;
    MailService service(SmtpSettings{}, h.prompts);
    EmailSetupValues values;
    values.toAddress = u"Enter the Client's Email address here"_s;
    values.subject = u"HCY Questionnaire"_s;
    values.mode = u"2"_s;
    frmEmail window(values, service, h.reporter);
    window.show();
    QStringList problems;
    checkWindow(&window, u"e-mail"_s, problems);
    return problems;
}

QStringList preview()
{
    MainWindowHarness h;
    frmPreview window(h.state.DatabaseFolder, h.reporter);
    window.show();
    QStringList problems;
    window.showCover({screen::kCoverPage, true, false, false}, screen::CoverPage{});
    checkWindow(&window, u"preview, cover"_s, problems);
    window.showText({2, true, true, false}, u"Summary"_s);
    checkWindow(&window, u"preview, summary"_s, problems);
    window.showText({3, true, true, false}, u"Analysis"_s);
    checkWindow(&window, u"preview, analysis"_s, problems);
    window.showGuide({4, true, true, true}, {u"Fiber"_s});
    checkWindow(&window, u"preview, supplement guide"_s, problems);
    return problems;
}

QStringList about()
{
    frmAbout window(Catalogue::builtIn());
    window.show();
    QStringList problems;
    checkWindow(&window, u"about"_s, problems);
    return problems;
}

QStringList help()
{
    frmHelp window(QStringLiteral(HALCYRA_SOURCE_DIR "/resources/help"), nullptr);
    window.show();
    QStringList problems;
    checkWindow(&window, u"help"_s, problems);
    return problems;
}

using Opener = std::function<QStringList()>;

const QList<std::pair<const char*, Opener>>& windows()
{
    static const QList<std::pair<const char*, Opener>> all = {
        {"main window", mainWindow},
        {"main window stored larger", mainWindowStoredLarger},
        {"record list", recordList},
        {"history", history},
        {"options", options},
        {"company info", companyInfo},
        {"e-mail", email},
        {"preview", preview},
        {"about", about},
        {"help", help},
    };
    return all;
}

} // namespace

class WindowsFitScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void everyWindowInsideTheScreen_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("scale");
        QTest::newRow("1400x900 at 1") << 1400 << 900 << u"1"_s;
        QTest::newRow("1400x900 at 1.5") << 1400 << 900 << u"1.5"_s;
        QTest::newRow("1400x900 at 2") << 1400 << 900 << u"2"_s;
        QTest::newRow("1024x700 at 1") << 1024 << 700 << u"1"_s;
    }

    void everyWindowInsideTheScreen()
    {
        if (qEnvironmentVariableIsSet(kChildSwitch))
            QSKIP("run by the screen's own program");
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, scale);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile config(dir.filePath(u"screen.json"_s));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(
            u"{\"screens\": [{\"name\": \"desk\", \"x\": 0, \"y\": 0, \"width\": %1, "
            "\"height\": %2, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}"_s.arg(width)
                .arg(height)
                .toUtf8());
        config.close();

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen:configfile="_s + config.fileName());
        environment.insert(u"QT_SCALE_FACTOR"_s, scale);
        const QSize logical(qRound(width / scale.toDouble()), qRound(height / scale.toDouble()));
        environment.insert(QString::fromLatin1(kChildSwitch),
                           u"%1x%2"_s.arg(logical.width()).arg(logical.height()));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {u"windowsOnThisScreen"_s});
        QVERIFY(child.waitForFinished(100000));
        const QString output = QString::fromUtf8(child.readAll());
        // What went wrong, without the lines that passed.
        QStringList failures;
        for (const QString& line : output.split(u'\n'))
            if (!line.startsWith(u"PASS"_s) && !line.startsWith(u"QWARN"_s))
                failures << line;
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 qPrintable(failures.join(u'\n')));
        QVERIFY2(output.contains(u"PASS   : WindowsFitScreenTest::windowsOnThisScreen(help)"_s),
                 qPrintable(output));
    }

    void windowsOnThisScreen_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < windows().size(); ++i)
            QTest::newRow(windows().at(i).first) << i;
    }

    void windowsOnThisScreen()
    {
        const QString screenSize = qEnvironmentVariable(kChildSwitch);
        if (screenSize.isEmpty())
            QSKIP("runs in the program of one screen");
        QFETCH(int, index);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(u"%1x%2"_s.arg(screen.width()).arg(screen.height()), screenSize);
        const QStringList problems = windows().at(index).second();
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    // The marked score boxes say so to a screen reader and in their tool tip.
    void markedScoresAreTold()
    {
        if (qEnvironmentVariableIsSet(kChildSwitch))
            QSKIP("run once, by the first program");
        MainWindowHarness h;
        h.addClient({{columns::score(1), 3},
                     {columns::score(2), 5},
                     {columns::score(3), 6},
                     {columns::score(4), 14}});
        h.open();
        auto* sum = h.child<QLineEdit>(u"txtScore_4"_s);
        auto* typed = h.child<QLineEdit>(u"txtScore_1"_s);
        QVERIFY(sum && typed);
        QCOMPARE(sum->accessibleName(), u"Field 4: 14, marked"_s);
        QVERIFY(sum->toolTip().startsWith(u"Marked"_s));
        QCOMPARE(typed->accessibleName(), u"Field 1: 3"_s);
        QVERIFY(typed->toolTip().isEmpty());
        MainWindowHarness::focus(typed);
        MainWindowHarness::type(typed, u"7"_s);
        MainWindowHarness::pressTab();
        QCOMPARE(sum->accessibleName(), u"Field 4: 18, marked"_s);
    }
};

QTEST_MAIN(WindowsFitScreenTest)
#include "tst_windows_fit_screen.moc"

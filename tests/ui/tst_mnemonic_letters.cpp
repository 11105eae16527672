// The Alt+letter keys of every window: each entry of every menu and submenu has one letter of
// its own within that menu, and no letter belongs to two controls of one window as it stands
// (its buttons, check boxes, group boxes, labels with a box, tab titles and menu-bar titles);
// a tab page counts together with the window's own buttons, and a window that changes what it
// shows is walked in each of its states.

#include "core/Catalogue.h"
#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "records/CompanyRecord.h"
#include "records/windows/frmDataGrid.h"
#include "records/windows/frmHistory.h"
#include "reports/ScreenPages.h"
#include "reports/windows/frmPreview.h"
#include "reports/windows/frmPrinting.h"
#include "reports/windows/frmPrnDialog.h"
#include "setup/CompanyInfo.h"
#include "setup/windows/frmCompanyInfo.h"
#include "setup/windows/frmOptions.h"
#include "support/CompanyRow.h"
#include "support/MainWindowHarness.h"
#include "support/ModalDriver.h"
#include "ui/EmailSetup.h"
#include "ui/SendEmail.h"
#include "ui/windows/QtPrompts.h"
#include "ui/windows/frmAbout.h"
#include "ui/windows/frmBrowser.h"
#include "ui/windows/frmEmail.h"
#include "ui/windows/frmHelp.h"
#include "ui/windows/frmMsg.h"
#include "ui/windows/frmSplash.h"
#include "ui/windows/frmTip.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "support/WebEngineUnderSanitizer.h"

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

namespace {

// The letters a caption marks: each "&" before a character other than "&" ("&&" is an
// ampersand), in upper case.
QStringList lettersOf(const QString& caption)
{
    QStringList letters;
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            continue;
        if (caption.at(i + 1) != u'&')
            letters << caption.at(i + 1).toUpper();
        ++i;
    }
    return letters;
}

QString plain(QString caption)
{
    return caption.replace(u"&&"_s, u"\x01"_s).remove(u'&').replace(u'\x01', u'&');
}

// Each entry of `menu` and of its submenus: exactly one letter, none shared within a menu.
void checkMenu(QMenu* menu, const QString& path, QStringList& problems)
{
    QHash<QString, QString> owners;
    for (QAction* entry : menu->actions()) {
        if (entry->isSeparator() || !entry->isVisible())
            continue;
        const QString where = path + u" > "_s + plain(entry->text());
        const QStringList letters = lettersOf(entry->text());
        if (letters.size() != 1)
            problems
                << u"%1: %2 letters in \"%3\""_s.arg(where).arg(letters.size()).arg(entry->text());
        for (const QString& letter : letters) {
            if (owners.contains(letter))
                problems << u"%1 > Alt+%2: \"%3\" and \"%4\""_s.arg(path, letter, owners[letter],
                                                                    plain(entry->text()));
            owners.insert(letter, plain(entry->text()));
        }
        if (entry->menu())
            checkMenu(entry->menu(), where, problems);
    }
}

// The window's menus, from its menu bars down.
void checkMenus(QWidget* window, const QString& name, QStringList& problems)
{
    for (QMenuBar* bar : window->findChildren<QMenuBar*>()) {
        if (!bar->isVisibleTo(window))
            continue;
        for (QAction* title : bar->actions())
            if (title->menu() && title->isVisible()) {
                if (lettersOf(title->text()).size() != 1)
                    problems << u"%1: menu \"%2\" has %3 letters"_s.arg(name, title->text())
                                    .arg(lettersOf(title->text()).size());
                checkMenu(title->menu(), name + u": "_s + plain(title->text()), problems);
            }
    }
}

// The captions that answer Alt+letter in the window as it stands.
QList<std::pair<QString, QString>> windowCaptions(QWidget* window)
{
    QList<std::pair<QString, QString>> captions; // what, caption
    const auto add = [&](const QWidget* control, const QString& caption) {
        captions.append(
            {QLatin1String(control->metaObject()->className()) + u' ' + control->objectName(),
             caption});
    };
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() != window || !control->isVisibleTo(window))
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            add(button, button->text());
        else if (auto* label = qobject_cast<QLabel*>(control); label && label->buddy())
            add(label, label->text());
        else if (auto* group = qobject_cast<QGroupBox*>(control))
            add(group, group->title());
        else if (auto* tabs = qobject_cast<QTabBar*>(control)) {
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->isTabVisible(i))
                    add(tabs, tabs->tabText(i));
        } else if (auto* bar = qobject_cast<QMenuBar*>(control)) {
            for (QAction* title : bar->actions())
                if (title->isVisible())
                    add(bar, title->text());
        }
    }
    return captions;
}

void checkWindowState(QWidget* window, const QString& state, QStringList& problems)
{
    QHash<QString, QString> owners;
    for (const auto& [what, caption] : windowCaptions(window)) {
        const QStringList letters = lettersOf(caption);
        if (letters.size() > 1)
            problems << u"%1: \"%2\" (%3) marks %4 letters"_s.arg(state, caption, what)
                            .arg(letters.size());
        for (const QString& letter : letters) {
            const QString owner = u"\"%1\" (%2)"_s.arg(plain(caption), what);
            if (owners.contains(letter))
                problems << u"%1: Alt+%2 is %3 and %4"_s.arg(state, letter, owners[letter], owner);
            owners.insert(letter, owner);
        }
    }
}

// The window in each of its tab pages (or as it is, without tabs), and its menus.
void checkWindow(QWidget* window, const QString& name, QStringList& problems)
{
    QTabWidget* tabs = nullptr;
    for (QTabWidget* each : window->findChildren<QTabWidget*>())
        if (each->window() == window && each->isVisibleTo(window))
            tabs = each;
    if (!tabs) {
        checkWindowState(window, name, problems);
    } else {
        const int current = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            checkWindowState(window, name + u", page "_s + plain(tabs->tabText(i)), problems);
        }
        tabs->setCurrentIndex(current);
    }
    checkMenus(window, name, problems);
}

// Walks the next modal window as it shows, then closes it. A button named in `expands`
// (the print dialog's "Options >>") is pressed and the window walked again.
void checkNextModal(QObject* context, const QString& name, QStringList& problems, bool& shown,
                    const QString& expands = {})
{
    shown = false;
    whenModalShows(context, [&problems, &shown, name, expands](QWidget* modal) {
        shown = true;
        checkWindow(modal, name, problems);
        if (!expands.isEmpty()) {
            QAbstractButton* more = nullptr;
            for (QAbstractButton* button : modal->findChildren<QAbstractButton*>())
                if (plain(button->text()) == expands && button->isVisibleTo(modal))
                    more = button;
            if (more) {
                more->click();
                checkWindow(modal, name + u", "_s + expands, problems);
            } else {
                problems << u"%1: no button %2"_s.arg(name, expands);
            }
        }
        modal->close();
    });
}

QStringList mainWindow()
{
    MainWindowHarness h;
    h.addClient(u"Abel"_s, u"Pat"_s);
    h.open();
    QStringList problems;
    checkWindow(&h.window(), u"main window"_s, problems);
    // Typing in a box changes Undo's caption; so does entering one.
    MainWindowHarness::type(h.window().lastNameBox(), u"Abell"_s);
    checkWindow(&h.window(), u"main window, typing"_s, problems);
    // While a new record is typed some commands are off; their letters must still not clash.
    h.window().cmdAdd_Click();
    checkWindow(&h.window(), u"main window, new record"_s, problems);
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
    for (const char* mode : {"", "P-Well", "V-Well", "P-Daily", "V-Daily"}) {
        frmOptions dialog(Catalogue::builtIn(), h.settings, h.reporter);
        dialog.setMode(optionsModeFromText(QString::fromLatin1(mode)));
        dialog.show();
        checkWindow(&dialog, u"options %1"_s.arg(QLatin1String(*mode ? mode : "(plain)")),
                    problems);
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
    window.showGuide({4, true, true, true}, {u"Fiber"_s});
    checkWindow(&window, u"preview, supplement guide"_s, problems);
    return problems;
}

QStringList printerDialogs()
{
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    // The PDF writer: a printer every machine has, so the dialog always opens.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(u"report.pdf"_s));
    QObject context;
    QStringList problems;
    bool shown = false;
    checkNextModal(&context, u"printer dialog"_s, problems, shown, u"Options >>"_s);
    frmPrnDialog(prompts).Command2_Click(printer);
    if (!shown)
        problems << u"the printer dialog did not open"_s;
    checkNextModal(&context, u"page setup"_s, problems, shown);
    frmPrnDialog(prompts).ShowPageSetup(printer);
    if (!shown)
        problems << u"the page setup did not open"_s;
    return problems;
}

QStringList printing()
{
    frmPrinting window;
    ShowPrinting(window, u"Printing Summary"_s);
    QStringList problems;
    checkWindow(&window, u"printing"_s, problems);
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

QStringList splash()
{
    frmSplash window(Catalogue::builtIn());
    window.show();
    QStringList problems;
    checkWindow(&window, u"splash"_s, problems);
    return problems;
}

QStringList tip()
{
    MainWindowHarness h;
    frmTip window(h.settings, h.state.DatabaseFolder);
    window.show();
    QStringList problems;
    checkWindow(&window, u"tip of the day"_s, problems);
    return problems;
}

QStringList messages()
{
    MainWindowHarness h;
    frmMsg window(h.settings);
    QObject context;
    QStringList problems;
    for (const char* title :
         {"Save Confirmation", "Email Questionnaire Compatibility", "F1 Help Main",
          "F1 Help Company", "Empty Field", "Field Value Error", "Field Length Error",
          "Backup/Restore", "View Questionnaire", "Tutorial"}) {
        bool shown = false;
        checkNextModal(&context, u"message %1"_s.arg(QLatin1String(title)), problems, shown);
        window.ShowMsg(QString::fromLatin1(title), u"The message."_s);
        if (!shown)
            problems << u"the message %1 did not show"_s.arg(QLatin1String(title));
    }
    return problems;
}

QStringList prompts()
{
    QtPrompts prompts;
    QObject context;
    QStringList problems;
    bool shown = false;
    checkNextModal(&context, u"question"_s, problems, shown);
    prompts.ask(u"Halcyra"_s, u"Quit?"_s, UserPrompts::Buttons::YesNoCancel,
                UserPrompts::Icon::Warning, UserPrompts::Answer::Yes);
    checkNextModal(&context, u"notice"_s, problems, shown);
    prompts.inform(u"Halcyra"_s, u"Done."_s, UserPrompts::Icon::Information);
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

QStringList browser()
{
    auto created = frmBrowser::create();
    if (!created)
        return {u"skip: "_s + created.error()};
    const auto window = std::move(*created);
    window->show();
    QStringList problems;
    checkWindow(window.get(), u"browser"_s, problems);
    return problems;
}

const std::pair<const char*, QStringList (*)()> kWindows[] = {
    {"main window", mainWindow},
    {"record list", recordList},
    {"history", history},
    {"options", options},
    {"company info", companyInfo},
    {"e-mail", email},
    {"preview", preview},
    {"printer dialogs", printerDialogs},
    {"printing", printing},
    {"about", about},
    {"splash", splash},
    {"tip of the day", tip},
    {"messages", messages},
    {"questions and notices", prompts},
    {"help", help},
    {"browser", browser},
};

} // namespace

class MnemonicLettersTest : public QObject
{
    Q_OBJECT
public:
    static void initMain()
    {
        // As the program does before its application object exists, for the browser window.
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
#ifdef Q_OS_UNIX
        // The engine will not start as root with its sandbox on; the window shows no page.
        if (geteuid() == 0)
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    }

private slots:
    void noLetterTwiceInAWindow_data()
    {
        QTest::addColumn<int>("window");
        for (int i = 0; i < int(std::size(kWindows)); ++i)
            QTest::newRow(kWindows[i].first) << i;
    }

    void noLetterTwiceInAWindow()
    {
        QFETCH(int, window);
        const QStringList problems = kWindows[window].second();
        if (problems.size() == 1 && problems.first().startsWith(u"skip: "))
            QSKIP(qPrintable(problems.first()));
        QVERIFY2(problems.isEmpty(), qPrintable(u"\n"_s + problems.join(u"\n"_s)));
    }
};

QTEST_MAIN(MnemonicLettersTest)
#include "tst_mnemonic_letters.moc"

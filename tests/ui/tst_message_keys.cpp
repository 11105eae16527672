// Messages from the keyboard: every message opens on its OK, which Enter presses, whatever
// had the focus when the window was last shown; keys still being typed for the window behind
// when a message opens neither tick its "Don't show this message again." box nor press a
// button; the plain notices and questions answer Enter with their default.

#include "core/Settings.h"
#include "support/ModalDriver.h"
#include "ui/windows/QtPrompts.h"
#include "ui/windows/frmMsg.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

template <typename T> T* part(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("the message window has no %s", name);
    return found;
}

// Sends keys as the adviser types them, to the control that has the focus: "Space", "Return",
// "Tab", "Alt+D", "Escape", "wait"; "held" is the repeat and release of an Enter that went
// down before the message opened (the Enter that pressed Save, say).
void typeInto(QWidget* window, const QString& keys)
{
    for (const QString& key : keys.split(u' ', Qt::SkipEmptyParts)) {
        QWidget* target = window->focusWidget() ? window->focusWidget() : window;
        if (key == u"held") {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s, true);
            QApplication::sendEvent(target, &repeat);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
            QApplication::sendEvent(target, &release);
        } else if (key == u"Space") {
            QTest::keyClick(target, Qt::Key_Space);
        } else if (key == u"Return") {
            QTest::keyClick(target, Qt::Key_Return);
        } else if (key == u"Tab") {
            QTest::keyClick(target, Qt::Key_Tab);
        } else if (key == u"Alt+D") {
            QTest::keyClick(target, Qt::Key_D, Qt::AltModifier);
        } else if (key == u"Escape") {
            QTest::keyClick(target, Qt::Key_Escape);
        } else if (key == u"wait") {
            QTest::qWait(250); // a mnemonic clicks its box a moment later

        } else {
            qFatal("no key %s", qPrintable(key));
        }
    }
}

} // namespace

class MessageKeysTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensOnOk_data();
    void opensOnOk();
    void typedAheadKeysAreHeldBack_data();
    void typedAheadKeysAreHeldBack();
    void promptsAnswerEnterWithTheirDefault_data();
    void promptsAnswerEnterWithTheirDefault();

private:
    QString stored(const QString& title) const
    {
        return SettingsStore(m_dir->path()).value(u"HCY"_s, u"Options"_s, title, u"<none>"_s);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<QObject> m_watch;
    std::unique_ptr<frmMsg> m_window;
};

void MessageKeysTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_settings = std::make_unique<SettingsStore>(m_dir->path());
    m_watch = std::make_unique<QObject>();
    m_window = std::make_unique<frmMsg>(*m_settings);
}

void MessageKeysTest::cleanup()
{
    m_window.reset();
    m_watch.reset();
}

void MessageKeysTest::opensOnOk_data()
{
    QTest::addColumn<QString>("before"); // the message shown first, and left from
    QTest::addColumn<QString>("leftOn"); // the control that had the focus when it closed
    QTest::addColumn<QString>("title");

    const char* const titles[] = {"Save Confirmation", "Empty Field",        "Field Length Error",
                                  "Backup/Restore",    "View Questionnaire", "Tutorial"};
    for (const char* title : titles) {
        const QString shown = QString::fromLatin1(title);
        QTest::addRow("%s, first message", title) << QString() << QString() << shown;
        QTest::addRow("%s after Online", title)
            << u"Save Confirmation"_s << u"cmdShowMe"_s << shown;
        QTest::addRow("%s after the box", title) << u"Empty Field"_s << u"ckDoNotShow"_s << shown;
        QTest::addRow("%s after Help", title) << u"View Questionnaire"_s << u"cmd2"_s << shown;
    }
}

void MessageKeysTest::opensOnOk()
{
    QFETCH(QString, before);
    QFETCH(QString, leftOn);
    QFETCH(QString, title);
    m_window->setTypingMoment(0ms);

    if (!before.isEmpty()) {
        whenModalShows(m_watch.get(), [&](QWidget* modal) {
            (void)QTest::qWaitForWindowActive(modal);
            modal->findChild<QWidget*>(leftOn)->setFocus(Qt::TabFocusReason);
            // Closed with the mouse, so the focus stays where the keyboard left it.
            part<QPushButton>(modal, "cmdOk")->click();
        });
        m_window->ShowMsg(before, u"Before."_s);
    }

    QWidget* focused = nullptr;
    bool okIsDefault = false;
    bool ticked = true;
    whenModalShows(m_watch.get(), [&](QWidget* modal) {
        (void)QTest::qWaitForWindowActive(modal);
        focused = modal->focusWidget();
        okIsDefault = part<QPushButton>(modal, "cmdOk")->isDefault();
        // Enter on another button would press it (Online opens a web page): not tried.
        if (focused == part<QPushButton>(modal, "cmdOk"))
            typeInto(modal, u"Return"_s);
        else
            modal->close();
        ticked = part<QCheckBox>(modal, "ckDoNotShow")->isChecked();
    });
    QCOMPARE(m_window->ShowMsg(title, u"Now."_s), MessageResult::Ok);
    QVERIFY(focused);
    QCOMPARE(focused->objectName(), u"cmdOk"_s);
    QVERIFY(okIsDefault);
    QVERIFY(!ticked);
}

void MessageKeysTest::typedAheadKeysAreHeldBack_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("typedAhead"); // typed in the message's first moment
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("result"); // MessageResult after the keys, or -1: still open
    QTest::addColumn<QString>("stored");

    const int open = -1;
    const int ok = static_cast<int>(MessageResult::Ok);
    // Typed on: the keys reach the message before the adviser has seen it.
    QTest::newRow("space") << u"Empty Field"_s << true << u"Space"_s << open << u"0"_s;
    QTest::newRow("tab, space, enter")
        << u"Empty Field"_s << true << u"Tab Space Return"_s << open << u"0"_s;
    QTest::newRow("space, twice") << u"Field Length Error"_s << true << u"Tab Space Tab Space"_s
                                  << open << u"0"_s;
    QTest::newRow("mnemonic") << u"Field Length Error"_s << true << u"Alt+D"_s << open << u"0"_s;
    QTest::newRow("enter on Yes") << u"Tutorial"_s << true << u"Return"_s << open << u"0"_s;
    // Enter held down since before the message opened: its repeat and release.
    QTest::newRow("held enter") << u"Save Confirmation"_s << false << u"held"_s << open << u"0"_s;
    // Once the message is up, the same keys are the adviser's choice.
    QTest::newRow("space on OK") << u"Empty Field"_s << false << u"Space"_s << ok << u"0"_s;
    QTest::newRow("tab, space, enter, seen")
        << u"Empty Field"_s << false << u"Tab Space Return"_s << ok << u"1"_s;
    QTest::newRow("mnemonic, seen")
        << u"Field Length Error"_s << false << u"Alt+D wait Return"_s << ok << u"1"_s;
}

void MessageKeysTest::typedAheadKeysAreHeldBack()
{
    QFETCH(QString, title);
    QFETCH(bool, typedAhead);
    QFETCH(QString, keys);
    QFETCH(int, result);
    QFETCH(QString, stored);
    m_window->setTypingMoment(typedAhead ? 3600s : 0s);

    bool active = false;
    bool stillOpen = false;
    bool ticked = false;
    whenModalShows(m_watch.get(), [&](QWidget* modal) {
        active = QTest::qWaitForWindowActive(modal);
        typeInto(modal, keys + u" wait"_s);
        stillOpen = modal->isVisible();
        ticked = part<QCheckBox>(modal, "ckDoNotShow")->isChecked();
        if (stillOpen)
            typeInto(modal, u"Escape"_s); // always taken: it only closes
    });
    const MessageResult shown = m_window->ShowMsg(title, u"The message."_s);
    QVERIFY(active);
    QCOMPARE(stillOpen, result < 0);
    QVERIFY(!ticked || result >= 0);
    QCOMPARE(static_cast<int>(shown), result < 0 ? int(MessageResult::Closed) : result);
    QCOMPARE(this->stored(title), stored);
}

void MessageKeysTest::promptsAnswerEnterWithTheirDefault_data()
{
    using Buttons = UserPrompts::Buttons;
    using Answer = UserPrompts::Answer;
    QTest::addColumn<int>("buttons"); // -1: a notice
    QTest::addColumn<int>("asked");   // the default the caller asked for
    QTest::addColumn<int>("button");  // QMessageBox::StandardButton expected as default
    QTest::addColumn<int>("answer");

    QTest::newRow("notice") << -1 << 0 << int(QMessageBox::Ok) << int(Answer::Ok);
    QTest::newRow("OK only") << int(Buttons::Ok) << int(Answer::Ok) << int(QMessageBox::Ok)
                             << int(Answer::Ok);
    QTest::newRow("yes or no, No")
        << int(Buttons::YesNo) << int(Answer::No) << int(QMessageBox::No) << int(Answer::No);
    QTest::newRow("yes or no, Yes")
        << int(Buttons::YesNo) << int(Answer::Yes) << int(QMessageBox::Yes) << int(Answer::Yes);
    QTest::newRow("yes, no or cancel") << int(Buttons::YesNoCancel) << int(Answer::Cancel)
                                       << int(QMessageBox::Cancel) << int(Answer::Cancel);
    QTest::newRow("OK asked of yes or no")
        << int(Buttons::YesNo) << int(Answer::Ok) << int(QMessageBox::Yes) << int(Answer::Yes);
}

void MessageKeysTest::promptsAnswerEnterWithTheirDefault()
{
    QFETCH(int, buttons);
    QFETCH(int, asked);
    QFETCH(int, button);
    QFETCH(int, answer);

    // Read while the box is up: its buttons go with it.
    bool offered = false;
    bool isDefault = false;
    bool hasFocus = false;
    whenModalShows(m_watch.get(), [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            modal->close();
            return;
        }
        (void)QTest::qWaitForWindowActive(box);
        QAbstractButton* expected = box->button(static_cast<QMessageBox::StandardButton>(button));
        offered = expected != nullptr;
        isDefault = offered && box->defaultButton() == expected;
        hasFocus = offered && box->focusWidget() == expected;
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
    });
    QtPrompts prompts;
    UserPrompts::Answer given = UserPrompts::Answer::Ok;
    if (buttons < 0)
        prompts.inform(u"Notice"_s, u"Something happened."_s, UserPrompts::Icon::Information);
    else
        given = prompts.ask(u"Question"_s, u"Go on?"_s, static_cast<UserPrompts::Buttons>(buttons),
                            UserPrompts::Icon::Question, static_cast<UserPrompts::Answer>(asked));
    QVERIFY(offered);
    QVERIFY(isDefault);
    QVERIFY(hasFocus);
    QCOMPARE(static_cast<int>(given), answer);
}

QTEST_MAIN(MessageKeysTest)
#include "tst_message_keys.moc"

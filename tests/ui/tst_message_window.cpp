#include "core/Settings.h"
#include "support/ModalDriver.h"
#include "ui/windows/frmMsg.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

namespace {

// What the adviser sees of the message window.
struct Seen
{
    bool shown = false;
    QString title;
    QString message;
    QString heading;
    QColor headingColor;
    QString okText;
    bool cancelVisible = false;
    bool secondVisible = false;
    QString secondText;
    bool onlineVisible = false;
    bool checkVisible = false;
    bool checkTicked = false;
};

template <typename T> T* part(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("the message window has no %s", name);
    return found;
}

Seen look(QWidget* window)
{
    Seen seen;
    seen.shown = true;
    seen.title = window->windowTitle();
    seen.message = part<QLabel>(window, "lblMsg")->text();
    auto* heading = part<QLabel>(window, "lblWarn");
    seen.heading = heading->text();
    seen.headingColor = heading->palette().color(QPalette::WindowText);
    seen.okText = part<QPushButton>(window, "cmdOk")->text();
    seen.cancelVisible = part<QPushButton>(window, "cmd1")->isVisible();
    seen.secondVisible = part<QPushButton>(window, "cmd2")->isVisible();
    seen.secondText = part<QPushButton>(window, "cmd2")->text();
    seen.onlineVisible = part<QPushButton>(window, "cmdShowMe")->isVisible();
    seen.checkVisible = part<QCheckBox>(window, "ckDoNotShow")->isVisible();
    seen.checkTicked = part<QCheckBox>(window, "ckDoNotShow")->isChecked();
    return seen;
}

const QColor kGreen(15, 150, 15);
const QColor kRed(255, 0, 0);

} // namespace

class MessageWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void layoutPerTitle_data();
    void layoutPerTitle();
    void suppressedTitleShowsNothing();
    void tickedBoxSuppressesTheTitle_data();
    void tickedBoxSuppressesTheTitle();
    void untickedBoxStoresZero();
    void boxStartsClearedForEachMessage();
    void cancelSetsOptionsCancelled();
    void backupRestoreCancelSetsOptionsCancelled_data();
    void backupRestoreCancelSetsOptionsCancelled();
    void tutorialYesOpensHelpAndNoDoesNot();

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

void MessageWindowTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_settings = std::make_unique<SettingsStore>(m_dir->path());
    m_watch = std::make_unique<QObject>();
    m_window = std::make_unique<frmMsg>(*m_settings);
}

void MessageWindowTest::cleanup()
{
    m_window.reset();
    m_watch.reset(); // ends any watch for a window that never showed
}

void MessageWindowTest::layoutPerTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("okText");
    QTest::addColumn<QString>("second"); // empty: cmd2 hidden
    QTest::addColumn<bool>("online");
    QTest::addColumn<bool>("check");

    for (const char* title : {"Email Questionnaire Compatibility", "F1 Help Main",
                              "F1 Help Company", "Save Confirmation"})
        QTest::newRow(title) << QString::fromLatin1(title) << u"Information"_s << kGreen << u"OK"_s
                             << QString() << true << false;
    for (const char* title : {"Empty Field", "Field Value Error"})
        QTest::newRow(title) << QString::fromLatin1(title) << u"Warning!"_s << kRed << u"OK"_s
                             << QString() << false << true;
    QTest::newRow("Field Length Error") << u"Field Length Error"_s << u"Information"_s << kGreen
                                        << u"OK"_s << QString() << false << true;
    QTest::newRow("Backup/Restore") << u"Backup/Restore"_s << u"Information"_s << kGreen << u"OK"_s
                                    << u"Cancel"_s << false << true;
    QTest::newRow("View Questionnaire") << u"View Questionnaire"_s << u"CAUTION"_s << kGreen
                                        << u"OK"_s << u"Help"_s << false << true;
    QTest::newRow("Tutorial") << u"Tutorial"_s << u"Information"_s << kGreen << u"Yes"_s << u"No"_s
                              << false << true;
}

void MessageWindowTest::layoutPerTitle()
{
    QFETCH(QString, title);
    QFETCH(QString, heading);
    QFETCH(QColor, color);
    QFETCH(QString, okText);
    QFETCH(QString, second);
    QFETCH(bool, online);
    QFETCH(bool, check);

    Seen seen;
    whenModalShows(m_watch.get(), [&](QWidget* modal) {
        seen = look(modal);
        part<QPushButton>(modal, "cmdOk")->click();
    });
    const MessageResult result = m_window->ShowMsg(title, u"Line one\nLine two"_s);

    QVERIFY(seen.shown);
    QCOMPARE(result, MessageResult::Ok);
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.message, u"Line one\nLine two"_s);
    QCOMPARE(seen.heading, heading);
    QCOMPARE(seen.headingColor.rgb(), color.rgb());
    QCOMPARE(seen.okText, okText);
    QVERIFY(!seen.cancelVisible);
    QCOMPARE(seen.secondVisible, !second.isEmpty());
    if (!second.isEmpty())
        QCOMPARE(seen.secondText, second);
    QCOMPARE(seen.onlineVisible, online);
    QCOMPARE(seen.checkVisible, check);
    QVERIFY(!m_window->cancelled());
}

void MessageWindowTest::suppressedTitleShowsNothing()
{
    m_settings->setValue(u"HCY"_s, u"Options"_s, u"Empty Field"_s, u"1"_s);
    m_settings->setValue(u"HCY"_s, u"Options"_s, u"Tutorial"_s, u"0"_s);
    QFile file(QDir(m_dir->path()).filePath(u"HCY.ini"_s));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    bool shown = false;
    whenModalShows(m_watch.get(), [&](QWidget* modal) {
        shown = true;
        modal->close();
    });
    QCOMPARE(m_window->ShowMsg(u"Empty Field"_s, u"The last name is empty."_s),
             MessageResult::Suppressed);
    QVERIFY(!m_window->isVisible());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QCoreApplication::processEvents();
    QVERIFY(!shown);
}

void MessageWindowTest::tickedBoxSuppressesTheTitle_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<MessageResult>("result");
    QTest::newRow("OK") << u"ok"_s << MessageResult::Ok;
    QTest::newRow("window closed") << u"close"_s << MessageResult::Closed;
    QTest::newRow("Escape") << u"escape"_s << MessageResult::Closed;
}

void MessageWindowTest::tickedBoxSuppressesTheTitle()
{
    QFETCH(QString, how);
    QFETCH(MessageResult, result);
    whenModalShows(m_watch.get(), [&](QWidget* modal) {
        part<QCheckBox>(modal, "ckDoNotShow")->click();
        if (how == u"ok")
            part<QPushButton>(modal, "cmdOk")->click();
        else if (how == u"close")
            modal->close();
        else
            QTest::keyClick(modal, Qt::Key_Escape);
    });
    QCOMPARE(m_window->ShowMsg(u"Field Length Error"_s, u"Too long."_s), result);
    QCOMPARE(stored(u"Field Length Error"_s), u"1"_s);
    QCOMPARE(stored(u"Empty Field"_s), u"<none>"_s);

    bool shownAgain = false;
    whenModalShows(m_watch.get(), [&](QWidget* modal) {
        shownAgain = true;
        modal->close();
    });
    QCOMPARE(m_window->ShowMsg(u"Field Length Error"_s, u"Too long."_s), MessageResult::Suppressed);
    // A new window, as after a restart, keeps the title switched off.
    frmMsg another(*m_settings);
    QCOMPARE(another.ShowMsg(u"Field Length Error"_s, u"Too long."_s), MessageResult::Suppressed);
    QVERIFY(!shownAgain);
}

void MessageWindowTest::untickedBoxStoresZero()
{
    m_settings->setValue(u"HCY"_s, u"Options"_s, u"Backup/Restore"_s, u"0"_s);
    whenModalShows(m_watch.get(),
                   [&](QWidget* modal) { part<QPushButton>(modal, "cmdOk")->click(); });
    QCOMPARE(m_window->ShowMsg(u"Backup/Restore"_s, u"Close other programs first."_s),
             MessageResult::Ok);
    QCOMPARE(stored(u"Backup/Restore"_s), u"0"_s);

    // Shown again, since "0" does not switch it off.
    bool shown = false;
    whenModalShows(m_watch.get(), [&](QWidget* modal) {
        shown = true;
        modal->close();
    });
    m_window->ShowMsg(u"Backup/Restore"_s, u"Close other programs first."_s);
    QVERIFY(shown);
}

void MessageWindowTest::boxStartsClearedForEachMessage()
{
    whenModalShows(m_watch.get(), [&](QWidget* modal) {
        part<QCheckBox>(modal, "ckDoNotShow")->click();
        modal->close();
    });
    m_window->ShowMsg(u"Empty Field"_s, u"Empty."_s);
    Seen seen;
    whenModalShows(m_watch.get(), [&](QWidget* modal) {
        seen = look(modal);
        modal->close();
    });
    m_window->ShowMsg(u"View Questionnaire"_s, u"Opens the word processor."_s);
    QVERIFY(seen.shown);
    QVERIFY(!seen.checkTicked);
    QCOMPARE(stored(u"Empty Field"_s), u"1"_s);
    QCOMPARE(stored(u"View Questionnaire"_s), u"0"_s);
}

void MessageWindowTest::cancelSetsOptionsCancelled()
{
    whenModalShows(m_watch.get(),
                   [&](QWidget* modal) { part<QPushButton>(modal, "cmd1")->click(); });
    QCOMPARE(m_window->ShowMsg(u"Empty Field"_s, u"Empty."_s), MessageResult::Cancel);
    QVERIFY(m_window->cancelled());
    QCOMPARE(stored(u"Empty Field"_s), u"<none>"_s);
    // A message that is switched off is not taken for the cancel before it.
    storeDoNotShow(*m_settings, u"Field Length Error"_s, true);
    QCOMPARE(m_window->ShowMsg(u"Field Length Error"_s, u"Too long."_s), MessageResult::Suppressed);
    QVERIFY(!m_window->cancelled());
}

void MessageWindowTest::backupRestoreCancelSetsOptionsCancelled_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << u"cancel"_s;
    QTest::newRow("Escape") << u"escape"_s;
    QTest::newRow("close box") << u"close"_s;
}

// However the message is cancelled, the hand-over does not happen and nothing is stored, the
// ticked box included.
void MessageWindowTest::backupRestoreCancelSetsOptionsCancelled()
{
    QFETCH(QString, how);
    whenModalShows(m_watch.get(), [&](QWidget* modal) {
        part<QCheckBox>(modal, "ckDoNotShow")->click();
        if (how == u"cancel")
            part<QPushButton>(modal, "cmd2")->click();
        else if (how == u"escape")
            QTest::keyClick(modal, Qt::Key_Escape);
        else
            modal->close();
    });
    QCOMPARE(m_window->ShowMsg(u"Backup/Restore"_s, u"Close other programs first."_s),
             MessageResult::Second);
    QVERIFY(m_window->cancelled());
    QCOMPARE(stored(u"Backup/Restore"_s), u"<none>"_s);
}

void MessageWindowTest::tutorialYesOpensHelpAndNoDoesNot()
{
    int helpOpened = 0;
    m_window->GetHelp = [&] { ++helpOpened; };

    whenModalShows(m_watch.get(),
                   [&](QWidget* modal) { part<QPushButton>(modal, "cmd2")->click(); });
    QCOMPARE(m_window->ShowMsg(u"Tutorial"_s, u"Run the tutorial?"_s), MessageResult::Second);
    QCOMPARE(helpOpened, 0);
    QVERIFY(!m_window->cancelled());

    whenModalShows(m_watch.get(),
                   [&](QWidget* modal) { part<QPushButton>(modal, "cmdOk")->click(); });
    QCOMPARE(m_window->ShowMsg(u"Tutorial"_s, u"Run the tutorial?"_s), MessageResult::Ok);
    QCOMPARE(helpOpened, 1);
}

QTEST_MAIN(MessageWindowTest)
#include "tst_message_window.moc"

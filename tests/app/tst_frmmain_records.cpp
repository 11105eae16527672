// The main window and its records: moving, New, Delete, Save, saving before every move and on
// closing, a save that fails, the menus and the window's place on the screen.

#include "core/SettingsKeys.h"
#include "records/ClientDataSource.h"
#include "records/DataControl.h"
#include "reports/windows/PrintWellCommand.h"
#include "support/MainWindowHarness.h"
#include "support/RefusedChange.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QtTest>

using namespace halcyra;
using halcyra::test::MainWindowHarness;
using Answer = UserPrompts::Answer;

namespace {

QString caption(const MainWindowHarness& h)
{
    return h.child<QLabel>(QStringLiteral("Data1_Caption"))->text();
}

void clickArrow(const MainWindowHarness& h, const char* name)
{
    QTest::mouseClick(h.child<QWidget>(QString::fromLatin1(name)), Qt::LeftButton);
    MainWindowHarness::settle();
}

void click(const MainWindowHarness& h, const char* button)
{
    QTest::mouseClick(h.child<QPushButton>(QString::fromLatin1(button)), Qt::LeftButton);
    MainWindowHarness::settle();
}

QLineEdit* field(const MainWindowHarness& h, int index)
{
    return h.child<QLineEdit>(QStringLiteral("txtFields_%1").arg(index));
}

bool listCommandsEnabled(const MainWindowHarness& h)
{
    const bool list = h.child<QPushButton>(QStringLiteral("cmdList"))->isEnabled();
    const bool open = h.child<QAction>(QStringLiteral("tbToolBar_Open"))->isEnabled();
    const bool del = h.child<QPushButton>(QStringLiteral("cmdDelete"))->isEnabled();
    const bool menu = h.child<QAction>(QStringLiteral("mnuFileOpen"))->isEnabled();
    if (list != open || list != del || list != menu)
        qWarning() << "list commands disagree:" << list << open << del << menu;
    return list && open && del && menu;
}

bool listCommandsDisabled(const MainWindowHarness& h)
{
    return !h.child<QPushButton>(QStringLiteral("cmdList"))->isEnabled() &&
           !h.child<QAction>(QStringLiteral("tbToolBar_Open"))->isEnabled() &&
           !h.child<QPushButton>(QStringLiteral("cmdDelete"))->isEnabled() &&
           !h.child<QAction>(QStringLiteral("mnuFileOpen"))->isEnabled();
}

bool wasShown(const MainWindowHarness& h, const QString& text)
{
    for (const auto& shown : h.prompts.shown())
        if (shown.text == text)
            return true;
    return false;
}

} // namespace

class FrmMainRecords : public QObject
{
    Q_OBJECT

private slots:
    void captionAndListCommandsFollowTheRecord()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.addClient(QStringLiteral("Baker"), QStringLiteral("Bob"));
        h.addClient(QStringLiteral("Clark"), QStringLiteral("Cy"));
        h.open();
        QCOMPARE(caption(h), QStringLiteral("Data Control Bar: - Record: 1"));
        QCOMPARE(field(h, 1)->text(), QStringLiteral("Adams"));

        clickArrow(h, "Data1_Next");
        clickArrow(h, "Data1_Next");
        QCOMPARE(caption(h), QStringLiteral("Data Control Bar: - Record: 3"));
        QCOMPARE(field(h, 1)->text(), QStringLiteral("Clark"));
        QVERIFY(listCommandsEnabled(h));

        click(h, "cmdAdd");
        QCOMPARE(caption(h), QStringLiteral("Data Control Bar:"));
        QVERIFY(listCommandsDisabled(h));
        QCOMPARE(field(h, 1)->text(), QString());
        QCOMPARE(field(h, 0)->text(), QString());
        QCOMPARE(QApplication::focusWidget(), field(h, 1));
        // The list cannot be opened over the unsaved new record, by any of its ways.
        h.child<QAction>(QStringLiteral("mnuFileOpen"))->trigger();
        QVERIFY(!h.child<QWidget>(QStringLiteral("frmDataGrid")));

        MainWindowHarness::type(field(h, 1), QStringLiteral("Dunn"));
        click(h, "cmdUpdate");
        QCOMPARE(caption(h), QStringLiteral("Data Control Bar: - Record: 4"));
        QVERIFY(listCommandsEnabled(h));
        QCOMPARE(h.storedCount(), 4);
        QVERIFY(!field(h, 0)->text().isEmpty());

        // New, then a move: enabled again, and the empty new record is not stored.
        h.child<QAction>(QStringLiteral("tbToolBar_New"))->trigger();
        MainWindowHarness::settle();
        QVERIFY(listCommandsDisabled(h));
        clickArrow(h, "Data1_First");
        QCOMPARE(caption(h), QStringLiteral("Data Control Bar: - Record: 1"));
        QVERIFY(listCommandsEnabled(h));
        QCOMPARE(h.storedCount(), 4);
        clickArrow(h, "Data1_Last");
        QCOMPARE(caption(h), QStringLiteral("Data Control Bar: - Record: 4"));
        clickArrow(h, "Data1_Previous");
        QCOMPARE(field(h, 1)->text(), QStringLiteral("Clark"));
    }

    void theLastRecordCannotBeDeleted()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.open();
        h.prompts.setNextAnswers({Answer::Yes});
        click(h, "cmdDelete");
        QVERIFY(wasShown(h, QStringLiteral("You CAN NOT delete the last record.")));
        QCOMPARE(h.storedCount(), 1);
        QCOMPARE(field(h, 1)->text(), QStringLiteral("Adams"));
    }

    void deleteAsksAndDeletesOnAnyAnswerButNo()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.addClient(QStringLiteral("Baker"), QStringLiteral("Bob"));
        h.addClient(QStringLiteral("Clark"), QStringLiteral("Cy"));
        h.open();
        clickArrow(h, "Data1_Next");

        h.prompts.setNextAnswers({Answer::No});
        click(h, "cmdDelete");
        const auto question = h.prompts.shown().last();
        QCOMPARE(question.title, QStringLiteral("Delete Record Verification"));
        QCOMPARE(question.text,
                 QStringLiteral("Are you sure you want to delete this record of: Bob Baker"));
        QCOMPARE(h.storedCount(), 3);

        h.prompts.setNextAnswers({Answer::Yes});
        click(h, "cmdDelete");
        QCOMPARE(h.storedCount(), 2);
        QCOMPARE(field(h, 1)->text(), QStringLiteral("Clark"));
        QCOMPARE(caption(h), QStringLiteral("Data Control Bar: - Record: 2"));

        // The last record deleted: the window shows the one before it.
        h.prompts.setNextAnswers({Answer::Cancel});
        click(h, "cmdDelete");
        QCOMPARE(h.storedCount(), 1);
        QCOMPARE(field(h, 1)->text(), QStringLiteral("Adams"));
    }

    void movingAwayAndNewSaveTheEdits()
    {
        MainWindowHarness h;
        const qint64 adams =
            h.addClient({{columns::detail(1), QStringLiteral("Adams")}, {columns::score(25), 9}});
        const qint64 baker = h.addClient(QStringLiteral("Baker"), QStringLiteral("Bob"));
        h.open();
        // Section 23 lives in column "Field25", box 25.
        QCOMPARE(h.child<QLineEdit>(QStringLiteral("txtScore_25"))->text(), QStringLiteral("9"));

        MainWindowHarness::focus(field(h, 1));
        MainWindowHarness::type(field(h, 1), QStringLiteral("Adamson"));
        // Sections 22 and 22A (boxes 23 and 24) add up to section 23.
        for (int box : {23, 24}) {
            auto* score = h.child<QLineEdit>(QStringLiteral("txtScore_%1").arg(box));
            MainWindowHarness::focus(score);
            MainWindowHarness::type(score, QString::number(box == 23 ? 5 : 7));
        }
        h.child<QCheckBox>(QStringLiteral("ckYesNo_4"))->setChecked(true);
        clickArrow(h, "Data1_Next");
        QCOMPARE(field(h, 1)->text(), QStringLiteral("Baker"));
        QCOMPARE(h.stored(adams, columns::detail(1)).toString(), QStringLiteral("Adamson"));
        QCOMPARE(h.stored(adams, columns::score(25)).toInt(), 12);
        QCOMPARE(h.stored(adams, columns::yesNo(4)).toInt(), 1);

        MainWindowHarness::focus(field(h, 2));
        MainWindowHarness::type(field(h, 2), QStringLiteral("Robert"));
        h.child<QAction>(QStringLiteral("mnuFileNew"))->trigger();
        MainWindowHarness::settle();
        QCOMPARE(h.stored(baker, columns::detail(2)).toString(), QStringLiteral("Robert"));
        QCOMPARE(caption(h), QStringLiteral("Data Control Bar:"));
    }

    void anEmptyDatabaseStartsOnANewRecord()
    {
        MainWindowHarness h;
        h.open();
        QCOMPARE(caption(h), QStringLiteral("Data Control Bar:"));
        MainWindowHarness::focus(field(h, 1));
        MainWindowHarness::type(field(h, 1), QStringLiteral("First"));
        h.child<QAction>(QStringLiteral("mnuFileSave"))->trigger();
        MainWindowHarness::settle();
        QCOMPARE(h.storedCount(), 1);
        QCOMPARE(caption(h), QStringLiteral("Data Control Bar: - Record: 1"));
    }

    void aFailedSaveKeepsTheRecordAndThePosition()
    {
        MainWindowHarness h;
        const qint64 adams = h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.addClient(QStringLiteral("Baker"), QStringLiteral("Bob"));
        h.open();
        // Another program refuses every change to the client table.
        h.execute(test::refuseValueSql(QStringLiteral("Customers"), QStringLiteral("LastName"),
                                       QStringLiteral("Adamson")));

        MainWindowHarness::focus(field(h, 1));
        MainWindowHarness::type(field(h, 1), QStringLiteral("Adamson"));
        clickArrow(h, "Data1_Next");
        QCOMPARE(field(h, 1)->text(), QStringLiteral("Adamson"));
        QCOMPARE(caption(h), QStringLiteral("Data Control Bar: - Record: 1"));
        QCOMPARE(h.stored(adams, columns::detail(1)).toString(), QStringLiteral("Adams"));
        const auto error = h.prompts.shown().last();
        QVERIFY2(error.text.startsWith(QStringLiteral("Error #: ")), qPrintable(error.text));
        QVERIFY(error.text.contains(test::kRefusedChangeText));
        QVERIFY(QFile::exists(h.reporter.logPath()));

        // New and closing do not lose it either.
        click(h, "cmdAdd");
        QCOMPARE(field(h, 1)->text(), QStringLiteral("Adamson"));
        h.prompts.setNextAnswers({Answer::Yes});
        QVERIFY(!h.window().close());
        QVERIFY(h.window().isVisible());

        // Once the file takes changes again, the same edit is saved.
        h.execute(QStringLiteral("DROP INDEX refuse"));
        clickArrow(h, "Data1_Next");
        QCOMPARE(h.stored(adams, columns::detail(1)).toString(), QStringLiteral("Adamson"));
        QCOMPARE(caption(h), QStringLiteral("Data Control Bar: - Record: 2"));
    }

    // Every way out (the quit question, File > Exit) must end the program even when the record
    // cannot be saved, but only with the adviser's word and a line in the log.
    void aQuitThatCannotSaveAsksBeforeDiscarding_data()
    {
        QTest::addColumn<bool>("fileExit");
        QTest::newRow("close, Yes to quit") << false;
        QTest::newRow("File > Exit") << true;
    }
    void aQuitThatCannotSaveAsksBeforeDiscarding()
    {
        QFETCH(bool, fileExit);
        MainWindowHarness h;
        const qint64 adams = h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.open();
        h.execute(test::refuseValueSql(QStringLiteral("Customers"), QStringLiteral("LastName"),
                                       QStringLiteral("Adamson")));
        MainWindowHarness::focus(field(h, 1));
        MainWindowHarness::type(field(h, 1), QStringLiteral("Adamson"));

        auto quit = [&](QList<Answer> answers) {
            h.prompts.setNextAnswers(fileExit ? answers.mid(1) : answers);
            if (fileExit)
                h.child<QAction>(QStringLiteral("mnuFileExit"))->trigger();
            else
                h.window().close();
            MainWindowHarness::settle();
        };
        quit({Answer::Yes, Answer::No});
        QVERIFY(h.window().isVisible());
        QCOMPARE(field(h, 1)->text(), QStringLiteral("Adamson"));
        QCOMPARE(h.prompts.shown().last().text,
                 QStringLiteral("The changes to this client could not be saved.\n\n"
                                "Quit without saving them?"));

        quit({Answer::Yes, Answer::Yes});
        QVERIFY(!h.window().isVisible());
        QCOMPARE(h.stored(adams, columns::detail(1)).toString(), QStringLiteral("Adams"));
        QFile log(h.reporter.logPath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains(
            QStringLiteral("Quit without saving the changes to client record %1.")
                .arg(adams)
                .toUtf8()));
    }

    void quittingAsksFirstAndSavesThePlace()
    {
        MainWindowHarness h;
        const qint64 adams = h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.open();
        MainWindowHarness::focus(field(h, 3));
        MainWindowHarness::type(field(h, 3), QStringLiteral("1 Main Street"));

        for (Answer keep : {Answer::No, Answer::Cancel}) {
            h.prompts.setNextAnswers({keep});
            QVERIFY(!h.window().close());
            QVERIFY(h.window().isVisible());
        }
        const auto question = h.prompts.shown().last();
        QCOMPARE(question.text, QStringLiteral("Are you sure you want to quit the program?"));
        QCOMPARE(question.icon, UserPrompts::Icon::Warning);

        h.child<QAction>(QStringLiteral("mnuFileOpen"))->trigger(); // another window is open
        QWidget* list = h.child<QWidget>(QStringLiteral("frmDataGrid"));
        QVERIFY(list && list->isVisible());

        h.prompts.setNextAnswers({Answer::Yes});
        QVERIFY(h.window().close());
        QVERIFY(!list->isVisible());
        QCOMPARE(h.stored(adams, columns::detail(3)).toString(), QStringLiteral("1 Main Street"));
        QCOMPARE(h.settings.get(keys::mainWindow(QStringLiteral("MainWidth"))),
                 QString::number(h.window().width()));
        QCOMPARE(h.settings.get(keys::mainWindow(QStringLiteral("MainLeft"))),
                 QString::number(h.window().x()));
    }

    void fileExitClosesWithoutTheQuestion()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.open();
        const qsizetype before = h.prompts.shown().size();
        h.child<QAction>(QStringLiteral("mnuFileExit"))->trigger();
        QVERIFY(!h.window().isVisible());
        QCOMPARE(h.prompts.shown().size(), before);
    }

    void theWindowReopensWhereItWas()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect place(screen.x() + 20, screen.y() + 30, 500, 400);
        h.settings.save(keys::mainWindow(QStringLiteral("MainLeft")), QString::number(place.x()));
        h.settings.save(keys::mainWindow(QStringLiteral("MainTop")), QString::number(place.y()));
        h.settings.save(keys::mainWindow(QStringLiteral("MainWidth")),
                        QString::number(place.width()));
        h.settings.save(keys::mainWindow(QStringLiteral("MainHeight")),
                        QString::number(place.height()));
        h.open();
        QCOMPARE(h.window().size(), place.size());
        QCOMPARE(h.window().pos(), place.topLeft());

        // Off every screen: the window opens on the screen instead.
        MainWindowHarness away;
        away.settings.save(keys::mainWindow(QStringLiteral("MainLeft")), QStringLiteral("-5000"));
        away.settings.save(keys::mainWindow(QStringLiteral("MainTop")), QStringLiteral("-5000"));
        away.settings.save(keys::mainWindow(QStringLiteral("MainWidth")), QStringLiteral("500"));
        away.settings.save(keys::mainWindow(QStringLiteral("MainHeight")), QStringLiteral("400"));
        away.open();
        QVERIFY(screen.intersects(away.window().frameGeometry()));
    }

    void menusToolbarAndHelp()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.settings.save(keys::fieldHelpHidden(), QStringLiteral("True"));
        h.open();
        QCOMPARE(h.window().windowTitle(), QStringLiteral("Halcyra Data Entry"));

        // Captions come from the catalogue numbers.
        QCOMPARE(h.child<QAction>(QStringLiteral("mnuFile"))->text(), QStringLiteral("&File"));
        QCOMPARE(h.child<QAction>(QStringLiteral("mnuFileNew"))->text(), QStringLiteral("&New"));
        QCOMPARE(h.child<QAction>(QStringLiteral("mnuFileNew"))->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(h.child<QAction>(QStringLiteral("mnuPrintWell"))->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+W")));
        QCOMPARE(h.child<QAction>(QStringLiteral("mnuSetupCoInfo"))->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+I")));
        QCOMPARE(h.child<QAction>(QStringLiteral("mnuHelpAbout"))->text(),
                 QStringLiteral("&About Halcyra..."));
        QCOMPARE(h.child<QAction>(QStringLiteral("tbToolBar_Open"))->toolTip(),
                 QStringLiteral("Open List of Records"));
        QCOMPARE(h.child<QPushButton>(QStringLiteral("cmdAdd"))->toolTip(),
                 QStringLiteral("Clears fields for new record. (Saves current record.)"));
        QCOMPARE(h.child<QWidget>(QStringLiteral("Data1"))->toolTip(),
                 QStringLiteral("Changes data to the First, Previous, Next, or Last Record"));
        QCOMPARE(h.child<QCheckBox>(QStringLiteral("ckYesNo_1"))->text(),
                 QStringLiteral("Type I Diabetes/ Reactive Hypoglycemia?"));

        // The "F1 Help" setting hides the Help button; the button shows the field help.
        auto* help = h.child<QPushButton>(QStringLiteral("cmdHelp"));
        QVERIFY(help->isHidden());
        h.window().setFieldHelpButtonHidden(false);
        click(h, "cmdHelp");
        QCOMPARE(h.messages.last().title, QStringLiteral("F1 Help Main"));
        QVERIFY(h.messages.last().text.startsWith(
            QStringLiteral("To get help with an indivdual field:")));
        h.child<QAction>(QStringLiteral("mnuHelpContents"))->trigger();
        QVERIFY(wasShown(h, QStringLiteral("Unable to display Help Contents. There is no Help "
                                           "associated with this project.")));

        // My Website needs an address of the adviser's own.
        auto* mine = h.child<QAction>(QStringLiteral("mnuViewBrowserMy"));
        QVERIFY(!mine->isEnabled());
        h.settings.save(keys::webAddress(), QStringLiteral("http://www.example.org"));
        h.window().refreshOwnWebsiteEntry();
        QVERIFY(mine->isEnabled());

        // The bars come and go with their ticked entries.
        auto* toolbarSwitch = h.child<QAction>(QStringLiteral("mnuSetupToolbar"));
        QVERIFY(toolbarSwitch->isChecked());
        toolbarSwitch->trigger();
        QVERIFY(!toolbarSwitch->isChecked());
        QVERIFY(h.child<QToolBar>(QStringLiteral("tbToolBar"))->isHidden());
        h.child<QAction>(QStringLiteral("mnuSetupStatusBar"))->trigger();
        QVERIFY(h.child<QWidget>(QStringLiteral("sbStatusBar"))->isHidden());

        // The toolbar's Print runs Print > Halcyra, which starts with the document choice.
        QList<OptionsMode> asked;
        h.window().printWell().setOptionsChooser([&asked](OptionsMode mode, QWidget*) {
            asked << mode;
            return OptionsResult{OptionsButton::Cancel, std::nullopt, {}};
        });
        h.child<QAction>(QStringLiteral("tbToolBar_Print"))->trigger();
        QVERIFY(asked == QList<OptionsMode>{OptionsMode::PrintWell});
    }
};

QTEST_MAIN(FrmMainRecords)
#include "tst_frmmain_records.moc"

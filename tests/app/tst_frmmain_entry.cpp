// Typing into the main window: the checks on leaving a detail box, the score limits and sums,
// the help line, Undo, and the way Tab and Enter go through the score boxes.

#include "core/Catalogue.h"
#include "records/DetailRules.h"
#include "support/CatalogueOverride.h"
#include "support/MainWindowHarness.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

using namespace halcyra;
using namespace Qt::StringLiterals;
using halcyra::test::MainWindowHarness;

namespace {

QLineEdit* field(const MainWindowHarness& h, int index)
{
    return h.child<QLineEdit>(QStringLiteral("txtFields_%1").arg(index));
}

QLineEdit* score(const MainWindowHarness& h, int n)
{
    return h.child<QLineEdit>(QStringLiteral("txtScore_%1").arg(n));
}

QString help(const MainWindowHarness& h)
{
    return h.child<QLabel>(QStringLiteral("sbStatusBar_Help"))->text();
}

// Types into a box and leaves it with Tab.
void enter(QWidget* box, const QString& text)
{
    MainWindowHarness::focus(box);
    MainWindowHarness::type(box, text);
    MainWindowHarness::pressTab();
}

} // namespace

class FrmMainEntry : public QObject
{
    Q_OBJECT

private slots:
    void leavingADetailBox()
    {
        MainWindowHarness h;
        h.addClient({{columns::detail(1), QStringLiteral("Adams")},
                     {columns::detail(15), QStringLiteral("F")}});
        h.open();

        enter(field(h, 8), QStringLiteral("120/80 sitting"));
        QCOMPARE(field(h, 8)->text(), QStringLiteral("120/80 "));
        QCOMPARE(h.messages.size(), 1);
        QCOMPARE(h.messages.last().title, QStringLiteral("Field Length Error"));
        QCOMPARE(h.messages.last().text,
                 QStringLiteral("The Blood Pressure: field is limited to 7 characters.\n\n"
                                "Your input has been truncated to 7 characters."));

        // Nothing is cut while typing: the first name is held to 30 characters, with the message.
        enter(field(h, 2), QString(40, u'x'));
        QCOMPARE(field(h, 2)->text(), QString(30, u'x'));
        QCOMPARE(h.messages.size(), 2);
        QCOMPARE(h.messages.last().title, QStringLiteral("Field Length Error"));

        enter(field(h, 5), QStringLiteral("ca"));
        QCOMPARE(field(h, 5)->text(), QStringLiteral("CA"));

        enter(field(h, 14), QString());
        QCOMPARE(field(h, 14)->text(), QStringLiteral("0"));
        enter(field(h, 11), QStringLiteral("abc"));
        QCOMPARE(field(h, 11)->text(), QStringLiteral("0"));

        enter(field(h, 16), QString());
        QCOMPARE(field(h, 16)->text(), todayText(QDate::currentDate()));

        // A refused age stays in its box, selected, for the adviser to correct.
        enter(field(h, 14), QStringLiteral("150"));
        QCOMPARE(h.messages.last().title, QStringLiteral("Field Value Error"));
        QCOMPARE(QApplication::focusWidget(), field(h, 14));
        QCOMPARE(field(h, 14)->selectedText(), QStringLiteral("150"));
    }

    void theSexBoxKeepsTheFocusUntilMOrF()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.open();
        field(h, 16)->clear();

        for (const char* rejected : {"", "x"}) {
            h.messages.clear();
            enter(field(h, 15), QString::fromLatin1(rejected));
            QCOMPARE(h.messages.size(), 1);
            QCOMPARE(h.messages.last().title, QStringLiteral("Empty Field"));
            QCOMPARE(h.messages.last().text,
                     QStringLiteral("Enter either M or F in the Sex field."));
            QCOMPARE(QApplication::focusWidget(), field(h, 15));
            QCOMPARE(field(h, 15)->text(), QString::fromLatin1(rejected).toUpper());
            QCOMPARE(field(h, 15)->selectedText(), QString::fromLatin1(rejected).toUpper());
            // The box the Tab reached for a moment was not left: the date is still empty.
            QCOMPARE(field(h, 16)->text(), QString());
        }

        // A command from the toolbar does not store the rejected text, and says so once.
        h.messages.clear();
        h.child<QAction>(QStringLiteral("tbToolBar_Save"))->trigger();
        MainWindowHarness::settle();
        QCOMPARE(h.messages.size(), 0);
        QCOMPARE(h.stored(1, columns::detail(15)).toString(), QString());

        MainWindowHarness::type(field(h, 15), QStringLiteral("f"));
        QCOMPARE(field(h, 15)->text(), QStringLiteral("F"));
        MainWindowHarness::pressTab();
        QCOMPARE(h.messages.size(), 0);
        QCOMPARE(QApplication::focusWidget(), field(h, 16));
    }

    void enteringABoxShowsItsHelpAndPlacesTheCursor()
    {
        MainWindowHarness h;
        h.addClient({{columns::detail(1), QStringLiteral("Adams")},
                     {columns::detail(9), QStringLiteral("210")},
                     {columns::score(1), 4}});
        h.open();

        MainWindowHarness::focus(field(h, 2));
        MainWindowHarness::focus(field(h, 1));
        QCOMPARE(help(h), QStringLiteral("Enter client Last Name:"));
        QCOMPARE(field(h, 1)->selectedText(), QString());
        QCOMPARE(field(h, 1)->cursorPosition(), 5);

        MainWindowHarness::focus(field(h, 9));
        QCOMPARE(field(h, 9)->selectedText(), QStringLiteral("210"));

        MainWindowHarness::focus(field(h, 16));
        QCOMPARE(help(h), QStringLiteral("Enter date client completed Questionnaire"));

        MainWindowHarness::focus(score(h, 1));
        // The label from its sixth character: "Field  1" gives two blanks and "1".
        QCOMPARE(help(h), QStringLiteral("Enter total score for group   1"));
        QCOMPARE(score(h, 1)->selectedText(), QStringLiteral("4"));
        MainWindowHarness::focus(score(h, 13));
        QCOMPARE(help(h), QStringLiteral("Enter total score for group  12A"));
        MainWindowHarness::focus(score(h, 16));
        QCOMPARE(help(h), QStringLiteral("Score in this field is automatically calculated"));
        MainWindowHarness::focus(score(h, 40));
        QCOMPARE(help(h), QStringLiteral("Score in this field is affected by other field scores."));

        // Past the boxes the line describes the control reached, or is cleared.
        MainWindowHarness::focus(score(h, 41));
        QCOMPARE(help(h), QStringLiteral("Enter total score for group  38"));
        MainWindowHarness::pressTab();
        QCOMPARE(help(h), QString());
        MainWindowHarness::focus(h.child<QWidget>(QStringLiteral("cmdUpdate")));
        QCOMPARE(help(h), QStringLiteral("Saves record and returns to last modified record."));
    }

    void undoPutsBackWhatTheBoxHeld()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.open();
        QAction* undo = h.child<QAction>(QStringLiteral("mnuEditUndo"));

        MainWindowHarness::focus(field(h, 2));
        QVERIFY(!undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("Cannot &Undo"));
        QTest::keyClicks(field(h, 2), QStringLiteral("ette"));
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));
        QCOMPARE(field(h, 2)->text(), QStringLiteral("Annette"));
        QTest::keyClick(field(h, 2), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(field(h, 2)->text(), QStringLiteral("Ann"));

        auto* notes = h.child<QPlainTextEdit>(QStringLiteral("txtFields_18"));
        MainWindowHarness::focus(notes);
        QTest::keyClicks(notes, QStringLiteral("Sleeps badly"));
        undo->trigger();
        QCOMPARE(notes->toPlainText(), QString());
    }

    void cutCopyAndPasteWorkOnTheFocusedBox()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.open();
        MainWindowHarness::focus(field(h, 1));
        field(h, 1)->setSelection(0, 3);
        h.child<QAction>(QStringLiteral("mnuEditCopy"))->trigger();
        QCOMPARE(field(h, 1)->text(), QStringLiteral("Adams"));
        MainWindowHarness::focus(field(h, 3));
        h.child<QAction>(QStringLiteral("tbToolBar_Paste"))->trigger();
        QCOMPARE(field(h, 3)->text(), QStringLiteral("Ada"));
        field(h, 3)->selectAll();
        h.child<QAction>(QStringLiteral("mnuEditCut"))->trigger();
        QCOMPARE(field(h, 3)->text(), QString());
        MainWindowHarness::focus(field(h, 4));
        h.child<QAction>(QStringLiteral("mnuEditPaste"))->trigger();
        QCOMPARE(field(h, 4)->text(), QStringLiteral("Ada"));
    }

    void scoreLimits()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.open();
        enter(score(h, 10), QStringLiteral("50"));
        QCOMPARE(score(h, 10)->text(), QStringLiteral("45"));
        enter(score(h, 11), QStringLiteral("-3"));
        QCOMPARE(score(h, 11)->text(), QStringLiteral("0"));
        enter(score(h, 12), QString());
        QCOMPARE(score(h, 12)->text(), QStringLiteral("0"));
        enter(score(h, 1), QStringLiteral("7abc"));
        QCOMPARE(score(h, 1)->text(), QStringLiteral("7abc"));
        QCOMPARE(score(h, 4)->text(), QStringLiteral("7"));
    }

    void sumsAreRecomputedOnLeavingAnyScoreBox()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.open();
        const int values[][2] = {{1, 4}, {2, 5}, {3, 6}, {5, 1}, {6, 1}, {7, 1}};
        for (const auto& [box, value] : values)
            enter(score(h, box), QString::number(value));
        QCOMPARE(score(h, 4)->text(), QStringLiteral("15"));
        QCOMPARE(score(h, 8)->text(), QStringLiteral("3"));
        QCOMPARE(score(h, 9)->text(), QStringLiteral("18"));

        // A typed sum is replaced by the sum of its sources.
        enter(score(h, 10), QStringLiteral("2"));
        enter(score(h, 16), QStringLiteral("30"));
        QCOMPARE(score(h, 16)->text(), QStringLiteral("2"));

        // Section 37 gets its mark from section 25 only while it has none of its own.
        enter(score(h, 40), QStringLiteral("0"));
        enter(score(h, 28), QStringLiteral("2"));
        QCOMPARE(score(h, 40)->text(), QStringLiteral("1"));
        enter(score(h, 40), QStringLiteral("3"));
        enter(score(h, 30), QStringLiteral("1"));
        QCOMPARE(score(h, 40)->text(), QStringLiteral("3"));
    }

    void aScoreTypedBeforeSavingFromTheToolbarIsCheckedFirst()
    {
        MainWindowHarness h;
        const qint64 adams = h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.open();
        MainWindowHarness::focus(score(h, 1));
        MainWindowHarness::type(score(h, 1), QStringLiteral("60"));
        h.child<QAction>(QStringLiteral("tbToolBar_Save"))->trigger();
        MainWindowHarness::settle();
        QCOMPARE(h.stored(adams, columns::score(1)).toInt(), 45);
        QCOMPARE(h.stored(adams, columns::score(4)).toInt(), 45);
    }

    // A command that leaves the cursor where it is (menu, toolbar, shortcut) puts nothing into
    // a box the adviser did not type in, on the record it leaves nor on the new one.
    void aCommandLeavesUntouchedBoxesAlone_data()
    {
        QTest::addColumn<QString>("focused");
        QTest::addColumn<QString>("command");
        QTest::newRow("New, score box") << u"txtScore_5"_s << u"mnuFileNew"_s;
        QTest::newRow("New, sum box") << u"txtScore_16"_s << u"tbToolBar_New"_s;
        QTest::newRow("New, last name") << u"txtFields_1"_s << u"mnuFileNew"_s;
        QTest::newRow("New, yes/no box") << u"ckYesNo_2"_s << u"mnuFileNew"_s;
        QTest::newRow("Save, score box") << u"txtScore_41"_s << u"tbToolBar_Save"_s;
        QTest::newRow("Save, cholesterol") << u"txtFields_9"_s << u"mnuFileSave"_s;
    }

    void aCommandLeavesUntouchedBoxesAlone()
    {
        QFETCH(QString, focused);
        QFETCH(QString, command);
        MainWindowHarness h;
        const qint64 adams = h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.open();
        MainWindowHarness::focus(h.child<QWidget>(focused));
        h.child<QAction>(command)->trigger();
        MainWindowHarness::settle();
        for (int n = 1; n <= 42; ++n) {
            QCOMPARE(score(h, n)->text(), QString());
            QVERIFY(h.stored(adams, columns::score(n)).isNull());
        }
        QVERIFY(h.stored(adams, columns::detail(9)).isNull());
        if (command.endsWith(u"New")) {
            for (int index = 1; index <= 16; ++index)
                QCOMPARE(field(h, index)->text(), QString());
            QCOMPARE(QApplication::focusWidget(), field(h, 1));
            QCOMPARE(help(h), QStringLiteral("Enter client Last Name:"));
        }
    }

    void tabAndEnterFollowTheSections()
    {
        MainWindowHarness h;
        h.addClient({{columns::detail(1), QStringLiteral("Adams")},
                     {columns::detail(15), QStringLiteral("F")}});
        h.open();
        QVERIFY(score(h, 42)->isHidden());
        QVERIFY(h.child<QLabel>(QStringLiteral("lblScore_42"))->isHidden());
        QCOMPARE(h.child<QLabel>(QStringLiteral("lblScore_1"))->text(), QStringLiteral("Field  1"));
        QCOMPARE(h.child<QLabel>(QStringLiteral("lblScore_26"))->text(),
                 QStringLiteral("Field 22B"));
        QCOMPARE(score(h, 7)->property("tag").toString(), QStringLiteral("7"));

        MainWindowHarness::focus(score(h, 1));
        for (int n = 2; n <= 41; ++n) {
            const Qt::Key key = n % 2 ? Qt::Key_Return : Qt::Key_Tab;
            QTest::keyClick(QApplication::focusWidget(), key);
            MainWindowHarness::settle();
            QCOMPARE(QApplication::focusWidget(), score(h, n));
        }
        // Past the last shown box (section 38) the focus goes on to the yes/no boxes.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("ckYesNo_0"));

        // Tab goes through the details by number; the record number is never reached.
        MainWindowHarness::focus(field(h, 1));
        for (int index = 2; index <= 16; ++index) {
            MainWindowHarness::pressTab();
            QCOMPARE(QApplication::focusWidget(), field(h, index));
        }
        QVERIFY(!field(h, 0)->isEnabled());
        QCOMPARE(field(h, 0)->focusPolicy(), Qt::NoFocus);
    }

    void aCatalogueWithSection39ShowsItsBox()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Adams"), QStringLiteral("Ann"));
        h.open(test::catalogueWithOverrides(Catalogue::builtIn(), {{7900, QStringLiteral("39")}}));
        QVERIFY(!score(h, 42)->isHidden());
        MainWindowHarness::focus(score(h, 41));
        MainWindowHarness::pressTab();
        QCOMPARE(QApplication::focusWidget(), score(h, 42));
    }
};

QTEST_MAIN(FrmMainEntry)
#include "tst_frmmain_entry.moc"

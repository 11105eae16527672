// Moving through the clients from the keyboard: the Records menu's keys press the data source
// bar's arrows, so a key leaves the window, the stored records and the messages just as the
// arrow does, whatever box the cursor is in.

#include "records/ClientDataSource.h"
#include "records/DemoClients.h"
#include "support/MainWindowHarness.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

using namespace halcyra;
using halcyra::test::MainWindowHarness;
using namespace Qt::StringLiterals;

namespace {

constexpr int kDemoClients = 5;
constexpr quint32 kDemoSeed = 4711;

// The arrow and the key of each move.
struct Move
{
    char letter;
    const char* arrow;
    Qt::Key key;
};
constexpr Move kMoves[] = {{'F', "Data1_First", Qt::Key_Home},
                           {'P', "Data1_Previous", Qt::Key_Left},
                           {'N', "Data1_Next", Qt::Key_Right},
                           {'L', "Data1_Last", Qt::Key_End}};

void addDemoClients(MainWindowHarness& h)
{
    for (int n = 1; n <= kDemoClients; ++n) {
        const ClientRecord client = makeDemoClient(kDemoSeed, n);
        QMap<int, QVariant> values;
        for (int column = 1; column < columns::kCount; ++column)
            values.insert(column, client.values[static_cast<size_t>(column)]);
        h.addClient(values);
    }
}

QWidget* boxNamed(const MainWindowHarness& h, const QString& name)
{
    auto* box = h.child<QWidget>(name);
    if (!box)
        qFatal("the main window has no %s", qPrintable(name));
    return box;
}

// What the adviser sees and what is stored after a step.
QString state(const MainWindowHarness& h)
{
    QStringList seen{h.child<QLabel>(QStringLiteral("Data1_Caption"))->text()};
    for (int index : {1, 2, 15})
        seen << h.child<QLineEdit>(QStringLiteral("txtFields_%1").arg(index))->text();
    seen << h.child<QPlainTextEdit>(QStringLiteral("txtFields_18"))->toPlainText();
    seen << h.child<QLineEdit>(QStringLiteral("txtScore_5"))->text();
    QWidget* focus = QApplication::focusWidget();
    seen << (focus ? focus->objectName() : QStringLiteral("(no focus)"));
    for (const auto& message : h.messages)
        seen << message.title;
    return seen.join(u" | ");
}

QStringList storedClients(const MainWindowHarness& h)
{
    QStringList stored;
    for (qint64 id = 1; id <= kDemoClients; ++id)
        stored << h.stored(id, 1).toString() + u'/' + h.stored(id, 15).toString() + u'/' +
                      h.stored(id, 18).toString() + u'/' +
                      h.stored(id, columns::score(5)).toString();
    return stored;
}

// Runs the steps, each move with the arrow or with its key, and notes the state after each.
// A step is a move letter (F, P, N, L), "@box" to put the cursor in a box, or "=text" to type
// into the box that has it.
QStringList run(MainWindowHarness& h, const QStringList& steps, bool withKeys)
{
    QStringList states;
    for (const QString& step : steps) {
        if (step.startsWith(u'@')) {
            MainWindowHarness::focus(boxNamed(h, step.mid(1)));
        } else if (step.startsWith(u'=')) {
            MainWindowHarness::type(QApplication::focusWidget(), step.mid(1));
        } else {
            const Move* move = nullptr;
            for (const Move& each : kMoves)
                if (step == QLatin1Char(each.letter))
                    move = &each;
            if (!move)
                qFatal("no move %s", qPrintable(step));
            if (withKeys)
                QTest::keyClick(QApplication::focusWidget(), move->key, Qt::AltModifier);
            else
                QTest::mouseClick(h.child<QWidget>(QString::fromLatin1(move->arrow)),
                                  Qt::LeftButton);
            MainWindowHarness::settle();
        }
        states << state(h);
    }
    return states;
}

} // namespace

class FrmMainKeys : public QObject
{
    Q_OBJECT

private slots:
    void keysMoveAsTheArrowsDo_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("lastPosition"); // where the window ends, 0-based

        QTest::newRow("to the end and past it") << u"N|N|N|N|N"_s.split(u'|') << 4;
        QTest::newRow("last, back, first, back") << u"L|P|P|F|P"_s.split(u'|') << 0;
        QTest::newRow("typed name is saved on moving")
            << u"N|@txtFields_1|=Keyboard|N|P"_s.split(u'|') << 1;
        QTest::newRow("wrong sex keeps the record")
            << u"L|@txtFields_15|=x|F|=F|F"_s.split(u'|') << 0;
        QTest::newRow("from the notes box")
            << u"@txtFields_18|N|=Seen twice|L|F"_s.split(u'|') << 0;
        QTest::newRow("from a score box") << u"@txtScore_5|=7|N|P|L"_s.split(u'|') << 4;
    }

    void keysMoveAsTheArrowsDo()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, lastPosition);

        MainWindowHarness arrows;
        addDemoClients(arrows);
        arrows.open();
        const QStringList byArrows = run(arrows, steps, false);

        MainWindowHarness keys;
        addDemoClients(keys);
        keys.open();
        const QStringList byKeys = run(keys, steps, true);

        for (qsizetype i = 0; i < steps.size(); ++i)
            QVERIFY2(byKeys.at(i) == byArrows.at(i),
                     qPrintable(u"after step %1 (%2):\n  keys:   %3\n  arrows: %4"_s.arg(i + 1).arg(
                         steps.at(i), byKeys.at(i), byArrows.at(i))));
        QCOMPARE(storedClients(keys), storedClients(arrows));
        QCOMPARE(keys.window().dataSource().absolutePosition(), lastPosition);
    }

    // The keys of the text boxes stay theirs: Ctrl+Home and Ctrl+End move the cursor in a box
    // and leave the record alone.
    void editingKeysStayInTheBox_data()
    {
        QTest::addColumn<QString>("box");
        QTest::newRow("notes") << QStringLiteral("txtFields_18");
        QTest::newRow("last name") << QStringLiteral("txtFields_1");
        QTest::newRow("score") << QStringLiteral("txtScore_5");
    }

    void editingKeysStayInTheBox()
    {
        QFETCH(QString, box);
        MainWindowHarness h;
        addDemoClients(h);
        h.open();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::AltModifier);
        MainWindowHarness::settle();
        const int position = h.window().dataSource().absolutePosition();
        QCOMPARE(position, 1);

        QWidget* target = boxNamed(h, box);
        MainWindowHarness::focus(target);
        for (Qt::Key key : {Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown}) {
            QTest::keyClick(target, key, Qt::ControlModifier);
            MainWindowHarness::settle();
            QCOMPARE(h.window().dataSource().absolutePosition(), position);
            QCOMPARE(QApplication::focusWidget(), target);
        }
        if (auto* lines = qobject_cast<QPlainTextEdit*>(target)) {
            lines->setPlainText(QStringLiteral("one\ntwo"));
            QTest::keyClick(target, Qt::Key_End, Qt::ControlModifier);
            QCOMPARE(lines->textCursor().position(), 7);
            QTest::keyClick(target, Qt::Key_Home, Qt::ControlModifier);
            QCOMPARE(lines->textCursor().position(), 0);
        }
    }
};

QTEST_MAIN(FrmMainKeys)
#include "tst_frmmain_keys.moc"

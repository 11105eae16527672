#include "records/DataControl.h"
#include "records/DetailRules.h"

#include <QtTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

class DetailRulesTest : public QObject
{
    Q_OBJECT

    const QDate m_today{2026, 12, 8};

private slots:
    void sexMustBeUpperCaseMOrF()
    {
        QVERIFY(!leaveDetailBox(15, QStringLiteral("M"), m_today).rejected);
        QVERIFY(!leaveDetailBox(15, QStringLiteral("F"), m_today).rejected);
        for (const char* text : {"", "X", "MF"}) {
            const DetailLeaveResult result = leaveDetailBox(15, QString::fromLatin1(text), m_today);
            QVERIFY2(result.rejected, text);
            QCOMPARE(result.text, QString::fromLatin1(text)); // left for the adviser to correct
            QCOMPARE(result.message->title, QStringLiteral("Empty Field"));
            QCOMPARE(result.message->text, QStringLiteral("Enter either M or F in the Sex field."));
        }
        // Typed in lower case, the sex shows (and is kept) in capitals; no other box changes.
        QCOMPARE(detailTextAsTyped(15, QStringLiteral("m")), QStringLiteral("M"));
        QCOMPARE(detailTextAsTyped(15, QStringLiteral("f")), QStringLiteral("F"));
        QCOMPARE(detailTextAsTyped(1, QStringLiteral("de la Cruz")), QStringLiteral("de la Cruz"));
    }

    void lengthLimitsCutWithTheMessage()
    {
        const DetailLeaveResult pressure =
            leaveDetailBox(8, QStringLiteral("120/80 mmHg"), m_today);
        QCOMPARE(pressure.text, QStringLiteral("120/80 "));
        QCOMPARE(pressure.message->title, QStringLiteral("Field Length Error"));
        QCOMPARE(pressure.message->text,
                 QStringLiteral("The Blood Pressure: field is limited to 7 characters.\n\n"
                                "Your input has been truncated to 7 characters."));

        // The first name is held to what its box takes, and says so, rather than losing the
        // rest while it is typed.
        const DetailLeaveResult firstName = leaveDetailBox(2, QString(40, u'a'), m_today);
        QCOMPARE(firstName.text, QString(30, u'a'));
        QVERIFY(firstName.message->text.startsWith(
            QStringLiteral("The First Name: field is limited to 30 characters.")));
        QCOMPARE(detailMaxLength(2), 30);
        QCOMPARE(leaveDetailBox(5, QStringLiteral("Cal"), m_today).text, QStringLiteral("CA"));
        QVERIFY(leaveDetailBox(6, QString(21, u'9'), m_today).message);

        QVERIFY(!leaveDetailBox(18, QString(500, u'n'), m_today).message);
        QCOMPARE(leaveDetailBox(12, QStringLiteral("5 ft 11 in."), m_today).text,
                 QStringLiteral("5 ft 11 in"));
    }

    // Age, cholesterol and HDL feed the report: a value it would misread is refused with a
    // message and left in the box to correct.
    void figuresTheReportReads_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("refused");
        QTest::newRow("age 120") << 14 << u"120"_s << u"120"_s << false;
        QTest::newRow("age empty") << 14 << QString() << u"0"_s << false;
        QTest::newRow("age 121") << 14 << u"121"_s << u"121"_s << true;
        QTest::newRow("age negative") << 14 << u"-1"_s << u"-1"_s << true;
        QTest::newRow("age with text") << 14 << u"40s"_s << u"40s"_s << true;
        QTest::newRow("age fraction") << 14 << u"4.5"_s << u"4.5"_s << true;
        QTest::newRow("cholesterol") << 9 << u" 5.2 "_s << u" 5.2 "_s << false;
        QTest::newRow("cholesterol empty") << 9 << QString() << u"0"_s << false;
        QTest::newRow("cholesterol n/a") << 9 << u"n/a"_s << u"n/a"_s << true;
        QTest::newRow("cholesterol unit") << 9 << u"190 mg"_s << u"190 mg"_s << true;
        QTest::newRow("cholesterol grouped") << 9 << u"1,000"_s << u"1,000"_s << true;
        QTest::newRow("HDL") << 10 << u"48"_s << u"48"_s << false;
        QTest::newRow("HDL empty") << 10 << QString() << QString() << false;
        QTest::newRow("HDL word") << 10 << u"high"_s << u"high"_s << true;
        QTest::newRow("HDL negative") << 10 << u"-4"_s << u"-4"_s << true;
        // One-line boxes hold no control characters; the notes keep their lines.
        const QString escapes = u"Ro\x1b]0;owned\x07we"_s;
        QTest::newRow("terminal escapes in a name") << 1 << escapes << escapes << true;
        QTest::newRow("line break in a name") << 2 << u"Ada\nBo"_s << u"Ada\nBo"_s << true;
        QTest::newRow("tab in an address") << 3 << u"1\tElm St"_s << u"1\tElm St"_s << true;
        QTest::newRow("lines in the notes") << 18 << u"one\r\ntwo"_s << u"one\r\ntwo"_s << false;
        // A date must be a day of the calendar; one in an older form stays as it is.
        QTest::newRow("February 30") << 16 << u"2/30/2026"_s << u"2/30/2026"_s << true;
        QTest::newRow("day first") << 16 << u"31/02/2026"_s << u"31/02/2026"_s << true;
        QTest::newRow("no date at all") << 16 << u"spring"_s << u"spring"_s << true;
        QTest::newRow("a date of 60 characters")
            << 16 << QString(60, u'1') << QString(60, u'1') << true;
        QTest::newRow("ISO date kept") << 16 << u"2026-04-01"_s << u"2026-04-01"_s << false;
        QTest::newRow("C-locale date kept") << 16 << u"9 Dec 2026"_s << u"9 Dec 2026"_s << false;
        QTest::newRow("leading zeros kept") << 16 << u"02/08/2026"_s << u"02/08/2026"_s << false;
    }

    void figuresTheReportReads()
    {
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        QFETCH(bool, refused);
        const DetailLeaveResult result = leaveDetailBox(index, typed, m_today);
        QCOMPARE(result.rejected, refused);
        QCOMPARE(result.text, after);
        QCOMPARE(result.message.has_value(), refused);
        if (refused)
            QCOMPARE(result.message->title, QStringLiteral("Field Value Error"));
    }

    void figureMessages()
    {
        QCOMPARE(leaveDetailBox(14, u"200"_s, m_today).message->text,
                 QStringLiteral("Enter an age from 0 to 120 in the Age field."));
        QCOMPARE(leaveDetailBox(9, u"n/a"_s, m_today).message->text,
                 QStringLiteral("Enter only a number in the Total Cholesterol field."));
        QCOMPARE(leaveDetailBox(16, u" 2/30/2026"_s, m_today).message->text,
                 u"There is no such day as 2/30/2026. Enter the date as month/day/year, such as "
                 "12/8/2026."_s);
        QCOMPARE(leaveDetailBox(16, u"next week"_s, m_today).message->text,
                 u"Enter the date the client completed the questionnaire as month/day/year, "
                 "such as 12/8/2026."_s);
    }

    void upperCaseDateAndZeros()
    {
        QCOMPARE(leaveDetailBox(5, QStringLiteral("ca"), m_today).text, QStringLiteral("CA"));
        QCOMPARE(leaveDetailBox(16, QString(), m_today).text, u"12/8/2026"_s);
        QCOMPARE(leaveDetailBox(16, QStringLiteral("3/1/2026"), m_today).text,
                 QStringLiteral("3/1/2026"));
        for (int box : {9, 11, 14}) {
            QCOMPARE(leaveDetailBox(box, QString(), m_today).text, QStringLiteral("0"));
            QCOMPARE(leaveDetailBox(box, QStringLiteral("110"), m_today).text,
                     QStringLiteral("110"));
        }
        QCOMPARE(leaveDetailBox(9, QStringLiteral("0.0"), m_today).text, QStringLiteral("0"));
        QCOMPARE(leaveDetailBox(11, QStringLiteral("n/a"), m_today).text, QStringLiteral("0"));
        QCOMPARE(leaveDetailBox(10, QString(), m_today).text, QString()); // HDL is left alone
    }

    void helpTextsAndLabels()
    {
        QCOMPARE(detailHelpText(1), QStringLiteral("Enter client Last Name:"));
        QCOMPARE(detailHelpText(16), QStringLiteral("Enter date client completed Questionnaire"));
        QCOMPARE(deleteQuestion(QStringLiteral("Ada"), QStringLiteral("Moss")),
                 QStringLiteral("Are you sure you want to delete this record of: Ada Moss"));
    }

    void dataControl()
    {
        QCOMPARE(dataControlCaption(false, 2), QStringLiteral("Data Control Bar: - Record: 3"));
        QCOMPARE(dataControlCaption(true, 2), QStringLiteral("Data Control Bar:"));
        using Commands = DataActionEffect::Commands;
        QCOMPARE(Data1_Validate(DataAction::AddNew).commands, Commands::Disable);
        for (DataAction action :
             {DataAction::MoveFirst, DataAction::MovePrevious, DataAction::MoveNext,
              DataAction::MoveLast, DataAction::Update, DataAction::Bookmark})
            QCOMPARE(Data1_Validate(action).commands, Commands::Enable);
        QCOMPARE(Data1_Validate(DataAction::Delete).commands, Commands::Keep);
        QCOMPARE(Data1_Validate(DataAction::Close).pointer, DataActionEffect::Pointer::Normal);
        QCOMPARE(Data1_Validate(DataAction::Unload).pointer, DataActionEffect::Pointer::Busy);

        const QString message = Data1_ErrorMessage(3426, QStringLiteral("Action cancelled"), 7);
        QVERIFY(message.startsWith(QStringLiteral("Error #: 3426\nError description: Action "
                                                  "cancelled\nData error event hit err: 7\n")));
        QVERIFY(message.endsWith(
            QStringLiteral("\n\nClick OK then Click Last Arrow on Data Control Bar.")));
        QVERIFY(!Data1_ErrorMessage(3021, QStringLiteral("x"), 1).contains(u"Last Arrow"));
    }
};

QTEST_GUILESS_MAIN(DetailRulesTest)
#include "tst_detail_rules.moc"

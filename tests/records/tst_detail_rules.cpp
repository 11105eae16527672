#include "records/DataControl.h"
#include "records/DetailRules.h"

#include <QtTest>

using namespace halcyra;

class DetailRulesTest : public QObject
{
    Q_OBJECT

    const QDate today{2026, 12, 8};

private slots:
    void sexMustBeUpperCaseMOrF()
    {
        QVERIFY(!leaveDetailBox(15, QStringLiteral("M"), today).sexRejected);
        QVERIFY(!leaveDetailBox(15, QStringLiteral("F"), today).sexRejected);
        for (const char* text : {"m", "", "X", "MF"}) {
            const DetailLeaveResult result = leaveDetailBox(15, QString::fromLatin1(text), today);
            QVERIFY2(result.sexRejected, text);
            QCOMPARE(result.text, QString::fromLatin1(text)); // left for the adviser to correct
        }
    }

    void lengthLimitsCutWithTheMessage()
    {
        const DetailLeaveResult pressure = leaveDetailBox(8, QStringLiteral("120/80 mmHg"), today);
        QCOMPARE(pressure.text, QStringLiteral("120/80 "));
        QVERIFY(pressure.lengthMessage);
        QCOMPARE(*pressure.lengthMessage,
                 QStringLiteral("The Blood Pressure: field is limited to 7 characters.\n\n"
                                "Your input has been truncated to 7 characters."));

        const QString fortyCharacters(40, u'a');
        const DetailLeaveResult firstName = leaveDetailBox(2, fortyCharacters, today);
        QCOMPARE(firstName.text, fortyCharacters);
        QVERIFY(!firstName.lengthMessage);
        QCOMPARE(detailMaxLength(2), 30); // the box itself stops at 30

        QVERIFY(!leaveDetailBox(18, QString(500, u'n'), today).lengthMessage);
        QCOMPARE(leaveDetailBox(12, QStringLiteral("5 ft 11 in."), today).text,
                 QStringLiteral("5 ft 11 in"));
    }

    void upperCaseDateAndZeros()
    {
        QCOMPARE(leaveDetailBox(5, QStringLiteral("ca"), today).text, QStringLiteral("CA"));
        QCOMPARE(leaveDetailBox(16, QString(), today).text, todayText(today));
        QCOMPARE(leaveDetailBox(16, QStringLiteral("3/1/2026"), today).text,
                 QStringLiteral("3/1/2026"));
        for (int box : {9, 11, 14}) {
            QCOMPARE(leaveDetailBox(box, QString(), today).text, QStringLiteral("0"));
            QCOMPARE(leaveDetailBox(box, QStringLiteral("n/a"), today).text, QStringLiteral("0"));
            QCOMPARE(leaveDetailBox(box, QStringLiteral("210"), today).text, QStringLiteral("210"));
        }
        QCOMPARE(leaveDetailBox(10, QString(), today).text, QString()); // HDL is left alone
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

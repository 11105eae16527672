// The rules behind the main window that need no window: what counts as an edit of the record
// on screen, where the window may reopen, and the texts it shows.

#include "records/ClientForm.h"
#include "records/MainWindowRules.h"
#include "ui/WebLinks.h"

#include <QtTest>

using namespace halcyra;

class FrmMainRules : public QObject
{
    Q_OBJECT

private:
    static ClientRecord storedClient()
    {
        ClientRecord record;
        record.values[columns::kCustomerId] = qlonglong(7);
        record.setText(columns::detail(1), QStringLiteral("Galloway"));
        record.values[static_cast<size_t>(columns::score(1))] = qlonglong(5);
        record.values[static_cast<size_t>(columns::score(2))] = QStringLiteral("7abc");
        // score 3 and the notes were never stored: null values
        record.setYesNo(2, true);
        return record;
    }

private slots:
    void anUntouchedFormIsNoEdit()
    {
        const ClientRecord stored = storedClient();
        const ClientForm form = formOf(stored);
        QCOMPARE(form.details[1], QStringLiteral("Galloway"));
        QCOMPARE(form.scores[1], QStringLiteral("5"));
        QCOMPARE(form.scores[3], QString());
        QVERIFY(form.yesNo[2]);
        QVERIFY(!isEdited(stored, form));
        // Unchanged columns keep their stored values and types: a number stays a number and
        // a never-stored value stays null rather than becoming an empty text.
        const ClientRecord same = editedRecord(stored, form);
        QCOMPARE(same.values[static_cast<size_t>(columns::score(1))].typeId(), QMetaType::LongLong);
        QVERIFY(same.values[static_cast<size_t>(columns::score(3))].isNull());
        QVERIFY(same.values[static_cast<size_t>(columns::detail(18))].isNull());
    }

    void everyKindOfBoxCountsAsAnEdit()
    {
        const ClientRecord stored = storedClient();

        ClientForm form = formOf(stored);
        form.details[18] = QStringLiteral("Allergic to nuts");
        QVERIFY(isEdited(stored, form));
        QCOMPARE(editedRecord(stored, form).text(columns::detail(18)),
                 QStringLiteral("Allergic to nuts"));

        form = formOf(stored);
        form.scores[42] = QStringLiteral("3");
        QVERIFY(isEdited(stored, form));
        QCOMPARE(editedRecord(stored, form).score(42), QStringLiteral("3"));

        form = formOf(stored);
        form.yesNo[2] = false;
        form.yesNo[4] = true;
        const ClientRecord edited = editedRecord(stored, form);
        QVERIFY(!edited.yesNo(2));
        QVERIFY(edited.yesNo(4));

        // Emptying a stored text is an edit too.
        form = formOf(stored);
        form.details[1].clear();
        QVERIFY(isEdited(stored, form));
    }

    void theRecordNumberIsNeverTakenFromTheForm()
    {
        const ClientRecord stored = storedClient();
        ClientForm form = formOf(stored);
        form.details[0] = QStringLiteral("99");
        QVERIFY(!isEdited(stored, form));
        QCOMPARE(editedRecord(stored, form).customerId(), 7);
    }

    void ownWebAddress_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("offered");
        QTest::newRow("nothing stored") << QString() << false;
        QTest::newRow("bare scheme") << QStringLiteral("http://") << false;
        QTest::newRow("bare scheme, capitals") << QStringLiteral("HTTP://") << false;
        QTest::newRow("bare scheme, blanks") << QStringLiteral("  http://  ") << false;
        QTest::newRow("an address") << QStringLiteral("http://www.example.org") << true;
        QTest::newRow("secure address") << QStringLiteral("https://example.org") << true;
    }

    void ownWebAddress()
    {
        QFETCH(QString, stored);
        QFETCH(bool, offered);
        QCOMPARE(hasOwnWebAddress(stored), offered);
    }

    void windowPlacement()
    {
        const QList<QRect> oneScreen = {QRect(0, 0, 1366, 768)};
        const QList<QRect> twoScreens = {QRect(0, 0, 1366, 768), QRect(1366, 0, 1920, 1080)};
        auto place = [](const char* l, const char* t, const char* w, const char* h,
                        const QList<QRect>& screens) {
            return restoredMainGeometry(QString::fromLatin1(l), QString::fromLatin1(t),
                                        QString::fromLatin1(w), QString::fromLatin1(h), screens);
        };

        QCOMPARE(place("100", "50", "900", "600", oneScreen), QRect(100, 50, 900, 600));
        // Never stored (first start), or only partly stored.
        QCOMPARE(place("", "", "", "", oneScreen), std::nullopt);
        QCOMPARE(place("100", "50", "", "600", oneScreen), std::nullopt);
        // On the second monitor while it is there; not once it has gone.
        QCOMPARE(place("1500", "100", "900", "600", twoScreens), QRect(1500, 100, 900, 600));
        QCOMPARE(place("1500", "100", "900", "600", oneScreen), std::nullopt);
        // Above the top edge the title bar cannot be reached.
        QCOMPARE(place("100", "-200", "900", "600", oneScreen), std::nullopt);
        // Mostly off to the left, but enough of the title bar to grab: brought inside, so that
        // every button is in reach.
        QCOMPARE(place("-700", "10", "900", "600", oneScreen), QRect(0, 10, 900, 600));
        // Larger than the screen it is on: kept within it, and moved in where it sticks out
        // (stored on a larger screen or at a smaller scale).
        QCOMPARE(place("0", "0", "3000", "2000", oneScreen), QRect(0, 0, 1366, 768));
        QCOMPARE(place("300", "200", "1366", "768", oneScreen), QRect(0, 0, 1366, 768));
        QCOMPARE(place("1000", "500", "900", "600", oneScreen), QRect(466, 168, 900, 600));
        QCOMPARE(place("2500", "100", "900", "600", twoScreens), QRect(2386, 100, 900, 600));
        // A window too small to use is not brought back.
        QCOMPARE(place("10", "10", "20", "20", oneScreen), std::nullopt);
    }

    void messages()
    {
        const QString error = dataSourceErrorMessage(QStringLiteral("disk is write-protected"));
        QVERIFY(error.startsWith(QStringLiteral("Error #: ")));
        QVERIFY(error.contains(QStringLiteral("Error description: disk is write-protected\n")));
        QVERIFY(error.endsWith(
            QStringLiteral("frmMain: Sub Data1_Error(DataErr As Integer, Response As Integer)")));
        // The list's caption: a record source up to 50 characters, else "SQL Statement".
        QCOMPARE(dataGridCaption(QString(50, u'q')), QString(50, u'q'));
        QCOMPARE(dataGridCaption(QString(51, u'q')), QStringLiteral("SQL Statement"));
    }
};

QTEST_GUILESS_MAIN(FrmMainRules)
#include "tst_frmmain_rules.moc"

// The company information rules: the brand-word check, required fields, the web address, and
// reading and writing the "Company Info" row.

#include "records/CompanyRecord.h"
#include "records/DatabaseFile.h"
#include "setup/CompanyInfo.h"
#include "support/CompanyRow.h"
#include "support/RefusedChange.h"
#include "support/TempProgramFolder.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace halcyra;
using namespace Qt::StringLiterals;
using halcyra::test::TempProgramFolder;

namespace {

using halcyra::test::fullCompanyRow;

void execute(const QString& databasePath, const QString& sql)
{
    const QString name = QStringLiteral("tst_company_info");
    {
        const Status opened = openDatabase(databasePath, name);
        QVERIFY2(opened, qPrintable(opened.error()));
        QSqlQuery query(QSqlDatabase::database(name));
        QVERIFY2(query.exec(sql), qPrintable(sql));
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

class CompanyInfoTest : public QObject
{
    Q_OBJECT

private slots:
    void brandWord_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("rejected");

        QTest::newRow("no brand word") << u"Green Leaf"_s << 0 << false;
        QTest::newRow("inside a longer word") << u"MyTessalyShop"_s << 0 << true;
        QTest::newRow("lower case in the address") << u"1 tessaly road"_s << 3 << true;
        QTest::newRow("OFFICE outside the e-mail") << u"TessalyOffice"_s << 0 << true;
        QTest::newRow("mail domain outside the e-mail") << u"tessaly.com"_s << 9 << true;
        QTest::newRow("e-mail OFFICE, mixed case") << u"jo@tEsSaLyoFfIcE.net"_s << 10 << false;
        QTest::newRow("e-mail own domain") << u"jo@Tessaly.Com"_s << 10 << false;
        QTest::newRow("e-mail as the name part") << u"tessaly@mail.net"_s << 10 << true;
        QTest::newRow("e-mail domain cut short") << u"jo@tessaly.co"_s << 10 << true;
        QTest::newRow("e-mail first occurrence decides") << u"tessaly@tessaly.com"_s << 10 << true;
        QTest::newRow("e-mail later occurrence not examined")
            << u"jo@tessaly.com, tessaly"_s << 10 << false;
    }

    void brandWord()
    {
        QFETCH(QString, text);
        QFETCH(int, index);
        QFETCH(bool, rejected);
        QCOMPARE(CheckForTessaly(text, index), rejected);
    }

    void brandSearchAndItsMessage()
    {
        QCOMPARE(brandMailDomain().size(), 11);
        QCOMPARE(brandNameMessage(QStringLiteral("Address:")),
                 QStringLiteral("You have used a Brand or Manufacturer name in your Company "
                                "Information.\nThis is not permitted.\n\nPlease enter another "
                                "Address:.\n\nCompany Information NOT saved!!!"));

        CompanyInfo typed = fullCompanyRow();
        typed[0] = QStringLiteral("  Tessaly Wellness ");
        typed[3] = QStringLiteral(" 1 Elm St  ");
        typed[10] = QStringLiteral(" jo@tessaly.net");
        const BrandSearch search = SearchFields(typed);
        // Every field is looked at; the offending ones are emptied, the rest only trimmed.
        QCOMPARE(search.rejected, (QList<int>{0, 10}));
        QCOMPARE(search.fields[0], QString());
        QCOMPARE(search.fields[3], QStringLiteral("1 Elm St"));
        QCOMPARE(search.fields[10], QString());
        QCOMPARE(search.fields[1], QStringLiteral("Smith"));

        QVERIFY(SearchFields(fullCompanyRow()).rejected.isEmpty());
    }

    void requiredFields()
    {
        // Company name, second phone and fax may stay empty.
        QCOMPARE(firstEmptyRequiredField(fullCompanyRow()), std::nullopt);
        CompanyInfo fields = fullCompanyRow();
        fields[10] = QStringLiteral("   ");
        QCOMPARE(firstEmptyRequiredField(fields), 10);
        fields[6].clear();
        fields[3].clear();
        QCOMPARE(firstEmptyRequiredField(fields), 3);
    }

    void storedCopyComparison()
    {
        CompanyInfo stored = fullCompanyRow();
        QVERIFY(!differsFromStored(fullCompanyRow(), stored));
        stored[10] = QStringLiteral("jane@example.org");
        QVERIFY(differsFromStored(fullCompanyRow(), stored));
    }

    void webAddress_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("no scheme") << u"www.mine.com"_s << u"http://www.mine.com"_s;
        QTest::newRow("upper-case scheme") << u"HTTP://WWW.MINE.COM"_s << u"HTTP://WWW.MINE.COM"_s;
        QTest::newRow("mixed-case scheme") << u"Http://mine.com"_s << u"Http://mine.com"_s;
        QTest::newRow("secure scheme") << u"https://mine.com"_s << u"https://mine.com"_s;
        QTest::newRow("spaces around") << u" mine.com "_s << u"http://mine.com"_s;
        QTest::newRow("empty") << QString() << u"http://"_s;
        QTest::newRow("scheme cut short") << u"http:/mine.com"_s << u"http://http:/mine.com"_s;
    }

    void webAddress()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QCOMPARE(withWebScheme(typed), kept);
    }

    void rowRoundTrip()
    {
        TempProgramFolder folder;
        folder.createDatabase();
        const QString path = folder.path(QStringLiteral("HCY300.db"));

        QCOMPARE(readCompanyRow(path).value(), CompanyInfo());
        QVERIFY(saveCompanyRow(path, fullCompanyRow()));
        QCOMPARE(readCompanyRow(path).value(), fullCompanyRow());

        // A file that lost its row gets it back on the next save.
        execute(path, QStringLiteral("DELETE FROM \"Company Info\""));
        QCOMPARE(readCompanyRow(path).value(), CompanyInfo());
        QVERIFY(saveCompanyRow(path, fullCompanyRow()));
        QCOMPARE(readCompanyRow(path).value(), fullCompanyRow());
    }

    void failedWriteChangesNothing()
    {
        TempProgramFolder folder;
        folder.createDatabase();
        const QString path = folder.path(QStringLiteral("HCY300.db"));
        QVERIFY(saveCompanyRow(path, fullCompanyRow()));
        execute(path, test::refuseValueSql(QStringLiteral("Company Info"), QStringLiteral("City"),
                                           QStringLiteral("Portland")));

        CompanyInfo changed = fullCompanyRow();
        changed[4] = QStringLiteral("Portland");
        const Status error = saveCompanyRow(path, changed);
        // The database's error number, then its text.
        QVERIFY(
            error.error().contains(QRegularExpression(u"^\\d+ .*"_s + test::kRefusedChangeText)));
        QCOMPARE(dataErrorMessage(error.error()),
                 u"Data error event hit err: frmCompanyInfo.datCoInfo_Error\n"_s + error.error());
        QCOMPARE(readCompanyRow(path).value(), fullCompanyRow());

        const Result<CompanyInfo> missing = readCompanyRow(folder.path(u"nowhere.db"_s));
        QVERIFY(missing.error().startsWith(u"53 "_s));
    }
};

QTEST_GUILESS_MAIN(CompanyInfoTest)
#include "tst_company_info.moc"

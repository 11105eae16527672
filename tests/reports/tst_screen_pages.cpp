// The on-screen report's pages as text: navigation between the chosen pages, the Summary's
// columns, the Analysis conversion, the supplement list's cells, the adviser block, and one
// sample client's pages against a stored text.

#include "ReportTestInputs.h"
#include "reports/ScreenPages.h"

#include <QFile>
#include <QtTest>

using namespace halcyra;
using halcyra::test::ReportFixture;

namespace {

screen::ScreenReport build(const ReportFixture& f)
{
    return screen::buildScreenReport(f.catalogue, f.tables, f.profile, f.client, f.company,
                                     f.header, QStringLiteral("3/14/2026"));
}

} // namespace

class ScreenPagesTest : public QObject
{
    Q_OBJECT

private slots:
    void navigation_data()
    {
        QTest::addColumn<QString>("docs");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("next");
        QTest::addColumn<bool>("previous");
        QTest::addColumn<int>("shownAfterPrevious");
        QTest::newRow("only analysis") << "00100" << 3 << false << false << 3;
        QTest::newRow("00011 on 5") << "00011" << 5 << false << true << 4;
        QTest::newRow("00011 on 4") << "00011" << 4 << true << false << 4;
        QTest::newRow("all on 3") << "11111" << 3 << true << true << 2;
        QTest::newRow("gaps") << "10101" << 5 << false << true << 3;
        QTest::newRow("first page") << "11111" << 1 << true << false << 1;
    }
    void navigation()
    {
        QFETCH(QString, docs);
        QFETCH(int, page);
        QFETCH(bool, next);
        QFETCH(bool, previous);
        QFETCH(int, shownAfterPrevious);
        QCOMPARE(screen::nextEnabled(docs, page), next);
        QCOMPARE(screen::previousEnabled(docs, page), previous);
        // The page loop steps once more after Previous.
        QCOMPARE(screen::pageBeforePrevious(docs, page) + 1, shownAfterPrevious);
    }

    void summaryLines_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("score");
        QTest::addColumn<QString>("line");
        QTest::newRow("one digit, very high") << 1 << "7"
                                              << "     3        7       7 VH     01. Vitamin A";
        QTest::newRow("below high") << 2 << "4"
                                    << "     5       11       4        02. B-Complex";
        QTest::newRow("two digits, high")
            << 9 << "12"
            << "    12       21      12  H     09. Total Vitamin + Mineral";
        QTest::newRow("not determined") << 12 << "2"
                                        << "   NOT DETERMINED     2 SA     12. Digestion 1";
    }
    void summaryLines()
    {
        QFETCH(int, row);
        QFETCH(QString, score);
        QFETCH(QString, line);
        ReportFixture f;
        f.profile.scores[static_cast<size_t>(row - 1)] = score;
        const QStringList lines = build(f).summary.split(u'\n');
        QVERIFY2(lines.contains(line), qPrintable(lines.filter(line.right(12)).join(u'|')));
    }

    void analysisWithoutMarksAndMarkupConverted()
    {
        ReportFixture f;
        QCOMPARE(build(f).analysis,
                 QStringLiteral("No Scores in High or Very High Percentile.\n\n"));
        for (int r = 1; r <= kReportRowCount; ++r)
            f.profile.scores[static_cast<size_t>(r - 1)] = QStringLiteral("99");
        const QString analysis = build(f).analysis;
        QVERIFY(analysis.contains(u"  ---  Very High\n"));
        QVERIFY(!analysis.contains(u'[') && !analysis.contains(u']') && !analysis.contains(u'\r'));
    }

    void adjustedGuideLinesOnlyWhenListed_data()
    {
        QTest::addColumn<int>("yesNo");
        QTest::addColumn<int>("callingRow"); // 0: the supplement is always listed
        QTest::addColumn<QString>("text");
        QTest::newRow("high blood pressure")
            << kYesNoHighBloodPressure << 0 << " 1 - High Blood Pressure      ";
        QTest::newRow("reactive hypoglycemia")
            << kYesNoReactiveHypoglycemia << 21 << " 0 - Reactive Hypoglycemia    ";
    }
    void adjustedGuideLinesOnlyWhenListed()
    {
        QFETCH(int, yesNo);
        QFETCH(int, callingRow);
        QFETCH(QString, text);
        ReportFixture f;
        if (callingRow > 0) {
            f.profile.yesNo[static_cast<size_t>(yesNo)] = true;
            // Nothing calls for the supplement: no line, so no replacement text either.
            QVERIFY(build(f).guideItems.filter(text.trimmed()).isEmpty());
            f.profile.scores[static_cast<size_t>(callingRow - 1)] = QStringLiteral("9");
        }
        f.profile.yesNo[static_cast<size_t>(yesNo)] = false;
        QVERIFY(build(f).guideItems.filter(text.trimmed()).isEmpty());
        f.profile.yesNo[static_cast<size_t>(yesNo)] = true;
        const QStringList items = build(f).guideItems;
        const QStringList adjusted = items.filter(text);
        QCOMPARE(adjusted.size(), 1);
        QCOMPARE(adjusted.first().mid(40, 30), text);
        for (const QString& item : items)
            QVERIFY(item.isEmpty() || item.right(4).toInt() >= 8801);
    }

    void adviserBlock_data()
    {
        QTest::addColumn<int>("names");
        QTest::addColumn<bool>("fax");
        QTest::addColumn<bool>("email");
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("faxNumber");
        QTest::addColumn<QString>("block");
        const QString address =
            QStringLiteral("\n42 Linden Street\nFairview     OR     97024\n555-0142");
        using N = HeaderOptions::Names;
        QTest::newRow("both, both lines")
            << int(N::Both) << true << true << "Greenleaf"
            << "555-0143"
            << QStringLiteral("Greenleaf\nDana Morrow") + address +
                   QStringLiteral("\nFax: 555-0143 - E-mail: dana@greenleaf.example");
        QTest::newRow("both, no company") << int(N::Both) << true << true << ""
                                          << ""
                                          << QStringLiteral("Dana Morrow") + address +
                                                 QStringLiteral("\nE-mail: dana@greenleaf.example");
        QTest::newRow("company, fax only")
            << int(N::CompanyOnly) << true << false << "Greenleaf"
            << "555-0143"
            << QStringLiteral("Greenleaf") + address + QStringLiteral("\nFax: 555-0143");
        QTest::newRow("person, nothing") << int(N::PersonOnly) << false << false << "Greenleaf"
                                         << "555-0143" << QStringLiteral("Dana Morrow") + address;
        QTest::newRow("company empty")
            << int(N::CompanyOnly) << false << true << ""
            << ""
            << QStringLiteral("Dana Morrow\nFairview     OR     97024\n555-0142\nE-mail: "
                              "dana@greenleaf.example");
    }
    void adviserBlock()
    {
        QFETCH(int, names);
        QFETCH(bool, fax);
        QFETCH(bool, email);
        QFETCH(QString, company);
        QFETCH(QString, faxNumber);
        QFETCH(QString, block);
        ReportFixture f;
        f.company[company::kCompanyName] = company;
        f.company[company::kFax] = faxNumber;
        const HeaderOptions options{static_cast<HeaderOptions::Names>(names), fax, email};
        QCOMPARE(screen::adviserBlock(f.company, options), block);
    }

    // A sample client's five pages, as stored. Set HALCYRA_UPDATE_GOLDEN=1 to write them anew.
    void samplePagesAsStored()
    {
        ReportFixture f;
        f.setScores({{1, "7"},
                     {3, "5"},
                     {5, "4"},
                     {10, "9"},
                     {12, "3"},
                     {20, "8"},
                     {23, "12"},
                     {26, "5"},
                     {29, "6"},
                     {33, "3"}});
        f.profile.age = QStringLiteral("55");
        f.profile.sex = QStringLiteral("M");
        f.profile.yesNo[kYesNoSmoker] = true;
        const screen::ScreenReport report = build(f);
        QString text;
        for (int page = 1; page <= screen::kPageCount; ++page)
            text += u'[' + screen::pageCaption(page) + QStringLiteral("]\n") +
                    screen::pageText(report, page) + u'\n';
        const QString path =
            QStringLiteral(HALCYRA_SOURCE_DIR "/tests/reports/golden/screen_pages.txt");
        if (qEnvironmentVariableIsSet("HALCYRA_UPDATE_GOLDEN")) {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(text.toUtf8());
        }
        QFile stored(path);
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QCOMPARE(text, QString::fromUtf8(stored.readAll()));
    }
};

QTEST_GUILESS_MAIN(ScreenPagesTest)
#include "tst_screen_pages.moc"

// The catalogue source format: entries, quoting, continuations, comments and the errors that
// keep a broken file from loading silently.

#include "core/Catalogue.h"

#include <QTest>

using namespace Qt::StringLiterals;
using halcyra::Catalogue;

class CatalogueFormatTest : public QObject
{
    Q_OBJECT

private slots:
    void valuesAreTrimmedUnlessQuoted_data();
    void valuesAreTrimmedUnlessQuoted();
    void continuationLinesJoinWithOneBlank();
    void commentsBlankLinesAndCrlfAreIgnored();
    void brokenLinesAreReported_data();
    void brokenLinesAreReported();
    void missingIdReadsEmpty();
    void countReadsTheLeadingNumber_data();
    void countReadsTheLeadingNumber();
};

void CatalogueFormatTest::valuesAreTrimmedUnlessQuoted_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << u"1501 = 01. Vitamin A"_s << u"01. Vitamin A"_s;
    QTest::newRow("blanks around") << u"  1501   =   01. Vitamin A   "_s << u"01. Vitamin A"_s;
    QTest::newRow("inner blanks kept") << u"7801 = Field  1"_s << u"Field  1"_s;
    QTest::newRow("quoted blank") << u"1513 = \" \""_s << u" "_s;
    QTest::newRow("quoted trailing blank") << u"5252 = \"Serving \""_s << u"Serving "_s;
    QTest::newRow("quoted leading blank") << u"1422 = \" ---- No\""_s << u" ---- No"_s;
    QTest::newRow("quotes inside stay") << u"1 = a \"b\" c"_s << u"a \"b\" c"_s;
    QTest::newRow("equals in value") << u"1 = 4 = 1+2+3"_s << u"4 = 1+2+3"_s;
    QTest::newRow("empty value") << u"1 ="_s << QString();
    QTest::newRow("hash in value")
        << u"1 = #FEMALE: Do this section"_s << u"#FEMALE: Do this section"_s;
}

void CatalogueFormatTest::valuesAreTrimmedUnlessQuoted()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);

    Catalogue catalogue;
    QStringList errors;
    QVERIFY(catalogue.addSource(u"inline"_s, line, &errors));
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
    QCOMPARE(catalogue.size(), 1);
    const int id = catalogue.ids().front();
    QCOMPARE(catalogue.LoadResString(id), expected);
}

void CatalogueFormatTest::continuationLinesJoinWithOneBlank()
{
    const QString source = u"4011 = The first words\n"
                           "     +   and the rest,\n"
                           "\t+ \" quoted keeps its blanks \"\n"
                           "4012 = next\n"_s;
    Catalogue catalogue;
    QStringList errors;
    QVERIFY(catalogue.addSource(u"inline"_s, source, &errors));
    QCOMPARE(errors, QStringList());
    QCOMPARE(catalogue.LoadResString(4011),
             u"The first words and the rest,  quoted keeps its blanks "_s);
    QCOMPARE(catalogue.LoadResString(4012), u"next"_s);
}

void CatalogueFormatTest::commentsBlankLinesAndCrlfAreIgnored()
{
    const QString source = u"# heading comment\r\n"
                           "\r\n"
                           "   # indented comment\r\n"
                           "1310 = Halcyra - Summary\r\n"
                           "   + continued\r\n"
                           "# a comment between entries\r\n"
                           "1423 = \"NOT DETERMINED\"\r\n"
                           "1313 = Halcyra"_s;
    Catalogue catalogue;
    QStringList errors;
    QVERIFY(catalogue.addSource(u"inline"_s, source, &errors));
    QCOMPARE(errors, QStringList());
    QCOMPARE(catalogue.ids(), (std::vector<int>{1310, 1313, 1423}));
    QCOMPARE(catalogue.LoadResString(1310), u"Halcyra - Summary continued"_s);
    QCOMPARE(catalogue.LoadResString(1423), u"NOT DETERMINED"_s);
    QCOMPARE(catalogue.LoadResString(1313), u"Halcyra"_s);
}

void CatalogueFormatTest::brokenLinesAreReported_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("badLine");
    QTest::addColumn<QString>("firstText");

    QTest::newRow("duplicate id") << u"1 = one\n2 = two\n1 = again"_s << 3 << u"one"_s;
    QTest::newRow("word as id") << u"1 = one\nabc = text"_s << 2 << u"one"_s;
    QTest::newRow("negative id") << u"1 = one\n-5 = text"_s << 2 << u"one"_s;
    QTest::newRow("id beyond 16 bits") << u"1 = one\n65536 = text"_s << 2 << u"one"_s;
    QTest::newRow("no equals sign") << u"1 = one\njust some words"_s << 2 << u"one"_s;
    QTest::newRow("continuation first") << u"   + orphan\n1 = one"_s << 1 << u"one"_s;
    QTest::newRow("continuation after bad line")
        << u"1 = one\nbad line\n   + orphan"_s << 2 << u"one"_s;
}

void CatalogueFormatTest::brokenLinesAreReported()
{
    QFETCH(QString, source);
    QFETCH(int, badLine);
    QFETCH(QString, firstText);

    Catalogue catalogue;
    QStringList errors;
    QVERIFY(!catalogue.addSource(u"broken.txt"_s, source, &errors));
    QVERIFY(!errors.isEmpty());
    QVERIFY2(errors.front().startsWith(u"broken.txt:%1:"_s.arg(badLine)),
             qPrintable(errors.join(u'\n')));
    // A broken line never overwrites or extends the good entry before it.
    QCOMPARE(catalogue.LoadResString(1), firstText);
}

void CatalogueFormatTest::missingIdReadsEmpty()
{
    Catalogue catalogue;
    QVERIFY(catalogue.addSource(u"inline"_s, u"8089 = Glucosamine.pdf\n8091 = x.pdf"_s, nullptr));
    QVERIFY(!catalogue.contains(8090));
    QVERIFY(catalogue.LoadResString(8090).isEmpty());
    QCOMPARE(catalogue.count(8090), 0);
}

void CatalogueFormatTest::countReadsTheLeadingNumber_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("expected");

    QTest::newRow("plain") << u"140"_s << 140;
    QTest::newRow("leading blank and words") << u"\" 32 rows\""_s << 32;
    QTest::newRow("blank") << u"\" \""_s << 0;
    QTest::newRow("words only") << u"Questionnaire"_s << 0;
    QTest::newRow("digit then letter") << u"2B"_s << 2;
}

void CatalogueFormatTest::countReadsTheLeadingNumber()
{
    QFETCH(QString, value);
    QFETCH(int, expected);

    Catalogue catalogue;
    QVERIFY(catalogue.addSource(u"inline"_s, u"1500 = "_s + value, nullptr));
    QCOMPARE(catalogue.count(1500), expected);
}

QTEST_GUILESS_MAIN(CatalogueFormatTest)
#include "tst_catalogue_format.moc"

#include "core/Conversions.h"

#include <QTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

class ConversionsTest : public QObject
{
    Q_OBJECT
private slots:
    void leadingNumber_data();
    void leadingNumber();
    void leadingNumberIsTheNearestDouble_data();
    void leadingNumberIsTheNearestDouble();
    void leadingIntegerTruncatesAndClamps();
    void textToBoolean_data();
    void textToBoolean();
    void settingAsNumber_data();
    void settingAsNumber();
    void booleanToTextReadsBack();
};

void ConversionsTest::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("digits then letters") << u"12abc"_s << 12.0;
    QTest::newRow("no number") << u"abc"_s << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("blanks inside are skipped") << u" 1 2"_s << 12.0;
    QTest::newRow("tab and line feed skipped") << u"\t4\n5"_s << 45.0;
    QTest::newRow("negative") << u"-3"_s << -3.0;
    QTest::newRow("sign apart from digits") << u"- 3"_s << -3.0;
    QTest::newRow("plus sign") << u"+7"_s << 7.0;
    QTest::newRow("decimal then junk") << u"2.5x"_s << 2.5;
    QTest::newRow("exponent") << u"1e2"_s << 100.0;
    QTest::newRow("negative exponent") << u"25E-1"_s << 2.5;
    QTest::newRow("D exponent") << u"1d2"_s << 100.0;
    QTest::newRow("exponent without digits") << u"3e"_s << 3.0;
    QTest::newRow("exponent sign without digits") << u"3e+x"_s << 3.0;
    QTest::newRow("lone point") << u"."_s << 0.0;
    QTest::newRow("lone sign") << u"-"_s << 0.0;
    QTest::newRow("two signs") << u"--3"_s << 0.0;
    QTest::newRow("leading point") << u".5"_s << 0.5;
    QTest::newRow("trailing point") << u"7."_s << 7.0;
    QTest::newRow("second point ends it") << u"1.2.3"_s << 1.2;
    QTest::newRow("minus inside ends it") << u"10-2"_s << 10.0;
    QTest::newRow("score") << u"45"_s << 45.0;
    QTest::newRow("percentile with blanks") << u"  12.5 "_s << 12.5;
    QTest::newRow("letter first") << u"x12"_s << 0.0;
    QTest::newRow("comma is not a decimal point") << u"1,5"_s << 1.0;
}

void ConversionsTest::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(halcyra::leadingNumber(text), expected);
}

// Catalogue values such as "0.3" and scores typed as "99.99" must read as exactly the double
// the text names, or a score equal to a threshold compares as above or below it.
void ConversionsTest::leadingNumberIsTheNearestDouble_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("0.3") << u"0.3"_s << 0.3;
    QTest::newRow("0.7") << u"0.7"_s << 0.7;
    QTest::newRow("99.99") << u"99.99"_s << 99.99;
    QTest::newRow("3.14159") << u"3.14159"_s << 3.14159;
    QTest::newRow("1.1e1") << u"1.1e1"_s << 11.0;
    QTest::newRow("-0.7abc") << u"-0.7abc"_s << -0.7;
}

void ConversionsTest::leadingNumberIsTheNearestDouble()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    // Exact equality on purpose: fuzzy comparison would hide the rounding fault.
    QVERIFY2(halcyra::leadingNumber(text) == expected,
             qPrintable(QString::number(halcyra::leadingNumber(text), 'g', 17)));
}

void ConversionsTest::leadingIntegerTruncatesAndClamps()
{
    QCOMPARE(leadingInteger(u"2.9"), 2);
    QCOMPARE(leadingInteger(u"-2.9"), -2);
    QCOMPARE(leadingInteger(u"1045 legal"), 1045);
    QCOMPARE(leadingInteger(u"1e30"), std::numeric_limits<int>::max());
    QCOMPARE(leadingInteger(u"-1e30"), std::numeric_limits<int>::min());
    QCOMPARE(leadingInteger(u""), 0);
    QCOMPARE(leadingInteger(u"1e400"), std::numeric_limits<int>::max());
}

void ConversionsTest::textToBoolean_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<bool>("expected");

    QTest::newRow("True") << u"True"_s << false << true;
    QTest::newRow("TRUE") << u"TRUE"_s << false << true;
    QTest::newRow("false") << u"false"_s << true << false;
    QTest::newRow("False with blanks") << u" False "_s << true << false;
    QTest::newRow("0") << u"0"_s << true << false;
    QTest::newRow("0.0") << u"0.0"_s << true << false;
    QTest::newRow("1") << u"1"_s << false << true;
    QTest::newRow("-1") << u"-1"_s << false << true;
    QTest::newRow("2.5") << u"2.5"_s << false << true;
    QTest::newRow("junk, fallback false") << u"maybe"_s << false << false;
    QTest::newRow("junk, fallback true") << u"maybe"_s << true << true;
    QTest::newRow("empty, fallback true") << QString() << true << true;
    QTest::newRow("number then junk is junk") << u"1x"_s << false << false;
}

void ConversionsTest::textToBoolean()
{
    QFETCH(QString, text);
    QFETCH(bool, fallback);
    QFETCH(bool, expected);
    QCOMPARE(halcyra::textToBoolean(text, fallback), expected);
}

void ConversionsTest::settingAsNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("True") << u"True"_s << -1.0;
    QTest::newRow("true") << u"true"_s << -1.0;
    QTest::newRow("-1") << u"-1"_s << -1.0;
    QTest::newRow("1") << u"1"_s << 1.0;
    QTest::newRow("0") << u"0"_s << 0.0;
    QTest::newRow("False") << u"False"_s << 0.0;
    QTest::newRow("FALSE") << u"FALSE"_s << 0.0;
    QTest::newRow("number with junk") << u"5 times"_s << 5.0;
    QTest::newRow("word") << u"Truely"_s << 0.0;
}

void ConversionsTest::settingAsNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(halcyra::settingAsNumber(text), expected);
}

void ConversionsTest::booleanToTextReadsBack()
{
    QCOMPARE(booleanToText(true), u"True"_s);
    QCOMPARE(booleanToText(false), u"False"_s);
    QCOMPARE(halcyra::textToBoolean(booleanToText(true)), true);
    QCOMPARE(halcyra::textToBoolean(booleanToText(false), true), false);
}

QTEST_GUILESS_MAIN(ConversionsTest)
#include "tst_conversions.moc"

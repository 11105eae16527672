#include "core/Conversions.h"

#include <QRegularExpression>
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
    void readDate_data();
    void readDate();
    void dateTextIsOneForm();
};

Q_DECLARE_METATYPE(halcyra::DateReading)

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

// Every form a stored date may have, and the impossible and the made-up ones.
void ConversionsTest::readDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<DateReading>("reading");
    QTest::addColumn<QDate>("date");
    const auto date = [](const char* name, const char* text, int y, int m, int d) {
        QTest::newRow(name) << QString::fromUtf8(text) << DateReading::Date << QDate(y, m, d);
    };
    const auto other = [](const char* name, const char* text, DateReading reading) {
        QTest::newRow(name) << QString::fromUtf8(text) << reading << QDate();
    };
    date("the program's own form", "2/8/2026", 2026, 2, 8);
    date("leading zeros", "02/08/2026", 2026, 2, 8);
    date("two-digit year, this century", "12/31/49", 2049, 12, 31);
    date("two-digit year, the last", "1/2/50", 1950, 1, 2);
    date("blanks around", "  3/1/2026 ", 2026, 3, 1);
    date("an import's ISO date", "2026-04-01", 2026, 4, 1);
    date("year first with slashes", "2026/4/1", 2026, 4, 1);
    date("an old record's C-locale date", "9 Dec 2026", 2026, 12, 9);
    date("month name in any case", "9 DEC 2026", 2026, 12, 9);
    date("full month name", "9 December 2026", 2026, 12, 9);
    date("dashes and a month name", "09-Dec-2026", 2026, 12, 9);
    date("September as Sept", "1 Sept 2026", 2026, 9, 1);
    date("month first with a comma", "Dec 9, 2026", 2026, 12, 9);
    date("dotted dates put the day first", "9.12.2026", 2026, 12, 9);
    date("leap day", "2/29/2028", 2028, 2, 29);
    other("February 30", "2/30/2026", DateReading::Impossible);
    other("day first where the month goes", "31/02/2026", DateReading::Impossible);
    other("month 13 in an ISO date", "2026-13-01", DateReading::Impossible);
    other("no leap day", "2/29/2026", DateReading::Impossible);
    other("dotted day 32", "32.1.2026", DateReading::Impossible);
    other("a month that is not one", "9 Dez 2026", DateReading::NotADate);
    other("day 0 by name", "0 Dec 2026", DateReading::Impossible);
    other("three-digit year", "2/8/202", DateReading::Impossible);
    other("year 0", "2/8/0000", DateReading::Impossible);
    other("separators mixed", "2/8-2026", DateReading::NotADate);
    other("no year", "2/8", DateReading::NotADate);
    other("words", "last spring", DateReading::NotADate);
    other("digits not ASCII", "\u0662/\u0668/\u0662\u0660\u0662\u0666", DateReading::NotADate);
    other("empty", "", DateReading::Empty);
    other("blanks", "   ", DateReading::Empty);
}

void ConversionsTest::readDate()
{
    QFETCH(QString, text);
    QFETCH(DateReading, reading);
    QFETCH(QDate, date);
    const ReadDate read = readDateText(text);
    QCOMPARE(read.reading, reading);
    QCOMPARE(read.date, date);
    QCOMPARE(halcyra::readDate(text), date);
    // Shown in the program's form where it reads, as stored where it does not.
    QCOMPARE(shownDate(text), date.isValid() ? dateText(date) : text);
}

void ConversionsTest::dateTextIsOneForm()
{
    const QRegularExpression form(u"^(1[0-2]|[1-9])/(3[01]|[12][0-9]|[1-9])/[0-9]{4}$"_s);
    // Every day of two years, a leap year among them: written in the one form and read back as
    // the same day.
    for (QDate day(2027, 1, 1); day < QDate(2029, 1, 1); day = day.addDays(1)) {
        const QString text = dateText(day);
        QVERIFY2(form.match(text).hasMatch(), qPrintable(text));
        QCOMPARE(halcyra::readDate(text), day);
    }
    QCOMPARE(dateText(QDate(2026, 12, 8)), u"12/8/2026"_s);
    QCOMPARE(dateText(QDate()), QString());
}

QTEST_GUILESS_MAIN(ConversionsTest)
#include "tst_conversions.moc"

#include "core/Conversions.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <limits>

namespace halcyra {
namespace {

bool isSkippedBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Gathers the characters that take part in the number, blanks removed, so that the parse
// below only has to look at a compact prefix.
QString compactPrefix(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (isSkippedBlank(c))
            continue;
        if (c.isDigit() || c == u'+' || c == u'-' || c == u'.' || c == u'e' || c == u'E' ||
            c == u'd' || c == u'D')
            out.append(c);
        else
            break;
    }
    return out;
}

} // namespace

double leadingNumber(QStringView text)
{
    // Finds where the number ends, then lets the C-locale conversion read that prefix: adding
    // up digits by hand would read "0.3" as 0.30000000000000004.
    QString s = compactPrefix(text);
    qsizetype i = 0;
    const qsizetype n = s.size();
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    bool anyDigit = false;
    while (i < n && s[i].isDigit()) {
        anyDigit = true;
        ++i;
    }
    if (i < n && s[i] == u'.') {
        ++i;
        while (i < n && s[i].isDigit()) {
            anyDigit = true;
            ++i;
        }
    }
    if (!anyDigit)
        return 0;
    qsizetype end = i;
    if (i < n && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        qsizetype j = i + 1;
        if (j < n && (s[j] == u'+' || s[j] == u'-'))
            ++j;
        const qsizetype exponentStart = j;
        while (j < n && s[j].isDigit())
            ++j;
        if (j > exponentStart) {
            s[i] = u'e';
            end = j;
        }
    }
    const double value = QLocale::c().toDouble(QStringView(s).left(end));
    // Past the range of a double the conversion gives infinity, which no report and no JSON
    // can show as a number: such a text reads as the largest number there is.
    if (std::isinf(value))
        return std::copysign(std::numeric_limits<double>::max(), value);
    return value;
}

int leadingInteger(QStringView text)
{
    const double value = std::trunc(leadingNumber(text));
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

double settingAsNumber(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.compare(u"True", Qt::CaseInsensitive) == 0)
        return -1;
    if (trimmed.compare(u"False", Qt::CaseInsensitive) == 0)
        return 0;
    return leadingNumber(trimmed);
}

bool textToBoolean(QStringView text, bool fallback)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double value = trimmed.toDouble(&isNumber);
    if (isNumber)
        return value != 0;
    return fallback;
}

QString booleanToText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool hasControlCharacter(QStringView text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

QString visibleControls(QStringView text, bool keepLineBreaks)
{
    const auto directionOverride = [](char16_t c) {
        return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
    };
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == u'\n')
            out += keepLineBreaks ? QString(c) : QStringLiteral("\\n");
        else if (code == u'\r')
            out += QStringLiteral("\\r");
        else if (code == u'\t')
            out += QStringLiteral("\\t");
        else if (c.category() == QChar::Other_Control)
            out += QStringLiteral("\\x%1").arg(code, 2, 16, QChar(u'0'));
        else if (directionOverride(code))
            out += QStringLiteral("\\u%1").arg(code, 4, 16, QChar(u'0'));
        else
            out += c;
    }
    return out;
}

QString dateText(const QDate& date)
{
    if (!date.isValid())
        return {};
    return QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
}

namespace {

// A year as written: four digits as they stand, two digits in 1950 to 2049; anything else
// (a year of one or three digits is a slip of the finger) is no year.
int yearOf(QStringView digits)
{
    const int value = digits.toInt();
    if (digits.size() == 4)
        return value;
    if (digits.size() == 2)
        return value + (value < 50 ? 2000 : 1900);
    return 0;
}

// The month of an English name or its abbreviation ("Dec", "Dec.", "December", "Sept"), 0 for
// none.
int monthOfName(QStringView name)
{
    static const char* const kMonths[] = {"january",   "february", "march",    "april",
                                          "may",       "june",     "july",     "august",
                                          "september", "october",  "november", "december"};
    const QString folded = name.toString().toCaseFolded();
    if (folded.size() < 3)
        return 0;
    for (int m = 0; m < 12; ++m) {
        const QString full = QString::fromLatin1(kMonths[m]);
        if (folded == full || folded == full.left(3) || (m == 8 && folded == u"sept"))
            return m + 1;
    }
    return 0;
}

ReadDate dayOf(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (year <= 0 || !date.isValid())
        return {DateReading::Impossible, {}};
    return {DateReading::Date, date};
}

} // namespace

ReadDate readDateText(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {DateReading::Empty, {}};
    const QString t = trimmed.toString();

    // Three numbers with one kind of separator between them.
    static const QRegularExpression numeric(
        QStringLiteral("^([0-9]{1,4})([/.-])([0-9]{1,2})\\2([0-9]{1,4})$"));
    if (const QRegularExpressionMatch m = numeric.match(t); m.hasMatch()) {
        const QStringView first = m.capturedView(1);
        const QChar separator = m.capturedView(2).front();
        const int middle = m.capturedView(3).toInt();
        const QStringView last = m.capturedView(4);
        if (first.size() == 4) // year first
            return last.size() <= 2 ? dayOf(first.toInt(), middle, last.toInt())
                                    : ReadDate{DateReading::Impossible, {}};
        if (first.size() == 3)
            return {DateReading::Impossible, {}};
        if (separator == u'.') // day first
            return dayOf(yearOf(last), middle, first.toInt());
        return dayOf(yearOf(last), first.toInt(), middle);
    }
    // A day, an English month name and a year: "9 Dec 2026", "9-Dec-2026", "9 December 2026".
    static const QRegularExpression dayFirst(
        QStringLiteral("^([0-9]{1,2})[ -]([A-Za-z]+)\\.?[ -]([0-9]{4})$"));
    // "Dec 9, 2026", "December 9 2026".
    static const QRegularExpression monthFirst(
        QStringLiteral("^([A-Za-z]+)\\.? ([0-9]{1,2}),? ([0-9]{4})$"));
    int day = 0;
    QStringView name;
    QStringView year;
    if (const QRegularExpressionMatch m = dayFirst.match(t); m.hasMatch()) {
        day = m.capturedView(1).toInt();
        name = m.capturedView(2);
        year = m.capturedView(3);
    } else if (const QRegularExpressionMatch n = monthFirst.match(t); n.hasMatch()) {
        name = n.capturedView(1);
        day = n.capturedView(2).toInt();
        year = n.capturedView(3);
    } else {
        return {DateReading::NotADate, {}};
    }
    const int month = monthOfName(name);
    if (month == 0)
        return {DateReading::NotADate, {}};
    return dayOf(year.toInt(), month, day);
}

QDate readDate(QStringView text)
{
    return readDateText(text).date;
}

QString shownDate(const QString& stored)
{
    const QDate date = readDate(stored);
    return date.isValid() ? dateText(date) : stored;
}

} // namespace halcyra

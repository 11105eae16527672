#include "core/Conversions.h"

#include <QLocale>
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
        if (code == u'\n' && keepLineBreaks)
            out += c;
        else if (code == u'\n')
            out += QStringLiteral("\\n");
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

} // namespace halcyra

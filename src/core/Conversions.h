#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

namespace halcyra {

// The numeric prefix of a text, 0 when there is none. Blanks, tabs and line feeds are skipped
// wherever they stand, so " 1 2" reads as 12; a sign, a decimal point and an exponent are
// taken as long as they form a number. Catalogue values, scores and settings read as numbers
// go through it. Where a text that is not a number must be refused rather than read as 0
// (command-line arguments, flags, catalogue ids), the checked Qt parses are used instead.
// A number past the range of a double reads as the largest one, with its sign.
double leadingNumber(QStringView text);

// leadingNumber truncated toward zero and clamped to the int range.
int leadingInteger(QStringView text);

// Reads a stored setting as a number the way the stored texts were meant: "True" is -1 and
// "False" is 0 (any letter case), anything else is its leading number.
double settingAsNumber(QStringView text);

// Reads a stored setting as a flag: "True"/"False" in any case, or a number where 0 is false
// and any other number true. Text that is neither gives `fallback`.
bool textToBoolean(QStringView text, bool fallback = false);

// The stored form of a flag: "True" or "False".
QString booleanToText(bool value);

// Whether the text holds a control character (a line break, a tab, a terminal's escape...).
bool hasControlCharacter(QStringView text);

// The text with its control characters and text-direction overrides written as visible
// escapes ("\n", "\t", "\x1b", "\u202e"), so that a value cannot move a terminal's cursor,
// clear its screen or turn the text around. `keepLineBreaks` leaves "\n" as it is, for
// texts made of lines.
QString visibleControls(QStringView text, bool keepLineBreaks = false);

// The one form in which the program writes a date: month/day/year without leading zeros
// ("2/8/2026"), whatever the system's locale.
QString dateText(const QDate& date);

// How a date text reads.
enum class DateReading {
    Empty,      // nothing but blanks
    Date,       // a day of the calendar
    Impossible, // shaped like a date, but no such day ("2/30/2026", "31/02/2026")
    NotADate,   // anything else
};
struct ReadDate
{
    DateReading reading = DateReading::Empty;
    QDate date; // valid only for DateReading::Date
};

// Reads a date in any form the program or an import has stored: "2/8/2026" and "02/08/26"
// (month first, as the program writes it; a two-digit year is 1950 to 2049), "2026-04-01"
// and "2026/4/1" (year first), "9.12.2026" (day first, as dotted dates always are),
// "9 Dec 2026", "9-Dec-2026", "9 December 2026" and "Dec 9, 2026" (English month names).
// The one reader behind every use of a stored date: entry, import, filter, sort, history.
ReadDate readDateText(QStringView text);
// The date of a text, invalid when it is not one.
QDate readDate(QStringView text);

// A stored date as the program shows it: in the program's form when it reads as a date, else
// the stored text unchanged.
QString shownDate(const QString& stored);

} // namespace halcyra

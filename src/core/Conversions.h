#pragma once

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

} // namespace halcyra

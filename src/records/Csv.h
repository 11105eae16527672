#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace halcyra {

// One record of a CSV file and the line it starts on (from 1; a quoted field may span lines).
struct CsvRecord
{
    int line = 0;
    QStringList fields;
};

struct CsvTable
{
    QChar delimiter = u',';
    std::vector<CsvRecord> records;
};

// The most characters one field may hold; a longer one means the file is not what it claims.
inline constexpr qsizetype kCsvMaxField = 1 << 20;

// Reads RFC 4180 text: fields quoted or not, "" for a quote inside a quoted field, line breaks
// and delimiters inside quoted fields, CRLF or LF line ends, UTF-8 with or without a byte
// order mark. The delimiter is a comma or, as spreadsheets in many locales write, a semicolon:
// whichever the first record holds more of outside quotes. Empty lines are skipped. A file
// that is not UTF-8 text, holds NUL bytes, has an unclosed quote, text after a closing quote
// or an over-long field is refused with the line where it goes wrong.
Result<CsvTable> parseCsv(QByteArrayView data);

// The same, handing each record to `sink` as it is read instead of keeping them all; a
// failure of the sink ends the reading with its error. Gives the delimiter.
using CsvRecordSink = std::function<Status(const CsvRecord&)>;
Result<QChar> forEachCsvRecord(QByteArrayView data, const CsvRecordSink& sink);

// One record as CSV text with a CRLF line end; fields are quoted where they need it.
QByteArray csvLine(const QStringList& fields, QChar delimiter = u',');

// A cell as it is safe to hand to a spreadsheet: text starting with =, +, -, @, a tab or a
// carriage return would be run as a formula, so it gets a leading apostrophe (as would text
// that starts with one, so that the round trip gives back what was written).
QString spreadsheetSafe(const QString& cell);
// The reverse of spreadsheetSafe, for cells read back.
QString fromSpreadsheetSafe(const QString& cell);

} // namespace halcyra

#pragma once

#include "core/Result.h"
#include "core/TextEncoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace halcyra {

// One record of a CSV file: the row a spreadsheet shows it in (from 1, the header's; an empty
// line is an empty row) and the line of the file it starts on (a quoted field may span lines,
// so the two part ways after such a field).
struct CsvRecord
{
    int row = 0;
    int line = 0;
    QStringList fields;
};

// How a file was read: its delimiter and the text encoding used.
struct CsvFormat
{
    QChar delimiter = u',';
    TextEncoding encoding = TextEncoding::Utf8;
    bool encodingGuessed = false; // see DecodedText::guessed
};

struct CsvTable
{
    QChar delimiter = u',';
    TextEncoding encoding = TextEncoding::Utf8;
    std::vector<CsvRecord> records;
};

// The most characters one field may hold; a longer one means the file is not what it claims.
inline constexpr qsizetype kCsvMaxField = 1 << 20;

// Reads RFC 4180 text: fields quoted or not, "" for a quote inside a quoted field, line breaks
// and delimiters inside quoted fields, CRLF or LF line ends, in the encoding given or found
// (decodeText). The delimiter is a comma or, as spreadsheets in many locales write, a
// semicolon: whichever the first record holds more of outside quotes. Empty lines are skipped.
// A file that is not text of its encoding, holds NUL characters, has an unclosed quote, text
// after a closing quote or an over-long field is refused with the row where it goes wrong.
Result<CsvTable> parseCsv(QByteArrayView data, TextEncoding encoding = TextEncoding::Automatic);

// The same, handing each record to `sink` as it is read instead of keeping them all; a
// failure of the sink ends the reading with its error.
using CsvRecordSink = std::function<Status(const CsvRecord&)>;
Result<CsvFormat> forEachCsvRecord(QByteArrayView data, const CsvRecordSink& sink,
                                   TextEncoding encoding = TextEncoding::Automatic);

// One record as CSV text with a CRLF line end; fields are quoted where they need it.
QByteArray csvLine(const QStringList& fields, QChar delimiter = u',');

// A cell as it is safe to hand to a spreadsheet: text starting with =, +, -, @, a tab or a
// carriage return would be run as a formula, so it gets a leading apostrophe (as would text
// that starts with one, so that the round trip gives back what was written).
QString spreadsheetSafe(const QString& cell);
// The reverse of spreadsheetSafe, for cells read back.
QString fromSpreadsheetSafe(const QString& cell);

} // namespace halcyra

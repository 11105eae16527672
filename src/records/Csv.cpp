#include "records/Csv.h"

namespace halcyra {
namespace {

// The delimiter of the first record (empty lines skipped): a comma unless it holds more
// semicolons outside quotes. Quotes count as the reader takes them: only at a field's start.
QChar detectDelimiter(const QString& text)
{
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    bool fieldStart = true;
    bool lineEmpty = true;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < n && text[i + 1] == u'"')
                ++i;
            else if (c == u'"')
                quoted = false;
            continue;
        }
        if (c == u'\n' || c == u'\r') {
            if (!lineEmpty)
                break;
            continue;
        }
        lineEmpty = false;
        if (c == u'"' && fieldStart) {
            quoted = true;
            fieldStart = false;
        } else if (c == u',' || c == u';') {
            ++(c == u',' ? commas : semicolons);
            fieldStart = true;
        } else {
            fieldStart = false;
        }
    }
    return semicolons > commas ? QChar(u';') : QChar(u',');
}

// Where a record goes wrong: its row as a spreadsheet shows it, and the file's line where the
// two differ (after a quoted field that spans lines).
Failure rowError(int row, int line, const QString& what)
{
    if (row == line)
        return fail(QStringLiteral("Row %1: %2").arg(row).arg(what));
    return fail(QStringLiteral("Row %1 (line %2 of the file): %3").arg(row).arg(line).arg(what));
}

} // namespace

Result<CsvFormat> forEachCsvRecord(QByteArrayView data, const CsvRecordSink& sink,
                                   TextEncoding encoding)
{
    Result<DecodedText> decoded = decodeText(data, encoding);
    if (!decoded)
        return fail(decoded.error());
    const QString text = std::move(decoded->text);
    if (const qsizetype nul = text.indexOf(QChar(0)); nul >= 0)
        return fail(QStringLiteral("Line %1: the file holds a NUL character; it is not CSV text.")
                        .arg(QStringView(text).first(nul).count(u'\n') + 1));
    CsvFormat format;
    format.encoding = decoded->encoding;
    format.encodingGuessed = decoded->guessed;
    const QChar delimiter = detectDelimiter(text);
    format.delimiter = delimiter;

    const qsizetype n = text.size();
    const QChar* const chars = text.constData();
    auto isLineEnd = [](QChar c) { return c == u'\n' || c == u'\r'; };
    int line = 1;
    int row = 1;
    CsvRecord record;
    record.line = 1;
    record.row = 1;
    qsizetype i = 0;
    while (i < n) {
        QString field;
        if (chars[i] == u'"') {
            const int quoteLine = line;
            ++i;
            for (;;) {
                const qsizetype close = text.indexOf(u'"', i);
                if (close < 0)
                    return rowError(row, quoteLine,
                                    QStringLiteral("a quoted field is never closed."));
                const QStringView segment(chars + i, close - i);
                line += static_cast<int>(segment.count(u'\n'));
                field += segment;
                if (field.size() > kCsvMaxField)
                    return rowError(
                        row, quoteLine,
                        QStringLiteral("a field longer than %1 characters.").arg(kCsvMaxField));
                i = close + 1;
                if (i < n && chars[i] == u'"') {
                    field += u'"';
                    ++i;
                    continue;
                }
                break;
            }
            if (i < n && chars[i] != delimiter && !isLineEnd(chars[i]))
                return rowError(row, line,
                                QStringLiteral("text after the closing quote of a field."));
        } else {
            const qsizetype start = i;
            while (i < n && chars[i] != delimiter && !isLineEnd(chars[i]))
                ++i;
            if (i - start > kCsvMaxField)
                return rowError(
                    row, line,
                    QStringLiteral("a field longer than %1 characters.").arg(kCsvMaxField));
            field = QString(chars + start, i - start);
        }
        record.fields << std::move(field);
        bool recordEnds = i >= n;
        if (i < n && chars[i] == delimiter) {
            ++i;
            // A delimiter at the very end still opens an (empty) last field.
            if (i >= n) {
                record.fields << QString();
                recordEnds = true;
            }
        } else if (i < n) {
            // CRLF, LF or a lone CR ends the record.
            i += chars[i] == u'\r' && i + 1 < n && chars[i + 1] == u'\n' ? 2 : 1;
            recordEnds = true;
        }
        if (!recordEnds)
            continue;
        // A line with nothing on it is no record, though a spreadsheet shows it as a row.
        if (record.fields.size() > 1 || !record.fields.first().isEmpty())
            if (const Status taken = sink(record); !taken)
                return fail(taken.error());
        ++line;
        ++row;
        record.fields.clear();
        record.line = line;
        record.row = row;
    }
    return format;
}

Result<CsvTable> parseCsv(QByteArrayView data, TextEncoding encoding)
{
    CsvTable table;
    const Result<CsvFormat> read = forEachCsvRecord(
        data,
        [&](const CsvRecord& record) -> Status {
            table.records.push_back(record);
            return {};
        },
        encoding);
    if (!read)
        return fail(read.error());
    table.delimiter = read->delimiter;
    table.encoding = read->encoding;
    return table;
}

QByteArray csvLine(const QStringList& fields, QChar delimiter)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += delimiter;
        const QString& field = fields[i];
        // Both delimiters are quoted, so a reader that guesses the delimiter guesses right.
        const bool needsQuotes = field.contains(delimiter) || field.contains(u',') ||
                                 field.contains(u';') || field.contains(u'"') ||
                                 field.contains(u'\n') || field.contains(u'\r') ||
                                 field.startsWith(u' ') || field.endsWith(u' ');
        if (!needsQuotes) {
            line += field;
            continue;
        }
        line += u'"';
        for (const QChar c : field) {
            if (c == u'"')
                line += u'"';
            line += c;
        }
        line += u'"';
    }
    line += QStringLiteral("\r\n");
    return line.toUtf8();
}

QString spreadsheetSafe(const QString& cell)
{
    static const QString starts = QStringLiteral("=+-@\t\r'");
    if (!cell.isEmpty() && starts.contains(cell.front()))
        return u'\'' + cell;
    return cell;
}

QString fromSpreadsheetSafe(const QString& cell)
{
    // Only the apostrophe spreadsheetSafe puts in front goes: a name such as "'t Hooft" that
    // a spreadsheet wrote keeps its own.
    static const QString guarded = QStringLiteral("=+-@\t\r'");
    if (cell.size() >= 2 && cell.front() == u'\'' && guarded.contains(cell.at(1)))
        return cell.mid(1);
    return cell;
}

} // namespace halcyra

#include "records/Csv.h"

#include <QStringDecoder>

namespace halcyra {
namespace {

// The delimiter of the first record: comma unless it holds more semicolons outside quotes.
QChar detectDelimiter(const QString& text)
{
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted && c == u',')
            ++commas;
        else if (!quoted && c == u';')
            ++semicolons;
    }
    return semicolons > commas ? QChar(u';') : QChar(u',');
}

Failure lineError(int line, const QString& what)
{
    return fail(QStringLiteral("Line %1: %2").arg(line).arg(what));
}

} // namespace

Result<CsvTable> parseCsv(QByteArrayView data)
{
    if (const qsizetype nul = data.indexOf('\0'); nul >= 0)
        return lineError(static_cast<int>(data.first(nul).count('\n')) + 1,
                         QStringLiteral("the file holds a NUL byte; it is not CSV text."));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(data);
    if (decoder.hasError())
        return fail(QStringLiteral("The file is not UTF-8 text."));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    CsvTable table;
    table.delimiter = detectDelimiter(text);
    const QChar delimiter = table.delimiter;

    enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted };
    State state = State::FieldStart;
    int line = 1;
    int recordLine = 1;
    int quoteLine = 1;
    QString field;
    CsvRecord record;
    auto endField = [&] {
        record.fields << field;
        field.clear();
    };
    auto endRecord = [&] {
        endField();
        // A line with nothing on it is no record.
        if (record.fields.size() > 1 || !record.fields.first().isEmpty()) {
            record.line = recordLine;
            table.records.push_back(std::move(record));
        }
        record = CsvRecord{};
    };

    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        const bool lineEnd = c == u'\n' || c == u'\r';
        // CRLF is one line end.
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n' && state != State::Quoted)
            continue;
        switch (state) {
        case State::FieldStart:
        case State::Unquoted:
            if (c == delimiter) {
                endField();
                state = State::FieldStart;
            } else if (lineEnd) {
                endRecord();
                ++line;
                recordLine = line;
                state = State::FieldStart;
            } else if (c == u'"' && state == State::FieldStart) {
                state = State::Quoted;
                quoteLine = line;
            } else {
                field += c;
                state = State::Unquoted;
            }
            break;
        case State::Quoted:
            if (c == u'"')
                state = State::QuoteInQuoted;
            else
                field += c;
            if (c == u'\n' || (c == u'\r' && (i + 1 >= size || text[i + 1] != u'\n')))
                ++line;
            break;
        case State::QuoteInQuoted:
            if (c == u'"') {
                field += c;
                state = State::Quoted;
            } else if (c == delimiter) {
                endField();
                state = State::FieldStart;
            } else if (lineEnd) {
                endRecord();
                ++line;
                recordLine = line;
                state = State::FieldStart;
            } else {
                return lineError(line, QStringLiteral("text after the closing quote of a field."));
            }
            break;
        }
        if (field.size() > kCsvMaxField)
            return lineError(
                line, QStringLiteral("a field longer than %1 characters.").arg(kCsvMaxField));
    }
    if (state == State::Quoted)
        return lineError(quoteLine, QStringLiteral("a quoted field is never closed."));
    if (state != State::FieldStart || !field.isEmpty() || !record.fields.isEmpty())
        endRecord();
    return table;
}

QByteArray csvLine(const QStringList& fields, QChar delimiter)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += delimiter;
        const QString& field = fields[i];
        const bool needsQuotes = field.contains(delimiter) || field.contains(u'"') ||
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
    return cell.startsWith(u'\'') ? cell.mid(1) : cell;
}

} // namespace halcyra

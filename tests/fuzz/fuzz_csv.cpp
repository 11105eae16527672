// libFuzzer harness for the CSV reader: any bytes must give records or a clear refusal, never
// a crash, a hang or a sanitizer report; what it reads must read back the same after writing.

#include "records/Csv.h"

#include <cstdint>
#include <cstdlib>

using namespace halcyra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Result<CsvTable> table = parseCsv(bytes);
    if (!table) {
        if (table.error().isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    // As the export writes it: a byte order mark first, so a field's own one stays.
    QByteArray written = QByteArrayLiteral("\xEF\xBB\xBF");
    for (const CsvRecord& record : table->records) {
        if (record.fields.isEmpty())
            std::abort();
        written += csvLine(record.fields, table->delimiter);
        for (const QString& field : record.fields)
            if (fromSpreadsheetSafe(spreadsheetSafe(field)) != field)
                std::abort();
    }
    // A first record of one field gives no clue; the guess is then the comma, so only a comma
    // file can come back the same. (An export always starts with its many-column header.)
    if (!table->records.empty() && table->records.front().fields.size() == 1 &&
        table->delimiter != u',')
        return 0;
    const Result<CsvTable> again = parseCsv(written);
    if (!again)
        std::abort();
    if (again->delimiter != table->delimiter)
        std::abort();
    if (again->records.size() != table->records.size())
        std::abort();
    for (size_t i = 0; i < table->records.size(); ++i)
        if (again->records[i].fields != table->records[i].fields)
            std::abort();
    return 0;
}

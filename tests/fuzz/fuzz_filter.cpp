// The client list's filter and sort parser on any text: no crash, and what it accepts becomes
// SQL whose every literal is a bound value, never text of the adviser's spliced into it.

#include "records/FilterExpression.h"

#include <cstdint>
#include <cstdlib>

using namespace halcyra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const Result<FilterExpression> filter = parseFilter(text)) {
        const SqlFragment where = whereCondition(*filter);
        // The one quote of our own: the escape character of Like patterns.
        QString sql = where.sql;
        sql.remove(QStringLiteral(" ESCAPE '\\'"));
        if (sql.count(u'?') != where.values.size() || sql.contains(u'\'') || sql.contains(u';'))
            std::abort();
    } else if (filter.error().isEmpty()) {
        std::abort(); // a refusal always says why
    }
    if (const Result<SortOrder> order = parseSort(text)) {
        const QString sql = orderByList(*order);
        if (sql.contains(u'\'') || sql.contains(u';') || sql.contains(u'?'))
            std::abort();
    } else if (order.error().isEmpty()) {
        std::abort();
    }
    return 0;
}

#pragma once

#include "core/Result.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <optional>
#include <vector>

class QSqlDatabase;

namespace halcyra {

// Filter and sort texts of the client list, in the words advisers know from desktop databases:
//   [LastName] Like 'Sm*' And Not (City = "Boston" Or Age > 60)
//   Date Between #1/1/2026# And #3/31/2026#      State In ('CA', 'NV')      Phone Is Null
//   [LastName] desc, FirstName
// A text is parsed into a small tree; the query is built from the tree with bound values, so
// nothing the adviser types ever runs as SQL. Keywords are case-blind; column names are those
// of the client list, plain or in brackets ("[ckYesNo( 2)]" needs the brackets).

struct FilterNode
{
    enum class Kind { And, Or, Not, Compare, Like, Between, In, IsNull };
    Kind kind = Kind::Compare;
    int column = -1;                  // Compare, Like, Between, In, IsNull
    QString op;                       // Compare: =, <>, <, >, <=, >=
    bool negated = false;             // Not Like, Not Between, Not In, Is Not Null
    QVariantList values;              // literals: QString, double, QDate
    std::vector<FilterNode> children; // And, Or (two or more), Not (one)
};

struct FilterExpression
{
    QString text;                   // as the adviser typed it
    std::optional<FilterNode> root; // none: every record
};

struct SortKey
{
    int column = 0;
    bool descending = false;
};

struct SortOrder
{
    QString text;
    std::vector<SortKey> keys; // none: by record number
};

// What the client list shows: a filter and an order, both parsed.
struct RecordQuery
{
    FilterExpression filter;
    SortOrder sort;
};

// Parses a filter text; an empty text selects every record. A text that is not understood gives
// a message saying what was not understood and where.
Result<FilterExpression> parseFilter(const QString& text);

// Parses a sort text: column names, each with an optional Asc or Desc, separated by commas.
Result<SortOrder> parseSort(const QString& text);

// The column of a client-list column name (case-blind), or -1.
int listColumnByName(const QString& name);

// Query pieces built from a parsed text: SQL with "?" marks and the values bound to them.
struct SqlFragment
{
    QString sql;
    QVariantList values;
};
// The WHERE condition (empty sql for every record).
SqlFragment whereCondition(const FilterExpression& filter);
// The ORDER BY list; ends with the record number, so equal keys keep a fixed order.
QString orderByList(const SortOrder& order);

// Registers the functions the built queries use (dates stored as text compare as dates) on an
// open SQLite connection.
Status registerListFunctions(const QSqlDatabase& db);

} // namespace halcyra

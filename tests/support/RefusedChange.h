#pragma once

#include <QString>

namespace halcyra::test {

// The text of the database error that refuseValueSql makes a write end with.
inline const QString kRefusedChangeText = QStringLiteral("malformed JSON");

// A statement after which every write that gives `column` of `table` the `value` fails inside
// SQLite, as a full disk or a locked file would make it fail. It is an index, not a trigger: the
// program refuses to open a database that carries triggers of someone else's. Drop it again with
// "DROP INDEX refuse".
inline QString refuseValueSql(const QString& table, const QString& column, const QString& value)
{
    return QStringLiteral("CREATE INDEX refuse ON \"%1\" (json(CASE WHEN \"%2\" = '%3' THEN "
                          "'refused' ELSE '{}' END))")
        .arg(table, column, value);
}

} // namespace halcyra::test

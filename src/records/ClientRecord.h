#pragma once

#include <QString>
#include <QVariant>
#include <array>

namespace halcyra {

// The columns of a client record, in table order: "CustomerID", the eighteen client details,
// the score columns "Field1" to "Field42" and the five yes/no columns "ckYesNo( 0)" to
// "ckYesNo( 4)" (with the blank after the parenthesis).
namespace columns {
inline constexpr int kCustomerId = 0;
inline constexpr int kFirstDetail = 1;  // txtFields(1), "LastName"
inline constexpr int kDetailCount = 19; // txtFields(0..18), CustomerID included
inline constexpr int kScoreCount = 42;
inline constexpr int kYesNoCount = 5;
inline constexpr int kCount = kDetailCount + kScoreCount + kYesNoCount;

// Column of the detail box txtFields(index), index 0..18.
constexpr int detail(int index)
{
    return index;
}
// Column of the score box txtScore(n), n 1..42.
constexpr int score(int n)
{
    return kDetailCount + n - 1;
}
// Column of the yes/no box ckYesNo(i), i 0..4.
constexpr int yesNo(int i)
{
    return kDetailCount + kScoreCount + i;
}

QString name(int column);
} // namespace columns

// One client record as the main window edits it: the stored value of every column. Scores
// keep the text typed when it is not a plain number.
struct ClientRecord
{
    std::array<QVariant, columns::kCount> values;

    QString text(int column) const { return values[static_cast<size_t>(column)].toString(); }
    void setText(int column, const QString& text) { values[static_cast<size_t>(column)] = text; }
    qint64 customerId() const { return values[columns::kCustomerId].toLongLong(); }
    bool yesNo(int i) const { return values[static_cast<size_t>(columns::yesNo(i))].toInt() != 0; }
    void setYesNo(int i, bool yes) { values[static_cast<size_t>(columns::yesNo(i))] = yes ? 1 : 0; }
    QString score(int n) const { return text(columns::score(n)); }
    void setScore(int n, const QString& value) { setText(columns::score(n), value); }

    bool operator==(const ClientRecord& other) const = default;
};

} // namespace halcyra

#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace halcyra {

// The numbered text catalogue: every fixed text and reference value of the program, read by
// a 16-bit id. Numbers are stored as text and read with leadingNumber().
//
// Source files (resources/catalogue/*.txt) hold one entry per line:
//     # a comment
//     1501 = 01. Vitamin A
//     1513 = " "
//     4011 = The first words of a long paragraph
//          + and its continuation, joined with one blank.
// Values are trimmed; a value wrapped in double quotes keeps its blanks exactly and loses only
// the quotes. A line starting with blanks and "+" continues the entry above.
class Catalogue
{
public:
    // The catalogue built into the program. Loaded once per call: keep the result.
    static Catalogue builtIn();

    // Reads every "*.txt" file of `folder` (a Qt resource path or a real folder) in name
    // order. Problems are added to `errors` (file, line, what is wrong).
    static Catalogue fromFolder(const QString& folder, QStringList* errors);

    // Adds the entries of one source file; returns false when a line could not be used.
    bool addSource(const QString& sourceName, QStringView content, QStringList* errors);

    // The text of `id`, or an empty text when the catalogue has no such entry.
    QString LoadResString(int id) const;
    bool contains(int id) const { return m_texts.contains(id); }

    // A section's count: the leading number of its count entry.
    int count(int countId) const;

    // Every id, ascending.
    std::vector<int> ids() const;
    qsizetype size() const { return m_texts.size(); }

private:
    QHash<int, QString> m_texts;
};

} // namespace halcyra

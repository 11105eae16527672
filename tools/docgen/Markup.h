#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace halcyra::docgen {

// One block of a document source. The markup (described in resources/documents/README.md):
//     % comment             # Title        ## Section        ### Sub-section
//     a paragraph's lines, ended by a blank line
//     - a bullet item (indented lines continue it)
//     | a | table | row |   (the first row of a table is its heading)
//     > a note, set apart from the text
//     @directive arguments  (content generated from the catalogue)
struct Block
{
    // Reference: cells hold the number, the title and the citation of one numbered reference.
    enum class Kind { Heading, Paragraph, Bullet, TableRow, Note, Reference, Directive, PageBreak };
    Kind kind = Kind::Paragraph;
    int level = 0;        // heading level 1..3
    QString text;         // heading, paragraph, bullet or note text; directive name
    QStringList cells;    // table cells; directive arguments
    bool literal = false; // text from the catalogue: no inline markup
    bool firstInTable = false;
    int sourceLine = 0;
};

// Splits a document source into blocks. Problems (a directive without a name) go to
// `errors`.
std::vector<Block> parseMarkup(const QString& source, QStringList* errors);

// One run of text with its emphasis, from the inline markup "**bold**" and "*italic*";
// "\*" stands for an asterisk.
struct TextRun
{
    QString text;
    bool bold = false;
    bool italic = false;
};
std::vector<TextRun> parseInline(const QString& text);

} // namespace halcyra::docgen

#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

namespace halcyra::docgen {

// One flyer of a flyer book: the PDF file it becomes, the template that lays it out and the
// texts that fill the template.
struct FlyerSource
{
    QString fileName;
    QString templateName;
    QMap<QString, QString> fields;
    QString origin; // "book.txt:12", for messages
};

// A flyer book holds several flyers:
//     template: flyer            (before the first flyer: the book's default template)
//     === Alfalfa.pdf
//     supplement: 1
//     what: The first line of a field,
//       and its indented continuation.
// Continuation lines lose two blanks of indentation and keep their line breaks, so a field
// may hold bullets or several paragraphs.
std::vector<FlyerSource> parseFlyerBook(const QString& origin, const QString& text,
                                        QStringList* errors);

// Fills "{key}" placeholders. A placeholder alone on its line takes the field's lines; inside
// a line it takes the field as one line. "{key?}" may be missing: a line holding only it is
// dropped. A missing required field is an error.
QString fillTemplate(const QString& templateText, const QMap<QString, QString>& fields,
                     QStringList* errors);

// The file names of the flyers that are deliberately not supplied yet, one a line.
QStringList parseNameList(const QString& text);

} // namespace halcyra::docgen

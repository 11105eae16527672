#pragma once

#include <QPdfDocument>
#include <QString>
#include <QStringList>

namespace halcyra::test {

// The text of each page of a PDF file, as Qt PDF extracts it; none when it cannot be read.
inline QStringList pdfPageTexts(const QString& path)
{
    QPdfDocument pdf;
    if (pdf.load(path) != QPdfDocument::Error::None)
        return {};
    QStringList pages;
    for (int page = 0; page < pdf.pageCount(); ++page)
        pages << pdf.getAllText(page).text();
    return pages;
}

// The text of all its pages in one.
inline QString pdfText(const QString& path)
{
    return pdfPageTexts(path).join(QString());
}

} // namespace halcyra::test

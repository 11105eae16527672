#pragma once

#include "core/Result.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

class QPdfDocument;

namespace halcyra {

class PageWriter;
class SettingsStore;

// Daily intake sheets, n = 1..5: the four phase sheets "P1.PDF" to "P4.PDF" and the
// selection guidelines "NSG.PDF"; empty for any other n.
QString dailySheetFile(int n);
// The sheets chosen in the options ("Check2(n)" is 1), in order.
QStringList chosenDailySheets(const SettingsStore& settings);

// The fixed PDF documents that live in the program folder ("Intro.pdf", "References.pdf",
// "P1.pdf" ...), printed into a report by rendering each page at the output's resolution.
// Documents and their rendered pages are kept, so a batch of reports renders each page once.
class FixedDocuments
{
public:
    explicit FixedDocuments(QString folder);
    ~FixedDocuments();
    FixedDocuments(const FixedDocuments&) = delete;
    FixedDocuments& operator=(const FixedDocuments&) = delete;

    const QString& folder() const { return m_folder; }

    // The path of the file of that name in the folder, whatever the letter case of either;
    // empty when there is none.
    QString locate(const QString& fileName) const;

    // Prints every page of the document, each on a page of its own, starting on a new page.
    // Fails when the file is missing or cannot be read; nothing is printed then.
    Status print(const QString& fileName, PageWriter& writer);

private:
    struct Document
    {
        QString path;
        std::unique_ptr<QPdfDocument> pdf;
        std::vector<QImage> pages; // rendered, at the size last asked for
    };
    Result<Document*> open(const QString& fileName);

    QString m_folder;
    std::map<QString, Document> m_documents; // by lower-case file name
};

} // namespace halcyra

#pragma once

#include "reports/PrintedReport.h"

#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

namespace halcyra {

// A report written as a PDF file: US Letter with a printable area a quarter inch in from each
// edge, as a printer has it.
struct ReportPdfOptions
{
    QString title;
    // Fixed documents are put in as page images of this resolution: sharp on paper and on
    // screen, and small enough for a batch of files.
    int documentDpi = 150;
};

struct ReportPdfResult
{
    bool written = false;
    int pages = 0;
    QStringList problems; // sections that could not be printed in full (the rest is written)
    QString error;        // why nothing was written
};

// Prints the sections (1..10, in the given order) of one client's report into `device`.
ReportPdfResult writeReportPdf(QIODevice& device, const PrintedReport::Inputs& inputs,
                               const QList<int>& sections, FixedDocuments& documents,
                               const ReportPdfOptions& options = {});

// The same into a file, written whole or not at all: an existing file is replaced only by a
// complete report.
ReportPdfResult writeReportPdf(const QString& path, const PrintedReport::Inputs& inputs,
                               const QList<int>& sections, FixedDocuments& documents,
                               const ReportPdfOptions& options = {});

} // namespace halcyra

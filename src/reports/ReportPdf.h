#pragma once

#include "core/Result.h"
#include "reports/PrintedReport.h"

#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <optional>

class QIODevice;

namespace halcyra {

// The report's margin on every side of the paper, in inches: clear of any printer's
// unprintable edge.
inline constexpr double kReportMarginInches = 0.5;

// Whether the report's layout fits the paper and margins of `layout`: the narrowest and
// shortest printable area it is laid out for. Refused with the reason, before anything prints.
Status checkReportFitsPaper(const QPageLayout& layout);
// The page layout of a report on `paper`: portrait, with the report's margins.
QPageLayout reportPageLayout(const QPageSize& paper);

// "letter" or "a4" (any case); nothing for another name.
std::optional<QPageSize::PageSizeId> reportPaperFromName(const QString& name);
// The system's paper: the first word of `papersizeFile` (as /etc/papersize holds it) when it
// names Letter or A4, otherwise the locale's measurement system: US (imperial) Letter, else A4.
QPageSize::PageSizeId
systemReportPaper(const QString& papersizeFile = QStringLiteral("/etc/papersize"));

// A report written as a PDF file; the fixed documents go in as their own pages.
struct ReportPdfOptions
{
    QString title;
    QPageSize::PageSizeId paper = QPageSize::Letter;
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

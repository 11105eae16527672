#pragma once

#include "core/Result.h"
#include "reports/PrintedReport.h"
#include "reports/ReportAssembly.h"

#include <QByteArray>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class QBuffer;
class QIODevice;
class QPagedPaintDevice;
class QPdfWriter;

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

// One report as a PDF in memory, the same for a file and for a print queue that takes PDF:
// its pages are printed on device() with the fixed documents as placeholders, and finish()
// puts the documents' own pages in, so that their text stays text.
class ReportPdfJob
{
public:
    ReportPdfJob(const QPageLayout& layout, const QString& title);
    ~ReportPdfJob();
    ReportPdfJob(const ReportPdfJob&) = delete;
    ReportPdfJob& operator=(const ReportPdfJob&) = delete;

    QPagedPaintDevice& device();
    // After the writer's document has ended: the finished PDF. The job is spent afterwards.
    Result<QByteArray> finish(const std::vector<PlacedDocumentPage>& placed);

private:
    std::unique_ptr<QBuffer> m_buffer;
    std::unique_ptr<QPdfWriter> m_pdf;
};

// A report written as a PDF file; the fixed documents go in as their own pages.
struct ReportPdfOptions
{
    QString title;
    QPageSize::PageSizeId paper = QPageSize::Letter;
};

// A report that was written.
struct ReportPdfWritten
{
    int pages = 0;
    QStringList problems; // sections that could not be printed in full (the rest is written)
};

// Prints the sections (1..10, in the given order) of one client's report into `device`. When
// nothing is written, the failure's text has a line for each section that could not be printed
// and, last, the line that says why nothing was written.
Result<ReportPdfWritten> writeReportPdf(QIODevice& device, const PrintedReport::Inputs& inputs,
                                        const QList<int>& sections, FixedDocuments& documents,
                                        const ReportPdfOptions& options = {});

// The same into a file, written whole or not at all: an existing file is replaced only by a
// complete report.
Result<ReportPdfWritten> writeReportPdf(const QString& path, const PrintedReport::Inputs& inputs,
                                        const QList<int>& sections, FixedDocuments& documents,
                                        const ReportPdfOptions& options = {});

} // namespace halcyra

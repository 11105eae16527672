#include "reports/ReportPdf.h"

#include "core/OutputFile.h"
#include "reports/PainterPageWriter.h"

#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace halcyra {
namespace {

constexpr int kResolution = 600;
constexpr double kMarginInches = 0.25;

} // namespace

ReportPdfResult writeReportPdf(QIODevice& device, const PrintedReport::Inputs& inputs,
                               const QList<int>& sections, FixedDocuments& documents,
                               const ReportPdfOptions& options)
{
    ReportPdfResult result;
    QPdfWriter pdf(&device);
    pdf.setResolution(kResolution);
    pdf.setPageLayout(QPageLayout(
        QPageSize(QPageSize::Letter), QPageLayout::Portrait,
        QMarginsF(kMarginInches, kMarginInches, kMarginInches, kMarginInches), QPageLayout::Inch));
    pdf.setTitle(options.title);
    pdf.setCreator(QStringLiteral("Halcyra"));

    PainterPageWriter writer(pdf, options.documentDpi);
    PrintedReport report(inputs, documents, writer);
    bool first = true;
    for (int section : sections) {
        report.PrintDocument(first, section);
        first = false;
    }
    result.pages = writer.pagesBegun();
    report.EndDoc();
    result.problems = report.problems();
    if (writer.deviceFailed())
        result.error = QStringLiteral("the PDF could not be started");
    else if (result.pages == 0)
        result.error = QStringLiteral("nothing was printed");
    result.written = result.error.isEmpty();
    return result;
}

ReportPdfResult writeReportPdf(const QString& path, const PrintedReport::Inputs& inputs,
                               const QList<int>& sections, FixedDocuments& documents,
                               const ReportPdfOptions& options)
{
    // Refused before the work of printing, which can take a while.
    if (Status allowed = checkOutputPath(path); !allowed) {
        ReportPdfResult result;
        result.error = allowed.error();
        return result;
    }
    // The PDF writer does not notice a short write, so the report is built in memory and
    // written by a path that does.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ReportPdfResult result = writeReportPdf(buffer, inputs, sections, documents, options);
    if (!result.written)
        return result;
    if (Status saved = writeFileWhole(path, buffer.data()); !saved) {
        result.written = false;
        result.error = saved.error();
    }
    return result;
}

} // namespace halcyra

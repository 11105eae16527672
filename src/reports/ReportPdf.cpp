#include "reports/ReportPdf.h"

#include "reports/PainterPageWriter.h"

#include <QDir>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        ReportPdfResult result;
        result.error = QStringLiteral("%1 cannot be written: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    ReportPdfResult result = writeReportPdf(file, inputs, sections, documents, options);
    if (!result.written) {
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.written = false;
        result.error = QStringLiteral("%1 cannot be written: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString());
    }
    return result;
}

} // namespace halcyra

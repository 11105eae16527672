#include "reports/ReportPdf.h"

#include "core/OutputFile.h"
#include "reports/PainterPageWriter.h"
#include "reports/ReportAssembly.h"

#include <QBuffer>
#include <QFile>
#include <QLocale>
#include <QMarginsF>
#include <QPdfWriter>
#include <algorithm>

namespace halcyra {
namespace {

constexpr int kResolution = 600;
// The printable area the pages are laid out for: the Summary's and the guide's columns and the
// cover's blocks need this width, the page's blocks and a few lines of text this height.
constexpr double kNarrowestInches = 7.0;
constexpr double kShortestInches = 9.5;

} // namespace

Status checkReportFitsPaper(const QPageLayout& layout)
{
    const QSizeF paper = layout.fullRectPoints().size() / 72.0;
    const QMarginsF margins = layout.margins(QPageLayout::Inch);
    auto atLeast = [](double margin) { return std::max(margin, kReportMarginInches); };
    const double width = paper.width() - atLeast(margins.left()) - atLeast(margins.right());
    const double height = paper.height() - atLeast(margins.top()) - atLeast(margins.bottom());
    if (width + 1e-6 >= kNarrowestInches && height + 1e-6 >= kShortestInches)
        return {};
    const QString name = layout.pageSize().name();
    return fail(QStringLiteral("The report does not fit on %1 paper%2: it needs a printable area "
                               "of at least %3 by %4 inches inside its margins, and this paper "
                               "gives %5 by %6. Choose Letter or A4 paper in portrait.")
                    .arg(name.isEmpty() ? QStringLiteral("this") : name,
                         layout.orientation() == QPageLayout::Landscape
                             ? QStringLiteral(" in landscape")
                             : QString())
                    .arg(kNarrowestInches, 0, 'f', 1)
                    .arg(kShortestInches, 0, 'f', 1)
                    .arg(std::max(width, 0.0), 0, 'f', 2)
                    .arg(std::max(height, 0.0), 0, 'f', 2));
}

QPageLayout reportPageLayout(const QPageSize& paper)
{
    return QPageLayout(paper, QPageLayout::Portrait,
                       QMarginsF(kReportMarginInches, kReportMarginInches, kReportMarginInches,
                                 kReportMarginInches),
                       QPageLayout::Inch);
}

std::optional<QPageSize::PageSizeId> reportPaperFromName(const QString& name)
{
    const QString lower = name.trimmed().toLower();
    if (lower == u"letter")
        return QPageSize::Letter;
    if (lower == u"a4")
        return QPageSize::A4;
    return std::nullopt;
}

QPageSize::PageSizeId systemReportPaper(const QString& papersizeFile)
{
    QFile file(papersizeFile);
    if (file.open(QIODevice::ReadOnly)) {
        // The first line that is not a comment.
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QString word = QString::fromLatin1(line).section(u'#', 0, 0).trimmed();
            if (word.isEmpty())
                continue;
            if (const auto paper = reportPaperFromName(word))
                return *paper;
            break;
        }
    }
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                              : QPageSize::A4;
}

ReportPdfJob::ReportPdfJob(const QPageLayout& layout, const QString& title)
    : m_buffer(std::make_unique<QBuffer>())
{
    m_buffer->open(QIODevice::WriteOnly);
    m_pdf = std::make_unique<QPdfWriter>(m_buffer.get());
    m_pdf->setResolution(kResolution);
    m_pdf->setPageLayout(layout);
    m_pdf->setTitle(title);
    m_pdf->setCreator(QStringLiteral("Halcyra"));
}

ReportPdfJob::~ReportPdfJob() = default;

QPagedPaintDevice& ReportPdfJob::device()
{
    return *m_pdf;
}

Result<QByteArray> ReportPdfJob::finish(const std::vector<PlacedDocumentPage>& placed)
{
    // The writer completes its file when it is let go.
    m_pdf.reset();
    const QByteArray generated = m_buffer->data();
    m_buffer.reset();
    if (generated.isEmpty())
        return fail(QStringLiteral("nothing was printed"));
    return assembleReportPdf(generated, placed);
}

Result<ReportPdfWritten> writeReportPdf(QIODevice& device, const PrintedReport::Inputs& inputs,
                                        const QList<int>& sections, FixedDocuments& documents,
                                        const ReportPdfOptions& options)
{
    const QPageLayout layout = reportPageLayout(QPageSize(options.paper));
    if (Status fits = checkReportFitsPaper(layout); !fits)
        return fail(fits.error());
    ReportPdfWritten result;
    // Why nothing was written, after the sections that could not be printed.
    auto failed = [&result](const QString& error) {
        return fail((QStringList(result.problems) << error).join(u'\n'));
    };
    QString error;
    // The generated pages first, with a placeholder for each page of a fixed document.
    ReportPdfJob job(layout, options.title);
    std::vector<PlacedDocumentPage> placed;
    {
        PainterPageWriter writer(job.device());
        writer.setPlaceDocumentPages(true);
        PrintedReport report(inputs, documents, writer);
        bool first = true;
        for (int section : sections) {
            report.PrintDocument(first, section);
            first = false;
        }
        report.endDoc();
        result.pages = writer.pagesBegun();
        result.problems = report.problems();
        placed = writer.placedPages();
        if (writer.deviceFailed())
            error = QStringLiteral("the PDF could not be started");
        else if (result.pages == 0)
            error = QStringLiteral("nothing was printed");
    }
    if (!error.isEmpty())
        return failed(error);
    const Result<QByteArray> assembled = job.finish(placed);
    if (!assembled)
        return failed(assembled.error());
    if (device.write(*assembled) != assembled->size())
        return failed(device.errorString());
    return result;
}

Result<ReportPdfWritten> writeReportPdf(const QString& path, const PrintedReport::Inputs& inputs,
                                        const QList<int>& sections, FixedDocuments& documents,
                                        const ReportPdfOptions& options)
{
    // Refused before the work of printing, which can take a while.
    if (Status allowed = checkOutputPath(path); !allowed)
        return fail(allowed.error());
    // The PDF writer does not notice a short write, so the report is built in memory and
    // written by a path that does.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Result<ReportPdfWritten> result = writeReportPdf(buffer, inputs, sections, documents, options);
    if (!result)
        return result;
    if (Status saved = writeFileWhole(path, buffer.data()); !saved)
        return fail((QStringList(result->problems) << saved.error()).join(u'\n'));
    return result;
}

} // namespace halcyra

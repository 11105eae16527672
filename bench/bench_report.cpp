// One client's full printed report (cover page and introduction, Summary, Analysis, Supplement
// Guide, references) written as PDF, beside the same text lines drawn by a bare QPainter into
// a QPdfWriter: the least time this machine needs for the pages' text. Prints both medians, their
// ratio and the file size, on Letter and on A4. The batch of 1,000 clients is measured with
// `time halcyra-cli report --all` (see scripts/sample-report).

#include "core/Catalogue.h"
#include "records/DemoClients.h"
#include "reports/PainterPageWriter.h"
#include "reports/PrintedReport.h"
#include "reports/ProfileFromRecord.h"
#include "reports/ReferenceTables.h"
#include "reports/ReportDocuments.h"
#include "reports/ReportPdf.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace halcyra;

namespace {

constexpr int kResolution = 600;
constexpr int kRuns = 40;

struct Fixture
{
    Catalogue catalogue = Catalogue::builtIn();
    ReferenceTables tables = ReferenceTables::fromCatalogue(catalogue);
    CompanyInfo company{};

    Fixture()
    {
        const auto info = demoCompanyInfo();
        std::copy(info.begin(), info.end(), company.begin());
    }

    PrintedReport::Inputs inputs(int client) const
    {
        const ClientRecord record = makeDemoClient(1, client);
        return {catalogue,
                tables,
                profileInputFromRecord(record),
                clientDetailsFromRecord(record),
                company,
                HeaderOptions{}};
    }
};

// The report's text lines as the report lays them out, with the measure of the PDF device.
class LineRecorder final : public PageWriter
{
public:
    struct Line
    {
        int page;
        double x;
        double y;
        QString text;
        PrintFont font;
    };

    LineRecorder(const TextMeasure& measure, QSizeF printable)
        : PageWriter(measure), m_printable(printable)
    {}
    QSizeF printableSize() const override { return m_printable; }
    QSize pageImageSize(QSizeF) const override { return {}; }
    bool placeDocumentPage(const QString&, int) override
    {
        reservePage();
        return true;
    }
    std::vector<Line> lines;

protected:
    void drawText(double x, double top, const QString& text, const PrintFont& font) override
    {
        lines.push_back({pagesBegun(), x, top, text, font});
    }
    void drawImage(const QRectF&, const QImage&) override {}
    void beginDocument() override {}
    void beginNextPage() override {}
    void endDocument() override {}

private:
    QSizeF m_printable;
};

qint64 bareLines(const std::vector<LineRecorder::Line>& lines, const QPageLayout& layout)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(kResolution);
    pdf.setPageLayout(layout);
    QPainter painter(&pdf);
    int page = 1;
    PrintFont current;
    bool fontSet = false;
    QFont font;
    double ascent = 0;
    for (const LineRecorder::Line& line : lines) {
        for (; page < line.page; ++page)
            pdf.newPage();
        if (!fontSet || !(current == line.font)) {
            font = DeviceTextMeasure::qfont(line.font);
            painter.setFont(font);
            ascent = QFontMetricsF(font, &pdf).ascent();
            current = line.font;
            fontSet = true;
        }
        painter.drawText(QPointF(line.x * kResolution, line.y * kResolution + ascent), line.text);
    }
    painter.end();
    return buffer.size();
}

// The CPU time of this thread, in milliseconds: on a shared machine, what the work itself took.
double cpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void measurePaper(const Fixture& fixture, QPageSize::PageSizeId paper, const char* name)
{
    FixedDocuments documents(QStringLiteral(HALCYRA_DOCUMENTS_DIR));
    const QList<int> sections = {1, 2, 3, 4, 5};
    const QPageLayout layout = reportPageLayout(QPageSize(paper));
    ReportPdfOptions options;
    options.paper = paper;

    // The lines of the same client's report, recorded once.
    QBuffer probe;
    probe.open(QIODevice::WriteOnly);
    QPdfWriter device(&probe);
    device.setResolution(kResolution);
    device.setPageLayout(layout);
    const DeviceTextMeasure measure(device);
    const int client = 7;
    LineRecorder recorder(measure, layout.paintRect(QPageLayout::Inch).size());
    {
        PrintedReport report(fixture.inputs(client), documents, recorder);
        for (int section : sections)
            report.PrintDocument(section == 1, section);
        report.endDoc();
    }

    std::vector<double> bare;
    std::vector<double> full;
    std::vector<double> bareCpu;
    std::vector<double> fullCpu;
    qint64 bareBytes = 0;
    qint64 fullBytes = 0;
    int pages = 0;
    for (int run = -3; run < kRuns; ++run) { // three warm-up runs
        QElapsedTimer timer;
        timer.start();
        double cpu = cpuMilliseconds();
        bareBytes = bareLines(recorder.lines, layout);
        const double bareMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        const double bareCpuMs = cpuMilliseconds() - cpu;

        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        timer.restart();
        cpu = cpuMilliseconds();
        const Result<ReportPdfWritten> result =
            writeReportPdf(buffer, fixture.inputs(client), sections, documents, options);
        const double fullMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        const double fullCpuMs = cpuMilliseconds() - cpu;
        if (!result) {
            std::fprintf(stderr, "report not written: %s\n", qPrintable(result.error()));
            return;
        }
        fullBytes = buffer.size();
        pages = result->pages;
        if (run >= 0) {
            bare.push_back(bareMs);
            full.push_back(fullMs);
            bareCpu.push_back(bareCpuMs);
            fullCpu.push_back(fullCpuMs);
        }
    }
    std::printf("%-7s %zu lines, %d pages; bare QPainter %.1f KiB, full report %.1f KiB\n", name,
                recorder.lines.size(), pages, static_cast<double>(bareBytes) / 1024.0,
                static_cast<double>(fullBytes) / 1024.0);
    std::printf("        wall: bare %6.2f ms, full %6.2f ms, ratio %.2f\n", median(bare),
                median(full), median(full) / median(bare));
    std::printf("        cpu:  bare %6.2f ms, full %6.2f ms, ratio %.2f\n", median(bareCpu),
                median(fullCpu), median(fullCpu) / median(bareCpu));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const Fixture fixture;
    std::printf("Medians of %d runs, sections 1-5 with the fixed documents:\n", kRuns);
    measurePaper(fixture, QPageSize::Letter, "Letter");
    measurePaper(fixture, QPageSize::A4, "A4");
    return 0;
}

// The printed profile report written as PDF: one client's cover page, Summary, Analysis and
// Supplement Guide (without the fixed documents), and the same with the introduction and
// references rendered into the job. The batch of 1,000 clients is measured with
// `time halcyra-cli report --all` (see scripts/sample-report).

#include "core/Catalogue.h"
#include "records/DemoClients.h"
#include "reports/PrintedReport.h"
#include "reports/ProfileFromRecord.h"
#include "reports/ReferenceTables.h"
#include "reports/ReportDocuments.h"
#include "reports/ReportPdf.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace halcyra;

namespace {

struct Fixture
{
    Catalogue catalogue = Catalogue::builtIn();
    ReferenceTables tables = ReferenceTables::fromCatalogue(catalogue);
    QTemporaryDir noDocuments;
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

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

void writeReports(benchmark::State& state, const QString& documentsFolder,
                  const QList<int>& sections)
{
    FixedDocuments documents(documentsFolder);
    int client = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        const ReportPdfResult result =
            writeReportPdf(buffer, fixture().inputs(++client % 1000 + 1), sections, documents);
        if (!result.written)
            state.SkipWithError(qPrintable(result.error));
        bytes += buffer.size();
    }
    state.counters[QStringLiteral("KiB_per_report").toStdString()] =
        static_cast<double>(bytes) / 1024.0 / static_cast<double>(state.iterations());
}

void BM_ReportFourSections(benchmark::State& state)
{
    writeReports(state, fixture().noDocuments.path(), {1, 2, 3, 4});
}
BENCHMARK(BM_ReportFourSections)->Unit(benchmark::kMillisecond);

void BM_ReportWithDocuments(benchmark::State& state)
{
    writeReports(state, QStringLiteral(HALCYRA_DOCUMENTS_DIR), {1, 2, 3, 4, 5});
}
BENCHMARK(BM_ReportWithDocuments)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    fixture();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

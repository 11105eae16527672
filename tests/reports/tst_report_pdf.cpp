// Reports written as real PDF files and read back with Qt PDF: what the pages say, where the
// columns stand, the header options, page numbers and the fixed documents in the job.

#include "ReportTestInputs.h"
#include "core/ErrorReporter.h"
#include "records/DemoClients.h"
#include "reports/PageWriter.h"
#include "reports/PainterPageWriter.h"
#include "reports/ProfileFromRecord.h"
#include "reports/ReportAssembly.h"
#include "reports/ReportDocuments.h"
#include "reports/ReportPdf.h"
#include "support/PageInk.h"
#include "support/ScriptedPrompts.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

using namespace halcyra;
using halcyra::test::inkBox;
using halcyra::test::pageSeen;
using halcyra::test::ReportFixture;
using halcyra::test::ScriptedPrompts;

namespace {

QString documentsFolder()
{
    return QStringLiteral(HALCYRA_DOCUMENTS_DIR);
}

QString compact(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

// A rendering on white paper: the renderer leaves the paper transparent.
QImage onPaper(const QImage& rendering)
{
    QImage paper(rendering.size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.drawImage(0, 0, rendering);
    return paper;
}

// A written report, read back.
class ReadBack
{
public:
    explicit ReadBack(const QString& path) { m_ok = m_pdf.load(path) == QPdfDocument::Error::None; }

    bool ok() const { return m_ok; }
    int pages() { return m_pdf.pageCount(); }
    QString text(int page) { return m_pdf.getAllText(page).text(); }
    // The page whose text contains `needle`, -1 when none does.
    int pageWith(const QString& needle)
    {
        for (int page = 0; page < pages(); ++page)
            if (text(page).contains(needle))
                return page;
        return -1;
    }
    // Where the n-th occurrence of `needle` stands on the page, in points.
    QRectF where(int page, const QString& needle, int occurrence = 0)
    {
        const QString all = text(page);
        qsizetype at = -1;
        for (int i = 0; i <= occurrence; ++i) {
            at = all.indexOf(needle, at + 1);
            if (at < 0)
                return {};
        }
        return m_pdf
            .getSelectionAtIndex(page, static_cast<int>(at), static_cast<int>(needle.size()))
            .boundingRectangle();
    }
    // Where `token` stands on the text line that holds `lineNeedle`, in points.
    QRectF whereOnLine(int page, const QString& lineNeedle, const QString& token)
    {
        const QString all = text(page);
        const qsizetype needle = all.indexOf(lineNeedle);
        if (needle < 0)
            return {};
        const qsizetype lineStart =
            all.lastIndexOf(QRegularExpression(QStringLiteral("[\r\n]")), needle) + 1;
        const qsizetype at = all.indexOf(token, lineStart);
        if (at < 0 || at > needle)
            return {};
        return m_pdf.getSelectionAtIndex(page, static_cast<int>(at), static_cast<int>(token.size()))
            .boundingRectangle();
    }
    // The text line (as extracted) that holds `needle`.
    QString lineWith(int page, const QString& needle)
    {
        for (const QString& line : text(page).split(QRegularExpression(QStringLiteral("[\r\n]+"))))
            if (line.contains(needle))
                return line;
        return {};
    }
    QImage render(int page, QSize size) { return onPaper(m_pdf.render(page, size)); }

private:
    QPdfDocument m_pdf;
    bool m_ok = false;
};

} // namespace

class ReportPdfTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const ReportFixture& fixture, const QList<int>& sections,
                  const QString& folder = documentsFolder(),
                  std::optional<Result<ReportPdfWritten>>* result = nullptr,
                  QPageSize::PageSizeId paper = QPageSize::Letter)
    {
        static int count = 0;
        const QString path = m_dir.filePath(QStringLiteral("report%1.pdf").arg(++count));
        FixedDocuments documents(folder);
        ReportPdfOptions options;
        options.paper = paper;
        const Result<ReportPdfWritten> written =
            writeReportPdf(path, fixture.inputs(), sections, documents, options);
        if (result)
            result->emplace(written);
        return written ? path : QString();
    }

private slots:
    void summaryColumnsAndMarks()
    {
        ReportFixture fixture;
        fixture.setScores({{3, "5"}, {5, "4"}, {9, "24"}, {12, "3"}});
        ReadBack pdf(write(fixture, {section::kSummary}));
        QVERIFY(pdf.ok());
        QCOMPARE(pdf.pages(), 1);
        const QString text = pdf.text(0);
        QVERIFY2(text.contains(QStringLiteral("Halcyra - Summary")), qPrintable(text));

        // Row 12: High 2, NOT DETERMINED, score 3 with " SA", then the row's name.
        QVERIFY2(pdf.lineWith(0, QStringLiteral("Digestion 1"))
                     .contains(QRegularExpression(QStringLiteral("^\\s*2\\s+NOT DETERMINED\\s+"
                                                                 "3 SA\\s+12\\. Digestion 1"))),
                 qPrintable(pdf.lineWith(0, QStringLiteral("Digestion 1"))));
        QVERIFY(pdf.lineWith(0, QStringLiteral("05. Iron"))
                    .contains(QRegularExpression(QStringLiteral("4\\s+H\\s+05\\. Iron"))));
        QVERIFY(pdf.lineWith(0, QStringLiteral("03. Vitamin C")).contains(u"5 VH"));
        QVERIFY(!text.contains(u"101"));
        // Rows without a name have no line; rows past the Summary's count are not in it.
        QVERIFY(!text.contains(u"30.  NEED"));

        // One- and two-digit values end at the same place in each column.
        const QString vitaminA = QStringLiteral("01. Vitamin A");
        const QString total = QStringLiteral("09. Total Vitamin + Mineral");
        const QList<std::pair<QString, QString>> columns = {
            {QStringLiteral("3"), QStringLiteral("12")}, // High
            {QStringLiteral("7"), QStringLiteral("21")}, // Very High
            {QStringLiteral("0"), QStringLiteral("24")}, // score
        };
        double previous = 0;
        for (const auto& [one, two] : columns) {
            const QRectF a = pdf.whereOnLine(0, vitaminA, one);
            const QRectF b = pdf.whereOnLine(0, total, two);
            QVERIFY(a.isValid() && b.isValid());
            QVERIFY2(qAbs(a.right() - b.right()) < 0.5, qPrintable(one + u' ' + two));
            QVERIFY(a.left() > previous);
            previous = a.right();
        }
    }

    void analysisParagraphsChosenByTheEvaluation()
    {
        ReportFixture fixture;
        fixture.setScores({{3, "5"}, {5, "4"}, {10, "6"}});
        fixture.profile.age = QStringLiteral("45");
        fixture.profile.sex = QStringLiteral("M");
        fixture.profile.yesNo[kYesNoHighBloodPressure] = true;
        ReadBack pdf(write(fixture, {section::kAnalysis}));
        QVERIFY(pdf.ok());
        QString all;
        for (int page = 0; page < pdf.pages(); ++page)
            all += pdf.text(page);
        const QString text = compact(all);
        QVERIFY(text.contains(u"Halcyra-Analysis"));
        QVERIFY(text.contains(u"3.VITAMINC:VH"));
        QVERIFY(text.contains(u"5.IRON:H"));
        QVERIFY(text.contains(u"10.LIVER/GALLBLADDER:H"));
        QVERIFY(text.contains(u"19.MALEGLAND:---Precautionaryduetoage"));
        QVERIFY(text.contains(u"VITAMIN-EandHypertension"));
        QVERIFY(!text.contains(u"VITAMINA(BETA"));
        QVERIFY(!text.contains(u"39.VITAMIN-E:"));
        // The paragraphs' own texts, not only their titles.
        QVERIFY(text.contains(compact(fixture.catalogue.LoadResString(4051).left(60))));
        QVERIFY(text.contains(u"statementscontainedinthisAnalysis"));

        // Numbered pages, each after the first headed "Analysis".
        QVERIFY(pdf.pages() >= 2);
        for (int page = 0; page < pdf.pages(); ++page) {
            QVERIFY(pdf.text(page).contains(
                QStringLiteral("Page %1 of %2").arg(page + 1).arg(pdf.pages())));
            if (page > 0)
                QVERIFY(pdf.text(page).trimmed().startsWith(u"Analysis"));
        }
    }

    void supplementGuideLines()
    {
        ReportFixture fixture;
        fixture.setScores({{21, "6"}});
        fixture.profile.yesNo[kYesNoHighBloodPressure] = true;
        fixture.profile.yesNo[kYesNoReactiveHypoglycemia] = true;
        ReadBack pdf(write(fixture, {section::kSupplementGuide}));
        QVERIFY(pdf.ok());
        QCOMPARE(pdf.pages(), 1);
        const QString vitaminE = pdf.lineWith(0, QStringLiteral("Vitamin E"));
        QVERIFY2(vitaminE.contains(QRegularExpression(
                     QStringLiteral("Vitamin E\\s+1\\s+- High Blood Pressure\\s+\\d+ of 5"))),
                 qPrintable(vitaminE));
        const QString insulin = pdf.lineWith(0, QStringLiteral("Insulin Efficiency Enhancer"));
        QVERIFY2(insulin.contains(QRegularExpression(
                     QStringLiteral("Enhancer\\s+0\\s+- Reactive Hypoglycemia\\s+\\d+ of 2"))),
                 qPrintable(insulin));
        // Supplements with nothing to take are left out.
        QVERIFY(!pdf.text(0).contains(u"Alfalfa"));
        QVERIFY(pdf.text(0).contains(u"Ref. #"));
        QVERIFY(compact(pdf.text(0)).contains(u"******NOTE"));
    }

    void headerOptions_data()
    {
        QTest::addColumn<bool>("fax");
        QTest::addColumn<bool>("email");
        QTest::addColumn<QString>("faxNumber");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("line"); // empty: neither is printed

        const QString number = QStringLiteral("555-0143");
        const QString mail = QStringLiteral("dana@greenleaf.example");
        QTest::newRow("both") << true << true << number << mail
                              << QStringLiteral("Fax: 555-0143 - E-mail: dana@greenleaf.example");
        QTest::newRow("fax only") << true << false << number << mail
                                  << QStringLiteral("Fax: 555-0143");
        QTest::newRow("e-mail only")
            << false << true << number << mail << QStringLiteral("E-mail: dana@greenleaf.example");
        QTest::newRow("both, no fax number") << true << true << QString() << mail
                                             << QStringLiteral("E-mail: dana@greenleaf.example");
        QTest::newRow("both, no address")
            << true << true << number << QString() << QStringLiteral("Fax: 555-0143");
        QTest::newRow("neither") << false << false << number << mail << QString();
        QTest::newRow("fax only, no number") << true << false << QString() << mail << QString();
    }

    void headerOptions()
    {
        QFETCH(bool, fax);
        QFETCH(bool, email);
        QFETCH(QString, faxNumber);
        QFETCH(QString, address);
        QFETCH(QString, line);
        ReportFixture fixture;
        fixture.header.fax = fax;
        fixture.header.email = email;
        fixture.company[company::kFax] = faxNumber;
        fixture.company[company::kEmail] = address;
        ReadBack pdf(write(fixture, {section::kSummary}));
        QVERIFY(pdf.ok());
        const QString text = pdf.text(0);
        if (line.isEmpty()) {
            QVERIFY(!text.contains(u"Fax:"));
            QVERIFY(!text.contains(u"E-mail:"));
        } else {
            QCOMPARE(pdf.lineWith(0, line.left(4)).trimmed(), line);
            QCOMPARE(text.count(u"Fax:") + text.count(u"E-mail:"),
                     line.count(u"Fax:") + line.count(u"E-mail:"));
        }
        QVERIFY(text.contains(u"Provided By:"));
        QVERIFY(text.contains(u"Date: 3/14/2026"));
        QVERIFY(text.contains(u"Customized for:"));
        QVERIFY(text.contains(u"Elena Galloway"));
    }

    // The whole report on each paper: the fixed documents' pages are their own text, every page
    // is numbered over the report, nothing is a picture and no text comes near the edges.
    void fullReportOnPaper_data()
    {
        QTest::addColumn<int>("paper");
        QTest::newRow("Letter") << int(QPageSize::Letter);
        QTest::newRow("A4") << int(QPageSize::A4);
    }

    void fullReportOnPaper()
    {
        QFETCH(int, paper);
        const auto size = static_cast<QPageSize::PageSizeId>(paper);
        ReportFixture fixture;
        fixture.setScores({{3, "5"}, {5, "4"}, {10, "6"}, {21, "6"}});
        const QString path = write(fixture, {1, 2, 3, 4, 5}, documentsFolder(), nullptr, size);
        ReadBack pdf(path);
        QVERIFY(pdf.ok());

        // The parts: the cover, each generated section alone, the documents' own pages.
        QPdfDocument intro;
        QPdfDocument references;
        intro.load(QDir(documentsFolder()).filePath(QStringLiteral("Intro.pdf")));
        references.load(QDir(documentsFolder()).filePath(QStringLiteral("References.pdf")));
        int parts = 1 + intro.pageCount() + references.pageCount();
        for (int section : {2, 3, 4})
            parts += ReadBack(write(fixture, {section}, documentsFolder(), nullptr, size)).pages();
        QCOMPARE(pdf.pages(), parts);

        // What the pages say, the documents' pages as their own text and every page numbered
        // over the report, is kept whole for a demo client in tst_report_golden.

        QProcess images;
        images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path});
        QVERIFY(images.waitForFinished());
        QCOMPARE(images.readAllStandardOutput().trimmed().split('\n').size(), 2); // the heading

        // pdftotext -bbox: each word's box in points, from the top left.
        QProcess boxes;
        boxes.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-bbox"), path, QStringLiteral("-")});
        QVERIFY(boxes.waitForFinished());
        const QString html = QString::fromUtf8(boxes.readAllStandardOutput());
        static const QRegularExpression pageSize(
            QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\""));
        const auto found = pageSize.match(html);
        QVERIFY(found.hasMatch());
        const QSizeF points = QPageSize(size).size(QPageSize::Point);
        QVERIFY(qAbs(found.captured(1).toDouble() - points.width()) < 1);
        QVERIFY(qAbs(found.captured(2).toDouble() - points.height()) < 1);
        static const QRegularExpression word(
            QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                           "yMax=\"([\\d.]+)\">([^<]*)<"));
        const QRectF inside =
            QRectF(QPointF(36, 36), points - QSizeF(72, 72)).adjusted(-0.01, -0.01, 0.01, 0.01);
        int words = 0;
        for (auto it = word.globalMatch(html); it.hasNext(); ++words) {
            const auto box = it.next();
            const QRectF rect(QPointF(box.captured(1).toDouble(), box.captured(2).toDouble()),
                              QPointF(box.captured(3).toDouble(), box.captured(4).toDouble()));
            // Text set against the margin ends there, give or take the rounding of a point.
            QVERIFY2(inside.contains(rect), qPrintable(box.captured(0)));
        }
        QVERIFY(words > 1000);
    }

    // A printer that does not take PDF gets the documents' pages drawn, by the PDF engine that
    // also prints on a CUPS printer: at their natural size, where the report PDF puts them, not
    // shrunk into the report's margins.
    void documentPagesDrawnWhereThePdfPutsThem_data()
    {
        QTest::addColumn<int>("paper");
        QTest::newRow("Letter") << int(QPageSize::Letter);
        QTest::newRow("A4") << int(QPageSize::A4);
    }

    void documentPagesDrawnWhereThePdfPutsThem()
    {
        QFETCH(int, paper);
        const auto size = static_cast<QPageSize::PageSizeId>(paper);
        const QList<int> sections = {section::kCoverPage, section::kReferences};
        ReportFixture fixture;
        const QString placed = write(fixture, sections, documentsFolder(), nullptr, size);
        const QString drawn = m_dir.filePath(QStringLiteral("drawn-%1.pdf").arg(paper));
        {
            QPdfWriter pdf(drawn);
            pdf.setResolution(600);
            pdf.setPageLayout(reportPageLayout(QPageSize(size)));
            PainterPageWriter writer(pdf);
            FixedDocuments documents(documentsFolder());
            PrintedReport report(fixture.inputs(), documents, writer);
            for (int section : sections)
                report.PrintDocument(section == sections.first(), section);
            report.endDoc();
        }
        QPdfDocument fromPlaced;
        QPdfDocument fromDrawn;
        QCOMPARE(fromPlaced.load(placed), QPdfDocument::Error::None);
        QCOMPARE(fromDrawn.load(drawn), QPdfDocument::Error::None);
        QVERIFY(fromPlaced.pageCount() > 2);
        QCOMPARE(fromDrawn.pageCount(), fromPlaced.pageCount());
        for (int page = 0; page < fromPlaced.pageCount(); ++page) {
            QCOMPARE(fromDrawn.pagePointSize(page), fromPlaced.pagePointSize(page));
            const QRect placedInk = inkBox(pageSeen(fromPlaced, page));
            const QRect drawnInk = inkBox(pageSeen(fromDrawn, page));
            QVERIFY2((placedInk.topLeft() - drawnInk.topLeft()).manhattanLength() <= 2 &&
                         (placedInk.bottomRight() - drawnInk.bottomRight()).manhattanLength() <= 2,
                     qPrintable(QStringLiteral("page %1").arg(page + 1)));
        }

        // Every document page is one picture across the paper's whole width (the documents
        // are Letter pages), at the resolution the writer caps them at.
        QProcess images;
        images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), drawn});
        QVERIFY(images.waitForFinished());
        const QList<QByteArray> lines = images.readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(lines.size(), 2 + fromDrawn.pageCount() - 1); // the heading; not the cover
        const double paperWidth = QPageSize(size).size(QPageSize::Inch).width();
        for (const QByteArray& line : lines.mid(2)) {
            const QList<QByteArray> columns = line.simplified().split(' ');
            QVERIFY(columns.size() > 13);
            const double pixels = columns[3].toDouble();
            const double ppi = columns[12].toDouble();
            QVERIFY2(qAbs(ppi - 300) < 2 && qAbs(pixels / ppi - paperWidth) < 0.02,
                     line.constData());
        }
    }

    // The demo client with the longest supplement list: every generated page begins with a
    // heading, on either paper.
    void everyPageBeginsWithAHeading()
    {
        ReportFixture fixture;
        int longest = 0;
        size_t lines = 0;
        for (int number = 1; number <= 1000; ++number) {
            const PreparedProfile prepared =
                prepareProfile(profileInputFromRecord(makeDemoClient(1, number)), fixture.tables);
            const size_t count =
                listSupplementGuide(ComputeSupplementGuide(prepared), prepared.yesNo,
                                    fixture.catalogue, fixture.tables)
                    .size();
            if (count > lines)
                std::tie(longest, lines) = std::pair{number, count};
        }
        const ClientRecord record = makeDemoClient(1, longest);
        fixture.profile = profileInputFromRecord(record);
        fixture.client = clientDetailsFromRecord(record);
        const QStringList headings = {
            QStringLiteral("Halcyra - Summary"),          QStringLiteral("Summary"),
            QStringLiteral("Halcyra - Analysis"),         QStringLiteral("Analysis"),
            QStringLiteral("Halcyra - Supplement Guide"), QStringLiteral("Supplement Guide")};
        for (auto paper : {QPageSize::Letter, QPageSize::A4}) {
            ReadBack pdf(write(fixture, {2, 3, 4}, documentsFolder(), nullptr, paper));
            QVERIFY(pdf.ok());
            for (int page = 0; page < pdf.pages(); ++page) {
                const QString first = pdf.text(page).trimmed().section(u'\n', 0, 0).trimmed();
                QVERIFY2(headings.contains(first), qPrintable(first));
            }
        }
    }

    void paperChecks_data()
    {
        QTest::addColumn<QPageLayout>("layout");
        QTest::addColumn<bool>("fits");
        QTest::newRow("Letter") << reportPageLayout(QPageSize(QPageSize::Letter)) << true;
        QTest::newRow("A4") << reportPageLayout(QPageSize(QPageSize::A4)) << true;
        QTest::newRow("A4, narrow margins")
            << QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                           QPageLayout::Millimeter)
            << true;
        QTest::newRow("A5") << reportPageLayout(QPageSize(QPageSize::A5)) << false;
        QTest::newRow("Letter landscape")
            << QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF())
            << false;
        QTest::newRow("A4, wide margins")
            << QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(1, 1, 1, 1),
                           QPageLayout::Inch)
            << false;
    }

    void paperChecks()
    {
        QFETCH(QPageLayout, layout);
        QFETCH(bool, fits);
        const Status checked = checkReportFitsPaper(layout);
        QCOMPARE(checked.ok(), fits);
        QCOMPARE(checked.error().contains(u"does not fit"), !fits);
        // A paper the report refuses is refused before anything is written.
        if (!fits && layout.pageSize().id() == QPageSize::A5) {
            ReportFixture fixture;
            std::optional<Result<ReportPdfWritten>> result;
            QVERIFY(write(fixture, {2}, documentsFolder(), &result, QPageSize::A5).isEmpty());
            QVERIFY(result->error().contains(u"does not fit"));
        }

        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("papersize"));
        for (auto [content, paper] : {std::pair{"# comment\na4\n", QPageSize::A4},
                                      std::pair{"letter\n", QPageSize::Letter}}) {
            QFile papersize(file);
            QVERIFY(papersize.open(QIODevice::WriteOnly));
            papersize.write(content);
            papersize.close();
            QCOMPARE(systemReportPaper(file), paper);
        }
        QCOMPARE(reportPaperFromName(QStringLiteral("A4")), QPageSize::A4);
        QVERIFY(!reportPaperFromName(QStringLiteral("a5")));
    }

    void missingDocumentIsNamedAndTheRestPrints()
    {
        QTemporaryDir empty;
        ReportFixture fixture;
        std::optional<Result<ReportPdfWritten>> result;
        ReadBack pdf(write(fixture, {1, 2, 5}, empty.path(), &result));
        QVERIFY2(*result, qPrintable(result->error()));
        const QStringList& problems = (*result)->problems;
        QCOMPARE(problems.size(), 2);
        QVERIFY(problems[0].contains(u"\"Intro.pdf\""));
        QVERIFY(problems[1].contains(u"\"References.pdf\""));
        QVERIFY(pdf.ok());
        QCOMPARE(pdf.pages(), 2);
        QVERIFY(pdf.text(0).contains(u"Customized for:"));
        QVERIFY(pdf.text(1).contains(u"Halcyra - Summary"));
    }

    void documentsAreFoundWhateverTheirLetterCase()
    {
        QTemporaryDir folder;
        QVERIFY(QFile::copy(QDir(documentsFolder()).filePath(QStringLiteral("Intro.pdf")),
                            folder.filePath(QStringLiteral("INTRO.PDF"))));
        FixedDocuments documents(folder.path());
        QCOMPARE(documents.locate(QStringLiteral("Intro.pdf")),
                 folder.filePath(QStringLiteral("INTRO.PDF")));
        QVERIFY(documents.locate(QStringLiteral("P1.pdf")).isEmpty());
        ReportFixture fixture;
        std::optional<Result<ReportPdfWritten>> result;
        ReadBack pdf(write(fixture, {section::kCoverPage}, folder.path(), &result));
        QVERIFY2(*result, qPrintable(result->error()));
        QVERIFY((*result)->problems.isEmpty());
        QCOMPARE(pdf.pages(), 2);
    }

    // A report of which nothing could be written says so, after naming each section that
    // could not be printed, one a line; `{folder}` stands for the documents' folder.
    void whyNothingWasWritten_data()
    {
        QTest::addColumn<QList<int>>("sections");
        QTest::addColumn<bool>("withDocuments");
        QTest::addColumn<int>("paper");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("only missing documents")
            << QList<int>{section::kReferences, section::kGuidelines} << false
            << int(QPageSize::Letter)
            << QStringList{
                   QStringLiteral("The document \"References.pdf\" was not found in {folder}."),
                   QStringLiteral("The document \"NSG.pdf\" was not found in {folder}."),
                   QStringLiteral("nothing was printed")};
        QTest::newRow("no section") << QList<int>{0} << true << int(QPageSize::Letter)
                                    << QStringList{QStringLiteral("nothing was printed")};
        QTest::newRow("paper too small")
            << QList<int>{section::kCoverPage} << false << int(QPageSize::A5)
            << QStringList{QStringLiteral("does not fit")};
    }

    void whyNothingWasWritten()
    {
        QFETCH(QList<int>, sections);
        QFETCH(bool, withDocuments);
        QFETCH(int, paper);
        QFETCH(QStringList, lines);
        QTemporaryDir empty;
        const QString folder = withDocuments ? documentsFolder() : empty.path();
        ReportFixture fixture;
        std::optional<Result<ReportPdfWritten>> result;
        QVERIFY(write(fixture, sections, folder, &result, QPageSize::PageSizeId(paper)).isEmpty());
        QVERIFY(!*result);
        const QStringList said = result->error().split(u'\n');
        QCOMPARE(said.size(), lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString line = QString(lines[i]).replace(QStringLiteral("{folder}"),
                                                           QDir::toNativeSeparators(folder));
            QVERIFY2(said[i].contains(line), qPrintable(said[i]));
        }
    }

    // A placeholder for a page the report or the document does not have is refused in words.
    void placedPagesThatAreNotThereAreRefused_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("documentPage");
        QTest::addColumn<bool>("placed");
        QTest::newRow("there") << 1 << 0 << true;
        QTest::newRow("report page after the last") << 2 << 0 << false;
        QTest::newRow("report page 0") << 0 << 0 << false;
        QTest::newRow("document page after the last") << 1 << 999 << false;
        QTest::newRow("document page before the first") << 1 << -1 << false;
    }

    void placedPagesThatAreNotThereAreRefused()
    {
        QFETCH(int, page);
        QFETCH(int, documentPage);
        QFETCH(bool, placed);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter pdf(&buffer);
            QPainter painter(&pdf);
            painter.drawText(100, 100, QStringLiteral("placeholder"));
        }
        const QString intro = QDir(documentsFolder()).filePath(QStringLiteral("Intro.pdf"));
        const Result<QByteArray> assembled =
            assembleReportPdf(buffer.data(), {PlacedDocumentPage{page, intro, documentPage}});
        QCOMPARE(assembled.ok(), placed);
        if (placed)
            return;
        QCOMPARE(assembled.error(),
                 QStringLiteral("The document \"%1\" could not be put into the report: the page "
                                "is not there")
                     .arg(QDir::toNativeSeparators(intro)));
    }

    void fileIsWrittenWholeOrNotAtAll()
    {
        const QString path = m_dir.filePath(QStringLiteral("kept.pdf"));
        QFile existing(path);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("the previous report");
        existing.close();
        ReportFixture fixture;
        FixedDocuments documents(documentsFolder());
        // Nothing to print: the old file stays as it was.
        const Result<ReportPdfWritten> nothing =
            writeReportPdf(path, fixture.inputs(), {0}, documents);
        QVERIFY(!nothing);
        QVERIFY(!nothing.error().isEmpty());
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QCOMPARE(existing.readAll(), QByteArray("the previous report"));
        existing.close();

        const Result<ReportPdfWritten> nowhere =
            writeReportPdf(m_dir.filePath(QStringLiteral("no/such/folder/r.pdf")), fixture.inputs(),
                           {2}, documents);
        QVERIFY(!nowhere);
        QVERIFY(nowhere.error().contains(u"cannot be written"));
    }

    // The device measure answers the wrap's cut widths from one kept layout: they must agree
    // with measuring each cut on its own, in every font, but for the kerning with the letter
    // after the cut (under a hundredth of an inch).
    void deviceMeasureOfCutsAgreesWithWholeTexts()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setResolution(600);
        const DeviceTextMeasure measure(pdf);
        ReportFixture fixture;
        const QString text = fixture.catalogue.LoadResString(4011).left(220);
        std::vector<qsizetype> cuts;
        for (qsizetype at = 1; at < text.size(); ++at)
            if (text[at] == u' ')
                cuts.push_back(at + 1);
        cuts.push_back(text.size());
        for (const PrintFont& font : {PrintFont{timesNewRoman(), 10}, PrintFont{arial(), 12, true},
                                      PrintFont{arial(), 8, false, true}}) {
            for (int pass = 0; pass < 2; ++pass) { // measured, then kept
                const std::vector<double> widths = measure.prefixWidths(text, cuts, font);
                for (size_t i = 0; i < cuts.size(); ++i)
                    QVERIFY2(qAbs(widths[i] - measure.width(text.left(cuts[i]), font)) < 0.01,
                             qPrintable(QStringLiteral("%1 %2 %3 %4")
                                            .arg(font.name)
                                            .arg(cuts[i])
                                            .arg(widths[i])
                                            .arg(measure.width(text.left(cuts[i]), font))));
            }
        }
        QVERIFY(measure.width(text, PrintFont{arial(), 12, true}) >
                measure.width(text, PrintFont{arial(), 12}));
    }
};

QTEST_MAIN(ReportPdfTest)
#include "tst_report_pdf.moc"

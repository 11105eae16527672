// The pages of the printed profile report: cover page, Summary, Analysis and Supplement Guide.

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "reports/PageWriter.h"
#include "reports/PrintedReport.h"

#include <algorithm>

namespace halcyra {
namespace {

// Columns, in inches from the left of the printable area.
constexpr double kHighColumn = 1.5;
constexpr double kVeryHighColumn = 2.75;
constexpr double kScoreColumn = 3.5;
constexpr double kCategoryColumn = 4.25;
constexpr double kSupplementColumn = 1.25;
constexpr double kQuantityColumn = 4.0;
constexpr double kReferencesColumn = 6.0;

// The cover, in parts of the printable height: the title large in the upper third, the client
// below it, the adviser smaller at the foot.
constexpr double kCoverTitleTop = 0.25;
constexpr double kCoverClientTop = 0.47;
constexpr double kCoverAdviserTop = 0.68;
constexpr double kCoverTitleSize = 32;
constexpr double kCoverClientSize = 18;
constexpr double kCoverAdviserSize = 12;
constexpr double kSmallestCoverSize = 10;

// Texts of the pages.
constexpr int kPurpose = 1411;
constexpr int kSummaryLegend[] = {1412, 1413, 1414, 1415};
constexpr int kNotDeterminedLegend = 1422;
constexpr int kAnalysisIntroduction = 1416;
constexpr int kAnalysisStatements[] = {1424, 1432, 1433, 1434};
constexpr int kGuideIntroduction = 1417;
constexpr int kGuideNotes[] = {1418, 1420, 1421};

QString numberText(double value)
{
    return QString::number(value, 'g', 12);
}

} // namespace

void PrintedReport::printCoverPage()
{
    startSection();
    const double height = m_writer.scaleHeight();
    const double width = m_writer.scaleWidth();
    setFont(arial(), kCoverTitleSize, true);
    m_writer.setCurrentY(kCoverTitleTop * height);
    printCentred(text(ids::kTitleReport));
    m_writer.drawRule(width * 0.3, width * 0.7, m_writer.currentY() + 0.1, 0.02);
    // A long name or address makes a block smaller rather than run off the paper.
    for (double size : {kCoverClientSize, kCoverAdviserSize}) {
        setFont(arial(), size);
        while (m_writer.font().size > kSmallestCoverSize && !blocksFitAcross())
            m_writer.setFontSize(m_writer.font().size - 1);
        if (size == kCoverClientSize) {
            m_writer.setCurrentY(kCoverClientTop * height);
            PrintClient();
        } else {
            m_writer.setCurrentY(kCoverAdviserTop * height);
            DocHeader();
        }
    }
    m_writer.newPage();
    printDocument(sectionDocument(section::kCoverPage));
}

void PrintedReport::printSummary()
{
    startSection();
    printTitle(ids::kTitleSummary);
    m_paragraphs.setSectionHeading(QStringLiteral("Summary"));
    setFont(arial(), 10);
    addSpacing();
    PrintClient();
    addSpacing();
    DocHeader();
    addSpacing();
    PrintDisclaimer();

    addSpacing();
    setFont(arial(), 12, true, true);
    m_paragraphs.PrintText(text(kPurpose), ParagraphStyle::Plain, page::kParagraphIndent);

    setFont(arial(), 10);
    addSpacing();
    m_paragraphs.setSectionHeading(QStringLiteral("Summary"), [this] { printSummaryHeading(); });
    printSummaryHeading();
    for (int row : m_evaluation.summaryRows())
        printSummaryRow(row);
    m_paragraphs.setSectionHeading(QStringLiteral("Summary"));

    setFont(arial(), 8);
    addSpacing();
    for (int id : kSummaryLegend)
        m_paragraphs.PrintText(text(id), ParagraphStyle::Plain, page::kParagraphIndent);
    m_paragraphs.PrintText(text(kNotDeterminedTextId) + text(kNotDeterminedLegend),
                           ParagraphStyle::Plain, page::kParagraphIndent);
    m_writer.newPage();
    if (m_inputs.progress)
        printProgress();
}

void PrintedReport::printSummaryHeading()
{
    const double highColumn = column(kHighColumn);
    const double veryHighColumn = column(kVeryHighColumn);
    const double scoreColumn = column(kScoreColumn);
    const double categoryColumn = column(kCategoryColumn);
    const double top = m_writer.currentY();
    for (auto [column, word] :
         {std::pair{highColumn, "High"}, std::pair{veryHighColumn, "Very High"},
          std::pair{scoreColumn, "Your"}}) {
        const QString heading = QString::fromLatin1(word);
        m_writer.setCurrentX(column - m_writer.textWidth(heading) / 2);
        m_writer.print(heading, false);
    }
    m_writer.setCurrentY(top);
    m_writer.endLine();

    m_writer.setFontUnderline(true);
    for (auto [column, word] :
         {std::pair{highColumn, "Percentile"}, std::pair{veryHighColumn, "Percentile"},
          std::pair{scoreColumn, "Score"}}) {
        const QString heading = QString::fromLatin1(word);
        m_writer.setCurrentX(column - m_writer.textWidth(heading) / 2);
        m_writer.print(heading, false);
    }
    printAt(categoryColumn, QStringLiteral("Category"));
    m_writer.setFontUnderline(false);
}

void PrintedReport::printSummaryRow(int r)
{
    m_paragraphs.breakPageIfPastBottom(ParagraphStyle::Plain);
    const double highColumn = column(kHighColumn);
    const double veryHighColumn = column(kVeryHighColumn);
    const double scoreColumn = column(kScoreColumn);
    const double categoryColumn = column(kCategoryColumn);
    const RowResult& row = m_evaluation.row(r);
    // One-digit values move right by a digit's width, so the values align on their last digit.
    const double digit = m_writer.textWidth(QStringLiteral("0"));
    m_writer.setCurrentX(highColumn + (row.high < 10 ? digit : 0));
    m_writer.print(numberText(row.high), false);
    // The score's last digit stands under the "o" of the centred "Score" heading.
    const double headingStart = scoreColumn - m_writer.textWidth(QStringLiteral("Score")) / 2;
    const double scoreEnd = headingStart + m_writer.textWidth(QStringLiteral("Sco"));
    const QString score = numberText(row.score);
    const double scoreStart = scoreEnd - m_writer.textWidth(score);
    if (veryHighNotDetermined(row)) {
        // Centred on the column where it fits: from the column's start it would run into the
        // score.
        const QString notDetermined = text(kNotDeterminedTextId);
        const double width = m_writer.textWidth(notDetermined);
        m_writer.setCurrentX(
            std::min(veryHighColumn - width / 2,
                     scoreStart - m_writer.textWidth(QStringLiteral("  ")) - width));
        m_writer.print(notDetermined, false);
    } else {
        m_writer.setCurrentX(veryHighColumn + (row.veryHigh < 10 ? digit : 0));
        m_writer.print(numberText(row.veryHigh), false);
    }
    m_writer.setCurrentX(scoreStart);
    m_writer.print(score + summaryMarkSuffix(row.mark), false);
    printAt(categoryColumn, text(ids::rowName(r)));
}

void PrintedReport::printAnalysis()
{
    startSection();
    printTitle(ids::kTitleAnalysis);
    m_paragraphs.setSectionHeading(QStringLiteral("Analysis"));
    setFont(arial(), 10);
    addSpacing();
    PrintClient();
    addSpacing();
    DocHeader();
    addSpacing();
    PrintDisclaimer();

    addSpacing();
    setFont(arial(), 12, false, true);
    m_paragraphs.PrintText(text(kAnalysisIntroduction), ParagraphStyle::Analysis,
                           page::kParagraphIndent);
    setFont(arial(), 10, true);
    addSpacing();
    for (int id : kAnalysisStatements)
        m_paragraphs.PrintText(text(id), ParagraphStyle::Analysis, page::kParagraphIndent);

    setFont(timesNewRoman(), 10);
    for (const AnalysisParagraph& paragraph : m_evaluation.analysis())
        printAnalysisParagraph(paragraph);
    m_paragraphs.PrintPageFooter(true);
    m_writer.newPage();
}

void PrintedReport::printAnalysisParagraph(const AnalysisParagraph& paragraph)
{
    addSpacing();
    // A title goes with at least two lines of its text. This also puts the "Analysis" heading
    // over a page that would start with a bold title, whose own style has none.
    if (m_writer.currentY() + 2 * m_writer.textHeight() > m_paragraphs.bottomLimit())
        m_paragraphs.continueOnNewPage(ParagraphStyle::Analysis);
    const QString title = printedTitle(paragraph, m_inputs.catalogue);
    if (paragraph.style == TitleStyle::Emphasised) {
        m_writer.setFontBold(true);
        m_paragraphs.PrintText(title,
                               paragraph.kind == ParagraphKind::VitaminE
                                   ? ParagraphStyle::Analysis
                                   : ParagraphStyle::VeryHighTitle,
                               page::kParagraphIndent);
        m_writer.setFontBold(false);
    } else {
        m_paragraphs.PrintText(title, ParagraphStyle::Analysis, page::kParagraphIndent);
    }
    bool firstText = true;
    for (int id : paragraph.texts()) {
        if (!firstText)
            addSpacing();
        firstText = false;
        m_paragraphs.PrintText(text(id), ParagraphStyle::Analysis, page::kParagraphIndent);
    }
}

void PrintedReport::printSupplementGuide()
{
    startSection();
    printTitle(ids::kTitleSupplementGuide);
    m_paragraphs.setSectionHeading(QStringLiteral("Supplement Guide"));
    setFont(arial(), 10);
    addSpacing();
    PrintClient();
    addSpacing();
    PrintDisclaimer();

    addSpacing();
    setFont(arial(), 10, true, true);
    m_paragraphs.PrintText(text(kGuideIntroduction), ParagraphStyle::Plain, page::kParagraphIndent);

    setFont(arial(), 10);
    addSpacing();
    // On narrower paper the reference column moves right of the longest quantity.
    double quantityEnd = 0;
    for (const GuideLine& line : m_guide)
        quantityEnd = std::max(quantityEnd, m_writer.textWidth(line.unit));
    quantityEnd += column(kQuantityColumn) + m_writer.textWidth(QStringLiteral("00 "));
    m_referencesColumn =
        std::max(column(kReferencesColumn), quantityEnd + m_writer.textWidth(QStringLiteral("  ")));
    m_paragraphs.setSectionHeading(QStringLiteral("Supplement Guide"),
                                   [this] { printGuideColumnHeading(); });
    printGuideColumnHeading();
    // The notes go with the list: when they would not fit after its last rows, the last two
    // rows move to the next page with them.
    const double notes = guideNotesHeight();
    const size_t count = m_guide.size();
    const size_t keptWithNotes = std::min<size_t>(2, count);
    for (size_t i = 0; i < count; ++i) {
        if (i == count - keptWithNotes && i > 0 &&
            m_writer.currentY() + static_cast<double>(keptWithNotes) * m_writer.textHeight() +
                    notes >
                m_paragraphs.bottomLimit())
            m_paragraphs.continueOnNewPage(ParagraphStyle::Plain);
        printGuideLine(m_guide[i]);
    }
    m_paragraphs.setSectionHeading(QStringLiteral("Supplement Guide"));
    printGuideNotes(m_paragraphs);
    m_writer.newPage();
}

void PrintedReport::printGuideColumnHeading()
{
    m_writer.setFontUnderline(true);
    m_writer.setCurrentX(column(kSupplementColumn));
    m_writer.print(QStringLiteral("Supplement"), false);
    m_writer.setCurrentX(column(kQuantityColumn));
    m_writer.print(QStringLiteral("Quantity"), false);
    printAt(m_referencesColumn, QStringLiteral("Ref. #"));
    m_writer.setFontUnderline(false);
}

void PrintedReport::printGuideNotes(ParagraphPrinter& paragraphs)
{
    PageWriter& writer = paragraphs.writer();
    writer.setCurrentY(writer.currentY() + page::kLineSpacing);
    paragraphs.PrintText(text(ids::kGuideNote), ParagraphStyle::Plain, page::kParagraphIndent);
    writer.setFont(PrintFont{arial(), 8});
    for (int id : kGuideNotes) {
        writer.setCurrentY(writer.currentY() + page::kLineSpacing);
        paragraphs.PrintText(text(id), ParagraphStyle::Plain, page::kParagraphIndent);
    }
}

// How far the notes reach, from the top of their first line to the top of their last.
double PrintedReport::guideNotesHeight()
{
    CountingPageWriter counter(m_writer.textMeasure(), {m_writer.scaleWidth(), 1e6});
    counter.setFont(m_writer.font());
    ParagraphPrinter paragraphs(counter);
    paragraphs.setBottomLimit(1e6);
    printGuideNotes(paragraphs);
    return counter.currentY() - counter.textHeight();
}

void PrintedReport::printGuideLine(const GuideLine& line)
{
    m_paragraphs.breakPageIfPastBottom(ParagraphStyle::Plain);
    // Numbers right-aligned in a field two digits wide, the texts after them in line.
    const double supplementColumn = column(kSupplementColumn);
    const double quantityColumn = column(kQuantityColumn);
    const double referencesColumn = m_referencesColumn;
    const double field = m_writer.textWidth(QStringLiteral("00"));
    const double blank = m_writer.textWidth(QStringLiteral(" "));
    m_writer.setCurrentX(supplementColumn);
    m_writer.print(line.name, false);
    printAlignedRight(quantityColumn + field, QString::number(line.quantity));
    m_writer.setCurrentX(quantityColumn + field + blank);
    m_writer.print(line.unit, false);
    printAlignedRight(referencesColumn + field, QString::number(line.references));
    m_writer.setCurrentX(referencesColumn + field);
    m_writer.print(QStringLiteral(" of ") + line.possible);
}

} // namespace halcyra

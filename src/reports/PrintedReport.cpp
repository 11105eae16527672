#include "reports/PrintedReport.h"

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "core/ErrorReporter.h"
#include "reports/PageWriter.h"
#include "reports/ReportDocuments.h"

#include <algorithm>
#include <utility>

namespace halcyra {
namespace {

constexpr int kDisclaimer = 1410;

const QString& procedureLabel()
{
    static const QString label = QStringLiteral("frmMain:Sub PrintDocument");
    return label;
}

QString describe(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const ProgramError& e) {
        return e.description();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

} // namespace

QString sectionStatusName(int section)
{
    static const char* const kNames[] = {"Cover Page", "Summary",
                                         "Analysis",   "Supplement Guide",
                                         "References", "Phase One",
                                         "Phase Two",  "Phase Three",
                                         "Phase Four", "Nutritional Selection Guidelines"};
    if (section < section::kCoverPage || section > section::kGuidelines)
        return {};
    return QString::fromLatin1(kNames[section - 1]);
}

QString sectionDocument(int section)
{
    switch (section) {
    case section::kCoverPage:
        return QStringLiteral("Intro.pdf");
    case section::kReferences:
        return QStringLiteral("References.pdf");
    case section::kGuidelines:
        return QStringLiteral("NSG.pdf");
    default:
        break;
    }
    if (section >= section::kPhaseOne && section < section::kGuidelines)
        return QStringLiteral("P%1.pdf").arg(section - section::kPhaseOne + 1);
    return {};
}

PrintedReport::PrintedReport(Inputs inputs, FixedDocuments& documents, PageWriter& writer)
    : m_inputs(std::move(inputs)), m_documents(documents), m_writer(writer), m_paragraphs(writer),
      m_prepared(prepareProfile(m_inputs.profile, m_inputs.tables)),
      m_evaluation(evaluateProfile(m_prepared, m_inputs.tables)),
      m_guide(listSupplementGuide(ComputeSupplementGuide(m_prepared), m_prepared.yesNo,
                                  m_inputs.catalogue, m_inputs.tables))
{}

PrintedReport::PrintedReport(const Catalogue& catalogue, const ReferenceTables& tables,
                             const ProfileInput& profile, const ClientDetails& client,
                             const CompanyInfo& companyInfoLines, const SettingsStore& settings,
                             FixedDocuments& documents, PageWriter& writer)
    : PrintedReport(Inputs{catalogue, tables, profile, client, companyInfoLines,
                           HeaderOptions::fromSettings(settings)},
                    documents, writer)
{}

PrintedReport::PrintedReport(const PrintedReport& other, PageWriter& writer)
    : m_inputs(other.m_inputs), m_documents(other.m_documents), m_writer(writer),
      m_paragraphs(writer), m_prepared(other.m_prepared), m_evaluation(other.m_evaluation),
      m_guide(other.m_guide)
{}

void PrintedReport::PrintDocument(bool first, int section)
{
    if (sectionStatusName(section).isEmpty())
        return;
    if (first) {
        printRun();
        // A cancelled printer choice stops the whole run, not only its first section.
        m_skipRun = m_choosePrinter && !m_choosePrinter();
    }
    if (!m_skipRun)
        m_run << section;
}

void PrintedReport::endDoc()
{
    printRun();
    m_writer.endDoc();
}

void PrintedReport::printRun()
{
    if (m_run.isEmpty())
        return;
    const QList<int> sections = std::exchange(m_run, {});
    m_paragraphs.resetPageCounter();
    // The paper is known now: the printer was chosen at the run's first section.
    m_paragraphs.setBottomLimit(m_writer.scaleHeight() - page::kFooterBand);
    const int pages = countPages(sections);
    if (m_writer.pageHasContent())
        m_writer.newPage();
    // The last page of an earlier run is finished when this run's first page begins.
    m_previousRun = {m_runStartPage, m_runPages};
    m_runStartPage = m_writer.pagesBegun();
    m_runPages = pages;
    m_writer.setPageFinisher([this](int page) { printFooter(page); });
    for (int section : sections) {
        if (m_showPrinting)
            m_showPrinting(sectionStatusName(section));
        try {
            printSection(section);
        } catch (...) {
            const std::exception_ptr error = std::current_exception();
            m_problems << describe(error);
            if (m_reporter)
                m_reporter->reportException(error, procedureLabel());
        }
    }
    m_paragraphs.setSectionHeading({});
}

int PrintedReport::countPages(const QList<int>& sections)
{
    CountingPageWriter counter(m_writer.textMeasure(), m_writer.printableSize());
    PrintedReport dry(*this, counter);
    dry.m_paragraphs.setBottomLimit(m_paragraphs.bottomLimit());
    for (int section : sections) {
        try {
            dry.printSection(section);
        } catch (...) {
            // Reported when the section prints for real.
        }
    }
    return counter.pagesBegun();
}

// The one footer of every page: the report's title, the client and the page's number in the run.
void PrintedReport::printFooter(int page)
{
    const double width = m_writer.scaleWidth();
    setFont(arial(), 8);
    const double top = m_writer.scaleHeight() - m_writer.textHeight();
    m_writer.drawRule(0, width, top - 0.06, 0.006);
    m_writer.setCurrentY(top);
    m_writer.setCurrentX(0);
    m_writer.print(text(ids::kTitleReport), false);
    const QString client = (m_inputs.client.firstName + u' ' + m_inputs.client.lastName).trimmed();
    if (!client.isEmpty()) {
        m_writer.setCurrentY(top);
        printCentred(client, false);
    }
    const auto [start, total] =
        page > m_runStartPage ? std::pair{m_runStartPage, m_runPages} : m_previousRun;
    m_writer.setCurrentY(top);
    printAlignedRight(
        width,
        QStringLiteral("Page %1 of %2").arg(page - start).arg(std::max(total, page - start)));
}

double PrintedReport::column(double letterInches) const
{
    return letterInches * m_writer.scaleWidth() / page::kLetterWidth;
}

void PrintedReport::printSection(int section)
{
    switch (section) {
    case section::kCoverPage:
        printCoverPage();
        break;
    case section::kSummary:
        printSummary();
        break;
    case section::kAnalysis:
        printAnalysis();
        break;
    case section::kSupplementGuide:
        printSupplementGuide();
        break;
    default:
        printDocument(sectionDocument(section));
        break;
    }
}

void PrintedReport::printDocument(const QString& fileName)
{
    if (const Status printed = m_documents.print(fileName, m_writer); !printed)
        throw ProgramError(errors::kFileNotFound, printed.error());
}

void PrintedReport::DocHeader()
{
    m_writer.setCurrentX(page::kLineStart);
    m_writer.print(QStringLiteral("Provided By:"), false);
    PrintDate();
    for (const QString& line : adviserBlockLines(m_inputs.CompanyInfoLines, m_inputs.header))
        printAt(page::kLineStart, line);
}

QStringList PrintedReport::clientBlockLines() const
{
    const ClientDetails& client = m_inputs.client;
    return {QStringLiteral("Customized for:"), client.firstName + u' ' + client.lastName,
            QStringLiteral("Phone: ") + client.phone};
}

void PrintedReport::PrintClient()
{
    for (const QString& line : clientBlockLines())
        printCentred(line);
}

bool PrintedReport::blocksFitAcross()
{
    const double width = m_writer.scaleWidth();
    for (const QString& line : clientBlockLines())
        if (m_writer.textWidth(line) > width)
            return false;
    for (const QString& line : adviserBlockLines(m_inputs.CompanyInfoLines, m_inputs.header))
        if (page::kLineStart + m_writer.textWidth(line) > width)
            return false;
    const double provided = m_writer.textWidth(QStringLiteral("Provided By: "));
    const bool wasBold = m_writer.font().bold;
    m_writer.setFontBold(true);
    const double date = m_writer.textWidth(QStringLiteral("Date: ") + m_inputs.client.date);
    m_writer.setFontBold(wasBold);
    return page::kLineStart + provided + date <= width;
}

void PrintedReport::PrintDate()
{
    const bool wasBold = m_writer.font().bold;
    m_writer.setFontBold(true);
    printAlignedRight(m_writer.scaleWidth(), QStringLiteral("Date: ") + m_inputs.client.date);
    m_writer.setFontBold(wasBold);
    m_writer.endLine();
}

void PrintedReport::PrintDisclaimer()
{
    const PrintFont saved = m_writer.font();
    m_writer.setFont(PrintFont{arial(), 8});
    m_paragraphs.PrintText(text(kDisclaimer), ParagraphStyle::Plain, page::kParagraphIndent);
    m_writer.setFont(saved);
}

void PrintedReport::startSection()
{
    if (m_writer.pageHasContent())
        m_writer.newPage();
    m_paragraphs.setSectionHeading({});
    m_writer.setCurrentX(0);
    m_writer.setCurrentY(0);
}

void PrintedReport::printTitle(int titleId)
{
    setFont(arial(), 16, true);
    m_writer.setCurrentY(page::kTop);
    printCentred(text(titleId));
}

void PrintedReport::printCentred(const QString& line, bool endLine)
{
    m_writer.setCurrentX((m_writer.scaleWidth() - m_writer.textWidth(line)) / 2);
    m_writer.print(line, endLine);
}

// Prints on the current line, leaving the position at the line's start.
void PrintedReport::printAt(double x, const QString& line)
{
    m_writer.setCurrentX(x);
    m_writer.print(line);
}

// Prints so that the text ends at `rightEdge`, staying on the line.
void PrintedReport::printAlignedRight(double rightEdge, const QString& line)
{
    m_writer.setCurrentX(rightEdge - m_writer.textWidth(line));
    m_writer.print(line, false);
}

void PrintedReport::addSpacing()
{
    m_writer.setCurrentY(m_writer.currentY() + page::kLineSpacing);
}

void PrintedReport::setFont(const QString& name, double size, bool bold, bool italic)
{
    m_writer.setFont(PrintFont{name, size, bold, italic, false});
}

QString PrintedReport::text(int id) const
{
    return m_inputs.catalogue.LoadResString(id);
}

} // namespace halcyra

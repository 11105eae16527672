#pragma once

#include "reports/Evaluation.h"
#include "reports/PrintText.h"
#include "reports/ProfileInput.h"
#include "reports/Progress.h"
#include "reports/ReportHeader.h"
#include "reports/SupplementGuide.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace halcyra {

class Catalogue;
class ErrorReporter;
class FixedDocuments;
class PageWriter;
class SettingsStore;
struct ReferenceTables;

// Report sections, the argument of PrintDocument.
namespace section {
inline constexpr int kCoverPage = 1;
inline constexpr int kSummary = 2;
inline constexpr int kAnalysis = 3;
inline constexpr int kSupplementGuide = 4;
inline constexpr int kReferences = 5;
inline constexpr int kPhaseOne = 6;
inline constexpr int kGuidelines = 10;
} // namespace section

// The name the printing notice shows for a section, and the fixed document it prints (the
// cover page is followed by its own); both empty for a number that is no section.
QString sectionStatusName(int section);
QString sectionDocument(int section);

// One client's printed profile report: the cover page, Summary, Analysis and Supplement Guide
// laid out on a page writer, and the fixed documents printed into the same job. The profile
// is evaluated once, when the report is made.
class PrintedReport
{
public:
    struct Inputs
    {
        const Catalogue& catalogue;
        const ReferenceTables& tables;
        ProfileInput profile;
        ClientDetails client;
        CompanyInfo CompanyInfoLines;
        HeaderOptions header;
        // The comparison with the client's last earlier assessment; the Summary is then
        // followed by a "Progress since DATE" page.
        std::optional<Progress> progress = std::nullopt;
    };

    PrintedReport(Inputs inputs, FixedDocuments& documents, PageWriter& writer);
    // Reads the header options from the settings.
    PrintedReport(const Catalogue& catalogue, const ReferenceTables& tables,
                  const ProfileInput& profile, const ClientDetails& client,
                  const CompanyInfo& companyInfoLines, const SettingsStore& settings,
                  FixedDocuments& documents, PageWriter& writer);

    // Asked before the first section of a run; false (cancelled) prints nothing in that run.
    void setChoosePrinter(std::function<bool()> choosePrinter)
    {
        m_choosePrinter = std::move(choosePrinter);
    }
    // Told the status name of each section as it starts printing.
    void setShowPrinting(std::function<void(const QString&)> showPrinting)
    {
        m_showPrinting = std::move(showPrinting);
    }
    // Problems are also reported here, under the label of PrintDocument.
    void setErrorReporter(ErrorReporter* reporter) { m_reporter = reporter; }

    // Prints section 1..10; any other number prints nothing. `first` starts a run: the page
    // numbers start again and the printer is chosen. A problem ends the section; the
    // following sections still print.
    // Every page carries "Page n of N" over the whole run, so a run's sections are laid out
    // when its total is known: at the start of the next run or at endDoc().
    void PrintDocument(bool first, int section);
    // Finishes the print job (or the file) after the last section.
    void endDoc();

    // Whether the printer choice of this run was cancelled.
    bool skipped() const { return m_skipRun; }
    // What went wrong, one line per problem, for the whole life of the report.
    const QStringList& problems() const { return m_problems; }

    // The parts of the pages, as the sections print them.
    void DocHeader();
    void PrintClient();
    void PrintDate();
    void PrintDisclaimer();

private:
    // A second report on another writer, sharing this one's evaluation: for counting pages.
    PrintedReport(const PrintedReport& other, PageWriter& writer);
    void printRun();
    int countPages(const QList<int>& sections);
    void printFooter(int page);
    // A column placed for Letter's printable width, moved to the same place on this paper.
    double column(double letterInches) const;
    void printSummaryColumnHeading();
    void printGuideColumnHeading();
    void printProgressColumnHeading();
    void printGuideNotes(ParagraphPrinter& paragraphs);
    double guideNotesHeight();

    QStringList clientBlockLines() const;
    // Whether the client and adviser blocks fit across the page in the current font.
    bool blocksFitAcross();
    void printSection(int section);
    void printCoverPage();
    void printSummary();
    void printSummaryHeading();
    void printSummaryRow(int row);
    void printProgress();
    void printAnalysis();
    void printAnalysisParagraph(const AnalysisParagraph& paragraph);
    void printSupplementGuide();
    void printGuideLine(const GuideLine& line);
    void printDocument(const QString& fileName);

    void startSection();
    void printTitle(int titleId);
    void printCentred(const QString& text, bool endLine = true);
    void printAt(double x, const QString& text);
    void printAlignedRight(double rightEdge, const QString& text);
    void addSpacing();
    void setFont(const QString& name, double size, bool bold = false, bool italic = false);
    QString text(int id) const;

    Inputs m_inputs;
    FixedDocuments& m_documents;
    PageWriter& m_writer;
    ParagraphPrinter m_paragraphs;
    PreparedProfile m_prepared;
    Evaluation m_evaluation;
    std::vector<GuideLine> m_guide;

    std::function<bool()> m_choosePrinter;
    std::function<void(const QString&)> m_showPrinting;
    ErrorReporter* m_reporter = nullptr;
    bool m_skipRun = false;
    QStringList m_problems;
    QList<int> m_run;       // the sections of the run, laid out when it is complete
    int m_runStartPage = 0; // the writer's pages before the run
    int m_runPages = 0;     // N of "Page n of N"
    std::pair<int, int> m_previousRun{0, 0};
    double m_referencesColumn = 0; // of the Supplement Guide, placed for its longest quantity
};

} // namespace halcyra

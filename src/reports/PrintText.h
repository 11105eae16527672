#pragma once

#include <QString>
#include <QStringView>
#include <functional>

namespace halcyra {

class PageWriter;

// Page geometry of the printed reports, in inches on the printer's scale.
namespace page {
inline constexpr double kLineStart = 0.25;  // text lines start here, from the left edge
inline constexpr double kBottomLimit = 9.5; // a line is printed only while y is at most this
inline constexpr double kFooterTop = 9.75;  // the page number line
inline constexpr double kTop = 0.5;         // titles, and text on continuation pages
inline constexpr double kLineSpacing = 0.1; // added before each block
inline constexpr double kParagraphIndent = 0.5;
// Kept clear at the foot of a report page for its footer.
inline constexpr double kFooterBand = 0.5;
// The printable width the report's columns were placed for; other paper moves them in proportion.
inline constexpr double kLetterWidth = 8.0;
} // namespace page

// How a paragraph continues on a new page. The catalogue's one-letter styles: "A" Analysis,
// "N" nutritional guidelines, "R" the bold " VH" titles of the Analysis, "" everything else.
enum class ParagraphStyle { Plain, Analysis, Guidelines, VeryHighTitle };

// The heading printed at the top of a continuation page, empty for none.
QString continuationHeading(ParagraphStyle style);

// The paragraph printer: word-wraps catalogue texts to the printable width, carries out their
// markup codes, and breaks pages past the bottom limit with a numbered footer and, for the
// Analysis and the guidelines, a continuation heading.
class ParagraphPrinter
{
public:
    explicit ParagraphPrinter(PageWriter& writer) : m_writer(writer) {}

    PageWriter& writer() const { return m_writer; }

    // Prints `text` as a paragraph from the current vertical position; the paragraph ends
    // with the position on the line below it. `indent` (inches) narrows the text.
    void PrintText(const QString& text, ParagraphStyle style, double indent);

    // "Page N" centred at the footer line, in the current font without bold; then a new page
    // unless `lastPage`. A writer that finishes its pages with a footer of its own gets only
    // the new page.
    void PrintPageFooter(bool lastPage);

    // The title centred in bold "Times New Roman", the font put back afterwards.
    void PrintContinuationHeading(const QString& title);

    // Before a line printed outside PrintText (a table row): when the position is past the
    // bottom limit, the footer, a new page and the style's continuation heading.
    void breakPageIfPastBottom(ParagraphStyle style);
    // The footer, a new page and the style's continuation heading, wherever the position is.
    void continueOnNewPage(ParagraphStyle style);

    // Where lines stop: a line is printed only while the position is at most this. The page
    // geometry's limit unless the report sets one from its paper.
    double bottomLimit() const { return m_bottomLimit; }
    void setBottomLimit(double inches) { m_bottomLimit = inches; }
    // The heading of a continuation page whose style has none (the section being printed), and
    // what follows it there (a table's column headings); empty for none.
    void setSectionHeading(QString heading, std::function<void()> afterHeading = {})
    {
        m_sectionHeading = std::move(heading);
        m_afterHeading = std::move(afterHeading);
    }

    int pageCounter() const { return m_pageCounter; }
    // Each report numbers its pages from 1.
    void resetPageCounter() { m_pageCounter = 0; }

private:
    struct Line;
    void printRun(QStringView run, ParagraphStyle style, double available, Line& line);
    qsizetype fittingLength(QStringView candidate, double room) const;
    void startNextLine(Line& line);

    PageWriter& m_writer;
    int m_pageCounter = 0;
    double m_bottomLimit = page::kBottomLimit;
    QString m_sectionHeading;
    std::function<void()> m_afterHeading;
};

} // namespace halcyra

#include "reports/PrintText.h"

#include "reports/Markup.h"
#include "reports/PageWriter.h"

#include <vector>

namespace halcyra {
namespace {

// At most this many characters are tried for one line.
constexpr qsizetype kCandidateLength = 220;
// Positions closer than this are the same place.
constexpr double kSamePlace = 1e-9;

QStringView withoutLeadingBlanks(QStringView text)
{
    qsizetype blanks = 0;
    while (blanks < text.size() && text[blanks] == u' ')
        ++blanks;
    return text.mid(blanks);
}

// A word that cannot be broken is printed whole: up to and with the blank after it.
qsizetype firstWordLength(QStringView candidate)
{
    const qsizetype blank = candidate.indexOf(u' ', 1);
    return blank < 0 ? candidate.size() : blank + 1;
}

} // namespace

// The candidate shortened at its last blank (not the first character), again and again, until
// it fits in `room`; the cut keeps the blank. 0 when no cut fits. Widths grow with the text, so
// the longest cut that fits is the one shortening would stop at; all cuts are measured from one
// layout of the candidate rather than one measurement per word.
qsizetype ParagraphPrinter::fittingLength(QStringView candidate, double room) const
{
    std::vector<qsizetype> cuts; // after each blank from the second character on, ascending
    for (qsizetype at = 1; at + 1 < candidate.size(); ++at)
        if (candidate[at] == u' ')
            cuts.push_back(at + 1);
    cuts.push_back(candidate.size());
    const std::vector<double> widths = m_writer.prefixWidths(candidate.toString(), cuts);
    for (auto i = cuts.size(); i-- > 0;)
        if (widths[i] <= room)
            return cuts[i];
    return 0;
}

QString continuationHeading(ParagraphStyle style)
{
    switch (style) {
    case ParagraphStyle::Analysis:
        return QStringLiteral("Analysis");
    case ParagraphStyle::Guidelines:
        return QStringLiteral("Nutritional Selection Guidelines");
    case ParagraphStyle::Plain:
    case ParagraphStyle::VeryHighTitle:
        break;
    }
    return {};
}

// The line being filled: whether anything was printed on it yet.
struct ParagraphPrinter::Line
{
    bool used = false;
};

void ParagraphPrinter::PrintText(const QString& text, ParagraphStyle style, double indent)
{
    const double available = m_writer.scaleWidth() - indent;
    m_writer.setCurrentX(page::kLineStart);
    Line line;
    QString run;
    bool unknownCode = false;
    auto flush = [&] {
        printRun(run, style, available, line);
        run.clear();
    };

    qsizetype at = 0;
    while (at < text.size()) {
        if (text[at] != u'[') {
            run += text[at++];
            continue;
        }
        const std::optional<MarkupCode> code = markupCodeAt(text, at);
        if (!code) {
            // Printed as it stands; the paragraph is marked once at its end.
            unknownCode = true;
            run += text[at++];
            continue;
        }
        at += code->length;
        switch (code->kind) {
        case MarkupCode::Kind::Quote:
            run += u'"';
            break;
        case MarkupCode::Kind::BoldOn:
        case MarkupCode::Kind::BoldOff:
            flush();
            m_writer.setFontBold(code->kind == MarkupCode::Kind::BoldOn);
            break;
        case MarkupCode::Kind::NewLine:
            flush();
            startNextLine(line);
            break;
        case MarkupCode::Kind::Tab:
            flush();
            m_writer.setCurrentX(page::kLineStart + code->tabInches);
            break;
        }
    }
    if (unknownCode) {
        if (!run.isEmpty() && !run.endsWith(u' '))
            run += u' ';
        run += QStringLiteral("ERROR: ");
    }
    flush();
    if (line.used)
        startNextLine(line);
}

void ParagraphPrinter::printRun(QStringView run, ParagraphStyle style, double available, Line& line)
{
    QStringView rest = run;
    while (!rest.isEmpty()) {
        breakPageIfPastBottom(style);
        const double room = available - (m_writer.currentX() - page::kLineStart);
        const QStringView candidate = rest.left(kCandidateLength);
        qsizetype length = fittingLength(candidate, room);
        if (length == 0) {
            // Nothing fits after text already on this line: try again on a line of its own.
            if (m_writer.currentX() > page::kLineStart + kSamePlace) {
                startNextLine(line);
                rest = withoutLeadingBlanks(rest);
                continue;
            }
            length = firstWordLength(candidate);
        }
        m_writer.print(candidate.left(length).toString(), false);
        line.used = true;
        rest = rest.mid(length);
        if (!rest.isEmpty()) {
            startNextLine(line);
            rest = withoutLeadingBlanks(rest);
        }
    }
}

void ParagraphPrinter::startNextLine(Line& line)
{
    m_writer.endLine();
    m_writer.setCurrentX(page::kLineStart);
    line.used = false;
}

void ParagraphPrinter::breakPageIfPastBottom(ParagraphStyle style)
{
    if (m_writer.currentY() > m_bottomLimit)
        continueOnNewPage(style);
}

void ParagraphPrinter::continueOnNewPage(ParagraphStyle style)
{
    const double x = m_writer.currentX();
    PrintPageFooter(false);
    m_writer.setCurrentY(page::kTop);
    const QString own = continuationHeading(style);
    const QString heading = own.isEmpty() ? m_sectionHeading : own;
    if (!heading.isEmpty()) {
        PrintContinuationHeading(heading);
        m_writer.setCurrentY(m_writer.currentY() + page::kLineSpacing);
    }
    if (own.isEmpty() && m_afterHeading)
        m_afterHeading();
    m_writer.setCurrentX(x);
}

void ParagraphPrinter::PrintPageFooter(bool lastPage)
{
    if (m_writer.hasPageFinisher()) {
        ++m_pageCounter;
        if (!lastPage)
            m_writer.newPage();
        return;
    }
    const bool wasBold = m_writer.font().bold;
    m_writer.setFontBold(false);
    m_writer.setCurrentY(page::kFooterTop);
    ++m_pageCounter;
    const QString footer = QStringLiteral("Page ") + QString::number(m_pageCounter);
    m_writer.setCurrentX((m_writer.scaleWidth() - m_writer.textWidth(footer)) / 2);
    m_writer.print(footer);
    if (!lastPage)
        m_writer.newPage();
    m_writer.setFontBold(wasBold);
}

void ParagraphPrinter::PrintContinuationHeading(const QString& title)
{
    const PrintFont saved = m_writer.font();
    m_writer.setFontName(timesNewRoman());
    m_writer.setFontBold(true);
    m_writer.setCurrentX((m_writer.scaleWidth() - m_writer.textWidth(title)) / 2);
    m_writer.print(title);
    m_writer.setFont(saved);
    m_writer.setCurrentX(page::kLineStart);
}

} // namespace halcyra

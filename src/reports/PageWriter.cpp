#include "reports/PageWriter.h"

#include <algorithm>

namespace halcyra {

std::vector<double> TextMeasure::prefixWidths(const QString& text,
                                              const std::vector<qsizetype>& lengths,
                                              const PrintFont& font) const
{
    std::vector<double> widths;
    widths.reserve(lengths.size());
    for (qsizetype length : lengths)
        widths.push_back(width(text.left(length), font));
    return widths;
}

QRectF fittedPageRect(QSizeF pagePoints, QSizeF printableInches)
{
    const QSizeF page = pagePoints / 72.0;
    if (page.isEmpty() || printableInches.isEmpty())
        return {};
    const double scale =
        std::min(printableInches.width() / page.width(), printableInches.height() / page.height());
    const QSizeF size = page * scale;
    return {QPointF((printableInches.width() - size.width()) / 2,
                    (printableInches.height() - size.height()) / 2),
            size};
}

PageWriter::PageWriter(const TextMeasure& measure) : m_measure(measure) {}

void PageWriter::print(const QString& text, bool endLine)
{
    if (!text.isEmpty()) {
        preparePage();
        drawText(m_x, m_y, text, m_font);
    }
    if (endLine)
        this->endLine();
    else
        m_x += textWidth(text);
}

void PageWriter::endLine()
{
    m_y += textHeight();
    m_x = 0;
}

void PageWriter::newPage()
{
    if (m_pageHasContent)
        m_newPagePending = true;
    m_pageHasContent = false;
    m_x = 0;
    m_y = 0;
}

void PageWriter::endDoc()
{
    if (m_begun) {
        finishPage();
        endDocument();
    }
    m_begun = false;
    m_ended = true;
    m_newPagePending = false;
    m_pageHasContent = false;
    m_x = 0;
    m_y = 0;
}

void PageWriter::drawPageImage(const QImage& image, QSizeF pagePoints)
{
    const QRectF paper = paperRect();
    const QRectF area = fittedPageRect(pagePoints, paper.size()).translated(paper.topLeft());
    if (area.isEmpty())
        return;
    preparePage();
    drawImage(area, image);
}

void PageWriter::drawRule(double left, double right, double top, double thickness)
{
    if (right <= left || thickness <= 0)
        return;
    preparePage();
    fillRect(QRectF(left, top, right - left, thickness));
}

bool PageWriter::placeDocumentPage(const QString&, int)
{
    return false;
}

void PageWriter::finishPage()
{
    if (!m_finisher || m_finishing)
        return;
    m_finishing = true;
    const PrintFont font = m_font;
    const double x = m_x;
    const double y = m_y;
    const bool hadContent = m_pageHasContent;
    const bool pending = m_newPagePending;
    m_newPagePending = false;
    m_finisher(m_pagesBegun);
    m_font = font;
    m_x = x;
    m_y = y;
    m_pageHasContent = hadContent;
    m_newPagePending = pending;
    m_finishing = false;
}

void PageWriter::fillRect(const QRectF& inches)
{
    QImage black(1, 1, QImage::Format_RGB32);
    black.fill(Qt::black);
    drawImage(inches, black);
}

void PageWriter::preparePage()
{
    if (!m_begun) {
        beginDocument();
        m_begun = true;
        m_ended = false;
        m_newPagePending = false;
        ++m_pagesBegun;
    } else if (m_newPagePending && !m_finishing) {
        finishPage();
        beginNextPage();
        m_newPagePending = false;
        ++m_pagesBegun;
    }
    m_pageHasContent = true;
}

} // namespace halcyra

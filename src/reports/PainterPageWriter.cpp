#include "reports/PainterPageWriter.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <algorithm>

namespace halcyra {

QFont DeviceTextMeasure::qfont(const PrintFont& font)
{
    QFont result(font.name);
    result.setPointSizeF(font.size);
    result.setBold(font.bold);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    // Paper has no pixel grid to snap to; unhinted outlines also measure the same at every
    // resolution, so a layout does not change between a PDF file and a printer.
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

double DeviceTextMeasure::dotsPerInch() const
{
    return m_device.logicalDpiX();
}

const QFontMetricsF& DeviceTextMeasure::metrics(const PrintFont& font) const
{
    const int dpi = m_device.logicalDpiX();
    for (const Entry& entry : m_cache)
        if (entry.dpi == dpi && entry.font == font)
            return entry.metrics;
    m_cache.push_back({font, dpi, QFontMetricsF(qfont(font), &m_device)});
    return m_cache.back().metrics;
}

double DeviceTextMeasure::width(const QString& text, const PrintFont& font) const
{
    return metrics(font).horizontalAdvance(text) / dotsPerInch();
}

double DeviceTextMeasure::lineHeight(const PrintFont& font) const
{
    return metrics(font).lineSpacing() / dotsPerInch();
}

PainterPageWriter::PainterPageWriter(QPagedPaintDevice& device, int documentDpi)
    : DeviceTextMeasureHolder(device), PageWriter(measure), m_device(device),
      m_documentDpi(documentDpi)
{}

PainterPageWriter::~PainterPageWriter()
{
    if (m_painter.isActive())
        m_painter.end();
}

QSizeF PainterPageWriter::printableSize() const
{
    return m_device.pageLayout().paintRect(QPageLayout::Inch).size();
}

QSize PainterPageWriter::pageImageSize(QSizeF pagePoints) const
{
    const double dpi = std::min<double>(measure.dotsPerInch(), m_documentDpi);
    const QSizeF inches = fittedPageRect(pagePoints, printableSize()).size();
    return (inches * dpi).toSize();
}

void PainterPageWriter::drawText(double x, double top, const QString& text, const PrintFont& font)
{
    if (!m_painter.isActive())
        return;
    if (!m_painterFontSet || !(m_painterFont == font)) {
        m_painter.setFont(DeviceTextMeasure::qfont(font));
        m_painterFont = font;
        m_painterFontSet = true;
    }
    const double dpi = measure.dotsPerInch();
    m_painter.drawText(QPointF(x * dpi, top * dpi + measure.metrics(font).ascent()), text);
}

void PainterPageWriter::drawImage(const QRectF& inches, const QImage& image)
{
    if (!m_painter.isActive())
        return;
    const double dpi = measure.dotsPerInch();
    const QRectF target(inches.topLeft() * dpi, inches.size() * dpi);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter.drawImage(target, image);
}

void PainterPageWriter::beginDocument()
{
    m_painterFontSet = false;
    m_failed = !m_painter.begin(&m_device);
}

void PainterPageWriter::beginNextPage()
{
    if (m_painter.isActive())
        m_device.newPage();
}

void PainterPageWriter::endDocument()
{
    if (m_painter.isActive())
        m_painter.end();
}

} // namespace halcyra

#include "reports/PainterPageWriter.h"

#include <QCache>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QTextLayout>
#include <algorithm>

namespace halcyra {
namespace {

// What is kept of the layouts: cursor positions of measured texts (8 bytes each) and glyphs of
// printed lines (about 20 bytes each); some ten megabytes, the catalogue's paragraphs many
// times over.
constexpr qsizetype kKeptPositions = 1'000'000;
constexpr qsizetype kKeptGlyphs = 500'000;

// What a thread keeps of its text layouts. Per thread: the layouts hold the thread's own font
// engines.
struct LayoutCaches
{
    QCache<QString, std::vector<double>> positions{kKeptPositions};
    std::vector<double> unkeptPositions;
    QCache<QString, QList<QGlyphRun>> glyphRuns{kKeptGlyphs};
    QList<QGlyphRun> unkeptGlyphRuns;
};

LayoutCaches& layoutCaches()
{
    thread_local LayoutCaches caches;
    return caches;
}

} // namespace

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
    return m_device->logicalDpiX();
}

const QFontMetricsF& DeviceTextMeasure::metrics(const PrintFont& font) const
{
    const int dpi = m_device->logicalDpiX();
    for (const Entry& entry : m_cache)
        if (entry.dpi == dpi && entry.font == font)
            return entry.metrics;
    m_cache.push_back({font, dpi, QFontMetricsF(qfont(font), m_device)});
    return m_cache.back().metrics;
}

// Measured as the text is printed: from its layout as one line.
double DeviceTextMeasure::width(const QString& text, const PrintFont& font) const
{
    return cursorPositions(text, font).back();
}

std::vector<double> DeviceTextMeasure::prefixWidths(const QString& text,
                                                    const std::vector<qsizetype>& lengths,
                                                    const PrintFont& font) const
{
    const std::vector<double>& positions = cursorPositions(text, font);
    std::vector<double> widths;
    widths.reserve(lengths.size());
    for (qsizetype length : lengths)
        widths.push_back(
            positions[static_cast<size_t>(std::clamp<qsizetype>(length, 0, text.size()))]);
    return widths;
}

QString DeviceTextMeasure::layoutKey(const QString& text, const PrintFont& font) const
{
    return QStringLiteral("%1|%2|%3|%4|%5\x1f")
               .arg(font.name)
               .arg(font.size)
               .arg(static_cast<int>(font.bold) + 2 * static_cast<int>(font.italic) +
                    4 * static_cast<int>(font.underline))
               .arg(m_device->logicalDpiX())
               .arg(text.size()) +
           text;
}

// The x of every cursor position of the text laid out as one line, in inches. Reports print
// the same catalogue paragraphs again and again, so the layouts are kept for the whole run.
const std::vector<double>& DeviceTextMeasure::cursorPositions(const QString& text,
                                                              const PrintFont& font) const
{
    QCache<QString, std::vector<double>>& kept = layoutCaches().positions;
    const QString key = layoutKey(text, font);
    if (const std::vector<double>* positions = kept.object(key))
        return *positions;
    QTextLayout layout(text, qfont(font), m_device);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    auto positions = std::make_unique<std::vector<double>>(static_cast<size_t>(text.size()) + 1);
    const double dpi = dotsPerInch();
    for (qsizetype at = 0; at <= text.size(); ++at)
        (*positions)[static_cast<size_t>(at)] = line.cursorToX(static_cast<int>(at)) / dpi;
    const auto cost = static_cast<qsizetype>(positions->size());
    if (cost >= kept.maxCost()) {
        // Too long to keep (the cache would drop it at once): lent until the next call.
        std::vector<double>& unkept = layoutCaches().unkeptPositions;
        unkept = std::move(*positions);
        return unkept;
    }
    std::vector<double>* stored = positions.get();
    kept.insert(key, positions.release(), cost);
    return *stored;
}

// The shaped glyphs of a printed line, kept like the measurements: shaping is most of the
// work of printing text.
const QList<QGlyphRun>& DeviceTextMeasure::glyphRuns(const QString& text,
                                                     const PrintFont& font) const
{
    QCache<QString, QList<QGlyphRun>>& kept = layoutCaches().glyphRuns;
    const QString key = layoutKey(text, font);
    if (const QList<QGlyphRun>* runs = kept.object(key))
        return *runs;
    QTextLayout layout(text, qfont(font), m_device);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    auto runs = std::make_unique<QList<QGlyphRun>>(layout.glyphRuns());
    QList<QGlyphRun>* stored = runs.get();
    qsizetype glyphs = 1;
    for (const QGlyphRun& run : *stored)
        glyphs += run.glyphIndexes().size();
    if (glyphs >= kept.maxCost()) {
        QList<QGlyphRun>& unkept = layoutCaches().unkeptGlyphRuns;
        unkept = std::move(*runs);
        return unkept;
    }
    kept.insert(key, runs.release(), glyphs);
    return *stored;
}

double DeviceTextMeasure::lineHeight(const PrintFont& font) const
{
    return metrics(font).lineSpacing() / dotsPerInch();
}

PainterPageWriter::PainterPageWriter(QPagedPaintDevice& device, int documentDpi)
    : DeviceTextMeasureHolder(device), PageWriter(measure), m_device(&device),
      m_documentDpi(documentDpi)
{}

PainterPageWriter::~PainterPageWriter()
{
    if (m_painter.isActive())
        m_painter.end();
}

QSizeF PainterPageWriter::printableSize() const
{
    // From the device's pixels: the page layout gives inches rounded to hundredths, which on A4
    // puts right-aligned text a sixth of a point past the margin.
    const int dpi = m_device->logicalDpiX();
    return m_device->pageLayout().paintRectPixels(dpi).size().toSizeF() / dpi;
}

QRectF PainterPageWriter::paperRect() const
{
    const int dpi = m_device->logicalDpiX();
    const QPageLayout layout = m_device->pageLayout();
    const QRect paint = layout.paintRectPixels(dpi);
    return {QPointF(-paint.left(), -paint.top()) / dpi,
            layout.fullRectPixels(dpi).size().toSizeF() / dpi};
}

QSize PainterPageWriter::pageImageSize(QSizeF pagePoints) const
{
    const double dpi = std::min<double>(measure.dotsPerInch(), m_documentDpi);
    const QSizeF inches = fittedPageRect(pagePoints, paperRect().size()).size();
    return (inches * dpi).toSize();
}

bool PainterPageWriter::setDevice(QPagedPaintDevice& device)
{
    if (pagesBegun() > 0 || m_painter.isActive())
        return false;
    m_device = &device;
    measure.setDevice(device);
    return true;
}

bool PainterPageWriter::placeDocumentPage(const QString& path, int page)
{
    if (!m_placeDocumentPages)
        return false;
    reservePage();
    m_placed.push_back({pagesBegun(), path, page});
    return true;
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
    // The glyphs stand on the line's baseline, below its top by the font's ascent.
    const double dpi = measure.dotsPerInch();
    for (const QGlyphRun& run : measure.glyphRuns(text, font))
        m_painter.drawGlyphRun(QPointF(x * dpi, top * dpi), run);
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

void PainterPageWriter::fillRect(const QRectF& inches)
{
    if (!m_painter.isActive())
        return;
    const double dpi = measure.dotsPerInch();
    m_painter.fillRect(QRectF(inches.topLeft() * dpi, inches.size() * dpi), Qt::black);
}

void PainterPageWriter::beginDocument()
{
    m_painterFontSet = false;
    m_failed = !m_painter.begin(m_device);
}

void PainterPageWriter::beginNextPage()
{
    if (m_painter.isActive())
        m_device->newPage();
}

void PainterPageWriter::endDocument()
{
    if (m_painter.isActive())
        m_painter.end();
}

void releaseThreadLayouts()
{
    LayoutCaches& caches = layoutCaches();
    caches.positions.clear();
    caches.unkeptPositions = {};
    caches.glyphRuns.clear();
    caches.unkeptGlyphRuns = {};
    releaseThreadSourceDocuments();
}

} // namespace halcyra

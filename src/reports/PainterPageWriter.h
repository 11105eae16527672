#pragma once

#include "reports/PageWriter.h"
#include "reports/ReportAssembly.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QList>
#include <QPainter>
#include <vector>

class QPagedPaintDevice;

namespace halcyra {

// Lets go of what this thread keeps for the reports it wrote: text layouts and their font
// engines, and the fixed documents. A worker thread calls it before it ends: Qt's own data of
// the thread ends with the thread's run, C++ thread-locals only after the thread is reported
// finished, when the program may already be exiting.
void releaseThreadLayouts();

// Measures text with the fonts as they print on one device, at the device's resolution.
class DeviceTextMeasure final : public TextMeasure
{
public:
    explicit DeviceTextMeasure(const QPagedPaintDevice& device) : m_device(&device) {}

    double width(const QString& text, const PrintFont& font) const override;
    double lineHeight(const PrintFont& font) const override;
    std::vector<double> prefixWidths(const QString& text, const std::vector<qsizetype>& lengths,
                                     const PrintFont& font) const override;

    // The device font for a printer font.
    static QFont qfont(const PrintFont& font);
    double dotsPerInch() const;
    const QFontMetricsF& metrics(const PrintFont& font) const;
    // The text laid out as one line in the font, ready to draw with its top at the origin.
    const QList<QGlyphRun>& glyphRuns(const QString& text, const PrintFont& font) const;
    // Measures on `device` from now on.
    void setDevice(const QPagedPaintDevice& device) { m_device = &device; }

private:
    QString layoutKey(const QString& text, const PrintFont& font) const;
    const std::vector<double>& cursorPositions(const QString& text, const PrintFont& font) const;

    struct Entry
    {
        PrintFont font;
        int dpi;
        QFontMetricsF metrics;
    };
    const QPagedPaintDevice* m_device;
    mutable std::vector<Entry> m_cache;
};

// The measure has to exist before the PageWriter base that refers to it.
struct DeviceTextMeasureHolder
{
    explicit DeviceTextMeasureHolder(const QPagedPaintDevice& device) : measure(device) {}
    DeviceTextMeasure measure;
};

// Prints on a paged device (a QPrinter, or a QPdfWriter writing a file) through a QPainter.
// Positions are inches from the top left of the device's printable area, which is where a
// painter's origin lies on a paged device. The painter is begun with the first text printed,
// so a printer set up in a dialog after this writer was made prints with its new settings.
class PainterPageWriter final : private DeviceTextMeasureHolder, public PageWriter
{
public:
    // `documentDpi` caps the resolution fixed documents are rendered at: enough for print,
    // without images of hundreds of megabytes on a 1200 dpi device.
    explicit PainterPageWriter(QPagedPaintDevice& device, int documentDpi = 300);
    ~PainterPageWriter() override;

    QSizeF printableSize() const override;
    QRectF paperRect() const override;
    QSize pageImageSize(QSizeF pagePoints) const override;
    // False when the painter could not be begun on the device (for example, no printer).
    bool deviceFailed() const { return m_failed; }

    // Prints on `device` instead, which must outlive the writer's document: a report that goes
    // to a PDF (for a file, or a queue that takes PDF) instead of onto the printer. Only before
    // the first page is begun; false, and nothing changed, afterwards.
    bool setDevice(QPagedPaintDevice& device);

    // On a PDF output, fixed documents' pages are put in afterwards as the documents' own
    // pages (assembleReportPdf) instead of being drawn as images.
    void setPlaceDocumentPages(bool on) { m_placeDocumentPages = on; }
    const std::vector<PlacedDocumentPage>& placedPages() const { return m_placed; }
    bool placeDocumentPage(const QString& path, int page) override;

protected:
    void drawText(double x, double top, const QString& text, const PrintFont& font) override;
    void drawImage(const QRectF& inches, const QImage& image) override;
    void fillRect(const QRectF& inches) override;
    void beginDocument() override;
    void beginNextPage() override;
    void endDocument() override;

private:
    QPagedPaintDevice* m_device;
    QPainter m_painter;
    int m_documentDpi;
    bool m_failed = false;
    PrintFont m_painterFont;
    bool m_painterFontSet = false;
    bool m_placeDocumentPages = false;
    std::vector<PlacedDocumentPage> m_placed;
};

} // namespace halcyra

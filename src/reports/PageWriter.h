#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <functional>
#include <vector>

namespace halcyra {

// The faces the reports ask for by name; fonts-liberation2 gives metric-compatible ones.
inline QString timesNewRoman()
{
    return QStringLiteral("Times New Roman");
}
inline QString arial()
{
    return QStringLiteral("Arial");
}
inline QString courierNew()
{
    return QStringLiteral("Courier New");
}

// A printer font: face name, size in points and attributes.
struct PrintFont
{
    QString name = timesNewRoman();
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const PrintFont& other) const = default;
};

// Measures printed text in inches. Every width and line height of the reports comes from here,
// so a test can lay text out with widths it chooses.
class TextMeasure
{
public:
    virtual ~TextMeasure() = default;
    virtual double width(const QString& text, const PrintFont& font) const = 0;
    // The distance from one printed line to the next.
    virtual double lineHeight(const PrintFont& font) const = 0;
    // The widths of text.left(n) for each n of `lengths`, as width() gives them. A measure
    // that can lay the text out once may answer all of them from that one layout.
    virtual std::vector<double> prefixWidths(const QString& text,
                                             const std::vector<qsizetype>& lengths,
                                             const PrintFont& font) const;
};

// Where a page of `pagePoints` goes in a printable area: as large as fits, centred, in inches.
QRectF fittedPageRect(QSizeF pagePoints, QSizeF printableInches);

// The printer object the reports print through: a current position in inches from the top
// left corner of the printable area, a current font, and text printed where the position
// stands. Subclasses put the text on a real device (PainterPageWriter) or record it.
// Nothing reaches the device until the first text or image: a report that prints nothing
// starts no print job.
class PageWriter
{
public:
    explicit PageWriter(const TextMeasure& measure);
    virtual ~PageWriter() = default;
    PageWriter(const PageWriter&) = delete;
    PageWriter& operator=(const PageWriter&) = delete;

    // The printable area in inches. Asked afresh every time: a printer's paper and margins
    // may change in the print dialog after the writer was made.
    virtual QSizeF printableSize() const = 0;
    double scaleWidth() const { return printableSize().width(); }
    double scaleHeight() const { return printableSize().height(); }

    double currentX() const { return m_x; }
    double currentY() const { return m_y; }
    void setCurrentX(double inches) { m_x = inches; }
    void setCurrentY(double inches) { m_y = inches; }

    const PrintFont& font() const { return m_font; }
    void setFont(const PrintFont& font) { m_font = font; }
    void setFontName(const QString& name) { m_font.name = name; }
    void setFontSize(double points) { m_font.size = points; }
    void setFontBold(bool on) { m_font.bold = on; }
    void setFontItalic(bool on) { m_font.italic = on; }
    void setFontUnderline(bool on) { m_font.underline = on; }

    double textWidth(const QString& text) const { return m_measure.width(text, m_font); }
    std::vector<double> prefixWidths(const QString& text,
                                     const std::vector<qsizetype>& lengths) const
    {
        return m_measure.prefixWidths(text, lengths, m_font);
    }
    double textHeight() const { return m_measure.lineHeight(m_font); }
    const TextMeasure& textMeasure() const { return m_measure; }

    // Prints `text` at the current position in the current font. With `endLine` the position
    // then moves to the start of the next line; without, it stays on the line after the text.
    void print(const QString& text, bool endLine = true);
    // Moves to the start of the next line (an empty line when nothing was printed on it).
    void endLine();

    // Finishes the current page; printing continues at the top left of a new one. The new
    // page is begun by the next thing printed, so a report never ends on an empty page, and a
    // page with nothing on it is not finished twice.
    void newPage();
    // Finishes the document: the print job is sent, or the file completed.
    void endDoc();

    // Whether anything was printed on the current page, and how many pages have been begun.
    bool pageHasContent() const { return m_pageHasContent; }
    int pagesBegun() const { return m_pagesBegun; }
    bool ended() const { return m_ended; }

    // The whole sheet of paper in inches from the top left of the printable area (its margins
    // lie left of and above the origin); by default the printable area itself.
    virtual QRectF paperRect() const { return {QPointF(), printableSize()}; }
    // The pixel size a page image of `pagePoints` (points) should have on this device.
    virtual QSize pageImageSize(QSizeF pagePoints) const = 0;
    // Draws a fixed document's page image on the whole paper, as large as fits and centred:
    // where a report PDF puts the document's own page, so that its margins are its own and a
    // Letter page on Letter paper keeps its size.
    void drawPageImage(const QImage& image, QSizeF pagePoints);
    // A horizontal rule from `left` to `right` whose top is at `top` (inches).
    void drawRule(double left, double right, double top, double thickness);

    // Puts page `page` (from 0) of the PDF file at `path` on the current page as the file's own
    // page, where the output can take it (a PDF assembled afterwards). False: the caller draws
    // a page image instead.
    virtual bool placeDocumentPage(const QString& path, int page);
    // Begins the current page without drawing on it.
    void reservePage() { preparePage(); }

    // Called with its number (from 1 in the document) as each page with content is finished,
    // before the next page or the end of the document; what it prints lands on that page.
    // Position and font are put back afterwards.
    void setPageFinisher(std::function<void(int page)> finisher)
    {
        m_finisher = std::move(finisher);
    }
    bool hasPageFinisher() const { return static_cast<bool>(m_finisher); }

protected:
    // `top` is the top of the text line, in inches.
    virtual void drawText(double x, double top, const QString& text, const PrintFont& font) = 0;
    virtual void drawImage(const QRectF& inches, const QImage& image) = 0;
    // A filled rectangle; by default an image of one black pixel stretched over it.
    virtual void fillRect(const QRectF& inches);
    // Called before the first drawing of the document and for every following page.
    virtual void beginDocument() = 0;
    virtual void beginNextPage() = 0;
    virtual void endDocument() = 0;

private:
    void preparePage();
    void finishPage();

    const TextMeasure& m_measure;
    std::function<void(int)> m_finisher;
    bool m_finishing = false;
    PrintFont m_font;
    double m_x = 0;
    double m_y = 0;
    bool m_begun = false;
    bool m_ended = false;
    bool m_pageHasContent = false;
    bool m_newPagePending = false;
    int m_pagesBegun = 0;
};

// Lays pages out without drawing them: counts the pages a report will take, or measures how
// far a block of text reaches.
class CountingPageWriter final : public PageWriter
{
public:
    CountingPageWriter(const TextMeasure& measure, QSizeF printable)
        : PageWriter(measure), m_printable(printable)
    {}

    QSizeF printableSize() const override { return m_printable; }
    QSize pageImageSize(QSizeF) const override { return {}; }
    bool placeDocumentPage(const QString&, int) override
    {
        reservePage();
        return true;
    }

protected:
    void drawText(double, double, const QString&, const PrintFont&) override {}
    void drawImage(const QRectF&, const QImage&) override {}
    void fillRect(const QRectF&) override {}
    void beginDocument() override {}
    void beginNextPage() override {}
    void endDocument() override {}

private:
    QSizeF m_printable;
};

} // namespace halcyra

#pragma once

// A page writer that records what it was asked to draw where, measuring text with widths the
// test knows: every character is `charWidth` inches wide at 10 points (bold a little wider),
// and a line is `lineHeight` inches at 10 points.

#include "reports/PageWriter.h"

#include <QList>
#include <QStringList>

namespace halcyra::test {

class FixedTextMeasure final : public TextMeasure
{
public:
    double charWidth = 0.1;
    double boldCharWidth = 0.12;
    double lineHeightAt10 = 0.2;

    double width(const QString& text, const PrintFont& font) const override
    {
        return static_cast<double>(text.size()) * (font.bold ? boldCharWidth : charWidth) *
               font.size / 10;
    }
    double lineHeight(const PrintFont& font) const override
    {
        return lineHeightAt10 * font.size / 10;
    }
};

// Holds the measure, so that it is built before the page writer that keeps a reference to it.
struct FixedTextMeasureHolder
{
    FixedTextMeasure measure;
};

class RecordingPageWriter final : public FixedTextMeasureHolder, public PageWriter
{
public:
    struct Drawn
    {
        int page = 0; // from 1
        double x = 0;
        double y = 0;
        QString text;
        PrintFont font;
        double width = 0;
        bool image = false;
    };

    explicit RecordingPageWriter(QSizeF printable = {8.0, 10.5})
        : PageWriter(FixedTextMeasureHolder::measure), m_printable(printable)
    {}

    QList<Drawn> drawn;
    int pages = 0;
    int documentsEnded = 0;

    QSizeF printableSize() const override { return m_printable; }
    QSize pageImageSize(QSizeF pagePoints) const override
    {
        return (pagePoints / 72.0 * 10).toSize();
    }

    QStringList texts() const
    {
        QStringList all;
        for (const Drawn& item : drawn)
            if (!item.image)
                all << item.text;
        return all;
    }
    QList<Drawn> onPage(int page) const
    {
        QList<Drawn> items;
        for (const Drawn& item : drawn)
            if (item.page == page)
                items << item;
        return items;
    }
    // The first drawing whose text is `text`; nullptr when there is none.
    const Drawn* find(const QString& text) const
    {
        for (const Drawn& item : drawn)
            if (item.text == text)
                return &item;
        return nullptr;
    }
    const Drawn* findContaining(const QString& text) const
    {
        for (const Drawn& item : drawn)
            if (item.text.contains(text))
                return &item;
        return nullptr;
    }

protected:
    void drawText(double x, double top, const QString& text, const PrintFont& font) override
    {
        drawn.append({pages, x, top, text, font, measure.width(text, font), false});
    }
    void drawImage(const QRectF& inches, const QImage&) override
    {
        drawn.append({pages, inches.x(), inches.y(), QString(), font(), inches.width(), true});
    }
    void beginDocument() override { ++pages; }
    void beginNextPage() override { ++pages; }
    void endDocument() override { ++documentsEnded; }

private:
    QSizeF m_printable;
};

} // namespace halcyra::test

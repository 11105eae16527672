#include "ui/ReadableColours.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace halcyra {
namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

// A page on which light text reads better than dark text.
bool takesLightText(const QColor& base)
{
    const double l = luminance(base);
    return (1.05 / (l + 0.05)) > ((l + 0.05) / 0.05);
}

// The background's own lightness side, with the hue and saturation of `tint`: a pale tint on
// a light page stays pale, on a dark page it becomes a shade of the same hue a little darker
// than the page, so the page's light text reads on it as well.
QColor backgroundFor(const QColor& tint, const QColor& base)
{
    if (!takesLightText(base))
        return tint;
    const QColor hsl = tint.toHsl();
    const int lightness = std::max(base.toHsl().lightness() - 16, 18);
    return QColor::fromHsl(hsl.hslHue(), std::min(hsl.hslSaturation(), 120), lightness);
}

// A text colour for the page: on a dark page a dark colour becomes the matching light one
// (near-black body text turns near-white, a dark heading blue a light blue), then it is made to
// read on the page with room to spare for the tints the page may put under it.
QColor textFor(const QColor& written, const QColor& base)
{
    if (!takesLightText(base))
        return readableOn(written, base);
    const QColor hsl = written.toHsl();
    const QColor mirrored =
        hsl.lightness() < 128
            ? QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), 255 - hsl.lightness())
            : written;
    return readableOn(mirrored, base, kReadableContrast + 2);
}

} // namespace

double contrastRatio(const QColor& first, const QColor& second)
{
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

bool isDarkPalette(const QPalette& palette)
{
    return luminance(palette.color(QPalette::Base)) < luminance(palette.color(QPalette::Text));
}

QColor readableOn(const QColor& wanted, const QColor& background, double minimum)
{
    if (contrastRatio(wanted, background) >= minimum)
        return wanted;
    // Towards whichever end can give the more contrast.
    const bool lighter =
        contrastRatio(Qt::white, background) >= contrastRatio(Qt::black, background);
    const QColor hsl = wanted.toHsl();
    int lightness = hsl.lightness();
    while (lighter ? lightness < 255 : lightness > 0) {
        lightness = std::clamp(lightness + (lighter ? 4 : -4), 0, 255);
        const QColor shade = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness);
        if (contrastRatio(shade, background) >= minimum)
            return shade;
    }
    return lighter ? QColor(Qt::white) : QColor(Qt::black);
}

QColor meaningColour(const QColor& wanted, const QPalette& palette, QPalette::ColorRole background)
{
    return isDarkPalette(palette) ? readableOn(wanted, palette.color(background)) : wanted;
}

QColor markedScoreColour(const QPalette& palette)
{
    return readableOn(QColor(0, 0, 255), palette.color(QPalette::Base));
}

QString htmlColoursFor(const QString& html, const QPalette& palette)
{
    static const QRegularExpression colour(
        QStringLiteral(R"((background-color\s*:\s*|color\s*:\s*|color\s*=\s*")(#[0-9a-fA-F]{6}))"));
    const QColor base = palette.color(QPalette::Base);
    QString result;
    qsizetype done = 0;
    auto it = colour.globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QString property = match.captured(1);
        const QColor written(match.captured(2));
        const QColor fitted =
            property.startsWith(u'b') ? backgroundFor(written, base) : textFor(written, base);
        result += html.mid(done, match.capturedStart(2) - done);
        result += fitted.name();
        done = match.capturedEnd(2);
    }
    result += html.mid(done);
    return result;
}

} // namespace halcyra

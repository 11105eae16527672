#include "records/MainWindowRules.h"

#include "core/Conversions.h"
#include "core/ErrorReporter.h"
#include "records/DataControl.h"
#include "ui/WindowFit.h"

#include <algorithm>

namespace halcyra {
namespace {

// How much of the window's top edge must lie on a screen for the adviser to reach its title
// bar and move it.
constexpr int kReachableWidth = 100;
constexpr int kReachableHeight = 20;
constexpr int kTitleBarHeight = 30;
constexpr int kSmallestSide = 200;

std::optional<int> storedNumber(const QString& text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    return leadingInteger(text);
}

} // namespace

std::optional<QRect> restoredMainGeometry(const QString& left, const QString& top,
                                          const QString& width, const QString& height,
                                          const QList<QRect>& screens)
{
    const auto x = storedNumber(left);
    const auto y = storedNumber(top);
    const auto w = storedNumber(width);
    const auto h = storedNumber(height);
    if (!x || !y || !w || !h || *w < kSmallestSide || *h < kSmallestSide)
        return std::nullopt;

    const QRect titleBar(*x, *y, *w, kTitleBarHeight);
    for (const QRect& screen : screens) {
        const QRect onScreen = titleBar.intersected(screen);
        if (onScreen.width() < std::min(kReachableWidth, *w) ||
            onScreen.height() < kReachableHeight)
            continue;
        return fitInside(QRect(*x, *y, *w, *h), screen);
    }
    return std::nullopt;
}

QString dataSourceErrorMessage(const QString& reason)
{
    return Data1_ErrorMessage(errors::kPathFileAccess, reason, errors::kPathFileAccess);
}

QString dataGridCaption(const QString& recordSource)
{
    return recordSource.size() <= 50 ? recordSource : QStringLiteral("SQL Statement");
}

} // namespace halcyra

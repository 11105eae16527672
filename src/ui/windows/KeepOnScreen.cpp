#include "ui/windows/KeepOnScreen.h"

#include "ui/WindowFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace halcyra {
namespace {

const char* const kFitted = "keptOnScreen";

// A title bar and borders as desktops draw them, for a window not yet framed.
const QMargins kAssumedFrame(8, 36, 8, 8);

QMargins frameOf(const QWidget* window)
{
    if (const QWindow* handle = window->windowHandle(); handle && window->isVisible()) {
        const QMargins margins = handle->frameMargins();
        if (!margins.isNull())
            return margins;
    }
    return kAssumedFrame;
}

QRect availableFor(const QWidget* window)
{
    const QScreen* screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QSize fittedSize(const QWidget* window, QSize inside)
{
    const QRect available = availableFor(window);
    if (available.isEmpty())
        return inside;
    const QMargins frame = frameOf(window);
    return inside.boundedTo(available.size().shrunkBy(frame));
}

class ScreenFitter : public QObject
{
public:
    explicit ScreenFitter(QWidget* window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !event->spontaneous())
            fitOnScreenNow(static_cast<QWidget*>(watched));
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void keepOnScreen(QWidget* window, QSize wanted)
{
    window->resize(fittedSize(window, wanted.isEmpty() ? window->size() : wanted));
    if (!window->property(kFitted).toBool()) {
        window->setProperty(kFitted, true);
        new ScreenFitter(window);
    }
}

void fitOnScreenNow(QWidget* window)
{
    const QRect available = availableFor(window);
    if (available.isEmpty())
        return;
    const QMargins frame = frameOf(window);
    const QRect wanted(window->pos(), window->size().grownBy(frame));
    const QRect fitted = fitInside(wanted, available);
    if (fitted == wanted)
        return;
    window->resize(fitted.size().shrunkBy(frame));
    window->move(fitted.topLeft());
}

} // namespace halcyra

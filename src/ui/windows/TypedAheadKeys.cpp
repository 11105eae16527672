#include "ui/windows/TypedAheadKeys.h"

#include <QKeyEvent>
#include <QWidget>

namespace halcyra {

TypedAheadKeys::TypedAheadKeys(QWidget* window) : QObject(window)
{
    window->installEventFilter(this);
    for (QWidget* control : window->findChildren<QWidget*>())
        control->installEventFilter(this);
    m_sinceOpened.start();
}

void TypedAheadKeys::opened()
{
    m_pressedHere.clear();
    m_sinceOpened.start();
}

bool TypedAheadKeys::holdsBack(int key, bool pressing, bool repeating)
{
    if (key == Qt::Key_Escape)
        return false;
    if (repeating)
        return !m_pressedHere.contains(key);
    if (!pressing)
        return !m_pressedHere.remove(key);
    if (m_sinceOpened.elapsed() < m_moment.count())
        return true;
    m_pressedHere.insert(key);
    return false;
}

bool TypedAheadKeys::eventFilter(QObject* watched, QEvent* event)
{
    (void)watched;
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::ShortcutOverride) {
        // Asked before the key goes down: a held-back key must not reach a shortcut either.
        const bool held = key->key() != Qt::Key_Escape &&
                          (key->isAutoRepeat() ? !m_pressedHere.contains(key->key())
                                               : m_sinceOpened.elapsed() < m_moment.count());
        if (held)
            key->accept();
        return held;
    }
    return holdsBack(key->key(), type == QEvent::KeyPress, key->isAutoRepeat());
}

} // namespace halcyra

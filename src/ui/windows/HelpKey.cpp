#include "ui/windows/HelpKey.h"

#include "core/HelpContexts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace halcyra {

int helpContextOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const int own = w->property("HelpContextID").toInt();
        if (own > 0)
            return own;
        // A window without a topic of its own (a question over another window) leads on to
        // the window it belongs to.
        int window = w->isWindow() ? help::windowContext(w->objectName()) : 0;
        if (w->isWindow() && window == 0)
            window = help::windowContext(QString::fromLatin1(w->metaObject()->className()));
        if (window > 0)
            return window;
    }
    return help::kContents;
}

HelpKeyFilter::HelpKeyFilter(std::function<void(int)> open, QObject* parent)
    : QObject(parent), m_open(std::move(open))
{}

bool HelpKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    // The key reaches the window first, then the control with the focus.
    const QWidget* target = qobject_cast<const QWidget*>(watched);
    if (!target)
        target = QApplication::focusWidget();
    m_open(helpContextOf(target));
    return true;
}

} // namespace halcyra

#include "ui/windows/EnterPressesButton.h"

#include <QKeyEvent>
#include <QPushButton>

namespace halcyra {
namespace {

class EnterPresses final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button && button->isEnabled() && !key->isAutoRepeat())
            button->click();
        return true;
    }
};

} // namespace

void pressWithEnterWhenFocused(QPushButton* button)
{
    button->installEventFilter(new EnterPresses(button));
}

} // namespace halcyra

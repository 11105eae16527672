#include "records/windows/EditBoxes.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace halcyra {

QString boxText(const QWidget* box)
{
    if (auto* line = qobject_cast<const QLineEdit*>(box))
        return line->text();
    if (auto* lines = qobject_cast<const QPlainTextEdit*>(box))
        return lines->toPlainText();
    return {};
}

void setBoxText(QWidget* box, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        if (line->text() != text)
            line->setText(text);
    } else if (auto* lines = qobject_cast<QPlainTextEdit*>(box)) {
        if (lines->toPlainText() != text)
            lines->setPlainText(text);
    }
}

void selectWholeText(QWidget* box)
{
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->selectAll();
    else if (auto* lines = qobject_cast<QPlainTextEdit*>(box))
        lines->selectAll();
}

void putCursorAtEnd(QWidget* box)
{
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->deselect();
        line->setCursorPosition(static_cast<int>(line->text().size()));
    } else if (auto* lines = qobject_cast<QPlainTextEdit*>(box)) {
        lines->moveCursor(QTextCursor::End);
    }
}

bool isEditBox(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget);
}

void cutFrom(QWidget* box)
{
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->cut();
    else if (auto* lines = qobject_cast<QPlainTextEdit*>(box))
        lines->cut();
}

void copyFrom(QWidget* box)
{
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->copy();
    else if (auto* lines = qobject_cast<QPlainTextEdit*>(box))
        lines->copy();
}

void pasteInto(QWidget* box)
{
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->paste();
    else if (auto* lines = qobject_cast<QPlainTextEdit*>(box))
        lines->paste();
}

void BoxFocusEvents::watch(QWidget* box)
{
    box->installEventFilter(this);
}

bool BoxFocusEvents::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
            reason == Qt::MenuBarFocusReason)
            break;
        if (event->type() == QEvent::FocusIn)
            emit entered(box);
        else
            emit left(box);
        break;
    }
    case QEvent::ShortcutOverride:
        // Left unaccepted, Ctrl+Z goes to the window's shortcut instead of the box.
        if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo))
            return true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace halcyra

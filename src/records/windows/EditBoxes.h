#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace halcyra {

// Text access that works the same for one-line boxes (QLineEdit) and several-line boxes
// (QPlainTextEdit); other widgets read as empty and ignore the calls.
QString boxText(const QWidget* box);
void setBoxText(QWidget* box, const QString& text);
void selectWholeText(QWidget* box);
void putCursorAtEnd(QWidget* box);
bool isEditBox(const QWidget* widget);
void cutFrom(QWidget* box);
void copyFrom(QWidget* box);
void pasteInto(QWidget* box);

// Reports when a box receives or loses the focus the way the adviser sees it: moving to
// another control. Switching windows, opening a menu or a message box is not leaving a box.
// Also keeps Ctrl+Z away from the box so that it reaches the window's Undo entry.
class BoxFocusEvents : public QObject
{
    Q_OBJECT
public:
    explicit BoxFocusEvents(QObject* parent) : QObject(parent) {}
    void watch(QWidget* box);

signals:
    void entered(QWidget* box);
    void left(QWidget* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace halcyra

#include "ui/windows/QtPrompts.h"

#include "core/windows/ArrowCursor.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace halcyra {
namespace {

QMessageBox::Icon toQt(UserPrompts::Icon icon)
{
    switch (icon) {
    case UserPrompts::Icon::Information:
        return QMessageBox::Information;
    case UserPrompts::Icon::Warning:
        return QMessageBox::Warning;
    case UserPrompts::Icon::Critical:
        return QMessageBox::Critical;
    case UserPrompts::Icon::Question:
        return QMessageBox::Question;
    case UserPrompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toQt(UserPrompts::Answer answer)
{
    switch (answer) {
    case UserPrompts::Answer::Yes:
        return QMessageBox::Yes;
    case UserPrompts::Answer::No:
        return QMessageBox::No;
    case UserPrompts::Answer::Cancel:
        return QMessageBox::Cancel;
    case UserPrompts::Answer::Ok:
        break;
    }
    return QMessageBox::Ok;
}

} // namespace

void QtPrompts::inform(const QString& title, const QString& text, Icon icon)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Ok);
    // The pointer may be the hourglass of the procedure that failed; a notice needs the arrow.
    const ArrowCursor arrow;
    box.exec();
}

void QtPrompts::informWithHelp(const QString& title, const QString& text, Icon icon,
                               int helpContext)
{
    if (!openHelp || helpContext <= 0) {
        inform(title, text, icon);
        return;
    }
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok | QMessageBox::Help,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Ok);
    const int result = [&] {
        const ArrowCursor arrow;
        return box.exec();
    }();
    if (result == QMessageBox::Help)
        openHelp(helpContext);
}

UserPrompts::Answer QtPrompts::ask(const QString& title, const QString& text, Buttons buttons,
                                   Icon icon, Answer defaultAnswer)
{
    QMessageBox::StandardButtons qtButtons = QMessageBox::Ok;
    if (buttons == Buttons::YesNo)
        qtButtons = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == Buttons::YesNoCancel)
        qtButtons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(toQt(icon), title, text, qtButtons, QApplication::activeWindow());
    box.setDefaultButton(toQt(defaultAnswer));
    // An answer the box does not offer falls back to its first: OK, or Yes.
    if (!box.defaultButton())
        box.setDefaultButton(qtButtons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok
                                                                 : QMessageBox::Yes);
    const int result = [&] {
        const ArrowCursor arrow;
        return box.exec();
    }();
    switch (result) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

std::optional<QString> QtPrompts::askText(const QString& title, const QString& label,
                                          const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, label,
                                               QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtPrompts::askPassword(const QString& title, const QString& label)
{
    // Asked in the middle of sending, under the hourglass.
    const ArrowCursor arrow;
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, label,
                                               QLineEdit::Password, {}, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtPrompts::chooseFile(const QString& title, const QString& filter,
                                             bool forSaving)
{
    QWidget* parent = QApplication::activeWindow();
    const QString path = forSaving ? QFileDialog::getSaveFileName(parent, title, {}, filter)
                                   : QFileDialog::getOpenFileName(parent, title, {}, filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtPrompts::chooseSaveFile(const QString& title, const QString& filter,
                                                 const QString& proposedName)
{
    const QString path =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), title, proposedName, filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<int> QtPrompts::chooseItem(const QString& title, const QString& label,
                                         const QStringList& items, int current)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(QApplication::activeWindow(), title, label, items,
                                                 current, false, &ok);
    if (!ok)
        return std::nullopt;
    const qsizetype index = items.indexOf(chosen);
    if (index < 0)
        return std::nullopt;
    return static_cast<int>(index);
}

std::optional<UserPrompts::FontChoice> QtPrompts::chooseFont(const QString& title,
                                                             const FontChoice& initial)
{
    bool ok = false;
    QFont font(initial.name);
    font.setPointSize(initial.size > 0 ? initial.size : 8);
    const QFont chosen = QFontDialog::getFont(&ok, font, QApplication::activeWindow(), title);
    if (!ok)
        return std::nullopt;
    return FontChoice{chosen.family(), chosen.pointSize()};
}

void QtPrompts::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

} // namespace halcyra

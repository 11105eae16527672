#include "core/windows/ApplyCatalogueCaptions.h"

#include "core/Catalogue.h"
#include "core/Conversions.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QTabBar>
#include <QTreeWidget>
#include <QWidget>
#include <optional>

namespace halcyra {
namespace {

// The catalogue text a number names, or nothing when the number names no entry.
std::optional<QString> textFor(const Catalogue& catalogue, const QString& number)
{
    const int id = leadingInteger(number);
    if (id <= 0 || !catalogue.contains(id))
        return std::nullopt;
    return catalogue.LoadResString(id);
}

std::optional<QString> tagText(const Catalogue& catalogue, const QObject& object)
{
    const QVariant tag = object.property("tag");
    if (!tag.isValid())
        return std::nullopt;
    return textFor(catalogue, tag.toString());
}

void applyToAction(QAction& action, const Catalogue& catalogue)
{
    if (auto text = textFor(catalogue, action.text()))
        action.setText(*text);
    if (auto tip = textFor(catalogue, action.toolTip()))
        action.setToolTip(*tip);
}

void applyToTabs(QTabBar& tabs, const Catalogue& catalogue)
{
    for (int i = 0; i < tabs.count(); ++i) {
        if (auto text = textFor(catalogue, tabs.tabData(i).toString()))
            tabs.setTabText(i, *text);
        if (auto tip = textFor(catalogue, tabs.tabToolTip(i)))
            tabs.setTabToolTip(i, *tip);
    }
}

void applyToHeader(QTreeWidget& list, const Catalogue& catalogue)
{
    QTreeWidgetItem* header = list.headerItem();
    for (int column = 0; column < header->columnCount(); ++column)
        if (auto text = textFor(catalogue, header->data(column, Qt::UserRole).toString()))
            header->setText(column, *text);
}

void applyToWidget(QWidget& widget, const Catalogue& catalogue)
{
    if (auto* tabs = qobject_cast<QTabBar*>(&widget)) {
        applyToTabs(*tabs, catalogue);
        return;
    }
    if (auto* list = qobject_cast<QTreeWidget*>(&widget))
        applyToHeader(*list, catalogue);
    if (auto text = tagText(catalogue, widget)) {
        if (auto* label = qobject_cast<QLabel*>(&widget))
            label->setText(*text);
        else if (auto* button = qobject_cast<QAbstractButton*>(&widget))
            button->setText(*text);
        else if (auto* frame = qobject_cast<QGroupBox*>(&widget))
            frame->setTitle(*text);
    }
    if (auto tip = textFor(catalogue, widget.toolTip()))
        widget.setToolTip(*tip);
}

} // namespace

void ApplyCatalogueCaptions(QWidget& window, const Catalogue& catalogue)
{
    if (auto title = tagText(catalogue, window))
        window.setWindowTitle(*title);
    for (QAction* action : window.findChildren<QAction*>())
        applyToAction(*action, catalogue);
    for (QWidget* widget : window.findChildren<QWidget*>())
        applyToWidget(*widget, catalogue);
}

} // namespace halcyra

#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QToolBar;

namespace halcyra {

// The main window's menu tree, toolbar tbToolBar and status bar sbStatusBar. Every menu
// entry's action is named after the entry (mnuFileNew, ...) and captioned with its catalogue
// number until ApplyCatalogueCaptions fills in the text. Each toolbar button runs the menu
// entry of its key; Setup > Toolbar and Setup > Status Bar show and hide the two bars.
struct MainMenus
{
    QToolBar* toolBar = nullptr;
    QLabel* helpPanel = nullptr; // the status bar panel with the field help line

    QAction* action(const QString& name) const { return actions.value(name); }
    QAction* toolButton(const QString& key) const { return toolButtons.value(key); }

    QHash<QString, QAction*> actions;     // by entry name, submenus included
    QHash<QString, QAction*> toolButtons; // by key: New, Open, Save, Print, Cut, Copy, Paste
};

MainMenus buildMainMenus(QMainWindow& window);

} // namespace halcyra

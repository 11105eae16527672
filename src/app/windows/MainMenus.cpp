#include "app/windows/MainMenus.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace halcyra {
namespace {

struct MenuEntry
{
    const char* parent; // "" for the menu bar
    const char* name;
    int caption;          // catalogue number
    const char* shortcut; // "" for none
    bool separatorBefore;
    bool submenu;
    const char* ownCaption = nullptr; // entries of our own, with no catalogue text
};

const MenuEntry kMenuTree[] = {
    {"", "mnuFile", 1000, "", false, true},
    {"mnuFile", "mnuFileNew", 1001, "Ctrl+N", false, false},
    {"mnuFile", "mnuFileOpen", 1002, "Ctrl+O", false, false},
    {"mnuFile", "mnuFileSave", 1003, "Ctrl+S", false, false},
    {"mnuFile", "mnuFileNewAssessment", 0, "Ctrl+Shift+N", true, false, "New &Assessment..."},
    {"mnuFile", "mnuFileImport", 0, "", true, false, "&Import Clients..."},
    {"mnuFile", "mnuFileExport", 0, "", false, false, "&Export Clients..."},
    {"mnuFile", "mnuFilePageSetup", 1004, "", true, false},
    {"mnuFile", "mnuFileUtil", 1005, "", true, true},
    {"mnuFileUtil", "mnuFileUtilBackup", 1006, "", false, false},
    {"mnuFileUtil", "mnuFileUtilRestore", 1007, "", false, false},
    {"mnuFile", "mnuFileExit", 1008, "", true, false},

    {"", "mnuEdit", 1009, "", false, true},
    {"mnuEdit", "mnuEditUndo", 1010, "Ctrl+Z", false, false},
    {"mnuEdit", "mnuEditCut", 1011, "Ctrl+X", true, false},
    {"mnuEdit", "mnuEditCopy", 1012, "Ctrl+C", false, false},
    {"mnuEdit", "mnuEditPaste", 1013, "Ctrl+V", false, false},

    // Records: the data source bar's arrows from the keyboard. Alt with the arrow keys, as
    // Ctrl+Home and Ctrl+End move the cursor within the Medications and Notes boxes.
    {"", "mnuRecords", 0, "", false, true, "&Records"},
    {"mnuRecords", "mnuRecordsFirst", 0, "Alt+Home", false, false, "&First Record"},
    {"mnuRecords", "mnuRecordsPrevious", 0, "Alt+Left", false, false, "&Previous Record"},
    {"mnuRecords", "mnuRecordsNext", 0, "Alt+Right", false, false, "&Next Record"},
    {"mnuRecords", "mnuRecordsLast", 0, "Alt+End", false, false, "&Last Record"},

    {"", "mnuView", 1014, "", false, true},
    {"mnuView", "mnuViewBrowser", 1015, "", false, true},
    {"mnuViewBrowser", "mnuViewBrowserHCY", 1016, "", false, false},
    {"mnuViewBrowser", "mnuViewBrowserMy", 1017, "", false, false},
    {"mnuViewBrowser", "mnuViewBrowserHealth", 1018, "", true, false},
    {"mnuViewBrowser", "mnuViewBrowserBoard", 1019, "", false, false},
    {"mnuViewBrowser", "mnuViewBrowserKiv", 1020, "", true, false},
    {"mnuViewBrowser", "mnuViewBrowserTessaly", 1021, "", false, false},
    {"mnuView", "mnuViewWell", 1022, "", true, false},
    {"mnuView", "mnuViewDaily", 1023, "", false, false},
    {"mnuView", "mnuViewQ", 1024, "", false, false},
    {"mnuView", "mnuViewHistory", 0, "Ctrl+H", true, false, "Assessment Hi&story"},
    {"mnuView", "mnuViewAllClients", 0, "", true, false, "Show &All Clients"},

    {"", "mnuPrint", 1025, "", false, true},
    {"mnuPrint", "mnuPrintWell", 1026, "Ctrl+W", false, false},
    {"mnuPrint", "mnuPrintDaily", 1027, "Ctrl+D", false, false},
    {"mnuPrint", "mnuPrintQ", 1028, "", false, false},

    {"", "mnuSetup", 1036, "", false, true},
    {"mnuSetup", "mnuSetupCoInfo", 1037, "Ctrl+I", false, false},
    {"mnuSetup", "mnuSetupToolbar", 1038, "", true, false},
    {"mnuSetup", "mnuSetupStatusBar", 1039, "", false, false},
    {"mnuSetup", "mnuSetupOptions", 1040, "", true, false},

    {"", "mnuHelp", 1041, "", false, true},
    {"mnuHelp", "mnuHelpContents", 1042, "", false, false},
    {"mnuHelp", "mnuHelpRead", 1044, "", true, false},
    {"mnuHelp", "mnuHelpConsult", 1046, "", false, false},
    {"mnuHelp", "mnuHelpPurpose", 1047, "", false, false},
    {"mnuHelp", "mnuHelpFlyer", 1048, "", false, false},
    {"mnuHelp", "mnuHelpAbout", 1043, "", true, false},
};

struct ToolButton
{
    const char* key;
    int toolTip; // catalogue number
    const char* themeIcon;
    QStyle::StandardPixmap fallbackIcon;
    const char* menuEntry;
    bool separatorBefore;
    const char* ownToolTip = nullptr;
};

const ToolButton kToolButtons[] = {
    {"New", 1029, "document-new", QStyle::SP_FileIcon, "mnuFileNew", false},
    {"Open", 1030, "document-open", QStyle::SP_DialogOpenButton, "mnuFileOpen", false},
    {"Save", 1031, "document-save", QStyle::SP_DialogSaveButton, "mnuFileSave", false},
    {"Print", 1032, "document-print", QStyle::SP_FileDialogDetailedView, "mnuPrintWell", true},
    {"Cut", 1033, "edit-cut", QStyle::SP_DialogDiscardButton, "mnuEditCut", true},
    {"Copy", 1034, "edit-copy", QStyle::SP_FileDialogNewFolder, "mnuEditCopy", false},
    {"Paste", 1035, "edit-paste", QStyle::SP_DialogApplyButton, "mnuEditPaste", false},
    {"Assessment", 0, "appointment-new", QStyle::SP_FileDialogNewFolder, "mnuFileNewAssessment",
     true, "New assessment: file the current scores and start a new visit"},
    {"History", 0, "view-history", QStyle::SP_FileDialogContentsView, "mnuViewHistory", false,
     "The client's assessments over time"},
};

QString latin(const char* text)
{
    return QString::fromLatin1(text);
}

void buildMenuTree(QMainWindow& window, MainMenus& menus)
{
    QHash<QString, QMenu*> submenus;
    for (const MenuEntry& entry : kMenuTree) {
        const QString name = latin(entry.name);
        const QString caption =
            entry.ownCaption ? latin(entry.ownCaption) : QString::number(entry.caption);
        QMenu* parent = submenus.value(latin(entry.parent));
        if (parent && entry.separatorBefore)
            parent->addSeparator();
        QAction* action = nullptr;
        if (entry.submenu) {
            QMenu* menu = parent ? parent->addMenu(caption) : window.menuBar()->addMenu(caption);
            menu->setObjectName(name);
            submenus.insert(name, menu);
            action = menu->menuAction();
        } else {
            action = parent->addAction(caption);
            if (*entry.shortcut)
                action->setShortcut(QKeySequence(latin(entry.shortcut)));
        }
        action->setObjectName(name);
        menus.actions.insert(name, action);
    }
}

void buildToolBar(QMainWindow& window, MainMenus& menus)
{
    menus.toolBar = window.addToolBar(QStringLiteral("Toolbar"));
    menus.toolBar->setObjectName(QStringLiteral("tbToolBar"));
    menus.toolBar->setMovable(false);
    menus.toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    menus.toolBar->toggleViewAction()->setVisible(false);
    for (const ToolButton& button : kToolButtons) {
        if (button.separatorBefore)
            menus.toolBar->addSeparator();
        const QString key = latin(button.key);
        const QIcon icon = QIcon::fromTheme(latin(button.themeIcon),
                                            window.style()->standardIcon(button.fallbackIcon));
        QAction* action = menus.toolBar->addAction(icon, key);
        action->setObjectName(QStringLiteral("tbToolBar_") + key);
        action->setProperty("key", key);
        action->setToolTip(button.ownToolTip ? latin(button.ownToolTip)
                                             : QString::number(button.toolTip));
        QAction* entry = menus.action(latin(button.menuEntry));
        QObject::connect(action, &QAction::triggered, entry, &QAction::trigger);
        menus.toolButtons.insert(key, action);
    }
}

void buildStatusBar(QMainWindow& window, MainMenus& menus)
{
    QStatusBar* bar = window.statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    menus.helpPanel = new QLabel(bar);
    menus.helpPanel->setObjectName(QStringLiteral("sbStatusBar_Help"));
    menus.helpPanel->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(menus.helpPanel, 1);
}

void connectBarSwitches(MainMenus& menus, QStatusBar* statusBar)
{
    QAction* toolbarSwitch = menus.action(QStringLiteral("mnuSetupToolbar"));
    toolbarSwitch->setCheckable(true);
    toolbarSwitch->setChecked(true);
    QObject::connect(toolbarSwitch, &QAction::toggled, menus.toolBar, &QToolBar::setVisible);
    QAction* statusSwitch = menus.action(QStringLiteral("mnuSetupStatusBar"));
    statusSwitch->setCheckable(true);
    statusSwitch->setChecked(true);
    QObject::connect(statusSwitch, &QAction::toggled, statusBar, &QStatusBar::setVisible);
}

} // namespace

MainMenus buildMainMenus(QMainWindow& window)
{
    MainMenus menus;
    window.menuBar()->setObjectName(QStringLiteral("mnuMain"));
    buildMenuTree(window, menus);
    buildToolBar(window, menus);
    buildStatusBar(window, menus);
    connectBarSwitches(menus, window.statusBar());
    menus.action(QStringLiteral("mnuEditUndo"))->setEnabled(false);
    return menus;
}

} // namespace halcyra

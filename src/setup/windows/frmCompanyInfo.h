#pragma once

#include "setup/CompanyInfo.h"

#include <QDialog>
#include <QHash>
#include <QPointer>
#include <array>
#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

namespace halcyra {

class ErrorReporter;
class SettingsStore;
struct ProgramState;

// "Company Info": the adviser's own details, stored in the database's "Company Info" row and
// copied into CompanyInfoLines for the reports, and the adviser's own web address, kept in the
// settings. Created once and kept; Close hides it.
class frmCompanyInfo : public QDialog
{
    Q_OBJECT
public:
    // The message window (title, message); nothing is shown when the title is switched off.
    using ShowMsgFunction = std::function<void(const QString& title, const QString& message)>;

    // Reads the row into the boxes and CompanyInfoLines, as loading the window always has.
    frmCompanyInfo(SettingsStore& settings, ProgramState& state, ErrorReporter& reporter,
                   ShowMsgFunction showMsg, QWidget* parent = nullptr);

    CompanyInfo fieldTexts() const;
    // Centres the window and shows it modally; returns once it is closed.
    void showModally();
    // The Help button goes while field help is switched off.
    void setFieldHelpButtonHidden(bool hidden);

    // Returns true when the row was written.
    bool cmdSave_Click();
    // Returns true when the window closed.
    bool cmdClose_Click();
    void mnuFileExit_Click();
    void cmdHelp_Click();

signals:
    // What the window asks of the rest of the program; each may be left unconnected.
    void closedByAdviser();               // after Close: the main window's My Website
    void helpContentsRequested();         // Help > Contents
    void helpTopicRequested(int context); // the Help button with its message off
    void exitProgramRequested();          // File > Exit Program, after closing

protected:
    // Escape and the close box close the window the way Close does.
    void reject() override;

private:
    QWidget* buildFields();
    QWidget* buildButtons();
    void buildMenus();
    void connectBoxes();
    void Form_Load();
    void placeOnScreen();

    bool SearchFields();
    bool RequiredFields();
    void FillCoInfo();
    void FilltxtFields();
    void storeWebAddress();
    void showDataError(const QString& error);

    void txtFields_GotFocus(int index);
    void txtFields_Change(int index);
    void rememberForUndo(QLineEdit* box);
    void enableUndo();
    void EditUndoProc();
    QLineEdit* activeBox() const;
    QAction* menuEntry(const char* name) const;

    SettingsStore& m_settings;
    ProgramState& m_state;
    ErrorReporter& m_reporter;
    ShowMsgFunction m_showMsg;

    std::array<QLineEdit*, kCompanyFieldCount> txtFields{};
    std::array<QLabel*, kCompanyFieldCount> lblLabels{};
    QLineEdit* txtWeb = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdHelp = nullptr;
    QHash<QString, QAction*> m_menuEntries;

    // Set when a box differs from CompanyInfoLines; cleared when the window closes.
    bool Changed = false;
    // The text a box had when it received the focus, for Edit > Undo.
    QString UndoText;
    QPointer<QLineEdit> m_undoBox;
    // While the program ends the window closes without the Close steps.
    bool m_exiting = false;
};

} // namespace halcyra

#pragma once

#include "app/windows/MainMenus.h"
#include "records/ClientForm.h"
#include "records/DataControl.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class QLineEdit;
class QPrinter;
class QLabel;
class QPushButton;
class QScrollArea;

namespace halcyra {

class Catalogue;
class ClientDataSource;
class DataNavigator;
class DetailForm;
class frmBrowser;
class frmDataGrid;
class frmHelp;
class frmHistory;
class ErrorReporter;
class DailyCommand;
class PrintQuestionnaireCommand;
class PrintWellCommand;
class ViewWellCommand;
class ScoreGrid;
class SettingsStore;
class YesNoFrame;
struct EmailSetupValues;
struct ProgramState;
enum class WebLink;

// The program's working window, "Halcyra Data Entry": the client's details, yes/no answers and
// section scores of the current record of Data1, the record commands, the menus and toolbar.
// The record on screen is saved before every move, New and close; a record that cannot be
// saved stays on screen as typed.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    // The message window (title, message); nothing is shown when the title is switched off.
    using ShowMsgFunction = std::function<void(const QString& title, const QString& message)>;

    frmMain(const Catalogue& catalogue, SettingsStore& settings, ProgramState& state,
            ErrorReporter& reporter, ShowMsgFunction showMsg, QWidget* parent = nullptr);
    ~frmMain() override;

    // The client's last-name box, where the cursor starts.
    QLineEdit* lastNameBox() const;
    // Puts the cursor into the last-name box as if the adviser had clicked it, so its help
    // line shows even before the window is active.
    void putCursorInLastName();
    ClientDataSource& dataSource() const { return *m_data; }
    QAction* menuEntry(const QString& name) const { return m_menus.action(name); }
    // The one printer all printed output of the session goes to, made on first use.
    QPrinter& programPrinter();

    // The Help button goes while the "F1 Help Main" message is switched off.
    void setFieldHelpButtonHidden(bool hidden);
    // My Website is offered only while an address of the adviser's own is stored.
    void refreshOwnWebsiteEntry();
    // File > Exit: the unload steps without the quit question.
    void unloadWithoutQuestion();

    // The record commands, as their buttons, menu entries and toolbar buttons run them.
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdUpdate_Click();
    void cmdList_Click();
    void cmdHelp_Click();
    // Send Questionnaire: a copy of the questionnaire for the client on screen, e-mailed from
    // the e-mail window (frmMainEmail.cpp).
    void cmdSend_Click();
    // The e-mail window with prepared values, for the questionnaire and for support mail.
    void showEmailWindow(const EmailSetupValues& values);
    // Help > Contents; also the company window's.
    void mnuHelpContents_Click();
    // Opens the help window at a topic, or says why it cannot.
    void showHelpTopic(int context);
    void moveRecord(DataAction action);
    // Print > Halcyra: saves the record and prints its profile report.
    void mnuPrintWell_Click();
    // View > Halcyra Documents: saves the record and shows its report page by page.
    void mnuViewWell_Click();
    // Help menu documents: opened through the reader queue, the read-me in the text viewer.
    void mnuHelpFlyer_Click();
    void mnuHelpConsult_Click();
    void mnuHelpPurpose_Click();
    void mnuHelpRead_Click();
    // View and Print > Daily Intake Sheets, through the reader and as report documents 6 to 10.
    void mnuViewDaily_Click();
    void mnuPrintDaily_Click();
    PrintWellCommand& printWell() const { return *m_printWell; }
    // Print > Questionnaire: the blank form; View > Questionnaire: the document sent to clients.
    void mnuPrintQ();
    void mnuViewQ_Click();
    ViewWellCommand& viewWell() const { return *m_viewWell; }
    // File > New Assessment: files the current scores as an earlier assessment and clears
    // the score boxes for a new visit dated today.
    void mnuFileNewAssessment_Click();
    // View > Assessment History: the client's assessments in a table and a chart.
    void mnuViewHistory_Click();
    // View > Show All Clients: drops the record list's filter.
    void mnuViewAllClients_Click();
    // File > Export Clients and Import Clients: all clients to and from a CSV file.
    void mnuFileExport_Click();
    void mnuFileImport_Click();
    DailyCommand& daily() const { return *m_daily; }
    // File > Utilities: close the program and hand over to the backup utility.
    void mnuFileUtilBackup_Click();
    void mnuFileUtilRestore_Click();
    // View > Web Browser: each entry shows its page in the browser window, without waiting.
    void mnuViewBrowserHCY_Click();
    void mnuViewBrowserMy_Click();
    void mnuViewBrowserHealth_Click();
    void mnuViewBrowserBoard_Click();
    void mnuViewBrowserKiv_Click();
    void mnuViewBrowserTessaly_Click();
    // Help > About Halcyra, and the support command typed into it.
    void mnuHelpAbout_Click();

signals:
    // Setup > Company Info.: the program opens its company window.
    void companyInfoRequested();

protected:
    // Form_QueryUnload and Form_Unload.
    void closeEvent(QCloseEvent* event) override;

private:
    // Construction and loading (frmMain.cpp)
    QWidget* buildHolder();
    QWidget* buildButtons();
    void connectCommands();
    // The report viewer and the documents (frmMainDocuments.cpp)
    void connectDocumentCommands();
    void connectBoxes();
    void setTabChain();
    // The browser window and the About box (frmMainBrowser.cpp)
    void connectBrowserCommands();
    void showWebLink(WebLink link, const char* procedure);
    void Form_Load(const Catalogue& catalogue);
    void placeOnScreen();
    void storePlacement();
    bool unloadSteps();
    // Asked when the record on screen could not be saved at closing.
    bool quitWithoutSaving();

    // Data1 (frmMainData.cpp)
    ClientForm formOnScreen() const;
    void showRecord();
    bool saveIfEdited();
    void Data1_Validate(DataAction action);
    void Data1_Reposition();
    void setListCommandsEnabled(bool enabled);
    void showDataError(const QString& reason);
    // Says in the status bar whether the arrows go through every client or a filtered few.
    void showFilterNotice();

    // The boxes (frmMainEntry.cpp)
    void queueBoxEvent(QWidget* box, bool entering);
    bool processBoxEvents();
    bool finishEntryInFocusedBox();
    void boxGotFocus(QWidget* box);
    bool boxLostFocus(QWidget* box);
    void txtFields_GotFocus(int index);
    bool txtFields_LostFocus(int index);
    void txtScore_GotFocus(int index);
    void txtScore_LostFocus(int index);
    void boxChanged();
    bool isEntryBox(const QWidget* widget) const;
    void returnFocusTo(QWidget* box);
    void moveFocusQuietly(QWidget* box);
    void EditUndoProc();
    QWidget* activeBox() const;

    // Help (frmMainHelp.cpp)
    void connectHelp();
    void ShowFieldHelp(const QString& suffix);
    QString helpFolder() const;

    void handOverToBackupUtility(bool backup);

    const Catalogue& m_catalogue;
    SettingsStore& m_settings;
    ProgramState& m_state;
    ErrorReporter& m_reporter;
    ShowMsgFunction m_showMsg;

    QString m_connectionName;
    std::unique_ptr<ClientDataSource> m_data;
    DataAction m_lastAction = DataAction::MoveFirst;

    MainMenus m_menus;
    QScrollArea* fraHolder = nullptr;
    DetailForm* m_details = nullptr;
    YesNoFrame* Frame1 = nullptr;
    ScoreGrid* Frame2 = nullptr;
    DataNavigator* Data1 = nullptr;
    QLabel* lblFilter = nullptr;
    // What the filter line was last worked out for: the filter and the number of records.
    std::pair<QString, int> m_filterNoticeFor{QString(), -1};
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdList = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdSend = nullptr;
    QPointer<frmDataGrid> m_listWindow;
    QPointer<frmHistory> m_historyWindow;
    QPointer<frmBrowser> m_browser;
    QPointer<frmHelp> m_helpWindow;
    // The control of this window that last had the focus, for the Help button.
    QPointer<QWidget> m_lastFocus;
    bool m_listIndexesChecked = false;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<PrintWellCommand> m_printWell;
    std::unique_ptr<ViewWellCommand> m_viewWell;
    std::unique_ptr<DailyCommand> m_daily;
    std::unique_ptr<PrintQuestionnaireCommand> m_printQuestionnaire;

    // Text of the box that last received the focus, for Edit > Undo.
    QString UndoText;
    QPointer<QWidget> m_undoBox;

    // Focus changes are handled once the focus has settled, in the order they happened.
    struct BoxEvent
    {
        QPointer<QWidget> box;
        bool entering;
    };
    QList<BoxEvent> m_boxEvents;
    bool m_processingBoxEvents = false;
    bool m_movingFocus = false;
    // The last box whose leaving checks ran, the text they left and whether it passed, so a
    // command does not check (and complain about) the same text twice.
    struct CheckedBox
    {
        QPointer<QWidget> box;
        QString text;
        bool accepted = true;
    };
    CheckedBox m_lastChecked;
    // The box last entered, or holding the cursor when a record was shown, with its text then.
    CheckedBox m_enteredBox;

    bool m_askBeforeQuitting = true;
};

} // namespace halcyra

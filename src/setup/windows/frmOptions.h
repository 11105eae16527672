#pragma once

#include "setup/Options.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace halcyra {

class Catalogue;
class ErrorReporter;
class SettingsStore;
struct ProgramState;

// "Options": the persistent options on five pages, and for the report commands the choice of
// documents before printing or viewing them. The command sets state.OptionsMode before
// creating the dialog; the dialog writes SelectedDocs, PrintRequested, SkipPrinting and
// OptionsCancelled back as its buttons are pressed. Print closes the dialog and then prints
// each chosen document through `printDocument`.
class frmOptions : public QDialog
{
    Q_OBJECT
public:
    // Prints one report section (1-10); `first` is true only for the first of a run.
    using PrintDocumentFunction = std::function<void(bool first, int section)>;

    frmOptions(const Catalogue& catalogue, SettingsStore& settings, ProgramState& state,
               ErrorReporter& reporter, PrintDocumentFunction printDocument = {},
               QWidget* parent = nullptr);

    // Runs the dialog modally; returns the button that closed it (Cancel also for Esc and the
    // window's close box).
    OptionsButton showModally();
    OptionsButton closedBy() const { return m_closedBy; }

    OptionsTab selectedTab() const;
    void selectTab(OptionsTab tab);

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdApply_Click();
    void cmdPrint_Click();
    void cmdView_Click();

    // Esc and the close box cancel.
    void reject() override;

private:
    QWidget* buildDocumentsPage(int page);
    QWidget* buildPageHeadersPage();
    QWidget* buildMessagesPage();
    QWidget* buildFlyersPage(const Catalogue& catalogue);
    QWidget* buildEmailPage();
    void cboSmtpSecurity_Click(int index);
    void cmdSmtpCaFile_Click();
    // Stores the selected page; false (and said) when its values cannot be kept.
    bool applyPage();
    QWidget* buildButtons();
    void Form_Load(const Catalogue& catalogue);
    void tbsOptions_Click();
    void optMethod_Click(int index);
    void selectNeighbourTab(bool forward);
    void setDefaultButton(OptionsButton button);
    void showValues(OptionsTab tab);
    void takeValues(OptionsTab tab);
    void finish(OptionsButton button);

    SettingsStore& m_settings;
    ProgramState& m_state;
    ErrorReporter& m_reporter;
    PrintDocumentFunction m_printDocument;
    OptionValues m_values;
    OptionsButton m_closedBy = OptionsButton::None;
    bool m_loading = true;

    QTabWidget* tbsOptions = nullptr;
    std::array<QCheckBox*, kDocumentsPerPage> Check1{};
    std::array<QCheckBox*, kDocumentsPerPage> Check2{};
    QComboBox* Combo1 = nullptr;
    QCheckBox* chkFax = nullptr;
    QCheckBox* chkEmail = nullptr;
    std::array<QCheckBox*, kMessageSwitchCount> ckMsg{};
    QCheckBox* chkLoadTipsAtStartup = nullptr;
    std::array<QRadioButton*, kFlyersMethodCount> optMethod{};
    QGroupBox* fraFlyers = nullptr;
    QLineEdit* txtPath = nullptr;
    QLineEdit* txtSmtpServer = nullptr;
    QSpinBox* txtSmtpPort = nullptr;
    QComboBox* cboSmtpSecurity = nullptr;
    QLineEdit* txtSmtpUser = nullptr;
    QLineEdit* txtSenderAddress = nullptr;
    QLineEdit* txtSmtpCaFile = nullptr;
    QPushButton* cmdSmtpCaFile = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdView = nullptr;
};

} // namespace halcyra

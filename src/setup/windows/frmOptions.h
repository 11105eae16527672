#pragma once

#include "setup/Options.h"

#include <QDialog>
#include <array>

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

// "Options": the persistent options on five pages, and for the report commands the choice of
// documents before printing or viewing them. The dialog only edits the options: it hands its
// way out, the chosen documents and what to print back to the command that opened it.
class frmOptions : public QDialog
{
    Q_OBJECT
public:
    frmOptions(const Catalogue& catalogue, SettingsStore& settings, ErrorReporter& reporter,
               QWidget* parent = nullptr);

    // Opens the dialog for `mode` and waits for it to close.
    OptionsResult run(OptionsMode mode);
    // The buttons, caption and first page of `mode` (the plain dialog until set).
    void setMode(OptionsMode mode);
    // What the dialog hands back so far: the Apply button leaves it open.
    const OptionsResult& optionsResult() const { return m_result; }
    OptionsButton closedBy() const { return m_result.button; }

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
    ErrorReporter& m_reporter;
    OptionValues m_values;
    OptionsResult m_result;
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

// The options dialog as a report command's chooser.
OptionsChooser optionsDialogChooser(const Catalogue& catalogue, SettingsStore& settings,
                                    ErrorReporter& reporter);

} // namespace halcyra

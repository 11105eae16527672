// The company window's commands: Save, Close, Exit Program and Help, with the checks they run.

#include "core/BusyCursor.h"
#include "core/ErrorReporter.h"
#include "core/HelpContexts.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/Version.h"
#include "records/CompanyRecord.h"
#include "setup/windows/frmCompanyInfo.h"
#include "ui/MessageWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>

namespace halcyra {
namespace {

QString label(const char* procedure)
{
    return QStringLiteral("frmCompanyInfo:Sub ") + QString::fromLatin1(procedure) +
           QStringLiteral("()");
}

} // namespace

bool frmCompanyInfo::SearchFields()
{
    const BrandSearch search = halcyra::SearchFields(fieldTexts());
    for (int i = 0; i < kCompanyFieldCount; ++i)
        txtFields[static_cast<size_t>(i)]->setText(search.fields[i]);
    for (const int index : search.rejected) {
        // The copy the reports read keeps the saved text, unless that too uses the brand word.
        QString& stored = m_state.CompanyInfoLines[index];
        if (CheckForTessaly(stored, index))
            stored.clear();
        m_reporter.prompts().inform(AppTitle(),
                                    brandNameMessage(lblLabels[static_cast<size_t>(index)]->text()),
                                    UserPrompts::Icon::Critical);
        txtFields[static_cast<size_t>(index)]->setFocus(Qt::OtherFocusReason);
    }
    return !search.rejected.isEmpty();
}

bool frmCompanyInfo::RequiredFields()
{
    const std::optional<int> empty = firstEmptyRequiredField(fieldTexts());
    if (!empty)
        return true;
    m_reporter.prompts().informWithHelp(AppTitle(), requiredFieldsMessage(),
                                        UserPrompts::Icon::Information, help::kCompanyRequired);
    txtFields[static_cast<size_t>(*empty)]->setFocus(Qt::OtherFocusReason);
    return false;
}

void frmCompanyInfo::FillCoInfo()
{
    m_state.CompanyInfoLines = fieldTexts();
}

void frmCompanyInfo::FilltxtFields()
{
    if (differsFromStored(fieldTexts(), m_state.CompanyInfoLines))
        Changed = true;
}

void frmCompanyInfo::storeWebAddress()
{
    txtWeb->setText(withWebScheme(txtWeb->text()));
    m_settings.save(keys::webAddress(), txtWeb->text());
}

void frmCompanyInfo::showDataError(const QString& error)
{
    m_reporter.prompts().informWithHelp(QStringLiteral("OOPS"), dataErrorMessage(error),
                                        UserPrompts::Icon::Critical, help::kAbout);
}

bool frmCompanyInfo::cmdSave_Click()
{
    bool saved = false;
    m_reporter.trap(label("cmdSave_Click"), [&] {
        const BusyCursor busy(m_reporter.prompts());
        if (SearchFields())
            return;
        if (const Status written = saveCompanyRow(m_state.DatabaseFullPath, fieldTexts());
            !written) {
            // Nothing is claimed saved that is not: the reports keep the stored details.
            showDataError(written.error());
            return;
        }
        FillCoInfo();
        storeWebAddress();
        saved = true;
        m_showMsg(QStringLiteral("Save Confirmation"), QStringLiteral("Company Information SAVED"));
    });
    return saved;
}

bool frmCompanyInfo::cmdClose_Click()
{
    bool closed = false;
    m_reporter.trap(label("cmdClose_Click"), [&] {
        const BusyCursor busy(m_reporter.prompts());
        if (SearchFields())
            return;
        FilltxtFields();
        if (Changed) {
            const auto answer = m_reporter.prompts().ask(
                AppTitle(), QStringLiteral("Do you want to save changes?"),
                UserPrompts::Buttons::YesNo, UserPrompts::Icon::Question, UserPrompts::Answer::Yes);
            // Changes that could not be written stay on screen rather than being dropped.
            if (answer == UserPrompts::Answer::Yes && !cmdSave_Click())
                return;
        }
        if (!RequiredFields())
            return;
        for (int i = 0; i < kCompanyFieldCount; ++i)
            txtFields[static_cast<size_t>(i)]->setText(m_state.CompanyInfoLines[i]);
        m_state.CompanyInfoOpenedAtStart = false;
        storeWebAddress();
        Changed = false;
        accept();
        closed = true;
        emit closedByAdviser();
    });
    return closed;
}

void frmCompanyInfo::mnuFileExit_Click()
{
    m_reporter.trap(label("mnuFileExit_Click"), [&] {
        cmdClose_Click();
        m_exiting = true;
        QDialog::reject();
        emit exitProgramRequested();
        m_exiting = false;
    });
}

void frmCompanyInfo::cmdHelp_Click()
{
    m_reporter.trap(label("cmdHelp_Click"), [&] {
        // With its message switched off the button still helps: with the field last used.
        const bool helpConnected =
            isSignalConnected(QMetaMethod::fromSignal(&frmCompanyInfo::helpTopicRequested));
        if (isMessageSuppressed(m_settings, QStringLiteral("F1 Help Company")) && helpConnected) {
            const QVariant topic = m_undoBox ? m_undoBox->property("HelpContextID") : QVariant();
            emit helpTopicRequested(topic.toInt() > 0 ? topic.toInt() : help::kCompanyRequired);
        } else {
            m_showMsg(QStringLiteral("F1 Help Company"), fieldHelpText());
        }
    });
}

void frmCompanyInfo::reject()
{
    if (m_exiting)
        QDialog::reject();
    else
        cmdClose_Click();
}

} // namespace halcyra

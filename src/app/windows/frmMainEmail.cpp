// The main window's questionnaire e-mail: a personal copy of the questionnaire for the client
// on screen, attached to a prepared message in the e-mail window.

#include "app/windows/frmMain.h"
#include "core/Catalogue.h"
#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "core/Version.h"
#include "ui/Email.h"
#include "ui/MessageWindow.h"
#include "ui/SendEmail.h"
#include "ui/windows/frmEmail.h"

#include <QDate>

namespace halcyra {
namespace {

QString label(const char* procedure)
{
    return QStringLiteral("frmMain:Sub ") + QString::fromLatin1(procedure) + QStringLiteral("()");
}

} // namespace

void frmMain::cmdSend_Click()
{
    m_reporter.trap(label("cmdSend_Click"), [&] {
        const QString paragraphs = QStringLiteral("\r\n\r\n");
        // The options offer to switch this notice off under the name of its old audience.
        if (!isMessageSuppressed(m_settings, QStringLiteral("AOL Users Questionnaire")))
            m_showMsg(QStringLiteral("Email Questionnaire Compatibility"),
                      m_catalogue.LoadResString(1430) + paragraphs +
                          m_catalogue.LoadResString(1431) + paragraphs +
                          m_catalogue.LoadResString(1429));
        const ClientForm form = formOnScreen();
        const Result<QString> copy = makeQuestionnaireCopy(m_state.DatabaseFolder, form.details[1],
                                                           form.details[2], QDate::currentDate());
        if (!copy) {
            m_reporter.prompts().inform(AppTitle(), copy.error(), UserPrompts::Icon::Warning);
            return;
        }
        showEmailWindow(SetupEmail(m_state.CompanyInfoLines, *copy));
    });
}

void frmMain::showEmailWindow(const EmailSetupValues& values)
{
    m_reporter.trap(label("showEmailWindow"), [&] {
        KeyringPasswords keyring;
        const CompanyInfo& company = m_state.CompanyInfoLines;
        MailService service{readSmtpSettings(m_settings), m_reporter.prompts()};
        service.passwords = &keyring;
        service.senderName =
            (company[company::kFirstName] + u' ' + company[company::kLastName]).trimmed();
        frmEmail window(values, service, m_reporter, this);
        window.run();
    });
}

} // namespace halcyra

#pragma once

#include "core/Result.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace halcyra {

class SettingsStore;
class UserPrompts;

// How the connection to the mail server is protected: STARTTLS on the submission port, TLS
// from the first byte, or nothing at all (only when the adviser chooses it).
enum class SmtpSecurity { StartTls, Tls, None };

// "STARTTLS", "TLS", "None", in that order.
const QStringList& smtpSecurityChoices();
QString smtpSecurityText(SmtpSecurity security);
SmtpSecurity smtpSecurityFromText(const QString& text);
int defaultSmtpPort(SmtpSecurity security);

// Where direct sending submits mail, as the options keep it. The password is not here: it
// lives in the keyring, or is asked for at sending.
struct SmtpSettings
{
    QString server;
    int port = 587;
    SmtpSecurity security = SmtpSecurity::StartTls;
    QString user;
    QString sender;
    // Certificates to trust instead of the system's, for a practice's own mail server.
    QString caFile;

    bool operator==(const SmtpSettings& other) const = default;
};

// A certificate file the adviser chose to trust: readable, and holding at least one PEM
// certificate (a company's own authority or the server's self-signed certificate). Empty is
// fine: the system's certificates are used.
Status checkCertificateFile(const QString& path);

SmtpSettings readSmtpSettings(const SettingsStore& settings);
void saveSmtpSettings(SettingsStore& settings, const SmtpSettings& smtp);

// How far one sending got: the step (1 sign-on ... 6 sign-off) and the stage name the error
// report names, "SendEmailErrSignon" or "SendEmailErrSend". After a failure it says where the
// sending stopped.
struct SendEmailProgress
{
    int step = 0;
    QString stage;
};

// The SMTP password of an account, kept outside the settings file.
class MailPasswords
{
public:
    virtual ~MailPasswords() = default;
    virtual std::optional<QString> stored(const QString& account) = 0;
    virtual void remember(const QString& account, const QString& password) = 0;
    virtual void forget(const QString& account) = 0;
};

// The desktop's keyring. Where there is none, nothing is stored and the password is asked for
// at every sending.
class KeyringPasswords final : public MailPasswords
{
public:
    std::optional<QString> stored(const QString& account) override;
    void remember(const QString& account, const QString& password) override;
    void forget(const QString& account) override;
};

// One message as the e-mail window hands it over.
struct OutgoingEmail
{
    QString address;
    QString subject;
    QString body;
    QString attachment; // full path, or empty
};

// Everything sending needs besides the message.
struct MailService
{
    MailService(SmtpSettings settings, UserPrompts& userPrompts)
        : smtp(std::move(settings)), prompts(userPrompts)
    {}

    SmtpSettings smtp;
    UserPrompts& prompts;
    MailPasswords* passwords = nullptr; // none: always ask
    QString senderName;                 // the adviser's name beside the sender address
    QString mailProgram = QStringLiteral("xdg-email");
};

// A recipient the mail program and the server can take: one plain address, nothing that could
// be read as a second recipient, a header or a command-line option.
Status checkRecipient(const QString& address);

// Sends the message: through the desktop mail program's compose window when `showDialog`,
// else straight to the mail server of the options. The failure says what went wrong in words
// the adviser can act on; `progress` says how far the sending got.
Status SendEmail(const OutgoingEmail& message, bool showDialog, MailService& service,
                 SendEmailProgress& progress);
// The same, for a caller that needs only the outcome.
Status SendEmail(const OutgoingEmail& message, bool showDialog, MailService& service);

} // namespace halcyra

#include "ui/SendEmail.h"

#include "core/Conversions.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/UserPrompts.h"
#include "ui/DesktopLaunch.h"
#include "ui/MailFormat.h"
#include "ui/SmtpTransfer.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSslCertificate>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <curl/curl.h>
#include <memory>
#include <qt6keychain/keychain.h>

namespace halcyra {
namespace {

const QString kStageSignon = QStringLiteral("SendEmailErrSignon");
const QString kStageSend = QStringLiteral("SendEmailErrSend");

// The keyring entry of an account: one service name for the program, the account as the key.
const QString kKeyringService = QStringLiteral("Halcyra mail server");
// A keyring that does not answer in this time is treated as absent.
constexpr int kKeyringWaitMs = 10000;

// An address as the server gets it: a domain beyond ASCII as its punycode. A name part beyond
// ASCII could go only to servers that take UTF-8 addresses, and most would bounce it after
// the adviser was told it was sent, so it is refused here.
Result<QByteArray> serverMailbox(const QString& address, const QString& whose)
{
    const qsizetype at = address.lastIndexOf(u'@');
    const QString local = address.left(at);
    const QString domain = address.mid(at + 1);
    if (!isPrintableAscii(local))
        return fail(QStringLiteral("Nothing was sent: %1 \"%2\" has letters beyond plain "
                                   "A to Z before the \"@\", which mail servers cannot be relied "
                                   "on to deliver. Use another address, or tick \"Use the mail "
                                   "program's dialog\" to send it through your mail program.")
                        .arg(whose, address));
    const QByteArray ace = QUrl::toAce(domain, QUrl::AceTransitionalProcessing);
    if (ace.isEmpty())
        return fail(QStringLiteral("Nothing was sent: the part after the \"@\" of %1 \"%2\" is "
                                   "not a mail domain.")
                        .arg(whose, address));
    return local.toLatin1() + '@' + ace;
}

QString attachmentMissing(const QString& path)
{
    return QStringLiteral("Nothing was sent: the attachment %1 is missing or cannot be read.")
        .arg(QDir::toNativeSeparators(path));
}

QString serverText(const SmtpSettings& smtp)
{
    return QStringLiteral("%1 (port %2)").arg(smtp.server).arg(smtp.port);
}

QString accountOf(const SmtpSettings& smtp)
{
    return smtp.user + u'@' + smtp.server;
}

// Problems of the connection and the login arise while signing on, whatever step the
// transfer had reached.
bool isSignonError(CURLcode code)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_LOGIN_DENIED:
    case CURLE_AUTH_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_USE_SSL_FAILED:
        return true;
    default:
        return false;
    }
}

QString curlFailureText(CURLcode code, const SmtpSettings& smtp, const OutgoingEmail& message,
                        const QString& detail)
{
    const QString server = serverText(smtp);
    const QString why = detail.isEmpty() ? QString::fromUtf8(curl_easy_strerror(code)) : detail;
    const QString nothingSent = QStringLiteral("Nothing was sent: ");
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return nothingSent + QStringLiteral("the mail server %1 could not be found. Check its "
                                            "name on the E-mail page of Setup > Options and "
                                            "that this computer is online.")
                                 .arg(smtp.server);
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
        return nothingSent + QStringLiteral("the mail server %1 could not be reached. Check the "
                                            "server and port on the E-mail page of Setup > "
                                            "Options and that this computer is online.")
                                 .arg(server);
    case CURLE_LOGIN_DENIED:
    case CURLE_AUTH_ERROR:
        return nothingSent + QStringLiteral("the mail server %1 refused the login of user "
                                            "\"%2\". Check the user name and the password.")
                                 .arg(server, smtp.user);
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
        return nothingSent + QStringLiteral("the certificate of the mail server %1 is not "
                                            "trusted, so the connection could be intercepted. "
                                            "(%2)")
                                 .arg(server, why);
    case CURLE_USE_SSL_FAILED:
        return nothingSent + QStringLiteral("the mail server %1 does not offer encryption "
                                            "(STARTTLS). Check the security setting on the "
                                            "E-mail page of Setup > Options.")
                                 .arg(server);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
        return nothingSent + QStringLiteral("no secure connection to the mail server %1 could be "
                                            "made. Check the security setting on the E-mail "
                                            "page of Setup > Options. (%2)")
                                 .arg(server, why);
    case CURLE_READ_ERROR:
    case CURLE_FILE_COULDNT_READ_FILE:
        return attachmentMissing(message.attachment);
    default:
        return QStringLiteral("The message could not be sent through the mail server %1: %2")
            .arg(server, why);
    }
}

bool isPlainAddress(const QString& address)
{
    const qsizetype at = address.lastIndexOf(u'@');
    if (address.isEmpty() || address.startsWith(u'-') || at <= 0 || at == address.size() - 1)
        return false;
    for (QChar c : address) {
        if (c.isSpace() || c.category() == QChar::Other_Control ||
            c.category() == QChar::Other_Format)
            return false;
        if (QStringView(u"<>,;\"()[]\\").contains(c))
            return false;
    }
    return true;
}

Status sendThroughMailProgram(const OutgoingEmail& message, MailService& service,
                              SendEmailProgress& progress)
{
    progress = {2, kStageSend};
    QStringList arguments = {QStringLiteral("--utf8"), QStringLiteral("--subject"), message.subject,
                             QStringLiteral("--body"), message.body};
    progress = {4, kStageSend};
    if (!message.attachment.isEmpty())
        arguments << QStringLiteral("--attach") << message.attachment;
    arguments << message.address;
    progress = {5, kStageSend};
    // The mail program's window belongs to the desktop and stays open after we return; a
    // helper that ends at once with a failure found no mail program to hand the message to.
    const Status started = startDesktopHelper(
        {service.mailProgram,
         arguments,
         QStringLiteral("your mail program"),
         QStringLiteral("Nothing was sent. Set up a mail program on this computer, or untick "
                        "\"Use the mail program's dialog\" to send straight to the mail server "
                        "on the E-mail page of Setup > Options."),
         {}});
    if (!started)
        return started;
    progress = {6, kStageSend};
    return {};
}

// Where a message sent directly goes and from whom, as the server gets them.
struct Envelope
{
    QUrl url;
    QByteArray from; // "<sender>"
    QByteArray to;   // "<recipient>"
};

// The checks before anything is sent: a server, a sender address and a recipient the server
// can take.
Result<Envelope> envelopeFor(const OutgoingEmail& message, const SmtpSettings& smtp)
{
    if (smtp.server.trimmed().isEmpty())
        return fail(QStringLiteral("Nothing was sent: no mail server is set. Enter it on the "
                                   "E-mail page of Setup > Options, or tick \"Use the mail "
                                   "program's dialog\"."));
    if (!isPlainAddress(smtp.sender))
        return fail(QStringLiteral("Nothing was sent: the sender address \"%1\" on the E-mail "
                                   "page of Setup > Options is not an e-mail address.")
                        .arg(smtp.sender));
    const Result<QByteArray> recipient =
        serverMailbox(message.address, QStringLiteral("the address"));
    if (!recipient)
        return Failure{recipient.error()};
    const Result<QByteArray> sender = serverMailbox(
        smtp.sender, QStringLiteral("the sender address on the E-mail page of Setup > Options"));
    if (!sender)
        return Failure{sender.error()};
    QUrl url;
    url.setScheme(smtp.security == SmtpSecurity::Tls ? QStringLiteral("smtps")
                                                     : QStringLiteral("smtp"));
    url.setHost(smtp.server.trimmed());
    url.setPort(smtp.port);
    if (!url.isValid() || smtp.port <= 0 || smtp.port > 65535)
        return fail(QStringLiteral("Nothing was sent: \"%1\" is not a mail server name.")
                        .arg(serverText(smtp)));
    return Envelope{url, '<' + *sender + '>', '<' + *recipient + '>'};
}

// The login for the server, when the options name a user: the stored password, else the one
// typed now.
struct Login
{
    QString password;
    bool typed = false; // kept in the keyring only once the server took it
};

Result<Login> loginFor(MailService& service)
{
    const SmtpSettings& smtp = service.smtp;
    if (smtp.user.isEmpty())
        return Login{};
    if (service.passwords)
        if (std::optional<QString> stored = service.passwords->stored(accountOf(smtp)))
            return Login{*stored, false};
    const std::optional<QString> typed = service.prompts.askPassword(
        QStringLiteral("E-mail"),
        QStringLiteral("Password of \"%1\" on the mail server %2:").arg(smtp.user, smtp.server));
    if (!typed)
        return fail(QStringLiteral("Nothing was sent: no password was given for the mail server."));
    return Login{*typed, true};
}

SmtpConnection connectionFor(const Envelope& envelope, const SmtpSettings& smtp, const Login& login)
{
    return {envelope.url, smtp.security != SmtpSecurity::None, smtp.caFile, smtp.user,
            login.password};
}

QList<QByteArray> headersFor(const OutgoingEmail& message, const MailService& service,
                             const Envelope& envelope)
{
    const QByteArray senderDomain =
        envelope.from.mid(envelope.from.lastIndexOf('@') + 1).chopped(1);
    return messageHeaders(QDateTime::currentDateTime(), service.senderName, envelope.from,
                          envelope.to, message.subject,
                          QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + '@' +
                              senderDomain);
}

Status attachTo(SmtpTransfer& transfer, const QString& attachment)
{
    const QFileInfo file(attachment);
    if (!file.isFile() || !file.isReadable())
        return fail(attachmentMissing(attachment));
    const AttachmentNaming naming = attachmentNaming(file.fileName());
    if (!transfer.addFile(file.absoluteFilePath(), naming.plainName, naming.dispositionLine,
                          contentTypeFor(file.absoluteFilePath())))
        return fail(attachmentMissing(attachment));
    return {};
}

// A failed transfer: where it stopped, a refused password not offered again, and the reason
// in words.
Failure transferFailure(CURLcode code, const SmtpTransfer& transfer, const OutgoingEmail& message,
                        MailService& service, SendEmailProgress& progress)
{
    if (isSignonError(code))
        progress = {5, kStageSignon};
    if ((code == CURLE_LOGIN_DENIED || code == CURLE_AUTH_ERROR) && service.passwords)
        service.passwords->forget(accountOf(service.smtp));
    return fail(curlFailureText(code, service.smtp, message, transfer.detail()));
}

Status sendDirectly(const OutgoingEmail& message, MailService& service, SendEmailProgress& progress)
{
    progress = {1, kStageSignon};
    const Result<Envelope> envelope = envelopeFor(message, service.smtp);
    if (!envelope)
        return Failure{envelope.error()};
    const Result<Login> login = loginFor(service);
    if (!login)
        return Failure{login.error()};

    progress = {2, kStageSend};
    SmtpTransfer transfer;
    if (!transfer.isOpen())
        return fail(QStringLiteral("Nothing was sent: the mail connection could not be set up."));
    transfer.connectTo(connectionFor(*envelope, service.smtp, *login));

    progress = {3, kStageSend};
    transfer.setEnvelope(envelope->from, envelope->to);
    transfer.setHeaders(headersFor(message, service, *envelope));
    transfer.addText(crlfText(message.body));

    progress = {4, kStageSend};
    if (!message.attachment.isEmpty())
        if (const Status attached = attachTo(transfer, message.attachment); !attached)
            return attached;

    progress = {5, kStageSend};
    if (const CURLcode code = transfer.perform(); code != CURLE_OK)
        return transferFailure(code, transfer, message, service, progress);
    progress = {6, kStageSend};
    transfer.close();
    if (login->typed && service.passwords)
        service.passwords->remember(accountOf(service.smtp), login->password);
    return {};
}

// What a keyring job ended with; shared with the job, which may outlive a wait that timed out.
struct KeyringOutcome
{
    bool finished = false;
    bool ok = false;
    QString text;
};

// Runs one keyring job to its end, or until the keyring has not answered in time. The job
// deletes itself when it finishes.
std::shared_ptr<KeyringOutcome> runKeyringJob(QKeychain::Job* job)
{
    auto outcome = std::make_shared<KeyringOutcome>();
    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    QObject::connect(job, &QKeychain::Job::finished, job, [outcome, waiting](QKeychain::Job* done) {
        outcome->finished = true;
        outcome->ok = done->error() == QKeychain::NoError;
        if (auto* read = qobject_cast<QKeychain::ReadPasswordJob*>(done))
            outcome->text = read->textData();
        if (waiting)
            waiting->quit();
    });
    job->setAutoDelete(true);
    job->start();
    if (!outcome->finished) {
        QTimer::singleShot(kKeyringWaitMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return outcome;
}

} // namespace

const QStringList& smtpSecurityChoices()
{
    static const QStringList choices = {QStringLiteral("STARTTLS"), QStringLiteral("TLS"),
                                        QStringLiteral("None")};
    return choices;
}

QString smtpSecurityText(SmtpSecurity security)
{
    return smtpSecurityChoices().at(static_cast<int>(security));
}

SmtpSecurity smtpSecurityFromText(const QString& text)
{
    // Anything unknown keeps the safe default: plain text only when chosen by name.
    const qsizetype index = smtpSecurityChoices().indexOf(text);
    return index < 0 ? SmtpSecurity::StartTls : static_cast<SmtpSecurity>(index);
}

int defaultSmtpPort(SmtpSecurity security)
{
    return security == SmtpSecurity::Tls ? 465 : security == SmtpSecurity::None ? 25 : 587;
}

SmtpSettings readSmtpSettings(const SettingsStore& settings)
{
    SmtpSettings smtp;
    smtp.server = settings.get(keys::smtpServer()).trimmed();
    smtp.security = smtpSecurityFromText(settings.get(keys::smtpSecurity()));
    const int port = leadingInteger(settings.get(keys::smtpPort()));
    smtp.port = port > 0 && port <= 65535 ? port : defaultSmtpPort(smtp.security);
    smtp.user = settings.get(keys::smtpUser());
    smtp.sender = settings.get(keys::senderAddress()).trimmed();
    smtp.caFile = settings.get(keys::smtpCaFile()).trimmed();
    return smtp;
}

void saveSmtpSettings(SettingsStore& settings, const SmtpSettings& smtp)
{
    settings.save(keys::smtpServer(), smtp.server.trimmed());
    settings.save(keys::smtpPort(), QString::number(smtp.port));
    settings.save(keys::smtpSecurity(), smtpSecurityText(smtp.security));
    settings.save(keys::smtpUser(), smtp.user);
    settings.save(keys::senderAddress(), smtp.sender.trimmed());
    settings.save(keys::smtpCaFile(), smtp.caFile.trimmed());
}

Status checkCertificateFile(const QString& path)
{
    if (path.trimmed().isEmpty())
        return {};
    const QString shown = QDir::toNativeSeparators(path.trimmed());
    QFile file(path.trimmed());
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("The certificate file %1 cannot be read. Choose the file your "
                                   "mail server's administrator gave you.")
                        .arg(shown));
    // Certificates are small; anything much larger is not one.
    const QByteArray bytes = file.read(qint64{1024} * 1024);
    if (QSslCertificate::fromData(bytes, QSsl::Pem).isEmpty())
        return fail(QStringLiteral("The file %1 holds no certificate in PEM form (text "
                                   "starting \"-----BEGIN CERTIFICATE-----\"). Choose the "
                                   "certificate itself, not its key.")
                        .arg(shown));
    return {};
}

std::optional<QString> KeyringPasswords::stored(const QString& account)
{
    auto* job = new QKeychain::ReadPasswordJob(kKeyringService);
    job->setKey(account);
    const auto outcome = runKeyringJob(job);
    if (!outcome->finished || !outcome->ok)
        return std::nullopt;
    return outcome->text;
}

void KeyringPasswords::remember(const QString& account, const QString& password)
{
    auto* job = new QKeychain::WritePasswordJob(kKeyringService);
    job->setKey(account);
    job->setTextData(password);
    // Without a keyring the password is simply asked for again next time.
    (void)runKeyringJob(job);
}

void KeyringPasswords::forget(const QString& account)
{
    auto* job = new QKeychain::DeletePasswordJob(kKeyringService);
    job->setKey(account);
    (void)runKeyringJob(job);
}

Status checkRecipient(const QString& address)
{
    if (isPlainAddress(address))
        return {};
    return fail(QStringLiteral("Nothing was sent: \"%1\" is not one e-mail address. Enter a "
                               "single address such as name@example.com.")
                    .arg(address));
}

Status SendEmail(const OutgoingEmail& message, bool showDialog, MailService& service,
                 SendEmailProgress& progress)
{
    progress = {1, kStageSignon};
    if (Status recipient = checkRecipient(message.address); !recipient)
        return recipient;
    if (!message.attachment.isEmpty() && !QFileInfo(message.attachment).isFile()) {
        progress = {4, kStageSend};
        return fail(attachmentMissing(message.attachment));
    }
    return showDialog ? sendThroughMailProgram(message, service, progress)
                      : sendDirectly(message, service, progress);
}

Status SendEmail(const OutgoingEmail& message, bool showDialog, MailService& service)
{
    SendEmailProgress progress;
    return SendEmail(message, showDialog, service, progress);
}

} // namespace halcyra

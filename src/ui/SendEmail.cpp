#include "ui/SendEmail.h"

#include "core/Conversions.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/UserPrompts.h"
#include "ui/DesktopLaunch.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QSslCertificate>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <curl/curl.h>
#include <memory>
#include <mutex>
#include <qt6keychain/keychain.h>

namespace halcyra {
namespace {

const QString kStageSignon = QStringLiteral("SendEmailErrSignon");
const QString kStageSend = QStringLiteral("SendEmailErrSend");

// The keyring entry of an account: one service name for the program, the account as the key.
const QString kKeyringService = QStringLiteral("Halcyra mail server");
// A keyring that does not answer in this time is treated as absent.
constexpr int kKeyringWaitMs = 10000;

// An encoded word may be 75 characters long; 45 bytes make 60 of base64 plus the framing.
constexpr qsizetype kEncodedWordBytes = 45;

void setProgress(int step, const QString& stage)
{
    sendEmailProgress() = {step, stage};
}

struct CurlDeleter
{
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
    void operator()(curl_mime* mime) const { curl_mime_free(mime); }
};

void appendTo(std::unique_ptr<curl_slist, CurlDeleter>& list, const QByteArray& line)
{
    curl_slist* grown = curl_slist_append(list.get(), line.constData());
    if (!grown)
        throw std::bad_alloc();
    (void)list.release();
    list.reset(grown);
}

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool isPrintableAscii(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return true;
}

// Header lines are kept within 78 characters where blanks allow; no line may pass 998.
constexpr qsizetype kFoldAt = 78;
constexpr qsizetype kLongestLine = 998;

bool isEncodedWords(const QString& text)
{
    return text.startsWith(QStringLiteral("=?")) && text.endsWith(QStringLiteral("?="));
}

QString withoutControls(const QString& text)
{
    QString clean;
    clean.reserve(text.size());
    for (QChar c : text)
        clean += c.category() == QChar::Other_Control ? u' ' : c;
    return clean;
}

// Plain ASCII folded at blanks, so a long subject does not become a line the server refuses.
// `used` is what the line already holds before the value ("Subject: ").
QByteArray foldedAscii(const QString& text, qsizetype used)
{
    QByteArray folded;
    qsizetype line = used;
    const QStringList words = text.split(u' ');
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QByteArray word = words[i].toLatin1();
        if (i > 0) {
            if (line + 1 + word.size() > kFoldAt && line > used) {
                folded += "\r\n";
                line = 0;
            }
            folded += ' ';
            ++line;
        }
        folded += word;
        line += word.size();
    }
    return folded;
}

QByteArray encodedWords(const QString& text)
{
    QList<QByteArray> words;
    QByteArray chunk;
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype width = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size())
            width = 2;
        const QByteArray character = text.mid(i, width).toUtf8();
        i += width - 1;
        if (chunk.size() + character.size() > kEncodedWordBytes) {
            words << chunk;
            chunk.clear();
        }
        chunk += character;
    }
    if (!chunk.isEmpty())
        words << chunk;
    QByteArray encoded;
    for (const QByteArray& word : words) {
        if (!encoded.isEmpty())
            encoded += "\r\n ";
        encoded += "=?UTF-8?B?" + word.toBase64() + "?=";
    }
    return encoded;
}

bool hasLongWord(const QString& text, qsizetype longest)
{
    for (const QString& word : text.split(u' '))
        if (word.size() > longest)
            return true;
    return false;
}

// A header value: line breaks and other control characters become blanks (so a subject can
// never start a header of its own), text beyond ASCII goes as UTF-8 encoded words, and plain
// text is folded. `used` is what the line holds before the value.
QByteArray headerText(const QString& text, qsizetype used = 0)
{
    const QString clean = withoutControls(text);
    if (isPrintableAscii(clean) && !hasLongWord(clean, kLongestLine - used - 2))
        return foldedAscii(clean, used);
    return encodedWords(clean);
}

// The name before an address, followed by a blank; quoted, so that a comma in "Reyes, Dana"
// does not read as a second address.
QByteArray displayName(const QString& name)
{
    const QString trimmed = withoutControls(name).trimmed();
    if (trimmed.isEmpty())
        return {};
    if (!isPrintableAscii(trimmed))
        return encodedWords(trimmed) + ' ';
    // A name already written as encoded words stays as it is: quoted, it would not be decoded.
    if (isEncodedWords(trimmed) && !trimmed.contains(u'"') && !trimmed.contains(u' '))
        return trimmed.toLatin1() + ' ';
    QByteArray quoted = trimmed.toLatin1();
    quoted.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + quoted + "\" ";
}

// The body with CR LF line ends throughout, as the mail format wants them.
QByteArray crlfText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text.toUtf8();
}

// The mail format's date: English names whatever the adviser's language, the zone as +hhmm.
QByteArray dateHeader(const QDateTime& when)
{
    static const char* const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate date = when.date();
    const QTime time = when.time();
    const int offset = when.offsetFromUtc() / 60;
    const int absolute = offset < 0 ? -offset : offset;
    return QByteArray(days[date.dayOfWeek() - 1]) + ", " +
           QByteArray::number(date.day()).rightJustified(2, '0') + ' ' + months[date.month() - 1] +
           ' ' + QByteArray::number(date.year()).rightJustified(4, '0') + ' ' +
           QByteArray::number(time.hour()).rightJustified(2, '0') + ':' +
           QByteArray::number(time.minute()).rightJustified(2, '0') + ':' +
           QByteArray::number(time.second()).rightJustified(2, '0') + ' ' +
           (offset < 0 ? '-' : '+') + QByteArray::number(absolute / 60).rightJustified(2, '0') +
           QByteArray::number(absolute % 60).rightJustified(2, '0');
}

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

// By the name, except that a ".doc" holding Rich Text (the questionnaire) says so: a mail
// program would otherwise hand it to a Word reader that refuses it.
QByteArray contentTypeFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"doc") {
        QFile file(path);
        const bool rtf = file.open(QIODevice::ReadOnly) && file.read(5) == "{\\rtf";
        return rtf ? "application/rtf" : "application/msword";
    }
    if (suffix == u"pdf")
        return "application/pdf";
    if (suffix == u"txt" || suffix == u"log")
        return "text/plain";
    return "application/octet-stream";
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
                        const char* detail)
{
    const QString server = serverText(smtp);
    const QString why = QString::fromUtf8(detail).trimmed().isEmpty()
                            ? QString::fromUtf8(curl_easy_strerror(code))
                            : QString::fromUtf8(detail).trimmed();
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

std::optional<QString> passwordFor(MailService& service, bool& typed)
{
    typed = false;
    const QString account = accountOf(service.smtp);
    if (service.passwords)
        if (std::optional<QString> stored = service.passwords->stored(account))
            return stored;
    std::optional<QString> answer = service.prompts.askPassword(
        QStringLiteral("E-mail"), QStringLiteral("Password of \"%1\" on the mail server %2:")
                                      .arg(service.smtp.user, service.smtp.server));
    typed = answer.has_value();
    return answer;
}

Status sendThroughMailProgram(const OutgoingEmail& message, MailService& service)
{
    setProgress(1, kStageSignon);
    setProgress(2, kStageSend);
    QStringList arguments = {QStringLiteral("--utf8"), QStringLiteral("--subject"), message.subject,
                             QStringLiteral("--body"), message.body};
    setProgress(4, kStageSend);
    if (!message.attachment.isEmpty())
        arguments << QStringLiteral("--attach") << message.attachment;
    arguments << message.address;
    setProgress(5, kStageSend);
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
    setProgress(6, kStageSend);
    return {};
}

Status sendDirectly(const OutgoingEmail& message, MailService& service)
{
    const SmtpSettings& smtp = service.smtp;
    setProgress(1, kStageSignon);
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
    bool typedPassword = false;
    std::optional<QString> password;
    if (!smtp.user.isEmpty()) {
        password = passwordFor(service, typedPassword);
        if (!password)
            return fail(QStringLiteral("Nothing was sent: no password was given for the mail "
                                       "server."));
    }

    setProgress(2, kStageSend);
    initCurlOnce();
    // What the transfer uses must outlive the handle, whose clean-up still signs off: the
    // handle is declared last, so it goes first.
    char detail[CURL_ERROR_SIZE] = {};
    std::unique_ptr<curl_slist, CurlDeleter> recipients;
    std::unique_ptr<curl_slist, CurlDeleter> headers;
    std::unique_ptr<curl_mime, CurlDeleter> mime;
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl)
        return fail(QStringLiteral("Nothing was sent: the mail connection could not be set up."));
    CURL* h = curl.get();
    const QByteArray urlText = url.toString(QUrl::FullyEncoded).toUtf8();
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(h, CURLOPT_URL, urlText.constData());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 20L);
    // A server that stops answering ends the transfer instead of hanging the program.
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(h, CURLOPT_USE_SSL,
                     smtp.security == SmtpSecurity::None ? static_cast<long>(CURLUSESSL_NONE)
                                                         : static_cast<long>(CURLUSESSL_ALL));
    const QByteArray caFile = QFile::encodeName(smtp.caFile);
    if (!smtp.caFile.isEmpty())
        curl_easy_setopt(h, CURLOPT_CAINFO, caFile.constData());
    const QByteArray user = smtp.user.toUtf8();
    const QByteArray secret = password.value_or(QString()).toUtf8();
    if (!smtp.user.isEmpty()) {
        curl_easy_setopt(h, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(h, CURLOPT_PASSWORD, secret.constData());
    }
    const QByteArray from = '<' + *sender + '>';
    curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.constData());

    setProgress(3, kStageSend);
    const QByteArray to = '<' + *recipient + '>';
    appendTo(recipients, to);
    curl_easy_setopt(h, CURLOPT_MAIL_RCPT, recipients.get());
    const QByteArray senderDomain = sender->mid(sender->lastIndexOf('@') + 1);
    appendTo(headers, "Date: " + dateHeader(QDateTime::currentDateTime()));
    appendTo(headers, "From: " + displayName(service.senderName) + from);
    appendTo(headers, "To: " + to);
    appendTo(headers, "Subject: " + headerText(message.subject, qsizetype(sizeof "Subject: ") - 1));
    appendTo(headers, "Message-ID: <" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces) +
                          '@' + senderDomain + '>');
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());

    mime.reset(curl_mime_init(h));
    curl_mimepart* text = curl_mime_addpart(mime.get());
    const QByteArray body = crlfText(message.body);
    curl_mime_data(text, body.constData(), static_cast<size_t>(body.size()));
    curl_mime_type(text, "text/plain; charset=UTF-8");
    curl_mime_encoder(text, "quoted-printable");

    setProgress(4, kStageSend);
    if (!message.attachment.isEmpty()) {
        const QFileInfo file(message.attachment);
        if (!file.isFile() || !file.isReadable())
            return fail(attachmentMissing(message.attachment));
        curl_mimepart* part = curl_mime_addpart(mime.get());
        const QByteArray path = QFile::encodeName(file.absoluteFilePath());
        if (curl_mime_filedata(part, path.constData()) != CURLE_OK)
            return fail(attachmentMissing(message.attachment));
        const QString plainName = withoutControls(file.fileName());
        if (isPrintableAscii(plainName) && !plainName.contains(u'"') &&
            !plainName.contains(u'\\')) {
            curl_mime_filename(part, plainName.toLatin1().constData());
        } else {
            // A name beyond ASCII goes as a parameter in UTF-8; encoded words are not allowed
            // inside the quotes curl would put around it.
            curl_slist* disposition =
                curl_slist_append(nullptr, "Content-Disposition: attachment; filename*=UTF-8''" +
                                               QUrl::toPercentEncoding(plainName, {}, "'*"));
            if (!disposition)
                throw std::bad_alloc();
            curl_mime_headers(part, disposition, 1);
        }
        curl_mime_type(part, contentTypeFor(file.absoluteFilePath()).constData());
        curl_mime_encoder(part, "base64");
    }
    curl_easy_setopt(h, CURLOPT_MIMEPOST, mime.get());

    setProgress(5, kStageSend);
    const CURLcode code = curl_easy_perform(h);
    if (code != CURLE_OK) {
        if (isSignonError(code))
            setProgress(5, kStageSignon);
        if ((code == CURLE_LOGIN_DENIED || code == CURLE_AUTH_ERROR) && service.passwords)
            service.passwords->forget(accountOf(smtp));
        return fail(curlFailureText(code, smtp, message, detail));
    }
    setProgress(6, kStageSend);
    curl.reset();
    if (typedPassword && service.passwords)
        service.passwords->remember(accountOf(smtp), *password);
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
    const QByteArray bytes = file.read(1024 * 1024);
    if (QSslCertificate::fromData(bytes, QSsl::Pem).isEmpty())
        return fail(QStringLiteral("The file %1 holds no certificate in PEM form (text "
                                   "starting \"-----BEGIN CERTIFICATE-----\"). Choose the "
                                   "certificate itself, not its key.")
                        .arg(shown));
    return {};
}

SendEmailProgress& sendEmailProgress()
{
    static SendEmailProgress progress;
    return progress;
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

Status SendEmail(const OutgoingEmail& message, bool showDialog, MailService& service)
{
    setProgress(1, kStageSignon);
    if (Status recipient = checkRecipient(message.address); !recipient)
        return recipient;
    if (!message.attachment.isEmpty() && !QFileInfo(message.attachment).isFile()) {
        setProgress(4, kStageSend);
        return fail(attachmentMissing(message.attachment));
    }
    return showDialog ? sendThroughMailProgram(message, service) : sendDirectly(message, service);
}

} // namespace halcyra

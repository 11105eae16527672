// Sending for real: to a mail server on 127.0.0.1 started by the test (tests/ui/smtp_peer.py over
// Python's aiosmtpd), and to a stand-in for the desktop's mail program.

#include "core/Catalogue.h"
#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "setup/windows/frmOptions.h"
#include "support/ScriptedPrompts.h"
#include "support/TempProgramFolder.h"
#include "ui/SendEmail.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

namespace {

constexpr char kAttachmentBytes[] = "HCYQ\0\r\n.\r\n\xff\xfe binary";
const QByteArray kAttachment(kAttachmentBytes, sizeof kAttachmentBytes - 1);

class RecordingPasswords final : public MailPasswords
{
public:
    std::optional<QString> stored(const QString&) override { return std::nullopt; }
    void remember(const QString& account, const QString& password) override
    {
        remembered << account + u'=' + password;
    }
    void forget(const QString& account) override { forgotten << account; }
    QStringList remembered;
    QStringList forgotten;
};

// Scripted prompts that also answer file dialogs.
class FileChoosingPrompts final : public UserPrompts
{
public:
    void inform(const QString&, const QString& text, Icon) override { told << text; }
    Answer ask(const QString&, const QString&, Buttons, Icon, Answer) override
    {
        return Answer::Cancel;
    }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QString> chooseFile(const QString&, const QString&, bool) override
    {
        return files.isEmpty() ? std::nullopt : std::optional(files.takeFirst());
    }
    void setBusy(bool) override {}

    QStringList files;
    QStringList told;
};

// The mail server of one test, stopped when the test ends.
class SmtpPeer
{
public:
    ~SmtpPeer()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(1000);
    }

    // Empty when it listens; else why not.
    QString start(const QString& python, const QString& outFolder, const QStringList& options)
    {
        m_process.start(
            python,
            QStringList{QStringLiteral(HALCYRA_SOURCE_DIR "/tests/ui/smtp_peer.py"), outFolder} +
                options);
        if (!m_process.waitForStarted(5000))
            return m_process.errorString();
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(10000))
                return QString::fromUtf8(m_process.readAllStandardError());
        const QByteArray line = m_process.readLine().trimmed();
        if (!line.startsWith("PORT "))
            return QString::fromUtf8(line);
        port = line.mid(5).toInt();
        return {};
    }

    int port = 0;

private:
    QProcess m_process;
};

QString pythonWithAiosmtpd()
{
    for (const QString& python :
         {u"/usr/bin/python3"_s, QStandardPaths::findExecutable(u"python3"_s)})
        if (!python.isEmpty() && QProcess::execute(python, {u"-c"_s, u"import aiosmtpd"_s}) == 0)
            return python;
    return {};
}

QJsonObject firstMessage(const QString& folder)
{
    QFile file(QDir(folder).filePath(u"message-1.json"_s));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

} // namespace

class SendEmailTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_python = pythonWithAiosmtpd();
        QVERIFY(m_dir.isValid());
        // A certificate for 127.0.0.1 that no system trusts; the tests that trust it say so.
        QProcess openssl;
        openssl.setProcessChannelMode(QProcess::MergedChannels);
        openssl.start(u"openssl"_s, {u"req"_s, u"-x509"_s, u"-newkey"_s, u"rsa:2048"_s, u"-nodes"_s,
                                     u"-days"_s, u"2"_s, u"-subj"_s, u"/CN=127.0.0.1"_s,
                                     u"-addext"_s, u"subjectAltName=IP:127.0.0.1"_s, u"-keyout"_s,
                                     path(u"key.pem"_s), u"-out"_s, path(u"cert.pem"_s)});
        m_haveCertificate = openssl.waitForFinished(60000) &&
                            openssl.exitStatus() == QProcess::NormalExit && openssl.exitCode() == 0;
        m_attachment = path(u"HCYQ Müller, Zoë 2026-03-07.doc"_s);
        QFile file(m_attachment);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kAttachment);
    }

    // Recipient, subject, body and attachment arrive as they were written, over STARTTLS with
    // a login (the password typed is then kept), or in the open when that was chosen.
    void messageArrivesIntact_data()
    {
        QTest::addColumn<bool>("encrypted");
        QTest::addColumn<QString>("senderName");
        QTest::addColumn<QByteArray>("attached");
        QTest::addColumn<QString>("attachedType");
        QTest::newRow("STARTTLS with login, a Word file")
            << true << u"Dana Reyës"_s << kAttachment << u"application/msword"_s;
        QTest::newRow("no encryption, chosen, the Rich Text questionnaire")
            << false << u"Reyes, \"Dana\""_s << QByteArray("{\\rtf1\\ansi Name:____\\par}")
            << u"application/rtf"_s;
    }

    void messageArrivesIntact()
    {
        QFETCH(bool, encrypted);
        QFETCH(QString, senderName);
        QFETCH(QByteArray, attached);
        QFETCH(QString, attachedType);
        if (m_python.isEmpty())
            QSKIP("Python's aiosmtpd is not installed (Debian package python3-aiosmtpd)");
        if (encrypted && !m_haveCertificate)
            QSKIP("openssl could not make a test certificate");
        const QString out = freshFolder();
        SmtpPeer peer;
        const QStringList options =
            encrypted
                ? QStringList{u"--cert"_s, path(u"cert.pem"_s), u"--key"_s,      path(u"key.pem"_s),
                              u"--user"_s, u"adviser"_s,        u"--password"_s, u"pa ss:wörd"_s}
                : QStringList{};
        if (const QString why = peer.start(m_python, out, options); !why.isEmpty())
            QSKIP(qPrintable(u"The test mail server did not start: "_s + why));

        ScriptedPrompts prompts;
        prompts.setNextTexts({u"pa ss:wörd"_s});
        RecordingPasswords passwords;
        MailService service{{u"127.0.0.1"_s, peer.port,
                             encrypted ? SmtpSecurity::StartTls : SmtpSecurity::None,
                             encrypted ? u"adviser"_s : QString(), u"adviser@example.org"_s,
                             encrypted ? path(u"cert.pem"_s) : QString()},
                            prompts};
        service.passwords = &passwords;
        service.senderName = senderName;
        const QString subject = u"HCY Questionnaire für Sie – a long subject that must be "
                                "split into several encoded words to stay within the limits"_s;
        const QString body = u"Hello Zoë,\r\n.\r\nA line with a lone dot above.\r\n\r\nThanks"_s;
        QFile file(m_attachment);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(attached);
        file.close();
        const Status sent =
            SendEmail({u"client@example.net"_s, subject, body, m_attachment}, false, service);
        QVERIFY2(sent.ok(), qPrintable(sent.error()));

        QTRY_VERIFY_WITH_TIMEOUT(!firstMessage(out).isEmpty(), 10000);
        const QJsonObject message = firstMessage(out);
        QCOMPARE(message[u"mail_from"_s].toString(), u"adviser@example.org"_s);
        QCOMPARE(message[u"rcpt_tos"_s].toArray(), QJsonArray{u"client@example.net"_s});
        QCOMPARE(message[u"from_names"_s].toArray(), QJsonArray{senderName});
        QCOMPARE(message[u"subject"_s].toString(), subject);
        QCOMPARE(message[u"defects"_s].toArray(), QJsonArray{});
        QCOMPARE(message[u"body"_s].toString().replace(u"\r\n"_s, u"\n"_s).trimmed(),
                 QString(body).replace(u"\r\n"_s, u"\n"_s));
        const QJsonArray attachments = message[u"attachments"_s].toArray();
        QCOMPARE(attachments.size(), 1);
        const QJsonObject attachment = attachments[0].toObject();
        QCOMPARE(attachment[u"filename"_s].toString(), QFileInfo(m_attachment).fileName());
        QCOMPARE(attachment[u"encoding"_s].toString(), u"base64"_s);
        QCOMPARE(attachment[u"hex"_s].toString().toLatin1(), attached.toHex());
        QCOMPARE(attachment[u"type"_s].toString(), attachedType);
        QCOMPARE(passwords.remembered,
                 encrypted ? QStringList{u"adviser@127.0.0.1=pa ss:wörd"_s} : QStringList{});
    }

    // Whatever the names, the locale or the address, what arrives is a well-formed message: a
    // Date a mail program reads as now, headers in 7 bits that Python's mail parser finds no
    // fault with, a domain beyond ASCII as its punycode. An address whose name part is beyond
    // ASCII is refused before anything goes out.
    void headersAreWellFormed_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("senderName");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("delivered"); // empty: refused
        QTest::newRow("plain") << u"client@example.net"_s << u"Dana Reyes"_s
                               << u"HCY Questionnaire"_s << u"client@example.net"_s;
        QTest::newRow("names beyond ASCII")
            << u"client@example.net"_s << u"Dana Reyës, Praxis"_s
            << u"Fragebogen für Zoë – bitte ausfüllen"_s << u"client@example.net"_s;
        QTest::newRow("subject already encoded")
            << u"client@example.net"_s << u"Dana"_s << u"=?UTF-8?B?SMOpbGxv?="_s
            << u"client@example.net"_s;
        QTest::newRow("long plain subject")
            << u"client@example.net"_s << u"Dana"_s
            << QString(u"A long subject line "_s).repeated(60) << u"client@example.net"_s;
        QTest::newRow("domain beyond ASCII")
            << u"joerg@exämple.de"_s << u"Dana"_s << u"S"_s << u"joerg@xn--exmple-cua.de"_s;
        QTest::newRow("name part beyond ASCII")
            << u"jörg@exämple.de"_s << u"Dana"_s << u"S"_s << QString();
    }

    void headersAreWellFormed()
    {
        QFETCH(QString, address);
        QFETCH(QString, senderName);
        QFETCH(QString, subject);
        QFETCH(QString, delivered);
        if (m_python.isEmpty())
            QSKIP("Python's aiosmtpd is not installed (Debian package python3-aiosmtpd)");
        const QString out = freshFolder();
        SmtpPeer peer;
        if (const QString why = peer.start(m_python, out, {}); !why.isEmpty())
            QSKIP(qPrintable(u"The test mail server did not start: "_s + why));
        // Day and month names are the mail format's, not the adviser's language.
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        ScriptedPrompts prompts;
        MailService service{
            {u"127.0.0.1"_s, peer.port, SmtpSecurity::None, {}, u"adviser@example.org"_s, {}},
            prompts};
        service.senderName = senderName;
        const QDateTime sentAt = QDateTime::currentDateTime();
        const Status sent = SendEmail({address, subject, u"Body"_s, {}}, false, service);
        QLocale::setDefault(before);

        if (delivered.isEmpty()) {
            QVERIFY(!sent.ok());
            QVERIFY2(sent.error().startsWith(u"Nothing was sent"_s), qPrintable(sent.error()));
            QVERIFY2(sent.error().contains(address), qPrintable(sent.error()));
            QTest::qWait(300);
            QVERIFY(QDir(out).isEmpty());
            return;
        }
        QVERIFY2(sent.ok(), qPrintable(sent.error()));
        QTRY_VERIFY_WITH_TIMEOUT(!firstMessage(out).isEmpty(), 10000);
        const QJsonObject message = firstMessage(out);
        QCOMPARE(message[u"rcpt_tos"_s].toArray(), QJsonArray{delivered});
        QCOMPARE(message[u"defects"_s].toArray(), QJsonArray{});
        QCOMPARE(message[u"eight_bit_headers"_s].toBool(), false);
        const QDateTime date = QDateTime::fromString(message[u"date"_s].toString(), Qt::ISODate);
        QVERIFY2(date.isValid(), qPrintable(message[u"date"_s].toString()));
        QVERIFY2(qAbs(date.secsTo(sentAt)) < 120, qPrintable(message[u"date"_s].toString()));
        QCOMPARE(date.offsetFromUtc(), sentAt.offsetFromUtc());
        QCOMPARE(message[u"from_names"_s].toArray(), QJsonArray{senderName});
        const QString expectedSubject = subject.startsWith(u"=?"_s) ? u"Héllo"_s : subject;
        QCOMPARE(message[u"subject"_s].toString(), expectedSubject);
    }

    // Each failure says what went wrong, keeps the stage for the error report, and sends
    // nothing.
    void failureSaysWhatFailed_data()
    {
        QTest::addColumn<QString>("server"); // "tls", "plain" or "" for none listening
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("attachment");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("stage");
        const QString client = u"client@example.net"_s;
        QTest::newRow("login refused")
            << u"tls"_s << true << client << QString() << u"refused the login of user \"adviser\""_s
            << u"SendEmailErrSignon"_s;
        QTest::newRow("certificate not trusted") << u"tls"_s << false << client << QString()
                                                 << u"is not trusted"_s << u"SendEmailErrSignon"_s;
        QTest::newRow("no encryption offered")
            << u"plain"_s << true << client << QString() << u"does not offer encryption"_s
            << u"SendEmailErrSignon"_s;
        QTest::newRow("server unreachable") << QString() << true << client << QString()
                                            << u"could not be reached"_s << u"SendEmailErrSignon"_s;
        QTest::newRow("attachment missing") << QString() << true << client << u"gone.doc"_s
                                            << u"gone.doc is missing"_s << u"SendEmailErrSend"_s;
        QTest::newRow("smuggled recipient")
            << QString() << true << u"a@b.cd>\r\nRCPT TO:<x@y.zz"_s << QString()
            << u"is not one e-mail address"_s << u"SendEmailErrSignon"_s;
    }

    void failureSaysWhatFailed()
    {
        QFETCH(QString, server);
        QFETCH(bool, trusted);
        QFETCH(QString, address);
        QFETCH(QString, attachment);
        QFETCH(QString, said);
        QFETCH(QString, stage);
        if (!server.isEmpty() && m_python.isEmpty())
            QSKIP("Python's aiosmtpd is not installed (Debian package python3-aiosmtpd)");
        if (server == u"tls" && !m_haveCertificate)
            QSKIP("openssl could not make a test certificate");
        const QString out = freshFolder();
        SmtpPeer peer;
        if (server.isEmpty()) {
            QTcpServer closed; // a port nobody listens on once it is closed again
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            peer.port = closed.serverPort();
        } else {
            QStringList options{u"--user"_s, u"adviser"_s, u"--password"_s, u"right"_s};
            if (server == u"tls")
                options << u"--cert"_s << path(u"cert.pem"_s) << u"--key"_s << path(u"key.pem"_s);
            if (const QString why = peer.start(m_python, out, options); !why.isEmpty())
                QSKIP(qPrintable(u"The test mail server did not start: "_s + why));
        }

        ScriptedPrompts prompts;
        prompts.setNextTexts({u"wrong"_s});
        RecordingPasswords passwords;
        MailService service{{u"127.0.0.1"_s, peer.port, SmtpSecurity::StartTls, u"adviser"_s,
                             u"adviser@example.org"_s, trusted ? path(u"cert.pem"_s) : QString()},
                            prompts};
        service.passwords = &passwords;
        SendEmailProgress progress;
        const Status sent = SendEmail(
            {address, u"S"_s, u"B"_s, attachment.isEmpty() ? QString() : path(attachment)}, false,
            service, progress);
        QVERIFY(!sent.ok());
        QVERIFY2(sent.error().contains(said), qPrintable(sent.error()));
        QVERIFY(sent.error().startsWith(u"Nothing was sent"_s));
        QCOMPARE(progress.stage, stage);
        QVERIFY(QDir(out).isEmpty());
        // A refused password is not offered again; a typed one that did not log in is not kept.
        QCOMPARE(passwords.forgotten.size(),
                 qsizetype(QByteArray(QTest::currentDataTag()) == "login refused" ? 1 : 0));
        QVERIFY(passwords.remembered.isEmpty());
    }

    // A server with a self-signed certificate: not trusted until its certificate is chosen on
    // the E-mail page of the options (a key or a missing file is refused there), and the next
    // message uses the choice at once.
    void certificateChosenInTheOptions()
    {
        if (m_python.isEmpty())
            QSKIP("Python's aiosmtpd is not installed (Debian package python3-aiosmtpd)");
        if (!m_haveCertificate)
            QSKIP("openssl could not make a test certificate");
        const QString out = freshFolder();
        SmtpPeer peer;
        if (const QString why = peer.start(
                m_python, out, {u"--cert"_s, path(u"cert.pem"_s), u"--key"_s, path(u"key.pem"_s)});
            !why.isEmpty())
            QSKIP(qPrintable(u"The test mail server did not start: "_s + why));

        TempProgramFolder program;
        SettingsStore settings(program.settingsFolder());
        FileChoosingPrompts prompts;
        ErrorReporter reporter(program.folder(), prompts);
        settings.save(keys::smtpServer(), u"127.0.0.1"_s);
        settings.save(keys::smtpPort(), QString::number(peer.port));
        settings.save(keys::senderAddress(), u"adviser@example.org"_s);
        auto send = [&] {
            MailService service{readSmtpSettings(settings), prompts};
            return SendEmail({u"client@example.net"_s, u"S"_s, u"B"_s, {}}, false, service);
        };
        const Status untrusted = send();
        QVERIFY(!untrusted.ok());
        QVERIFY2(untrusted.error().contains(u"is not trusted"_s), qPrintable(untrusted.error()));

        const Catalogue catalogue = Catalogue::builtIn();
        frmOptions options(catalogue, settings, reporter);
        options.selectTab(OptionsTab::Email);
        auto* box = options.findChild<QLineEdit*>(u"txtSmtpCaFile"_s);
        auto* choose = options.findChild<QPushButton*>(u"cmdSmtpCaFile"_s);
        QVERIFY(box && choose);
        prompts.files = {path(u"key.pem"_s), path(u"cert.pem"_s)};
        choose->click();
        QCOMPARE(prompts.told.size(), 1);
        QVERIFY2(prompts.told[0].contains(u"no certificate"_s), qPrintable(prompts.told[0]));
        QVERIFY(box->text().isEmpty());
        choose->click();
        QCOMPARE(box->text(), path(u"cert.pem"_s));
        // A name typed by hand that is no file keeps the dialog open and stores nothing.
        box->setText(path(u"gone.pem"_s));
        options.cmdOK_Click();
        QCOMPARE(prompts.told.size(), 2);
        QVERIFY2(prompts.told[1].contains(u"cannot be read"_s), qPrintable(prompts.told[1]));
        QCOMPARE(options.closedBy(), OptionsButton::None);
        QVERIFY(settings.get(keys::smtpCaFile()).isEmpty());
        box->setText(path(u"cert.pem"_s));
        options.cmdOK_Click();
        QCOMPARE(options.closedBy(), OptionsButton::OK);
        QCOMPARE(settings.get(keys::smtpCaFile()), path(u"cert.pem"_s));

        const Status trusted = send();
        QVERIFY2(trusted.ok(), qPrintable(trusted.error()));
        QTRY_VERIFY_WITH_TIMEOUT(!firstMessage(out).isEmpty(), 10000);
    }

    // With the mail program's dialog the message goes to it as separate arguments.
    void mailProgramGetsTheMessage()
    {
        const QString program = path(u"mail-program"_s);
        const QString record = path(u"arguments.txt"_s);
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n--\\n' \"$a\"; done > \"" +
                     QFile::encodeName(record) + ".part\"; mv \"" + QFile::encodeName(record) +
                     ".part\" \"" + QFile::encodeName(record) + "\"\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        ScriptedPrompts prompts;
        MailService service{{}, prompts};
        service.mailProgram = program;
        const QString subject = u"$(touch pwned); 'quoted'"_s;
        QVERIFY(SendEmail({u"client@example.net"_s, subject, u"Line 1\nLine 2"_s, m_attachment},
                          true, service)
                    .ok());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), 10000);
        QFile recorded(record);
        QVERIFY(recorded.open(QIODevice::ReadOnly));
        const QStringList arguments =
            QString::fromUtf8(recorded.readAll()).split(u"\n--\n"_s, Qt::SkipEmptyParts);
        QCOMPARE(arguments, (QStringList{u"--utf8"_s, u"--subject"_s, subject, u"--body"_s,
                                         u"Line 1\nLine 2"_s, u"--attach"_s, m_attachment,
                                         u"client@example.net"_s}));
        QVERIFY(!QFileInfo::exists(u"pwned"_s));
    }

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString freshFolder()
    {
        const QString folder = path(u"out-%1"_s.arg(++m_runs));
        QDir().mkpath(folder);
        return folder;
    }

    QTemporaryDir m_dir;
    QString m_python;
    bool m_haveCertificate = false;
    QString m_attachment;
    int m_runs = 0;
};

QTEST_MAIN(SendEmailTest)
#include "tst_send_email.moc"

// How far one sending got, as the e-mail window logs it after a failure: each sending fills
// the progress its caller passes, from the start, whatever an earlier sending left there.

#include "support/ScriptedPrompts.h"
#include "ui/SendEmail.h"

#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

namespace {

const QString kSignon = u"SendEmailErrSignon"_s;
const QString kSend = u"SendEmailErrSend"_s;

} // namespace

class SendProgressTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void whereASendingStops_data();
    void whereASendingStops();

private:
    QTemporaryDir m_dir;
};

void SendProgressTest::whereASendingStops_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("attachmentThere");
    QTest::addColumn<QString>("mailProgram"); // empty: straight to the server
    QTest::addColumn<bool>("sent");
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("stage");

    const QString to = u"client@example.net"_s;
    const QString from = u"adviser@example.org"_s;
    const QString local = u"127.0.0.1"_s;
    // clang-format off
    QTest::newRow("two recipients")    << u"a@x.org, b@y.org"_s << local << from << QString() << true << QString() << false << 1 << kSignon;
    QTest::newRow("attachment gone")   << to << local << from << QString() << false << QString() << false << 4 << kSend;
    QTest::newRow("no server")         << to << QString() << from << QString() << true << QString() << false << 1 << kSignon;
    QTest::newRow("sender no address") << to << local << u"adviser"_s << QString() << true << QString() << false << 1 << kSignon;
    QTest::newRow("recipient beyond A to Z") << u"jos\u00e9@example.net"_s << local << from << QString() << true << QString() << false << 1 << kSignon;
    QTest::newRow("no password typed") << to << local << from << u"adviser"_s << true << QString() << false << 1 << kSignon;
    QTest::newRow("server not there")  << to << local << from << QString() << true << QString() << false << 5 << kSignon;
    QTest::newRow("no mail program")   << to << QString() << QString() << QString() << true << u"/nonexistent/mail-program"_s << false << 5 << kSend;
    QTest::newRow("mail program took it") << to << QString() << QString() << QString() << true << u"true"_s << true << 6 << kSend;
    // clang-format on
}

void SendProgressTest::whereASendingStops()
{
    QFETCH(QString, address);
    QFETCH(QString, server);
    QFETCH(QString, sender);
    QFETCH(QString, user);
    QFETCH(bool, attachmentThere);
    QFETCH(QString, mailProgram);
    QFETCH(bool, sent);
    QFETCH(int, step);
    QFETCH(QString, stage);

    const QString attachment = m_dir.filePath(u"HCYQ.doc"_s);
    QFile::remove(attachment);
    if (attachmentThere) {
        QFile file(attachment);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1 questionnaire}");
    }
    // A port nobody listens on once it is closed again.
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const int port = closed.serverPort();
    closed.close();

    ScriptedPrompts prompts;
    MailService service{{server, port, SmtpSecurity::None, user, sender, {}}, prompts};
    if (!mailProgram.isEmpty())
        service.mailProgram = mailProgram;
    // What an earlier sending left behind must not show through.
    SendEmailProgress progress{9, u"earlier"_s};
    const Status result =
        SendEmail({address, u"S"_s, u"B"_s, attachment}, !mailProgram.isEmpty(), service, progress);
    QVERIFY2(result.ok() == sent, qPrintable(result.error()));
    QCOMPARE(progress.step, step);
    QCOMPARE(progress.stage, stage);
    // The progress is the caller's alone: a second sending with its own leaves this one be.
    SendEmailProgress other;
    (void)SendEmail({u"not an address"_s, {}, {}, {}}, false, service, other);
    QCOMPARE(other.step, 1);
    QCOMPARE(progress.step, step);
}

QTEST_GUILESS_MAIN(SendProgressTest)
#include "tst_send_progress.moc"

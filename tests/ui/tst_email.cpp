// The questionnaire copy and the e-mail window's rules, without a window; and once through the
// main window's Send Questionnaire to the e-mail window.

#include "core/SettingsKeys.h"
#include "support/MainWindowHarness.h"
#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"
#include "ui/Email.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

namespace {

const QDate kDay(2026, 3, 7);

QStringList sentCopies(const TempProgramFolder& program)
{
    return QDir(program.path(u"Sent Qs"_s)).entryList(QDir::Files | QDir::Hidden);
}

bool ownerOnly(const QString& path)
{
    constexpr QFileDevice::Permissions kOthers = QFile::ReadGroup | QFile::WriteGroup |
                                                 QFile::ExeGroup | QFile::ReadOther |
                                                 QFile::WriteOther | QFile::ExeOther;
    return (QFileInfo(path).permissions() & kOthers) == 0;
}

} // namespace

class EmailTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_program = std::make_unique<TempProgramFolder>();
        QVERIFY(m_program->isValid());
        m_program->writeFile(u"HCYQ.doc"_s, "{\\rtf1 questionnaire}");
    }

    // Whatever the client is called, the copy lands in "Sent Qs" under a name that still reads
    // as the client's, and the same client on the same day always gets the same name.
    void copyStaysInSentQs_data()
    {
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << u"Smith"_s << u"Ann"_s << u"HCYQ Smith, Ann 2026-03-07.doc"_s;
        QTest::newRow("accents") << u"Müller"_s << u"Zoë"_s << u"HCYQ Müller, Zoë 2026-03-07.doc"_s;
        QTest::newRow("climbs out")
            << u"../../etc"_s << u"passwd"_s << u"HCYQ _.._etc, passwd 2026-03-07.doc"_s;
        QTest::newRow("separators")
            << u"a/b\\c"_s << u"C:x"_s << u"HCYQ a_b_c, C_x 2026-03-07.doc"_s;
        QTest::newRow("refused characters")
            << u"O\"Brien*?<>|"_s << u"Jo"_s << u"HCYQ O_Brien_____, Jo 2026-03-07.doc"_s;
        QTest::newRow("control characters") << u"Tab\tNew\nLine"_s << u"\u202Eevil"_s
                                            << u"HCYQ Tab_New_Line, _evil 2026-03-07.doc"_s;
        QTest::newRow("dots and blanks")
            << u"..."_s << u"  Lee  . "_s << u"HCYQ , Lee 2026-03-07.doc"_s;
        QTest::newRow("empty") << QString() << QString() << u"HCYQ ,  2026-03-07.doc"_s;
        QTest::newRow("very long") << QString(300, u'é') << u"Al"_s
                                   << u"HCYQ "_s + QString(50, u'é') + u", Al 2026-03-07.doc"_s;
    }

    void copyStaysInSentQs()
    {
        QFETCH(QString, last);
        QFETCH(QString, first);
        QFETCH(QString, name);
        const Result<QString> copy = makeQuestionnaireCopy(m_program->folder(), last, first, kDay);
        QVERIFY2(copy.ok(), qPrintable(copy.error()));
        QCOMPARE(*copy, QDir(m_program->path(u"Sent Qs"_s)).filePath(name));
        QCOMPARE(sentCopies(*m_program), QStringList{name});
        QFile file(*copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("{\\rtf1 questionnaire}"));
        QVERIFY(ownerOnly(*copy));
        QVERIFY(ownerOnly(m_program->path(u"Sent Qs"_s)));

        // Again on the same day: the one copy is replaced, now from the current template.
        m_program->writeFile(u"HCYQ.doc"_s, "edited");
        QVERIFY(makeQuestionnaireCopy(m_program->folder(), last, first, kDay).ok());
        QCOMPARE(sentCopies(*m_program), QStringList{name});
        QFile again(*copy);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), QByteArray("edited"));
    }

    void missingTemplateMakesNoCopy()
    {
        QVERIFY(QFile::remove(m_program->path(u"HCYQ.doc"_s)));
        const Result<QString> copy =
            makeQuestionnaireCopy(m_program->folder(), u"A"_s, u"B"_s, kDay);
        QVERIFY(!copy.ok());
        QVERIFY(copy.error().contains(u"HCYQ.doc"_s));
    }

    // Send is offered from six characters with "@" and "."; the checks then run in order and
    // the first failing one is the message.
    void sendRules_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("attachment");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("message");
        const QString ok = u"a@b.cd"_s;
        QTest::newRow("five characters")
            << u"a@b.c"_s << u"S"_s << u"B"_s << QString() << false << QString();
        QTest::newRow("five, padded")
            << u"  a@b.c  "_s << u"S"_s << u"B"_s << QString() << false << QString();
        QTest::newRow("six characters") << ok << u"S"_s << u"B"_s << QString() << true << QString();
        QTest::newRow("no dot") << u"ann@example"_s << u"S"_s << u"B"_s << QString() << false
                                << QString();
        QTest::newRow("no address") << u"   "_s << QString() << QString() << u"/none"_s << false
                                    << u"Please enter an e-mail address for the Recipient"_s;
        QTest::newRow("no subject")
            << ok << QString() << QString() << u"/none"_s << true << u"Please enter a Subject."_s;
        QTest::newRow("blank body")
            << ok << u" "_s << u" \r\n "_s << u"/none"_s << true << u"Please enter Message Text."_s;
        QTest::newRow("missing file") << ok << u"S"_s << u"B"_s << u" /no/such.doc "_s << true
                                      << u"The file you are trying to attach (/no/such.doc) "
                                         "can't be found."_s;
        QTest::newRow("all there") << ok << u"S"_s << u"B"_s << u"HCYQ.doc"_s << true << QString();
    }

    void sendRules()
    {
        QFETCH(QString, address);
        QFETCH(QString, subject);
        QFETCH(QString, body);
        QFETCH(QString, attachment);
        QFETCH(bool, enabled);
        QFETCH(QString, message);
        if (attachment == u"HCYQ.doc")
            attachment = m_program->path(attachment);
        QCOMPARE(sendEnabledFor(address), enabled);
        QCOMPARE(sendCheckMessage({address, subject, body, attachment, u"2"_s}), message);
    }

    // Abort throws away the copy made for a questionnaire message and nothing else; Close and
    // a sent message keep it.
    void finishKeepsOrDeletes_data()
    {
        QTest::addColumn<EmailOutcome>("outcome");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("kept");
        QTest::newRow("abort") << EmailOutcome::Aborted << u"2"_s << false;
        QTest::newRow("close") << EmailOutcome::Closed << u"2"_s << true;
        QTest::newRow("sent") << EmailOutcome::Sent << u"2"_s << true;
        QTest::newRow("abort, support mail") << EmailOutcome::Aborted << QString() << true;
    }

    void finishKeepsOrDeletes()
    {
        QFETCH(EmailOutcome, outcome);
        QFETCH(QString, mode);
        QFETCH(bool, kept);
        const QString copy = *makeQuestionnaireCopy(m_program->folder(), u"A"_s, u"B"_s, kDay);
        EmailSetupValues opened = SetupEmail({}, copy);
        opened.mode = mode;
        QVERIFY(finishEmail(opened, outcome).ok());
        QCOMPARE(QFileInfo::exists(copy), kept);
        QVERIFY(QFileInfo::exists(m_program->path(u"HCYQ.doc"_s)));
    }

    // Send Questionnaire: the notice, the copy, the prepared message; Abort takes the copy back.
    void sendQuestionnaireFromMainWindow()
    {
        MainWindowHarness h;
        h.folder.writeFile(u"HCYQ.doc"_s, "template");
        h.state.CompanyInfoLines[company::kFirstName] = u"Dana"_s;
        h.state.CompanyInfoLines[company::kLastName] = u"Reyes"_s;
        h.addClient(u"Doe/../x"_s, u"Jane"_s);
        frmMain& window = h.open();

        EmailSetupValues shown;
        bool sendEnabled = true;
        whenModalShows(&window, [&](QWidget* modal) {
            shown.toAddress = modal->findChild<QLineEdit*>(u"txtToAddress"_s)->text();
            shown.body = modal->findChild<QPlainTextEdit*>(u"txtBody"_s)->toPlainText();
            shown.attachment = modal->findChild<QLineEdit*>(u"txtAttachment"_s)->text();
            sendEnabled = modal->findChild<QPushButton*>(u"cmdSend"_s)->isEnabled();
            QVERIFY(QFileInfo::exists(shown.attachment));
            modal->findChild<QPushButton*>(u"cmdAbort"_s)->click();
        });
        window.findChild<QPushButton*>(u"cmdSend"_s)->click();

        QCOMPARE(h.messages.size(), 1);
        QCOMPARE(h.messages[0].title, u"Email Questionnaire Compatibility"_s);
        QVERIFY(h.messages[0].text.startsWith(u"This feature doesn't work"_s));
        QVERIFY(h.messages[0].text.endsWith(u"before clicking OK button below)."_s));
        QCOMPARE(shown.toAddress, u"Enter the Client's Email address here"_s);
        QVERIFY(!sendEnabled);
        QVERIFY(shown.body.endsWith(u"\n\nThanks, Dana Reyes"_s));
        QCOMPARE(QFileInfo(shown.attachment).fileName(),
                 u"HCYQ Doe_.._x, Jane "_s + QDate::currentDate().toString(u"yyyy-MM-dd"_s) +
                     u".doc"_s);
        QVERIFY(!QFileInfo::exists(shown.attachment));

        // The options' "AOL Users Questionnaire" box switches the notice off.
        h.settings.save(keys::doNotShow(u"AOL Users Questionnaire"_s), u"1"_s);
        whenModalShows(&window, [](QWidget* modal) { modal->close(); });
        window.findChild<QPushButton*>(u"cmdSend"_s)->click();
        QCOMPARE(h.messages.size(), 1);
    }

private:
    std::unique_ptr<TempProgramFolder> m_program;
};

QTEST_MAIN(EmailTest)
#include "tst_email.moc"

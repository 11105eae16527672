// The desktop's helpers started for the adviser (xdg-email for the mail program, xdg-open for
// documents and web pages): real programs on the PATH that fail as a desktop without a mail
// program or browser does, or that succeed. A failure is told and logged; nothing closes as if
// it had worked.

#include "core/ErrorReporter.h"
#include "support/MainWindowHarness.h"
#include "support/ModalDriver.h"
#include "ui/MessageWindow.h"
#include "ui/WebLinks.h"
#include "ui/windows/frmMsg.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

namespace {

enum class Helper { Fails, Succeeds };

QString logText(const ErrorReporter& reporter)
{
    QFile log(reporter.logPath());
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

} // namespace

class DesktopHelpersTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_bin.isValid());
        qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + qgetenv("PATH"));
    }

    // Each command that hands something to the desktop, with a helper that fails (as
    // xdg-email and xdg-open do, status 3, where nothing is set up) and one that works.
    void commandsTellWhatDidNotOpen_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Helper>("helper");
        for (const QString& command : {u"send questionnaire"_s, u"view questionnaire"_s,
                                       u"web link"_s, u"online tutorial"_s, u"read me"_s}) {
            QTest::addRow("%s, helper fails", qPrintable(command)) << command << Helper::Fails;
            QTest::addRow("%s, helper works", qPrintable(command)) << command << Helper::Succeeds;
        }
    }

    void commandsTellWhatDidNotOpen()
    {
        QFETCH(QString, command);
        QFETCH(Helper, helper);
        const QString program = command == u"send questionnaire" ? u"xdg-email"_s : u"xdg-open"_s;
        const QString received = m_bin.filePath(u"received.txt"_s);
        QFile::remove(received);
        installHelper(program,
                      helper == Helper::Fails
                          ? "echo \"" + program.toLatin1() + ": no method available\" >&2\nexit 3\n"
                          : "printf '%s\\n' \"$@\" > \"" + QFile::encodeName(received) +
                                "\"\nexit 0\n");

        MainWindowHarness h;
        h.folder.writeFile(u"HCYQ.doc"_s, "template");
        h.folder.writeFile(u"WebURL.txt"_s, "https://health.example/\n");
        QString expectedTarget;
        bool windowStayedOpen = false;
        if (command == u"send questionnaire") {
            h.addClient(u"Doe"_s, u"Jane"_s);
            frmMain& window = h.open();
            whenModalShows(&window, [&](QWidget* modal) {
                // No mail server in the options: the mail program's dialog is the way.
                QVERIFY(modal->findChild<QCheckBox*>(u"chkDialog"_s)->isChecked());
                modal->findChild<QLineEdit*>(u"txtToAddress"_s)->setText(u"jane@example.net"_s);
                modal->findChild<QPushButton*>(u"cmdSend"_s)->click();
                windowStayedOpen = modal->isVisible();
                if (windowStayedOpen)
                    modal->findChild<QPushButton*>(u"cmdClose"_s)->click();
            });
            window.findChild<QPushButton*>(u"cmdSend"_s)->click();
            expectedTarget = u"jane@example.net"_s;
        } else if (command == u"view questionnaire") {
            h.open().menuEntry(u"mnuViewQ"_s)->trigger();
            expectedTarget = h.folder.path(u"HCYQ.doc"_s);
        } else if (command == u"read me") {
            h.folder.writeFile(u"readme.txt"_s, "Read me first.");
            h.open().menuEntry(u"mnuHelpRead"_s)->trigger();
            expectedTarget = h.folder.path(u"readme.txt"_s);
        } else if (command == u"web link") {
            if (chooseBrowser(true) == BrowserChoice::Embedded)
                QSKIP("Links open in the program's own browser window here");
            h.open().menuEntry(u"mnuViewBrowserHealth"_s)->trigger();
            expectedTarget = u"https://health.example/"_s;
        } else {
            frmMsg message(h.settings);
            message.reporter = &h.reporter;
            whenModalShows(&message, [](QWidget* modal) {
                modal->findChild<QPushButton*>(u"cmdShowMe"_s)->click();
                modal->findChild<QPushButton*>(u"cmdOk"_s)->click();
            });
            message.ShowMsg(u"F1 Help Main"_s, u"Help is on F1."_s);
            expectedTarget = onlineTutorialAddress();
        }

        QList<ScriptedPrompts::Shown> warnings;
        for (const ScriptedPrompts::Shown& shown : h.prompts.shown())
            if (shown.icon == UserPrompts::Icon::Warning)
                warnings << shown;
        if (helper == Helper::Succeeds) {
            QVERIFY2(warnings.isEmpty(), qPrintable(warnings.value(0).text));
            QFile file(received);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(QString::fromUtf8(file.readAll()).split(u'\n').contains(expectedTarget),
                     qPrintable(expectedTarget));
            QVERIFY(!windowStayedOpen);
            return;
        }
        QCOMPARE(warnings.size(), 1);
        const QString said = warnings[0].text;
        QVERIFY2(said.contains(u"could not be opened"_s), qPrintable(said));
        QVERIFY2(said.contains(u"no program is set up on this computer"_s), qPrintable(said));
        QVERIFY2(said.contains(u"no method available"_s), qPrintable(said));
        QVERIFY2(logText(h.reporter).contains(u"no program is set up on this computer"_s),
                 qPrintable(logText(h.reporter)));
        if (command == u"send questionnaire") {
            QVERIFY(windowStayedOpen);
            QVERIFY2(said.contains(u"Nothing was sent"_s), qPrintable(said));
        }
    }

private:
    void installHelper(const QString& name, const QByteArray& body)
    {
        for (const QString& helper : {u"xdg-open"_s, u"xdg-email"_s})
            QFile::remove(m_bin.filePath(helper));
        QFile script(m_bin.filePath(name));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + body);
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    QTemporaryDir m_bin;
};

QTEST_MAIN(DesktopHelpersTest)
#include "tst_desktop_helpers.moc"

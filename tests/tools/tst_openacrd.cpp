// OpenAcRd, the document launcher: the real program with a stand-in reader that records its
// arguments opens every queued document once and empties the queue, also while the program
// appends to the queue; the desktop's opener gets the document itself and its failure is
// told; queue lines that are not documents of the program folder are refused and logged; and
// how the options choose the way documents open.

#include "ReaderLaunch.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "flyers/ReaderQueue.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QProcess>
#include <QtTest>
#include <sys/stat.h>

using namespace halcyra;
using halcyra::test::TempProgramFolder;

namespace {

// A stand-in program that appends its arguments, one call a line, to "opened.txt" in the
// program folder, and fails (status 4, as xdg-open does when no program takes the file) for a
// document whose name holds "Broken".
void writeRecordingProgram(const TempProgramFolder& folder, const QString& name)
{
    const QString record = folder.path(QStringLiteral("opened.txt"));
    folder.writeFile(name, "#!/bin/sh\necho \"$*\" >> '" + record.toUtf8() +
                               "'\ncase \"$*\" in *Broken*) exit 4;; esac\n");
    QFile::setPermissions(folder.path(name),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString writeStandInReader(const TempProgramFolder& folder)
{
    writeRecordingProgram(folder, QStringLiteral("reader.sh"));
    SettingsStore settings(folder.settingsFolder());
    settings.save(keys::flyersOption(), QStringLiteral("2"));
    settings.save(keys::readerPath(), folder.path(QStringLiteral("reader.sh")));
    return folder.path(QStringLiteral("reader.sh"));
}

// The launcher as the program starts it: in the program folder. `path` is put in front of
// the search path, for a stand-in desktop opener.
QProcess* startLauncher(const TempProgramFolder& folder, QObject* parent, const QString& path = {})
{
    auto* process = new QProcess(parent);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HALCYRA_CONFIG_DIR"), folder.settingsFolder());
    if (!path.isEmpty())
        environment.insert(QStringLiteral("PATH"),
                           path + u':' + environment.value(QStringLiteral("PATH")));
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(folder.folder());
    process->start(QStringLiteral(HALCYRA_OPENACRD_PATH),
                   {QStringLiteral("--folder"), folder.folder()});
    return process;
}

QString logText(const TempProgramFolder& folder)
{
    QFile log(folder.path(QStringLiteral("ErrHCY.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

void appendToQueue(const TempProgramFolder& folder, const QString& line)
{
    QDir().mkpath(folder.path(QStringLiteral("Temp")));
    QFile queue(readerQueuePath(folder.folder()));
    QVERIFY(queue.open(QIODevice::Append));
    queue.write((u'"' + line + QStringLiteral("\"\n")).toUtf8());
}

// The calls of the stand-in program, once every one it started has finished, in name order:
// they run side by side, so they may record them in any order.
QStringList openedDocuments(const TempProgramFolder& folder, int expected)
{
    QStringList opened;
    QElapsedTimer timer;
    timer.start();
    do {
        QFile file(folder.path(QStringLiteral("opened.txt")));
        if (file.open(QIODevice::ReadOnly))
            opened = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        if (opened.size() >= expected)
            break;
        QTest::qWait(50);
    } while (timer.elapsed() < 20000);
    QTest::qWait(200); // a reader too many would show now
    QFile file(folder.path(QStringLiteral("opened.txt")));
    if (file.open(QIODevice::ReadOnly))
        opened = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    opened.sort();
    return opened;
}

} // namespace

class OpenAcRdTest : public QObject
{
    Q_OBJECT

private slots:
    void opensEachQueuedDocumentOnce()
    {
        TempProgramFolder folder;
        writeStandInReader(folder);
        folder.writeFile(QStringLiteral("Intro.pdf"), "%PDF-1.4\n");
        folder.writeFile(QStringLiteral("Purpose.pdf"), "%PDF-1.4\n");
        for (const char* name : {"Intro.pdf", "Purpose.pdf", "Missing.pdf"})
            QVERIFY(QueueFileForReader(folder.folder(), QString::fromLatin1(name)).ok());

        QProcess* launcher = startLauncher(folder, this);
        QVERIFY(launcher->waitForFinished(20000));
        // The missing document is reported, in the exit status, on standard error and in the log.
        QCOMPARE(launcher->exitCode(), 1);
        QVERIFY(launcher->readAllStandardError().contains("Missing.pdf"));
        QVERIFY(QFile(folder.path(QStringLiteral("ErrHCY.log"))).size() > 0);
        QCOMPARE(openedDocuments(folder, 2),
                 (QStringList{QStringLiteral("-- ") + folder.path(QStringLiteral("Intro.pdf")),
                              QStringLiteral("-- ") + folder.path(QStringLiteral("Purpose.pdf"))}));
        QCOMPARE(QFile(readerQueuePath(folder.folder())).size(), 0);
    }

    void nothingLostWhileTheProgramAppends()
    {
        TempProgramFolder folder;
        writeStandInReader(folder);
        constexpr int kDocuments = 60;
        QStringList expected;
        for (int i = 0; i < kDocuments; ++i) {
            const QString name = QStringLiteral("Flyer-%1.pdf").arg(i);
            folder.writeFile(name, "%PDF-1.4\n");
            expected << QStringLiteral("-- ") + folder.path(name);
        }
        // Launchers take the queue while documents keep being appended.
        QList<QProcess*> launchers;
        for (int i = 0; i < kDocuments; ++i) {
            QVERIFY(
                QueueFileForReader(folder.folder(), QStringLiteral("Flyer-%1.pdf").arg(i)).ok());
            if (i % 6 == 0)
                launchers << startLauncher(folder, this);
        }
        for (QProcess* launcher : launchers)
            QVERIFY(launcher->waitForFinished(20000));
        QProcess* last = startLauncher(folder, this);
        QVERIFY(last->waitForFinished(20000));

        QStringList opened = openedDocuments(folder, kDocuments);
        opened.sort();
        expected.sort();
        QCOMPARE(opened, expected);
        QCOMPARE(QFile(readerQueuePath(folder.folder())).size(), 0);
    }

    void desktopOpenerGetsTheDocumentItself()
    {
        TempProgramFolder folder;
        // "Use Explorer to display Acrobat files", with a reader stored from before.
        writeStandInReader(folder);
        SettingsStore(folder.settingsFolder()).save(keys::flyersOption(), QStringLiteral("1"));
        QVERIFY(QDir().mkpath(folder.path(QStringLiteral("bin"))));
        writeRecordingProgram(folder, QStringLiteral("bin/xdg-open"));
        folder.writeFile(QStringLiteral("Intro.pdf"), "%PDF-1.4\n");
        folder.writeFile(QStringLiteral("Broken.pdf"), "%PDF-1.4\n");
        for (const char* name : {"Intro.pdf", "Broken.pdf"})
            QVERIFY(QueueFileForReader(folder.folder(), QString::fromLatin1(name)).ok());

        QProcess* launcher = startLauncher(folder, this, folder.path(QStringLiteral("bin")));
        QVERIFY(launcher->waitForFinished(20000));
        QCOMPARE(openedDocuments(folder, 2),
                 (QStringList{folder.path(QStringLiteral("Broken.pdf")),
                              folder.path(QStringLiteral("Intro.pdf"))}));
        // The document no program took is told, not lost.
        QCOMPARE(launcher->exitCode(), 1);
        const QString err = QString::fromUtf8(launcher->readAllStandardError());
        QVERIFY2(err.contains(u"Broken.pdf") && !err.contains(u"Intro.pdf"), qPrintable(err));
        QVERIFY(logText(folder).contains(u"Broken.pdf"));
    }

    void onlyDocumentsOfTheProgramFolderOpen_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("opened"); // what the reader gets, empty when refused
        QTest::addColumn<QString>("why");
        QTest::newRow("document") << "%F/Intro.pdf"
                                  << "-- %F/Intro.pdf"
                                  << "";
        QTest::newRow("link to a document beside it") << "%F/Link.pdf"
                                                      << "-- %F/Intro.pdf"
                                                      << "";
        QTest::newRow("an option") << "--help"
                                   << ""
                                   << "not the full path";
        QTest::newRow("a file of the system") << "/etc/passwd"
                                              << ""
                                              << "outside the program folder";
        QTest::newRow("up and out") << "%F/../outside.pdf"
                                    << ""
                                    << "outside the program folder";
        QTest::newRow("link out") << "%F/Passwords.pdf"
                                  << ""
                                  << "outside the program folder";
        QTest::newRow("a folder") << "%F/Temp"
                                  << ""
                                  << "not a plain file";
        QTest::newRow("a pipe") << "%F/Pipe.pdf"
                                << ""
                                << "not a plain file";
    }
    void onlyDocumentsOfTheProgramFolderOpen()
    {
        QFETCH(QString, line);
        QFETCH(QString, opened);
        QFETCH(QString, why);
        TempProgramFolder folder;
        writeStandInReader(folder);
        const QString root = QFileInfo(folder.folder()).canonicalFilePath();
        folder.writeFile(QStringLiteral("Intro.pdf"), "%PDF-1.4\n");
        // A file of that name where the launcher runs, as a document would be.
        folder.writeFile(QStringLiteral("--help"), "%PDF-1.4\n");
        QVERIFY(QFile::link(folder.path(QStringLiteral("Intro.pdf")),
                            folder.path(QStringLiteral("Link.pdf"))));
        QVERIFY(QFile::link(QStringLiteral("/etc/passwd"),
                            folder.path(QStringLiteral("Passwords.pdf"))));
        QCOMPARE(
            ::mkfifo(QFile::encodeName(folder.path(QStringLiteral("Pipe.pdf"))).constData(), 0600),
            0);
        QFile outside(QFileInfo(root).absolutePath() + QStringLiteral("/outside.pdf"));
        QVERIFY(outside.open(QIODevice::WriteOnly));
        outside.close();
        const auto removeOutside = qScopeGuard([&] { outside.remove(); });

        line.replace(QStringLiteral("%F"), root);
        appendToQueue(folder, line);
        QProcess* launcher = startLauncher(folder, this);
        QVERIFY(launcher->waitForFinished(20000));
        const QString err = QString::fromUtf8(launcher->readAllStandardError());
        if (opened.isEmpty()) {
            QCOMPARE(openedDocuments(folder, 0), QStringList());
            QCOMPARE(launcher->exitCode(), 1);
            // The refusal names the line and why, on standard error and in the log.
            for (const QString& text : {err, logText(folder)})
                QVERIFY2(text.contains(u'"' + line + u'"') && text.contains(why), qPrintable(text));
        } else {
            QCOMPARE(openedDocuments(folder, 1),
                     QStringList{opened.replace(QStringLiteral("%F"), root)});
            QCOMPARE(launcher->exitCode(), 0);
        }
        QCOMPARE(QFile(readerQueuePath(folder.folder())).size(), 0);
    }

    void theOptionsChooseTheWay_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("readerExists");
        QTest::addColumn<QString>("program");
        QTest::newRow("search, reader found") << 0 << true << "reader";
        QTest::newRow("search, none found") << 0 << false << "xdg-open";
        QTest::newRow("desktop's program") << 1 << true << "xdg-open";
        QTest::newRow("entered program") << 2 << true << "reader";
        QTest::newRow("entered, not there") << 2 << false << "xdg-open";
    }
    void theOptionsChooseTheWay()
    {
        QFETCH(int, method);
        QFETCH(bool, readerExists);
        QFETCH(QString, program);
        TempProgramFolder folder;
        const QString reader = writeStandInReader(folder);
        const QString document = folder.path(QStringLiteral("Intro.pdf"));
        const openacrd::OpenCommand command = openacrd::openCommand(
            openacrd::openWay(method, readerExists ? reader : folder.path(QStringLiteral("none"))),
            document);
        QCOMPARE(command.program, program == u"reader" ? reader : program);
        // The document itself; the reader is told its options end before it.
        const QStringList expected = program == u"reader"
                                         ? QStringList{QStringLiteral("--"), document}
                                         : QStringList{document};
        QCOMPARE(command.arguments, expected);
    }
};

QTEST_GUILESS_MAIN(OpenAcRdTest)
#include "tst_openacrd.moc"

// OpenAcRd, the document launcher: the real program with a stand-in reader that records its
// arguments opens every queued document once and empties the queue, also while the program
// appends to the queue; and how the options choose the way documents open.

#include "ReaderLaunch.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "flyers/ReaderQueue.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace halcyra;
using halcyra::test::TempProgramFolder;

namespace {

// A reader that appends its arguments to "opened.txt" in the program folder.
QString writeStandInReader(const TempProgramFolder& folder)
{
    const QString script = folder.path(QStringLiteral("reader.sh"));
    folder.writeFile(
        QStringLiteral("reader.sh"),
        "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\" >> \"$(dirname \"$0\")/opened.txt\"; done\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    SettingsStore settings(folder.settingsFolder());
    settings.save(keys::flyersOption(), QStringLiteral("2"));
    settings.save(keys::readerPath(), script);
    return script;
}

QProcess* startLauncher(const TempProgramFolder& folder, QObject* parent)
{
    auto* process = new QProcess(parent);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HALCYRA_CONFIG_DIR"), folder.settingsFolder());
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(HALCYRA_OPENACRD_PATH),
                   {QStringLiteral("--folder"), folder.folder()});
    return process;
}

// The documents the stand-in reader was given, once every reader it started has finished, in
// name order: the readers run side by side, so they may record them in any order.
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
                 (QStringList{folder.path(QStringLiteral("Intro.pdf")),
                              folder.path(QStringLiteral("Purpose.pdf"))}));
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
            expected << folder.path(name);
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

    void theOptionsChooseTheWay_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("readerExists");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("argument");
        QTest::newRow("search, reader found") << 0 << true << "reader"
                                              << "document";
        QTest::newRow("search, none found") << 0 << false << "xdg-open"
                                            << "document";
        QTest::newRow("file manager") << 1 << true << "xdg-open"
                                      << "folder";
        QTest::newRow("entered program") << 2 << true << "reader"
                                         << "document";
        QTest::newRow("entered, not there") << 2 << false << "xdg-open"
                                            << "document";
    }
    void theOptionsChooseTheWay()
    {
        QFETCH(int, method);
        QFETCH(bool, readerExists);
        QFETCH(QString, program);
        QFETCH(QString, argument);
        TempProgramFolder folder;
        const QString reader = writeStandInReader(folder);
        const QString document = folder.path(QStringLiteral("Intro.pdf"));
        const openacrd::OpenCommand command = openacrd::openCommand(
            openacrd::openWay(method, readerExists ? reader : folder.path(QStringLiteral("none"))),
            document);
        QCOMPARE(command.program, program == u"reader" ? reader : program);
        const QString folderPath = QFileInfo(document).absolutePath();
        QCOMPARE(command.arguments, QStringList{argument == u"folder" ? folderPath : document});
    }
};

QTEST_GUILESS_MAIN(OpenAcRdTest)
#include "tst_openacrd.moc"

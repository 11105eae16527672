// Starting a desktop helper and telling whether it worked, with real programs: one that ends
// well, one that fails with its own words, one that keeps running, one that dies, none at all.

#include "ui/DesktopLaunch.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

class DesktopLaunchTest : public QObject
{
    Q_OBJECT
private slots:
    void verdict_data()
    {
        QTest::addColumn<QByteArray>("script"); // empty: no such program
        QTest::addColumn<bool>("started");
        QTest::addColumn<QString>("said");
        QTest::newRow("ends well") << QByteArray("exit 0") << true << QString();
        QTest::newRow("nothing set up")
            << QByteArray("echo 'no method available for opening it' >&2; exit 3") << false
            << u"the letter could not be opened: no program is set up on this computer for it "
               "(helper ended with status 3): \"no method available for opening it\". Print "
               "it instead."_s;
        QTest::newRow("keeps running") << QByteArray("sleep 5") << true << QString();
        QTest::newRow("dies") << QByteArray("kill -9 $$") << false
                              << u"helper stopped unexpectedly"_s;
        QTest::newRow("not installed") << QByteArray() << false << u"is not installed"_s;
    }

    void verdict()
    {
        QFETCH(QByteArray, script);
        QFETCH(bool, started);
        QFETCH(QString, said);
        QTemporaryDir dir;
        const QString program = dir.filePath(u"helper"_s);
        if (!script.isEmpty()) {
            QFile file(program);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n" + script + '\n');
            file.close();
            QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        QElapsedTimer clock;
        clock.start();
        const Status result =
            startDesktopHelper({program, {}, u"the letter"_s, u"Print it instead."_s, {}}, 800);
        // A helper still running is not waited for beyond the short while.
        QVERIFY(clock.elapsed() < 3000);
        QCOMPARE(result.ok(), started);
        if (!said.isEmpty())
            QVERIFY2(result.error().contains(said, Qt::CaseInsensitive),
                     qPrintable(result.error()));
    }
};

QTEST_MAIN(DesktopLaunchTest)
#include "tst_desktop_launch.moc"

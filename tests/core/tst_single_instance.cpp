#include "core/SingleInstance.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;

class SingleInstanceTest : public QObject
{
    Q_OBJECT
private slots:
    void oneCopyPerProgramFolder()
    {
        QTemporaryDir folder;
        QTemporaryDir otherFolder;
        auto first = std::make_unique<SingleInstance>(folder.path());
        QVERIFY(first->claim());
        QSignalSpy called(first.get(), &SingleInstance::activationRequested);

        // A second copy, with the folder spelt another way, does not run and calls the first.
        SingleInstance second(folder.path() + QStringLiteral("/./"));
        QVERIFY(!second.claim());
        QVERIFY(called.wait(2000));

        SingleInstance elsewhere(otherFolder.path());
        QVERIFY(elsewhere.claim());

        // Once the first copy has ended, the next start runs.
        first.reset();
        SingleInstance next(folder.path());
        QVERIFY(next.claim());
    }

    // A copy killed while it wrote its lock leaves the file without an owner's number: such a
    // file frees the folder once it is older than any write takes, and not before.
    void aLockWithoutItsOwnerIsTakenOver()
    {
        QTemporaryDir folder;
        QString lockPath;
        {
            SingleInstance first(folder.path());
            QVERIFY(first.claim());
            QDateTime newest;
            const QDir temp(QDir::tempPath());
            for (const QFileInfo& lock :
                 temp.entryInfoList({QStringLiteral("halcyra-*.lock")}, QDir::Files)) {
                if (lock.lastModified() > newest) {
                    newest = lock.lastModified();
                    lockPath = lock.filePath();
                }
            }
        }
        QVERIFY(!lockPath.isEmpty());
        QFile left(lockPath);
        QVERIFY(left.open(QIODevice::WriteOnly)); // empty, as the killed copy left it
        QVERIFY(!SingleInstance(folder.path()).claim());
        QVERIFY(left.setFileTime(QDateTime::currentDateTime().addSecs(-10),
                                 QFileDevice::FileModificationTime));
        left.close();
        {
            SingleInstance taken(folder.path());
            QVERIFY(taken.claim());
        }
        // An owner-less ".rmlock" beside a lock whose owner has gone would hold up its removal.
        QFile guard(lockPath + QStringLiteral(".rmlock"));
        QVERIFY(guard.open(QIODevice::WriteOnly));
        QVERIFY(guard.setFileTime(QDateTime::currentDateTime().addSecs(-10),
                                  QFileDevice::FileModificationTime));
        guard.close();
        {
            QFile gone(lockPath);
            QVERIFY(gone.open(QIODevice::WriteOnly));
            gone.write("999999999\nBuRest\n\n"); // an owner that has ended
        }
        SingleInstance next(folder.path());
        QVERIFY(next.claim());
        QVERIFY(!QFile::exists(guard.fileName()));
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_single_instance.moc"

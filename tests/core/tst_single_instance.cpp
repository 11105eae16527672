#include "core/SingleInstance.h"

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
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_single_instance.moc"

// Flyers: the ticked list items resolved to files in a program folder, the availability
// message, the reader queue with its owner-only files, and the reader path helpers.

#include "core/Catalogue.h"
#include "flyers/FlyerSelection.h"
#include "flyers/ReaderQueue.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QtTest>
#include <sys/stat.h>

using namespace halcyra;
using halcyra::test::TempProgramFolder;

namespace {

// A list item as the supplement guide ends it: blanks and the group id.
QString groupItem(const char* name, int group)
{
    return QString::fromLatin1(name).leftJustified(80) + QString::number(group);
}

QStringList names(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts)
        list << QString::fromLatin1(text);
    return list;
}

QStringList queueLines(const TempProgramFolder& folder)
{
    QFile queue(readerQueuePath(folder.folder()));
    if (!queue.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(queue.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class FlyersTest : public QObject
{
    Q_OBJECT

private:
    const Catalogue m_catalogue = Catalogue::builtIn();

private slots:
    void tickedItemsResolveToFiles_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("present"); // files written into the folder
        QTest::addColumn<QStringList>("queued");
        QTest::addColumn<QString>("message"); // empty: no message
        QTest::newRow("vitamin E present")
            << QStringList{groupItem("Vitamin E", 8809)} << names({"Vitamin-E.pdf"})
            << names({"Vitamin-E.pdf"}) << QString();
        QTest::newRow("two missing")
            << QStringList{groupItem("Garlic", 8813)} << QStringList() << QStringList()
            << "The Flyer/s for:\n\nGarlic.pdf\nGarlic-Spanish.pdf\n\naren't available yet.";
        QTest::newRow("one missing")
            << QStringList{groupItem("Zinc", 8815)} << names({"zinc.PDF"}) << names({"Zinc.pdf"})
            << "The Flyer for:\n\nZinc-Spanish.pdf\n\nisn't available yet.";
        QTest::newRow("shared file twice")
            << QStringList{groupItem("Stress Reliever", 8836),
                           groupItem("IMPORTANT NOTE ABOUT: Ginseng", 8842)}
            << names({"Stress-Reliever.pdf", "Stress-Talk-Sheet.pdf", "Adrenal-Talk-Sheet.pdf",
                      "Ginseng-Stress-Reliever-Note.pdf"})
            << names({"Stress-Reliever.pdf", "Stress-Talk-Sheet.pdf", "Adrenal-Talk-Sheet.pdf",
                      "Ginseng-Stress-Reliever-Note.pdf", "Ginseng-Stress-Reliever-Note.pdf"})
            << QString();
        QTest::newRow("other document, any case")
            << QStringList{QStringLiteral("Client Consultation Checklist").leftJustified(100) +
                           QStringLiteral("|CHKL")}
            << names({"chkl.PDF"}) << names({"CHKL.pdf"}) << QString();
    }
    void tickedItemsResolveToFiles()
    {
        QFETCH(QStringList, items);
        QFETCH(QStringList, present);
        QFETCH(QStringList, queued);
        QFETCH(QString, message);
        TempProgramFolder folder;
        for (const QString& file : present)
            folder.writeFile(file, "%PDF-1.4\n");
        MissingFlyers missing;
        QCOMPARE(resolveFlyers(m_catalogue, folder.folder(), items, missing), queued);
        QCOMPARE(flyerAvailabilityMessage(missing).value_or(QString()), message);
        QCOMPARE(missing.NoteMissingFlyer(QStringLiteral("Clear")), QString());
        QVERIFY(!flyerAvailabilityMessage(missing));
    }

    void queueRecordsInOrderOwnerOnly()
    {
        TempProgramFolder folder;
        folder.writeFile(QStringLiteral("P1.pdf"), "%PDF-1.4\n");
        const mode_t old = umask(0);
        const Status first = QueueFileForReader(folder.folder(), QStringLiteral("P1.PDF"));
        const Status second = QueueFileForReader(folder.folder(), QStringLiteral("Absent.pdf"));
        umask(old);
        QVERIFY2(first.ok() && second.ok(), qPrintable(first.error() + second.error()));
        QCOMPARE(queueLines(folder),
                 (QStringList{u'"' + folder.path(QStringLiteral("P1.pdf")) + u'"',
                              u'"' + folder.path(QStringLiteral("Absent.pdf")) + u'"'}));
        QCOMPARE(QFile::permissions(readerQueuePath(folder.folder())) & 0x0777, 0x0600);
        QCOMPARE(QFile::permissions(folder.path(QStringLiteral("Temp"))) & 0x0777, 0x0700);
        QVERIFY(FileOpensForReading(folder.folder(), QStringLiteral("p1.PDF")));
        QVERIFY(!FileOpensForReading(folder.folder(), QStringLiteral("Absent.pdf")));

        const Result<QStringList> taken = takeReaderQueue(folder.folder());
        QVERIFY(taken.ok());
        QCOMPARE(taken->size(), 2);
        QVERIFY(queueLines(folder).isEmpty());
    }

    void readerPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("verified");
        QTest::addColumn<QString>("version");
        QTest::newRow("sample") << "C:\\Program Files\\Adobe\\Acrobat 6.0\\Reader"
                                << "C:\\Program Files\\Adobe\\Acrobat 6.0\\Reader\\"
                                << "6";
        QTest::newRow("program named") << "C:\\Adobe\\Acrobat 5.0\\Reader\\ACRORD32.EXE"
                                       << "C:\\Adobe\\Acrobat 5.0\\Reader\\"
                                       << "5";
        QTest::newRow("odd characters") << "C:/Rea|der*?<>;"
                                        << "C:Reader\\"
                                        << "";
    }
    void readerPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, verified);
        QFETCH(QString, version);
        QCOMPARE(VerifyPath(path), verified);
        QCOMPARE(VersionNum(path), version);
    }
};

QTEST_GUILESS_MAIN(FlyersTest)
#include "tst_flyers.moc"

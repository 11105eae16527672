#include "core/Paths.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

class PathsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void addTrailingBackslash_data();
    void addTrailingBackslash();
    void databaseFolderFor_data();
    void databaseFolderFor();

private:
    QTemporaryDir m_home;
};

void PathsTest::initTestCase()
{
    // The installed folder lives under the home folder; point it somewhere harmless.
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
}

void PathsTest::addTrailingBackslash_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    const QString sep = QDir::separator();
    QTest::newRow("already ends") << u"/srv/halcyra"_s + sep << u"/srv/halcyra"_s + sep;
    QTest::newRow("appended") << u"/srv/halcyra"_s << u"/srv/halcyra"_s + sep;
    QTest::newRow("root stays") << sep << sep;
    QTest::newRow("empty") << QString() << sep;
    QTest::newRow("ends in blank") << u"/srv/my folder "_s << u"/srv/my folder "_s + sep;
}

void PathsTest::addTrailingBackslash()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QString variable = path;
    const QString result = AddTrailingBackslash(variable);
    QCOMPARE(result, expected);
    QCOMPARE(variable, expected); // written back into the caller's variable
    // A second pass changes nothing.
    QCOMPARE(AddTrailingBackslash(variable), expected);
}

void PathsTest::databaseFolderFor_data()
{
    QTest::addColumn<QString>("workingFolder");
    QTest::addColumn<bool>("installed");
    QTest::newRow("plain folder") << u"/home/x/clients"_s << false;
    QTest::newRow("plain folder with separator") << u"/home/x/clients/"_s << false;
    QTest::newRow("DevStudio") << u"/home/x/DevStudio/proj"_s << true;
    QTest::newRow("devSTUDIO") << u"/home/x/devSTUDIO/proj"_s << true;
    QTest::newRow("inside a name") << u"/home/x/MyDevStudioCopy"_s << true;
    QTest::newRow("at the end") << u"/opt/devstudio"_s << true;
    QTest::newRow("almost") << u"/home/x/DevStudi/o"_s << false;
}

void PathsTest::databaseFolderFor()
{
    QFETCH(QString, workingFolder);
    QFETCH(bool, installed);
    const QString expectedInstalled =
        QDir::toNativeSeparators(m_home.filePath(u"Halcyra"_s)) + QDir::separator();
    QCOMPARE(defaultInstallFolder(), expectedInstalled);

    const QString folder = halcyra::databaseFolderFor(workingFolder);
    if (installed) {
        QCOMPARE(folder, expectedInstalled);
    } else {
        QString expected = QDir::toNativeSeparators(workingFolder);
        QCOMPARE(folder, AddTrailingBackslash(expected));
    }
}

QTEST_GUILESS_MAIN(PathsTest)
#include "tst_paths.moc"

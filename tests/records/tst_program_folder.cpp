// Where the adviser's program folder is, and how a new or older one is made ready.

#include "core/Paths.h"
#include "core/Version.h"
#include "records/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace halcyra;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Sets an environment variable for one test and puts it back afterwards.
class ScopedVariable
{
public:
    ScopedVariable(const char* name, const QString& value)
        : m_name(name), m_old(qgetenv(name)), m_was(qEnvironmentVariableIsSet(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toUtf8());
    }
    ~ScopedVariable()
    {
        if (m_was)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    QByteArray m_old;
    bool m_was;
};

} // namespace

class ProgramFolderTest : public QObject
{
    Q_OBJECT

private slots:
    // Each place is taken when the ones before it do not apply.
    void foundInOrder_data()
    {
        QTest::addColumn<bool>("home");
        QTest::addColumn<bool>("workingHoldsDatabase");
        QTest::addColumn<bool>("earlierInstall");
        QTest::addColumn<bool>("dataHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("HALCYRA_HOME") << true << true << true << true << "chosen";
        QTest::newRow("started in place") << false << true << true << true << "working";
        QTest::newRow("earlier ~/Halcyra") << false << false << true << true << "home/Halcyra";
        QTest::newRow("XDG_DATA_HOME") << false << false << false << true << "data/Halcyra";
        QTest::newRow("~/.local/share")
            << false << false << false << false << "home/.local/share/Halcyra";
    }
    void foundInOrder()
    {
        QFETCH(bool, home);
        QFETCH(bool, workingHoldsDatabase);
        QFETCH(bool, earlierInstall);
        QFETCH(bool, dataHome);
        QFETCH(QString, expected);
        QTemporaryDir root;
        const QDir dir(root.path());
        if (workingHoldsDatabase)
            writeFile(dir.filePath(QStringLiteral("working/HCY300.db")), "db");
        if (earlierInstall)
            writeFile(dir.filePath(QStringLiteral("home/Halcyra/HCY300.db")), "db");
        QDir().mkpath(dir.filePath(QStringLiteral("working")));
        const ScopedVariable chosen("HALCYRA_HOME",
                                    home ? dir.filePath(QStringLiteral("chosen")) : QString());
        const ScopedVariable homeFolder("HOME", dir.filePath(QStringLiteral("home")));
        const ScopedVariable data("XDG_DATA_HOME",
                                  dataHome ? dir.filePath(QStringLiteral("data")) : QString());
        QCOMPARE(userProgramFolder(dir.filePath(QStringLiteral("working"))),
                 dir.filePath(expected));
    }

    // A new folder is made owner-only with the program data and an empty database.
    void newFolderIsMadeAndFilled()
    {
        QTemporaryDir root;
        const QDir dir(root.path());
        const QString data = dir.filePath(QStringLiteral("share"));
        writeFile(data + QStringLiteral("/References.pdf"), "%PDF references");
        writeFile(data + QStringLiteral("/Help/contexts.txt"), "1 index.html");
        writeFile(data + QStringLiteral("/WebURL.txt"), "https://example.org/");
        const QString folder = dir.filePath(QStringLiteral("user/Halcyra"));

        QVERIFY(prepareProgramFolder(folder, data));
        QCOMPARE(QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::ReadOther),
                 QFile::Permissions());
        QCOMPARE(readFile(folder + QStringLiteral("/References.pdf")), "%PDF references");
        QCOMPARE(readFile(folder + QStringLiteral("/Help/contexts.txt")), "1 index.html");
        QVERIFY(QFileInfo(folder + QStringLiteral("/HCY300.db")).size() > 0);
        QCOMPARE(QFileInfo(folder + QStringLiteral("/References.pdf")).permissions() &
                     (QFile::ReadGroup | QFile::ReadOther),
                 QFile::Permissions());
    }

    // Later starts put back what is missing; another version's files replace the older ones,
    // but not the links and tips the adviser may have edited, nor the database.
    void laterStartsKeepTheAdvisersFiles_data()
    {
        QTest::addColumn<bool>("otherVersion");
        QTest::addColumn<QByteArray>("document");
        QTest::newRow("same version") << false << QByteArray("%PDF old");
        QTest::newRow("other version") << true << QByteArray("%PDF new");
    }
    void laterStartsKeepTheAdvisersFiles()
    {
        QFETCH(bool, otherVersion);
        QFETCH(QByteArray, document);
        QTemporaryDir root;
        const QDir dir(root.path());
        const QString data = dir.filePath(QStringLiteral("share"));
        writeFile(data + QStringLiteral("/P1.pdf"), "%PDF old");
        writeFile(data + QStringLiteral("/NSG.pdf"), "%PDF sheet");
        writeFile(data + QStringLiteral("/WebURL.txt"), "https://example.org/");
        const QString folder = dir.filePath(QStringLiteral("Halcyra"));
        QVERIFY(prepareProgramFolder(folder, data));

        writeFile(folder + QStringLiteral("/HCY300.db"), "the adviser's clients");
        writeFile(folder + QStringLiteral("/WebURL.txt"), "https://my.example/");
        QVERIFY(QFile::remove(folder + QStringLiteral("/NSG.pdf")));
        writeFile(data + QStringLiteral("/P1.pdf"), "%PDF new");
        writeFile(data + QStringLiteral("/WebURL.txt"), "https://example.org/new");
        if (otherVersion)
            writeFile(folder + QStringLiteral("/.program-data-version"), "6.3.0");

        QVERIFY(prepareProgramFolder(folder, data));
        QCOMPARE(readFile(folder + QStringLiteral("/P1.pdf")), document);
        QCOMPARE(readFile(folder + QStringLiteral("/NSG.pdf")), "%PDF sheet");
        QCOMPARE(readFile(folder + QStringLiteral("/WebURL.txt")), "https://my.example/");
        QCOMPARE(readFile(folder + QStringLiteral("/HCY300.db")), "the adviser's clients");
        QCOMPARE(readFile(folder + QStringLiteral("/.program-data-version")),
                 versionNumber().toUtf8());
    }

    // A folder in use that has lost its database gets no empty one in its place; a folder that
    // cannot be made is told.
    void lostDatabaseAndUnwritableFolder()
    {
        QTemporaryDir root;
        const QDir dir(root.path());
        const QString folder = dir.filePath(QStringLiteral("Halcyra"));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/Backups")));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ExeOwner | QFile::ReadGroup |
                                                  QFile::ExeGroup | QFile::ReadOther));
        QVERIFY(prepareProgramFolder(folder, {}));
        QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/HCY300.db")));
        // An earlier install left it open to others: it is closed now.
        QCOMPARE(QFileInfo(folder).permissions() &
                     (QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther),
                 QFile::Permissions());

        writeFile(dir.filePath(QStringLiteral("file")), "not a folder");
        const Status refused =
            prepareProgramFolder(dir.filePath(QStringLiteral("file/Halcyra")), {});
        QVERIFY(!refused);
        QVERIFY2(!refused.error().isEmpty(), qPrintable(refused.error()));
    }
};

QTEST_GUILESS_MAIN(ProgramFolderTest)
#include "tst_program_folder.moc"

#include "core/IniText.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "support/ScratchMount.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;
using halcyra::test::ScratchMount;
using namespace Qt::StringLiterals;

class SettingsTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void filesReadAsQSettingsReadsThem_data();
    void filesReadAsQSettingsReadsThem();
    void rewritesWithinAMillisecondReadBack();
    void absentKeyGivesDefault();
    void applicationsAndSectionsAreSeparate();
    void eachApplicationIsItsOwnFile();
    void flagReadsNumbersAndWords_data();
    void flagReadsNumbersAndWords();
    void saveFlagStoresTrueAndFalse();
    void secondStoreSeesWhatTheFirstSaved();
    void deleteSettingRestoresDefault();
    void storeMakesItsFolder();
    void aFailedWriteIsToldOnceAndTheSessionGoesOn_data();
    void aFailedWriteIsToldOnceAndTheSessionGoesOn();
    void aFullDiskLeavesTheFileWhole();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void SettingsTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void SettingsTest::valuesRoundTrip_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << u"Database"_s << u"DBPath"_s << u"/home/ida/Halcyra/"_s;
    QTest::newRow("key with blanks") << u"Options"_s << u"Show Tips at Startup"_s << u"0"_s;
    QTest::newRow("key with slash") << u"Options"_s << u"Backup/Restore"_s << u"1"_s;
    QTest::newRow("message title")
        << u"Options"_s << u"Email Questionnaire Compatibility"_s << u"1"_s;
    QTest::newRow("section with blank") << u"Call Programs"_s << u"Acrobat Reader"_s
                                        << u"C:\\Program Files\\Reader\\AcroRd32.exe"_s;
    QTest::newRow("value with equals and semicolon")
        << u"Options"_s << u"Web"_s << u"http://x.example/?a=1;b=2"_s;
    QTest::newRow("value with blanks round") << u"Options"_s << u"Note"_s << u"  two  "_s;
    QTest::newRow("empty value") << u"Options"_s << u"Empty"_s << QString();
    QTest::newRow("non-ASCII") << u"Settings"_s << u"Name"_s << u"Zoë Müller"_s;
    QTest::newRow("comma") << u"Options"_s << u"Sender"_s << u"Smith, Ann"_s;
    QTest::newRow("quotes and backslashes")
        << u"Options"_s << u"Path"_s << u"\"C:\\x\" \\\\server\\"_s;
    QTest::newRow("line break and tab") << u"Options"_s << u"Lines"_s << u"one\ntwo\tthree\r"_s;
    QTest::newRow("leading at sign") << u"Options"_s << u"Mail"_s << u"@Variant(x)"_s;
    QTest::newRow("control character before a hex digit") << u"Options"_s << u"Odd"_s
                                                          << u"a\x01"
                                                             "1f"_s;
    QTest::newRow("non-Latin key and value") << u"Réglages"_s << u"名前"_s << u"日本語"_s;
    QTest::newRow("section called General") << u"General"_s << u"Key"_s << u"v"_s;
}

void SettingsTest::valuesRoundTrip()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);

    {
        SettingsStore store(m_dir->path());
        store.setValue(u"HCY"_s, section, key, value);
        QCOMPARE(store.value(u"HCY"_s, section, key, u"absent"_s), value);
        QVERIFY(store.contains(u"HCY"_s, section, key));
    }
    // Read back from the file by a store that never saw the value.
    SettingsStore reread(m_dir->path());
    QCOMPARE(reread.value(u"HCY"_s, section, key, u"absent"_s), value);

    // A file written by QSettings itself (as earlier versions wrote them) reads the same.
    const QString byQt = m_dir->filePath(u"byQt.ini"_s);
    {
        QSettings qt(byQt, QSettings::IniFormat);
        qt.setValue(section + u'/' + key, value);
    }
    QFile file(byQt);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const IniValues read = readIniText(file.readAll());
    QVERIFY(!read.damaged);
    QCOMPARE(read.values.size(), std::size_t(1));
    QCOMPARE(read.values.begin()->first, section + u'/' + key);
    QCOMPARE(read.values.begin()->second.toString(), value);
}

void SettingsTest::filesReadAsQSettingsReadsThem_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<bool>("qtDamaged"); // QSettings takes a byte order mark for a broken line
    QTest::newRow("unquoted with blanks round")
        << QByteArray("[Options]\n  Note =  two words  \nTab=\tx\t\n") << false << false;
    QTest::newRow("comments and blank lines")
        << QByteArray("; a comment\n\n[A]\nk=v ; trailing comment\nq=\"in ; quotes\"\n") << false
        << false;
    QTest::newRow("lists") << QByteArray("[L]\na=x, y ,z\nb=\"one\", \nc=,\n") << false << false;
    QTest::newRow("type marks") << QByteArray(
                                       "[T]\na=@@at\nb=@Invalid()\nc=@String(s)\nd=@ByteArray(b)\n")
                                << false << false;
    QTest::newRow("General sections")
        << QByteArray("top=1\n[general]\nalso=2\n[%General]\nown=3\n") << false << false;
    QTest::newRow("escapes") << QByteArray("[E]\nh=\\x41\\x4a!\no=\\101\\7\nn=a\\qb\\\\\n") << false
                             << false;
    QTest::newRow("line carried on")
        << QByteArray("[C]\nk=one \\\n two\nm=\"a\nb\"\n") << false << false;
    QTest::newRow("CRLF and BOM") << QByteArray("\xef\xbb\xbf[W]\r\nk=v\r\nj=\"w\"\r\n") << false
                                  << true;
    QTest::newRow("escaped names")
        << QByteArray("[Call%20Programs]\nA%U65E5b=1\nBackup\\Restore=2\n%zz=3\n") << false
        << false;
    QTest::newRow("same key twice")
        << QByteArray("[D]\nk=first\n[D]\nk=second\n") << false << false;
    QTest::newRow("non-ASCII") << QByteArray("[S]\nName=Zo\xc3\xab, M\xc3\xbcller\n") << false
                               << false;
    QTest::newRow("no closing bracket") << QByteArray("[Open\nk=v\n") << true << true;
    QTest::newRow("no equals sign") << QByteArray("[A]\njust words\nk=v\n") << true << true;
}

void SettingsTest::filesReadAsQSettingsReadsThem()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, damaged);
    QFETCH(bool, qtDamaged);
    // A file name of its own per row, so QSettings cannot answer from an earlier reading.
    const QString path = m_dir->filePath(QString::fromLatin1(QTest::currentDataTag()) + u".ini"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();

    const QSettings qt(path, QSettings::IniFormat);
    const IniValues read = readIniText(text);
    QStringList ours;
    for (const auto& [key, value] : read.values) {
        if (value.isValid())
            ours << key;
    }
    QStringList theirs;
    for (const QString& key : qt.allKeys()) {
        if (qt.value(key).isValid())
            theirs << key;
    }
    theirs.sort();
    QCOMPARE(ours, theirs);
    for (const QString& key : theirs) {
        const QVariant expected = qt.value(key);
        const QVariant got = read.values.at(key);
        const bool list = expected.typeId() == QMetaType::QStringList;
        QCOMPARE(got.typeId() == QMetaType::QStringList, list);
        if (list)
            QCOMPARE(got.toStringList(), expected.toStringList());
        else
            QCOMPARE(got.toString(), expected.toString());
    }
    QCOMPARE(read.damaged, damaged);
    QCOMPARE(qt.status() == QSettings::FormatError, qtDamaged);
}

void SettingsTest::rewritesWithinAMillisecondReadBack()
{
    // Values of the same length written in quick turns: each must read back at once, by this
    // store and by another one in the same program.
    SettingsStore store(m_dir->path());
    for (int i = 0; i < 200; ++i) {
        const QString value = i % 2 ? u"1"_s : u"0"_s;
        store.setValue(u"HCY"_s, u"Options"_s, u"Empty Field"_s, value);
        store.setValue(u"HCY"_s, u"Options"_s, u"Tutorial"_s, value);
        SettingsStore other(m_dir->path());
        QCOMPARE(other.value(u"HCY"_s, u"Options"_s, u"Empty Field"_s), value);
        QCOMPARE(store.value(u"HCY"_s, u"Options"_s, u"Tutorial"_s), value);
    }
}

void SettingsTest::absentKeyGivesDefault()
{
    SettingsStore store(m_dir->path());
    QCOMPARE(store.value(u"HCY"_s, u"Options"_s, u"Tutorial"_s, u"1"_s), u"1"_s);
    QCOMPARE(store.value(u"HCY"_s, u"Options"_s, u"Tutorial"_s), QString());
    QVERIFY(!store.contains(u"HCY"_s, u"Options"_s, u"Tutorial"_s));
    QCOMPARE(store.get(keys::tutorial()), u"1"_s);
    QCOMPARE(store.get(keys::showTipsAtStartup()), u"1"_s);
}

void SettingsTest::applicationsAndSectionsAreSeparate()
{
    SettingsStore store(m_dir->path());
    store.setValue(u"HCY"_s, u"Options"_s, u"Web"_s, u"exe"_s);
    store.setValue(u"Halcyra 6.3"_s, u"Options"_s, u"Web"_s, u"title"_s);
    store.setValue(u"HCY"_s, u"Settings"_s, u"Web"_s, u"other section"_s);

    QCOMPARE(store.value(u"HCY"_s, u"Options"_s, u"Web"_s), u"exe"_s);
    QCOMPARE(store.value(u"Halcyra 6.3"_s, u"Options"_s, u"Web"_s), u"title"_s);
    QCOMPARE(store.value(u"HCY"_s, u"Settings"_s, u"Web"_s), u"other section"_s);
    // The program's own key helpers point at the two application names.
    QCOMPARE(store.get(keys::webAddress()), u"title"_s);
    QCOMPARE(keys::tutorial().application, u"HCY"_s);
    QCOMPARE(keys::showTipsAtStartup().application, u"Halcyra 6.3"_s);
}

void SettingsTest::eachApplicationIsItsOwnFile()
{
    SettingsStore store(m_dir->path());
    store.setValue(u"HCY"_s, u"Options"_s, u"Tutorial"_s, u"True"_s);
    store.setValue(u"Halcyra 6.3"_s, u"Options"_s, u"Show Tips at Startup"_s, u"0"_s);

    const QStringList files = QDir(m_dir->path()).entryList(QDir::Files, QDir::Name);
    QCOMPARE(files.size(), 2);
    QVERIFY(QFile::remove(QDir(m_dir->path()).filePath(files.first())));
    // With one file gone, only that application's values are lost.
    SettingsStore reread(m_dir->path());
    const bool exeLost = !reread.contains(u"HCY"_s, u"Options"_s, u"Tutorial"_s);
    const bool titleLost =
        !reread.contains(u"Halcyra 6.3"_s, u"Options"_s, u"Show Tips at Startup"_s);
    QVERIFY(exeLost != titleLost);
}

void SettingsTest::flagReadsNumbersAndWords_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("expected");
    QTest::newRow("1") << u"1"_s << true;
    QTest::newRow("0") << u"0"_s << false;
    QTest::newRow("-1") << u"-1"_s << true;
    QTest::newRow("True") << u"True"_s << true;
    QTest::newRow("False") << u"False"_s << false;
    QTest::newRow("false") << u"false"_s << false;
}

void SettingsTest::flagReadsNumbersAndWords()
{
    QFETCH(QString, stored);
    QFETCH(bool, expected);
    SettingsStore store(m_dir->path());
    store.save(keys::showTipsAtStartup(), stored);
    QCOMPARE(store.flag(keys::showTipsAtStartup()), expected);
    store.save(keys::fieldHelpHidden(), stored);
    QCOMPARE(store.flag(keys::fieldHelpHidden()), expected);
}

void SettingsTest::saveFlagStoresTrueAndFalse()
{
    SettingsStore store(m_dir->path());
    // Absent keys read as their defaults: tips on ("1"), field help not hidden ("False").
    QCOMPARE(store.flag(keys::showTipsAtStartup()), true);
    QCOMPARE(store.flag(keys::fieldHelpHidden()), false);
    // A stored text that is no flag at all falls back to the default.
    store.save(keys::showTipsAtStartup(), u"perhaps"_s);
    QCOMPARE(store.flag(keys::showTipsAtStartup()), true);

    store.saveFlag(keys::fieldHelpHidden(), true);
    QCOMPARE(store.value(u"HCY"_s, u"Options"_s, u"F1 Help"_s), u"True"_s);
    store.saveFlag(keys::fieldHelpHidden(), false);
    QCOMPARE(store.value(u"HCY"_s, u"Options"_s, u"F1 Help"_s), u"False"_s);
}

void SettingsTest::secondStoreSeesWhatTheFirstSaved()
{
    SettingsStore first(m_dir->path());
    SettingsStore second(m_dir->path());
    // The second store has read the file before the first one writes.
    QCOMPARE(second.value(u"HCY"_s, u"Database"_s, u"DBPath"_s, u"none"_s), u"none"_s);
    first.setValue(u"HCY"_s, u"Database"_s, u"DBPath"_s, u"/data/"_s);
    QCOMPARE(second.value(u"HCY"_s, u"Database"_s, u"DBPath"_s, u"none"_s), u"/data/"_s);

    // Written at once: the file on disk already holds it, without the store being destroyed.
    QFile file(QDir(m_dir->path()).filePath(u"HCY.ini"_s));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("/data/"));
}

void SettingsTest::deleteSettingRestoresDefault()
{
    SettingsStore store(m_dir->path());
    store.setValue(u"HCY"_s, u"CallPrograms"_s, u"Acrobat Reader"_s, u"/usr/bin/reader"_s);
    store.setValue(u"HCY"_s, u"CallPrograms"_s, u"Other"_s, u"kept"_s);
    store.remove(u"HCY"_s, u"CallPrograms"_s, u"Acrobat Reader"_s);
    QCOMPARE(store.value(u"HCY"_s, u"CallPrograms"_s, u"Acrobat Reader"_s, u"d"_s), u"d"_s);
    QCOMPARE(store.value(u"HCY"_s, u"CallPrograms"_s, u"Other"_s), u"kept"_s);
    SettingsStore reread(m_dir->path());
    QVERIFY(!reread.contains(u"HCY"_s, u"CallPrograms"_s, u"Acrobat Reader"_s));
}

void SettingsTest::storeMakesItsFolder()
{
    const QString folder = m_dir->filePath(u"not/yet/there"_s);
    SettingsStore store(folder);
    store.setValue(u"HCY"_s, u"Options"_s, u"Tutorial"_s, u"0"_s);
    SettingsStore reread(folder);
    QCOMPARE(reread.value(u"HCY"_s, u"Options"_s, u"Tutorial"_s), u"0"_s);
}

void SettingsTest::aFailedWriteIsToldOnceAndTheSessionGoesOn_data()
{
    // File permissions do not stop root, so the failures are made of things in the way.
    QTest::addColumn<QString>("blocker");
    QTest::addColumn<QString>("reasonStart");
    QTest::newRow("the folder cannot be made") << u"folder"_s << u"The settings folder"_s;
    QTest::newRow("the file cannot be written") << u"file"_s << u"The settings file"_s;
}

void SettingsTest::aFailedWriteIsToldOnceAndTheSessionGoesOn()
{
    QFETCH(QString, blocker);
    QFETCH(QString, reasonStart);
    const QString folder = m_dir->filePath(u"Halcyra"_s);
    if (blocker == u"folder") {
        QFile file(folder); // a plain file where the folder should be
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else {
        QVERIFY(QDir().mkpath(folder + u"/HCY.ini"_s)); // a folder where the file should be
    }
    SettingsStore store(folder);
    QStringList told;
    store.setWriteFailureHandler([&](const QString& reason) { told << reason; });
    store.setValue(u"HCY"_s, u"Options"_s, u"Tutorial"_s, u"-1"_s);
    store.setValue(u"HCY"_s, u"Options"_s, u"F1 Help"_s, u"False"_s);
    store.remove(u"HCY"_s, u"Options"_s, u"F1 Help"_s);
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().startsWith(reasonStart), qPrintable(told.first()));
    QCOMPARE(store.value(u"HCY"_s, u"Options"_s, u"Tutorial"_s), u"-1"_s);
}

void SettingsTest::aFullDiskLeavesTheFileWhole()
{
    ScratchMount disk(256 << 10);
    SKIP_UNLESS_MOUNTED(disk);
    const QString folder = disk.filePath(u"Halcyra"_s);
    {
        SettingsStore first(folder);
        first.setValue(u"HCY"_s, u"Options"_s, u"Tutorial"_s, u"1"_s);
        first.setValue(u"HCY"_s, u"Database"_s, u"DBPath"_s, u"/home/ida/Halcyra/"_s);
    }
    QFile ini(folder + u"/HCY.ini"_s);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray before = ini.readAll();
    ini.close();
    QVERIFY(disk.fill(0));

    SettingsStore store(folder);
    QStringList told;
    store.setWriteFailureHandler([&](const QString& reason) { told << reason; });
    store.setValue(u"HCY"_s, u"Options"_s, u"Tutorial"_s, u"-1"_s);
    store.setValue(u"HCY"_s, u"Options"_s, u"Tips"_s, u"0"_s);
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().contains(u"No space left on device"), qPrintable(told.first()));
    QCOMPARE(store.value(u"HCY"_s, u"Options"_s, u"Tutorial"_s), u"-1"_s);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), before);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"HCY.ini"_s});
}

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"

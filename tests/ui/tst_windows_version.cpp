#include "ui/WindowsVersion.h"

#include <QTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

class WindowsVersionTest : public QObject
{
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void runningSystemHasAName();
};

void WindowsVersionTest::names_data()
{
    QTest::addColumn<unsigned>("platform");
    QTest::addColumn<unsigned>("major");
    QTest::addColumn<unsigned>("minor");
    QTest::addColumn<QString>("name");

    QTest::newRow("95") << 1u << 4u << 0u << u"Windows 95"_s;
    QTest::newRow("98") << 1u << 4u << 10u << u"Windows 98"_s;
    QTest::newRow("Me") << 1u << 4u << 90u << u"Windows Mellinnium"_s;
    QTest::newRow("platform 1, any major") << 1u << 7u << 10u << u"Windows 98"_s;
    QTest::newRow("NT 3.51") << 2u << 3u << 51u << u"Windows NT 3.51"_s;
    QTest::newRow("NT 3, minor 0") << 2u << 3u << 0u << u"Windows NT 3.51"_s;
    QTest::newRow("NT 4.0") << 2u << 4u << 0u << u"Windows NT 4.0"_s;
    QTest::newRow("2000") << 2u << 5u << 0u << u"Windows 2000"_s;
    QTest::newRow("XP") << 2u << 5u << 1u << u"Windows XP"_s;
    QTest::newRow("XP x64") << 2u << 5u << 2u << u"Windows XP"_s;
    QTest::newRow("Vista and later")
        << 2u << 6u << 1u
        << u"Failed. - .dwPlatformId = 2: .dwMajorVersion = 6: .dwMinorVersion = 1"_s;
    QTest::newRow("platform 1, unknown minor")
        << 1u << 4u << 5u
        << u"Failed. - .dwPlatformId = 1: .dwMajorVersion = 4: .dwMinorVersion = 5"_s;
    QTest::newRow("Win32s")
        << 0u << 3u << 10u
        << u"Failed. - .dwPlatformId = 0: .dwMajorVersion = 3: .dwMinorVersion = 10"_s;
    QTest::newRow("NT 10")
        << 2u << 10u << 0u
        << u"Failed. - .dwPlatformId = 2: .dwMajorVersion = 10: .dwMinorVersion = 0"_s;
}

void WindowsVersionTest::names()
{
    QFETCH(unsigned, platform);
    QFETCH(unsigned, major);
    QFETCH(unsigned, minor);
    QFETCH(QString, name);
    QCOMPARE(windowsVersionName(platform, major, minor), name);
}

void WindowsVersionTest::runningSystemHasAName()
{
    QVERIFY(!GetWindowsVersionName().trimmed().isEmpty());
}

QTEST_GUILESS_MAIN(WindowsVersionTest)
#include "tst_windows_version.moc"

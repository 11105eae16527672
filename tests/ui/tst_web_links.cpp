#include "ui/WebLinks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

class WebLinksTest : public QObject
{
    Q_OBJECT
private slots:
    void readWebUrl_data();
    void readWebUrl();
    void addressesOfTheEntries();
    void eachAddressListedOnce_data();
    void eachAddressListedOnce();
    void browserChoice_data();
    void browserChoice();
};

void WebLinksTest::readWebUrl_data()
{
    QTest::addColumn<QString>("fileName"); // empty: no file
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("expected"); // the address, or a part of the message
    QTest::addColumn<bool>("found");

    const QByteArray four = "https://one.example/\r\n  https://two.example \r\n"
                            "https://three.example\nhttps://four.example";
    QTest::newRow("first line") << u"WebURL.txt"_s << four << 1 << u"https://one.example/"_s
                                << true;
    QTest::newRow("spaces and CR LF cut off")
        << u"WebURL.txt"_s << four << 2 << u"https://two.example"_s << true;
    QTest::newRow("last line without line break")
        << u"WebURL.txt"_s << four << 4 << u"https://four.example"_s << true;
    QTest::newRow("name in another letter case")
        << u"weburl.TXT"_s << four << 3 << u"https://three.example"_s << true;
    QTest::newRow("no file") << QString() << QByteArray() << 1 << u"could not be read"_s << false;
    QTest::newRow("fewer lines") << u"WebURL.txt"_s << QByteArray("https://one.example\n") << 3
                                 << u"holds 1 lines, so it has no address for link 3"_s << false;
    QTest::newRow("empty file") << u"WebURL.txt"_s << QByteArray() << 1 << u"holds 0 lines"_s
                                << false;
    QTest::newRow("empty line") << u"WebURL.txt"_s << QByteArray("a\n   \nc\n") << 2
                                << u"Line 2 of the list"_s << false;
    QTest::newRow("no link 0") << u"WebURL.txt"_s << four << 0 << u"no web link 0"_s << false;
}

void WebLinksTest::readWebUrl()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(int, line);
    QFETCH(QString, expected);
    QFETCH(bool, found);

    QTemporaryDir folder;
    if (!fileName.isEmpty()) {
        QFile file(folder.filePath(fileName));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const Result<QString> address = ReadWebURL(folder.path() + QDir::separator(), line);
    QCOMPARE(address.ok(), found);
    if (found)
        QCOMPARE(*address, expected);
    else
        QVERIFY2(address.error().contains(expected), qPrintable(address.error()));
}

void WebLinksTest::addressesOfTheEntries()
{
    QTemporaryDir folder;
    QFile file(folder.filePath(webLinkFileName()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("https://l1.example\nhttps://l2.example\nhttps://l3.example\nhttps://l4.example\n");
    file.close();
    WebLinkSources sources{folder.path() + QDir::separator(), u"https://program.example"_s,
                           u" https://mine.example "_s};
    const QList<std::pair<WebLink, QString>> expected = {
        {WebLink::HCY, u"https://program.example"_s}, {WebLink::My, u"https://mine.example"_s},
        {WebLink::Health, u"https://l1.example"_s},   {WebLink::Board, u"https://l2.example"_s},
        {WebLink::Kiv, u"https://l3.example"_s},      {WebLink::Tessaly, u"https://l4.example"_s},
    };
    for (const auto& [link, address] : expected)
        QCOMPARE(webLinkAddress(link, sources).value(), address);

    // An adviser who stored no address of their own, or only the scheme, has no page to open.
    for (const QString& own : {QString(), u"http://"_s}) {
        sources.ownAddress = own;
        QVERIFY(webLinkAddress(WebLink::My, sources).error().contains(u"Company Info"_s));
    }
}

void WebLinksTest::eachAddressListedOnce_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("index");
    QTest::newRow("the same text") << u"https://www.nutrition.gov/"_s << 0;
    QTest::newRow("without the closing slash") << u"https://www.nutrition.gov"_s << 0;
    QTest::newRow("host in capitals") << u"https://WWW.Nutrition.GOV/"_s << 0;
    QTest::newRow("without the scheme") << u"fdc.nal.usda.gov"_s << 1;
    QTest::newRow("another page of the site") << u"https://www.nutrition.gov/topics"_s << -1;
    QTest::newRow("path in capitals is another page") << u"http://fdc.nal.usda.gov/FOOD"_s << -1;
}

void WebLinksTest::eachAddressListedOnce()
{
    QFETCH(QString, address);
    QFETCH(int, index);
    const QStringList list = {u"https://www.nutrition.gov/"_s, u"http://fdc.nal.usda.gov/"_s};
    QCOMPARE(findAddress(list, address), qsizetype(index));
}

void WebLinksTest::browserChoice_data()
{
    QTest::addColumn<bool>("builtIn");
    QTest::addColumn<bool>("root");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("embedded");
    QTest::newRow("user") << true << false << QString() << QString() << true;
    QTest::newRow("no engine in the build") << false << false << QString() << QString() << false;
    QTest::newRow("root, sandbox on") << true << true << QString() << QString() << false;
    QTest::newRow("root, sandbox switched off")
        << true << true << u"QTWEBENGINE_DISABLE_SANDBOX"_s << u"1"_s << true;
    QTest::newRow("root, engine flag") << true << true << u"QTWEBENGINE_CHROMIUM_FLAGS"_s
                                       << u"--disable-gpu --no-sandbox"_s << true;
    QTest::newRow("root, other engine flags")
        << true << true << u"QTWEBENGINE_CHROMIUM_FLAGS"_s << u"--no-sandboxes"_s << false;
}

void WebLinksTest::browserChoice()
{
    QFETCH(bool, builtIn);
    QFETCH(bool, root);
    QFETCH(QString, variable);
    QFETCH(QString, value);
    QFETCH(bool, embedded);
    QProcessEnvironment environment;
    if (!variable.isEmpty())
        environment.insert(variable, value);
    QCOMPARE(chooseBrowser(builtIn, root, environment) == BrowserChoice::Embedded, embedded);
}

QTEST_GUILESS_MAIN(WebLinksTest)
#include "tst_web_links.moc"

#include "ui/HelpTopics.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

namespace {

void write(const QString& folder, const QString& name, const QByteArray& content)
{
    QDir(folder).mkpath(QFileInfo(name).path());
    QFile file(QDir(folder).filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// A small help: the contents, one page with sections, one page reached only by a link.
void writeHelp(const QString& folder)
{
    write(folder, u"contexts.txt"_s,
          "# number page\n\n1 index.html   # contents\n111 client.html#name\n"
          "114 client.html#measures\n7 gone.html\n");
    write(folder, u"index.html"_s,
          "<html><head><title>Contents</title></head><body>"
          "<a href=\"client.html\">Client</a> <a href='extra.html'>More</a></body></html>");
    write(folder, u"client.html"_s,
          "<html><head><title>Client &amp; visit</title><style>p { cholesterol: 1 }</style>"
          "</head><body><h2 id=\"name\">Name <em>boxes</em></h2><p>Last and first name.</p>"
          "<!-- cholesterol --><h2 id=\"measures\">Measures</h2>"
          "<p>Total cholesterol, HDL&nbsp;and LDL. Cholesterol again.</p></body></html>");
    write(folder, u"extra.html"_s,
          "<html><head><title>Cholesterol explained</title></head><body>"
          "<p class=\"visit\">Only the cholesterol.</p></body></html>");
}

} // namespace

class HelpTopicsTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void contextsResolveToPages_data();
    void contextsResolveToPages();
    void badLinesOfTheContextsAreNamed();
    void helpThatIsNotThereFailsToLoad();
    void contentsFollowTheContexts();
    void searchFindsPagesWithEveryWord_data();
    void searchFindsPagesWithEveryWord();
    void linksThatLeadNowhereAreFound_data();
    void linksThatLeadNowhereAreFound();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_help;
};

void HelpTopicsTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_help = helpFolderFor(m_dir->path());
    writeHelp(m_help);
}

void HelpTopicsTest::contextsResolveToPages_data()
{
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("page");  // with the anchor; empty when it fails
    QTest::addColumn<QString>("error"); // part of the failure text
    QTest::newRow("contents") << 1 << u"index.html"_s << QString();
    QTest::newRow("section") << 114 << u"client.html#measures"_s << QString();
    QTest::newRow("no such number") << 999 << QString() << u"no help topic for context 999"_s;
    QTest::newRow("page missing") << 7 << QString() << u"no file gone.html"_s;
}

void HelpTopicsTest::contextsResolveToPages()
{
    QFETCH(int, context);
    QFETCH(QString, page);
    QFETCH(QString, error);
    const Result<HelpTopics> topics = HelpTopics::load(m_help);
    QVERIFY2(topics.ok(), qPrintable(topics.error()));
    const Result<QUrl> url = topics->topicUrl(context);
    if (page.isEmpty()) {
        QVERIFY(!url.ok());
        QVERIFY2(url.error().contains(error), qPrintable(url.error()));
        return;
    }
    QVERIFY2(url.ok(), qPrintable(url.error()));
    QCOMPARE(QDir(m_help).relativeFilePath(url->toLocalFile()) +
                 (url->hasFragment() ? u"#"_s + url->fragment() : QString()),
             page);
}

void HelpTopicsTest::badLinesOfTheContextsAreNamed()
{
    write(m_help, u"contexts.txt"_s,
          "1 index.html\nx index.html\n2\n1 client.html\n3 client.html extra\n"
          "4 #name\n5 client.html # fine\n");
    const Result<HelpTopics> topics = HelpTopics::load(m_help);
    QVERIFY(topics.ok());
    QCOMPARE(topics->problems(),
             (QStringList{u"line 2: no context number"_s, u"line 3: no page"_s,
                          u"line 4: context 1 given twice"_s,
                          u"line 5: more than a number and a page"_s, u"line 6: no page"_s}));
    QCOMPARE(topics->contexts(), (QList<int>{1, 5}));
    QCOMPARE(topics->target(1), u"index.html"_s);
}

void HelpTopicsTest::helpThatIsNotThereFailsToLoad()
{
    QVERIFY(!HelpTopics::load(m_dir->filePath(u"Nowhere"_s)).ok());
    QVERIFY(QFile::remove(QDir(m_help).filePath(u"contexts.txt"_s)));
    QVERIFY(!HelpTopics::load(m_help).ok());
}

void HelpTopicsTest::contentsFollowTheContexts()
{
    const QList<HelpTopics::Entry> entries = HelpTopics::load(m_help)->contents();
    QStringList shown;
    for (const HelpTopics::Entry& entry : entries) {
        shown << entry.title;
        for (const HelpTopics::Section& section : entry.sections)
            shown << u"  "_s + section.title + u" #"_s + section.url.fragment();
    }
    // The missing page is left out; the page reached only by a link comes last.
    QCOMPARE(shown, (QStringList{u"Contents"_s, u"Client & visit"_s, u"  Name boxes #name"_s,
                                 u"  Measures #measures"_s, u"Cholesterol explained"_s}));
}

void HelpTopicsTest::searchFindsPagesWithEveryWord_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("title first") << u"cholesterol"_s
                                 << QStringList{u"Cholesterol explained"_s, u"Client & visit"_s};
    QTest::newRow("every word, any case")
        << u"  HDL   cholesterol "_s << QStringList{u"Client & visit"_s};
    QTest::newRow("entity decoded") << u"hdl and"_s << QStringList{u"Client & visit"_s};
    QTest::newRow("one word missing") << u"cholesterol pancake"_s << QStringList{};
    QTest::newRow("markup is not text") << u"href"_s << QStringList{};
    QTest::newRow("attribute values are not text") << u"visit only"_s << QStringList{};
    QTest::newRow("nothing asked") << u"  "_s << QStringList{};
}

void HelpTopicsTest::searchFindsPagesWithEveryWord()
{
    QFETCH(QString, words);
    QFETCH(QStringList, titles);
    QStringList found;
    for (const HelpTopics::Hit& hit : HelpTopics::load(m_help)->search(words))
        found << hit.title;
    QCOMPARE(found, titles);
}

void HelpTopicsTest::linksThatLeadNowhereAreFound_data()
{
    QTest::addColumn<QByteArray>("link");
    QTest::addColumn<QString>("why"); // empty when the link is sound
    QTest::newRow("page") << QByteArray("client.html") << QString();
    QTest::newRow("section") << QByteArray("client.html#measures") << QString();
    QTest::newRow("own section") << QByteArray("#top") << QString();
    QTest::newRow("escaped name") << QByteArray("my%20page.html") << QString();
    QTest::newRow("other site") << QByteArray("https://example.org/x.html#y") << QString();
    QTest::newRow("mail") << QByteArray("mailto:help@example.org") << QString();
    QTest::newRow("no page") << QByteArray("clients.html") << u"no file clients.html"_s;
    QTest::newRow("no section") << QByteArray("client.html#phone") << u"no anchor \"phone\""_s;
    QTest::newRow("no own section") << QByteArray("#bottom") << u"no anchor \"bottom\""_s;
    QTest::newRow("out of the folder")
        << QByteArray("../contexts.txt") << u"out of the help folder"_s;
    QTest::newRow("absolute") << QByteArray("/etc/hostname") << u"out of the help folder"_s;
}

void HelpTopicsTest::linksThatLeadNowhereAreFound()
{
    QFETCH(QByteArray, link);
    QFETCH(QString, why);
    write(m_help, u"my page.html"_s, "<title>Spaced</title>");
    write(m_help, u"sub/page.html"_s,
          "<html><body id=\"top\"><a name=\"x\"></a><a class=\"c\" href=\"../" + link +
              "\">there</a></body></html>");
    if (link.startsWith('#') || link.startsWith('/') || link.contains(':'))
        write(m_help, u"sub/page.html"_s,
              "<body id=\"top\"><a href=\"" + link + "\">there</a></body>");
    const QStringList broken = brokenHelpLinks(m_help);
    if (why.isEmpty()) {
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u'\n')));
        return;
    }
    QCOMPARE(broken.size(), 1);
    QVERIFY2(broken[0].startsWith(u"sub/page.html: "_s) && broken[0].contains(why),
             qPrintable(broken[0]));
}

QTEST_GUILESS_MAIN(HelpTopicsTest)
#include "tst_help_topics.moc"

#include "core/HelpContexts.h"
#include "setup/windows/frmCompanyInfo.h"
#include "support/MainWindowHarness.h"
#include "ui/HelpTopics.h"
#include "ui/MessageWindow.h"
#include "ui/windows/frmHelp.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTextBrowser>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

namespace {

void write(const TempProgramFolder& folder, const QString& name, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(folder.path(name)).path());
    QFile file(folder.path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QString shownPage(const frmHelp& help)
{
    const QUrl url = help.currentUrl();
    return url.fileName() + (url.hasFragment() ? u"#"_s + url.fragment() : QString());
}

// The topics every control and window of these windows opens on F1.
QSet<int> controlContexts(const QWidget& window)
{
    QSet<int> found;
    for (const QObject* child : window.findChildren<QObject*>())
        if (const int context = child->property("HelpContextID").toInt(); context > 0)
            found.insert(context);
    return found;
}

} // namespace

class HelpWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void f1OpensTheTopicOfTheField();
    void theInstalledHelpHasEveryTopicAndLink();
};

void HelpWindowTest::f1OpensTheTopicOfTheField()
{
    MainWindowHarness h;
    write(h.folder, u"Help/contexts.txt"_s,
          "1 index.html\n110 main.html\n111 client.html#name\n114 client.html#measures\n"
          "116 scores.html\n");
    write(h.folder, u"Help/index.html"_s, "<title>Contents</title><a href=\"main.html\">Main</a>");
    write(h.folder, u"Help/main.html"_s, "<title>Main window</title><p>The working window.</p>");
    write(h.folder, u"Help/client.html"_s,
          "<title>Client details</title><h2 id=\"name\">Name</h2><p>Names.</p>"
          "<h2 id=\"measures\">Measures</h2><p>Blood pressure.</p>");
    write(h.folder, u"Help/scores.html"_s, "<title>Group Scores</title><p>Section scores.</p>");
    frmMain& w = h.open();

    auto pressF1In = [&](const QString& box) {
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QWidget* field = h.child<QWidget>(box);
        h.focus(field);
        QTest::keyClick(field, Qt::Key_F1);
    };
    pressF1In(u"txtFields_1"_s);
    auto* help = w.findChild<frmHelp*>();
    QVERIFY(help && help->isVisible());
    QCOMPARE(shownPage(*help), u"client.html#name"_s);
    pressF1In(u"txtFields_8"_s);
    QCOMPARE(w.findChildren<frmHelp*>().size(), 1);
    QCOMPARE(shownPage(*help), u"client.html#measures"_s);

    // The window takes the keys once it is the active one.
    QTRY_VERIFY(QApplication::activeWindow() == help);
    QTest::keyClick(help, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(shownPage(*help), u"client.html#name"_s);
    QTest::keyClick(help, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(shownPage(*help), u"client.html#measures"_s);

    auto* search = help->findChild<QLineEdit*>(u"txtSearch"_s);
    search->setText(u"section"_s);
    QTest::keyClick(search, Qt::Key_Return);
    auto* results = help->findChild<QListWidget*>(u"lstResults"_s);
    QCOMPARE(results->count(), 1);
    QCOMPARE(results->item(0)->text(), u"Group Scores"_s);
    emit results->itemActivated(results->item(0));
    QCOMPARE(shownPage(*help), u"scores.html"_s);

    QList<QUrl> opened;
    help->openExternal = [&](const QUrl& url) { opened << url; };
    emit help->findChild<QTextBrowser*>(u"brwTopic"_s)->anchorClicked(u"https://example.org/"_s);
    QCOMPARE(opened, QList<QUrl>{QUrl(u"https://example.org/"_s)});
    QCOMPARE(shownPage(*help), u"scores.html"_s);

    // With its message switched off, the Help button opens the topic of the field last used.
    storeDoNotShow(h.settings, u"F1 Help Main"_s, true);
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    h.focus(h.child<QWidget>(u"txtFields_2"_s));
    w.setFieldHelpButtonHidden(false);
    h.child<QPushButton>(u"cmdHelp"_s)->click();
    QCOMPARE(shownPage(*help), u"client.html#name"_s);
    QVERIFY(h.messages.isEmpty());
}

void HelpWindowTest::theInstalledHelpHasEveryTopicAndLink()
{
    MainWindowHarness h;
    frmMain& w = h.open();
    frmCompanyInfo company(h.settings, h.state, h.reporter, {});

    QSet<int> used = controlContexts(w) + controlContexts(company);
    for (const int context : help::kAllContexts)
        used.insert(context);
    for (const help::NamedContext& entry : help::kWindowContexts)
        used.insert(entry.context);
    for (const help::NamedContext& entry : help::kMessageContexts)
        used.insert(entry.context);

    const QString folder = QStringLiteral(HALCYRA_SOURCE_DIR "/resources/help");
    const Result<HelpTopics> topics = HelpTopics::load(folder);
    QVERIFY2(topics.ok(), qPrintable(topics.error()));
    QVERIFY2(topics->problems().isEmpty(), qPrintable(topics->problems().join(u'\n')));
    QStringList missing;
    for (const int context : used) {
        const QString target = topics->target(context);
        const Status found = checkHelpTarget(folder, folder, target);
        if (target.isEmpty())
            missing << u"%1: no line in contexts.txt"_s.arg(context);
        else if (!found)
            missing << u"%1 %2: %3"_s.arg(context).arg(target, found.error());
    }
    missing.sort();
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u'\n')));
    const QStringList broken = brokenHelpLinks(folder);
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u'\n')));
}

QTEST_MAIN(HelpWindowTest)
#include "tst_help_window.moc"

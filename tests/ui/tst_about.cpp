#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "core/SettingsKeys.h"
#include "core/Version.h"
#include "support/MainWindowHarness.h"
#include "support/ModalDriver.h"
#include "ui/SupportCommands.h"
#include "ui/windows/frmAbout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

class AboutTest : public QObject
{
    Q_OBJECT
private slots:
    void boxShowsItsTextsAndHandsBackTheCommand();
    void mainWindowRunsTheLinksAndTheCommand();
};

void AboutTest::boxShowsItsTextsAndHandsBackTheCommand()
{
    const Catalogue catalogue = Catalogue::builtIn();
    frmAbout about(catalogue);
    auto text = [&](const char* name) {
        return about.findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    QCOMPARE(about.windowTitle(), catalogue.LoadResString(1150));
    QCOMPARE(text("lblTitle"), AppTitle());
    QCOMPARE(text("lblVersion"), versionText());
    QVERIFY(text("lblWeb").contains(catalogue.LoadResString(ids::kProgramWebAddress)));
    QCOMPARE(text("lblDescription"), catalogue.LoadResString(1152));
    QCOMPARE(text("lblDisclaimer"), catalogue.LoadResString(1153));

    QSignalSpy help(&about, &frmAbout::helpTopicRequested);
    about.findChild<QToolButton*>(u"Picture1"_s)->click();
    QCOMPARE(help.size(), 1);
    QCOMPARE(help.at(0).at(0).toInt(), 82);

    // OK hands back what was typed; closing the box any other way hands back nothing.
    whenModalShows(this, [](QWidget* modal) {
        QTest::keyClicks(modal->findChild<QLineEdit*>(u"txtSpecial"_s), u"Some Word"_s);
        modal->findChild<QPushButton*>(u"cmdOk"_s)->click();
    });
    QCOMPARE(about.run(), u"Some Word"_s);
    whenModalShows(this, [](QWidget* modal) {
        QTest::keyClicks(modal->findChild<QLineEdit*>(u"txtSpecial"_s), u"Some Word"_s);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    QCOMPARE(about.run(), QString());
}

void AboutTest::mainWindowRunsTheLinksAndTheCommand()
{
    MainWindowHarness h;
    frmMain& window = h.open();
    h.settings.save(keys::readerPath(), u"/opt/reader"_s);

    // No link list in the program folder: said, not a blank page.
    window.menuEntry(u"mnuViewBrowserHealth"_s)->trigger();
    QVERIFY(!h.prompts.shown().isEmpty());
    QVERIFY2(h.prompts.shown().last().text.contains(u"WebURL.txt"_s),
             qPrintable(h.prompts.shown().last().text));

    const QString word = QString(supportWords()[4].word).toUpper();
    whenModalShows(this, [&](QWidget* modal) {
        modal->findChild<QLineEdit*>(u"txtSpecial"_s)->setText(word);
        modal->findChild<QPushButton*>(u"cmdOk"_s)->click();
    });
    window.menuEntry(u"mnuHelpAbout"_s)->trigger();
    QCOMPARE(h.settings.get(keys::readerPath()), keys::readerPath().defaultValue);
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"

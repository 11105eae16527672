#include "core/Settings.h"
#include "support/TempProgramFolder.h"
#include "ui/TipFile.h"
#include "ui/windows/frmTip.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTest>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

namespace {

QString tipText(const frmTip& window)
{
    return window.findChild<QLabel*>(u"lblTipText"_s)->text();
}

} // namespace

class TipWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void loadTipsKeepsTipLines_data();
    void loadTipsKeepsTipLines();
    void loadTipsFailsWithoutAFile();
    void slashBackslashIsALineBreak();
    void onlyCommentsLoadsButShowsNoTip();
    void missingFileShowsHowToMakeOne();
    void checkBoxFollowsTheStoredFlag_data();
    void checkBoxFollowsTheStoredFlag();
    void checkBoxStoresOneAndZero();
    void nextTipPicksFromTheList();

private:
    std::unique_ptr<TempProgramFolder> m_program;
    std::unique_ptr<SettingsStore> m_settings;
};

void TipWindowTest::init()
{
    m_program = std::make_unique<TempProgramFolder>();
    QVERIFY(m_program->isValid());
    m_settings = std::make_unique<SettingsStore>(m_program->settingsFolder());
}

void TipWindowTest::loadTipsKeepsTipLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("tips");
    QTest::newRow("plain") << QByteArray("one\ntwo\n") << QStringList{u"one"_s, u"two"_s};
    QTest::newRow("no final line break")
        << QByteArray("one\ntwo") << QStringList{u"one"_s, u"two"_s};
    QTest::newRow("comments and blanks")
        << QByteArray("' heading\n\none\n'another comment\n\n\ntwo\n")
        << QStringList{u"one"_s, u"two"_s};
    QTest::newRow("CR LF line ends")
        << QByteArray("'c\r\none\r\n\r\ntwo\r\n") << QStringList{u"one"_s, u"two"_s};
    QTest::newRow("quote later in the line is a tip")
        << QByteArray(" 'not a comment\nit's fine\n")
        << QStringList{u" 'not a comment"_s, u"it's fine"_s};
    QTest::newRow("UTF-8") << QByteArray("Vitamin B\xe2\x82\x81\xe2\x82\x82 matters\n")
                           << QStringList{u"Vitamin B\u2081\u2082 matters"_s};
}

void TipWindowTest::loadTipsKeepsTipLines()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, tips);
    m_program->writeFile(u"TipOfDay.TXT"_s, content);
    const auto loaded = LoadTips(m_program->path(u"TipOfDay.TXT"_s));
    QVERIFY(loaded.has_value());
    QCOMPARE(*loaded, tips);
}

void TipWindowTest::loadTipsFailsWithoutAFile()
{
    QVERIFY(!LoadTips(QString()).has_value());
    QVERIFY(!LoadTips(m_program->path(u"TipOfDay.TXT"_s)).has_value());
}

void TipWindowTest::slashBackslashIsALineBreak()
{
    m_program->writeFile(u"TipOfDay.TXT"_s,
                         "Press F1 in any field./\\It opens that field's help.\n");
    frmTip window(*m_settings, m_program->folder());
    QCOMPARE(tipText(window).split(u'\n'),
             QStringList({u"Press F1 in any field."_s, u"It opens that field's help."_s}));
    QCOMPARE(tipDisplayText(u"a/\\b/\\c"_s), u"a\nb\nc"_s);
    QCOMPARE(tipDisplayText(u"a\\/b"_s), u"a\\/b"_s);
}

void TipWindowTest::onlyCommentsLoadsButShowsNoTip()
{
    m_program->writeFile(u"TipOfDay.TXT"_s, "' Tips for Halcyra\n\n'one per line\n\n");
    frmTip window(*m_settings, m_program->folder());
    QVERIFY(window.tips().isEmpty());
    QCOMPARE(tipText(window), QString());
    QCOMPARE(window.currentTip(), 0);
    // Next Tip has nothing to pick from and leaves the window as it is.
    window.findChild<QPushButton*>(u"cmdNextTip"_s)->click();
    QCOMPARE(tipText(window), QString());
}

void TipWindowTest::missingFileShowsHowToMakeOne()
{
    frmTip window(*m_settings, m_program->folder());
    const QString text = tipText(window);
    QVERIFY2(text.startsWith(u"that the TipOfDay.TXT file was not found? "_s), qPrintable(text));
    QVERIFY(text.contains(u"Create a text file named TipOfDay.TXT using NotePad with 1 tip per "
                          u"line. Then place it in the same directory as the application. "_s));
    QVERIFY(window.tips().isEmpty());
}

void TipWindowTest::checkBoxFollowsTheStoredFlag_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("absent") << QString() << true;
    QTest::newRow("1") << u"1"_s << true;
    QTest::newRow("0") << u"0"_s << false;
    QTest::newRow("False") << u"False"_s << false;
}

void TipWindowTest::checkBoxFollowsTheStoredFlag()
{
    QFETCH(QString, stored);
    QFETCH(bool, ticked);
    if (!stored.isNull())
        m_settings->setValue(u"Halcyra 6.3"_s, u"Options"_s, u"Show Tips at Startup"_s, stored);
    frmTip window(*m_settings, m_program->folder());
    QCOMPARE(window.findChild<QCheckBox*>(u"chkLoadTipsAtStartup"_s)->isChecked(), ticked);
}

void TipWindowTest::checkBoxStoresOneAndZero()
{
    frmTip window(*m_settings, m_program->folder());
    auto* box = window.findChild<QCheckBox*>(u"chkLoadTipsAtStartup"_s);
    QCOMPARE(box->text(), u"&Show Tips at Startup"_s);
    auto storedFlag = [&] {
        return SettingsStore(m_program->settingsFolder())
            .value(u"Halcyra 6.3"_s, u"Options"_s, u"Show Tips at Startup"_s);
    };
    box->click();
    QCOMPARE(storedFlag(), u"0"_s);
    box->click();
    QCOMPARE(storedFlag(), u"1"_s);
    QVERIFY(!m_settings->contains(u"HCY"_s, u"Options"_s, u"Show Tips at Startup"_s));
}

void TipWindowTest::nextTipPicksFromTheList()
{
    m_program->writeFile(u"TipOfDay.TXT"_s, "'tips\nFirst tip\nSecond/\\tip\nThird tip\n");
    frmTip window(*m_settings, m_program->folder());
    QCOMPARE(window.tips(), QStringList({u"First tip"_s, u"Second/\\tip"_s, u"Third tip"_s}));
    const QStringList shownForms = {u"First tip"_s, u"Second\ntip"_s, u"Third tip"_s};
    QVERIFY(shownForms.contains(tipText(window)));

    auto* next = window.findChild<QPushButton*>(u"cmdNextTip"_s);
    QSet<QString> seen;
    for (int i = 0; i < 60; ++i) {
        next->click();
        QVERIFY(window.currentTip() >= 1 && window.currentTip() <= 3);
        QCOMPARE(tipText(window), shownForms[window.currentTip() - 1]);
        seen.insert(tipText(window));
    }
    // Random picks: sixty clicks that all land on one tip would mean no choice at all.
    QVERIFY(seen.size() > 1);
}

QTEST_MAIN(TipWindowTest)
#include "tst_tip_window.moc"

#include "core/Catalogue.h"
#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "setup/windows/frmOptions.h"
#include "support/MainWindowHarness.h"
#include "support/ModalDriver.h"
#include "support/ScriptedPrompts.h"
#include "support/TempProgramFolder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(OptionsTab)

class FrmOptionsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { m_catalogue = std::make_unique<Catalogue>(Catalogue::builtIn()); }

    void init()
    {
        m_program = std::make_unique<TempProgramFolder>();
        QVERIFY(m_program->isValid());
        m_settings = std::make_unique<SettingsStore>(m_program->settingsFolder());
        m_reporter = std::make_unique<ErrorReporter>(m_program->folder(), m_prompts);
        m_state = ProgramState{};
    }

    void cleanup() { m_dialog.reset(); }

    void plainDialogShowsTheDefaults()
    {
        open({});
        QCOMPARE(m_dialog->windowTitle(), u"Options"_s);
        for (int n = 1; n <= 5; ++n) {
            QVERIFY(box(u"Check1_%1"_s.arg(n))->isChecked());
            QVERIFY(box(u"Check2_%1"_s.arg(n))->isChecked());
        }
        QCOMPARE(child<QComboBox>(u"Combo1"_s)->currentText(), u"Both"_s);
        QVERIFY(box(u"chkFax"_s)->isChecked());
        QVERIFY(box(u"chkEmail"_s)->isChecked());
        QVERIFY(box(u"chkLoadTipsAtStartup"_s)->isChecked());
        for (int i = 0; i < 8; ++i)
            QVERIFY(!box(u"ckMsg_%1"_s.arg(i))->isChecked());
        QVERIFY(child<QRadioButton>(u"optMethod_0"_s)->isChecked());
        QVERIFY(child<QGroupBox>(u"fraFlyers"_s)->isHidden());
        child<QRadioButton>(u"optMethod_2"_s)->click();
        QVERIFY(!child<QGroupBox>(u"fraFlyers"_s)->isHidden());
        QCOMPARE(child<QLineEdit>(u"txtPath"_s)->text(), u"Type Path here"_s);

        QVERIFY(button(u"cmdPrint"_s)->isHidden());
        QVERIFY(button(u"cmdView"_s)->isHidden());
        QVERIFY(button(u"cmdOK"_s)->isDefault());
        QCOMPARE(tabs()->currentIndex(), 0);

        // Captions and tool tips come from the catalogue.
        QCOMPARE(tabs()->tabText(4), m_catalogue->LoadResString(1080));
        QCOMPARE(tabs()->tabToolTip(0), u"Which documents to print."_s);
        QCOMPARE(button(u"cmdApply"_s)->text(), u"Appl&y"_s);
        QCOMPARE(button(u"cmdApply"_s)->toolTip(), u"Save changes and leave window open."_s);
        QCOMPARE(child<QLabel>(u"lblExample"_s)->text(), m_catalogue->LoadResString(1090));
        QVERIFY(child<QLabel>(u"lblHeader"_s)->text().startsWith(u"Click on the down arrow"_s));

        // Opening stores nothing.
        QVERIFY(!m_settings->contains(AppExeName(), u"Options"_s, u"Check1(1)"_s));
        QVERIFY(!m_settings->contains(AppExeName(), u"CallPrograms"_s, u"Acrobat Reader"_s));
    }

    void modesChooseButtonsAndPage_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("print");
        QTest::addColumn<bool>("view");
        QTest::addColumn<QString>("defaultButton");
        QTest::addColumn<int>("tab");
        QTest::newRow("P-Well") << u"P-Well"_s << true << false << u"cmdPrint"_s << 0;
        QTest::newRow("V-Well") << u"V-Well"_s << false << true << u"cmdView"_s << 0;
        QTest::newRow("P-Daily") << u"P-Daily"_s << true << false << u"cmdPrint"_s << 1;
        QTest::newRow("V-Daily") << u"V-Daily"_s << false << true << u"cmdView"_s << 1;
        QTest::newRow("unknown") << u"X-Well"_s << false << false << u"cmdOK"_s << 0;
    }

    void modesChooseButtonsAndPage()
    {
        QFETCH(QString, mode);
        QFETCH(bool, print);
        QFETCH(bool, view);
        QFETCH(QString, defaultButton);
        QFETCH(int, tab);
        open(mode);
        QCOMPARE(!button(u"cmdPrint"_s)->isHidden(), print);
        QCOMPARE(!button(u"cmdView"_s)->isHidden(), view);
        for (const QString& name : {u"cmdOK"_s, u"cmdPrint"_s, u"cmdView"_s})
            QCOMPARE(button(name)->isDefault(), name == defaultButton);
        QCOMPARE(tabs()->currentIndex(), tab);
    }

    void invalidHeaderChoiceIsStoredAsBoth()
    {
        open({});
        m_dialog->selectTab(OptionsTab::PageHeaders);
        child<QComboBox>(u"Combo1"_s)->setEditText(u"Everything"_s);
        button(u"cmdOK"_s)->click();
        QCOMPARE(m_settings->get(keys::includeInPageHeader()), u"Both"_s);
        QVERIFY(m_settings->contains(AppExeName(), u"Options"_s, u"Include Fax"_s));
        QCOMPARE(m_dialog->closedBy(), OptionsButton::OK);
    }

    void okSavesOnlyTheSelectedPage()
    {
        open({});
        box(u"Check1_2"_s)->setChecked(false);
        m_dialog->selectTab(OptionsTab::Flyers);
        child<QRadioButton>(u"optMethod_2"_s)->click();
        child<QLineEdit>(u"txtPath"_s)->setText(u"/usr/bin/okular"_s);
        button(u"cmdOK"_s)->click();

        QVERIFY(!m_settings->contains(AppExeName(), u"Options"_s, u"Check1(2)"_s));
        QCOMPARE(m_settings->get(keys::flyersOption()), u"2"_s);
        QCOMPARE(m_settings->get(keys::readerPath()), u"/usr/bin/okular"_s);
        handOver();
        QCOMPARE(m_state.SelectedDocs, QString());
    }

    void applyKeepsTheDialogAndGivesSelectedDocs()
    {
        open(u"V-Well"_s);
        box(u"Check1_1"_s)->setChecked(false);
        button(u"cmdApply"_s)->click();
        handOver();
        QCOMPARE(m_state.SelectedDocs, u"01111"_s);
        QCOMPARE(m_settings->get(keys::reportDocument(1)), u"0"_s);
        QCOMPARE(m_dialog->closedBy(), OptionsButton::None);
        QCOMPARE(m_dialog->result(), 0);
    }

    void printReportsPrintsTheChosenDocumentsInOrder()
    {
        open(u"P-Well"_s);
        m_state.SkipPrinting = true;
        m_dialog->show();
        for (int n : {1, 3, 5})
            box(u"Check1_%1"_s.arg(n))->setChecked(false);
        button(u"cmdPrint"_s)->click();

        // The dialog is gone and hands the documents to print to the command.
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->optionsResult().steps, (std::vector<PrintStep>{{2, true}, {4, false}}));
        handOver();
        QCOMPARE(m_state.SelectedDocs, u"01010"_s);
        QVERIFY(m_state.PrintRequested);
        QVERIFY(!m_state.SkipPrinting);
        QCOMPARE(m_dialog->closedBy(), OptionsButton::Print);
        QVERIFY(!m_prompts.busy() && !m_prompts.busyUnderflow());
    }

    void printDailyIntakeBoxOnePrintsDocumentSix()
    {
        open(u"P-Daily"_s);
        QCOMPARE(m_dialog->windowTitle(), u"Daily Intake Sheets"_s);
        for (int n = 2; n <= 5; ++n)
            box(u"Check2_%1"_s.arg(n))->setChecked(false);
        button(u"cmdPrint"_s)->click();
        QCOMPARE(m_dialog->optionsResult().steps, (std::vector<PrintStep>{{6, true}}));
        QCOMPARE(m_settings->get(keys::dailySheet(2)), u"0"_s);
        QVERIFY(!m_settings->contains(AppExeName(), u"Options"_s, u"Check1(1)"_s));
    }

    void otherPagesTurnPrintAndViewOff_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<OptionsTab>("visited");
        QTest::newRow("P-Well, headers") << u"P-Well"_s << OptionsTab::PageHeaders;
        QTest::newRow("P-Daily, messages") << u"P-Daily"_s << OptionsTab::DisplayMessages;
        QTest::newRow("V-Well, flyers") << u"V-Well"_s << OptionsTab::Flyers;
    }

    void otherPagesTurnPrintAndViewOff()
    {
        QFETCH(QString, mode);
        QFETCH(OptionsTab, visited);
        open(mode);
        m_dialog->selectTab(OptionsTab::DailyIntake);
        m_dialog->selectTab(OptionsTab::Reports);
        QVERIFY(button(u"cmdPrint"_s)->isEnabled());
        QVERIFY(button(u"cmdView"_s)->isEnabled());

        m_dialog->selectTab(visited);
        for (OptionsTab back : {OptionsTab::Reports, OptionsTab::DailyIntake}) {
            m_dialog->selectTab(back);
            QVERIFY(!button(u"cmdPrint"_s)->isEnabled());
            QVERIFY(!button(u"cmdView"_s)->isEnabled());
            QVERIFY(button(u"cmdOK"_s)->isDefault());
        }
    }

    void viewSetsTheHandOverFlags()
    {
        open(u"V-Daily"_s);
        m_state.PrintRequested = true;
        m_state.OptionsCancelled = true;
        box(u"Check2_3"_s)->setChecked(false);
        button(u"cmdView"_s)->click();
        handOver();
        QCOMPARE(m_state.SelectedDocs, u"11011"_s);
        QVERIFY(!m_state.PrintRequested);
        QVERIFY(m_state.SkipPrinting);
        QVERIFY(!m_state.OptionsCancelled);
        QCOMPARE(m_dialog->closedBy(), OptionsButton::View);
        QVERIFY(m_dialog->optionsResult().steps.empty());
    }

    void cancelStoresNothing_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Esc") << true;
    }

    void cancelStoresNothing()
    {
        QFETCH(bool, escape);
        open(u"V-Well"_s);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        box(u"Check1_3"_s)->setChecked(false);
        if (escape)
            QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
        else
            button(u"cmdCancel"_s)->click();

        QVERIFY(!m_dialog->isVisible());
        QVERIFY(box(u"Check1_3"_s)->isChecked());
        QVERIFY(!m_settings->contains(AppExeName(), u"Options"_s, u"Check1(3)"_s));
        handOver();
        QVERIFY(m_state.OptionsCancelled);
        QCOMPARE(m_dialog->closedBy(), OptionsButton::Cancel);
    }

    void ctrlTabStepsThroughTheTabs()
    {
        open({});
        m_dialog->show();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        box(u"Check1_1"_s)->setFocus();
        QTest::keyClick(box(u"Check1_1"_s), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(m_dialog->selectedTab(), OptionsTab::Email);

        // Also from inside a text box, which takes most other keys for itself.
        auto* path = child<QLineEdit>(u"txtSmtpServer"_s);
        path->setFocus();
        QTest::keyClick(path, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(m_dialog->selectedTab(), OptionsTab::Reports);
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : m_dialog.get();
        QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(m_dialog->selectedTab(), OptionsTab::DailyIntake);
    }

    void setupMenuOpensThePlainDialog()
    {
        MainWindowHarness h;
        frmMain& window = h.open();
        h.state.OptionsMode = u"P-Well"_s; // left over from a report command
        bool plain = false;
        whenModalShows(this, [&](QWidget* modal) {
            auto* options = qobject_cast<frmOptions*>(modal);
            plain = options && options->windowTitle() == u"Options" &&
                    options->findChild<QPushButton*>(u"cmdPrint"_s)->isHidden();
            if (options)
                options->findChild<QPushButton*>(u"cmdCancel"_s)->click();
            else
                modal->close();
        });
        window.menuEntry(u"mnuSetupOptions"_s)->trigger();
        QVERIFY(plain);
        QVERIFY(h.state.OptionsCancelled);
        QVERIFY(h.state.OptionsMode.isEmpty());
    }

private:
    void open(const QString& mode)
    {
        m_dialog = std::make_unique<frmOptions>(*m_catalogue, *m_settings, *m_reporter);
        m_dialog->setMode(optionsModeFromText(mode));
    }
    // The program-wide flags as a report command leaves them from the dialog's answer.
    void handOver() { takeOptionsResult(m_state, m_dialog->optionsResult()); }

    template <typename T> T* child(const QString& name) const
    {
        T* found = m_dialog->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QCheckBox* box(const QString& name) const { return child<QCheckBox>(name); }
    QPushButton* button(const QString& name) const { return child<QPushButton>(name); }
    QTabWidget* tabs() const { return child<QTabWidget>(u"tbsOptions"_s); }

    std::unique_ptr<Catalogue> m_catalogue;
    std::unique_ptr<TempProgramFolder> m_program;
    std::unique_ptr<SettingsStore> m_settings;
    ScriptedPrompts m_prompts;
    std::unique_ptr<ErrorReporter> m_reporter;
    ProgramState m_state;
    std::unique_ptr<frmOptions> m_dialog;
};

QTEST_MAIN(FrmOptionsTest)
#include "tst_frmoptions.moc"

#include "core/ProgramState.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "records/DetailRules.h"
#include "setup/Options.h"
#include "setup/OptionsTexts.h"
#include "support/TempProgramFolder.h"
#include "ui/MessageWindow.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <algorithm>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(OptionsTab)
Q_DECLARE_METATYPE(OptionsButton)
Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

// The keys each page owns, as the report commands, the tip window and the reader launcher
// read them.
QList<SettingKey> keysOfPage(OptionsTab tab)
{
    QList<SettingKey> keys;
    switch (tab) {
    case OptionsTab::Reports:
        for (int n = 1; n <= 5; ++n)
            keys << SettingKey{AppExeName(), u"Options"_s, u"Check1(%1)"_s.arg(n), {}};
        break;
    case OptionsTab::DailyIntake:
        for (int n = 1; n <= 5; ++n)
            keys << SettingKey{AppExeName(), u"Options"_s, u"Check2(%1)"_s.arg(n), {}};
        break;
    case OptionsTab::PageHeaders:
        for (const QString& key :
             {u"Include in Page Header"_s, u"Include Fax"_s, u"Include Email"_s})
            keys << SettingKey{AppExeName(), u"Options"_s, key, {}};
        break;
    case OptionsTab::DisplayMessages:
        keys << SettingKey{AppTitle(), u"Options"_s, u"Show Tips at Startup"_s, {}};
        for (const QString& title :
             {u"AOL Users Questionnaire"_s, u"Backup/Restore"_s, u"Empty Field"_s,
              u"F1 Help Company"_s, u"F1 Help Main"_s, u"Field Length Error"_s,
              u"Save Confirmation"_s, u"Tutorial"_s})
            keys << SettingKey{AppExeName(), u"Options"_s, title, {}};
        break;
    case OptionsTab::Flyers:
        keys << SettingKey{AppExeName(), u"Options"_s, u"Flyers Option"_s, {}}
             << SettingKey{AppExeName(), u"CallPrograms"_s, u"Acrobat Reader"_s, {}};
        break;
    case OptionsTab::Email:
        for (const QString& key : {u"SMTP Server"_s, u"SMTP Port"_s, u"SMTP Security"_s,
                                   u"SMTP User"_s, u"Sender Address"_s})
            keys << SettingKey{AppExeName(), u"E-mail"_s, key, {}};
        break;
    }
    return keys;
}

// Every value different from its default.
OptionValues changedValues()
{
    OptionValues values;
    values.reportDocuments = {false, true, false, true, false};
    values.dailySheets = {true, false, false, false, true};
    values.headerChoice = u"Company Name Only"_s;
    values.includeFax = false;
    values.includeEmail = false;
    values.showTipsAtStartup = false;
    values.doNotShow.fill(true);
    values.flyersMethod = 2;
    values.readerPath = u"/usr/bin/okular"_s;
    values.smtp = {u"mail.example.org"_s,    465, SmtpSecurity::Tls, u"adviser"_s,
                   u"adviser@example.org"_s, {}};
    return values;
}

bool samePage(const OptionValues& a, const OptionValues& b, OptionsTab tab)
{
    switch (tab) {
    case OptionsTab::Reports:
        return a.reportDocuments == b.reportDocuments;
    case OptionsTab::DailyIntake:
        return a.dailySheets == b.dailySheets;
    case OptionsTab::PageHeaders:
        return a.headerChoice == b.headerChoice && a.includeFax == b.includeFax &&
               a.includeEmail == b.includeEmail;
    case OptionsTab::DisplayMessages:
        return a.showTipsAtStartup == b.showTipsAtStartup && a.doNotShow == b.doNotShow;
    case OptionsTab::Flyers:
        return a.flyersMethod == b.flyersMethod && a.readerPath == b.readerPath;
    case OptionsTab::Email:
        return a.smtp == b.smtp;
    }
    return false;
}

} // namespace

class OptionsTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_program = std::make_unique<TempProgramFolder>();
        QVERIFY(m_program->isValid());
        m_settings = std::make_unique<SettingsStore>(m_program->settingsFolder());
    }

    void noSettingsGiveTheDefaults()
    {
        const OptionValues values = readOptionValues(*m_settings);
        for (int i = 0; i < 5; ++i) {
            QVERIFY(values.reportDocuments[i]);
            QVERIFY(values.dailySheets[i]);
        }
        QCOMPARE(values.headerChoice, u"Both"_s);
        QVERIFY(values.includeFax);
        QVERIFY(values.includeEmail);
        QVERIFY(values.showTipsAtStartup);
        for (bool hidden : values.doNotShow)
            QVERIFY(!hidden);
        QCOMPARE(values.flyersMethod, 0);
        QCOMPARE(values.readerPath, u"Type Path here"_s);
        // Mail goes encrypted unless the adviser says otherwise.
        QCOMPARE(values.smtp.security, SmtpSecurity::StartTls);
        QCOMPARE(values.smtp.port, 587);
    }

    void applySavesOnlyItsPage_data()
    {
        QTest::addColumn<OptionsTab>("tab");
        QTest::newRow("Reports") << OptionsTab::Reports;
        QTest::newRow("Daily Intake") << OptionsTab::DailyIntake;
        QTest::newRow("Page Headers") << OptionsTab::PageHeaders;
        QTest::newRow("Display Messages") << OptionsTab::DisplayMessages;
        QTest::newRow("Flyers") << OptionsTab::Flyers;
        QTest::newRow("E-mail") << OptionsTab::Email;
    }

    void applySavesOnlyItsPage()
    {
        QFETCH(OptionsTab, tab);
        OptionValues values = changedValues();
        saveOptionsPage(*m_settings, tab, values);

        for (int page = 1; page <= kOptionsTabCount; ++page)
            for (const SettingKey& key : keysOfPage(static_cast<OptionsTab>(page)))
                QVERIFY2(m_settings->contains(key.application, key.section, key.key) ==
                             (page == static_cast<int>(tab)),
                         qPrintable(key.key));

        // What was stored reads back as it was set; the other pages still read as defaults.
        const OptionValues stored = readOptionValues(*m_settings);
        const OptionValues defaults =
            readOptionValues(SettingsStore(m_program->path(u"no settings"_s)));
        for (int page = 1; page <= kOptionsTabCount; ++page) {
            const auto pageTab = static_cast<OptionsTab>(page);
            QVERIFY2(samePage(stored, pageTab == tab ? changedValues() : defaults, pageTab),
                     qPrintable(QString::number(page)));
        }
    }

    void documentPagesGiveSelectedDocs()
    {
        OptionValues values = changedValues();
        QCOMPARE(saveOptionsPage(*m_settings, OptionsTab::Reports, values), u"01010"_s);
        QCOMPARE(m_settings->get(keys::reportDocument(2)), u"1"_s);
        QCOMPARE(m_settings->get(keys::reportDocument(3)), u"0"_s);
        QCOMPARE(saveOptionsPage(*m_settings, OptionsTab::DailyIntake, values), u"10001"_s);
        QCOMPARE(saveOptionsPage(*m_settings, OptionsTab::Flyers, values), QString());
    }

    void headerChoiceMustBeOneOfThree_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("company") << u"Company Name Only"_s << u"Company Name Only"_s;
        QTest::newRow("names") << u"First and Last Name Only"_s << u"First and Last Name Only"_s;
        QTest::newRow("both") << u"Both"_s << u"Both"_s;
        // The headers tell the choices apart by first letter: "Fax only" would read as names.
        QTest::newRow("other text") << u"Fax only"_s << u"Both"_s;
        QTest::newRow("other case") << u"company name only"_s << u"Both"_s;
        QTest::newRow("trailing blank") << u"Both "_s << u"Both"_s;
        QTest::newRow("empty") << QString() << u"Both"_s;
    }

    void headerChoiceMustBeOneOfThree()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        OptionValues values;
        values.headerChoice = typed;
        saveOptionsPage(*m_settings, OptionsTab::PageHeaders, values);
        QCOMPARE(m_settings->get(keys::includeInPageHeader()), stored);
        QCOMPARE(values.headerChoice, stored);
    }

    void messageBoxesShareTheMessageWindowFlags()
    {
        const auto& switches = messageSwitches();
        storeDoNotShow(*m_settings, u"Empty Field"_s, true);
        OptionValues values = readOptionValues(*m_settings);
        for (int i = 0; i < kMessageSwitchCount; ++i)
            QCOMPARE(values.doNotShow[i], switches[i].caption == u"Empty Field");

        values.doNotShow.fill(false);
        const auto tutorial =
            std::find_if(switches.begin(), switches.end(),
                         [](const MessageSwitch& s) { return s.caption == u"Tutorial"; });
        QVERIFY(tutorial != switches.end());
        values.doNotShow[static_cast<size_t>(tutorial - switches.begin())] = true;
        saveOptionsPage(*m_settings, OptionsTab::DisplayMessages, values);
        QVERIFY(isMessageSuppressed(*m_settings, u"Tutorial"_s));
        QVERIFY(!isMessageSuppressed(*m_settings, u"Empty Field"_s));
        QCOMPARE(m_settings->get(keys::doNotShow(u"Tutorial"_s)), u"1"_s);
    }

    // A message switched off in its own window can be switched on again only on the Display
    // Messages page: every title that window lets the adviser switch off must be listed there.
    // The titles are walked three ways: the message window's list, the titles leaving a
    // detail box gives, and the titles the program's sources pass to the message window.
    void everySuppressibleTitleIsListed()
    {
        QStringList listed;
        for (const MessageSwitch& entry : messageSwitches())
            listed << entry.caption;
        QCOMPARE(QSet<QString>(listed.begin(), listed.end()).size(), listed.size());

        int switchable = 0;
        for (const QString& title : messageTitles()) {
            if (!messageLayoutFor(title).showDoNotShow)
                continue;
            ++switchable;
            QVERIFY2(listed.contains(title), qPrintable(title));
        }
        QVERIFY(switchable >= 6);

        // Leaving a detail box with a text it refuses, cuts or fills.
        QSet<QString> detailTitles;
        const QStringList texts = {QString(), u"x"_s,    u"2/30/2026"_s,    u"-1"_s,
                                   u"n/a"_s,  u"a\tb"_s, QString(200, u'7')};
        for (int box = 0; box <= 18; ++box)
            for (const QString& text : texts)
                if (const auto left = leaveDetailBox(box, text, QDate(2026, 12, 8)); left.message)
                    detailTitles.insert(left.message->title);
        QCOMPARE(detailTitles, (QSet<QString>{u"Empty Field"_s, u"Field Length Error"_s,
                                              u"Field Value Error"_s}));
        for (const QString& title : detailTitles)
            QVERIFY2(messageTitles().contains(title), qPrintable(title));

        // Each literal title handed to the message window in the sources.
        const QRegularExpression call(QStringLiteral(
            "\\b(?:m_showMsg|showMsg|ShowMsg)\\(\\s*QStringLiteral\\(\"([^\"]+)\"\\)\\s*,"));
        QSet<QString> called;
        QDirIterator sources(QStringLiteral(HALCYRA_SOURCE_DIR "/src"), {u"*.cpp"_s}, QDir::Files,
                             QDirIterator::Subdirectories);
        while (sources.hasNext()) {
            QFile file(sources.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            for (const QRegularExpressionMatch& m : call.globalMatch(text))
                called.insert(m.captured(1));
        }
        QVERIFY2(called.size() >= 5,
                 qPrintable(QStringList(called.begin(), called.end()).join(u',')));
        for (const QString& title : called)
            QVERIFY2(messageTitles().contains(title), qPrintable(title));
    }

    void oddStoredValues()
    {
        // Only the number 1 chooses a document, as the report commands read it.
        m_settings->save(keys::reportDocument(3), u"2"_s);
        m_settings->save(keys::dailySheet(1), u"yes"_s);
        m_settings->save(keys::includeFax(), u"0"_s);
        m_settings->save(keys::flyersOption(), u"7"_s);
        OptionValues values = readOptionValues(*m_settings);
        QVERIFY(!values.reportDocuments[2]);
        QVERIFY(!values.dailySheets[0]);
        QVERIFY(!values.includeFax);
        QCOMPARE(values.flyersMethod, 0);
        m_settings->save(keys::flyersOption(), u"-1"_s);
        QCOMPARE(readOptionValues(*m_settings).flyersMethod, 0);
        m_settings->save(keys::flyersOption(), u"1"_s);
        QCOMPARE(readOptionValues(*m_settings).flyersMethod, 1);
    }

    void printStepsFollowThePage_data()
    {
        QTest::addColumn<OptionsTab>("tab");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QList<int>>("sections");
        QTest::newRow("reports 2 and 4") << OptionsTab::Reports << u"01010"_s << QList<int>{2, 4};
        QTest::newRow("all reports")
            << OptionsTab::Reports << u"11111"_s << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("daily 1") << OptionsTab::DailyIntake << u"10000"_s << QList<int>{6};
        QTest::newRow("daily 5") << OptionsTab::DailyIntake << u"00001"_s << QList<int>{10};
        QTest::newRow("none") << OptionsTab::Reports << u"00000"_s << QList<int>{};
        QTest::newRow("header page") << OptionsTab::PageHeaders << u"11111"_s << QList<int>{};
        QTest::newRow("flyers page") << OptionsTab::Flyers << u"11111"_s << QList<int>{};
        QTest::newRow("short text") << OptionsTab::Reports << u"11"_s << QList<int>{1, 2};
        QTest::newRow("empty text") << OptionsTab::DailyIntake << QString() << QList<int>{};
    }

    void printStepsFollowThePage()
    {
        QFETCH(OptionsTab, tab);
        QFETCH(QString, selected);
        QFETCH(QList<int>, sections);
        const std::vector<PrintStep> steps = documentsToPrint(tab, selected);
        QList<int> printed;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            printed << steps[i].section;
            QCOMPARE(steps[i].first, i == 0);
        }
        QCOMPARE(printed, sections);
    }

    // The hand-over flags a report command reads after the dialog: the way out decides them,
    // from a state left by an earlier run ("dirty": every flag set) or a fresh one.
    void handOverFollowsTheWayOut_data()
    {
        QTest::addColumn<OptionsButton>("button");
        QTest::addColumn<std::optional<QString>>("applied");
        QTest::addColumn<bool>("dirty");
        QTest::addColumn<QString>("selectedDocs");
        QTest::addColumn<bool>("printRequested");
        QTest::addColumn<bool>("skipPrinting");
        QTest::addColumn<bool>("cancelled");
        const std::optional<QString> none;
        QTest::newRow("Print after a view") << OptionsButton::Print << std::optional(u"01010"_s)
                                            << true << u"01010"_s << true << false << false;
        QTest::newRow("Print, fresh") << OptionsButton::Print << std::optional(u"10000"_s) << false
                                      << u"10000"_s << true << false << false;
        QTest::newRow("View after a print") << OptionsButton::View << std::optional(u"11011"_s)
                                            << true << u"11011"_s << false << true << false;
        QTest::newRow("Cancel keeps the last choice")
            << OptionsButton::Cancel << none << false << u"prev"_s << false << false << true;
        QTest::newRow("Cancel leaves the print flags")
            << OptionsButton::Cancel << none << true << u"prev"_s << true << true << true;
        QTest::newRow("Cancel after an Apply") << OptionsButton::Cancel << std::optional(u"00111"_s)
                                               << false << u"00111"_s << false << false << true;
        QTest::newRow("OK on another page") << OptionsButton::OK << std::optional(QString()) << true
                                            << QString() << true << true << false;
        QTest::newRow("still open")
            << OptionsButton::None << none << true << u"prev"_s << true << true << false;
    }

    void handOverFollowsTheWayOut()
    {
        QFETCH(OptionsButton, button);
        QFETCH(std::optional<QString>, applied);
        QFETCH(bool, dirty);
        ProgramState state;
        state.SelectedDocs = u"prev"_s;
        state.PrintRequested = state.SkipPrinting = state.OptionsCancelled = dirty;
        OptionsResult result;
        result.button = button;
        result.selectedDocs = applied;
        takeOptionsResult(state, result);
        QTEST(state.SelectedDocs, "selectedDocs");
        QTEST(state.PrintRequested, "printRequested");
        QTEST(state.SkipPrinting, "skipPrinting");
        QTEST(state.OptionsCancelled, "cancelled");
    }

    // The command's mode is named, and an old cancel cleared, while the adviser chooses.
    void reportCommandsChooseInTheirMode()
    {
        ProgramState state;
        state.OptionsCancelled = true;
        OptionsMode asked = OptionsMode::Plain;
        bool cancelledWhileChoosing = true;
        QString modeWhileChoosing;
        const OptionsChooser choose = [&](OptionsMode mode, QWidget*) {
            asked = mode;
            cancelledWhileChoosing = state.OptionsCancelled;
            modeWhileChoosing = state.OptionsMode;
            OptionsResult result;
            result.button = OptionsButton::Print;
            result.selectedDocs = u"01001"_s;
            result.steps = {{2, true}, {5, false}};
            return result;
        };
        const OptionsResult result =
            chooseReportOptions(choose, state, OptionsMode::PrintDaily, nullptr);
        QCOMPARE(asked, OptionsMode::PrintDaily);
        QVERIFY(!cancelledWhileChoosing);
        QCOMPARE(modeWhileChoosing, u"P-Daily"_s);
        QCOMPARE(state.OptionsMode, u"P-Daily"_s);
        QCOMPARE(state.SelectedDocs, u"01001"_s);
        QVERIFY(state.PrintRequested);
        QCOMPARE(result.steps, (std::vector<PrintStep>{{2, true}, {5, false}}));
    }

    void modesAndTabs()
    {
        QCOMPARE(optionsModeFromText(u"P-Daily"_s), OptionsMode::PrintDaily);
        QCOMPARE(optionsModeFromText(u"p-daily"_s), OptionsMode::Plain);
        QCOMPARE(optionsModeFromText(QString()), OptionsMode::Plain);
        for (auto mode : {OptionsMode::PrintWell, OptionsMode::ViewWell, OptionsMode::PrintDaily,
                          OptionsMode::ViewDaily})
            QCOMPARE(optionsModeFromText(optionsModeText(mode)), mode);

        QCOMPARE(neighbourTab(OptionsTab::Email, true), OptionsTab::Reports);
        QCOMPARE(neighbourTab(OptionsTab::Reports, false), OptionsTab::Email);
        QCOMPARE(neighbourTab(OptionsTab::DailyIntake, true), OptionsTab::PageHeaders);
        QCOMPARE(neighbourTab(OptionsTab::DailyIntake, false), OptionsTab::Reports);
    }

private:
    std::unique_ptr<TempProgramFolder> m_program;
    std::unique_ptr<SettingsStore> m_settings;
};

QTEST_GUILESS_MAIN(OptionsTest)
#include "tst_options.moc"

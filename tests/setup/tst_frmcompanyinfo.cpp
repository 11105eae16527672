// The company window: loading, the brand-word and required-field checks on Save and Close,
// the web address, the save question, typing and Undo, and the main window's My Website entry.

#include "core/SettingsKeys.h"
#include "records/CompanyRecord.h"
#include "setup/CompanyInfo.h"
#include "setup/windows/frmCompanyInfo.h"
#include "support/CompanyRow.h"
#include "support/MainWindowHarness.h"
#include "support/RefusedChange.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace halcyra;
using halcyra::test::MainWindowHarness;

using namespace Qt::StringLiterals;

namespace {

using halcyra::test::fullCompanyRow;

// The company window over the harness's database, settings and prompts.
struct CompanyWindow
{
    explicit CompanyWindow(const CompanyInfo& row = fullCompanyRow())
    {
        if (!saveCompanyRow(h.state.DatabaseFullPath, row))
            qFatal("the company row could not be stored");
    }

    frmCompanyInfo& open()
    {
        window = std::make_unique<frmCompanyInfo>(
            h.settings, h.state, h.reporter, [this](const QString& title, const QString& text) {
                h.messages.append({title, text});
            });
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("the company window did not become active");
        return *window;
    }

    QLineEdit* field(int index) const
    {
        return window->findChild<QLineEdit*>(QStringLiteral("txtFields_%1").arg(index));
    }
    QLineEdit* web() const { return window->findChild<QLineEdit*>(QStringLiteral("txtWeb")); }
    QAction* entry(const QString& name) const { return window->findChild<QAction*>(name); }

    CompanyInfo stored() const
    {
        const Result<CompanyInfo> row = readCompanyRow(h.state.DatabaseFullPath);
        if (!row)
            qFatal("the company row could not be read");
        return *row;
    }

    MainWindowHarness h;
    std::unique_ptr<frmCompanyInfo> window;
};

} // namespace

class FrmCompanyInfo : public QObject
{
    Q_OBJECT

private slots:
    void loadingFillsTheBoxesAndTheStoredCopy()
    {
        CompanyWindow w;
        w.h.settings.save(keys::webAddress(), QStringLiteral("www.mine.com"));
        w.open();

        QCOMPARE(w.window->windowTitle(), QStringLiteral("Company Info"));
        for (int i = 0; i < kCompanyFieldCount; ++i) {
            const CompanyField& field = companyFields()[static_cast<size_t>(i)];
            QCOMPARE(w.field(i)->text(), fullCompanyRow()[static_cast<size_t>(i)]);
            QCOMPARE(w.h.state.CompanyInfoLines[static_cast<size_t>(i)],
                     fullCompanyRow()[static_cast<size_t>(i)]);
            QCOMPARE(w.field(i)->maxLength(), field.maxLength);
            QCOMPARE(w.window->findChild<QLabel*>(QStringLiteral("lblLabels_%1").arg(i))->text(),
                     QString::fromLatin1(field.label));
        }
        QCOMPARE(w.field(company::kState)->maxLength(), 2);
        QCOMPARE(w.web()->maxLength(), 100);
        QCOMPARE(w.web()->text(), QStringLiteral("http://www.mine.com"));
        // Eight red asterisks, one per required field, and the note that explains them.
        const QList<QLabel*> labels = w.window->findChildren<QLabel*>();
        QCOMPARE(std::count_if(labels.begin(), labels.end(),
                               [](const QLabel* l) { return l->text() == u"*"; }),
                 8);
        QVERIFY(w.window->findChild<QLabel*>(QStringLiteral("lblMandatory"))->isVisible());
    }

    void brandWordIsRefusedOnSave()
    {
        CompanyWindow w;
        w.open();
        w.field(3)->setText(QStringLiteral("1 Tessaly Road"));
        w.field(4)->setText(QStringLiteral("  Portland "));

        QVERIFY(!w.window->cmdSave_Click());
        QCOMPARE(w.h.prompts.shown().size(), 1);
        QCOMPARE(w.h.prompts.shown().last().icon, UserPrompts::Icon::Critical);
        QVERIFY(w.h.prompts.shown().last().text.contains(
            QStringLiteral("\n\nPlease enter another Address:.\n\n")));
        // Nothing written, the field emptied and focused, the others only trimmed.
        QCOMPARE(w.stored(), fullCompanyRow());
        QCOMPARE(w.field(3)->text(), QString());
        QCOMPARE(w.field(4)->text(), QStringLiteral("Portland"));
        QCOMPARE(w.window->focusWidget(), w.field(3));
        QVERIFY(w.h.messages.isEmpty());
        // The details the reports print stay the saved ones.
        QCOMPARE(w.h.state.CompanyInfoLines[3], QStringLiteral("1 Elm St"));
        QCOMPARE(w.h.state.CompanyInfoLines[4], QStringLiteral("Salem"));
    }

    void brandWordAllowedOnlyForTheOfficeMail()
    {
        CompanyWindow w;
        w.open();
        w.field(10)->setText(QStringLiteral("jane@TessalyOffice.net"));
        QVERIFY(w.window->cmdSave_Click());
        QCOMPARE(w.stored()[10], QStringLiteral("jane@TessalyOffice.net"));
        QCOMPARE(w.h.state.CompanyInfoLines[10], QStringLiteral("jane@TessalyOffice.net"));
        QCOMPARE(w.h.messages.size(), 1);
        QCOMPARE(w.h.messages.last().title, QStringLiteral("Save Confirmation"));
        QCOMPARE(w.h.messages.last().text, QStringLiteral("Company Information SAVED"));

        // The same word in the fax box is refused, and one message names each offending box.
        w.field(9)->setText(QStringLiteral("TessalyOffice"));
        w.field(0)->setText(QStringLiteral("Tessaly Friends"));
        QVERIFY(!w.window->cmdSave_Click());
        QCOMPARE(w.h.prompts.shown().size(), 2);
        QVERIFY(w.h.prompts.shown()[0].text.contains(u"another Company Name:."));
        QVERIFY(w.h.prompts.shown()[1].text.contains(u"another Fax:."));
        QCOMPARE(w.stored()[9], QString());
        QCOMPARE(w.stored()[0], QStringLiteral("Green Leaf"));
    }

    void saveWritesTheRowTheCopyAndTheWebAddress()
    {
        CompanyWindow w;
        w.open();
        w.field(4)->setText(QStringLiteral("Portland"));
        w.web()->setText(QStringLiteral("HTTPS://mine.example"));
        QVERIFY(w.window->cmdSave_Click());
        QCOMPARE(w.stored()[4], QStringLiteral("Portland"));
        QCOMPARE(w.h.state.CompanyInfoLines[4], QStringLiteral("Portland"));
        QCOMPARE(w.h.settings.get(keys::webAddress()), QStringLiteral("HTTPS://mine.example"));

        w.web()->setText(QStringLiteral("mine.example"));
        QVERIFY(w.window->cmdSave_Click());
        QCOMPARE(w.h.settings.get(keys::webAddress()), QStringLiteral("http://mine.example"));
        QCOMPARE(w.web()->text(), QStringLiteral("http://mine.example"));
    }

    void closeAnsweringNoKeepsTheRowButStoresTheWebAddress()
    {
        CompanyWindow w;
        w.h.state.CompanyInfoOpenedAtStart = true;
        w.open();
        w.field(4)->setText(QStringLiteral("Portland"));
        w.web()->setText(QStringLiteral("www.mine.com"));
        w.h.prompts.setNextAnswers({UserPrompts::Answer::No});

        QVERIFY(w.window->cmdClose_Click());
        QCOMPARE(w.h.prompts.shown().last().text, QStringLiteral("Do you want to save changes?"));
        QCOMPARE(w.stored(), fullCompanyRow());
        QCOMPARE(w.field(4)->text(), QStringLiteral("Salem"));
        QCOMPARE(w.h.state.CompanyInfoLines[4], QStringLiteral("Salem"));
        QCOMPARE(w.h.settings.get(keys::webAddress()), QStringLiteral("http://www.mine.com"));
        QVERIFY(!w.window->isVisible());
        QVERIFY(!w.h.state.CompanyInfoOpenedAtStart);

        // Nothing changed: no question at all.
        w.window->show();
        const qsizetype asked = w.h.prompts.shown().size();
        QVERIFY(w.window->cmdClose_Click());
        QCOMPARE(w.h.prompts.shown().size(), asked);
    }

    void closeAnsweringYesSaves()
    {
        CompanyWindow w;
        w.open();
        w.field(4)->setText(QStringLiteral("Portland"));
        w.h.prompts.setNextAnswers({UserPrompts::Answer::Yes});
        QVERIFY(w.window->cmdClose_Click());
        QCOMPARE(w.stored()[4], QStringLiteral("Portland"));
        QCOMPARE(w.field(4)->text(), QStringLiteral("Portland"));
        QCOMPARE(w.h.messages.last().title, QStringLiteral("Save Confirmation"));
    }

    void closeStaysOpenWhileRequiredFieldsAreEmpty()
    {
        CompanyInfo row = fullCompanyRow();
        row[6].clear();
        row[7].clear();
        CompanyWindow w(row);
        w.open();
        QVERIFY(!w.window->cmdClose_Click());
        QCOMPARE(w.h.prompts.shown().last().text,
                 QStringLiteral("Some required fields are empty."));
        QCOMPARE(w.h.prompts.shown().last().icon, UserPrompts::Icon::Information);
        QVERIFY(w.window->isVisible());
        QCOMPARE(w.window->focusWidget(), w.field(6));

        // Escape and the close box go through the same steps.
        QTest::keyClick(w.window.get(), Qt::Key_Escape);
        QVERIFY(w.window->isVisible());
        QCOMPARE(w.h.prompts.shown().last().text,
                 QStringLiteral("Some required fields are empty."));
    }

    void failedWriteShowsTheDataErrorAndKeepsTheEdits()
    {
        CompanyWindow w;
        w.open();
        w.h.execute(test::refuseValueSql(QStringLiteral("Company Info"), QStringLiteral("City"),
                                         QStringLiteral("Portland")));
        w.field(4)->setText(QStringLiteral("Portland"));
        w.web()->setText(QStringLiteral("www.mine.com"));
        w.h.prompts.setNextAnswers({UserPrompts::Answer::Yes});

        QVERIFY(!w.window->cmdClose_Click());
        QCOMPARE(w.h.prompts.shown().last().title, QStringLiteral("OOPS"));
        QCOMPARE(w.h.prompts.shown().last().icon, UserPrompts::Icon::Critical);
        QVERIFY(w.h.prompts.shown().last().text.startsWith(
            QStringLiteral("Data error event hit err: frmCompanyInfo.datCoInfo_Error\n")));
        QVERIFY(w.h.prompts.shown().last().text.contains(test::kRefusedChangeText));
        // Not reported as saved, nothing in the copy the reports read, the typing still there.
        QVERIFY(w.h.messages.isEmpty());
        QCOMPARE(w.h.state.CompanyInfoLines[4], QStringLiteral("Salem"));
        QCOMPARE(w.h.settings.get(keys::webAddress()), QString());
        QVERIFY(w.window->isVisible());
        QCOMPARE(w.field(4)->text(), QStringLiteral("Portland"));
    }

    void typingStateAndUndo()
    {
        CompanyWindow w;
        w.open();
        QAction* undo = w.entry(QStringLiteral("mnuEditUndo"));
        QLineEdit* city = w.field(4);
        MainWindowHarness::focus(city);
        QCOMPARE(city->selectedText(), QStringLiteral("Salem"));
        QCOMPARE(undo->text(), QStringLiteral("Cannot &Undo"));
        QVERIFY(!undo->isEnabled());

        QTest::keyClicks(city, QStringLiteral("Eugene"));
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));
        undo->trigger();
        QCOMPARE(city->text(), QStringLiteral("Salem"));

        QLineEdit* state = w.field(company::kState);
        MainWindowHarness::focus(state);
        QVERIFY(!state->hasSelectedText());
        state->clear();
        QTest::keyClicks(state, QStringLiteral("wa"));
        QCOMPARE(state->text(), QStringLiteral("WA"));
        QCOMPARE(state->cursorPosition(), 2);

        // Cut and Paste work on the box with the focus.
        MainWindowHarness::focus(city);
        w.entry(QStringLiteral("mnuEditCut"))->trigger();
        QCOMPARE(city->text(), QString());
        w.entry(QStringLiteral("mnuEditPaste"))->trigger();
        QCOMPARE(city->text(), QStringLiteral("Salem"));
    }

    void closingSwitchesTheOwnWebsiteEntry()
    {
        CompanyWindow w;
        frmMain& main = w.h.open();
        QAction* myWebsite = main.menuEntry(QStringLiteral("mnuViewBrowserMy"));
        QVERIFY(!myWebsite->isEnabled());
        w.open();
        QObject::connect(w.window.get(), &frmCompanyInfo::closedByAdviser, &main,
                         [&main] { main.refreshOwnWebsiteEntry(); });

        w.web()->setText(QStringLiteral("www.mine.com"));
        QVERIFY(w.window->cmdClose_Click());
        QVERIFY(myWebsite->isEnabled());

        w.window->show();
        w.web()->setText(QStringLiteral("HTTP://"));
        QVERIFY(w.window->cmdClose_Click());
        QVERIFY(!myWebsite->isEnabled());

        w.window->show();
        w.web()->clear();
        QVERIFY(w.window->cmdClose_Click());
        QCOMPARE(w.h.settings.get(keys::webAddress()), QStringLiteral("http://"));
        QVERIFY(!myWebsite->isEnabled());
    }

    void exitProgramClosesFirst()
    {
        CompanyWindow w;
        w.open();
        int exits = 0;
        QObject::connect(w.window.get(), &frmCompanyInfo::exitProgramRequested, w.window.get(),
                         [&] { ++exits; });
        w.field(4)->setText(QStringLiteral("Portland"));
        w.h.prompts.setNextAnswers({UserPrompts::Answer::Yes});
        w.entry(QStringLiteral("mnuFileExit"))->trigger();
        QCOMPARE(exits, 1);
        QCOMPARE(w.stored()[4], QStringLiteral("Portland"));
        QVERIFY(!w.window->isVisible());
    }

    // Enter on a button that has the focus presses it; in a box it presses nothing, so a
    // half-typed address is not saved behind the adviser's back.
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("message"); // the message shown, if any
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QString>("storedCity");

        QTest::newRow("Save") << u"cmdSave"_s << int(Qt::Key_Return) << u"Save Confirmation"_s
                              << false << u"Portland"_s;
        QTest::newRow("Save, keypad Enter") << u"cmdSave"_s << int(Qt::Key_Enter)
                                            << u"Save Confirmation"_s << false << u"Portland"_s;
        QTest::newRow("Close") << u"cmdClose"_s << int(Qt::Key_Return) << QString() << true
                               << u"Salem"_s;
        QTest::newRow("Help") << u"cmdHelp"_s << int(Qt::Key_Return) << u"F1 Help Company"_s
                              << false << u"Salem"_s;
        QTest::newRow("in a box") << u"txtFields_4"_s << int(Qt::Key_Return) << QString() << false
                                  << u"Salem"_s;
    }

    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(QString, message);
        QFETCH(bool, closed);
        QFETCH(QString, storedCity);

        CompanyWindow w;
        w.open();
        w.field(4)->setText(QStringLiteral("Portland"));
        // Close asks about the changed city: No keeps the stored row.
        w.h.prompts.setNextAnswers({UserPrompts::Answer::No});
        auto* control = w.window->findChild<QWidget*>(focus);
        control->setFocus(Qt::TabFocusReason);
        QCOMPARE(w.window->focusWidget(), control);
        QTest::keyClick(control, static_cast<Qt::Key>(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);

        QCOMPARE(w.h.messages.isEmpty() ? QString() : w.h.messages.last().title, message);
        QCOMPARE(!w.window->isVisible(), closed);
        QCOMPARE(w.stored()[4], storedCity);
    }

    void fieldHelp()
    {
        CompanyWindow w;
        w.open();
        auto* help = w.window->findChild<QPushButton*>(QStringLiteral("cmdHelp"));
        help->click();
        QCOMPARE(w.h.messages.last().title, QStringLiteral("F1 Help Company"));

        CompanyWindow hidden;
        hidden.h.settings.save(keys::fieldHelpHidden(), QStringLiteral("True"));
        hidden.open();
        QVERIFY(hidden.window->findChild<QPushButton*>(QStringLiteral("cmdHelp"))->isHidden());
    }
};

QTEST_MAIN(FrmCompanyInfo)
#include "tst_frmcompanyinfo.moc"

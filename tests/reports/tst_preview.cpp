// View > Halcyra Documents in the main window: the chosen pages one after another, Previous,
// Print and Flyers showing the same page again, the tick rules of the supplement list, and
// Close ending the loop.

#include "flyers/ReaderQueue.h"
#include "reports/windows/PrintWellCommand.h"
#include "reports/windows/ViewWellCommand.h"
#include "reports/windows/frmPreview.h"
#include "support/MainWindowHarness.h"
#include "support/ModalDriver.h"
#include "support/OptionsAnswers.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

using namespace halcyra;
using halcyra::test::MainWindowHarness;
using halcyra::test::whenModalShows;

namespace {

// Runs `action` on the next modal window of type T, passing over others still closing.
template <typename T> void whenShown(QObject* context, std::function<void(T*)> action)
{
    whenModalShows(context, [context, action](QWidget* modal) {
        if (auto* window = qobject_cast<T*>(modal); window && window->isVisible()) {
            action(window);
            return;
        }
        QTimer::singleShot(10, context, [context, action] { whenShown<T>(context, action); });
    });
}

// One visit of the preview: what it showed, then what the adviser does there.
using Visit = std::function<void(frmPreview*)>;

// The options answer View with the report pages chosen; then each visit in turn.
void viewPages(frmMain& window, SettingsStore& settings, const QList<int>& pages,
               QList<Visit> visits, QStringList& seen)
{
    QObject* context = &window;
    auto next = std::make_shared<std::function<void()>>();
    auto remaining = std::make_shared<QList<Visit>>(std::move(visits));
    // The chain refers to itself weakly; the pending callbacks keep it alive.
    *next = [context, remaining, weak = std::weak_ptr(next), &seen] {
        const auto self = weak.lock();
        if (!self || remaining->isEmpty())
            return;
        whenShown<frmPreview>(context, [remaining, next = self, &seen](frmPreview* preview) {
            seen << QStringLiteral("%1 next=%2 previous=%3")
                        .arg(preview->windowTitle())
                        .arg(preview->cmdNext->isEnabled())
                        .arg(preview->cmdPrevious->isEnabled());
            const Visit visit = remaining->takeFirst();
            (*next)();
            visit(preview);
        });
    };
    window.viewWell().setOptionsChooser([&settings, pages, next](OptionsMode, QWidget*) {
        (*next)();
        return test::viewAnswer(settings, pages);
    });
}

QListWidgetItem* itemStarting(QListWidget* list, const QString& start)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().startsWith(start) &&
            (start.size() || list->item(i)->text().isEmpty()))
            return list->item(i);
    return nullptr;
}

} // namespace

class PreviewTest : public QObject
{
    Q_OBJECT

private slots:
    // The command acts on the options' answer: a cancel shows no page and opens nothing.
    void cancelledChoiceShowsNoPage()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Galloway"), QStringLiteral("Elena"));
        frmMain& window = h.open();
        int launches = 0;
        window.viewWell().setLauncher([&](const QString&) {
            ++launches;
            return Status();
        });
        QList<OptionsMode> asked;
        window.viewWell().setOptionsChooser([&](OptionsMode mode, QWidget*) {
            asked << mode;
            OptionsResult answer;
            answer.button = OptionsButton::Cancel;
            return answer;
        });
        int modals = 0;
        whenModalShows(&window, [&](QWidget* modal) {
            ++modals;
            modal->close();
        });
        window.menuEntry(QStringLiteral("mnuViewWell"))->trigger();
        QVERIFY(asked == QList<OptionsMode>{OptionsMode::ViewWell});
        QCOMPARE(h.state.OptionsMode, QStringLiteral("V-Well"));
        QVERIFY(h.state.OptionsCancelled);
        QCOMPARE(modals, 0);
        QCOMPARE(launches, 0);
        QVERIFY(!window.viewWell().preview());
        QVERIFY(h.prompts.shown().isEmpty());
    }

    void onlyTheAnalysisAndClose()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Galloway"), QStringLiteral("Elena"));
        frmMain& window = h.open();
        QStringList seen;
        viewPages(window, h.settings, {3}, {[](frmPreview* p) {
                      QCOMPARE(p->txtPreview->toPlainText(),
                               QStringLiteral("No Scores in High or Very High Percentile.\n\n"));
                      QCOMPARE(p->lblClient->text(), QStringLiteral("Elena Galloway"));
                      p->cmdClose->click();
                  }},
                  seen);
        window.menuEntry(QStringLiteral("mnuViewWell"))->trigger();
        QCOMPARE(seen, QStringList{QStringLiteral("Analysis next=0 previous=0")});
        QCOMPARE(h.state.SelectedDocs, QStringLiteral("00100"));
        QVERIFY(!window.viewWell().preview());
        QVERIFY(h.prompts.shown().isEmpty());
    }

    void previousPrintAndFlyersShowThePageAgain()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Galloway"), QStringLiteral("Elena"));
        h.folder.writeFile(QStringLiteral("Ginseng-Stress-Reliever-Note.pdf"), "%PDF-1.4\n");
        frmMain& window = h.open();
        int launches = 0;
        window.viewWell().setLauncher([&launches](const QString&) {
            ++launches;
            return Status();
        });
        QStringList seen;
        int printerAsked = 0;
        viewPages(window, h.settings, {4, 5},
                  {[](frmPreview* p) { p->cmdNext->click(); },
                   [](frmPreview* p) { p->cmdPrevious->click(); },
                   [&window, &printerAsked](frmPreview* p) {
                       window.printWell().setPrinterChooser([&printerAsked](QPrinter&, QWidget*) {
                           ++printerAsked;
                           return false;
                       });
                       p->cmdPrint->click();
                   },
                   [](frmPreview* p) {
                       // A blank line cannot be ticked; a ticked line allows Flyers.
                       QListWidgetItem* blank = itemStarting(p->lstSuppGuide, QString());
                       QVERIFY(blank);
                       blank->setCheckState(Qt::Checked);
                       QCOMPARE(blank->checkState(), Qt::Unchecked);
                       QVERIFY(!p->cmdFlyers->isEnabled());
                       QListWidgetItem* note =
                           itemStarting(p->lstSuppGuide, QStringLiteral("IMPORTANT NOTE"));
                       note->setCheckState(Qt::Checked);
                       QVERIFY(p->cmdFlyers->isEnabled());
                       p->cmdFlyers->click();
                   },
                   [](frmPreview* p) { p->cmdClose->click(); }},
                  seen);
        window.menuEntry(QStringLiteral("mnuViewWell"))->trigger();

        const QString guide = QStringLiteral("Supplement Guide next=1 previous=0");
        QCOMPARE(seen, (QStringList{guide, QStringLiteral("References next=0 previous=1"), guide,
                                    guide, guide}));
        const Result<QStringList> queued = takeReaderQueue(h.folder.folder());
        QCOMPARE(*queued,
                 (QStringList{h.folder.path(QStringLiteral("References.pdf")),
                              h.folder.path(QStringLiteral("Ginseng-Stress-Reliever-Note.pdf"))}));
        QCOMPARE(launches, 1);
        QCOMPARE(printerAsked, 1);
        QCOMPARE(window.viewWell().missingFlyers().count(), 0);
        QVERIFY(h.prompts.shown().isEmpty());
        QVERIFY(!h.prompts.busy());
    }
};

QTEST_MAIN(PreviewTest)
#include "tst_preview.moc"

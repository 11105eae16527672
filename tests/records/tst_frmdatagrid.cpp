// The record list over the main window's record set, and the backup and restore hand-over.

#include "core/Catalogue.h"
#include "core/SettingsKeys.h"
#include "records/ClientDataSource.h"
#include "records/DatabaseFile.h"
#include "records/windows/frmDataGrid.h"
#include "support/MainWindowHarness.h"
#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"
#include "ui/windows/QtPrompts.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTableView>
#include <QtTest>

using namespace halcyra;
using halcyra::test::MainWindowHarness;
using Answer = UserPrompts::Answer;
using namespace Qt::StringLiterals;

namespace {

QString mainLastName(const MainWindowHarness& h)
{
    return h.child<QLineEdit>(QStringLiteral("txtFields_1"))->text();
}

frmDataGrid* openList(MainWindowHarness& h)
{
    QTest::mouseClick(h.child<QPushButton>(QStringLiteral("cmdList")), Qt::LeftButton);
    MainWindowHarness::settle();
    auto* list = h.child<frmDataGrid>(QStringLiteral("frmDataGrid"));
    return list && list->isVisible() ? list : nullptr;
}

QString cell(frmDataGrid* list, int row, int column)
{
    return list->grid()->model()->index(row, column).data().toString();
}

QPoint cellCentre(frmDataGrid* list, int row, int column)
{
    QTableView* grid = list->grid();
    const QModelIndex index = grid->model()->index(row, column);
    grid->scrollTo(index);
    return grid->visualRect(index).center();
}

void clickHeader(frmDataGrid* list, int column)
{
    QHeaderView* header = list->grid()->horizontalHeader();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    MainWindowHarness::settle();
}

} // namespace

class FrmDataGridTest : public QObject
{
    Q_OBJECT

private slots:
    void doubleClickClosesOnThatClient()
    {
        MainWindowHarness h;
        for (const char* name : {"Cole", "Abel", "Baker"})
            h.addClient(QString::fromLatin1(name), QStringLiteral("Pat"));
        h.open();
        frmDataGrid* list = openList(h);
        QVERIFY(list);
        QCOMPARE(list->windowTitle(), QStringLiteral("Halcyra Client List"));
        QCOMPARE(list->grid()->model()->rowCount(), 3);

        // Selecting a row moves the main window; a double-click closes the list there.
        QTest::mouseClick(list->grid()->viewport(), Qt::LeftButton, {}, cellCentre(list, 1, 2));
        QCOMPARE(mainLastName(h), QStringLiteral("Abel"));
        // A double-click as the window system delivers it: a click, then the double-click.
        QTest::mouseClick(list->grid()->viewport(), Qt::LeftButton, {}, cellCentre(list, 2, 2));
        QTest::mouseDClick(list->grid()->viewport(), Qt::LeftButton, {}, cellCentre(list, 2, 2));
        MainWindowHarness::settle();
        QVERIFY(!list->isVisible());
        QCOMPARE(mainLastName(h), QStringLiteral("Baker"));
        QCOMPARE(h.window().dataSource().absolutePosition(), 2);

        // Moving in the main window moves the list's selection with it.
        openList(h);
        h.window().moveRecord(DataAction::MoveFirst);
        QCOMPARE(list->grid()->currentIndex().row(), 0);
    }

    void filterAndSortKeepTheRecordSetUnlessUnderstood()
    {
        MainWindowHarness h;
        for (const char* name : {"Cole", "Abel", "Baker", "Bell"})
            h.addClient(QString::fromLatin1(name), QStringLiteral("Pat"));
        h.open();
        frmDataGrid* list = openList(h);
        QVERIFY(list);
        auto* filterButton = list->findChild<QPushButton*>(QStringLiteral("cmdFilter"));

        // An empty answer, a cancelled question and a refused text all change nothing.
        h.prompts.setNextTexts(
            {QString(), std::nullopt, QStringLiteral("1=1; DELETE FROM Customers")});
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(filterButton, Qt::LeftButton);
        QCOMPARE(list->grid()->model()->rowCount(), 4);
        QCOMPARE(h.storedCount(), 4);
        QVERIFY(h.prompts.shown().last().text.contains(QStringLiteral("was not understood")));
        QCOMPARE(h.prompts.shown().at(h.prompts.shown().size() - 2).text,
                 QStringLiteral("Enter Filter Expression:"));

        h.prompts.setNextTexts({QStringLiteral("LastName Like 'b*'")});
        QTest::mouseClick(filterButton, Qt::LeftButton);
        QCOMPARE(list->grid()->model()->rowCount(), 2);
        QCOMPARE(h.window().dataSource().recordCount(), 2); // one record set
        QCOMPARE(mainLastName(h), cell(list, list->grid()->currentIndex().row(), 1));

        // Header clicks: ascending, then descending, then staying descending.
        clickHeader(list, 1);
        QCOMPARE(list->sortColumn(), QStringLiteral("[LastName]"));
        QCOMPARE(cell(list, 0, 1), QStringLiteral("Baker"));
        clickHeader(list, 1);
        QCOMPARE(list->sortColumn(), QStringLiteral("[LastName] desc"));
        QCOMPARE(cell(list, 0, 1), QStringLiteral("Bell"));
        clickHeader(list, 1);
        QCOMPARE(list->sortColumn(), QStringLiteral("[LastName] desc"));
        QCOMPARE(cell(list, 0, 1), QStringLiteral("Bell"));

        // Refresh brings every record back, in the order chosen.
        QTest::mouseClick(list->findChild<QPushButton*>(QStringLiteral("cmdRefresh")),
                          Qt::LeftButton);
        QCOMPARE(list->grid()->model()->rowCount(), 4);
        QCOMPARE(cell(list, 0, 1), QStringLiteral("Cole"));
    }

    // The headings are what the main window's labels say; a click on one still sorts by the
    // column's name.
    void headingsAreTheLabels_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("mainLabel");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("sort");
        QTest::newRow("last name") << 1 << u"lblLabels_1"_s << u"Last Name"_s << u"[LastName]"_s;
        QTest::newRow("zip code") << 6 << u"lblLabels_6"_s << u"Zip Code"_s << u"[ZipCode]"_s;
        QTest::newRow("sex") << 15 << u"lblLabels_15"_s << u"Sex (M/F)"_s << u"[Sex]"_s;
        QTest::newRow("score 12A")
            << 19 + 12 << u"lblScore_13"_s << u"Field 12A"_s << u"[Field13]"_s;
        QTest::newRow("score 1") << 19 << u"lblScore_1"_s << u"Field 1"_s << u"[Field1]"_s;
    }

    void headingsAreTheLabels()
    {
        QFETCH(int, column);
        QFETCH(QString, mainLabel);
        QFETCH(QString, heading);
        QFETCH(QString, sort);
        MainWindowHarness h;
        h.addClient(QStringLiteral("Abel"), QStringLiteral("Pat"));
        h.open();
        frmDataGrid* list = openList(h);
        QVERIFY(list);
        const QString shown =
            list->grid()->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        QCOMPARE(shown, heading);
        auto* label = h.child<QLabel>(mainLabel);
        QVERIFY(label);
        QCOMPARE(label->text().remove(u':').remove(u'&').simplified(), heading);
        clickHeader(list, column);
        QCOMPARE(list->sortColumn(), sort);
    }

    // Once the list is closed on a filter, the main window says so under its arrows, and
    // View > Show All Clients brings every client back.
    void theMainWindowTellsOfTheFilter()
    {
        MainWindowHarness h;
        for (const char* name : {"Cole", "Abel", "Baker", "Bell"})
            h.addClient(QString::fromLatin1(name), QStringLiteral("Pat"));
        h.open();
        auto* notice = h.child<QLabel>(QStringLiteral("lblFilter"));
        QAction* showAll = h.child<QAction>(QStringLiteral("mnuViewAllClients"));
        QVERIFY(notice && showAll);
        QVERIFY(notice->isHidden());
        QVERIFY(!showAll->isEnabled());

        frmDataGrid* list = openList(h);
        QVERIFY(list);
        h.prompts.setNextTexts({QStringLiteral("LastName Like 'b*'")});
        QTest::mouseClick(list->findChild<QPushButton*>(QStringLiteral("cmdFilter")),
                          Qt::LeftButton);
        list->close();
        MainWindowHarness::settle();
        QVERIFY(!notice->isHidden());
        QCOMPARE(notice->text(), QStringLiteral("Filtered: 2 of 4 clients (LastName Like 'b*'). "
                                                "View > Show All Clients brings back every "
                                                "client."));
        QVERIFY(showAll->isEnabled());

        showAll->trigger();
        MainWindowHarness::settle();
        QCOMPARE(h.window().dataSource().recordCount(), 4);
        QVERIFY(notice->isHidden());
        QVERIFY(!showAll->isEnabled());
        h.window().moveRecord(DataAction::MoveLast);
        QCOMPARE(mainLastName(h), QStringLiteral("Bell"));
    }

    void editingACellIsAnEditOfTheClient()
    {
        MainWindowHarness h;
        const qint64 cole = h.addClient(QStringLiteral("Cole"), QStringLiteral("Pat"));
        h.addClient(QStringLiteral("Abel"), QStringLiteral("Sam"));
        h.open();
        frmDataGrid* list = openList(h);
        QVERIFY(list);
        QTableView* grid = list->grid();
        const auto typeInto = [&](int row, int column, const QString& text) {
            const QModelIndex index = grid->model()->index(row, column);
            grid->setCurrentIndex(index);
            grid->edit(index);
            auto* editor = grid->viewport()->findChild<QLineEdit*>();
            QVERIFY(editor);
            editor->selectAll();
            QTest::keyClicks(editor, text);
            QTest::keyClick(editor, Qt::Key_Return);
            MainWindowHarness::settle();
        };

        // The main window's rules apply, and the main window shows the change.
        h.prompts.setNextAnswers({Answer::Yes});
        typeInto(0, 5, QStringLiteral("ca"));
        QCOMPARE(h.stored(cole, 5).toString(), QStringLiteral("CA"));
        QCOMPARE(h.child<QLineEdit>(QStringLiteral("txtFields_5"))->text(), QStringLiteral("CA"));
        QCOMPARE(h.prompts.shown().last().text, QStringLiteral("Commit changes?"));

        // No to "Commit changes?" keeps the stored value; a rejected sex is not even asked.
        h.prompts.setNextAnswers({Answer::No});
        typeInto(0, 4, QStringLiteral("Salem"));
        QCOMPARE(h.stored(cole, 4).toString(), QString());
        QCOMPARE(cell(list, 0, 4), QString());
        typeInto(0, 15, QStringLiteral("m"));
        QCOMPARE(h.messages.last().title, QStringLiteral("Empty Field"));
        QCOMPARE(h.stored(cole, 15).toString(), QString());

        // Delete Current Row? No keeps the client, Yes deletes it.
        grid->setCurrentIndex(grid->model()->index(1, 1));
        h.prompts.setNextAnswers({Answer::No, Answer::Yes});
        list->deleteCurrentRow();
        QCOMPARE(h.storedCount(), 2);
        list->deleteCurrentRow();
        QCOMPARE(h.prompts.shown().last().text, QStringLiteral("Delete Current Row?\n\nSam Abel"));
        QCOMPARE(h.storedCount(), 1);
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(mainLastName(h), QStringLiteral("Cole"));
    }

    // The list from the keyboard alone: arrow keys choose a row, Enter closes the list on that
    // client as a double-click does, Escape closes it wherever the cursor is; in a cell editor
    // Enter stores the cell and Escape drops the edit, and the list stays.
    void keysOfTheList_data()
    {
        QTest::addColumn<QString>("keys");  // "edit" opens the cell editor on the chosen row
        QTest::addColumn<QString>("focus"); // the control the keys go to
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QString>("storedFirstName"); // of the chosen client (Baker)

        QTest::newRow("Enter on a row")
            << u"Down Down Return"_s << u"grdDataGrid"_s << true << u"Pat"_s;
        QTest::newRow("Escape in the grid")
            << u"Down Down Escape"_s << u"grdDataGrid"_s << true << u"Pat"_s;
        QTest::newRow("Escape on a button") << u"Escape"_s << u"cmdSort"_s << true << u"Pat"_s;
        QTest::newRow("Enter in a cell editor")
            << u"Down Down edit Return"_s << u"grdDataGrid"_s << false << u"Kim"_s;
        QTest::newRow("Escape in a cell editor")
            << u"Down Down edit Escape"_s << u"grdDataGrid"_s << false << u"Pat"_s;
    }

    void keysOfTheList()
    {
        QFETCH(QString, keys);
        QFETCH(QString, focus);
        QFETCH(bool, closes);
        QFETCH(QString, storedFirstName);

        MainWindowHarness h;
        h.addClient(QStringLiteral("Cole"), QStringLiteral("Pat"));
        h.addClient(QStringLiteral("Abel"), QStringLiteral("Pat"));
        const qint64 baker = h.addClient(QStringLiteral("Baker"), QStringLiteral("Pat"));
        h.open();
        frmDataGrid* list = openList(h);
        QVERIFY(list);
        QTableView* grid = list->grid();
        list->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(list));
        grid->setCurrentIndex(grid->model()->index(0, 2));
        list->findChild<QWidget*>(focus)->setFocus();
        h.prompts.setNextAnswers({Answer::Yes}); // Commit changes?

        for (const QString& key : keys.split(u' ')) {
            if (key == u"edit") {
                QTest::keyClick(grid, Qt::Key_F2);
                auto* editor = grid->viewport()->findChild<QLineEdit*>();
                QVERIFY(editor);
                QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(editor, QStringLiteral("Kim"));
                continue;
            }
            const Qt::Key code = key == u"Down"     ? Qt::Key_Down
                                 : key == u"Return" ? Qt::Key_Return
                                                    : Qt::Key_Escape;
            QTest::keyClick(QApplication::focusWidget(), code);
            MainWindowHarness::settle();
        }
        QCOMPARE(!list->isVisible(), closes);
        if (keys.startsWith(u"Down"))
            QCOMPARE(mainLastName(h), QStringLiteral("Baker"));
        QCOMPARE(h.stored(baker, 2).toString(), storedFirstName);
        QCOMPARE(h.child<QLineEdit>(QStringLiteral("txtFields_2"))->text(),
                 keys.startsWith(u"Down") ? storedFirstName : QStringLiteral("Pat"));
    }

    // Delete on a row asks with the client's name, and Enter answers No: the client stays.
    void deleteAsksWithTheNameAndEnterKeeps()
    {
        test::TempProgramFolder folder;
        folder.createDatabase();
        const QString path = folder.path(ProgramState::DatabaseFileName());
        const Status opened = openDatabase(path, QStringLiteral("list"));
        QVERIFY2(opened, qPrintable(opened.error()));
        {
            ClientDataSource records(QSqlDatabase::database(QStringLiteral("list")));
            QVERIFY(records.open());
            for (const char* name : {"Cole", "Abel"}) {
                records.addNew();
                ClientRecord client = records.current();
                client.setText(columns::detail(1), QString::fromLatin1(name));
                client.setText(columns::detail(2), QStringLiteral("Sam"));
                const Status stored = records.update(client);
                QVERIFY2(stored, qPrintable(stored.error()));
            }
            QtPrompts prompts;
            ErrorReporter reporter(folder.folder(), prompts);
            frmDataGrid list(records, frmDataGrid::RecordsetType::Dynaset, Catalogue::builtIn(),
                             reporter, {});
            list.show();
            QVERIFY(QTest::qWaitForWindowActive(&list));
            list.grid()->setCurrentIndex(list.grid()->model()->index(1, 1));
            list.grid()->setFocus();

            QString asked;
            bool noIsDefault = false;
            bool noHasFocus = false;
            QObject watch;
            test::whenModalShows(&watch, [&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                if (box && QTest::qWaitForWindowActive(box)) {
                    asked = box->text();
                    noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
                    noHasFocus = box->focusWidget() == box->button(QMessageBox::No);
                }
                QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal,
                                Qt::Key_Return);
            });
            QTest::keyClick(list.grid(), Qt::Key_Delete);
            QCOMPARE(asked, QStringLiteral("Delete Current Row?\n\nSam Abel"));
            QVERIFY(noIsDefault);
            QVERIFY(noHasFocus);
            QCOMPARE(records.recordCount(), 2);
            QCOMPARE(list.grid()->model()->rowCount(), 2);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("list"));
    }

    void backupHandOver()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Cole"), QStringLiteral("Pat"));
        h.open();
        QAction* backup = h.child<QAction>(QStringLiteral("mnuFileUtilBackup"));
        QAction* restore = h.child<QAction>(QStringLiteral("mnuFileUtilRestore"));

        // Cancel in the message: the program runs on and nothing is written.
        h.cancelMessages = true;
        backup->trigger();
        h.cancelMessages = false;
        QCOMPARE(h.messages.last().title, QStringLiteral("Backup/Restore"));
        QCOMPARE(h.messages.last().text,
                 QStringLiteral("Click OK to close Halcyra and go to Backup Utility.  Click Cancel "
                                "to cancel Backup and return to the Halcyra"));
        QVERIFY(!h.state.OptionsCancelled);
        QVERIFY(!h.settings.contains(keys::hcyLocation().application, keys::hcyLocation().section,
                                     keys::hcyLocation().key));
        QVERIFY(h.window().isVisible());

        // No utility in the program folder: reported with the folder, the program runs on.
        restore->trigger();
        QCOMPARE(h.messages.last().text,
                 QStringLiteral("Click OK to close Halcyra and go to Restore Utility.  Click "
                                "Cancel to cancel Restore and return to the Halcyra"));
        QVERIFY(h.prompts.shown().last().text.contains(
            QDir::toNativeSeparators(h.state.DatabaseFolder)));
        QVERIFY(h.prompts.shown().last().text.contains(QStringLiteral("mnuFileUtilRestore_Click")));
        QVERIFY(h.window().isVisible());

        // OK: the database's place is stored, the utility starts in the folder, the program ends;
        // a cancel left by an earlier window (Setup > Options) does not count as this answer.
        h.state.OptionsCancelled = true;
        h.folder.writeFile(QStringLiteral("BuRest"), "#!/bin/sh\necho started > started.txt\n");
        QFile::setPermissions(h.folder.path(QStringLiteral("BuRest")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        backup->trigger();
        QCOMPARE(h.settings.get(keys::hcyLocation()), h.state.DatabaseFullPath);
        QVERIFY(!h.window().isVisible());
        QTRY_VERIFY(QFile::exists(h.folder.path(QStringLiteral("started.txt"))));
    }
};

QTEST_MAIN(FrmDataGridTest)
#include "tst_frmdatagrid.moc"

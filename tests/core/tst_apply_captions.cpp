#include "core/Catalogue.h"
#include "core/windows/ApplyCatalogueCaptions.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace halcyra;
using namespace Qt::StringLiterals;

namespace {

const QString kCatalogue = uR"(1000 = &File
1001 = Halcyra Data Entry
1002 = E&xit
1003 = Print the client's profile
1004 = Client Details
1005 = Shows the client's details
1006 = Scores
1007 = &Save
1008 = Saves the record
1009 = Last Name:
1010 = Company
1011 = Client Name
1012 = Record
)"_s;

// A small window with one control of each kind the caption loader knows.
struct TestWindow
{
    TestWindow()
    {
        window.setProperty("tag", u"1001"_s);
        fileMenu = window.menuBar()->addMenu(u"1000"_s);
        exitAction = fileMenu->addAction(u"1002"_s);
        openAction = fileMenu->addAction(u"Open"_s);
        missingMenu = window.menuBar()->addMenu(u"4242"_s);

        toolbar = window.addToolBar(u"Main"_s);
        printAction = toolbar->addAction(u"Print"_s);
        printAction->setToolTip(u"1003"_s);

        auto* central = new QWidget(&window);
        auto* layout = new QVBoxLayout(central);
        label = new QLabel(u"Old caption"_s, central);
        label->setProperty("tag", u"1009"_s);
        missingLabel = new QLabel(u"Stays"_s, central);
        missingLabel->setProperty("tag", u"4242"_s);
        untagged = new QLabel(u"No tag"_s, central);

        tabs = new QTabWidget(central);
        tabs->addTab(new QWidget, u"tab one"_s);
        tabs->addTab(new QWidget, u"tab two"_s);
        tabs->tabBar()->setTabData(0, u"1004"_s);
        tabs->setTabToolTip(0, u"1005"_s);
        tabs->tabBar()->setTabData(1, u"1006"_s);
        tabs->setTabToolTip(1, u"not a number"_s);

        save = new QPushButton(u"Save"_s, central);
        save->setProperty("tag", u"1007"_s);
        save->setToolTip(u"1008"_s);
        plain = new QPushButton(u"Plain"_s, central);
        plain->setToolTip(u"Just a tip"_s);

        lastName = new QLineEdit(u"Marsh"_s, central);
        lastName->setProperty("tag", u"1009"_s);

        frame = new QGroupBox(u"frame"_s, central);
        frame->setProperty("tag", u"1010"_s);

        list = new QTreeWidget(central);
        list->setHeaderLabels({u"Name"_s, u"ID"_s});
        list->headerItem()->setData(0, Qt::UserRole, u"1011"_s);

        for (QWidget* w : std::initializer_list<QWidget*>{label, missingLabel, untagged, tabs, save,
                                                          plain, lastName, frame, list})
            layout->addWidget(w);
        window.setCentralWidget(central);
    }

    QMainWindow window;
    QMenu* fileMenu;
    QMenu* missingMenu;
    QAction* exitAction;
    QAction* openAction;
    QToolBar* toolbar;
    QAction* printAction;
    QLabel* label;
    QLabel* missingLabel;
    QLabel* untagged;
    QTabWidget* tabs;
    QPushButton* save;
    QPushButton* plain;
    QLineEdit* lastName;
    QGroupBox* frame;
    QTreeWidget* list;
};

Catalogue testCatalogue()
{
    Catalogue catalogue;
    QStringList errors;
    catalogue.addSource(u"captions.txt"_s, kCatalogue, &errors);
    if (!errors.isEmpty())
        qFatal("%s", qPrintable(errors.join(u'\n')));
    return catalogue;
}

} // namespace

class ApplyCaptionsTest : public QObject
{
    Q_OBJECT
private slots:
    void captionsComeFromTheCatalogue();
    void missingNumbersKeepTheirCaptions();
    void secondPassChangesNothing();
};

void ApplyCaptionsTest::captionsComeFromTheCatalogue()
{
    TestWindow w;
    ApplyCatalogueCaptions(w.window, testCatalogue());

    QCOMPARE(w.window.windowTitle(), u"Halcyra Data Entry"_s);
    QCOMPARE(w.fileMenu->title(), u"&File"_s);
    QCOMPARE(w.exitAction->text(), u"E&xit"_s);
    QCOMPARE(w.printAction->toolTip(), u"Print the client's profile"_s);
    QCOMPARE(w.label->text(), u"Last Name:"_s);
    QCOMPARE(w.tabs->tabText(0), u"Client Details"_s);
    QCOMPARE(w.tabs->tabToolTip(0), u"Shows the client's details"_s);
    QCOMPARE(w.tabs->tabText(1), u"Scores"_s);
    QCOMPARE(w.save->text(), u"&Save"_s);
    QCOMPARE(w.save->toolTip(), u"Saves the record"_s);
    QCOMPARE(w.frame->title(), u"Company"_s);
    QCOMPARE(w.list->headerItem()->text(0), u"Client Name"_s);
    // A text box keeps its text; its tag stays for the code that reads it.
    QCOMPARE(w.lastName->text(), u"Marsh"_s);
    QCOMPARE(w.lastName->property("tag").toString(), u"1009"_s);
}

void ApplyCaptionsTest::missingNumbersKeepTheirCaptions()
{
    TestWindow w;
    ApplyCatalogueCaptions(w.window, testCatalogue());

    QCOMPARE(w.missingLabel->text(), u"Stays"_s);
    QCOMPARE(w.untagged->text(), u"No tag"_s);
    QCOMPARE(w.missingMenu->title(), u"4242"_s);
    QCOMPARE(w.openAction->text(), u"Open"_s);
    QCOMPARE(w.printAction->text(), u"Print"_s);
    QCOMPARE(w.tabs->tabToolTip(1), u"not a number"_s);
    QCOMPARE(w.plain->text(), u"Plain"_s);
    QCOMPARE(w.plain->toolTip(), u"Just a tip"_s);
    QCOMPARE(w.list->headerItem()->text(1), u"ID"_s);

    // An empty catalogue changes nothing at all.
    TestWindow untouched;
    ApplyCatalogueCaptions(untouched.window, Catalogue());
    QCOMPARE(untouched.window.windowTitle(), QString());
    QCOMPARE(untouched.fileMenu->title(), u"1000"_s);
    QCOMPARE(untouched.label->text(), u"Old caption"_s);
    QCOMPARE(untouched.save->toolTip(), u"1008"_s);
}

void ApplyCaptionsTest::secondPassChangesNothing()
{
    // Windows are loaded once, but a caption must not be read as a number a second time.
    TestWindow w;
    const Catalogue catalogue = testCatalogue();
    ApplyCatalogueCaptions(w.window, catalogue);
    ApplyCatalogueCaptions(w.window, catalogue);
    QCOMPARE(w.fileMenu->title(), u"&File"_s);
    QCOMPARE(w.save->toolTip(), u"Saves the record"_s);
    QCOMPARE(w.tabs->tabToolTip(0), u"Shows the client's details"_s);
}

QTEST_MAIN(ApplyCaptionsTest)
#include "tst_apply_captions.moc"

#include "app/windows/frmMain.h"

#include "core/BusyCursor.h"
#include "core/Catalogue.h"
#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/Version.h"
#include "core/windows/ApplyCatalogueCaptions.h"
#include "records/ClientDataSource.h"
#include "records/DatabaseFile.h"
#include "records/DetailRules.h"
#include "records/MainWindowRules.h"
#include "records/windows/DataNavigator.h"
#include "records/windows/DetailForm.h"
#include "records/windows/EditBoxes.h"
#include "records/windows/ScoreGrid.h"
#include "records/windows/YesNoFrame.h"
#include "records/windows/frmDataGrid.h"
#include "reports/windows/DailyCommand.h"
#include "reports/windows/PrintQuestionnaireCommand.h"
#include "reports/windows/PrintWellCommand.h"
#include "reports/windows/ViewWellCommand.h"
#include "reports/windows/frmPrnDialog.h"
#include "setup/windows/frmOptions.h"
#include "ui/WebLinks.h"
#include "ui/windows/EnterPressesButton.h"
#include "ui/windows/KeepOnScreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSqlDatabase>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace halcyra {
namespace {

QString label(const char* procedure)
{
    return QStringLiteral("frmMain:Sub ") + QString::fromLatin1(procedure) + QStringLiteral("()");
}

QPushButton* commandButton(QWidget* parent, const char* name, const char* caption, int captionId,
                           const char* toolTip, int toolTipId)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setProperty("tag", captionId);
    // The catalogue number stands in the tool tip until the captions are applied.
    button->setToolTip(toolTipId > 0 ? QString::number(toolTipId) : QString::fromLatin1(toolTip));
    button->setAutoDefault(false);
    return button;
}

} // namespace

frmMain::frmMain(const Catalogue& catalogue, SettingsStore& settings, ProgramState& state,
                 ErrorReporter& reporter, ShowMsgFunction showMsg, QWidget* parent)
    : QMainWindow(parent), m_catalogue(catalogue), m_settings(settings), m_state(state),
      m_reporter(reporter), m_showMsg(std::move(showMsg))
{
    setObjectName(QStringLiteral("frmMain"));
    setProperty("tag", 1049);
    setWindowTitle(QStringLiteral("Halcyra Data Entry"));

    m_menus = buildMainMenus(*this);
    m_details = new DetailForm;
    Frame1 = new YesNoFrame;
    Frame2 = new ScoreGrid(catalogue);
    Data1 = new DataNavigator;
    fraHolder = new QScrollArea(this);
    fraHolder->setObjectName(QStringLiteral("fraHolder"));
    fraHolder->setFrameShape(QFrame::NoFrame);
    fraHolder->setFocusPolicy(Qt::NoFocus);
    fraHolder->setWidgetResizable(true);
    fraHolder->setWidget(buildHolder());
    setCentralWidget(fraHolder);

    connectCommands();
    connectHelp();
    connectBoxes();
    setTabChain();
    m_printWell = std::make_unique<PrintWellCommand>(catalogue, settings, state, reporter);
    m_viewWell =
        std::make_unique<ViewWellCommand>(catalogue, settings, state, reporter, *m_printWell);
    m_daily = std::make_unique<DailyCommand>(catalogue, settings, state, reporter, *m_printWell);
    m_printQuestionnaire =
        std::make_unique<PrintQuestionnaireCommand>(catalogue, settings, state, reporter);
    connectDocumentCommands();
    connectBrowserCommands();
    Form_Load(catalogue);

    // Setup > Options: the plain options dialog, without Print or View.
    connect(m_menus.action(QStringLiteral("mnuSetupOptions")), &QAction::triggered, this,
            [this, &catalogue] {
                m_reporter.trap(label("mnuSetupOptions_Click"), [&] {
                    m_state.OptionsMode.clear();
                    frmOptions dialog(catalogue, m_settings, m_reporter, this);
                    takeOptionsResult(m_state, dialog.run(OptionsMode::Plain));
                });
            });
}

frmMain::~frmMain()
{
    m_data.reset();
    if (!m_connectionName.isEmpty())
        QSqlDatabase::removeDatabase(m_connectionName);
}

QLineEdit* frmMain::lastNameBox() const
{
    return qobject_cast<QLineEdit*>(m_details->box(1));
}

QWidget* frmMain::buildHolder()
{
    auto* holder = new QWidget;
    holder->setObjectName(QStringLiteral("fraHolderContents"));
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(m_details);

    auto* answers = new QHBoxLayout;
    answers->setSpacing(12);
    answers->addWidget(Frame2);
    answers->addWidget(Frame1, 1);
    layout->addLayout(answers);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(12);
    bottom->addWidget(Data1, 1);
    bottom->addWidget(buildButtons());
    layout->addLayout(bottom);
    // In the status bar, where it takes no room from the boxes while it is shown.
    lblFilter = new QLabel;
    lblFilter->setObjectName(QStringLiteral("lblFilter"));
    lblFilter->hide();
    statusBar()->addPermanentWidget(lblFilter);
    layout->addStretch(1);
    return holder;
}

QWidget* frmMain::buildButtons()
{
    auto* buttons = new QWidget;
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    cmdAdd = commandButton(buttons, "cmdAdd", "&New", 1051, "", 1052);
    cmdDelete = commandButton(buttons, "cmdDelete", "&Delete", 1053, "", 1054);
    cmdUpdate = commandButton(buttons, "cmdUpdate", "&Save", 1055, "", 1056);
    cmdList = commandButton(buttons, "cmdList", "&List", 1057, "", 1058);
    // Alt+H belongs to the Help menu; the button's own key is the 1 of F1.
    cmdHelp = commandButton(buttons, "cmdHelp", "Help = F&1", 1059, "", 1060);
    cmdSend = commandButton(buttons, "cmdSend", "Send &Questionnaire", 1061, "", 1062);
    for (QPushButton* button : {cmdAdd, cmdDelete, cmdUpdate, cmdList, cmdHelp, cmdSend}) {
        pressWithEnterWhenFocused(button);
        row->addWidget(button);
    }
    return buttons;
}

void frmMain::connectCommands()
{
    auto entry = [this](const char* name) { return m_menus.action(QString::fromLatin1(name)); };
    connect(cmdAdd, &QPushButton::clicked, this, &frmMain::cmdAdd_Click);
    connect(entry("mnuFileNew"), &QAction::triggered, this, &frmMain::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmMain::cmdDelete_Click);
    connect(cmdUpdate, &QPushButton::clicked, this, &frmMain::cmdUpdate_Click);
    connect(entry("mnuFileSave"), &QAction::triggered, this, &frmMain::cmdUpdate_Click);
    connect(cmdList, &QPushButton::clicked, this, &frmMain::cmdList_Click);
    connect(entry("mnuFileOpen"), &QAction::triggered, this, &frmMain::cmdList_Click);
    connect(cmdSend, &QPushButton::clicked, this, &frmMain::cmdSend_Click);
    connect(entry("mnuFilePageSetup"), &QAction::triggered, this, [this] {
        m_reporter.trap(label("mnuFilePageSetup_Click"), [&] {
            mnuFilePageSetup_Click(programPrinter(), m_reporter.prompts(), this);
        });
    });
    connect(entry("mnuFileUtilBackup"), &QAction::triggered, this,
            &frmMain::mnuFileUtilBackup_Click);
    connect(entry("mnuFileUtilRestore"), &QAction::triggered, this,
            &frmMain::mnuFileUtilRestore_Click);
    connect(entry("mnuFileExit"), &QAction::triggered, this, &frmMain::unloadWithoutQuestion);
    connect(entry("mnuPrintWell"), &QAction::triggered, this, &frmMain::mnuPrintWell_Click);
    connect(entry("mnuSetupCoInfo"), &QAction::triggered, this, &frmMain::companyInfoRequested);
    connect(entry("mnuFileNewAssessment"), &QAction::triggered, this,
            &frmMain::mnuFileNewAssessment_Click);
    connect(entry("mnuViewHistory"), &QAction::triggered, this, &frmMain::mnuViewHistory_Click);
    connect(entry("mnuViewAllClients"), &QAction::triggered, this,
            &frmMain::mnuViewAllClients_Click);
    connect(entry("mnuFileExport"), &QAction::triggered, this, &frmMain::mnuFileExport_Click);
    connect(entry("mnuFileImport"), &QAction::triggered, this, &frmMain::mnuFileImport_Click);
    connect(Data1, &DataNavigator::moveRequested, this, &frmMain::moveRecord);
    // The Records menu presses the arrows themselves: the same checks, saving and moving.
    const std::pair<const char*, DataAction> recordKeys[] = {
        {"mnuRecordsFirst", DataAction::MoveFirst},
        {"mnuRecordsPrevious", DataAction::MovePrevious},
        {"mnuRecordsNext", DataAction::MoveNext},
        {"mnuRecordsLast", DataAction::MoveLast}};
    for (const auto& key : recordKeys) {
        const DataAction action = key.second;
        connect(entry(key.first), &QAction::triggered, Data1,
                [this, action] { Data1->press(action); });
    }

    connect(entry("mnuEditUndo"), &QAction::triggered, this, &frmMain::EditUndoProc);
    connect(entry("mnuEditCut"), &QAction::triggered, this, [this] { cutFrom(activeBox()); });
    connect(entry("mnuEditCopy"), &QAction::triggered, this, [this] { copyFrom(activeBox()); });
    connect(entry("mnuEditPaste"), &QAction::triggered, this, [this] { pasteInto(activeBox()); });
}

void frmMain::setTabChain()
{
    QList<QWidget*> chain = m_details->tabOrder();
    chain += Frame2->tabOrder();
    for (int i = 0; i < YesNoFrame::kBoxes; ++i)
        chain << Frame1->box(i);
    chain << cmdAdd << cmdDelete << cmdUpdate << cmdList << cmdHelp << cmdSend;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void frmMain::Form_Load(const Catalogue& catalogue)
{
    m_connectionName =
        QStringLiteral("frmMain.Data1.%1").arg(reinterpret_cast<quintptr>(this), 0, 16);
    m_reporter.trap(label("Form_Load"), [&] {
        Status opened;
        {
            const BusyCursor busy(m_reporter.prompts());
            opened = openDatabase(m_state.DatabaseFullPath, m_connectionName);
            m_data =
                std::make_unique<ClientDataSource>(QSqlDatabase::database(m_connectionName, false));
            ApplyCatalogueCaptions(*this, catalogue);
            setFieldHelpButtonHidden(m_settings.flag(keys::fieldHelpHidden()));
            refreshOwnWebsiteEntry();
            placeOnScreen();
        }
        if (opened)
            opened = m_data->open();
        if (!opened)
            throw ProgramError(errors::kPathFileAccess, opened.error());
    });
    if (!m_data)
        m_data = std::make_unique<ClientDataSource>(QSqlDatabase());
    // With no client yet the adviser starts on a new record rather than on nothing.
    if (m_data->isEmpty() && !m_data->isNewRecord()) {
        Data1_Validate(DataAction::AddNew);
        m_data->addNew();
    }
    Data1_Reposition();
}

void frmMain::placeOnScreen()
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const auto stored = restoredMainGeometry(
        m_settings.get(keys::mainWindow(QStringLiteral("MainLeft"))),
        m_settings.get(keys::mainWindow(QStringLiteral("MainTop"))),
        m_settings.get(keys::mainWindow(QStringLiteral("MainWidth"))),
        m_settings.get(keys::mainWindow(QStringLiteral("MainHeight"))), screens);
    if (stored) {
        resize(stored->size());
        move(stored->topLeft());
        keepOnScreen(this);
        return;
    }
    // First start: the whole form where the screen allows it, in the middle of the screen.
    const QRect available = screen()->availableGeometry();
    const QSize chrome(24, menuBar()->sizeHint().height() + m_menus.toolBar->sizeHint().height() +
                               statusBar()->sizeHint().height() + 8);
    const QSize wanted =
        (fraHolder->widget()->sizeHint() + chrome).boundedTo(available.size() - QSize(16, 40));
    resize(wanted);
    move(available.center() - QPoint(wanted.width() / 2, wanted.height() / 2));
    keepOnScreen(this);
}

void frmMain::storePlacement()
{
    m_settings.save(keys::mainWindow(QStringLiteral("MainLeft")), QString::number(x()));
    m_settings.save(keys::mainWindow(QStringLiteral("MainTop")), QString::number(y()));
    m_settings.save(keys::mainWindow(QStringLiteral("MainWidth")), QString::number(width()));
    m_settings.save(keys::mainWindow(QStringLiteral("MainHeight")), QString::number(height()));
}

QPrinter& frmMain::programPrinter()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void frmMain::setFieldHelpButtonHidden(bool hidden)
{
    cmdHelp->setHidden(hidden);
}

void frmMain::refreshOwnWebsiteEntry()
{
    m_menus.action(QStringLiteral("mnuViewBrowserMy"))
        ->setEnabled(hasOwnWebAddress(m_settings.get(keys::webAddress())));
}

void frmMain::closeEvent(QCloseEvent* event)
{
    bool quit = false;
    m_reporter.trap(label("Form_QueryUnload"), [&] {
        quit = !m_askBeforeQuitting ||
               m_reporter.prompts().ask(
                   AppTitle(), QStringLiteral("Are you sure you want to quit the program?"),
                   UserPrompts::Buttons::YesNoCancel, UserPrompts::Icon::Warning,
                   UserPrompts::Answer::Yes) == UserPrompts::Answer::Yes;
    });
    m_askBeforeQuitting = true;
    bool keepOpen = !quit;
    if (quit)
        m_reporter.trap(label("Form_Unload"), [&] { keepOpen = !unloadSteps(); });
    if (keepOpen)
        event->ignore();
    else
        event->accept();
}

bool frmMain::unloadSteps()
{
    if (!finishEntryInFocusedBox())
        return false;
    // A record that cannot be saved is never dropped without the adviser's word, but neither
    // may it keep the program from closing while the database refuses every write.
    if (!saveIfEdited() && !quitWithoutSaving())
        return false;
    Data1_Validate(DataAction::Close);
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (*it != this && (*it)->isVisible())
            (*it)->close();
    if (!isMinimized())
        storePlacement();
    return true;
}

bool frmMain::quitWithoutSaving()
{
    const auto answer = m_reporter.prompts().ask(
        AppTitle(),
        QStringLiteral("The changes to this client could not be saved.\n\n"
                       "Quit without saving them?"),
        UserPrompts::Buttons::YesNo, UserPrompts::Icon::Warning, UserPrompts::Answer::No);
    if (answer != UserPrompts::Answer::Yes)
        return false;
    // The log names the record, not the client: it is a plain text file beside the program.
    const QString which =
        m_data->isNewRecord()
            ? QStringLiteral("a new client")
            : QStringLiteral("client record %1").arg(m_data->current().customerId());
    m_reporter.ReportError(QString::number(errors::kPathFileAccess),
                           QStringLiteral("Quit without saving the changes to %1.").arg(which),
                           m_reporter.CurrentProcedureLabel(), ErrorReporter::kStyleOk, {}, 0,
                           false);
    return true;
}

void frmMain::unloadWithoutQuestion()
{
    m_askBeforeQuitting = false;
    close();
}

void frmMain::cmdAdd_Click()
{
    m_reporter.trap(label("cmdAdd_Click"), [&] {
        if (!finishEntryInFocusedBox() || !saveIfEdited())
            return;
        Data1_Validate(DataAction::AddNew);
        m_data->addNew();
        Data1_Reposition();
        putCursorInLastName();
    });
}

void frmMain::cmdDelete_Click()
{
    m_reporter.trap(label("cmdDelete_Click"), [&] {
        processBoxEvents();
        UserPrompts& prompts = m_reporter.prompts();
        if (m_data->recordCount() <= 1 && !m_data->isNewRecord()) {
            prompts.inform(AppTitle(), QStringLiteral("You CAN NOT delete the last record."),
                           UserPrompts::Icon::None);
            return;
        }
        const auto answer = prompts.ask(QStringLiteral("Delete Record Verification"),
                                        deleteQuestion(m_details->text(2), m_details->text(1)),
                                        UserPrompts::Buttons::YesNo, UserPrompts::Icon::None,
                                        UserPrompts::Answer::No);
        if (answer == UserPrompts::Answer::No)
            return;
        Data1_Validate(DataAction::Delete);
        if (const Status deleted = m_data->remove(); !deleted) {
            showDataError(deleted.error());
            return;
        }
        Data1_Reposition();
    });
}

void frmMain::cmdUpdate_Click()
{
    m_reporter.trap(label("cmdUpdate_Click"), [&] {
        if (!finishEntryInFocusedBox())
            return;
        if (m_data->isNewRecord() && !isEdited(m_data->current(), formOnScreen())) {
            // A new record with nothing typed: nothing to keep, back to where the adviser was.
            if (const Status cancelled = m_data->cancelNew(); !cancelled)
                showDataError(cancelled.error());
        } else if (!saveIfEdited()) {
            return;
        }
        Data1_Validate(DataAction::Update);
        Data1_Reposition();
    });
}

void frmMain::mnuPrintWell_Click()
{
    m_reporter.trap(label("mnuPrintWell_Click"), [&] {
        // The report is made from the stored record, so what is on screen is saved first; a
        // record that could not be saved is not printed.
        cmdUpdate_Click();
        if (m_data->isNewRecord() || isEdited(m_data->current(), formOnScreen()))
            return;
        m_printWell->run(m_data->current(), QSqlDatabase::database(m_connectionName, false),
                         programPrinter(), this);
    });
}

void frmMain::cmdList_Click()
{
    m_reporter.trap(label("cmdList_Click"), [&] {
        // The list shows what is stored, so the record on screen is stored first.
        if (!finishEntryInFocusedBox() || !saveIfEdited())
            return;
        const BusyCursor busy(m_reporter.prompts());
        if (!m_listIndexesChecked) {
            // Databases made before the list's indexes get them once; without them the list
            // still works, only slower, so the reason goes to the log.
            m_listIndexesChecked = true;
            QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
            const Status indexed = ensureListIndexes(db);
            if (!indexed)
                m_reporter.ReportError(QString::number(errors::kPathFileAccess), indexed.error(),
                                       label("cmdList_Click"), ErrorReporter::kStyleOk, {}, 0,
                                       false);
        }
        if (!m_listWindow) {
            frmDataGrid::MainWindowLink link;
            link.leaveRecord = [this] { return finishEntryInFocusedBox() && saveIfEdited(); };
            link.recordMoved = [this] {
                // With its last record deleted the set is empty: a new record, as at start.
                if (m_data->isEmpty() && !m_data->isNewRecord()) {
                    Data1_Validate(DataAction::AddNew);
                    m_data->addNew();
                } else {
                    Data1_Validate(DataAction::Bookmark);
                }
                Data1_Reposition();
            };
            link.showMsg = m_showMsg;
            m_listWindow = new frmDataGrid(*m_data, frmDataGrid::RecordsetType::Dynaset,
                                           m_catalogue, m_reporter, std::move(link), this);
            // Over the main window, a little down and to the right, not in a screen corner.
            m_listWindow->move(frameGeometry().topLeft() + QPoint(48, 48));
        } else {
            m_listWindow->followRecordSet();
        }
        m_listWindow->setWindowTitle(QStringLiteral("Halcyra Client List"));
        m_listWindow->show();
        m_listWindow->raise();
        m_listWindow->activateWindow();
    });
}

void frmMain::mnuViewAllClients_Click()
{
    m_reporter.trap(label("mnuViewAllClients_Click"), [&] {
        if (m_data->query().filter.text.trimmed().isEmpty())
            return;
        if (!finishEntryInFocusedBox() || !saveIfEdited())
            return;
        RecordQuery all;
        all.sort = m_data->query().sort;
        if (const Status shown = m_data->setOrderAndFilter(all); !shown) {
            showDataError(shown.error());
            return;
        }
        Data1_Validate(DataAction::Bookmark);
        Data1_Reposition();
    });
}

void frmMain::mnuFileUtilBackup_Click()
{
    m_reporter.trap(label("mnuFileUtilBackup_Click"), [&] { handOverToBackupUtility(true); });
}

void frmMain::mnuFileUtilRestore_Click()
{
    m_reporter.trap(label("mnuFileUtilRestore_Click"), [&] { handOverToBackupUtility(false); });
}

void frmMain::handOverToBackupUtility(bool backup)
{
    const QString MessageText =
        backup ? QStringLiteral("Click OK to close Halcyra and go to Backup Utility.  Click "
                                "Cancel to cancel Backup and return to the Halcyra")
               : QStringLiteral("Click OK to close Halcyra and go to Restore Utility.  Click "
                                "Cancel to cancel Restore and return to the Halcyra");
    // Only this message's answer counts: a cancel left by an earlier window (Setup > Options)
    // would otherwise stop the utility without a word while the message is switched off.
    m_state.OptionsCancelled = false;
    m_showMsg(QStringLiteral("Backup/Restore"), MessageText);
    if (m_state.OptionsCancelled) {
        m_state.OptionsCancelled = false;
        return;
    }
    // Whatever is typed is stored before the utility reads the file.
    if (!finishEntryInFocusedBox() || !saveIfEdited())
        return;
    if (backup)
        m_settings.save(keys::hcyLocation(), m_state.DatabaseFullPath);
#ifdef Q_OS_WIN
    const QString program = m_state.DatabaseFolder + QStringLiteral("BuRest.exe");
#else
    const QString program = m_state.DatabaseFolder + QStringLiteral("BuRest");
#endif
    if (!QProcess::startDetached(program, {}, m_state.DatabaseFolder)) {
        // The program keeps running: the adviser has lost nothing and can try again.
        m_reporter.ReportError(QString::number(errors::kFileNotFound),
                               QStringLiteral("The backup utility %1 could not be started from "
                                              "the folder %2.")
                                   .arg(QDir::toNativeSeparators(program),
                                        QDir::toNativeSeparators(m_state.DatabaseFolder)),
                               m_reporter.CurrentProcedureLabel());
        return;
    }
    unloadWithoutQuestion();
}

void frmMain::moveRecord(DataAction action)
{
    m_reporter.trap(label("Data1_Validate"), [&] {
        if (!finishEntryInFocusedBox() || !saveIfEdited())
            return;
        Data1_Validate(action);
        Status moved;
        switch (action) {
        case DataAction::MoveFirst:
            moved = m_data->moveFirst();
            break;
        case DataAction::MovePrevious:
            moved = m_data->movePrevious();
            break;
        case DataAction::MoveNext:
            moved = m_data->moveNext();
            break;
        case DataAction::MoveLast:
            moved = m_data->moveLast();
            break;
        default:
            break;
        }
        if (!moved)
            showDataError(moved.error());
        Data1_Reposition();
    });
}

} // namespace halcyra

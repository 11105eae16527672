// The company window's controls, loading, and what entering and changing a box does.

#include "setup/windows/frmCompanyInfo.h"

#include "core/BusyCursor.h"
#include "core/ErrorReporter.h"
#include "core/HelpContexts.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "records/CompanyRecord.h"
#include "records/windows/EditBoxes.h"
#include "ui/ReadableColours.h"
#include "ui/windows/EnterPressesButton.h"
#include "ui/windows/KeepOnScreen.h"

#include <QAction>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace halcyra {
namespace {

QString label(const char* procedure)
{
    return QStringLiteral("frmCompanyInfo:Sub ") + QString::fromLatin1(procedure) +
           QStringLiteral("()");
}

QLabel* redAsterisk(QWidget* parent)
{
    auto* star = new QLabel(QStringLiteral("*"), parent);
    QPalette palette = star->palette();
    palette.setColor(QPalette::WindowText, meaningColour(Qt::red, palette));
    star->setPalette(palette);
    QFont bold = star->font();
    bold.setBold(true);
    star->setFont(bold);
    return star;
}

// Short fields get a box about as wide as what they hold; the long ones take the row.
int boxWidthFor(const QLineEdit& box, int maxLength)
{
    const int characters = maxLength <= 2 ? 4 : maxLength <= 10 ? 12 : 22;
    return box.fontMetrics().horizontalAdvance(QLatin1Char('M')) * characters;
}

} // namespace

frmCompanyInfo::frmCompanyInfo(SettingsStore& settings, ProgramState& state,
                               ErrorReporter& reporter, ShowMsgFunction showMsg, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_state(state), m_reporter(reporter),
      m_showMsg(std::move(showMsg))
{
    setObjectName(QStringLiteral("frmCompanyInfo"));
    setWindowTitle(QStringLiteral("Company Info"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(12);
    buildMenus();
    layout->addWidget(buildFields());
    auto* note = new QLabel(QStringLiteral("Fields marked with a red asterisk are mandatory."));
    note->setObjectName(QStringLiteral("lblMandatory"));
    layout->addWidget(note);
    layout->addWidget(buildButtons());

    connectBoxes();
    Form_Load();
}

QWidget* frmCompanyInfo::buildFields()
{
    auto* panel = new QWidget;
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    grid->setColumnStretch(2, 1);
    int row = 0;
    for (int i = 0; i < kCompanyFieldCount; ++i, ++row) {
        const CompanyField& field = companyFields()[static_cast<size_t>(i)];
        auto* caption = new QLabel(QString::fromLatin1(field.label), panel);
        caption->setObjectName(QStringLiteral("lblLabels_%1").arg(i));
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* box = new QLineEdit(panel);
        box->setObjectName(QStringLiteral("txtFields_%1").arg(i));
        box->setMaxLength(field.maxLength);
        box->setProperty("HelpContextID", field.helpTopic);
        grid->addWidget(caption, row, 0);
        if (field.required)
            grid->addWidget(redAsterisk(panel), row, 1);
        if (field.maxLength <= 30) {
            box->setFixedWidth(boxWidthFor(*box, field.maxLength));
            grid->addWidget(box, row, 2, Qt::AlignLeft);
        } else {
            box->setMinimumWidth(boxWidthFor(*box, field.maxLength) * 3 / 2);
            grid->addWidget(box, row, 2);
        }
        lblLabels[static_cast<size_t>(i)] = caption;
        txtFields[static_cast<size_t>(i)] = box;
    }
    grid->setRowMinimumHeight(row++, 8);
    auto* webCaption = new QLabel(QStringLiteral("My Website:"), panel);
    webCaption->setObjectName(QStringLiteral("lblWeb"));
    webCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtWeb = new QLineEdit(panel);
    txtWeb->setObjectName(QStringLiteral("txtWeb"));
    txtWeb->setMaxLength(100);
    txtWeb->setProperty("HelpContextID", help::kCompanyOptional);
    txtWeb->setText(QStringLiteral("http://"));
    grid->addWidget(webCaption, row, 0);
    grid->addWidget(txtWeb, row, 2);
    return panel;
}

QWidget* frmCompanyInfo::buildButtons()
{
    auto* buttons = new QWidget;
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    cmdSave = new QPushButton(QStringLiteral("&Save"), buttons);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), buttons);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setToolTip(QStringLiteral("Closes window without Saving changes."));
    // Alt+H opens the Help menu; the button's own key is the 1 of F1.
    cmdHelp = new QPushButton(QStringLiteral("Help = F&1"), buttons);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdHelp->setToolTip(QStringLiteral("Place cursor in a field or tab to a button and press the "
                                       "F1 key for help with that item."));
    row->addStretch(1);
    for (QPushButton* button : {cmdSave, cmdClose, cmdHelp}) {
        // Enter in a box must not press a button behind the adviser's back; on a button that
        // has the focus it presses that button.
        button->setAutoDefault(false);
        pressWithEnterWhenFocused(button);
        row->addWidget(button);
    }

    connect(cmdSave, &QPushButton::clicked, this, &frmCompanyInfo::cmdSave_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmCompanyInfo::cmdClose_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmCompanyInfo::cmdHelp_Click);
    return buttons;
}

void frmCompanyInfo::buildMenus()
{
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("mnuCompanyInfo"));
    layout()->setMenuBar(bar);
    auto add = [this](QMenu* menu, const char* name, const QString& caption,
                      const QKeySequence& shortcut = {}) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        m_menuEntries.insert(action->objectName(), action);
        return action;
    };

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    connect(add(file, "mnuFileSave", QStringLiteral("&Save")), &QAction::triggered, this,
            &frmCompanyInfo::cmdSave_Click);
    connect(add(file, "mnuFileClose", QStringLiteral("C&lose Window")), &QAction::triggered, this,
            &frmCompanyInfo::cmdClose_Click);
    file->addSeparator();
    connect(add(file, "mnuFileExit", QStringLiteral("E&xit Program")), &QAction::triggered, this,
            &frmCompanyInfo::mnuFileExit_Click);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    QAction* undo = add(edit, "mnuEditUndo", QStringLiteral("&Undo"), QKeySequence::Undo);
    undo->setEnabled(false);
    connect(undo, &QAction::triggered, this, &frmCompanyInfo::EditUndoProc);
    edit->addSeparator();
    connect(add(edit, "mnuEditCut", QStringLiteral("Cu&t")), &QAction::triggered, this,
            [this] { cutFrom(activeBox()); });
    connect(add(edit, "mnuEditCopy", QStringLiteral("&Copy")), &QAction::triggered, this,
            [this] { copyFrom(activeBox()); });
    connect(add(edit, "mnuEditPaste", QStringLiteral("&Paste")), &QAction::triggered, this,
            [this] { pasteInto(activeBox()); });

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    auto contents = [this] { emit helpContentsRequested(); };
    // F1 itself is the program's: it opens the topic of the field with the focus.
    connect(add(help, "mnuHelpContents", QStringLiteral("&Contents")), &QAction::triggered, this,
            contents);
}

void frmCompanyInfo::connectBoxes()
{
    auto* focusEvents = new BoxFocusEvents(this);
    for (int i = 0; i < kCompanyFieldCount; ++i) {
        QLineEdit* box = txtFields[static_cast<size_t>(i)];
        focusEvents->watch(box);
        connect(box, &QLineEdit::textEdited, this, [this, i] { txtFields_Change(i); });
    }
    // The web address takes part in Undo like the fields.
    focusEvents->watch(txtWeb);
    connect(txtWeb, &QLineEdit::textEdited, this, [this] { enableUndo(); });
    // The focus is taken up once it has settled, so the selection made here is the one kept.
    connect(focusEvents, &BoxFocusEvents::entered, this, [this](QWidget* entered) {
        QTimer::singleShot(0, this, [this, box = QPointer<QWidget>(entered)] {
            if (!box || !box->hasFocus())
                return;
            if (box == txtWeb)
                rememberForUndo(txtWeb);
            for (int i = 0; i < kCompanyFieldCount; ++i)
                if (box == txtFields[static_cast<size_t>(i)])
                    txtFields_GotFocus(i);
        });
    });
    QWidget::setTabOrder(txtFields.back(), txtWeb);
    QWidget::setTabOrder(txtWeb, cmdSave);
}

void frmCompanyInfo::Form_Load()
{
    m_reporter.trap(label("Form_Load"), [&] {
        const BusyCursor busy(m_reporter.prompts());
        const Result<CompanyInfo> row = readCompanyRow(m_state.DatabaseFullPath);
        const CompanyInfo fields = row ? *row : CompanyInfo();
        for (int i = 0; i < kCompanyFieldCount; ++i) {
            QLineEdit* box = txtFields[static_cast<size_t>(i)];
            box->setEnabled(true);
            box->setText(fields[i]);
            m_state.CompanyInfoLines[i] = box->text();
        }
        txtWeb->setText(withWebScheme(m_settings.get(keys::webAddress())));
        setFieldHelpButtonHidden(m_settings.flag(keys::fieldHelpHidden()));
        if (!row)
            showDataError(row.error());
    });
}

CompanyInfo frmCompanyInfo::fieldTexts() const
{
    CompanyInfo fields;
    for (int i = 0; i < kCompanyFieldCount; ++i)
        fields[i] = txtFields[static_cast<size_t>(i)]->text();
    return fields;
}

void frmCompanyInfo::showModally()
{
    m_reporter.trap(label("mnuSetupCoInfo_Click"), [&] {
        placeOnScreen();
        txtFields[company::kCompanyName]->setFocus(Qt::OtherFocusReason);
        rememberForUndo(txtFields[company::kCompanyName]);
    });
    exec();
}

void frmCompanyInfo::placeOnScreen()
{
    adjustSize();
    const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!where)
        return;
    const QRect available = where->availableGeometry();
    move(available.center() - QPoint(width() / 2, height() / 2));
    keepOnScreen(this);
}

void frmCompanyInfo::setFieldHelpButtonHidden(bool hidden)
{
    cmdHelp->setHidden(hidden);
}

void frmCompanyInfo::txtFields_GotFocus(int index)
{
    m_reporter.trap(label("txtFields_GotFocus"), [&] {
        QLineEdit* box = txtFields[static_cast<size_t>(index)];
        rememberForUndo(box);
        if (index == company::kState)
            putCursorAtEnd(box);
        else
            box->selectAll();
    });
}

void frmCompanyInfo::txtFields_Change(int index)
{
    m_reporter.trap(label("txtFields_Change"), [&] {
        enableUndo();
        if (index != company::kState)
            return;
        QLineEdit* box = txtFields[company::kState];
        const QString upper = box->text().toUpper();
        if (upper != box->text())
            box->setText(upper);
        box->setCursorPosition(static_cast<int>(box->text().size()));
    });
}

void frmCompanyInfo::rememberForUndo(QLineEdit* box)
{
    UndoText = box->text();
    m_undoBox = box;
    QAction* undo = menuEntry("mnuEditUndo");
    undo->setText(QStringLiteral("Cannot &Undo"));
    undo->setEnabled(false);
}

void frmCompanyInfo::enableUndo()
{
    QAction* undo = menuEntry("mnuEditUndo");
    undo->setText(QStringLiteral("&Undo"));
    undo->setEnabled(true);
}

void frmCompanyInfo::EditUndoProc()
{
    m_reporter.trap(label("mnuEditUndo_Click"), [&] {
        // The text goes back into the box it came from, wherever the focus is now.
        if (m_undoBox)
            setBoxText(m_undoBox, UndoText);
    });
}

QLineEdit* frmCompanyInfo::activeBox() const
{
    return qobject_cast<QLineEdit*>(focusWidget());
}

QAction* frmCompanyInfo::menuEntry(const char* name) const
{
    return m_menuEntries.value(QString::fromLatin1(name));
}

} // namespace halcyra

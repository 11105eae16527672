// The main window's boxes: what entering, changing and leaving a detail or score box does, and
// the Edit menu's Undo.

#include "app/windows/frmMain.h"
#include "core/ErrorReporter.h"
#include "records/DetailRules.h"
#include "records/windows/DetailForm.h"
#include "records/windows/EditBoxes.h"
#include "records/windows/ScoreGrid.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace halcyra {

void frmMain::connectBoxes()
{
    connect(m_details, &DetailForm::entered, this,
            [this](int index) { queueBoxEvent(m_details->box(index), true); });
    connect(m_details, &DetailForm::left, this,
            [this](int index) { queueBoxEvent(m_details->box(index), false); });
    connect(m_details, &DetailForm::edited, this, &frmMain::boxChanged);
    connect(Frame2, &ScoreGrid::entered, this,
            [this](int n) { queueBoxEvent(Frame2->box(n), true); });
    connect(Frame2, &ScoreGrid::left, this,
            [this](int n) { queueBoxEvent(Frame2->box(n), false); });
    connect(Frame2, &ScoreGrid::edited, this, &frmMain::boxChanged);
    // The help line follows the focus: a box sets its own line when it is entered, any other
    // control of the window shows its tool tip or clears the line.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now->window() == this && !isEntryBox(now))
            m_menus.helpPanel->setText(now->toolTip());
    });
}

bool frmMain::isEntryBox(const QWidget* widget) const
{
    return widget && (m_details->indexOf(widget) >= 0 || Frame2->numberOf(widget) > 0);
}

// Focus changes are taken up once the focus has settled, in the order they happened: a box is
// left before the next one is entered, and a message shown on leaving does not interfere with
// the focus change in progress.
void frmMain::queueBoxEvent(QWidget* box, bool entering)
{
    // While the program itself moves the focus, the box it takes the focus from is not left.
    if (m_movingFocus && !entering)
        return;
    m_boxEvents.append({box, entering});
    QTimer::singleShot(0, this, [this] { processBoxEvents(); });
}

bool frmMain::processBoxEvents()
{
    if (m_processingBoxEvents)
        return true;
    m_processingBoxEvents = true;
    bool accepted = true;
    while (!m_boxEvents.isEmpty()) {
        const BoxEvent event = m_boxEvents.takeFirst();
        if (!event.box)
            continue;
        if (event.entering) {
            // A box the focus has already left again (put back elsewhere) is not entered.
            if (event.box->window()->focusWidget() == event.box)
                boxGotFocus(event.box);
        } else if (!boxLostFocus(event.box)) {
            accepted = false;
        }
    }
    m_processingBoxEvents = false;
    return accepted;
}

bool frmMain::finishEntryInFocusedBox()
{
    // A command reached from the toolbar, a menu or a shortcut leaves the focus where it is;
    // the box being typed in is checked as if it were left, once for the same text.
    if (!processBoxEvents())
        return false;
    QWidget* box = focusWidget();
    if (!box || !isEntryBox(box))
        return true;
    const QString text = boxText(box);
    if (box == m_lastChecked.box && text == m_lastChecked.text)
        return m_lastChecked.accepted;
    // Nothing typed since the box was entered or its record shown: the command has nothing to
    // check, and an empty box stays empty rather than turning into a stray "0".
    if (box == m_enteredBox.box && text == m_enteredBox.text)
        return true;
    return boxLostFocus(box);
}

void frmMain::boxGotFocus(QWidget* box)
{
    m_enteredBox = {box, boxText(box), true};
    if (const int index = m_details->indexOf(box); index >= 0)
        txtFields_GotFocus(index);
    else if (const int n = Frame2->numberOf(box); n > 0)
        txtScore_GotFocus(n);
}

bool frmMain::boxLostFocus(QWidget* box)
{
    if (const int index = m_details->indexOf(box); index >= 0)
        return txtFields_LostFocus(index);
    if (const int n = Frame2->numberOf(box); n > 0)
        txtScore_LostFocus(n);
    return true;
}

void frmMain::txtFields_GotFocus(int index)
{
    m_reporter.trap(QStringLiteral("frmMain:Sub txtFields_GotFocus()"), [&] {
        UndoText = m_details->text(index);
        m_undoBox = m_details->box(index);
        QAction* undo = m_menus.action(QStringLiteral("mnuEditUndo"));
        undo->setText(QStringLiteral("Cannot &Undo"));
        undo->setEnabled(false);
        m_details->placeCursorOnEntering(index);
        m_menus.helpPanel->setText(detailHelpText(index));
    });
}

bool frmMain::txtFields_LostFocus(int index)
{
    bool accepted = true;
    m_reporter.trap(QStringLiteral("frmMain:Sub txtFields_LostFocus()"), [&] {
        QWidget* box = m_details->box(index);
        const DetailLeaveResult result =
            leaveDetailBox(index, m_details->text(index), QDate::currentDate());
        if (!result.rejected)
            m_details->setText(index, result.text);
        if (result.message)
            m_showMsg(result.message->title, result.message->text);
        if (result.rejected) {
            accepted = false;
            returnFocusTo(box);
        }
        m_lastChecked = {box, m_details->text(index), accepted};
    });
    return accepted;
}

void frmMain::txtScore_GotFocus(int index)
{
    m_reporter.trap(QStringLiteral("frmMain:Sub txtScore_GotFocus()"), [&] {
        QLineEdit* box = Frame2->box(index);
        UndoText = box->text();
        m_undoBox = box;
        QAction* undo = m_menus.action(QStringLiteral("mnuEditUndo"));
        undo->setText(QStringLiteral("Cannot &Undo"));
        undo->setEnabled(false);
        m_menus.helpPanel->setText(Frame2->helpText(index));
        box->selectAll();
    });
}

void frmMain::txtScore_LostFocus(int index)
{
    m_reporter.trap(QStringLiteral("frmMain:Sub txtScore_LostFocus()"), [&] {
        Frame2->applyLeavingRules(index);
        m_lastChecked = {Frame2->box(index), Frame2->box(index)->text(), true};
    });
}

void frmMain::boxChanged()
{
    m_reporter.trap(QStringLiteral("frmMain:Sub txtFields_Change()"), [&] {
        QAction* undo = m_menus.action(QStringLiteral("mnuEditUndo"));
        undo->setText(QStringLiteral("&Undo"));
        undo->setEnabled(true);
    });
}

void frmMain::returnFocusTo(QWidget* box)
{
    // The box the focus had reached keeps no selection it was given on the way.
    if (auto* reached = qobject_cast<QLineEdit*>(focusWidget()); reached && reached != box)
        reached->deselect();
    moveFocusQuietly(box);
    selectWholeText(box);
}

void frmMain::moveFocusQuietly(QWidget* box)
{
    m_movingFocus = true;
    box->setFocus(Qt::OtherFocusReason);
    m_movingFocus = false;
}

void frmMain::putCursorInLastName()
{
    // The box the cursor was in has had its checks (or was not touched); after New it shows the
    // new record, which leaving it must not fill in.
    moveFocusQuietly(m_details->box(1));
    queueBoxEvent(m_details->box(1), true);
}

QWidget* frmMain::activeBox() const
{
    QWidget* focused = focusWidget();
    return isEditBox(focused) ? focused : nullptr;
}

void frmMain::EditUndoProc()
{
    m_reporter.trap(QStringLiteral("frmMain:Sub mnuEditUndo_Click()"), [&] {
        QWidget* box = activeBox() ? activeBox() : m_undoBox.data();
        if (box)
            setBoxText(box, UndoText);
    });
}

} // namespace halcyra

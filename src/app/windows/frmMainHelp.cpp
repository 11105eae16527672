// The main window's help: F1, the Help button, Help > Contents and the help window.

#include "app/windows/frmMain.h"
#include "core/BusyCursor.h"
#include "core/ErrorReporter.h"
#include "core/HelpContexts.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "core/Version.h"
#include "records/windows/DataNavigator.h"
#include "records/windows/DetailForm.h"
#include "records/windows/ScoreGrid.h"
#include "records/windows/YesNoFrame.h"
#include "ui/HelpTopics.h"
#include "ui/MessageWindow.h"
#include "ui/windows/HelpKey.h"
#include "ui/windows/frmHelp.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>

namespace halcyra {
namespace {

QString label(const char* procedure)
{
    return QStringLiteral("frmMain:Sub ") + QString::fromLatin1(procedure) + QStringLiteral("()");
}

} // namespace

void frmMain::connectHelp()
{
    for (int i = 0; i < DetailForm::kBoxes; ++i)
        m_details->box(i)->setProperty("HelpContextID", help::detailContext(i));
    Frame1->setProperty("HelpContextID", help::kYesNo);
    Frame2->setProperty("HelpContextID", help::kScores);
    for (QWidget* control : {static_cast<QWidget*>(Data1), static_cast<QWidget*>(cmdAdd),
                             static_cast<QWidget*>(cmdDelete), static_cast<QWidget*>(cmdUpdate),
                             static_cast<QWidget*>(cmdList)})
        control->setProperty("HelpContextID", help::kRecords);
    cmdSend->setProperty("HelpContextID", help::kEmail);

    connect(cmdHelp, &QPushButton::clicked, this, &frmMain::cmdHelp_Click);
    connect(m_menus.action(QStringLiteral("mnuHelpContents")), &QAction::triggered, this,
            &frmMain::mnuHelpContents_Click);
    // F1 works in every window of the program for as long as this one is there.
    qApp->installEventFilter(
        new HelpKeyFilter([this](int context) { showHelpTopic(context); }, this));
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now->window() == this && now != cmdHelp)
            m_lastFocus = now;
    });
}

void frmMain::cmdHelp_Click()
{
    m_reporter.trap(label("cmdHelp_Click"), [&] {
        // With its message switched off the button still helps: with the field last used.
        if (isMessageSuppressed(m_settings, QStringLiteral("F1 Help Main")))
            showHelpTopic(m_lastFocus ? helpContextOf(m_lastFocus) : help::kMainWindow);
        else
            ShowFieldHelp(QStringLiteral(" Main"));
    });
}

void frmMain::ShowFieldHelp(const QString& suffix)
{
    m_showMsg(QStringLiteral("F1 Help") + suffix, fieldHelpText());
}

void frmMain::mnuHelpContents_Click()
{
    m_reporter.trap(label("mnuHelpContents_Click"), [&] { showHelpTopic(help::kContents); });
}

QString frmMain::helpFolder() const
{
    // The program folder's help; a program started from elsewhere has it beside itself.
    const QString beside = helpFolderFor(m_state.DatabaseFolder);
    const QString ofProgram = helpFolderFor(QCoreApplication::applicationDirPath());
    return QDir(beside).exists() || !QDir(ofProgram).exists() ? beside : ofProgram;
}

void frmMain::showHelpTopic(int context)
{
    m_reporter.trap(label("showHelpTopic"), [&] {
        Status shown;
        {
            const BusyCursor busy(m_reporter.prompts());
            if (!m_helpWindow)
                m_helpWindow = new frmHelp(helpFolder(), this);
            shown = m_helpWindow->showContext(context);
            if (shown)
                m_helpWindow->present();
        }
        if (shown)
            return;
        // Only help that is not there at all is "no help"; a missing page is named.
        const bool installed = HelpTopics::load(helpFolder()).ok();
        m_reporter.prompts().inform(
            AppTitle(),
            installed ? shown.error()
                      : QStringLiteral("Unable to display Help Contents. There is no Help "
                                       "associated with this project."),
            UserPrompts::Icon::Information);
    });
}

} // namespace halcyra

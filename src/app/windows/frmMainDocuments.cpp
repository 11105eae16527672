// The main window's report viewer and the documents of the help menu.

#include "app/windows/frmMain.h"
#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "flyers/ReaderQueue.h"
#include "records/ClientDataSource.h"
#include "records/ClientForm.h"
#include "reports/windows/DailyCommand.h"
#include "reports/windows/PrintQuestionnaireCommand.h"
#include "reports/windows/ViewWellCommand.h"
#include "ui/DesktopLaunch.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>

namespace halcyra {
namespace {

QString label(const char* procedure)
{
    return QStringLiteral("frmMain:Sub ") + QString::fromLatin1(procedure) + QStringLiteral("()");
}

} // namespace

void frmMain::connectDocumentCommands()
{
    auto entry = [this](const char* name) { return m_menus.action(QString::fromLatin1(name)); };
    connect(entry("mnuViewWell"), &QAction::triggered, this, &frmMain::mnuViewWell_Click);
    connect(entry("mnuHelpFlyer"), &QAction::triggered, this, &frmMain::mnuHelpFlyer_Click);
    connect(entry("mnuHelpConsult"), &QAction::triggered, this, &frmMain::mnuHelpConsult_Click);
    connect(entry("mnuHelpPurpose"), &QAction::triggered, this, &frmMain::mnuHelpPurpose_Click);
    connect(entry("mnuHelpRead"), &QAction::triggered, this, &frmMain::mnuHelpRead_Click);
    connect(entry("mnuViewDaily"), &QAction::triggered, this, &frmMain::mnuViewDaily_Click);
    connect(entry("mnuPrintDaily"), &QAction::triggered, this, &frmMain::mnuPrintDaily_Click);
    connect(entry("mnuPrintQ"), &QAction::triggered, this, &frmMain::mnuPrintQ);
    connect(entry("mnuViewQ"), &QAction::triggered, this, &frmMain::mnuViewQ_Click);
}

void frmMain::mnuViewDaily_Click()
{
    m_daily->mnuViewDaily_Click(this);
}

void frmMain::mnuPrintDaily_Click()
{
    m_daily->mnuPrintDaily_Click(programPrinter(), this);
}

void frmMain::mnuPrintQ()
{
    m_reporter.trap(label("mnuPrintQ_Click"),
                    [&] { m_printQuestionnaire->run(programPrinter(), this); });
}

void frmMain::mnuViewQ_Click()
{
    m_reporter.trap(label("mnuViewQ_Click"), [&] {
        m_showMsg(QStringLiteral("View Questionnaire"),
                  QStringLiteral("You are about to view the Questionnaire file that is sent to "
                                 "clients.  If you fill in any of the blanks and save the file, "
                                 "then when you send the file to a client, you will be sending "
                                 "them the saved version.  \r\n\r\nLooking at this file is OK.  "
                                 "If you want to experiment with it, a better alternative is to "
                                 "email yourself a copy by clicking on the Send Questionnaire "
                                 "button on the Data Entry window."));
        const QString path = findDocument(m_state.DatabaseFolder, QStringLiteral("HCYQ.doc"));
        if (path.isEmpty())
            throw ProgramError(errors::kFileNotFound,
                               QStringLiteral("%1 could not be opened.")
                                   .arg(QDir::toNativeSeparators(m_state.DatabaseFolder +
                                                                 QStringLiteral("HCYQ.doc"))));
        const QString shown = QDir::toNativeSeparators(path);
        tellIfNotOpened(
            m_reporter, QStringLiteral("View Questionnaire"),
            openWithDesktop(path, QStringLiteral("the questionnaire %1").arg(shown),
                            QStringLiteral("Open it with your word processor yourself.")));
        QCoreApplication::processEvents();
    });
}

void frmMain::mnuViewWell_Click()
{
    m_reporter.trap(label("mnuViewWell_Click"), [&] {
        // The pages are made from the stored record, so what is on screen is saved first; a
        // record that could not be saved is not shown.
        cmdUpdate_Click();
        if (m_data->isNewRecord() || isEdited(m_data->current(), formOnScreen()))
            return;
        m_viewWell->mnuViewWell_Click(m_data->current(), programPrinter(), this);
    });
}

void frmMain::mnuHelpFlyer_Click()
{
    m_reporter.trap(label("mnuHelpFlyer_Click"),
                    [&] { m_viewWell->openInReader(QStringLiteral("HCYTF.pdf")); });
}

void frmMain::mnuHelpConsult_Click()
{
    m_reporter.trap(label("mnuHelpConsult_Click"),
                    [&] { m_viewWell->openInReader(QStringLiteral("HCYCO.pdf")); });
}

void frmMain::mnuHelpPurpose_Click()
{
    m_reporter.trap(label("mnuHelpPurpose_Click"),
                    [&] { m_viewWell->openInReader(QStringLiteral("Purpose.pdf")); });
}

void frmMain::mnuHelpRead_Click()
{
    m_reporter.trap(label("mnuHelpRead_Click"), [&] {
        const QString path = findDocument(m_state.DatabaseFolder, QStringLiteral("readme.txt"));
        if (path.isEmpty())
            throw ProgramError(errors::kFileNotFound,
                               QStringLiteral("%1 could not be opened.")
                                   .arg(QDir::toNativeSeparators(m_state.DatabaseFolder +
                                                                 QStringLiteral("readme.txt"))));
        const QString shown = QDir::toNativeSeparators(path);
        tellIfNotOpened(m_reporter, QStringLiteral("Read Me"),
                        openWithDesktop(path, QStringLiteral("the Read Me file %1").arg(shown),
                                        QStringLiteral("Open it with a text editor yourself.")));
    });
}

} // namespace halcyra

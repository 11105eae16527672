// The main window's report viewer and the documents of the help menu.

#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "flyers/ReaderQueue.h"
#include "records/ClientDataSource.h"
#include "records/ClientForm.h"
#include "records/windows/frmMain.h"
#include "reports/windows/ViewWellCommand.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

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
        if (path.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            throw ProgramError(errors::kFileNotFound,
                               QStringLiteral("%1 could not be opened.")
                                   .arg(QDir::toNativeSeparators(m_state.DatabaseFolder +
                                                                 QStringLiteral("readme.txt"))));
    });
}

} // namespace halcyra

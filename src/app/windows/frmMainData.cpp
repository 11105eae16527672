// The main window's side of Data1: showing the current record, saving it, and the commands
// that follow the data source's actions.

#include "app/windows/frmMain.h"
#include "core/ErrorReporter.h"
#include "core/Version.h"
#include "records/ClientDataSource.h"
#include "records/MainWindowRules.h"
#include "records/windows/DataNavigator.h"
#include "records/windows/DetailForm.h"
#include "records/windows/EditBoxes.h"
#include "records/windows/ScoreGrid.h"
#include "records/windows/YesNoFrame.h"
#include "records/windows/frmDataGrid.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

namespace halcyra {

ClientForm frmMain::formOnScreen() const
{
    ClientForm form;
    form.details = m_details->texts();
    form.scores = Frame2->texts();
    form.yesNo = Frame1->values();
    return form;
}

void frmMain::showRecord()
{
    const ClientForm form = formOf(m_data->current());
    m_details->setTexts(form.details);
    Frame2->setTexts(form.scores);
    Frame1->setValues(form.yesNo);
}

bool frmMain::saveIfEdited()
{
    const ClientForm form = formOnScreen();
    if (!isEdited(m_data->current(), form))
        return true;
    const Status stored = m_data->update(editedRecord(m_data->current(), form));
    if (!stored)
        showDataError(stored.error());
    return stored.ok();
}

void frmMain::Data1_Validate(DataAction action)
{
    m_lastAction = action;
    switch (halcyra::Data1_Validate(action).commands) {
    case DataActionEffect::Commands::Enable:
        setListCommandsEnabled(true);
        break;
    case DataActionEffect::Commands::Disable:
        setListCommandsEnabled(false);
        break;
    case DataActionEffect::Commands::Keep:
        break;
    }
}

void frmMain::Data1_Reposition()
{
    showRecord();
    const bool adding = m_data->isNewRecord();
    Data1->setCaption(dataControlCaption(adding, m_data->absolutePosition()));
    // The list stays closed over a new record that is not stored yet, however it was reached.
    if (adding)
        setListCommandsEnabled(false);
    m_lastChecked = {};
    // A box the cursor stays in now holds the shown record's text, untouched so far.
    QWidget* focused = focusWidget();
    m_enteredBox = isEntryBox(focused) ? CheckedBox{focused, boxText(focused), true} : CheckedBox{};
    if (m_listWindow)
        m_listWindow->followRecordSet();
    showFilterNotice();
}

void frmMain::showFilterNotice()
{
    const QString filter = m_data->query().filter.text;
    std::pair<QString, int> now{filter, m_data->recordCount()};
    if (now == m_filterNoticeFor)
        return;
    m_filterNoticeFor = std::move(now);
    QString notice;
    if (!filter.trimmed().isEmpty()) {
        const Result<int> total = m_data->allClientsCount();
        notice = filterNotice(filter, m_data->recordCount(), total ? *total : -1);
    }
    lblFilter->setText(notice);
    lblFilter->setVisible(!notice.isEmpty());
    if (QAction* showAll = m_menus.action(QStringLiteral("mnuViewAllClients")))
        showAll->setEnabled(!notice.isEmpty());
}

void frmMain::setListCommandsEnabled(bool enabled)
{
    cmdList->setEnabled(enabled);
    cmdDelete->setEnabled(enabled);
    m_menus.toolButton(QStringLiteral("Open"))->setEnabled(enabled);
    m_menus.action(QStringLiteral("mnuFileOpen"))->setEnabled(enabled);
}

void frmMain::showDataError(const QString& reason)
{
    // Logged like any error, shown the data source's way; the record stays as it is on screen.
    m_reporter.ReportError(QString::number(errors::kPathFileAccess), reason,
                           m_reporter.CurrentProcedureLabel(), ErrorReporter::kStyleOk, {}, 0,
                           false);
    m_reporter.prompts().inform(AppTitle(), dataSourceErrorMessage(reason),
                                UserPrompts::Icon::Information);
}

} // namespace halcyra

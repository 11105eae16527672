#include "reports/windows/PrintQuestionnaireCommand.h"

#include "core/BusyCursor.h"
#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "core/ErrorReporter.h"
#include "reports/PainterPageWriter.h"
#include "reports/PrintQueue.h"
#include "reports/QuestionnairePrintout.h"
#include "reports/windows/frmPrinting.h"

#include <QCoreApplication>
#include <QPrinter>

namespace halcyra {

PrintQuestionnaireCommand::PrintQuestionnaireCommand(const Catalogue& catalogue,
                                                     SettingsStore& settings,
                                                     ErrorReporter& reporter)
    : m_catalogue(catalogue), m_settings(settings), m_reporter(reporter)
{}

bool PrintQuestionnaireCommand::run(QPrinter& printer, QWidget* parent)
{
    UserPrompts& prompts = m_reporter.prompts();
    const auto font =
        prompts.chooseFont(QStringLiteral("Questionnaire Font"), questionnaireFont(m_settings));
    if (!font)
        return false;
    saveQuestionnaireFont(m_settings, *font);

    const QString title = m_catalogue.LoadResString(ids::kQuestionnaireTitle);
    const BusyCursor busy(prompts);
    frmPrinting notice(parent);
    ShowPrinting(notice, title);
    QCoreApplication::processEvents();

    PrintJobWatch watch(m_reporter);
    if (!watch.queueTakesJob(printer)) {
        notice.hide();
        return false;
    }
    printer.setDocName(QStringLiteral("Halcyra - ") + title);
    PainterPageWriter writer(printer);
    printQuestionnaire(m_catalogue, *font, writer);
    writer.EndDoc();
    notice.hide();
    if (!writer.deviceFailed())
        watch.jobEnded();
    if (writer.deviceFailed()) {
        m_reporter.ReportError(QString::number(errors::kPathFileAccess),
                               QStringLiteral("The printer could not be started."),
                               m_reporter.CurrentProcedureLabel());
        return false;
    }
    return true;
}

} // namespace halcyra

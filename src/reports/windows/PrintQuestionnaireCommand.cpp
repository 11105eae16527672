#include "reports/windows/PrintQuestionnaireCommand.h"

#include "core/BusyCursor.h"
#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "core/ErrorReporter.h"
#include "core/OutputFile.h"
#include "core/ProgramState.h"
#include "print/PrintQueue.h"
#include "print/PrinterSettings.h"
#include "reports/PainterPageWriter.h"
#include "reports/QuestionnairePrintout.h"
#include "reports/windows/frmPrinting.h"
#include "reports/windows/frmPrnDialog.h"

#include <QCoreApplication>
#include <QFile>
#include <QPrinter>
#include <QScopeGuard>

namespace halcyra {

PrintQuestionnaireCommand::PrintQuestionnaireCommand(const Catalogue& catalogue,
                                                     SettingsStore& settings,
                                                     const ProgramState& state,
                                                     ErrorReporter& reporter)
    : m_catalogue(catalogue), m_settings(settings), m_state(state), m_reporter(reporter)
{}

bool PrintQuestionnaireCommand::run(QPrinter& printer, QWidget* parent)
{
    UserPrompts& prompts = m_reporter.prompts();
    const UserPrompts::FontChoice stored = questionnaireFont(m_settings);
    const UserPrompts::FontChoice offered = installedFont(stored);
    auto font = prompts.chooseFont(QStringLiteral("Questionnaire Font"), offered);
    if (!font)
        return false;
    // Taken as offered, the name the options hold stays (it prints the same here and is the
    // font wanted where it is installed).
    if (font->name == offered.name)
        font->name = stored.name;
    saveQuestionnaireFont(m_settings, *font);

    const QString title = m_catalogue.LoadResString(ids::kQuestionnaireTitle);
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    const QString lastFile = printer.outputFileName();
    QString file;
    if (toFile) {
        const auto chosen = askPdfFile(
            QStringLiteral("Print ") + title,
            proposedPdfFile(lastFile, m_state.DatabaseFolder, title + QStringLiteral(".pdf")),
            parent);
        if (!chosen)
            return false;
        file = *chosen;
    }
    // The printer keeps the file its Print dialog chose.
    const auto restore = qScopeGuard([&] {
        if (toFile && !lastFile.isEmpty())
            printer.setOutputFileName(lastFile);
    });
    if (toFile)
        printer.setOutputFileName(file);

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
    writer.endDoc();
    notice.hide();
    if (writer.deviceFailed()) {
        watch.deviceFailed(printer);
        return false;
    }
    // The print system writes the file with the umask's mode.
    if (toFile)
        QFile::setPermissions(file, kOwnerOnlyFile);
    watch.jobEnded();
    return true;
}

} // namespace halcyra

#pragma once

#include "core/Result.h"
#include "reports/ReferenceTables.h"
#include "setup/Options.h"

#include <QPointer>
#include <functional>

class QPrinter;
class QSqlDatabase;
class QWidget;

namespace halcyra {

class Catalogue;
class ErrorReporter;
class SettingsStore;
class frmPrinting;
class PainterPageWriter;
class PrintJobWatch;
class PrintedReport;
class ReportPdfJob;
struct ClientRecord;
struct ProgramState;

// Print > Halcyra: the options dialog in its "P-Well" mode, where the adviser picks the report
// documents and presses Print; then the printer choice, and the chosen documents of the
// client's profile report on the program's printer, as one print job. A PDF file, and a queue
// that takes PDF, get the report's own PDF (the fixed documents' pages as they are); any other
// printer gets the pages drawn onto it.
class PrintWellCommand
{
public:
    PrintWellCommand(const Catalogue& catalogue, SettingsStore& settings, ProgramState& state,
                     ErrorReporter& reporter);
    ~PrintWellCommand();
    PrintWellCommand(const PrintWellCommand&) = delete;
    PrintWellCommand& operator=(const PrintWellCommand&) = delete;

    // Prints the report of a saved record. `parent` owns the dialogs and the printing notice.
    // The report gains its progress page when the client has an earlier assessment in
    // `database`.
    void run(const ClientRecord& record, const QSqlDatabase& database, QPrinter& printer,
             QWidget* parent);
    // Prints one report document (1-5) of a saved record, asking for the printer first: the
    // print button of the on-screen report.
    void PrintDocument(const ClientRecord& record, QPrinter& printer, QWidget* parent, int section);
    // Print > Daily Intake Sheets: the options dialog in its "P-Daily" mode, whose Print button
    // prints the chosen sheets as documents 6 to 10. True when the printer choice was cancelled.
    bool printDailySheets(QPrinter& printer, QWidget* parent);

    // Where the documents are chosen; the options dialog unless a test answers instead.
    void setOptionsChooser(OptionsChooser choose) { m_chooseOptions = std::move(choose); }
    // How the printer is chosen before the first section prints: true when `printer` is set
    // up to print on. The Print dialog unless a test answers instead.
    using PrinterChooser = std::function<bool(QPrinter& printer, QWidget* parent)>;
    void setPrinterChooser(PrinterChooser choose) { m_choosePrinter = std::move(choose); }

private:
    // `database`, when given, is where the client's earlier assessments are looked up.
    void print(const ClientRecord& record, const QSqlDatabase* database, QPrinter& printer,
               QWidget* parent, const std::function<void(PrintedReport&)>& printSections,
               const QString& documentName = {});
    // After the printer choice: the report's margins on the chosen paper, or a message and
    // false when the paper is too small for the report.
    bool preparePaper(QPrinter& printer);
    // Sends the finished report's PDF to its file or queue, and says what went wrong.
    void deliverPdf(ReportPdfJob& job, const QPrinter& printer, const PainterPageWriter& writer,
                    PrintJobWatch& watch);

    const Catalogue& m_catalogue;
    SettingsStore& m_settings;
    ProgramState& m_state;
    ErrorReporter& m_reporter;
    ReferenceTables m_tables;
    OptionsChooser m_chooseOptions;
    PrinterChooser m_choosePrinter;
    QPointer<frmPrinting> m_printing;
};

} // namespace halcyra

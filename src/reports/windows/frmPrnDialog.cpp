#include "reports/windows/frmPrnDialog.h"

#include "core/BusyCursor.h"
#include "core/UserPrompts.h"
#include "core/Version.h"
#include "reports/PrinterSettings.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace halcyra {
namespace {

// Page numbers, selection and current page mean nothing to a report that prints whole
// documents. Printing to a file stays offered: on a system without printers the PDF writer is
// the only way to print at all.
constexpr QAbstractPrintDialog::PrintDialogOptions kPrintDialogOptions =
    QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
    QAbstractPrintDialog::PrintCollateCopies;

} // namespace

frmPrnDialog::frmPrnDialog(UserPrompts& prompts, bool& skipPrinting, QWidget* parent)
    : m_prompts(prompts), m_skipPrinting(skipPrinting), m_parent(parent)
{}

bool frmPrnDialog::Command2_Click(QPrinter& printer)
{
    // The dialog works on a copy, so that a cancel cannot leave half a choice behind and OK
    // hands over only the device and the settings the program keeps.
    const QStringList installed = QPrinterInfo::availablePrinterNames();
    QPrinter chosen(QPrinter::HighResolution);
    SetPrinterFromDialog(chosen, choiceOf(printer), installed);
    // The PDF writer proposes a file named after the document.
    chosen.setDocName(printer.docName().isEmpty() ? QStringLiteral("Halcyra") : printer.docName());

    if (!ShowPrinter(chosen, printDialogError(printer)))
        return false;

    const BusyCursor busy(m_prompts);
    SetPrinterFromDialog(printer, choiceOf(chosen), installed);
    return true;
}

bool frmPrnDialog::ShowPrinter(QPrinter& chosen, int code)
{
    if (code == dialogerrors::kNone) {
        QPrintDialog dialog(&chosen, m_parent);
        dialog.setOptions(kPrintDialogOptions);
        if (dialog.exec() == QDialog::Accepted)
            return true;
    }
    m_skipPrinting = true;
    if (const auto message = printDialogFailureMessage(code))
        m_prompts.inform(AppTitle(), *message, UserPrompts::Icon::None);
    return false;
}

bool frmPrnDialog::ShowPageSetup(QPrinter& printer)
{
    const int code = pageSetupDialogError(printer);
    if (code == dialogerrors::kNone) {
        QPageSetupDialog dialog(&printer, m_parent);
        if (dialog.exec() == QDialog::Accepted)
            return true;
    }
    m_prompts.inform(AppTitle(), pageSetupFailureMessage(code), UserPrompts::Icon::None);
    return false;
}

void mnuFilePageSetup_Click(QPrinter& printer, UserPrompts& prompts, QWidget* parent)
{
    bool skipPrinting = false;
    frmPrnDialog(prompts, skipPrinting, parent).Command2_Click(printer);
}

} // namespace halcyra

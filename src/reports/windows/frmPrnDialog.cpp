#include "reports/windows/frmPrnDialog.h"

#include "core/BusyCursor.h"
#include "core/UserPrompts.h"
#include "core/Version.h"
#include "print/PrinterSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>

namespace halcyra {
namespace {

// Watches a printer dialog while it runs. Qt's dialogs start the paper size and the colour
// and duplex choices at the device's defaults; the kept settings are put into those controls
// as they first show, and the controls shown are noted, so that a setting the adviser never
// saw is not quietly replaced by the device's default. The page-range controls stay disabled:
// a report prints whole documents.
class KeptSettingsInDialog final : public QObject
{
public:
    explicit KeptSettingsInDialog(const PrinterSettings& kept) : m_kept(kept)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~KeptSettingsInDialog() override { QCoreApplication::instance()->removeEventFilter(this); }
    KeptSettingsInDialog(const KeptSettingsInDialog&) = delete;
    KeptSettingsInDialog& operator=(const KeptSettingsInDialog&) = delete;

    const SettingsShown& shown() const { return m_shown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show && event->type() != QEvent::EnabledChange)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        const QString name = widget->objectName();
        if (name == u"printRange" || name == u"pagesRadioButton") {
            if (widget->isEnabled())
                widget->setEnabled(false);
            return false;
        }
        if (event->type() != QEvent::Show)
            return false;
        // Each control is set once: after that it holds what the adviser chose.
        const bool first = !widget->property(kPresetProperty).toBool();
        widget->setProperty(kPresetProperty, true);
        if (name == u"pageSizeCombo") {
            m_shown.pageSize = true;
            if (auto* combo = qobject_cast<QComboBox*>(widget); combo && first)
                selectPageSize(*combo);
        } else if (name == u"colorMode") {
            m_shown.colorMode = true;
            if (first)
                check(*widget, m_kept.colorMode == QPrinter::GrayScale ? "grayscale" : "color");
        } else if (name == u"duplex") {
            m_shown.duplex = true;
            if (first)
                check(*widget, m_kept.duplex == QPrinter::DuplexLongSide    ? "duplexLong"
                               : m_kept.duplex == QPrinter::DuplexShortSide ? "duplexShort"
                                                                            : "noDuplex");
        }
        return false;
    }

private:
    static constexpr const char* kPresetProperty = "halcyraKeptSettingShown";

    void selectPageSize(QComboBox& combo) const
    {
        for (int i = 0; i < combo.count(); ++i)
            if (combo.itemData(i).value<QPageSize>().isEquivalentTo(m_kept.pageSize)) {
                combo.setCurrentIndex(i);
                return;
            }
    }
    static void check(QWidget& group, const char* radioName)
    {
        auto* radio = group.findChild<QRadioButton*>(QString::fromLatin1(radioName));
        if (radio && radio->isEnabled())
            radio->setChecked(true);
    }

    PrinterSettings m_kept;
    SettingsShown m_shown;
};

// Page numbers, selection and current page mean nothing to a report that prints whole
// documents. Printing to a file stays offered: on a system without printers the PDF writer is
// the only way to print at all.
constexpr QAbstractPrintDialog::PrintDialogOptions kPrintDialogOptions =
    QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
    QAbstractPrintDialog::PrintCollateCopies;

} // namespace

frmPrnDialog::frmPrnDialog(UserPrompts& prompts, QWidget* parent)
    : m_prompts(prompts), m_parent(parent)
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

    SettingsShown shown;
    if (!ShowPrinter(chosen, printDialogError(printer), &shown))
        return false;

    const BusyCursor busy(m_prompts);
    PrinterChoice choice = choiceOf(chosen);
    choice.settings = settingsAfterDialog(settingsOf(printer), choice.settings, shown);
    SetPrinterFromDialog(printer, choice, installed);
    return true;
}

bool frmPrnDialog::ShowPrinter(QPrinter& chosen, int code, SettingsShown* shown)
{
    if (code == dialogerrors::kNone) {
        const KeptSettingsInDialog kept(settingsOf(chosen));
        QPrintDialog dialog(&chosen, m_parent);
        dialog.setOptions(kPrintDialogOptions);
        const bool accepted = dialog.exec() == QDialog::Accepted;
        *shown = kept.shown();
        if (accepted)
            return true;
    }
    if (const auto message = printDialogFailureMessage(code))
        m_prompts.inform(AppTitle(), *message, UserPrompts::Icon::None);
    return false;
}

bool frmPrnDialog::ShowPageSetup(QPrinter& printer)
{
    const int code = pageSetupDialogError(printer);
    if (code == dialogerrors::kNone) {
        const PrinterSettings before = settingsOf(printer);
        const KeptSettingsInDialog kept(before);
        QPageSetupDialog dialog(&printer, m_parent);
        if (dialog.exec() == QDialog::Accepted) {
            applySettings(printer, settingsAfterDialog(before, settingsOf(printer), kept.shown()));
            return true;
        }
    }
    m_prompts.inform(AppTitle(), pageSetupFailureMessage(code), UserPrompts::Icon::None);
    return false;
}

std::optional<QString> askPdfFile(const QString& title, const QString& proposed, QWidget* parent)
{
    QFileDialog dialog(parent, title, QFileInfo(proposed).absolutePath(),
                       QStringLiteral("PDF files (*.pdf)"));
    dialog.setObjectName(QStringLiteral("pdfFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(QFileInfo(proposed).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void mnuFilePageSetup_Click(QPrinter& printer, UserPrompts& prompts, QWidget* parent)
{
    frmPrnDialog(prompts, parent).Command2_Click(printer);
}

} // namespace halcyra

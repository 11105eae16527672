#include "print/PrinterSettings.h"

#include <QDir>
#include <QFileInfo>

namespace halcyra {

PrinterSettings settingsOf(const QPrinter& printer)
{
    PrinterSettings settings;
    const QPageLayout layout = printer.pageLayout();
    settings.orientation = layout.orientation();
    settings.pageSize = layout.pageSize();
    settings.copies = printer.copyCount();
    settings.collateCopies = printer.collateCopies();
    settings.paperSource = printer.paperSource();
    settings.printQuality = printer.resolution();
    settings.colorMode = printer.colorMode();
    settings.duplex = printer.duplex();
    return settings;
}

PrinterSettings settingsAfterDialog(const PrinterSettings& kept, const PrinterSettings& dialog,
                                    const SettingsShown& shown)
{
    PrinterSettings settings = dialog;
    if (!shown.pageSize)
        settings.pageSize = kept.pageSize;
    if (!shown.colorMode)
        settings.colorMode = kept.colorMode;
    if (!shown.duplex)
        settings.duplex = kept.duplex;
    return settings;
}

PrinterChoice choiceOf(const QPrinter& printer)
{
    PrinterChoice choice;
    if (printer.outputFormat() == QPrinter::NativeFormat)
        choice.deviceName = printer.printerName();
    choice.outputFileName = printer.outputFileName();
    choice.settings = settingsOf(printer);
    return choice;
}

void applySettings(QPrinter& printer, const PrinterSettings& settings)
{
    printer.setPageOrientation(settings.orientation);
    if (settings.pageSize.isValid())
        printer.setPageSize(settings.pageSize);
    printer.setCopyCount(settings.copies);
    printer.setCollateCopies(settings.collateCopies);
    printer.setPaperSource(settings.paperSource);
    printer.setResolution(settings.printQuality);
    printer.setColorMode(settings.colorMode);
    printer.setDuplex(settings.duplex);
}

bool sameDeviceName(const QString& a, const QString& b)
{
    return a.left(kDeviceNameLength).compare(b.left(kDeviceNameLength), Qt::CaseInsensitive) == 0;
}

std::optional<qsizetype> findPrinterByName(const QStringList& installed, const QString& name)
{
    // The exact name first, so two printers whose names share their first 31 characters
    // are still told apart.
    if (const qsizetype exact = installed.indexOf(name); exact >= 0)
        return exact;
    for (qsizetype i = 0; i < installed.size(); ++i)
        if (sameDeviceName(installed[i], name))
            return i;
    return std::nullopt;
}

std::optional<QString> printerToSwitchTo(const QString& current, const QString& chosen,
                                         const QStringList& installed)
{
    const auto found = findPrinterByName(installed, chosen);
    if (!found || installed[*found] == current)
        return std::nullopt;
    return installed[*found];
}

void SetPrinterFromDialog(QPrinter& printer, const PrinterChoice& choice,
                          const QStringList& installed)
{
    if (choice.deviceName.isEmpty()) {
        // The PDF writer has no device to look up: its file is the destination. An empty
        // name would send the output back to the default printer, so it is not copied.
        printer.setOutputFormat(QPrinter::PdfFormat);
        if (!choice.outputFileName.isEmpty())
            printer.setOutputFileName(choice.outputFileName);
    } else {
        const QString current =
            printer.outputFormat() == QPrinter::NativeFormat ? printer.printerName() : QString();
        if (const auto target = printerToSwitchTo(current, choice.deviceName, installed)) {
            printer.setPrinterName(*target);
            // A file left from the PDF writer must not catch the printer's output.
            printer.setOutputFileName(QString());
        }
    }
    applySettings(printer, choice.settings);
}

QString proposedPdfFile(const QString& lastFile, const QString& programFolder, const QString& name)
{
    const QFileInfo last(lastFile);
    const QString folder =
        !lastFile.isEmpty() && last.absoluteDir().exists() ? last.absolutePath() : programFolder;
    return QDir(folder).filePath(name);
}

int printDialogError(const QPrinter& printer)
{
    return printer.printerState() == QPrinter::Active ? dialogerrors::kDialogFailure
                                                      : dialogerrors::kNone;
}

int pageSetupDialogError(const QPrinter& printer)
{
    if (const int busy = printDialogError(printer))
        return busy;
    return printer.isValid() ? dialogerrors::kNone : dialogerrors::kPrinterNotFound;
}

std::optional<QString> printDialogFailureMessage(int code)
{
    if (code == dialogerrors::kNone)
        return std::nullopt;
    return QStringLiteral("PrintDialog failed\n") + QString::number(code);
}

QString pageSetupFailureMessage(int code)
{
    if (code == dialogerrors::kNone)
        return QStringLiteral("Dialog canceled");
    return QStringLiteral("PageSetupDialog failed\n") + QString::number(code);
}

} // namespace halcyra

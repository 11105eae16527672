#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <optional>

namespace halcyra {

// The settings the printer dialog hands over to the program's printer. Collation travels with
// the copy count: the dialog offers both together.
struct PrinterSettings
{
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QPageSize pageSize = QPageSize(QPageSize::Letter);
    int copies = 1;
    bool collateCopies = true;
    QPrinter::PaperSource paperSource = QPrinter::Auto;
    int printQuality = 1200; // dots per inch
    QPrinter::ColorMode colorMode = QPrinter::Color;
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;

    bool operator==(const PrinterSettings&) const = default;
};

// What the adviser chose: a device and its settings. An empty device name means the PDF
// writer, whose destination is `outputFileName`.
struct PrinterChoice
{
    QString deviceName;
    QString outputFileName;
    PrinterSettings settings;
};

// Which of the kept settings the adviser saw in a printer dialog. The dialogs start their
// paper size and colour controls at the device's defaults, not at the printer's settings.
struct SettingsShown
{
    bool pageSize = false;
    bool colorMode = false;
    bool duplex = false;
};

// The settings a dialog hands back, with every setting whose control was never shown (so
// could not have been chosen) as it was kept.
PrinterSettings settingsAfterDialog(const PrinterSettings& kept, const PrinterSettings& dialog,
                                    const SettingsShown& shown);

PrinterSettings settingsOf(const QPrinter& printer);
PrinterChoice choiceOf(const QPrinter& printer);
void applySettings(QPrinter& printer, const PrinterSettings& settings);

// Device names are told apart by their first 31 characters, without regard to letter case.
inline constexpr qsizetype kDeviceNameLength = 31;
bool sameDeviceName(const QString& a, const QString& b);

// The installed printer called `name`: the one with exactly that name, otherwise the first
// whose name is the same by sameDeviceName.
std::optional<qsizetype> findPrinterByName(const QStringList& installed, const QString& name);

// The installed printer to make current when `chosen` is picked while `current` is the
// program's printer, or nothing when the printer stays (already current, or not installed).
std::optional<QString> printerToSwitchTo(const QString& current, const QString& chosen,
                                         const QStringList& installed);

// Makes the chosen device the program's printer and copies the chosen settings onto it.
// `installed` is the system's list of printer names.
void SetPrinterFromDialog(QPrinter& printer, const PrinterChoice& choice,
                          const QStringList& installed);

// The file first offered when a print goes to the PDF writer without a Print dialog: `name`
// in the folder of the printer's last file when that folder is there, else in the program
// folder. Only offered: the adviser confirms it, and is asked before a file is replaced.
QString proposedPdfFile(const QString& lastFile, const QString& programFolder, const QString& name);

// Error codes of the printer dialogs, numbered as the common dialogs number them.
namespace dialogerrors {
inline constexpr int kNone = 0;
inline constexpr int kDialogFailure = 0xFFFF;   // the dialog could not be shown
inline constexpr int kPrinterNotFound = 0x100B; // the printer to set up is gone
} // namespace dialogerrors

// Why a dialog on `printer` cannot be shown: a printer in the middle of a job must not change
// under it. The page setup edits the printer itself, so it also needs a printer that exists;
// the Print dialog lets the adviser pick another one instead.
int printDialogError(const QPrinter& printer);
int pageSetupDialogError(const QPrinter& printer);

// The message after the Print dialog ended without OK: nothing for a plain cancel (code 0).
std::optional<QString> printDialogFailureMessage(int code);
// The message after the page setup ended without OK, cancelled (code 0) or failed.
QString pageSetupFailureMessage(int code);

} // namespace halcyra

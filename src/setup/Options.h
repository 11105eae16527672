#pragma once

#include "ui/SendEmail.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace halcyra {

class SettingsStore;
struct ProgramState;

// The pages of the options dialog, numbered as its tabs.
enum class OptionsTab { Reports = 1, DailyIntake, PageHeaders, DisplayMessages, Flyers, Email };
inline constexpr int kOptionsTabCount = 6;

// Report documents and daily sheets offered per page; daily sheet n is report section n + 5.
inline constexpr int kDocumentsPerPage = 5;
// The message titles the options dialog can switch off.
inline constexpr int kMessageSwitchCount = 10;
// The ways of opening flyers: search for the reader, the desktop's viewer, a stored reader.
inline constexpr int kFlyersMethodCount = 3;
inline constexpr int kFlyersMethodStoredReader = 2;

// Everything the options dialog edits, as the settings hold it.
struct OptionValues
{
    std::array<bool, kDocumentsPerPage> reportDocuments{}; // Check1(1..5)
    std::array<bool, kDocumentsPerPage> dailySheets{};     // Check2(1..5)
    QString headerChoice;                                  // Combo1
    bool includeFax = true;
    bool includeEmail = true;
    bool showTipsAtStartup = true;
    std::array<bool, kMessageSwitchCount> doNotShow{}; // ckMsg, in messageSwitches() order
    int flyersMethod = 0;                              // optMethod
    QString readerPath;                                // txtPath
    SmtpSettings smtp;                                 // the E-mail page
};

// The values of every page as stored, with the defaults for what was never stored.
OptionValues readOptionValues(const SettingsStore& settings);
// Puts the stored values of one page back into `values`, leaving the other pages alone.
void readOptionsPage(const SettingsStore& settings, OptionsTab tab, OptionValues& values);
// Apply: stores the values of the page of `tab` only. A header choice that is not one of
// headerChoices() is stored, and left in `values`, as "Both". Returns the chosen documents
// ("1"/"0" per box) for the Reports and Daily Intake pages, else an empty text.
QString saveOptionsPage(SettingsStore& settings, OptionsTab tab, OptionValues& values);

// "Company Name Only", "First and Last Name Only", "Both".
const QStringList& headerChoices();
QString validHeaderChoice(const QString& text);

// One character per box: "1" chosen, "0" not.
QString selectedDocsText(const std::array<bool, kDocumentsPerPage>& boxes);

// One report section to print, and whether it is the first of the run (which asks for the
// printer).
struct PrintStep
{
    int section = 0;
    bool first = false;
    bool operator==(const PrintStep&) const = default;
};
// The sections the Print button prints, in order, from the page it was pressed on and the
// chosen documents: report documents 1-5 from the Reports page, daily sheets as sections 6-10
// from the Daily Intake page, nothing from the other pages.
std::vector<PrintStep> documentsToPrint(OptionsTab tab, const QString& selectedDocs);

// The command that opened the dialog.
enum class OptionsMode { Plain, PrintWell, ViewWell, PrintDaily, ViewDaily };
// "P-Well", "V-Well", "P-Daily", "V-Daily"; anything else is the plain dialog.
OptionsMode optionsModeFromText(const QString& text);
QString optionsModeText(OptionsMode mode);

enum class OptionsButton { None, OK, Cancel, Apply, Print, View };

// How the dialog opens for a command.
struct OptionsModeLayout
{
    QString caption;
    bool printShown = false;
    bool viewShown = false;
    OptionsButton defaultButton = OptionsButton::OK;
    OptionsTab firstTab = OptionsTab::Reports;
};
OptionsModeLayout optionsModeLayout(OptionsMode mode);

// How the adviser left the options dialog.
struct OptionsResult
{
    // Cancel also for Esc and the close box; None while the dialog is open.
    OptionsButton button = OptionsButton::None;
    // The chosen documents ("1"/"0" per box) as the last Apply left them: empty when it was
    // on another page; none when nothing was applied.
    std::optional<QString> selectedDocs;
    // Print: the documents to print, in order; empty for every other way out.
    std::vector<PrintStep> steps;
};

// Leaves the report commands' hand-over flags (SelectedDocs, PrintRequested, SkipPrinting,
// OptionsCancelled) as the dialog's way out says, starting from a cleared cancel: an
// earlier cancel must not stop this run.
void takeOptionsResult(ProgramState& state, const OptionsResult& result);

// How a report command asks for its documents: the options dialog, or in tests a scripted
// answer.
using OptionsChooser = std::function<OptionsResult(OptionsMode mode, QWidget* parent)>;

// A report command's way through the options: OptionsMode names the command while the choice
// is made, and the hand-over flags are left as the answer says.
OptionsResult chooseReportOptions(const OptionsChooser& choose, ProgramState& state,
                                  OptionsMode mode, QWidget* parent);

// The tab Ctrl+Tab (forward) or Ctrl+Shift+Tab selects, wrapping at both ends.
OptionsTab neighbourTab(OptionsTab tab, bool forward);

} // namespace halcyra

#pragma once

#include "core/Result.h"
#include "ui/EmailSetup.h"

#include <QString>
#include <array>

namespace halcyra {

class ErrorReporter;
class SettingsStore;

// What a support contact can ask the adviser to type into the About box.
enum class SupportCommand {
    None,
    MailErrorLog,      // the e-mail window, ready to send the error log to support
    StartConverter,    // the conversion program, then the program closes
    ResetDatabasePath, // clears "Database"/"DBPath" and logs what the program sees
    ClearNewP,         // deletes "Settings"/"newP"
    ClearReaderPath,   // deletes the stored PDF reader path
};

struct SupportWord
{
    SupportCommand command;
    QLatin1StringView word;
};

// The words, one per command; typed in any letter case.
const std::array<SupportWord, 5>& supportWords();

// The command a typed text names (spaces around it do not count), or None.
SupportCommand supportCommandFor(const QString& typed);

// "614Convert" in the program folder ("614Convert.exe" on Windows).
QString converterPath(const QString& programFolder);

struct SupportContext
{
    SettingsStore& settings;
    ErrorReporter& reporter;
    QString programFolder;  // ends in the separator; holds the error log
    QString supportAddress; // recipient of the error log
};

// What is left for the windows once a command has run.
struct SupportOutcome
{
    SupportCommand command = SupportCommand::None;
    EmailSetupValues email; // MailErrorLog: open the e-mail window with these
    QString programToStart; // StartConverter: start it, then exit as File > Exit does
};

// Runs the command `typed` names. Settings and the log line are done here; a converter that
// is not there is a failure, so the program is not closed for nothing.
Result<SupportOutcome> runSupportCommand(const QString& typed, const SupportContext& context);

} // namespace halcyra

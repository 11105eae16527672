#pragma once

#include "core/Result.h"

#include <QString>
#include <QStringList>

namespace halcyra {

class ErrorReporter;

// A desktop helper (the mail program, the desktop's opener) started on the adviser's behalf.
struct DesktopHelper
{
    QString program; // a name looked up on the PATH, or a full path
    QStringList arguments;
    QString what;    // what it opens, for the message: "your mail program", "the page ..."
    QString instead; // what the adviser can do when it does not open
    QString folder;  // the folder it starts in; empty for ours
};

// How long a helper may take to say that it failed. One still running then has done its job
// (a mail program or browser it started stays open) and counts as started.
inline constexpr int kHelperVerdictMs = 2000;

// Starts the helper and waits up to `waitMs` for it to end. Succeeds when it is still running
// then or ended with status 0; otherwise the failure says what did not open, why (the exit
// status and the helper's own words) and what to do instead. The helper gets no shell.
Status startDesktopHelper(const DesktopHelper& helper, int waitMs = kHelperVerdictMs);

// Opens a web address or a local file with the desktop's default program.
Status openWithDesktop(const QString& addressOrPath, const QString& what, const QString& instead,
                       int waitMs = kHelperVerdictMs);

// A helper that did not open: logged in the error log and told to the adviser under `title`.
// Returns whether it opened.
bool tellIfNotOpened(ErrorReporter& reporter, const QString& title, const Status& opened);

} // namespace halcyra

#pragma once

#include "core/CompanyFields.h"
#include "core/Result.h"
#include "ui/EmailSetup.h"

#include <QDate>
#include <QString>

namespace halcyra {

// The questionnaire sent to clients, in the program folder, and the folder of the personal
// copies made from it.
QString questionnaireTemplateName();
QString sentQuestionnaireFolderName();

// A client's name part made fit for a file name: what a file system refuses or reads as a
// path ("/", "\", ":", "*", "?", quotes, "<", ">", "|", control characters) becomes "_",
// leading dots and trailing dots and blanks go, and runs of blanks shrink to one, so the copy
// stays inside "Sent Qs" and still reads as the client's name.
QString safeFileNamePart(const QString& text);

// "HCYQ <last>, <first> yyyy-MM-dd.doc" for the client's name fields on `date`.
QString sentQuestionnaireName(const QString& field1, const QString& field2, const QDate& date);

// Creates `path` + `folder` (owner-only) when it is not there yet; succeeds when the folder is
// there afterwards. `pattern` names the files the folder is for, as a reminder only.
Status MakeDirectory(const QString& path, const QString& folder, const QString& pattern);

// Copies `source` to `destination` whole, replacing an older copy; the copy is owner-only.
Status CopyFile(const QString& source, const QString& destination);

// Makes today's personal copy of the questionnaire for a client in "<folder>Sent Qs" and
// returns its full path. `folder` is the program folder and ends in the separator.
Result<QString> makeQuestionnaireCopy(const QString& folder, const QString& field1,
                                      const QString& field2, const QDate& date);

// The e-mail window's opening values for a questionnaire copy at `attachment`, signed with the
// adviser's first and last name.
EmailSetupValues SetupEmail(const CompanyInfo& company, const QString& attachment);

// Send is offered once the trimmed address has at least six characters, an "@" and a ".".
bool sendEnabledFor(const QString& address);

// The first of the window's checks that fails, as its message; empty when all pass.
QString sendCheckMessage(const EmailSetupValues& values);

// How the e-mail window was left.
enum class EmailOutcome { Sent, Closed, Aborted };

// Abort in questionnaire mode throws away the copy made for the message; everything else keeps
// it. `opened` are the values the window opened with: a file the adviser browsed to instead is
// theirs and never deleted.
Status finishEmail(const EmailSetupValues& opened, EmailOutcome outcome);

// Text taken from the message boxes as it is sent: address, body and attachment trimmed.
EmailSetupValues trimmedForSending(const EmailSetupValues& values);

} // namespace halcyra

#pragma once

#include "core/Result.h"
#include "core/UserPrompts.h"

#include <QString>
#include <exception>
#include <functional>

namespace halcyra {

// An error with a number and a description, in the numbering the error log has always used
// (53 file not found, 75 path/file access error, ...).
class ProgramError : public std::exception
{
public:
    ProgramError(int number, QString description);
    int number() const { return m_number; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_utf8;
};

namespace errors {
inline constexpr int kFileNotFound = 53;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kUnexpected = 440;
inline constexpr int kPrinterError = 482;
} // namespace errors

// The error reporter: writes each report to "ErrHCY.log" in the database folder and shows it
// in the "Error Handler" box. Also keeps the label of the procedure now running, so a report
// says where the error happened.
class ErrorReporter
{
public:
    ErrorReporter(QString logFolder, UserPrompts& prompts);

    static QString logFileName() { return QStringLiteral("ErrHCY.log"); }
    QString logPath() const;
    void setLogFolder(const QString& folder) { m_logFolder = folder; }

    UserPrompts& prompts() const { return m_prompts; }

    // e.g. "frmMain:Sub Form_Load()"
    const QString& CurrentProcedureLabel() const { return m_currentProcedureLabel; }
    void setCurrentProcedureLabel(const QString& label) { m_currentProcedureLabel = label; }

    // The last composed message text.
    const QString& MessageText() const { return m_messageText; }

    // Messages styles of the box: 0 OK only, 16 critical icon with OK.
    static constexpr int kStyleOk = 0;
    static constexpr int kStyleCritical = 16;

    // Appends one five-line report to the log and, when `showMessage`, shows it. The help file
    // and context are kept for the box's Help button. Never throws: when the log cannot be
    // written the box still shows, with a line saying so. A report made while another one's box
    // is up (an event handler failing under it) goes to the log only.
    void ReportError(const QString& errorNumberText, const QString& errorDescription,
                     const QString& locationText, int messageStyle = kStyleOk,
                     const QString& helpFile = {}, int helpContext = 0, bool showMessage = true);

    // The standard trap: runs `body` with `label` as the current procedure; an error escaping
    // it is reported (log and box) and the caller carries on. Returns false when it reported.
    bool trap(const QString& label, const std::function<void()>& body);

    // Reports an exception caught elsewhere (for example by the application's event filter).
    void reportException(std::exception_ptr error, const QString& location);

    // The label of the innermost procedure an error has just left, or the current label when
    // no procedure scope was left by an error; for the place that catches the error.
    QString takeFailedProcedureLabel();
    void noteFailedProcedure(const QString& label);
    void clearFailedProcedure() { m_failedProcedureLabel.clear(); }

private:
    Status appendToLog(const QString& firstLine, const QString& rest);

    QString m_logFolder;
    UserPrompts& m_prompts;
    QString m_currentProcedureLabel;
    QString m_messageText;
    QString m_failedProcedureLabel;
    bool m_reporting = false;
};

// Sets the current procedure label for the lifetime of the scope and puts the previous one
// back afterwards, so a nested call does not leave its label behind. When an error unwinds
// the scope, the reporter remembers the label, so the trap that catches the error names the
// procedure that failed rather than its own (until the next procedure starts: an error that
// was caught and handled is forgotten then).
class ProcedureScope
{
public:
    ProcedureScope(ErrorReporter& reporter, const QString& label);
    ~ProcedureScope();
    ProcedureScope(const ProcedureScope&) = delete;
    ProcedureScope& operator=(const ProcedureScope&) = delete;

private:
    ErrorReporter& m_reporter;
    QString m_previous;
    int m_unwindingAtEntry;
};

} // namespace halcyra

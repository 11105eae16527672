#include "core/ErrorReporter.h"

#include "core/HelpContexts.h"
#include "core/OutputFile.h"
#include "core/Version.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>

namespace halcyra {
namespace {

// The system's general date: its short date with the full time of day.
QString generalDateText(const QDateTime& when)
{
    const QLocale locale = QLocale::system();
    return locale.toString(when.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(when.time(), QLocale::LongFormat);
}

} // namespace

ProgramError::ProgramError(int number, QString description)
    : m_number(number), m_description(std::move(description)),
      m_utf8(QStringLiteral("%1: %2").arg(number).arg(m_description).toUtf8())
{}

ErrorReporter::ErrorReporter(QString logFolder, UserPrompts& prompts)
    : m_logFolder(std::move(logFolder)), m_prompts(prompts)
{}

QString ErrorReporter::logPath() const
{
    return QDir(m_logFolder).filePath(logFileName());
}

Status ErrorReporter::appendToLog(const QString& firstLine, const QString& rest)
{
    QFile log(logPath());
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text, kOwnerOnlyFile))
        return fail(log.errorString());
    const QByteArray report = (firstLine + u'\n' + u'\n' + rest + u'\n').toUtf8();
    if (log.write(report) != report.size() || !log.flush())
        return fail(log.errorString());
    return {};
}

void ErrorReporter::ReportError(const QString& errorNumberText, const QString& errorDescription,
                                const QString& locationText, int messageStyle,
                                const QString& helpFile, int helpContext, bool showMessage)
{
    Q_UNUSED(helpFile); // the help is the program's own
    const QString messageText = QStringLiteral("erNum = ") + errorNumberText + u'\n' +
                                QStringLiteral("erDesc = ") + errorDescription + u'\n' +
                                locationText;
    const QString firstLine =
        generalDateText(QDateTime::currentDateTime()) + u' ' + versionNumber();
    const Status logged = appendToLog(firstLine, messageText);

    // A failure while a report is being shown must not open a box again: it is logged only.
    if (m_reporting)
        return;
    m_reporting = true;
    m_messageText = messageText;

    QString shown = m_messageText;
    if (!logged)
        shown += QStringLiteral("\n\n(This report could not be added to %1: %2)")
                     .arg(QDir::toNativeSeparators(logPath()), logged.error());

    if (showMessage) {
        try {
            m_prompts.informWithHelp(QStringLiteral("Error Handler"), shown,
                                     messageStyle == kStyleCritical ? UserPrompts::Icon::Critical
                                                                    : UserPrompts::Icon::None,
                                     helpContext);
        } catch (...) {
            // Nothing more can be done for a report that cannot even be shown.
        }
    }
    m_reporting = false;
}

void ErrorReporter::reportException(std::exception_ptr error, const QString& location)
{
    try {
        std::rethrow_exception(error);
    } catch (const ProgramError& e) {
        ReportError(QString::number(e.number()), e.description(), location, kStyleOk, {},
                    help::kTroubleshooting);
    } catch (const std::exception& e) {
        ReportError(QString::number(errors::kUnexpected), QString::fromLocal8Bit(e.what()),
                    location, kStyleOk, {}, help::kTroubleshooting);
    } catch (...) {
        ReportError(QString::number(errors::kUnexpected), QStringLiteral("Unknown error"), location,
                    kStyleOk, {}, help::kTroubleshooting);
    }
}

bool ErrorReporter::trap(const QString& label, const std::function<void()>& body)
{
    ProcedureScope scope(*this, label);
    try {
        body();
        return true;
    } catch (...) {
        reportException(std::current_exception(), takeFailedProcedureLabel());
        return false;
    }
}

QString ErrorReporter::takeFailedProcedureLabel()
{
    QString label =
        m_failedProcedureLabel.isEmpty() ? m_currentProcedureLabel : m_failedProcedureLabel;
    m_failedProcedureLabel.clear();
    return label;
}

void ErrorReporter::noteFailedProcedure(const QString& label)
{
    // Scopes unwind from the innermost out: the first one noted is where the error arose.
    if (m_failedProcedureLabel.isEmpty())
        m_failedProcedureLabel = label;
}

ProcedureScope::ProcedureScope(ErrorReporter& reporter, const QString& label)
    : m_reporter(reporter), m_previous(reporter.CurrentProcedureLabel()),
      m_unwindingAtEntry(std::uncaught_exceptions())
{
    // A procedure starting means any error noted earlier was handled by its catcher.
    m_reporter.clearFailedProcedure();
    m_reporter.setCurrentProcedureLabel(label);
}

ProcedureScope::~ProcedureScope()
{
    if (std::uncaught_exceptions() > m_unwindingAtEntry)
        m_reporter.noteFailedProcedure(m_reporter.CurrentProcedureLabel());
    m_reporter.setCurrentProcedureLabel(m_previous);
}

} // namespace halcyra

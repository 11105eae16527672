#include "ReaderLaunch.h"

#include "core/Conversions.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "flyers/ReaderQueue.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>

namespace halcyra::openacrd {
namespace {

constexpr int kDesktopMethod = 1;
constexpr int kStartWaitMs = 5000;

QString quoted(const QString& line)
{
    return u'"' + line + u'"';
}

} // namespace

OpenWay openWay(int flyersMethod, const QString& readerPath)
{
    OpenWay way;
    if (flyersMethod == kDesktopMethod)
        return way;
    const QFileInfo reader(readerPath.trimmed());
    if (!readerPath.trimmed().isEmpty() && reader.isFile() && reader.isExecutable()) {
        way.kind = OpenWay::Kind::Reader;
        way.reader = reader.absoluteFilePath();
    }
    return way;
}

OpenWay openWayFromSettings(const SettingsStore& settings)
{
    return openWay(leadingInteger(settings.get(keys::flyersOption())),
                   settings.get(keys::readerPath()));
}

OpenCommand openCommand(const OpenWay& way, const QString& document)
{
    if (way.kind == OpenWay::Kind::Reader) {
#ifdef Q_OS_WIN
        return {way.reader, {QDir::toNativeSeparators(document)}};
#else
        // Readers here take "--" as the end of their options.
        return {way.reader, {QStringLiteral("--"), document}};
#endif
    }
    // xdg-open takes no "--"; an absolute path cannot start with "-".
    return {QStringLiteral("xdg-open"), {document}};
}

Result<QString> documentToOpen(const QString& folder, const QString& line)
{
    const QString path = QDir::fromNativeSeparators(line);
    if (!QDir::isAbsolutePath(path))
        return fail(QStringLiteral("refused the queued line %1: not the full path of a document.")
                        .arg(quoted(line)));
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("%1: the document does not exist.").arg(line));
    const QString canonical = info.canonicalFilePath();
    const QString inside = QFileInfo(folder).canonicalFilePath() + u'/';
    if (canonical.isEmpty() || !canonical.startsWith(inside))
        return fail(QStringLiteral("refused the queued line %1: it leads outside the program "
                                   "folder %2.")
                        .arg(quoted(line), QDir::toNativeSeparators(folder)));
    if (!QFileInfo(canonical).isFile())
        return fail(
            QStringLiteral("refused the queued line %1: not a plain file.").arg(quoted(line)));
    return canonical;
}

QStringList openQueuedDocuments(const QString& folder, const OpenWay& way,
                                const StartFunction& start)
{
    const Result<QStringList> queued = takeReaderQueue(folder);
    if (!queued)
        return {queued.error()};
    QStringList problems;
    for (const QString& line : *queued) {
        // The program checks before queuing, but a file can go in between.
        const Result<QString> document = documentToOpen(folder, line);
        if (!document) {
            problems << document.error();
            continue;
        }
        if (const Status started = start(openCommand(way, *document)); !started)
            problems << QStringLiteral("%1: %2").arg(line, started.error());
    }
    return problems;
}

ProgramRuns::~ProgramRuns()
{
    // A program still running shows its document: the QProcess is let go rather than deleted,
    // which would kill it, and the program lives on after the launcher.
    for (const Run& run : std::as_const(m_runs))
        if (run.process->state() == QProcess::NotRunning)
            delete run.process;
}

Status ProgramRuns::start(const OpenCommand& command)
{
    auto* process = new QProcess;
    // No pipes of the launcher's that a program left running could write into once it ends.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start(command.program, command.arguments);
    if (!process->waitForStarted(kStartWaitMs)) {
        const QString why = process->errorString();
        delete process;
        return fail(QStringLiteral("%1 could not be started: %2")
                        .arg(QDir::toNativeSeparators(command.program), why));
    }
    m_runs.append(
        {process, command.program, command.arguments.value(command.arguments.size() - 1)});
    return {};
}

QStringList ProgramRuns::finish(int waitMs)
{
    QStringList problems;
    const QDeadlineTimer deadline(waitMs);
    for (const Run& run : std::as_const(m_runs)) {
        if (!run.process->waitForFinished(int(std::max<qint64>(deadline.remainingTime(), 0))))
            continue;
        const QString program = QDir::toNativeSeparators(run.program);
        if (run.process->exitStatus() == QProcess::CrashExit)
            problems << QStringLiteral("%1: %2 stopped before it showed the document.")
                            .arg(run.document, program);
        else if (run.process->exitCode() != 0)
            problems << QStringLiteral("%1: %2 could not open the document (exit status %3).")
                            .arg(run.document, program)
                            .arg(run.process->exitCode());
    }
    return problems;
}

} // namespace halcyra::openacrd

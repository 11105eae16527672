#include "ui/DesktopLaunch.h"

#include "core/ErrorReporter.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <vector>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace halcyra {
namespace {

// The helper's own words are kept to this many characters in the message.
constexpr qsizetype kHelperWordsShown = 300;

QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

QString notOpened(const DesktopHelper& helper, const QString& why)
{
    QString text = capitalised(helper.what) + QStringLiteral(" could not be opened: ") + why;
    if (!helper.instead.isEmpty())
        text += u' ' + helper.instead;
    return text;
}

// What the desktop's helpers (xdg-open, xdg-email) mean by their exit statuses.
QString exitReason(int status)
{
    switch (status) {
    case 1:
        return QStringLiteral("the request was not understood");
    case 2:
        return QStringLiteral("a file it needs is not there");
    case 3:
        return QStringLiteral("no program is set up on this computer for it");
    case 4:
        return QStringLiteral("the program set up for it failed");
    case 5:
        return QStringLiteral("a file it needs may not be read");
    default:
        return QStringLiteral("the helper reported a failure");
    }
}

QString helperWords(QTemporaryFile& errors)
{
    errors.seek(0);
    QString words = QString::fromLocal8Bit(errors.read(4096)).simplified();
    if (words.size() > kHelperWordsShown)
        words = words.left(kHelperWordsShown) + QStringLiteral("...");
    return words;
}

// How a helper ended within its while, or that it still runs.
struct HelperEnd
{
    bool stillRunning = false;
    bool crashed = false;
    int status = 0;
};

#ifdef Q_OS_UNIX
// Helpers that were still running when their while was up: reaped once they end, so none is
// left behind as a zombie. No object of ours stays with them, and the program's end does not
// end them.
std::vector<pid_t>& runningHelpers()
{
    static std::vector<pid_t> running;
    return running;
}

void reapEndedHelpers()
{
    auto& running = runningHelpers();
    std::erase_if(running, [](pid_t pid) {
        int status = 0;
        return ::waitpid(pid, &status, WNOHANG) != 0;
    });
}

// Starts the program as a child of its own, with no shell, and waits up to `waitMs` for it.
Result<HelperEnd> runHelper(const QString& program, const DesktopHelper& helper,
                            const QString& errorFile, int waitMs)
{
    reapEndedHelpers();
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    const QByteArray errorPath =
        errorFile.isEmpty() ? QByteArray("/dev/null") : QFile::encodeName(errorFile);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, errorPath.constData(), O_WRONLY | O_APPEND, 0);
    const QByteArray folder = QFile::encodeName(helper.folder);
    if (!folder.isEmpty())
        posix_spawn_file_actions_addchdir_np(&files, folder.constData());

    QList<QByteArray> arguments{QFile::encodeName(program)};
    for (const QString& argument : helper.arguments)
        arguments << argument.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv.front(), &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0)
        return fail(QString::fromLocal8Bit(std::strerror(spawned)));

    QElapsedTimer clock;
    clock.start();
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            HelperEnd end;
            end.crashed = !WIFEXITED(status);
            end.status = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
            return end;
        }
        if (done < 0)
            return fail(QString::fromLocal8Bit(std::strerror(errno)));
        if (clock.elapsed() >= waitMs) {
            runningHelpers().push_back(pid);
            HelperEnd end;
            end.stillRunning = true;
            return end;
        }
        QThread::msleep(20);
    }
}
#else
Result<HelperEnd> runHelper(const QString& program, const DesktopHelper& helper,
                            const QString& errorFile, int waitMs)
{
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(helper.arguments);
    if (!helper.folder.isEmpty())
        process->setWorkingDirectory(helper.folder);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(errorFile.isEmpty() ? QProcess::nullDevice() : errorFile);
    process->start();
    if (!process->waitForStarted(waitMs)) {
        const QString why = process->errorString();
        delete process;
        return fail(why);
    }
    HelperEnd end;
    if (!process->waitForFinished(waitMs)) {
        // It lives on after this returns and goes when it ends.
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        end.stillRunning = true;
        return end;
    }
    end.crashed = process->exitStatus() != QProcess::NormalExit;
    end.status = process->exitCode();
    delete process;
    return end;
}
#endif

} // namespace

Status startDesktopHelper(const DesktopHelper& helper, int waitMs)
{
    // A full path is only checked for being a program.
    const QString program = QStandardPaths::findExecutable(helper.program);
    const QString name = QFileInfo(helper.program).fileName();
    if (program.isEmpty())
        return fail(notOpened(helper, QStringLiteral("%1 is not installed on this computer.")
                                          .arg(QDir::toNativeSeparators(helper.program))));

    // The helper's complaints go to a file rather than a pipe: a browser it starts inherits
    // them and would be hurt by a pipe that closes when we stop listening.
    QTemporaryFile errors(QDir(QDir::tempPath()).filePath(QStringLiteral("halcyra-helper-XXXXXX")));
    const bool keepWords = errors.open();

    const Result<HelperEnd> ended =
        runHelper(program, helper, keepWords ? errors.fileName() : QString(), waitMs);
    if (!ended)
        return fail(notOpened(helper, QStringLiteral("%1 could not be started (%2).")
                                          .arg(QDir::toNativeSeparators(program), ended.error())));
    if (ended->stillRunning)
        return {};
    const bool crashed = ended->crashed;
    const int status = ended->status;
    if (!crashed && status == 0)
        return {};
    const QString words = keepWords ? helperWords(errors) : QString();
    QString why = crashed ? QStringLiteral("%1 stopped unexpectedly").arg(name)
                          : QStringLiteral("%1 (%2 ended with status %3)")
                                .arg(exitReason(status), name)
                                .arg(status);
    if (!words.isEmpty())
        why += QStringLiteral(": \"%1\"").arg(words);
    return fail(notOpened(helper, why + u'.'));
}

Status openWithDesktop(const QString& addressOrPath, const QString& what, const QString& instead,
                       int waitMs)
{
    const bool localFile = QFileInfo(addressOrPath).isAbsolute();
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString target =
        localFile ? addressOrPath : QUrl::fromUserInput(addressOrPath).toString(QUrl::FullyEncoded);
    return startDesktopHelper({QStringLiteral("xdg-open"), {target}, what, instead, {}}, waitMs);
#else
    (void)waitMs;
    const QUrl url =
        localFile ? QUrl::fromLocalFile(addressOrPath) : QUrl::fromUserInput(addressOrPath);
    if (QDesktopServices::openUrl(url))
        return {};
    return fail(notOpened({{}, {}, what, instead, {}},
                          QStringLiteral("no program is set up on this computer for it.")));
#endif
}

bool tellIfNotOpened(ErrorReporter& reporter, const QString& title, const Status& opened)
{
    if (opened)
        return true;
    reporter.ReportError(QString::number(errors::kFileNotFound), opened.error(),
                         reporter.CurrentProcedureLabel(), ErrorReporter::kStyleOk, {}, 0, false);
    reporter.prompts().inform(title, opened.error(), UserPrompts::Icon::Warning);
    return false;
}

} // namespace halcyra

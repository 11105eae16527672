#include "ui/DesktopLaunch.h"

#include "core/ErrorReporter.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

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

    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(helper.arguments);
    if (!helper.folder.isEmpty())
        process->setWorkingDirectory(helper.folder);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(keepWords ? errors.fileName() : QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted(waitMs)) {
        const QString why = process->errorString();
        delete process;
        return fail(notOpened(helper, QStringLiteral("%1 could not be started (%2).")
                                          .arg(QDir::toNativeSeparators(program), why)));
    }
    if (!process->waitForFinished(waitMs)) {
        // Still running: it opened what it was asked to. It lives on after this returns and
        // goes when it ends; the program closing does not end it.
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return {};
    }
    const bool crashed = process->exitStatus() != QProcess::NormalExit;
    const int status = process->exitCode();
    delete process;
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

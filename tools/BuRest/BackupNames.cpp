#include "BackupNames.h"

#include "SqliteCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace halcyra::burest {
namespace {

constexpr int kMostSequence = 1000;
// Unfinished copies of versions that did not name their writer go after this long.
constexpr qint64 kUnnamedPartSeconds = 600;

const QRegularExpression& stampPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("(\\d{4}-\\d{2}-\\d{2}-\\d{6})(?:-(\\d+))?\\.db$"));
    return pattern;
}

// "<final>.<pid>.part", or "<final>.part" from versions before, with SQLite's journals.
const QRegularExpression& partPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^.+?(?:\\.(\\d+))?\\.part(?:-journal|-wal|-shm)?$"));
    return pattern;
}

bool processRuns(qint64 pid)
{
#ifdef Q_OS_UNIX
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
#else
    Q_UNUSED(pid);
    return true; // nothing is removed where it cannot be told
#endif
}

// The rename itself reaches the disk only with its folder.
void syncFolder(const QString& folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

} // namespace

QString backupPrefix(const QString& databasePath)
{
    return QFileInfo(databasePath).completeBaseName() + u'-';
}

NameStamp stampOf(const QString& fileName)
{
    const auto match = stampPattern().match(fileName);
    if (!match.hasMatch())
        return {};
    NameStamp stamp;
    stamp.taken = QDateTime::fromString(match.captured(1), QString::fromLatin1(kStampFormat));
    if (match.hasCaptured(2))
        stamp.sequence = match.captured(2).toInt();
    return stamp;
}

bool isRegularBackup(const QString& fileName, const QString& prefix)
{
    if (!fileName.startsWith(prefix))
        return false;
    const auto match = stampPattern().match(fileName);
    return match.hasMatch() && match.capturedStart() == prefix.size() &&
           stampOf(fileName).taken.isValid();
}

QString partPathFor(const QString& finalPath)
{
    return finalPath + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
}

QStringList staleParts(const QString& folder, const QString& startsWith)
{
    QStringList stale;
    const QFileInfoList files = QDir(folder).entryInfoList(
        {QStringLiteral("*.part"), QStringLiteral("*.part-*")}, QDir::Files | QDir::Hidden);
    const QDateTime now = QDateTime::currentDateTime();
    for (const QFileInfo& file : files) {
        const auto match = partPattern().match(file.fileName());
        if (!match.hasMatch() || !file.fileName().startsWith(startsWith))
            continue;
        const bool gone = match.hasCaptured(1)
                              ? !processRuns(match.captured(1).toLongLong())
                              : file.lastModified().secsTo(now) > kUnnamedPartSeconds;
        if (gone)
            stale << file.absoluteFilePath();
    }
    return stale;
}

void removeStaleParts(const QString& folder, const QString& startsWith)
{
    for (const QString& part : staleParts(folder, startsWith))
        QFile::remove(part);
}

Result<QString> nameFinished(const QString& part, const QString& folder, const QString& stem)
{
    const QDir dir(folder);
    for (int n = 1; n <= kMostSequence; ++n) {
        const QString name = dir.filePath(n == 1 ? stem + QStringLiteral(".db")
                                                 : stem + QStringLiteral("-%1.db").arg(n));
        if (QFileInfo::exists(name))
            continue;
        // rename() here refuses a name that came to exist meanwhile.
        if (QFile::rename(part, name)) {
            syncFolder(folder);
            return name;
        }
        if (!QFileInfo::exists(name))
            break;
    }
    removeWithJournals(part);
    return fail(
        QStringLiteral("Cannot give the copy a name in %1.").arg(QDir::toNativeSeparators(folder)));
}

Status nameFinishedAs(const QString& part, const QString& target, bool replace)
{
    const QString shown = QDir::toNativeSeparators(target);
    bool named = false;
    QString reason;
    if (!replace) {
        QFile file(part);
        named = file.rename(target);
        reason = file.errorString();
    } else {
#ifdef Q_OS_UNIX
        // rename() puts the new file in the old one's place in one step.
        named = ::rename(QFile::encodeName(part).constData(),
                         QFile::encodeName(target).constData()) == 0;
        reason = QString::fromLocal8Bit(std::strerror(errno));
#else
        named = QFile::remove(target) && QFile::rename(part, target);
        reason = QStringLiteral("it cannot be replaced");
#endif
    }
    if (!named) {
        removeWithJournals(part);
        return fail(QStringLiteral("Cannot name the new file %1: %2").arg(shown, reason));
    }
    syncFolder(QFileInfo(target).absolutePath());
    return {};
}

} // namespace halcyra::burest

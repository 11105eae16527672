#include "core/OutputFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace halcyra {
namespace {

Failure cannotWrite(const QString& path, const QString& reason)
{
    return fail(
        QStringLiteral("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), reason));
}

// QSaveFile::commit() syncs but ignores a failed sync, and a file system that allocates late
// reports a full disk only there.
Status syncToDisk([[maybe_unused]] QSaveFile& file)
{
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
#endif
    return {};
}

} // namespace

Status makeOwnerOnlyFolder(const QString& folder)
{
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    QStringList missing;
    for (QString path = absolute; !QFileInfo::exists(path); path = QFileInfo(path).path()) {
        missing.prepend(path);
        if (QFileInfo(path).path() == path)
            break;
    }
    for (const QString& path : std::as_const(missing))
        if (!QDir().mkdir(path, kOwnerOnlyFolder) && !QFileInfo(path).isDir())
            return fail(
                QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(path)));
    if (!QFileInfo(absolute).isDir())
        return fail(QStringLiteral("%1 is not a folder").arg(QDir::toNativeSeparators(absolute)));
    return {};
}

Status createOwnerOnlyFile(const QString& path)
{
    if (QFileInfo::exists(path))
        return {};
    if (Status folder = makeOwnerOnlyFolder(QFileInfo(path).absolutePath()); !folder)
        return folder;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnlyFile) &&
        !QFileInfo::exists(path))
        return cannotWrite(path, file.errorString());
    return {};
}

Status checkOutputPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return cannotWrite(path, QStringLiteral("it is a folder"));
#ifdef Q_OS_UNIX
    // QFileInfo takes a device such as /dev/null for a file.
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return cannotWrite(path, QStringLiteral("it is not a regular file"));
#else
    if (info.exists() && !info.isFile())
        return cannotWrite(path, QStringLiteral("it is not a regular file"));
#endif
    return {};
}

Status writeFileWhole(const QString& path, const QByteArray& bytes)
{
    if (Status allowed = checkOutputPath(path); !allowed)
        return allowed;
    const bool replacing = QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(path, file.errorString());
    // QSaveFile gives a replaced file's mode to its successor, and a new one the umask's.
    if (!replacing && !file.setPermissions(kOwnerOnlyFile)) {
        file.cancelWriting();
        return cannotWrite(path, file.errorString());
    }
    // A write may stop short without an error (a full disk): write on until every byte is
    // taken or one write fails and says why.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return cannotWrite(path, reason);
        }
        done += written;
    }
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return cannotWrite(path, reason);
    }
    if (Status synced = syncToDisk(file); !synced) {
        file.cancelWriting();
        return cannotWrite(path, synced.error());
    }
    if (!file.commit())
        return cannotWrite(path, file.errorString());
    return {};
}

} // namespace halcyra

#include "core/OutputFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace halcyra {
namespace {

Failure cannotWritePath(const QString& path, const QString& reason)
{
    return fail(
        QStringLiteral("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), reason));
}

#ifdef Q_OS_UNIX
QString lastSystemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The rename itself reaches the disk only with its folder.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}
#endif

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
        return cannotWritePath(path, file.errorString());
    return {};
}

Status checkOutputPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return cannotWritePath(path, QStringLiteral("it is a folder"));
#ifdef Q_OS_UNIX
    // QFileInfo takes a device such as /dev/null for a file.
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return cannotWritePath(path, QStringLiteral("it is not a regular file"));
#else
    if (info.exists() && !info.isFile())
        return cannotWritePath(path, QStringLiteral("it is not a regular file"));
#endif
    return {};
}

OutputFile::OutputFile(QString path) : m_path(std::move(path)) {}

OutputFile::~OutputFile() = default;

Failure OutputFile::cannotWrite(const QString& reason) const
{
    return cannotWritePath(m_path, reason);
}

Status OutputFile::open()
{
    if (Status allowed = checkOutputPath(m_path); !allowed)
        return allowed;
    const QFileInfo target(m_path);
    // QTemporaryFile makes its file owner-only and never opens an existing name.
    m_file = std::make_unique<QTemporaryFile>(
        target.absoluteDir().filePath(u'.' + target.fileName() + QStringLiteral(".XXXXXX")));
    if (!m_file->open()) {
        const QString reason = m_file->errorString();
        m_file.reset();
        return cannotWrite(reason);
    }
    return {};
}

Status OutputFile::write(const QByteArray& bytes)
{
    if (!m_file)
        return cannotWrite(QStringLiteral("it is not open"));
    // A write may stop short without an error (a full disk): write on until every byte is
    // taken or one write fails and says why.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = m_file->write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return cannotWrite(m_file->errorString());
        done += written;
    }
    return {};
}

Status OutputFile::commit()
{
    if (!m_file)
        return cannotWrite(QStringLiteral("it is not open"));
    if (!m_file->flush() || m_file->error() != QFileDevice::NoError)
        return cannotWrite(m_file->errorString());
#ifdef Q_OS_UNIX
    // A file system that allocates late reports a full disk only here.
    if (::fsync(m_file->handle()) != 0 && errno != EINVAL && errno != EROFS)
        return cannotWrite(lastSystemError());
    const QByteArray temporary = QFile::encodeName(m_file->fileName());
    // rename() replaces the name itself: a link there is replaced, not followed.
    if (::rename(temporary.constData(), QFile::encodeName(m_path).constData()) != 0)
        return cannotWrite(lastSystemError());
    m_file->setAutoRemove(false);
    m_file.reset();
    syncFolder(QFileInfo(m_path).absolutePath());
#else
    m_file->close();
    QFile::remove(m_path);
    if (!m_file->rename(m_path))
        return cannotWrite(m_file->errorString());
    m_file->setAutoRemove(false);
    m_file.reset();
#endif
    return {};
}

Status writeFileWhole(const QString& path, const QByteArray& bytes)
{
    OutputFile file(path);
    if (Status opened = file.open(); !opened)
        return opened;
    if (Status written = file.write(bytes); !written)
        return written;
    return file.commit();
}

} // namespace halcyra

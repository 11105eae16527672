#include "support/FileLocks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace halcyra::test {

QStringList locksHeldOn(const QString& path, qint64 pid)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    const QString file = QStringLiteral("%1:%2:%3")
                             .arg(major(info.st_dev), 2, 16, QChar(u'0'))
                             .arg(minor(info.st_dev), 2, 16, QChar(u'0'))
                             .arg(info.st_ino);
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return {};
    const QString owner = QString::number(pid);
    QStringList held;
    for (const QByteArray& line : locks.readAll().split('\n')) {
        // "1: POSIX  ADVISORY  READ 4242 08:01:1234 128 128"; waiting requests carry "->".
        const QStringList fields = QString::fromLatin1(line).simplified().split(u' ');
        if (fields.size() < 8 || fields.at(1) == u"->" || fields.at(4) != owner ||
            fields.at(5) != file)
            continue;
        held << fields.at(3) + u' ' + fields.mid(6).join(u' ');
    }
    held.sort();
    return held;
}

QStringList deletedFilesOpenIn(qint64 pid)
{
    QStringList deleted;
    const QDir descriptors(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo& fd : descriptors.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = fd.symLinkTarget();
        if (target.endsWith(QStringLiteral(" (deleted)")))
            deleted << target;
    }
    return deleted;
}

} // namespace halcyra::test

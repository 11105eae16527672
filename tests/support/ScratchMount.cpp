#include "support/ScratchMount.h"

#include <QFile>
#include <QStorageInfo>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace halcyra::test {

ScratchMount::ScratchMount(qint64 bytes)
{
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (!m_dir.isValid())
        m_reason = QStringLiteral("no temporary folder");
    else if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                     options.constData()) != 0)
        m_reason = QStringLiteral("mounting a tmpfs failed: ") +
                   QString::fromLocal8Bit(std::strerror(errno));
    else
        m_mounted = true;
}

ScratchMount::~ScratchMount()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

bool ScratchMount::makeReadOnly()
{
    return m_mounted && ::mount(nullptr, QFile::encodeName(m_dir.path()).constData(), nullptr,
                                MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool ScratchMount::fill(qint64 leave)
{
    QFile filler(filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'x');
    for (;;) {
        const qint64 free = QStorageInfo(path()).bytesAvailable();
        if (free <= leave)
            return true;
        const qint64 size = std::min<qint64>(block.size(), free - leave);
        if (filler.write(block.constData(), size) <= 0)
            return QStorageInfo(path()).bytesAvailable() <= leave;
    }
}

} // namespace halcyra::test

#pragma once

#include <QString>
#include <QTemporaryDir>

namespace halcyra::test {

// A small file system of the test's own (tmpfs), for full disks and read-only media. Mounting
// needs root, as CI has; where it cannot mount, reason() says why and the test skips.
class ScratchMount
{
public:
    explicit ScratchMount(qint64 bytes);
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool isMounted() const { return m_mounted; }
    QString reason() const { return m_reason; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

    bool makeReadOnly();
    // Fills the file system with one file until no more than `leave` bytes are free.
    bool fill(qint64 leave);

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_reason;
};

} // namespace halcyra::test

// Skips the current test when `mount` could not be mounted.
#define SKIP_UNLESS_MOUNTED(mount)                                                                 \
    if (!(mount).isMounted())                                                                      \
    QSKIP(qPrintable(QStringLiteral("no scratch file system: ") + (mount).reason()))

#pragma once

#include <QString>
#include <QStringList>

namespace halcyra::test {

// The POSIX locks process `pid` holds on `path`, as the kernel lists them in /proc/locks:
// "READ 128 128" and the like, sorted. Closing any descriptor of a file drops all of a
// process's locks on it at once, which is what tests watch for with this.
QStringList locksHeldOn(const QString& path, qint64 pid);

// The files process `pid` still has open although they were removed ("... (deleted)").
QStringList deletedFilesOpenIn(qint64 pid);

} // namespace halcyra::test

#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <memory>

class QTemporaryFile;

namespace halcyra {

// Client data is for the adviser's eyes only: what we create is readable by its owner alone,
// whatever the umask.
inline constexpr QFileDevice::Permissions kOwnerOnlyFile =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;
inline constexpr QFileDevice::Permissions kOwnerOnlyFolder = kOwnerOnlyFile | QFileDevice::ExeOwner;

// Creates `folder` and its missing parents, each new one owner-only. A folder that is already
// there keeps its mode.
Status makeOwnerOnlyFolder(const QString& folder);

// Creates an empty owner-only file, and its missing folders, where there is no file yet.
Status createOwnerOnlyFile(const QString& path);

// Refuses a path that is a folder or names something other than a regular file (a pipe, a
// device, a link to either). A link is never written through: the new file replaces the link.
Status checkOutputPath(const QString& path);

// A file written under a temporary owner-only name beside its final one, which it takes over
// only on commit(), once every byte has reached the disk. Whatever had the name before (a file
// of any mode, a link) is replaced, never written into; until then it stays as it was. Dropped
// without commit(), nothing is left behind.
class OutputFile
{
public:
    explicit OutputFile(QString path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    Status open();
    // Writes all of `bytes` or says why not.
    Status write(const QByteArray& bytes);
    Status commit();

private:
    Failure cannotWrite(const QString& reason) const;

    QString m_path;
    std::unique_ptr<QTemporaryFile> m_file;
};

// Writes `bytes` to `path` whole or not at all, through an OutputFile.
Status writeFileWhole(const QString& path, const QByteArray& bytes);

} // namespace halcyra

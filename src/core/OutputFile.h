#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace halcyra {

// Client data is for the adviser's eyes only: what we create is readable by its owner alone,
// whatever the umask.
inline constexpr QFileDevice::Permissions kOwnerOnlyFile =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;
inline constexpr QFileDevice::Permissions kOwnerOnlyFolder = kOwnerOnlyFile | QFileDevice::ExeOwner;

// Creates `folder` and its missing parents, each new one owner-only. A folder that is already
// there keeps its mode.
Status makeOwnerOnlyFolder(const QString& folder);

// Creates an empty owner-only file, and its missing folders, where there is no file yet; for
// writers such as QSettings that keep the mode of the file they replace.
Status createOwnerOnlyFile(const QString& path);

// Refuses a path that exists and is not a regular file (a folder, a pipe, a device); a link to
// a regular file is fine, the file it points to is written.
Status checkOutputPath(const QString& path);

// Writes `bytes` to `path` whole or not at all: they go to a temporary file beside it, which
// replaces `path` only when every byte has reached the disk. A short or failed write leaves the
// old file as it was. A new file is owner-only; a replaced file keeps its mode.
Status writeFileWhole(const QString& path, const QByteArray& bytes);

} // namespace halcyra

#pragma once

#include "core/Result.h"

#include <QString>
#include <QStringList>

namespace halcyra {

// The documents waiting for the PDF reader: "Temp/tmpAcroRd.txt" in the program folder, one
// quoted full path a line. The program appends, the launcher OpenAcRd takes the whole queue.
// Both hold the queue's lock file while they touch it, so a record appended while the
// launcher takes the queue is either taken with it or stays for the next launch.

// "<folder>Temp/tmpAcroRd.txt" (`folder` ends in the separator).
QString readerQueuePath(const QString& folder);

// The file of that name in the folder, whatever the letter case of either ("P1.PDF" finds
// "P1.pdf"); empty when there is none.
QString findDocument(const QString& folder, const QString& fileName);

// Whether the file of that name (any letter case) opens for reading.
bool FileOpensForReading(const QString& folder, const QString& fileName);

// Appends the record of `fileName` (a name in `folder`) to the queue. The Temp folder is made
// when missing; the folder and the queue are the owner's only.
Status QueueFileForReader(const QString& folder, const QString& fileName);

// Takes every queued document and leaves the queue empty: the launcher's side.
Result<QStringList> takeReaderQueue(const QString& folder);

// The launcher: "<folder>OpenAcRd/OpenAcRd" in the program folder, else where this program
// was installed (see helperProgramPath).
QString launcherPath(const QString& folder);
// Starts the launcher without waiting for it.
Status startReaderLauncher(const QString& folder);

// The reader folder as the stored reader path names it: a trailing "acrord32.exe" (any
// case) cut off, the characters / ; * ? < > | removed, ending in "\".
QString VerifyPath(const QString& path);
// The reader's major version from its path: the character 8 places after "ACROBAT".
QString VersionNum(const QString& path);

} // namespace halcyra

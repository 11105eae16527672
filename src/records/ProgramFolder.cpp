#include "records/ProgramFolder.h"

#include "core/OutputFile.h"
#include "core/Version.h"
#include "records/DatabaseFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace halcyra {
namespace {

// Names the version of the program data last copied in.
const char* const kFilledStamp = ".program-data-version";

bool isEmptyOrMissing(const QString& folder)
{
    const QDir dir(folder);
    return !dir.exists() || dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

Result<QByteArray> readWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1 could not be read: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    return file.readAll();
}

// The files of the program data the adviser may have edited: only added when missing.
bool isAdviserEditable(const QString& relativePath)
{
    return relativePath == u"WebURL.txt" || relativePath == u"OtherDoc.txt" ||
           relativePath == u"TipOfDay.TXT";
}

// Copies `relative` from the program data unless the folder's copy is the same already.
Status copyIn(const QString& programData, const QString& folder, const QString& relative)
{
    const QString target = QDir(folder).filePath(relative);
    const bool present = QFileInfo::exists(target);
    if (present && isAdviserEditable(relative))
        return {};
    const auto source = readWhole(QDir(programData).filePath(relative));
    if (!source)
        return fail(source.error());
    if (present) {
        if (const auto current = readWhole(target); current && *current == *source)
            return {};
    }
    if (const Status made = makeOwnerOnlyFolder(QFileInfo(target).absolutePath()); !made)
        return made;
    return writeFileWhole(target, *source);
}

Status fillFromProgramData(const QString& folder, const QString& programData)
{
    const QString stampPath = QDir(folder).filePath(QString::fromLatin1(kFilledStamp));
    QFile stamp(stampPath);
    const bool sameVersion =
        stamp.open(QIODevice::ReadOnly) && QString::fromUtf8(stamp.readAll()) == versionNumber();
    QDirIterator files(programData, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    const QDir data(programData);
    while (files.hasNext()) {
        const QString relative = data.relativeFilePath(files.next());
        // Within one version only what is missing is put back; a new version brings its files.
        if (sameVersion && QFileInfo::exists(QDir(folder).filePath(relative)))
            continue;
        if (const Status copied = copyIn(programData, folder, relative); !copied)
            return copied;
    }
    return sameVersion ? Status() : writeFileWhole(stampPath, versionNumber().toUtf8());
}

} // namespace

Status prepareProgramFolder(const QString& folder, const QString& programData)
{
    const bool isNew = isEmptyOrMissing(folder);
    if (const Status made = makeOwnerOnlyFolder(folder); !made)
        return made;
    // Health data: a folder of ours that others may look into is closed to them.
    constexpr QFileDevice::Permissions kOpenToOthers = QFile::ReadGroup | QFile::WriteGroup |
                                                       QFile::ExeGroup | QFile::ReadOther |
                                                       QFile::WriteOther | QFile::ExeOther;
    // (On a read-only medium there is nothing to change; what is written there says why not.)
    if (const QFileInfo info(folder);
        info.ownerId() == ::getuid() && info.isWritable() && (info.permissions() & kOpenToOthers))
        if (!QFile::setPermissions(folder, kOwnerOnlyFolder))
            return fail(QStringLiteral("The program folder %1 is open to other users and could "
                                       "not be closed to them.")
                            .arg(QDir::toNativeSeparators(folder)));
    if (!programData.isEmpty() && QDir(programData).absolutePath() != QDir(folder).absolutePath())
        if (const Status filled = fillFromProgramData(folder, programData); !filled)
            return filled;
    if (isNew)
        if (const Result<CreateResult> created = createDatabaseIfMissing(folder); !created)
            return fail(created.error());
    return {};
}

} // namespace halcyra

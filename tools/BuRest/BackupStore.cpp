#include "BackupStore.h"

#include "BackupNames.h"
#include "core/OutputFile.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace halcyra::burest {
namespace {

// The outermost folder of `folder` that is not there yet, or empty when it is there.
QString firstMissingFolder(const QString& folder)
{
    QString missing;
    for (QString path = QDir::cleanPath(QDir(folder).absolutePath()); !QFileInfo::exists(path);
         path = QFileInfo(path).path()) {
        missing = path;
        if (QFileInfo(path).path() == path)
            break;
    }
    return missing;
}

// Takes away the empty folders a failed backup made, from `folder` up to `outermost`.
void removeMadeFolders(const QString& folder, const QString& outermost)
{
    for (QString path = QDir::cleanPath(QDir(folder).absolutePath());
         path.startsWith(outermost) && QDir().rmdir(path); path = QFileInfo(path).path()) {
        if (path == outermost)
            break;
    }
}

Result<BackupInfo> writeBackup(const QString& databasePath, const QString& folder, int keep,
                               const Progress& progress)
{
    ClientReader source;
    if (Status opened = source.open(databasePath); !opened)
        return fail(QStringLiteral("Nothing was backed up: %1").arg(opened.error()));
    // One read transaction for the whole copy: it sees the database as it was when it began,
    // while the program goes on writing beside it.
    if (auto begun = exec(source.handle(), "BEGIN"); !begun)
        return Failure{begun.error()};
    auto clients = clientCount(source.handle());
    if (!clients)
        return Failure{clients.error()};
    const QDateTime now = QDateTime::currentDateTime();
    const QString stem =
        backupPrefix(databasePath) + now.toString(QString::fromLatin1(kStampFormat));
    const QString part = partPathFor(QDir(folder).filePath(stem + QStringLiteral(".db")));
    const Status written = writeCopy(source.handle(), part, progress);
    source.close();
    if (!written)
        return fail(QStringLiteral("Nothing was backed up: the copy could not be written in %1: %2")
                        .arg(QDir::toNativeSeparators(folder), written.error()));

    // The copy gets its name only once it has been read back whole.
    auto checked = checkClientDatabase(part);
    if (!checked || *checked != *clients) {
        removeWithJournals(part);
        return fail(QStringLiteral("The backup failed its check: %1")
                        .arg(checked ? QStringLiteral("it holds %1 clients instead of %2.")
                                           .arg(*checked)
                                           .arg(*clients)
                                     : checked.error()));
    }
    auto target = nameFinished(part, folder, stem);
    if (!target)
        return Failure{target.error()};

    // Older backups beyond the newest `keep` go, newest by the date in their names; the one
    // just written stays whatever the dates say.
    const QString prefix = backupPrefix(databasePath);
    std::vector<std::pair<NameStamp, QString>> older;
    for (const QFileInfo& file :
         QDir(folder).entryInfoList({QStringLiteral("*.db")}, QDir::Files | QDir::Hidden)) {
        if (file.absoluteFilePath() != QFileInfo(*target).absoluteFilePath() &&
            isRegularBackup(file.fileName(), prefix))
            older.emplace_back(stampOf(file.fileName()), file.absoluteFilePath());
    }
    std::sort(older.begin(), older.end(),
              [](const auto& a, const auto& b) { return b.first < a.first; });
    for (size_t i = static_cast<size_t>(std::max(keep, 1) - 1); i < older.size(); ++i)
        QFile::remove(older[i].second);

    if (!QFileInfo(*target).isFile())
        return fail(QStringLiteral("The backup %1 was written but is no longer there.")
                        .arg(QDir::toNativeSeparators(*target)));
    BackupInfo info;
    info.path = *target;
    info.taken = now;
    info.size = QFileInfo(*target).size();
    info.clients = *clients;
    return info;
}

} // namespace

QString defaultBackupFolder(const QString& databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("Backups"));
}

QString defaultDatabase(const QString& settingsFolder, const QString& programFolder)
{
    const SettingsStore settings(settingsFolder);
    // What the program named, as long as it still names a database.
    const QString stored = settings.get(keys::hcyLocation());
    if (!stored.isEmpty() && QFileInfo(stored).isFile())
        return stored;
    return QDir(programFolder).filePath(QStringLiteral("HCY300.db"));
}

Result<int> checkClientDatabase(const QString& path)
{
    ClientReader reader;
    if (Status opened = reader.open(path); !opened)
        return Failure{opened.error()};
    return checkOpened(reader.handle(), path);
}

Result<BackupInfo> makeBackup(const QString& databasePath, const QString& folder, int keep,
                              const Progress& progress)
{
    removeStaleParts(folder, backupPrefix(databasePath));
    const QString missing = firstMissingFolder(folder);
    if (Status made = makeOwnerOnlyFolder(folder); !made)
        return fail(QStringLiteral("Nothing was backed up: %1.").arg(made.error()));
    auto backup = writeBackup(databasePath, folder, keep, progress);
    if (!backup && !missing.isEmpty())
        removeMadeFolders(folder, missing);
    return backup;
}

std::vector<BackupInfo> listBackups(const QString& folder)
{
    std::vector<std::pair<NameStamp, BackupInfo>> backups;
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*.db")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& file : files) {
        NameStamp stamp = stampOf(file.fileName());
        if (!stamp.taken.isValid())
            stamp.taken = file.lastModified();
        BackupInfo info;
        info.path = file.absoluteFilePath();
        info.taken = stamp.taken;
        info.size = file.size();
        if (auto db = openFile(info.path, false)) {
            if (auto clients = clientCount(db->get()))
                info.clients = *clients;
        }
        backups.emplace_back(stamp, info);
    }
    std::stable_sort(backups.begin(), backups.end(),
                     [](const auto& a, const auto& b) { return b.first < a.first; });
    std::vector<BackupInfo> sorted;
    sorted.reserve(backups.size());
    for (auto& backup : backups)
        sorted.push_back(std::move(backup.second));
    return sorted;
}

QStringList unfinishedCopies(const QString& folder)
{
    return staleParts(folder, QString());
}

QString restoreSummary(const RestoreInfo& info, const QString& databasePath)
{
    QString text = QStringLiteral("Restored %1 clients into %2.")
                       .arg(info.clients)
                       .arg(QDir::toNativeSeparators(databasePath));
    if (info.keptCopy.isEmpty())
        return text + QStringLiteral(" There was no database there before.");
    if (!info.keptAsBytes.isEmpty())
        return text + QStringLiteral(" The file there before was no whole database (%1); its "
                                     "bytes are kept in %2")
                          .arg(info.keptAsBytes, QDir::toNativeSeparators(info.keptCopy));
    return text + QStringLiteral(" The database as it was is kept in %1")
                      .arg(QDir::toNativeSeparators(info.keptCopy));
}

} // namespace halcyra::burest

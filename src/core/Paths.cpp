#include "core/Paths.h"

#include "core/Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace halcyra {

QString AddTrailingBackslash(QString& path)
{
    const QChar separator = QDir::separator();
    if (!path.endsWith(separator))
        path += separator;
    return path;
}

QString defaultInstallFolder()
{
#ifdef Q_OS_WIN
    QString folder =
        QStringLiteral("C:\\Program Files\\Halcyra %1.%2\\").arg(kVersionMajor).arg(kVersionMinor);
#else
    QString folder = QDir::toNativeSeparators(QDir::home().filePath(QStringLiteral("Halcyra")));
#endif
    return AddTrailingBackslash(folder);
}

QString databaseFolderFor(const QString& workingFolder)
{
    QString folder = QDir::toNativeSeparators(workingFolder);
    AddTrailingBackslash(folder);
    if (folder.contains(QStringLiteral("DevStudio"), Qt::CaseInsensitive))
        folder = defaultInstallFolder();
    return folder;
}

namespace {

bool holdsDatabase(const QString& folder)
{
    return QFileInfo(QDir(folder).filePath(QStringLiteral("HCY300.db"))).isFile();
}

} // namespace

QString userProgramFolder(const QString& workingFolder)
{
    const QString chosen = qEnvironmentVariable("HALCYRA_HOME");
    if (!chosen.isEmpty())
        return QDir(chosen).absolutePath();
    if (!workingFolder.isEmpty() && holdsDatabase(workingFolder))
        return QDir(workingFolder).absolutePath();
    if (const QString own = QCoreApplication::applicationDirPath(); holdsDatabase(own))
        return own;
    const QString earlier = QDir::home().filePath(QStringLiteral("Halcyra"));
    if (holdsDatabase(earlier))
        return earlier;
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || QDir::isRelativePath(data))
        data = QDir::home().filePath(QStringLiteral(".local/share"));
    return QDir(data).filePath(QStringLiteral("Halcyra"));
}

QString installedProgramData()
{
    const QDir bin(QCoreApplication::applicationDirPath());
    if (bin.dirName() != u"bin")
        return {};
    const QString data = QDir::cleanPath(bin.filePath(QStringLiteral("../share/halcyra")));
    return QFileInfo(data).isDir() ? data : QString();
}

QString helperProgramPath(const QString& programFolder, const QString& relative)
{
    const QDir programs(QCoreApplication::applicationDirPath());
    const QStringList places = {
        QDir(programFolder).filePath(relative), programs.filePath(relative),
        QDir::cleanPath(
            programs.filePath(QStringLiteral("../lib/halcyra/") + QFileInfo(relative).fileName()))};
    for (const QString& place : places)
        if (QFileInfo(place).isFile())
            return place;
    return places.first();
}

} // namespace halcyra

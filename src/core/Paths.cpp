#include "core/Paths.h"

#include "core/Version.h"

#include <QDir>

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

} // namespace halcyra

#include "support/TempProgramFolder.h"

#include "records/DatabaseFile.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace halcyra::test {

TempProgramFolder::TempProgramFolder()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("program"));
    QDir(m_dir.path()).mkpath(QStringLiteral("settings"));
}

QString TempProgramFolder::folder() const
{
    return QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("program"))) + QDir::separator();
}

QString TempProgramFolder::settingsFolder() const
{
    return m_dir.filePath(QStringLiteral("settings"));
}

QString TempProgramFolder::path(const QString& fileName) const
{
    return folder() + fileName;
}

void TempProgramFolder::createDatabase() const
{
    if (const auto created = createDatabaseIfMissing(folder()); !created)
        throw std::runtime_error(created.error().toStdString());
}

void TempProgramFolder::writeFile(const QString& fileName, const QByteArray& content) const
{
    QFile file(path(fileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        throw std::runtime_error("cannot write a test file");
}

} // namespace halcyra::test

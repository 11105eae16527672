#include "flyers/ReaderQueue.h"

#include "core/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>

namespace halcyra {
namespace {

constexpr int kLockWaitMs = 10000;
constexpr auto kOwnerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr auto kOwnerOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

QString queueFolder(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("Temp"));
}

QString lockPath(const QString& folder)
{
    return readerQueuePath(folder) + QStringLiteral(".lock");
}

Status ensureQueueFolder(const QString& folder)
{
    const QString temp = queueFolder(folder);
    if (QFileInfo(temp).isDir())
        return {};
    if (!QDir().mkdir(temp, kOwnerOnlyFolder))
        return fail(QStringLiteral("The folder %1 could not be created.")
                        .arg(QDir::toNativeSeparators(temp)));
    return {};
}

// A record is the path in double quotes; a path never holds one.
QString unquoted(QString line)
{
    line = line.trimmed();
    if (line.size() >= 2 && line.startsWith(u'"') && line.endsWith(u'"'))
        return line.mid(1, line.size() - 2);
    return line;
}

} // namespace

QString readerQueuePath(const QString& folder)
{
    return QDir(queueFolder(folder)).filePath(QStringLiteral("tmpAcroRd.txt"));
}

QString findDocument(const QString& folder, const QString& fileName)
{
    const QDir dir(folder);
    const QString exact = dir.filePath(fileName);
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries)
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

bool FileOpensForReading(const QString& folder, const QString& fileName)
{
    const QString path = findDocument(folder, fileName);
    if (path.isEmpty())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

Status QueueFileForReader(const QString& folder, const QString& fileName)
{
    if (const Status made = ensureQueueFolder(folder); !made)
        return made;
    QLockFile lock(lockPath(folder));
    if (!lock.tryLock(kLockWaitMs))
        return fail(QStringLiteral("The reader queue is in use by another program."));
    const QString path = readerQueuePath(folder);
    QFile queue(path);
    if (!queue.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text, kOwnerOnlyFile))
        return fail(QStringLiteral("The reader queue %1 could not be opened: %2")
                        .arg(QDir::toNativeSeparators(path), queue.errorString()));
    const QString found = findDocument(folder, fileName);
    const QString record =
        u'"' + QDir::toNativeSeparators(found.isEmpty() ? QDir(folder).filePath(fileName) : found) +
        QStringLiteral("\"\n");
    const QByteArray bytes = record.toUtf8();
    if (queue.write(bytes) != bytes.size() || !queue.flush())
        return fail(QStringLiteral("The reader queue %1 could not be written: %2")
                        .arg(QDir::toNativeSeparators(path), queue.errorString()));
    return {};
}

Result<QStringList> takeReaderQueue(const QString& folder)
{
    const QString path = readerQueuePath(folder);
    if (!QFileInfo::exists(path))
        return QStringList();
    QLockFile lock(lockPath(folder));
    if (!lock.tryLock(kLockWaitMs))
        return fail(QStringLiteral("The reader queue is in use by another program."));
    QFile queue(path);
    if (!queue.open(QIODevice::ReadWrite | QIODevice::Text))
        return fail(QStringLiteral("The reader queue %1 could not be opened: %2")
                        .arg(QDir::toNativeSeparators(path), queue.errorString()));
    QStringList documents;
    const QStringList lines = QString::fromUtf8(queue.readAll()).split(u'\n');
    for (const QString& line : lines)
        if (const QString document = unquoted(line); !document.isEmpty())
            documents << document;
    if (!queue.resize(0))
        return fail(QStringLiteral("The reader queue %1 could not be emptied: %2")
                        .arg(QDir::toNativeSeparators(path), queue.errorString()));
    return documents;
}

QString launcherPath(const QString& folder)
{
#ifdef Q_OS_WIN
    return helperProgramPath(folder, QStringLiteral("OpenAcRd/OpenAcRd.exe"));
#else
    return helperProgramPath(folder, QStringLiteral("OpenAcRd/OpenAcRd"));
#endif
}

Status startReaderLauncher(const QString& folder)
{
    const QString program = launcherPath(folder);
    if (!QProcess::startDetached(program, {QStringLiteral("--folder"), folder}, folder))
        return fail(QStringLiteral("The document launcher %1 could not be started.")
                        .arg(QDir::toNativeSeparators(program)));
    return {};
}

QString VerifyPath(const QString& path)
{
    QString cleaned = path;
    static const QString reader = QStringLiteral("acrord32.exe");
    if (cleaned.endsWith(reader, Qt::CaseInsensitive))
        cleaned.chop(reader.size());
    for (QChar c : {u'/', u';', u'*', u'?', u'<', u'>', u'|'})
        cleaned.remove(c);
    if (!cleaned.endsWith(u'\\'))
        cleaned += u'\\';
    return cleaned;
}

QString VersionNum(const QString& path)
{
    const qsizetype at = path.toUpper().indexOf(QStringLiteral("ACROBAT"));
    if (at < 0)
        return {};
    return path.mid(at + 8, 1);
}

} // namespace halcyra

#include "ReaderLaunch.h"

#include "core/Conversions.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "flyers/ReaderQueue.h"

#include <QDir>
#include <QFileInfo>

namespace halcyra::openacrd {
namespace {

constexpr int kFileManagerMethod = 1;

} // namespace

OpenWay openWay(int flyersMethod, const QString& readerPath)
{
    OpenWay way;
    if (flyersMethod == kFileManagerMethod) {
        way.kind = OpenWay::Kind::FileManager;
        return way;
    }
    const QFileInfo reader(readerPath.trimmed());
    if (!readerPath.trimmed().isEmpty() && reader.isFile() && reader.isExecutable()) {
        way.kind = OpenWay::Kind::Reader;
        way.reader = reader.absoluteFilePath();
    }
    return way;
}

OpenWay openWayFromSettings(const SettingsStore& settings)
{
    return openWay(leadingInteger(settings.get(keys::flyersOption())),
                   settings.get(keys::readerPath()));
}

OpenCommand openCommand(const OpenWay& way, const QString& document)
{
    switch (way.kind) {
    case OpenWay::Kind::Reader:
        return {way.reader, {document}};
    case OpenWay::Kind::FileManager:
        return {QStringLiteral("xdg-open"), {QFileInfo(document).absolutePath()}};
    case OpenWay::Kind::DefaultViewer:
        break;
    }
    return {QStringLiteral("xdg-open"), {document}};
}

QStringList openQueuedDocuments(const QString& folder, const OpenWay& way,
                                const StartFunction& start)
{
    const Result<QStringList> queued = takeReaderQueue(folder);
    if (!queued)
        return {queued.error()};
    QStringList problems;
    for (const QString& document : *queued) {
        const QString path = QDir::fromNativeSeparators(document);
        // The program checks before queuing, but a file can go in between.
        if (!QFileInfo(path).isFile()) {
            problems << QStringLiteral("%1: the document does not exist.").arg(document);
            continue;
        }
        const OpenCommand command = openCommand(way, path);
        if (!start(command))
            problems << QStringLiteral("%1: %2 could not be started.")
                            .arg(document, QDir::toNativeSeparators(command.program));
    }
    return problems;
}

} // namespace halcyra::openacrd

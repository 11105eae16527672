#include "ui/WebLinks.h"

#include "flyers/ReaderQueue.h"

#include <QDir>
#include <QFile>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace halcyra {
namespace {

QUrl comparable(const QString& address)
{
    QUrl url = QUrl::fromUserInput(address.trimmed());
    // A site's address names its root page, with or without the "/".
    if (url.path().isEmpty())
        url.setPath(QStringLiteral("/"));
    return url.adjusted(QUrl::StripTrailingSlash | QUrl::NormalizePathSegments);
}

} // namespace

Result<QString> ReadWebURL(const QString& programFolder, int line)
{
    const QString shown = QDir::toNativeSeparators(QDir(programFolder).filePath(webLinkFileName()));
    if (line < 1)
        return fail(QStringLiteral("There is no web link %1.").arg(line));
    const QString path = findDocument(programFolder, webLinkFileName());
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("The list of web links %1 could not be read, so this link has "
                                   "no address. Reinstall the program to put it back.")
                        .arg(shown));
    int read = 0;
    QString text;
    while (read < line && !file.atEnd()) {
        text = QString::fromUtf8(file.readLine()).trimmed();
        ++read;
    }
    if (read < line)
        return fail(QStringLiteral("The list of web links %1 holds %2 lines, so it has no address "
                                   "for link %3.")
                        .arg(shown)
                        .arg(read)
                        .arg(line));
    if (text.isEmpty())
        return fail(
            QStringLiteral("Line %1 of the list of web links %2 is empty.").arg(line).arg(shown));
    return text;
}

bool hasOwnWebAddress(const QString& storedAddress)
{
    const QString address = storedAddress.trimmed();
    return !address.isEmpty() && address.compare(u"http://", Qt::CaseInsensitive) != 0;
}

Result<QString> webLinkAddress(WebLink link, const WebLinkSources& sources)
{
    switch (link) {
    case WebLink::HCY:
        if (sources.programAddress.trimmed().isEmpty())
            return fail(QStringLiteral("This installation names no web site of the program."));
        return sources.programAddress.trimmed();
    case WebLink::My:
        if (!hasOwnWebAddress(sources.ownAddress))
            return fail(QStringLiteral("No web address of your own is stored. Enter it in "
                                       "Setup > Company Info."));
        return sources.ownAddress.trimmed();
    case WebLink::Health:
        return ReadWebURL(sources.programFolder, 1);
    case WebLink::Board:
        return ReadWebURL(sources.programFolder, 2);
    case WebLink::Kiv:
        return ReadWebURL(sources.programFolder, 3);
    case WebLink::Tessaly:
        return ReadWebURL(sources.programFolder, 4);
    }
    return fail(QStringLiteral("Unknown web link."));
}

qsizetype findAddress(const QStringList& list, const QString& address)
{
    const QUrl wanted = comparable(address);
    for (qsizetype i = 0; i < list.size(); ++i)
        if (comparable(list[i]) == wanted)
            return i;
    return -1;
}

BrowserChoice chooseBrowser(bool embeddedBuiltIn, bool runningAsRoot,
                            const QProcessEnvironment& environment)
{
    if (!embeddedBuiltIn)
        return BrowserChoice::Desktop;
    if (!runningAsRoot)
        return BrowserChoice::Embedded;
    // The engine takes the variable being there at all, whatever its value, as "off".
    const bool sandboxOff = environment.contains(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX")) ||
                            environment.value(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"))
                                .split(QLatin1Char(' '), Qt::SkipEmptyParts)
                                .contains(QStringLiteral("--no-sandbox"));
    return sandboxOff ? BrowserChoice::Embedded : BrowserChoice::Desktop;
}

BrowserChoice chooseBrowser(bool embeddedBuiltIn)
{
#ifdef Q_OS_UNIX
    const bool root = geteuid() == 0;
#else
    const bool root = false;
#endif
    return chooseBrowser(embeddedBuiltIn, root, QProcessEnvironment::systemEnvironment());
}

} // namespace halcyra

#pragma once

#include "core/Result.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace halcyra {

// The entries of View > Web Browser, in menu order.
enum class WebLink { HCY, My, Health, Board, Kiv, Tessaly };

inline QString webLinkFileName()
{
    return QStringLiteral("WebURL.txt");
}

// Line `line` (from 1) of "WebURL.txt" in the program folder, trimmed. A missing file, a file
// with fewer lines or an empty line gives a message saying which, never an empty address.
Result<QString> ReadWebURL(const QString& programFolder, int line);

// Where the entries find their addresses.
struct WebLinkSources
{
    QString programFolder;  // holds "WebURL.txt"
    QString programAddress; // the program's own site, a value of the installation
    QString ownAddress;     // the adviser's own site, as stored by the company window
};

// The address an entry opens.
Result<QString> webLinkAddress(WebLink link, const WebLinkSources& sources);

// The "My Website" entry is offered only when the adviser has stored an address of their own:
// not empty and more than the bare "http://" the company window starts with.
bool hasOwnWebAddress(const QString& storedAddress);

// The page the browser window's Search button opens.
inline QString searchPageAddress()
{
    return QStringLiteral("https://duckduckgo.com/");
}

// The entry of `list` that names the same page as `address` (letter case of scheme and host, a
// trailing "/" and a missing "http://" make no difference), or -1.
qsizetype findAddress(const QStringList& list, const QString& address);

// How links are shown: in the program's own browser window or in the desktop's browser.
enum class BrowserChoice { Embedded, Desktop };

// The embedded engine refuses to start as root with its sandbox on, and ending the program
// then would lose what the adviser typed; switching the sandbox off on our own would let any
// web page run with root's rights. So as root the window is used only when the person
// starting the program has switched the sandbox off (QTWEBENGINE_DISABLE_SANDBOX=1 or
// "--no-sandbox" in QTWEBENGINE_CHROMIUM_FLAGS); otherwise links go to the desktop's browser.
BrowserChoice chooseBrowser(bool embeddedBuiltIn, bool runningAsRoot,
                            const QProcessEnvironment& environment);
// The same for this process and its environment.
BrowserChoice chooseBrowser(bool embeddedBuiltIn);

} // namespace halcyra

#include "ui/WindowsVersion.h"

#include <QSysInfo>

namespace halcyra {

QString windowsVersionName(unsigned platformId, unsigned major, unsigned minor)
{
    if (platformId == 1) {
        switch (minor) {
        case 0:
            return QStringLiteral("Windows 95");
        case 10:
            return QStringLiteral("Windows 98");
        case 90:
            return QStringLiteral("Windows Mellinnium");
        default:
            break;
        }
    } else if (platformId == 2) {
        if (major == 3)
            return QStringLiteral("Windows NT 3.51");
        if (major == 4)
            return QStringLiteral("Windows NT 4.0");
        if (major == 5)
            return minor == 0 ? QStringLiteral("Windows 2000") : QStringLiteral("Windows XP");
    }
    return QStringLiteral(
               "Failed. - .dwPlatformId = %1: .dwMajorVersion = %2: .dwMinorVersion = %3")
        .arg(platformId)
        .arg(major)
        .arg(minor);
}

QString GetWindowsVersionName()
{
    // Windows releases after XP report numbers the table does not know; the system's own
    // name is the useful text everywhere the table cannot answer.
    return QSysInfo::prettyProductName();
}

} // namespace halcyra

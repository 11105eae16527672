#pragma once

#include <QString>

namespace halcyra {

// The name of a Windows version from the numbers the system reports, or the failure text
// naming the numbers when the combination is not known.
QString windowsVersionName(unsigned platformId, unsigned major, unsigned minor);

// The name of the running system: the table above on Windows, the system's own name elsewhere.
QString GetWindowsVersionName();

} // namespace halcyra

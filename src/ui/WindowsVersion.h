#pragma once

#include <QString>

namespace halcyra {

// The name of a Windows version from the numbers the system reports, or the failure text
// naming the numbers when the combination is not known.
QString windowsVersionName(unsigned platformId, unsigned major, unsigned minor);

// The name of the running system as the system itself gives it: every release since XP reports
// numbers the table above does not know.
QString GetWindowsVersionName();

} // namespace halcyra

#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <map>

namespace halcyra {

// The text of an INI file as QSettings reads it back: `values` are keyed "section/key" (a key
// without a section goes to [General]); texts are quoted and escaped, lists kept as lists.
QByteArray iniText(const std::map<QString, QVariant>& values);

} // namespace halcyra

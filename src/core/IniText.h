#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <map>

namespace halcyra {

// The text of an INI file as QSettings reads it back: `values` are keyed "section/key" (a key
// without a section goes to [General]); texts are quoted and escaped, lists kept as lists.
QByteArray iniText(const std::map<QString, QVariant>& values);

// What an INI file holds, read as QSettings reads it: the same keys and values, texts and lists.
// `damaged` tells of lines that are neither a section, a key nor a comment (skipped, as
// QSettings skips them).
struct IniValues
{
    std::map<QString, QVariant> values;
    bool damaged = false;
};
IniValues readIniText(QByteArrayView text);

} // namespace halcyra

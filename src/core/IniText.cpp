#include "core/IniText.h"

#include <QStringList>

namespace halcyra {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

bool isHexDigit(char32_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Section and key names: letters, digits and "_-." as they are, "/" inside a key as "\",
// everything else as %XX or %UXXXX.
QByteArray escapedName(const QString& name)
{
    QByteArray out;
    for (const QChar c : name) {
        const char16_t ch = c.unicode();
        if (ch == u'/')
            out += '\\';
        else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
                 ch == '_' || ch == '-' || ch == '.')
            out += static_cast<char>(ch);
        else if (ch <= 0xFF)
            out += QByteArray("%") + kHex[ch / 16] + kHex[ch % 16];
        else
            out += QByteArray("%U") + kHex[(ch >> 12) & 15] + kHex[(ch >> 8) & 15] +
                   kHex[(ch >> 4) & 15] + kHex[ch & 15];
    }
    return out;
}

// One text in quotes, with backslash escapes for what would end or change it.
QByteArray quotedText(QString text)
{
    if (text.startsWith(u'@'))
        text.prepend(u'@'); // QSettings reads a leading "@" as a type mark
    QByteArray out = "\"";
    bool hexEscapeOpen = false;
    for (const char32_t ch : text.toUcs4()) {
        // A \x escape takes every hex digit after it, so one right after it is escaped too.
        if (hexEscapeOpen && isHexDigit(ch)) {
            out += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        hexEscapeOpen = false;
        switch (ch) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (ch < 0x20 || ch == 0x7F) {
                out += "\\x" + QByteArray::number(ch, 16);
                hexEscapeOpen = true;
            } else {
                out += QString::fromUcs4(&ch, 1).toUtf8();
            }
        }
    }
    return out + '"';
}

QByteArray valueText(const QVariant& value)
{
    if (value.typeId() != QMetaType::QStringList)
        return quotedText(value.toString());
    QList<QByteArray> items;
    for (const QString& item : value.toStringList())
        items << quotedText(item);
    // One item alone would read back as a text.
    return items.size() == 1 ? items.front() + ", " : items.join(", ");
}

} // namespace

QByteArray iniText(const std::map<QString, QVariant>& values)
{
    std::map<QString, std::map<QString, QByteArray>> sections;
    for (const auto& [path, value] : values) {
        const qsizetype slash = path.indexOf(u'/');
        QString section = slash < 0 ? QStringLiteral("General") : path.left(slash);
        const QString key = slash < 0 ? path : path.mid(slash + 1);
        // [General] holds the keys without a section; a section of that name is written apart.
        if (slash >= 0 && section == u"General")
            section = QStringLiteral("%General");
        sections[section][key] = valueText(value);
    }
    QByteArray out;
    for (const auto& [section, keys] : sections) {
        if (!out.isEmpty())
            out += '\n';
        out +=
            '[' + (section == u"%General" ? QByteArray("%General") : escapedName(section)) + "]\n";
        for (const auto& [key, text] : keys)
            out += escapedName(key) + '=' + text + '\n';
    }
    return out;
}

} // namespace halcyra

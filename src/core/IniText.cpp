#include "core/IniText.h"

#include <QStringList>
#include <algorithm>
#include <utility>
#include <vector>

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
        if (!value.isValid())
            continue; // "@Invalid()" read from a file: no value
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

// Reading. The store reads its files itself rather than through QSettings: QSettings keeps a
// process-wide copy of each file and takes it as current while the file's size and time (to the
// millisecond) are unchanged, so a file rewritten within the same millisecond read back stale.
namespace halcyra {
namespace {

bool isLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int octalValue(char c)
{
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

// The index after a line break that starts at `i`: "\r\n" and "\n\r" are one break.
qsizetype afterLineBreak(QByteArrayView text, qsizetype i)
{
    if (i + 1 < text.size() && isLineBreak(text[i + 1]) && text[i + 1] != text[i])
        return i + 2;
    return i + 1;
}

struct IniLine
{
    QByteArrayView text;
    qsizetype equals = -1; // the first "=" outside quotes
};

// The file's lines without blank lines and comments. A line ends at a line break or a ";"
// outside quotes; a backslash takes the next character with it, so it can carry a line on.
std::vector<IniLine> iniLines(QByteArrayView data)
{
    std::vector<IniLine> lines;
    const qsizetype size = data.size();
    qsizetype i = 0;
    while (i < size) {
        while (i < size && (isBlank(data[i]) || isLineBreak(data[i])))
            ++i;
        if (i == size)
            break;
        if (data[i] == ';') {
            while (i < size && !isLineBreak(data[i]))
                ++i;
            continue;
        }
        IniLine line;
        const qsizetype start = i;
        bool quoted = false;
        while (i < size) {
            const char c = data[i];
            if (c == '\\') {
                i = i + 1 < size && isLineBreak(data[i + 1]) ? afterLineBreak(data, i + 1) : i + 2;
                continue;
            }
            if (c == '"')
                quoted = !quoted;
            else if (!quoted && (isLineBreak(c) || c == ';'))
                break;
            else if (!quoted && c == '=' && line.equals < 0)
                line.equals = i - start;
            ++i;
        }
        i = std::min(i, size);
        line.text = data.sliced(start, i - start);
        lines.push_back(line);
    }
    return lines;
}

// A section or key name: "\" stands for "/", %XX and %UXXXX for one character.
QString unescapedName(QByteArrayView name)
{
    const QString text = QString::fromUtf8(name);
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\') {
            out += u'/';
            continue;
        }
        if (c == u'%' && i + 1 < text.size()) {
            const bool wide = text[i + 1] == u'U';
            const qsizetype digits = wide ? 4 : 2;
            const qsizetype first = wide ? i + 2 : i + 1;
            bool ok = false;
            const ushort code =
                first + digits <= text.size() ? text.mid(first, digits).toUShort(&ok, 16) : 0;
            if (ok) {
                out += QChar(code);
                i = first + digits - 1;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// Reads one backslash escape whose letter is at `i` into `out`; gives the index after it.
qsizetype readEscape(QByteArrayView text, qsizetype i, QString& out)
{
    const qsizetype size = text.size();
    if (i >= size)
        return i;
    const char c = text[i++];
    static constexpr std::pair<char, char16_t> kNamed[] = {
        {'a', u'\a'}, {'b', u'\b'}, {'f', u'\f'}, {'n', u'\n'},  {'r', u'\r'}, {'t', u'\t'},
        {'v', u'\v'}, {'"', u'"'},  {'?', u'?'},  {'\'', u'\''}, {'\\', u'\\'}};
    for (const auto& [letter, meaning] : kNamed) {
        if (c == letter) {
            out += QChar(meaning);
            return i;
        }
    }
    if (c == 'x' && i < size && hexValue(text[i]) >= 0) {
        char16_t code = 0;
        for (; i < size && hexValue(text[i]) >= 0; ++i)
            code = static_cast<char16_t>((code << 4) + hexValue(text[i]));
        out += QChar(code);
    } else if (octalValue(c) >= 0) {
        char16_t code = static_cast<char16_t>(octalValue(c));
        for (; i < size && octalValue(text[i]) >= 0; ++i)
            code = static_cast<char16_t>((code << 3) + octalValue(text[i]));
        out += QChar(code);
    } else if (isLineBreak(c)) {
        return afterLineBreak(text, i - 1);
    }
    return i; // an unknown escape stands for nothing
}

// "@@" keeps a leading "@"; "@Invalid()" is no value; "@String(...)" and "@ByteArray(...)"
// hold their text. Other types are not written by this program and stay as they are.
QVariant typedText(const QString& text)
{
    if (!text.startsWith(u'@'))
        return text;
    if (text.startsWith(u"@@"))
        return text.mid(1);
    if (text == u"@Invalid()")
        return {};
    for (const QStringView type : {u"@String(", u"@ByteArray("}) {
        if (text.startsWith(type) && text.endsWith(u')'))
            return text.mid(type.size(), text.size() - type.size() - 1);
    }
    return text;
}

// A value: pieces in and out of quotes with backslash escapes; commas outside quotes make it a
// list. Blanks round an unquoted piece are dropped, those inside quotes or escaped are kept.
QVariant iniValue(QByteArrayView text)
{
    const qsizetype size = text.size();
    QStringList items;
    bool isList = false;
    QString item;
    bool itemQuoted = false;
    bool inQuotes = false;
    qsizetype keptUpTo = 0; // blanks before this point are the value's own
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < size && isBlank(text[i]))
            ++i;
        keptUpTo = item.size();
    };
    const auto endItem = [&] {
        if (!itemQuoted) {
            while (item.size() > keptUpTo && (item.back() == u' ' || item.back() == u'\t'))
                item.chop(1);
        }
    };
    skipBlanks();
    while (i < size) {
        const char c = text[i];
        if (c == '\\') {
            i = readEscape(text, i + 1, item);
            keptUpTo = item.size();
        } else if (c == '"') {
            ++i;
            itemQuoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
        } else if (c == ',' && !inQuotes) {
            endItem();
            items << typedText(item).toString();
            item.clear();
            itemQuoted = false;
            isList = true;
            ++i;
            skipBlanks();
        } else {
            qsizetype end = i + 1;
            while (end < size && text[end] != '\\' && text[end] != '"' && text[end] != ',')
                ++end;
            item += QString::fromUtf8(text.sliced(i, end - i));
            i = end;
        }
    }
    endItem();
    if (!isList)
        return typedText(item);
    items << typedText(item).toString();
    return items;
}

} // namespace

IniValues readIniText(QByteArrayView text)
{
    if (text.startsWith("\xef\xbb\xbf"))
        text = text.sliced(3);
    IniValues read;
    QString section; // with its "/", empty for [General]
    for (const IniLine& line : iniLines(text)) {
        if (line.text.startsWith('[')) {
            qsizetype close = line.text.indexOf(']');
            if (close < 0) {
                read.damaged = true;
                close = line.text.size();
            }
            const QByteArrayView name = line.text.sliced(1, close - 1).trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                section.clear();
            else if (name.compare("%general", Qt::CaseInsensitive) == 0)
                section = QString::fromLatin1(name.sliced(1)) + u'/';
            else
                section = unescapedName(name) + u'/';
            continue;
        }
        if (line.equals < 0) {
            read.damaged = true;
            continue;
        }
        const QString key = section + unescapedName(line.text.first(line.equals).trimmed());
        read.values[key] = iniValue(line.text.sliced(line.equals + 1));
    }
    return read;
}

} // namespace halcyra

#include "core/TextEncoding.h"

#include <QStringDecoder>
#include <array>

namespace halcyra {
namespace {

// Windows-1252 where it differs from Latin-1: bytes 0x80 to 0x9F. The five bytes the code page
// leaves undefined keep their Latin-1 meaning (control characters), as browsers read them.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int lineAt(QByteArrayView data, qsizetype offset)
{
    return static_cast<int>(data.first(offset).count('\n')) + 1;
}

// The offset of the first byte that does not belong to well-formed UTF-8 (no overlong forms,
// no surrogates, nothing past U+10FFFF), or -1 when all of it is.
qsizetype firstInvalidUtf8(QByteArrayView data)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    const qsizetype n = data.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = bytes[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            low = b == 0xE0 ? 0xA0 : 0x80;
            high = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            low = b == 0xF0 ? 0x90 : 0x80;
            high = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            return i;
        }
        if (i + length > n)
            return i;
        if (bytes[i + 1] < low || bytes[i + 1] > high)
            return i;
        for (int k = 2; k < length; ++k)
            if (bytes[i + k] < 0x80 || bytes[i + k] > 0xBF)
                return i;
        i += length;
    }
    return -1;
}

// UTF-8 as it stands: QString::fromUtf8 would drop a byte order mark at the start as well, a
// second one after the mark already taken off, which is then a field's own character.
QString utf8Text(QByteArrayView data)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(data);
}

Result<QString> decodeUtf8(QByteArrayView data, bool marked)
{
    if (const qsizetype bad = firstInvalidUtf8(data); bad >= 0)
        return fail(QStringLiteral("The file is not UTF-8 text: line %1 holds a byte UTF-8 does "
                                   "not allow%2. Import it as Windows-1252 if a spreadsheet "
                                   "on Windows wrote it.")
                        .arg(lineAt(data, bad))
                        .arg(marked ? QStringLiteral(", though the file starts with UTF-8's "
                                                     "byte order mark")
                                    : QString()));
    return utf8Text(data);
}

Result<QString> decodeUtf16(QByteArrayView data, bool bigEndian)
{
    if (data.size() % 2 != 0)
        return fail(QStringLiteral("The file is not UTF-16 text: it ends in half a character."));
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    const qsizetype units = data.size() / 2;
    QString text(units, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < units; ++i) {
        const unsigned char a = bytes[2 * i];
        const unsigned char b = bytes[2 * i + 1];
        out[i] = bigEndian ? char16_t(a << 8 | b) : char16_t(b << 8 | a);
    }
    // A surrogate must come in a pair, high then low.
    int line = 1;
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t c = out[i];
        if (c == u'\n')
            ++line;
        if (QChar::isHighSurrogate(c) && i + 1 < units && QChar::isLowSurrogate(out[i + 1])) {
            ++i;
            continue;
        }
        if (QChar::isSurrogate(c))
            return fail(QStringLiteral("The file is not UTF-16 text: line %1 holds half of a "
                                       "character.")
                            .arg(line));
    }
    return text;
}

QString decodeEightBit(QByteArrayView data, bool windows1252)
{
    QString text(data.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    for (qsizetype i = 0; i < data.size(); ++i) {
        const unsigned char b = bytes[i];
        out[i] = windows1252 && b >= 0x80 && b <= 0x9F ? kWindows1252High[b - 0x80] : char16_t(b);
    }
    return text;
}

bool startsWith(QByteArrayView data, QByteArrayView mark)
{
    return data.size() >= mark.size() && data.first(mark.size()) == mark;
}

const QByteArrayView kUtf8Mark("\xEF\xBB\xBF", 3);
const QByteArrayView kUtf16LeMark("\xFF\xFE", 2);
const QByteArrayView kUtf16BeMark("\xFE\xFF", 2);

} // namespace

Result<DecodedText> decodeText(QByteArrayView data, TextEncoding encoding)
{
    DecodedText decoded;
    auto take = [&](Result<QString> text, TextEncoding used) -> Result<DecodedText> {
        if (!text)
            return fail(text.error());
        decoded.text = std::move(*text);
        decoded.encoding = used;
        return decoded;
    };
    switch (encoding) {
    case TextEncoding::Automatic:
        if (startsWith(data, kUtf8Mark))
            return take(decodeUtf8(data.sliced(3), true), TextEncoding::Utf8);
        if (startsWith(data, kUtf16LeMark))
            return take(decodeUtf16(data.sliced(2), false), TextEncoding::Utf16);
        if (startsWith(data, kUtf16BeMark))
            return take(decodeUtf16(data.sliced(2), true), TextEncoding::Utf16);
        if (firstInvalidUtf8(data) < 0)
            return take(utf8Text(data), TextEncoding::Utf8);
        decoded.guessed = true;
        return take(decodeEightBit(data, true), TextEncoding::Windows1252);
    case TextEncoding::Utf8:
        if (startsWith(data, kUtf8Mark))
            return take(decodeUtf8(data.sliced(3), true), TextEncoding::Utf8);
        return take(decodeUtf8(data, false), TextEncoding::Utf8);
    case TextEncoding::Utf16:
        // Without a mark, the order Windows writes.
        if (startsWith(data, kUtf16BeMark))
            return take(decodeUtf16(data.sliced(2), true), TextEncoding::Utf16);
        return take(decodeUtf16(startsWith(data, kUtf16LeMark) ? data.sliced(2) : data, false),
                    TextEncoding::Utf16);
    case TextEncoding::Windows1252:
        return take(decodeEightBit(data, true), TextEncoding::Windows1252);
    case TextEncoding::Latin1:
        return take(decodeEightBit(data, false), TextEncoding::Latin1);
    }
    return fail(QStringLiteral("Unknown text encoding."));
}

QString encodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Automatic:
        return QStringLiteral("automatic");
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf16:
        return QStringLiteral("UTF-16");
    case TextEncoding::Windows1252:
        return QStringLiteral("Windows-1252");
    case TextEncoding::Latin1:
        return QStringLiteral("Latin-1 (ISO 8859-1)");
    }
    return {};
}

std::optional<TextEncoding> encodingFromName(QStringView name)
{
    QString folded = name.trimmed().toString().toCaseFolded();
    folded.remove(u'-');
    folded.remove(u'_');
    folded.remove(u' ');
    if (folded == u"auto" || folded == u"automatic")
        return TextEncoding::Automatic;
    if (folded == u"utf8")
        return TextEncoding::Utf8;
    if (folded == u"utf16" || folded == u"utf16le" || folded == u"unicode")
        return TextEncoding::Utf16;
    if (folded == u"windows1252" || folded == u"cp1252" || folded == u"ansi")
        return TextEncoding::Windows1252;
    if (folded == u"latin1" || folded == u"iso88591" || folded == u"l1")
        return TextEncoding::Latin1;
    return std::nullopt;
}

QStringList encodingOptionNames()
{
    return {QStringLiteral("auto"), QStringLiteral("utf-8"), QStringLiteral("utf-16"),
            QStringLiteral("windows-1252"), QStringLiteral("latin-1")};
}

} // namespace halcyra

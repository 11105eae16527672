#pragma once

#include "core/Result.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

namespace halcyra {

// The encodings a text file from another program arrives in. Spreadsheets write UTF-8 (with
// or without a byte order mark), "Unicode text" as UTF-16 with a byte order mark, and plain
// CSV on Windows in Windows-1252.
enum class TextEncoding { Automatic, Utf8, Utf16, Windows1252, Latin1 };

struct DecodedText
{
    QString text;
    TextEncoding encoding = TextEncoding::Utf8; // the one used, never Automatic
    bool guessed = false; // read as Windows-1252 because the bytes are not UTF-8 and have no BOM
};

// Decodes `data`. Automatic takes a byte order mark (UTF-8, UTF-16 little- or big-endian) at
// its word, else UTF-8 when every byte sequence is valid UTF-8, else Windows-1252. A byte
// order mark is dropped, never part of the text. Refused, with the line where it goes wrong,
// when the bytes are not text of the encoding asked for (or of the one its mark names).
Result<DecodedText> decodeText(QByteArrayView data, TextEncoding encoding);

// The name shown to the adviser: "UTF-8", "UTF-16", "Windows-1252", "Latin-1 (ISO 8859-1)".
QString encodingName(TextEncoding encoding);
// Reads a name as typed on the command line ("utf-8", "UTF8", "cp1252", "latin1",
// "iso-8859-1", "auto"...), any letter case.
std::optional<TextEncoding> encodingFromName(QStringView name);
// The names the command line takes, one per encoding, Automatic first.
QStringList encodingOptionNames();

} // namespace halcyra

#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace halcyra {

// The inline codes of catalogue texts: an opening bracket, two letters and a fixed-length tail,
// with no closing bracket ("[nl....", "[qq....", "[bo....", "[bf....", "[tb3.00 ").
struct MarkupCode
{
    enum class Kind { BoldOn, BoldOff, NewLine, Quote, Tab };

    Kind kind = Kind::NewLine;
    qsizetype length = 0; // characters the code takes in the text, tail included
    double tabInches = 0; // Tab only: the position from the line start
};

// The code that starts at `at` (which holds a "["), or nothing when the bracket starts none of
// the five codes. Only the first three characters identify a code; a tail cut short by the end
// of the text is taken as far as it goes.
std::optional<MarkupCode> markupCodeAt(QStringView text, qsizetype at);

// The on-screen report's plain text for a catalogue text: new lines become CR LF, tabs
// "  ---  ", quotes a quotation mark, and the bold codes disappear. A bracket that starts no
// code stays as it is.
QString ConvertMarkupForScreen(const QString& text);

} // namespace halcyra

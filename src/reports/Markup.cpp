#include "reports/Markup.h"

#include "core/Conversions.h"

namespace halcyra {
namespace {

constexpr qsizetype kCodeLength = 7;
constexpr qsizetype kTabLength = 8;
constexpr qsizetype kTabNumberLength = 4;

} // namespace

std::optional<MarkupCode> markupCodeAt(QStringView text, qsizetype at)
{
    if (at < 0 || at + 3 > text.size() || text[at] != u'[')
        return std::nullopt;
    const QStringView name = text.mid(at + 1, 2);
    const qsizetype left = text.size() - at;
    MarkupCode code;
    code.length = std::min(kCodeLength, left);
    if (name == u"bo") {
        code.kind = MarkupCode::Kind::BoldOn;
    } else if (name == u"bf") {
        code.kind = MarkupCode::Kind::BoldOff;
    } else if (name == u"nl") {
        code.kind = MarkupCode::Kind::NewLine;
    } else if (name == u"qq") {
        code.kind = MarkupCode::Kind::Quote;
    } else if (name == u"tb") {
        code.kind = MarkupCode::Kind::Tab;
        code.length = std::min(kTabLength, left);
        code.tabInches = leadingNumber(text.mid(at + 3, std::min(kTabNumberLength, left - 3)));
    } else {
        return std::nullopt;
    }
    return code;
}

QString ConvertMarkupForScreen(const QString& text)
{
    QString screen;
    screen.reserve(text.size());
    qsizetype at = 0;
    while (at < text.size()) {
        const std::optional<MarkupCode> code = markupCodeAt(text, at);
        if (!code) {
            screen += text[at++];
            continue;
        }
        switch (code->kind) {
        case MarkupCode::Kind::NewLine:
            screen += QStringLiteral("\r\n");
            break;
        case MarkupCode::Kind::Tab:
            screen += QStringLiteral("  ---  ");
            break;
        case MarkupCode::Kind::Quote:
            screen += u'"';
            break;
        case MarkupCode::Kind::BoldOn:
        case MarkupCode::Kind::BoldOff:
            break;
        }
        at += code->length;
    }
    return screen;
}

} // namespace halcyra

#include "Markup.h"

namespace halcyra::docgen {
namespace {

QStringList tableCells(QStringView line)
{
    QStringView inner = line.trimmed();
    if (inner.startsWith(u'|'))
        inner = inner.mid(1);
    if (inner.endsWith(u'|'))
        inner.chop(1);
    QStringList cells;
    for (QStringView cell : inner.split(u'|'))
        cells.append(cell.trimmed().toString());
    return cells;
}

} // namespace

std::vector<Block> parseMarkup(const QString& source, QStringList* errors)
{
    std::vector<Block> blocks;
    // The block that plain or indented lines still extend, if any.
    Block* open = nullptr; // always &blocks.back() or null
    bool previousWasTableRow = false;
    int lineNumber = 0;

    for (QStringView line : QStringView(source).split(u'\n')) {
        ++lineNumber;
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u'%'))
            continue;
        if (trimmed.isEmpty()) {
            open = nullptr;
            previousWasTableRow = false;
            continue;
        }

        const bool indented = line.front().isSpace();
        if (open && indented && open->kind == Block::Kind::Bullet) {
            open->text += u' ' + trimmed.toString();
            continue;
        }

        Block block;
        block.sourceLine = lineNumber;
        const bool isTableRow = trimmed.startsWith(u'|');
        if (trimmed.startsWith(u"### ") || trimmed.startsWith(u"## ") ||
            trimmed.startsWith(u"# ")) {
            block.kind = Block::Kind::Heading;
            block.level = static_cast<int>(trimmed.indexOf(u' '));
            block.text = trimmed.mid(block.level + 1).trimmed().toString();
        } else if (trimmed.startsWith(u"- ")) {
            block.kind = Block::Kind::Bullet;
            block.text = trimmed.mid(2).trimmed().toString();
        } else if (isTableRow) {
            block.kind = Block::Kind::TableRow;
            block.cells = tableCells(trimmed);
            block.firstInTable = !previousWasTableRow;
        } else if (trimmed.startsWith(u"> ") || trimmed == u">") {
            if (open && open->kind == Block::Kind::Note) {
                open->text += u' ' + trimmed.mid(1).trimmed().toString();
                continue;
            }
            block.kind = Block::Kind::Note;
            block.text = trimmed.mid(1).trimmed().toString();
        } else if (trimmed.startsWith(u'@')) {
            const QStringList words = trimmed.mid(1).toString().split(u' ', Qt::SkipEmptyParts);
            if (words.isEmpty()) {
                if (errors)
                    errors->append(
                        QStringLiteral("line %1: a directive needs a name").arg(lineNumber));
                continue;
            }
            block.kind =
                words.first() == u"newpage" ? Block::Kind::PageBreak : Block::Kind::Directive;
            block.text = words.first();
            block.cells = words.mid(1);
        } else {
            // A backslash in front lets a paragraph begin with a markup character.
            const bool escaped = trimmed.startsWith(u'\\') && !trimmed.startsWith(u"\\*");
            const QStringView text = escaped ? trimmed.mid(1) : trimmed;
            if (open && open->kind == Block::Kind::Paragraph) {
                open->text += u' ' + text.toString();
                continue;
            }
            block.kind = Block::Kind::Paragraph;
            block.text = text.toString();
        }

        previousWasTableRow = isTableRow;
        blocks.push_back(block);
        const bool extendable = block.kind == Block::Kind::Paragraph ||
                                block.kind == Block::Kind::Bullet ||
                                block.kind == Block::Kind::Note;
        open = extendable ? &blocks.back() : nullptr;
    }
    return blocks;
}

std::vector<TextRun> parseInline(const QString& text)
{
    std::vector<TextRun> runs;
    TextRun current;
    auto flush = [&] {
        if (!current.text.isEmpty())
            runs.push_back(current);
        current.text.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        // "\*" is an asterisk of the text itself.
        if (text.at(i) == u'\\' && i + 1 < text.size() && text.at(i + 1) == u'*') {
            current.text += u'*';
            ++i;
            continue;
        }
        if (text.at(i) != u'*') {
            current.text += text.at(i);
            continue;
        }
        const bool doubled = i + 1 < text.size() && text.at(i + 1) == u'*';
        flush();
        if (doubled) {
            current.bold = !current.bold;
            ++i;
        } else {
            current.italic = !current.italic;
        }
    }
    flush();
    return runs;
}

} // namespace halcyra::docgen

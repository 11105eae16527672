#include "PdfOutput.h"

#include "core/OutputFile.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <algorithm>

namespace halcyra::docgen {
namespace {

constexpr int kResolution = 300;
constexpr double kMarginInches = 0.75;
// Kept clear at the foot of every page: a report that takes the document's pages puts its own
// footer there, so the documents carry none of their own.
constexpr double kFooterInches = 0.35;

// Text formats measure lengths at 96 dots per inch and scale them to the device.
constexpr double points(double pt)
{
    return pt * 96.0 / 72.0;
}

QFont font(const QString& family, double pointSize, bool bold = false, bool italic = false)
{
    QFont result(family);
    result.setPointSizeF(pointSize);
    // Hinting means nothing on paper and costs most of the run's time.
    result.setHintingPreference(QFont::PreferNoHinting);
    result.setBold(bold);
    result.setItalic(italic);
    return result;
}

QFont serif(double size, bool italic = false)
{
    return font(QStringLiteral("Times New Roman"), size, false, italic);
}

// Headings only: every face a document uses is embedded in it, and embedding is the costly
// part of writing a PDF, so the text keeps to "Times New Roman".
QFont sansBold(double size)
{
    return font(QStringLiteral("Arial"), size, true);
}

QTextCharFormat charFormat(const QFont& base)
{
    QTextCharFormat format;
    format.setFont(base);
    return format;
}

void insertText(QTextCursor& cursor, const Block& block, const QString& text,
                const QTextCharFormat& base)
{
    if (block.literal) {
        cursor.insertText(text, base);
        return;
    }
    for (const TextRun& run : parseInline(text)) {
        QTextCharFormat format = base;
        if (run.bold)
            format.setFontWeight(QFont::Bold);
        if (run.italic)
            format.setFontItalic(true);
        cursor.insertText(run.text, format);
    }
}

// A tick sheet (short headings such as week days after the first column) gets even tick
// columns; other tables size their columns by their content.
QList<QTextLength> columnWidths(const QStringList& headings)
{
    const qsizetype tickColumns = headings.size() - 1;
    if (tickColumns < 2)
        return {};
    for (qsizetype column = 1; column < headings.size(); ++column)
        if (headings.at(column).size() > 4)
            return {};
    const double tickWidth = std::min(10.0, 63.0 / static_cast<double>(tickColumns));
    QList<QTextLength> widths{QTextLength(QTextLength::PercentageLength,
                                          100.0 - tickWidth * static_cast<double>(tickColumns))};
    for (qsizetype column = 0; column < tickColumns; ++column)
        widths.append(QTextLength(QTextLength::PercentageLength, tickWidth));
    return widths;
}

class DocumentBuilder
{
public:
    explicit DocumentBuilder(QTextDocument& document) : m_cursor(&document) {}

    void add(const Block& block)
    {
        if (block.kind != Block::Kind::TableRow)
            m_table = nullptr;
        if (block.kind != Block::Kind::Bullet)
            m_list = nullptr;
        switch (block.kind) {
        case Block::Kind::Heading:
            addHeading(block);
            break;
        case Block::Kind::Paragraph:
            addParagraph(block);
            break;
        case Block::Kind::Bullet:
            addBullet(block);
            break;
        case Block::Kind::TableRow:
            addTableRow(block);
            break;
        case Block::Kind::Note:
            addNote(block);
            break;
        case Block::Kind::Reference:
            addReference(block);
            break;
        case Block::Kind::PageBreak:
            m_breakBefore = true;
            break;
        case Block::Kind::Directive:
            break;
        }
    }

private:
    QTextBlockFormat blockFormat(double spaceBefore, double spaceAfter)
    {
        QTextBlockFormat format;
        format.setTopMargin(points(spaceBefore));
        format.setBottomMargin(points(spaceAfter));
        if (m_breakBefore)
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        m_breakBefore = false;
        return format;
    }

    // The document starts with one empty block: the first block of the text uses it.
    void newBlock(const QTextBlockFormat& format, const QTextCharFormat& chars)
    {
        if (m_started) {
            m_cursor.insertBlock(format, chars);
        } else {
            m_cursor.setBlockFormat(format);
            m_cursor.setBlockCharFormat(chars);
            m_started = true;
        }
    }

    void addHeading(const Block& block)
    {
        static const double sizes[] = {18, 13, 11};
        const int level = std::clamp(block.level, 1, 3);
        QTextBlockFormat format =
            level == 1 ? blockFormat(0, 10) : blockFormat(level == 2 ? 12 : 8, 4);
        if (level == 1)
            format.setAlignment(Qt::AlignHCenter);
        format.setHeadingLevel(level);
        const QTextCharFormat chars = charFormat(sansBold(sizes[level - 1]));
        newBlock(format, chars);
        insertText(m_cursor, block, block.text, chars);
    }

    void addParagraph(const Block& block)
    {
        const QTextCharFormat chars = charFormat(serif(11));
        newBlock(blockFormat(0, 6), chars);
        insertText(m_cursor, block, block.text, chars);
    }

    void addBullet(const Block& block)
    {
        const QTextCharFormat chars = charFormat(serif(11));
        newBlock(blockFormat(0, 3), chars);
        if (m_list) {
            m_list->add(m_cursor.block());
        } else {
            QTextListFormat listFormat;
            listFormat.setStyle(QTextListFormat::ListDisc);
            listFormat.setIndent(1);
            m_list = m_cursor.createList(listFormat);
        }
        insertText(m_cursor, block, block.text, chars);
    }

    // A note sits in a shaded box of its own.
    void addNote(const Block& block)
    {
        newBlock(blockFormat(0, 0), charFormat(serif(4)));
        QTextFrameFormat frame;
        frame.setBackground(QColor(236, 236, 236));
        frame.setPadding(points(6));
        frame.setTopMargin(points(6));
        frame.setBottomMargin(points(8));
        QTextFrame* box = m_cursor.insertFrame(frame);
        const QTextCharFormat chars = charFormat(serif(10.5, true));
        m_cursor.setBlockCharFormat(chars);
        insertText(m_cursor, block, block.text, chars);
        m_cursor = box->lastCursorPosition();
        m_cursor.movePosition(QTextCursor::NextBlock);
    }

    void addReference(const Block& block)
    {
        QTextBlockFormat format = blockFormat(0, 7);
        format.setLeftMargin(points(22));
        format.setTextIndent(-points(22));
        const QTextCharFormat chars = charFormat(serif(11));
        newBlock(format, chars);
        QTextCharFormat titleFormat = chars;
        titleFormat.setFontWeight(QFont::Bold);
        m_cursor.insertText(block.cells.value(0) + QStringLiteral("  "), chars);
        m_cursor.insertText(block.cells.value(1), titleFormat);
        m_cursor.insertText(QString(QChar::LineSeparator) + block.cells.value(2), chars);
    }

    void addTableRow(const Block& block)
    {
        const int columns = static_cast<int>(block.cells.size());
        if (!m_table || block.firstInTable || columns != m_table->columns()) {
            newBlock(blockFormat(2, 0), charFormat(serif(4)));
            QTextTableFormat format;
            // Qt draws no border thinner than one unit.
            format.setBorder(1);
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            format.setBorderBrush(QColor(90, 90, 90));
            format.setBorderCollapse(true);
            format.setCellPadding(points(4));
            format.setCellSpacing(0);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            format.setHeaderRowCount(1);
            format.setBottomMargin(points(8));
            format.setColumnWidthConstraints(columnWidths(block.cells));
            m_table = m_cursor.insertTable(1, columns, format);
        } else {
            m_table->appendRows(1);
        }
        const int row = m_table->rows() - 1;
        const bool heading = row == 0;
        const QTextCharFormat chars = heading ? charFormat(sansBold(9.5)) : charFormat(serif(10));
        for (int column = 0; column < columns; ++column) {
            QTextTableCell cell = m_table->cellAt(row, column);
            QTextCursor cellCursor = cell.firstCursorPosition();
            cellCursor.setBlockCharFormat(chars);
            insertText(cellCursor, block, block.cells.at(column), chars);
        }
        // Text after the table goes below it.
        m_cursor = m_table->lastCursorPosition();
        m_cursor.movePosition(QTextCursor::NextBlock);
    }

    QTextCursor m_cursor;
    QTextTable* m_table = nullptr;
    QTextList* m_list = nullptr;
    bool m_started = false;
    bool m_breakBefore = false;
};

// The page of a block's first and last lines.
std::pair<int, int> pagesOfBlock(const QTextDocument& document, const QTextBlock& block,
                                 double pageHeight)
{
    const QTextLayout* layout = block.layout();
    const double top = document.documentLayout()->blockBoundingRect(block).top();
    const QTextLine first = layout->lineAt(0);
    const QTextLine last = layout->lineAt(layout->lineCount() - 1);
    return {static_cast<int>((top + first.y()) / pageHeight),
            static_cast<int>((top + last.y() + last.height() - 1) / pageHeight)};
}

// A short block split over a page break starts on the next page instead. A split block is drawn
// on both pages, the lines of the other page clipped away yet still in the page's text, where a
// reader finds them twice.
void keepShortBlocksOnOnePage(QTextDocument& document, double pageHeight)
{
    constexpr int kShortBlockLines = 8;
    bool moved = true;
    for (int round = 0; moved && round < 200; ++round) {
        moved = false;
        document.pageCount(); // lays the document out
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            const QTextLayout* layout = block.layout();
            if (!layout || layout->lineCount() < 2 || layout->lineCount() > kShortBlockLines ||
                QTextCursor(block).currentTable())
                continue;
            const auto [first, last] = pagesOfBlock(document, block, pageHeight);
            if (first == last)
                continue;
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(block).setBlockFormat(format);
            moved = true;
            break;
        }
    }
}

} // namespace

QString documentTitle(const std::vector<Block>& blocks)
{
    for (const Block& block : blocks)
        if (block.kind == Block::Kind::Heading)
            return block.text;
    return {};
}

bool writePdf(const QString& path, const QString& title, const std::vector<Block>& blocks,
              QString* error)
{
    if (Status allowed = checkOutputPath(path); !allowed) {
        if (error)
            *error = allowed.error();
        return false;
    }
    // The PDF writer does not notice a short write: the document is built in memory and
    // written by a path that does.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(
        QPageSize(QPageSize::Letter), QPageLayout::Portrait,
        QMarginsF(kMarginInches, kMarginInches, kMarginInches, kMarginInches), QPageLayout::Inch));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Halcyra"));

    // The text is built before the document has a layout: laid out as it grows, every new
    // table cell would lay the whole table out again.
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setDefaultFont(serif(11));
    DocumentBuilder builder(document);
    for (const Block& block : blocks)
        builder.add(block);

    document.documentLayout()->setPaintDevice(&writer);
    const double footerHeight = kFooterInches * kResolution;
    const QSizeF pageSize(writer.width(), writer.height() - footerHeight);
    document.setPageSize(pageSize);
    keepShortBlocksOnOnePage(document, pageSize.height());

    const int pages = document.pageCount();
    QPainter painter(&writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.save();
        const QRectF visible(0, page * pageSize.height(), pageSize.width(), pageSize.height());
        painter.translate(0, -visible.top());
        document.drawContents(&painter, visible);
        painter.restore();
    }
    painter.end();

    if (Status saved = writeFileWhole(path, buffer.data()); !saved) {
        if (error)
            *error = saved.error();
        return false;
    }
    return true;
}

} // namespace halcyra::docgen

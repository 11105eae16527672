#include "CatalogueContent.h"

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "core/Conversions.h"

#include <algorithm>

namespace halcyra::docgen {
namespace {

const QStringList& weekDays()
{
    static const QStringList days = {
        QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"), QStringLiteral("Thu"),
        QStringLiteral("Fri"), QStringLiteral("Sat"), QStringLiteral("Sun")};
    return days;
}

int intakeItemCount(const Catalogue& catalogue)
{
    return catalogue.count(ids::kDailyIntakeCount) / 10;
}

Block literal(Block::Kind kind, const QString& text)
{
    Block block;
    block.kind = kind;
    block.text = text;
    block.literal = true;
    return block;
}

Block tableRow(const QStringList& cells, bool first)
{
    Block block;
    block.kind = Block::Kind::TableRow;
    block.cells = cells;
    block.literal = true;
    block.firstInTable = first;
    return block;
}

void appendBibliography(const Catalogue& catalogue, std::vector<Block>& out)
{
    const int count = catalogue.count(ids::kBibliographyCount);
    for (int k = 1; k <= count; ++k) {
        Block block;
        block.kind = Block::Kind::Reference;
        block.literal = true;
        block.cells = {QString::number(k) + u'.',
                       catalogue.LoadResString(ids::referenceTitle(k)).trimmed(),
                       catalogue.LoadResString(ids::referenceCitation(k)).trimmed()};
        out.push_back(block);
    }
}

void appendIntakeItems(const Catalogue& catalogue, int phase, std::vector<Block>& out)
{
    for (int n = 1; n <= intakeItemCount(catalogue); ++n)
        if (intakePhase(catalogue, n) == phase)
            out.push_back(literal(Block::Kind::Bullet,
                                  catalogue.LoadResString(ids::dailyIntakeName(n)).trimmed()));
}

void appendIntakeSheet(const Catalogue& catalogue, int phase, std::vector<Block>& out)
{
    out.push_back(tableRow(QStringList{QStringLiteral("Daily intake item")} + weekDays(), true));
    const QStringList emptyDays(weekDays().size(), QString());
    for (int n = 1; n <= intakeItemCount(catalogue); ++n)
        if (intakePhase(catalogue, n) <= phase)
            out.push_back(tableRow(
                QStringList{catalogue.LoadResString(ids::dailyIntakeName(n)).trimmed()} + emptyDays,
                false));
}

void appendList(const Catalogue& catalogue, int countId, std::vector<Block>& out)
{
    const int count = catalogue.count(countId);
    for (int i = 1; i <= count; ++i)
        out.push_back(literal(Block::Kind::Bullet, catalogue.LoadResString(countId + i).trimmed()));
}

} // namespace

int intakePhase(const Catalogue& catalogue, int item)
{
    return std::max(1, leadingInteger(catalogue.LoadResString(ids::dailyIntakeServings(item))));
}

QString supplementHeading(const Catalogue& catalogue, int supplement)
{
    QString name = catalogue.LoadResString(ids::supplementName(supplement));
    name.remove(u'*');
    return name.simplified();
}

std::vector<Block> expandDirectives(const std::vector<Block>& blocks, const Catalogue& catalogue,
                                    QStringList* errors)
{
    std::vector<Block> out;
    for (const Block& block : blocks) {
        if (block.kind != Block::Kind::Directive) {
            out.push_back(block);
            continue;
        }
        auto fail = [&](const QString& what) {
            if (errors)
                errors->append(
                    QStringLiteral("line %1: @%2: %3").arg(block.sourceLine).arg(block.text, what));
        };
        bool numberGiven = false;
        const int number = block.cells.isEmpty() ? 0 : block.cells.first().toInt(&numberGiven);
        const qsizetype before = static_cast<qsizetype>(out.size());

        if (block.text == u"bibliography") {
            appendBibliography(catalogue, out);
        } else if (block.text == u"intake-items" || block.text == u"intake-sheet") {
            if (!numberGiven || number < 1) {
                fail(QStringLiteral("needs a phase number"));
                continue;
            }
            if (block.text == u"intake-items")
                appendIntakeItems(catalogue, number, out);
            else
                appendIntakeSheet(catalogue, number, out);
        } else if (block.text == u"list") {
            if (!numberGiven || !catalogue.contains(number)) {
                fail(QStringLiteral("needs the id of a count entry"));
                continue;
            }
            appendList(catalogue, number, out);
        } else {
            fail(QStringLiteral("unknown directive"));
            continue;
        }
        // A directive that yields nothing means the catalogue lacks the section.
        if (static_cast<qsizetype>(out.size()) == before)
            fail(QStringLiteral("the catalogue gives no content"));
    }
    return out;
}

} // namespace halcyra::docgen

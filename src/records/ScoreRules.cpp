#include "records/ScoreRules.h"

#include "core/Conversions.h"

#include <initializer_list>

namespace halcyra {
namespace {

struct AutomaticSum
{
    int box;
    std::initializer_list<int> sources;
};

// In this order: box 9 uses the new 4 and 8, box 16 the new 14, box 27 the new 25.
const AutomaticSum kSums[] = {
    {4, {1, 2, 3}},         {8, {5, 6, 7}}, {9, {4, 8}},    {14, {12, 13}},
    {16, {10, 11, 14, 15}}, {25, {23, 24}}, {27, {25, 26}},
};

// Boxes whose scores make the hair-and-scalp section count: sections 22, 23, 24 and 25.
const int kHairTriggers[] = {23, 25, 27, 28};

double valueOf(const ScoreBoxes& boxes, int box)
{
    return leadingNumber(boxes[static_cast<size_t>(box)]);
}

} // namespace

bool isAutomaticScoreBox(int box)
{
    for (const AutomaticSum& sum : kSums)
        if (sum.box == box)
            return true;
    return false;
}

QString scoreTextOnLeaving(const QString& typed)
{
    const double value = leadingNumber(typed);
    if (value > 45)
        return QStringLiteral("45");
    if (value <= 0)
        return QStringLiteral("0");
    return typed;
}

void recomputeAutomaticScores(ScoreBoxes& boxes)
{
    for (const AutomaticSum& sum : kSums) {
        double total = 0;
        for (int source : sum.sources)
            total += valueOf(boxes, source);
        boxes[static_cast<size_t>(sum.box)] = QString::number(total, 'f', 0);
    }
    if (valueOf(boxes, kHairAndScalpBox) == 0) {
        for (int trigger : kHairTriggers) {
            if (valueOf(boxes, trigger) > 0) {
                boxes[kHairAndScalpBox] = QStringLiteral("1");
                break;
            }
        }
    }
}

QString scoreHelpText(int box, const QString& label)
{
    if (isAutomaticScoreBox(box))
        return QStringLiteral("Score in this field is automatically calculated");
    if (box == kHairAndScalpBox)
        return QStringLiteral("Score in this field is affected by other field scores.");
    return QStringLiteral("Enter total score for group ") + label.mid(5);
}

bool isScoreBoxShown(const QString& label, int highestSection)
{
    return leadingNumber(label.right(2)) <= highestSection;
}

} // namespace halcyra

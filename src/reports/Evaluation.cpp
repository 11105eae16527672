#include "reports/Evaluation.h"

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"

#include <algorithm>

namespace halcyra {
namespace {

// Digestion 1 has no Very High value; reaching High suggests attention.
constexpr int kDigestionRow = 12;
// Very High values above this are out of every score's reach.
constexpr double kHighestDeterminedValue = 100;

// Paragraphs given below the High value because of the client's age.
constexpr int kMaleGlandRow = 20;
constexpr double kMaleGlandPrecautionAge = 40;
constexpr int kFirstHeartHealthRow = 23;
constexpr double kHeartHealthPrecautionAge = 50;
// The blank row after the first heart-health row holds two further heart-health texts in its
// title and text slots.
constexpr int kHeartHealthTextsRow = 24;
// The thymus paragraph is continued in a third slot.
constexpr int kThymusRow = 29;

// Rows whose High value calls for the Vitamin E paragraph.
constexpr std::array kVitaminETriggerRows{10, 19, 20, 23, 25};

constexpr std::array<bool, kReportRowCount + 1> vitaminETriggers()
{
    std::array<bool, kReportRowCount + 1> triggers{};
    for (int r : kVitaminETriggerRows)
        triggers[static_cast<size_t>(r)] = true;
    return triggers;
}
constexpr std::array<bool, kReportRowCount + 1> kTriggersVitaminE = vitaminETriggers();

Mark markFor(int r, double score, double high, double veryHigh)
{
    const int reachedHigh = score >= high;
    const int reachedVeryHigh = score >= veryHigh;
    if (r == kDigestionRow && reachedHigh)
        return Mark::SuggestAttention;
    // Very High wherever it is reached, else High; as arithmetic, not a branch on the score.
    static_assert(static_cast<int>(Mark::High) == 1 && static_cast<int>(Mark::VeryHigh) == 2);
    return static_cast<Mark>(std::max(2 * reachedVeryHigh, reachedHigh));
}

void addText(AnalysisParagraph& paragraph, int id)
{
    paragraph.textIds[static_cast<size_t>(paragraph.textCount++)] = id;
}

void addHeartHealthTexts(AnalysisParagraph& paragraph)
{
    addText(paragraph, ids::analysisTitle(kHeartHealthTextsRow));
    addText(paragraph, ids::analysisText(kHeartHealthTextsRow));
}

// Fills the paragraph of a row that reached its High or Very High value.
void fillMarkedParagraph(AnalysisParagraph& paragraph, int r, bool veryHigh)
{
    paragraph.row = r;
    paragraph.titleId = ids::analysisTitle(r);
    paragraph.kind = veryHigh ? ParagraphKind::VeryHigh : ParagraphKind::High;
    paragraph.style = veryHigh ? TitleStyle::Emphasised : TitleStyle::Plain;
    paragraph.textCount = 0;
    addText(paragraph, ids::analysisText(r));
    if (r == kThymusRow)
        addText(paragraph, ids::analysisContinuation(r));
    if (r == kFirstHeartHealthRow)
        addHeartHealthTexts(paragraph);
}

AnalysisParagraph maleGlandPrecaution()
{
    AnalysisParagraph paragraph;
    paragraph.row = kMaleGlandRow;
    paragraph.titleId = ids::analysisTitle(kMaleGlandRow);
    paragraph.kind = ParagraphKind::AgePrecaution;
    addText(paragraph, ids::analysisText(kMaleGlandRow));
    return paragraph;
}

AnalysisParagraph heartHealthPrecaution()
{
    AnalysisParagraph paragraph;
    paragraph.row = kFirstHeartHealthRow;
    paragraph.kind = ParagraphKind::HeartHealthPrecaution;
    addHeartHealthTexts(paragraph);
    return paragraph;
}

AnalysisParagraph vitaminEParagraph(bool highBloodPressure)
{
    AnalysisParagraph paragraph;
    paragraph.row = ids::kVitaminERow;
    paragraph.titleId = highBloodPressure ? ids::kVitaminEHighPressureTitle : ids::kVitaminETitle;
    paragraph.kind = ParagraphKind::VitaminE;
    paragraph.style = TitleStyle::Emphasised;
    addText(paragraph, highBloodPressure ? ids::kVitaminEHighPressureText : ids::kVitaminEText);
    return paragraph;
}

} // namespace

QString markText(Mark mark)
{
    switch (mark) {
    case Mark::High:
        return QStringLiteral("H");
    case Mark::VeryHigh:
        return QStringLiteral("VH");
    case Mark::SuggestAttention:
        return QStringLiteral("SA");
    case Mark::None:
        break;
    }
    return {};
}

QString summaryMarkSuffix(Mark mark)
{
    switch (mark) {
    case Mark::High:
        return QStringLiteral("  H");
    case Mark::VeryHigh:
        return QStringLiteral(" VH");
    case Mark::SuggestAttention:
        return QStringLiteral(" SA");
    case Mark::None:
        break;
    }
    return {};
}

bool veryHighNotDetermined(const RowResult& row)
{
    return row.veryHigh > kHighestDeterminedValue;
}

QString heartHealthPrecautionHeading()
{
    return QStringLiteral("BASIC HEART HEALTH   ---   Precautionary due to age");
}

QString printedTitle(const AnalysisParagraph& paragraph, const Catalogue& catalogue)
{
    switch (paragraph.kind) {
    case ParagraphKind::High:
        return catalogue.LoadResString(paragraph.titleId) + QStringLiteral(" H");
    case ParagraphKind::VeryHigh:
        return catalogue.LoadResString(paragraph.titleId) + QStringLiteral(" VH");
    case ParagraphKind::AgePrecaution:
        return catalogue.LoadResString(paragraph.titleId) +
               QStringLiteral("  ---  Precautionary due to age");
    case ParagraphKind::HeartHealthPrecaution:
        return heartHealthPrecautionHeading();
    case ParagraphKind::VitaminE:
        break;
    }
    return catalogue.LoadResString(paragraph.titleId);
}

Evaluation evaluateProfile(const PreparedProfile& profile, const ReferenceTables& tables)
{
    Evaluation evaluation;
    for (int r = 1; r <= kReportRowCount; ++r) {
        const double score = profile.boxScore[r];
        const double high = tables.high[r];
        const double veryHigh = tables.veryHigh[r];
        evaluation.m_rows[static_cast<size_t>(r - 1)] = {r, score, high, veryHigh,
                                                         markFor(r, score, high, veryHigh)};
    }

    int summaryCount = 0;
    for (int r = 1; r <= tables.summaryRowCount; ++r)
        if (!tables.subSectionRow[r])
            evaluation.m_summaryRows[static_cast<size_t>(summaryCount++)] = r;
    evaluation.m_summaryCount = summaryCount;

    auto& paragraphs = evaluation.m_paragraphs;
    int count = 0;
    bool vitaminE = false;
    for (int r = 1; r <= tables.analysisRowCount; ++r) {
        const double score = profile.boxScore[r];
        const bool reachedHigh = score >= tables.high[r];
        const bool reachedVeryHigh = score >= tables.veryHigh[r];
        const bool named = !tables.subSectionRow[r];
        // Every row fills the next slot and only a marked row keeps it: whether a row is
        // marked differs from client to client, and a branch on it would often be mispredicted.
        const bool marked = named & (reachedHigh | reachedVeryHigh);
        fillMarkedParagraph(paragraphs[static_cast<size_t>(count)], r, reachedVeryHigh);
        vitaminE |= named & reachedHigh & kTriggersVitaminE[static_cast<size_t>(r)];
        count += marked;

        if (r == kMaleGlandRow && named && !marked && profile.sexExactlyM &&
            profile.age >= kMaleGlandPrecautionAge)
            paragraphs[static_cast<size_t>(count++)] = maleGlandPrecaution();
        else if (r == kFirstHeartHealthRow && named && !marked &&
                 profile.age >= kHeartHealthPrecautionAge)
            paragraphs[static_cast<size_t>(count++)] = heartHealthPrecaution();
    }
    if (vitaminE)
        paragraphs[static_cast<size_t>(count++)] =
            vitaminEParagraph(profile.yesNo[kYesNoHighBloodPressure]);
    evaluation.m_paragraphCount = count;
    return evaluation;
}

} // namespace halcyra

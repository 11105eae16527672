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

Mark markFor(int r, double score, double high, double veryHigh)
{
    if (r == kDigestionRow && score >= high)
        return Mark::SuggestAttention;
    if (score >= veryHigh)
        return Mark::VeryHigh;
    if (score >= high)
        return Mark::High;
    return Mark::None;
}

bool triggersVitaminE(int r)
{
    return std::find(kVitaminETriggerRows.begin(), kVitaminETriggerRows.end(), r) !=
           kVitaminETriggerRows.end();
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

// The paragraph of a row that reached its High or Very High value.
AnalysisParagraph markedParagraph(int r, bool veryHigh)
{
    AnalysisParagraph paragraph;
    paragraph.row = r;
    paragraph.titleId = ids::analysisTitle(r);
    paragraph.kind = veryHigh ? ParagraphKind::VeryHigh : ParagraphKind::High;
    paragraph.style = veryHigh ? TitleStyle::Emphasised : TitleStyle::Plain;
    addText(paragraph, ids::analysisText(r));
    if (r == kThymusRow)
        addText(paragraph, ids::analysisContinuation(r));
    if (r == kFirstHeartHealthRow)
        addHeartHealthTexts(paragraph);
    return paragraph;
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

    for (int r = 1; r <= tables.summaryRowCount; ++r)
        if (!tables.subSectionRow[r])
            evaluation.m_summaryRows[static_cast<size_t>(evaluation.m_summaryCount++)] = r;

    auto add = [&evaluation](const AnalysisParagraph& paragraph) {
        evaluation.m_paragraphs[static_cast<size_t>(evaluation.m_paragraphCount++)] = paragraph;
    };
    bool vitaminE = false;
    for (int r = 1; r <= tables.analysisRowCount; ++r) {
        if (tables.subSectionRow[r])
            continue;
        const double score = profile.boxScore[r];
        const bool reachedHigh = score >= tables.high[r];
        if (reachedHigh && triggersVitaminE(r))
            vitaminE = true;
        if (score >= tables.veryHigh[r])
            add(markedParagraph(r, true));
        else if (reachedHigh)
            add(markedParagraph(r, false));
        else if (r == kMaleGlandRow && profile.sexExactlyM &&
                 profile.age >= kMaleGlandPrecautionAge)
            add(maleGlandPrecaution());
        else if (r == kFirstHeartHealthRow && profile.age >= kHeartHealthPrecautionAge)
            add(heartHealthPrecaution());
    }
    if (vitaminE)
        add(vitaminEParagraph(profile.yesNo[kYesNoHighBloodPressure]));
    return evaluation;
}

} // namespace halcyra

#pragma once

#include "reports/ProfileInput.h"
#include "reports/ReferenceTables.h"

#include <QString>
#include <array>
#include <span>

namespace halcyra {

class Catalogue;

enum class Mark { None, High, VeryHigh, SuggestAttention };

// The text shown instead of a Very High value that no score can reach.
inline constexpr int kNotDeterminedTextId = 1423;

// "H", "VH", "SA", or empty.
QString markText(Mark mark);
// The mark as the Summary appends it to the score: " SA", " VH", "  H", or empty.
QString summaryMarkSuffix(Mark mark);

struct RowResult
{
    int row = 0;
    double score = 0;
    double high = 0;
    double veryHigh = 0;
    Mark mark = Mark::None;
};

// A Very High value no score can reach is shown as "NOT DETERMINED".
bool veryHighNotDetermined(const RowResult& row);

// Why a paragraph is in the Analysis; decides its title's suffix.
enum class ParagraphKind {
    High,                  // title + " H"
    VeryHigh,              // title + " VH"
    AgePrecaution,         // title + "  ---  Precautionary due to age"
    HeartHealthPrecaution, // a fixed heading instead of the row's title
    VitaminE,              // the title as it stands
};

enum class TitleStyle { Plain, Emphasised };

// One Analysis paragraph: a title and the texts that follow it, as catalogue ids, so that the
// printed and the on-screen report can lay them out in their own way.
struct AnalysisParagraph
{
    static constexpr int kMaxTexts = 3;

    int row = 0;     // 1..41, or 42 for the Vitamin E paragraph
    int titleId = 0; // 0 for the heart-health precaution, whose heading is fixed
    ParagraphKind kind = ParagraphKind::High;
    TitleStyle style = TitleStyle::Plain;
    std::array<int, kMaxTexts> textIds{};
    int textCount = 0;

    std::span<const int> texts() const { return {textIds.data(), static_cast<size_t>(textCount)}; }
};

// The printed title of a paragraph, with its suffix.
QString printedTitle(const AnalysisParagraph& paragraph, const Catalogue& catalogue);

// The heading that stands for the heart-health rows of a client of age.
QString heartHealthPrecautionHeading();

// The evaluated profile: every row's mark, the rows of the Summary, and the Analysis in order.
class Evaluation
{
public:
    const std::array<RowResult, kReportRowCount>& rows() const { return m_rows; }
    const RowResult& row(int r) const { return m_rows[static_cast<size_t>(r - 1)]; }

    std::span<const int> summaryRows() const
    {
        return {m_summaryRows.data(), static_cast<size_t>(m_summaryCount)};
    }
    std::span<const AnalysisParagraph> analysis() const
    {
        return {m_paragraphs.data(), static_cast<size_t>(m_paragraphCount)};
    }

private:
    friend Evaluation evaluateProfile(const PreparedProfile&, const ReferenceTables&);

    // Each row gives at most one paragraph; the Vitamin E paragraph comes on top.
    static constexpr int kMaxParagraphs = kReportRowCount + 1;

    std::array<RowResult, kReportRowCount> m_rows{};
    std::array<int, kReportRowCount> m_summaryRows{};
    int m_summaryCount = 0;
    std::array<AnalysisParagraph, kMaxParagraphs> m_paragraphs{};
    int m_paragraphCount = 0;
};

// Marks every row and chooses the Summary rows and the Analysis paragraphs.
Evaluation evaluateProfile(const PreparedProfile& profile, const ReferenceTables& tables);

} // namespace halcyra

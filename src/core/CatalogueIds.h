#pragma once

// Section bases, count entries and id arithmetic of the catalogue. The code holds only these;
// the texts and values themselves live in the catalogue.

namespace halcyra::ids {

// Report titles
inline constexpr int kTitleSummary = 1310;
inline constexpr int kTitleAnalysis = 1311;
inline constexpr int kTitleSupplementGuide = 1312;
inline constexpr int kTitleReport = 1313;

// Count entries
inline constexpr int kSummaryRowCount = 1500;
inline constexpr int kHighCount = 1600;
inline constexpr int kVeryHighCount = 1700;
inline constexpr int kBibliographyCount = 3003;
inline constexpr int kAnalysisCount = 4000;
inline constexpr int kSupplementCount = 5003;
inline constexpr int kDailyIntakeCount = 5500; // ten times the number of entries
inline constexpr int kMineralCount = 5700;
inline constexpr int kHerbalCount = 5800;
inline constexpr int kSportsCount = 5900;
inline constexpr int kQuestionnaireCount = 7000;
inline constexpr int kSubSectionCount = 7880;
inline constexpr int kNumberedSectionCount = 7900;
inline constexpr int kSupplementalCount = 9000;
inline constexpr int kYesNoCount = 9100;

// Headings and single texts
inline constexpr int kReaderProgramName = 899;
inline constexpr int kSplashWarning = 1045;
inline constexpr int kProgramWebAddress = 1154;
inline constexpr int kSupportAddress = 1155;
inline constexpr int kReaderPathExample = 1090;
inline constexpr int kGuideNote = 1091;
inline constexpr int kQuestionnaireTitle = 6999;
inline constexpr int kQuestionnaireReminder = 7500;
inline constexpr int kFieldLabelBase = 7800;
inline constexpr int kSupplementalHeading = 8999;
inline constexpr int kYesNoHeading = 9099;

// The row that exists only as the Vitamin E paragraph, and its two variants.
inline constexpr int kVitaminERow = 42;
inline constexpr int kVitaminEHighPressureTitle = 4800;
inline constexpr int kVitaminEHighPressureText = 4801;
inline constexpr int kVitaminETitle = 4802;
inline constexpr int kVitaminEText = 4803;

// Report row r (1..41)
constexpr int rowName(int r)
{
    return 1500 + r;
}
constexpr int rowHigh(int r)
{
    return 1600 + r;
}
constexpr int rowVeryHigh(int r)
{
    return 1700 + r;
}
constexpr int fieldLabel(int r)
{
    return kFieldLabelBase + r;
}
constexpr int analysisTitle(int r)
{
    return 4000 + 10 * r;
}
constexpr int analysisText(int r)
{
    return 4000 + 10 * r + 1;
}
constexpr int analysisContinuation(int r)
{
    return 4000 + 10 * r + 2;
}

// Supplement j (1..40)
constexpr int supplementName(int j)
{
    return 5000 + 10 * j;
}
constexpr int supplementPossible(int j)
{
    return 5000 + 10 * j + 1;
}
constexpr int supplementUnit(int j)
{
    return 5000 + 10 * j + 2;
}
constexpr int supplementFlyerGroup(int j)
{
    return 5000 + 10 * j + 3;
}

// Daily intake entry n (1..14)
constexpr int dailyIntakeName(int n)
{
    return 5500 + 10 * n;
}
constexpr int dailyIntakeServings(int n)
{
    return 5500 + 10 * n + 1;
}

// Reference k (1..27)
constexpr int referenceTitle(int k)
{
    return 3000 + 10 * k + 1;
}
constexpr int referenceCitation(int k)
{
    return 3000 + 10 * k + 2;
}

// Questionnaire line q, supplemental line s, yes/no question s
constexpr int questionnaireLine(int q)
{
    return 7000 + q;
}
constexpr int supplementalLine(int s)
{
    return 9000 + s;
}
constexpr int yesNoQuestion(int s)
{
    return 9100 + s;
}

} // namespace halcyra::ids

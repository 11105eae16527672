#pragma once

#include "reports/Evaluation.h"
#include "reports/ProfileInput.h"
#include "reports/ReportHeader.h"
#include "reports/SupplementGuide.h"

#include <QString>
#include <QStringList>
#include <array>

namespace halcyra {

class Catalogue;
struct ReferenceTables;

// The on-screen report: the five pages of the profile as plain text for the preview window
// (and the command line), built from the same evaluation and guide as the printed report.
// Lines are separated by "\n". Nothing here touches a window, a file or the settings.
namespace screen {

inline constexpr int kCoverPage = 1;
inline constexpr int kSummaryPage = 2;
inline constexpr int kAnalysisPage = 3;
inline constexpr int kSupplementGuidePage = 4;
inline constexpr int kReferencesPage = 5;
inline constexpr int kPageCount = 5;

// "Cover Page", "Summary", ... ; empty for a number that is no page.
QString pageCaption(int page);
// The caption of the print button on the page, "Print Cover Pg." ...
QString printCaption(int page);

// Whether a later / an earlier page is chosen in SelectedDocs ("1" per chosen page).
bool nextEnabled(const QString& selectedDocs, int page);
bool previousEnabled(const QString& selectedDocs, int page);
// The value CurrentPage takes after Previous, so that the page loop's step lands on the
// previous chosen page. With no earlier chosen page the same page is shown again.
int pageBeforePrevious(const QString& selectedDocs, int currentPage);

// The seven boxes of the cover page.
struct CoverPage
{
    static constexpr int kBoxes = 7;
    std::array<QString, kBoxes> boxes; // txtCover(0..6)
};

// The adviser block of the cover page, lines separated by "\n".
QString adviserBlock(const CompanyInfo& c, const HeaderOptions& options);
CoverPage coverPage(const Catalogue& catalogue, const ClientDetails& client,
                    const CompanyInfo& company, const HeaderOptions& options, const QString& today);

// The Summary: a heading strip (two lines) and the rows with their marks and the legend, in
// columns of a fixed-pitch font.
QString summaryHeading();
QString summaryText(const Catalogue& catalogue, const ProfileInput& profile,
                    const Evaluation& evaluation);

// The Analysis paragraphs, or "No Scores in High or Very High Percentile.".
QString analysisText(const Catalogue& catalogue, const Evaluation& evaluation);

// The items of the supplement-guide list: each listed supplement in fixed-width cells with its
// flyer group id at the end, then the note and the catalogue-wide flyer sets.
QString supplementGuideHeading();
QStringList supplementGuideItems(const Catalogue& catalogue, const std::vector<GuideLine>& guide,
                                 const std::array<bool, kYesNoCount>& yesNo);

QString referencesText();

// The items of the other-documents list from the lines of "OtherDoc.txt": the reference
// ("|" and a four-character code) moved beyond the visible width.
QStringList otherDocumentItems(const QStringList& lines);

// Every page of one client, as the window and the command line show them.
struct ScreenReport
{
    CoverPage cover;
    QString summary;
    QString analysis;
    QStringList guideItems;
    QString references;
};
ScreenReport buildScreenReport(const Catalogue& catalogue, const ReferenceTables& tables,
                               const ProfileInput& profile, const ClientDetails& client,
                               const CompanyInfo& company, const HeaderOptions& options,
                               const QString& today);
// One page as plain text (the cover's boxes one after another, the guide's items one a line).
QString pageText(const ScreenReport& report, int page);

} // namespace screen
} // namespace halcyra

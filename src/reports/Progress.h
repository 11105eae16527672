#pragma once

#include "reports/Evaluation.h"
#include "reports/ProfileInput.h"

#include <QJsonObject>
#include <QString>
#include <vector>

namespace halcyra {

class Catalogue;

// One report row compared between an earlier assessment and the current one.
struct SectionProgress
{
    int row = 0;
    QString name;
    double earlier = 0;
    double current = 0;
    Mark earlierMark = Mark::None;
    Mark currentMark = Mark::None;

    double change() const { return current - earlier; }
};

struct Progress
{
    QString earlierDate;
    QString currentDate;
    std::vector<SectionProgress> sections; // every named row, in report order
};

// The name of a row as the progress page lists it; empty for the sub-section rows, which are
// counted in their sums.
QString progressSectionName(const Catalogue& catalogue, int row);

// Evaluates both assessments with the same rules as the report and compares them row by row.
Progress compareAssessments(const ProfileInput& earlier, const QString& earlierDate,
                            const ProfileInput& current, const QString& currentDate,
                            const Catalogue& catalogue, const ReferenceTables& tables);

// The mark's name for the client: "High", "Very High", "Suggest Attention" or empty.
QString markName(Mark mark);
// What happened to a row's mark, worded for the client; empty when it stayed the same.
QString markChangeNote(Mark earlier, Mark current);
// A change as printed: "+3", "-2" or "0".
QString changeText(double change);

// The page's title: "Progress since DATE".
QString progressTitle(const Progress& progress);
// The comparison as plain text lines and as JSON, for the command line.
QStringList progressLines(const Progress& progress);
QJsonObject progressJson(const Progress& progress);

} // namespace halcyra

namespace halcyra {

// One assessment as the history lists it: its date, every row's score and mark, and how many
// rows are marked High (Suggest Attention included: it is reached at the High value) and
// Very High.
struct AssessmentSummary
{
    QString date;
    Evaluation evaluation;
    int high = 0;
    int veryHigh = 0;
};

AssessmentSummary summariseAssessment(const ProfileInput& input, const QString& date,
                                      const ReferenceTables& tables);

} // namespace halcyra

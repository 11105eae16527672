#include "reports/Progress.h"

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"

#include <QJsonArray>

namespace halcyra {
namespace {

constexpr int kAnalysisTitleBase = 4000;

QString number(double value)
{
    return QString::number(value, 'g', 12);
}

} // namespace

QString progressSectionName(const Catalogue& catalogue, int row)
{
    const QString name = catalogue.LoadResString(ids::rowName(row)).trimmed();
    if (row <= catalogue.count(ids::rowName(0)))
        return name;
    if (!name.isEmpty() && name != u".")
        return name;
    // Rows past the Summary are named only by their analysis title ("30.  NEED A PICK UP:").
    QString title = catalogue.LoadResString(kAnalysisTitleBase + 10 * row).simplified();
    if (title.endsWith(u':'))
        title.chop(1);
    return title;
}

Progress compareAssessments(const ProfileInput& earlier, const QString& earlierDate,
                            const ProfileInput& current, const QString& currentDate,
                            const Catalogue& catalogue, const ReferenceTables& tables)
{
    const Evaluation before = evaluateProfile(prepareProfile(earlier, tables), tables);
    const Evaluation now = evaluateProfile(prepareProfile(current, tables), tables);
    Progress progress{earlierDate, currentDate, {}};
    for (int r = 1; r <= kReportRowCount; ++r) {
        const QString name = progressSectionName(catalogue, r);
        if (name.isEmpty())
            continue;
        progress.sections.push_back(SectionProgress{r, name, before.row(r).score, now.row(r).score,
                                                    before.row(r).mark, now.row(r).mark});
    }
    return progress;
}

QString markName(Mark mark)
{
    switch (mark) {
    case Mark::High:
        return QStringLiteral("High");
    case Mark::VeryHigh:
        return QStringLiteral("Very High");
    case Mark::SuggestAttention:
        return QStringLiteral("Suggest Attention");
    case Mark::None:
        break;
    }
    return {};
}

QString markChangeNote(Mark earlier, Mark current)
{
    if (earlier == current)
        return {};
    if (current == Mark::None)
        return QStringLiteral("No longer marked %1").arg(markName(earlier));
    if (earlier == Mark::None)
        return QStringLiteral("Now marked %1").arg(markName(current));
    return QStringLiteral("Now marked %1, was %2").arg(markName(current), markName(earlier));
}

QString changeText(double change)
{
    return change > 0 ? u'+' + number(change) : number(change);
}

QString progressTitle(const Progress& progress)
{
    return QStringLiteral("Progress since %1").arg(progress.earlierDate);
}

QStringList progressLines(const Progress& progress)
{
    QStringList lines = {progressTitle(progress) +
                             (progress.currentDate.isEmpty()
                                  ? QString()
                                  : QStringLiteral(" (now %1)").arg(progress.currentDate)),
                         QString()};
    lines << QStringLiteral("%1 %2 %3 %4  %5")
                 .arg(QStringLiteral("Section"), -36)
                 .arg(QStringLiteral("Earlier"), 7)
                 .arg(QStringLiteral("Now"), 5)
                 .arg(QStringLiteral("Change"), 6)
                 .arg(QStringLiteral("Marks"));
    for (const SectionProgress& s : progress.sections)
        lines << QStringLiteral("%1 %2 %3 %4  %5")
                     .arg(s.name.left(36), -36)
                     .arg(number(s.earlier), 7)
                     .arg(number(s.current), 5)
                     .arg(changeText(s.change()), 6)
                     .arg(markChangeNote(s.earlierMark, s.currentMark))
                     .trimmed();
    return lines;
}

QJsonObject progressJson(const Progress& progress)
{
    QJsonArray sections;
    for (const SectionProgress& s : progress.sections)
        sections.append(
            QJsonObject{{QStringLiteral("row"), s.row},
                        {QStringLiteral("section"), s.name},
                        {QStringLiteral("earlier"), s.earlier},
                        {QStringLiteral("current"), s.current},
                        {QStringLiteral("change"), s.change()},
                        {QStringLiteral("earlierMark"), markText(s.earlierMark)},
                        {QStringLiteral("currentMark"), markText(s.currentMark)},
                        {QStringLiteral("note"), markChangeNote(s.earlierMark, s.currentMark)}});
    return {{QStringLiteral("earlierDate"), progress.earlierDate},
            {QStringLiteral("currentDate"), progress.currentDate},
            {QStringLiteral("sections"), sections}};
}

} // namespace halcyra

namespace halcyra {

AssessmentSummary summariseAssessment(const ProfileInput& input, const QString& date,
                                      const ReferenceTables& tables)
{
    AssessmentSummary summary{date, evaluateProfile(prepareProfile(input, tables), tables), 0, 0};
    for (const RowResult& row : summary.evaluation.rows()) {
        if (row.mark == Mark::VeryHigh)
            ++summary.veryHigh;
        else if (row.mark != Mark::None)
            ++summary.high;
    }
    return summary;
}

} // namespace halcyra

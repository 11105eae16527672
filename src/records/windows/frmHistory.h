#pragma once

#include "reports/Progress.h"
#include "reports/ReferenceTables.h"

#include <QDialog>
#include <vector>

class QChartView;
class QListWidget;
class QTableWidget;

namespace halcyra {

class Catalogue;

// A client's assessments: a table of each visit's date, marks and section scores, and a chart
// of the chosen sections over the visits with their High and Very High lines.
class frmHistory : public QDialog
{
    Q_OBJECT
public:
    // `assessments` oldest first, the current one last.
    frmHistory(const QString& clientName, std::vector<AssessmentSummary> assessments,
               const Catalogue& catalogue, const ReferenceTables& tables,
               QWidget* parent = nullptr);

    // The report rows the chart shows.
    QList<int> chosenRows() const;
    void chooseRows(const QList<int>& rows);

protected:
    // A new palette (the desktop turned dark or light) redraws the chart in its theme.
    void changeEvent(QEvent* event) override;

private:
    void fillTable();
    void fillChoices();
    void redrawChart();

    std::vector<AssessmentSummary> m_assessments;
    ReferenceTables m_tables;
    std::vector<std::pair<int, QString>> m_sections; // row and name
    QTableWidget* m_table = nullptr;
    QListWidget* m_choices = nullptr;
    QChartView* m_chart = nullptr;
};

} // namespace halcyra

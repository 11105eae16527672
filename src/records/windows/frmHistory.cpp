#include "records/windows/frmHistory.h"

#include "ui/ReadableColours.h"
#include "ui/windows/KeepOnScreen.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPen>
#include <QSet>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace halcyra {
namespace {

QString number(double value)
{
    return QString::number(value, 'g', 12);
}

// The sections worth a look first: those marked in the latest assessment, most marked first.
QList<int> defaultRows(const AssessmentSummary& latest,
                       const std::vector<std::pair<int, QString>>& sections)
{
    std::vector<std::pair<double, int>> ranked;
    for (const auto& [row, name] : sections) {
        const RowResult& result = latest.evaluation.row(row);
        const double share = result.high > 0 ? result.score / result.high : 0;
        ranked.emplace_back(-share, row);
    }
    std::stable_sort(ranked.begin(), ranked.end());
    QList<int> rows;
    for (size_t i = 0; i < ranked.size() && i < 2; ++i)
        rows << ranked[i].second;
    return rows;
}

} // namespace

frmHistory::frmHistory(const QString& clientName, std::vector<AssessmentSummary> assessments,
                       const Catalogue& catalogue, const ReferenceTables& tables, QWidget* parent)
    : QDialog(parent), m_assessments(std::move(assessments)), m_tables(tables)
{
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("Assessment History - %1").arg(clientName));
    for (int r = 1; r <= kReportRowCount; ++r)
        if (const QString name = progressSectionName(catalogue, r); !name.isEmpty())
            m_sections.emplace_back(r, name);

    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("grdAssessments"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_choices = new QListWidget(this);
    m_choices->setObjectName(QStringLiteral("lstSections"));
    m_chart = new QChartView(this);
    m_chart->setObjectName(QStringLiteral("chtHistory"));
    m_chart->setRenderHint(QPainter::Antialiasing);

    auto* chartRow = new QWidget(this);
    auto* chartLayout = new QHBoxLayout(chartRow);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    auto* choiceColumn = new QVBoxLayout;
    choiceColumn->addWidget(new QLabel(QStringLiteral("Sections in the chart:"), chartRow));
    choiceColumn->addWidget(m_choices);
    chartLayout->addLayout(choiceColumn, 1);
    chartLayout->addWidget(m_chart, 3);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_table);
    splitter->addWidget(chartRow);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    fillTable();
    fillChoices();
    if (!m_assessments.empty())
        chooseRows(defaultRows(m_assessments.back(), m_sections));
    connect(m_choices, &QListWidget::itemChanged, this, &frmHistory::redrawChart);
    redrawChart();
    keepOnScreen(this, QSize(980, 720));
}

void frmHistory::fillTable()
{
    QStringList headings = {QStringLiteral("Date"), QStringLiteral("H"), QStringLiteral("VH")};
    for (const auto& [row, name] : m_sections)
        headings << name;
    m_table->setColumnCount(static_cast<int>(headings.size()));
    m_table->setHorizontalHeaderLabels(headings);
    m_table->setRowCount(static_cast<int>(m_assessments.size()));
    for (int i = 0; i < static_cast<int>(m_assessments.size()); ++i) {
        const AssessmentSummary& a = m_assessments[static_cast<size_t>(i)];
        QStringList cells = {a.date, QString::number(a.high), QString::number(a.veryHigh)};
        for (const auto& [row, name] : m_sections) {
            const RowResult& result = a.evaluation.row(row);
            cells << number(result.score) + summaryMarkSuffix(result.mark);
        }
        for (int c = 0; c < cells.size(); ++c)
            m_table->setItem(i, c, new QTableWidgetItem(cells[c]));
    }
    m_table->resizeColumnsToContents();
}

void frmHistory::fillChoices()
{
    for (const auto& [row, name] : m_sections) {
        auto* item = new QListWidgetItem(name, m_choices);
        item->setData(Qt::UserRole, row);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

QList<int> frmHistory::chosenRows() const
{
    QList<int> rows;
    for (int i = 0; i < m_choices->count(); ++i)
        if (m_choices->item(i)->checkState() == Qt::Checked)
            rows << m_choices->item(i)->data(Qt::UserRole).toInt();
    return rows;
}

void frmHistory::chooseRows(const QList<int>& rows)
{
    const QSignalBlocker quiet(m_choices);
    for (int i = 0; i < m_choices->count(); ++i) {
        QListWidgetItem* item = m_choices->item(i);
        item->setCheckState(rows.contains(item->data(Qt::UserRole).toInt()) ? Qt::Checked
                                                                            : Qt::Unchecked);
    }
    redrawChart();
}

void frmHistory::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_chart && m_chart->chart())
        redrawChart();
}

void frmHistory::redrawChart()
{
    auto* chart = new QChart;
    // The theme first: it chooses the series' colours, which the reference lines take.
    chart->setTheme(isDarkPalette(palette()) ? QChart::ChartThemeDark : QChart::ChartThemeLight);
    chart->setTitle(QStringLiteral("Section scores by visit"));
    // On the side, where the names of the reference lines have room.
    chart->legend()->setAlignment(Qt::AlignRight);
    const int visits = static_cast<int>(m_assessments.size());
    auto* xAxis = new QCategoryAxis;
    xAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    // The axis takes each label once: a date given twice (or two visits without one) gets
    // the visit's number beside it.
    QSet<QString> labels;
    for (int i = 0; i < visits; ++i) {
        QString label = m_assessments[static_cast<size_t>(i)].date;
        if (label.isEmpty() || labels.contains(label))
            label = QStringLiteral("%1 (visit %2)").arg(label).arg(i + 1).trimmed();
        labels.insert(label);
        xAxis->append(label, i);
    }
    xAxis->setRange(-0.25, std::max(visits - 1, 1) + 0.25);
    auto* yAxis = new QValueAxis;
    yAxis->setLabelFormat(QStringLiteral("%d"));
    yAxis->setTitleText(QStringLiteral("Score"));
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);

    double top = 1;
    auto addSeries = [&](QLineSeries* series) {
        chart->addSeries(series);
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
    };
    for (const int row : chosenRows()) {
        const auto section = std::find_if(m_sections.begin(), m_sections.end(),
                                          [row](const auto& s) { return s.first == row; });
        auto* scores = new QLineSeries;
        scores->setName(section->second);
        for (int i = 0; i < visits; ++i) {
            const double score = m_assessments[static_cast<size_t>(i)].evaluation.row(row).score;
            scores->append(i, score);
            top = std::max(top, score);
        }
        scores->setPointsVisible(true);
        addSeries(scores);
        // The section's High and Very High percentiles, in its colour, dashed and dotted.
        const double high = m_tables.high[static_cast<size_t>(row)];
        const double veryHigh = m_tables.veryHigh[static_cast<size_t>(row)];
        for (const auto& [value, style, word] : {std::tuple{high, Qt::DashLine, "High"},
                                                 std::tuple{veryHigh, Qt::DotLine, "Very High"}}) {
            if (value > 100) // a Very High value no score reaches
                continue;
            auto* line = new QLineSeries;
            line->setName(QStringLiteral("%1: %2 %3")
                              .arg(section->second.section(u' ', 1), QString::fromLatin1(word),
                                   number(value)));
            line->append(xAxis->min(), value);
            line->append(xAxis->max(), value);
            QPen pen(scores->color());
            pen.setStyle(style);
            pen.setWidthF(1.2);
            line->setPen(pen);
            addSeries(line);
            top = std::max(top, value);
        }
    }
    yAxis->setRange(0, std::ceil(top * 1.15));
    yAxis->applyNiceNumbers();
    QChart* old = m_chart->chart();
    m_chart->setChart(chart);
    delete old;
}

} // namespace halcyra

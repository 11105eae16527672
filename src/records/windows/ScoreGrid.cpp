#include "records/windows/ScoreGrid.h"

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "records/ScoreBoxDescription.h"
#include "records/windows/EditBoxes.h"
#include "ui/ReadableColours.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace halcyra {
namespace {

constexpr int kColumns = 6;
constexpr int kRows = 7;

} // namespace

ScoreGrid::ScoreGrid(const Catalogue& catalogue, QWidget* parent)
    : QGroupBox(QStringLiteral("Group Scores"), parent), m_focusEvents(new BoxFocusEvents(this))
{
    setObjectName(QStringLiteral("Frame2"));
    setProperty("tag", 1064);
    const int highestSection = catalogue.count(ids::kNumberedSectionCount);
    const int boxWidth = fontMetrics().horizontalAdvance(QStringLiteral("000")) + 16;

    for (int n = 1; n <= kScoreBoxes; ++n) {
        const QString caption = catalogue.LoadResString(ids::fieldLabel(n));
        auto* label = new QLabel(caption, this);
        label->setObjectName(QStringLiteral("lblScore_%1").arg(n));
        label->setProperty("tag", ids::fieldLabel(n));

        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txtScore_%1").arg(n));
        box->setProperty("tag", QString::number(n));
        box->setAlignment(Qt::AlignCenter);
        box->setFixedWidth(boxWidth);
        const bool marked = isAutomaticScoreBox(n);
        box->setToolTip(scoreBoxToolTip(marked));
        box->setAccessibleName(scoreBoxAccessibleName(caption, {}, marked));
        connect(box, &QLineEdit::textChanged, this, [box, caption, marked](const QString& text) {
            box->setAccessibleName(scoreBoxAccessibleName(caption, text, marked));
        });
        label->setBuddy(box);
        m_focusEvents->watch(box);
        connect(box, &QLineEdit::textEdited, this, [this, n] { emit edited(n); });
        // Enter moves on like Tab, through the boxes in section order.
        connect(box, &QLineEdit::returnPressed, this, [box] {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QApplication::sendEvent(box, &tab);
        });

        const bool shown = isScoreBoxShown(caption, highestSection);
        m_shown[static_cast<size_t>(n)] = shown;
        label->setVisible(shown);
        box->setVisible(shown);
        m_boxes[static_cast<size_t>(n)] = box;
        m_labels[static_cast<size_t>(n)] = label;
    }
    connect(m_focusEvents, &BoxFocusEvents::entered, this,
            [this](QWidget* box) { emit entered(numberOf(box)); });
    connect(m_focusEvents, &BoxFocusEvents::left, this,
            [this](QWidget* box) { emit left(numberOf(box)); });
    colourMarkedBoxes();
    layOut();
}

void ScoreGrid::colourMarkedBoxes()
{
    for (int n = 1; n <= kScoreBoxes; ++n) {
        if (!isAutomaticScoreBox(n))
            continue;
        // From the window's palette, not the box's own, which carries the last colour set.
        QPalette marked = palette();
        marked.setColor(QPalette::Text, markedScoreColour(marked));
        box(n)->setPalette(marked);
    }
}

void ScoreGrid::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        colourMarkedBoxes();
    QGroupBox::changeEvent(event);
}

void ScoreGrid::layOut()
{
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(6);
    // Each column is a label, its box and a gap before the next column.
    for (int column = 1; column <= kColumns; ++column) {
        for (int row = 1; row <= kRows; ++row) {
            const int n = scoreBoxAt(column, row);
            const int first = (column - 1) * 3;
            grid->addWidget(label(n), row - 1, first, Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(box(n), row - 1, first + 1);
        }
        if (column < kColumns)
            grid->setColumnMinimumWidth((column - 1) * 3 + 2, 10);
    }
    grid->setRowStretch(kRows, 1);
}

int ScoreGrid::numberOf(const QObject* widget) const
{
    const auto it = std::find(m_boxes.begin() + 1, m_boxes.end(), widget);
    return it == m_boxes.end() ? 0 : static_cast<int>(it - m_boxes.begin());
}

ScoreBoxes ScoreGrid::texts() const
{
    ScoreBoxes result;
    for (int n = 1; n <= kScoreBoxes; ++n)
        result[static_cast<size_t>(n)] = box(n)->text();
    return result;
}

void ScoreGrid::setTexts(const ScoreBoxes& texts)
{
    for (int n = 1; n <= kScoreBoxes; ++n)
        setBoxText(box(n), texts[static_cast<size_t>(n)]);
}

void ScoreGrid::applyLeavingRules(int n)
{
    ScoreBoxes scores = texts();
    scores[static_cast<size_t>(n)] = scoreTextOnLeaving(scores[static_cast<size_t>(n)]);
    recomputeAutomaticScores(scores);
    setTexts(scores);
}

QString ScoreGrid::helpText(int n) const
{
    return scoreHelpText(n, label(n)->text());
}

QList<QWidget*> ScoreGrid::tabOrder() const
{
    QList<QWidget*> order;
    for (int n = 1; n <= kScoreBoxes; ++n)
        if (isShown(n))
            order << box(n);
    return order;
}

} // namespace halcyra

#pragma once

#include "records/ScoreRules.h"

#include <QGroupBox>
#include <array>

class QLabel;
class QLineEdit;

namespace halcyra {

class BoxFocusEvents;
class Catalogue;

// Frame2, "Group Scores": the score boxes txtScore(1..42) with their labels lblScore(1..42), in
// six columns of seven numbered down each column. Boxes of sections beyond the highest one the
// catalogue shows are hidden; the sums the window fills in are drawn in blue (a blue that reads
// on the palette's boxes) and say so to a screen reader.
class ScoreGrid : public QGroupBox
{
    Q_OBJECT
public:
    explicit ScoreGrid(const Catalogue& catalogue, QWidget* parent = nullptr);

    QLineEdit* box(int n) const { return m_boxes[static_cast<size_t>(n)]; }
    QLabel* label(int n) const { return m_labels[static_cast<size_t>(n)]; }
    // The number of a score box, 0 for any other widget.
    int numberOf(const QObject* widget) const;
    bool isShown(int n) const { return m_shown[static_cast<size_t>(n)]; }

    ScoreBoxes texts() const;
    void setTexts(const ScoreBoxes& texts);

    // Leaving box n: its own limits, then every sum and the section 37 mark.
    void applyLeavingRules(int n);
    // The status bar line while box n has the focus.
    QString helpText(int n) const;

    // The shown boxes in box-number order: the order of Tab and Enter.
    QList<QWidget*> tabOrder() const;

signals:
    void entered(int n);
    void edited(int n);
    void left(int n);

protected:
    void changeEvent(QEvent* event) override;

private:
    void layOut();
    void colourMarkedBoxes();

    std::array<QLineEdit*, kScoreBoxes + 1> m_boxes{};
    std::array<QLabel*, kScoreBoxes + 1> m_labels{};
    std::array<bool, kScoreBoxes + 1> m_shown{};
    BoxFocusEvents* m_focusEvents;
};

} // namespace halcyra

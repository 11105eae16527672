#pragma once

#include <QString>
#include <QWidget>
#include <array>

class QLabel;

namespace halcyra {

class BoxFocusEvents;

// The client-detail boxes txtFields(0..18) with their labels lblLabels(0..18), laid out in two
// columns of short details beside the several-line Medications and Notes boxes.
class DetailForm : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kBoxes = 19;
    static constexpr int kMedications = 17;
    static constexpr int kNotes = 18;

    explicit DetailForm(QWidget* parent = nullptr);

    QWidget* box(int index) const { return m_boxes[static_cast<size_t>(index)]; }
    QLabel* label(int index) const { return m_labels[static_cast<size_t>(index)]; }
    // The index of a detail box, -1 for any other widget.
    int indexOf(const QObject* widget) const;

    QString text(int index) const;
    void setText(int index, const QString& text);
    std::array<QString, kBoxes> texts() const;
    // Shows a stored record, every text whole.
    void setTexts(const std::array<QString, kBoxes>& texts);

    // Where the cursor goes when a box is entered: the whole text of cholesterol, HDL, age and
    // sex is selected, any other box gets the cursor after its last character.
    void placeCursorOnEntering(int index);

    // The boxes in the order the Tab key visits them: by number, down the left column, down the
    // right column, then Medications and Notes.
    QList<QWidget*> tabOrder() const;

signals:
    void entered(int index);
    void edited(int index);
    void left(int index);

private:
    QWidget* makeBox(int index);

    std::array<QWidget*, kBoxes> m_boxes{};
    std::array<QLabel*, kBoxes> m_labels{};
    BoxFocusEvents* m_focusEvents;
    bool m_filling = false;
};

} // namespace halcyra

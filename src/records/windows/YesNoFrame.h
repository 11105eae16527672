#pragma once

#include <QGroupBox>
#include <array>

class QCheckBox;

namespace halcyra {

// Frame1, "Yes or No section - Put check in box for YES.": the five yes/no boxes ckYesNo(0..4).
class YesNoFrame : public QGroupBox
{
    Q_OBJECT
public:
    static constexpr int kBoxes = 5;

    explicit YesNoFrame(QWidget* parent = nullptr);

    QCheckBox* box(int i) const { return m_boxes[static_cast<size_t>(i)]; }
    std::array<bool, kBoxes> values() const;
    void setValues(const std::array<bool, kBoxes>& values);

private:
    std::array<QCheckBox*, kBoxes> m_boxes{};
};

} // namespace halcyra

#include "records/windows/YesNoFrame.h"

#include <QCheckBox>
#include <QVBoxLayout>

namespace halcyra {
namespace {

// Caption and its catalogue number, in box order.
struct YesNoCaption
{
    const char* text;
    int id;
};
const YesNoCaption kCaptions[YesNoFrame::kBoxes] = {
    {"High Blood Pressure?", 1067},
    {"Type I Diabetes/ Reactive Hypoglycemia?", 1068},
    {"Smoke?", 1069},
    {"High Cholesterol?", 1070},
    {"Pain?", 1071},
};

} // namespace

YesNoFrame::YesNoFrame(QWidget* parent)
    : QGroupBox(QStringLiteral("Yes or No section - Put check in box for YES."), parent)
{
    setObjectName(QStringLiteral("Frame1"));
    setProperty("tag", 1063);
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < kBoxes; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(kCaptions[i].text), this);
        box->setObjectName(QStringLiteral("ckYesNo_%1").arg(i));
        box->setProperty("tag", kCaptions[i].id);
        layout->addWidget(box);
        m_boxes[static_cast<size_t>(i)] = box;
    }
    layout->addStretch(1);
}

std::array<bool, YesNoFrame::kBoxes> YesNoFrame::values() const
{
    std::array<bool, kBoxes> result{};
    for (int i = 0; i < kBoxes; ++i)
        result[static_cast<size_t>(i)] = box(i)->isChecked();
    return result;
}

void YesNoFrame::setValues(const std::array<bool, kBoxes>& values)
{
    for (int i = 0; i < kBoxes; ++i)
        box(i)->setChecked(values[static_cast<size_t>(i)]);
}

} // namespace halcyra

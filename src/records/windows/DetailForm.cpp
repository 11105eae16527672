#include "records/windows/DetailForm.h"

#include "records/DetailRules.h"
#include "records/windows/EditBoxes.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>

namespace halcyra {
namespace {

// Left column: who the client is; right column: the health figures and the questionnaire's
// date. Reading down the left column and then the right one follows the box numbers.
constexpr int kLeftColumn[] = {0, 1, 2, 3, 4, 5, 6, 7};
constexpr int kRightColumn[] = {8, 9, 10, 11, 12, 13, 14, 15, 16};

bool selectsWholeTextOnEntering(int index)
{
    return index == 9 || index == 10 || index == 14 || index == 15;
}

} // namespace

DetailForm::DetailForm(QWidget* parent) : QWidget(parent), m_focusEvents(new BoxFocusEvents(this))
{
    setObjectName(QStringLiteral("DetailForm"));
    for (int index = 0; index < kBoxes; ++index) {
        QWidget* box = makeBox(index);
        m_boxes[static_cast<size_t>(index)] = box;
        auto* label = new QLabel(detailLabel(index), this);
        label->setObjectName(QStringLiteral("lblLabels_%1").arg(index));
        label->setBuddy(box);
        m_labels[static_cast<size_t>(index)] = label;
        if (index > 0)
            m_focusEvents->watch(box);
    }
    connect(m_focusEvents, &BoxFocusEvents::entered, this,
            [this](QWidget* box) { emit entered(indexOf(box)); });
    connect(m_focusEvents, &BoxFocusEvents::left, this,
            [this](QWidget* box) { emit left(indexOf(box)); });

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    int row = 0;
    for (int index : kLeftColumn) {
        grid->addWidget(label(index), row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(box(index), row++, 1);
    }
    row = 0;
    for (int index : kRightColumn) {
        grid->addWidget(label(index), row, 3, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(box(index), row++, 4);
    }
    // Medications above Notes, each label over its box, beside the two columns.
    const int rows = static_cast<int>(std::size(kRightColumn));
    const int half = rows / 2;
    grid->addWidget(label(kMedications), 0, 6);
    grid->addWidget(box(kMedications), 1, 6, half - 1, 1);
    grid->addWidget(label(kNotes), half, 6);
    grid->addWidget(box(kNotes), half + 1, 6, rows - half - 1, 1);
    label(kMedications)->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    label(kNotes)->setAlignment(Qt::AlignLeft | Qt::AlignBottom);

    grid->setColumnMinimumWidth(2, 16);
    grid->setColumnMinimumWidth(5, 16);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(4, 2);
    grid->setColumnStretch(6, 4);
}

QWidget* DetailForm::makeBox(int index)
{
    QWidget* box = nullptr;
    if (index == kMedications || index == kNotes) {
        auto* lines = new QPlainTextEdit(this);
        lines->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        lines->setTabChangesFocus(true);
        lines->setMinimumWidth(fontMetrics().averageCharWidth() * 24);
        connect(lines, &QPlainTextEdit::textChanged, this, [this, index] {
            if (!m_filling)
                emit edited(index);
        });
        box = lines;
    } else {
        // No typing limit: a text that is too long is held to its length when the box is left,
        // with a message, instead of losing characters unseen while they are typed or pasted.
        auto* line = new QLineEdit(this);
        line->setMinimumWidth(fontMetrics().averageCharWidth() * (index < 8 ? 22 : 12));
        connect(line, &QLineEdit::textEdited, this, [this, line, index](const QString& typed) {
            const QString shown = detailTextAsTyped(index, typed);
            if (shown != typed) {
                const int cursor = line->cursorPosition();
                line->setText(shown);
                line->setCursorPosition(cursor);
            }
            emit edited(index);
        });
        box = line;
    }
    box->setObjectName(QStringLiteral("txtFields_%1").arg(index));
    if (index == 0) {
        // The record number is the database's own: shown, never typed, skipped by Tab.
        box->setEnabled(false);
        box->setFocusPolicy(Qt::NoFocus);
    }
    return box;
}

int DetailForm::indexOf(const QObject* widget) const
{
    const auto it = std::find(m_boxes.begin(), m_boxes.end(), widget);
    return it == m_boxes.end() ? -1 : static_cast<int>(it - m_boxes.begin());
}

QString DetailForm::text(int index) const
{
    return boxText(box(index));
}

void DetailForm::setText(int index, const QString& text)
{
    setBoxText(box(index), text);
}

std::array<QString, DetailForm::kBoxes> DetailForm::texts() const
{
    std::array<QString, kBoxes> result;
    for (int index = 0; index < kBoxes; ++index)
        result[static_cast<size_t>(index)] = text(index);
    return result;
}

void DetailForm::setTexts(const std::array<QString, kBoxes>& texts)
{
    m_filling = true;
    for (int index = 0; index < kBoxes; ++index)
        setText(index, texts[static_cast<size_t>(index)]);
    m_filling = false;
}

void DetailForm::placeCursorOnEntering(int index)
{
    if (selectsWholeTextOnEntering(index))
        selectWholeText(box(index));
    else
        putCursorAtEnd(box(index));
}

QList<QWidget*> DetailForm::tabOrder() const
{
    QList<QWidget*> order;
    for (int index : kLeftColumn)
        if (index > 0)
            order << box(index);
    for (int index : kRightColumn)
        order << box(index);
    order << box(kMedications) << box(kNotes);
    return order;
}

} // namespace halcyra

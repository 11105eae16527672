#include "records/windows/DataNavigator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace halcyra {

DataNavigator::DataNavigator(QWidget* parent) : QFrame(parent), m_caption(new QLabel(this))
{
    setObjectName(QStringLiteral("Data1"));
    setFrameShape(QFrame::StyledPanel);
    setToolTip(dataControlToolTip());
    m_caption->setObjectName(QStringLiteral("Data1_Caption"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setMinimumWidth(
        fontMetrics().horizontalAdvance(QStringLiteral("Data Control Bar: - Record: 00000")) + 16);
    m_caption->setText(QStringLiteral("Data Control Bar"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(addArrow(QStringLiteral("Data1_First"), QStringLiteral("First Record"),
                               QStyle::SP_MediaSkipBackward, DataAction::MoveFirst));
    layout->addWidget(addArrow(QStringLiteral("Data1_Previous"), QStringLiteral("Previous Record"),
                               QStyle::SP_MediaSeekBackward, DataAction::MovePrevious));
    layout->addWidget(m_caption, 1);
    layout->addWidget(addArrow(QStringLiteral("Data1_Next"), QStringLiteral("Next Record"),
                               QStyle::SP_MediaSeekForward, DataAction::MoveNext));
    layout->addWidget(addArrow(QStringLiteral("Data1_Last"), QStringLiteral("Last Record"),
                               QStyle::SP_MediaSkipForward, DataAction::MoveLast));
}

QToolButton* DataNavigator::addArrow(const QString& name, const QString& tip, int icon,
                                     DataAction action)
{
    auto* arrow = new QToolButton(this);
    arrow->setObjectName(name);
    // The bar's own tool tip covers its arrows; the name is for screen readers.
    arrow->setAccessibleName(tip);
    arrow->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(icon)));
    arrow->setAutoRaise(true);
    arrow->setFocusPolicy(Qt::NoFocus);
    connect(arrow, &QToolButton::clicked, this, [this, action] { emit moveRequested(action); });
    m_arrows.insert(action, arrow);
    return arrow;
}

void DataNavigator::press(DataAction action)
{
    if (QToolButton* arrow = m_arrows.value(action))
        arrow->click();
}

QString DataNavigator::caption() const
{
    return m_caption->text();
}

void DataNavigator::setCaption(const QString& caption)
{
    m_caption->setText(caption);
}

} // namespace halcyra

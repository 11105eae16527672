#include "ui/windows/Logo.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace halcyra {

QPixmap logoPixmap()
{
    QPixmap pixmap(128, 128);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(244, 196, 48));
    painter.drawEllipse(QRectF(14, 14, 100, 100));
    QPainterPath leaf;
    leaf.moveTo(34, 100);
    leaf.cubicTo(30, 50, 70, 24, 104, 26);
    leaf.cubicTo(104, 66, 80, 102, 34, 100);
    painter.setBrush(QColor(40, 130, 60));
    painter.drawPath(leaf);
    painter.setPen(QPen(QColor(230, 245, 230), 3));
    painter.drawLine(QPointF(38, 96), QPointF(92, 40));
    return pixmap;
}

QLabel* makeLabel(QWidget* parent, const char* name, int pointSize, bool bold)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    if (pointSize > 0)
        font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

} // namespace halcyra

#include "reports/windows/frmPrinting.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace halcyra {

frmPrinting::frmPrinting(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmPrinting"));
    setWindowTitle(QStringLiteral("Printing"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Printing"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont large = Label1->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.2);
    Label1->setFont(large);
    for (QLabel* label : {Label1, Label2})
        label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    setMinimumWidth(320);
}

void ShowPrinting(frmPrinting& window, const QString& text)
{
    window.Label1->setText(text);
    window.show();
    window.raise();
    QCoreApplication::processEvents();
}

} // namespace halcyra

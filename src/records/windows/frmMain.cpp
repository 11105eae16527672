#include "records/windows/frmMain.h"

#include "core/windows/ApplyCatalogueCaptions.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QStatusBar>

namespace halcyra {

frmMain::frmMain(const Catalogue& catalogue, QWidget* parent)
    : QMainWindow(parent), m_lastName(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Halcyra Data Entry"));
    m_lastName->setObjectName(QStringLiteral("txtFields_1"));
    m_lastName->setMaxLength(50);

    auto* central = new QWidget(this);
    auto* form = new QFormLayout(central);
    form->addRow(QStringLiteral("Last Name:"), m_lastName);
    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("sbStatusBar"));
    resize(900, 640);

    ApplyCatalogueCaptions(*this, catalogue);
}

} // namespace halcyra

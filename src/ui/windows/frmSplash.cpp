#include "ui/windows/frmSplash.h"

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "core/Version.h"
#include "core/windows/ApplyCatalogueCaptions.h"
#include "ui/WindowsVersion.h"
#include "ui/windows/Logo.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>

namespace halcyra {

frmSplash::frmSplash(const Catalogue& catalogue, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      lblProductName(makeLabel(this, "lblProductName", 26, true)),
      lblVersion(makeLabel(this, "lblVersion", 11, false)),
      lblPlatform(makeLabel(this, "lblPlatform", 10, false)),
      lblWarning(makeLabel(this, "lblWarning", 8, false)), picLogo(new QLabel(this))
{
    setObjectName(QStringLiteral("frmSplash"));
    picLogo->setObjectName(QStringLiteral("picLogo"));
    ApplyCatalogueCaptions(*this, catalogue);

    lblProductName->setText(AppTitle());
    lblVersion->setText(versionText());
    lblPlatform->setText(GetWindowsVersionName());
    lblWarning->setText(catalogue.LoadResString(ids::kSplashWarning));
    picLogo->setPixmap(logoPixmap());

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(28, 28, 28, 20);
    layout->setHorizontalSpacing(24);
    layout->addWidget(picLogo, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(lblProductName, 0, 1);
    layout->addWidget(lblVersion, 1, 1);
    layout->addWidget(lblPlatform, 2, 1, Qt::AlignTop);
    layout->addWidget(lblWarning, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    setFixedWidth(560);
    setStyleSheet(QStringLiteral("frmSplash { border: 2px solid #2c6e3f; }"));
    qApp->installEventFilter(this);
}

frmSplash::~frmSplash()
{
    qApp->removeEventFilter(this);
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == this) {
        // Start-up's own show and close say whether the splash is wanted at all.
        if (type == QEvent::Show && m_dialogsUp.isEmpty())
            m_wanted = true;
        return false;
    }
    if (type != QEvent::Show && type != QEvent::Hide)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !widget->isWindow() || widget->windowType() == Qt::ToolTip)
        return false;
    if (type == QEvent::Show && widget->isModal()) {
        m_dialogsUp.insert(widget);
        if (isVisible())
            hide();
    } else if (m_dialogsUp.remove(widget) && m_dialogsUp.isEmpty() && m_wanted) {
        show();
        raise();
    }
    return false;
}

} // namespace halcyra

#include "ui/windows/frmAbout.h"

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "core/Version.h"
#include "core/windows/ApplyCatalogueCaptions.h"
#include "ui/windows/KeepOnScreen.h"
#include "ui/windows/Logo.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace halcyra {
namespace {

constexpr int kCaption = 1150;
constexpr int kTitle = 1151;
constexpr int kDescription = 1152;
constexpr int kDisclaimer = 1153;
constexpr int kOk = 1156;
constexpr int kSpecialTip = 1157;
constexpr int kPictureTip = 1158;

QLabel* taggedLabel(QWidget* parent, const char* name, int tag, int pointSize, bool bold)
{
    QLabel* label = makeLabel(parent, name, pointSize, bold);
    if (tag > 0)
        label->setProperty("tag", tag);
    return label;
}

// The address as a link the desktop's browser opens; the text stays the catalogue's.
QString linkTo(const QString& address)
{
    const QUrl url = QUrl::fromUserInput(address);
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(), address.toHtmlEscaped());
}

} // namespace

frmAbout::frmAbout(const Catalogue& catalogue, QWidget* parent)
    : QDialog(parent), lblTitle(taggedLabel(this, "lblTitle", kTitle, 20, true)),
      lblVersion(taggedLabel(this, "lblVersion", 0, 0, false)),
      lblWeb(taggedLabel(this, "lblWeb", 0, 0, false)),
      lblDescription(taggedLabel(this, "lblDescription", kDescription, 0, false)),
      lblDisclaimer(taggedLabel(this, "lblDisclaimer", kDisclaimer, 8, false)),
      txtSpecial(new QLineEdit(this)), cmdOk(new QPushButton(QStringLiteral("OK"), this)),
      Picture1(new QToolButton(this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setProperty("tag", kCaption);
    txtSpecial->setObjectName(QStringLiteral("txtSpecial"));
    txtSpecial->setToolTip(QString::number(kSpecialTip));
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setProperty("tag", kOk);
    cmdOk->setDefault(true);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setToolTip(QString::number(kPictureTip));
    Picture1->setAutoRaise(true);
    Picture1->setCursor(Qt::WhatsThisCursor);
    Picture1->setIcon(QIcon(logoPixmap()));
    Picture1->setIconSize(QSize(96, 96));

    ApplyCatalogueCaptions(*this, catalogue);
    lblTitle->setText(AppTitle());
    lblVersion->setText(versionText());
    lblWeb->setText(linkTo(catalogue.LoadResString(ids::kProgramWebAddress)));
    lblWeb->setTextFormat(Qt::RichText);
    lblWeb->setOpenExternalLinks(true);
    lblDisclaimer->setFrameShape(QFrame::StyledPanel);
    lblDisclaimer->setMargin(6);

    auto* text = new QVBoxLayout;
    text->setSpacing(6);
    for (QLabel* label : {lblTitle, lblVersion, lblWeb, lblDescription}) {
        label->setMinimumWidth(360);
        text->addWidget(label);
    }
    text->addStretch(1);
    auto* top = new QHBoxLayout;
    top->setSpacing(20);
    top->addWidget(Picture1, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(txtSpecial, 1);
    bottom->addSpacing(40);
    bottom->addWidget(cmdOk);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(14);
    layout->addLayout(top);
    layout->addWidget(lblDisclaimer);
    layout->addLayout(bottom);
    // The box takes the size its texts need, whatever their length in the catalogue.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Picture1, &QToolButton::clicked, this, [this] { emit helpTopicRequested(kHelpTopic); });
    connect(cmdOk, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    keepOnScreen(this);
}

QString frmAbout::run()
{
    m_special.clear();
    txtSpecial->clear();
    cmdOk->setFocus();
    exec();
    return m_special;
}

void frmAbout::cmdOK_Click()
{
    m_special = txtSpecial->text();
    accept();
}

} // namespace halcyra

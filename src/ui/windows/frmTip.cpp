#include "ui/windows/frmTip.h"

#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "ui/TipFile.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

namespace halcyra {
namespace {

int randomTipNumber(qsizetype count)
{
    return static_cast<int>(QRandomGenerator::global()->bounded(static_cast<quint32>(count))) + 1;
}

} // namespace

frmTip::frmTip(SettingsStore& settings, const QString& programFolder, QWidget* parent)
    : QDialog(parent), m_settings(settings), lblTipText(new QLabel(this)),
      chkLoadTipsAtStartup(new QCheckBox(QStringLiteral("&Show Tips at Startup"), this)),
      cmdNextTip(new QPushButton(QStringLiteral("&Next Tip"), this)),
      cmdOk(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    lblTipText->setObjectName(QStringLiteral("lblTipText"));
    chkLoadTipsAtStartup->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    cmdNextTip->setObjectName(QStringLiteral("cmdNextTip"));
    cmdOk->setObjectName(QStringLiteral("cmdOk"));

    auto* didYouKnow = new QLabel(QStringLiteral("Did you know..."), this);
    QFont heading = didYouKnow->font();
    heading.setBold(true);
    heading.setPointSize(heading.pointSize() + 3);
    didYouKnow->setFont(heading);
    lblTipText->setWordWrap(true);
    lblTipText->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    lblTipText->setMinimumSize(380, 120);

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Base);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(didYouKnow);
    panelLayout->addWidget(lblTipText, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkLoadTipsAtStartup);
    buttons->addStretch(1);
    buttons->addWidget(cmdNextTip);
    buttons->addWidget(cmdOk);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addLayout(buttons);
    cmdOk->setDefault(true);

    chkLoadTipsAtStartup->setChecked(m_settings.flag(keys::showTipsAtStartup()));
    connect(chkLoadTipsAtStartup, &QCheckBox::clicked, this, &frmTip::chkLoadTipsAtStartup_Click);
    connect(cmdNextTip, &QPushButton::clicked, this, &frmTip::cmdNextTip_Click);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    const auto loaded = LoadTips(QDir(programFolder).filePath(tipFileName()));
    if (!loaded) {
        lblTipText->setText(tipFileMissingText());
        cmdNextTip->setEnabled(false);
        return;
    }
    m_tips = *loaded;
    if (!m_tips.isEmpty())
        m_currentTip = randomTipNumber(m_tips.size());
    DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip()
{
    if (m_tips.isEmpty())
        return;
    lblTipText->setText(tipDisplayText(m_tips.at(m_currentTip - 1)));
}

void frmTip::cmdNextTip_Click()
{
    if (m_tips.isEmpty())
        return;
    m_currentTip = randomTipNumber(m_tips.size());
    DisplayCurrentTip();
}

void frmTip::chkLoadTipsAtStartup_Click()
{
    m_settings.save(keys::showTipsAtStartup(),
                    chkLoadTipsAtStartup->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace halcyra

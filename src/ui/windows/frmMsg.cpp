#include "ui/windows/frmMsg.h"

#include "core/windows/ArrowCursor.h"
#include "ui/DesktopLaunch.h"
#include "ui/ReadableColours.h"
#include "ui/windows/QtPrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace halcyra {

frmMsg::frmMsg(SettingsStore& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings), lblWarn(new QLabel(QStringLiteral("Question"), this)),
      lblMsg(new QLabel(this)), cmdOk(new QPushButton(QStringLiteral("OK"), this)),
      cmd1(new QPushButton(QStringLiteral("Cancel"), this)), cmd2(new QPushButton(this)),
      cmdShowMe(new QPushButton(QStringLiteral("Online"), this)),
      ckDoNotShow(new QCheckBox(QStringLiteral("&Don't show this message again."), this))
{
    setObjectName(QStringLiteral("frmMsg"));
    lblWarn->setObjectName(QStringLiteral("lblWarn"));
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmd1->setObjectName(QStringLiteral("cmd1"));
    cmd2->setObjectName(QStringLiteral("cmd2"));
    cmdShowMe->setObjectName(QStringLiteral("cmdShowMe"));
    ckDoNotShow->setObjectName(QStringLiteral("ckDoNotShow"));

    QFont heading = lblWarn->font();
    heading.setBold(true);
    heading.setPointSize(heading.pointSize() + 4);
    lblWarn->setFont(heading);
    lblMsg->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lblMsg->setWordWrap(true);
    lblMsg->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdShowMe->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));

    auto* buttons = new QHBoxLayout;
    // Equal stretch around every button spreads the visible ones evenly over the width.
    for (QPushButton* button : {cmdOk, cmd1, cmd2, cmdShowMe}) {
        buttons->addStretch(1);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblWarn);
    layout->addWidget(lblMsg, 1);
    layout->addWidget(ckDoNotShow);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    m_typedAhead = new TypedAheadKeys(this);

    connect(cmdOk, &QPushButton::clicked, this, [this] {
        finish(MessageResult::Ok);
        if (windowTitle() == u"Tutorial" && GetHelp)
            GetHelp();
    });
    connect(cmd1, &QPushButton::clicked, this, [this] {
        m_cancelling = true;
        finish(MessageResult::Cancel);
    });
    connect(cmd2, &QPushButton::clicked, this, [this] {
        if (windowTitle() == u"View Questionnaire" && GetHelp)
            GetHelp();
        if (cmd2 == cancelButton())
            m_cancelling = true;
        finish(MessageResult::Second);
    });
    connect(cmdShowMe, &QPushButton::clicked, this, [this] {
        const QString address = onlineTutorialAddress();
        const Status opened =
            openWithDesktop(address, QStringLiteral("the online tutorial"),
                            QStringLiteral("Open %1 in your web browser yourself.").arg(address));
        if (reporter)
            tellIfNotOpened(*reporter, windowTitle(), opened);
        else if (!opened)
            QtPrompts().inform(windowTitle(), opened.error(), UserPrompts::Icon::Warning);
    });
    connect(ckDoNotShow, &QCheckBox::toggled, this, [this](bool ticked) {
        if (windowTitle().startsWith(QStringLiteral("F1 Help")) && onFieldHelpToggled)
            onFieldHelpToggled(windowTitle(), ticked);
    });
}

void frmMsg::layoutFor(const QString& title)
{
    const MessageLayout layout = messageLayoutFor(title);
    lblWarn->setText(layout.heading);
    QPalette palette = lblWarn->palette();
    palette.setColor(QPalette::WindowText, meaningColour(layout.headingColor, palette));
    lblWarn->setPalette(palette);
    cmdOk->setText(layout.okCaption);
    cmd1->setVisible(layout.showCancel);
    cmd2->setVisible(!layout.secondCaption.isEmpty());
    cmd2->setText(layout.secondCaption);
    cmdShowMe->setVisible(layout.showOnline);
    ckDoNotShow->setVisible(layout.showDoNotShow);
    ckDoNotShow->setChecked(false);
    // The window is kept between messages, and with it the control that last had the focus:
    // each message starts on OK, so Enter answers OK and a space cannot tick the box.
    cmdOk->setDefault(true);
    cmdOk->setFocus(Qt::OtherFocusReason);
}

MessageResult frmMsg::ShowMsg(const QString& title, const QString& message)
{
    // A message that does not show is not cancelled, whatever the one before it was.
    m_cancelling = false;
    if (isMessageSuppressed(m_settings, title))
        return MessageResult::Suppressed;
    setWindowTitle(title);
    lblMsg->setText(message);
    layoutFor(title);
    m_result = MessageResult::Closed;
    const ArrowCursor arrow;
    m_typedAhead->opened();
    exec();
    return m_result;
}

void frmMsg::finish(MessageResult result)
{
    m_result = result;
    accept();
}

QPushButton* frmMsg::cancelButton() const
{
    if (!cmd1->isHidden())
        return cmd1;
    if (!cmd2->isHidden() && cmd2->text() == u"Cancel")
        return cmd2;
    return nullptr;
}

void frmMsg::reject()
{
    if (QPushButton* cancel = cancelButton())
        cancel->click();
    else
        QDialog::reject();
}

void frmMsg::done(int result)
{
    // However else the window closes, the box's state is kept under the title.
    if (!m_cancelling)
        storeDoNotShow(m_settings, windowTitle(), ckDoNotShow->isChecked());
    QDialog::done(result);
}

} // namespace halcyra

#include "ui/windows/frmEmail.h"

#include "core/BusyCursor.h"
#include "core/ErrorReporter.h"
#include "ui/SendEmail.h"
#include "ui/windows/KeepOnScreen.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace halcyra {
namespace {

QString label(const char* procedure)
{
    return QStringLiteral("frmEmail:Sub ") + QString::fromLatin1(procedure) + QStringLiteral("()");
}

template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

frmEmail::frmEmail(const EmailSetupValues& values, MailService& service, ErrorReporter& reporter,
                   QWidget* parent)
    : QDialog(parent), m_opened(values), m_service(service), m_reporter(reporter),
      txtToAddress(named(new QLineEdit(this), "txtToAddress")),
      txtSubject(named(new QLineEdit(this), "txtSubject")),
      txtBody(named(new QPlainTextEdit(this), "txtBody")),
      txtAttachment(named(new QLineEdit(this), "txtAttachment")),
      cmdBrowse(named(new QPushButton(QStringLiteral("&Browse..."), this), "cmdBrowse")),
      chkDialog(named(new QCheckBox(QStringLiteral("&Use the mail program's dialog"), this),
                      "chkDialog")),
      cmdSend(named(new QPushButton(QStringLiteral("&Send"), this), "cmdSend")),
      cmdClose(named(new QPushButton(QStringLiteral("&Close"), this), "cmdClose")),
      cmdAbort(named(new QPushButton(QStringLiteral("&Abort"), this), "cmdAbort"))
{
    setObjectName(QStringLiteral("frmEmail"));
    setWindowTitle(QStringLiteral("E-mail"));

    txtBody->setMinimumSize(460, 180);
    auto* attachmentRow = new QHBoxLayout;
    attachmentRow->addWidget(txtAttachment, 1);
    attachmentRow->addWidget(cmdBrowse);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&To:"), txtToAddress);
    form->addRow(QStringLiteral("Subj&ect:"), txtSubject);
    form->addRow(QStringLiteral("&Message:"), txtBody);
    // A row of a layout has no buddy of its own: the label names the box for its shortcut.
    auto* attachmentLabel = new QLabel(QStringLiteral("Attac&hment:"), this);
    attachmentLabel->setBuddy(txtAttachment);
    form->addRow(attachmentLabel, attachmentRow);
    form->addRow(QString(), chkDialog);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {cmdSend, cmdClose, cmdAbort}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addLayout(buttons);

    // Form_Load: Send waits for an address; the boxes take the prepared message.
    cmdSend->setEnabled(false);
    txtToAddress->setText(values.toAddress);
    txtSubject->setText(values.subject);
    txtBody->setPlainText(values.body);
    txtAttachment->setText(values.attachment);
    txtToAddress_Change();
    // The prepared address is a prompt: typing replaces it.
    txtToAddress->selectAll();
    txtToAddress->setFocus();
    // Without a mail server in the options the desktop's mail program is the only way.
    chkDialog->setChecked(service.smtp.server.trimmed().isEmpty());
    chkDialog->setToolTip(QStringLiteral("Opens the message in your mail program, where you "
                                         "can check it and send it yourself."));
    if (values.mode == u"2") {
        cmdClose->setToolTip(
            QStringLiteral("Closes mailer and KEEPS customized Questionnaire created."));
        cmdAbort->setToolTip(
            QStringLiteral("Closes mailer and DELETES customized Questionnaire created."));
    }

    connect(txtToAddress, &QLineEdit::textChanged, this, &frmEmail::txtToAddress_Change);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmEmail::cmdBrowse_Click);
    connect(cmdSend, &QPushButton::clicked, this, &frmEmail::cmdSend_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmEmail::cmdClose_Click);
    connect(cmdAbort, &QPushButton::clicked, this, &frmEmail::cmdAbort_Click);

    adjustSize();
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
    keepOnScreen(this);
}

EmailOutcome frmEmail::run()
{
    m_outcome = EmailOutcome::Closed;
    exec();
    return m_outcome;
}

EmailSetupValues frmEmail::currentValues() const
{
    EmailSetupValues values = m_opened;
    values.toAddress = txtToAddress->text();
    values.subject = txtSubject->text();
    values.body = txtBody->toPlainText();
    values.attachment = txtAttachment->text();
    return values;
}

void frmEmail::txtToAddress_Change()
{
    cmdSend->setEnabled(sendEnabledFor(txtToAddress->text()));
}

void frmEmail::cmdBrowse_Click()
{
    m_reporter.trap(label("cmdBrowse_Click"), [&] {
        if (const auto chosen = m_reporter.prompts().chooseFile(
                QStringLiteral("Attach a File"), QStringLiteral("All files (*)"), false))
            txtAttachment->setText(*chosen);
    });
}

void frmEmail::cmdSend_Click()
{
    m_reporter.trap(label("cmdSend_Click"), [&] {
        const EmailSetupValues values = currentValues();
        if (const QString problem = sendCheckMessage(values); !problem.isEmpty()) {
            m_reporter.prompts().inform(windowTitle(), problem, UserPrompts::Icon::Information);
            return;
        }
        const EmailSetupValues sent = trimmedForSending(values);
        Status result;
        SendEmailProgress progress;
        {
            const BusyCursor busy(m_reporter.prompts());
            result = SendEmail({sent.toAddress, sent.subject, sent.body, sent.attachment},
                               chkDialog->isChecked(), m_service, progress);
        }
        if (!result) {
            // The log keeps where it stopped; the adviser is told plainly what to fix.
            m_reporter.ReportError(
                progress.stage, result.error(),
                QStringLiteral("frmEmail:Function SendEmail() step %1").arg(progress.step),
                ErrorReporter::kStyleOk, {}, 0, false);
            m_reporter.prompts().inform(QStringLiteral("E-mail Not Sent"), result.error(),
                                        UserPrompts::Icon::Warning);
            return;
        }
        // The mail program shows its own window; a message sent directly is confirmed here.
        if (!chkDialog->isChecked())
            m_reporter.prompts().inform(
                QStringLiteral("E-mail Sent"),
                QStringLiteral("The message to %1 was sent.").arg(sent.toAddress),
                UserPrompts::Icon::Information);
        finish(EmailOutcome::Sent);
    });
}

void frmEmail::cmdClose_Click()
{
    finish(EmailOutcome::Closed);
}

void frmEmail::cmdAbort_Click()
{
    finish(EmailOutcome::Aborted);
}

void frmEmail::reject()
{
    cmdClose_Click();
}

void frmEmail::finish(EmailOutcome outcome)
{
    m_reporter.trap(label("finish"), [&] {
        m_outcome = outcome;
        if (const Status finished = finishEmail(m_opened, outcome); !finished)
            m_reporter.prompts().inform(windowTitle(), finished.error(),
                                        UserPrompts::Icon::Warning);
        QDialog::done(outcome == EmailOutcome::Sent ? QDialog::Accepted : QDialog::Rejected);
    });
}

} // namespace halcyra

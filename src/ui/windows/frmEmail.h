#pragma once

#include "ui/Email.h"
#include "ui/EmailSetup.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace halcyra {

class ErrorReporter;
struct MailService;

// The e-mail window: a prepared message to one client, sent through the desktop's mail program
// or straight to the mail server. Takes the set-up values in and says how it was left.
class frmEmail : public QDialog
{
    Q_OBJECT
public:
    frmEmail(const EmailSetupValues& values, MailService& service, ErrorReporter& reporter,
             QWidget* parent = nullptr);

    // Shows the window modally until it is sent, closed or aborted.
    EmailOutcome run();
    EmailOutcome outcome() const { return m_outcome; }

    // The message as the boxes now hold it.
    EmailSetupValues currentValues() const;

    void cmdSend_Click();
    void cmdBrowse_Click();
    void cmdClose_Click();
    void cmdAbort_Click();

protected:
    // The window's close box keeps the copy, as Close does.
    void reject() override;

private:
    void txtToAddress_Change();
    void finish(EmailOutcome outcome);

    EmailSetupValues m_opened;
    MailService& m_service;
    ErrorReporter& m_reporter;
    EmailOutcome m_outcome = EmailOutcome::Closed;

    QLineEdit* txtToAddress;
    QLineEdit* txtSubject;
    QPlainTextEdit* txtBody;
    QLineEdit* txtAttachment;
    QPushButton* cmdBrowse;
    QCheckBox* chkDialog;
    QPushButton* cmdSend;
    QPushButton* cmdClose;
    QPushButton* cmdAbort;
};

} // namespace halcyra

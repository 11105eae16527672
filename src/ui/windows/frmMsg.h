#pragma once

#include "ui/MessageWindow.h"
#include "ui/windows/TypedAheadKeys.h"

#include <QDialog>
#include <chrono>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace halcyra {

class ErrorReporter;
class SettingsStore;

// The message window: an informational message that the adviser can switch off per title.
class frmMsg : public QDialog
{
    Q_OBJECT
public:
    explicit frmMsg(SettingsStore& settings, QWidget* parent = nullptr);

    // Shows the message modally unless its title is switched off.
    MessageResult ShowMsg(const QString& title, const QString& message);
    // Whether the last message shown was cancelled: its Cancel, however placed, or Escape and
    // the close box where it has one. The program's OptionsCancelled follows it.
    bool cancelled() const { return m_cancelling; }

    // Opens the help (the tutorial lives there); set by the program.
    std::function<void()> GetHelp;
    // Hides or shows a window's Help button while the F1-help box is ticked or cleared.
    std::function<void(const QString& title, bool hidden)> onFieldHelpToggled;
    // Where an Online video that did not open is logged and told; set by the program.
    ErrorReporter* reporter = nullptr;

    // How long after a message opens the keys that reach it are still taken for typing meant
    // for the window behind it, and held back.
    void setTypingMoment(std::chrono::milliseconds moment) { m_typedAhead->setMoment(moment); }

protected:
    void done(int result) override;
    // Escape and the close box: the message's Cancel where it has one.
    void reject() override;

private:
    void layoutFor(const QString& title);
    // The button that cancels this message, or nullptr when it has none.
    QPushButton* cancelButton() const;
    void finish(MessageResult result);

    SettingsStore& m_settings;
    MessageResult m_result = MessageResult::Closed;
    bool m_cancelling = false; // a cancelled message changes no setting
    QLabel* lblWarn;
    QLabel* lblMsg;
    QPushButton* cmdOk;
    QPushButton* cmd1;
    QPushButton* cmd2;
    QPushButton* cmdShowMe;
    QCheckBox* ckDoNotShow;
    TypedAheadKeys* m_typedAhead = nullptr;
};

} // namespace halcyra

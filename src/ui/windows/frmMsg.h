#pragma once

#include "ui/MessageWindow.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace halcyra {

class SettingsStore;

// The message window: an informational message that the adviser can switch off per title.
class frmMsg : public QDialog
{
    Q_OBJECT
public:
    frmMsg(SettingsStore& settings, bool& optionsCancelled, QWidget* parent = nullptr);

    // Shows the message modally unless its title is switched off.
    MessageResult ShowMsg(const QString& title, const QString& message);

    // Opens the help (the tutorial lives there); set by the program.
    std::function<void()> GetHelp;
    // Hides or shows a window's Help button while the F1-help box is ticked or cleared.
    std::function<void(const QString& title, bool hidden)> onFieldHelpToggled;

protected:
    void done(int result) override;

private:
    void layoutFor(const QString& title);
    void finish(MessageResult result);

    SettingsStore& m_settings;
    bool& m_optionsCancelled;
    MessageResult m_result = MessageResult::Closed;
    QLabel* lblWarn;
    QLabel* lblMsg;
    QPushButton* cmdOk;
    QPushButton* cmd1;
    QPushButton* cmd2;
    QPushButton* cmdShowMe;
    QCheckBox* ckDoNotShow;
};

} // namespace halcyra

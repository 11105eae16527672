#pragma once

#include "core/UserPrompts.h"

#include <functional>

class QWidget;

namespace halcyra {

// The user prompts as Qt dialogs, parented to the active window.
class QtPrompts final : public UserPrompts
{
public:
    void inform(const QString& title, const QString& text, Icon icon) override;
    void informWithHelp(const QString& title, const QString& text, Icon icon,
                        int helpContext) override;
    Answer ask(const QString& title, const QString& text, Buttons buttons, Icon icon,
               Answer defaultAnswer) override;
    std::optional<QString> askText(const QString& title, const QString& label,
                                   const QString& initial) override;
    std::optional<QString> askPassword(const QString& title, const QString& label) override;
    std::optional<QString> chooseFile(const QString& title, const QString& filter,
                                      bool forSaving) override;
    std::optional<QString> chooseSaveFile(const QString& title, const QString& filter,
                                          const QString& proposedName) override;
    std::optional<int> chooseItem(const QString& title, const QString& label,
                                  const QStringList& items, int current) override;
    std::optional<FontChoice> chooseFont(const QString& title, const FontChoice& initial) override;
    void setBusy(bool busy) override;

    // Opens a help topic for a notice's Help button; without it the button is not offered.
    std::function<void(int context)> openHelp;
};

} // namespace halcyra

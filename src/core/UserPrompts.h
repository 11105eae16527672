#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace halcyra {

// Every modal question or notice the program puts to the user goes through this interface:
// the windows give a Qt implementation, the command line one that writes to the console, and
// tests one that answers from a script, so no test ever blocks on a modal window.
class UserPrompts
{
public:
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    // A font by face name and size in points.
    struct FontChoice
    {
        QString name;
        int size = 0;
        bool operator==(const FontChoice& other) const = default;
    };

    virtual ~UserPrompts() = default;

    // A notice with an OK button.
    virtual void inform(const QString& title, const QString& text, Icon icon) = 0;
    // A notice with OK and a Help button that opens help topic `helpContext`; where there is
    // no help to open it is the plain notice.
    virtual void informWithHelp(const QString& title, const QString& text, Icon icon,
                                int helpContext)
    {
        (void)helpContext;
        inform(title, text, icon);
    }

    // A question; `defaultAnswer` is the button that Enter presses.
    virtual Answer ask(const QString& title, const QString& text, Buttons buttons, Icon icon,
                       Answer defaultAnswer) = 0;

    // A line of text, or nothing when the user cancels.
    virtual std::optional<QString> askText(const QString& title, const QString& label,
                                           const QString& initial) = 0;

    // A password, typed where it cannot be read over the shoulder; nothing when cancelled.
    // Without a way to hide what is typed (the command line, tests) it is asked as text.
    virtual std::optional<QString> askPassword(const QString& title, const QString& label)
    {
        return askText(title, label, {});
    }

    // A file to open (`forSaving` false) or to write, or nothing when the user cancels.
    // `filter` is a file-dialog filter such as "CSV files (*.csv)".
    virtual std::optional<QString> chooseFile(const QString& title, const QString& filter,
                                              bool forSaving)
    {
        Q_UNUSED(title);
        Q_UNUSED(filter);
        Q_UNUSED(forSaving);
        return std::nullopt;
    }

    // A file to write, the dialog starting on `proposedName` (a name or a path), or nothing
    // when the user cancels.
    virtual std::optional<QString> chooseSaveFile(const QString& title, const QString& filter,
                                                  const QString& proposedName)
    {
        Q_UNUSED(proposedName);
        return chooseFile(title, filter, true);
    }

    // One of `items` (its index), starting from `current`, or nothing when the user cancels.
    // Without a list to choose from (the command line) the current item is the answer.
    virtual std::optional<int> chooseItem(const QString& title, const QString& label,
                                          const QStringList& items, int current)
    {
        Q_UNUSED(title);
        Q_UNUSED(label);
        Q_UNUSED(items);
        return current;
    }

    // A font, starting from `initial`, or nothing when the user cancels. Without a font dialog
    // (the command line) the initial font is the answer.
    virtual std::optional<FontChoice> chooseFont(const QString& title, const FontChoice& initial)
    {
        (void)title;
        return initial;
    }

    // Pushes the hourglass (true) or puts back the pointer the last push covered (false).
    // Called only through BusyCursor, which keeps the two in step.
    virtual void setBusy(bool busy) = 0;
};

} // namespace halcyra

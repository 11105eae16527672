#pragma once

#include "core/UserPrompts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace halcyra::test {

// User prompts that answer from a script and remember what they were shown, so tests never
// block on a modal window.
class ScriptedPrompts final : public UserPrompts
{
public:
    struct Shown
    {
        QString title;
        QString text;
        Icon icon;
    };

    // The answers the next questions get, in order; an unscripted question is answered Cancel.
    void setNextAnswers(QList<Answer> answers) { m_answers = std::move(answers); }
    void setNextTexts(QList<std::optional<QString>> texts) { m_texts = std::move(texts); }
    // The next font dialogs' answers (nothing: cancelled); unscripted, the initial font.
    void setNextFonts(QList<std::optional<FontChoice>> fonts) { m_fonts = std::move(fonts); }
    // The initial fonts the font dialogs opened on.
    const QList<FontChoice>& fontsOffered() const { return m_fontsOffered; }
    // The next file dialogs' answers (nothing: cancelled); unscripted, cancelled.
    void setNextFiles(QList<std::optional<QString>> files) { m_files = std::move(files); }
    // The names the save dialogs were opened on.
    const QStringList& namesProposed() const { return m_namesProposed; }
    // The next choices from a list (nothing: cancelled); unscripted, the current item.
    void setNextItems(QList<std::optional<int>> items) { m_items = std::move(items); }
    // The lists offered, as "label: item|item|..." with the current item in brackets.
    const QStringList& listsOffered() const { return m_listsOffered; }
    // Makes the next notice throw, as a window system failing mid-report would.
    void failNextInform() { m_failNextInform = true; }

    const QList<Shown>& shown() const { return m_shown; }
    // The pointer is a stack, as the real one is: busy while anything pushed is not yet put back.
    bool busy() const { return m_busyDepth > 0; }
    // Set when more hourglasses were put back than were pushed.
    bool busyUnderflow() const { return m_busyUnderflow; }

    void inform(const QString& title, const QString& text, Icon icon) override;
    Answer ask(const QString& title, const QString& text, Buttons buttons, Icon icon,
               Answer defaultAnswer) override;
    std::optional<QString> askText(const QString& title, const QString& label,
                                   const QString& initial) override;
    std::optional<QString> chooseFile(const QString& title, const QString& filter,
                                      bool forSaving) override;
    std::optional<QString> chooseSaveFile(const QString& title, const QString& filter,
                                          const QString& proposedName) override;
    std::optional<int> chooseItem(const QString& title, const QString& label,
                                  const QStringList& items, int current) override;
    std::optional<FontChoice> chooseFont(const QString& title, const FontChoice& initial) override
    {
        (void)title;
        m_fontsOffered << initial;
        return m_fonts.isEmpty() ? std::optional(initial) : m_fonts.takeFirst();
    }
    void setBusy(bool busy) override;

private:
    QList<Answer> m_answers;
    QList<std::optional<QString>> m_texts;
    QList<std::optional<FontChoice>> m_fonts;
    QList<FontChoice> m_fontsOffered;
    QList<std::optional<QString>> m_files;
    QStringList m_namesProposed;
    QList<std::optional<int>> m_items;
    QStringList m_listsOffered;
    QList<Shown> m_shown;
    int m_busyDepth = 0;
    bool m_busyUnderflow = false;
    bool m_failNextInform = false;
};

} // namespace halcyra::test

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
    // Makes the next notice throw, as a window system failing mid-report would.
    void failNextInform() { m_failNextInform = true; }

    const QList<Shown>& shown() const { return m_shown; }
    bool busy() const { return m_busy; }

    void inform(const QString& title, const QString& text, Icon icon) override;
    Answer ask(const QString& title, const QString& text, Buttons buttons, Icon icon,
               Answer defaultAnswer) override;
    std::optional<QString> askText(const QString& title, const QString& label,
                                   const QString& initial) override;
    void setBusy(bool busy) override { m_busy = busy; }

private:
    QList<Answer> m_answers;
    QList<std::optional<QString>> m_texts;
    QList<Shown> m_shown;
    bool m_busy = false;
    bool m_failNextInform = false;
};

} // namespace halcyra::test

#include "support/ScriptedPrompts.h"

#include <stdexcept>

namespace halcyra::test {

void ScriptedPrompts::inform(const QString& title, const QString& text, Icon icon)
{
    m_shown.append({title, text, icon});
    if (m_failNextInform) {
        m_failNextInform = false;
        throw std::runtime_error("the notice could not be shown");
    }
}

UserPrompts::Answer ScriptedPrompts::ask(const QString& title, const QString& text, Buttons buttons,
                                         Icon icon, Answer defaultAnswer)
{
    Q_UNUSED(buttons);
    Q_UNUSED(defaultAnswer);
    m_shown.append({title, text, icon});
    return m_answers.isEmpty() ? Answer::Cancel : m_answers.takeFirst();
}

std::optional<QString> ScriptedPrompts::askText(const QString& title, const QString& label,
                                                const QString& initial)
{
    Q_UNUSED(initial);
    m_shown.append({title, label, Icon::Question});
    return m_texts.isEmpty() ? std::nullopt : m_texts.takeFirst();
}

std::optional<QString> ScriptedPrompts::chooseFile(const QString& title, const QString& filter,
                                                   bool forSaving)
{
    Q_UNUSED(title);
    Q_UNUSED(filter);
    Q_UNUSED(forSaving);
    return m_files.isEmpty() ? std::nullopt : m_files.takeFirst();
}

std::optional<QString> ScriptedPrompts::chooseSaveFile(const QString& title, const QString& filter,
                                                       const QString& proposedName)
{
    m_namesProposed << proposedName;
    return chooseFile(title, filter, true);
}

std::optional<int> ScriptedPrompts::chooseItem(const QString& title, const QString& label,
                                               const QStringList& items, int current)
{
    Q_UNUSED(title);
    QStringList shown;
    for (qsizetype i = 0; i < items.size(); ++i)
        shown << (i == current ? u'[' + items[i] + u']' : items[i]);
    m_listsOffered << label + QStringLiteral(": ") + shown.join(u'|');
    return m_items.isEmpty() ? std::optional(current) : m_items.takeFirst();
}

void ScriptedPrompts::setBusy(bool busy)
{
    if (busy)
        ++m_busyDepth;
    else if (m_busyDepth > 0)
        --m_busyDepth;
    else
        m_busyUnderflow = true;
}

} // namespace halcyra::test

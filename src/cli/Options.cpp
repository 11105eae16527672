#include "cli/Options.h"

#include "cli/Command.h"

namespace halcyra::cli {

Options::Options(QString command, QString usage, QString description)
    : m_command(std::move(command)), m_usage(std::move(usage)),
      m_description(std::move(description))
{}

void Options::addValue(const QString& name)
{
    m_valueOptions.insert(name);
}

void Options::addFlag(const QString& name)
{
    m_flagOptions.insert(name);
}

std::optional<int> Options::parse(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == u"--help" || argument == u"-h") {
            out << "Usage: halcyra-cli " << m_command << ' ' << m_usage << "\n\n"
                << m_description << '\n';
            return kExitOk;
        }
        if (!argument.startsWith(QStringLiteral("--"))) {
            if (m_positional.size() >= m_positionalAllowed) {
                err << "halcyra-cli " << m_command << ": unexpected argument '" << argument
                    << "'.\n";
                return kExitUsage;
            }
            m_positional.append(argument);
            continue;
        }
        QString name = argument.mid(2);
        std::optional<QString> inlineValue;
        if (const qsizetype equals = name.indexOf(u'='); equals >= 0) {
            inlineValue = name.mid(equals + 1);
            name.truncate(equals);
        }
        if (m_flagOptions.contains(name)) {
            if (inlineValue) {
                err << "halcyra-cli " << m_command << ": --" << name << " takes no value.\n";
                return kExitUsage;
            }
            m_given.insert(name);
            continue;
        }
        if (!m_valueOptions.contains(name)) {
            err << "halcyra-cli " << m_command << ": unknown option --" << name << ".\n";
            return kExitUsage;
        }
        if (!inlineValue) {
            if (i + 1 >= arguments.size()) {
                err << "halcyra-cli " << m_command << ": --" << name << " needs a value.\n";
                return kExitUsage;
            }
            inlineValue = arguments.at(++i);
        }
        m_values.insert(name, *inlineValue);
        m_given.insert(name);
    }
    return std::nullopt;
}

QString Options::value(const QString& name, const QString& fallback) const
{
    return m_values.value(name, fallback);
}

Result<qint64> clientNumber(const QString& text)
{
    bool isNumber = false;
    const qint64 id = text.toLongLong(&isNumber);
    if (!isNumber || id < 1)
        return fail(
            QStringLiteral("--client needs a client number (1 or more), not '%1'.").arg(text));
    return id;
}

} // namespace halcyra::cli

#include "cli/Options.h"

#include "cli/Command.h"
#include "core/Paths.h"
#include "core/Version.h"

#include <QCommandLineParser>
#include <QDir>
#include <utility>

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
    QCommandLineParser parser;
    // "-x" is an unknown option, never the letters of several.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOption(help);
    parser.addOption(version);
    for (const QString& name : std::as_const(m_valueOptions))
        parser.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
    for (const QString& name : std::as_const(m_flagOptions))
        parser.addOption(QCommandLineOption(name));

    const QString prefix = QStringLiteral("halcyra-cli ") + m_command + QStringLiteral(": ");
    if (!parser.parse(QStringList{QStringLiteral("halcyra-cli")} + arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            err << prefix << "unknown option " << (unknown.first().size() == 1 ? "-" : "--")
                << unknown.first() << ".\n";
        else
            err << prefix << parser.errorText() << '\n';
        return kExitUsage;
    }
    if (parser.isSet(help)) {
        out << "Usage: halcyra-cli " << m_command << ' ' << m_usage << "\n\n"
            << m_description << '\n';
        return kExitOk;
    }
    if (parser.isSet(version)) {
        out << "halcyra-cli " << versionNumber() << '\n';
        return kExitOk;
    }
    m_positional = parser.positionalArguments();
    if (m_positional.size() > m_positionalAllowed) {
        err << prefix << "unexpected argument '" << m_positional.at(m_positionalAllowed) << "'.\n";
        return kExitUsage;
    }
    for (const QString& name : std::as_const(m_valueOptions))
        if (parser.isSet(name)) {
            // The last of a repeated option counts, as a later word overrides an earlier one.
            m_values.insert(name, parser.values(name).constLast());
            m_given.insert(name);
        }
    for (const QString& name : std::as_const(m_flagOptions))
        if (parser.isSet(name))
            m_given.insert(name);
    return std::nullopt;
}

QString Options::programFolder() const
{
    return isSet(QStringLiteral("folder")) ? value(QStringLiteral("folder"))
                                           : userProgramFolder(QDir::currentPath());
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

#include "cli/Command.h"

#include "cli/CatalogueCommand.h"
#include "cli/ClientFileCommands.h"
#include "cli/DemoCommand.h"
#include "cli/InitCommand.h"
#include "cli/ListCommand.h"
#include "cli/PagesCommand.h"
#include "cli/ProfileCommand.h"
#include "cli/QuestionnaireCommand.h"
#include "cli/ReportCommand.h"
#include "core/Version.h"

#include <QCommandLineParser>
#include <algorithm>

namespace halcyra::cli {
namespace {

void printHelp(const std::vector<std::unique_ptr<Command>>& commands, QTextStream& out)
{
    out << "Usage: halcyra-cli COMMAND [OPTIONS]\n"
        << "       halcyra-cli --help | --version\n\n"
        << "The Halcyra program's work without its windows.\n\nCommands:\n";
    // The summaries start in one column, two blanks after the longest name.
    qsizetype width = 0;
    for (const auto& command : commands)
        width = std::max(width, command->name().size());
    for (const auto& command : commands)
        out << "  " << command->name().leftJustified(width + 2) << command->summary() << '\n';
    out << "\nRun 'halcyra-cli COMMAND --help' for the options of a command.\n";
}

} // namespace

std::vector<std::unique_ptr<Command>> allCommands()
{
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<CatalogueCommand>());
    commands.push_back(std::make_unique<InitCommand>());
    commands.push_back(std::make_unique<DemoCommand>());
    commands.push_back(std::make_unique<ListCommand>());
    commands.push_back(std::make_unique<HistoryCommand>());
    commands.push_back(std::make_unique<ExportCommand>());
    commands.push_back(std::make_unique<ImportCommand>());
    commands.push_back(std::make_unique<ProfileCommand>());
    commands.push_back(std::make_unique<ReportCommand>());
    commands.push_back(std::make_unique<PagesCommand>());
    commands.push_back(std::make_unique<QuestionnaireCommand>());
    return commands;
}

int run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const auto commands = allCommands();
    // The program's own options come before the command; what follows the command is its own.
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    if (!parser.parse(arguments)) {
        err << "halcyra-cli: " << parser.errorText() << " Run 'halcyra-cli --help'.\n";
        return kExitUsage;
    }
    if (parser.isSet(version)) {
        out << "halcyra-cli " << versionNumber() << '\n';
        return kExitOk;
    }
    const QStringList words = parser.positionalArguments();
    if (parser.isSet(help) || words.value(0) == u"help") {
        printHelp(commands, out);
        return kExitOk;
    }
    if (words.isEmpty()) {
        printHelp(commands, err);
        return kExitUsage;
    }
    const QString& name = words.first();
    for (const auto& command : commands)
        if (command->name() == name)
            return command->execute(words.mid(1), out, err);
    err << "halcyra-cli: unknown command '" << name << "'. Run 'halcyra-cli --help'.\n";
    return kExitUsage;
}

} // namespace halcyra::cli

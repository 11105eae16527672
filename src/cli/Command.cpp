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

#include <algorithm>

namespace halcyra::cli {
namespace {

void printHelp(const std::vector<std::unique_ptr<Command>>& commands, QTextStream& out)
{
    out << "Usage: halcyra-cli COMMAND [OPTIONS]\n\n"
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
    if (arguments.size() < 2 || arguments.at(1) == u"--help" || arguments.at(1) == u"-h" ||
        arguments.at(1) == u"help") {
        printHelp(commands, arguments.size() < 2 ? err : out);
        return arguments.size() < 2 ? kExitUsage : kExitOk;
    }
    const QString& name = arguments.at(1);
    for (const auto& command : commands)
        if (command->name() == name)
            return command->execute(arguments.mid(2), out, err);
    err << "halcyra-cli: unknown command '" << name << "'. Run 'halcyra-cli --help'.\n";
    return kExitUsage;
}

} // namespace halcyra::cli

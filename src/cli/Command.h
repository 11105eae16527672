#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <memory>
#include <vector>

namespace halcyra::cli {

// Exit codes of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// One subcommand of halcyra-cli. Output goes to the given streams, so tests can run a command
// in-process and read what it printed.
class Command
{
public:
    virtual ~Command() = default;
    virtual QString name() const = 0;
    virtual QString summary() const = 0;
    // `arguments` are those after the command's name.
    virtual int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) = 0;
};

std::vector<std::unique_ptr<Command>> allCommands();

// Runs halcyra-cli with its whole argument list (program name first).
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace halcyra::cli

#pragma once

#include <QString>
#include <QTextStream>
#include <utility>

namespace halcyra::test {

// What a command-line command printed and returned, run in-process.
struct CommandRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs `execute(out, err)` with both streams captured.
template <typename Execute> CommandRun captureCommand(Execute&& execute)
{
    CommandRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.exitCode = std::forward<Execute>(execute)(out, err);
    out.flush();
    err.flush();
    return run;
}

} // namespace halcyra::test

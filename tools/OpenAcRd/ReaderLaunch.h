#pragma once

#include "core/Result.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QProcess;

namespace halcyra {

class SettingsStore;

namespace openacrd {

// How the documents are opened, from the options' flyer method and the stored reader path.
struct OpenWay
{
    enum class Kind { Reader, DefaultViewer };
    Kind kind = Kind::DefaultViewer;
    QString reader; // Reader only: the program
};

// The stored reader when the method is not "use the desktop" (1) and the path names a program
// that exists; otherwise the desktop's default program for the document.
OpenWay openWay(int flyersMethod, const QString& readerPath);
OpenWay openWayFromSettings(const SettingsStore& settings);

// The program and arguments that open one document, never through a shell.
struct OpenCommand
{
    QString program;
    QStringList arguments;
};
// `document` is an absolute path, so no program can take it for an option.
OpenCommand openCommand(const OpenWay& way, const QString& document);

// The document a queue line names when the launcher may open it: an absolute path to an
// existing regular file inside the program folder `folder`, links resolved. The queue file is
// plain text anyone with the folder can write, so nothing else is handed to a program. The
// value is the canonical path; the error says why the line was refused.
Result<QString> documentToOpen(const QString& folder, const QString& line);

// Takes the queue of `folder` and opens each document with `start` (which starts a program
// and says why it could not). Returns the problems, one a line: lines refused, documents
// missing and programs that could not be started.
using StartFunction = std::function<Status(const OpenCommand&)>;
QStringList openQueuedDocuments(const QString& folder, const OpenWay& way,
                                const StartFunction& start);

// The programs started for the documents. Each is given a short time to fail: the desktop's
// opener ends at once and says by its status whether a program took the document; a reader
// that is still running after the wait shows its document and is left running.
class ProgramRuns
{
public:
    ProgramRuns() = default;
    ~ProgramRuns();
    ProgramRuns(const ProgramRuns&) = delete;
    ProgramRuns& operator=(const ProgramRuns&) = delete;

    Status start(const OpenCommand& command);
    // Waits up to `waitMs` in all; the problems of the programs that ended badly.
    QStringList finish(int waitMs);

private:
    struct Run
    {
        QProcess* process;
        QString program;
        QString document;
    };
    QList<Run> m_runs;
};

} // namespace openacrd
} // namespace halcyra

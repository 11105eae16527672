// OpenAcRd: opens the documents the program has queued in Temp/tmpAcroRd.txt with the PDF
// reader of the options, or the desktop's own viewer, and empties the queue.

#include "ReaderLaunch.h"
#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "core/Settings.h"
#include "core/UserPrompts.h"
#include "core/Version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace {

// Long enough for the desktop's opener to say whether a program took the document.
constexpr int kProgramWaitMs = 10000;

// The launcher has no windows: problems go to the error log and standard error.
class LogOnlyPrompts final : public halcyra::UserPrompts
{
public:
    void inform(const QString&, const QString&, Icon) override {}
    Answer ask(const QString&, const QString&, Buttons, Icon, Answer answer) override
    {
        return answer;
    }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    void setBusy(bool) override {}
};

} // namespace

int main(int argc, char** argv)
{
    using namespace halcyra;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("OpenAcRd"));
    QCoreApplication::setApplicationVersion(versionNumber());
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Opens the documents Halcyra has queued in Temp/tmpAcroRd.txt of its "
                       "program folder with the PDF reader of the options, or the desktop's own "
                       "viewer, and empties the queue. Halcyra starts it; problems go to the "
                       "error log and standard error."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption folderOption(
        QStringLiteral("folder"),
        QStringLiteral("The program folder (default: the adviser's, as Halcyra finds it)."),
        QStringLiteral("folder"));
    parser.addOption(folderOption);
    parser.process(app);
    // The program folder: given by the program, else found as the program finds it.
    QString folder = parser.isSet(folderOption) ? parser.value(folderOption)
                                                : userProgramFolder(QDir::currentPath());
    folder = QDir(folder).absolutePath() + u'/';

    const SettingsStore settings(SettingsStore::defaultFolder());
    const openacrd::OpenWay way = openacrd::openWayFromSettings(settings);
    openacrd::ProgramRuns runs;
    QStringList problems = openacrd::openQueuedDocuments(
        folder, way, [&runs](const openacrd::OpenCommand& command) { return runs.start(command); });
    problems += runs.finish(kProgramWaitMs);
    if (problems.isEmpty())
        return 0;
    QTextStream err(stderr);
    LogOnlyPrompts prompts;
    ErrorReporter reporter(folder, prompts);
    for (const QString& problem : problems) {
        err << "OpenAcRd: " << problem << '\n';
        reporter.ReportError(QString::number(errors::kFileNotFound),
                             QStringLiteral("A document could not be opened: ") + problem,
                             QStringLiteral("OpenAcRd:Sub Main()"), ErrorReporter::kStyleOk, {}, 0,
                             false);
    }
    return 1;
}

// OpenAcRd: opens the documents the program has queued in Temp/tmpAcroRd.txt with the PDF
// reader of the options, or the desktop's own viewer, and empties the queue.

#include "ReaderLaunch.h"
#include "core/ErrorReporter.h"
#include "core/Settings.h"
#include "core/UserPrompts.h"

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
    const QStringList arguments = QCoreApplication::arguments();
    // The program folder: given by the program, else the folder above this one.
    QString folder =
        QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/..")).absolutePath();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--folder"));
        at > 0 && at + 1 < arguments.size())
        folder = arguments.at(at + 1);
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

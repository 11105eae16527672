#include "cli/Command.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

// Commands that lay out text need fonts, hence a GUI application, but never a screen.
bool needsFonts(int argc, char** argv)
{
    return argc > 1 &&
           (std::strcmp(argv[1], "report") == 0 || std::strcmp(argv[1], "questionnaire") == 0);
}

} // namespace

int main(int argc, char** argv)
{
    std::unique_ptr<QCoreApplication> app;
    std::optional<QTemporaryDir> runtimeFolder;
    if (needsFonts(argc, argv)) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // Outside a desktop session Qt would warn about the missing runtime folder.
        if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR") && runtimeFolder.emplace().isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder->path()));
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("halcyra-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return halcyra::cli::run(QCoreApplication::arguments(), out, err);
}

// halcyra-docgen: writes the program's fixed PDF documents and flyers from their text sources
// and the built-in catalogue. Run by the build; see resources/documents/README.md.

#include "DocumentSet.h"
#include "core/Catalogue.h"
#include "core/OutputFile.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv)
{
    // Fonts need a GUI application, but never a screen. Outside a desktop session Qt would
    // warn on every build about the missing runtime folder: lend it a private one.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeFolder;
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR") && runtimeFolder.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder.path()));
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("halcyra-docgen"));
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes Halcyra's fixed PDF documents and flyers."));
    parser.addHelpOption();
    const QCommandLineOption sources(QStringLiteral("sources"),
                                     QStringLiteral("Folder of the document sources."),
                                     QStringLiteral("folder"));
    const QCommandLineOption output(QStringLiteral("output"),
                                    QStringLiteral("Folder the PDF files are written to; other "
                                                   "PDF files there are removed."),
                                    QStringLiteral("folder"));
    const QCommandLineOption stamp(QStringLiteral("stamp"),
                                   QStringLiteral("File touched after a successful run."),
                                   QStringLiteral("file"));
    parser.addOptions({sources, output, stamp});
    parser.process(app);
    if (!parser.isSet(sources) || !parser.isSet(output)) {
        err << "halcyra-docgen: --sources and --output are required\n";
        return 2;
    }

    QElapsedTimer timer;
    timer.start();
    const halcyra::Catalogue catalogue = halcyra::Catalogue::builtIn();
    const halcyra::docgen::GenerationReport report =
        halcyra::docgen::generateDocuments(catalogue, parser.value(sources), parser.value(output));

    for (const QString& warning : report.warnings)
        err << "halcyra-docgen: warning: " << warning << '\n';
    for (const QString& error : report.errors)
        err << "halcyra-docgen: error: " << error << '\n';
    if (!report.errors.isEmpty())
        return 1;

    if (parser.isSet(stamp)) {
        const halcyra::Status written = halcyra::writeFileWhole(
            parser.value(stamp), QByteArray::number(report.written) + " documents\n");
        if (!written) {
            err << "halcyra-docgen: " << written.error() << '\n';
            return 1;
        }
    }
    QTextStream(stdout) << "halcyra-docgen: " << report.written << " documents in "
                        << timer.elapsed() << " ms\n";
    return 0;
}

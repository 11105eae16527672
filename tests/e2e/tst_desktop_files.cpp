// The files that make the program at home on a desktop, read by the tools a desktop and a
// package check use: the menu entry and the metadata pass their validators, the manual pages
// render without a warning, the window icon draws, and the shell completion offers what
// halcyra-cli's own help names.

#include "core/Version.h"
#include "core/windows/HalcyraApplication.h"

#include <QFile>
#include <QIcon>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

namespace {

struct ToolRun
{
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ToolRun run;
    run.finished = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString configuredFile(const char* suffix)
{
    return QStringLiteral(HALCYRA_DESKTOP_BUILD_DIR "/" HALCYRA_APP_ID) + QLatin1String(suffix);
}

QString sourceFile(const char* path)
{
    return QStringLiteral(HALCYRA_SOURCE_DIR "/") + QLatin1String(path);
}

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QSet<QString> captures(const QString& text, const QRegularExpression& pattern)
{
    QSet<QString> found;
    for (const QRegularExpressionMatch& match : pattern.globalMatch(text))
        found.insert(match.captured(1));
    return found;
}

} // namespace

class DesktopFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void passesItsChecker_data();
    void passesItsChecker();
    void windowIconDrawsAt48Pixels();
    void handWrittenFilesNameThisVersion_data();
    void handWrittenFilesNameThisVersion();
    void completionOffersWhatTheHelpNames_data();
    void completionOffersWhatTheHelpNames();
};

void DesktopFilesTest::passesItsChecker_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    // A manual page's own text may say "error"; only the formatter's messages count there.
    QTest::addColumn<bool>("outputIsReport");
    QTest::addColumn<QString>("mustShow");

    QTest::newRow("desktop entry") << u"desktop-file-validate"_s
                                   << QStringList{configuredFile(".desktop")} << true << QString();
    QTest::newRow("metainfo") << u"appstreamcli"_s
                              << QStringList{u"validate"_s, u"--no-net"_s,
                                             configuredFile(".metainfo.xml")}
                              << true << u"Validation was successful"_s;
    for (const char* page :
         {"share/man/halcyra.1", "share/man/halcyra-cli.1", "share/man/BuRest.1"})
        QTest::newRow(page) << u"man"_s << QStringList{u"--warnings"_s, u"-l"_s, sourceFile(page)}
                            << false << u"EXIT STATUS"_s;
}

void DesktopFilesTest::passesItsChecker()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(bool, outputIsReport);
    QFETCH(QString, mustShow);
    if (QStandardPaths::findExecutable(program).isEmpty())
        QSKIP(qPrintable(program + u" is not installed"_s));

    const ToolRun run = runTool(program, arguments);
    const QString report = run.err + (outputIsReport ? run.out : QString());
    QVERIFY2(run.finished, qPrintable(report));
    QVERIFY2(run.exitCode == 0, qPrintable(report));
    // Hints and pedantic remarks are advice; errors and warnings are faults.
    static const QRegularExpression complaint(u"(^|: )(error|warning)\\b|^[EW]: "_s,
                                              QRegularExpression::CaseInsensitiveOption |
                                                  QRegularExpression::MultilineOption);
    QVERIFY2(!(outputIsReport ? report : run.err).contains(complaint), qPrintable(report));
    QVERIFY2(run.err.isEmpty() || outputIsReport, qPrintable(run.err));
    QVERIFY2(run.out.contains(mustShow), qPrintable(run.out));
}

void DesktopFilesTest::windowIconDrawsAt48Pixels()
{
    const QIcon icon = QApplication::windowIcon();
    QVERIFY(!icon.isNull());
    const QPixmap pixmap = icon.pixmap(QSize(48, 48));
    QVERIFY2(!pixmap.isNull(), "the icon does not draw: is Qt's SVG icon engine installed?");
    QCOMPARE(pixmap.size(), QSize(48, 48));
    // The rounded square leaves its corners clear and fills its middle.
    const QImage image = pixmap.toImage();
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(image.pixelColor(24, 24).alpha(), 255);
}

void DesktopFilesTest::handWrittenFilesNameThisVersion_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("versionPattern");

    // The newest release comes first.
    QTest::newRow("metainfo") << sourceFile("share/linux/org.halcyra.Halcyra.metainfo.xml.in")
                              << uR"re(<release version="([^"]+)")re"_s;
    for (const char* page :
         {"share/man/halcyra.1", "share/man/halcyra-cli.1", "share/man/BuRest.1"})
        QTest::newRow(page) << sourceFile(page) << uR"re(^\.TH .*"Halcyra ([^"]+)")re"_s;
}

void DesktopFilesTest::handWrittenFilesNameThisVersion()
{
    QFETCH(QString, path);
    QFETCH(QString, versionPattern);
    const QRegularExpressionMatch match =
        QRegularExpression(versionPattern, QRegularExpression::MultilineOption)
            .match(readText(path));
    QVERIFY2(match.hasMatch(), qPrintable(path));
    QCOMPARE(match.captured(1), versionNumber());
}

void DesktopFilesTest::completionOffersWhatTheHelpNames_data()
{
    QTest::addColumn<QString>("command");

    QTest::newRow("commands") << QString();
    for (const char* command : {"catalogue", "init", "demo", "list", "history", "export", "import",
                                "profile", "report", "pages", "questionnaire"})
        QTest::newRow(command) << QString::fromLatin1(command);
}

void DesktopFilesTest::completionOffersWhatTheHelpNames()
{
    QFETCH(QString, command);
    QStringList helpArguments{u"--help"_s};
    if (!command.isEmpty())
        helpArguments.prepend(command);
    const ToolRun help = runTool(QStringLiteral(HALCYRA_CLI_PATH), helpArguments);
    QVERIFY2(help.finished && help.exitCode == 0, qPrintable(help.err));

    // Offered after "halcyra-cli" alone, or after "halcyra-cli COMMAND --".
    const QString script = u"source \"$1\"; COMP_WORDS=(halcyra-cli \"$2\" \"$3\"); COMP_CWORD=$4; "
                           u"_halcyra_cli; printf '%s\\n' \"${COMPREPLY[@]}\""_s;
    const QStringList words = command.isEmpty() ? QStringList{QString(), QString(), u"1"_s}
                                                : QStringList{command, u"--"_s, u"2"_s};
    const ToolRun completion =
        runTool(u"bash"_s, QStringList{u"--norc"_s, u"-c"_s, script, u"bash"_s,
                                       sourceFile("share/completions/halcyra-cli.bash")} +
                               words);
    QVERIFY2(completion.finished && completion.exitCode == 0, qPrintable(completion.err));

    QSet<QString> named;
    QSet<QString> offered;
    const QStringList offers = completion.out.split(u'\n', Qt::SkipEmptyParts);
    if (command.isEmpty()) {
        named = captures(
            help.out, QRegularExpression(u"^  ([a-z]+) "_s, QRegularExpression::MultilineOption));
        for (const QString& offer : offers)
            if (!offer.startsWith(u'-'))
                offered.insert(offer);
    } else {
        named = captures(help.out, QRegularExpression(u"(?<![\\w-])(--[a-z][a-z-]*)"_s));
        offered = QSet<QString>(offers.begin(), offers.end());
        // Every command takes these whether or not its help names them.
        for (const QString& general : {u"--help"_s, u"--version"_s}) {
            named.remove(general);
            offered.remove(general);
        }
    }
    QVERIFY2(!named.isEmpty() || command == u"catalogue"_s, qPrintable(help.out));
    QCOMPARE(offered, named);
}

int main(int argc, char** argv)
{
    HalcyraApplication app(argc, argv);
    DesktopFilesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktop_files.moc"

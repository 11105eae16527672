#include "BuRestCommand.h"

#include "BackupStore.h"
#include "core/Version.h"

#include <QCommandLineParser>
#include <QDir>
#include <QLocale>

namespace halcyra::burest {
namespace {

const char* const kUsage =
    "Usage: BuRest [COMMAND] [OPTIONS]\n"
    "       BuRest --help | --version\n"
    "Backs up and restores the Halcyra client database. Without a command, opens its window.\n"
    "\n"
    "Commands:\n"
    "  backup [--to DIR] [--keep N]  copies the database as it is now into a file named by\n"
    "                                date and time (default folder: Backups beside the\n"
    "                                database), checks the copy, keeps the newest N (30)\n"
    "  restore FILE                  replaces the database by a backup; a copy of the current\n"
    "                                database is kept in the backup folder first (a damaged\n"
    "                                one byte for byte). Refused while Halcyra is open on the\n"
    "                                database, and for a backup Halcyra would not open\n"
    "  list [--from DIR]             the backups with their date, size and number of clients,\n"
    "                                and unfinished copies a stopped run left\n"
    "\n"
    "Every command takes --database FILE: the client database (default: the one the program\n"
    "named before handing over, while it is there, else HCY300.db in the adviser's program\n"
    "folder, found as the program finds it).\n";

struct Arguments
{
    QString command;
    QStringList positional;
    QHash<QString, QString> values;
};

// The options every command takes, --help and --version among them.
struct Parser
{
    Parser()
    {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOption(help);
        parser.addOption(version);
        for (const char* name : {"to", "keep", "from", "database"})
            parser.addOption(
                QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    }
    QCommandLineParser parser;
    const QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")}};
    const QCommandLineOption version{QStringList{QStringLiteral("v"), QStringLiteral("version")}};
};

// "--name VALUE" or "--name=VALUE"; returns an error text for anything else.
QString parse(Parser& options, const QStringList& arguments, Arguments& parsed)
{
    QCommandLineParser& parser = options.parser;
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        return unknown.isEmpty() ? parser.errorText()
                                 : QStringLiteral("unknown option --%1.").arg(unknown.first());
    }
    parsed.positional = parser.positionalArguments();
    if (!parsed.positional.isEmpty())
        parsed.command = parsed.positional.takeFirst();
    for (const char* name : {"to", "keep", "from", "database"})
        if (const QString option = QString::fromLatin1(name); parser.isSet(option))
            parsed.values.insert(option, parser.values(option).constLast());
    return {};
}

QString sizeText(qint64 bytes)
{
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

Progress printer(QTextStream& err)
{
    return [&err, last = -1](int percent) mutable {
        if (percent / 10 == last / 10)
            return;
        last = percent;
        err << "  " << percent << "%\n";
        err.flush();
    };
}

void printBackups(const QString& folder, QTextStream& out)
{
    const auto backups = listBackups(folder);
    if (backups.empty())
        out << "No backups in " << QDir::toNativeSeparators(folder) << '\n';
    for (const BackupInfo& backup : backups)
        out << backup.taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << "  "
            << sizeText(backup.size).rightJustified(9) << "  "
            << (backup.clients < 0 ? QStringLiteral("unreadable")
                                   : QStringLiteral("%1 clients").arg(backup.clients))
                   .leftJustified(14)
            << "  " << QDir::toNativeSeparators(backup.path) << '\n';
    const QStringList unfinished = unfinishedCopies(folder);
    if (!unfinished.isEmpty())
        out << "Unfinished copies left by a stopped backup or restore (the next backup or "
               "restore removes them):\n";
    for (const QString& part : unfinished)
        out << "  " << QDir::toNativeSeparators(part) << '\n';
}

} // namespace

bool wantsCommandLine(const QStringList& arguments)
{
    // A command, --help or --version, or a mistake that only the command line can tell about;
    // options alone open the window (--database on that database).
    Parser options;
    Arguments parsed;
    if (!parse(options, arguments, parsed).isEmpty())
        return true;
    return !parsed.command.isEmpty() || options.parser.isSet(options.help) ||
           options.parser.isSet(options.version);
}

QString databaseArgument(const QStringList& arguments)
{
    Parser options;
    Arguments parsed;
    parse(options, arguments, parsed);
    return parsed.values.value(QStringLiteral("database"));
}

int runCommandLine(const QStringList& arguments, const QString& programFolder,
                   const QString& settingsFolder, QTextStream& out, QTextStream& err)
{
    Parser options;
    Arguments parsed;
    if (const QString problem = parse(options, arguments, parsed); !problem.isEmpty()) {
        err << "BuRest: " << problem << " Run 'BuRest --help'.\n";
        return 2;
    }
    if (options.parser.isSet(options.help)) {
        out << kUsage;
        return 0;
    }
    if (options.parser.isSet(options.version)) {
        out << "BuRest " << versionNumber() << '\n';
        return 0;
    }
    const QString database = parsed.values.value(QStringLiteral("database"),
                                                 defaultDatabase(settingsFolder, programFolder));
    const QString folder = parsed.values.value(parsed.command == u"list" ? QStringLiteral("from")
                                                                         : QStringLiteral("to"),
                                               defaultBackupFolder(database));
    const auto unexpected = [&](qsizetype allowed) {
        if (parsed.positional.size() <= allowed)
            return false;
        err << "BuRest " << parsed.command << ": unexpected argument '"
            << parsed.positional.value(allowed) << "'.\n";
        return true;
    };

    if (parsed.command == u"backup") {
        if (unexpected(0))
            return 2;
        bool isNumber = true;
        const int keep = parsed.values.contains(QStringLiteral("keep"))
                             ? parsed.values.value(QStringLiteral("keep")).toInt(&isNumber)
                             : kDefaultKeep;
        if (!isNumber || keep < 1) {
            err << "BuRest backup: --keep needs a number of at least 1.\n";
            return 2;
        }
        err << "Backing up " << QDir::toNativeSeparators(database) << '\n';
        const auto backup = makeBackup(database, folder, keep, printer(err));
        if (!backup) {
            err << "BuRest backup: " << backup.error() << '\n';
            return 1;
        }
        out << "Backup of " << backup->clients << " clients written to "
            << QDir::toNativeSeparators(backup->path) << '\n';
        return 0;
    }
    if (parsed.command == u"restore") {
        if (parsed.positional.isEmpty()) {
            err << "BuRest restore: name the backup file to restore. The backups are:\n";
            printBackups(defaultBackupFolder(database), err);
            return 2;
        }
        if (unexpected(1))
            return 2;
        err << "Restoring " << QDir::toNativeSeparators(parsed.positional.first()) << '\n';
        const auto restored =
            restoreBackup(parsed.positional.first(), database, folder, printer(err));
        if (!restored) {
            err << "BuRest restore: " << restored.error() << '\n';
            return 1;
        }
        out << restoreSummary(*restored, database) << '\n';
        return 0;
    }
    if (parsed.command == u"list") {
        if (unexpected(0))
            return 2;
        printBackups(folder, out);
        return 0;
    }
    err << "BuRest: unknown command '" << parsed.command << "'. Run 'BuRest --help'.\n";
    return 2;
}

} // namespace halcyra::burest

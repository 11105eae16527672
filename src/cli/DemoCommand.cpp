#include "cli/DemoCommand.h"

#include "cli/Options.h"
#include "core/Paths.h"
#include "records/DatabaseFile.h"
#include "records/DemoClients.h"
#include "records/ProgramFolder.h"

#include <QDir>
#include <QSqlDatabase>

namespace halcyra::cli {

int DemoCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options(
        QStringLiteral("demo"), QStringLiteral("--clients N [--folder DIR] [--add]"),
        QStringLiteral("Adds N fictional clients with scores, and fills an empty company row.\n"
                       "A folder without a database first gets an empty one. A database that\n"
                       "already holds clients is left alone unless --add is given."));
    options.addValue(QStringLiteral("clients"));
    options.addValue(QStringLiteral("folder"));
    options.addValue(QStringLiteral("seed"));
    options.addFlag(QStringLiteral("add"));
    if (const auto exit = options.parse(arguments, out, err))
        return *exit;

    bool isNumber = false;
    const int count = options.value(QStringLiteral("clients")).toInt(&isNumber);
    if (!isNumber || count < 1 || count > 10'000'000) {
        err << "halcyra-cli demo: --clients needs a number from 1 to 10000000.\n";
        return kExitUsage;
    }
    const quint32 seed =
        options.value(QStringLiteral("seed"), QStringLiteral("1")).toUInt(&isNumber);
    if (!isNumber) {
        err << "halcyra-cli demo: --seed needs a whole number from 0 to 4294967295.\n";
        return kExitUsage;
    }
    const QString folder = options.programFolder();

    if (const Status ready = prepareProgramFolder(folder, installedProgramData()); !ready) {
        err << "halcyra-cli demo: " << ready.error() << '\n';
        return kExitFailed;
    }
    if (const Result<CreateResult> created = createDatabaseIfMissing(folder); !created) {
        err << "halcyra-cli demo: " << created.error() << '\n';
        return kExitFailed;
    }
    const QString connection = QStringLiteral("demo");
    int added = -1;
    {
        if (const Status opened =
                openDatabase(QDir(folder).filePath(QStringLiteral("HCY300.db")), connection);
            !opened) {
            err << "halcyra-cli demo: " << opened.error() << '\n';
        } else {
            QSqlDatabase db = QSqlDatabase::database(connection);
            const Result<int> existing = countClients(db);
            if (existing && *existing > 0 && !options.isSet(QStringLiteral("add"))) {
                err << "halcyra-cli demo: the database already holds " << *existing
                    << " clients; give --add to add more.\n";
                added = -2;
            } else if (existing) {
                const Result<int> made = addDemoClients(db, count, seed);
                if (made)
                    added = *made;
                else
                    err << "halcyra-cli demo: " << made.error() << '\n';
            } else {
                err << "halcyra-cli demo: " << existing.error() << '\n';
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (added < 0)
        return kExitFailed;
    out << "Added " << added << " fictional clients to "
        << QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("HCY300.db"))) << '\n';
    return kExitOk;
}

} // namespace halcyra::cli

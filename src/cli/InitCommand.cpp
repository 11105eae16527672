#include "cli/InitCommand.h"

#include "cli/Options.h"
#include "core/Paths.h"
#include "records/DatabaseFile.h"
#include "records/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace halcyra::cli {

int InitCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options(QStringLiteral("init"), QStringLiteral("[--folder DIR]"),
                    QStringLiteral("Creates HCY300.db from the built-in schema in the program "
                                   "folder (default: the adviser's program folder).\nAn existing "
                                   "database is left exactly as it is."));
    options.addValue(QStringLiteral("folder"));
    if (const auto exit = options.parse(arguments, out, err))
        return *exit;

    const QString folder = options.programFolder();
    const QString database = QDir(folder).filePath(QStringLiteral("HCY300.db"));
    const bool existed = QFileInfo::exists(database);
    if (const Status ready = prepareProgramFolder(folder, installedProgramData()); !ready) {
        err << "halcyra-cli init: " << ready.error() << '\n';
        return kExitFailed;
    }
    if (const Result<CreateResult> created = createDatabaseIfMissing(folder); !created) {
        err << "halcyra-cli init: " << created.error() << '\n';
        return kExitFailed;
    }
    if (existed)
        out << "Kept the existing database in " << QDir::toNativeSeparators(folder) << '\n';
    else
        out << "Created " << QDir::toNativeSeparators(database) << '\n';
    return kExitOk;
}

} // namespace halcyra::cli

#include "cli/InitCommand.h"

#include "cli/Options.h"
#include "records/DatabaseFile.h"

#include <QDir>

namespace halcyra::cli {

int InitCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options(QStringLiteral("init"), QStringLiteral("[--folder DIR]"),
                    QStringLiteral("Creates HCY300.db from the built-in schema in the program "
                                   "folder (default: the working folder).\nAn existing "
                                   "database is left exactly as it is."));
    options.addValue(QStringLiteral("folder"));
    if (const auto exit = options.parse(arguments, out, err))
        return *exit;

    const QString folder = options.value(QStringLiteral("folder"), QDir::currentPath());
    const Result<CreateResult> created = createDatabaseIfMissing(folder);
    if (!created) {
        err << "halcyra-cli init: " << created.error() << '\n';
        return kExitFailed;
    }
    switch (*created) {
    case CreateResult::Created:
        out << "Created "
            << QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("HCY300.db"))) << '\n';
        break;
    case CreateResult::AlreadyPresent:
        out << "Kept the existing database in " << QDir::toNativeSeparators(folder) << '\n';
        break;
    }
    return kExitOk;
}

} // namespace halcyra::cli

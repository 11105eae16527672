#include "cli/CatalogueCommand.h"

#include "core/Catalogue.h"

namespace halcyra::cli {

int CatalogueCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.contains(QStringLiteral("--help"))) {
        out << "Usage: halcyra-cli catalogue [ID]\n\n"
            << "With an id, prints the text of that catalogue entry. Without one, prints every\n"
            << "entry as one line ID<TAB>TEXT in id order.\n";
        return kExitOk;
    }
    if (arguments.size() > 1) {
        err << "halcyra-cli catalogue: expected at most one id.\n";
        return kExitUsage;
    }
    const Catalogue catalogue = Catalogue::builtIn();
    if (arguments.isEmpty()) {
        for (int id : catalogue.ids())
            out << id << '\t' << catalogue.LoadResString(id) << '\n';
        return kExitOk;
    }
    bool isNumber = false;
    const int id = arguments.first().toInt(&isNumber);
    if (!isNumber) {
        err << "halcyra-cli catalogue: '" << arguments.first() << "' is not a number.\n";
        return kExitUsage;
    }
    if (!catalogue.contains(id)) {
        err << "halcyra-cli catalogue: there is no entry " << id << ".\n";
        return kExitFailed;
    }
    out << catalogue.LoadResString(id) << '\n';
    return kExitOk;
}

} // namespace halcyra::cli

#include "cli/CatalogueCommand.h"

#include "cli/Options.h"
#include "core/Catalogue.h"

namespace halcyra::cli {

int CatalogueCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options(QStringLiteral("catalogue"), QStringLiteral("[ID]"),
                    QStringLiteral("With an id, prints the text of that catalogue entry. Without "
                                   "one, prints every\nentry as one line ID<TAB>TEXT in id "
                                   "order."));
    options.allowPositional(1);
    if (const auto stop = options.parse(arguments, out, err))
        return *stop;
    const QStringList& words = options.positional();
    const Catalogue catalogue = Catalogue::builtIn();
    if (words.isEmpty()) {
        for (int id : catalogue.ids())
            out << id << '\t' << catalogue.LoadResString(id) << '\n';
        return kExitOk;
    }
    bool isNumber = false;
    const int id = words.first().toInt(&isNumber);
    if (!isNumber) {
        err << "halcyra-cli catalogue: '" << words.first() << "' is not a number.\n";
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

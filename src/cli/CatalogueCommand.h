#pragma once

#include "cli/Command.h"

namespace halcyra::cli {

// Prints one catalogue entry, or every entry as "ID<TAB>TEXT" in id order.
class CatalogueCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("catalogue"); }
    QString summary() const override { return QStringLiteral("Print catalogue texts by id."); }
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};

} // namespace halcyra::cli

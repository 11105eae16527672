#pragma once

#include "cli/Command.h"

namespace halcyra::cli {

// halcyra-cli list: the clients the record list would show for a filter and a sort text.
class ListCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("list"); }
    QString summary() const override
    {
        return QStringLiteral("List the clients, filtered and sorted as in the record list.");
    }
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};

} // namespace halcyra::cli

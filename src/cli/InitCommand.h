#pragma once

#include "cli/Command.h"

namespace halcyra::cli {

// Creates an empty client database in a program folder that has none.
class InitCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("init"); }
    QString summary() const override
    {
        return QStringLiteral("Create an empty client database where there is none.");
    }
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};

} // namespace halcyra::cli

#pragma once

#include "cli/Command.h"

namespace halcyra::cli {

// Fills a program folder's database with fictional clients.
class DemoCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("demo"); }
    QString summary() const override
    {
        return QStringLiteral("Fill the database with fictional clients for trying it out.");
    }
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};

} // namespace halcyra::cli

#pragma once

#include "cli/Command.h"

namespace halcyra::cli {

// Prints the pages of a client's on-screen report as the preview window shows them.
class PagesCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("pages"); }
    QString summary() const override
    {
        return QStringLiteral("Print the pages of a client's on-screen report as text.");
    }
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};

} // namespace halcyra::cli

#pragma once

#include "cli/Command.h"

namespace halcyra::cli {

// Writes clients' printed profile reports as PDF files: one client, or every client of the
// database one file each.
class ReportCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("report"); }
    QString summary() const override
    {
        return QStringLiteral("Write a client's printed profile report as a PDF file.");
    }
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};

} // namespace halcyra::cli

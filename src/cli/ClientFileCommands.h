#pragma once

#include "cli/Command.h"

namespace halcyra::cli {

// halcyra-cli export: every client as a CSV file.
class ExportCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("export"); }
    QString summary() const override
    {
        return QStringLiteral("Write every client (and earlier assessments) to a CSV file.");
    }
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};

// halcyra-cli import: clients from a CSV file, checked as the window checks them.
class ImportCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("import"); }
    QString summary() const override
    {
        return QStringLiteral("Add the clients of a CSV file, checked as the window checks them.");
    }
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};

// halcyra-cli history: a client's assessments and the progress since the last earlier one.
class HistoryCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("history"); }
    QString summary() const override
    {
        return QStringLiteral("Show a client's progress since the last earlier assessment.");
    }
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};

} // namespace halcyra::cli

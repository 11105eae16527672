#pragma once

#include "core/Result.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace halcyra::cli {

// A small option parser for the subcommands: "--name VALUE", "--name=VALUE" and "--flag".
class Options
{
public:
    Options(QString command, QString usage, QString description);

    void addValue(const QString& name);
    void addFlag(const QString& name);
    // Arguments that are not options: none unless a command takes some.
    void allowPositional(qsizetype count) { m_positionalAllowed = count; }

    // Parses; returns an exit code when the command must stop (help printed, bad option).
    std::optional<int> parse(const QStringList& arguments, QTextStream& out, QTextStream& err);

    bool isSet(const QString& name) const { return m_given.contains(name); }
    QString value(const QString& name, const QString& fallback = {}) const;
    const QStringList& positional() const { return m_positional; }
    // --folder, else the adviser's program folder as the program finds it.
    QString programFolder() const;

private:
    QString m_command;
    QString m_usage;
    QString m_description;
    QSet<QString> m_valueOptions;
    QSet<QString> m_flagOptions;
    QHash<QString, QString> m_values;
    QSet<QString> m_given;
    QStringList m_positional;
    qsizetype m_positionalAllowed = 0;
};

// A client number as typed after --client: a whole number from 1.
Result<qint64> clientNumber(const QString& text);

} // namespace halcyra::cli

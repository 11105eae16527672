#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace halcyra {

inline QString tipFileName()
{
    return QStringLiteral("TipOfDay.TXT");
}

// The tips of a tip file in file order: every line that is not empty and does not begin with
// "'". Nothing when the name is empty or the file cannot be read.
std::optional<QStringList> LoadTips(const QString& fileName);

// A tip as shown: each "/\" becomes a line break.
QString tipDisplayText(const QString& tip);

// What the tip window says when the file is missing (after "Did you know...").
QString tipFileMissingText();

} // namespace halcyra

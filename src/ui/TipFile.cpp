#include "ui/TipFile.h"

#include <QFile>

namespace halcyra {

std::optional<QStringList> LoadTips(const QString& fileName)
{
    if (fileName.isEmpty())
        return std::nullopt;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QStringList tips;
    const QString content = QString::fromUtf8(file.readAll());
    for (const QString& line : content.split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'\''))
            continue;
        tips.append(line);
    }
    return tips;
}

QString tipDisplayText(const QString& tip)
{
    QString text = tip;
    return text.replace(QStringLiteral("/\\"), QStringLiteral("\n"));
}

QString tipFileMissingText()
{
    const QString name = tipFileName();
    return QStringLiteral("that the ") + name + QStringLiteral(" file was not found? \n\n") +
           QStringLiteral("Create a text file named ") + name +
           QStringLiteral(" using NotePad with 1 tip per line. ") +
           QStringLiteral("Then place it in the same directory as the application. ");
}

} // namespace halcyra

#include "records/ScoreBoxDescription.h"

namespace halcyra {

QString scoreBoxAccessibleName(const QString& label, const QString& text, bool marked)
{
    const QString score = text.trimmed().isEmpty() ? QStringLiteral("empty") : text.trimmed();
    QString name = label.simplified() + QStringLiteral(": ") + score;
    if (marked)
        name += QStringLiteral(", marked");
    return name;
}

QString scoreBoxToolTip(bool marked)
{
    return marked ? QStringLiteral("Marked: worked out from other fields when a score box is left")
                  : QString();
}

} // namespace halcyra

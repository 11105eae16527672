#include "support/CatalogueOverride.h"

#include <stdexcept>

namespace halcyra::test {

Catalogue catalogueWithOverrides(const Catalogue& base, const QMap<int, QString>& overrides)
{
    QString source;
    auto add = [&source](int id, const QString& text) {
        // Quoted, so every text keeps its blanks exactly.
        source += QStringLiteral("%1 = \"%2\"\n").arg(id).arg(text);
    };
    for (int id : base.ids())
        if (!overrides.contains(id))
            add(id, base.LoadResString(id));
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it)
        add(it.key(), it.value());

    Catalogue catalogue;
    QStringList errors;
    if (!catalogue.addSource(QStringLiteral("test overrides"), source, &errors))
        throw std::runtime_error(errors.join(u'\n').toStdString());
    return catalogue;
}

} // namespace halcyra::test

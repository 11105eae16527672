#include "flyers/FlyerSelection.h"

#include "core/Catalogue.h"
#include "flyers/ReaderQueue.h"

namespace halcyra {

FlyerReference flyerReferenceOfItem(const QString& item)
{
    FlyerReference reference;
    if (item.size() >= 5 && item[item.size() - 5] == u'|')
        reference.document = item.right(4) + QStringLiteral(".pdf");
    else
        reference.group = item.right(4).trimmed().toInt();
    return reference;
}

QString MissingFlyers::NoteMissingFlyer(const QString& name)
{
    if (name == u"Clear") {
        m_list.clear();
        m_count = 0;
    } else if (!name.isEmpty()) {
        ++m_count;
        m_list += name + u'\n';
    }
    return m_list;
}

std::optional<QString> flyerAvailabilityMessage(const MissingFlyers& missing)
{
    if (missing.count() > 1)
        return QStringLiteral("The Flyer/s for:\n\n") + missing.list() +
               QStringLiteral("\naren't available yet.");
    if (missing.count() == 1)
        return QStringLiteral("The Flyer for:\n\n") + missing.list() +
               QStringLiteral("\nisn't available yet.");
    return std::nullopt;
}

QStringList resolveFlyers(const Catalogue& catalogue, const QString& folder,
                          const QStringList& tickedItems, MissingFlyers& missing)
{
    QStringList present;
    auto take = [&](const QString& file, const QString& name) {
        if (FileOpensForReading(folder, file))
            present << file;
        else
            missing.NoteMissingFlyer(name);
    };
    for (const QString& item : tickedItems) {
        const FlyerReference reference = flyerReferenceOfItem(item);
        if (!reference.document.isEmpty()) {
            take(reference.document, item.left(40).trimmed());
            continue;
        }
        const QStringList fileIds =
            catalogue.LoadResString(reference.group).split(u' ', Qt::SkipEmptyParts);
        for (const QString& id : fileIds) {
            const QString file = catalogue.LoadResString(id.toInt());
            if (!file.isEmpty())
                take(file, file);
        }
    }
    return present;
}

} // namespace halcyra

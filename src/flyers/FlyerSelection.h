#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace halcyra {

class Catalogue;

// What a ticked list item refers to: one document ("|" and a code at the end of the item, the
// document being the code + ".pdf") or a flyer group (a four-digit catalogue id at the end).
struct FlyerReference
{
    QString document; // a file name, when the item names one document
    int group = 0;    // else the flyer group id
};
FlyerReference flyerReferenceOfItem(const QString& item);

// The flyers that were not found, in the order met: NoteMissingFlyer's list.
class MissingFlyers
{
public:
    // "Clear" empties the list; "" changes nothing; any other name is added. Returns the list.
    QString NoteMissingFlyer(const QString& name);
    int count() const { return m_count; }
    const QString& list() const { return m_list; }

private:
    QString m_list; // names, each followed by a line break
    int m_count = 0;
};

// The "Flyer Availability" text for the missing flyers, or nothing when none is missing.
std::optional<QString> flyerAvailabilityMessage(const MissingFlyers& missing);

// The flyer files of the ticked items, in order: the present ones to queue (a file of two
// groups twice) and the missing ones noted in `missing`. Files are looked for in `folder`.
QStringList resolveFlyers(const Catalogue& catalogue, const QString& folder,
                          const QStringList& tickedItems, MissingFlyers& missing);

} // namespace halcyra

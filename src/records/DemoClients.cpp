#include "records/DemoClients.h"

#include "core/Conversions.h"
#include "records/DatabaseFile.h"
#include "records/ScoreRules.h"

#include <QDate>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

namespace halcyra {
namespace {

const char* const kLastNames[] = {
    "Abernathy", "Bellweather", "Castellano", "Delacroix", "Eastwick",  "Fairbanks",
    "Galloway",  "Hollister",   "Ingram",     "Jessup",    "Kowalczyk", "Lindqvist",
    "Marchetti", "Northcott",   "Okonkwo",    "Pemberton", "Quintero",  "Rasmussen",
    "Sandoval",  "Thornbury",   "Underhill",  "Valentini", "Whitcombe", "Yamaguchi"};
const char* const kFemaleNames[] = {"Adele", "Beatrice", "Corinne", "Dorothea", "Elena",  "Fiona",
                                    "Greta", "Harriet",  "Imogen",  "June",     "Katrin", "Lorna"};
const char* const kMaleNames[] = {"Albert", "Bruno",  "Cyrus", "Dominic", "Emmett", "Felix",
                                  "Gideon", "Horace", "Ivan",  "Jasper",  "Kenji",  "Leon"};
const char* const kStreets[] = {"Maple Avenue", "Harbor Road", "Quarry Lane", "Orchard Street",
                                "Birch Court",  "Mill Road",   "Willow Way",  "Summit Drive"};
struct Place
{
    const char* city;
    const char* state;
    const char* zip;
};
const Place kPlaces[] = {{"Fairview", "OR", "97024"},   {"Lakeside", "MI", "49116"},
                         {"Brookhaven", "GA", "30319"}, {"Riverton", "WY", "82501"},
                         {"Clearwater", "KS", "67026"}, {"Millbrook", "NY", "12545"},
                         {"Ashland", "WI", "54806"},    {"Greenfield", "IN", "46140"}};

template <typename T, size_t N> const T& pick(QRandomGenerator& random, const T (&items)[N])
{
    return items[random.bounded(static_cast<quint32>(N))];
}

QString latin(const char* text)
{
    return QString::fromLatin1(text);
}

} // namespace

ClientRecord makeDemoClient(quint32 seed, int number)
{
    QRandomGenerator random(seed * 2654435761u + static_cast<quint32>(number));
    ClientRecord record;
    const bool female = random.bounded(2) == 0;
    const Place& place = pick(random, kPlaces);
    const int age = 18 + static_cast<int>(random.bounded(68));
    const int total = 140 + static_cast<int>(random.bounded(150));
    const int hdl = 28 + static_cast<int>(random.bounded(62));

    record.setText(columns::detail(1), latin(pick(random, kLastNames)));
    record.setText(columns::detail(2),
                   latin(female ? pick(random, kFemaleNames) : pick(random, kMaleNames)));
    record.setText(
        columns::detail(3),
        QStringLiteral("%1 %2").arg(10 + random.bounded(9900)).arg(latin(pick(random, kStreets))));
    record.setText(columns::detail(4), latin(place.city));
    record.setText(columns::detail(5), latin(place.state));
    record.setText(columns::detail(6), latin(place.zip));
    record.setText(columns::detail(7),
                   QStringLiteral("555-%1").arg(random.bounded(10000), 4, 10, QLatin1Char('0')));
    record.setText(
        columns::detail(8),
        QStringLiteral("%1/%2").arg(105 + random.bounded(60)).arg(65 + random.bounded(30)));
    record.setText(columns::detail(9), QString::number(total));
    record.setText(columns::detail(10), QString::number(hdl));
    record.setText(columns::detail(11), QString::number(qMax(40, total - hdl - 30)));
    record.setText(
        columns::detail(12),
        QStringLiteral("%1' %2\"").arg(female ? 5 : 5 + random.bounded(2)).arg(random.bounded(12)));
    record.setText(columns::detail(13), QString::number(110 + random.bounded(130)));
    record.setText(columns::detail(14), QString::number(age));
    record.setText(columns::detail(15), female ? QStringLiteral("F") : QStringLiteral("M"));
    record.setText(columns::detail(16), dateText(QDate(2026, 1, 1).addDays(random.bounded(330))));
    record.setText(columns::detail(17),
                   random.bounded(3) == 0 ? QStringLiteral("None") : QString());
    record.setText(columns::detail(18), QString());

    ScoreBoxes boxes;
    for (int box = 1; box <= kScoreBoxes; ++box)
        boxes[static_cast<size_t>(box)] = QString::number(random.bounded(box > 32 ? 4 : 9));
    boxes[42] = QStringLiteral("0");
    recomputeAutomaticScores(boxes);
    for (int box = 1; box <= kScoreBoxes; ++box)
        record.setScore(box, boxes[static_cast<size_t>(box)]);
    for (int i = 0; i < columns::kYesNoCount; ++i)
        record.setYesNo(i, random.bounded(5) == 0);
    return record;
}

CompanyInfo demoCompanyInfo()
{
    return {QStringLiteral("Greenleaf Wellness"),
            QStringLiteral("Morrow"),
            QStringLiteral("Dana"),
            QStringLiteral("42 Linden Street"),
            QStringLiteral("Fairview"),
            QStringLiteral("OR"),
            QStringLiteral("97024"),
            QStringLiteral("555-0142"),
            QString(),
            QString(),
            QStringLiteral("dana@greenleaf.example")};
}

Result<int> countClients(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM \"Customers\"")) || !query.next())
        return fail(query.lastError().text());
    return query.value(0).toInt();
}

Result<int> addDemoClients(QSqlDatabase& db, int count, quint32 seed)
{
    if (const Status begun = beginWrite(db); !begun)
        return fail(begun.error());
    auto failed = [&](const QString& error) -> Result<int> {
        db.rollback();
        return fail(error);
    };

    QStringList names;
    QStringList marks;
    for (int column = 1; column < columns::kCount; ++column) {
        names << u'"' + columns::name(column) + u'"';
        marks << QStringLiteral("?");
    }
    QSqlQuery insert(db);
    if (!insert.prepare(QStringLiteral("INSERT INTO \"Customers\" (") + names.join(u',') +
                        QStringLiteral(") VALUES (") + marks.join(u',') + u')'))
        return failed(insert.lastError().text());
    // The new clients are numbered on from those already there, so a second run adds new names.
    const Result<int> existing = countClients(db);
    if (!existing)
        return failed(existing.error());
    for (int i = 0; i < count; ++i) {
        const ClientRecord record = makeDemoClient(seed, *existing + i);
        for (int column = 1; column < columns::kCount; ++column)
            insert.bindValue(column - 1, record.values[static_cast<size_t>(column)]);
        if (!insert.exec())
            return failed(insert.lastError().text());
    }

    // Only company details nobody has filled in yet are replaced by the demonstration ones.
    QStringList sets;
    for (const CompanyField& field : companyFields())
        sets << u'"' + QString::fromLatin1(field.column) + QStringLiteral("\" = ?");
    QSqlQuery fill(db);
    if (!fill.prepare(QStringLiteral("UPDATE \"Company Info\" SET ") + sets.join(u',') +
                      QStringLiteral(" WHERE \"LastName\" = '' AND \"Phone1\" = ''")))
        return failed(fill.lastError().text());
    for (const QString& field : demoCompanyInfo())
        fill.addBindValue(field.isNull() ? QStringLiteral("") : field);
    if (!fill.exec())
        return failed(fill.lastError().text());

    if (!db.commit())
        return failed(db.lastError().text());
    return count;
}

} // namespace halcyra

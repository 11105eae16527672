// The supplement guide's rules, their order, the finishing steps and the listing.

#include "core/CatalogueIds.h"
#include "core/Conversions.h"
#include "records/DemoClients.h"
#include "reports/ProfileFromRecord.h"
#include "reports/ProfileTestCatalogue.h"
#include "reports/ReferenceTables.h"
#include "reports/SupplementGuide.h"

#include <QtTest>
#include <functional>
#include <optional>

using namespace halcyra;
using halcyra::test::TestClient;

namespace {

struct Guide
{
    Catalogue catalogue = test::profileTestCatalogue();
    ReferenceTables tables = ReferenceTables::fromCatalogue(catalogue);
    PreparedProfile prepared;
    SupplementGuide guide;

    explicit Guide(const TestClient& client)
        : prepared(prepareProfile(client.input(), tables)), guide(ComputeSupplementGuide(prepared))
    {}

    int q(int j) const { return guide.quantity[static_cast<size_t>(j)]; }
    int r(int j) const { return guide.references[static_cast<size_t>(j)]; }
    std::vector<GuideLine> listed() const
    {
        return listSupplementGuide(guide, prepared.yesNo, catalogue, tables);
    }
    std::optional<GuideLine> line(int j) const
    {
        for (const GuideLine& listedLine : listed())
            if (listedLine.index == j)
                return listedLine;
        return std::nullopt;
    }
};

// Every score at 45, the most a score box takes, so that every row rule fires.
TestClient everyRuleFires(QStringView sex)
{
    std::map<int, int> scores;
    for (int r = 1; r <= kReportRowCount; ++r)
        scores[r] = 45;
    return TestClient::withScores(scores)
        .withSex(sex)
        .withAge(u"51")
        .withCholesterol(u"300", u"50")
        .withYes(kYesNoPain);
}

// The most a score box takes.
constexpr int kLargestScore = 45;

// The catalogue the program ships: its possible references are what the guide prints after
// " of ".
struct ShippedCatalogue
{
    Catalogue catalogue = Catalogue::builtIn();
    ReferenceTables tables = ReferenceTables::fromCatalogue(catalogue);

    int possible(int j) const
    {
        return leadingInteger(catalogue.LoadResString(ids::supplementPossible(j)));
    }
    QString name(int j) const { return catalogue.LoadResString(ids::supplementName(j)); }
};

const ShippedCatalogue& shipped()
{
    static const ShippedCatalogue catalogue;
    return catalogue;
}

// The people the rules on age and sex tell apart: each side of every age limit, and a sex box
// left empty.
struct Person
{
    const char16_t* sex;
    const char16_t* age;
};
constexpr Person kPeople[] = {{u"F", u"39"}, {u"F", u"45"}, {u"F", u"51"}, {u"F", u"56"},
                              {u"M", u"39"}, {u"M", u"40"}, {u"M", u"51"}, {u"", u""}};

TestClient asPerson(TestClient client, const Person& person)
{
    return client.withSex(person.sex).withAge(person.age);
}

// Every answer ticked and both cholesterol rules called for.
TestClient withEveryAnswer(TestClient client)
{
    for (int k = 0; k < kYesNoCount; ++k)
        client = client.withYes(k);
    return client.withCholesterol(u"300", u"50");
}

TestClient everyScoreAt(int score)
{
    std::map<int, int> scores;
    for (int r = 1; r <= kReportRowCount; ++r)
        scores[r] = score;
    return TestClient::withScores(scores);
}

// Groups of profiles the reference counts are checked over.
enum class Profiles { DemoClients, EverySectionAtZeroOrMaximum, EachRowAtEachScore, Cholesterol };

// Calls `check` with each profile of the group and a description of it.
void forEachProfile(Profiles group,
                    const std::function<void(const ProfileInput&, const QString&)>& check)
{
    switch (group) {
    case Profiles::DemoClients:
        for (quint32 seed = 1; seed <= 4; ++seed)
            for (int number = 1; number <= 1000; ++number)
                check(profileInputFromRecord(makeDemoClient(seed, number)),
                      QStringLiteral("demo client %1/%2").arg(seed).arg(number));
        break;
    case Profiles::EverySectionAtZeroOrMaximum:
        for (int score : {0, kLargestScore})
            for (const Person& person : kPeople)
                for (bool answers : {false, true}) {
                    TestClient client = asPerson(everyScoreAt(score), person);
                    check((answers ? withEveryAnswer(client) : client).input(),
                          QStringLiteral("every score %1, sex \"%2\", age %3%4")
                              .arg(score)
                              .arg(QStringView(person.sex), QStringView(person.age),
                                   answers ? QStringLiteral(", every answer") : QString()));
                }
        break;
    case Profiles::EachRowAtEachScore:
        // One row through every score it can take, alone and with every other row at its
        // largest: so each rule's threshold is passed with and without the rules around it.
        for (int row = 1; row <= kReportRowCount; ++row)
            for (int others : {0, kLargestScore})
                for (int score = 0; score <= kLargestScore; ++score)
                    for (const Person& person : kPeople) {
                        TestClient client = everyScoreAt(others);
                        client.scores[row] = score;
                        check(withEveryAnswer(asPerson(client, person)).input(),
                              QStringLiteral("row %1 at %2, the others at %3, sex \"%4\", age %5")
                                  .arg(row)
                                  .arg(score)
                                  .arg(others)
                                  .arg(QStringView(person.sex), QStringView(person.age)));
                    }
        break;
    case Profiles::Cholesterol:
        // Each side of both cholesterol rules, with the heart-health rows that also call for
        // the cholesterol supplement.
        for (const char16_t* total : {u"199", u"200", u"201", u"300"})
            for (const char16_t* hdl : {u"", u"0", u"40", u"50", u"51"})
                for (auto [heart2, heart3] : {std::pair{0, 0}, {9, 14}, {10, 15}, {45, 45}}) {
                    const TestClient client = TestClient::withScores({{25, heart2}, {27, heart3}})
                                                  .withCholesterol(total, hdl);
                    check(client.input(),
                          QStringLiteral("cholesterol %1, HDL \"%2\", heart health %3 and %4")
                              .arg(QStringView(total), QStringView(hdl))
                              .arg(heart2)
                              .arg(heart3));
                }
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Profiles)

class SupplementGuideTest : public QObject
{
    Q_OBJECT

private slots:
    void baseProgramAlone()
    {
        const Guide g(TestClient::withScores({}));
        const std::vector<GuideLine> lines = g.listed();
        struct Expected
        {
            int index;
            const char* name;
            int quantity;
            const char* unit;
            const char* possible;
        };
        const Expected expected[] = {
            {4, "Pure Water", 6, "- 8 glasses per day", "5"},
            {5, "Multi-Vitamin/Mineral", 2, "Tablets", "9"},
            {6, "Soy Protein", 3, "Tablespoons", "14"},
            {7, "B-Complex", 1, "Tablets", "11"},
            {8, "Vitamin C", 1, "Tablets", "10"},
            {9, "Vitamin E", 1, "Tabs or Caps", "5"},
            {34, "Clean Indoor Air", 1, "Indoors", "6"},
            {40, "Interferon Enhancer", 2, "Tablets", "4"},
        };
        QCOMPARE(lines.size(), std::size(expected));
        for (size_t i = 0; i < lines.size(); ++i) {
            QCOMPARE(lines[i].index, expected[i].index);
            QCOMPARE(lines[i].name, QString::fromUtf8(expected[i].name));
            QCOMPARE(lines[i].quantity, expected[i].quantity);
            QCOMPARE(lines[i].unit, QString::fromUtf8(expected[i].unit));
            QCOMPARE(lines[i].references, 1);
            QCOMPARE(lines[i].possible, QString::fromUtf8(expected[i].possible));
        }
        for (int j = 1; j <= kGuideSupplementCount; ++j)
            if (!g.line(j))
                QCOMPARE(g.r(j), 0);
    }

    void everyRuleFiringForAMan()
    {
        const Guide g(everyRuleFires(u"M"));
        const int expected[kGuideSupplementCount + 1] = {
            0, 30, 3, 6, 6, 6, 9, 4, 12, 6, 2, 2, 4, 4, 12, 4, 12, 8, 1, 2, 2,
            1, 0,  1, 1, 1, 1, 1, 1, 2,  1, 1, 1, 1, 1, 1,  2, 1,  1, 1, 2};
        for (int j = 1; j <= kGuideSupplementCount; ++j) {
            QCOMPARE(g.q(j), expected[j]);
            const int possible =
                leadingInteger(g.catalogue.LoadResString(ids::supplementPossible(j)));
            // Firing every rule reaches each supplement's possible references; the rule for
            // women of menopausal age is not a man's.
            QCOMPARE(g.r(j), j == 22 ? possible - 1 : possible);
        }
    }

    // The possible references the catalogue holds are the rules' own: for each supplement, the
    // most references any client gets. Every rule fires at once for a client with every score
    // at its largest, every answer ticked and high cholesterol; the rules on age and sex fire
    // for a woman of 51 or a man of 51, so the most is the larger of the two.
    void possibleReferencesAgreeWithTheRules()
    {
        const ShippedCatalogue& shippedCatalogue = shipped();
        std::array<int, kGuideSupplementCount + 1> most{};
        for (const char16_t* sex : {u"F", u"M"}) {
            const TestClient client =
                withEveryAnswer(asPerson(everyScoreAt(kLargestScore), {sex, u"51"}));
            const SupplementGuide guide =
                ComputeSupplementGuide(prepareProfile(client.input(), shippedCatalogue.tables));
            for (size_t j = 1; j < most.size(); ++j)
                most[j] = std::max(most[j], guide.references[j]);
        }
        QCOMPARE(shippedCatalogue.tables.supplementCount, kGuideSupplementCount);
        QStringList disagreeing;
        for (int j = 1; j <= kGuideSupplementCount; ++j)
            if (shippedCatalogue.possible(j) != most[static_cast<size_t>(j)])
                disagreeing << QStringLiteral("%1 (%2): the rules give at most %3, the catalogue "
                                              "says %4")
                                   .arg(shippedCatalogue.name(j))
                                   .arg(j)
                                   .arg(most[static_cast<size_t>(j)])
                                   .arg(shippedCatalogue.possible(j));
        QVERIFY2(disagreeing.isEmpty(), qPrintable(disagreeing.join(u"; ")));
    }

    // No client's guide shows a reference count above its total ("3 of 2"), for any of the
    // forty supplements, listed or not.
    void noReferenceCountAboveItsTotal_data()
    {
        QTest::addColumn<Profiles>("profiles");
        QTest::newRow("4000 demo clients") << Profiles::DemoClients;
        QTest::newRow("every section at zero or its maximum")
            << Profiles::EverySectionAtZeroOrMaximum;
        QTest::newRow("each row at each score") << Profiles::EachRowAtEachScore;
        QTest::newRow("cholesterol thresholds") << Profiles::Cholesterol;
    }

    void noReferenceCountAboveItsTotal()
    {
        QFETCH(Profiles, profiles);
        const ShippedCatalogue& shippedCatalogue = shipped();
        QStringList above;
        int checked = 0;
        forEachProfile(profiles, [&](const ProfileInput& input, const QString& description) {
            ++checked;
            const PreparedProfile prepared = prepareProfile(input, shippedCatalogue.tables);
            const SupplementGuide guide = ComputeSupplementGuide(prepared);
            for (int j = 1; j <= kGuideSupplementCount; ++j) {
                const int references = guide.references[static_cast<size_t>(j)];
                if (references > shippedCatalogue.possible(j) && above.size() < 10)
                    above << QStringLiteral("%1: %2 of %3 for %4")
                                 .arg(shippedCatalogue.name(j))
                                 .arg(references)
                                 .arg(shippedCatalogue.possible(j))
                                 .arg(description);
            }
            // As the pages print it: the count, then the catalogue's text after " of ".
            for (const GuideLine& line : listSupplementGuide(
                     guide, prepared.yesNo, shippedCatalogue.catalogue, shippedCatalogue.tables))
                if (line.references > leadingInteger(line.possible) && above.size() < 10)
                    above << QStringLiteral("listed \"%1 %2 %3 %4 of %5\" for %6")
                                 .arg(line.name)
                                 .arg(line.quantity)
                                 .arg(line.unit)
                                 .arg(line.references)
                                 .arg(line.possible, description);
        });
        QVERIFY(checked > 0);
        QVERIFY2(above.isEmpty(), qPrintable(above.join(u'\n')));
    }

    void everyRuleFiringForAWoman()
    {
        const Guide g(everyRuleFires(u"F"));
        QCOMPARE(g.q(22), 1); // three calls, capped at one
        QCOMPARE(g.r(22), 3);
        QCOMPARE(g.q(29), 0); // cleared for women
        QCOMPARE(g.r(29), 1);
    }

    void edgeValuesStayWithinTheCaps()
    {
        std::map<int, int> scores;
        for (int r = 1; r <= kReportRowCount; ++r)
            scores[r] = 32767;
        const Guide g(TestClient::withScores(scores).withYes(kYesNoSmoker));
        QCOMPARE(g.prepared.guideScore[3], 32767);
        QCOMPARE(g.q(1), 30);
        QCOMPARE(g.q(7), 4);
        QCOMPARE(g.q(16), 12);
        QCOMPARE(g.q(17), 4681); // step 41 raises it after its own cap: 32767 \ 7
        for (int j = 1; j <= kGuideSupplementCount; ++j)
            QVERIFY(g.q(j) >= 0);
    }

    void carotenoidsInThirds_data()
    {
        QTest::addColumn<int>("vitaminA");
        QTest::addColumn<int>("carotenoids");
        QTest::newRow("2") << 2 << 0;
        QTest::newRow("3") << 3 << 1;
        QTest::newRow("6") << 6 << 1;
        QTest::newRow("9") << 9 << 1;
        QTest::newRow("12") << 12 << 2;
        QTest::newRow("45") << 45 << 2; // 15 held at 5 before the thirds
    }

    void carotenoidsInThirds()
    {
        QFETCH(int, vitaminA);
        QFETCH(int, carotenoids);
        const Guide g(TestClient::withScores({{1, vitaminA}}));
        QCOMPARE(g.q(10), carotenoids);
        QCOMPARE(g.q(11), carotenoids > 0 ? 2 : 0);
        QCOMPARE(g.r(11), carotenoids > 0 ? 1 : 0);
        QCOMPARE(g.r(10), vitaminA >= 3 ? 1 : 0);
    }

    void bComplexInThirds_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("score");
        QTest::addColumn<int>("tablets");
        QTest::newRow("base") << 2 << 0 << 1;
        QTest::newRow("B-Complex 5") << 2 << 5 << 2;
        QTest::newRow("B-Complex 7") << 2 << 7 << 3;
        QTest::newRow("B-Complex 12") << 2 << 12 << 4;
        QTest::newRow("B-Complex 45") << 2 << 45 << 4;
        QTest::newRow("pancreas") << 21 << 6 << 3;
        QTest::newRow("PMS, capped before the thirds") << 32 << 21 << 4;
    }

    void bComplexInThirds()
    {
        QFETCH(int, row);
        QFETCH(int, score);
        QFETCH(int, tablets);
        const Guide g(TestClient::withScores({{row, score}}));
        QCOMPARE(g.q(7), tablets);
    }

    void hairRowFeedsRowsTwoSevenAndFourteen()
    {
        const std::map<int, int> scores{{2, 3}, {7, 1}, {14, 3}};
        const Guide without(TestClient::withScores(scores));
        QCOMPARE(without.q(7), 1);
        QCOMPARE(without.q(15), 0);
        QCOMPARE(without.q(1), 0);

        std::map<int, int> withHair = scores;
        withHair[40] = 2;
        const Guide g(TestClient::withScores(withHair));
        QCOMPARE(g.guide.scores[2], 5);
        QCOMPARE(g.guide.scores[7], 3);
        QCOMPARE(g.guide.scores[14], 5);
        QCOMPARE(g.prepared.guideScore[2], 3); // the preparation is left as it was
        QCOMPARE(g.q(7), 2);                   // B-Complex 5 in thirds
        QCOMPARE(g.r(7), 2);
        QCOMPARE(g.q(36), 1);
        QCOMPARE(g.q(15), 2); // zinc, from both rule 14 and rule 20
        QCOMPARE(g.r(15), 2);
        QCOMPARE(g.q(1), 5); // 5 \ 5 x 5
        QCOMPARE(g.q(27), 1);
        QCOMPARE(g.q(37), 0); // the hair rule itself needs 3

        // A second run from the same preparation gives the same guide.
        const SupplementGuide again = ComputeSupplementGuide(g.prepared);
        QCOMPARE(again.quantity, g.guide.quantity);
        QCOMPARE(again.references, g.guide.references);
    }

    void hairRowAdditionsAreLimited()
    {
        const Guide one(TestClient::withScores({{2, 1}, {7, 1}, {14, 1}, {40, 1}}));
        QCOMPARE(one.guide.scores[2], 1);
        const Guide ten(TestClient::withScores({{2, 1}, {7, 1}, {14, 1}, {40, 10}}));
        QCOMPARE(ten.guide.scores[2], 4);
        QCOMPARE(ten.guide.scores[7], 7);
        QCOMPARE(ten.guide.scores[14], 4);
    }

    void hairAndScalpReferences_data()
    {
        QTest::addColumn<int>("hair");
        QTest::addColumn<int>("quantity");
        QTest::addColumn<int>("references");
        QTest::newRow("2") << 2 << 0 << 0;
        QTest::newRow("3") << 3 << 1 << 1;
        QTest::newRow("4") << 4 << 1 << 1;
        QTest::newRow("5") << 5 << 1 << 2;
    }

    void hairAndScalpReferences()
    {
        QFETCH(int, hair);
        QFETCH(int, quantity);
        QFETCH(int, references);
        const Guide g(TestClient::withScores({{40, hair}}));
        QCOMPARE(g.q(37), quantity);
        QCOMPARE(g.r(37), references);
    }

    void menopauseHerbs_data()
    {
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("age");
        QTest::addColumn<int>("femaleGland");
        QTest::addColumn<int>("quantity");
        QTest::addColumn<int>("references");
        QTest::newRow("F 50") << "F"
                              << "50" << 0 << 1 << 1;
        QTest::newRow("f 50") << "f"
                              << "50" << 0 << 1 << 1;
        QTest::newRow("F 44") << "F"
                              << "44" << 0 << 0 << 0;
        QTest::newRow("F 45") << "F"
                              << "45" << 0 << 1 << 1;
        QTest::newRow("F 55") << "F"
                              << "55" << 0 << 1 << 1;
        QTest::newRow("F 56") << "F"
                              << "56" << 0 << 0 << 0;
        QTest::newRow("F 38 gland") << "F"
                                    << "38" << 4 << 0 << 1;
        QTest::newRow("F 39 gland") << "F"
                                    << "39" << 4 << 0 << 1;
        QTest::newRow("F 40 gland") << "F"
                                    << "40" << 4 << 1 << 1;
        QTest::newRow("F 50 gland, capped") << "F"
                                            << "50" << 4 << 1 << 2;
        QTest::newRow("M 50 gland") << "M"
                                    << "50" << 4 << 0 << 1;
        QTest::newRow("m 50 gland") << "m"
                                    << "50" << 4 << 0 << 1;
    }

    void menopauseHerbs()
    {
        QFETCH(QString, sex);
        QFETCH(QString, age);
        QFETCH(int, femaleGland);
        QFETCH(int, quantity);
        QFETCH(int, references);
        const Guide g(TestClient::withScores({{19, femaleGland}}).withSex(sex).withAge(age));
        QCOMPARE(g.q(22), quantity);
        QCOMPARE(g.r(22), references);
        QCOMPARE(g.line(22).has_value(), quantity > 0);
    }

    void sawPalmetto_data()
    {
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("age");
        QTest::addColumn<int>("maleGland");
        QTest::addColumn<int>("quantity");
        QTest::addColumn<int>("references");
        QTest::newRow("M 39") << "M"
                              << "39" << 0 << 0 << 0;
        QTest::newRow("M 40") << "M"
                              << "40" << 0 << 2 << 1;
        QTest::newRow("m 40") << "m"
                              << "40" << 0 << 2 << 1;
        QTest::newRow("M 30 gland") << "M"
                                    << "30" << 4 << 2 << 1;
        QTest::newRow("M 45 gland") << "M"
                                    << "45" << 4 << 2 << 2;
        QTest::newRow("F gland") << "F"
                                 << "50" << 4 << 0 << 1;
    }

    void sawPalmetto()
    {
        QFETCH(QString, sex);
        QFETCH(QString, age);
        QFETCH(int, maleGland);
        QFETCH(int, quantity);
        QFETCH(int, references);
        const Guide g(TestClient::withScores({{20, maleGland}}).withSex(sex).withAge(age));
        QCOMPARE(g.q(29), quantity);
        QCOMPARE(g.r(29), references);
    }

    void coenzymeQ10AfterFifty()
    {
        QCOMPARE(Guide(TestClient::withScores({}).withAge(u"50")).q(33), 0);
        const Guide older(TestClient::withScores({{25, 4}}).withAge(u"51"));
        QCOMPARE(older.q(33), 1);
        QCOMPARE(older.r(33), 2);
    }

    void cholesterol_data()
    {
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("hdl");
        QTest::addColumn<int>("quantity");
        QTest::addColumn<int>("references");
        QTest::newRow("200") << "200"
                             << "" << 0 << 0;
        QTest::newRow("201") << "201"
                             << "" << 1 << 1;
        QTest::newRow("ratio exactly 4") << "200"
                                         << "50" << 0 << 0;
        QTest::newRow("ratio 4.09") << "180"
                                    << "44" << 1 << 1;
        QTest::newRow("both") << "201"
                              << "50" << 1 << 2;
        QTest::newRow("HDL 0") << "180"
                               << "0" << 0 << 0;
        QTest::newRow("HDL 0, total high") << "300"
                                           << "0" << 1 << 1;
        QTest::newRow("HDL not a number") << "300"
                                          << "n/a" << 1 << 1;
    }

    void cholesterol()
    {
        QFETCH(QString, total);
        QFETCH(QString, hdl);
        QFETCH(int, quantity);
        QFETCH(int, references);
        const Guide g(TestClient::withScores({}).withCholesterol(total, hdl));
        QCOMPARE(g.q(19), quantity);
        QCOMPARE(g.r(19), references);
    }

    void zincBalance_data()
    {
        QTest::addColumn<int>("maleGland");
        QTest::addColumn<int>("totalVitamins");
        QTest::addColumn<int>("zinc");
        QTest::newRow("no multi-vitamin surplus") << 6 << 0 << 6;
        QTest::newRow("surplus taken after its cap") << 6 << 28 << 4;
        QTest::newRow("multi-vitamin 6") << 5 << 21 << 3;
        QTest::newRow("down to 2") << 4 << 28 << 2;
    }

    void zincBalance()
    {
        QFETCH(int, maleGland);
        QFETCH(int, totalVitamins);
        QFETCH(int, zinc);
        const Guide g(TestClient::withScores({{20, maleGland}, {4, totalVitamins}}));
        QCOMPARE(g.q(15), zinc);
    }

    void zincOfTwoOrLessIsKept()
    {
        const Guide two(TestClient::withScores({{7, 3}, {4, 28}}));
        QCOMPARE(two.q(5), 6);
        QCOMPARE(two.q(15), 2);
        const Guide one(TestClient::withScores({{18, 6}, {4, 28}}));
        QCOMPARE(one.q(15), 1);
    }

    void pureWaterCountsItsCallsBeforeItIsSet()
    {
        const Guide g(TestClient::withScores({{6, 5}, {10, 6}, {11, 4}, {17, 4}}));
        QCOMPARE(g.q(4), 6);
        QCOMPARE(g.r(4), 5);
    }

    void callCountsOfGlaAndAcidophilus()
    {
        const Guide g(TestClient::withScores({{23, 7}, {32, 7}, {30, 5}}));
        QCOMPARE(g.q(20), 2);
        QCOMPARE(g.r(20), 2);
        QCOMPARE(g.q(21), 1);
        QCOMPARE(g.r(21), 1);
    }

    void capsAfterTheAdditions()
    {
        const Guide garlic(TestClient::withScores({{16, 9}, {21, 6}, {22, 4}}));
        QCOMPARE(garlic.q(13), 4);
        QCOMPARE(garlic.r(13), 3);
        QCOMPARE(garlic.q(35), 1);
        QCOMPARE(garlic.r(35), 2);

        const Guide immune(TestClient::withScores({{3, 2}, {18, 6}}));
        QCOMPARE(immune.q(12), 4);
        QCOMPARE(immune.q(40), 2);
        QCOMPARE(immune.r(40), 3);

        const Guide stress(TestClient::withScores({{2, 5}, {10, 6}, {18, 6}}));
        QCOMPARE(stress.q(36), 2);
        QCOMPARE(stress.r(36), 3);
    }

    void soyProtein_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("score");
        QTest::addColumn<int>("soy");
        QTest::newRow("protein 4") << 31 << 4 << 3;
        QTest::newRow("protein 7") << 31 << 7 << 7;
        QTest::newRow("protein 12") << 31 << 12 << 9;
        QTest::newRow("kidney 16, capped") << 17 << 16 << 9;
    }

    void soyProtein()
    {
        QFETCH(int, row);
        QFETCH(int, score);
        QFETCH(int, soy);
        QCOMPARE(Guide(TestClient::withScores({{row, score}})).q(6), soy);
    }

    void liverRowCountsFiberTwiceFromTen()
    {
        const Guide nine(TestClient::withScores({{10, 9}}));
        QCOMPARE(nine.q(2), 2);
        QCOMPARE(nine.r(2), 1);
        const Guide ten(TestClient::withScores({{10, 10}}));
        QCOMPARE(ten.q(2), 3);
        QCOMPARE(ten.r(2), 2);
        QCOMPARE(ten.q(3), 3);
        QCOMPARE(ten.q(27), 1);
    }

    void firstHeartHealthRowRaisesLecithinAndEpa_data()
    {
        QTest::addColumn<int>("score");
        QTest::addColumn<int>("vitaminE");
        QTest::addColumn<int>("lecithin");
        QTest::addColumn<int>("epa");
        QTest::newRow("4") << 4 << 1 << 4 << 0;
        QTest::newRow("8") << 8 << 2 << 8 << 2;
        QTest::newRow("13") << 13 << 4 << 11 << 5;
        QTest::newRow("45") << 45 << 6 << 12 << 8;
    }

    void firstHeartHealthRowRaisesLecithinAndEpa()
    {
        QFETCH(int, score);
        QFETCH(int, vitaminE);
        QFETCH(int, lecithin);
        QFETCH(int, epa);
        const Guide g(TestClient::withScores({{23, score}}));
        QCOMPARE(g.q(9), vitaminE);
        QCOMPARE(g.q(16), lecithin);
        QCOMPARE(g.q(17), epa);
    }

    void smokerAdditionReachesTheGuide()
    {
        const Guide plain(TestClient::withScores({{27, 2}, {28, 3}}));
        QCOMPARE(plain.q(8), 1);
        QCOMPARE(plain.q(27), 0);
        QCOMPARE(plain.q(25), 0);
        QCOMPARE(plain.q(10), 0);

        const Guide smoker(TestClient::withScores({{27, 2}, {28, 3}}).withYes(kYesNoSmoker));
        QCOMPARE(smoker.q(8), 2); // Vitamin C row 0 + 2
        QCOMPARE(smoker.q(12), 2);
        QCOMPARE(smoker.q(27), 1); // Liver Builder row 0 + 2
        QCOMPARE(smoker.q(25), 1); // Heart Health 3 row 2 + 2
        QCOMPARE(smoker.q(10), 1); // Respiratory row 3 + 2
    }

    void painAnswer()
    {
        const Guide g(TestClient::withScores({}).withYes(kYesNoPain));
        for (int j : {38, 39}) {
            QCOMPARE(g.q(j), 1);
            QCOMPARE(g.r(j), 1);
        }
        QCOMPARE(Guide(TestClient::withScores({})).q(38), 0);
    }

    void highBloodPressureLine()
    {
        const Guide g(
            TestClient::withScores({{19, 4}}).withSex(u"F").withYes(kYesNoHighBloodPressure));
        QCOMPARE(g.q(9), 2);
        const std::optional<GuideLine> line = g.line(9);
        QVERIFY(line);
        QCOMPARE(line->quantity, 1);
        QCOMPARE(line->unit, QStringLiteral(" - High Blood Pressure"));
        QCOMPARE(line->references, 2);
    }

    void reactiveHypoglycemiaLine()
    {
        const Guide notCalled(TestClient::withScores({}).withYes(kYesNoReactiveHypoglycemia));
        QVERIFY(!notCalled.line(35));

        const Guide called(TestClient::withScores({{21, 6}}).withYes(kYesNoReactiveHypoglycemia));
        const std::optional<GuideLine> line = called.line(35);
        QVERIFY(line);
        QCOMPARE(line->quantity, 0);
        QCOMPARE(line->unit, QStringLiteral(" - Reactive Hypoglycemia"));
        QCOMPARE(line->references, 1);

        const Guide plain(TestClient::withScores({{21, 6}}));
        QCOMPARE(plain.line(35)->quantity, 1);
        QCOMPARE(plain.line(35)->unit, QStringLiteral("Servings"));
    }

    void listingFollowsTheCatalogueCount()
    {
        const Catalogue catalogue = test::profileTestCatalogue({{5003, QStringLiteral("8")}});
        const ReferenceTables tables = ReferenceTables::fromCatalogue(catalogue);
        const PreparedProfile prepared = prepareProfile(ProfileInput(), tables);
        const std::vector<GuideLine> lines = listSupplementGuide(ComputeSupplementGuide(prepared),
                                                                 prepared.yesNo, catalogue, tables);
        QCOMPARE(lines.size(), size_t(5)); // 4 to 8; 34 and 40 are past the count
        QCOMPARE(lines.back().index, 8);
    }
};

QTEST_GUILESS_MAIN(SupplementGuideTest)
#include "tst_supplementguide.moc"

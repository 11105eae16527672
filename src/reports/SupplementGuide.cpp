#include "reports/SupplementGuide.h"

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"

#include <algorithm>
#include <initializer_list>

namespace halcyra {
namespace {

// Supplement numbers: the places in the catalogue's supplement list that the rules address.
enum Supplement : int {
    Alfalfa = 1,
    Fiber = 2,
    CleansingHerbs = 3,
    PureWater = 4,
    MultiVitamin = 5,
    SoyProtein = 6,
    BComplex = 7,
    VitaminC = 8,
    VitaminE = 9,
    Carotenoids = 10,
    Flavonoids = 11,
    ImmuneFormula = 12,
    Garlic = 13,
    CalciumMagnesium = 14,
    Zinc = 15,
    Lecithin = 16,
    Epa = 17,
    Iron = 18,
    CholesterolRegulation = 19,
    Gla = 20,
    Acidophilus = 21,
    MenopauseHerbs = 22,
    Ginseng = 23,
    Echinacea = 24,
    GinkgoBiloba = 25,
    Glucosamine = 26,
    MilkThistle = 27,
    PeppermintGinger = 28,
    SawPalmetto = 29,
    StJohnsWort = 30,
    Valerian = 31,
    DigestiveAid = 32,
    CoenzymeQ10 = 33,
    CleanIndoorAir = 34,
    InsulinEnhancer = 35,
    StressReliever = 36,
    HairScalp = 37,
    PainReliever = 38,
    PainCream = 39,
    InterferonEnhancer = 40,
};

// Applies the rules to one guide. Quantities are raised ("at least"), capped ("at most"), set
// or added to; every rule that calls for a supplement counts one reference.
class GuideRules
{
public:
    explicit GuideRules(SupplementGuide& guide)
        : S(guide.scores), m_quantity(guide.quantity), m_references(guide.references)
    {}

    int q(int j) const { return m_quantity[static_cast<size_t>(j)]; }
    void set(int j, int value) { m_quantity[static_cast<size_t>(j)] = value; }
    void add(int j, int amount) { m_quantity[static_cast<size_t>(j)] += amount; }
    void atLeast(int j, int value) { set(j, std::max(q(j), value)); }
    void atMost(int j, int value) { set(j, std::min(q(j), value)); }

    int r(int j) const { return m_references[static_cast<size_t>(j)]; }
    void setReferences(int j, int value) { m_references[static_cast<size_t>(j)] = value; }
    void count(std::initializer_list<int> supplements)
    {
        for (int j : supplements)
            ++m_references[static_cast<size_t>(j)];
    }

    int s(int row) const { return S[static_cast<size_t>(row)]; }
    void raiseScore(int row, int amount) { S[static_cast<size_t>(row)] += amount; }

private:
    std::array<int, kReportRowCount + 1>& S;
    std::array<int, kGuideSupplementCount + 1>& m_quantity;
    std::array<int, kGuideSupplementCount + 1>& m_references;
};

void baseProgram(GuideRules& g, const PreparedProfile& profile)
{
    // 2: always; pure water counts its calls later.
    for (auto [j, quantity] : {std::pair{SoyProtein, 3},
                               {MultiVitamin, 2},
                               {VitaminC, 1},
                               {BComplex, 2},
                               {VitaminE, 1},
                               {InterferonEnhancer, 2},
                               {CleanIndoorAir, 1}}) {
        g.set(j, quantity);
        g.setReferences(j, 1);
    }
    g.set(PureWater, 1);
    // 3: joint or muscle aches.
    if (profile.yesNo[kYesNoPain]) {
        g.set(PainCream, 1);
        g.set(PainReliever, 1);
        g.setReferences(PainReliever, 1);
        g.setReferences(PainCream, 1);
    }
    // 4 and 5: cholesterol, and its ratio to HDL (no ratio without an HDL value).
    if (profile.totalCholesterol > 200) {
        g.set(CholesterolRegulation, 1);
        g.setReferences(CholesterolRegulation, 1);
    }
    if (profile.hdl != 0 && profile.totalCholesterol / profile.hdl > 4.0) {
        g.set(CholesterolRegulation, 1);
        g.count({CholesterolRegulation});
    }
}

// The hair row adds to three other rows just before their own rules are tested.
void raiseByHairRow(GuideRules& g, int row, int largestAddition)
{
    if (g.s(40) > 1)
        g.raiseScore(row, std::min(g.s(40), largestAddition));
}

void vitaminAndMineralRows(GuideRules& g)
{
    // 6: Vitamin A.
    if (g.s(1) >= 3) {
        g.set(Carotenoids, std::min(g.s(1) / 3, 5));
        g.count({Carotenoids});
    }
    // 7, 8: B-Complex (counted in thirds until the finish).
    raiseByHairRow(g, 2, 3);
    if (g.s(2) >= 5) {
        g.atLeast(BComplex, std::min(g.s(2), 12));
        g.add(StressReliever, 1);
        g.count({BComplex, StressReliever});
    }
    // 9: Vitamin C.
    if (g.s(3) >= 2) {
        g.atLeast(VitaminC, std::min(g.s(3), 12));
        g.add(ImmuneFormula, 2);
        g.add(InterferonEnhancer, 1);
        g.count({VitaminC, ImmuneFormula, InterferonEnhancer});
    }
    // 10: Total Vitamins.
    if (g.s(4) >= 7) {
        const int k = g.s(4) / 7;
        g.atLeast(MultiVitamin, 2 * k);
        g.atLeast(Alfalfa, 5 * k);
        g.count({MultiVitamin, Alfalfa});
    }
    // 11: Iron.
    if (g.s(5) >= 5) {
        g.set(Iron, 1);
        g.count({Iron});
    }
    // 12: Calcium and Magnesium.
    if (g.s(6) >= 5) {
        const int k = g.s(6) / 5;
        g.atLeast(MultiVitamin, k);
        g.set(CalciumMagnesium, 3 * k);
        g.add(PureWater, 1);
        g.count({MultiVitamin, CalciumMagnesium});
    }
    // 13, 14: Zinc.
    raiseByHairRow(g, 7, 6);
    if (g.s(7) >= 3) {
        g.set(Zinc, 2);
        g.count({Zinc});
    }
    // 15: Total Vitamin + Mineral.
    if (g.s(9) >= 12) {
        const int k = g.s(9) / 12;
        g.atLeast(MultiVitamin, 2 * k);
        g.atLeast(Alfalfa, 5 * k);
        g.count({MultiVitamin, Alfalfa});
    }
}

void digestiveRows(GuideRules& g)
{
    // 16: Liver/Gall Bladder.
    if (g.s(10) >= 6) {
        g.atLeast(CleansingHerbs, 3);
        g.atLeast(Fiber, 2);
        g.set(MilkThistle, 1);
        g.add(PureWater, 1);
        g.add(StressReliever, 1);
        if (g.s(10) >= 10) {
            g.add(Fiber, 1);
            g.count({Fiber});
        }
        g.count({CleansingHerbs, Fiber, MilkThistle, StressReliever});
    }
    // 17: Colon Function.
    if (g.s(11) >= 4) {
        g.atLeast(CleansingHerbs, 2);
        g.atLeast(Fiber, 2);
        g.add(PureWater, 1);
        g.count({CleansingHerbs, Fiber});
    }
    // 18: Digestion 1.
    if (g.s(12) >= 2) {
        g.set(DigestiveAid, 1);
        g.count({DigestiveAid});
    }
    // 19, 20: Digestion 2 with its sub-section.
    raiseByHairRow(g, 14, 3);
    if (g.s(13) + g.s(14) >= 5) {
        g.atLeast(Zinc, 2);
        g.atLeast(Alfalfa, g.s(14) / 5 * 5);
        g.set(MilkThistle, 1);
        g.count({Alfalfa, Zinc, MilkThistle});
    }
    // 21: Gastric Imbalance.
    if (g.s(15) >= 5) {
        g.atLeast(Alfalfa, 5);
        g.atLeast(Fiber, 1);
        g.count({Fiber, Alfalfa});
    }
    // 22: Total Gastro-Intestinal.
    if (g.s(16) >= 9) {
        g.atLeast(Alfalfa, 8);
        g.atLeast(Zinc, 2);
        g.atLeast(Fiber, 1);
        g.add(Garlic, 2);
        g.count({CleansingHerbs, SoyProtein, VitaminC, Garlic, Fiber, Alfalfa, Zinc});
    }
}

void glandRows(GuideRules& g, const PreparedProfile& profile)
{
    // 23: Kidney/Bladder.
    if (g.s(17) >= 4) {
        const int k = g.s(17) / 4;
        g.atLeast(Alfalfa, 5 * k);
        g.atLeast(Lecithin, 3 * k);
        g.atLeast(MultiVitamin, 2 * k);
        g.atLeast(SoyProtein, 3 * k);
        g.add(PureWater, 1);
        g.count({Lecithin, Alfalfa, SoyProtein, MultiVitamin});
    }
    // 24: Adrenal Function.
    if (g.s(18) >= 6) {
        const int m = std::min(g.s(18) - 5, 10);
        g.atLeast(Zinc, 1);
        g.atLeast(VitaminC, m);
        g.atLeast(BComplex, m);
        g.add(ImmuneFormula, 2);
        g.add(InterferonEnhancer, 1);
        g.add(StressReliever, 1);
        g.count({BComplex, VitaminC, Zinc, SoyProtein, ImmuneFormula, InterferonEnhancer,
                 StressReliever});
    }
    // 25: women of menopausal age.
    if (profile.female && profile.age >= 45 && profile.age <= 55) {
        g.add(MenopauseHerbs, 1);
        g.count({MenopauseHerbs});
    }
    // 26: Female Gland.
    if (g.s(19) >= 4) {
        g.atLeast(Lecithin, 4);
        g.atLeast(Epa, 3);
        g.atLeast(SoyProtein, 6);
        g.atLeast(BComplex, 4);
        g.atLeast(VitaminC, 4);
        g.atLeast(VitaminE, 2);
        g.add(MenopauseHerbs, 1);
        g.count({Lecithin, Epa, SoyProtein, BComplex, VitaminC, VitaminE, MenopauseHerbs});
    }
    // 27: men from 40.
    if (profile.male && profile.age >= 40) {
        g.set(SawPalmetto, 2);
        g.count({SawPalmetto});
    }
    // 28: Male Gland.
    if (g.s(20) >= 4) {
        g.atLeast(Zinc, std::min(g.s(20), 6));
        g.atLeast(BComplex, 4);
        g.atLeast(VitaminC, 4);
        g.atLeast(SoyProtein, 4);
        g.atLeast(VitaminE, 1);
        g.set(SawPalmetto, 2);
        g.count({Zinc, BComplex, VitaminC, SoyProtein, VitaminE, SawPalmetto});
    }
    // 29, 30: Pancreas/Hypoglycemia, then Diabetic/Pre-Diabetic.
    for (const auto& [row, threshold] : {std::pair{21, 6}, {22, 4}}) {
        if (g.s(row) >= threshold) {
            g.atLeast(SoyProtein, 9);
            g.atLeast(Zinc, 2);
            g.add(Garlic, 2);
            g.atLeast(BComplex, 8);
            g.add(InsulinEnhancer, 1);
            g.count({Zinc, BComplex, SoyProtein, Garlic, InsulinEnhancer});
        }
    }
}

void heartAndImmuneRows(GuideRules& g)
{
    // 31, 32: Basic Heart Health 1.
    if (g.s(23) >= 4) {
        g.atLeast(VitaminE, (g.s(23) - 4) / 2);
        g.atLeast(Lecithin, 4);
        g.set(GinkgoBiloba, 1);
        g.set(CoenzymeQ10, 1);
        g.count({Lecithin, VitaminE, GinkgoBiloba, CoenzymeQ10, CleanIndoorAir});
    }
    if (g.s(23) >= 7) {
        const int n = (g.s(23) - 7) / 2;
        g.add(Gla, 1);
        g.atLeast(Lecithin, 8);
        g.atLeast(Epa, 2);
        g.set(Lecithin, std::min(g.q(Lecithin) + n, 12));
        g.set(Epa, std::min(g.q(Epa) + n, 8));
        g.add(Garlic, 2);
        g.count({Epa, Lecithin, MultiVitamin, SoyProtein, CleansingHerbs, Alfalfa, BComplex,
                 VitaminC, Garlic});
    }
    // 33, 34: Basic Heart Health 2.
    if (g.s(25) >= 4) {
        g.set(GinkgoBiloba, 1);
        g.set(CoenzymeQ10, 1);
        g.count({GinkgoBiloba, CoenzymeQ10, CleanIndoorAir});
    }
    if (g.s(25) >= 10) {
        g.atLeast(Lecithin, 6);
        g.atLeast(Epa, 3);
        g.atLeast(CholesterolRegulation, 2);
        g.add(Garlic, 2);
        g.set(MilkThistle, 1);
        g.count({Lecithin, Epa, CholesterolRegulation, Garlic, MilkThistle});
    }
    // 35, 36: Basic Heart Health 3.
    if (g.s(27) >= 4) {
        g.set(GinkgoBiloba, 1);
        g.set(CoenzymeQ10, 1);
        g.count({GinkgoBiloba, CoenzymeQ10, CleanIndoorAir});
    }
    if (g.s(27) >= 15) {
        g.atLeast(Epa, 3);
        g.atLeast(CholesterolRegulation, 2);
        g.atLeast(Fiber, 1);
        g.add(Garlic, 2);
        g.count({Epa, CholesterolRegulation, Fiber, Garlic});
    }
    // 37: Respiratory.
    if (g.s(28) >= 5) {
        g.atLeast(Alfalfa, 15);
        g.atLeast(Epa, 1);
        g.atLeast(Carotenoids, 1);
        g.add(Garlic, 2);
        g.count({Alfalfa, Epa, Carotenoids, Garlic, MultiVitamin, BComplex, VitaminC, SoyProtein,
                 CleansingHerbs, CleanIndoorAir});
    }
    // 38: Thymus/Immune System.
    if (g.s(29) >= 3) {
        g.atLeast(ImmuneFormula, 2);
        g.atLeast(InterferonEnhancer, 2);
        g.add(Garlic, 2);
        g.atLeast(SoyProtein, 6);
        g.add(Echinacea, 1);
        g.count({Echinacea, ImmuneFormula, InterferonEnhancer, Garlic, SoyProtein});
    }
}

void remainingRows(GuideRules& g)
{
    // 39: Yeast.
    if (g.s(30) >= 5) {
        g.add(Acidophilus, 1);
        g.atLeast(SoyProtein, 6);
        g.atLeast(MultiVitamin, 4);
        g.atLeast(Alfalfa, 20);
        g.atLeast(BComplex, 4);
        g.atLeast(VitaminC, 4);
        g.atLeast(CleansingHerbs, 2);
        g.add(Garlic, 2);
        g.count({SoyProtein, Alfalfa, VitaminC, Garlic, MultiVitamin, BComplex, CleansingHerbs});
    }
    // 40: Protein.
    if (g.s(31) >= 5) {
        g.set(SoyProtein, std::min(std::max(g.q(SoyProtein), g.s(31)), 9));
        g.add(StressReliever, 1);
        g.count({SoyProtein, StressReliever});
    }
    // 41: PMS.
    if (g.s(32) >= 7) {
        const int k = g.s(32) / 7;
        g.add(Gla, 1);
        g.atLeast(Lecithin, 4 * k);
        g.atLeast(VitaminE, 2 * k);
        g.atLeast(CalciumMagnesium, 3 * k);
        g.atLeast(BComplex, 5 * k);
        g.atLeast(MultiVitamin, 2 * k);
        g.atLeast(SoyProtein, 3 * k);
        g.atLeast(VitaminC, 4 * k);
        g.atLeast(Alfalfa, 5 * k);
        g.atLeast(CleansingHerbs, k);
        g.atLeast(Epa, k);
        g.add(Garlic, 2);
        g.add(MenopauseHerbs, 1);
        g.count({SoyProtein, Alfalfa, VitaminC, MultiVitamin, BComplex, CleansingHerbs, Lecithin,
                 VitaminE, CalciumMagnesium, Epa, Garlic, MenopauseHerbs});
    }
    // 42 to 48: the single-supplement rows.
    if (g.s(33) >= 3) {
        g.set(Ginseng, 1);
        g.add(StressReliever, 1);
        g.count({Ginseng, StressReliever});
    }
    for (const auto& [row, threshold, j] : {std::tuple{34, 1, GinkgoBiloba},
                                            {35, 3, Glucosamine},
                                            {36, 1, MilkThistle},
                                            {37, 1, PeppermintGinger},
                                            {38, 2, StJohnsWort}}) {
        if (g.s(row) >= threshold) {
            g.set(j, 1);
            g.count({j});
        }
    }
    if (g.s(39) >= 3) {
        g.set(Valerian, 1);
        g.add(StressReliever, 1);
        g.count({Valerian, StressReliever});
    }
    // 49: Hair and Scalp; a high score counts twice.
    if (g.s(40) >= 3) {
        g.set(HairScalp, 1);
        if (g.s(40) >= 5)
            g.count({HairScalp});
        g.count({HairScalp});
    }
    // 50: Pure Air.
    if (g.s(41) >= 1) {
        g.set(CleanIndoorAir, 1);
        g.count({CleanIndoorAir});
    }
}

void finish(GuideRules& g, const PreparedProfile& profile)
{
    // 51: for these three the number of calls is the reference count.
    for (int j : {PureWater, Gla, Acidophilus})
        g.setReferences(j, g.q(j));
    // 52: pure water is always the full eight glasses.
    if (g.q(PureWater) > 0)
        g.set(PureWater, 6);
    // 53: carotenoids in thirds, with flavonoids beside them.
    g.set(Carotenoids, (g.q(Carotenoids) + 2) / 3);
    if (g.q(Carotenoids) > 0) {
        g.set(Flavonoids, 2);
        g.count({Flavonoids});
    }
    // 54: caps.
    for (auto [j, cap] : {std::pair{CalciumMagnesium, 12},
                          {MultiVitamin, 6},
                          {SoyProtein, 9},
                          {CleansingHerbs, 6},
                          {Lecithin, 12},
                          {VitaminC, 12},
                          {Alfalfa, 30},
                          {Garlic, 4},
                          {VitaminE, 6},
                          {BComplex, 12}})
        g.atMost(j, cap);
    // 55: B-Complex from thirds to tablets.
    g.set(BComplex, (g.q(BComplex) + 2) / 3);
    // 56: further caps.
    g.atMost(ImmuneFormula, 4);
    g.atMost(InterferonEnhancer, 2);
    g.atMost(MenopauseHerbs, 1);
    // 57: zinc balance: the multi-vitamin's own zinc comes off, down to 2.
    const int t = (g.q(MultiVitamin) - 2) / 2;
    if (g.q(Zinc) > 2) {
        g.set(Zinc, g.q(Zinc) - t);
        if (g.q(Zinc) < 2)
            g.set(Zinc, 2);
    }
    // 58: last caps.
    g.atMost(InsulinEnhancer, 1);
    g.atMost(StressReliever, 2);
    // 59: by sex and age.
    if (profile.female)
        g.set(SawPalmetto, 0);
    if (profile.female && profile.age < 40)
        g.set(MenopauseHerbs, 0);
    if (profile.male)
        g.set(MenopauseHerbs, 0);
    // 60: Coenzyme Q10 past 50.
    if (profile.age > 50) {
        g.set(CoenzymeQ10, 1);
        g.count({CoenzymeQ10});
    }
}

} // namespace

SupplementGuide ComputeSupplementGuide(const PreparedProfile& profile)
{
    SupplementGuide guide; // 1: every quantity and reference count starts at 0
    guide.scores = profile.guideScore;
    GuideRules rules(guide);
    baseProgram(rules, profile);
    vitaminAndMineralRows(rules);
    digestiveRows(rules);
    glandRows(rules, profile);
    heartAndImmuneRows(rules);
    remainingRows(rules);
    finish(rules, profile);
    return guide;
}

std::vector<GuideLine> listSupplementGuide(const SupplementGuide& guide,
                                           const std::array<bool, kYesNoCount>& yesNo,
                                           const Catalogue& catalogue,
                                           const ReferenceTables& tables)
{
    std::vector<GuideLine> lines;
    for (int j = 1; j <= tables.supplementCount; ++j) {
        const auto at = static_cast<size_t>(j);
        if (guide.quantity[at] <= 0)
            continue;
        GuideLine line{j,
                       catalogue.LoadResString(ids::supplementName(j)),
                       guide.quantity[at],
                       catalogue.LoadResString(ids::supplementUnit(j)),
                       guide.references[at],
                       catalogue.LoadResString(ids::supplementPossible(j))};
        // Made after the listing test, so a listed reactive-hypoglycemia line shows 0.
        if (j == VitaminE && yesNo[kYesNoHighBloodPressure]) {
            line.quantity = 1;
            line.unit = QStringLiteral(" - High Blood Pressure");
        } else if (j == InsulinEnhancer && yesNo[kYesNoReactiveHypoglycemia]) {
            line.quantity = 0;
            line.unit = QStringLiteral(" - Reactive Hypoglycemia");
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace halcyra

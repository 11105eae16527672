#pragma once

// A catalogue holding only what the evaluation and the supplement guide read, with the values
// of the shipped tables, so that the report logic can be tested apart from the built-in data.

#include "core/Catalogue.h"
#include "reports/ProfileInput.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <map>
#include <utility>

namespace halcyra::test {

struct TestRow
{
    const char* name;
    int high;
    int veryHigh;
    const char* title;
};

// Rows 1..41: name, High, Very High, analysis title.
inline constexpr TestRow kTestRows[] = {
    {"01. Vitamin A", 3, 7, "1.   VITAMIN A (BETA CAROTENE AND OTHER CAROTENOIDS):"},
    {"02. B-Complex", 5, 11, "2.   VITAMIN B-COMPLEX: "},
    {"03. Vitamin C", 2, 5, "3.   VITAMIN C: "},
    {"04. Total Vitamins", 7, 14, "4.   TOTAL VITAMINS:"},
    {"05. Iron", 2, 5, "5.   IRON:"},
    {"06. Calcium and Magnesium", 5, 11, "6.   CALCIUM and MAGNESIUM:"},
    {"07. Zinc", 3, 6, "7.   ZINC:"},
    {"08. Total Minerals", 5, 11, "8.   TOTAL MINERAL:"},
    {"09. Total Vitamin + Mineral", 12, 21, "9.   TOTAL VITAMINS + MINERALS:"},
    {"10. Liver/Gall Bladder", 6, 11, "10.  LIVER/GALL BLADDER:"},
    {"11. Colon Function", 4, 8, "11.  COLON FUNCTION:"},
    {"12. Digestion 1", 2, 101, "12.  DIGESTION 1:"},
    {" ", 2, 99, " "},
    {"13. Digestion 2", 5, 10, "13.  DIGESTION 2:"},
    {"14. Gastric Imbalance", 5, 10, "14.  GASTRIC IMBALANCE:"},
    {"15. Total Gastro-Intestinal", 9, 18, "15.  TOTAL GASTRO-INTESTINAL:"},
    {"16. Kidney/Bladder", 4, 7, "16.  KIDNEY/BLADDER:"},
    {"17. Adrenal Function", 6, 10, "17.  ADRENAL FUNCTION:"},
    {"18. Female Gland", 4, 8, "18.  FEMALE GLAND:"},
    {"19. Male Gland", 4, 8, "19.  MALE GLAND:"},
    {"20. Pancreas/Hypoglycemia", 6, 11, "20.  PANCREAS/HYPOGLYCEMIA:"},
    {"21. Diabetic/Pre-Diabetic", 4, 8, "21.  PANCREAS/PRE-DIABETIC OR DIABETIC:"},
    {"22. Basic Heart Health 1", 4, 7, "22.  BASIC HEART HEALTH 1:"},
    {" ", 99, 99, "Heart health, more (title slot)"},
    {"23. Basic Heart Health 2", 10, 10, "23.  BASIC HEART HEALTH 2:"},
    {" ", 99, 99, " "},
    {"24. Basic Heart Health 3", 15, 15, "24.  BASIC HEART HEALTH 3:"},
    {"25. Respiratory", 5, 8, "25.  RESPIRATORY:"},
    {"26. Thymus/Immune System", 3, 6, "26.  THYMUS/IMMUNE SYSTEM:"},
    {"27. Yeast", 5, 9, "27.  YEAST:"},
    {"28. Protein", 5, 9, "28.  PROTEIN:"},
    {"29. PMS Pre-Menstrual Syndrome", 7, 17, "29.  PMS/PREMENSTRUAL SYNDROME:"},
    {". ", 3, 3, "30.  NEED A PICK UP:"},
    {". ", 3, 3, "31.  A SHARPER MIND:"},
    {". ", 3, 3, "32.  OSTEOARTHRITIS:"},
    {". ", 1, 1, "33.  LIVER BUILDER:"},
    {". ", 3, 3, "34.  CALM STOMACH:"},
    {". ", 2, 2, "35.  A MOOD LIFT:"},
    {". ", 2, 2, "36.  RELAXATION:"},
    {". ", 1, 3, "37.  HAIR AND SCALP HEALTH:"},
    {". ", 2, 3, "38.  PURE AIR:"},
};

struct TestSupplement
{
    const char* name;
    int possible;
    const char* unit;
};

// Supplements 1..40: name, possible references, unit text.
inline constexpr TestSupplement kTestSupplements[] = {
    {"Alfalfa", 10, "Tablets"},
    {"Fiber", 6, "Servings"},
    {"Natural Cleansing Herbs", 7, "Tablets"},
    {"Pure Water", 5, "- 8 glasses per day"},
    {"Multi-Vitamin/Mineral", 9, "Tablets"},
    {"Soy Protein", 14, "Tablespoons"},
    {"B-Complex", 11, "Tablets"},
    {"Vitamin C", 10, "Tablets"},
    {"Vitamin E", 5, "Tabs or Caps"},
    {"Carotenoid Complex", 2, "Capsules"},
    {"Flavonoid Complex", 1, "Capsules"},
    {"Vitamin Formula Immune", 3, "Capsules"},
    {"Garlic", 10, "Tablets"},
    {"Calcium and Magnesium", 2, "Tablets"},
    {"Zinc", 7, "Tablets"},
    {"Lecithin", 6, "Capsules"},
    {"EPA (Eicosapentaenoic Acid)", 6, "Capsules"},
    {"Iron", 1, "Tablets"},
    {"Cholesterol Regulation", 4, "Tablets"},
    {"GLA (Gamma-Linolenic Acid)", 2, "Capsules"},
    {"Lactobacillis Acidophilus and Bifidus", 1, "Serving"},
    {"Menopause Herbs and Cream", 3, "Serving"},
    {"Ginseng ******", 1, "Serving (See NOTE below)"},
    {"Echinacea", 1, "As needed (7 on, 7 off)"},
    {"Ginkgo Biloba", 4, "Serving "},
    {"Glucosamine Hydrochloride", 1, "Serving"},
    {"Milk Thistle Seed", 4, "Serving"},
    {"Peppermint & Ginger", 1, "Serving as needed."},
    {"Saw Palmetto", 2, "(1 morn., 1 evening)"},
    {"St. John's Wort", 1, "Serving"},
    {"Valerian", 1, "Serving 1 hr. before bed"},
    {"Multi-Enzyme Digestive Aid", 1, "Serving as needed"},
    {"Coenzyme Q10", 4, "Servings"},
    {"Clean Indoor Air", 6, "Indoors"},
    {"Insulin Efficiency Enhancer", 2, "Servings"},
    {"Stress Reliever ******", 6, "Servings (See NOTE below)"},
    {"Hair & Scalp Health", 2, "Daily"},
    {"Pain Reliever", 1, "Serving as needed"},
    {"Pain Cream", 1, "as needed"},
    {"Interferon Enhancer", 4, "Tablets"},
};

// The text of row r's analysis paragraph in the test catalogue.
inline QString testRowText(int r)
{
    return QStringLiteral("Text of row %1").arg(r);
}

inline QString quoted(const QString& text)
{
    return u'"' + text + u'"';
}

// `overrides` replaces the text of any entry, to test other catalogue values.
inline Catalogue profileTestCatalogue(const QHash<int, QString>& overrides = {})
{
    QStringList lines;
    auto entry = [&lines, &overrides](int id, const QString& text) {
        lines.append(QString::number(id) + QStringLiteral(" = ") +
                     quoted(overrides.value(id, text)));
    };
    for (auto [id, count] : {std::pair{1500, 32},
                             {1600, 41},
                             {1700, 41},
                             {4000, 41},
                             {5003, 40},
                             {7880, 3},
                             {7900, 38}})
        entry(id, QString::number(count));
    entry(1423, QStringLiteral("NOT DETERMINED"));
    int r = 0;
    for (const TestRow& row : kTestRows) {
        ++r;
        entry(1500 + r, QString::fromUtf8(row.name));
        entry(1600 + r, QString::number(row.high));
        entry(1700 + r, QString::number(row.veryHigh));
        entry(4000 + 10 * r, QString::fromUtf8(row.title));
        entry(4000 + 10 * r + 1,
              r == 24 ? QStringLiteral("Heart health, more (text slot)") : testRowText(r));
    }
    entry(4292, QStringLiteral("Continuation of row 29"));
    entry(4800, QStringLiteral("39.  VITAMIN-E and Hypertension (High Blood Pressure):"));
    entry(4801, QStringLiteral("Vitamin E text, high blood pressure"));
    entry(4802, QStringLiteral("39.  VITAMIN-E:"));
    entry(4803, QStringLiteral("Vitamin E text"));
    int j = 0;
    for (const TestSupplement& supplement : kTestSupplements) {
        ++j;
        entry(5000 + 10 * j, QString::fromUtf8(supplement.name));
        entry(5000 + 10 * j + 1, QString::number(supplement.possible));
        entry(5000 + 10 * j + 2, QString::fromUtf8(supplement.unit));
    }
    Catalogue catalogue;
    catalogue.addSource(QStringLiteral("test"), lines.join(u'\n'), nullptr);
    return catalogue;
}

// A client for the tests: scores by row number (others empty), and the details as typed.
// Built by chaining: TestClient::withScores({{5, 4}}).withSex(u"F").withAge(u"50").
struct TestClient
{
    std::map<int, int> scores;
    QString sex = QStringLiteral("M");
    QString age = QStringLiteral("30");
    std::array<bool, kYesNoCount> yesNo{};
    QString totalCholesterol;
    QString hdl;

    static TestClient withScores(std::map<int, int> scores)
    {
        TestClient client;
        client.scores = std::move(scores);
        return client;
    }
    TestClient withSex(QStringView text) const
    {
        TestClient client = *this;
        client.sex = text.toString();
        return client;
    }
    TestClient withAge(QStringView text) const
    {
        TestClient client = *this;
        client.age = text.toString();
        return client;
    }
    TestClient withYes(int k) const
    {
        TestClient client = *this;
        client.yesNo[static_cast<size_t>(k)] = true;
        return client;
    }
    TestClient withCholesterol(QStringView total, QStringView hdlText) const
    {
        TestClient client = *this;
        client.totalCholesterol = total.toString();
        client.hdl = hdlText.toString();
        return client;
    }

    ProfileInput input() const
    {
        ProfileInput input;
        for (auto [r, score] : scores)
            input.scores[static_cast<size_t>(r - 1)] = QString::number(score);
        input.yesNo = yesNo;
        input.sex = sex;
        input.age = age;
        input.totalCholesterol = totalCholesterol;
        input.hdl = hdl;
        return input;
    }
};

} // namespace halcyra::test

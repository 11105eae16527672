// The shipped catalogue: every id the program reads is there, the counts agree with the
// sections, and the reference tables (rows, percentiles, supplements, field labels, flyers)
// hold exactly the values the evaluation and the reports rest on.

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "core/Conversions.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using halcyra::Catalogue;
namespace ids = halcyra::ids;

namespace {

struct RowValues
{
    int r;
    QString name;
    int high;
    int veryHigh;
    QString analysisTitle; // null: the slot holds a paragraph, not a fixed title
};

const QList<RowValues>& expectedRows()
{
    static const QList<RowValues> rows = {
        {1, u"01. Vitamin A"_s, 3, 7, u"1.   VITAMIN A (BETA CAROTENE AND OTHER CAROTENOIDS):"_s},
        {2, u"02. B-Complex"_s, 5, 11, u"2.   VITAMIN B-COMPLEX: "_s},
        {3, u"03. Vitamin C"_s, 2, 5, u"3.   VITAMIN C: "_s},
        {4, u"04. Total Vitamins"_s, 7, 14, u"4.   TOTAL VITAMINS:"_s},
        {5, u"05. Iron"_s, 2, 5, u"5.   IRON:"_s},
        {6, u"06. Calcium and Magnesium"_s, 5, 11, u"6.   CALCIUM and MAGNESIUM:"_s},
        {7, u"07. Zinc"_s, 3, 6, u"7.   ZINC:"_s},
        {8, u"08. Total Minerals"_s, 5, 11, u"8.   TOTAL MINERAL:"_s},
        {9, u"09. Total Vitamin + Mineral"_s, 12, 21, u"9.   TOTAL VITAMINS + MINERALS:"_s},
        {10, u"10. Liver/Gall Bladder"_s, 6, 11, u"10.  LIVER/GALL BLADDER:"_s},
        {11, u"11. Colon Function"_s, 4, 8, u"11.  COLON FUNCTION:"_s},
        {12, u"12. Digestion 1"_s, 2, 101, u"12.  DIGESTION 1:"_s},
        {13, u" "_s, 2, 99, u" "_s},
        {14, u"13. Digestion 2"_s, 5, 10, u"13.  DIGESTION 2:"_s},
        {15, u"14. Gastric Imbalance"_s, 5, 10, u"14.  GASTRIC IMBALANCE:"_s},
        {16, u"15. Total Gastro-Intestinal"_s, 9, 18, u"15.  TOTAL GASTRO-INTESTINAL:"_s},
        {17, u"16. Kidney/Bladder"_s, 4, 7, u"16.  KIDNEY/BLADDER:"_s},
        {18, u"17. Adrenal Function"_s, 6, 10, u"17.  ADRENAL FUNCTION:"_s},
        {19, u"18. Female Gland"_s, 4, 8, u"18.  FEMALE GLAND:"_s},
        {20, u"19. Male Gland"_s, 4, 8, u"19.  MALE GLAND:"_s},
        {21, u"20. Pancreas/Hypoglycemia"_s, 6, 11, u"20.  PANCREAS/HYPOGLYCEMIA:"_s},
        {22, u"21. Diabetic/Pre-Diabetic"_s, 4, 8, u"21.  PANCREAS/PRE-DIABETIC OR DIABETIC:"_s},
        {23, u"22. Basic Heart Health 1"_s, 4, 7, u"22.  BASIC HEART HEALTH 1:"_s},
        {24, u" "_s, 99, 99, QString()},
        {25, u"23. Basic Heart Health 2"_s, 10, 10, u"23.  BASIC HEART HEALTH 2:"_s},
        {26, u" "_s, 99, 99, u" "_s},
        {27, u"24. Basic Heart Health 3"_s, 15, 15, u"24.  BASIC HEART HEALTH 3:"_s},
        {28, u"25. Respiratory"_s, 5, 8, u"25.  RESPIRATORY:"_s},
        {29, u"26. Thymus/Immune System"_s, 3, 6, u"26.  THYMUS/IMMUNE SYSTEM:"_s},
        {30, u"27. Yeast"_s, 5, 9, u"27.  YEAST:"_s},
        {31, u"28. Protein"_s, 5, 9, u"28.  PROTEIN:"_s},
        {32, u"29. PMS Pre-Menstrual Syndrome"_s, 7, 17, u"29.  PMS/PREMENSTRUAL SYNDROME:"_s},
        {33, u". "_s, 3, 3, u"30.  NEED A PICK UP:"_s},
        {34, u". "_s, 3, 3, u"31.  A SHARPER MIND:"_s},
        {35, u". "_s, 3, 3, u"32.  OSTEOARTHRITIS:"_s},
        {36, u". "_s, 1, 1, u"33.  LIVER BUILDER:"_s},
        {37, u". "_s, 3, 3, u"34.  CALM STOMACH:"_s},
        {38, u". "_s, 2, 2, u"35.  A MOOD LIFT:"_s},
        {39, u". "_s, 2, 2, u"36.  RELAXATION:"_s},
        {40, u". "_s, 1, 3, u"37.  HAIR AND SCALP HEALTH:"_s},
        {41, u". "_s, 2, 3, u"38.  PURE AIR:"_s},
    };
    return rows;
}

struct SupplementValues
{
    int j;
    QString name;
    int possible;
    QString unit;
    int group;
};

const QList<SupplementValues>& expectedSupplements()
{
    static const QList<SupplementValues> list = {
        {1, u"Alfalfa"_s, 10, u"Tablets"_s, 8801},
        {2, u"Fiber"_s, 6, u"Servings"_s, 8802},
        {3, u"Natural Cleansing Herbs"_s, 7, u"Tablets"_s, 8803},
        {4, u"Pure Water"_s, 5, u"- 8 glasses per day"_s, 8804},
        {5, u"Multi-Vitamin/Mineral"_s, 9, u"Tablets"_s, 8805},
        {6, u"Soy Protein"_s, 14, u"Tablespoons"_s, 8806},
        {7, u"B-Complex"_s, 11, u"Tablets"_s, 8807},
        {8, u"Vitamin C"_s, 10, u"Tablets"_s, 8808},
        {9, u"Vitamin E"_s, 5, u"Tabs or Caps"_s, 8809},
        {10, u"Carotenoid Complex"_s, 2, u"Capsules"_s, 8810},
        {11, u"Flavonoid Complex"_s, 1, u"Capsules"_s, 8811},
        {12, u"Vitamin Formula Immune"_s, 3, u"Capsules"_s, 8812},
        {13, u"Garlic"_s, 10, u"Tablets"_s, 8813},
        {14, u"Calcium and Magnesium"_s, 2, u"Tablets"_s, 8814},
        {15, u"Zinc"_s, 7, u"Tablets"_s, 8815},
        {16, u"Lecithin"_s, 6, u"Capsules"_s, 8816},
        {17, u"EPA (Eicosapentaenoic Acid)"_s, 6, u"Capsules"_s, 8817},
        {18, u"Iron"_s, 1, u"Tablets"_s, 8818},
        {19, u"Cholesterol Regulation"_s, 4, u"Tablets"_s, 8819},
        {20, u"GLA (Gamma-Linolenic Acid)"_s, 2, u"Capsules"_s, 8820},
        {21, u"Lactobacillis Acidophilus and Bifidus"_s, 1, u"Serving"_s, 8821},
        {22, u"Menopause Herbs and Cream"_s, 3, u"Serving"_s, 8822},
        {23, u"Ginseng ******"_s, 1, u"Serving (See NOTE below)"_s, 8823},
        {24, u"Echinacea"_s, 1, u"As needed (7 on, 7 off)"_s, 8824},
        {25, u"Ginkgo Biloba"_s, 4, u"Serving "_s, 8825},
        {26, u"Glucosamine Hydrochloride"_s, 1, u"Serving"_s, 8826},
        {27, u"Milk Thistle Seed"_s, 4, u"Serving"_s, 8827},
        {28, u"Peppermint & Ginger"_s, 1, u"Serving as needed."_s, 8828},
        {29, u"Saw Palmetto"_s, 2, u"(1 morn., 1 evening)"_s, 8829},
        {30, u"St. John's Wort"_s, 1, u"Serving"_s, 8830},
        {31, u"Valerian"_s, 1, u"Serving 1 hr. before bed"_s, 8831},
        {32, u"Multi-Enzyme Digestive Aid"_s, 1, u"Serving as needed"_s, 8832},
        {33, u"Coenzyme Q10"_s, 4, u"Servings"_s, 8833},
        {34, u"Clean Indoor Air"_s, 6, u"Indoors"_s, 8834},
        {35, u"Insulin Efficiency Enhancer"_s, 2, u"Servings"_s, 8835},
        {36, u"Stress Reliever ******"_s, 6, u"Servings (See NOTE below)"_s, 8836},
        {37, u"Hair & Scalp Health"_s, 2, u"Daily"_s, 8837},
        {38, u"Pain Reliever"_s, 1, u"Serving as needed"_s, 8838},
        {39, u"Pain Cream"_s, 1, u"as needed"_s, 8839},
        {40, u"Interferon Enhancer"_s, 4, u"Tablets"_s, 8812},
    };
    return list;
}

QList<int> range(int first, int last, int step = 1)
{
    QList<int> result;
    for (int id = first; id <= last; id += step)
        result.append(id);
    return result;
}

// The flyer groups the program reads: one per supplement and the catalogue-wide sets.
QList<int> flyerGroupIds()
{
    QList<int> groups = range(8801, 8839);
    groups << 8842 << 8844 << 8845 << 8846 << 8847 << 8848;
    return groups;
}

QList<int> flyerFileIds()
{
    QList<int> files = range(8000, 8171);
    files.removeOne(8090);
    return files;
}

} // namespace

class CatalogueLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sourceFilesLoadCleanlyAndMatchTheBuiltIn();

    void everyReadIdExists_data();
    void everyReadIdExists();
    void gapsStayEmpty();
    void counts_data();
    void counts();

    void reportRows_data();
    void reportRows();
    void blankNamedRowsAreTheSubSections();
    void fieldLabels();

    void supplementList_data();
    void supplementList();
    void flyerFiles();
    void flyerGroups();

    void reportTexts();
    void paragraphTextsUseOnlyKnownMarkup();
    void captions();
    void questionnaireLists();
    void questionnaireScoreLines();
    void bracketsAreMarkupOrAnswerBoxes();
    void intakeLists();

private:
    QString text(int id) const { return m_catalogue.LoadResString(id); }
    int number(int id) const { return halcyra::leadingInteger(text(id)); }

    Catalogue m_catalogue;
};

void CatalogueLayoutTest::initTestCase()
{
    m_catalogue = Catalogue::builtIn();
    QVERIFY(m_catalogue.size() > 0);
}

void CatalogueLayoutTest::sourceFilesLoadCleanlyAndMatchTheBuiltIn()
{
    QStringList errors;
    const Catalogue sources =
        Catalogue::fromFolder(QStringLiteral(HALCYRA_SOURCE_DIR "/resources/catalogue"), &errors);
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));

    // The program must carry what the source folder holds (a stale resource would not).
    QCOMPARE(m_catalogue.ids(), sources.ids());
    for (int id : sources.ids())
        QCOMPARE(m_catalogue.LoadResString(id), sources.LoadResString(id));
}

void CatalogueLayoutTest::everyReadIdExists_data()
{
    QTest::addColumn<QList<int>>("wanted");

    QTest::newRow("reader program") << QList<int>{ids::kReaderProgramName};
    QTest::newRow("captions") << range(1000, 1093);
    QTest::newRow("about box") << range(1150, 1158);
    QTest::newRow("help lines") << QList<int>{1171, 1210};
    QTest::newRow("report titles") << range(1310, 1313);
    QTest::newRow("report texts") << range(1410, 1424) + range(1429, 1434);
    QTest::newRow("row names") << range(1500, 1541);
    QTest::newRow("high percentiles") << range(1600, 1641);
    QTest::newRow("very high percentiles") << range(1700, 1741);

    QList<int> bibliography{ids::kBibliographyCount};
    for (int k = 1; k <= 27; ++k)
        bibliography << ids::referenceTitle(k) << ids::referenceCitation(k);
    QTest::newRow("bibliography") << bibliography;

    QList<int> analysis{ids::kAnalysisCount};
    for (int r = 1; r <= 41; ++r)
        analysis << ids::analysisTitle(r) << ids::analysisText(r);
    analysis << ids::analysisContinuation(29) << 4240 << 4241 << range(4800, 4803);
    QTest::newRow("analysis") << analysis;

    QList<int> supplementIds{ids::kSupplementCount};
    for (int j = 1; j <= 40; ++j)
        supplementIds << range(ids::supplementName(j), ids::supplementFlyerGroup(j));
    QTest::newRow("supplements") << supplementIds;

    QList<int> daily{ids::kDailyIntakeCount};
    for (int n = 1; n <= 14; ++n)
        daily << ids::dailyIntakeName(n) << ids::dailyIntakeServings(n);
    QTest::newRow("daily intake list") << daily;
    QTest::newRow("mineral list") << range(5700, 5708);
    QTest::newRow("herbal list") << range(5800, 5811);
    QTest::newRow("sports list") << range(5900, 5903);

    QTest::newRow("questionnaire") << QList<int>{ids::kQuestionnaireTitle} + range(7000, 7318);
    QTest::newRow("questionnaire reminder") << QList<int>{ids::kQuestionnaireReminder};
    QTest::newRow("field labels") << range(7800, 7842) + QList<int>{7880, 7900};
    QTest::newRow("flyer files") << flyerFileIds();
    QTest::newRow("flyer groups") << flyerGroupIds();
    QTest::newRow("supplemental information") << range(8999, 9014);
    QTest::newRow("yes or no section") << range(9099, 9105);
}

void CatalogueLayoutTest::everyReadIdExists()
{
    QFETCH(QList<int>, wanted);

    QStringList missing;
    for (int id : wanted) {
        if (!m_catalogue.contains(id))
            missing << QString::number(id);
    }
    QVERIFY2(missing.isEmpty(), qPrintable(u"missing: "_s + missing.join(u' ')));
}

void CatalogueLayoutTest::gapsStayEmpty()
{
    for (int id : {8090, 8840, 8841, 8843})
        QVERIFY2(!m_catalogue.contains(id), qPrintable(QString::number(id)));
    // Nothing lies beyond a counted section's last entry.
    QVERIFY(!m_catalogue.contains(ids::supplementName(41)));
    QVERIFY(!m_catalogue.contains(ids::questionnaireLine(number(ids::kQuestionnaireCount) + 1)));
    QVERIFY(!m_catalogue.contains(ids::supplementalLine(number(ids::kSupplementalCount) + 1)));
    QVERIFY(!m_catalogue.contains(ids::yesNoQuestion(number(ids::kYesNoCount) + 1)));
    QVERIFY(!m_catalogue.contains(ids::dailyIntakeName(number(ids::kDailyIntakeCount) / 10 + 1)));
}

void CatalogueLayoutTest::counts_data()
{
    QTest::addColumn<int>("countId");
    QTest::addColumn<int>("expected");

    QTest::newRow("summary rows") << ids::kSummaryRowCount << 32;
    QTest::newRow("high") << ids::kHighCount << 41;
    QTest::newRow("very high") << ids::kVeryHighCount << 41;
    QTest::newRow("bibliography") << ids::kBibliographyCount << 27;
    QTest::newRow("analysis") << ids::kAnalysisCount << 41;
    QTest::newRow("supplements") << ids::kSupplementCount << 40;
    QTest::newRow("daily intake") << ids::kDailyIntakeCount << 140;
    QTest::newRow("minerals") << ids::kMineralCount << 8;
    QTest::newRow("herbals") << ids::kHerbalCount << 11;
    QTest::newRow("sports") << ids::kSportsCount << 3;
    QTest::newRow("questionnaire") << ids::kQuestionnaireCount << 318;
    QTest::newRow("sub-sections") << ids::kSubSectionCount << 3;
    QTest::newRow("numbered sections") << ids::kNumberedSectionCount << 38;
    QTest::newRow("supplemental") << ids::kSupplementalCount << 14;
    QTest::newRow("yes/no") << ids::kYesNoCount << 5;
}

void CatalogueLayoutTest::counts()
{
    QFETCH(int, countId);
    QFETCH(int, expected);
    QCOMPARE(m_catalogue.count(countId), expected);
}

void CatalogueLayoutTest::reportRows_data()
{
    QTest::addColumn<int>("r");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("veryHigh");
    QTest::addColumn<QString>("analysisTitle");

    for (const RowValues& row : expectedRows()) {
        QTest::addRow("row %d", row.r)
            << row.r << row.name << row.high << row.veryHigh << row.analysisTitle;
    }
}

void CatalogueLayoutTest::reportRows()
{
    QFETCH(int, r);
    QFETCH(QString, name);
    QFETCH(int, high);
    QFETCH(int, veryHigh);
    QFETCH(QString, analysisTitle);

    QCOMPARE(text(ids::rowName(r)), name);
    // Percentiles are plain numbers, so the text and its number agree.
    QCOMPARE(text(ids::rowHigh(r)), QString::number(high));
    QCOMPARE(text(ids::rowVeryHigh(r)), QString::number(veryHigh));
    if (!analysisTitle.isNull())
        QCOMPARE(text(ids::analysisTitle(r)), analysisTitle);
}

void CatalogueLayoutTest::blankNamedRowsAreTheSubSections()
{
    const int rows =
        m_catalogue.count(ids::kSubSectionCount) + m_catalogue.count(ids::kNumberedSectionCount);
    QCOMPARE(rows, 41);
    QList<int> blank;
    for (int r = 1; r <= rows; ++r) {
        if (text(ids::rowName(r)).trimmed().isEmpty())
            blank << r;
    }
    QCOMPARE(blank, (QList<int>{13, 24, 26}));
    // The Summary stops before the rows that are named only by their analysis title.
    QVERIFY(!text(ids::rowName(m_catalogue.count(ids::kSummaryRowCount))).startsWith(u'.'));
    QCOMPARE(text(ids::rowName(m_catalogue.count(ids::kSummaryRowCount) + 1)), u". "_s);
}

void CatalogueLayoutTest::fieldLabels()
{
    const QStringList expected = {
        u"Field  1"_s,  u"Field  2"_s,  u"Field  3"_s, u"Field  4"_s, u"Field  5"_s, u"Field  6"_s,
        u"Field  7"_s,  u"Field  8"_s,  u"Field  9"_s, u"Field 10"_s, u"Field 11"_s, u"Field 12"_s,
        u"Field 12A"_s, u"Field 13"_s,  u"Field 14"_s, u"Field 15"_s, u"Field 16"_s, u"Field 17"_s,
        u"Field 18"_s,  u"Field 19"_s,  u"Field 20"_s, u"Field 21"_s, u"Field 22"_s, u"Field 22A"_s,
        u"Field 23"_s,  u"Field 22B"_s, u"Field 24"_s, u"Field 25"_s, u"Field 26"_s, u"Field 27"_s,
        u"Field 28"_s,  u"Field 29"_s,  u"Field 30"_s, u"Field 31"_s, u"Field 32"_s, u"Field 33"_s,
        u"Field 34"_s,  u"Field 35"_s,  u"Field 36"_s, u"Field 37"_s, u"Field 38"_s, u"Field 39"_s,
    };
    QCOMPARE(expected.size(), 42);
    QCOMPARE(text(ids::kFieldLabelBase), u" "_s);
    QStringList labels;
    for (int r = 1; r <= 42; ++r)
        labels << text(ids::fieldLabel(r));
    QCOMPARE(labels, expected);

    // Only the last box (section 39) lies beyond the highest section shown.
    const int highestShown = m_catalogue.count(ids::kNumberedSectionCount);
    QList<int> hidden;
    for (int r = 1; r <= 42; ++r) {
        if (halcyra::leadingInteger(labels.at(r - 1).right(2)) > highestShown)
            hidden << r;
    }
    QCOMPARE(hidden, QList<int>{42});
}

void CatalogueLayoutTest::supplementList_data()
{
    QTest::addColumn<int>("j");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("possible");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("group");

    for (const SupplementValues& s : expectedSupplements())
        QTest::addRow("supplement %d", s.j) << s.j << s.name << s.possible << s.unit << s.group;
}

void CatalogueLayoutTest::supplementList()
{
    QFETCH(int, j);
    QFETCH(QString, name);
    QFETCH(int, possible);
    QFETCH(QString, unit);
    QFETCH(int, group);

    QCOMPARE(text(ids::supplementName(j)), name);
    QCOMPARE(text(ids::supplementPossible(j)), QString::number(possible));
    QCOMPARE(text(ids::supplementUnit(j)), unit);
    QCOMPARE(text(ids::supplementFlyerGroup(j)), QString::number(group));
    // The guide's list cuts names at 40 characters.
    QVERIFY(name.size() <= 40);
}

void CatalogueLayoutTest::flyerFiles()
{
    const QList<QPair<int, QString>> named = {
        {8009, u"Alfalfa.pdf"_s},      {8021, u"B-Complex.pdf"_s}, {8078, u"Fiber.pdf"_s},
        {8080, u"Garlic.pdf"_s},       {8094, u"Iron.pdf"_s},      {8100, u"Lecithin.pdf"_s},
        {8141, u"Saw Palmetto.pdf"_s}, {8166, u"Vitamin-E.pdf"_s}, {8170, u"Zinc.pdf"_s},
    };
    for (const auto& [id, file] : named)
        QCOMPARE(text(id), file);

    QSet<QString> seen;
    for (int id : flyerFileIds()) {
        const QString file = text(id);
        QVERIFY2(file.endsWith(u".pdf"_s, Qt::CaseInsensitive), qPrintable(QString::number(id)));
        QCOMPARE(file, file.trimmed());
        // Names only: the folder is added when the file is opened.
        QVERIFY2(!file.contains(u'/') && !file.contains(u'\\'), qPrintable(file));
        QVERIFY2(!seen.contains(file.toLower()), qPrintable(u"twice: "_s + file));
        seen.insert(file.toLower());
    }
    QCOMPARE(seen.size(), 171);
}

void CatalogueLayoutTest::flyerGroups()
{
    const QList<int> files = flyerFileIds();
    for (int group : flyerGroupIds()) {
        const QStringList members = text(group).split(u' ', Qt::SkipEmptyParts);
        QVERIFY2(!members.isEmpty(), qPrintable(QString::number(group)));
        for (const QString& member : members) {
            bool isNumber = false;
            const int id = member.toInt(&isNumber);
            QVERIFY2(isNumber && files.contains(id),
                     qPrintable(u"group %1 names %2"_s.arg(group).arg(member)));
        }
    }
    QCOMPARE(text(8801), u"8009"_s);
    QCOMPARE(text(8804), u"8022 8023 8024 8025 8026 8027 8028"_s);
    QCOMPARE(text(8809), u"8166"_s);

    // A supplement's group lists the supplement's own flyer.
    const QList<QPair<int, QString>> ownFlyer = {
        {1, u"Alfalfa.pdf"_s},   {2, u"Fiber.pdf"_s},   {7, u"B-Complex.pdf"_s},
        {9, u"Vitamin-E.pdf"_s}, {13, u"Garlic.pdf"_s}, {15, u"Zinc.pdf"_s},
        {16, u"Lecithin.pdf"_s}, {18, u"Iron.pdf"_s},   {29, u"Saw Palmetto.pdf"_s},
    };
    for (const auto& [j, file] : ownFlyer) {
        const int group = number(ids::supplementFlyerGroup(j));
        QStringList names;
        for (const QString& member : text(group).split(u' ', Qt::SkipEmptyParts))
            names << text(member.toInt());
        QVERIFY2(names.contains(file), qPrintable(u"supplement %1: %2"_s.arg(j).arg(file)));
    }

    // Every supplement has a group of its own, except 12 and 40, which share 8812.
    QMap<int, QList<int>> usersOfGroup;
    for (int j = 1; j <= m_catalogue.count(ids::kSupplementCount); ++j)
        usersOfGroup[number(ids::supplementFlyerGroup(j))] << j;
    QCOMPARE(usersOfGroup.size(), 39);
    QCOMPARE(usersOfGroup.value(8812), (QList<int>{12, 40}));
    for (auto it = usersOfGroup.cbegin(); it != usersOfGroup.cend(); ++it)
        QVERIFY2(m_catalogue.contains(it.key()), qPrintable(QString::number(it.key())));
}

void CatalogueLayoutTest::reportTexts()
{
    QCOMPARE(text(ids::kTitleSummary), u"Halcyra - Summary"_s);
    QCOMPARE(text(ids::kTitleAnalysis), u"Halcyra - Analysis"_s);
    QCOMPARE(text(ids::kTitleSupplementGuide), u"Halcyra - Supplement Guide"_s);
    QCOMPARE(text(ids::kTitleReport), u"Halcyra"_s);

    const QList<QPair<int, QString>> exact = {
        {1411, u"PURPOSE - To help you meet your health goals a natural way."_s},
        {1422, u" ---- No Percentile values for this category have been calculated"_s},
        {1423, u"NOT DETERMINED"_s},
        {1424, u"The statements contained in this Analysis have not been evaluated by the FDA."_s},
        {1432, u"Example: Tomorrow the sun will rise and warm the earth."_s},
        {1433, u"Just because a statement has not been evaluated by the FDA, does not make it any "
               u"less true."_s},
        {1434, u"Your physician and/or dietician should be willing to work with you "
               u"nutritionally."_s},
        {1429, u"Additionally, AOL users may need to be signed on first (before clicking OK "
               u"button below)."_s},
        {1430, u"This feature doesn't work with some email programs (such as older versions of "
               u"AOL) and with some computer settings.  Possible cause: a) firewall preventing "
               u"the Halcyra from accessing the internet, b) your email program not MAPI "
               u"compliant (check with your email program vendor)."_s},
        {1431, u"If the Send Questionnaire button doesn't send Questionnaire, try again, and "
               u"when you get to this window click on the Help button for an alternte method of "
               u"sending the Questionnaire."_s},
    };
    for (const auto& [id, expected] : exact)
        QCOMPARE(text(id), expected);

    const QList<QPair<int, QString>> beginnings = {
        {1410, u" The material in this report is based on research"_s},
        {1412, u"YOUR SCORE ---- Compare YOUR SCORE with the High and Very High Percentiles"_s},
        {1413, u" H  ---- YOUR SCORE is equal to or greater than the High Percentile column"_s},
        {1414, u"VH ---- YOUR SCORE is equal to or greater than the Very High Percentile column"_s},
        {1415, u"SA ---- YOUR SCORE is high enough to Suggest Attention"_s},
        {1416, u" The following paragraphs contain dietary information"_s},
        {1417, u"Your Halcyra suggests, when compared to others with similar problems"_s},
        {1418, u"1)  The numbers in the quantity column indicate the suggested daily intake"_s},
        {1419, u"2)  Although the above amounts are suggested based on your Halcyra"_s},
        {1420, u"2)  If you have been using supplements for more than 6 months"_s},
        {1421, u"3)  Most supplements should be spread out during the day"_s},
        {ids::kGuideNote, u"****** NOTE:"_s},
    };
    for (const auto& [id, beginning] : beginnings) {
        QVERIFY2(text(id).startsWith(beginning), qPrintable(QString::number(id)));
        // A beginning, not the whole text: these paragraphs go on.
        QVERIFY2(text(id).size() > beginning.size() + 20, qPrintable(QString::number(id)));
    }
    QVERIFY(text(1416).contains(u"[nl....[nl...."_s));
}

void CatalogueLayoutTest::paragraphTextsUseOnlyKnownMarkup()
{
    // Texts that go through the paragraph printer, where any other "[" prints as an error.
    QList<int> paragraphs = range(1410, 1424) + range(1432, 1434);
    paragraphs << ids::kGuideNote << ids::kQuestionnaireReminder << range(4800, 4803);
    for (int r = 1; r <= 41; ++r)
        paragraphs << ids::analysisTitle(r) << ids::analysisText(r);
    paragraphs << ids::analysisContinuation(29);

    static const QRegularExpression code(u"^\\[(bo....|bf....|nl....|qq....|tb[0-9. ]{4} )"_s);
    for (int id : paragraphs) {
        const QString paragraph = text(id);
        for (qsizetype at = paragraph.indexOf(u'['); at >= 0;
             at = paragraph.indexOf(u'[', at + 1)) {
            const QString rest = paragraph.mid(at);
            QVERIFY2(code.match(rest).hasMatch(),
                     qPrintable(u"%1: %2"_s.arg(id).arg(rest.left(12))));
        }
    }
}

void CatalogueLayoutTest::captions()
{
    QCOMPARE(text(1000), u"&File"_s);
    const QStringList toolTips = {u"New Record"_s,  u"Open List of Records"_s,
                                  u"Save Record"_s, u"Prints Halcyra"_s,
                                  u"Cut"_s,         u"Copy"_s,
                                  u"Paste"_s};
    for (int i = 0; i < toolTips.size(); ++i)
        QCOMPARE(text(1029 + i), toolTips.at(i));

    QStringList captionTexts;
    for (int id = 1000; id <= 1093; ++id) {
        QVERIFY2(!text(id).trimmed().isEmpty(), qPrintable(QString::number(id)));
        captionTexts << text(id);
    }
    // Every caption of the main window's menu tree and its window captions, each entry with
    // one accelerator letter of its own within its menu.
    const QStringList wanted = {
        u"&File"_s,
        u"&New"_s,
        u"&Open"_s,
        u"&Save"_s,
        u"&Page Setup..."_s,
        u"&Utilities"_s,
        u"&Backup"_s,
        u"&Restore"_s,
        u"E&xit"_s,
        u"&Edit"_s,
        u"&Undo"_s,
        u"Cu&t"_s,
        u"&Copy"_s,
        u"&Paste"_s,
        u"&View"_s,
        u"&Web Browser"_s,
        u"&Halcyra Website"_s,
        u"&My Website"_s,
        u"H&ealth Information"_s,
        u"&Scientific Advisory Board"_s,
        u"&Kiv's Files"_s,
        u"&TessalyWord"_s,
        u"&Halcyra Documents"_s,
        u"&Daily Intake Sheets"_s,
        u"&Questionnaire"_s,
        u"&Print"_s,
        u"&Halcyra"_s,
        u"&Daily Intake"_s,
        u"Set&up"_s,
        u"&Company Info."_s,
        u"&Toolbar"_s,
        u"&Status Bar"_s,
        u"&Options..."_s,
        u"&Help"_s,
        u"&Contents"_s,
        u"&About Halcyra..."_s,
        u"&Readme.txt"_s,
        u"Consultation &Outline"_s,
        u"&Purpose of Halcyra"_s,
        u"Program &Flyer"_s,
        u"Halcyra Data Entry"_s,
        u"Halcyra Client List"_s,
    };
    for (const QString& caption : wanted)
        QVERIFY2(captionTexts.contains(caption), qPrintable(caption));

    QCOMPARE(text(ids::kReaderProgramName), u"AcroRd32.exe"_s);
    QVERIFY(!text(ids::kSplashWarning).trimmed().isEmpty());
    QVERIFY(!text(ids::kReaderPathExample).trimmed().isEmpty());

    // The about box shows a web address and mails the error log to a support address.
    QStringList about;
    for (int id = 1150; id <= 1158; ++id)
        about << text(id);
    QVERIFY(about.filter(QRegularExpression(u"^https?://\\S+$"_s)).size() == 1);
    QVERIFY(about.filter(QRegularExpression(u"^[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"_s)).size() == 1);
}

void CatalogueLayoutTest::questionnaireLists()
{
    QCOMPARE(text(ids::kQuestionnaireTitle), u"Questionnaire"_s);
    QCOMPARE(text(ids::kSupplementalHeading), u"Supplemental Information"_s);
    QCOMPARE(text(ids::kYesNoHeading), u"Yes or No section"_s);
    QCOMPARE(text(ids::kQuestionnaireReminder),
             u"Please double check that you 1)followed the instructions carefully, 2)answered "
             u"ALL the questions, and 3)put your name on the form."_s);

    const QString yesNo = u"Yes[ ] No[ ] "_s;
    for (int s = 1; s <= m_catalogue.count(ids::kSupplementalCount); ++s) {
        const QString line = text(ids::supplementalLine(s));
        QVERIFY2(line.startsWith(yesNo) && line.size() > yesNo.size() + 5, qPrintable(line));
    }
    // The questions behind the main window's five boxes, in the boxes' order.
    const QStringList topics = {u"High Blood Pressure?"_s, u"Diabetes"_s, u"smoke"_s,
                                u"High Cholesterol"_s, u"Pain"_s};
    QCOMPARE(m_catalogue.count(ids::kYesNoCount), topics.size());
    for (int s = 1; s <= topics.size(); ++s) {
        const QString line = text(ids::yesNoQuestion(s));
        QVERIFY2(line.startsWith(yesNo) && line.contains(topics.at(s - 1)), qPrintable(line));
    }
    QVERIFY(text(ids::yesNoQuestion(1)).endsWith(u"Do you have High Blood Pressure?"_s));

    // Questionnaire lines: nothing the item printer would take for an unused layout.
    for (int q = 1; q <= m_catalogue.count(ids::kQuestionnaireCount); ++q) {
        const QString line = text(ids::questionnaireLine(q));
        QVERIFY2(!line.trimmed().isEmpty(), qPrintable(QString::number(q)));
        QVERIFY2(!line.startsWith(u'2') && !line.startsWith(u'['), qPrintable(line));
    }
}

void CatalogueLayoutTest::questionnaireScoreLines()
{
    static const QRegularExpression scoreLine(u"^\\((\\d+[AB]?)\\)_+"_s);
    static const QRegularExpression autoEntry(u"\\((\\d+)\\) = ([0-9AB+]+) \\(auto entry\\)"_s);
    QHash<QString, int> scoreLines;
    QHash<QString, QString> sums;
    const int count = m_catalogue.count(ids::kQuestionnaireCount);
    for (int q = 1; q <= count; ++q) {
        const QString line = text(ids::questionnaireLine(q));
        const QRegularExpressionMatch match = scoreLine.match(line);
        if (!match.hasMatch())
            continue;
        const QString section = match.captured(1);
        ++scoreLines[section];
        // Every score line is followed by its section's end marker.
        QVERIFY2(q < count, qPrintable(line));
        const QString marker = text(ids::questionnaireLine(q + 1));
        const bool caret =
            section == u"17"_s || section == u"19"_s || section == u"28"_s || section == u"29"_s;
        QCOMPARE(marker, caret ? u"^"_s : u"%"_s);
        for (auto it = autoEntry.globalMatch(line); it.hasNext();) {
            const QRegularExpressionMatch note = it.next();
            QVERIFY2(!sums.contains(note.captured(1)), qPrintable(line));
            sums.insert(note.captured(1), note.captured(2));
        }
    }

    // The typed sections have one score line each; the sums have none of their own.
    QStringList typed = {u"12A"_s, u"22A"_s, u"22B"_s};
    const QSet<int> sumSections = {4, 8, 9, 13, 15, 23, 24};
    for (int section = 1; section <= m_catalogue.count(ids::kNumberedSectionCount); ++section)
        if (!sumSections.contains(section))
            typed << QString::number(section);
    for (const QString& section : typed)
        QVERIFY2(scoreLines.value(section) == 1, qPrintable(section));
    QCOMPARE(scoreLines.size(), typed.size());

    // The notes name exactly the sums the score boxes compute.
    const QHash<QString, QString> expected = {{u"4"_s, u"1+2+3"_s},        {u"8"_s, u"5+6+7"_s},
                                              {u"9"_s, u"4+8"_s},          {u"13"_s, u"12+12A"_s},
                                              {u"15"_s, u"10+11+13+14"_s}, {u"23"_s, u"22+22A"_s},
                                              {u"24"_s, u"23+22B"_s}};
    QCOMPARE(sums, expected);
}

void CatalogueLayoutTest::bracketsAreMarkupOrAnswerBoxes()
{
    static const QRegularExpression allowed(
        u"^\\[(bo....|bf....|nl....|qq....|tb[0-9. ]{4} |( \\] No\\[ \\]))"_s);
    for (int id : m_catalogue.ids()) {
        const QString entry = text(id);
        for (qsizetype at = entry.indexOf(u'['); at >= 0; at = entry.indexOf(u'[', at + 1)) {
            const QString rest = entry.mid(at);
            // "Yes[ ] No[ ]": the answer boxes of the printed questionnaire.
            const bool answerBox =
                entry.mid(at - 3, 4) == u"Yes["_s || entry.mid(at - 2, 3) == u"No["_s;
            QVERIFY2(answerBox || allowed.match(rest).hasMatch(),
                     qPrintable(u"%1: %2"_s.arg(id).arg(rest.left(12))));
        }
    }
}

void CatalogueLayoutTest::intakeLists()
{
    const QList<QPair<QString, QString>> daily = {
        {u"Soy Protein in Milk, Juice, or Water"_s, u"2B"_s},
        {u"Multi-Vitamin/Mineral"_s, u"2B"_s},
        {u"Fiber"_s, u"1B"_s},
        {u"Alfalfa"_s, u"1B"_s},
        {u"B-Complex"_s, u"2B"_s},
        {u"Vitamin-C"_s, u"2B"_s},
        {u"Vitamin-E"_s, u"2B"_s},
        {u"Carotenoid Complex"_s, u"3B"_s},
        {u"Immunity Builders"_s, u"3B"_s},
        {u"Natural Cleansing Herbs"_s, u"1B"_s},
        {u"Pure Water"_s, u"1B"_s},
        {u"Clean Air"_s, u"3B"_s},
        {u"Coenzyme Q10"_s, u"3B"_s},
        {u"Lactobacillis Acidophilus and Bifidus"_s, u"1B"_s},
    };
    QCOMPARE(m_catalogue.count(ids::kDailyIntakeCount), 10 * daily.size());
    for (int n = 1; n <= daily.size(); ++n) {
        QCOMPARE(text(ids::dailyIntakeName(n)), daily.at(n - 1).first);
        QCOMPARE(text(ids::dailyIntakeServings(n)), daily.at(n - 1).second);
    }

    const QStringList minerals = {u"Calcium and Magnesium"_s,
                                  u"Iron"_s,
                                  u"Zinc"_s,
                                  u"Lecithin"_s,
                                  u"EPA (Eicosapentaenoic Acid)"_s,
                                  u"Cholesterol Reducer"_s,
                                  u"Garlic"_s,
                                  u"GLA (Gamma-Linolenic Acid)"_s};
    const QStringList sports = {u"Fluid & Electrolyte Replacement"_s,
                                u"Post Exercise Muscle Rebuilder"_s, u"High Energy Snacks"_s};
    auto list = [this](int countId) {
        QStringList names;
        for (int i = 1; i <= m_catalogue.count(countId); ++i)
            names << text(countId + i);
        return names;
    };
    QCOMPARE(list(ids::kMineralCount), minerals);
    QCOMPARE(list(ids::kSportsCount), sports);
    const QStringList herbals = list(ids::kHerbalCount);
    QCOMPARE(herbals.size(), 11);
    QVERIFY(herbals.contains(u"Echinacea - Defenders"_s));
    QVERIFY(herbals.contains(u"Valerian - Sleep Help"_s));
    QCOMPARE(QSet<QString>(herbals.cbegin(), herbals.cend()).size(), herbals.size());
}

QTEST_GUILESS_MAIN(CatalogueLayoutTest)
#include "tst_catalogue_layout.moc"

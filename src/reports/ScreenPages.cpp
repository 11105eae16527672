#include "reports/ScreenPages.h"

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "core/Conversions.h"
#include "reports/Markup.h"
#include "reports/ReferenceTables.h"

namespace halcyra::screen {
namespace {

constexpr int kGinsengNoteGroup = 8842;
constexpr qsizetype kSetTitleWidth = 87;
constexpr qsizetype kNameCell = 40;
constexpr qsizetype kUnitCell = 27;
constexpr qsizetype kAdjustedQuantityCell = 30;
constexpr int kHighBloodPressureSupplement = 9;
constexpr int kReactiveHypoglycemiaSupplement = 35;
constexpr qsizetype kOtherDocumentReference = 5;
constexpr qsizetype kOtherDocumentGap = 80;

const QString kLegendIndent = QString(24, u' ');

QString blanks(qsizetype n)
{
    return QString(n, u' ');
}

// The first `width` characters of the text filled up with blanks.
QString cell(const QString& text, qsizetype width)
{
    return (text + blanks(width)).left(width);
}

// A number right-aligned in two places, as " " + number cut to its last two characters.
QString twoPlaces(int number)
{
    return (u' ' + QString::number(number)).right(2);
}

// A reference value: one digit gets a blank in front, then four blanks before it.
QString valueCell(const QString& text)
{
    return blanks(4) + (leadingNumber(text) < 10 ? u' ' + text : text);
}

QString screenText(const QString& text)
{
    if (!text.contains(u'['))
        return text;
    QString converted = ConvertMarkupForScreen(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return converted;
}

QString screenTitle(const AnalysisParagraph& paragraph, const Catalogue& catalogue)
{
    const QString title = catalogue.LoadResString(paragraph.titleId);
    switch (paragraph.kind) {
    case ParagraphKind::High:
        return title + QStringLiteral("  ---  High");
    case ParagraphKind::VeryHigh:
        return title + QStringLiteral("  ---  Very High");
    case ParagraphKind::AgePrecaution:
        return title + QStringLiteral("  ---  Precautionary due to age");
    case ParagraphKind::HeartHealthPrecaution:
        return QStringLiteral("BASIC HEART HEALTH --- Precautionary due to age");
    case ParagraphKind::VitaminE:
        break;
    }
    return title;
}

QString paragraphText(const AnalysisParagraph& paragraph, const Catalogue& catalogue)
{
    QString text = QStringLiteral("\n\n") + screenText(screenTitle(paragraph, catalogue)) + u'\n';
    for (int id : paragraph.texts())
        text += screenText(catalogue.LoadResString(id)) + u'\n';
    return text;
}

} // namespace

QString pageCaption(int page)
{
    static const char* const kCaptions[] = {"Cover Page", "Summary", "Analysis", "Supplement Guide",
                                            "References"};
    if (page < kCoverPage || page > kPageCount)
        return {};
    return QString::fromLatin1(kCaptions[page - 1]);
}

QString printCaption(int page)
{
    static const char* const kCaptions[] = {"Print Cover Pg.", "Print Summary", "Print Analysis",
                                            "Print Supp Guide", "Print References"};
    if (page < kCoverPage || page > kPageCount)
        return {};
    return QString::fromLatin1(kCaptions[page - 1]);
}

bool nextEnabled(const QString& selectedDocs, int page)
{
    return selectedDocs.indexOf(u'1', page) >= 0;
}

bool previousEnabled(const QString& selectedDocs, int page)
{
    return page > 1 && selectedDocs.left(page - 1).contains(u'1');
}

int pageBeforePrevious(const QString& selectedDocs, int currentPage)
{
    // Character `page` (1-based) of `text`, empty past its end.
    auto at = [](const QString& text, int page) {
        return page >= 1 && page <= text.size() ? text[page - 1] : QChar();
    };
    const int start = currentPage;
    QString l = selectedDocs.left(currentPage - 1);
    if (l == u"000")
        l = QStringLiteral("0001");
    while (at(l, currentPage) != u'1') {
        if (currentPage <= 1)
            return start - 1; // no earlier chosen page: the same page again
        l = selectedDocs.left(currentPage - 1);
        --currentPage;
    }
    return currentPage - 1;
}

QString adviserBlock(const CompanyInfo& c, const HeaderOptions& options)
{
    using namespace company;
    const QString person = c[kFirstName] + u' ' + c[kLastName];
    QString block;
    switch (options.names) {
    case HeaderOptions::Names::Both:
        block = c[kCompanyName].isEmpty() ? person : c[kCompanyName] + u'\n' + person;
        break;
    case HeaderOptions::Names::CompanyOnly:
        block = c[kCompanyName];
        break;
    case HeaderOptions::Names::PersonOnly:
        block = person;
        break;
    }
    if (block.isEmpty())
        block = person + u'\n';
    else
        block += u'\n' + c[kAddress] + u'\n';
    block += c[kCity] + blanks(5) + c[kState] + blanks(5) + c[kZipCode] + u'\n';
    block += c[kPhone2].isEmpty() ? c[kPhone1] : c[kPhone1] + QStringLiteral(" or ") + c[kPhone2];
    const QString& fax = c[kFax];
    const QString& email = c[kEmail];
    if (options.fax && !options.email && !fax.isEmpty()) {
        block += QStringLiteral("\nFax: ") + fax;
    } else if (!options.fax && options.email && !email.isEmpty()) {
        block += QStringLiteral("\nE-mail: ") + email;
    } else if (options.fax && options.email) {
        if (!fax.isEmpty() && !email.isEmpty())
            block += QStringLiteral("\nFax: ") + fax + QStringLiteral(" - E-mail: ") + email;
        else if (!fax.isEmpty())
            block += QStringLiteral("\nFax: ") + fax;
        else if (!email.isEmpty())
            block += QStringLiteral("\nE-mail: ") + email;
    }
    return block;
}

CoverPage coverPage(const Catalogue& catalogue, const ClientDetails& client,
                    const CompanyInfo& company, const HeaderOptions& options, const QString& today)
{
    CoverPage cover;
    cover.boxes = {catalogue.LoadResString(ids::kTitleReport),
                   QStringLiteral("Customized for:"),
                   client.firstName + u' ' + client.lastName,
                   client.phone.isEmpty() ? QString() : QStringLiteral("Phone: ") + client.phone,
                   QStringLiteral("Provided By:"),
                   adviserBlock(company, options),
                   QStringLiteral("Date: ") + today};
    return cover;
}

QString summaryHeading()
{
    // Over the columns of summaryText(): the values end in columns 5 and 14, the score in 22,
    // and the category name starts in column 31.
    return QStringLiteral("  High     Very     Your\n"
                          "  Pctl.    High    Score       Category");
}

QString summaryText(const Catalogue& catalogue, const ProfileInput& profile,
                    const Evaluation& evaluation)
{
    const QString notDetermined = catalogue.LoadResString(kNotDeterminedTextId);
    QString text;
    for (int r : evaluation.summaryRows()) {
        const RowResult& row = evaluation.row(r);
        QString h = valueCell(catalogue.LoadResString(ids::rowHigh(r)));
        QString v = valueCell(catalogue.LoadResString(ids::rowVeryHigh(r)));
        const bool undetermined = veryHighNotDetermined(row);
        if (undetermined) {
            h.clear();
            v = blanks(3) + notDetermined + blanks(3);
        }
        // Right-aligned in three places; an empty box keeps its three places too, so the
        // names stay in their column.
        QString t = profile.scores[static_cast<size_t>(r - 1)].trimmed().rightJustified(3);
        if (!undetermined)
            t = blanks(2) + t;
        t += row.mark == Mark::None ? blanks(3) : summaryMarkSuffix(row.mark);
        const QString n = blanks(2) + catalogue.LoadResString(ids::rowName(r));
        if (undetermined)
            text += v + t + blanks(3) + n + u'\n';
        else if (!n.trimmed().isEmpty())
            text += h + blanks(3) + v + blanks(3) + t + blanks(3) + n + u'\n';
    }
    text += u'\n' + kLegendIndent + QStringLiteral("SA - Suggest Attention\n") + kLegendIndent +
            QStringLiteral(" H - High\n") + kLegendIndent + QStringLiteral("VH - Very High");
    return text;
}

QString analysisText(const Catalogue& catalogue, const Evaluation& evaluation)
{
    QString text;
    const AnalysisParagraph* vitaminE = nullptr;
    for (const AnalysisParagraph& paragraph : evaluation.analysis()) {
        if (paragraph.kind == ParagraphKind::VitaminE) {
            vitaminE = &paragraph;
            continue;
        }
        text += paragraphText(paragraph, catalogue);
    }
    text.remove(u']');
    if (text.isEmpty())
        text = QStringLiteral("No Scores in High or Very High Percentile.\n\n");
    if (vitaminE)
        text += paragraphText(*vitaminE, catalogue);
    return text;
}

QString supplementGuideHeading()
{
    return cell(QStringLiteral("Supplement"), kNameCell) +
           cell(QStringLiteral("Quantity"), 3 + kUnitCell) + QStringLiteral("Ref. #");
}

QStringList supplementGuideItems(const Catalogue& catalogue, const std::vector<GuideLine>& guide,
                                 const std::array<bool, kYesNoCount>& yesNo)
{
    QStringList items;
    for (const GuideLine& line : guide) {
        const int j = line.index;
        QString quantity = twoPlaces(line.quantity) + u' ' + cell(line.unit, kUnitCell);
        if (yesNo[kYesNoHighBloodPressure] && j == kHighBloodPressureSupplement)
            quantity = cell(QStringLiteral(" 1 - High Blood Pressure"), kAdjustedQuantityCell);
        else if (yesNo[kYesNoReactiveHypoglycemia] && j == kReactiveHypoglycemiaSupplement)
            quantity = cell(QStringLiteral(" 0 - Reactive Hypoglycemia"), kAdjustedQuantityCell);
        const QString references =
            twoPlaces(line.references) + QStringLiteral(" of ") + line.possible;
        items << cell(line.name, kNameCell) + quantity + references + blanks(10) +
                     catalogue.LoadResString(ids::supplementFlyerGroup(j));
    }
    items << QString()
          << QStringLiteral("IMPORTANT NOTE ABOUT: Ginseng Energy Core and Stress Reliever - %1")
                 .arg(kGinsengNoteGroup)
          << QString();
    static const std::pair<const char*, int> kSets[] = {{"Non-Toxic Home", 8844},
                                                        {"Anti-Aging and Skin Care Part 1", 8845},
                                                        {"Anti-Aging and Skin Care Part 2", 8846},
                                                        {"Weight Management", 8847},
                                                        {"Misc.", 8848}};
    for (auto [title, group] : kSets)
        items << cell(QString::fromLatin1(title), kSetTitleWidth) + QString::number(group);
    return items;
}

QString referencesText()
{
    return QStringLiteral("See PDF file.");
}

QStringList otherDocumentItems(const QStringList& lines)
{
    QStringList items;
    for (const QString& line : lines)
        items << line.left(line.size() - kOtherDocumentReference) + blanks(kOtherDocumentGap) +
                     line.right(kOtherDocumentReference);
    return items;
}

ScreenReport buildScreenReport(const Catalogue& catalogue, const ReferenceTables& tables,
                               const ProfileInput& profile, const ClientDetails& client,
                               const CompanyInfo& company, const HeaderOptions& options,
                               const QString& today)
{
    const PreparedProfile prepared = prepareProfile(profile, tables);
    const Evaluation evaluation = evaluateProfile(prepared, tables);
    ScreenReport report;
    report.cover = coverPage(catalogue, client, company, options, today);
    report.summary = summaryText(catalogue, profile, evaluation);
    report.analysis = analysisText(catalogue, evaluation);
    report.guideItems = supplementGuideItems(
        catalogue,
        listSupplementGuide(ComputeSupplementGuide(prepared), prepared.yesNo, catalogue, tables),
        prepared.yesNo);
    report.references = referencesText();
    return report;
}

QString pageText(const ScreenReport& report, int page)
{
    switch (page) {
    case kCoverPage: {
        QStringList boxes(report.cover.boxes.begin(), report.cover.boxes.end());
        return boxes.join(u'\n');
    }
    case kSummaryPage:
        return summaryHeading() + u'\n' + report.summary;
    case kAnalysisPage:
        return report.analysis;
    case kSupplementGuidePage:
        return supplementGuideHeading() + u'\n' + report.guideItems.join(u'\n');
    case kReferencesPage:
        return report.references;
    default:
        break;
    }
    return {};
}

} // namespace halcyra::screen

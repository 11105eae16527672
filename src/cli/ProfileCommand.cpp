#include "cli/ProfileCommand.h"

#include "cli/Options.h"
#include "core/CatalogueIds.h"
#include "core/ProgramState.h"
#include "records/ClientDataSource.h"
#include "records/DatabaseFile.h"
#include "reports/Evaluation.h"
#include "reports/ProfileFromRecord.h"
#include "reports/ReferenceTables.h"
#include "reports/SupplementGuide.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>

namespace halcyra::cli {
namespace {

const char* const kUsage = "(--scores S1,S2,...,S41 [--yes-no A,B,C,D,E] [--age TEXT] [--sex TEXT]"
                           " [--total-cholesterol TEXT] [--hdl TEXT] | --client ID [--folder DIR])"
                           " [--json]";
const char* const kDescription =
    "Evaluates one profile from the 41 score boxes as typed (comma-separated; missing\n"
    "trailing values count as empty) and prints the Summary rows, the Analysis titles and the\n"
    "supplement guide. --yes-no gives the five yes/no answers as 0 or 1 (high blood pressure,\n"
    "reactive hypoglycemia, smoker, high cholesterol, pain). With --json, prints one JSON\n"
    "object with the rows, the Analysis titles, the whole guide and the listed guide.\n"
    "--client evaluates the saved record with that number in the program folder's database\n"
    "(default: the adviser's program folder) instead.";

// The profile of a saved client, read from the database opened read-only.
Result<ProfileInput> profileInputFromClient(const QString& folder, qint64 id)
{
    const QString connection = QStringLiteral("profile-client");
    std::optional<Result<ProfileInput>> input;
    {
        const Status opened =
            openClientDatabase(QDir(folder).filePath(ProgramState::DatabaseFileName()), connection,
                               DatabaseAccess::ReadOnly);
        if (!opened) {
            input.emplace(fail(opened.error()));
        } else {
            QSqlDatabase db = QSqlDatabase::database(connection, false);
            if (const Result<ClientRecord> record = loadClientRecord(db, id))
                input.emplace(profileInputFromRecord(*record));
            else
                input.emplace(fail(record.error()));
        }
    }
    closeClientDatabase(connection);
    return std::move(*input);
}

QString numberText(double value)
{
    return QString::number(value, 'g', 12);
}

struct ProfileResult
{
    PreparedProfile prepared;
    Evaluation evaluation;
    SupplementGuide guide;
    std::vector<GuideLine> listed;
};

ProfileResult evaluate(const ProfileInput& input, const Catalogue& catalogue,
                       const ReferenceTables& tables)
{
    ProfileResult result;
    result.prepared = prepareProfile(input, tables);
    result.evaluation = evaluateProfile(result.prepared, tables);
    result.guide = ComputeSupplementGuide(result.prepared);
    result.listed = listSupplementGuide(result.guide, result.prepared.yesNo, catalogue, tables);
    return result;
}

QString referencesText(const GuideLine& line)
{
    return QString::number(line.references) + QStringLiteral(" of ") + line.possible;
}

QJsonObject profileJson(const ProfileResult& result, const Catalogue& catalogue)
{
    QJsonArray rows;
    for (const RowResult& row : result.evaluation.rows())
        rows.append(QJsonObject{{QStringLiteral("row"), row.row},
                                {QStringLiteral("score"), row.score},
                                {QStringLiteral("high"), row.high},
                                {QStringLiteral("veryHigh"), row.veryHigh},
                                {QStringLiteral("mark"), markText(row.mark)}});
    QJsonArray analysis;
    for (const AnalysisParagraph& paragraph : result.evaluation.analysis())
        analysis.append(printedTitle(paragraph, catalogue));
    QJsonArray guide;
    for (int j = 1; j <= kGuideSupplementCount; ++j) {
        const auto at = static_cast<size_t>(j);
        guide.append(QJsonObject{
            {QStringLiteral("index"), j},
            {QStringLiteral("name"), catalogue.LoadResString(ids::supplementName(j))},
            {QStringLiteral("quantity"), result.guide.quantity[at]},
            {QStringLiteral("references"), result.guide.references[at]},
            {QStringLiteral("possible"), catalogue.LoadResString(ids::supplementPossible(j))},
            {QStringLiteral("unit"), catalogue.LoadResString(ids::supplementUnit(j))}});
    }
    QJsonArray listed;
    for (const GuideLine& line : result.listed)
        listed.append(QJsonObject{{QStringLiteral("index"), line.index},
                                  {QStringLiteral("quantity"), QString::number(line.quantity)},
                                  {QStringLiteral("unit"), line.unit},
                                  {QStringLiteral("references"), referencesText(line)}});
    return {{QStringLiteral("rows"), rows},
            {QStringLiteral("analysis"), analysis},
            {QStringLiteral("guide"), guide},
            {QStringLiteral("listed"), listed}};
}

void writeSummary(const ProfileResult& result, const Catalogue& catalogue, QTextStream& out)
{
    out << catalogue.LoadResString(ids::kTitleSummary) << '\n'
        << QStringLiteral("High").rightJustified(6) << "  "
        << QStringLiteral("Very High").rightJustified(14) << "  "
        << QStringLiteral("Score").rightJustified(8) << "  Category\n";
    for (int r : result.evaluation.summaryRows()) {
        const RowResult& row = result.evaluation.row(r);
        const QString veryHigh = veryHighNotDetermined(row)
                                     ? catalogue.LoadResString(kNotDeterminedTextId)
                                     : numberText(row.veryHigh);
        out << numberText(row.high).rightJustified(6) << "  " << veryHigh.rightJustified(14) << "  "
            << (numberText(row.score) + summaryMarkSuffix(row.mark)).rightJustified(8) << "  "
            << catalogue.LoadResString(ids::rowName(r)) << '\n';
    }
}

void writeAnalysis(const ProfileResult& result, const Catalogue& catalogue, QTextStream& out)
{
    out << '\n' << catalogue.LoadResString(ids::kTitleAnalysis) << '\n';
    if (result.evaluation.analysis().empty())
        out << "No Scores in High or Very High Percentile.\n";
    for (const AnalysisParagraph& paragraph : result.evaluation.analysis())
        out << printedTitle(paragraph, catalogue)
            << (paragraph.style == TitleStyle::Emphasised ? "  (bold)" : "") << '\n';
}

void writeGuide(const ProfileResult& result, const Catalogue& catalogue, QTextStream& out)
{
    out << '\n'
        << catalogue.LoadResString(ids::kTitleSupplementGuide) << '\n'
        << QStringLiteral("Supplement").leftJustified(40) << ' '
        << QStringLiteral("Quantity").leftJustified(30) << " Ref. #\n";
    for (const GuideLine& line : result.listed) {
        const QString quantity =
            QString::number(line.quantity).rightJustified(2) + u' ' + line.unit;
        out << line.name.leftJustified(40) << ' ' << quantity.leftJustified(30) << ' '
            << QString::number(line.references).rightJustified(2) << " of " << line.possible
            << '\n';
    }
}

} // namespace

Result<ProfileInput> profileInputFromOptions(const Options& options)
{
    ProfileInput input;
    if (!options.isSet(QStringLiteral("scores")))
        return fail(QStringLiteral("--scores is required."));
    const QStringList scores = options.value(QStringLiteral("scores")).split(u',');
    if (scores.size() > kReportRowCount)
        return fail(QStringLiteral("--scores takes at most %1 values, %2 were given.")
                        .arg(kReportRowCount)
                        .arg(scores.size()));
    for (qsizetype i = 0; i < scores.size(); ++i)
        input.scores[static_cast<size_t>(i)] = scores.at(i);

    if (options.isSet(QStringLiteral("yes-no"))) {
        const QStringList answers = options.value(QStringLiteral("yes-no")).split(u',');
        const bool allBinary = std::all_of(answers.begin(), answers.end(),
                                           [](const QString& a) { return a == u"0" || a == u"1"; });
        if (answers.size() != kYesNoCount || !allBinary)
            return fail(
                QStringLiteral("--yes-no takes five answers, each 0 or 1, such as 0,0,1,0,0."));
        for (int k = 0; k < kYesNoCount; ++k)
            input.yesNo[static_cast<size_t>(k)] = answers.at(k) == u"1";
    }
    input.age = options.value(QStringLiteral("age"));
    input.sex = options.value(QStringLiteral("sex"));
    input.totalCholesterol = options.value(QStringLiteral("total-cholesterol"));
    input.hdl = options.value(QStringLiteral("hdl"));
    return input;
}

int ProfileCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options(name(), QString::fromLatin1(kUsage), QString::fromLatin1(kDescription));
    for (const char* value :
         {"scores", "yes-no", "age", "sex", "total-cholesterol", "hdl", "client", "folder"})
        options.addValue(QString::fromLatin1(value));
    options.addFlag(QStringLiteral("json"));
    if (const auto stop = options.parse(arguments, out, err))
        return *stop;
    std::optional<ProfileInput> input;
    if (options.isSet(QStringLiteral("client"))) {
        if (options.isSet(QStringLiteral("scores"))) {
            err << "halcyra-cli profile: give either --scores or --client, not both.\n";
            return kExitUsage;
        }
        const auto id = clientNumber(options.value(QStringLiteral("client")));
        if (!id) {
            err << "halcyra-cli profile: " << id.error() << '\n';
            return kExitUsage;
        }
        Result<ProfileInput> saved = profileInputFromClient(options.programFolder(), *id);
        if (!saved) {
            err << "halcyra-cli profile: " << saved.error() << '\n';
            return kExitFailed;
        }
        input = std::move(*saved);
    } else {
        Result<ProfileInput> given = profileInputFromOptions(options);
        if (!given) {
            err << "halcyra-cli profile: " << given.error() << '\n';
            return kExitUsage;
        }
        input = std::move(*given);
    }

    if (!m_catalogue)
        m_catalogue = Catalogue::builtIn();
    const Catalogue& catalogue = *m_catalogue;
    const ReferenceTables tables = ReferenceTables::fromCatalogue(catalogue);
    const ProfileResult result = evaluate(*input, catalogue, tables);
    if (options.isSet(QStringLiteral("json"))) {
        out << QJsonDocument(profileJson(result, catalogue)).toJson(QJsonDocument::Compact) << '\n';
        return kExitOk;
    }
    writeSummary(result, catalogue, out);
    writeAnalysis(result, catalogue, out);
    writeGuide(result, catalogue, out);
    return kExitOk;
}

} // namespace halcyra::cli

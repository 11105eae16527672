#include "core/Catalogue.h"
#include "core/Conversions.h"
#include "records/AssessmentHistory.h"
#include "records/ClientCsv.h"
#include "records/ClientCsvFormat.h"
#include "records/ClientRecord.h"
#include "records/Csv.h"
#include "records/DatabaseFile.h"
#include "records/DetailRules.h"
#include "records/ScoreRules.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <optional>

namespace halcyra {

using namespace clientcsv;

namespace {

constexpr int kLastName = 1;
constexpr int kFirstName = 2;
constexpr int kPhone = 7;
// A client already present has the same last name, first name and phone.
constexpr int kIdentity[] = {kLastName, kFirstName, kPhone};
constexpr qint64 kLargestFile = qint64(1) << 30;

// Header cells match labels and column names whatever the blanks, case or a trailing colon.
QString normalised(QString text)
{
    text = text.simplified().toCaseFolded();
    if (text.endsWith(u':'))
        text.chop(1);
    return text.trimmed();
}

QString identity(const ClientRecord& record)
{
    QStringList parts;
    for (int index : kIdentity)
        parts << record.text(columns::detail(index)).simplified().toCaseFolded();
    return parts.join(QChar(0x1F));
}

constexpr int kDate = 16;

// Why leaving a detail box keeps a text other than the one typed.
QString detailChangeReason(int column, const QString& was, const QString& now)
{
    if (column == kDate)
        return QStringLiteral("the program's form of a date (month/day/year).");
    if (was.toUpper() == now)
        return QStringLiteral("in capitals, as the window keeps it.");
    if (now == u"0")
        return QStringLiteral("as the window keeps a value that reads as 0.");
    return QStringLiteral("as the window keeps it.");
}

// What one row gives: the record, and what was refused or changed on the way.
struct ReadRow
{
    ClientRecord record;
    std::vector<ImportProblem> refused;
    std::vector<ImportChange> changed;
    QSet<int> workedOut; // score boxes set that the file has no column for
};

class RowReader
{
public:
    RowReader(const QStringList& header, const std::vector<int>& columnOf, QDate today)
        : m_header(header), m_columnOf(columnOf), m_today(today)
    {
        m_fieldOf.fill(-1);
        for (size_t i = 0; i < columnOf.size(); ++i)
            if (columnOf[i] >= 0)
                m_fieldOf[static_cast<size_t>(columnOf[i])] = static_cast<qsizetype>(i);
    }

    ReadRow read(const CsvRecord& row) const
    {
        ReadRow out;
        for (int i = 0; i < columns::kYesNoCount; ++i)
            out.record.setYesNo(i, false);
        ScoreBoxes boxes;
        bool anyScore = false;
        for (qsizetype i = 0; i < row.fields.size(); ++i) {
            const int column = m_columnOf[static_cast<size_t>(i)];
            if (column <= columns::kCustomerId) // the record number is given anew
                continue;
            const Cell cell{row, i, column, fromSpreadsheetSafe(row.fields[i])};
            if (column < columns::kDetailCount)
                readDetail(cell, out);
            else if (column < columns::yesNo(0))
                anyScore = readScore(cell, boxes, out) || anyScore;
            else
                readYesNo(cell, out);
        }
        if (anyScore)
            workOutSums(row, boxes, out);
        return out;
    }

private:
    // One cell of a row: where it is, the client column it fills and its text without the
    // spreadsheet guard.
    struct Cell
    {
        const CsvRecord& row;
        qsizetype field;
        int column;
        QString text;
    };

    void refuse(const Cell& cell, ReadRow& out, const QString& reason) const
    {
        out.refused.push_back(
            {cell.row.row, m_header[cell.field], cell.row.fields[cell.field], reason});
    }

    void readDetail(const Cell& cell, ReadRow& out) const
    {
        const QString typed = detailTextAsTyped(cell.column, cell.text);
        const int limit = detailLengthLimit(cell.column);
        if (limit > 0 && typed.size() > limit) {
            refuse(cell, out,
                   QStringLiteral("longer than the %1 characters the field holds.").arg(limit));
            return;
        }
        const DetailLeaveResult left = leaveDetailBox(cell.column, typed, m_today);
        if (left.rejected) {
            refuse(cell, out, left.message ? left.message->text : QStringLiteral("not accepted."));
            return;
        }
        // An empty cell stays empty: the window's today and zeros are for a box the adviser
        // leaves, not values the file holds.
        QString kept = cell.text.isEmpty() ? QString() : left.text;
        if (cell.column == kDate && !kept.isEmpty())
            kept = dateText(readDate(kept));
        if (kept != cell.text)
            out.changed.push_back({cell.row.row, m_header[cell.field], cell.text, kept,
                                   detailChangeReason(cell.column, cell.text, kept)});
        out.record.setText(cell.column, kept);
    }

    // Whether the cell gave a score.
    bool readScore(const Cell& cell, ScoreBoxes& boxes, ReadRow& out) const
    {
        const int box = cell.column - columns::kDetailCount + 1;
        if (cell.text.isEmpty())
            return false;
        // A sum is worked out anew, whatever the file holds.
        if (!isAutomaticScoreBox(box) && scoreTextOnLeaving(cell.text) != cell.text) {
            refuse(cell, out, QStringLiteral("a score runs from 0 to 45."));
            return false;
        }
        boxes[static_cast<size_t>(box)] = cell.text;
        return true;
    }

    void readYesNo(const Cell& cell, ReadRow& out) const
    {
        const QString answer = cell.text.trimmed().toCaseFolded();
        const int index = cell.column - columns::yesNo(0);
        if (answer.isEmpty() || answer == u"no" || answer == u"n" || answer == u"0" ||
            answer == u"false")
            out.record.setYesNo(index, false);
        else if (answer == u"yes" || answer == u"y" || answer == u"1" || answer == u"true" ||
                 answer == u"-1")
            out.record.setYesNo(index, true);
        else
            refuse(cell, out, QStringLiteral("not Yes or No."));
    }

    // The sums and section 37 as the window works them out; each that differs from the file is
    // told, or listed as worked out when the file has no column for it.
    void workOutSums(const CsvRecord& row, const ScoreBoxes& boxes, ReadRow& out) const
    {
        ScoreBoxes computed = boxes;
        recomputeAutomaticScores(computed);
        for (int box = 1; box <= kScoreBoxes; ++box) {
            const auto b = static_cast<size_t>(box);
            if (computed[b] == boxes[b])
                continue;
            const qsizetype field = m_fieldOf[static_cast<size_t>(columns::score(box))];
            if (field < 0) {
                out.workedOut.insert(box);
                continue;
            }
            out.changed.push_back(
                {row.row, m_header[field], fromSpreadsheetSafe(row.fields[field]), computed[b],
                 box == kHairAndScalpBox
                     ? QStringLiteral("as the window sets it when section 22, 23, 24 or 25 has a "
                                      "score above 0.")
                     : QStringLiteral("the sum of its sections, as the window works it out.")});
        }
        for (int box = 1; box <= kScoreBoxes; ++box)
            if (!computed[static_cast<size_t>(box)].isEmpty())
                out.record.setScore(box, computed[static_cast<size_t>(box)]);
    }

    const QStringList& m_header;
    const std::vector<int>& m_columnOf;
    std::array<qsizetype, columns::kCount> m_fieldOf{};
    QDate m_today;
};

// Adds clients as they are read, inside the import's one transaction, through one statement
// prepared once: an import of a whole practice should take seconds.
class ClientInserter
{
public:
    explicit ClientInserter(QSqlDatabase& db) : m_db(db), m_insert(db)
    {
        QStringList names;
        QStringList marks;
        for (int column = 1; column < columns::kCount; ++column) {
            names << quoted(columns::name(column));
            marks << QStringLiteral("?");
        }
        m_prepared =
            m_insert.prepare(QStringLiteral("INSERT INTO \"Customers\" (") + names.join(u',') +
                             QStringLiteral(") VALUES (") + marks.join(u',') + u')');
    }
    ClientInserter(const ClientInserter&) = delete;
    ClientInserter& operator=(const ClientInserter&) = delete;

    Result<qint64> addClient(const ClientRecord& record)
    {
        if (!m_prepared)
            return fail(m_insert.lastError().databaseText());
        for (int column = 1; column < columns::kCount; ++column)
            m_insert.bindValue(column - 1, storedValue(column, record));
        if (!m_insert.exec())
            return fail(m_insert.lastError().databaseText());
        return m_insert.lastInsertId().toLongLong();
    }

    Status addEarlier(qint64 customerId, const ClientRecord& record)
    {
        return fileAssessment(m_db, customerId, record);
    }

private:
    // A yes/no answer as 0 or 1; an empty text as NULL, as a box left empty is stored.
    static QVariant storedValue(int column, const ClientRecord& record)
    {
        const QVariant& value = record.values[static_cast<size_t>(column)];
        if (column >= columns::yesNo(0))
            return value.toInt();
        const QString text = value.toString();
        return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
    }

    QSqlDatabase& m_db;
    QSqlQuery m_insert;
    bool m_prepared = false;
};

Result<QByteArray> readImportFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot read %1: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    if (file.size() > kLargestFile)
        return fail(QStringLiteral("%1 is larger than 1 GB; it is not a client list.")
                        .arg(QDir::toNativeSeparators(path)));
    return file.readAll();
}

// What a header cell may say, normalised, and the column it names (-1 for "Assessment").
QHash<QString, int> knownColumns(const Catalogue& catalogue)
{
    QHash<QString, int> known;
    known.insert(normalised(kAssessmentLabel), -1);
    for (int column = 0; column < columns::kCount; ++column) {
        known.insert(normalised(columnLabel(catalogue, column)), column);
        known.insert(normalised(columns::name(column)), column);
    }
    return known;
}

// A large import touches every page of the client table and its indexes: room for them in
// memory, for as long as the import runs, keeps SQLite from writing pages out and reading them
// back mid-transaction.
class RoomForTheImport
{
public:
    explicit RoomForTheImport(QSqlDatabase& db) : m_db(db)
    {
        QSqlQuery cache(db);
        if (!cache.exec(QStringLiteral("PRAGMA cache_size")) || !cache.next())
            return;
        m_kept = cache.value(0).toInt();
        cache.exec(QStringLiteral("PRAGMA cache_size = -262144"));
    }
    ~RoomForTheImport()
    {
        if (m_kept)
            QSqlQuery(m_db).exec(QStringLiteral("PRAGMA cache_size = %1").arg(*m_kept));
    }
    RoomForTheImport(const RoomForTheImport&) = delete;
    RoomForTheImport& operator=(const RoomForTheImport&) = delete;

private:
    QSqlDatabase& m_db;
    std::optional<int> m_kept;
};

// The identities of the clients already in the database.
Result<QSet<QString>> presentClients(const QSqlDatabase& db)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT \"LastName\", \"FirstName\", \"Phone\" FROM "
                                   "\"Customers\"")))
        return fail(query.lastError().text());
    QSet<QString> present;
    ClientRecord key;
    while (query.next()) {
        for (int i = 0; i < 3; ++i)
            key.setText(columns::detail(kIdentity[i]), query.value(i).toString());
        present.insert(identity(key));
    }
    return present;
}

// One pass over the file's rows: the header first, then each row checked and, when writing,
// the rows that pass added as they come.
class ImportRun
{
public:
    ImportRun(QHash<QString, int> known, QSet<QString> present, ClientInserter* inserter,
              QDate today)
        : m_known(std::move(known)), m_present(std::move(present)), m_inserter(inserter),
          m_today(today)
    {}

    Status take(const CsvRecord& row) { return m_reader ? readRow(row) : readHeader(row); }
    bool hadHeader() const { return m_reader.has_value(); }
    ImportReport& report() { return m_report; }
    // The score boxes the file has no column for that the import set.
    const QSet<int>& workedOut() const { return m_workedOut; }

private:
    // The client the following earlier assessments belong to: none before the first client
    // row, and nowhere when that row was refused or is a duplicate.
    enum class Owner { None, Added, Dropped };

    Status readHeader(const CsvRecord& row);
    Status readRow(const CsvRecord& row);
    Status readEarlier(const CsvRecord& row, const ReadRow& read);
    Status readClient(const CsvRecord& row, const ReadRow& read);
    QString kindOf(const CsvRecord& row) const;
    void refuseRow(const CsvRecord& row, bool isEarlier, const QString& column,
                   const QString& value, const QString& reason);
    void keepChanges(const ReadRow& read);

    const QHash<QString, int> m_known;
    QSet<QString> m_present;
    ClientInserter* m_inserter; // none when only checking
    QDate m_today;
    ImportReport m_report;
    QStringList m_header;
    std::vector<int> m_columnOf;
    qsizetype m_assessmentField = -1;
    std::optional<RowReader> m_reader;
    Owner m_owner = Owner::None;
    QSet<int> m_workedOut;
    qint64 m_ownerId = 0;
    QString m_ownerKey;
};

Status ImportRun::readHeader(const CsvRecord& row)
{
    m_header = row.fields;
    QSet<int> seen;
    for (const QString& cell : m_header) {
        const auto found = m_known.constFind(normalised(cell));
        if (found == m_known.constEnd())
            return fail(QStringLiteral("Row %1: the header names a column \"%2\" that the "
                                       "program does not know. The first row must name the "
                                       "columns by their labels, such as \"Last Name\", "
                                       "\"Field 12A\" or \"Smoke?\".")
                            .arg(row.row)
                            .arg(cell.left(60)));
        if (seen.contains(*found))
            return fail(QStringLiteral("Row %1: the header names the column \"%2\" twice.")
                            .arg(row.row)
                            .arg(cell.left(60)));
        seen.insert(*found);
        m_columnOf.push_back(*found);
    }
    if (!seen.contains(columns::detail(kLastName)))
        return fail(QStringLiteral("Row %1: the header has no \"Last Name\" column.").arg(row.row));
    const auto at = std::find(m_columnOf.begin(), m_columnOf.end(), -1);
    m_assessmentField = at == m_columnOf.end() ? -1 : at - m_columnOf.begin();
    m_reader.emplace(m_header, m_columnOf, m_today);
    return {};
}

// "current", "earlier", or what else the row's "Assessment" cell says; empty without one.
QString ImportRun::kindOf(const CsvRecord& row) const
{
    return m_assessmentField >= 0 && row.fields.size() > m_assessmentField
               ? normalised(row.fields[m_assessmentField])
               : QString();
}

void ImportRun::refuseRow(const CsvRecord& row, bool isEarlier, const QString& column,
                          const QString& value, const QString& reason)
{
    m_report.refused.push_back({row.row, column, value, reason});
    if (!isEarlier)
        m_owner = Owner::Dropped;
}

// What the file's values became is told for the rows that are added.
void ImportRun::keepChanges(const ReadRow& read)
{
    m_report.changed.insert(m_report.changed.end(), read.changed.begin(), read.changed.end());
    m_workedOut.unite(read.workedOut);
}

Status ImportRun::readRow(const CsvRecord& row)
{
    const QString kind = kindOf(row);
    const bool isEarlier = kind == kEarlier;
    if (!isEarlier)
        ++m_report.rows;
    if (row.fields.size() != m_header.size()) {
        refuseRow(row, isEarlier, QString(), QString(),
                  QStringLiteral("%1 fields where the header has %2.")
                      .arg(row.fields.size())
                      .arg(m_header.size()));
        return {};
    }
    if (m_assessmentField >= 0 && !isEarlier && kind != kCurrent && !kind.isEmpty()) {
        refuseRow(row, isEarlier, m_header[m_assessmentField], row.fields[m_assessmentField],
                  QStringLiteral("must be \"current\" or \"earlier\"."));
        return {};
    }
    const ReadRow read = m_reader->read(row);
    if (!read.refused.empty()) {
        m_report.refused.insert(m_report.refused.end(), read.refused.begin(), read.refused.end());
        if (!isEarlier)
            m_owner = Owner::Dropped;
        return {};
    }
    return isEarlier ? readEarlier(row, read) : readClient(row, read);
}

Status ImportRun::readEarlier(const CsvRecord& row, const ReadRow& read)
{
    if (m_owner == Owner::None) {
        refuseRow(row, true, m_header[m_assessmentField], row.fields[m_assessmentField],
                  QStringLiteral("an earlier assessment must follow its client's row."));
        return {};
    }
    if (m_owner != Owner::Added)
        return {};
    if (identity(read.record) != m_ownerKey) {
        refuseRow(row, true, QString(), QString(),
                  QStringLiteral("an earlier assessment must follow the row of the same client "
                                 "(last name, first name and phone)."));
        return {};
    }
    if (m_inserter) {
        if (const Status filed = m_inserter->addEarlier(m_ownerId, read.record); !filed)
            return fail(QStringLiteral("Row %1: %2").arg(row.row).arg(filed.error()));
    }
    ++m_report.earlierAssessments;
    keepChanges(read);
    return {};
}

Status ImportRun::readClient(const CsvRecord& row, const ReadRow& read)
{
    const ClientRecord& record = read.record;
    const QString key = identity(record);
    if (m_present.contains(key)) {
        m_report.duplicates.push_back({row.row, QString(),
                                       QStringLiteral("%1 %2, %3")
                                           .arg(record.text(columns::detail(kFirstName)),
                                                record.text(columns::detail(kLastName)),
                                                record.text(columns::detail(kPhone))),
                                       QStringLiteral("already present; not added again.")});
        m_owner = Owner::Dropped;
        return {};
    }
    m_present.insert(key);
    if (m_inserter) {
        const Result<qint64> added = m_inserter->addClient(record);
        if (!added)
            return fail(QStringLiteral("Row %1: %2").arg(row.row).arg(added.error()));
        m_ownerId = *added;
    }
    m_ownerKey = key;
    m_owner = Owner::Added;
    ++m_report.imported;
    keepChanges(read);
    return {};
}

// The labels of the sums worked out, in the order of the boxes.
QStringList workedOutLabels(const Catalogue& catalogue, const QSet<int>& boxes)
{
    QStringList labels;
    for (int box = 1; box <= kScoreBoxes; ++box)
        if (boxes.contains(box))
            labels << columnLabel(catalogue, columns::score(box)).simplified();
    return labels;
}

// Keeps the import's transaction when it is to be kept and all went well, else rolls it back.
Status endImportTransaction(QSqlDatabase& db, bool keep, Status done)
{
    if (keep && !db.commit())
        done = fail(db.lastError().text());
    if (!(keep && done))
        db.rollback();
    return done;
}

// Without a write, what passed is told as what would have been added.
void countAsNotWritten(ImportReport& report)
{
    report.wouldAdd = report.imported;
    report.wouldAddEarlier = report.earlierAssessments;
    report.imported = 0;
    report.earlierAssessments = 0;
}

} // namespace

Result<ImportReport> importClientsCsv(QSqlDatabase& db, const QString& path,
                                      const Catalogue& catalogue, const ImportOptions& options)
{
    const Result<QByteArray> data = readImportFile(path);
    if (!data)
        return fail(data.error());
    const RoomForTheImport room(db);
    // Rows are checked and added as they are read, in one transaction that is kept only when
    // the file passes (or the bad rows are to be skipped). The write lock is taken before the
    // clients already there are read: a second import running at the same time waits, then
    // sees what the first one added.
    const bool writing = !options.dryRun;
    if (writing) {
        if (const Status begun = beginWrite(db); !begun)
            return fail(begun.error());
    }
    Result<QSet<QString>> present = presentClients(db);
    if (!present) {
        if (writing)
            db.rollback();
        return fail(present.error());
    }
    std::optional<ClientInserter> inserter;
    if (writing)
        inserter.emplace(db);
    ImportRun run(knownColumns(catalogue), std::move(*present), inserter ? &*inserter : nullptr,
                  options.today);

    const Result<CsvFormat> read = forEachCsvRecord(
        *data, [&](const CsvRecord& row) { return run.take(row); }, options.encoding);
    Status done = read ? Status() : fail(read.error());
    ImportReport& report = run.report();
    if (read) {
        report.encoding = read->encoding;
        report.encodingGuessed = read->encodingGuessed;
    }
    report.workedOut = workedOutLabels(catalogue, run.workedOut());
    if (done && !run.hadHeader())
        done = fail(QStringLiteral("The file is empty: it needs a header row naming the columns."));
    const bool keep =
        done && writing && (report.refused.empty() || options.skipBad) && report.imported > 0;
    inserter.reset();
    if (writing)
        done = endImportTransaction(db, keep, done);
    if (!done)
        return fail(writing && read ? QStringLiteral("Nothing was imported: %1").arg(done.error())
                                    : done.error());
    report.written = keep;
    if (!keep)
        countAsNotWritten(report);
    return report;
}

QStringList importReportLines(const ImportReport& report, const ImportOptions& options)
{
    // A value as the terminal can show it, whatever control characters it holds.
    auto shown = [](const QString& value) {
        const QString text = visibleControls(value.left(40));
        return value.size() > 40 ? text + QStringLiteral("...") : text;
    };
    QStringList lines;
    for (const ImportProblem& p : report.refused)
        lines << (p.column.isEmpty() ? QStringLiteral("Row %1: %2").arg(p.row).arg(p.reason)
                                     : QStringLiteral("Row %1, %2 \"%3\": %4")
                                           .arg(p.row)
                                           .arg(p.column.simplified(), shown(p.value), p.reason));
    for (const ImportChange& c : report.changed)
        lines << QStringLiteral("Row %1, %2 \"%3\": stored as \"%4\", %5")
                     .arg(c.row)
                     .arg(c.column.simplified(), shown(c.was), shown(c.now), c.why);
    if (!report.workedOut.isEmpty())
        lines << QStringLiteral("Not in the file, so worked out from the sections as the window "
                                "does: %1.")
                     .arg(report.workedOut.join(QStringLiteral(", ")));
    for (const ImportProblem& p : report.duplicates)
        lines << QStringLiteral("Row %1: %2 is %3").arg(p.row).arg(shown(p.value), p.reason);
    lines << importSummary(report, options);
    return lines;
}

QString importSummary(const ImportReport& report, const ImportOptions& options)
{
    const QString clients = QStringLiteral("client");
    const QString clientsMany = QStringLiteral("clients");
    QString summary =
        QStringLiteral("Read as %1%2: %3, %4, %5, %6 already present.")
            .arg(encodingName(report.encoding),
                 report.encodingGuessed ? QStringLiteral(", since the file is not UTF-8")
                                        : QString(),
                 counted(report.rows, QStringLiteral("client row"), QStringLiteral("client rows")),
                 counted(static_cast<qsizetype>(report.refused.size()),
                         QStringLiteral("refused value"), QStringLiteral("refused values")),
                 counted(static_cast<qsizetype>(report.changed.size()),
                         QStringLiteral("value changed or filled in"),
                         QStringLiteral("values changed or filled in")))
            .arg(report.duplicates.size());
    if (report.written)
        summary += QStringLiteral(" Added %1 and %2.")
                       .arg(counted(report.imported, clients, clientsMany),
                            counted(report.earlierAssessments, QStringLiteral("earlier assessment"),
                                    QStringLiteral("earlier assessments")));
    else if (options.dryRun)
        summary += QStringLiteral(" Checked only; %1 would be added.")
                       .arg(counted(report.wouldAdd, clients, clientsMany));
    else if (!report.refused.empty() && !options.skipBad)
        summary += QStringLiteral(" Nothing was added: correct the file, or import only the good "
                                  "rows.");
    else
        summary += QStringLiteral(" Nothing to add.");
    return summary;
}

QString importQuestion(const ImportReport& checked)
{
    QString what = counted(checked.wouldAdd, QStringLiteral("client"), QStringLiteral("clients"));
    if (checked.wouldAddEarlier > 0)
        what += QStringLiteral(" and ") + counted(checked.wouldAddEarlier,
                                                  QStringLiteral("earlier assessment"),
                                                  QStringLiteral("earlier assessments"));
    if (checked.refused.empty())
        return QStringLiteral("Add %1?").arg(what);
    QSet<int> refusedRows;
    for (const ImportProblem& p : checked.refused)
        refusedRows.insert(p.row);
    return QStringLiteral("Some values are refused. Add the %1 whose %2 accepted, and leave out "
                          "the %3 with refused values?")
        .arg(what,
             checked.wouldAdd == 1 && checked.wouldAddEarlier == 0 ? QStringLiteral("row is")
                                                                   : QStringLiteral("rows are"),
             counted(refusedRows.size(), QStringLiteral("row"), QStringLiteral("rows")));
}

} // namespace halcyra

#pragma once

#include "core/Result.h"
#include "core/TextEncoding.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <vector>

namespace halcyra {

class Catalogue;

// The header of an exported file: every client column named by its label in the main window
// ("Last Name", "Field 12A", "Smoke?"). With history, a first column "Assessment" says whether
// a row is the client's current assessment or an earlier one.
QStringList clientCsvHeader(const Catalogue& catalogue, bool withHistory);

struct CsvExportResult
{
    int clients = 0;
    int earlierAssessments = 0;
};

// Writes every client, in record-number order, as UTF-8 CSV (with a byte order mark, so that
// spreadsheets read it as UTF-8) to `path`: whole or not at all, owner-only. Cells a
// spreadsheet would run as a formula are written as text. `withHistory` adds each client's
// earlier assessments, oldest first, after the client's row.
Result<CsvExportResult> exportClientsCsv(const QSqlDatabase& db, const QString& path,
                                         const Catalogue& catalogue, bool withHistory);

// The summary after an export: how many clients and earlier assessments went where.
QString exportSummary(const CsvExportResult& result, const QString& path, bool withHistory);

// The name the export proposes: "Halcyra clients 2026-12-08.csv".
QString proposedExportName(const QDate& today);
// The path an export writes: the name as typed, with ".csv" added when it has no extension.
QString withCsvExtension(const QString& path);

// A value refused on import: the spreadsheet row it is in, and why.
struct ImportProblem
{
    int row = 0;
    QString column; // empty for a problem of the whole row
    QString value;
    QString reason;
};

// A value the import stores other than the file has it (as the window's box would keep it,
// or a sum worked out from its sections), or fills into an empty cell.
struct ImportChange
{
    int row = 0;
    QString column;
    QString was; // as in the file, empty for an empty cell
    QString now; // as stored
    QString why; // a clause: "the program's form of a date (month/day/year)."
};

struct ImportOptions
{
    bool dryRun = false;  // check and report only
    bool skipBad = false; // import the good rows of a file with refused rows
    TextEncoding encoding = TextEncoding::Automatic;
    QDate today; // the date the refusal of a wrong date gives as its example
};

struct ImportReport
{
    int rows = 0;                          // client rows read (earlier assessments not counted)
    int imported = 0;                      // clients added
    int wouldAdd = 0;                      // clients that passed, when nothing was written
    int earlierAssessments = 0;            // earlier assessments added
    int wouldAddEarlier = 0;               // earlier assessments that passed, not written
    std::vector<ImportProblem> refused;    // one per refused value or row
    std::vector<ImportChange> changed;     // one per value stored otherwise than the file has it
    QStringList workedOut;                 // sums the file has no column for, worked out
    std::vector<ImportProblem> duplicates; // clients already present, reported, not added
    TextEncoding encoding = TextEncoding::Utf8; // how the file was read
    bool encodingGuessed = false;               // Windows-1252, because it is not UTF-8
    bool written = false;                       // whether the database was changed
};

// Reads a CSV file of clients and adds them in one transaction. Every value passes the same
// checks as the main window's boxes; a file with any refused row adds nothing unless
// `skipBad`. Nothing is made up: an empty cell stays empty, and every value stored otherwise
// than the file has it (a sum worked out anew, a date in the program's form, a state in
// capitals) is listed in `changed`. A client with the last name, first name and phone of one
// already present (or earlier in the file) is reported and not added. Fails (adds nothing)
// when the file cannot be read, is not text of its encoding, is not CSV, or its header names
// a column the program does not know.
Result<ImportReport> importClientsCsv(QSqlDatabase& db, const QString& path,
                                      const Catalogue& catalogue, const ImportOptions& options);

// The report as lines for a person: each refused value, each value changed or filled in, the
// sums worked out, each duplicate, then importSummary.
QStringList importReportLines(const ImportReport& report, const ImportOptions& options);
// The last line: the encoding, the counts and what became of the file.
QString importSummary(const ImportReport& report, const ImportOptions& options);
// The question before adding what a dry run found acceptable.
QString importQuestion(const ImportReport& checked);

// "1 client", "2 clients".
QString counted(qsizetype count, const QString& one, const QString& many);

} // namespace halcyra

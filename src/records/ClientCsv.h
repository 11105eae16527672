#pragma once

#include "core/Result.h"

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

// A value refused on import: where and why.
struct ImportProblem
{
    int line = 0;
    QString column; // empty for a problem of the whole row
    QString value;
    QString reason;
};

struct ImportOptions
{
    bool dryRun = false;  // check and report only
    bool skipBad = false; // import the good rows of a file with refused rows
    QDate today;          // the date an empty date box receives
};

struct ImportReport
{
    int rows = 0;                          // client rows read (earlier assessments not counted)
    int imported = 0;                      // clients added
    int wouldAdd = 0;                      // clients that passed, when nothing was written
    int earlierAssessments = 0;            // earlier assessments added
    std::vector<ImportProblem> refused;    // one per refused value or row
    std::vector<ImportProblem> duplicates; // clients already present, reported, not added
    bool written = false;                  // whether the database was changed
};

// Reads a CSV file of clients and adds them in one transaction. Every value passes the same
// checks as the main window's boxes; a file with any refused row adds nothing unless
// `skipBad`. A client with the last name, first name and phone of one already present (or
// earlier in the file) is reported and not added. Fails (adds nothing) when the file cannot
// be read, is not CSV, or its header names a column the program does not know.
Result<ImportReport> importClientsCsv(QSqlDatabase& db, const QString& path,
                                      const Catalogue& catalogue, const ImportOptions& options);

// The report as lines for a person: counts, then each refused value and each duplicate.
QStringList importReportLines(const ImportReport& report, const ImportOptions& options);

} // namespace halcyra

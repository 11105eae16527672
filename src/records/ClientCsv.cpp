#include "records/ClientCsv.h"

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "core/Conversions.h"
#include "core/OutputFile.h"
#include "records/AssessmentHistory.h"
#include "records/ClientCsvFormat.h"
#include "records/ClientRecord.h"
#include "records/Csv.h"
#include "records/DetailRules.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace halcyra {

using namespace clientcsv;

namespace {

constexpr int kYesNoCaptionBase = 1067;

QString allColumns()
{
    QStringList names;
    for (int column = 0; column < columns::kCount; ++column)
        names << quoted(columns::name(column));
    return names.join(u',');
}

QString cellOf(int column, const QVariant& value)
{
    if (column >= columns::yesNo(0))
        return value.toInt() != 0 ? QStringLiteral("Yes") : QStringLiteral("No");
    return value.isNull() ? QString() : spreadsheetSafe(value.toString());
}

QStringList cellsOf(const ClientRecord& record)
{
    QStringList cells;
    for (int column = 0; column < columns::kCount; ++column)
        cells << cellOf(column, record.values[static_cast<size_t>(column)]);
    return cells;
}

} // namespace

QStringList clientCsvHeader(const Catalogue& catalogue, bool withHistory)
{
    QStringList header;
    if (withHistory)
        header << kAssessmentLabel;
    for (int column = 0; column < columns::kCount; ++column)
        header << columnLabel(catalogue, column);
    return header;
}

Result<CsvExportResult> exportClientsCsv(const QSqlDatabase& db, const QString& path,
                                         const Catalogue& catalogue, bool requestedHistory)
{
    bool withHistory = requestedHistory;
    OutputFile file(path);
    if (const Status opened = file.open(); !opened)
        return fail(opened.error());
    QSqlQuery clients(db);
    clients.setForwardOnly(true);
    if (!clients.exec(QStringLiteral("SELECT ") + allColumns() +
                      QStringLiteral(" FROM \"Customers\" ORDER BY \"CustomerID\"")))
        return fail(clients.lastError().text());
    QSqlQuery earlier(db);
    earlier.setForwardOnly(true);
    const std::span<const int> assessment = assessmentColumns();
    bool earlierRow = false;
    if (withHistory) {
        // A database not yet upgraded keeps no history.
        QSqlQuery table(db);
        withHistory = table.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = "
                                                "'Assessments'")) &&
                      table.next();
    }
    if (withHistory) {
        QStringList names = {QStringLiteral("\"CustomerID\"")};
        for (int column : assessment)
            names << quoted(columns::name(column));
        if (!earlier.exec(QStringLiteral("SELECT ") + names.join(u',') +
                          QStringLiteral(" FROM \"Assessments\" ORDER BY \"CustomerID\", "
                                         "\"AssessmentID\"")))
            return fail(earlier.lastError().text());
        earlierRow = earlier.next();
    }

    CsvExportResult result;
    QByteArray buffer =
        QByteArrayLiteral("\xEF\xBB\xBF") + csvLine(clientCsvHeader(catalogue, requestedHistory));
    Status written;
    auto flush = [&](bool always) {
        if (!always && buffer.size() < (1 << 20))
            return true;
        written = file.write(buffer);
        buffer.clear();
        return written.ok();
    };
    ClientRecord record;
    while (clients.next()) {
        for (int column = 0; column < columns::kCount; ++column)
            record.values[static_cast<size_t>(column)] = clients.value(column);
        ++result.clients;
        QStringList cells = cellsOf(record);
        if (!requestedHistory) {
            buffer += csvLine(cells);
        } else {
            buffer += csvLine(QStringList{kCurrent} + cells);
            if (!withHistory)
                continue;
            const qint64 id = record.customerId();
            while (earlierRow && earlier.value(0).toLongLong() <= id) {
                if (earlier.value(0).toLongLong() == id) {
                    ClientRecord visit = record;
                    for (size_t i = 0; i < assessment.size(); ++i)
                        visit.values[static_cast<size_t>(assessment[i])] =
                            earlier.value(static_cast<int>(i) + 1);
                    buffer += csvLine(QStringList{kEarlier} + cellsOf(visit));
                    ++result.earlierAssessments;
                }
                earlierRow = earlier.next();
            }
        }
        if (!flush(false))
            break;
    }
    if (clients.lastError().isValid())
        return fail(clients.lastError().text());
    if (!written || !flush(true))
        return fail(written.error());
    if (const Status committed = file.commit(); !committed)
        return fail(committed.error());
    return result;
}

QString counted(qsizetype count, const QString& one, const QString& many)
{
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

QString exportSummary(const CsvExportResult& result, const QString& path, bool withHistory)
{
    QString text = QStringLiteral("Wrote ") +
                   counted(result.clients, QStringLiteral("client"), QStringLiteral("clients"));
    if (withHistory)
        text += QStringLiteral(" and ") + counted(result.earlierAssessments,
                                                  QStringLiteral("earlier assessment"),
                                                  QStringLiteral("earlier assessments"));
    return text + QStringLiteral(" to %1.").arg(QDir::toNativeSeparators(path));
}

QString proposedExportName(const QDate& today)
{
    return QStringLiteral("Halcyra clients %1.csv").arg(today.toString(Qt::ISODate));
}

QString withCsvExtension(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty() || !QFileInfo(name).suffix().isEmpty())
        return path;
    return path.endsWith(u'.') ? path + QStringLiteral("csv") : path + QStringLiteral(".csv");
}

QString clientcsv::columnLabel(const Catalogue& catalogue, int column)
{
    if (column < columns::kDetailCount) {
        QString label = detailLabel(column);
        if (label.endsWith(u':'))
            label.chop(1);
        return label;
    }
    if (column < columns::yesNo(0))
        return catalogue.LoadResString(ids::fieldLabel(column - columns::kDetailCount + 1));
    return catalogue.LoadResString(kYesNoCaptionBase + column - columns::yesNo(0));
}

} // namespace halcyra

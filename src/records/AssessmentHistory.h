#pragma once

#include "core/Result.h"
#include "records/ClientRecord.h"

#include <QSqlDatabase>
#include <QString>
#include <span>
#include <vector>

namespace halcyra {

// The client-record columns an assessment consists of: the date, total cholesterol, HDL,
// LDL, age, the section scores and the yes/no answers.
std::span<const int> assessmentColumns();

// The client's earlier assessments, oldest first (in the order they were filed). Each is the
// client's record with the assessment's columns taken from the history, so every rule that
// reads a client record (the profile, the report) reads it unchanged.
Result<std::vector<ClientRecord>> readEarlierAssessments(const QSqlDatabase& db,
                                                         const ClientRecord& client);

// Files `record`'s assessment columns as an earlier assessment of `customerId`. Part of the
// caller's transaction. Refused when that client already has one under the same date.
Status fileAssessment(QSqlDatabase& db, qint64 customerId, const ClientRecord& record);

// Starts a new visit for a stored client, in one transaction: files the current assessment
// under its date, then clears the scores and gives the record `todayDate`. The client's details,
// age, cholesterol and yes/no answers stay as a starting point for the new visit.
Status startNewAssessment(QSqlDatabase& db, const ClientRecord& stored, const QString& todayDate);

} // namespace halcyra

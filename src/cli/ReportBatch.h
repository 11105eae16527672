#pragma once

#include "core/Result.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace halcyra::cli {

// A choice of client numbers as typed after --clients: single numbers and ranges, "1-50,77".
struct ClientRange
{
    qint64 first = 0;
    qint64 last = 0;
    bool operator==(const ClientRange&) const = default;
};
Result<QList<ClientRange>> parseClientList(const QString& text);
bool listsClient(const QList<ClientRange>& ranges, qint64 id);

// One updating line of a batch's progress: done / total, rate, time left.
QString batchProgressLine(int done, int total, qint64 elapsedMs);

// What one item of a batch came to: whether it was done in full, and what to tell the user.
struct BatchItemResult
{
    bool ok = false;
    QStringList messages;
};

// The work of one thread of a batch: whatever a thread must not share (a database connection,
// a document being written) lives in its worker.
class BatchWorker
{
public:
    virtual ~BatchWorker() = default;
    virtual BatchItemResult run(int item) = 0;
};

struct BatchHooks
{
    // Called on the worker's own thread; fails with the reason when the worker cannot start.
    std::function<Result<std::unique_ptr<BatchWorker>>(int thread)> makeWorker;
    // Called on the calling thread, in between the items, never from two threads at once.
    std::function<void(const QStringList& messages)> tell;
    std::function<void(int done, int total)> progress;
};

// Runs items 0..count-1 on `jobs` threads, each taking the next item until none is left.
// Returns the items that were not done in full, in order; an item that no worker could take
// (every worker failed to start) counts as not done.
QList<int> runBatch(int count, int jobs, const BatchHooks& hooks);

} // namespace halcyra::cli

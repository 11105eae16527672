#include "cli/ReportBatch.h"

#include <QEventLoop>
#include <QMutex>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace halcyra::cli {
namespace {

constexpr int kLookIntervalMs = 100;

std::optional<qint64> wholeNumber(QStringView text)
{
    if (text.isEmpty() ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    bool isNumber = false;
    const qint64 number = text.toLongLong(&isNumber);
    if (!isNumber || number < 1)
        return std::nullopt;
    return number;
}

QString duration(qint64 seconds)
{
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
}

// What the threads of a batch share; every member is guarded by `mutex` but `next`.
struct BatchState
{
    std::atomic<int> next{0};
    QMutex mutex;
    QStringList messages;
    std::vector<char> done; // 1 done in full, 0 not
    int finished = 0;       // items handled
    int runningWorkers = 0;
};

void work(BatchState& state, const BatchHooks& hooks, int thread, int count)
{
    Result<std::unique_ptr<BatchWorker>> made = hooks.makeWorker(thread);
    if (!made) {
        const QMutexLocker lock(&state.mutex);
        state.messages << made.error();
        --state.runningWorkers;
        return;
    }
    std::unique_ptr<BatchWorker> worker = std::move(*made);
    for (int item = state.next++; item < count; item = state.next++) {
        BatchItemResult result = worker->run(item);
        const QMutexLocker lock(&state.mutex);
        state.done[static_cast<size_t>(item)] = result.ok ? 1 : 0;
        state.messages += result.messages;
        ++state.finished;
    }
    // The worker's connection and documents belong to this thread and end with it.
    worker.reset();
    const QMutexLocker lock(&state.mutex);
    --state.runningWorkers;
}

} // namespace

Result<QList<ClientRange>> parseClientList(const QString& text)
{
    const auto wrong = [&] {
        return fail(QStringLiteral("--clients takes client numbers and ranges such as 1-50,77, "
                                   "not '%1'.")
                        .arg(text));
    };
    QList<ClientRange> ranges;
    for (QStringView part : QStringView(text).split(u',')) {
        const qsizetype dash = part.indexOf(u'-');
        const auto first = wholeNumber(dash < 0 ? part : part.left(dash));
        const auto last = dash < 0 ? first : wholeNumber(part.mid(dash + 1));
        if (!first || !last || *last < *first)
            return wrong();
        ranges << ClientRange{*first, *last};
    }
    return ranges;
}

bool listsClient(const QList<ClientRange>& ranges, qint64 id)
{
    return std::any_of(ranges.begin(), ranges.end(), [id](const ClientRange& range) {
        return id >= range.first && id <= range.last;
    });
}

QString batchProgressLine(int done, int total, qint64 elapsedMs)
{
    QString line = QStringLiteral("Reports written: %1 of %2").arg(done).arg(total);
    if (done > 0 && elapsedMs > 0) {
        const double perSecond = done * 1000.0 / static_cast<double>(elapsedMs);
        const auto left = static_cast<qint64>(std::ceil((total - done) / perSecond));
        line +=
            QStringLiteral(", %1 a second, %2 left").arg(perSecond, 0, 'f', 1).arg(duration(left));
    }
    return line;
}

QList<int> runBatch(int count, int jobs, const BatchHooks& hooks)
{
    BatchState state;
    state.done.assign(static_cast<size_t>(std::max(count, 0)), 0);
    const int threads = std::clamp(jobs, 1, std::max(count, 1));
    state.runningWorkers = threads;
    // The calling thread waits in an event loop, so that whatever a worker posts to it still
    // runs; it looks at the workers when one ends and a few times a second.
    QEventLoop loop;
    QTimer tick;
    int shown = -1;
    const auto look = [&] {
        QMutexLocker lock(&state.mutex);
        const QStringList messages = std::exchange(state.messages, {});
        const int finished = state.finished;
        const bool running = state.runningWorkers > 0;
        // The hooks write to the user's streams: not while holding up the workers.
        lock.unlock();
        if (!messages.isEmpty() && hooks.tell)
            hooks.tell(messages);
        if (finished != shown) {
            if (hooks.progress)
                hooks.progress(finished, count);
            shown = finished;
        }
        if (!running) {
            lock.relock();
            if (state.messages.isEmpty())
                loop.quit();
        }
    };
    QObject::connect(&tick, &QTimer::timeout, &loop, look);
    tick.start(kLookIntervalMs);
    // Plain threads, joined: a join returns only once a thread has ended completely, its
    // thread-local objects destroyed too (QThread::wait returns before that), so nothing of a
    // worker still runs when the program goes on to exit.
    std::vector<std::thread> workers;
    workers.reserve(static_cast<size_t>(threads));
    for (int thread = 0; thread < threads; ++thread) {
        workers.emplace_back([&state, &hooks, &loop, &look, thread, count] {
            work(state, hooks, thread, count);
            QMetaObject::invokeMethod(&loop, look, Qt::QueuedConnection);
        });
    }
    loop.exec();
    for (std::thread& worker : workers)
        worker.join();

    QList<int> notDone;
    for (int item = 0; item < count; ++item)
        if (!state.done[static_cast<size_t>(item)])
            notDone << item;
    return notDone;
}

} // namespace halcyra::cli

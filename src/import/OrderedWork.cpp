#include "import/OrderedWork.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace glyfora::fontimport {

namespace {

// How long the calling thread waits for a result before it reports again, so that a window's
// event loop keeps running and a cancel is seen quickly.
constexpr std::chrono::milliseconds ReportInterval{20};

// What the workers and the calling thread share; every field is guarded by Lock.
struct SharedState {
    std::mutex Lock;
    std::condition_variable Produced; // a result became ready, or a worker failed
    std::condition_variable Freed;    // a slot was consumed, or the work stops
    std::int64_t Next = 0;            // the next item a worker takes
    std::int64_t Consumed = 0;
    std::vector<bool> Ready; // per slot
    bool Stop = false;
    std::exception_ptr Error;
    // Who sleeps, so that a hand-off wakes a thread only when one waits: waking for every item
    // cost more than drawing a small glyph.
    std::int64_t WorkersWaiting = 0;
    bool ConsumerWaiting = false;
};

// Items a worker takes at once: fewer trips through the lock, while the window still keeps every
// worker busy.
std::int64_t BatchSize(const OrderedWork& work) {
    return std::clamp<std::int64_t>(work.Window / (4 * work.Workers), 1, 16);
}

// Produces index on this worker and marks it ready; false when it threw (the work then stops).
bool ProduceOne(const OrderedWork& work, SharedState& state, std::int64_t worker,
                std::int64_t index) {
    const std::int64_t slot = index % work.Window;
    try {
        work.Produce(worker, index, slot);
    } catch (...) {
        const std::lock_guard lock(state.Lock);
        state.Error = std::current_exception();
        state.Stop = true;
        state.Freed.notify_all();
        state.Produced.notify_all();
        return false;
    }
    const std::lock_guard lock(state.Lock);
    state.Ready[static_cast<std::size_t>(slot)] = true;
    if (state.ConsumerWaiting) {
        state.Produced.notify_all();
    }
    return !state.Stop;
}

void Work(const OrderedWork& work, SharedState& state, std::int64_t worker) {
    const std::int64_t batch = BatchSize(work);
    std::unique_lock lock(state.Lock);
    for (;;) {
        ++state.WorkersWaiting;
        state.Freed.wait(lock, [&] {
            return state.Stop || state.Next >= work.Count ||
                   state.Next < state.Consumed + work.Window;
        });
        --state.WorkersWaiting;
        if (state.Stop || state.Next >= work.Count) {
            return;
        }
        const std::int64_t first = state.Next;
        const std::int64_t end =
            std::min({work.Count, first + batch, state.Consumed + work.Window});
        state.Next = end;
        lock.unlock();
        for (std::int64_t index = first; index < end; ++index) {
            if (!ProduceOne(work, state, worker, index)) {
                return;
            }
        }
        lock.lock();
    }
}

// Waits until slot holds its result, reporting done meanwhile; false when the work stops.
bool AwaitResult(const OrderedWork& work, SharedState& state, std::int64_t slot,
                 std::int64_t done) {
    std::unique_lock lock(state.Lock);
    while (!state.Ready[static_cast<std::size_t>(slot)] && !state.Stop) {
        state.ConsumerWaiting = true;
        const std::cv_status waited = state.Produced.wait_for(lock, ReportInterval);
        state.ConsumerWaiting = false;
        if (waited == std::cv_status::timeout) {
            lock.unlock();
            const bool goOn = work.Report(done);
            lock.lock();
            state.Stop = state.Stop || !goOn;
        }
    }
    return !state.Stop;
}

// Sets Stop when the calling thread leaves, cancelled or not, so that the workers end before
// they are joined.
struct StopOnExit {
    SharedState& State;
    ~StopOnExit() {
        const std::lock_guard lock(State.Lock);
        State.Stop = true;
        State.Freed.notify_all();
    }
};

bool RunOnWorkers(const OrderedWork& work) {
    SharedState state;
    state.Ready.assign(static_cast<std::size_t>(work.Window), false);
    bool completed = false;
    {
        std::vector<std::jthread> threads;
        const StopOnExit stopOnExit{state};
        for (std::int64_t worker = 0; worker < work.Workers; ++worker) {
            threads.emplace_back([&work, &state, worker] { Work(work, state, worker); });
        }
        completed = true;
        for (std::int64_t index = 0; index < work.Count && completed; ++index) {
            const std::int64_t slot = index % work.Window;
            completed = work.Report(index) && AwaitResult(work, state, slot, index);
            if (completed) {
                work.Consume(index, slot);
                const std::lock_guard lock(state.Lock);
                state.Ready[static_cast<std::size_t>(slot)] = false;
                ++state.Consumed;
                if (state.WorkersWaiting > 0) {
                    state.Freed.notify_all();
                }
            }
        }
    }
    if (state.Error) {
        std::rethrow_exception(state.Error);
    }
    return completed && work.Report(work.Count);
}

} // namespace

std::int64_t CoreCount() {
    return std::max<std::int64_t>(std::thread::hardware_concurrency(), 1);
}

bool RunInOrder(const OrderedWork& work) {
    if (work.Workers > 1 && work.Count > 1) {
        return RunOnWorkers(work);
    }
    for (std::int64_t index = 0; index < work.Count; ++index) {
        const std::int64_t slot = index % work.Window;
        if (!work.Report(index)) {
            return false;
        }
        work.Produce(0, index, slot);
        work.Consume(index, slot);
    }
    return work.Report(work.Count);
}

} // namespace glyfora::fontimport

#include "import/OrderedWork.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <vector>

namespace glyfora::fontimport {
namespace {

// Squares 0 .. count - 1 on workers, recording what reaches the calling thread.
struct SquaresRun {
    std::vector<std::int64_t> Consumed;
    std::vector<std::int64_t> Reports;
    std::atomic<std::int64_t> Produced{0};
    std::atomic<bool> WorkerOutOfRange{false};
    bool ReportedElsewhere = false;
    bool Completed = false;

    SquaresRun(std::int64_t count, std::int64_t workers, std::int64_t window,
               std::int64_t stopAt = -1) {
        std::vector<std::int64_t> slots(static_cast<std::size_t>(window), -1);
        const std::thread::id caller = std::this_thread::get_id();
        OrderedWork work;
        work.Count = count;
        work.Workers = workers;
        work.Window = window;
        work.Produce = [&](std::int64_t worker, std::int64_t index, std::int64_t slot) {
            WorkerOutOfRange = WorkerOutOfRange || worker < 0 || worker >= workers;
            slots[static_cast<std::size_t>(slot)] = index * index;
            ++Produced;
        };
        work.Consume = [&](std::int64_t, std::int64_t slot) {
            Consumed.push_back(slots[static_cast<std::size_t>(slot)]);
        };
        work.Report = [&](std::int64_t done) {
            ReportedElsewhere = ReportedElsewhere || std::this_thread::get_id() != caller;
            Reports.push_back(done);
            return done != stopAt;
        };
        Completed = RunInOrder(work);
    }
};

TEST(OrderedWorkTest, ConsumesEveryResultInOrderWhateverTheWorkersAndWindow) {
    struct Case {
        std::int64_t Count, Workers, Window;
    };
    const Case cases[] = {{0, 1, 1},   {1, 4, 1},   {5, 1, 1},    {100, 2, 1},
                          {100, 2, 3}, {500, 4, 7}, {500, 3, 64}, {40, 8, 512}};
    for (const Case& c : cases) {
        const SquaresRun run(c.Count, c.Workers, c.Window);
        SCOPED_TRACE(testing::Message() << c.Count << " items, " << c.Workers << " workers");
        EXPECT_TRUE(run.Completed);
        ASSERT_EQ(std::ssize(run.Consumed), c.Count);
        for (std::int64_t i = 0; i < c.Count; ++i) {
            EXPECT_EQ(run.Consumed[static_cast<std::size_t>(i)], i * i);
        }
        EXPECT_EQ(run.Produced, c.Count);
        EXPECT_FALSE(run.WorkerOutOfRange);
        EXPECT_FALSE(run.ReportedElsewhere);
        ASSERT_FALSE(run.Reports.empty());
        EXPECT_EQ(run.Reports.back(), c.Count);
        EXPECT_TRUE(std::is_sorted(run.Reports.begin(), run.Reports.end()));
    }
}

TEST(OrderedWorkTest, AReportThatSaysStopEndsTheWorkAtOnce) {
    struct Case {
        std::int64_t Workers, Window, StopAt;
    };
    const Case cases[] = {{1, 1, 0}, {1, 4, 7}, {2, 1, 0}, {2, 8, 50}, {4, 16, 199}, {4, 16, 200}};
    for (const Case& c : cases) {
        const SquaresRun run(200, c.Workers, c.Window, c.StopAt);
        SCOPED_TRACE(testing::Message() << c.Workers << " workers, stop at " << c.StopAt);
        EXPECT_FALSE(run.Completed);
        EXPECT_EQ(std::ssize(run.Consumed), c.StopAt);
        // Workers never run further ahead than the window.
        EXPECT_LE(run.Produced, c.StopAt + c.Window);
        EXPECT_EQ(run.Reports.back(), c.StopAt);
    }
}

TEST(OrderedWorkTest, ReportsWhileASlowResultIsAwaited) {
    std::int64_t reports = 0;
    OrderedWork work;
    work.Count = 2;
    work.Workers = 2;
    work.Produce = [](std::int64_t, std::int64_t, std::int64_t) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    };
    work.Consume = [](std::int64_t, std::int64_t) {};
    work.Report = [&](std::int64_t) { return ++reports < 5; };
    // Without reports while waiting there would be three at most (0, 1 and 2).
    EXPECT_FALSE(RunInOrder(work));
    EXPECT_EQ(reports, 5);
}

TEST(OrderedWorkTest, AWorkersExceptionReachesTheCaller) {
    for (const std::int64_t workers : {1, 2, 4}) {
        std::int64_t consumed = 0;
        OrderedWork work;
        work.Count = 100;
        work.Workers = workers;
        work.Window = 4;
        work.Produce = [](std::int64_t, std::int64_t index, std::int64_t) {
            if (index == 30) {
                throw std::runtime_error("glyph 30");
            }
        };
        work.Consume = [&](std::int64_t, std::int64_t) { ++consumed; };
        work.Report = [](std::int64_t) { return true; };
        EXPECT_THROW(static_cast<void>(RunInOrder(work)), std::runtime_error) << workers;
        // Nothing from the failed item on is consumed.
        EXPECT_LE(consumed, 30) << workers;
    }
}

TEST(OrderedWorkTest, EveryMachineHasAtLeastOneCore) {
    EXPECT_GE(CoreCount(), JobsRange.Min);
}

} // namespace
} // namespace glyfora::fontimport

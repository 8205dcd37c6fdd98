#pragma once

#include "import/ImportOptions.h"

#include <cstdint>
#include <functional>

namespace glyfora::fontimport {

// How many workers an import may use: at least one, and more make no sense on any machine we
// know of (each holds a font face of its own).
constexpr OptionRange JobsRange{1, 256};

// One worker per core the machine reports, at least one.
[[nodiscard]] std::int64_t CoreCount();

// Work on Count items in index order, of which the slow part may run side by side. The caller keeps
// the results in Window slots of its own; item i uses slot i % Window.
struct OrderedWork {
    std::int64_t Count = 0;
    std::int64_t Workers = 1;
    std::int64_t Window = 1; // results that may wait to be consumed at once, at least 1
    // Makes item index's result in slot; worker (0 .. Workers - 1) says whose resources to use.
    // Runs on the workers' threads; two calls with the same worker never overlap.
    std::function<void(std::int64_t worker, std::int64_t index, std::int64_t slot)> Produce;
    // Takes item index's result from slot; runs on the calling thread, in index order.
    std::function<void(std::int64_t index, std::int64_t slot)> Consume;
    // Told how many items are consumed, on the calling thread, before each item and every few
    // milliseconds while a result is awaited; returning false stops the work.
    std::function<bool(std::int64_t done)> Report;
};

// Produces every item on Workers threads (on the calling thread alone when there is one worker)
// and consumes them in order, ending with Report(Count). False when Report stopped the work; every
// worker has stopped by then. An exception from a worker stops the others and is thrown here.
[[nodiscard]] bool RunInOrder(const OrderedWork& work);

} // namespace glyfora::fontimport

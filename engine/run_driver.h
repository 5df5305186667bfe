#pragma once

#include "engine/network_store.h"
#include "engine/random_source.h"
#include "engine/run_settings.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace tavrin {

// Monotonic milliseconds; only differences are used.
using MillisecondClock = std::function<std::int64_t()>;
MillisecondClock steadyClock();

struct RunHooks {
    // Called before every attempt with the progress bar's maximum and position.
    std::function<void(int maximum, int position)> progress;
    // Defaults to steadyClock().
    MillisecondClock clock;
};

struct RunResult {
    std::unique_ptr<NetworkStore> store;
    std::vector<std::int32_t> storedCi; // Tavrin1: CI of each slot; empty for Tavrin2
    float elapsedSeconds = 0.0f;
};

// Performs one run: builds the tables, seeds the source, takes the start time, runs the
// count-limited or time-limited loop of the variant. The source keeps its state afterwards,
// since an export continues the sequence. Throws std::runtime_error with a readable message
// when memory runs out.
RunResult runGeneration(const RunSettings& settings, double timeLimitSeconds, std::int32_t seed,
                        RandomSource& random, const RunHooks& hooks);

} // namespace tavrin

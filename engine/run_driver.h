#pragma once

#include "engine/network_store.h"
#include "engine/random_source.h"
#include "engine/run_settings.h"
#include "engine/time_check.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tavrin {

MillisecondClock steadyClock();

struct RunHooks {
    // Called before every attempt with the progress bar's maximum and position.
    std::function<void(int maximum, int position)> progress;
    // Defaults to steadyClock().
    MillisecondClock clock;
    // Set by another thread or a signal handler to end the run at the next attempt or offer
    // boundary, as if its limit had been reached; nullptr for none.
    const std::atomic<bool>* stop = nullptr;
};

// What a run did besides keeping networks.
struct RunStatistics {
    std::int64_t attempts = 0;
    std::int64_t offers = 0;
    // Offers whose canonical search stopped at its leaf limit: only then can two kept networks
    // be the same partial order.
    std::int64_t leafLimitedOffers = 0;
};

struct RunResult {
    std::unique_ptr<NetworkStore> store;
    std::vector<std::int32_t> storedCi; // Tavrin1: CI of each slot; empty for Tavrin2
    float elapsedSeconds = 0.0f;
    RunStatistics statistics;
    bool interrupted = false; // ended by RunHooks::stop
};

// Performs one run: builds the tables, seeds the source, takes the start time, runs the
// count-limited or time-limited loop of the variant. The source keeps its state afterwards,
// since an export continues the sequence. Throws std::runtime_error with a readable message
// when memory runs out (outOfMemoryMessage) and std::invalid_argument for settings out of
// range (M < 1, n or m outside the tables).
RunResult runGeneration(const RunSettings& settings, double timeLimitSeconds, std::int32_t seed,
                        RandomSource& random, const RunHooks& hooks);

// "Out of memory after N kept networks".
std::string outOfMemoryMessage(int keptNetworks);

// Reports progress when a hook is set; the loops call it before every attempt.
inline void reportProgress(const RunHooks& hooks, int maximum, int position) {
    if (hooks.progress) {
        hooks.progress(maximum, position);
    }
}

} // namespace tavrin

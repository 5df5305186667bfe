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

// How a run loop ended: its elapsed seconds, and whether RunHooks::stop ended it.
struct LoopEnd {
    float elapsedSeconds = 0.0f;
    bool interrupted = false;
};

// The test a loop makes at every attempt and offer boundary besides its own limit. The stop flag
// is read at each; a time-limited loop also reads the clock at each, since one attempt can take
// longer than the whole limit. Without a time check the clock is never read, so count-limited
// runs pay one relaxed load per boundary.
class RunBoundary {
public:
    explicit RunBoundary(const RunHooks& hooks, const TimeCheck* timeLimit = nullptr)
        : m_stop(hooks.stop), m_timeLimit(timeLimit) {}

    // True once the run must end; stays true.
    bool reached() {
        if (m_reached) {
            return true;
        }
        if (m_stop != nullptr && m_stop->load(std::memory_order_relaxed)) {
            m_reached = true;
            m_interrupted = true;
        } else if (m_timeLimit != nullptr && m_timeLimit->expired()) {
            m_reached = true;
        }
        return m_reached;
    }

    bool interrupted() const { return m_interrupted; }

private:
    const std::atomic<bool>* m_stop;
    const TimeCheck* m_timeLimit;
    bool m_reached = false;
    bool m_interrupted = false;
};

} // namespace tavrin

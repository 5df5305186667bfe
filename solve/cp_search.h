#pragma once

#include "solve/project.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

namespace tavrin::solve {

struct SearchLimits {
    std::int64_t failLimit = 0; // 0 = none
    double seconds = 0;         // 0 = none
    const std::atomic<bool>* stop = nullptr;

    // Whether a search begun at began that has failed fails times so far must end.
    bool reached(std::int64_t fails, std::chrono::steady_clock::time_point began) const {
        if ((failLimit > 0 && fails >= failLimit) || (stop != nullptr && stop->load())) {
            return true;
        }
        return seconds > 0
               && std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count()
                      >= seconds;
    }
};

struct SearchOutcome {
    std::vector<int> start; // the best schedule found, shorter than the given one; else empty
    int lowerBound = 0;     // proved: the optimum is at least this
    std::int64_t fails = 0;
    bool complete = false; // the search space was exhausted: the best schedule is optimal
};

// Raises the horizon from lowerBound until the constraint model (Gecode) has a schedule within
// it or upperBound is reached: each horizon a depth-first search with restarts over a start
// variable per job inside its propagated window, precedences, a cumulative constraint per
// resource and unary ones over groups of jobs that cannot overlap. A refuted horizon is a proof,
// so lowerBound rises as the search goes; the first schedule found is optimal. Deterministic
// for a fail limit without a time limit.
SearchOutcome searchSchedule(const Project& project, int lowerBound, int upperBound,
                             const SearchLimits& limits);

} // namespace tavrin::solve

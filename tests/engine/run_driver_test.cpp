#include "engine/run_driver.h"
#include "engine/time_check.h"
#include "support/literal_reference.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <gtest/gtest.h>
#include <numeric>
#include <set>
#include <stdexcept>

namespace tavrin {
namespace {

std::size_t at(int v) {
    return static_cast<std::size_t>(v);
}

TEST(TimeCheck, ReadsTheClockOnlyOnEveryHundredthCall) {
    int reads = 0;
    std::int64_t now = 0;
    TimeCheck check(
        [&] {
            ++reads;
            return now;
        },
        1.0);
    check.restart(0);
    for (int call = 1; call < 100; ++call) {
        ASSERT_FALSE(check.passed());
    }
    EXPECT_EQ(reads, 0);
    now = 1000; // exactly the limit: not past it
    EXPECT_FALSE(check.passed());
    EXPECT_EQ(reads, 1);
    now = 1001;
    for (int call = 101; call < 200; ++call) {
        ASSERT_FALSE(check.passed());
    }
    EXPECT_EQ(reads, 1);
    EXPECT_TRUE(check.passed());
    EXPECT_EQ(reads, 2);
}

TEST(TimeCheck, SecondsAreTruncatedNotRounded) {
    EXPECT_EQ(elapsedSeconds(0, 1234), 1.234f);
    EXPECT_EQ(elapsedSeconds(500, 500), 0.0f);
    EXPECT_EQ(wholeSeconds(500, 2499), 1);
    EXPECT_EQ(wholeSeconds(0, 999), 0);
    EXPECT_EQ(progressMaximum(2.9), 2);
    EXPECT_EQ(progressMaximum(1e300), INT_MAX);
}

RunSettings settingsFor(GeneratorVariant variant, int n, double target, int maxNetworks,
                        bool timeLimited = false) {
    RunSettings s = defaultRunSettings();
    s.variant = variant;
    s.activityCount = n;
    s.target = target;
    s.timeLimited = timeLimited;
    s.maxNetworks = timeLimited ? kTimeLimitedMaxNetworks : maxNetworks;
    deriveSizes(s);
    return s;
}

RunResult run(const RunSettings& settings, std::int32_t seed, double timeLimit = 0.0,
              RunHooks hooks = {}) {
    RandomSource random;
    if (!hooks.clock) {
        hooks.clock = [] { return std::int64_t{0}; };
    }
    return runGeneration(settings, timeLimit, seed, random, hooks);
}

constexpr GeneratorVariant kVariants[] = {GeneratorVariant::Tavrin1, GeneratorVariant::Tavrin2};

bool sameRun(const RunResult& a, const RunResult& b) {
    if (a.store->count() != b.store->count() || a.storedCi != b.storedCi) {
        return false;
    }
    const int words = a.store->arcWords();
    for (int s = 0; s < a.store->count(); ++s) {
        if (!std::equal(a.store->row(s), a.store->row(s) + words, b.store->row(s))) {
            return false;
        }
        if (!a.storedCi.empty()) {
            continue;
        }
        if (!(a.store->indicators(s) == b.store->indicators(s))) {
            return false;
        }
    }
    return true;
}

// The clock jumps past the 1.5 s limit during the progress report before attempt `jumpAt`;
// the boundary right after it ends the loop, whether or not a 100th attempt is near.
TEST(RunGeneration, TimeLimitedLoopsStopAtTheFirstBoundaryPastTheLimit) {
    for (GeneratorVariant variant : kVariants) {
        for (const int jumpAt : {1, 150, 200}) {
            int reports = 0;
            RunHooks hooks;
            hooks.clock = [&] { return std::int64_t{reports >= jumpAt ? 5000 : 0}; };
            hooks.progress = [&](int maximum, int position) {
                // Maximum trunc(1.5); position the whole seconds read before the report.
                EXPECT_EQ(std::make_pair(maximum, position), std::make_pair(1, 0));
                ++reports;
            };
            const RunResult result = run(settingsFor(variant, 6, 0.5, 0, true), 1, 1.5, hooks);
            EXPECT_EQ(result.statistics.attempts, jumpAt - 1);
            EXPECT_EQ(reports, jumpAt);
            EXPECT_EQ(result.elapsedSeconds, 5.0f);
            EXPECT_FALSE(result.interrupted);
        }
    }
}

// Every clock reading comes 300 ms after the one before, as when each step of a large run takes
// that long: the 2 s limit passes within the first attempts, and the run must end at the next
// boundary instead of running on to the 100th attempt.
TEST(RunGeneration, SlowTimeLimitedRunsEndWithinASecondOfTheLimit) {
    for (GeneratorVariant variant : kVariants) {
        std::int64_t now = 0;
        RunHooks hooks;
        hooks.clock = [&] { return now += 300; };
        const RunResult result = run(settingsFor(variant, 40, 0.5, 0, true), 3, 2.0, hooks);
        EXPECT_GT(result.elapsedSeconds, 2.0f);
        EXPECT_LT(result.elapsedSeconds, 3.0f);
        EXPECT_LT(result.statistics.attempts, 10);
    }
}

// Sets the stop flag during the progress report before attempt `stopAt`.
RunResult runStoppedAt(const RunSettings& settings, int stopAt, std::vector<int>* positions) {
    std::atomic<bool> stop{false};
    int reports = 0;
    RunHooks hooks;
    hooks.stop = &stop;
    hooks.progress = [&](int, int position) {
        if (positions != nullptr) {
            positions->push_back(position);
        }
        stop = ++reports >= stopAt;
    };
    return run(settings, 5, 1e9, hooks);
}

bool keptPrefix(const RunResult& part, const RunResult& whole) {
    const int words = part.store->arcWords();
    for (int s = 0; s < part.store->count(); ++s) {
        if (!std::equal(part.store->row(s), part.store->row(s) + words, whole.store->row(s))) {
            return false;
        }
    }
    return part.store->count() <= whole.store->count();
}

// A stop ends either loop as its limit would: the networks of the attempts made stay, the same
// an uninterrupted run keeps by then, and the run says it was interrupted.
TEST(RunGeneration, StopEndsTheRunAtTheNextAttempt) {
    for (GeneratorVariant variant : kVariants) {
        for (const bool timeLimited : {false, true}) {
            // The time-limited clock stands still, so only the stop can end that run.
            const RunSettings settings = settingsFor(variant, 12, 0.5, 1000, timeLimited);
            std::vector<int> positions;
            const RunResult whole = runStoppedAt(settings, 9, &positions);
            const RunResult part = runStoppedAt(settings, 5, nullptr);
            EXPECT_TRUE(part.interrupted);
            EXPECT_EQ(part.statistics.attempts, 4);
            ASSERT_EQ(positions.size(), 9u);
            if (!timeLimited) {
                EXPECT_EQ(part.store->count(), positions[4]); // kept before attempt 5
            }
            EXPECT_TRUE(keptPrefix(part, whole));
            EXPECT_EQ(part.storedCi.size(),
                      variant == GeneratorVariant::Tavrin1 ? at(part.store->count()) : 0u);
        }
    }
    // A flag that is never set changes nothing.
    for (GeneratorVariant variant : kVariants) {
        const RunSettings settings = settingsFor(variant, 12, 0.5, 300);
        std::atomic<bool> never{false};
        RunHooks hooks;
        hooks.stop = &never;
        const RunResult flagged = run(settings, 5, 0.0, hooks);
        EXPECT_FALSE(flagged.interrupted);
        EXPECT_TRUE(sameRun(flagged, run(settings, 5)));
    }
}

// Tavrin2 offers many networks per attempt: a stop set during one ends it at the next offer.
TEST(RunGeneration, StopEndsATavrin2AttemptAtTheNextOffer) {
    const RunSettings settings = settingsFor(GeneratorVariant::Tavrin2, 12, 0.5, 0, true);
    const RunResult firstAttempt = runStoppedAt(settings, 2, nullptr);
    ASSERT_GT(firstAttempt.store->count(), 3);
    std::atomic<bool> stop{false};
    int reads = 0;
    RunHooks hooks;
    hooks.stop = &stop;
    // Readings: the start, the progress report, then one per offer boundary.
    hooks.clock = [&] {
        stop = ++reads >= 5;
        return std::int64_t{0};
    };
    const RunResult result = run(settings, 5, 1e9, hooks);
    EXPECT_TRUE(result.interrupted);
    EXPECT_EQ(result.statistics.attempts, 1);
    EXPECT_LT(result.store->count(), firstAttempt.store->count());
    EXPECT_GE(result.store->count(), 1);
    EXPECT_TRUE(keptPrefix(result, firstAttempt));
}

TEST(RunGeneration, CountLimitedProgressShowsTheNetworksKeptBeforeEachAttempt) {
    for (GeneratorVariant variant : kVariants) {
        std::vector<std::pair<int, int>> progress;
        int reads = 0;
        RunHooks hooks;
        hooks.clock = [&] { return std::int64_t{reads++ == 0 ? 1000 : 3500}; };
        hooks.progress = [&](int maximum, int position) {
            progress.emplace_back(maximum, position);
        };
        const RunResult result = run(settingsFor(variant, 9, 0.5, 40), 2, 0.0, hooks);
        ASSERT_EQ(progress.size(), at(static_cast<int>(result.statistics.attempts)));
        if (variant == GeneratorVariant::Tavrin1) {
            EXPECT_EQ(result.statistics.attempts, 40); // exactly M attempts
        }
        EXPECT_EQ(progress.front(), std::make_pair(40, 0));
        for (std::size_t k = 1; k < progress.size(); ++k) {
            EXPECT_EQ(progress[k].first, 40);
            EXPECT_GE(progress[k].second, progress[k - 1].second);
            EXPECT_LT(progress[k].second, 40);
        }
        // Measured from the start reading taken before the loop.
        EXPECT_EQ(result.elapsedSeconds, 2.5f);
    }
}

TEST(RunGeneration, SameSeedGivesTheSameNetworks) {
    for (GeneratorVariant variant : kVariants) {
        const RunSettings settings = settingsFor(variant, 15, 0.5, 200);
        const RunResult first = run(settings, 77);
        EXPECT_TRUE(sameRun(first, run(settings, 77)));
        EXPECT_FALSE(sameRun(first, run(settings, 78)));
    }
}

// The smallest encoding of a relation over every renumbering: equal exactly for isomorphic
// partial orders. Brute force, for n <= 7.
std::uint64_t isomorphismKey(const testing::Relation& rel) {
    const int n = static_cast<int>(rel.size());
    std::vector<std::pair<int, int>> related;
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            if (rel[at(a)][at(b)]) {
                related.emplace_back(a, b);
            }
        }
    }
    std::vector<int> perm(at(n));
    std::iota(perm.begin(), perm.end(), 0);
    std::uint64_t best = ~std::uint64_t{0};
    do {
        std::uint64_t code = 0;
        for (const auto& [a, b] : related) {
            code |= std::uint64_t{1} << (perm[at(a)] * n + perm[at(b)]);
        }
        best = std::min(best, code);
    } while (std::next_permutation(perm.begin(), perm.end()));
    return best;
}

TEST(RunGeneration, KeptNetworksAreDifferentPartialOrders) {
    struct Case {
        GeneratorVariant variant;
        int n;
        double target;
    };
    const Case cases[] = {{GeneratorVariant::Tavrin1, 6, 0.4},
                          {GeneratorVariant::Tavrin1, 7, 0.6},
                          {GeneratorVariant::Tavrin2, 6, 0.4},
                          {GeneratorVariant::Tavrin2, 7, 0.5}};
    for (const Case& c : cases) {
        for (std::int32_t seed : {0, 1}) {
            const RunResult result = run(settingsFor(c.variant, c.n, c.target, 150), seed);
            ASSERT_EQ(result.statistics.leafLimitedOffers, 0);
            std::set<std::uint64_t> keys;
            for (int s = 0; s < result.store->count(); ++s) {
                keys.insert(isomorphismKey(testing::decodeArcSet(result.store->row(s), c.n)));
            }
            EXPECT_EQ(keys.size(), at(result.store->count())) << c.n << ' ' << seed;
        }
    }
}

// Every kept network has the target pair count, and each has its CI.
TEST(RunGeneration, KeptOrderStrengthNetworksHaveTheTargetPairCount) {
    for (const auto& [n, os] : {std::pair{14, 0.45}, std::pair{40, 0.3}, std::pair{33, 0.8}}) {
        const RunSettings settings = settingsFor(GeneratorVariant::Tavrin1, n, os, 60);
        const RunResult result = run(settings, 4);
        ASSERT_EQ(result.storedCi.size(), at(result.store->count()));
        for (int s = 0; s < result.store->count(); ++s) {
            ASSERT_EQ(popCount(result.store->row(s), result.store->arcWords()),
                      settings.targetPairCount)
                << n << ' ' << s;
        }
    }
}

TEST(RunGeneration, RefusesAZeroNetworkMaximum) {
    EXPECT_THROW(run(settingsFor(GeneratorVariant::Tavrin2, 5, 0.5, 0), 0), std::invalid_argument);
}

TEST(RunGeneration, OutOfMemoryMessageNamesTheKeptCount) {
    EXPECT_EQ(outOfMemoryMessage(1234), "Out of memory after 1234 kept networks");
}

} // namespace
} // namespace tavrin

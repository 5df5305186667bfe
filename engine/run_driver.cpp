#include "engine/run_driver.h"

#include "engine/complexity_index.h"
#include "engine/indicator_generator.h"
#include "engine/indicators.h"
#include "engine/order_strength_generator.h"

#include <chrono>
#include <new>
#include <stdexcept>
#include <string>

namespace tavrin {
namespace {

LoopEnd runIndicatorVariant(const RunSettings& settings, double timeLimitSeconds, std::int32_t seed,
                            RandomSource& random, const RunHooks& hooks, RunResult& result) {
    const int n = settings.activityCount;
    IndicatorGenerator generator(n, settings.levelCount, random);
    IndicatorMeter meter(n, settings.levelCount);
    IndicatorStoreSink sink(*result.store, meter, result.statistics);
    random.seed(seed);
    const std::int64_t startMs = hooks.clock();
    if (settings.timeLimited) {
        return generator.runTimeLimited(sink, *result.store, hooks, timeLimitSeconds,
                                        result.statistics);
    }
    return generator.runCountLimited(sink, *result.store, hooks, startMs, result.statistics);
}

LoopEnd runOrderStrengthVariant(const RunSettings& settings, double timeLimitSeconds,
                                std::int32_t seed, RandomSource& random, const RunHooks& hooks,
                                RunResult& result) {
    const int n = settings.activityCount;
    OrderStrengthGenerator generator(n, settings.removalCount, random);
    ComplexityIndex complexity(n);
    random.seed(seed);
    const std::int64_t startMs = hooks.clock();
    if (settings.timeLimited) {
        return generator.runTimeLimited(*result.store, complexity, result.storedCi, hooks,
                                        timeLimitSeconds, result.statistics);
    }
    return generator.runCountLimited(*result.store, complexity, result.storedCi, hooks, startMs,
                                     result.statistics);
}

} // namespace

MillisecondClock steadyClock() {
    return [] {
        using namespace std::chrono;
        return static_cast<std::int64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    };
}

std::string outOfMemoryMessage(int keptNetworks) {
    return "Out of memory after " + std::to_string(keptNetworks) + " kept networks";
}

RunResult runGeneration(const RunSettings& settings, double timeLimitSeconds, std::int32_t seed,
                        RandomSource& random, const RunHooks& hooks) {
    if (settings.maxNetworks < 1) {
        throw std::invalid_argument("The maximum number of networks must be at least 1");
    }
    RunHooks runHooks = hooks;
    if (!runHooks.clock) {
        runHooks.clock = steadyClock();
    }
    RunResult result;
    try {
        result.store = std::make_unique<NetworkStore>(settings.activityCount, settings.maxNetworks);
        const LoopEnd end =
            settings.variant == GeneratorVariant::Tavrin2
                ? runIndicatorVariant(settings, timeLimitSeconds, seed, random, runHooks, result)
                : runOrderStrengthVariant(settings, timeLimitSeconds, seed, random, runHooks,
                                          result);
        result.elapsedSeconds = end.elapsedSeconds;
        result.interrupted = end.interrupted;
    } catch (const std::bad_alloc&) {
        throw std::runtime_error(outOfMemoryMessage(result.store ? result.store->count() : 0));
    }
    return result;
}

} // namespace tavrin

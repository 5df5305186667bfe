#include "engine/random_source.h"
#include "engine/run_driver.h"
#include "engine/run_settings.h"

#include <benchmark/benchmark.h>

namespace {

using tavrin::GeneratorVariant;

// A whole count-limited run, tables and store included, as the Generate command makes it.
void runCountLimited(benchmark::State& state, GeneratorVariant variant) {
    tavrin::RunSettings settings = tavrin::defaultRunSettings();
    settings.variant = variant;
    settings.activityCount = static_cast<int>(state.range(0));
    settings.target = 0.5;
    settings.maxNetworks = static_cast<int>(state.range(1));
    tavrin::deriveSizes(settings);
    std::int64_t kept = 0;
    for (auto _ : state) {
        tavrin::RandomSource random;
        const tavrin::RunResult result = tavrin::runGeneration(settings, 0.0, 0, random, {});
        kept = result.store->count();
        benchmark::DoNotOptimize(kept);
    }
    state.counters["kept"] = static_cast<double>(kept);
}

void BM_Tavrin1Run(benchmark::State& state) {
    runCountLimited(state, GeneratorVariant::Tavrin1);
}
void BM_Tavrin2Run(benchmark::State& state) {
    runCountLimited(state, GeneratorVariant::Tavrin2);
}

// n, M; OS or I2 = 0.5, seed 0.
BENCHMARK(BM_Tavrin1Run)
    ->Args({30, 10000})
    ->Args({120, 1000})
    ->Args({1000, 3})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tavrin2Run)
    ->Args({30, 10000})
    ->Args({120, 1000})
    ->Args({1000, 3})
    ->Unit(benchmark::kMillisecond);

} // namespace

#include "bench/bench_networks.h"
#include "engine/indicators.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

using namespace tavrin;

constexpr int kPoolSize = 32;

// Layered networks of one level count, as the indicator generator builds them.
std::vector<WorkNetwork> layeredPool(int n, int width) {
    RandomSource random;
    random.seed(3);
    std::vector<WorkNetwork> pool;
    for (int k = 0; k < kPoolSize; ++k) {
        pool.push_back(bench::networkFromArcs(n, bench::layeredArcs(n, width, 3, random)));
    }
    return pool;
}

void BM_ProgressiveLevels(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<WorkNetwork> pool = layeredPool(n, n / 6);
    IndicatorMeter meter(n, (n + n / 6 - 1) / (n / 6));
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(meter.progressiveLevels(pool[next]));
        next = (next + 1) % pool.size();
    }
}

// Levels plus I3..I6, the work done for every kept network.
void BM_MeasureIndicators(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<WorkNetwork> pool = layeredPool(n, n / 6);
    IndicatorMeter meter(n, (n + n / 6 - 1) / (n / 6));
    std::size_t next = 0;
    for (auto _ : state) {
        meter.progressiveLevels(pool[next]);
        benchmark::DoNotOptimize(meter.measure(pool[next]));
        next = (next + 1) % pool.size();
    }
}

BENCHMARK(BM_ProgressiveLevels)->Arg(30)->Arg(120)->Arg(1000);
BENCHMARK(BM_MeasureIndicators)->Arg(30)->Arg(120)->Arg(1000);

} // namespace

#include "bench/bench_networks.h"
#include "engine/network_store.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

using namespace tavrin;

constexpr int kPoolSize = 32;

// Offers a pool of networks round and round; after the first round every offer is a duplicate,
// which costs the same search. Reports the leaves each offer evaluated.
void offerPool(benchmark::State& state, const std::vector<WorkNetwork>& pool) {
    const int n = pool.front().activityCount();
    NetworkStore store(n, 1000000);
    std::size_t next = 0;
    std::int64_t leaves = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.offer(pool[next]));
        leaves += store.lastLeafCount();
        next = (next + 1) % pool.size();
    }
    state.counters["leaves"] =
        benchmark::Counter(static_cast<double>(leaves), benchmark::Counter::kAvgIterations);
    state.counters["kept"] = static_cast<double>(store.count());
}

void BM_OfferFewEqualKeys(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    RandomSource random;
    random.seed(1);
    std::vector<WorkNetwork> pool;
    for (int k = 0; k < kPoolSize; ++k) {
        pool.push_back(bench::networkFromArcs(n, bench::randomArcs(n, 150, random)));
    }
    offerPool(state, pool);
}

void BM_OfferManyEqualKeys(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    RandomSource random;
    random.seed(2);
    std::vector<WorkNetwork> pool;
    for (int k = 0; k < kPoolSize; ++k) {
        pool.push_back(bench::networkFromArcs(n, bench::layeredArcs(n, n / 6, 1, random)));
    }
    offerPool(state, pool);
}

BENCHMARK(BM_OfferFewEqualKeys)->Arg(30)->Arg(120)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OfferManyEqualKeys)->Arg(30)->Arg(120)->Unit(benchmark::kMicrosecond);

} // namespace

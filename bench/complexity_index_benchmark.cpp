#include "engine/complexity_index.h"
#include "engine/order_strength_generator.h"
#include "engine/random_source.h"

#include <benchmark/benchmark.h>
#include <cstddef>
#include <vector>

namespace {

using tavrin::ComplexityIndex;
using tavrin::OrderStrengthGenerator;
using tavrin::RandomSource;
using tavrin::WorkNetwork;

// Networks as the order-strength generator makes them at OS = 0.5.
std::vector<WorkNetwork> orderStrengthNetworks(int n, int count) {
    RandomSource random;
    random.seed(12345);
    const int pairs = n * (n - 1) / 2;
    const int target = static_cast<int>(pairs * 0.5L + 0.05L);
    OrderStrengthGenerator generator(n, pairs - target, random);
    std::vector<WorkNetwork> networks;
    for (int k = 0; k < count; ++k) {
        generator.buildNetwork();
        networks.push_back(generator.network());
    }
    return networks;
}

// One compute() per iteration, cycling over a fixed set of networks.
void BM_ComplexityIndex(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<WorkNetwork> networks = orderStrengthNetworks(n, n >= 1000 ? 4 : 64);
    ComplexityIndex index(n);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(index.compute(networks[next]));
        next = (next + 1) % networks.size();
    }
}
BENCHMARK(BM_ComplexityIndex)->Arg(30)->Arg(120)->Arg(1000);

} // namespace

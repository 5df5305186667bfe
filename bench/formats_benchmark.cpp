#include "formats/instance_io.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>

namespace tavrin {
namespace {

using formats::InstanceFormat;

// An instance shaped like an exported one: n activities with up to three successors among the
// next forty, durations and demands 0..10, the dummies around them.
formats::Instance sampleInstance(int n, int k) {
    std::mt19937 generator(1);
    std::uniform_int_distribution<int> value(0, 10);
    formats::Instance instance;
    instance.availability.assign(static_cast<std::size_t>(k), 25);
    instance.provenance = {{"program", "Tavrin"}, {"version", "1.0.0"}, {"seed", "1"}};
    instance.jobs.resize(static_cast<std::size_t>(n + 2));
    std::vector<bool> hasPredecessor(static_cast<std::size_t>(n + 2), false);
    for (int j = 1; j <= n; ++j) {
        formats::Job& job = instance.jobs[static_cast<std::size_t>(j)];
        job.duration = 1 + value(generator) % 10;
        for (int r = 0; r < k; ++r) {
            job.demands.push_back(value(generator));
        }
        std::uniform_int_distribution<int> next(j + 1, std::min(n, j + 40));
        for (int s = 0; s < 3 && j < n; ++s) {
            const int successor = next(generator);
            if (std::find(job.successors.begin(), job.successors.end(), successor)
                == job.successors.end()) {
                job.successors.push_back(successor);
                hasPredecessor[static_cast<std::size_t>(successor)] = true;
            }
        }
        if (job.successors.empty()) {
            job.successors.push_back(n + 1);
        }
    }
    for (int j = 1; j <= n; ++j) {
        if (!hasPredecessor[static_cast<std::size_t>(j)]) {
            instance.jobs.front().successors.push_back(j);
        }
    }
    instance.jobs.front().demands.assign(static_cast<std::size_t>(k), 0);
    instance.jobs.back().demands.assign(static_cast<std::size_t>(k), 0);
    return instance;
}

// One instance written over and over into the same string, as a batch does.
void writeFormat(benchmark::State& state) {
    const auto format = static_cast<InstanceFormat>(state.range(0));
    const formats::Instance instance =
        sampleInstance(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    std::string bytes;
    for (auto _ : state) {
        formats::writeInstance(format, instance, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    state.SetLabel(std::string(formats::formatName(format)));
}

void formatArguments(benchmark::internal::Benchmark* benchmark) {
    for (const int n : {30, 1000}) {
        for (const InstanceFormat format :
             {InstanceFormat::Rcp, InstanceFormat::Sm, InstanceFormat::Json, InstanceFormat::Dzn}) {
            benchmark->Args({static_cast<int>(format), n, 4});
        }
    }
}

BENCHMARK(writeFormat)->Apply(formatArguments);

} // namespace
} // namespace tavrin

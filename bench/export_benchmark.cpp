#include "bench_networks.h"
#include "export/export_batch.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

namespace tavrin {
namespace {

namespace fs = std::filesystem;

// One batch of `files` instances of n activities and K resources (RF 0.5, RS 0.5: the draws of
// both demand steps are made) written to a tmpfs, so that the completion is what is measured.
void exportBatch(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int k = static_cast<int>(state.range(1));
    const int files = static_cast<int>(state.range(2));
    const auto networks = bench::storedNetworks(n, 100, 1);
    const ArcSetRows rows = [&](int slot) {
        return networks[static_cast<std::size_t>(slot) % networks.size()].data();
    };
    RunSettings settings = defaultRunSettings();
    settings.activityCount = n;
    settings.resourceCount = k;
    settings.resourceFactor = 0.5;
    settings.demandMeasure = DemandMeasure::ResourceStrength;
    settings.resourceStrength = 0.5;
    const fs::path dir = fs::path("/dev/shm") / "tavrin_export_benchmark";
    ExportBatch batch(n, settings);
    RandomSource random;
    random.seed(0);
    std::int64_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(dir);
        fs::create_directories(dir);
        ExportPool pool;
        pool.rebuildTavrin1(std::vector<std::int32_t>(static_cast<std::size_t>(files), 0), 0, 0);
        state.ResumeTiming();
        const ExportBatchResult result =
            batch.run(rows, pool, random, {dir.string(), "Pat", files, 1});
        if (result.error) {
            state.SkipWithError(result.error->c_str());
            break;
        }
        state.PauseTiming();
        for (const auto& entry : fs::directory_iterator(dir)) {
            bytes += static_cast<std::int64_t>(entry.file_size());
        }
        state.ResumeTiming();
    }
    fs::remove_all(dir);
    state.SetItemsProcessed(state.iterations() * files);
    state.SetBytesProcessed(bytes);
    state.counters["files/s"] = benchmark::Counter(static_cast<double>(state.iterations() * files),
                                                   benchmark::Counter::kIsRate);
}

BENCHMARK(exportBatch)
    ->Args({30, 4, 10000})
    ->Args({1000, 30, 100})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace tavrin

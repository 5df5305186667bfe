#include "export/export_batch.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

namespace tavrin {
namespace {

namespace fs = std::filesystem;

// Random networks in the stored form: every activity gets up to three successors among the next
// forty, and the closure is kept as an ArcSet.
std::vector<std::vector<Word>> storedNetworks(int n, int count, unsigned seed) {
    std::mt19937 generator(seed);
    const std::size_t words = static_cast<std::size_t>((n + 63) / 64);
    std::vector<std::vector<Word>> rows;
    for (int c = 0; c < count; ++c) {
        std::vector<std::vector<std::uint64_t>> closure(static_cast<std::size_t>(n),
                                                        std::vector<std::uint64_t>(words));
        for (int i = n - 2; i >= 0; --i) {
            auto& row = closure[static_cast<std::size_t>(i)];
            std::uniform_int_distribution<int> next(i + 1, std::min(n - 1, i + 40));
            for (int s = 0; s < 3; ++s) {
                const int j = next(generator);
                row[static_cast<std::size_t>(j / 64)] |= std::uint64_t{1} << (j % 64);
                const auto& later = closure[static_cast<std::size_t>(j)];
                for (std::size_t w = 0; w < words; ++w) {
                    row[w] |= later[w];
                }
            }
        }
        const int pairs = n * (n - 1) / 2;
        std::vector<Word> arcSet(static_cast<std::size_t>(pairs > 0 ? (pairs - 1) / 32 + 1 : 1));
        int p = 0;
        for (int i = 0; i < n; ++i) {
            const auto& row = closure[static_cast<std::size_t>(i)];
            for (int j = i + 1; j < n; ++j, ++p) {
                if ((row[static_cast<std::size_t>(j / 64)] >> (j % 64)) & 1u) {
                    arcSet[static_cast<std::size_t>(p / 32)] |= Word{1} << (p % 32);
                }
            }
        }
        rows.push_back(std::move(arcSet));
    }
    return rows;
}

// One batch of `files` instances of n activities and K resources (RF 0.5, RS 0.5: the draws of
// both demand steps are made) written to a tmpfs, so that the completion is what is measured.
void exportBatch(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int k = static_cast<int>(state.range(1));
    const int files = static_cast<int>(state.range(2));
    const auto networks = storedNetworks(n, 100, 1);
    const ArcSetRows rows = [&](int slot) {
        return networks[static_cast<std::size_t>(slot) % networks.size()].data();
    };
    RunSettings settings;
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

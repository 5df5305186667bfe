#include "cli/measure_command.h"
#include "export/export_batch.h"
#include "export/format_instance.h"
#include "formats/instance_io.h"
#include "measure/instance_measures.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace tavrin {
namespace {

namespace fs = std::filesystem;

// A stored-form network: every activity gets up to three successors among the next forty,
// closed transitively, as an ArcSet.
std::vector<Word> randomArcSet(int n, std::mt19937& generator) {
    std::vector<std::vector<bool>> closure(static_cast<std::size_t>(n),
                                           std::vector<bool>(static_cast<std::size_t>(n)));
    for (int i = n - 2; i >= 0; --i) {
        auto& row = closure[static_cast<std::size_t>(i)];
        std::uniform_int_distribution<int> next(i + 1, std::min(n - 1, i + 40));
        for (int s = 0; s < 3; ++s) {
            const int j = next(generator);
            row[static_cast<std::size_t>(j)] = true;
            for (int k = j + 1; k < n; ++k) {
                if (closure[static_cast<std::size_t>(j)][static_cast<std::size_t>(k)]) {
                    row[static_cast<std::size_t>(k)] = true;
                }
            }
        }
    }
    const int pairs = n * (n - 1) / 2;
    std::vector<Word> arcSet(static_cast<std::size_t>((pairs + 31) / 32));
    int p = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j, ++p) {
            if (closure[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]) {
                arcSet[static_cast<std::size_t>(p / 32)] |= Word{1} << (p % 32);
            }
        }
    }
    return arcSet;
}

// Completed instances (K = 4, RF 0.5, RS 0.5) and their .rcp bytes.
struct Instances {
    std::vector<formats::Instance> models;
    std::vector<std::string> rcp;
};

Instances makeInstances(int n, int count) {
    RunSettings s;
    s.activityCount = n;
    s.resourceCount = 4;
    s.resourceFactor = 0.5;
    s.demandMeasure = DemandMeasure::ResourceStrength;
    s.resourceStrength = 0.5;
    deriveSizes(s);
    std::mt19937 generator(7);
    RandomSource random;
    random.seed(7);
    ProjectInstance made(n, s.resourceCount);
    Instances out;
    out.models.resize(static_cast<std::size_t>(count));
    out.rcp.resize(out.models.size());
    for (std::size_t i = 0; i < out.models.size(); ++i) {
        completeInstance(made, randomArcSet(n, generator).data(), s, random);
        fillFormatInstance(made, out.models[i]);
        formats::writeInstance(formats::InstanceFormat::Rcp, out.models[i], out.rcp[i]);
    }
    return out;
}

void BM_MeasureInstance(benchmark::State& state) {
    const Instances instances = makeInstances(static_cast<int>(state.range(0)), 16);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(measure::measureInstance(instances.models[next]));
        next = (next + 1) % instances.models.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MeasureInstance)->Arg(30)->Arg(1000);

void BM_ReadAndMeasure(benchmark::State& state) {
    const Instances instances = makeInstances(static_cast<int>(state.range(0)), 16);
    std::size_t next = 0;
    for (auto _ : state) {
        const formats::Instance read =
            formats::readInstance(formats::InstanceFormat::Rcp, instances.rcp[next], "bench");
        benchmark::DoNotOptimize(measure::measureInstance(read));
        next = (next + 1) % instances.rcp.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadAndMeasure)->Arg(30)->Arg(1000);

// The whole command over a directory of files: listing, reading, measuring, the CSV.
void BM_MeasureDirectory(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int files = static_cast<int>(state.range(1));
    const Instances instances = makeInstances(n, 16);
    const fs::path dir = fs::temp_directory_path() / ("tavrin-measure-bench-" + std::to_string(n));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (int i = 0; i < files; ++i) {
        std::ofstream(dir / ("x" + std::to_string(i) + ".rcp"), std::ios::binary)
            << instances.rcp[static_cast<std::size_t>(i) % instances.rcp.size()];
    }
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        if (measureMain({dir.string()}, out, err) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetItemsProcessed(state.iterations() * files);
    fs::remove_all(dir);
}
BENCHMARK(BM_MeasureDirectory)->Args({30, 10000})->Args({1000, 100})->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavrin

#include "bench_instances.h"
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

using bench::Instances;
using bench::makeInstances;

namespace fs = std::filesystem;

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

#include "measure_fixtures.h"

#include "engine/run_driver.h"
#include "export/export_batch.h"
#include "export/format_instance.h"
#include "formats/instance_io.h"

#include <fstream>
#include <stdexcept>

namespace tavrin::measure::fixtures {

std::vector<formats::Instance> generatedInstances(int n, double orderStrength, int count) {
    RunSettings s = defaultRunSettings();
    s.variant = GeneratorVariant::Tavrin1;
    s.activityCount = n;
    s.target = orderStrength;
    s.maxNetworks = count;
    s.resourceCount = 3;
    s.resourceFactor = 0.5;
    s.demandMeasure = DemandMeasure::ResourceStrength;
    s.resourceStrength = 0.5;
    deriveSizes(s);
    RandomSource random;
    const RunResult run = runGeneration(s, 0.0, 5, random, RunHooks{});
    ProjectInstance made(n, s.resourceCount);
    std::vector<formats::Instance> instances(static_cast<std::size_t>(run.store->count()));
    for (int slot = 0; slot < run.store->count(); ++slot) {
        completeInstance(made, run.store->row(slot), s, random);
        fillFormatInstance(made, instances[static_cast<std::size_t>(slot)]);
    }
    return instances;
}

void writeRcp(const formats::Instance& instance, const std::filesystem::path& path) {
    std::string bytes;
    formats::writeInstance(formats::InstanceFormat::Rcp, instance, bytes);
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace tavrin::measure::fixtures

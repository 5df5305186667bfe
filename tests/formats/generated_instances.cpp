#include "generated_instances.h"

#include "engine/run_driver.h"
#include "export/export_batch.h"

#include <algorithm>

namespace tavrin::testing {

RunSettings smallRun(GeneratorVariant variant, int activities, int resources) {
    RunSettings s = defaultRunSettings();
    s.variant = variant;
    s.activityCount = activities;
    s.target = 0.5;
    s.maxNetworks = 12;
    s.resourceCount = resources;
    s.resourceFactor = 0.5;
    s.resourceUse = std::min(2, resources);
    s.resourceConstrainedness = 0.6;
    s.resourceStrength = 0.3;
    deriveSizes(s);
    return s;
}

void forEachStoredNetwork(const RunSettings& settings, int count,
                          const std::function<void(const Word*, RandomSource&)>& visit) {
    RandomSource random;
    const RunResult run = runGeneration(settings, 0.0, 11, random, RunHooks{});
    for (int slot = 0; slot < std::min(count, run.store->count()); ++slot) {
        visit(run.store->row(slot), random);
    }
}

void forEachGeneratedInstance(const RunSettings& settings, int count,
                              const std::function<void(const ProjectInstance&)>& visit) {
    ProjectInstance instance(settings.activityCount, settings.resourceCount);
    forEachStoredNetwork(settings, count, [&](const Word* arcSet, RandomSource& random) {
        completeInstance(instance, arcSet, settings, random);
        visit(instance);
    });
}

std::vector<formats::Instance> classInstances(const InstanceClass& instanceClass, int count) {
    RunSettings settings = smallRun(GeneratorVariant::Tavrin1, 12, 2);
    settings.demandMeasure = DemandMeasure::ResourceStrength;
    ProjectInstance project(settings.activityCount, settings.resourceCount);
    std::vector<formats::Instance> out;
    forEachStoredNetwork(settings, count, [&](const Word* arcSet, RandomSource& random) {
        formats::Instance model;
        const auto feasibility =
            completeClassInstance(project, model, arcSet, settings, instanceClass, random);
        if (feasibility == formats::Feasibility::Feasible) {
            out.push_back(model);
        }
    });
    return out;
}

} // namespace tavrin::testing

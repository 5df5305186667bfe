#pragma once

#include "engine/run_settings.h"
#include "export/instance_class.h"
#include "export/project_instance.h"
#include "formats/instance.h"

#include <functional>

namespace tavrin::testing {

// Settings of a small count-limited run with resources; the caller adjusts them.
RunSettings smallRun(GeneratorVariant variant, int activities, int resources);

// Runs the generator and completes each kept network (up to count) as an export would, in slot
// order; visit sees every completed instance.
void forEachGeneratedInstance(const RunSettings& settings, int count,
                              const std::function<void(const ProjectInstance&)>& visit);

// The same run; visit gets each stored network (up to count) with the run's random source.
void forEachStoredNetwork(const RunSettings& settings, int count,
                          const std::function<void(const Word*, RandomSource&)>& visit);

// Instances of a class completed from the networks of a small run (12 activities, 2 resources,
// RS) as an export completes them; each must pass its checks.
std::vector<formats::Instance> classInstances(const InstanceClass& instanceClass, int count);

} // namespace tavrin::testing

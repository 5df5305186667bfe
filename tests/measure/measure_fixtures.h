#pragma once

#include "formats/instance.h"
#include "support/scratch_directory.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tavrin::measure::fixtures {

// Completed instances of a short count-limited run (n activities, K = 3, RF 0.5, RS 0.5), as
// their .rcp files hold them.
std::vector<formats::Instance> generatedInstances(int n, double orderStrength, int count);

// Writes the instance as an .rcp file at path.
void writeRcp(const formats::Instance& instance, const std::filesystem::path& path);

using testing::ScratchDirectory;

} // namespace tavrin::measure::fixtures

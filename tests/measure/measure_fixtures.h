#pragma once

#include "formats/instance.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tavrin::measure::fixtures {

// Completed instances of a short count-limited run (n activities, K = 3, RF 0.5, RS 0.5), as
// their .rcp files hold them.
std::vector<formats::Instance> generatedInstances(int n, double orderStrength, int count);

// Writes the instance as an .rcp file at path.
void writeRcp(const formats::Instance& instance, const std::filesystem::path& path);

// An empty directory under the system's temporary directory, removed at the end.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace tavrin::measure::fixtures

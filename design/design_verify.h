#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tavrin::design {

// Files of a data set that do not match what its manifest regenerates, by name relative to the
// data set's folder, each list in name order.
struct VerifyReport {
    std::vector<std::string> differing;
    std::vector<std::string> missing;
    std::vector<std::string> added;
    std::optional<std::string> error; // the data set could not be regenerated

    bool passed() const { return !error && differing.empty() && missing.empty() && added.empty(); }
};

// Regenerates the data set in dir from its manifest alone, in a temporary folder on jobs
// threads (0: the cores), and compares every file, index and manifest included.
VerifyReport verifyDesign(const std::string& dir, int jobs);

struct MergeResult {
    std::optional<std::string> error;
    bool refused = false; // the shards do not form one complete data set; nothing was written
    int cells = 0;
    std::int64_t files = 0;
};

// Joins the complete outputs of shards 1..N of one design into outDir, which must be empty or
// absent: the instance files as their indexes list and hash them, one index in enumeration order
// and the manifest of an unsharded run, so that the result equals that run byte for byte.
MergeResult mergeShards(const std::vector<std::string>& shardDirs, const std::string& outDir);

} // namespace tavrin::design

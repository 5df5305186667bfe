#pragma once

#include "design/design_run.h"

#include <atomic>
#include <cstdint>
#include <functional>
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
    bool interrupted = false;         // stopped before the regeneration ended

    bool passed() const { return !error && differing.empty() && missing.empty() && added.empty(); }
};

using StopFlag = std::atomic<bool>;

// Regenerates the data set in dir from its manifest alone, in a temporary folder on jobs
// threads (0: the cores), and compares every file, index and manifest included. A raised stop
// flag ends it early, interrupted, with the temporary folder removed.
VerifyReport verifyDesign(const std::string& dir, int jobs, const StopFlag* stop = nullptr,
                          const std::function<void(const DesignProgress&)>& progress = {});

struct MergeResult {
    std::optional<std::string> error;
    bool refused = false;     // the shards do not form one complete data set; nothing was written
    bool interrupted = false; // stopped; the same merge again continues it
    int cells = 0;
    std::int64_t files = 0;
};

// Files copied so far and in all, after each file.
using MergeProgress = std::function<void(std::int64_t done, std::int64_t total)>;

// Joins the complete outputs of shards 1..N of one design into outDir: the instance files as
// their indexes list and hash them, one index in enumeration order and the manifest of an
// unsharded run, so that the result equals that run byte for byte. outDir must be absent, empty
// or hold an interrupted merge of the same shards, which continues. Every file name an index
// lists must be a plain name inside the set.
MergeResult mergeShards(const std::vector<std::string>& shardDirs, const std::string& outDir,
                        const StopFlag* stop = nullptr, const MergeProgress& progress = {});

} // namespace tavrin::design

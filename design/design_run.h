#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tavrin::design {

struct DesignProgress {
    int cellsDone, cellsTotal;
    std::int64_t filesDone, filesTotal;
};

struct DesignRunOptions {
    std::string designFile;
    std::string outDir;
    int jobs = 0;
    int shardIndex = 1, shardCount = 1;
    const std::atomic<bool>* stop = nullptr;
    std::function<void(const DesignProgress&)>
        progress; /* called from worker threads, serialised */
};

struct DesignRunResult {
    bool interrupted = false;
    std::optional<std::string> error;
    int cellsDone = 0;
    std::int64_t filesWritten = 0;
};

DesignRunResult runDesign(const DesignRunOptions&);

} // namespace tavrin::design

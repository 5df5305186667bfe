#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tavrin::design {

inline constexpr const char* kIndexFileName = "index.csv";
inline constexpr const char* kManifestFileName = "manifest.json";

struct DesignProgress {
    int cellsDone, cellsTotal;
    std::int64_t filesDone, filesTotal;
};

struct DesignRunOptions {
    std::string designFile;
    std::string outDir;
    int jobs = 0; /* 0: the cores */
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
    // The error concerns the design or the options, and nothing was run.
    bool refused = false;
};

// Builds the cells of the shard under outDir, on jobs threads, with index.csv and manifest.json
// at its top. Cells already complete there (their index rows present, their files unchanged)
// are kept, so a stopped run continues. On a stop or a failed cell the index lists the cells
// that were finished. A bad design file or option sets refused with the message.
DesignRunResult runDesign(const DesignRunOptions& options);

// The same from the text of a design file; designName names it in the manifest and the files.
DesignRunResult runDesignText(const std::string& text, const std::string& designName,
                              const DesignRunOptions& options);

} // namespace tavrin::design

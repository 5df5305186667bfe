#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin::design {

// What manifest.json records: enough to regenerate every file. No clock time, so that the same
// cells always give the same manifest.
struct Manifest {
    std::string program = "tavrin";
    std::string version;
    std::string designName;
    std::string designText; // the design file as given
    int shardIndex = 1;
    int shardCount = 1;
    int cells = 0;     // cells of the shard
    int cellsDone = 0; // cells listed in the index
    std::int64_t files = 0;
    bool complete = false;
    std::string indexSha256;
};

// The program version the manifest records.
std::string programVersion();

std::string writeManifest(const Manifest& manifest);
// Throws std::runtime_error when the text is not a manifest.
Manifest readManifest(std::string_view text);

} // namespace tavrin::design

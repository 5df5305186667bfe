#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tavrin::formats {

// One job of an instance. Successors are job indices (0-based) in the order the file lists them.
struct Job {
    std::int32_t duration = 0;
    std::vector<std::int32_t> demands; // one per resource
    std::vector<std::int32_t> successors;

    friend bool operator==(const Job&, const Job&) = default;
};

// How a file was made, as ordered key/value texts ("program", "version", "variant", "seed",
// "file_number", ...). Empty for files made elsewhere. Writers that have room for it keep it.
using Provenance = std::vector<std::pair<std::string, std::string>>;

// A single-mode instance with renewable resources, as .rcp and .sm files hold it: jobs[0] is the
// dummy start and jobs.back() the dummy end, both with zero duration and demand.
struct Instance {
    std::vector<std::int32_t> availability; // one per resource
    std::vector<Job> jobs;
    Provenance provenance;

    int resourceCount() const { return static_cast<int>(availability.size()); }
    int jobCount() const { return static_cast<int>(jobs.size()); }

    friend bool operator==(const Instance&, const Instance&) = default;
};

} // namespace tavrin::formats

#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tavrin::formats {

// One way of carrying out a job of a multi-mode instance.
struct Mode {
    std::int32_t duration = 0;
    std::vector<std::int32_t> demands;      // one per renewable resource
    std::vector<std::int32_t> nonrenewable; // one per nonrenewable resource, for the whole job

    friend bool operator==(const Mode&, const Mode&) = default;
};

// One job of an instance. Successors are job indices (0-based) in the order the file lists them.
// Single-mode code reads duration, demands and successors only: in a multi-mode instance they
// hold the first mode, in an instance with time lags successors also lists the backward arcs.
struct Job {
    std::int32_t duration = 0;
    std::vector<std::int32_t> demands; // one per resource
    std::vector<std::int32_t> successors;
    // Every mode of a multi-mode job, modes[0] equal to duration and demands; empty otherwise.
    std::vector<Mode> modes = {};
    // Start-to-start time lags parallel to successors: start(s) >= start(j) + lag. A negative lag
    // on the arc j -> s is a maximal lag of -lag from s to j. Empty without time lags, where each
    // successor starts after the job finishes.
    std::vector<std::int32_t> lags = {};

    friend bool operator==(const Job&, const Job&) = default;
};

// How a file was made, as ordered key/value texts ("program", "version", "variant", "seed",
// "file_number", ...). Empty for files made elsewhere. Writers that have room for it keep it.
using Provenance = std::vector<std::pair<std::string, std::string>>;

// An instance with renewable resources, as .rcp and .sm files hold it: jobs[0] is the dummy start
// and jobs.back() the dummy end, both with zero duration and demand. Multi-mode instances (.mm)
// add modes and nonrenewable resources, instances with time lags (.sch) add lags.
struct Instance {
    std::vector<std::int32_t> availability; // one per resource
    std::vector<Job> jobs;
    Provenance provenance;
    std::vector<std::int32_t> nonrenewable = {}; // availability per nonrenewable resource

    int resourceCount() const { return static_cast<int>(availability.size()); }
    int jobCount() const { return static_cast<int>(jobs.size()); }
    int nonrenewableCount() const { return static_cast<int>(nonrenewable.size()); }
    // Every job has its modes listed; single-mode code must not take such an instance as its own.
    bool multiMode() const { return !jobs.empty() && !jobs.front().modes.empty(); }
    bool hasTimeLags() const {
        return std::ranges::any_of(jobs, [](const Job& job) { return !job.lags.empty(); });
    }

    friend bool operator==(const Instance&, const Instance&) = default;
};

} // namespace tavrin::formats

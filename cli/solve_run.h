#pragma once

#include "cli/instance_paths.h"
#include "solve/solve_instance.h"

#include <atomic>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace tavrin::cli {

// CSV rows of an earlier run, by file and SHA-256, reused as they are.
using KeptRows = std::map<std::pair<std::string, std::string>, std::vector<std::string>>;

struct SolveRunOptions {
    solve::SolveBudget budget;
    int jobs = 0;            // threads; 0 = the cores
    std::string scheduleDir; // empty: no schedule files
    KeptRows kept;
    const std::atomic<bool>* stop = nullptr;
    std::function<void(int total, int done)> progress; // called from the calling thread
};

struct SolveRunResult {
    std::vector<std::vector<std::string>> rows; // finished instances, in the order of the files
    bool failed = false;                        // a file could not be read, solved or written
    bool interrupted = false;                   // stop was raised before every file finished
    bool violation = false;                     // a schedule broke a constraint: a fault
};

// Solves the files on threads. Messages about files go to err in the order of the files.
SolveRunResult runSolveFiles(const std::vector<InputFile>& files, const SolveRunOptions& options,
                             std::ostream& err);

// Joins shard CSVs (same header) into one, shards ordered by the numbers in their names, so
// that shard-10.csv follows shard-9.csv. Returns the exit status.
int mergeSolveCsvs(std::vector<std::string> paths, const std::string& outPath, std::ostream& out,
                   std::ostream& err);

} // namespace tavrin::cli

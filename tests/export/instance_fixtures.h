#pragma once

#include "engine/bits.h"
#include "support/scratch_directory.h"

#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// Plain boolean-matrix helpers for the export tests, written without the export's bit rows so
// that they can check them.
namespace tavrin::fixtures {

// rel[i][j] when i precedes j; only i < j is ever set.
using Relation = std::vector<std::vector<bool>>;

Relation emptyRelation(int n);
// From "0>1 1>2" arc text.
Relation relationFromText(int n, std::string_view arcs);
Relation transitiveClosure(Relation rel);
// Pairs of the closure with no activity in between: the immediate precedences.
Relation transitiveReduction(const Relation& closure);
// A random closure: every pair i < j is an arc with the given probability, then closed.
Relation randomClosure(int n, double arcProbability, std::mt19937& generator);

// The ArcSet words: pairs numbered row by row over the upper triangle, bit p%32 of word p/32.
std::vector<Word> arcSetOf(const Relation& closure);

std::string readFile(const std::string& path);

using testing::ScratchDirectory;

// A parsed .rcp file. Jobs are numbered 1..jobCount; vectors are indexed by job - 1.
struct RcpFile {
    int jobCount = 0;
    int resourceCount = 0;
    std::vector<int> availability;
    std::vector<int> duration;
    std::vector<std::vector<int>> demand;
    std::vector<std::vector<int>> successors; // as listed
};

// Parses the bytes strictly: CR LF line ends only, the expected number of lines and fields.
// Failures are reported through GoogleTest assertions; check HasFatalFailure() afterwards.
void parseRcp(const std::string& bytes, RcpFile& file);

} // namespace tavrin::fixtures

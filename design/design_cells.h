#pragma once

#include "design/design_file.h"
#include "engine/generate_checks.h"
#include "export/instance_class.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrin::design {

// A cell: one level of every factor. index is its position in the full enumeration (the last
// factor varies fastest); it names the cell and picks its shard, never its seed.
struct Cell {
    int index = 0;
    std::vector<int> levels; // per factor of the design, an index into its levels
};

std::vector<Cell> enumerateCells(const Design& design);

// The seed rule. h := mix(base seed); then, for each factor in order, h := mix(h XOR
// fnv1a("key=level")); the seed is (h XOR h >> 32) AND 0x7FFFFFFF. mix is the splitmix64
// finaliser, fnv1a the 64-bit FNV-1a hash of the level's canonical text. Built from the levels,
// not the position, a cell keeps its seed when levels or factors are added elsewhere.
// With networkOnly only the network factors (activities, target, selection ranges) take part.
std::int32_t cellSeed(const Design& design, const Cell& cell, bool networkOnly);

// The selection of a cell's run, as the result page selects: the CI range (empty: the run's
// lowest to highest) or the I3..I6 bounds in whole percentages.
struct CellSelection {
    std::optional<std::array<std::int32_t, 2>> ciRange;
    std::array<std::int32_t, 8> indicatorBounds{0, 100, 0, 100, 0, 100, 0, 100};
};

// A cell with its checked run and the names of its files.
struct CheckedCell {
    Cell cell;
    CheckedRun run;        // seeded by the rule: the network factors alone in a paired design
    std::int32_t fileSeed; // paired: the seed of the completions; otherwise the run's seed
    CellSelection selection;
    std::string filePrefix;           // the pattern up to "{rep}"
    std::string networkKey;           // the levels of the network factors, equal for paired cells
    InstanceClass instanceClass = {}; // multi-mode or time-lag designs; neither otherwise
};

// Limits of a design, refused before anything runs: its cells, its files, one file name's bytes.
inline constexpr std::int64_t kMaxCells = 100000;
inline constexpr std::int64_t kMaxFiles = 10000000;
inline constexpr std::size_t kMaxNameLength = 255;

// Checks every cell with the Generate checks and the export's resource and prefix checks, that
// no two files share a name and that the design keeps within the limits above. Throws
// DesignError naming the level's key and line.
std::vector<CheckedCell> checkCells(const Design& design, const std::string& fileName);

// Whether the cell at index belongs to shard shardIndex (1..shardCount): index mod shardCount
// equals shardIndex - 1.
inline bool inShard(int index, int shardIndex, int shardCount) {
    return index % shardCount == shardIndex - 1;
}

} // namespace tavrin::design

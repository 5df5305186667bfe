#pragma once

#include "design/design_cells.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tavrin::design {

using IndexRow = std::vector<std::string>;

// The columns of index.csv: the file and its format, the cell and its levels, the repetition,
// the run's seed and settings, what the run kept and selected, the file's SHA-256.
std::vector<std::string> indexHeader(const Design& design);

struct UnitContext {
    const Design& design;
    std::string designName;
    std::string outDir;
    const std::atomic<bool>* stop = nullptr;
};

// A cell that has written all its files, with one index row a file.
using CellDone = std::function<void(const CheckedCell& cell, std::vector<IndexRow>&& rows)>;

// Runs one unit of work: a single cell, or in a paired design the cells that share their network
// levels, which share one run. Each cell owns its random source, store and batch, so units run
// on any thread in any order with the same files. Returns the failure of a cell; a stop ends the
// unit quietly before its next cell.
std::optional<std::string> runUnit(const UnitContext& context,
                                   const std::vector<const CheckedCell*>& cells,
                                   const CellDone& done);

} // namespace tavrin::design

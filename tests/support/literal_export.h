#pragma once

#include "engine/bits.h"
#include "engine/random_source.h"
#include "engine/run_settings.h"

#include <string>
#include <vector>

namespace tavrin::testing {

// A plain second implementation of instance completion and the .rcp text, for cross-checks of
// the export library: the bytes of the file one stored row becomes, drawing from the source in
// the same order (durations, requirement pattern, demands).
std::string literalInstanceFile(const Word* row, int n, const RunSettings& resources,
                                RandomSource& random);

// The files of one batch: count draws from a pool (in increasing slot order) of the given
// slots, each completed in turn. Returns the file contents in file order.
std::vector<std::string> literalBatch(const std::vector<const Word*>& rows, int n,
                                      std::vector<int> pool, int count,
                                      const RunSettings& resources, RandomSource& random);

} // namespace tavrin::testing

#pragma once

#include "engine/bits.h"
#include "engine/indicators.h"
#include "engine/random_source.h"

#include <cstdint>
#include <vector>

namespace tavrin::testing {

// A deliberately plain second implementation of canonical forms, indicators and both generators,
// written from the behaviour description with boolean matrices and no optimisation. Tests
// compare the engine's results with it, seed by seed, for small n (n <= 128).

// A relation on activities 0..n-1: rel[i][j] when i precedes j (i < j only).
using Relation = std::vector<std::vector<bool>>;

// The canonical ArcSet words of a transitively closed relation.
std::vector<Word> literalCanonicalForm(const Relation& closure, int* leaves = nullptr);

// I3..I6 of a closed relation with exactly levelCount progressive levels.
IndicatorRecord literalIndicators(const Relation& closure, int levelCount);

// Longest-path level count of a closed relation (1 for no relation, n for the chain).
int literalLevelCount(const Relation& closure);

struct LiteralRun {
    std::vector<std::vector<Word>> rows;
    std::vector<IndicatorRecord> indicators; // second variant only
};

// Count-limited runs of the order-strength and of the indicator generator, seeded as a run is.
LiteralRun literalOrderStrengthRun(int n, double orderStrength, int maxNetworks, std::int32_t seed);
LiteralRun literalIndicatorRun(int n, double i2, int maxNetworks, std::int32_t seed);

// Decodes an ArcSet row into a relation.
Relation decodeArcSet(const Word* row, int n);

} // namespace tavrin::testing

#pragma once

#include "engine/pair_index.h"
#include "engine/random_source.h"
#include "engine/work_network.h"

#include <vector>

namespace tavrin {

// The level sizes a count-limited indicator run builds its starting network from: L levels of
// size(0..L-1) activities, each at least 1, adding up to n; size(L) = 0 marks the end.
class LevelPlan {
public:
    // Room for max(120, n) levels, so any n fits.
    explicit LevelPlan(int activityCount);

    // Draws L (m when n = m, else m + rand() mod (n + 1 - m)), then the sizes from level L-1
    // down to 1 (r1 then r2 each), level 0 taking the rest, then 2n swaps of two drawn levels.
    // Small sizes are favoured, the more so the larger r2. Requires 1 <= m <= n.
    void draw(int levelTarget, RandomSource& random);

    // Sets the plan directly (sizes of levels 0..L-1).
    void assign(const std::vector<int>& sizes);

    int levelCount() const { return m_levelCount; }
    int size(int level) const { return m_sizes[static_cast<std::size_t>(level)]; }

    // The complete layered network of the plan: levels take consecutive activity numbers,
    // every activity of a level directly precedes every activity of the next one. Row n gets
    // S = C = empty and P = all activities. The cover list runs from level L-2 down to 0,
    // activities of a level in decreasing number, successors in decreasing number.
    void buildLayeredNetwork(WorkNetwork& network, const PairIndex& pairs) const;

private:
    void computeStarts();

    int m_n;
    int m_levelCount = 0;
    std::vector<int> m_sizes;
    std::vector<int> m_start; // first activity of each level; n from level L on
};

} // namespace tavrin

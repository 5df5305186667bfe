#include "engine/level_plan.h"

#include <algorithm>
#include <cassert>
#include <numeric>

namespace tavrin {
namespace {

// The desktop tables hold 121 level sizes; larger n get one entry per possible level.
constexpr int kLevelTableSize = 121;

// Sets the activities lo..hi-1 of a reversed row (all others clear).
void assignRange(const WorkNetwork& network, Word* row, int lo, int hi) {
    network.clear(row);
    for (int a = lo; a < hi; ++a) {
        network.insert(row, a);
    }
}

} // namespace

LevelPlan::LevelPlan(int activityCount)
    : m_n(activityCount),
      m_sizes(static_cast<std::size_t>(std::max(kLevelTableSize, activityCount + 1)), 0),
      m_start(m_sizes.size() + 1, 0) {}

void LevelPlan::draw(int levelTarget, RandomSource& random) {
    const int n = m_n;
    const int m = levelTarget;
    assert(1 <= m && m <= n);
    int levels = m;
    if (n > m) {
        levels = m + random.below(n + 1 - m);
    }
    m_levelCount = levels;
    m_sizes[static_cast<std::size_t>(levels)] = 0;
    int remaining = n;
    for (int i = levels - 1; i >= 1; --i) {
        // The most this level may take while leaving one activity to each level below it.
        const int s = remaining - i;
        const int triangle = s * (s + 1) / 2;
        const int r1 = random.below(triangle);
        const int r2 = random.below(n);
        int k = s;
        int x = r1;
        while (x > 0) {
            x -= r2 + k;
            --k;
        }
        m_sizes[static_cast<std::size_t>(i)] = s - k + 1;
        remaining -= s - k + 1;
    }
    m_sizes[0] = remaining;
    for (int t = 0; t < 2 * n; ++t) {
        const int i = random.below(levels);
        const int j = random.below(levels);
        std::swap(m_sizes[static_cast<std::size_t>(i)], m_sizes[static_cast<std::size_t>(j)]);
    }
    computeStarts();
}

void LevelPlan::assign(const std::vector<int>& sizes) {
    assert(!sizes.empty() && sizes.size() < m_sizes.size());
    assert(std::accumulate(sizes.begin(), sizes.end(), 0) == m_n);
    m_levelCount = static_cast<int>(sizes.size());
    std::copy(sizes.begin(), sizes.end(), m_sizes.begin());
    m_sizes[sizes.size()] = 0;
    computeStarts();
}

void LevelPlan::computeStarts() {
    m_start[0] = 0;
    // Up to level L, whose size is the end mark 0; sizes beyond it are stale.
    for (std::size_t l = 0; l <= static_cast<std::size_t>(m_levelCount); ++l) {
        m_start[l + 1] = m_start[l] + m_sizes[l];
    }
    assert(m_start[static_cast<std::size_t>(m_levelCount)] == m_n);
}

void LevelPlan::buildLayeredNetwork(WorkNetwork& network, const PairIndex& pairs) const {
    const int n = m_n;
    const int levels = m_levelCount;
    const std::vector<int>& start = m_start;
    network.clear(network.succ(n));
    network.clear(network.cover(n));
    network.fillAll(network.pred(n));
    for (int l = 0; l < levels; ++l) {
        const auto level = static_cast<std::size_t>(l);
        const int first = start[level];
        const int next = start[level + 1];
        for (int a = first; a < next; ++a) {
            assignRange(network, network.succ(a), next, n);
            assignRange(network, network.pred(a), 0, first);
            assignRange(network, network.cover(a), next, start[level + 2]);
        }
    }
    network.setCoverLength(0);
    for (int l = levels - 2; l >= 0; --l) {
        const auto level = static_cast<std::size_t>(l);
        for (int a = start[level + 1] - 1; a >= start[level]; --a) {
            for (int b = start[level + 2] - 1; b >= start[level + 1]; --b) {
                network.appendCover(pairs(a, b));
            }
        }
    }
}

} // namespace tavrin

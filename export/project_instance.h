#pragma once

#include "engine/bits.h"
#include "engine/random_source.h"

#include <cassert>
#include <cstdint>
#include <vector>

namespace tavrin {

inline constexpr int kMaxDuration = 10;
inline constexpr int kMaxDemand = 10;
// A requirement mask is one word: resource k is bit k.
inline constexpr int kMaxResources = 32;

// The immediate precedences of an instance. Successor rows use the direct mapping (activity b at
// position b), so the set-bit walk lists successors in decreasing number.
struct PrecedenceMatrix {
    std::vector<Word> successorRows; // n rows of W words
    std::vector<std::int32_t> predecessorCount;
    std::vector<std::int32_t> successorCount;
};

// Total demand per time unit and resource of the earliest-start schedule; row t is the interval
// t-1..t. Sized for the longest possible schedule (every duration at its maximum), so that
// reset() never allocates.
class ResourceProfile {
public:
    ResourceProfile(int activityCount, int resourceCount);

    // Rows 0..lastTime, every counter 0.
    void reset(int lastTime);
    std::int32_t& counter(int t, int k) {
        assert(t >= 0 && t <= m_lastTime && k >= 0 && k < m_resources);
        return m_counters[static_cast<std::size_t>(t) * static_cast<std::size_t>(m_resources)
                          + static_cast<std::size_t>(k)];
    }
    int lastTime() const { return m_lastTime; }

private:
    int m_resources;
    int m_lastTime = 0;
    std::vector<std::int32_t> m_counters;
};

// An RC candidate: an activity requiring the resource at hand and the demand given to it so far.
struct DemandCandidate {
    std::int32_t activity;
    std::int32_t demand;
};

// The instance being completed from one stored network, n activities and K resources. Every table
// is sized once here and every completion step overwrites what it owns, so one object serves a
// whole export without allocating per file.
struct ProjectInstance {
    ProjectInstance(int n, int k);

    int activityCount;
    int resourceCount;
    int rowWords; // W = ceil(n/32)

    PrecedenceMatrix precedence;
    std::vector<std::int32_t> duration; // 1..kMaxDuration

    std::vector<Word> requirementMask;        // per activity, bit k when it requires resource k
    std::vector<std::int32_t> users;          // per resource, activities requiring it
    std::vector<std::int32_t> demands;        // activity-major, see demand()
    std::vector<std::int32_t> availability;   // per resource
    std::vector<std::int32_t> largestDemand;  // per resource, largest single demand (RS)
    std::vector<std::int32_t> peak;           // per resource, profile maximum (RS)
    std::vector<std::int32_t> earliestFinish; // per activity (RS)
    std::int32_t scheduleLength = 0;          // largest earliest finish (RS)

    // Work tables of the completion steps.
    std::vector<Word> closureRows;           // decoded stored relation, reversed mapping
    std::vector<Word> reducedRows;           // immediate successors, reversed mapping
    std::vector<std::int32_t> drawList;      // 1-based, entries 1..n*K
    std::vector<DemandCandidate> candidates; // up to n
    ResourceProfile profile;

    const Word* successorRow(int a) const { return &precedence.successorRows[rowOffset(a)]; }
    Word* successorRow(int a) { return &precedence.successorRows[rowOffset(a)]; }
    const Word* closureRow(int a) const { return &closureRows[rowOffset(a)]; }
    Word* closureRow(int a) { return &closureRows[rowOffset(a)]; }
    const Word* reducedRow(int a) const { return &reducedRows[rowOffset(a)]; }
    Word* reducedRow(int a) { return &reducedRows[rowOffset(a)]; }

    bool requiresResource(int a, int k) const {
        return (requirementMask[static_cast<std::size_t>(a)]
                & kBitMasks[static_cast<std::size_t>(k)])
               != 0;
    }
    std::int32_t& demand(int a, int k) { return demands[demandOffset(a, k)]; }
    std::int32_t demand(int a, int k) const { return demands[demandOffset(a, k)]; }

private:
    std::size_t rowOffset(int a) const {
        assert(a >= 0 && a < activityCount);
        return static_cast<std::size_t>(a) * static_cast<std::size_t>(rowWords);
    }
    std::size_t demandOffset(int a, int k) const {
        assert(a >= 0 && a < activityCount && k >= 0 && k < resourceCount);
        return static_cast<std::size_t>(a) * static_cast<std::size_t>(resourceCount)
               + static_cast<std::size_t>(k);
    }
};

// Decodes a stored ArcSet (a transitive closure under a topological numbering of the instance's
// n activities), reduces it to the immediate precedences and draws the n durations, for
// activities n-2 down to 0 and then n-1. Overwrites every precedence field and the durations.
void completePrecedence(ProjectInstance& instance, const Word* arcSet, RandomSource& random);

} // namespace tavrin

#include "export/resource_pattern.h"

#include "engine/index_cast.h"

#include <algorithm>

namespace tavrin {
namespace {

// Entry i of the 1-based draw list stands for value i-1.
void fillDrawList(ProjectInstance& instance, int size) {
    for (int i = 1; i <= size; ++i) {
        instance.drawList[index(i)] = i - 1;
    }
}

void require(ProjectInstance& instance, int a, int k) {
    instance.requirementMask[index(a)] |= kBitMasks[index(k)];
    ++instance.users[index(k)];
}

// Draws one entry of the list 1..q and moves entry q into its place.
int drawEntry(ProjectInstance& instance, int& q, RandomSource& random) {
    const int r = random.below(q) + 1;
    const int value = instance.drawList[index(r)];
    instance.drawList[index(r)] = instance.drawList[index(q)];
    --q;
    return value;
}

} // namespace

void resetResourceData(ProjectInstance& instance) {
    std::fill(instance.requirementMask.begin(), instance.requirementMask.end(), Word{0});
    std::fill(instance.demands.begin(), instance.demands.end(), 0);
    std::fill(instance.users.begin(), instance.users.end(), 0);
    std::fill(instance.peak.begin(), instance.peak.end(), 0);
    std::fill(instance.largestDemand.begin(), instance.largestDemand.end(), 0);
}

void drawByResourceFactor(ProjectInstance& instance, double resourceFactor, RandomSource& random) {
    assert(resourceFactor >= 0.0 && resourceFactor <= 1.0);
    const int k = instance.resourceCount;
    const int pairs = instance.activityCount * k;
    // No tolerance: 10 pairs at 0.7 (held just below) give 6.
    const int chosen = static_cast<int>(static_cast<long double>(pairs)
                                        * static_cast<long double>(resourceFactor));
    fillDrawList(instance, pairs);
    int q = pairs;
    for (int c = 0; c < chosen; ++c) {
        const int pair = drawEntry(instance, q, random);
        require(instance, pair / k, pair % k);
    }
}

void drawByResourceUse(ProjectInstance& instance, int resourceUse, RandomSource& random) {
    const int k = instance.resourceCount;
    assert(resourceUse >= 0 && resourceUse <= k);
    for (int a = instance.activityCount - 1; a >= 0; --a) {
        fillDrawList(instance, k);
        int q = k;
        for (int c = 0; c < resourceUse; ++c) {
            require(instance, a, drawEntry(instance, q, random));
        }
    }
}

void buildRequirementPattern(ProjectInstance& instance, const RunSettings& settings,
                             RandomSource& random) {
    resetResourceData(instance);
    if (settings.requestMeasure == RequestMeasure::ResourceFactor) {
        drawByResourceFactor(instance, settings.resourceFactor, random);
    } else {
        drawByResourceUse(instance, settings.resourceUse, random);
    }
}

} // namespace tavrin

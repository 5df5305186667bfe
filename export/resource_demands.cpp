#include "export/resource_demands.h"

#include "engine/index_cast.h"

#include <algorithm>

namespace tavrin {
namespace {

// Lists the activities requiring k, highest number first, each at demand 1; returns the count.
int listCandidates(ProjectInstance& instance, int k) {
    int size = 0;
    for (int a = instance.activityCount - 1; a >= 0; --a) {
        if (instance.requiresResource(a, k)) {
            instance.candidates[index(size++)] = {a, 1};
        }
    }
    return size;
}

// Hands out total - users units. The entry in the last place is never drawn; it takes units only
// once moved into a removed entry's place or when it is the only one left.
void spreadResource(ProjectInstance& instance, int k, std::int32_t total, RandomSource& random) {
    std::vector<DemandCandidate>& list = instance.candidates;
    int last = listCandidates(instance, k) - 1;
    assert(last + 1 == instance.users[index(k)]);
    int remaining = total - instance.users[index(k)];
    while (remaining > 0) {
        if (last == 0) {
            list[0].demand += remaining;
            break;
        }
        DemandCandidate& drawn = list[index(random.below(last))];
        ++drawn.demand;
        --remaining;
        if (drawn.demand == kMaxDemand) {
            instance.demand(drawn.activity, k) = kMaxDemand;
            drawn = list[index(last)];
            --last;
        }
    }
    for (int i = last; i >= 0; --i) {
        instance.demand(list[index(i)].activity, k) = list[index(i)].demand;
    }
}

void drawStrengthDemands(ProjectInstance& instance, RandomSource& random) {
    for (int a = instance.activityCount - 1; a >= 0; --a) {
        for (int k = instance.resourceCount - 1; k >= 0; --k) {
            if (instance.requiresResource(a, k)) {
                const int d = random.below(kMaxDemand) + 1;
                instance.demand(a, k) = d;
                instance.largestDemand[index(k)] = std::max(instance.largestDemand[index(k)], d);
            }
        }
    }
}

// Sums, per time unit, the demands of the activities in progress, then takes each resource's
// largest sum. Resources an activity does not require add nothing and are skipped.
void measurePeaks(ProjectInstance& instance) {
    ResourceProfile& profile = instance.profile;
    profile.reset(instance.scheduleLength);
    for (int a = instance.activityCount - 1; a >= 0; --a) {
        const int finish = instance.earliestFinish[index(a)];
        const Word mask = instance.requirementMask[index(a)];
        for (int t = finish - instance.duration[index(a)] + 1; t <= finish; ++t) {
            forEachSetBit(&mask, 1, [&](int k) { profile.counter(t, k) += instance.demand(a, k); });
        }
    }
    for (int t = profile.lastTime(); t >= 0; --t) {
        for (int k = instance.resourceCount - 1; k >= 0; --k) {
            instance.peak[index(k)] = std::max(instance.peak[index(k)], profile.counter(t, k));
        }
    }
}

} // namespace

std::int32_t constrainednessTotal(std::int32_t users, double resourceConstrainedness,
                                  std::int32_t availability) {
    const long double units = static_cast<long double>(users)
                                  * static_cast<long double>(resourceConstrainedness)
                                  * static_cast<long double>(availability)
                              + static_cast<long double>(0.01);
    return static_cast<std::int32_t>(units);
}

std::int32_t strengthAvailability(std::int32_t peak, std::int32_t largestDemand,
                                  double resourceStrength) {
    // 10 * 0.7 lies just below 7 in extended precision: peak 20, largest 10 give 16.
    const long double level =
        static_cast<long double>(peak - largestDemand) * static_cast<long double>(resourceStrength)
        + static_cast<long double>(largestDemand);
    return static_cast<std::int32_t>(level);
}

void spreadByConstrainedness(ProjectInstance& instance, double resourceConstrainedness,
                             RandomSource& random) {
    const int resources = instance.resourceCount;
    for (int k = resources - 1; k >= 0; --k) {
        instance.availability[index(k)] = kConstrainedAvailability;
    }
    for (int k = resources - 1; k >= 0; --k) {
        const std::int32_t total = constrainednessTotal(
            instance.users[index(k)], resourceConstrainedness, instance.availability[index(k)]);
        spreadResource(instance, k, total, random);
    }
}

void computeEarliestFinish(ProjectInstance& instance) {
    const int n = instance.activityCount;
    std::fill(instance.earliestFinish.begin(), instance.earliestFinish.end(), 0);
    std::vector<std::int32_t>& finish = instance.earliestFinish;
    const std::vector<std::int32_t>& duration = instance.duration;
    // Successors carry higher numbers, so finish(a) is final when a is reached.
    for (int a = 0; a < n; ++a) {
        finish[index(a)] = std::max(finish[index(a)], duration[index(a)]);
        forEachSetBit(instance.successorRow(a), instance.rowWords, [&](int s) {
            finish[index(s)] = std::max(finish[index(s)], finish[index(a)] + duration[index(s)]);
        });
    }
    instance.scheduleLength = *std::max_element(finish.begin(), finish.end());
}

void drawByStrength(ProjectInstance& instance, double resourceStrength, RandomSource& random) {
    computeEarliestFinish(instance);
    drawStrengthDemands(instance, random);
    measurePeaks(instance);
    for (int k = instance.resourceCount - 1; k >= 0; --k) {
        instance.availability[index(k)] = strengthAvailability(
            instance.peak[index(k)], instance.largestDemand[index(k)], resourceStrength);
    }
}

void setDemandsAndAvailabilities(ProjectInstance& instance, const RunSettings& settings,
                                 RandomSource& random) {
    if (settings.demandMeasure == DemandMeasure::ResourceConstrainedness) {
        spreadByConstrainedness(instance, settings.resourceConstrainedness, random);
    } else {
        drawByStrength(instance, settings.resourceStrength, random);
    }
}

} // namespace tavrin

#include "export/multi_mode.h"

#include "engine/index_cast.h"
#include "export/resource_demands.h"

#include <algorithm>

namespace tavrin {
namespace {

// count distinct values of 1..range, in increasing order.
void drawDistinct(int count, int range, RandomSource& random, std::vector<std::int32_t>& out) {
    std::vector<std::int32_t> pool(index(range));
    for (int v = 0; v < range; ++v) {
        pool[index(v)] = v + 1;
    }
    for (int i = 0; i < count; ++i) {
        std::swap(pool[index(i)], pool[index(i + random.below(range - i))]);
    }
    out.assign(pool.begin(), pool.begin() + count);
    std::sort(out.begin(), out.end());
}

// RF of the nonrenewable resources: trunc(n*N * factor) (activity, resource) pairs drawn without
// replacement, as for the renewable ones.
std::vector<char> drawNonrenewablePattern(int activities, int resources, double factor,
                                          RandomSource& random) {
    const int pairs = activities * resources;
    const int chosen =
        static_cast<int>(static_cast<long double>(pairs) * static_cast<long double>(factor));
    std::vector<int> list(index(pairs));
    for (int p = 0; p < pairs; ++p) {
        list[index(p)] = p;
    }
    std::vector<char> required(index(pairs), 0);
    for (int c = 0; c < chosen; ++c) {
        std::swap(list[index(c)], list[index(c + random.below(pairs - c))]);
        required[index(list[index(c)])] = 1;
    }
    return required;
}

// The modes of one activity; required[r] over the K renewable then the N nonrenewable resources.
void drawModes(const std::vector<char>& required, int modeCount, int renewable,
               RandomSource& random, formats::Job& job) {
    std::vector<int> used;
    for (int r = 0; r < static_cast<int>(required.size()); ++r) {
        if (required[index(r)] != 0) {
            used.push_back(r);
        }
    }
    // 1..M modes, drawn; an activity without resources has nothing to trade and keeps one.
    const int modes = used.empty() ? 1 : random.below(modeCount) + 1;
    std::vector<std::int32_t> durations;
    std::vector<std::int32_t> demands;
    drawDistinct(modes, kMaxDuration, random, durations);
    job.modes.assign(index(modes), {});
    for (int m = 0; m < modes; ++m) {
        job.modes[index(m)].duration = durations[index(m)];
        job.modes[index(m)].demands.assign(index(renewable), 0);
        job.modes[index(m)].nonrenewable.assign(required.size() - index(renewable), 0);
    }
    const int tradeoff =
        used.empty() ? -1 : used[index(random.below(static_cast<int>(used.size())))];
    for (const int r : used) {
        if (r == tradeoff) {
            drawDistinct(modes, kMaxDemand, random, demands);
        } else {
            demands.resize(index(modes));
            for (auto& demand : demands) {
                demand = random.below(kMaxDemand) + 1;
            }
            std::sort(demands.begin(), demands.end());
        }
        for (int m = 0; m < modes; ++m) {
            const std::int32_t demand = demands[index(modes - 1 - m)];
            formats::Mode& mode = job.modes[index(m)];
            (r < renewable ? mode.demands[index(r)] : mode.nonrenewable[index(r - renewable)]) =
                demand;
        }
    }
}

void setRenewableAvailability(formats::Instance& out, double strength) {
    const std::vector<std::int64_t> peaks = formats::earliestStartPeaks(out);
    for (std::size_t r = 0; r < out.availability.size(); ++r) {
        std::int32_t largestMinimum = 0;
        for (const formats::Job& job : out.jobs) {
            largestMinimum = std::max(largestMinimum, job.modes.back().demands[r]);
        }
        // A peak of first modes of at most kMaxDemand each over n activities fits in 32 bits.
        out.availability[r] =
            strengthAvailability(static_cast<std::int32_t>(peaks[r]), largestMinimum, strength);
    }
}

void setNonrenewableAvailability(formats::Instance& out, double strength) {
    for (std::size_t r = 0; r < out.nonrenewable.size(); ++r) {
        std::int32_t least = 0;
        std::int32_t most = 0;
        for (const formats::Job& job : out.jobs) {
            least += job.modes.back().nonrenewable[r];
            most += job.modes.front().nonrenewable[r];
        }
        out.nonrenewable[r] = strengthAvailability(most, least, strength);
    }
}

// Drops the modes no schedule can use; the last mode of each job always stays.
void dropUnusableModes(formats::Instance& out) {
    std::vector<std::int32_t> spare(out.nonrenewable.begin(), out.nonrenewable.end());
    for (const formats::Job& job : out.jobs) {
        for (std::size_t r = 0; r < spare.size(); ++r) {
            spare[r] -= job.modes.back().nonrenewable[r];
        }
    }
    for (formats::Job& job : out.jobs) {
        const formats::Mode least = job.modes.back();
        std::erase_if(job.modes, [&](const formats::Mode& mode) {
            for (std::size_t r = 0; r < mode.demands.size(); ++r) {
                if (mode.demands[r] > out.availability[r]) {
                    return true;
                }
            }
            for (std::size_t r = 0; r < spare.size(); ++r) {
                if (mode.nonrenewable[r] - least.nonrenewable[r] > spare[r]) {
                    return true;
                }
            }
            return false;
        });
        job.duration = job.modes.front().duration;
        job.demands = job.modes.front().demands;
    }
}

} // namespace

formats::Feasibility completeMultiMode(const ProjectInstance& project, double renewableStrength,
                                       const MultiModeSettings& settings, RandomSource& random,
                                       formats::Instance& out) {
    const int n = project.activityCount;
    const int k = project.resourceCount;
    const int nonrenewable = settings.nonrenewable;
    const std::vector<char> pattern =
        drawNonrenewablePattern(n, nonrenewable, settings.nonrenewableFactor, random);
    out.nonrenewable.assign(index(nonrenewable), 0);
    std::vector<char> required(index(k + nonrenewable));
    for (int a = 0; a < n; ++a) {
        for (int r = 0; r < k + nonrenewable; ++r) {
            const bool needed = r < k ? project.requiresResource(a, r)
                                      : pattern[index(a * nonrenewable + r - k)] != 0;
            required[index(r)] = needed ? 1 : 0;
        }
        formats::Job& job = out.jobs[index(a + 1)];
        drawModes(required, settings.modes, k, random, job);
        job.duration = job.modes.front().duration;
        job.demands = job.modes.front().demands;
    }
    for (formats::Job* dummy : {&out.jobs.front(), &out.jobs.back()}) {
        dummy->modes.assign(1, {0, std::vector<std::int32_t>(index(k), 0),
                                std::vector<std::int32_t>(index(nonrenewable), 0)});
    }
    setRenewableAvailability(out, renewableStrength);
    setNonrenewableAvailability(out, settings.nonrenewableStrength);
    dropUnusableModes(out);
    return formats::nonrenewableFeasibility(out);
}

} // namespace tavrin

#include "solve_fixtures.h"

#include <algorithm>
#include <random>
#include <vector>

namespace tavrin::solve::testing {

formats::Instance randomInstance(std::uint32_t seed, int jobs, int resources, int arcPercent) {
    std::mt19937 random(seed);
    auto draw = [&](int low, int high) {
        return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1));
    };
    formats::Instance instance;
    for (int k = 0; k < resources; ++k) {
        instance.availability.push_back(draw(2, 6));
    }
    const int total = jobs + 2;
    instance.jobs.resize(static_cast<std::size_t>(total));
    std::vector<bool> hasPredecessor(total, false);
    for (int j = 1; j <= jobs; ++j) {
        formats::Job& job = instance.jobs[j];
        job.duration = draw(0, 9) == 0 ? 0 : draw(1, 6);
        for (int k = 0; k < resources; ++k) {
            job.demands.push_back(draw(0, 3) == 0 ? 0 : draw(1, instance.availability[k]));
        }
        for (int next = j + 1; next <= jobs; ++next) {
            if (draw(1, 100) <= arcPercent) {
                job.successors.push_back(next);
                hasPredecessor[next] = true;
            }
        }
        if (job.successors.empty()) {
            job.successors.push_back(total - 1);
        }
    }
    instance.jobs[0].demands.assign(resources, 0);
    instance.jobs[total - 1].demands.assign(resources, 0);
    for (int j = 1; j <= jobs; ++j) {
        if (!hasPredecessor[j]) {
            instance.jobs[0].successors.push_back(j);
        }
    }
    return instance;
}

namespace {

struct Enumeration {
    const formats::Instance& instance;
    std::vector<std::vector<int>> predecessors;
    std::vector<int> start;
    std::vector<bool> placed;
    int best = 0;

    bool fits(int job, int time) const {
        for (std::size_t k = 0; k < instance.availability.size(); ++k) {
            for (int t = time; t < time + instance.jobs[job].duration; ++t) {
                int usage = instance.jobs[job].demands[k];
                for (std::size_t other = 0; other < placed.size(); ++other) {
                    const auto& o = instance.jobs[other];
                    if (placed[other] && start[other] <= t && t < start[other] + o.duration) {
                        usage += o.demands[k];
                    }
                }
                if (usage > instance.availability[k]) {
                    return false;
                }
            }
        }
        return true;
    }

    void extend(int count, int makespan) {
        if (makespan >= best) {
            return;
        }
        if (count == static_cast<int>(placed.size())) {
            best = std::min(best, makespan);
            return;
        }
        for (std::size_t j = 0; j < placed.size(); ++j) {
            const bool ready = std::all_of(predecessors[j].begin(), predecessors[j].end(),
                                           [&](int p) { return placed[p]; });
            if (placed[j] || !ready) {
                continue;
            }
            int time = 0;
            for (int p : predecessors[j]) {
                time = std::max(time, start[p] + instance.jobs[p].duration);
            }
            while (!fits(static_cast<int>(j), time)) {
                ++time;
            }
            start[j] = time;
            placed[j] = true;
            extend(count + 1, std::max(makespan, time + instance.jobs[j].duration));
            placed[j] = false;
        }
    }
};

} // namespace

int bruteForceOptimum(const formats::Instance& instance) {
    Enumeration search{instance, {}, {}, {}, 1 << 30};
    const std::size_t n = instance.jobs.size();
    search.predecessors.resize(n);
    for (std::size_t j = 0; j < n; ++j) {
        for (int next : instance.jobs[j].successors) {
            search.predecessors[next].push_back(static_cast<int>(j));
        }
    }
    search.start.assign(n, 0);
    search.placed.assign(n, false);
    search.extend(0, 0);
    return search.best;
}

} // namespace tavrin::solve::testing

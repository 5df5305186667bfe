#include "export/time_lags.h"

#include <algorithm>
#include <cassert>
#include <limits>
#include <optional>
#include <stdexcept>

namespace tavrin {
namespace {

struct Arc {
    std::int32_t from;
    std::int32_t to;
};

bool isActivity(const formats::Instance& instance, std::int32_t job) {
    return job > 0 && job + 1 < instance.jobCount();
}

std::int64_t durationSum(const formats::Instance& instance) {
    std::int64_t sum = 0;
    for (const formats::Job& job : instance.jobs) {
        sum += job.duration;
    }
    return sum;
}

// The arcs between activities with a nonnegative lag: the precedences.
std::vector<Arc> activityArcs(const formats::Instance& instance) {
    std::vector<Arc> arcs;
    for (std::int32_t j = 1; j + 1 < instance.jobCount(); ++j) {
        const formats::Job& job = instance.jobs[static_cast<std::size_t>(j)];
        for (std::size_t i = 0; i < job.successors.size(); ++i) {
            if (isActivity(instance, job.successors[i]) && (job.lags.empty() || job.lags[i] >= 0)) {
                arcs.push_back({j, job.successors[i]});
            }
        }
    }
    return arcs;
}

// The longest path of nonnegative lags from one job to another; nothing when there is none (or
// when those lags form a positive cycle).
std::optional<std::int64_t> longestPath(const formats::Instance& instance, std::int32_t from,
                                        std::int32_t to) {
    constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::min();
    std::vector<std::int64_t> distance(instance.jobs.size(), kNone);
    std::vector<std::size_t> passes(instance.jobs.size(), 0);
    std::vector<std::int32_t> stack{from};
    distance[static_cast<std::size_t>(from)] = 0;
    while (!stack.empty()) {
        const auto j = static_cast<std::size_t>(stack.back());
        stack.pop_back();
        if (++passes[j] > instance.jobs.size()) {
            return std::nullopt;
        }
        const formats::Job& job = instance.jobs[j];
        for (std::size_t i = 0; i < job.successors.size(); ++i) {
            const auto s = static_cast<std::size_t>(job.successors[i]);
            if (job.lags[i] >= 0 && distance[j] + job.lags[i] > distance[s]) {
                distance[s] = distance[j] + job.lags[i];
                stack.push_back(job.successors[i]);
            }
        }
    }
    const std::int64_t found = distance[static_cast<std::size_t>(to)];
    return found == kNone ? std::nullopt : std::optional<std::int64_t>(found);
}

// Whether the job fits the capacities left over [start, start + duration); where it does not,
// the first time it collides.
std::optional<std::int64_t> collision(const formats::Job& job, const std::vector<std::int32_t>& use,
                                      const std::vector<std::int32_t>& capacity,
                                      std::int64_t start) {
    const std::size_t k = capacity.size();
    for (std::int64_t t = start; t < start + job.duration; ++t) {
        for (std::size_t r = 0; r < k; ++r) {
            if (use[static_cast<std::size_t>(t) * k + r] + job.demands[r] > capacity[r]) {
                return t;
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<std::int64_t> referenceSchedule(const formats::Instance& instance) {
    const std::size_t k = instance.availability.size();
    for (const formats::Job& job : instance.jobs) {
        for (std::size_t r = 0; r < k; ++r) {
            if (job.duration > 0 && job.demands[r] > instance.availability[r]) {
                throw std::invalid_argument("A demand above its availability leaves no schedule");
            }
        }
    }
    std::vector<std::int32_t> use(static_cast<std::size_t>(durationSum(instance) + 1) * k, 0);
    std::vector<std::int64_t> release(instance.jobs.size(), 0);
    std::vector<std::int64_t> starts(instance.jobs.size(), 0);
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        const formats::Job& job = instance.jobs[j];
        std::int64_t start = release[j];
        while (const auto blocked = collision(job, use, instance.availability, start)) {
            start = *blocked + 1;
        }
        starts[j] = start;
        for (std::int64_t t = start; t < start + job.duration; ++t) {
            for (std::size_t r = 0; r < k; ++r) {
                use[static_cast<std::size_t>(t) * k + r] += job.demands[r];
            }
        }
        for (const std::int32_t s : job.successors) {
            assert(static_cast<std::size_t>(s) > j);
            auto& next = release[static_cast<std::size_t>(s)];
            next = std::max(next, start + job.duration);
        }
    }
    return starts;
}

formats::Feasibility addTimeLags(const TimeLagSettings& settings, RandomSource& random,
                                 formats::Instance& out, std::vector<std::int64_t>& reference) {
    reference = referenceSchedule(out);
    for (std::size_t j = 0; j < out.jobs.size(); ++j) {
        formats::Job& job = out.jobs[j];
        job.lags.assign(job.successors.size(), j == 0 ? 0 : job.duration);
    }
    std::vector<Arc> arcs = activityArcs(out);
    const auto chosen = static_cast<std::size_t>(static_cast<long double>(arcs.size())
                                                 * static_cast<long double>(settings.maxLagShare));
    const auto slack = static_cast<std::int64_t>(static_cast<long double>(durationSum(out))
                                                 * (1.0L - settings.tightness));
    for (std::size_t c = 0; c < chosen; ++c) {
        const std::size_t drawn =
            c + static_cast<std::size_t>(random.below(static_cast<int>(arcs.size() - c)));
        std::swap(arcs[c], arcs[drawn]);
        const Arc arc = arcs[c];
        const auto from = static_cast<std::size_t>(arc.from);
        const auto to = static_cast<std::size_t>(arc.to);
        const std::int64_t maxLag = reference[to] - reference[from] + slack;
        out.jobs[to].successors.push_back(arc.from);
        out.jobs[to].lags.push_back(static_cast<std::int32_t>(-maxLag));
    }
    std::vector<std::int64_t> earliest;
    return formats::temporalFeasibility(out, earliest);
}

LagMeasures measureLags(const formats::Instance& instance) {
    LagMeasures measures;
    const std::vector<Arc> arcs = activityArcs(instance);
    if (arcs.empty() || !instance.hasTimeLags()) {
        return measures;
    }
    const long double sum =
        static_cast<long double>(std::max<std::int64_t>(durationSum(instance), 1));
    int maximal = 0;
    int measured = 0;
    long double tightness = 0.0L;
    for (std::int32_t j = 0; j < instance.jobCount(); ++j) {
        const formats::Job& job = instance.jobs[static_cast<std::size_t>(j)];
        for (std::size_t i = 0; i < job.successors.size(); ++i) {
            const std::int32_t to = job.successors[i];
            if (job.lags[i] >= 0 || !isActivity(instance, j) || !isActivity(instance, to)) {
                continue;
            }
            ++maximal;
            // The maximal lag from `to` to j against the longest path of minimal lags.
            const std::optional<std::int64_t> tight = longestPath(instance, to, j);
            if (tight) {
                const long double loose = static_cast<long double>(-job.lags[i] - *tight) / sum;
                tightness += std::clamp(1.0L - loose, 0.0L, 1.0L);
                ++measured;
            }
        }
    }
    measures.maxLagShare = static_cast<double>(maximal) / static_cast<double>(arcs.size());
    measures.tightness = measured == 0 ? 0.0 : static_cast<double>(tightness / measured);
    return measures;
}

} // namespace tavrin

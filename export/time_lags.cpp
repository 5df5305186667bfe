#include "export/time_lags.h"

#include <algorithm>

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

} // namespace

formats::Feasibility addTimeLags(const TimeLagSettings& settings, RandomSource& random,
                                 formats::Instance& out) {
    for (std::size_t j = 0; j < out.jobs.size(); ++j) {
        formats::Job& job = out.jobs[j];
        job.lags.assign(job.successors.size(), j == 0 ? 0 : job.duration);
    }
    std::vector<Arc> arcs = activityArcs(out);
    const auto chosen = static_cast<std::size_t>(static_cast<long double>(arcs.size())
                                                 * static_cast<long double>(settings.maxLagShare));
    std::vector<std::int64_t> earliest;
    formats::temporalFeasibility(out, earliest);
    const auto slack = static_cast<std::int64_t>(static_cast<long double>(durationSum(out))
                                                 * (1.0L - settings.tightness));
    for (std::size_t c = 0; c < chosen; ++c) {
        const std::size_t drawn =
            c + static_cast<std::size_t>(random.below(static_cast<int>(arcs.size() - c)));
        std::swap(arcs[c], arcs[drawn]);
        const Arc arc = arcs[c];
        const auto from = static_cast<std::size_t>(arc.from);
        const auto to = static_cast<std::size_t>(arc.to);
        const std::int64_t maxLag = earliest[to] - earliest[from] + slack;
        out.jobs[to].successors.push_back(arc.from);
        out.jobs[to].lags.push_back(static_cast<std::int32_t>(-maxLag));
    }
    return formats::temporalFeasibility(out, earliest);
}

LagMeasures measureLags(const formats::Instance& instance) {
    LagMeasures measures;
    const std::vector<Arc> arcs = activityArcs(instance);
    if (arcs.empty() || !instance.hasTimeLags()) {
        return measures;
    }
    std::vector<std::int64_t> earliest;
    const bool feasible =
        formats::temporalFeasibility(instance, earliest) == formats::Feasibility::Feasible;
    const long double sum =
        static_cast<long double>(std::max<std::int64_t>(durationSum(instance), 1));
    int maximal = 0;
    long double tightness = 0.0L;
    for (std::int32_t j = 0; j < instance.jobCount(); ++j) {
        const formats::Job& job = instance.jobs[static_cast<std::size_t>(j)];
        for (std::size_t i = 0; i < job.successors.size(); ++i) {
            const std::int32_t to = job.successors[i];
            if (job.lags[i] >= 0 || !isActivity(instance, j) || !isActivity(instance, to)) {
                continue;
            }
            ++maximal;
            if (!feasible) {
                continue;
            }
            const std::int64_t tight =
                earliest[static_cast<std::size_t>(j)] - earliest[static_cast<std::size_t>(to)];
            const long double loose = static_cast<long double>(-job.lags[i] - tight) / sum;
            tightness += std::clamp(1.0L - loose, 0.0L, 1.0L);
        }
    }
    measures.maxLagShare = static_cast<double>(maximal) / static_cast<double>(arcs.size());
    measures.tightness = maximal == 0 || !feasible ? 0.0 : static_cast<double>(tightness / maximal);
    return measures;
}

} // namespace tavrin

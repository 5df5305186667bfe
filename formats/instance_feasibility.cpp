#include "formats/instance_feasibility.h"

#include <algorithm>
#include <deque>

namespace tavrin::formats {
namespace {

constexpr std::size_t kFrontBudget = 4000000;

// The usages of resources 2..N reachable with a given usage of resource 1, Pareto-minimal, as
// consecutive tuples.
using Front = std::vector<std::int64_t>;

bool dominatedBy(const std::int64_t* tuple, const std::int64_t* other, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        if (other[i] > tuple[i]) {
            return false;
        }
    }
    return true;
}

// Adds the tuple unless a kept one is no larger everywhere; drops kept ones it improves on.
void offer(Front& front, const std::int64_t* tuple, std::size_t width) {
    for (std::size_t at = 0; at < front.size(); at += width) {
        if (dominatedBy(tuple, &front[at], width)) {
            return;
        }
    }
    std::size_t kept = 0;
    for (std::size_t at = 0; at < front.size(); at += width) {
        if (!dominatedBy(&front[at], tuple, width)) {
            std::copy_n(&front[at], width, &front[kept]);
            kept += width;
        }
    }
    front.resize(kept);
    front.insert(front.end(), tuple, tuple + width);
}

// One job more: every reachable state combined with every mode that still fits.
bool addJob(const Instance& instance, const Job& job, std::vector<Front>& states,
            std::vector<Front>& next, std::size_t& entries) {
    const std::size_t width = instance.nonrenewable.size() - 1;
    const std::int64_t first = instance.nonrenewable[0];
    for (Front& front : next) {
        front.clear();
    }
    std::vector<std::int64_t> tuple(width);
    entries = 0;
    for (std::size_t used = 0; used < states.size(); ++used) {
        for (std::size_t at = 0; at < states[used].size(); at += width) {
            for (const Mode& mode : job.modes) {
                const std::int64_t total = static_cast<std::int64_t>(used) + mode.nonrenewable[0];
                bool fits = total <= first;
                for (std::size_t r = 0; r < width && fits; ++r) {
                    tuple[r] = states[used][at + r] + mode.nonrenewable[r + 1];
                    fits = tuple[r] <= instance.nonrenewable[r + 1];
                }
                if (fits) {
                    offer(next[static_cast<std::size_t>(total)], tuple.data(), width);
                }
            }
        }
    }
    for (const Front& front : next) {
        entries += front.size() + 1;
    }
    states.swap(next);
    return entries <= kFrontBudget;
}

// With one resource the cheapest mode of every job decides.
Feasibility singleResourceFeasibility(const Instance& instance) {
    std::int64_t sum = 0;
    for (const Job& job : instance.jobs) {
        if (job.modes.empty()) {
            return Feasibility::Infeasible;
        }
        std::int64_t least = job.modes.front().nonrenewable[0];
        for (const Mode& mode : job.modes) {
            least = std::min<std::int64_t>(least, mode.nonrenewable[0]);
        }
        sum += least;
    }
    return sum <= instance.nonrenewable[0] ? Feasibility::Feasible : Feasibility::Infeasible;
}

} // namespace

std::string_view feasibilityName(Feasibility feasibility) {
    switch (feasibility) {
    case Feasibility::Feasible:
        return "feasible";
    case Feasibility::Infeasible:
        return "infeasible";
    case Feasibility::Unknown:
        break;
    }
    return "unknown";
}

Feasibility nonrenewableFeasibility(const Instance& instance) {
    if (instance.nonrenewable.empty() || !instance.multiMode()) {
        return Feasibility::Feasible;
    }
    const auto firstCapacity = static_cast<std::size_t>(instance.nonrenewable[0]);
    if (firstCapacity + 1 > kFrontBudget) {
        return Feasibility::Unknown;
    }
    std::vector<Front> states(firstCapacity + 1);
    std::vector<Front> next(firstCapacity + 1);
    states[0].assign(instance.nonrenewable.size() - 1, 0);
    if (states[0].empty()) {
        return singleResourceFeasibility(instance);
    }
    std::size_t entries = 0;
    for (const Job& job : instance.jobs) {
        if (!addJob(instance, job, states, next, entries)) {
            return Feasibility::Unknown;
        }
    }
    for (const Front& front : states) {
        if (!front.empty()) {
            return Feasibility::Feasible;
        }
    }
    return Feasibility::Infeasible;
}

Feasibility temporalFeasibility(const Instance& instance, std::vector<std::int64_t>& earliest) {
    const std::size_t jobs = instance.jobs.size();
    earliest.assign(jobs, 0);
    std::vector<std::size_t> requeued(jobs, 0);
    std::vector<char> queued(jobs, 1);
    std::deque<std::size_t> queue;
    for (std::size_t j = 0; j < jobs; ++j) {
        queue.push_back(j);
    }
    while (!queue.empty()) {
        const std::size_t j = queue.front();
        queue.pop_front();
        queued[j] = 0;
        const Job& job = instance.jobs[j];
        for (std::size_t i = 0; i < job.successors.size(); ++i) {
            const auto s = static_cast<std::size_t>(job.successors[i]);
            const std::int64_t lag = job.lags.empty() ? job.duration : job.lags[i];
            if (earliest[j] + lag <= earliest[s]) {
                continue;
            }
            earliest[s] = earliest[j] + lag;
            if (queued[s] == 0) {
                // Without a positive cycle a job is queued again at most jobs - 1 times.
                if (++requeued[s] >= jobs) {
                    return Feasibility::Infeasible;
                }
                queued[s] = 1;
                queue.push_back(s);
            }
        }
    }
    return Feasibility::Feasible;
}

bool meetsLagsAndCapacities(const Instance& instance, const std::vector<std::int64_t>& starts) {
    if (starts.size() != instance.jobs.size()) {
        return false;
    }
    std::vector<std::pair<std::int64_t, std::size_t>> events; // 2t+1 a start, 2t an end
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        const Job& job = instance.jobs[j];
        for (std::size_t i = 0; i < job.successors.size(); ++i) {
            if (starts[static_cast<std::size_t>(job.successors[i])]
                < starts[j] + (job.lags.empty() ? job.duration : job.lags[i])) {
                return false;
            }
        }
        if (starts[j] < 0) {
            return false;
        }
        if (job.duration > 0) {
            events.emplace_back(2 * starts[j] + 1, j);
            events.emplace_back(2 * (starts[j] + job.duration), j);
        }
    }
    std::sort(events.begin(), events.end()); // ends before starts at the same time
    std::vector<std::int64_t> use(instance.availability.size(), 0);
    for (const auto& [time, j] : events) {
        for (std::size_t r = 0; r < use.size(); ++r) {
            const std::int64_t demand = instance.jobs[j].demands[r];
            use[r] += time % 2 != 0 ? demand : -demand;
            if (use[r] > instance.availability[r]) {
                return false;
            }
        }
    }
    return true;
}

std::vector<std::int64_t> earliestStartPeaks(const Instance& instance) {
    std::vector<std::int64_t> earliest;
    temporalFeasibility(instance, earliest);
    std::vector<std::pair<std::int64_t, std::size_t>> events; // time, job; ends sort first
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        if (instance.jobs[j].duration > 0) {
            events.emplace_back(2 * earliest[j] + 1, j);
            events.emplace_back(2 * (earliest[j] + instance.jobs[j].duration), j);
        }
    }
    std::sort(events.begin(), events.end());
    const std::size_t k = instance.availability.size();
    std::vector<std::int64_t> use(k, 0);
    std::vector<std::int64_t> peaks(k, 0);
    for (const auto& [time, j] : events) {
        const bool starts = time % 2 != 0;
        for (std::size_t r = 0; r < k; ++r) {
            use[r] += starts ? instance.jobs[j].demands[r] : -instance.jobs[j].demands[r];
            peaks[r] = std::max(peaks[r], use[r]);
        }
    }
    return peaks;
}

Feasibility instanceFeasibility(const Instance& instance) {
    std::vector<std::int64_t> earliest;
    if (temporalFeasibility(instance, earliest) == Feasibility::Infeasible) {
        return Feasibility::Infeasible;
    }
    return nonrenewableFeasibility(instance);
}

} // namespace tavrin::formats

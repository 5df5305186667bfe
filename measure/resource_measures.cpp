#include "measure/resource_measures.h"

#include "engine/index_cast.h"
#include "formats/instance_feasibility.h"
#include "solve/lower_bounds.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace tavrin::measure {

namespace {

double ratio(std::int64_t numerator, std::int64_t denominator) {
    return static_cast<double>(numerator) / static_cast<double>(denominator);
}

std::optional<double> meanOfDefined(const std::vector<std::optional<double>>& values) {
    double sum = 0.0;
    int count = 0;
    for (const std::optional<double>& value : values) {
        if (value) {
            sum += *value;
            ++count;
        }
    }
    if (count == 0) {
        return std::nullopt;
    }
    return sum / count;
}

void measureRequests(const formats::Instance& instance, InstanceMeasures& measures) {
    const int jobs = instance.jobCount();
    const int resources = instance.resourceCount();
    std::int64_t requests = 0;
    int fewest = resources;
    int most = 0;
    for (int j = 1; j < jobs - 1; ++j) {
        const std::vector<std::int32_t>& demands = instance.jobs[index(j)].demands;
        const int used = static_cast<int>(
            std::count_if(demands.begin(), demands.end(), [](std::int32_t d) { return d > 0; }));
        requests += used;
        fewest = std::min(fewest, used);
        most = std::max(most, used);
    }
    const int n = jobs - 2;
    measures.resourceFactor = resources == 0 ? 0.0 : ratio(requests, std::int64_t{n} * resources);
    measures.resourceUseMin = fewest;
    measures.resourceUseMean = ratio(requests, n);
    measures.resourceUseMax = most;
}

// A job's least work on resource k over its modes: any mode may be the one that runs.
std::pair<std::int64_t, std::int64_t> leastWorkMode(const formats::Job& job, int k) {
    std::pair<std::int64_t, std::int64_t> least{job.duration, job.demands[index(k)]};
    for (const formats::Mode& mode : job.modes) {
        const std::int64_t demand = mode.demands[index(k)];
        // Both factors are 32-bit, so the products fit 64 bits.
        if (mode.duration * demand < least.first * least.second) {
            least = {mode.duration, demand};
        }
    }
    return least;
}

// The makespan no schedule can undercut before resources count: the critical path, or with
// time lags the earliest start of the end job (lags may be shorter than durations).
std::int64_t temporalBound(const formats::Instance& instance, std::int64_t criticalPath) {
    if (!instance.hasTimeLags()) {
        return criticalPath;
    }
    std::vector<std::int64_t> earliest;
    if (formats::temporalFeasibility(instance, earliest) != formats::Feasibility::Feasible) {
        return 0;
    }
    return earliest.back();
}

std::int64_t checkedWork(std::int64_t work, std::int64_t duration, std::int64_t demand) {
    std::int64_t product = 0;
    if (__builtin_mul_overflow(duration, demand, &product)
        || __builtin_add_overflow(work, product, &work)) {
        throw std::invalid_argument("the work of a resource exceeds 64 bits");
    }
    return work;
}

} // namespace

std::vector<std::int64_t> peakDemands(const formats::Instance& instance,
                                      const std::vector<std::int64_t>& finish) {
    // Ends sort before starts at the same time: a job ending at t and one starting at t never
    // share a time unit.
    std::vector<std::pair<std::int64_t, int>> events; // (time, +job+1 start / -(job+1) end)
    for (int j = 0; j < instance.jobCount(); ++j) {
        const std::int32_t duration = instance.jobs[index(j)].duration;
        if (duration > 0) {
            events.emplace_back(finish[index(j)] - duration, j + 1);
            events.emplace_back(finish[index(j)], -(j + 1));
        }
    }
    std::sort(events.begin(), events.end());
    const int resources = instance.resourceCount();
    std::vector<std::int64_t> peak(index(resources), 0);
    std::vector<std::int64_t> load(index(resources), 0);
    for (const auto& [time, signedJob] : events) {
        const int job = (signedJob > 0 ? signedJob : -signedJob) - 1;
        const std::vector<std::int32_t>& demands = instance.jobs[index(job)].demands;
        for (int k = 0; k < resources; ++k) {
            load[index(k)] += signedJob > 0 ? demands[index(k)] : -demands[index(k)];
            peak[index(k)] = std::max(peak[index(k)], load[index(k)]);
        }
    }
    return peak;
}

void measureResources(const formats::Instance& instance, const std::vector<std::int64_t>& finish,
                      InstanceMeasures& measures) {
    measureRequests(instance, measures);
    const int jobs = instance.jobCount();
    const int resources = instance.resourceCount();
    const std::vector<std::int64_t> peak = peakDemands(instance, finish);
    measures.constrainednessPerResource.assign(index(resources), std::nullopt);
    measures.strengthPerResource.assign(index(resources), std::nullopt);
    std::int64_t bound = temporalBound(instance, measures.criticalPathLength);
    for (int k = 0; k < resources; ++k) {
        const std::int64_t available = instance.availability[index(k)];
        std::int64_t demandSum = 0;
        std::int64_t largest = 0;
        std::int64_t work = 0;
        int users = 0;
        for (int j = 0; j < jobs; ++j) {
            const formats::Job& job = instance.jobs[index(j)];
            const std::int64_t demand = job.demands[index(k)];
            if (demand > 0 && available == 0) {
                throw std::invalid_argument("job " + std::to_string(j + 1) + " demands resource "
                                            + std::to_string(k + 1) + ", whose availability is 0");
            }
            const auto [leastDuration, leastDemand] = leastWorkMode(job, k);
            work = checkedWork(work, leastDuration, leastDemand);
            largest = std::max(largest, demand);
            if (demand > 0 && j > 0 && j < jobs - 1) {
                demandSum += demand;
                ++users;
            }
        }
        if (users > 0) {
            measures.constrainednessPerResource[index(k)] =
                ratio(demandSum, users) / static_cast<double>(available);
        }
        if (peak[index(k)] != largest) {
            measures.strengthPerResource[index(k)] =
                ratio(available - largest, peak[index(k)] - largest);
        }
        if (available > 0) {
            bound = std::max(bound, (work + available - 1) / available);
        }
    }
    measures.resourceConstrainedness = meanOfDefined(measures.constrainednessPerResource);
    measures.resourceStrength = meanOfDefined(measures.strengthPerResource);
    // The energy bound here also covers a job exceeding its resource, which the solver's refuse.
    // The solver's bounds hold for single-mode instances without lags only.
    const bool solverBounds = !instance.multiMode() && !instance.hasTimeLags();
    measures.lowerBound =
        std::max<std::int64_t>(bound, solverBounds ? solve::bestLowerBound(instance) : 0);
}

} // namespace tavrin::measure

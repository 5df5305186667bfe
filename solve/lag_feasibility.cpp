#include "solve/lag_feasibility.h"

#include <algorithm>
#include <gecode/int.hh>
#include <gecode/minimodel.hh>
#include <gecode/search.hh>
#include <memory>

namespace tavrin::solve {
namespace {

using namespace Gecode;

std::int64_t lagOf(const formats::Job& job, std::size_t i) {
    return job.lags.empty() ? job.duration : job.lags[i];
}

// Every schedule that exists fits in the sum over the jobs of their longest duration or lag:
// a classical horizon for minimal and maximal time lags.
std::int64_t horizonOf(const formats::Instance& instance) {
    std::int64_t horizon = 0;
    for (const formats::Job& job : instance.jobs) {
        std::int64_t longest = job.duration;
        for (std::size_t i = 0; i < job.successors.size(); ++i) {
            longest = std::max(longest, lagOf(job, i));
        }
        horizon += longest;
    }
    return horizon;
}

class LagModel : public Space {
public:
    LagModel(const formats::Instance& instance, int horizon)
        : m_start(*this, instance.jobCount(), 0, horizon) {
        rel(*this, m_start[0], IRT_EQ, 0);
        for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
            const formats::Job& job = instance.jobs[j];
            for (std::size_t i = 0; i < job.successors.size(); ++i) {
                const auto s = static_cast<int>(job.successors[i]);
                rel(*this,
                    m_start[s] >= m_start[static_cast<int>(j)] + static_cast<int>(lagOf(job, i)));
            }
        }
        for (std::size_t r = 0; r < instance.availability.size(); ++r) {
            IntVarArgs starts;
            IntArgs durations;
            IntArgs demands;
            for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
                const formats::Job& job = instance.jobs[j];
                if (job.duration > 0 && job.demands[r] > 0) {
                    starts << m_start[static_cast<int>(j)];
                    durations << job.duration;
                    demands << job.demands[r];
                }
            }
            if (starts.size() > 0) {
                cumulative(*this, instance.availability[r], starts, durations, demands);
            }
        }
        branch(*this, m_start, INT_VAR_MIN_MIN(), INT_VAL_MIN());
    }
    LagModel(LagModel& other) : Space(other) { m_start.update(*this, other.m_start); }
    Space* copy() override { return new LagModel(*this); }

    std::vector<std::int64_t> starts() const {
        std::vector<std::int64_t> out;
        out.reserve(static_cast<std::size_t>(m_start.size()));
        for (int j = 0; j < m_start.size(); ++j) {
            out.push_back(m_start[j].val());
        }
        return out;
    }

private:
    IntVarArray m_start;
};

} // namespace

formats::Feasibility lagScheduleFeasibility(const formats::Instance& instance,
                                            std::int64_t nodeLimit,
                                            std::vector<std::int64_t>& starts) {
    using formats::Feasibility;
    std::vector<std::int64_t> earliest;
    if (formats::temporalFeasibility(instance, earliest) == Feasibility::Infeasible) {
        return Feasibility::Infeasible;
    }
    for (std::size_t r = 0; r < instance.availability.size(); ++r) {
        for (const formats::Job& job : instance.jobs) {
            if (job.duration > 0 && job.demands[r] > instance.availability[r]) {
                return Feasibility::Infeasible;
            }
        }
    }
    const std::int64_t horizon = horizonOf(instance);
    if (horizon > Int::Limits::max / 2) {
        return Feasibility::Unknown;
    }
    auto model = std::make_unique<LagModel>(instance, static_cast<int>(horizon));
    Search::Options options;
    Search::NodeStop stop(static_cast<unsigned long>(std::max<std::int64_t>(nodeLimit, 1)));
    options.stop = &stop;
    DFS<LagModel> search(model.get(), options);
    const std::unique_ptr<LagModel> solution(search.next());
    if (solution) {
        starts = solution->starts();
        return formats::meetsLagsAndCapacities(instance, starts) ? Feasibility::Feasible
                                                                 : Feasibility::Unknown;
    }
    return search.stopped() ? Feasibility::Unknown : Feasibility::Infeasible;
}

} // namespace tavrin::solve

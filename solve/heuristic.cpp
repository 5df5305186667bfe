#include "solve/heuristic.h"

#include "solve/activity_lists.h"
#include "solve/schedule_generation.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace tavrin::solve {

namespace {

struct RuleName {
    PriorityRule rule;
    const char* name;
};

constexpr std::array kRules{RuleName{PriorityRule::LatestFinish, "LFT"},
                            RuleName{PriorityRule::LatestStart, "LST"},
                            RuleName{PriorityRule::MostTotalSuccessors, "MTS"},
                            RuleName{PriorityRule::RankPositionalWeight, "GRPW"},
                            RuleName{PriorityRule::MinimumSlack, "MSLK"}};

std::vector<int> totalSuccessors(const Project& project) {
    const int n = project.jobCount;
    const std::size_t words = (static_cast<std::size_t>(n) + 63) / 64;
    std::vector<std::uint64_t> reach(words * n, 0);
    std::vector<int> count(n, 0);
    for (auto it = project.order.rbegin(); it != project.order.rend(); ++it) {
        std::uint64_t* row = &reach[words * *it];
        for (int next : project.successors[*it]) {
            row[next / 64] |= std::uint64_t{1} << (next % 64);
            for (std::size_t w = 0; w < words; ++w) {
                row[w] |= reach[words * next + w];
            }
        }
        for (std::size_t w = 0; w < words; ++w) {
            count[*it] += std::popcount(row[w]);
        }
    }
    return count;
}

Project reversed(const Project& project) {
    Project back = project;
    std::swap(back.successors, back.predecessors);
    std::swap(back.head, back.tail);
    std::reverse(back.order.begin(), back.order.end());
    return back;
}

// Forward-backward improvement: shifts every job as late as the schedule's makespan allows,
// latest finish first, then back as early as possible, earliest start first. Never longer.
class Justifier {
public:
    explicit Justifier(const Project& project)
        : m_project(project), m_back(reversed(project)), m_forward(project), m_backward(m_back) {}

    int improve(std::vector<int>& start, int makespan) {
        const int n = m_project.jobCount;
        m_priority.resize(n);
        for (int j = 0; j < n; ++j) {
            m_priority[j] = -(start[j] + m_project.duration[j]);
        }
        const int backMakespan = m_backward.serial({&m_priority, nullptr}, m_shifted);
        for (int j = 0; j < n; ++j) {
            m_priority[j] = backMakespan - m_shifted[j] - m_project.duration[j];
        }
        const int length = m_forward.serial({&m_priority, nullptr}, m_shifted);
        if (length < makespan) {
            start = m_shifted;
            return length;
        }
        return makespan;
    }

private:
    const Project& m_project;
    Project m_back;
    ScheduleBuilder m_forward;
    ScheduleBuilder m_backward;
    std::vector<int> m_priority;
    std::vector<int> m_shifted;
};

struct Search {
    Search(const Project& p, int bound, int schedules, const std::atomic<bool>* flag)
        : project(p), lowerBound(bound), budget(schedules), stop(flag), builder(p), justifier(p) {}

    const Project& project;
    int lowerBound;
    int budget;
    const std::atomic<bool>* stop;
    ScheduleBuilder builder;
    Justifier justifier;
    HeuristicResult best;
    std::vector<int> start;

    bool done() const {
        return best.makespan <= lowerBound || best.schedules >= budget
               || (stop != nullptr && stop->load());
    }

    // Justifies once when the budget allows (more passes rarely pay for their schedules), then
    // keeps the schedule if it is the best. Returns the makespan of start after justification.
    int offer(int makespan, const std::string& method) {
        ++best.schedules;
        std::string how = method;
        if (best.schedules + 2 <= budget) {
            best.schedules += 2;
            const int improved = justifier.improve(start, makespan);
            if (improved < makespan) {
                makespan = improved;
                how = method + " + justification";
            }
        }
        if (best.start.empty() || makespan < best.makespan) {
            best.start = start;
            best.makespan = makespan;
            best.method = how;
        }
        return makespan;
    }

    int build(bool serial, const JobChoice& choice) {
        return serial ? builder.serial(choice, start) : builder.parallel(choice, start);
    }
};

struct Individual {
    std::vector<int> list;
    int makespan = 0;
};

// Sampled schedules seed the population of the genetic search.
// Tuned on 30-job instances: larger populations and rates did not find shorter schedules.
constexpr int kPopulation = 40;
constexpr double kMutationRate = 0.1;

// The best kPopulation individuals, each list once: clones would crowd out the variety the
// crossover needs (with them the search stalls, however many schedules it may build).
void keepDistinctBest(std::vector<Individual>& population) {
    std::stable_sort(
        population.begin(), population.end(),
        [](const Individual& x, const Individual& y) { return x.makespan < y.makespan; });
    std::vector<Individual> kept;
    for (Individual& individual : population) {
        if (kept.size() == static_cast<std::size_t>(kPopulation)) {
            break;
        }
        const bool clone = std::any_of(kept.begin(), kept.end(), [&](const Individual& other) {
            return other.makespan == individual.makespan && other.list == individual.list;
        });
        if (!clone) {
            kept.push_back(std::move(individual));
        }
    }
    population = std::move(kept);
}

// Up to this many random shifts make one neighbour of the best list in the local search.
constexpr int kMostShifts = 6;

// A local search around the best schedule: each neighbour moves a few random jobs within the
// best list; one no longer replaces it, so the search also drifts across plateaus.
void improveBest(Search& search, SampleRandom& random) {
    std::vector<int> current = listOfSchedule(search.project, search.best.start);
    int currentMakespan = search.best.makespan;
    while (!search.done()) {
        std::vector<int> list = current;
        const auto shifts = 1 + random.next() % static_cast<std::uint64_t>(kMostShifts);
        for (std::uint64_t i = 0; i < shifts; ++i) {
            shiftJob(search.project, list, random);
        }
        const std::vector<int> priority = listPriority(list);
        const int makespan = search.offer(search.build(true, {&priority, nullptr}), "local search");
        if (makespan <= currentMakespan) {
            currentMakespan = makespan;
            current = listOfSchedule(search.project, search.start);
        }
    }
}

// A genetic algorithm over activity lists (Hartmann's crossover), each child decoded by the
// serial scheme and justified; the best kPopulation distinct parents and children survive.
// It spends half the budget: on these instances a local search around the best schedule finds
// more with the other half than further generations do.
void evolve(Search& search, std::vector<Individual>& population, SampleRandom& random) {
    const int n = search.project.jobCount;
    auto pick = [&] { return static_cast<std::size_t>(random.next() % population.size()); };
    for (int generation = 1;
         !search.done() && search.best.schedules < search.budget / 2 && population.size() > 1;
         ++generation) {
        const std::size_t parents = population.size();
        for (std::size_t i = 0; i < parents && !search.done(); ++i) {
            const std::size_t other = pick();
            const int a = static_cast<int>(random.next() % static_cast<std::uint64_t>(n + 1));
            const int b = static_cast<int>(random.next() % static_cast<std::uint64_t>(n + 1));
            std::vector<int> child = crossover(population[i].list, population[other].list,
                                               std::min(a, b), std::max(a, b));
            mutate(search.project, child, random, kMutationRate);
            const std::vector<int> priority = listPriority(child);
            const int makespan = search.offer(search.build(true, {&priority, nullptr}),
                                              "genetic generation " + std::to_string(generation));
            population.push_back({listOfSchedule(search.project, search.start), makespan});
        }
        keepDistinctBest(population);
    }
}

} // namespace

std::vector<int> priorityValues(const Project& project, PriorityRule rule) {
    const int n = project.jobCount;
    std::vector<int> value(n, 0);
    const std::vector<int> successors =
        rule == PriorityRule::MostTotalSuccessors ? totalSuccessors(project) : std::vector<int>();
    for (int j = 0; j < n; ++j) {
        const int latestFinish = project.criticalPath - project.tail[j];
        const int latestStart = latestFinish - project.duration[j];
        switch (rule) {
        case PriorityRule::LatestFinish:
            value[j] = latestFinish;
            break;
        case PriorityRule::LatestStart:
            value[j] = latestStart;
            break;
        case PriorityRule::MostTotalSuccessors:
            value[j] = -successors[j];
            break;
        case PriorityRule::MinimumSlack:
            value[j] = latestStart - project.head[j];
            break;
        case PriorityRule::RankPositionalWeight:
            value[j] = -project.duration[j];
            for (int next : project.successors[j]) {
                value[j] -= project.duration[next];
            }
            break;
        }
    }
    return value;
}

HeuristicResult runHeuristic(const Project& project, int lowerBound, int budget, std::uint64_t seed,
                             const std::atomic<bool>* stop) {
    Search search{project, lowerBound, std::max(budget, 1), stop};
    std::vector<int> sampling;
    for (const RuleName& rule : kRules) {
        const std::vector<int> priority = priorityValues(project, rule.rule);
        if (rule.rule == PriorityRule::LatestFinish) {
            sampling = priority;
        }
        for (bool serial : {true, false}) {
            if (!search.best.start.empty() && search.done()) {
                return search.best;
            }
            const int makespan = search.build(serial, {&priority, nullptr});
            search.offer(makespan, std::string(serial ? "serial " : "parallel ") + rule.name);
        }
    }
    SampleRandom random(seed);
    std::vector<Individual> population;
    for (int sample = 1; !search.done() && sample <= kPopulation; ++sample) {
        const bool serial = sample % 2 == 1;
        const int makespan = search.offer(search.build(serial, {&sampling, &random}),
                                          std::string(serial ? "serial" : "parallel")
                                              + " regret sampling " + std::to_string(sample));
        population.push_back({listOfSchedule(project, search.start), makespan});
    }
    evolve(search, population, random);
    improveBest(search, random);
    return search.best;
}

} // namespace tavrin::solve

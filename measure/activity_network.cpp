#include "measure/activity_network.h"

#include "engine/index_cast.h"

#include <queue>

#include <algorithm>
#include <cassert>
#include <functional>
#include <stdexcept>
#include <string>

namespace tavrin::measure {

namespace {

std::string jobName(int job) {
    return "job " + std::to_string(job + 1);
}

[[noreturn]] void refuse(const std::string& message) {
    throw std::invalid_argument(message);
}

void checkValues(const formats::Instance& instance) {
    const int resources = instance.resourceCount();
    for (int k = 0; k < resources; ++k) {
        if (instance.availability[index(k)] < 0) {
            refuse("resource " + std::to_string(k + 1) + " has a negative availability");
        }
    }
    for (int j = 0; j < instance.jobCount(); ++j) {
        const formats::Job& job = instance.jobs[index(j)];
        if (job.duration < 0) {
            refuse(jobName(j) + " has a negative duration");
        }
        if (static_cast<int>(job.demands.size()) != resources) {
            refuse(jobName(j) + " has " + std::to_string(job.demands.size()) + " demands for "
                   + std::to_string(resources) + " resources");
        }
        for (std::int32_t demand : job.demands) {
            if (demand < 0) {
                refuse(jobName(j) + " has a negative demand");
            }
        }
    }
}

void checkArcs(const formats::Instance& instance) {
    const int jobs = instance.jobCount();
    for (int j = 0; j < jobs; ++j) {
        for (int s : instance.jobs[index(j)].successors) {
            if (s < 0 || s >= jobs) {
                refuse(jobName(j) + " has a successor outside 1.." + std::to_string(jobs));
            }
            if (s == j) {
                refuse(jobName(j) + " succeeds itself");
            }
            if (s == 0) {
                refuse(jobName(j) + " precedes the dummy start");
            }
        }
    }
    if (!instance.jobs.back().successors.empty()) {
        refuse("the dummy end (" + jobName(jobs - 1) + ") has successors");
    }
}

bool isActivity(int job, int jobs) {
    return job > 0 && job < jobs - 1;
}

bool activitiesRunForward(const formats::Instance& instance) {
    const int jobs = instance.jobCount();
    for (int j = 1; j < jobs - 1; ++j) {
        for (int s : instance.jobs[index(j)].successors) {
            if (isActivity(s, jobs) && s < j) {
                return false;
            }
        }
    }
    return true;
}

// Every activity left over by the ordering has a predecessor left over, so walking back
// through such predecessors must come round to a job on a cycle.
int jobOnCycle(const formats::Instance& instance, const std::vector<int>& remainingPredecessors) {
    const int jobs = instance.jobCount();
    std::vector<int> leftPredecessor(index(jobs), -1);
    for (int j = 1; j < jobs - 1; ++j) {
        for (int s : instance.jobs[index(j)].successors) {
            if (isActivity(s, jobs) && remainingPredecessors[index(j)] > 0) {
                leftPredecessor[index(s)] = j;
            }
        }
    }
    int job = 1;
    while (remainingPredecessors[index(job)] == 0) {
        ++job;
    }
    std::vector<bool> seen(index(jobs), false);
    while (!seen[index(job)]) {
        seen[index(job)] = true;
        job = leftPredecessor[index(job)];
        assert(job > 0);
    }
    return job;
}

// Kahn's ordering over the activities, lowest job first among those ready.
std::vector<int> orderActivities(const formats::Instance& instance) {
    const int jobs = instance.jobCount();
    std::vector<int> predecessors(index(jobs), 0);
    for (int j = 1; j < jobs - 1; ++j) {
        for (int s : instance.jobs[index(j)].successors) {
            if (isActivity(s, jobs)) {
                ++predecessors[index(s)];
            }
        }
    }
    std::priority_queue<int, std::vector<int>, std::greater<>> ready;
    for (int j = 1; j < jobs - 1; ++j) {
        if (predecessors[index(j)] == 0) {
            ready.push(j);
        }
    }
    std::vector<int> order;
    order.reserve(index(jobs - 2));
    while (!ready.empty()) {
        const int j = ready.top();
        ready.pop();
        order.push_back(j);
        for (int s : instance.jobs[index(j)].successors) {
            if (isActivity(s, jobs) && --predecessors[index(s)] == 0) {
                ready.push(s);
            }
        }
    }
    if (static_cast<int>(order.size()) < jobs - 2) {
        refuse("the precedences contain a cycle through "
               + jobName(jobOnCycle(instance, predecessors)));
    }
    return order;
}

} // namespace

JobOrder orderJobs(const formats::Instance& instance) {
    const int jobs = instance.jobCount();
    if (jobs < 3) {
        refuse("an instance needs a dummy start, an activity and a dummy end; this one has "
               + std::to_string(jobs) + " jobs");
    }
    checkValues(instance);
    checkArcs(instance);
    JobOrder order;
    order.jobs.reserve(index(jobs));
    order.jobs.push_back(0);
    if (activitiesRunForward(instance)) {
        for (int j = 1; j < jobs - 1; ++j) {
            order.jobs.push_back(j);
        }
    } else {
        const std::vector<int> activities = orderActivities(instance);
        order.jobs.insert(order.jobs.end(), activities.begin(), activities.end());
        order.renumbered = true;
    }
    order.jobs.push_back(jobs - 1);
    order.position.resize(index(jobs));
    for (int p = 0; p < jobs; ++p) {
        order.position[index(order.jobs[index(p)])] = p;
    }
    return order;
}

void fillActivityNetwork(const formats::Instance& instance, const JobOrder& order,
                         WorkNetwork& network) {
    const int jobs = instance.jobCount();
    const int n = jobs - 2;
    assert(network.activityCount() == n);
    const int words = network.rowWords();
    for (int a = 0; a < n; ++a) {
        network.clear(network.succ(a));
        network.clear(network.pred(a));
        network.clear(network.cover(a));
    }
    // Later activities first, so the closure of every successor is complete when it is read.
    for (int a = n - 1; a >= 0; --a) {
        Word* closure = network.succ(a);
        Word* cover = network.cover(a);
        for (int s : instance.jobs[index(order.jobs[index(a + 1)])].successors) {
            if (!isActivity(s, jobs)) {
                continue;
            }
            const int b = order.position[index(s)] - 1;
            network.insert(cover, b);
            const Word* later = network.succ(b);
            for (int w = 0; w < words; ++w) {
                closure[w] |= later[w];
            }
        }
        // An arc another path implies is redundant: the cover keeps the direct arcs that no
        // successor's closure holds.
        for (int w = 0; w < words; ++w) {
            cover[w] &= ~closure[w];
            closure[w] |= cover[w];
        }
    }
    for (int a = 0; a < n; ++a) {
        network.forEachMember(network.succ(a), [&](int b) { network.insert(network.pred(b), a); });
    }
}

std::vector<std::int64_t> earliestFinishTimes(const formats::Instance& instance,
                                              const JobOrder& order) {
    std::vector<std::int64_t> start(index(instance.jobCount()), 0);
    std::vector<std::int64_t> finish(start.size(), 0);
    for (int j : order.jobs) {
        const formats::Job& job = instance.jobs[index(j)];
        finish[index(j)] = start[index(j)] + job.duration;
        for (int s : job.successors) {
            start[index(s)] = std::max(start[index(s)], finish[index(j)]);
        }
    }
    return finish;
}

} // namespace tavrin::measure

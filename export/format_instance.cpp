#include "export/format_instance.h"

#include "engine/index_cast.h"
namespace tavrin {
namespace {

void resetJob(formats::Job& job, std::int32_t duration, int resourceCount) {
    job.duration = duration;
    job.demands.assign(index(resourceCount), 0);
    job.successors.clear();
    job.modes.clear();
    job.lags.clear();
}

} // namespace

void fillFormatInstance(const ProjectInstance& instance, formats::Instance& out) {
    const int n = instance.activityCount;
    const int k = instance.resourceCount;
    out.availability.assign(instance.availability.begin(), instance.availability.end());
    out.nonrenewable.clear();
    out.jobs.resize(index(n + 2));

    formats::Job& start = out.jobs.front();
    resetJob(start, 0, k);
    for (int a = 0; a < n; ++a) {
        if (instance.precedence.predecessorCount[index(a)] == 0) {
            start.successors.push_back(a + 1);
        }
    }
    for (int a = 0; a < n; ++a) {
        formats::Job& job = out.jobs[index(a + 1)];
        resetJob(job, instance.duration[index(a)], k);
        for (int r = 0; r < k; ++r) {
            job.demands[index(r)] = instance.demand(a, r);
        }
        if (instance.precedence.successorCount[index(a)] == 0) {
            job.successors.push_back(n + 1);
            continue;
        }
        forEachSetBit(instance.successorRow(a), instance.rowWords,
                      [&](int b) { job.successors.push_back(b + 1); });
    }
    resetJob(out.jobs.back(), 0, k);
}

} // namespace tavrin

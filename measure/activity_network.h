#pragma once

#include "engine/work_network.h"
#include "formats/instance.h"

#include <cstdint>
#include <vector>

namespace tavrin::measure {

// The jobs of an instance in a topological order: the dummy start, the activities, the dummy
// end. The activities keep the file's order when every arc between them runs forward in it;
// otherwise they take the topological order that always picks the lowest job next, so the
// result is the same for every reading of the same file.
struct JobOrder {
    std::vector<int> jobs;     // position -> job index
    std::vector<int> position; // job index -> position
    bool renumbered = false;   // the file's order was not topological
};

// Checks what the measures rely on and orders the jobs. Throws std::invalid_argument, naming
// the job by its 1-based number as .rcp and .sm files do: fewer than three jobs, a successor
// out of range or equal to its job, an arc into the dummy start or out of the dummy end, a
// cycle, a negative duration, demand or availability, or a demand count that differs from K.
JobOrder orderJobs(const formats::Instance& instance);

// Fills network (sized for the n activities) with the activities in the given order: activity
// p is the job at position p+1. S and P get the transitive closure of the arcs between
// activities, C the covering pairs (the arcs no other path implies). The cover list is unused.
void fillActivityNetwork(const formats::Instance& instance, const JobOrder& order,
                         WorkNetwork& network);

// Earliest finish of every job (by job index) when each starts as soon as its predecessors
// have finished.
std::vector<std::int64_t> earliestFinishTimes(const formats::Instance& instance,
                                              const JobOrder& order);

} // namespace tavrin::measure

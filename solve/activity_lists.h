#pragma once

#include "solve/project.h"
#include "solve/schedule_generation.h"

#include <vector>

namespace tavrin::solve {

// Activity lists: every job once, each after its predecessors. The serial scheme turns one into
// a schedule, taking the jobs in list order.

// The jobs by start time (ties: topological order), a list the serial scheme turns into a
// schedule no longer than start.
std::vector<int> listOfSchedule(const Project& project, const std::vector<int>& start);

// Two-point crossover: the mother's first `first` jobs, then the father's next jobs not yet
// taken up to position `second`, then the mother's remaining ones, each in its parent's order.
// Keeps the precedences of both parents.
std::vector<int> crossover(const std::vector<int>& mother, const std::vector<int>& father,
                           int first, int second);

// Swaps each pair of neighbours with the given probability unless the second succeeds the first.
void mutate(const Project& project, std::vector<int>& list, SampleRandom& random, double rate);

// Moves a random job to a random place between its last predecessor and its first successor.
void shiftJob(const Project& project, std::vector<int>& list, SampleRandom& random);

// Priority values that make a scheme follow the list: the position of each job.
std::vector<int> listPriority(const std::vector<int>& list);

} // namespace tavrin::solve

#pragma once

#include "formats/instance.h"

#include <string>
#include <vector>

namespace tavrin::formats {

// Checks what every reader must refuse whatever the format: a successor out of range, listed
// twice or naming the job itself or the dummy start, dummy jobs with a duration, demands or (the
// end) successors, and cycles. With time lags, every successor needs its lag, backward arcs may
// name the start, the end may have successors and cycles are left to the feasibility check.
// jobLines[j] is the line on which job j is given, used in the
// FormatError thrown.
void checkInstance(const Instance& instance, const std::vector<int>& jobLines,
                   const std::string& fileName);

// The job numbers of files and messages count from 1.
inline std::string jobName(std::size_t job) {
    return "job " + std::to_string(job + 1);
}

} // namespace tavrin::formats

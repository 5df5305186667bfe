#pragma once

#include "measure/measure_report.h"

#include <map>
#include <string>

namespace tavrin::cli {

// The hardness of each instance in a CSV that has the columns sha256, lb0, lb, ub, status, gap
// and fails (the solve command's CSV, or the index of a design solved as it was built), keyed
// by the file's SHA-256; the first row of a hash counts. Throws std::runtime_error naming the
// file for a missing file or column and for a field that is not a number.
std::map<std::string, measure::InstanceHardness> readHardnessCsv(const std::string& path);

} // namespace tavrin::cli

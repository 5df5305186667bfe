#pragma once

#include "cli/cli_app.h"

#include <ostream>
#include <string>
#include <vector>

namespace tavrin {

// "solve PATH... [--out FILE.csv] [--schedules DIR] [--time-limit S] [--fail-limit N]
// [--heuristic-schedules N] [--jobs N] [--shard K/N] [--seed S]": bounds, a checked schedule
// and its status per instance, one CSV row each in the order given. "solve --merge CSV..."
// joins shard CSVs. Returns 0, 1 when a file failed or an output could not be written, 2 for
// bad usage, 130/143 when stopped (the same command then continues). args are the words after
// "solve".
int solveMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const cli::CommandContext& context);

} // namespace tavrin

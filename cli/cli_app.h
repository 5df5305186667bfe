#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tavrin::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // the run or a write failed
inline constexpr int kExitUsage = 2;   // bad options or inputs; nothing was written

// The whole tool: parses the arguments (after the program name), checks them like the Generate
// command, runs, writes the CSV and the summary. Messages go to err; the progress bar too when
// showProgress is set (err is a terminal). Returns the exit status.
int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
           bool showProgress);

} // namespace tavrin::cli

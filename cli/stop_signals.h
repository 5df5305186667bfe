#pragma once

#include <atomic>

namespace tavrin::cli {

// Makes SIGINT and SIGTERM a request to stop. The first sets the returned flag, which runs
// (RunHooks::stop) and exports poll at their next boundary; a second removes the temporary
// files being written and ends the process at once with 128 + its number. Call once,
// from main, before any work starts.
const std::atomic<bool>* installStopSignals();

// 128 + the number of the first stop signal: 130 for SIGINT, 143 for SIGTERM; 130 when the
// flag was raised without a signal (a test's own flag).
int interruptedExitStatus();

} // namespace tavrin::cli

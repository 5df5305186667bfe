#pragma once

#include "session/generation_session.h"

#include <string>

namespace tavrin::cli {

// The end-of-run report: kept networks, elapsed seconds (whole, as the finished dialog shows
// them, and precise), for Tavrin1 the CI range, and histograms of the measures (CI, or I3 to
// I6).
std::string runSummary(const GenerationSession& session);

} // namespace tavrin::cli

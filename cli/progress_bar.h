#pragma once

#include "engine/time_check.h"

#include <cstdint>
#include <ostream>
#include <string>

namespace tavrin::cli {

// "[####......]": width marks, done/total of them filled; full when total is not positive and
// fullWhenEmpty is set, empty otherwise.
std::string progressGauge(std::int64_t done, std::int64_t total, std::int64_t width,
                          bool fullWhenEmpty = false);

// A one-line progress bar for a terminal. It stays silent during the first second of a run,
// then redraws at most ten times a second; finish() clears the line if anything was drawn.
class ProgressBar {
public:
    ProgressBar(std::ostream& out, MillisecondClock clock, int width = 40);

    // The run's progress maximum and position, as the run loops report them.
    void update(int maximum, int position);
    void finish();

    bool drawn() const { return m_drawn; }

private:
    std::ostream& m_out;
    MillisecondClock m_clock;
    int m_width;
    std::int64_t m_startMs;
    std::int64_t m_lastDrawMs = 0;
    std::size_t m_lineLength = 0;
    bool m_drawn = false;
};

} // namespace tavrin::cli

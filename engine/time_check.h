#pragma once

#include <cstdint>
#include <functional>

namespace tavrin {

// Monotonic milliseconds; only differences are used.
using MillisecondClock = std::function<std::int64_t()>;

// Seconds between two clock readings as the run reports them: the difference times 0.001 in
// extended precision, stored as a float.
float elapsedSeconds(std::int64_t startMs, std::int64_t nowMs);

// Whole seconds for the progress display: the extended product rounded to a double, then
// truncated.
int wholeSeconds(std::int64_t startMs, std::int64_t nowMs);

// A time limit in seconds as a progress maximum: truncated, held within the int range.
int progressMaximum(double timeLimitSeconds);

// The time-limit test of the time-limited loops. passed() reads the clock only on every 100th
// call; expired() reads it at once, for the boundaries inside and between long attempts.
class TimeCheck {
public:
    static constexpr int kCallsPerReading = 100;

    TimeCheck(MillisecondClock clock, double limitSeconds);

    // Countdown back to 100 and a new start time.
    void restart(std::int64_t startMs);

    // True once a clock reading finds more than the limit elapsed since the start.
    bool passed();

    // True when a clock reading now finds more than the limit elapsed since the start.
    bool expired() const;

private:
    MillisecondClock m_clock;
    double m_limitSeconds;
    std::int64_t m_startMs = 0;
    std::int32_t m_countdown = kCallsPerReading;
};

} // namespace tavrin

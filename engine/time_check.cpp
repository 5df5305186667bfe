#include "engine/time_check.h"

#include <limits>
#include <utility>

namespace tavrin {
namespace {

long double secondsBetween(std::int64_t startMs, std::int64_t nowMs) {
    return static_cast<long double>(nowMs - startMs) * 0.001L;
}

} // namespace

float elapsedSeconds(std::int64_t startMs, std::int64_t nowMs) {
    return static_cast<float>(secondsBetween(startMs, nowMs));
}

int wholeSeconds(std::int64_t startMs, std::int64_t nowMs) {
    return static_cast<int>(static_cast<double>(secondsBetween(startMs, nowMs)));
}

int progressMaximum(double timeLimitSeconds) {
    // A limit beyond the int range would make the truncation undefined.
    constexpr double kLargest = std::numeric_limits<int>::max();
    if (!(timeLimitSeconds < kLargest)) {
        return std::numeric_limits<int>::max();
    }
    return timeLimitSeconds > 0.0 ? static_cast<int>(timeLimitSeconds) : 0;
}

TimeCheck::TimeCheck(MillisecondClock clock, double limitSeconds)
    : m_clock(std::move(clock)), m_limitSeconds(limitSeconds) {}

void TimeCheck::restart(std::int64_t startMs) {
    m_startMs = startMs;
    m_countdown = kCallsPerReading;
}

bool TimeCheck::passed() {
    --m_countdown;
    if (m_countdown != 0) {
        return false;
    }
    if (expired()) {
        return true;
    }
    m_countdown = kCallsPerReading;
    return false;
}

bool TimeCheck::expired() const {
    return secondsBetween(m_startMs, m_clock()) > static_cast<long double>(m_limitSeconds);
}

} // namespace tavrin

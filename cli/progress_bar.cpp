#include "cli/progress_bar.h"

#include <algorithm>
#include <string>
#include <utility>

namespace tavrin::cli {
namespace {

constexpr std::int64_t kQuietMs = 1000;
constexpr std::int64_t kRedrawMs = 100;

} // namespace

std::string progressGauge(std::int64_t done, std::int64_t total, std::int64_t width,
                          bool fullWhenEmpty) {
    const std::int64_t filled = total > 0 ? done * width / total : (fullWhenEmpty ? width : 0);
    return "[" + std::string(static_cast<std::size_t>(filled), '#')
           + std::string(static_cast<std::size_t>(width - filled), '.') + "]";
}

ProgressBar::ProgressBar(std::ostream& out, MillisecondClock clock, int width)
    : m_out(out), m_clock(std::move(clock)), m_width(width), m_startMs(m_clock()) {}

void ProgressBar::update(int maximum, int position) {
    const std::int64_t now = m_clock();
    if (now - m_startMs < kQuietMs || (m_drawn && now - m_lastDrawMs < kRedrawMs)) {
        return;
    }
    m_lastDrawMs = now;
    const std::int64_t shown = std::clamp<std::int64_t>(position, 0, std::max(maximum, 0));
    const std::int64_t percent = maximum > 0 ? shown * 100 / maximum : 0;
    std::string line = progressGauge(shown, maximum, m_width) + " " + std::to_string(percent) + "% "
                       + std::to_string(position) + "/" + std::to_string(maximum);
    const std::size_t length = line.size();
    if (length < m_lineLength) {
        line += std::string(m_lineLength - length, ' ');
    }
    m_out << '\r' << line << std::flush;
    m_lineLength = length;
    m_drawn = true;
}

void ProgressBar::finish() {
    if (m_drawn) {
        m_out << '\r' << std::string(m_lineLength, ' ') << '\r' << std::flush;
        m_drawn = false;
    }
}

} // namespace tavrin::cli

#include "formats/format_codecs.h"
#include "formats/instance_check.h"
#include "formats/instance_io.h"
#include "formats/text_reader.h"

#include <vector>

namespace tavrin::formats {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string_view> tokensOf(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isSpace(text[at])) {
            ++at;
        }
        const std::size_t first = at;
        while (at < text.size() && !isSpace(text[at])) {
            ++at;
        }
        if (at > first) {
            tokens.push_back(text.substr(first, at - first));
        }
    }
    return tokens;
}

// Labels compare without their spaces: files differ in how they pad them.
std::string squeezed(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (!isSpace(c)) {
            out += c;
        }
    }
    return out;
}

// The lines of the file, blank ones skipped, each with its number.
class SmLines {
public:
    SmLines(std::string_view bytes, const std::string& fileName) : m_fileName(fileName) {
        int number = 1;
        std::size_t first = 0;
        while (first <= bytes.size()) {
            std::size_t end = bytes.find('\n', first);
            if (end == std::string_view::npos) {
                end = bytes.size();
            }
            const std::string_view text = trim(bytes.substr(first, end - first));
            if (!text.empty()) {
                m_lines.push_back({text, number});
            }
            ++number;
            first = end + 1;
        }
    }

    bool atEnd() const { return m_at == m_lines.size(); }
    bool nextIsStars() const { return !atEnd() && m_lines[m_at].text.front() == '*'; }
    // The next line; what names the expected content when the file ends instead.
    std::string_view next(std::string_view what) {
        if (atEnd()) {
            m_line = m_lines.empty() ? 1 : m_lines.back().number;
            fail("expected " + std::string(what) + ", found the end of the file");
        }
        m_line = m_lines[m_at].number;
        return m_lines[m_at++].text;
    }
    void stars() {
        const std::string_view text = next("a line of stars");
        if (text.front() != '*') {
            fail("expected a line of stars, found " + quoteToken(text));
        }
    }
    void heading(std::string_view title) {
        const std::string_view text = next(title);
        if (squeezed(text) != squeezed(title)) {
            fail("expected \"" + std::string(title) + "\", found " + quoteToken(text));
        }
    }
    // A "label : value" line; returns the value.
    std::string_view labelled(std::string_view label) {
        const std::string_view text = next(label);
        const std::size_t colon = text.find(':');
        if (colon == std::string_view::npos || squeezed(text.substr(0, colon)) != squeezed(label)) {
            fail("expected \"" + std::string(label) + " :\", found " + quoteToken(text));
        }
        return trim(text.substr(colon + 1));
    }
    std::int64_t number(std::string_view token, std::string_view what,
                        std::int64_t largest = kLargestValue) const {
        return parseNumber(token, what, largest, m_fileName, m_line);
    }
    [[noreturn]] void fail(const std::string& message) const {
        throw FormatError(m_fileName, m_line, message);
    }
    int line() const { return m_line; }

private:
    struct Line {
        std::string_view text;
        int number;
    };
    std::vector<Line> m_lines;
    std::size_t m_at = 0;
    int m_line = 0;
    const std::string& m_fileName;
};

void readProvenance(SmLines& lines, Instance& instance) {
    lines.stars();
    while (!lines.nextIsStars()) {
        const std::string_view text = lines.next("a line of stars");
        const std::size_t colon = text.find(':');
        if (colon == std::string_view::npos) {
            lines.fail("expected \"key : value\" in the header, found " + quoteToken(text));
        }
        instance.provenance.emplace_back(trim(text.substr(0, colon)), trim(text.substr(colon + 1)));
    }
    lines.stars();
}

std::vector<std::string_view> valueTokens(SmLines& lines, std::string_view label,
                                          std::size_t count) {
    std::vector<std::string_view> tokens = tokensOf(lines.labelled(label));
    if (tokens.size() != count) {
        lines.fail("expected " + std::to_string(count) + " values after \"" + std::string(label)
                   + " :\"");
    }
    return tokens;
}

struct Counts {
    std::int64_t jobs;
    std::int64_t resources;
    std::int64_t nonrenewable = 0;
    bool multiMode = false;         // a .mm file: several modes and nonrenewable resources
    std::vector<std::size_t> modes; // per job
};

// The base block and the project information. Nothing is sized from these counts until lines
// of that length have been read.
Counts readCounts(SmLines& lines, bool multiMode) {
    if (lines.number(valueTokens(lines, "projects", 1)[0], "the number of projects") != 1) {
        lines.fail("only files of one project are supported");
    }
    const auto jobs = lines.number(valueTokens(lines, "jobs (incl. supersource/sink )", 1)[0],
                                   "the number of jobs");
    if (jobs < 2) {
        lines.fail("the number of jobs must be at least 2 (the dummy start and end)");
    }
    lines.number(valueTokens(lines, "horizon", 1)[0], "the horizon", kLargestValue << 31);
    lines.heading("RESOURCES");
    const auto renewable = valueTokens(lines, "- renewable", 2);
    const auto resources = lines.number(renewable[0], "the number of renewable resources");
    if (resources < 1) {
        lines.fail("the number of renewable resources must be at least 1");
    }
    const std::pair<const char*, const char*> others[] = {{"- nonrenewable", "nonrenewable"},
                                                          {"- doubly constrained", "doubly"}};
    std::int64_t nonrenewable = 0;
    for (const auto& [label, kind] : others) {
        const auto count = lines.number(valueTokens(lines, label, 2)[0], label);
        if (count != 0 && !(multiMode && kind == others[0].second)) {
            lines.fail("only renewable resources are supported, not " + std::string(kind)
                       + " constrained ones");
        }
        nonrenewable += count;
    }
    lines.stars();
    lines.heading("PROJECT INFORMATION:");
    lines.next("the project information heading");
    const auto information = tokensOf(lines.next("the project information"));
    if (information.size() != 6) {
        lines.fail("expected 6 values of project information");
    }
    for (const std::string_view token : information) {
        lines.number(token, "a project information value", kLargestValue << 31);
    }
    if (lines.number(information[1], "the number of jobs") != jobs - 2) {
        lines.fail("the project information counts " + std::string(information[1])
                   + " jobs, the header " + std::to_string(jobs) + " with the dummy jobs");
    }
    lines.stars();
    return {jobs, resources, nonrenewable, multiMode, {}};
}

void checkColumns(SmLines& lines, std::string_view header, std::size_t leading,
                  std::int64_t resources) {
    const auto tokens = tokensOf(header);
    if (tokens.size() != leading + 2 * static_cast<std::size_t>(resources)) {
        lines.fail("expected columns for " + std::to_string(resources) + " resources, found "
                   + quoteToken(header));
    }
}

// The job number and the mode (count) that start the lines of both job tables; a .mm file
// numbers the modes up to the count its precedence table gives.
std::size_t checkJobStart(SmLines& lines, const std::vector<std::string_view>& tokens,
                          std::size_t j, const Counts& counts, std::size_t mode = 1) {
    if (lines.number(tokens[0], "the job number") != static_cast<std::int64_t>(j) + 1) {
        lines.fail("expected the line of " + jobName(j) + ", found job " + std::string(tokens[0]));
    }
    const auto modes = lines.number(tokens[1], "the mode of " + jobName(j), 1000);
    if (counts.multiMode) {
        if (modes < 1 || (counts.modes.size() > j && static_cast<std::size_t>(modes) != mode)) {
            lines.fail("expected mode " + std::to_string(mode) + " of " + jobName(j) + ", found "
                       + std::string(tokens[1]));
        }
        return static_cast<std::size_t>(modes);
    }
    if (modes != 1) {
        lines.fail("only single-mode instances are supported; " + jobName(j) + " has mode "
                   + std::string(tokens[1]));
    }
    return 1;
}

void readPrecedences(SmLines& lines, Counts& counts, Instance& instance,
                     std::vector<int>& jobLines) {
    lines.heading("PRECEDENCE RELATIONS:");
    lines.next("the precedence heading");
    for (std::size_t j = 0; static_cast<std::int64_t>(j) < counts.jobs; ++j) {
        const auto tokens = tokensOf(lines.next("the precedences of " + jobName(j)));
        if (tokens.size() < 3) {
            lines.fail("expected the job number, the modes and the successor count");
        }
        counts.modes.push_back(checkJobStart(lines, tokens, j, counts));
        jobLines.push_back(lines.line());
        const auto successors = lines.number(tokens[2], "the successor count", counts.jobs);
        if (tokens.size() != 3 + static_cast<std::size_t>(successors)) {
            lines.fail(jobName(j) + " has " + std::to_string(successors) + " successors but lists "
                       + std::to_string(tokens.size() - 3));
        }
        Job job;
        for (std::size_t s = 3; s < tokens.size(); ++s) {
            const auto successor = lines.number(tokens[s], "a successor of " + jobName(j));
            if (successor < 1 || successor > counts.jobs) {
                lines.fail(jobName(j) + " lists a successor " + std::to_string(successor)
                           + " outside 1.." + std::to_string(counts.jobs));
            }
            job.successors.push_back(static_cast<std::int32_t>(successor - 1));
        }
        instance.jobs.push_back(std::move(job));
    }
    lines.stars();
}

// One mode line: the job number and mode (the job number left out on the lines of later modes
// of a .mm file), the duration and the demands.
Mode readMode(SmLines& lines, const Counts& counts, std::size_t j, std::size_t mode) {
    auto tokens = tokensOf(lines.next("the requests of " + jobName(j)));
    const auto k = static_cast<std::size_t>(counts.resources);
    const auto n = static_cast<std::size_t>(counts.nonrenewable);
    if (mode > 1 && tokens.size() == 2 + k + n) {
        tokens.insert(tokens.begin(), std::string_view());
    }
    if (tokens.size() != 3 + k + n) {
        lines.fail("expected the job number, the mode, the duration and " + std::to_string(k + n)
                   + " demands");
    }
    if (!tokens[0].empty()) {
        checkJobStart(lines, tokens, j, counts, mode);
    } else if (lines.number(tokens[1], "the mode of " + jobName(j), 1000)
               != static_cast<std::int64_t>(mode)) {
        lines.fail("expected mode " + std::to_string(mode) + " of " + jobName(j));
    }
    Mode out;
    out.duration = static_cast<std::int32_t>(lines.number(tokens[2], "the duration"));
    for (std::size_t r = 0; r < k + n; ++r) {
        const auto what = "the demand for resource " + std::to_string(r + 1);
        auto& list = r < k ? out.demands : out.nonrenewable;
        list.push_back(static_cast<std::int32_t>(lines.number(tokens[3 + r], what)));
    }
    return out;
}

void readRequests(SmLines& lines, const Counts& counts, Instance& instance) {
    lines.heading("REQUESTS/DURATIONS:");
    checkColumns(lines, lines.next("the request heading"), 3,
                 counts.resources + counts.nonrenewable);
    if (lines.next("a line of dashes").front() != '-') {
        lines.fail("expected a line of dashes");
    }
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        Job& job = instance.jobs[j];
        for (std::size_t m = 1; m <= counts.modes[j]; ++m) {
            Mode mode = readMode(lines, counts, j, m);
            if (m == 1) {
                job.duration = mode.duration;
                job.demands = mode.demands;
            }
            if (counts.multiMode) {
                job.modes.push_back(std::move(mode));
            }
        }
    }
    lines.stars();
}

void readAvailabilities(SmLines& lines, const Counts& counts, Instance& instance) {
    lines.heading("RESOURCEAVAILABILITIES:");
    const std::int64_t all = counts.resources + counts.nonrenewable;
    checkColumns(lines, lines.next("the availability heading"), 0, all);
    const auto tokens = tokensOf(lines.next("the availabilities"));
    if (tokens.size() != static_cast<std::size_t>(all)) {
        lines.fail("expected " + std::to_string(all) + " availabilities");
    }
    for (std::size_t r = 0; r < tokens.size(); ++r) {
        const auto what = "the availability of resource " + std::to_string(r + 1);
        const auto value = static_cast<std::int32_t>(lines.number(tokens[r], what));
        (static_cast<std::int64_t>(r) < counts.resources ? instance.availability
                                                         : instance.nonrenewable)
            .push_back(value);
    }
    while (lines.nextIsStars()) {
        lines.stars();
    }
    if (!lines.atEnd()) {
        lines.fail("unexpected text after the resource availabilities: "
                   + quoteToken(lines.next("")));
    }
}

Instance readSmLayout(std::string_view bytes, const std::string& fileName, bool multiMode) {
    SmLines lines(bytes, fileName);
    Instance instance;
    readProvenance(lines, instance);
    Counts counts = readCounts(lines, multiMode);
    std::vector<int> jobLines;
    readPrecedences(lines, counts, instance, jobLines);
    readRequests(lines, counts, instance);
    readAvailabilities(lines, counts, instance);
    checkInstance(instance, jobLines, fileName);
    return instance;
}

} // namespace

Instance readSm(std::string_view bytes, const std::string& fileName) {
    return readSmLayout(bytes, fileName, false);
}

Instance readMm(std::string_view bytes, const std::string& fileName) {
    return readSmLayout(bytes, fileName, true);
}

} // namespace tavrin::formats

#include "formats/format_codecs.h"
#include "formats/instance_check.h"
#include "formats/number_text.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tavrin::formats {
namespace {

constexpr std::string_view kStars =
    "************************************************************************\n";
constexpr std::string_view kDashes =
    "------------------------------------------------------------------------\n";
constexpr std::size_t kLabelWidth = 30;
constexpr std::string_view kPadding = "                              ";
// The single mode, right-aligned in the mode columns of the two job tables.
constexpr std::string_view kOneMode = "        1";
constexpr std::string_view kModeOne = "      1";

// The earliest finish of the dummy end: the critical path length, in Kahn's order.
std::int64_t criticalPathLength(const Instance& instance) {
    const std::size_t jobs = instance.jobs.size();
    std::vector<std::int32_t> pending(jobs, 0);
    for (const Job& job : instance.jobs) {
        for (const std::int32_t s : job.successors) {
            ++pending[static_cast<std::size_t>(s)];
        }
    }
    std::vector<std::int64_t> start(jobs, 0);
    std::vector<std::size_t> ready;
    for (std::size_t j = 0; j < jobs; ++j) {
        if (pending[j] == 0) {
            ready.push_back(j);
        }
    }
    std::size_t released = 0;
    std::int64_t length = 0;
    while (!ready.empty()) {
        const std::size_t j = ready.back();
        ready.pop_back();
        ++released;
        const std::int64_t finish = start[j] + instance.jobs[j].duration;
        length = std::max(length, finish);
        for (const std::int32_t s : instance.jobs[j].successors) {
            const auto successor = static_cast<std::size_t>(s);
            start[successor] = std::max(start[successor], finish);
            if (--pending[successor] == 0) {
                ready.push_back(successor);
            }
        }
    }
    if (released != jobs) {
        throw std::invalid_argument("An instance with cyclic precedences has no .sm form");
    }
    return length;
}

// Sum of the durations, the longest mode of each job: every job one after the other.
std::int64_t horizonOf(const Instance& instance) {
    std::int64_t sum = 0;
    for (const Job& job : instance.jobs) {
        std::int32_t longest = job.duration;
        for (const Mode& mode : job.modes) {
            longest = std::max(longest, mode.duration);
        }
        sum += longest;
    }
    return sum;
}

char* putLabel(char* out, std::string_view label) {
    out = putText(out, label);
    if (label.size() < kLabelWidth) {
        std::memcpy(out, kPadding.data(), kLabelWidth);
        out += kLabelWidth - label.size();
    }
    return putText(out, ": ");
}

void checkProvenanceText(std::string_view text, bool key) {
    const bool faulty = std::ranges::any_of(
        text, [key](char c) { return c == '\n' || c == '\r' || (key && c == ':'); });
    if (faulty) {
        throw std::invalid_argument("A provenance " + std::string(key ? "key" : "value") + " (\""
                                    + std::string(text)
                                    + "\") has no .sm form: no line break, no colon in keys");
    }
}

void putHeader(TextOut& text, const Instance& instance, std::int64_t horizon) {
    char* at = text.room(kStars.size());
    text.advance(putText(at, kStars));
    for (const auto& [key, value] : instance.provenance) {
        checkProvenanceText(key, true);
        checkProvenanceText(value, false);
        at = text.room(key.size() + value.size() + kLabelWidth + 4);
        at = putLabel(at, key);
        at = putText(at, value);
        text.advance(putText(at, "\n"));
    }
    at = text.room(6 * kStars.size() + 4 * kWideNumberChars);
    at = putText(at, kStars);
    at = putText(at, "projects                      :  1\n"
                     "jobs (incl. supersource/sink ):  ");
    at = putNumber(at, instance.jobCount());
    at = putText(at, "\nhorizon                       :  ");
    at = putNumber(at, horizon);
    at = putText(at, "\nRESOURCES\n"
                     "  - renewable                 :  ");
    at = putNumber(at, instance.resourceCount());
    at = putText(at, "   R\n"
                     "  - nonrenewable              :  ");
    at = putNumber(at, instance.nonrenewableCount());
    at = putText(at, "   N\n"
                     "  - doubly constrained        :  0   D\n");
    text.advance(putText(at, kStars));
}

// Returns the offset of the due date field; the MPM time follows the tardiness cost.
std::size_t putProjectInformation(TextOut& text, const Instance& instance, std::int64_t length) {
    char* at = text.room(2 * kStars.size() + 6 * (kWideNumberChars + 1));
    at = putText(at, "PROJECT INFORMATION:\n"
                     "pronr.  #jobs rel.date duedate tardcost  MPM-Time\n");
    at = putNumber(at, 1, 5);
    at = putField(at, instance.jobCount() - 2, 7);
    at = putField(at, 0, 7);
    const auto dueDate = static_cast<std::size_t>(at - text.at(0));
    at = putField(at, length, 9);
    at = putField(at, 0, 9);
    at = putField(at, length, 9);
    text.advance(putText(putText(at, "\n"), kStars));
    return dueDate;
}

// The critical path length comes with the walk over the successors: one forward pass when every
// successor comes later in the file, as in files of this program; Kahn's order otherwise.
std::int64_t putPrecedences(TextOut& text, const Instance& instance) {
    text.advance(putText(text.room(80), "PRECEDENCE RELATIONS:\n"
                                        "jobnr.    #modes  #successors   successors\n"));
    std::vector<std::int64_t> start(instance.jobs.size(), 0);
    std::int64_t length = 0;
    bool forward = true;
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        const Job& job = instance.jobs[j];
        const std::int64_t finish = start[j] + job.duration;
        length = std::max(length, finish);
        char* at = text.room((job.successors.size() + 3) * (kNumberChars + 1) + 12);
        at = putNumber(at, static_cast<std::int64_t>(j) + 1, 4);
        at = job.modes.empty() ? putText(at, kOneMode)
                               : putField(at, static_cast<std::int64_t>(job.modes.size()), 9);
        at = putField(at, static_cast<std::int64_t>(job.successors.size()), 11);
        int width = 12;
        for (const std::int32_t s : job.successors) {
            at = putField(at, std::int64_t{s} + 1, width);
            width = 4;
            const auto successor = static_cast<std::size_t>(s);
            forward = forward && successor > j;
            if (forward) {
                start[successor] = std::max(start[successor], finish);
            }
        }
        text.advance(putText(at, "\n"));
    }
    text.advance(putText(text.room(kStars.size()), kStars));
    return forward ? length : criticalPathLength(instance);
}

// Overwrites a field of nine columns in place.
void putDueField(char* field, std::int64_t value) {
    char digits[kSlack + kWideNumberChars];
    putNumber(digits, value, 9);
    std::memcpy(field, digits, 9);
}

// One line of the request table; the job number only on the line of its first mode.
char* putModeLine(char* at, std::size_t j, std::size_t mode, std::int32_t duration,
                  const std::vector<std::int32_t>& demands,
                  const std::vector<std::int32_t>& nonrenewable) {
    at = mode == 0 ? putNumber(at, static_cast<std::int64_t>(j) + 1, 3) : putText(at, "   ");
    at = mode == 0 ? putText(at, kModeOne) : putNumber(at, static_cast<std::int64_t>(mode) + 1, 7);
    at = putField(at, duration, 6);
    int width = 8;
    for (const std::int32_t demand : demands) {
        at = putField(at, demand, width);
        width = 5;
    }
    for (const std::int32_t demand : nonrenewable) {
        at = putField(at, demand, width);
        width = 5;
    }
    return putText(at, "\n");
}

char* putResourceColumns(char* at, const Instance& instance) {
    for (std::size_t r = 0; r < instance.availability.size(); ++r) {
        at = putNumber(putText(at, "  R "), static_cast<std::int64_t>(r) + 1);
    }
    for (std::size_t r = 0; r < instance.nonrenewable.size(); ++r) {
        at = putNumber(putText(at, "  N "), static_cast<std::int64_t>(r) + 1);
    }
    return at;
}

void putRequests(TextOut& text, const Instance& instance) {
    const std::size_t k = instance.availability.size() + instance.nonrenewable.size();
    char* at = text.room(2 * kStars.size() + 40 + k * (kNumberChars + 4));
    at = putText(at, "REQUESTS/DURATIONS:\njobnr. mode duration");
    at = putResourceColumns(at, instance);
    text.advance(putText(putText(at, "\n"), kDashes));
    const std::vector<std::int32_t> none;
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        const Job& job = instance.jobs[j];
        if (job.modes.empty()) {
            at = text.room((k + 3) * (kNumberChars + 1) + 12);
            text.advance(putModeLine(at, j, 0, job.duration, job.demands, none));
            continue;
        }
        for (std::size_t m = 0; m < job.modes.size(); ++m) {
            const Mode& mode = job.modes[m];
            at = text.room((k + 3) * (kNumberChars + 1) + 12);
            text.advance(putModeLine(at, j, m, mode.duration, mode.demands, mode.nonrenewable));
        }
    }
    text.advance(putText(text.room(kStars.size()), kStars));
}

void putAvailabilities(TextOut& text, const Instance& instance) {
    const std::size_t k = instance.availability.size() + instance.nonrenewable.size();
    char* at = text.room(kStars.size() + 30 + 2 * k * (kNumberChars + 4));
    at = putText(at, "RESOURCEAVAILABILITIES:\n");
    at = putText(putResourceColumns(at, instance), "\n");
    for (const std::int32_t value : instance.availability) {
        at = putField(at, value, 5);
    }
    for (const std::int32_t value : instance.nonrenewable) {
        at = putField(at, value, 5);
    }
    text.advance(putText(putText(at, "\n"), kStars));
}

} // namespace

void refuseClass(const Instance& instance, std::string_view extension, bool modes, bool lags) {
    const bool multiMode = instance.multiMode() || !instance.nonrenewable.empty();
    if ((multiMode && !modes) || (instance.hasTimeLags() && !lags)) {
        throw std::invalid_argument(
            "The " + std::string(extension) + " format cannot hold "
            + (multiMode && !modes ? "a multi-mode instance (write it as .mm, .json or .dzn)"
                                   : "an instance with time lags (write it as .sch or .json)"));
    }
}

void writeSm(const Instance& instance, std::string& out) {
    refuseClass(instance, ".sm", false, false);
    writeMm(instance, out);
}

// The .sm layout written in full; a single-mode instance gives the .sm bytes.
void writeMm(const Instance& instance, std::string& out) {
    refuseClass(instance, ".mm", true, false);
    TextOut text(out);
    const std::int64_t horizon = horizonOf(instance);
    putHeader(text, instance, horizon);
    // The due date and MPM time are the critical path length, at most the horizon. When that has
    // at most 8 digits, both fields are exactly 9 columns wide whatever the length, so they are
    // written blank and filled in once the precedence pass has found it.
    const bool fillLater = horizon < 100000000;
    const std::size_t dueDate =
        putProjectInformation(text, instance, fillLater ? 0 : criticalPathLength(instance));
    const std::int64_t length = putPrecedences(text, instance);
    if (fillLater) {
        putDueField(text.at(dueDate), length);
        putDueField(text.at(dueDate + 18), length);
    }
    putRequests(text, instance);
    putAvailabilities(text, instance);
    text.finish();
}

} // namespace tavrin::formats

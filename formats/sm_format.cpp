#include "formats/format_codecs.h"
#include "formats/instance_check.h"
#include "formats/number_text.h"

#include <stdexcept>

namespace tavrin::formats {
namespace {

constexpr std::string_view kStars =
    "************************************************************************\n";
constexpr std::string_view kDashes =
    "------------------------------------------------------------------------\n";
constexpr std::size_t kLabelWidth = 30;

// Sum of the durations: every job one after the other.
std::int64_t horizonOf(const Instance& instance) {
    std::int64_t sum = 0;
    for (const Job& job : instance.jobs) {
        sum += job.duration;
    }
    return sum;
}

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

char* putLabel(char* out, std::string_view label) {
    out = putText(out, label);
    for (std::size_t i = label.size(); i < kLabelWidth; ++i) {
        *out++ = ' ';
    }
    return putText(out, ": ");
}

void checkProvenanceText(std::string_view text, bool key) {
    const bool colon = key && text.find(':') != std::string_view::npos;
    if (colon || text.find_first_of("\r\n") != std::string_view::npos) {
        throw std::invalid_argument("A provenance " + std::string(key ? "key" : "value") + " (\""
                                    + std::string(text)
                                    + "\") has no .sm form: no line break, no colon in keys");
    }
}

void putHeader(TextOut& text, const Instance& instance) {
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
    at = text.room(6 * kStars.size() + 4 * kNumberChars);
    at = putText(at, kStars);
    at = putLabel(at, "projects");
    at = putText(at, " 1\n");
    at = putLabel(at, "jobs (incl. supersource/sink )");
    at = putNumber(putText(at, " "), instance.jobCount());
    at = putLabel(putText(at, "\n"), "horizon");
    at = putNumber(putText(at, " "), horizonOf(instance));
    at = putText(at, "\nRESOURCES\n");
    at = putText(putLabel(at, "  - renewable"), " ");
    at = putText(putNumber(at, instance.resourceCount()), "   R\n");
    at = putText(putLabel(at, "  - nonrenewable"), " 0   N\n");
    at = putText(putLabel(at, "  - doubly constrained"), " 0   D\n");
    text.advance(putText(at, kStars));
}

void putProjectInformation(TextOut& text, const Instance& instance) {
    const std::int64_t length = criticalPathLength(instance);
    char* at = text.room(2 * kStars.size() + 6 * (kNumberChars + 1));
    at = putText(at, "PROJECT INFORMATION:\n"
                     "pronr.  #jobs rel.date duedate tardcost  MPM-Time\n");
    at = putNumber(at, 1, 5);
    at = putField(at, instance.jobCount() - 2, 7);
    at = putField(at, 0, 7);
    at = putField(at, length, 9);
    at = putField(at, 0, 9);
    at = putField(at, length, 9);
    text.advance(putText(putText(at, "\n"), kStars));
}

void putPrecedences(TextOut& text, const Instance& instance) {
    text.advance(putText(text.room(80), "PRECEDENCE RELATIONS:\n"
                                        "jobnr.    #modes  #successors   successors\n"));
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        const Job& job = instance.jobs[j];
        char* at = text.room((job.successors.size() + 3) * (kNumberChars + 1) + 12);
        at = putNumber(at, static_cast<std::int64_t>(j) + 1, 4);
        at = putField(at, 1, 9);
        at = putField(at, static_cast<std::int64_t>(job.successors.size()), 11);
        int width = 12;
        for (const std::int32_t s : job.successors) {
            at = putField(at, std::int64_t{s} + 1, width);
            width = 4;
        }
        text.advance(putText(at, "\n"));
    }
    text.advance(putText(text.room(kStars.size()), kStars));
}

void putRequests(TextOut& text, const Instance& instance) {
    const std::size_t k = instance.availability.size();
    char* at = text.room(2 * kStars.size() + 40 + k * (kNumberChars + 4));
    at = putText(at, "REQUESTS/DURATIONS:\njobnr. mode duration");
    for (std::size_t r = 0; r < k; ++r) {
        at = putNumber(putText(at, "  R "), static_cast<std::int64_t>(r) + 1);
    }
    text.advance(putText(putText(at, "\n"), kDashes));
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        const Job& job = instance.jobs[j];
        at = text.room((k + 3) * (kNumberChars + 1) + 12);
        at = putNumber(at, static_cast<std::int64_t>(j) + 1, 3);
        at = putField(at, 1, 7);
        at = putField(at, job.duration, 6);
        int width = 8;
        for (const std::int32_t demand : job.demands) {
            at = putField(at, demand, width);
            width = 5;
        }
        text.advance(putText(at, "\n"));
    }
    text.advance(putText(text.room(kStars.size()), kStars));
}

void putAvailabilities(TextOut& text, const Instance& instance) {
    const std::size_t k = instance.availability.size();
    char* at = text.room(kStars.size() + 30 + 2 * k * (kNumberChars + 4));
    at = putText(at, "RESOURCEAVAILABILITIES:\n");
    for (std::size_t r = 0; r < k; ++r) {
        at = putNumber(putText(at, "  R "), static_cast<std::int64_t>(r) + 1);
    }
    at = putText(at, "\n");
    for (const std::int32_t value : instance.availability) {
        at = putField(at, value, 5);
    }
    text.advance(putText(putText(at, "\n"), kStars));
}

} // namespace

void writeSm(const Instance& instance, std::string& out) {
    TextOut text(out);
    putHeader(text, instance);
    putProjectInformation(text, instance);
    putPrecedences(text, instance);
    putRequests(text, instance);
    putAvailabilities(text, instance);
    text.finish();
}

} // namespace tavrin::formats

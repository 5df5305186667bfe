#include "formats/format_codecs.h"
#include "formats/number_text.h"

#include <stdexcept>

namespace tavrin::formats {
namespace {

constexpr std::size_t kItemRoom = kNumberChars + 2;

// Provenance as comments; a line break inside a text would end the comment early.
void putComments(TextOut& text, const Provenance& provenance) {
    for (const auto& [key, value] : provenance) {
        char* at = text.room(key.size() + value.size() + 8);
        at = putText(at, "% ");
        char* const first = at;
        at = putText(putText(at, key), ": ");
        at = putText(at, value);
        for (char* c = first; c != at; ++c) {
            *c = *c == '\n' || *c == '\r' ? ' ' : *c;
        }
        text.advance(putText(at, "\n"));
    }
}

// The tasks are the jobs between the dummies, numbered 1..n as they are in the file order.
void putTasks(TextOut& text, const Instance& instance) {
    const std::size_t tasks = instance.jobs.size() - 2;
    char* at = text.room(tasks * kItemRoom + 80);
    at = putNumber(putText(at, "n_tasks = "), static_cast<std::int64_t>(tasks));
    at = putText(at, ";\nd = [");
    for (std::size_t t = 1; t <= tasks; ++t) {
        at = putNumber(putText(at, t == 1 ? "" : ", "), instance.jobs[t].duration);
    }
    text.advance(putText(at, "];\nrr = array2d(1..n_res, 1..n_tasks, ["));
    for (std::size_t r = 0; r < instance.availability.size(); ++r) {
        at = text.room(tasks * kItemRoom + 8);
        at = putText(at, r == 0 ? "\n  " : ",\n  ");
        for (std::size_t t = 1; t <= tasks; ++t) {
            at = putNumber(putText(at, t == 1 ? "" : ", "), instance.jobs[t].demands[r]);
        }
        text.advance(at);
    }
    text.advance(putText(text.room(16), "]);\nsuc = ["));
}

void putSuccessors(TextOut& text, const Instance& instance) {
    const std::size_t tasks = instance.jobs.size() - 2;
    const auto end = static_cast<std::int32_t>(instance.jobs.size() - 1);
    for (std::size_t t = 1; t <= tasks; ++t) {
        const Job& job = instance.jobs[t];
        char* at = text.room((job.successors.size() + 2) * kItemRoom);
        at = putText(at, t == 1 ? "{" : ", {");
        bool first = true;
        for (const std::int32_t s : job.successors) {
            if (s != end) {
                at = putNumber(putText(at, first ? "" : ", "), s);
                first = false;
            }
        }
        text.advance(putText(at, "}"));
    }
    text.advance(putText(text.room(4), "];\n"));
}

char* putSet(char* at, std::int64_t first, std::int64_t last) {
    *at++ = '{';
    for (std::int64_t v = first; v <= last; ++v) {
        at = putNumber(putText(at, v == first ? "" : ", "), v);
    }
    return putText(at, "}");
}

// n_res, rtype (renewable 1, nonrenewable 2), rcap, n_tasks and n_opt.
void putModeCounts(TextOut& text, const Instance& instance) {
    const std::size_t tasks = instance.jobs.size() - 2;
    const std::size_t k = instance.availability.size();
    const std::size_t resources = k + instance.nonrenewable.size();
    char* at = text.room(resources * kItemRoom * 2 + 64);
    at = putNumber(putText(at, "n_res = "), static_cast<std::int64_t>(resources));
    at = putText(at, ";\nrtype = [");
    for (std::size_t r = 0; r < resources; ++r) {
        at = putText(putText(at, r == 0 ? "" : ", "), r < k ? "1" : "2");
    }
    at = putText(at, "];\nrcap = [");
    for (std::size_t r = 0; r < resources; ++r) {
        const std::int32_t cap = r < k ? instance.availability[r] : instance.nonrenewable[r - k];
        at = putNumber(putText(at, r == 0 ? "" : ", "), cap);
    }
    std::int64_t options = 0;
    for (std::size_t t = 1; t <= tasks; ++t) {
        options += static_cast<std::int64_t>(instance.jobs[t].modes.size());
    }
    at = putNumber(putText(at, "];\nn_tasks = "), static_cast<std::int64_t>(tasks));
    at = putNumber(putText(at, ";\nn_opt = "), options);
    text.advance(putText(at, ";\n"));
}

// Each task's modes as the set of its option numbers, which run on from task to task.
void putModeSets(TextOut& text, const Instance& instance) {
    const std::size_t tasks = instance.jobs.size() - 2;
    text.advance(putText(text.room(16), "modes = ["));
    std::int64_t next = 1;
    for (std::size_t t = 1; t <= tasks; ++t) {
        const auto count = static_cast<std::int64_t>(instance.jobs[t].modes.size());
        char* const at = text.room(static_cast<std::size_t>(count) * kItemRoom + 8);
        text.advance(putSet(putText(at, t == 1 ? "" : ", "), next, next + count - 1));
        next += count;
    }
    text.advance(putText(text.room(16), "];\n"));
}

void putModeDurations(TextOut& text, const Instance& instance) {
    const std::size_t tasks = instance.jobs.size() - 2;
    text.advance(putText(text.room(16), "dur = ["));
    bool first = true;
    for (std::size_t t = 1; t <= tasks; ++t) {
        for (const Mode& mode : instance.jobs[t].modes) {
            text.advance(
                putNumber(putText(text.room(kItemRoom), first ? "" : ", "), mode.duration));
            first = false;
        }
    }
    text.advance(putText(text.room(16), "];\n"));
}

// One row per resource, renewable then nonrenewable, of every option's demand.
void putModeDemands(TextOut& text, const Instance& instance) {
    const std::size_t tasks = instance.jobs.size() - 2;
    const std::size_t k = instance.availability.size();
    const std::size_t resources = k + instance.nonrenewable.size();
    text.advance(putText(text.room(40), "rreq = array2d(1..n_res, 1..n_opt, ["));
    for (std::size_t r = 0; r < resources; ++r) {
        text.advance(putText(text.room(8), r == 0 ? "\n  " : ",\n  "));
        bool first = true;
        for (std::size_t t = 1; t <= tasks; ++t) {
            for (const Mode& mode : instance.jobs[t].modes) {
                const std::int32_t demand = r < k ? mode.demands[r] : mode.nonrenewable[r - k];
                text.advance(putNumber(putText(text.room(kItemRoom), first ? "" : ", "), demand));
                first = false;
            }
        }
    }
    text.advance(putText(text.room(16), "]);\nsucc = ["));
}

// The multi-mode data of the usual MiniZinc model: resources renewable (type 1) then
// nonrenewable (type 2), the modes of the tasks numbered 1..n_opt in a row.
void putModes(TextOut& text, const Instance& instance) {
    putModeCounts(text, instance);
    putModeSets(text, instance);
    putModeDurations(text, instance);
    putModeDemands(text, instance);
}

// Time lags as difference constraints over every job, the dummies included (a maximal lag may
// bind a job to the start): each row i, d, j asks s[i] + d <= s[j], jobs numbered from 1.
void putLags(TextOut& text, const Instance& instance) {
    std::size_t arcs = 0;
    for (const Job& job : instance.jobs) {
        arcs += job.successors.size();
    }
    char* at = text.room(80);
    at = putNumber(putText(at, "n_dc = "), static_cast<std::int64_t>(arcs));
    text.advance(putText(at, ";\ndcons = array2d(1..n_dc, 1..3, ["));
    bool first = true;
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        const Job& job = instance.jobs[j];
        for (std::size_t i = 0; i < job.successors.size(); ++i) {
            at = text.room(3 * kItemRoom + 8);
            at = putNumber(putText(at, first ? "\n  " : ",\n  "), static_cast<std::int64_t>(j) + 1);
            at = putNumber(putText(at, ", "), job.lags[i]);
            at = putNumber(putText(at, ", "), std::int64_t{job.successors[i]} + 1);
            text.advance(at);
            first = false;
        }
    }
    text.advance(putText(text.room(8), "]);\n"));
}

// The renewable resources and durations of every job, dummies included, for the lag model.
void putAllJobs(TextOut& text, const Instance& instance) {
    const std::size_t jobs = instance.jobs.size();
    char* at = text.room(jobs * kItemRoom + 40);
    at = putNumber(putText(at, "n_tasks = "), static_cast<std::int64_t>(jobs));
    at = putText(at, ";\nd = [");
    for (std::size_t j = 0; j < jobs; ++j) {
        at = putNumber(putText(at, j == 0 ? "" : ", "), instance.jobs[j].duration);
    }
    text.advance(putText(at, "];\nrr = array2d(1..n_res, 1..n_tasks, ["));
    for (std::size_t r = 0; r < instance.availability.size(); ++r) {
        at = text.room(jobs * kItemRoom + 8);
        at = putText(at, r == 0 ? "\n  " : ",\n  ");
        for (std::size_t j = 0; j < jobs; ++j) {
            at = putNumber(putText(at, j == 0 ? "" : ", "), instance.jobs[j].demands[r]);
        }
        text.advance(at);
    }
    text.advance(putText(text.room(8), "]);\n"));
}

} // namespace

void writeDzn(const Instance& instance, std::string& out) {
    refuseClass(instance, ".dzn", true, true);
    if (instance.multiMode() && instance.hasTimeLags()) {
        throw std::invalid_argument("The .dzn format cannot hold modes and time lags together");
    }
    TextOut text(out);
    putComments(text, instance.provenance);
    if (instance.multiMode()) {
        putModes(text, instance);
        putSuccessors(text, instance);
        text.finish();
        return;
    }
    char* at = text.room((instance.availability.size() + 2) * kItemRoom + 24);
    at = putNumber(putText(at, "n_res = "), instance.resourceCount());
    at = putText(at, ";\nrc = [");
    for (std::size_t r = 0; r < instance.availability.size(); ++r) {
        at = putNumber(putText(at, r == 0 ? "" : ", "), instance.availability[r]);
    }
    text.advance(putText(at, "];\n"));
    if (instance.hasTimeLags()) {
        putAllJobs(text, instance);
        putLags(text, instance);
        text.finish();
        return;
    }
    putTasks(text, instance);
    putSuccessors(text, instance);
    text.finish();
}

} // namespace tavrin::formats

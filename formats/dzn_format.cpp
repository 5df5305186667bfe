#include "formats/format_codecs.h"
#include "formats/number_text.h"

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

} // namespace

void writeDzn(const Instance& instance, std::string& out) {
    TextOut text(out);
    putComments(text, instance.provenance);
    char* at = text.room((instance.availability.size() + 2) * kItemRoom + 24);
    at = putNumber(putText(at, "n_res = "), instance.resourceCount());
    at = putText(at, ";\nrc = [");
    for (std::size_t r = 0; r < instance.availability.size(); ++r) {
        at = putNumber(putText(at, r == 0 ? "" : ", "), instance.availability[r]);
    }
    text.advance(putText(at, "];\n"));
    putTasks(text, instance);
    putSuccessors(text, instance);
    text.finish();
}

} // namespace tavrin::formats

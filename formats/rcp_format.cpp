#include "formats/format_codecs.h"
#include "formats/instance_check.h"
#include "formats/number_text.h"
#include "formats/text_reader.h"

namespace tavrin::formats {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::size_t jobRoom(const Job& job) {
    return (job.demands.size() + job.successors.size() + 3) * (kNumberChars + 2) + kLineEnd.size();
}

// An activity whose only successor is the dummy end ends its line without the trailing space.
bool precedesOnlyTheEnd(const Instance& instance, std::size_t j) {
    const Job& job = instance.jobs[j];
    return j != 0 && job.successors.size() == 1
           && static_cast<std::size_t>(job.successors[0]) + 1 == instance.jobs.size();
}

char* putJob(char* out, const Instance& instance, std::size_t j) {
    const Job& job = instance.jobs[j];
    out = putNumber(out, job.duration, 4);
    for (const std::int32_t demand : job.demands) {
        out = putField(out, demand, 4);
    }
    out = putField(out, static_cast<std::int64_t>(job.successors.size()), 4);
    if (precedesOnlyTheEnd(instance, j)) {
        *out++ = ' ';
        out = putNumber(out, instance.jobCount());
    } else {
        *out++ = ' ';
        for (const std::int32_t s : job.successors) {
            out = putNumber(out, std::int64_t{s} + 1);
            *out++ = ' ';
        }
    }
    return putText(out, kLineEnd);
}

} // namespace

void writeRcp(const Instance& instance, std::string& out) {
    refuseClass(instance, ".rcp", false, false);
    TextOut text(out);
    char* at = text.room((instance.availability.size() + 2) * (kNumberChars + 1) + 8);
    at = putText(at, kLineEnd);
    at = putNumber(at, instance.jobCount(), 4);
    at = putField(at, instance.resourceCount(), 5);
    at = putText(at, kLineEnd);
    for (std::size_t r = 0; r < instance.availability.size(); ++r) {
        at = r == 0 ? putNumber(at, instance.availability[r], 4)
                    : putField(at, instance.availability[r], 5);
    }
    at = putText(at, kLineEnd);
    at = putText(at, kLineEnd);
    text.advance(at);
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        text.advance(putJob(text.room(jobRoom(instance.jobs[j])), instance, j));
    }
    text.finish();
}

Instance readRcp(std::string_view bytes, const std::string& fileName) {
    TextReader text(bytes, fileName);
    Instance instance;
    const std::int64_t jobs = text.number("the number of jobs");
    if (jobs < 2) {
        text.fail("the number of jobs must be at least 2 (the dummy start and end)");
    }
    const std::int64_t resources = text.number("the number of resources");
    if (resources < 1) {
        text.fail("the number of resources must be at least 1");
    }
    for (std::int64_t r = 0; r < resources; ++r) {
        const auto value = text.number("availability of resource " + std::to_string(r + 1));
        instance.availability.push_back(static_cast<std::int32_t>(value));
    }
    std::vector<int> jobLines;
    for (std::int64_t j = 0; j < jobs; ++j) {
        const std::string name = jobName(static_cast<std::size_t>(j));
        Job job;
        job.duration = static_cast<std::int32_t>(text.number("duration of " + name));
        jobLines.push_back(text.line());
        for (std::int64_t r = 0; r < resources; ++r) {
            const auto what = "demand of " + name + " for resource " + std::to_string(r + 1);
            job.demands.push_back(static_cast<std::int32_t>(text.number(what)));
        }
        const std::int64_t successors = text.number("successor count of " + name, jobs);
        for (std::int64_t s = 0; s < successors; ++s) {
            const std::int64_t successor = text.number("successor of " + name);
            if (successor < 1 || successor > jobs) {
                text.fail(name + " lists a successor " + std::to_string(successor) + " outside 1.."
                          + std::to_string(jobs));
            }
            job.successors.push_back(static_cast<std::int32_t>(successor - 1));
        }
        instance.jobs.push_back(std::move(job));
    }
    if (!text.atEnd()) {
        text.next();
        text.fail("unexpected text after the last job");
    }
    checkInstance(instance, jobLines, fileName);
    return instance;
}

} // namespace tavrin::formats

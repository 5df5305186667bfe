#include "formats/format_codecs.h"
#include "formats/instance_check.h"
#include "formats/text_reader.h"

#include <stdexcept>

namespace tavrin::formats {
namespace {

void appendNumber(std::string& out, std::int64_t value) {
    out += std::to_string(value);
}

// Activities are numbered from 0 (the dummy start) to n+1 (the dummy end), one mode each.
void appendArcs(std::string& out, const Job& job, std::size_t j) {
    appendNumber(out, static_cast<std::int64_t>(j));
    out += "\t1\t";
    appendNumber(out, static_cast<std::int64_t>(job.successors.size()));
    for (const std::int32_t s : job.successors) {
        out += '\t';
        appendNumber(out, s);
    }
    for (std::size_t i = 0; i < job.successors.size(); ++i) {
        out += "\t[";
        // Without lags a successor starts when the job ends.
        appendNumber(out, job.lags.empty() ? job.duration : job.lags[i]);
        out += ']';
    }
    out += '\n';
}

void appendRequests(std::string& out, const Job& job, std::size_t j) {
    appendNumber(out, static_cast<std::int64_t>(j));
    out += "\t1\t";
    appendNumber(out, job.duration);
    for (const std::int32_t demand : job.demands) {
        out += '\t';
        appendNumber(out, demand);
    }
    out += '\n';
}

// A lag: "[12]" or "[-7]", within 32 bits.
std::int32_t readLag(TextReader& text, const std::string& name) {
    const std::string_view token = text.next();
    const std::string what = "a time lag of " + name;
    if (token.size() < 3 || token.front() != '[' || token.back() != ']') {
        text.fail(what + ": expected a whole number in brackets, found " + quoteToken(token));
    }
    std::string_view digits = token.substr(1, token.size() - 2);
    const bool negative = digits.front() == '-';
    digits.remove_prefix(negative ? 1 : 0);
    const auto value = parseNumber(digits, what, kLargestValue, text.fileName(), text.line());
    return static_cast<std::int32_t>(negative ? -value : value);
}

void readJobNumber(TextReader& text, std::size_t j, const std::string& what) {
    if (text.number(what) != static_cast<std::int64_t>(j)) {
        text.fail("expected the line of activity " + std::to_string(j) + " in " + what);
    }
    if (text.number("the mode count of activity " + std::to_string(j)) != 1) {
        text.fail("only single-mode instances are supported in the .sch format");
    }
}

// Jobs are added as their lines are read: a count is no promise that the file holds that much.
void readArcs(TextReader& text, std::int64_t jobs, Instance& instance, std::vector<int>& jobLines) {
    for (std::size_t j = 0; static_cast<std::int64_t>(j) < jobs; ++j) {
        const std::string name = "activity " + std::to_string(j);
        readJobNumber(text, j, "the successor table");
        jobLines.push_back(text.line());
        Job& job = instance.jobs.emplace_back();
        const auto count = text.number("the successor count of " + name, jobs);
        for (std::int64_t s = 0; s < count; ++s) {
            const auto successor = text.number("a successor of " + name);
            if (successor >= jobs) {
                text.fail(name + " lists a successor " + std::to_string(successor) + " outside 0.."
                          + std::to_string(jobs - 1));
            }
            job.successors.push_back(static_cast<std::int32_t>(successor));
        }
        for (std::int64_t s = 0; s < count; ++s) {
            job.lags.push_back(readLag(text, name));
        }
    }
}

void readRequests(TextReader& text, Instance& instance, std::size_t resources) {
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        const std::string name = "activity " + std::to_string(j);
        readJobNumber(text, j, "the request table");
        Job& job = instance.jobs[j];
        job.duration = static_cast<std::int32_t>(text.number("the duration of " + name));
        for (std::size_t r = 0; r < resources; ++r) {
            const auto what = "the demand of " + name + " for resource " + std::to_string(r + 1);
            job.demands.push_back(static_cast<std::int32_t>(text.number(what)));
        }
    }
}

} // namespace

void writeSch(const Instance& instance, std::string& out) {
    refuseClass(instance, ".sch", false, true);
    out.clear();
    appendNumber(out, instance.jobCount() - 2);
    out += '\t';
    appendNumber(out, instance.resourceCount());
    out += "\t0\t0\n";
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        appendArcs(out, instance.jobs[j], j);
    }
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        appendRequests(out, instance.jobs[j], j);
    }
    for (std::size_t r = 0; r < instance.availability.size(); ++r) {
        out += r == 0 ? "" : "\t";
        appendNumber(out, instance.availability[r]);
    }
    out += '\n';
}

Instance readSch(std::string_view bytes, const std::string& fileName) {
    TextReader text(bytes, fileName);
    const auto activities = text.number("the number of activities", kLargestValue - 2);
    const auto resources = text.number("the number of renewable resources", 1000);
    if (resources < 1) {
        text.fail("the number of renewable resources must be at least 1");
    }
    if (text.number("the number of nonrenewable resources") != 0
        || text.number("the number of doubly constrained resources") != 0) {
        text.fail("only renewable resources are supported in the .sch format");
    }
    Instance instance;
    std::vector<int> jobLines;
    readArcs(text, activities + 2, instance, jobLines);
    readRequests(text, instance, static_cast<std::size_t>(resources));
    for (std::int64_t r = 0; r < resources; ++r) {
        const auto what = "the capacity of resource " + std::to_string(r + 1);
        instance.availability.push_back(static_cast<std::int32_t>(text.number(what)));
    }
    if (!text.atEnd()) {
        text.next();
        text.fail("unexpected text after the capacities");
    }
    checkInstance(instance, jobLines, fileName);
    return instance;
}

} // namespace tavrin::formats

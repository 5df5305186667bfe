#include "design/design_solve.h"

#include "solve/solve_text.h"

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>

namespace tavrin::design {
namespace {

constexpr std::array kSolveKeys{"fail_limit", "time_limit", "schedules",
                                "require",    "min_fails",  "min_gap"};

std::string keyOf(const std::string& key) {
    return "solve." + key;
}

void readLimits(const Reader& reader, const toml::table& table, DesignSolve& solve) {
    constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
    if (const toml::node* node = table.get("fail_limit")) {
        solve.failLimit = reader.integer(*node, keyOf("fail_limit"), 1, most);
    }
    if (const toml::node* node = table.get("time_limit")) {
        const double seconds = reader.real(*node, keyOf("time_limit"));
        if (seconds <= 0.0) {
            reader.fail(*node, keyOf("time_limit"), "expected a positive number of seconds");
        }
        solve.timeLimitSeconds = seconds;
    }
    if (solve.failLimit == 0 && !solve.timeLimitSeconds) {
        reader.fail(lineOf(table), "solve",
                    "give fail_limit or time_limit: a search without a limit may never end");
    }
}

void readTests(const Reader& reader, const toml::table& table, DesignSolve& solve) {
    if (const toml::node* node = table.get("require")) {
        const std::string text = reader.text(*node, keyOf("require"));
        if (text != "nontrivial") {
            reader.fail(*node, keyOf("require"), "expected \"nontrivial\", not '" + text + "'");
        }
        solve.nontrivial = true;
    }
    if (const toml::node* node = table.get("min_fails")) {
        solve.minFails =
            reader.integer(*node, keyOf("min_fails"), 0, std::numeric_limits<std::int64_t>::max());
        if (solve.failLimit > 0 && solve.minFails > solve.failLimit) {
            reader.fail(*node, keyOf("min_fails"), "must not exceed fail_limit");
        }
    }
    if (const toml::node* node = table.get("min_gap")) {
        solve.minGap = reader.real(*node, keyOf("min_gap"));
        if (solve.minGap < 0.0) {
            reader.fail(*node, keyOf("min_gap"), "expected a gap of 0 or more");
        }
    }
}

} // namespace

DesignSolve readSolveTable(const Reader& reader, const toml::node& node, bool paired) {
    const toml::table* table = node.as_table();
    if (table == nullptr) {
        reader.fail(node, "solve", "expected a table");
    }
    for (auto&& [key, value] : *table) {
        if (std::find(kSolveKeys.begin(), kSolveKeys.end(), key.str()) == kSolveKeys.end()) {
            reader.fail(static_cast<int>(key.source().begin.line), keyOf(std::string(key.str())),
                        "unknown key");
        }
    }
    DesignSolve solve;
    readLimits(reader, *table, solve);
    if (const toml::node* schedules = table->get("schedules")) {
        const auto value = schedules->value_exact<bool>();
        if (!value) {
            reader.fail(*schedules, keyOf("schedules"), "expected true or false");
        }
        solve.schedules = *value;
    }
    readTests(reader, *table, solve);
    if (paired && solve.filters()) {
        reader.fail(node, "solve",
                    "a paired design cannot keep only some instances: its cells would no longer "
                    "share their networks");
    }
    return solve;
}

std::vector<std::string> solveColumns(const DesignSolve& solve) {
    std::vector<std::string> columns{"lb0", "lb", "ub", "status", "gap", "fails"};
    if (solve.schedules) {
        columns.emplace_back("schedule");
    }
    return columns;
}

bool SolvedInstance::passes(const DesignSolve& solve) const {
    if (solve.nontrivial && !(result.ub && *result.ub > result.lb0)) {
        return false;
    }
    if (result.fails < solve.minFails) {
        return false;
    }
    if (solve.minGap > 0.0) {
        const bool known = result.ub && result.lb > 0;
        return known && static_cast<double>(*result.ub - result.lb) / result.lb >= solve.minGap;
    }
    return true;
}

SolvedInstance solveForDesign(const formats::Instance& instance, const DesignSolve& solve,
                              const std::atomic<bool>* stop) {
    solve::SolveBudget budget;
    budget.failLimit = solve.failLimit;
    budget.timeLimitSeconds = solve.timeLimitSeconds.value_or(0.0);
    SolvedInstance solved{solve::solveInstance(instance, budget, stop), {}};
    const solve::SolveResult& r = solved.result;
    if (!r.start.empty()) {
        if (const std::string violation = solve::scheduleViolation(instance, r.start);
            !violation.empty()) {
            throw std::logic_error("the solver's schedule breaks a constraint: " + violation);
        }
    }
    solved.fields = {std::to_string(r.lb0),
                     std::to_string(r.lb),
                     r.ub ? std::to_string(*r.ub) : std::string(),
                     std::string(solve::statusName(r.status)),
                     solve::gapText(r),
                     std::to_string(r.fails)};
    return solved;
}

} // namespace tavrin::design

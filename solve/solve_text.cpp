#include "solve/solve_text.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace tavrin::solve {

std::string gapText(const SolveResult& result) {
    if (!result.ub) {
        return "";
    }
    if (*result.ub == result.lb) {
        return "0";
    }
    if (result.lb <= 0) {
        return "";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.4f",
                  static_cast<double>(*result.ub - result.lb) / result.lb);
    return text;
}

std::string scheduleJson(const std::string& file, const std::string& sha256,
                         const SolveResult& result) {
    nlohmann::ordered_json json;
    json["file"] = file;
    json["sha256"] = sha256;
    json["makespan"] = result.ub ? nlohmann::ordered_json(*result.ub) : nullptr;
    json["status"] = std::string(statusName(result.status));
    json["lb"] = result.lb;
    json["start"] = result.start;
    return json.dump() + "\n";
}

} // namespace tavrin::solve

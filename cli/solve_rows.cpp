#include "cli/solve_rows.h"

#include "solve/solve_text.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <sstream>

namespace tavrin::cli {

namespace {

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The parameter and instance numbers of a name such as j3013_5: the digits after the set's
// prefix "j30" are not separable from the parameter, so the prefix is the leading letters and
// the digits of the set size when the name has the usual shape.
std::pair<std::string, std::string> parameterAndInstance(const std::string& file) {
    const std::string stem = std::filesystem::path(file).stem().string();
    const std::size_t underscore = stem.rfind('_');
    if (underscore == std::string::npos || underscore + 1 == stem.size()) {
        return {"-", "-"};
    }
    const std::string instance = stem.substr(underscore + 1);
    std::size_t digits = underscore;
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(stem[digits - 1])) != 0) {
        --digits;
    }
    std::size_t letters = 0;
    while (letters < stem.size() && std::isalpha(static_cast<unsigned char>(stem[letters])) != 0) {
        ++letters;
    }
    for (char c : instance) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0) {
            return {"-", "-"};
        }
    }
    const std::string number = stem.substr(digits, underscore - digits);
    for (const char* size : {"30", "60", "90", "120"}) {
        const std::string prefix(size);
        if (letters == digits && number.size() > prefix.size() && number.rfind(prefix, 0) == 0) {
            return {number.substr(prefix.size()), instance};
        }
    }
    return {"-", "-"};
}

} // namespace

std::vector<std::string> solveCsvHeader() {
    return {"file", "sha256", "n", "K", "lb0", "lb", "ub", "status", "gap", "fails", "seconds"};
}

std::vector<std::string> solveCsvFields(const SolveRow& row) {
    const solve::SolveResult& r = row.result;
    return {row.file,
            row.sha256,
            std::to_string(row.jobs),
            std::to_string(row.resources),
            std::to_string(r.lb0),
            std::to_string(r.lb),
            r.ub ? std::to_string(*r.ub) : "",
            std::string(solve::statusName(r.status)),
            solve::gapText(r),
            std::to_string(r.fails),
            fixed(r.seconds, 3)};
}

std::string scheduleJson(const SolveRow& row) {
    return solve::scheduleJson(row.file, row.sha256, row.result);
}

std::string scheduleFileName(const std::string& instancePath) {
    return std::filesystem::path(instancePath).stem().string() + ".schedule.json";
}

std::string makespanTable(const std::vector<std::vector<std::string>>& rows) {
    std::ostringstream table;
    table << "Par   Inst  Makespan  LB        Status      File\n";
    table << std::string(70, '-') << '\n';
    for (const std::vector<std::string>& row : rows) {
        const auto [parameter, instance] = parameterAndInstance(row[0]);
        char line[128];
        std::snprintf(line, sizeof line, "%-5s %-5s %-9s %-9s %-11s ", parameter.c_str(),
                      instance.c_str(), row[6].empty() ? "-" : row[6].c_str(), row[5].c_str(),
                      row[7].c_str());
        table << line << row[0] << '\n';
    }
    return table.str();
}

} // namespace tavrin::cli

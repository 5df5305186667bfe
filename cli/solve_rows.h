#pragma once

#include "solve/solve_instance.h"

#include <string>
#include <vector>

namespace tavrin::cli {

// One solved instance as the solve command reports it.
struct SolveRow {
    std::string file;
    std::string sha256;
    int jobs = 0; // without the two dummies
    int resources = 0;
    solve::SolveResult result;
};

// "file,sha256,n,K,lb0,lb,ub,status,gap,fails,seconds", as fields.
std::vector<std::string> solveCsvHeader();
// ub and gap are empty without a schedule; gap = (ub - lb) / lb with 4 decimals.
std::vector<std::string> solveCsvFields(const SolveRow& row);

// {"file", "sha256", "makespan", "status", "lb", "start"}; start in the file's job order.
std::string scheduleJson(const SolveRow& row);

// The schedule file of an instance file: its name without the extension + ".schedule.json".
std::string scheduleFileName(const std::string& instancePath);

// A fixed-width table of results for the CSV's rows ("Par Inst Makespan LB Status File"), as the
// usual benchmark tables list optimal makespans; Par and Inst are read from names ending in
// <par>_<inst> (j3013_5 -> 13 5), "-" for other names.
std::string makespanTable(const std::vector<std::vector<std::string>>& rows);

} // namespace tavrin::cli

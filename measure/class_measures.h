#pragma once

#include "formats/instance.h"
#include "formats/instance_feasibility.h"

#include <optional>
#include <string>
#include <vector>

namespace tavrin::measure {

// The measures of multi-mode instances and instances with time lags (docs/measures.md).
struct ClassMeasures {
    double modesPerActivity = 1.0; // mean over the n activities
    // Multi-mode: RS of the renewable resources between the largest single minimal demand and
    // the peak of the earliest-start schedule in the first modes; RF of the nonrenewable
    // resources, and their RS between the sums of the minimal and of the maximal demands (means
    // over the resources where defined).
    std::optional<double> renewableStrength;
    std::optional<double> nonrenewableFactor;
    std::optional<double> nonrenewableStrength;
    // Time lags: the share of precedences between activities with a maximal lag too, and the
    // mean tightness of those lags.
    std::optional<double> maxLagShare;
    std::optional<double> lagTightness;
    // A mode assignment within the nonrenewable availabilities, no positive cycle of lags.
    formats::Feasibility feasibility = formats::Feasibility::Feasible;
};

// Nothing for a single-mode instance without time lags.
std::optional<ClassMeasures> measureClass(const formats::Instance& instance);

// The instance with only its precedences: the arcs with nonnegative lags, as single-mode arcs.
formats::Instance precedenceView(const formats::Instance& instance);

// "modes", "RS_r", "RF_n", "RS_n", "max_lags", "lag_tightness", "feasibility" and the values.
std::vector<std::string> classColumnNames();
std::vector<std::string> classCsvFields(const std::optional<ClassMeasures>& measures);

} // namespace tavrin::measure

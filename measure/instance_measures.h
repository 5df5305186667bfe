#pragma once

#include "engine/indicators.h"
#include "formats/instance.h"
#include "measure/class_measures.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavrin {
class ComplexityIndex;
class WorkNetwork;
} // namespace tavrin

namespace tavrin::measure {

// The measures of one instance. Network measures are taken over the n activities (the dummy
// start and end left out, except in NC); resource measures over the activities that demand a
// resource. docs/measures.md gives every formula with its source.
struct InstanceMeasures {
    int activityCount = 0; // n, I1
    int resourceCount = 0; // K

    std::int64_t relatedPairCount = 0; // pairs of the transitive closure
    double orderStrength = 0.0;        // OS = related pairs / (n(n-1)/2), 0 for n = 1
    double networkComplexity = 0.0;    // NC = non-redundant arcs / (n+2), dummies included
    int levelCount = 0;                // m, progressive levels
    double serialParallel = 0.0;       // I2 = (m-1)/(n-1), 0 for n = 1
    IndicatorRecord indicators;        // I3..I6 as the engine records them, whole percentages
    int complexityIndex = 0;           // CI, under the file's numbering (see docs)

    double resourceFactor = 0.0; // RF, share of (activity, resource) pairs with a demand
    int resourceUseMin = 0;      // RU: resources demanded per activity
    double resourceUseMean = 0.0;
    int resourceUseMax = 0;
    // RC and RS per resource (K entries) and their mean over the resources where defined.
    // RC is undefined for a resource no activity demands, RS where the peak of the
    // earliest-start schedule equals the largest single demand.
    std::vector<std::optional<double>> constrainednessPerResource;
    std::vector<std::optional<double>> strengthPerResource;
    std::optional<double> resourceConstrainedness;
    std::optional<double> resourceStrength;

    std::int64_t criticalPathLength = 0; // CPL
    std::int64_t lowerBound = 0;         // LB = max(CPL, resource-based bound)

    // Multi-mode and time-lag instances only. The measures above then read the first modes and
    // the precedences (the arcs with nonnegative lags, taken as finish-to-start).
    std::optional<ClassMeasures> instanceClass;
};

// Measures instances one after another, keeping the engine's tables of the last activity count:
// a set of files usually shares one n, and the complexity index tables grow with n squared.
class InstanceMeter {
public:
    InstanceMeter();
    ~InstanceMeter();
    InstanceMeter(InstanceMeter&&) noexcept = default;
    InstanceMeter& operator=(InstanceMeter&&) noexcept = default;

    // Throws std::invalid_argument for an instance the measures cannot take (e.g. a cycle),
    // with a message.
    InstanceMeasures measure(const formats::Instance& instance);

private:
    int m_activityCount = 0;
    std::unique_ptr<WorkNetwork> m_network;
    std::unique_ptr<ComplexityIndex> m_complexity;
};

// One instance, with tables of its own.
InstanceMeasures measureInstance(const formats::Instance& instance);

// "n,K,OS,...,LB" then RC_1..RC_K, RS_1..RS_K for maxResources (without "file").
std::vector<std::string> measureColumnNames(int maxResources);

// The formatted values in the same order (fixed, locale-independent number formatting; empty cells
// for resources the instance lacks and for undefined RC and RS).
std::vector<std::string> measureCsvFields(const InstanceMeasures& measures, int maxResources);

// A real as measureCsvFields writes it: fixed notation, at most six decimals, no trailing
// zeros ("0.5", "1", "0.333333").
std::string formatMeasure(double value);

} // namespace tavrin::measure

#pragma once

#include "formats/instance.h"
#include "formats/instance_feasibility.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tavrin {

// The most modes an activity may get: their durations are distinct values of 1..kMaxDuration.
inline constexpr int kMaxModes = 10;

inline constexpr const char* kModeCountRange = "The number of modes must be between 1 and 10";
inline constexpr const char* kNonrenewableCountRange =
    "The number of nonrenewable resources must be between 0 and 32";
inline constexpr const char* kNonrenewableFactorRange =
    "The nonrenewable resource factor (RF) must be between 0 and 1";
inline constexpr const char* kNonrenewableStrengthRange =
    "The nonrenewable resource strength (RS) must be between 0 and 1";
inline constexpr const char* kMaxLagShareRange =
    "The share of precedences with maximal lags must be between 0 and 1";
inline constexpr const char* kLagTightnessRange = "The lag tightness must be between 0 and 1";

// Activities with several modes and nonrenewable resources. The renewable resources keep their
// settings (K, RF or RU, RS).
struct MultiModeSettings {
    int modes = 3;                     // M: modes drawn per activity
    int nonrenewable = 2;              // N
    double nonrenewableFactor = 1.0;   // RF of the nonrenewable resources
    double nonrenewableStrength = 0.5; // RS of the nonrenewable resources
};

// Decides whether the renewable resources admit a schedule under the time lags; on Feasible it
// may leave the start times of every job in starts.
using ResourceCheck = std::function<formats::Feasibility(const formats::Instance&,
                                                         std::vector<std::int64_t>& starts)>;

// Start-to-start minimal lags on every precedence, maximal lags on a share of the reduced arcs.
struct TimeLagSettings {
    double maxLagShare = 0.2;    // of the arcs between activities
    double tightness = 0.5;      // 0: the horizon above the tight value, 1: tight
    bool keepUnknown = false;    // keep instances the resource check could not decide
    ResourceCheck resourceCheck; // none: the reference schedule alone, checked
};

// The class an export completes its networks into; neither set: the single-mode class.
struct InstanceClass {
    std::optional<MultiModeSettings> multiMode;
    std::optional<TimeLagSettings> timeLags;

    bool active() const { return multiMode.has_value() || timeLags.has_value(); }
};

// A value out of range, with the message (", not <value>."); nothing when valid.
std::optional<std::string> checkInstanceClass(const InstanceClass& instanceClass);

// The provenance entries of the class settings ("modes", "nonrenewable", "rf_n", "rs_n",
// "max_lags", "lag_tightness").
formats::Provenance classProvenance(const InstanceClass& instanceClass);

} // namespace tavrin

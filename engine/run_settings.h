#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tavrin {

enum class GeneratorVariant {
    Tavrin1, // fixes the order strength OS, reports the complexity index CI
    Tavrin2, // fixes I2 through the progressive level count, measures I3..I6
};

enum class RequestMeasure { ResourceFactor = 1, ResourceUse = 2 };
enum class DemandMeasure { ResourceConstrainedness = 1, ResourceStrength = 2 };

// Index into RunSettings::rangeBounds: I3 low, I3 high, I4 low, ..., I6 high.
inline constexpr int kRangeBoundCount = 8;

// Largest number of activities accepted. The steppers stop at 1000; beyond a few thousand the
// pair tables alone (n^2 extended reals) outgrow any desktop's memory.
inline constexpr int kMaxActivities = 2000;

// The count cap of a time-limited run.
inline constexpr int kTimeLimitedMaxNetworks = 1000000;

// The inputs of a run and the sizes derived from them. Values are as converted from the input
// texts; the derived values are formed by deriveSizes() with the exact precision steps below.
// The defaults are those of the input texts: start from defaultRunSettings().
struct RunSettings {
    GeneratorVariant variant = GeneratorVariant::Tavrin2;
    std::int32_t activityCount = 0; // n
    double target = 0.0;            // I2 for Tavrin2, OS for Tavrin1
    std::array<std::int32_t, kRangeBoundCount> rangeBounds{};
    bool timeLimited = false;
    std::int32_t maxNetworks = 0;   // M
    std::int32_t resourceCount = 0; // K
    RequestMeasure requestMeasure = RequestMeasure::ResourceFactor;
    DemandMeasure demandMeasure = DemandMeasure::ResourceConstrainedness;
    double resourceFactor = 0.0;
    std::int32_t resourceUse = 0;
    double resourceConstrainedness = 0.0;
    double resourceStrength = 0.0;

    // Derived.
    std::int32_t pairCount = 0;       // P = n(n-1)/2
    std::int32_t lastArcWord = 0;     // (P-1)/32, 0 for P <= 1
    std::int32_t rowWords = 0;        // W = ceil(n/32)
    std::int32_t levelCount = 0;      // m = trunc((n-1) x + 1.0), extended precision
    std::int32_t targetPairCount = 0; // T = trunc(P x + 0.05), extended precision
    std::int32_t removalCount = 0;    // P - T

    int arcWords() const { return lastArcWord + 1; }
};

// Fills the derived values from n and the target. Requires 1 <= n <= kMaxActivities.
void deriveSizes(RunSettings& settings);

// The texts of the input fields, as typed. Every shell fills this and calls readRunSettings.
struct RunInputTexts {
    GeneratorVariant variant = GeneratorVariant::Tavrin2;
    std::string activities = "10";
    std::string target = "1";
    std::array<std::string, kRangeBoundCount> rangeBounds{"0", "1", "0", "1", "0", "1", "0", "1"};
    bool timeLimited = false;
    std::string maxNetworks = "1000";
    std::string resources = "4";
    int requestIndex = 0; // 0 RF, 1 RU; other values keep the default measure
    int demandIndex = 0;  // 0 RC, 1 RS
    std::string resourceFactor = "1";
    std::string resourceUse = "4";
    std::string resourceConstrainedness = "1";
    std::string resourceStrength = "1";
};

// The defaults of a run as its input fields first show them; the desktop program and the command
// line start from these.
inline const RunInputTexts kDefaultRunInputs{};

// Either the settings or the message of the first text that does not convert.
struct RunSettingsResult {
    std::optional<RunSettings> settings;
    std::string error;
};

// Converts every text the way the input fields are read: integers as decimal 32-bit integers,
// reals with the given decimal separator, range bounds as percentages. The maximum network
// count is read only without a time limit (1000000 otherwise), RU only with RU chosen, and so on;
// what is not read takes the value of its default text.
// Does not range-check values (see checkRunTargets); n must be 1..kMaxActivities to derive.
RunSettingsResult readRunSettings(const RunInputTexts& texts, char decimalSeparator = '.');

// The settings of kDefaultRunInputs.
RunSettings defaultRunSettings();

} // namespace tavrin

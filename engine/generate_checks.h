#pragma once

#include "engine/run_settings.h"

#include <optional>
#include <string>

namespace tavrin {

inline constexpr const char* kMessageTitle = "Message";
inline constexpr const char* kIntegerErrorTitle = "Tavrin";
inline constexpr const char* kOsRangeMessage = "OS value must be between 0 and 1";
inline constexpr const char* kI2RangeMessage = "I2 value must be between 0 and 1";
inline constexpr const char* kTooFewActivitiesMessage =
    "Number of activities cannot be smaller than 1";
inline constexpr const char* kTooManyActivitiesMessage =
    "Number of activities cannot be larger than 2000";

// A refused input: the text to show and the title of its message box.
struct InputProblem {
    std::string message;
    std::string title;
};

// Everything a generation press checks before anything changes, in the order the press reads
// the texts: the target (0..1 inclusive), the number of activities (at least 1, as a real;
// at most kMaxActivities), then every text the run converts, the time limit (a positive number
// of seconds, only when time-limited) and the seed. On success the settings are filled.
struct GenerateInputs {
    RunInputTexts texts;
    std::string timeLimit = "600";
    std::string seed = "0";
};
struct CheckedRun {
    RunSettings settings;
    double timeLimitSeconds = 0.0;
    std::int32_t seed = 0;
};
struct GenerateCheckResult {
    std::optional<CheckedRun> run;
    InputProblem problem;
};
GenerateCheckResult checkGenerateInputs(const GenerateInputs& inputs, char decimalSeparator);

} // namespace tavrin

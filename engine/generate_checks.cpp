#include "engine/generate_checks.h"

#include "engine/text_conversion.h"

namespace tavrin {
namespace {

GenerateCheckResult refuse(std::string message, const char* title) {
    return {std::nullopt, {std::move(message), title}};
}

} // namespace

GenerateCheckResult checkGenerateInputs(const GenerateInputs& inputs, char decimalSeparator) {
    const RunInputTexts& t = inputs.texts;
    const auto target = parseReal(t.target, decimalSeparator);
    if (!target) {
        return refuse(invalidRealMessage(t.target, decimalSeparator), kIntegerErrorTitle);
    }
    if (*target < 0.0 || *target > 1.0) {
        return refuse(t.variant == GeneratorVariant::Tavrin1 ? kOsRangeMessage : kI2RangeMessage,
                      kMessageTitle);
    }
    const auto activities = parseReal(t.activities, decimalSeparator);
    if (!activities) {
        return refuse(invalidRealMessage(t.activities, decimalSeparator), kIntegerErrorTitle);
    }
    if (*activities < 1.0) {
        return refuse(kTooFewActivitiesMessage, kMessageTitle);
    }
    auto read = readRunSettings(t, decimalSeparator);
    if (!read.settings) {
        return refuse(read.error, kIntegerErrorTitle);
    }
    CheckedRun run;
    run.settings = *read.settings;
    if (run.settings.activityCount > kMaxActivities) {
        return refuse(kTooManyActivitiesMessage, kMessageTitle);
    }
    if (!run.settings.timeLimited && run.settings.maxNetworks < 1) {
        return refuse("Maximum number of generated networks must be at least 1", kMessageTitle);
    }
    if (run.settings.timeLimited) {
        const auto seconds = parseReal(inputs.timeLimit, decimalSeparator);
        if (!seconds) {
            return refuse(invalidRealMessage(inputs.timeLimit, decimalSeparator),
                          kIntegerErrorTitle);
        }
        if (!(*seconds > 0.0)) {
            return refuse("Time limit must be a positive number of seconds", kMessageTitle);
        }
        run.timeLimitSeconds = *seconds;
    }
    const auto seed = parseInteger(inputs.seed);
    if (!seed) {
        return refuse(invalidIntegerMessage(inputs.seed), kIntegerErrorTitle);
    }
    run.seed = *seed;
    return {run, {}};
}

} // namespace tavrin

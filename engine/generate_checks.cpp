#include "engine/generate_checks.h"

#include "engine/text_conversion.h"

namespace tavrin {
namespace {

GenerateCheckResult refuse(std::string message, const char* title) {
    return {std::nullopt, {std::move(message), title}};
}

} // namespace

GenerateCheckResult checkGenerateInputs(const GenerateInputs& in, char sep) {
    const RunInputTexts& t = in.texts;
    const auto target = parseReal(t.target, sep);
    if (!target) {
        return refuse(invalidRealMessage(t.target, sep), kIntegerErrorTitle);
    }
    if (*target < 0.0 || *target > 1.0) {
        return refuse(t.variant == GeneratorVariant::Tavrin1 ? kOsRangeMessage : kI2RangeMessage,
                      kMessageTitle);
    }
    const auto activities = parseReal(t.activities, sep);
    if (!activities) {
        return refuse(invalidRealMessage(t.activities, sep), kIntegerErrorTitle);
    }
    if (*activities < 1.0) {
        return refuse(kTooFewActivitiesMessage, kMessageTitle);
    }
    auto read = readRunSettings(t, sep);
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
        const auto seconds = parseReal(in.timeLimit, sep);
        if (!seconds) {
            return refuse(invalidRealMessage(in.timeLimit, sep), kIntegerErrorTitle);
        }
        if (!(*seconds > 0.0)) {
            return refuse("Time limit must be a positive number of seconds", kMessageTitle);
        }
        run.timeLimitSeconds = *seconds;
    }
    const auto seed = parseInteger(in.seed);
    if (!seed) {
        return refuse(invalidIntegerMessage(in.seed), kIntegerErrorTitle);
    }
    run.seed = *seed;
    return {run, {}};
}

} // namespace tavrin

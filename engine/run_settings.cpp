#include "engine/run_settings.h"

#include "engine/text_conversion.h"

#include <cassert>

namespace tavrin {

void deriveSizes(RunSettings& s) {
    assert(s.activityCount >= 1 && s.activityCount <= kMaxActivities);
    const std::int32_t n = s.activityCount;
    s.pairCount = n * (n - 1) / 2;
    s.lastArcWord = s.pairCount > 1 ? (s.pairCount - 1) / 32 : 0;
    s.rowWords = (n + 31) / 32;
    // Formed in extended precision and truncated, never rounded.
    s.levelCount = static_cast<std::int32_t>(static_cast<long double>(n - 1) * s.target + 1.0L);
    s.targetPairCount =
        static_cast<std::int32_t>(static_cast<long double>(s.pairCount) * s.target + 0.05);
    s.removalCount = s.pairCount - s.targetPairCount;
}

namespace {

struct Reader {
    char separator;
    std::string error;

    bool integer(const std::string& text, std::int32_t& out) {
        if (!error.empty()) {
            return false;
        }
        const auto value = parseInteger(text);
        if (!value) {
            error = invalidIntegerMessage(text);
            return false;
        }
        out = *value;
        return true;
    }
    bool real(const std::string& text, double& out) {
        if (!error.empty()) {
            return false;
        }
        const auto value = parseReal(text, separator);
        if (!value) {
            error = invalidRealMessage(text, separator);
            return false;
        }
        out = *value;
        return true;
    }
    bool percent(const std::string& text, std::int32_t& out) {
        if (!error.empty()) {
            return false;
        }
        const auto value = parsePercent(text, separator);
        if (!value) {
            // A number too large for a percentage is out of range like one beyond a double.
            error = classifyReal(text, separator) == RealText::Number
                        ? outOfRangeMessage(text)
                        : invalidRealMessage(text, separator);
            return false;
        }
        out = *value;
        return true;
    }
};

} // namespace

RunSettingsResult readRunSettings(const RunInputTexts& t, char decimalSeparator) {
    // What the run does not use is read from the default texts, so every value has one source.
    const RunInputTexts& unused = kDefaultRunInputs;
    RunSettings s;
    Reader read{decimalSeparator, {}};
    s.variant = t.variant;
    read.integer(t.activities, s.activityCount);
    read.real(t.target, s.target);
    const RunInputTexts& ranges = t.variant == GeneratorVariant::Tavrin2 ? t : unused;
    for (int k = 0; k < kRangeBoundCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        read.percent(ranges.rangeBounds[i], s.rangeBounds[i]);
    }
    s.timeLimited = t.timeLimited;
    read.integer((t.timeLimited ? unused : t).maxNetworks, s.maxNetworks);
    s.maxNetworks = t.timeLimited ? kTimeLimitedMaxNetworks : s.maxNetworks;
    read.integer(t.resources, s.resourceCount);
    if (t.requestIndex == 1) {
        s.requestMeasure = RequestMeasure::ResourceUse;
    }
    if (t.demandIndex == 1) {
        s.demandMeasure = DemandMeasure::ResourceStrength;
    }
    const bool factor = s.requestMeasure == RequestMeasure::ResourceFactor;
    const bool constrainedness = s.demandMeasure == DemandMeasure::ResourceConstrainedness;
    read.real((factor ? t : unused).resourceFactor, s.resourceFactor);
    read.integer((factor ? unused : t).resourceUse, s.resourceUse);
    read.real((constrainedness ? t : unused).resourceConstrainedness, s.resourceConstrainedness);
    read.real((constrainedness ? unused : t).resourceStrength, s.resourceStrength);
    if (!read.error.empty()) {
        return {std::nullopt, read.error};
    }
    if (s.activityCount >= 1 && s.activityCount <= kMaxActivities) {
        deriveSizes(s);
    }
    return {s, {}};
}

RunSettings defaultRunSettings() {
    return *readRunSettings(kDefaultRunInputs).settings;
}

} // namespace tavrin

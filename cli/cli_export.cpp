#include "cli/cli_export.h"

#include "engine/text_conversion.h"
#include "solve/lag_feasibility.h"

#include <type_traits>

namespace tavrin::cli {
namespace {

struct SplitRange {
    std::string low;
    std::string high;
};

std::optional<SplitRange> splitRange(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos || text.find(':', colon + 1) != std::string::npos) {
        return std::nullopt;
    }
    return SplitRange{text.substr(0, colon), text.substr(colon + 1)};
}

std::string rangeShapeError(const std::string& option, const std::string& text) {
    return "option '--" + option + "' takes LOW:HIGH, not '" + text + "'";
}

std::string boundsRuleError(const std::string& option, const std::string& bound) {
    return "option '--" + option + "' " + kIndicatorBoundsRule + ", not '" + bound + "'";
}

// The CI fields hold integers.
std::string readCiRange(const std::string& text, ExportChoices& out) {
    const auto parts = splitRange(text);
    if (!parts) {
        return rangeShapeError("ci", text);
    }
    const auto low = parseInteger(parts->low);
    if (!low) {
        return invalidIntegerMessage(parts->low);
    }
    const auto high = parseInteger(parts->high);
    if (!high) {
        return invalidIntegerMessage(parts->high);
    }
    out.ciRange = std::array<std::int32_t, 2>{*low, *high};
    return {};
}

// The I fields hold fractions, read as whole percentages.
std::string readIndicatorRange(int measure, const std::string& text, ExportChoices& out) {
    const std::string option = "i" + std::to_string(measure + 3);
    const auto parts = splitRange(text);
    if (!parts) {
        return rangeShapeError(option, text);
    }
    for (const std::string& bound : {parts->low, parts->high}) {
        const auto fraction = parseReal(bound);
        if (!fraction) {
            return invalidRealMessage(bound);
        }
        if (!(*fraction >= 0.0 && *fraction <= 1.0)) {
            return boundsRuleError(option, bound);
        }
    }
    const auto low = parsePercent(parts->low);
    const auto high = parsePercent(parts->high);
    if (!low || !high) {
        return invalidRealMessage(!low ? parts->low : parts->high);
    }
    const std::size_t index = 2 * static_cast<std::size_t>(measure);
    out.indicatorBounds[index] = *low;
    out.indicatorBounds[index + 1] = *high;
    return {};
}

// An optional int or double option into out; its message when it is not one.
template <typename Number>
std::string readNumber(const std::optional<std::string>& text, Number& out) {
    if (!text) {
        return {};
    }
    constexpr bool kInteger = std::is_same_v<Number, int>;
    std::optional<Number> value;
    if constexpr (kInteger) {
        value = parseInteger(*text);
    } else {
        value = parseReal(*text);
    }
    if (!value) {
        return kInteger ? invalidIntegerMessage(*text) : invalidRealMessage(*text);
    }
    out = *value;
    return {};
}

// Search nodes the resource check of a time-lag instance may spend before it says unknown.
constexpr int kDefaultCheckLimit = 100000;

// The class options, with the constraint model as the resource check of time-lag instances.
std::string readInstanceClass(const CliOptions& options, InstanceClass& out) {
    std::string error;
    if (isMultiMode(options)) {
        MultiModeSettings& m = out.multiMode.emplace();
        for (const std::string& problem :
             {readNumber(options.modes, m.modes), readNumber(options.nonrenewable, m.nonrenewable),
              readNumber(options.nonrenewableFactor, m.nonrenewableFactor),
              readNumber(options.nonrenewableStrength, m.nonrenewableStrength)}) {
            error = error.empty() ? problem : error;
        }
    }
    if (hasTimeLags(options)) {
        TimeLagSettings& t = out.timeLags.emplace();
        t.keepUnknown = options.keepUnknown;
        int limit = kDefaultCheckLimit;
        for (const std::string& problem : {readNumber(options.maxLags, t.maxLagShare),
                                           readNumber(options.lagTightness, t.tightness),
                                           readNumber(options.checkLimit, limit)}) {
            error = error.empty() ? problem : error;
        }
        if (error.empty() && limit < 1) {
            error = "option '--check-limit' takes a positive number of nodes, not '"
                    + *options.checkLimit + "'";
        }
        t.resourceCheck = [limit](const formats::Instance& instance,
                                  std::vector<std::int64_t>& starts) {
            return solve::lagScheduleFeasibility(instance, limit, starts);
        };
    }
    if (!error.empty()) {
        return error;
    }
    if (auto problem = checkInstanceClass(out)) {
        return *problem;
    }
    return {};
}

// The formats of a class: mm or sch by default; none that cannot hold the class.
std::string readClassFormats(const InstanceClass& instanceClass,
                             std::vector<formats::InstanceFormat>& chosen, bool given) {
    using formats::InstanceFormat;
    const bool modes = instanceClass.multiMode.has_value();
    if (!given) {
        chosen = {modes ? InstanceFormat::Mm : InstanceFormat::Sch};
        return {};
    }
    for (const InstanceFormat format : chosen) {
        const bool holds = format == InstanceFormat::Json || format == InstanceFormat::Dzn
                           || format == (modes ? InstanceFormat::Mm : InstanceFormat::Sch);
        if (!holds) {
            return "the ." + std::string(formats::formatName(format)) + " format cannot hold "
                   + (modes ? "multi-mode instances (use mm, dzn or json)"
                            : "instances with time lags (use sch, dzn or json)");
        }
    }
    return {};
}

// The Save Files fields. Only --files decides whether there is an export; the rest is checked
// either way, so that a wrong value is found whether or not files are asked for.
std::string readFiles(const CliOptions& options, std::int32_t seed, ExportChoices& out) {
    ExportFileSettings files;
    if (options.files) {
        const auto count = parseInteger(*options.files);
        if (!count) {
            return invalidIntegerMessage(*options.files);
        }
        if (*count < 0) {
            return kNegativeFilesMessage;
        }
        files.count = *count;
    }
    const auto start = parseInteger(options.start);
    if (!start) {
        return invalidIntegerMessage(options.start);
    }
    if (auto problem = checkFilePrefix(options.prefix)) {
        return *problem;
    }
    if (auto problem = checkFileNumbers(*start, options.files ? files.count : 0)) {
        return *problem;
    }
    if (std::string problem = readInstanceClass(options, files.instanceClass); !problem.empty()) {
        return problem;
    }
    if (!options.files) {
        return {};
    }
    files.directory = options.directory.value_or(defaultExportDirectory());
    files.prefix = options.prefix;
    files.startNumber = *start;
    if (!options.formats.empty()) {
        files.formats = options.formats;
    }
    if (files.instanceClass.active()) {
        if (std::string problem =
                readClassFormats(files.instanceClass, files.formats, !options.formats.empty());
            !problem.empty()) {
            return problem;
        }
    }
    files.provenance = {{"seed", std::to_string(seed)}};
    out.files = files;
    return {};
}

} // namespace

ExportChoicesResult readExportChoices(const CliOptions& options, const RunSettings& settings,
                                      std::int32_t seed) {
    ExportChoices choices;
    std::string error;
    if (auto problem = checkResourceSettings(settings)) {
        error = *problem;
    }
    const bool first = settings.variant == GeneratorVariant::Tavrin1;
    if (error.empty() && options.ciRange) {
        error = first ? readCiRange(*options.ciRange, choices)
                      : "option '--ci' applies to tavrin1 only";
    }
    for (int k = 0; k < 4 && error.empty(); ++k) {
        const auto& range = options.indicatorRanges[static_cast<std::size_t>(k)];
        if (range) {
            error = first ? "option '--i" + std::to_string(k + 3) + "' applies to tavrin2 only"
                          : readIndicatorRange(k, *range, choices);
        }
    }
    if (error.empty()) {
        error = readFiles(options, seed, choices);
    }
    if (!error.empty()) {
        return {std::nullopt, error};
    }
    return {choices, {}};
}

std::string filesWrittenLine(const ExportFileSettings& files, const ExportOutcome& outcome) {
    const int formatCount = static_cast<int>(files.formats.size());
    std::string line = "Files written: " + std::to_string(outcome.instancesWritten * formatCount);
    if (outcome.instancesWritten > 0) {
        const formats::InstanceFormat first = files.formats.front();
        line += " (" + exportFileName(files, files.startNumber, first) + " to "
                + exportFileName(files, files.startNumber + (outcome.instancesWritten - 1), first);
        if (formatCount > 1) {
            line += "; each as";
            for (const formats::InstanceFormat format : files.formats) {
                line += " ";
                line += formats::formatExtension(format);
            }
        }
        line += ")";
    }
    if (outcome.interrupted) {
        line += ", interrupted after " + std::to_string(outcome.instancesWritten) + " of "
                + std::to_string(files.count) + " instances";
    }
    return line;
}

} // namespace tavrin::cli

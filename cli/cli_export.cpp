#include "cli/cli_export.h"

#include "engine/text_conversion.h"
#include "export/network_selection.h"

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
    const auto low = parsePercent(parts->low);
    if (!low) {
        return invalidRealMessage(parts->low);
    }
    const auto high = parsePercent(parts->high);
    if (!high) {
        return invalidRealMessage(parts->high);
    }
    const auto index = static_cast<std::size_t>(2 * measure);
    out.indicatorBounds[index] = *low;
    out.indicatorBounds[index + 1] = *high;
    return {};
}

std::string readFiles(const CliOptions& options, const RunSettings& settings, ExportChoices& out) {
    const auto count = parseInteger(*options.files);
    if (!count) {
        return invalidIntegerMessage(*options.files);
    }
    if (*count < 0) {
        return kNegativeFilesMessage;
    }
    const auto start = parseInteger(options.start);
    if (!start) {
        return invalidIntegerMessage(options.start);
    }
    if (auto problem = checkResourceSettings(settings)) {
        return *problem;
    }
    ExportFileSettings files;
    files.directory = options.directory.value_or(defaultExportDirectory());
    files.prefix = options.prefix;
    files.count = *count;
    files.startNumber = *start;
    out.files = files;
    return {};
}

} // namespace

ExportChoicesResult readExportChoices(const CliOptions& options, const RunSettings& settings) {
    ExportChoices choices;
    std::string error;
    const bool first = settings.variant == GeneratorVariant::Tavrin1;
    if (options.ciRange) {
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
    if (error.empty() && options.files) {
        error = readFiles(options, settings, choices);
    }
    if (!error.empty()) {
        return {std::nullopt, error};
    }
    return {choices, {}};
}

ExportPool selectNetworks(const ExportChoices& choices, const RunSettings& settings,
                          const RunResult& result) {
    return selectStoredNetworks(settings, result, choices.ciRange, choices.indicatorBounds);
}

} // namespace tavrin::cli

#pragma once

#include "engine/generate_checks.h"
#include "engine/run_settings.h"
#include "formats/instance_format.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tavrin::cli {

inline constexpr const char* kProgramName = "tavrin-cli";

// The command line as typed. Values stay texts: they are converted and checked by the same
// checks as the Generate command (checkGenerateInputs), with '.' as the decimal separator.
struct CliOptions {
    std::optional<GeneratorVariant> variant;
    std::string activities = kDefaultRunInputs.activities;
    std::string target = kDefaultRunInputs.target;
    std::string maxNetworks = kDefaultRunInputs.maxNetworks;
    std::optional<std::string> timeLimit; // seconds; selects the time-limited loop
    std::string seed = "0";
    std::optional<std::string> networksCsv;
    // Selection after the run, as the result page's Low/High fields ("LOW:HIGH").
    std::optional<std::string> ciRange;
    std::array<std::optional<std::string>, 4> indicatorRanges; // I3..I6
    // Export, as one "OK" of the Save Files dialog; no export without files.
    std::optional<std::string> files;
    std::string start = "1";
    std::optional<std::string> directory;
    std::string prefix = "Pat";
    std::vector<formats::InstanceFormat> formats; // in the order given, once each; empty: rcp
    std::string resources = kDefaultRunInputs.resources;
    std::optional<std::string> resourceFactor;
    std::optional<std::string> resourceUse;
    std::optional<std::string> resourceConstrainedness;
    std::optional<std::string> resourceStrength;
    // Multi-mode instances: any of these chooses the class.
    std::optional<std::string> modes;
    std::optional<std::string> nonrenewable;
    std::optional<std::string> nonrenewableFactor;
    std::optional<std::string> nonrenewableStrength;
    // Instances with time lags: either chooses the class.
    std::optional<std::string> maxLags;
    std::optional<std::string> lagTightness;
    std::optional<std::string> checkLimit; // node limit of the resource check
    bool keepUnknown = false;
    bool resourcesGiven = false; // --resources typed, not its default
    bool help = false;
    bool version = false;
};

struct CliParseResult {
    std::optional<CliOptions> options;
    std::string error; // set when options is empty
};

// Parses the arguments of the generate command. Accepts "--name value" and "--name=value"; a
// following argument that starts with "--" is the next option, not a value; a repeated option
// keeps its last value, except --format, which adds one.
// Unknown options, missing values, a missing --variant and options of the multi-mode and the
// time-lag class together are errors; --help and --version
// need nothing else.
CliParseResult parseCliOptions(const std::vector<std::string>& arguments);

// Whether the options choose multi-mode instances, or instances with time lags.
bool isMultiMode(const CliOptions& options);
bool hasTimeLags(const CliOptions& options);

// The inputs of the Generate command that the options describe.
GenerateInputs generateInputsOf(const CliOptions& options);

// Usage text listing every option of the generate command; the version line.
std::string usageText();
std::string versionText();
// "Try 'tavrin-cli --help' for more information."
std::string usageHint();

} // namespace tavrin::cli

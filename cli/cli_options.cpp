#include "cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <sstream>

namespace tavrin::cli {
namespace {

// The texts the command line collects before they are converted.
struct RawChoices {
    std::optional<std::string> variant;
    std::vector<std::string> formatNames;
};

// Every option of the generate command, in the order the usage lists them. Values are kept as
// texts; a repeated option keeps its last value.
void addGenerateOptions(CLI::App& app, CliOptions& o, RawChoices& raw) {
    const auto value = [&app](const char* name, auto& field, const char* valueName,
                              const char* help) {
        app.add_option(std::string("--") + name, field, help)
            ->type_name(valueName)
            ->expected(0, 1)
            ->allow_extra_args(false)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    };
    const auto flag = [&app](const char* name, bool& field, const char* help) {
        app.add_flag(std::string("--") + name, field, help)->disable_flag_override();
    };
    value("variant", raw.variant, "tavrin1|tavrin2",
          "generator: tavrin1 fixes the order strength OS, tavrin2 the indicator I2 (required)");
    value("activities", o.activities, "N", "number of activities (default 10)");
    value("target", o.target, "X", "OS value (tavrin1) or I2 value (tavrin2), 0 to 1 (default 1)");
    value("max-networks", o.maxNetworks, "M",
          "stop after M attempts or kept networks (default 1000; 1000000 with --time-limit)");
    value("time-limit", o.timeLimit, "SECONDS", "run until the time limit instead of M attempts");
    value("seed", o.seed, "S", "seed of the random source, a 32-bit integer (default 0)");
    value("networks-csv", o.networksCsv, "FILE",
          "write the kept networks: slot, measures and the canonical arc set in hex");
    value("ci", o.ciRange, "LOW:HIGH",
          "tavrin1: select networks with LOW <= CI <= HIGH (default: all)");
    value("i3", o.indicatorRanges[0], "LOW:HIGH",
          "tavrin2: select I3 between the fractions LOW and HIGH (default 0:1)");
    value("i4", o.indicatorRanges[1], "LOW:HIGH", "tavrin2: the same for I4");
    value("i5", o.indicatorRanges[2], "LOW:HIGH", "tavrin2: the same for I5");
    value("i6", o.indicatorRanges[3], "LOW:HIGH", "tavrin2: the same for I6");
    value("files", o.files, "COUNT", "save COUNT selected networks as instances (default: none)");
    value("start", o.start, "NR", "number of the first file (default 1)");
    value("dir", o.directory, "DIR",
          "directory of the files, created when missing (default ~/Tavrin/Output)");
    value("prefix", o.prefix, "TEXT", "file name prefix (default Pat): DIR/TEXT<number>.rcp");
    value("format", raw.formatNames, "rcp|sm|mm|sch|dzn|json",
          "file format, repeatable for several files per instance (default rcp; mm for "
          "multi-mode, sch for time-lag instances)");
    app.get_option("--format")->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    value("resources", o.resources, "K", "number of renewable resources (default 4)");
    value("rf", o.resourceFactor, "X",
          "resource factor RF, 0 to 1 (the default request measure, default 1)");
    value("ru", o.resourceUse, "U", "resource use RU, 1 to K, instead of RF");
    value("rc", o.resourceConstrainedness, "X",
          "resource constrainedness RC, 0 to 1 (the default demand measure, default 1)");
    value("rs", o.resourceStrength, "X", "resource strength RS, 0 to 1, instead of RC");
    value("modes", o.modes, "M",
          "multi-mode instances: M modes per activity, 1 to 10 (default 3; K defaults to 2)");
    value("nonrenewable", o.nonrenewable, "N",
          "multi-mode: number of nonrenewable resources, 0 to 32 (default 2)");
    value("rf-n", o.nonrenewableFactor, "X",
          "multi-mode: resource factor of the nonrenewable resources, 0 to 1 (default 1)");
    value("rs-n", o.nonrenewableStrength, "X",
          "multi-mode: resource strength of the nonrenewable resources, 0 to 1 (default 0.5)");
    value("max-lags", o.maxLags, "SHARE",
          "time-lag instances: share of precedences with a maximal lag, 0 to 1 (default 0.2)");
    value("lag-tightness", o.lagTightness, "T",
          "time lags: 0 loose to 1 tight maximal lags (default 0.5)");
    value("check-limit", o.checkLimit, "NODES",
          "time lags: search nodes of the resource check per instance (default 100000)");
    flag("keep-unknown", o.keepUnknown,
         "time lags: keep instances the resource check could not decide");
    flag("help", o.help, "show this help and exit");
    flag("version", o.version, "show the version and exit");
}

// An app with no help flag of its own and no positional arguments: whatever it does not know
// is left over for parseCliOptions to report.
std::unique_ptr<CLI::App> generateApp(CliOptions& options, RawChoices& raw) {
    auto app = std::make_unique<CLI::App>();
    app->set_help_flag();
    app->allow_extras();
    addGenerateOptions(*app, options, raw);
    return app;
}

CliParseResult refuse(std::string error) {
    return {std::nullopt, std::move(error)};
}

bool isLongOption(const std::string& argument) {
    return argument.size() > 2 && argument.rfind("--", 0) == 0;
}

// Rewrites "--name value" as "--name=value", so that a value may start with "-" (a negative
// seed, a prefix) as it always could, and a missing value is told apart from an empty one.
std::string joinValues(const CLI::App& app, const std::vector<std::string>& arguments,
                       std::vector<std::string>& joined) {
    for (std::size_t k = 0; k < arguments.size(); ++k) {
        const std::string& argument = arguments[k];
        const std::size_t equals = argument.find('=');
        const CLI::Option* option =
            isLongOption(argument) ? app.get_option_no_throw(argument.substr(0, equals)) : nullptr;
        if (option == nullptr) {
            joined.push_back(argument);
            continue;
        }
        const bool takesValue = !option->get_type_name().empty();
        if (!takesValue && equals != std::string::npos) {
            return "option '" + option->get_name() + "' takes no value";
        }
        if (!takesValue || equals != std::string::npos) {
            joined.push_back(argument);
        } else if (k + 1 < arguments.size() && arguments[k + 1].rfind("--", 0) != 0) {
            joined.push_back(argument + "=" + arguments[++k]);
        } else {
            return "option '" + argument + "' needs a value (" + option->get_type_name() + ")";
        }
    }
    return {};
}

std::string leftoverError(const std::string& argument) {
    if (isLongOption(argument)) {
        return "unknown option '" + argument.substr(0, argument.find('=')) + "'";
    }
    return "unexpected argument '" + argument + "'";
}

std::string convertChoices(const RawChoices& raw, CliOptions& options) {
    if (raw.variant) {
        if (*raw.variant == "tavrin1") {
            options.variant = GeneratorVariant::Tavrin1;
        } else if (*raw.variant == "tavrin2") {
            options.variant = GeneratorVariant::Tavrin2;
        } else {
            return "invalid variant '" + *raw.variant + "' (expected tavrin1 or tavrin2)";
        }
    }
    for (const std::string& name : raw.formatNames) {
        const auto format = formats::parseFormatName(name);
        if (!format) {
            return "invalid format '" + name + "' (expected rcp, sm, mm, sch, dzn or json)";
        }
        if (std::find(options.formats.begin(), options.formats.end(), *format)
            == options.formats.end()) {
            options.formats.push_back(*format);
        }
    }
    return {};
}

bool multiModeChosen(const CliOptions& options) {
    return options.modes || options.nonrenewable || options.nonrenewableFactor
           || options.nonrenewableStrength;
}

bool timeLagsChosen(const CliOptions& options) {
    return options.maxLags || options.lagTightness || options.checkLimit || options.keepUnknown;
}

std::string checkClassOptions(const CliOptions& options) {
    if (multiModeChosen(options) && timeLagsChosen(options)) {
        return "the multi-mode options (--modes, --nonrenewable, --rf-n, --rs-n) and the time-lag "
               "options (--max-lags, --lag-tightness, --check-limit, --keep-unknown) exclude each "
               "other";
    }
    if (multiModeChosen(options) && options.resourceConstrainedness) {
        return "multi-mode instances set the renewable availabilities by '--rs', not '--rc'";
    }
    return {};
}

} // namespace

bool isMultiMode(const CliOptions& options) {
    return multiModeChosen(options);
}

bool hasTimeLags(const CliOptions& options) {
    return timeLagsChosen(options);
}

CliParseResult parseCliOptions(const std::vector<std::string>& arguments) {
    CliOptions options;
    RawChoices raw;
    const auto app = generateApp(options, raw);
    std::vector<std::string> joined;
    if (std::string error = joinValues(*app, arguments, joined); !error.empty()) {
        return refuse(error);
    }
    std::reverse(joined.begin(), joined.end()); // CLI11 takes the arguments last first
    try {
        app->parse(joined);
    } catch (const CLI::ParseError& e) {
        return refuse(e.what());
    }
    if (const auto leftover = app->remaining(); !leftover.empty()) {
        return refuse(leftoverError(leftover.front()));
    }
    if (std::string error = convertChoices(raw, options); !error.empty()) {
        return refuse(error);
    }
    if (!options.help && !options.version && !options.variant) {
        return refuse("option '--variant' is required");
    }
    if (options.resourceFactor && options.resourceUse) {
        return refuse("options '--rf' and '--ru' exclude each other");
    }
    if (options.resourceConstrainedness && options.resourceStrength) {
        return refuse("options '--rc' and '--rs' exclude each other");
    }
    if (std::string error = checkClassOptions(options); !error.empty()) {
        return refuse(error);
    }
    options.resourcesGiven = app->get_option("--resources")->count() > 0;
    return {options, {}};
}

GenerateInputs generateInputsOf(const CliOptions& options) {
    GenerateInputs inputs;
    inputs.texts.variant = options.variant.value_or(GeneratorVariant::Tavrin2);
    inputs.texts.activities = options.activities;
    inputs.texts.target = options.target;
    inputs.texts.maxNetworks = options.maxNetworks;
    inputs.texts.timeLimited = options.timeLimit.has_value();
    if (options.timeLimit) {
        inputs.timeLimit = *options.timeLimit;
    }
    inputs.seed = options.seed;
    // Multi-mode instances default to two renewable resources.
    inputs.texts.resources =
        isMultiMode(options) && !options.resourcesGiven ? "2" : options.resources;
    inputs.texts.requestIndex = options.resourceUse ? 1 : 0;
    inputs.texts.resourceFactor = options.resourceFactor.value_or("1");
    inputs.texts.resourceUse = options.resourceUse.value_or("4");
    inputs.texts.demandIndex = options.resourceStrength || isMultiMode(options) ? 1 : 0;
    inputs.texts.resourceConstrainedness = options.resourceConstrainedness.value_or("1");
    inputs.texts.resourceStrength =
        options.resourceStrength.value_or(isMultiMode(options) ? "0.5" : "1");
    return inputs;
}

std::string usageText() {
    std::ostringstream out;
    out << "Usage: " << kProgramName << " [generate] --variant tavrin1|tavrin2 [options]\n"
        << "Generates random project networks and reports how they spread over the measures.\n\n"
        << "Options:\n";
    CliOptions options;
    RawChoices raw;
    const auto app = generateApp(options, raw);
    for (const CLI::Option* option : app->get_options()) {
        std::string left = "  " + option->get_name();
        if (!option->get_type_name().empty()) {
            left += " " + option->get_type_name();
        }
        out << left;
        out << (left.size() < 30 ? std::string(30 - left.size(), ' ')
                                 : std::string("\n") + std::string(30, ' '));
        out << option->get_description() << '\n';
    }
    out << "\nReals use '.' as the decimal separator. Invalid input exits with status 2,\n"
        << "a failed run or write with status 1.\n";
    return out.str();
}

std::string versionText() {
    return std::string(kProgramName) + " " + TAVRIN_VERSION + "\n";
}

std::string usageHint() {
    return std::string("Try '") + kProgramName + " --help' for more information.";
}

} // namespace tavrin::cli

#include "cli/cli_options.h"

#include <functional>
#include <sstream>

namespace tavrin::cli {
namespace {

// One row per option: adding an option means adding a row here.
struct OptionRow {
    const char* name;      // without the leading "--"
    const char* valueName; // nullptr for a flag
    const char* help;
    // Stores the value; returns an error text, empty when accepted.
    std::function<std::string(CliOptions&, const std::string&)> apply;
};

std::string setText(std::string& field, const std::string& value) {
    field = value;
    return {};
}

std::string setOptional(std::optional<std::string>& field, const std::string& value) {
    field = value;
    return {};
}

const std::vector<OptionRow>& optionTable() {
    static const std::vector<OptionRow> table = {
        {"variant", "tavrin1|tavrin2",
         "generator: tavrin1 fixes the order strength OS, tavrin2 the indicator I2 (required)",
         [](CliOptions& o, const std::string& v) -> std::string {
             if (v == "tavrin1") {
                 o.variant = GeneratorVariant::Tavrin1;
             } else if (v == "tavrin2") {
                 o.variant = GeneratorVariant::Tavrin2;
             } else {
                 return "invalid variant '" + v + "' (expected tavrin1 or tavrin2)";
             }
             return {};
         }},
        {"activities", "N", "number of activities (default 10)",
         [](CliOptions& o, const std::string& v) { return setText(o.activities, v); }},
        {"target", "X", "OS value (tavrin1) or I2 value (tavrin2), 0 to 1 (default 1)",
         [](CliOptions& o, const std::string& v) { return setText(o.target, v); }},
        {"max-networks", "M",
         "stop after M attempts or kept networks (default 1000; 1000000 with --time-limit)",
         [](CliOptions& o, const std::string& v) { return setText(o.maxNetworks, v); }},
        {"time-limit", "SECONDS", "run until the time limit instead of M attempts",
         [](CliOptions& o, const std::string& v) {
             o.timeLimit = v;
             return std::string();
         }},
        {"seed", "S", "seed of the random source, a 32-bit integer (default 0)",
         [](CliOptions& o, const std::string& v) { return setText(o.seed, v); }},
        {"networks-csv", "FILE",
         "write the kept networks: slot, measures and the canonical arc set in hex",
         [](CliOptions& o, const std::string& v) {
             o.networksCsv = v;
             return std::string();
         }},
        {"ci", "LOW:HIGH", "tavrin1: select networks with LOW <= CI <= HIGH (default: all)",
         [](CliOptions& o, const std::string& v) { return setOptional(o.ciRange, v); }},
        {"i3", "LOW:HIGH", "tavrin2: select I3 between the fractions LOW and HIGH (default 0:1)",
         [](CliOptions& o, const std::string& v) { return setOptional(o.indicatorRanges[0], v); }},
        {"i4", "LOW:HIGH", "tavrin2: the same for I4",
         [](CliOptions& o, const std::string& v) { return setOptional(o.indicatorRanges[1], v); }},
        {"i5", "LOW:HIGH", "tavrin2: the same for I5",
         [](CliOptions& o, const std::string& v) { return setOptional(o.indicatorRanges[2], v); }},
        {"i6", "LOW:HIGH", "tavrin2: the same for I6",
         [](CliOptions& o, const std::string& v) { return setOptional(o.indicatorRanges[3], v); }},
        {"files", "COUNT", "save COUNT selected networks as .rcp instances (default: none)",
         [](CliOptions& o, const std::string& v) { return setOptional(o.files, v); }},
        {"start", "NR", "number of the first file (default 1)",
         [](CliOptions& o, const std::string& v) { return setText(o.start, v); }},
        {"dir", "DIR", "directory of the files, created when missing (default ~/Tavrin/Output)",
         [](CliOptions& o, const std::string& v) { return setOptional(o.directory, v); }},
        {"prefix", "TEXT", "file name prefix (default Pat): DIR/TEXT<number>.rcp",
         [](CliOptions& o, const std::string& v) { return setText(o.prefix, v); }},
        {"resources", "K", "number of renewable resources (default 4)",
         [](CliOptions& o, const std::string& v) { return setText(o.resources, v); }},
        {"rf", "X", "resource factor RF, 0 to 1 (the default request measure, default 1)",
         [](CliOptions& o, const std::string& v) { return setOptional(o.resourceFactor, v); }},
        {"ru", "U", "resource use RU, 1 to K, instead of RF",
         [](CliOptions& o, const std::string& v) { return setOptional(o.resourceUse, v); }},
        {"rc", "X", "resource constrainedness RC, 0 to 1 (the default demand measure, default 1)",
         [](CliOptions& o, const std::string& v) {
             return setOptional(o.resourceConstrainedness, v);
         }},
        {"rs", "X", "resource strength RS, 0 to 1, instead of RC",
         [](CliOptions& o, const std::string& v) { return setOptional(o.resourceStrength, v); }},
        {"help", nullptr, "show this help and exit",
         [](CliOptions& o, const std::string&) {
             o.help = true;
             return std::string();
         }},
        {"version", nullptr, "show the version and exit",
         [](CliOptions& o, const std::string&) {
             o.version = true;
             return std::string();
         }},
    };
    return table;
}

const OptionRow* findOption(const std::string& name) {
    for (const OptionRow& option : optionTable()) {
        if (name == option.name) {
            return &option;
        }
    }
    return nullptr;
}

CliParseResult refuse(std::string error) {
    return {std::nullopt, std::move(error)};
}

} // namespace

CliParseResult parseCliOptions(const std::vector<std::string>& arguments) {
    CliOptions options;
    for (std::size_t k = 0; k < arguments.size(); ++k) {
        const std::string& argument = arguments[k];
        if (argument.rfind("--", 0) != 0 || argument.size() == 2) {
            return refuse("unexpected argument '" + argument + "'");
        }
        const std::size_t equals = argument.find('=');
        const std::string name =
            argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        const OptionRow* option = findOption(name);
        if (option == nullptr) {
            return refuse("unknown option '--" + name + "'");
        }
        std::string value;
        if (option->valueName == nullptr) {
            if (equals != std::string::npos) {
                return refuse("option '--" + name + "' takes no value");
            }
        } else if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (k + 1 < arguments.size() && arguments[k + 1].rfind("--", 0) != 0) {
            value = arguments[++k];
        } else {
            return refuse("option '--" + name + "' needs a value (" + option->valueName + ")");
        }
        if (std::string error = option->apply(options, value); !error.empty()) {
            return refuse(error);
        }
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
    inputs.texts.resources = options.resources;
    inputs.texts.requestIndex = options.resourceUse ? 1 : 0;
    inputs.texts.resourceFactor = options.resourceFactor.value_or("1");
    inputs.texts.resourceUse = options.resourceUse.value_or("4");
    inputs.texts.demandIndex = options.resourceStrength ? 1 : 0;
    inputs.texts.resourceConstrainedness = options.resourceConstrainedness.value_or("1");
    inputs.texts.resourceStrength = options.resourceStrength.value_or("1");
    return inputs;
}

std::string usageText() {
    std::ostringstream out;
    out << "Usage: " << kProgramName << " --variant tavrin1|tavrin2 [options]\n"
        << "Generates random project networks and reports how they spread over the measures.\n\n"
        << "Options:\n";
    for (const OptionRow& option : optionTable()) {
        std::string left = std::string("  --") + option.name;
        if (option.valueName != nullptr) {
            left += std::string(" ") + option.valueName;
        }
        out << left;
        out << (left.size() < 30 ? std::string(30 - left.size(), ' ')
                                 : std::string("\n") + std::string(30, ' '));
        out << option.help << '\n';
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

#include "design/design_file.h"

#include "design/design_reader.h"
#include "design/design_solve.h"
#include "export/export_batch.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <toml++/toml.h>
#include <unordered_set>

namespace tavrin::design {
namespace {

constexpr std::array kTopKeys{"variant", "prefix",  "instances", "networks", "time_limit", "seed",
                              "formats", "pattern", "paired",    "factors",  "solve"};

enum class LevelKind { Integer, Real, IntegerRange, RealRange };

struct FactorRule {
    const char* key;
    LevelKind kind;
    bool network;
};

// The enumeration order of the factors.
constexpr std::array<FactorRule, 18> kFactorRules{{
    {"activities", LevelKind::Integer, true},
    {"target", LevelKind::Real, true},
    {"ci", LevelKind::IntegerRange, true},
    {"i3", LevelKind::RealRange, true},
    {"i4", LevelKind::RealRange, true},
    {"i5", LevelKind::RealRange, true},
    {"i6", LevelKind::RealRange, true},
    {"resources", LevelKind::Integer, false},
    {"rf", LevelKind::Real, false},
    {"ru", LevelKind::Integer, false},
    {"rc", LevelKind::Real, false},
    {"rs", LevelKind::Real, false},
    {"modes", LevelKind::Integer, false},
    {"nonrenewable", LevelKind::Integer, false},
    {"rf_n", LevelKind::Real, false},
    {"rs_n", LevelKind::Real, false},
    {"max_lags", LevelKind::Real, false},
    {"lag_tightness", LevelKind::Real, false},
}};

// The factors of multi-mode designs and of designs with time lags.
constexpr std::array<const char*, 4> kMultiModeFactors{"modes", "nonrenewable", "rf_n", "rs_n"};
constexpr std::array<const char*, 2> kTimeLagFactors{"max_lags", "lag_tightness"};

bool hasAny(const toml::table& factors, const auto& keys) {
    return std::any_of(keys.begin(), keys.end(),
                       [&](const char* key) { return factors.contains(key); });
}

// Placeholders of the file-name pattern and the factor each one stands for.
struct Placeholder {
    const char* name;
    const char* factor; // nullptr: not a factor
};
constexpr std::array<Placeholder, 21> kPlaceholders{{
    {"prefix", nullptr},
    {"variant", nullptr},
    {"rep", nullptr},
    {"n", "activities"},
    {"target", "target"},
    {"k", "resources"},
    {"rf", "rf"},
    {"ru", "ru"},
    {"rc", "rc"},
    {"rs", "rs"},
    {"ci", "ci"},
    {"i3", "i3"},
    {"i4", "i4"},
    {"i5", "i5"},
    {"i6", "i6"},
    {"modes", "modes"},
    {"nonrenewable", "nonrenewable"},
    {"rf_n", "rf_n"},
    {"rs_n", "rs_n"},
    {"max_lags", "max_lags"},
    {"lag_tightness", "lag_tightness"},
}};

std::string levelText(const Reader& reader, const toml::node& node, const std::string& key,
                      LevelKind kind) {
    constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
    switch (kind) {
    case LevelKind::Integer:
        return std::to_string(reader.integer(node, key, lowest, highest));
    case LevelKind::Real:
        return shortestText(reader.real(node, key));
    case LevelKind::IntegerRange:
    case LevelKind::RealRange: {
        const toml::array* pair = node.as_array();
        if (pair == nullptr || pair->size() != 2) {
            reader.fail(node, key, "expected a range [LOW, HIGH]");
        }
        // Real ranges bound the indicators, fractions of 0 to 1 as on the command line.
        double bounds[2];
        for (std::size_t b = 0; b < 2; ++b) {
            const toml::node& bound = *pair->get(b);
            bounds[b] = kind == LevelKind::IntegerRange
                            ? static_cast<double>(reader.integer(bound, key, lowest, highest))
                            : reader.real(bound, key);
            if (kind == LevelKind::RealRange && !(bounds[b] >= 0.0 && bounds[b] <= 1.0)) {
                reader.fail(bound, key,
                            "expected bounds between 0 and 1, not " + shortestText(bounds[b]));
            }
        }
        if (bounds[0] > bounds[1]) {
            reader.fail(node, key, "the range [LOW, HIGH] is inverted");
        }
        const auto text = [kind](double bound) {
            return kind == LevelKind::IntegerRange
                       ? std::to_string(static_cast<std::int64_t>(bound))
                       : shortestText(bound);
        };
        return text(bounds[0]) + ":" + text(bounds[1]);
    }
    }
    return {};
}

Factor readFactor(const Reader& reader, const toml::node& node, const FactorRule& rule) {
    const std::string key = std::string("factors.") + rule.key;
    const toml::array* levels = node.as_array();
    if (levels == nullptr) {
        reader.fail(node, key, "expected a list of levels");
    }
    if (levels->empty()) {
        reader.fail(node, key, "the factor has no levels");
    }
    Factor factor{rule.key, {}, rule.network};
    std::unordered_set<std::string> seen;
    for (const toml::node& level : *levels) {
        const std::string text = levelText(reader, level, key, rule.kind);
        if (!seen.insert(text).second) {
            reader.fail(level, key, "level " + text + " is given twice");
        }
        factor.levels.push_back({text, lineOf(level)});
    }
    return factor;
}

const FactorRule* findRule(std::string_view key) {
    for (const FactorRule& rule : kFactorRules) {
        if (key == rule.key) {
            return &rule;
        }
    }
    return nullptr;
}

// Which factors the variant allows, and which pairs exclude each other.
void checkFactorChoice(const Reader& reader, const toml::table& factors, GeneratorVariant variant) {
    const bool first = variant == GeneratorVariant::Tavrin1;
    for (auto&& [key, node] : factors) {
        const std::string name(key.str());
        const bool indicator = name.size() == 2 && name[0] == 'i';
        if ((name == "ci" && !first) || (indicator && first)) {
            reader.fail(node, "factors." + name,
                        std::string("not a selection range of ") + (first ? "tavrin1" : "tavrin2"));
        }
    }
    for (const auto& [a, b] : {std::pair{"rf", "ru"}, std::pair{"rc", "rs"}}) {
        if (factors.contains(a) && factors.contains(b)) {
            reader.fail(*factors.get(b), std::string("factors.") + b,
                        std::string("give either ") + a + " or " + b + ", not both");
        }
    }
    if (hasAny(factors, kMultiModeFactors) && hasAny(factors, kTimeLagFactors)) {
        reader.fail(0, "factors", "give either multi-mode or time-lag factors, not both");
    }
    if (hasAny(factors, kMultiModeFactors) && factors.contains("rc")) {
        reader.fail(*factors.get("rc"), "factors.rc",
                    "multi-mode designs set the renewable availabilities by rs");
    }
    for (const char* required : {"activities", "target"}) {
        if (!factors.contains(required)) {
            reader.fail(0, std::string("factors.") + required, "missing factor");
        }
    }
}

std::vector<Factor> readFactors(const Reader& reader, const toml::table& factors,
                                GeneratorVariant variant) {
    for (auto&& [key, node] : factors) {
        if (findRule(key.str()) == nullptr) {
            reader.fail(static_cast<int>(key.source().begin.line),
                        "factors." + std::string(key.str()), "unknown key");
        }
    }
    checkFactorChoice(reader, factors, variant);
    // Factors left out take the command line's defaults, so that a file that leaves them out
    // seeds its cells as one that gives them.
    // Multi-mode designs default as the command line does: two renewable resources, RS 0.5.
    const bool multiMode = hasAny(factors, kMultiModeFactors);
    const auto defaultLevel = [&](std::string_view key) -> const char* {
        if (key == "resources") {
            return multiMode ? "2" : "4";
        }
        if (multiMode && (key == "rc" || key == "rs")) {
            return key == "rs" && !factors.contains("rs") ? "0.5" : nullptr;
        }
        if ((key == "rf" && !factors.contains("ru")) || (key == "rc" && !factors.contains("rs"))) {
            return "1";
        }
        return nullptr;
    };
    std::vector<Factor> result;
    for (const FactorRule& rule : kFactorRules) {
        if (const toml::node* node = factors.get(rule.key)) {
            result.push_back(readFactor(reader, *node, rule));
        } else if (const char* level = defaultLevel(rule.key)) {
            result.push_back(Factor{rule.key, {{level, 0}}, rule.network});
        }
    }
    return result;
}

// Each placeholder must name a factor of the design, and "{rep}" must close the pattern: the
// export numbers its files by appending the repetition to a prefix.
void checkPattern(const Reader& reader, const std::string& pattern, int line,
                  const std::vector<Factor>& factors) {
    const std::string key = "pattern";
    const std::string rep = "{rep}";
    if (pattern.size() < rep.size()
        || pattern.compare(pattern.size() - rep.size(), rep.size(), rep) != 0
        || pattern.find(rep) != pattern.size() - rep.size()) {
        reader.fail(line, key, "the pattern must end in {rep} and hold it once");
    }
    for (std::size_t open = pattern.find('{'); open != std::string::npos;
         open = pattern.find('{', open + 1)) {
        const std::size_t close = pattern.find('}', open);
        const std::string name =
            close == std::string::npos ? std::string() : pattern.substr(open + 1, close - open - 1);
        const auto* const known =
            std::find_if(kPlaceholders.begin(), kPlaceholders.end(),
                         [&](const Placeholder& p) { return name == p.name; });
        if (known == kPlaceholders.end()) {
            reader.fail(line, key, "unknown placeholder {" + name + "}");
        }
        const bool present = known->factor == nullptr
                             || std::any_of(factors.begin(), factors.end(), [&](const Factor& f) {
                                    return f.key == known->factor;
                                });
        if (!present) {
            reader.fail(line, key, "{" + name + "} names a factor the design does not have");
        }
    }
}

std::string defaultPattern(const std::vector<Factor>& factors) {
    const auto has = [&](const char* key) {
        return std::any_of(factors.begin(), factors.end(),
                           [&](const Factor& f) { return f.key == key; });
    };
    std::string pattern = std::string("{prefix}_n{n}_t{target}_r") + (has("ru") ? "{ru}" : "{rf}")
                          + "_c" + (has("rs") ? "{rs}" : "{rc}");
    // The class factors only when given, so that the names of other designs stay as they were.
    for (const auto& [key, label] :
         {std::pair{"modes", "_m"}, std::pair{"nonrenewable", "_nr"}, std::pair{"rf_n", "_fn"},
          std::pair{"rs_n", "_sn"}, std::pair{"max_lags", "_ml"},
          std::pair{"lag_tightness", "_lt"}}) {
        if (has(key)) {
            pattern += std::string(label) + "{" + key + "}";
        }
    }
    return pattern + "_{rep}";
}

// A multi-mode design writes .mm and a time-lag design .sch unless told otherwise, and never a
// format that cannot hold its instances.
void checkClassFormats(const Reader& reader, const toml::table& top, Design& design) {
    using formats::InstanceFormat;
    const bool modes = design.multiMode();
    const bool lags = design.timeLags();
    if (!modes && !lags) {
        return;
    }
    const toml::node* given = top.get("formats");
    if (given == nullptr) {
        design.formats = {modes ? InstanceFormat::Mm : InstanceFormat::Sch};
        return;
    }
    for (const InstanceFormat format : design.formats) {
        if (format != InstanceFormat::Json && format != InstanceFormat::Dzn
            && format != (modes ? InstanceFormat::Mm : InstanceFormat::Sch)) {
            reader.fail(*given, "formats",
                        "." + std::string(formats::formatName(format)) + " cannot hold "
                            + (modes ? "multi-mode instances" : "instances with time lags"));
        }
    }
}

std::vector<formats::InstanceFormat> readFormats(const Reader& reader, const toml::node& node) {
    const toml::array* names = node.as_array();
    if (names == nullptr || names->empty()) {
        reader.fail(node, "formats", "expected a list of formats");
    }
    std::vector<formats::InstanceFormat> result;
    for (const toml::node& name : *names) {
        const std::string text = reader.text(name, "formats");
        const auto format = formats::parseFormatName(text);
        if (!format) {
            reader.fail(name, "formats", "unknown format '" + text + "'");
        }
        if (std::find(result.begin(), result.end(), *format) != result.end()) {
            reader.fail(name, "formats", "format '" + text + "' is given twice");
        }
        result.push_back(*format);
    }
    return result;
}

GeneratorVariant readVariant(const Reader& reader, const toml::table& top) {
    const toml::node* node = top.get("variant");
    if (node == nullptr) {
        reader.fail(0, "variant", "missing key");
    }
    const std::string name = reader.text(*node, "variant");
    if (name == "tavrin1") {
        return GeneratorVariant::Tavrin1;
    }
    if (name == "tavrin2") {
        return GeneratorVariant::Tavrin2;
    }
    reader.fail(*node, "variant", "expected tavrin1 or tavrin2, not '" + name + "'");
}

void readRunKeys(const Reader& reader, const toml::table& top, Design& design) {
    constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
    if (const toml::node* node = top.get("instances")) {
        design.instances =
            static_cast<std::int32_t>(reader.integer(*node, "instances", 1, highest));
        design.instancesLine = lineOf(*node);
    }
    if (const toml::node* node = top.get("networks")) {
        design.maxNetworks =
            static_cast<std::int32_t>(reader.integer(*node, "networks", 1, highest));
    }
    if (const toml::node* node = top.get("time_limit")) {
        if (top.contains("networks")) {
            reader.fail(*node, "time_limit", "give either networks or time_limit, not both");
        }
        const double seconds = reader.real(*node, "time_limit");
        if (seconds <= 0.0) {
            reader.fail(*node, "time_limit", "expected a positive number of seconds");
        }
        design.timeLimitSeconds = seconds;
    }
    if (const toml::node* node = top.get("seed")) {
        design.seed = static_cast<std::uint64_t>(
            reader.integer(*node, "seed", 0, std::numeric_limits<std::int64_t>::max()));
    }
    if (const toml::node* node = top.get("paired")) {
        const auto paired = node->value_exact<bool>();
        if (!paired) {
            reader.fail(*node, "paired", "expected true or false");
        }
        design.paired = *paired;
    }
    // A run keeps at most networks networks, and a cell's files are drawn from them.
    if (!design.timeLimitSeconds && design.instances > design.maxNetworks) {
        reader.fail(design.instancesLine, "instances",
                    "more instances (" + std::to_string(design.instances) + ") than networks ("
                        + std::to_string(design.maxNetworks) + ") a run keeps");
    }
}

} // namespace

DesignError::DesignError(const std::string& file, int line, const std::string& key,
                         const std::string& message)
    : std::invalid_argument(file + ":" + std::to_string(line) + ": "
                            + (key.empty() ? std::string() : key + ": ") + message),
      m_line(line), m_key(key) {}

std::string shortestText(double value) {
    char digits[32];
    char* const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return {digits, end};
}

const Factor* Design::factor(std::string_view key) const {
    for (const Factor& f : factors) {
        if (f.key == key) {
            return &f;
        }
    }
    return nullptr;
}

bool Design::multiMode() const {
    return factor("modes") != nullptr || factor("nonrenewable") != nullptr
           || factor("rf_n") != nullptr || factor("rs_n") != nullptr;
}

bool Design::timeLags() const {
    return factor("max_lags") != nullptr || factor("lag_tightness") != nullptr;
}

Design parseDesign(std::string_view text, const std::string& fileName) {
    const Reader reader(fileName);
    toml::table top;
    try {
        top = toml::parse(text, fileName);
    } catch (const toml::parse_error& error) {
        reader.fail(static_cast<int>(error.source().begin.line), "",
                    std::string(error.description()));
    }
    for (auto&& [key, node] : top) {
        if (std::find(kTopKeys.begin(), kTopKeys.end(), key.str()) == kTopKeys.end()) {
            reader.fail(static_cast<int>(key.source().begin.line), std::string(key.str()),
                        "unknown key");
        }
    }
    Design design;
    design.variant = readVariant(reader, top);
    if (const toml::node* node = top.get("prefix")) {
        design.prefix = reader.text(*node, "prefix");
        design.prefixLine = lineOf(*node);
        if (auto problem = checkFilePrefix(design.prefix)) {
            reader.fail(*node, "prefix", *problem + ": '" + design.prefix + "'");
        }
    }
    readRunKeys(reader, top, design);
    if (const toml::node* node = top.get("formats")) {
        design.formats = readFormats(reader, *node);
    }
    const toml::node* factors = top.get("factors");
    if (factors == nullptr || !factors->is_table()) {
        reader.fail(factors == nullptr ? 0 : lineOf(*factors), "factors", "expected a table");
    }
    design.factors = readFactors(reader, *factors->as_table(), design.variant);
    checkClassFormats(reader, top, design);
    if (const toml::node* node = top.get("pattern")) {
        design.pattern = reader.text(*node, "pattern");
        design.patternLine = lineOf(*node);
    } else {
        design.pattern = defaultPattern(design.factors);
    }
    checkPattern(reader, design.pattern, design.patternLine, design.factors);
    if (const toml::node* node = top.get("solve")) {
        design.solve = readSolveTable(reader, *node, design.paired);
        // The solver takes single-mode instances without lags only.
        if (design.multiMode() || design.timeLags()) {
            reader.fail(*node, "solve",
                        "multi-mode and time-lag designs cannot be solved; remove the table");
        }
    }
    return design;
}

} // namespace tavrin::design

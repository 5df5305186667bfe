#include "design/design_cells.h"

#include "engine/text_conversion.h"
#include "export/export_batch.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace tavrin::design {
namespace {

std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

std::uint64_t fnv1a(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

const std::string& levelOf(const Design& design, const Cell& cell, std::size_t factor) {
    return design.factors[factor].levels[static_cast<std::size_t>(cell.levels[factor])].text;
}

// The level text of a factor, or the fallback when the design has no such factor.
std::string levelOr(const Design& design, const Cell& cell, const char* key, const char* fallback) {
    for (std::size_t f = 0; f < design.factors.size(); ++f) {
        if (design.factors[f].key == key) {
            return levelOf(design, cell, f);
        }
    }
    return fallback;
}

GenerateInputs cellInputs(const Design& design, const Cell& cell, std::int32_t seed) {
    GenerateInputs inputs;
    RunInputTexts& texts = inputs.texts;
    texts.variant = design.variant;
    texts.activities = levelOr(design, cell, "activities", "10");
    texts.target = levelOr(design, cell, "target", "1");
    texts.timeLimited = design.timeLimitSeconds.has_value();
    texts.maxNetworks = std::to_string(design.maxNetworks);
    if (design.timeLimitSeconds) {
        inputs.timeLimit = shortestText(*design.timeLimitSeconds);
    }
    texts.resources = levelOr(design, cell, "resources", "4");
    texts.requestIndex = design.factor("ru") != nullptr ? 1 : 0;
    texts.resourceFactor = levelOr(design, cell, "rf", "1");
    texts.resourceUse = levelOr(design, cell, "ru", "4");
    texts.demandIndex = design.factor("rs") != nullptr ? 1 : 0;
    texts.resourceConstrainedness = levelOr(design, cell, "rc", "1");
    texts.resourceStrength = levelOr(design, cell, "rs", "1");
    inputs.seed = std::to_string(seed);
    return inputs;
}

std::array<std::int32_t, 2> rangeBounds(const std::string& level, bool percent) {
    const std::size_t colon = level.find(':');
    const std::string low = level.substr(0, colon);
    const std::string high = level.substr(colon + 1);
    // The level texts were written from numbers, so they convert.
    return percent ? std::array{*parsePercent(low), *parsePercent(high)}
                   : std::array{*parseInteger(low), *parseInteger(high)};
}

// The class factors of the cell; what a design leaves out takes the command line's defaults.
InstanceClass cellClass(const Design& design, const Cell& cell) {
    InstanceClass out;
    const auto real = [&](const char* key, double& value) {
        if (design.factor(key) != nullptr) {
            value = *parseReal(levelOr(design, cell, key, ""));
        }
    };
    if (design.multiMode()) {
        MultiModeSettings& m = out.multiMode.emplace();
        m.modes = *parseInteger(levelOr(design, cell, "modes", "3"));
        m.nonrenewable = *parseInteger(levelOr(design, cell, "nonrenewable", "2"));
        real("rf_n", m.nonrenewableFactor);
        real("rs_n", m.nonrenewableStrength);
    }
    if (design.timeLags()) {
        TimeLagSettings& t = out.timeLags.emplace();
        real("max_lags", t.maxLagShare);
        real("lag_tightness", t.tightness);
    }
    return out;
}

CellSelection cellSelection(const Design& design, const Cell& cell) {
    CellSelection selection;
    for (std::size_t f = 0; f < design.factors.size(); ++f) {
        const std::string& key = design.factors[f].key;
        if (key == "ci") {
            selection.ciRange = rangeBounds(levelOf(design, cell, f), false);
        } else if (key.size() == 2 && key[0] == 'i') {
            const auto bounds = rangeBounds(levelOf(design, cell, f), true);
            const std::size_t at = 2 * static_cast<std::size_t>(key[1] - '3');
            selection.indicatorBounds[at] = bounds[0];
            selection.indicatorBounds[at + 1] = bounds[1];
        }
    }
    return selection;
}

std::string expandPattern(const Design& design, const Cell& cell) {
    static constexpr std::pair<const char*, const char*> kNamed[] = {{"n", "activities"},
                                                                     {"k", "resources"}};
    std::string name;
    const std::string& pattern = design.pattern;
    for (std::size_t at = 0; at < pattern.size();) {
        if (pattern[at] != '{') {
            name += pattern[at++];
            continue;
        }
        const std::size_t close = pattern.find('}', at);
        std::string placeholder = pattern.substr(at + 1, close - at - 1);
        at = close + 1;
        if (placeholder == "rep") {
            break; // always last
        }
        for (const auto& [shortName, key] : kNamed) {
            if (placeholder == shortName) {
                placeholder = key;
            }
        }
        if (placeholder == "prefix") {
            name += design.prefix;
        } else if (placeholder == "variant") {
            name += design.variant == GeneratorVariant::Tavrin1 ? "tavrin1" : "tavrin2";
        } else {
            // Ranges read low:high, but ':' is no file-name character on every system.
            std::string level = levelOr(design, cell, placeholder.c_str(), "");
            std::replace(level.begin(), level.end(), ':', '-');
            name += level;
        }
    }
    return name;
}

std::string networkKeyOf(const Design& design, const Cell& cell) {
    std::string key;
    for (std::size_t f = 0; f < design.factors.size(); ++f) {
        if (design.factors[f].network) {
            key += design.factors[f].key + "=" + levelOf(design, cell, f) + ";";
        }
    }
    return key;
}

// The factor a refusal of the Generate or resource checks concerns, by its fixed message.
const char* blamedFactor(const std::string& message) {
    static constexpr std::pair<const char*, const char*> kBlame[] = {
        {kOsRangeMessage, "target"},
        {kI2RangeMessage, "target"},
        {kTooFewActivitiesMessage, "activities"},
        {kTooManyActivitiesMessage, "activities"},
        {kResourceCountRange, "resources"},
        {kResourceFactorRange, "rf"},
        {kResourceUseRange, "ru"},
        {kResourceConstrainednessRange, "rc"},
        {kResourceStrengthRange, "rs"},
    };
    for (const auto& [text, key] : kBlame) {
        if (message.compare(0, std::strlen(text), text) == 0) {
            return key;
        }
    }
    return nullptr;
}

[[noreturn]] void refuseCell(const Design& design, const Cell& cell, const std::string& fileName,
                             const std::string& message) {
    const char* key = blamedFactor(message);
    for (std::size_t f = 0; key != nullptr && f < design.factors.size(); ++f) {
        if (design.factors[f].key == key) {
            const FactorLevel& level =
                design.factors[f].levels[static_cast<std::size_t>(cell.levels[f])];
            throw DesignError(fileName, level.line, std::string("factors.") + key,
                              "bad level " + level.text + ": " + message);
        }
    }
    throw DesignError(fileName, 0, "", message);
}

// Cells and files are held in memory and listed in the index: a design beyond these is refused
// before anything runs, rather than failing hours or gigabytes later.
void checkDesignSize(const Design& design, const std::string& fileName) {
    std::int64_t cells = 1;
    for (const Factor& factor : design.factors) {
        cells *= static_cast<std::int64_t>(factor.levels.size());
        if (cells > kMaxCells) {
            throw DesignError(fileName, factor.levels.front().line, "factors." + factor.key,
                              "the design has more than " + std::to_string(kMaxCells) + " cells");
        }
    }
    const std::int64_t files =
        cells * design.instances * static_cast<std::int64_t>(design.formats.size());
    if (files > kMaxFiles) {
        throw DesignError(fileName, design.instancesLine, "instances",
                          "the design has " + std::to_string(files) + " files, more than "
                              + std::to_string(kMaxFiles));
    }
}

// Where the names of the files come from: the pattern, or the prefix in the default pattern.
[[noreturn]] void refuseName(const Design& design, const std::string& fileName,
                             const std::string& message) {
    const bool prefix = design.patternLine == 0;
    throw DesignError(fileName, prefix ? design.prefixLine : design.patternLine,
                      prefix ? "prefix" : "pattern", message);
}

// The longest name of a cell's files must fit the file system's limit on one name.
void checkNameLength(const Design& design, const CheckedCell& cell, const std::string& fileName) {
    std::size_t extension = 0;
    for (const formats::InstanceFormat format : design.formats) {
        extension = std::max(extension, formats::formatExtension(format).size());
    }
    const std::size_t length =
        cell.filePrefix.size() + std::to_string(design.instances).size() + extension;
    if (length > kMaxNameLength) {
        refuseName(design, fileName,
                   "file names of " + std::to_string(length) + " bytes, more than "
                       + std::to_string(kMaxNameLength) + ": '" + cell.filePrefix + "'");
    }
}

// Files are named prefix + repetition. Two cells' names meet when their prefixes are equal, or
// when one is the other followed by digits D (not starting with 0) and a repetition starts with
// D: the smallest such, D followed by 1, must not exceed the instances.
void checkNamesDistinct(const Design& design, const std::vector<CheckedCell>& cells,
                        const std::string& fileName) {
    std::unordered_set<std::string> prefixes;
    const auto collide = [&](const std::string& name) {
        refuseName(design, fileName,
                   "two files would be named '" + name + "'; name the factors that vary");
    };
    for (const CheckedCell& cell : cells) {
        if (!prefixes.insert(cell.filePrefix).second) {
            collide(cell.filePrefix + "1");
        }
    }
    const std::string instances = std::to_string(design.instances);
    for (const std::string& longer : prefixes) {
        for (std::size_t cut = longer.size(); cut > 0; --cut) {
            const char digit = longer[cut - 1];
            if (digit < '0' || digit > '9') {
                break;
            }
            const std::string tail = longer.substr(cut - 1) + "1";
            const bool fits = tail.size() < instances.size()
                              || (tail.size() == instances.size() && tail <= instances);
            if (digit != '0' && fits && prefixes.contains(longer.substr(0, cut - 1))) {
                collide(longer + "1");
            }
        }
    }
}

} // namespace

std::vector<Cell> enumerateCells(const Design& design) {
    std::vector<Cell> cells;
    Cell cell;
    cell.levels.assign(design.factors.size(), 0);
    for (;;) {
        cells.push_back(cell);
        ++cell.index;
        std::size_t f = design.factors.size();
        while (f > 0) {
            --f;
            if (++cell.levels[f] < static_cast<int>(design.factors[f].levels.size())) {
                break;
            }
            cell.levels[f] = 0;
            if (f == 0) {
                return cells;
            }
        }
        if (design.factors.empty()) {
            return cells;
        }
    }
}

std::int32_t cellSeed(const Design& design, const Cell& cell, bool networkOnly) {
    std::uint64_t h = mix(design.seed);
    for (std::size_t f = 0; f < design.factors.size(); ++f) {
        if (networkOnly && !design.factors[f].network) {
            continue;
        }
        h = mix(h ^ fnv1a(design.factors[f].key + "=" + levelOf(design, cell, f)));
    }
    return static_cast<std::int32_t>((h ^ (h >> 32)) & 0x7fffffffULL);
}

std::vector<CheckedCell> checkCells(const Design& design, const std::string& fileName) {
    checkDesignSize(design, fileName);
    std::vector<CheckedCell> checked;
    for (const Cell& cell : enumerateCells(design)) {
        const std::int32_t seed = cellSeed(design, cell, design.paired);
        const GenerateCheckResult result = checkGenerateInputs(cellInputs(design, cell, seed), '.');
        if (!result.run) {
            refuseCell(design, cell, fileName, result.problem.message);
        }
        if (auto problem = checkResourceSettings(result.run->settings)) {
            refuseCell(design, cell, fileName, *problem);
        }
        CheckedCell item{cell,
                         *result.run,
                         cellSeed(design, cell, false),
                         cellSelection(design, cell),
                         expandPattern(design, cell),
                         networkKeyOf(design, cell),
                         cellClass(design, cell)};
        if (auto problem = checkInstanceClass(item.instanceClass)) {
            refuseCell(design, cell, fileName, *problem);
        }
        if (auto problem = checkFilePrefix(item.filePrefix)) {
            refuseName(design, fileName, *problem + ": '" + item.filePrefix + "'");
        }
        checkNameLength(design, item, fileName);
        checked.push_back(std::move(item));
    }
    checkNamesDistinct(design, checked, fileName);
    return checked;
}

} // namespace tavrin::design

#pragma once

#include "engine/run_settings.h"
#include "formats/instance_format.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::design {

// A design file that cannot be run. what() reads "FILE:LINE: KEY: message" (line 0 when the fault
// concerns the whole file, KEY empty when no key is at fault).
class DesignError : public std::invalid_argument {
public:
    DesignError(const std::string& file, int line, const std::string& key,
                const std::string& message);
    int line() const { return m_line; }
    const std::string& key() const { return m_key; }

private:
    int m_line;
    std::string m_key;
};

// One level of a factor as its canonical text: integers in decimal, reals in their shortest
// round-trip form ("0.25"), ranges as "LOW:HIGH". The text names files and seeds cells.
struct FactorLevel {
    std::string text;
    int line = 0;
};

// A factor of the design with its levels, keyed as in the file ("activities", "ru", "i3", ...).
// Network factors shape the run; the others only the completion of its networks.
struct Factor {
    std::string key;
    std::vector<FactorLevel> levels;
    bool network = false;
};

// The [solve] table: every instance is solved as it is written, under a budget per instance, and
// may have to pass a test of hardness to be kept.
struct DesignSolve {
    std::int64_t failLimit = 0; // 0: none
    std::optional<double> timeLimitSeconds;
    bool schedules = false;  // write <name>.schedule.json beside the instance's files
    bool nontrivial = false; // require = "nontrivial": the best schedule beats the critical path
    std::int64_t minFails = 0;
    double minGap = 0.0;

    // Whether instances are kept only when they pass.
    bool filters() const { return nontrivial || minFails > 0 || minGap > 0.0; }
    // The same instance always gives the same results: a fail limit and no time limit.
    bool deterministic() const { return !timeLimitSeconds; }
};

struct Design {
    GeneratorVariant variant = GeneratorVariant::Tavrin2;
    std::string prefix = "Pat";
    int prefixLine = 0;          // 0 for the default prefix
    std::int32_t instances = 10; // files a cell and format
    int instancesLine = 0;
    std::int32_t maxNetworks = 100; // M of each run
    std::optional<double> timeLimitSeconds;
    std::uint64_t seed = 0; // the base seed
    std::vector<formats::InstanceFormat> formats{formats::InstanceFormat::Rcp};
    std::string pattern; // the file-name pattern, ending in "{rep}"
    int patternLine = 0; // 0 for the default pattern
    bool paired = false;
    // In the order cells enumerate them (the last varies fastest): activities, target, the
    // selection ranges, resources, rf or ru, rc or rs. Factors the file leaves out take the
    // command line's defaults (resources 4, rf 1, rc 1); selection ranges are left out.
    std::vector<Factor> factors;
    std::optional<DesignSolve> solve;

    const Factor* factor(std::string_view key) const;
    // Whether a factor of the multi-mode, or of the time-lag, class is given.
    bool multiMode() const;
    bool timeLags() const;
};

// Parses the text of a design file; fileName only names the file in errors. Throws DesignError
// for a syntax error, an unknown key, a value of the wrong kind or out of range, an empty factor,
// and a pattern with an unknown placeholder. Combinations of levels are checked by checkCells.
Design parseDesign(std::string_view text, const std::string& fileName);

// The shortest text that reads back as the same double ("0.25", "1", "1e-05").
std::string shortestText(double value);

} // namespace tavrin::design

#pragma once

#include "export/export_batch.h"
#include "export/format_instance.h"
#include "formats/instance_io.h"

#include <random>
#include <string>
#include <vector>

namespace tavrin::bench {

// A stored-form network: every activity gets up to three successors among the next forty,
// closed transitively, as an ArcSet.
inline std::vector<Word> randomArcSet(int n, std::mt19937& generator) {
    std::vector<std::vector<bool>> closure(static_cast<std::size_t>(n),
                                           std::vector<bool>(static_cast<std::size_t>(n)));
    for (int i = n - 2; i >= 0; --i) {
        auto& row = closure[static_cast<std::size_t>(i)];
        std::uniform_int_distribution<int> next(i + 1, std::min(n - 1, i + 40));
        for (int s = 0; s < 3; ++s) {
            const int j = next(generator);
            row[static_cast<std::size_t>(j)] = true;
            for (int k = j + 1; k < n; ++k) {
                if (closure[static_cast<std::size_t>(j)][static_cast<std::size_t>(k)]) {
                    row[static_cast<std::size_t>(k)] = true;
                }
            }
        }
    }
    const int pairs = n * (n - 1) / 2;
    std::vector<Word> arcSet(static_cast<std::size_t>((pairs + 31) / 32));
    int p = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j, ++p) {
            if (closure[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]) {
                arcSet[static_cast<std::size_t>(p / 32)] |= Word{1} << (p % 32);
            }
        }
    }
    return arcSet;
}

// Completed instances (K = 4, RF 0.5, RS 0.5) and their .rcp bytes.
struct Instances {
    std::vector<formats::Instance> models;
    std::vector<std::string> rcp;
};

inline Instances makeInstances(int n, int count) {
    RunSettings s = defaultRunSettings();
    s.activityCount = n;
    s.resourceCount = 4;
    s.resourceFactor = 0.5;
    s.demandMeasure = DemandMeasure::ResourceStrength;
    s.resourceStrength = 0.5;
    deriveSizes(s);
    std::mt19937 generator(7);
    RandomSource random;
    random.seed(7);
    ProjectInstance made(n, s.resourceCount);
    Instances out;
    out.models.resize(static_cast<std::size_t>(count));
    out.rcp.resize(out.models.size());
    for (std::size_t i = 0; i < out.models.size(); ++i) {
        completeInstance(made, randomArcSet(n, generator).data(), s, random);
        fillFormatInstance(made, out.models[i]);
        formats::writeInstance(formats::InstanceFormat::Rcp, out.models[i], out.rcp[i]);
    }
    return out;
}

} // namespace tavrin::bench

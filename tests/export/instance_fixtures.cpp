#include "instance_fixtures.h"

#include <algorithm>
#include <cassert>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace tavrin::fixtures {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Splits at CR LF; a bare CR or LF is a failure.
std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            lines.push_back(line);
            line.clear();
            ++i;
        } else {
            EXPECT_NE(bytes[i], '\r') << "bare CR at " << i;
            EXPECT_NE(bytes[i], '\n') << "bare LF at " << i;
            line += bytes[i];
        }
    }
    EXPECT_TRUE(line.empty()) << "the last line has no line end";
    return lines;
}

std::vector<int> numbers(const std::string& line) {
    std::istringstream in(line);
    std::vector<int> values;
    int value = 0;
    while (in >> value) {
        values.push_back(value);
    }
    EXPECT_TRUE(in.eof()) << "not a number in: " << line;
    return values;
}

} // namespace

Relation emptyRelation(int n) {
    return Relation(at(n), std::vector<bool>(at(n)));
}

Relation relationFromText(int n, std::string_view arcs) {
    Relation rel = emptyRelation(n);
    std::istringstream in{std::string(arcs)};
    std::string token;
    while (in >> token) {
        const auto gt = token.find('>');
        const int i = std::stoi(token.substr(0, gt));
        const int j = std::stoi(token.substr(gt + 1));
        assert(0 <= i && i < j && j < n);
        rel[at(i)][at(j)] = true;
    }
    return rel;
}

Relation transitiveClosure(Relation rel) {
    const int n = static_cast<int>(rel.size());
    for (int k = 0; k < n; ++k) {
        for (int i = 0; i < n; ++i) {
            if (!rel[at(i)][at(k)]) {
                continue;
            }
            for (int j = 0; j < n; ++j) {
                if (rel[at(k)][at(j)]) {
                    rel[at(i)][at(j)] = true;
                }
            }
        }
    }
    return rel;
}

Relation transitiveReduction(const Relation& closure) {
    const int n = static_cast<int>(closure.size());
    Relation reduced = emptyRelation(n);
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            bool immediate = closure[at(i)][at(j)];
            for (int k = i + 1; k < j && immediate; ++k) {
                immediate = !(closure[at(i)][at(k)] && closure[at(k)][at(j)]);
            }
            reduced[at(i)][at(j)] = immediate;
        }
    }
    return reduced;
}

Relation randomClosure(int n, double arcProbability, std::mt19937& generator) {
    std::bernoulli_distribution arc(arcProbability);
    Relation rel = emptyRelation(n);
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            rel[at(i)][at(j)] = arc(generator);
        }
    }
    return transitiveClosure(rel);
}

std::vector<Word> arcSetOf(const Relation& closure) {
    const int n = static_cast<int>(closure.size());
    const int pairs = n * (n - 1) / 2;
    std::vector<Word> words(at(pairs > 0 ? (pairs - 1) / 32 + 1 : 1));
    int p = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j, ++p) {
            if (closure[at(i)][at(j)]) {
                words[at(p / 32)] |= Word{1} << (p % 32);
            }
        }
    }
    return words;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void parseRcp(const std::string& bytes, RcpFile& file) {
    const std::vector<std::string> lines = crlfLines(bytes);
    ASSERT_GE(lines.size(), 5u);
    ASSERT_EQ(lines[0], "");
    const std::vector<int> sizes = numbers(lines[1]);
    ASSERT_EQ(sizes.size(), 2u);
    file.jobCount = sizes[0];
    file.resourceCount = sizes[1];
    const std::size_t k = at(file.resourceCount);
    ASSERT_EQ(lines.size(), at(file.jobCount) + 4);
    file.availability = numbers(lines[2]);
    ASSERT_EQ(file.availability.size(), k);
    ASSERT_EQ(lines[3], "");
    file.duration.clear();
    file.demand.clear();
    file.successors.clear();
    for (int job = 1; job <= file.jobCount; ++job) {
        const std::vector<int> fields = numbers(lines[at(job) + 3]);
        ASSERT_GE(fields.size(), k + 2) << "job " << job;
        file.duration.push_back(fields[0]);
        file.demand.emplace_back(fields.begin() + 1, fields.begin() + 1 + static_cast<long>(k));
        const int listed = fields[k + 1];
        ASSERT_EQ(fields.size(), k + 2 + at(listed)) << "job " << job;
        file.successors.emplace_back(fields.begin() + 2 + static_cast<long>(k), fields.end());
    }
}

} // namespace tavrin::fixtures

#pragma once

#include "design/design_file.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <toml++/toml.h>
#include <utility>

namespace tavrin::design {

inline int lineOf(const toml::node& node) {
    return static_cast<int>(node.source().begin.line);
}

// Reads the typed values of a design file; every fault is a DesignError at the node's line.
class Reader {
public:
    explicit Reader(std::string fileName) : m_file(std::move(fileName)) {}

    [[noreturn]] void fail(int line, const std::string& key, const std::string& message) const {
        throw DesignError(m_file, line, key, message);
    }
    [[noreturn]] void fail(const toml::node& node, const std::string& key,
                           const std::string& message) const {
        fail(lineOf(node), key, message);
    }

    std::int64_t integer(const toml::node& node, const std::string& key, std::int64_t low,
                         std::int64_t high) const {
        const auto value = node.value_exact<std::int64_t>();
        if (!value) {
            fail(node, key, "expected an integer");
        }
        if (*value < low || *value > high) {
            fail(node, key,
                 "expected " + std::to_string(low) + " to " + std::to_string(high) + ", not "
                     + std::to_string(*value));
        }
        return *value;
    }

    // -0 reads as 0: one level, one file name, one seed.
    double real(const toml::node& node, const std::string& key) const {
        const auto value = node.value<double>(); // integers convert
        if (!value || !std::isfinite(*value)) {
            fail(node, key, "expected a number");
        }
        return *value == 0.0 ? 0.0 : *value;
    }

    std::string text(const toml::node& node, const std::string& key) const {
        const auto value = node.value_exact<std::string>();
        if (!value) {
            fail(node, key, "expected a string");
        }
        return *value;
    }

private:
    std::string m_file;
};

} // namespace tavrin::design

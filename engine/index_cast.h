#pragma once

#include <cstddef>

namespace tavrin {

// Activities, resources and slots are counted in int; the tables they index use size_t.
constexpr std::size_t index(int i) {
    return static_cast<std::size_t>(i);
}

} // namespace tavrin

#pragma once

#include "engine/network_store.h"
#include "engine/run_settings.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tavrin::cli {

// The words of an ArcSet, word 0 first, each as 8 lowercase hex digits.
std::string arcSetHex(const Word* row, int words);

// One line per kept network in slot order, each ending in "\n", after the header
// "slot,i3,i4,i5,i6,arcset" (Tavrin2) or "slot,ci,arcset" (Tavrin1).
void writeNetworksCsv(std::ostream& out, GeneratorVariant variant, const NetworkStore& store,
                      const std::vector<std::int32_t>& storedCi);

// Writes the CSV to path whole: through a temporary file renamed into place, so that an
// existing file keeps its content unless the new one is complete. A path that exists and is no
// regular file (a device, a pipe) is written directly. Returns the error message, if any.
std::optional<std::string> saveNetworksCsv(const std::string& path, GeneratorVariant variant,
                                           const NetworkStore& store,
                                           const std::vector<std::int32_t>& storedCi);

} // namespace tavrin::cli

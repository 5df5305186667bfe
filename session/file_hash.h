#pragma once

#include "formats/instance_io.h"

#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// SHA-256 as 64 lower-case hex digits.
std::string sha256Hex(std::string_view bytes);

using formats::readWholeFile;

// The SHA-256 of a file's bytes; throws std::runtime_error when it cannot be read.
std::string fileSha256(const std::string& path);

} // namespace tavrin

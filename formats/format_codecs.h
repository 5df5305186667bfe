#pragma once

#include "formats/instance.h"

#include <string>
#include <string_view>

// The reader and writer of each format, behind readInstance and writeInstance.
namespace tavrin::formats {

Instance readRcp(std::string_view bytes, const std::string& fileName);
void writeRcp(const Instance& instance, std::string& out);

Instance readSm(std::string_view bytes, const std::string& fileName);
void writeSm(const Instance& instance, std::string& out);

Instance readJson(std::string_view bytes, const std::string& fileName);
void writeJson(const Instance& instance, std::string& out);

void writeDzn(const Instance& instance, std::string& out);

} // namespace tavrin::formats

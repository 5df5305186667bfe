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

// The .sm layout with several modes per job and nonrenewable resources.
Instance readMm(std::string_view bytes, const std::string& fileName);
void writeMm(const Instance& instance, std::string& out);

// The layout with time lags: activity and resource counts, successors with their lags.
Instance readSch(std::string_view bytes, const std::string& fileName);
void writeSch(const Instance& instance, std::string& out);

// The message for an instance a format cannot hold ("The .rcp format holds ..."), thrown as
// std::invalid_argument by the writers.
void refuseClass(const Instance& instance, std::string_view extension, bool modes, bool lags);

} // namespace tavrin::formats

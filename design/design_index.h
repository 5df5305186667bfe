#pragma once

#include "session/file_hash.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::design {

using tavrin::readWholeFile;
using tavrin::sha256Hex;

// A CSV table: a header and rows of the same width. Fields holding a comma, a quote or a line
// break are quoted, quotes doubled; lines end in LF.
struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;

    // The position of a column; throws std::runtime_error when there is none.
    std::size_t column(std::string_view name) const;
};

// The schedule file a row of a solved design's index names; empty when the index has no
// schedule column or the instance has no schedule. It is no instance file, so it has no hash.
std::string scheduleOf(const CsvTable& index, const std::vector<std::string>& row);

// The cell number of an index row; throws std::runtime_error naming the text when it is none.
int indexCell(const std::string& text);

std::string writeCsv(const CsvTable& table);
// The rows alone, as writeCsv writes them.
std::string writeCsvRows(const std::vector<std::vector<std::string>>& rows);
// Throws std::runtime_error for an unterminated quote or a row of another width.
CsvTable readCsv(std::string_view text);

} // namespace tavrin::design

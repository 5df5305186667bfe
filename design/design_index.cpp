#include "design/design_index.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace tavrin::design {
namespace {

void appendField(std::string& out, const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

} // namespace

std::size_t CsvTable::column(std::string_view name) const {
    for (std::size_t c = 0; c < header.size(); ++c) {
        if (header[c] == name) {
            return c;
        }
    }
    throw std::runtime_error("the index has no column '" + std::string(name) + "'");
}

int indexCell(const std::string& text) {
    int cell = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), cell);
    if (error != std::errc() || end != text.data() + text.size() || cell < 0) {
        throw std::runtime_error("bad cell '" + text + "' in the index");
    }
    return cell;
}

std::string writeCsvRows(const std::vector<std::vector<std::string>>& rows) {
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) {
                out += ',';
            }
            appendField(out, row[c]);
        }
        out += '\n';
    }
    return out;
}

std::string scheduleOf(const CsvTable& index, const std::vector<std::string>& row) {
    const auto it = std::find(index.header.begin(), index.header.end(), "schedule");
    return it == index.header.end() ? std::string()
                                    : row[static_cast<std::size_t>(it - index.header.begin())];
}

std::string writeCsv(const CsvTable& table) {
    return writeCsvRows({table.header}) + writeCsvRows(table.rows);
}

CsvTable readCsv(std::string_view text) {
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (quoted) {
            if (c == '"' && at + 1 < text.size() && text[at + 1] == '"') {
                field += '"';
                ++at;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            row.push_back(std::move(field));
            field.clear();
            lines.push_back(std::move(row));
            row.clear();
        } else {
            field += c;
        }
    }
    if (quoted || !field.empty() || !row.empty()) {
        throw std::runtime_error("the index ends inside a row");
    }
    CsvTable table;
    if (lines.empty()) {
        return table;
    }
    table.header = std::move(lines.front());
    for (std::size_t r = 1; r < lines.size(); ++r) {
        if (lines[r].size() != table.header.size()) {
            throw std::runtime_error("row " + std::to_string(r + 1) + " of the index has "
                                     + std::to_string(lines[r].size()) + " fields, not "
                                     + std::to_string(table.header.size()));
        }
        table.rows.push_back(std::move(lines[r]));
    }
    return table;
}

} // namespace tavrin::design

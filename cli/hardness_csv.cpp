#include "cli/hardness_csv.h"

#include "design/design_index.h"

#include <charconv>
#include <stdexcept>

namespace tavrin::cli {
namespace {

template <class Number> Number number(const std::string& field, const std::string& where) {
    Number value{};
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size()) {
        throw std::runtime_error(where + ": '" + field + "' is not a number");
    }
    return value;
}

template <class Number>
std::optional<Number> optionalNumber(const std::string& field, const std::string& where) {
    return field.empty() ? std::nullopt : std::optional<Number>(number<Number>(field, where));
}

} // namespace

std::map<std::string, measure::InstanceHardness> readHardnessCsv(const std::string& path) {
    const auto text = design::readWholeFile(path);
    if (!text) {
        throw std::runtime_error(path + ": cannot read the file");
    }
    design::CsvTable table;
    std::size_t sha = 0, lb0 = 0, lb = 0, ub = 0, status = 0, gap = 0, fails = 0;
    try {
        table = design::readCsv(*text);
        sha = table.column("sha256");
        lb0 = table.column("lb0");
        lb = table.column("lb");
        ub = table.column("ub");
        status = table.column("status");
        gap = table.column("gap");
        fails = table.column("fails");
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
    std::map<std::string, measure::InstanceHardness> hardness;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto& row = table.rows[r];
        const std::string where = path + ":" + std::to_string(r + 2);
        measure::InstanceHardness h;
        h.lb0 = number<int>(row[lb0], where);
        h.lb = number<int>(row[lb], where);
        h.ub = optionalNumber<int>(row[ub], where);
        h.status = row[status];
        h.gap = optionalNumber<double>(row[gap], where);
        h.fails = number<std::int64_t>(row[fails], where);
        hardness.emplace(row[sha], std::move(h));
    }
    return hardness;
}

} // namespace tavrin::cli

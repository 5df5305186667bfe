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

// Where each field sits in a row.
struct HardnessColumns {
    std::size_t sha = 0;
    std::size_t lb0 = 0;
    std::size_t lb = 0;
    std::size_t ub = 0;
    std::size_t status = 0;
    std::size_t gap = 0;
    std::size_t fails = 0;
};

} // namespace

std::map<std::string, measure::InstanceHardness> readHardnessCsv(const std::string& path) {
    const auto text = design::readWholeFile(path);
    if (!text) {
        throw std::runtime_error(path + ": cannot read the file");
    }
    design::CsvTable table;
    HardnessColumns at;
    try {
        table = design::readCsv(*text);
        at = {table.column("sha256"), table.column("lb0"), table.column("lb"),   table.column("ub"),
              table.column("status"), table.column("gap"), table.column("fails")};
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
    std::map<std::string, measure::InstanceHardness> hardness;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto& row = table.rows[r];
        const std::string where = path + ":" + std::to_string(r + 2);
        measure::InstanceHardness h;
        h.lb0 = number<int>(row[at.lb0], where);
        h.lb = number<int>(row[at.lb], where);
        h.ub = optionalNumber<int>(row[at.ub], where);
        h.status = row[at.status];
        h.gap = optionalNumber<double>(row[at.gap], where);
        h.fails = number<std::int64_t>(row[at.fails], where);
        hardness.emplace(row[at.sha], std::move(h));
    }
    return hardness;
}

} // namespace tavrin::cli

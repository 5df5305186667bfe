#include "cli/networks_csv.h"

#include "export/file_replace.h"

#include <cassert>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tavrin::cli {

std::string arcSetHex(const Word* row, int words) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(static_cast<std::size_t>(words) * 8);
    for (int w = 0; w < words; ++w) {
        for (int shift = 28; shift >= 0; shift -= 4) {
            text += kDigits[(row[w] >> shift) & 0xFu];
        }
    }
    return text;
}

void writeNetworksCsv(std::ostream& out, GeneratorVariant variant, const NetworkStore& store,
                      const std::vector<std::int32_t>& storedCi) {
    const bool indicators = variant == GeneratorVariant::Tavrin2;
    out << (indicators ? "slot,i3,i4,i5,i6,arcset\n" : "slot,ci,arcset\n");
    for (int slot = 0; slot < store.count(); ++slot) {
        out << slot << ',';
        if (indicators) {
            const IndicatorRecord& r = store.indicators(slot);
            out << r.i3 << ',' << r.i4 << ',' << r.i5 << ',' << r.i6 << ',';
        } else {
            assert(static_cast<std::size_t>(slot) < storedCi.size());
            out << storedCi[static_cast<std::size_t>(slot)] << ',';
        }
        out << arcSetHex(store.row(slot), store.arcWords()) << '\n';
    }
}

std::optional<std::string> saveNetworksCsv(const std::string& path, GeneratorVariant variant,
                                           const NetworkStore& store,
                                           const std::vector<std::int32_t>& storedCi) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        std::ofstream out(path, std::ios::out | std::ios::binary);
        writeNetworksCsv(out, variant, store, storedCi);
        out.close();
        if (!out) {
            return "writing '" + path + "' failed";
        }
        return std::nullopt;
    }
    std::ostringstream text;
    writeNetworksCsv(text, variant, store, storedCi);
    try {
        replaceFile(path, text.view());
    } catch (const FileWriteError& e) {
        return e.what();
    }
    return std::nullopt;
}

} // namespace tavrin::cli

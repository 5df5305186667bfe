#include "cli/networks_csv.h"

#include <cassert>

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

} // namespace tavrin::cli

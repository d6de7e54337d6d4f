// Jet addresses a row as one 32-bit value: the row slot in the low byte and
// the page number in the upper three bytes. Stored little-endian in table
// definitions, long values, usage-map references and overflow rows; index
// entries keep the page big-endian (format/index_page.hpp).
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace orvdb::jet {

struct RowPointer {
    uint32_t page = 0;
    uint8_t row = 0;

    static RowPointer fromRaw(uint32_t raw) {
        return RowPointer{raw >> 8, static_cast<uint8_t>(raw & 0xFF)};
    }
    uint32_t raw() const { return (page << 8) | row; }
    bool isNull() const { return page == 0 && row == 0; }
    std::string toString() const {
        return "page " + std::to_string(page) + " row " + std::to_string(row);
    }
    auto operator<=>(const RowPointer&) const = default;
};

}  // namespace orvdb::jet

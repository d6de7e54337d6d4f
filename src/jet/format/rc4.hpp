// RC4 keystream: Jet masks part of the header page with it (and encodes whole
// pages with it in encrypted files).
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace orvdb::jet {

class Rc4 {
public:
    explicit Rc4(std::span<const uint8_t> key);
    // XORs the keystream into `data` (encoding and decoding are the same).
    void apply(std::span<uint8_t> data);

private:
    std::array<uint8_t, 256> state_{};
    uint8_t i_ = 0;
    uint8_t j_ = 0;
};

}  // namespace orvdb::jet

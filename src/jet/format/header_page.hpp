// The header page (page 0): read by read/header, written by write/header_writer.
//
//   OFFSET  SIZE  FIELD
//   0x000     1   0x00
//   0x004    15   "Standard Jet DB" ("Standard ACE DB" in Access 2007 files)
//   0x014     1   version: 0x00 Jet 3, 0x01 Jet 4, 0x02 and up ACE
//   0x018   128   masked block: XORed with the RC4 keystream of kMaskKey
//   0x03C     2     code page (1252 for western files)
//   0x03E     4     database encryption key; non-zero: pages after 0 are
//                   RC4-encoded with the key XOR the page number
//   0x042    40     password, UTF-16LE, XORed with the creation date's whole
//                   days as four little-endian bytes repeated
//   0x06E     2     sort order LCID (0x0409 General)
//   0x071     1     sort order version (0 General Legacy)
//   0x072     8     creation date (OLE date)
//   0xE00   512   a table of 256 u16 Jet writes: 0x0101, then 0x0100
//
// Several bytes (0x18..0x2F, 0x6A, the "4.0" at 0x98) have no known meaning;
// a new file copies the ones Jet writes (write/header_writer.cpp).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace orvdb::jet::header_page {

inline constexpr size_t kSignature = 0x04;
inline constexpr std::string_view kJetSignature = "Standard Jet DB";
inline constexpr std::string_view kAceSignature = "Standard ACE DB";
inline constexpr size_t kVersion = 0x14;
inline constexpr uint8_t kJet3Version = 0x00;
inline constexpr uint8_t kJet4Version = 0x01;

inline constexpr size_t kMaskedStart = 0x18;
inline constexpr size_t kMaskedLength = 128;
inline constexpr std::array<uint8_t, 4> kMaskKey = {0xC7, 0xDA, 0x39, 0x6B};

inline constexpr size_t kCodePage = 0x3C;
inline constexpr size_t kEncryptionKey = 0x3E;
inline constexpr size_t kPassword = 0x42;
inline constexpr size_t kPasswordLength = 40;
inline constexpr size_t kSortOrder = 0x6E;
inline constexpr size_t kSortOrderVersion = 0x71;
inline constexpr size_t kCreationDate = 0x72;
inline constexpr size_t kTrailerTable = 0xE00;

// Masks or unmasks (the same operation) the block at kMaskedStart of a
// header page of at least kMaskedStart + kMaskedLength bytes.
void toggleMask(std::span<uint8_t> headerPage);

// The four bytes the password is XORed with, repeated: the whole days of
// the creation date, little-endian (0 for dates no int32 holds).
std::array<uint8_t, 4> passwordMask(double creationDate);

}  // namespace orvdb::jet::header_page

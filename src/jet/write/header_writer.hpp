// Page 0 for writing: the header of a new database, and changes to the masked
// block of an existing one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvdb::jet {

// The header page of a database created by the Jet 4.0 engine itself: no
// password, code page 1252, General sort order, its creation date unless
// `creationDate` (an OLE date) is given.
std::vector<uint8_t> newDatabaseHeaderPage(std::optional<double> creationDate = std::nullopt);

// Sets the creation date of a header page, keeping its password: the password
// bytes are masked with the date, so they are re-masked with the new one.
void setHeaderCreationDate(std::vector<uint8_t>& headerPage, double creationDate);

// Throws JetError naming `file` when the page is not a Jet 4 header this
// writer can keep: wrong size, not Jet 4, or pages encoded with a key.
void checkHeaderPage(const std::vector<uint8_t>& headerPage, const std::string& file);

}  // namespace orvdb::jet

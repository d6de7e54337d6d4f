// The keys an existing file's indexes hold for values whose key cannot be
// built here (a text with a character whose General Legacy code is not
// known). Access wrote those keys, so a rewrite of the file may give the same
// values the same keys instead of refusing them.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "jet/index/index_key.hpp"
#include "jet/read/jet_file.hpp"

namespace orvdb::jet {

class OriginalIndexKeys {
public:
    explicit OriginalIndexKeys(const JetFile& file) : file_(file) {}

    // The key the file's table `table` holds for `values` (one per key
    // column) in its index over `columns` (same column names, same
    // directions); nullopt when the file has no such index or no such entry.
    // The first question about an index reads its entries and rows once.
    std::optional<std::vector<uint8_t>> find(const std::string& table,
                                             const std::vector<KeyColumn>& columns,
                                             const std::vector<Value>& values);

private:
    using Keys = std::map<std::vector<Value>, std::vector<uint8_t>>;
    Keys load(const std::string& table, const std::vector<KeyColumn>& columns) const;

    const JetFile& file_;
    std::map<std::string, Keys> indexes_;  // by table and key columns
};

}  // namespace orvdb::jet

// An open Jet 4 database file, read-only. Opening checks the header, the
// password and the system catalog; tables are then read on demand.
//
//   JetFile file = JetFile::open("orders.mdb");
//   TableReader rows = file.readTable("Orders");
//   while (auto row = rows.next()) { ... }
//
// Not thread-safe: use one JetFile per thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "jet/read/catalog_rows.hpp"
#include "jet/read/header.hpp"
#include "jet/read/page_source.hpp"
#include "jet/read/properties.hpp"
#include "jet/read/table_definition.hpp"
#include "jet/read/table_reader.hpp"

namespace orvdb::jet {

// The system catalog cannot be read: the header and password were fine, so
// the pages can still be checked one by one.
class DamagedCatalog : public JetError {
public:
    using JetError::JetError;
};

class JetFile {
public:
    // Throws JetError naming the file: not a Jet file, Jet 3 or ACE file,
    // truncated, encrypted, password missing or wrong, damaged catalog.
    static JetFile open(const std::filesystem::path& path,
                        const std::optional<std::string>& password = std::nullopt);
    // The same from bytes in memory (copied); `name` stands in for the path.
    static JetFile openMemory(std::span<const uint8_t> bytes, std::string name,
                              const std::optional<std::string>& password = std::nullopt);

    const std::string& name() const { return source_->name(); }
    const DatabaseHeader& header() const { return header_; }
    uint32_t pageCount() const { return source_->pageCount(); }
    const Catalog& catalog() const { return catalog_; }

    // Local table names in catalog order.
    std::vector<std::string> tableNames(bool includeSystem = false) const;
    // Throws JetError when there is no such local table.
    std::shared_ptr<const TableDefinition> table(std::string_view name) const;
    TableReader readTable(std::string_view name) const;

    // Properties Access keeps for an object (DefaultValue, Required,
    // Description, Format, ...). Throws JetError when there is no such table.
    ObjectProperties tableProperties(std::string_view table) const;
    ObjectProperties objectProperties(const CatalogObject& object) const;
    // The database's own properties (MSysDb): AccessVersion, Build, ...
    ObjectProperties databaseProperties() const;

    PageSource& pages() const { return *source_; }
    std::shared_ptr<PageSource> sharedPages() const { return source_; }

private:
    JetFile(std::shared_ptr<PageSource> source, const std::optional<std::string>& password);

    std::shared_ptr<PageSource> source_;
    DatabaseHeader header_;
    Catalog catalog_;
    mutable std::map<uint32_t, std::shared_ptr<const TableDefinition>> definitions_;
};

}  // namespace orvdb::jet

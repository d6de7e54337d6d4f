// A whole Jet 4 database held in memory, ready to be written as a file: the
// header page and every table (Jet's own system tables included) with its
// definition and rows.
//
// Tables refer to each other by object id: the MSysObjects Id of a table, the
// related table of a foreign-key index, MSysACEs.ObjectId. The writer gives
// each table a table definition page and replaces the ids by those pages, so
// an image may use any unique ids (read from a file, they are the original
// pages). MSysObjects must list every table, by its id and name.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/format/value.hpp"
#include "jet/read/page_source.hpp"
#include "jet/read/table_definition.hpp"

namespace orvdb::jet {

inline constexpr std::string_view kCatalogTableName = "MSysObjects";

using RowVisitor = std::function<void(const std::vector<Value>&)>;

// Rows handed out one at a time, for tables too large to hold in memory.
// Every call of forEach goes over all of them from the first: a writer may
// need two passes.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual void forEach(const RowVisitor& visit) const = 0;
};

struct TableImage {
    // Name, type, columns (by number; `definitionOrder` orders their entries
    // in the stored definition), indexes and the autonumber counter. The page
    // fields (page, row count, usage maps, index roots and entry counts) are
    // ignored: the writer decides them.
    TableDefinition definition;
    // One value per column, in `definition.columns` order.
    std::vector<std::vector<Value>> rows;
    // When set, the rows come from here and `rows` stays empty. Jet's own
    // tables, whose rows name other objects, are always held in `rows`.
    std::shared_ptr<const RowSource> rowSource;
    // The id MSysObjects and other tables use for this table. Non-zero,
    // unique within the image.
    uint32_t objectId = 0;
    // The definition page to keep if it is free (0: anywhere). Keeping the
    // original pages keeps object ids stable for anything outside the file
    // that remembers them.
    uint32_t preferredPage = 0;

    const std::string& name() const { return definition.name; }
    // Visits every row, from `rows` or from `rowSource`.
    void forEachRow(const RowVisitor& visit) const;
};

struct DatabaseImage {
    // Page 0 as stored (the 0x18..0x97 block masked).
    std::vector<uint8_t> headerPage;
    std::vector<TableImage> tables;

    // ASCII case-insensitive; nullptr when absent.
    TableImage* findTable(std::string_view name);
    const TableImage* findTable(std::string_view name) const;
};

// Numbers the columns of a new definition in list order and lays out their
// storage: fixed offsets, variable-column slots, the column counts.
// Throws JetError naming the table when a column has no storage size.
void assignColumnLayout(TableDefinition& definition);

}  // namespace orvdb::jet

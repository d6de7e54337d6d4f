// Row changes to one table of a file, made in place: rows on the table's
// data pages (a row that outgrows its page moves and leaves a pointer
// behind, as Jet does), long values on its columns' long-value pages,
// entries in every index tree, the row count and the autonumber counter in
// its definition, and the usage maps of pages that fill up or get room.
//
//   TableEditor orders(pages, ordersPage, "Orders");
//   RowPointer where = orders.insert(values);
//   orders.update(where, changedValues);
//   orders.erase(where);
//   orders.finish();  // the definition's counters and index roots
//
// A row's pointer is its identity for its whole life: an update keeps it
// even when the data moves.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "jet/format/value.hpp"
#include "jet/index/index_key.hpp"
#include "jet/read/table_definition.hpp"
#include "jet/update/file_pages.hpp"
#include "jet/update/long_value_editor.hpp"

namespace orvdb::jet {

// A live row of a table as stored: its identity, where its bytes are (the
// same unless an update moved them) and a copy of them.
struct LocatedRow {
    RowPointer home;
    RowPointer data;
    std::vector<uint8_t> bytes;
};

// The live row `where` of `table`; nullopt when no live row of the table has
// that pointer. Throws JetError for a moved row whose pointer is broken.
std::optional<LocatedRow> locateRow(PageStore& pages, const TableDefinition& table,
                                    RowPointer where);

class TableEditor {
public:
    // Reads the table's definition from `pages`. Throws JetError naming the
    // file and the table when it cannot be read.
    TableEditor(FilePages& pages, uint32_t tablePage, std::string tableName);
    ~TableEditor();
    TableEditor(const TableEditor&) = delete;
    TableEditor& operator=(const TableEditor&) = delete;

    const TableDefinition& definition() const { return definition_; }

    // The values of the live row `where`; nullopt when no live row of this
    // table has that pointer.
    std::optional<std::vector<Value>> read(RowPointer where);
    // Adds a row (one value per column, in the definition's column order).
    // Throws JetError naming the table, index or column for a value the
    // file cannot hold or a duplicate key in a unique index.
    RowPointer insert(const std::vector<Value>& values);
    void update(RowPointer where, const std::vector<Value>& values);
    void erase(RowPointer where);
    // The last autonumber handed out, when it moved past the stored one.
    void noteAutoNumber(uint32_t lastHandedOut);

    // Writes back the definition's counters and index roots.
    void finish();

private:
    using Located = LocatedRow;
    std::optional<Located> locate(RowPointer where) {
        return locateRow(pages_, definition_, where);
    }
    std::vector<Value> decode(const std::vector<uint8_t>& bytes);
    std::vector<uint8_t> encode(const std::vector<Value>& values);
    RowPointer place(const std::vector<uint8_t>& row, uint16_t flags);
    void noteRoom(uint32_t page);
    void releaseLongValues(const std::vector<uint8_t>& rowBytes);
    // The entry of one physical index for a row, the unique check first.
    void addIndexEntry(size_t index, const std::vector<Value>& values, RowPointer where);
    void removeIndexEntry(size_t index, const std::vector<Value>& values, RowPointer where);
    std::optional<std::vector<uint8_t>> keyOf(size_t index, const std::vector<Value>& values);
    std::string label() const;

    FilePages& pages_;
    TableDefinition definition_;
    std::vector<std::vector<KeyColumn>> keyColumns_;  // per physical index
    std::map<uint16_t, std::unique_ptr<LongValueEditor>> longValues_;
    uint32_t lastPage_ = 0;  // the page the last row went to
    bool changed_ = false;
};

}  // namespace orvdb::jet

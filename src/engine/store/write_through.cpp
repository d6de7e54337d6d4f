#include "engine/store/write_through.hpp"

#include <unordered_map>

#include "engine/catalog/catalog.hpp"
#include "engine/catalog/column_properties.hpp"
#include "engine/engine_error.hpp"
#include "engine/store/sqlite_util.hpp"
#include "engine/store/store_image.hpp"
#include "engine/store/store_value_to_jet.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/page.hpp"
#include "jet/index/original_index_keys.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/update/file_pages.hpp"
#include "jet/update/table_editor.hpp"
#include "jet/update/table_rebuild.hpp"

namespace orvdb::engine {

namespace {

// Row pointers are 32 bits: the page above, the slot in the low byte.
constexpr int64_t kLargestPointer = 0xFFFFFFFF;

struct RowChange {
    int64_t rowid = 0;
    jet::RowPointer pointer;
    std::vector<jet::Value> values;
};

std::string columnList(const std::vector<jet::Column>& columns) {
    std::string out;
    for (size_t n = 0; n < columns.size(); ++n) {
        out += (n ? ", " : "") + quoteIdent(columns[n].name);
    }
    return out;
}

std::vector<jet::Value> storeRow(Stmt& statement, int first,
                                 const std::vector<jet::Column>& columns,
                                 const std::string& table) {
    std::vector<jet::Value> values(columns.size());
    for (size_t n = 0; n < columns.size(); ++n) {
        values[n] =
            jetValueFromStore(statement.handle(), first + static_cast<int>(n), columns[n], table);
    }
    return values;
}

// Triggers stay out of the way while row ids are renumbered: the rows
// themselves do not change.
class TriggersOff {
public:
    explicit TriggersOff(sqlite3* db) : db_(db) {
        sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, -1, &was_);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    }
    ~TriggersOff() { sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, was_, nullptr); }

private:
    sqlite3* db_;
    int was_ = 1;
};

}  // namespace

// Which file row each store row of one table is.
struct WriteThrough::RowIds {
    std::unordered_map<int64_t, uint32_t> pointerOf;  // rows the store added
    std::unordered_map<uint32_t, int64_t> rowidOf;    // the same, the other way

    std::optional<jet::RowPointer> pointer(int64_t rowid) const {
        if (auto found = pointerOf.find(rowid); found != pointerOf.end()) {
            return jet::RowPointer::fromRaw(found->second);
        }
        // Otherwise a store row is the file row its id names, unless that
        // file row belongs to a row the store added.
        if (rowid <= 0 || rowid > kLargestPointer ||
            rowidOf.count(static_cast<uint32_t>(rowid)) != 0) {
            return std::nullopt;
        }
        return jet::RowPointer::fromRaw(static_cast<uint32_t>(rowid));
    }
    void remember(int64_t rowid, jet::RowPointer where) {
        uint32_t raw = where.page << 8 | where.row;
        pointerOf[rowid] = raw;
        rowidOf[raw] = rowid;
    }
    void forget(int64_t rowid, jet::RowPointer where) {
        pointerOf.erase(rowid);
        rowidOf.erase(where.page << 8 | where.row);
    }
};

// What a commit did to one table, applied to the row id maps once the file
// has it.
struct WriteThrough::Written {
    int64_t table = 0;
    bool whole = false;  // written anew: the store's row ids are the pointers now
    std::vector<std::pair<int64_t, jet::RowPointer>> added, removed;
};

WriteThrough::WriteThrough(sqlite3* db, Catalog& catalog, Pager& pager,
                           std::optional<std::string> password)
    : db_(db), catalog_(catalog), pager_(pager), password_(std::move(password)), log_(db) {}

WriteThrough::~WriteThrough() = default;

WriteThrough::RowIds& WriteThrough::rowIdsOf(int64_t tableId) {
    auto& slot = rowIds_[tableId];
    if (!slot) {
        slot = std::make_unique<RowIds>();
    }
    return *slot;
}

void WriteThrough::renumber(const std::string& storedName, const std::vector<int64_t>& rowids,
                            const std::vector<jet::RowPointer>& pointers) {
    ChangeLog::Pause pause(log_);
    TriggersOff triggers(db_);
    execSql(db_, "UPDATE " + quoteIdent(storedName) + " SET rowid = -rowid - 1");
    Stmt move(db_, "UPDATE " + quoteIdent(storedName) + " SET rowid = ? WHERE rowid = ?");
    for (size_t n = 0; n < rowids.size(); ++n) {
        move.reset();
        move.bind(1, int64_t{pointers[n].page} << 8 | pointers[n].row);
        move.bind(2, -rowids[n] - 1);
        move.run();
    }
}

std::set<int64_t> WriteThrough::writeDefinitions(jet::FilePages& pages,
                                                 std::vector<Written>& written) {
    std::set<int64_t> whole;
    // The catalog's model as the transaction leaves it (DDL commits before
    // it reloads its model).
    catalog_.load();
    std::vector<const TableInfo*> tables = catalog_.tables();
    std::map<int64_t, const TableInfo*> byId;
    for (const TableInfo* table : tables) {
        byId[table->id] = table;
    }
    // A table is in the file when its definition page is a definition page
    // in use (a page set aside for a new table is free, whatever it holds).
    std::map<int64_t, std::shared_ptr<const jet::TableDefinition>> inFile;
    auto readOriginal = [&](int64_t id) {
        auto page = static_cast<uint32_t>(id);
        if (inFile.count(id) != 0 || id < 2 || page >= pages.pageCount() || pages.isFree(page) ||
            pages.read(page)[jet::page::kType] != jet::page::kDefinitionType) {
            return;
        }
        auto definition =
            std::make_shared<jet::TableDefinition>(jet::readTableDefinition(pages.source(), page));
        if (auto known = byId.find(id); known != byId.end()) {
            definition->name = known->second->name;
        }
        inFile[id] = definition;
    };

    // The tables DDL touched, and every table tied to one of them by a
    // relationship (in the catalog or in the file): their definitions name
    // each other. Without a list, every table.
    std::set<int64_t> affected = log_.redefined();
    if (affected.empty()) {
        for (const TableInfo* table : tables) {
            affected.insert(table->id);
        }
    }
    std::vector<int64_t> pending(affected.begin(), affected.end());
    while (!pending.empty()) {
        int64_t id = pending.back();
        pending.pop_back();
        readOriginal(id);
        std::vector<int64_t> partners;
        if (auto known = byId.find(id); known != byId.end()) {
            for (const Relationship& relationship : catalog_.relationships()) {
                for (const auto& [one, other] :
                     {std::pair{relationship.foreignTable, relationship.primaryTable},
                      std::pair{relationship.primaryTable, relationship.foreignTable}}) {
                    if (sameName(one, known->second->name)) {
                        if (const TableInfo* partner = catalog_.findTableInfo(other)) {
                            partners.push_back(partner->id);
                        }
                    }
                }
            }
        }
        if (auto original = inFile.find(id); original != inFile.end()) {
            for (const jet::LogicalIndex& index : original->second->indexes) {
                if (index.relatedTablePage != 0) {
                    partners.push_back(index.relatedTablePage);
                }
            }
        }
        for (int64_t partner : partners) {
            if (affected.insert(partner).second) {
                pending.push_back(partner);
            }
        }
    }
    std::set<int64_t> inCatalog;
    for (int64_t id : affected) {
        if (byId.count(id) != 0) {
            inCatalog.insert(id);
        }
    }
    CatalogDefinitions definitions =
        catalogDefinitions(db_, catalog_, inCatalog, inFile, pager_.path());

    // Dropped tables give their pages back; new ones take the pages set
    // aside for them before anything else takes a page.
    for (const auto& [id, definition] : inFile) {
        if (byId.count(id) == 0) {
            jet::releaseTable(pages, *definition, false);
        }
    }
    for (int64_t id : inCatalog) {
        if (inFile.count(id) == 0) {
            pages.claim(static_cast<uint32_t>(id));
        }
    }
    // Keys Access wrote for texts this build cannot key, should a rebuilt
    // table hold one: read from the file as committed, when first needed.
    std::optional<jet::JetFile> original;
    std::optional<jet::OriginalIndexKeys> originalKeys;
    tables.clear();
    for (int64_t id : inCatalog) {
        tables.push_back(byId[id]);
    }
    for (const TableInfo* table : tables) {
        if (definitions.unchanged.count(table->id) != 0) {
            continue;
        }
        auto page = static_cast<uint32_t>(table->id);
        if (loaded_ && !loaded_(table->id)) {
            throw EngineError("internal error: table '" + table->name +
                              "' would be written anew without its rows");
        }
        std::vector<uint32_t> mapPages;
        if (auto old = inFile.find(table->id); old != inFile.end()) {
            mapPages = jet::releaseTable(pages, *old->second, true);
        }
        if (!originalKeys) {
            original.emplace(jet::JetFile::open(pager_.path(), password_));
            originalKeys.emplace(*original);
        }
        jet::TableDefinition& definition = definitions.byId.at(table->id);
        Stmt rows(db_, "SELECT rowid, " + columnList(definition.columns) + " FROM " +
                           quoteIdent(table->storedName) + " ORDER BY rowid");
        std::vector<int64_t> rowids;
        std::vector<jet::RowPointer> pointers = jet::writeTableInPlace(
            pages, definition, page,
            [&](const jet::RowVisitor& visit) {
                while (rows.step()) {
                    rowids.push_back(rows.getInt(0));
                    visit(storeRow(rows, 1, definition.columns, table->name));
                }
            },
            mapPages, &*originalKeys);
        renumber(table->storedName, rowids, pointers);
        whole.insert(table->id);
        written.push_back(Written{table->id, true, {}, {}});
    }

    // Required, AllowZeroLength and DefaultValue live in the tables'
    // MSysObjects rows; DDL changed them in the catalog only.
    if (const TableInfo* objects = catalog_.findTableInfo("MSysObjects")) {
        Stmt select(db_, "SELECT LvProp FROM " + quoteIdent(objects->storedName) +
                             " WHERE Id = ? AND ParentId = ? AND Type = 1");
        Stmt update(db_, "UPDATE " + quoteIdent(objects->storedName) +
                             " SET LvProp = ? WHERE Id = ? AND ParentId = ? AND Type = 1");
        for (const TableInfo* table : tables) {
            if (table->system) {
                continue;
            }
            select.reset();
            select.bind(1, table->id).bind(2, int64_t{kTablesContainerId});
            if (!select.step()) {
                continue;
            }
            const void* blob = sqlite3_column_blob(select.handle(), 0);
            auto size = static_cast<size_t>(sqlite3_column_bytes(select.handle(), 0));
            jet::Bytes lvProp(static_cast<const uint8_t*>(blob),
                              static_cast<const uint8_t*>(blob) + (blob ? size : 0));
            if (auto changed =
                    updatedColumnProperties(lvProp, table->columns, pager_.path(), table->name)) {
                update.reset();
                update.bindBlob(1, changed->data(), changed->size());
                update.bind(2, table->id).bind(3, int64_t{kTablesContainerId});
                update.run();
            }
        }
    }
    return whole;
}

void WriteThrough::writeRows(jet::FilePages& pages, const std::set<int64_t>& skip,
                             std::vector<Written>& written) {
    std::map<std::string, const TableInfo*> byStoredName;
    for (const TableInfo* table : catalog_.tables()) {
        byStoredName[table->storedName] = table;
    }
    for (const auto& [storedName, rowids] : log_.touched()) {
        auto known = byStoredName.find(storedName);
        if (known == byStoredName.end() || skip.count(known->second->id) != 0) {
            continue;  // the store's own bookkeeping, or written whole
        }
        const TableInfo& table = *known->second;
        jet::TableEditor editor(pages, static_cast<uint32_t>(table.id), table.name);
        const std::vector<jet::Column>& columns = editor.definition().columns;
        Stmt fetch(db_, "SELECT " + columnList(columns) + " FROM " + quoteIdent(storedName) +
                            " WHERE rowid = ?");
        RowIds& ids = rowIdsOf(table.id);
        std::vector<RowChange> deletes, updates, inserts;
        for (int64_t rowid : rowids) {
            std::optional<jet::RowPointer> pointer = ids.pointer(rowid);
            std::optional<std::vector<jet::Value>> inFile;
            if (pointer) {
                inFile = editor.read(*pointer);
            }
            fetch.reset();
            fetch.bind(1, rowid);
            std::optional<std::vector<jet::Value>> inStore;
            if (fetch.step()) {
                inStore = storeRow(fetch, 0, columns, table.name);
            }
            if (inFile && inStore) {
                if (*inFile != *inStore) {
                    updates.push_back({rowid, *pointer, std::move(*inStore)});
                }
            } else if (inFile) {
                deletes.push_back({rowid, *pointer, {}});
            } else if (inStore) {
                inserts.push_back({rowid, {}, std::move(*inStore)});
            }
        }
        Written record{table.id, false, {}, {}};
        // Deletions first, so that their keys and slots are free for the
        // rows that take their place.
        for (const RowChange& change : deletes) {
            editor.erase(change.pointer);
            record.removed.emplace_back(change.rowid, change.pointer);
        }
        for (const RowChange& change : updates) {
            editor.update(change.pointer, change.values);
        }
        for (const RowChange& change : inserts) {
            record.added.emplace_back(change.rowid, editor.insert(change.values));
        }
        Stmt counter(db_, "SELECT last_auto FROM _orv_tables WHERE id = ?");
        counter.bind(1, table.id);
        if (counter.step() && counter.getInt(0) > 0 && counter.getInt(0) <= kLargestPointer) {
            editor.noteAutoNumber(static_cast<uint32_t>(counter.getInt(0)));
        }
        editor.finish();
        written.push_back(std::move(record));
    }
    // Counters that moved without a row of their table changing (a failed
    // insert keeps the number it took, as in Jet).
    std::set<int64_t> done;
    for (const Written& record : written) {
        done.insert(record.table);
    }
    for (int64_t id : log_.counters()) {
        const TableInfo* table = nullptr;
        for (const auto& [name, candidate] : byStoredName) {
            if (candidate->id == id) {
                table = candidate;
            }
        }
        if (!table || done.count(id) != 0 || skip.count(id) != 0) {
            continue;
        }
        Stmt counter(db_, "SELECT last_auto FROM _orv_tables WHERE id = ?");
        counter.bind(1, id);
        if (counter.step() && counter.getInt(0) > 0 && counter.getInt(0) <= kLargestPointer) {
            jet::TableEditor editor(pages, static_cast<uint32_t>(id), table->name);
            editor.noteAutoNumber(static_cast<uint32_t>(counter.getInt(0)));
            editor.finish();
        }
    }
}

void WriteThrough::commit() {
    if (!pending()) {
        return;
    }
    LockAtLeast writing(pager_.lock(), LockLevel::Reserved);

    PagerPageReader reader(pager_);
    jet::FilePages pages(reader, pager_.path());
    std::vector<Written> written;
    try {
        std::set<int64_t> whole;
        if (definitionsPending()) {
            whole = writeDefinitions(pages, written);
        }
        writeRows(pages, whole, written);
        pager_.commit(pages.modifiedPages(), pages.pageCount());
    } catch (const jet::JetError& error) {
        throw EngineError("Cannot save '" + pager_.path() + "': " + error.what());
    }
    for (Written& record : written) {
        if (record.whole) {
            rowIds_.erase(record.table);
            continue;
        }
        RowIds& ids = rowIdsOf(record.table);
        for (const auto& [rowid, pointer] : record.removed) {
            ids.forget(rowid, pointer);
        }
        for (const auto& [rowid, pointer] : record.added) {
            ids.remember(rowid, pointer);
        }
    }
    log_.clear();
}

}  // namespace orvdb::engine

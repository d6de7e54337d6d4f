#include "engine/store/store_image.hpp"

#include "engine/catalog/catalog.hpp"
#include "engine/catalog/column_properties.hpp"
#include "engine/catalog/jet_definition_mapping.hpp"
#include "engine/engine_error.hpp"
#include "engine/store/sqlite_util.hpp"
#include "engine/store/store_value_to_jet.hpp"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

namespace orvdb::engine {

namespace {

using Original = std::shared_ptr<const jet::TableDefinition>;

bool sameColumn(const ColumnDef& a, const ColumnDef& b) {
    return a.name == b.name && a.type == b.type && a.size == b.size &&
           a.autoNumber == b.autoNumber && a.compressedUnicode == b.compressedUnicode &&
           a.precision == b.precision && a.scale == b.scale;
}

bool sameIndex(const IndexDef& a, const IndexDef& b) {
    if (a.name != b.name || a.unique != b.unique || a.primary != b.primary ||
        a.ignoreNulls != b.ignoreNulls || a.required != b.required ||
        a.foreignKey != b.foreignKey || a.columns.size() != b.columns.size()) {
        return false;
    }
    for (size_t i = 0; i < a.columns.size(); ++i) {
        if (a.columns[i].column != b.columns[i].column ||
            a.columns[i].descending != b.columns[i].descending) {
            return false;
        }
    }
    return true;
}

// Columns and indexes as the original definition reads are what the catalog holds.
bool definitionMatches(const TableInfo& table, const jet::TableDefinition& original) {
    if (original.columns.size() != table.columns.size()) {
        return false;
    }
    for (size_t i = 0; i < table.columns.size(); ++i) {
        if (!sameColumn(columnDefOf(original.columns[i], nullptr), table.columns[i])) {
            return false;
        }
    }
    std::vector<IndexDef> indexes = indexDefsOf(original);
    if (indexes.size() != table.indexes.size()) {
        return false;
    }
    for (size_t i = 0; i < indexes.size(); ++i) {
        if (!sameIndex(indexes[i], table.indexes[i])) {
            return false;
        }
    }
    return true;
}

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

bool enforced(const Relationship& r) {
    return (r.grbit & relationship_flags::kNoIntegrity) == 0;
}

// The relationship a foreign-key index of `table` stands for.
const Relationship* relationshipOf(const Catalog& catalog, const TableInfo& table,
                                   const IndexDef& index) {
    for (const auto& r : catalog.relationships()) {
        if (sameName(r.name, index.name) && sameName(r.foreignTable, table.name)) {
            return &r;
        }
    }
    return nullptr;
}

// The rows of a user table, read from the store each time the writer goes
// over them, so that a large table is never held whole.
class StoreRowSource : public jet::RowSource {
public:
    StoreRowSource(sqlite3* db, std::string select, std::vector<jet::Column> columns,
                   std::string table)
        : db_(db),
          select_(std::move(select)),
          columns_(std::move(columns)),
          table_(std::move(table)) {}

    void forEach(const jet::RowVisitor& visit) const override {
        Stmt s(db_, select_);
        std::vector<jet::Value> row(columns_.size());
        while (s.step()) {
            for (size_t i = 0; i < columns_.size(); ++i) {
                row[i] = jetValueFromStore(s.handle(), static_cast<int>(i), columns_[i], table_);
            }
            visit(row);
        }
    }

private:
    sqlite3* db_;
    std::string select_;
    std::vector<jet::Column> columns_;
    std::string table_;
};

class ImageBuilder {
public:
    ImageBuilder(sqlite3* db, const Catalog& catalog, const jet::JetFile& original)
        : db_(db), catalog_(catalog), original_(&original), fileName_(original.name()) {
        for (const std::string& name : original.tableNames(true)) {
            Original definition = original.table(name);
            originals_[definition->page] = definition;
        }
        tables_ = catalog_.tables();
    }

    // Only the tables `ids`, whose definitions in the file are `originals`.
    ImageBuilder(sqlite3* db, const Catalog& catalog, const std::set<int64_t>& ids,
                 std::map<int64_t, Original> originals, std::string fileName)
        : db_(db),
          catalog_(catalog),
          fileName_(std::move(fileName)),
          originals_(std::move(originals)) {
        for (const TableInfo* table : catalog_.tables()) {
            if (ids.count(table->id) != 0) {
                tables_.push_back(table);
            }
        }
    }

    CatalogDefinitions definitions() {
        findUnchangedTables();
        for (const TableInfo* t : tables_) {
            definitions_[t->id] = definitionOf(*t);
        }
        relateForeignKeys();
        return CatalogDefinitions{definitions_, unchanged_};
    }

    jet::DatabaseImage build() {
        jet::DatabaseImage image;
        jet::PageRef header = original_->pages().page(0);
        image.headerPage.assign(header->bytes.begin(), header->bytes.end());
        definitions();
        for (const TableInfo* t : tables_) {
            jet::TableImage table;
            table.definition = std::move(definitions_[t->id]);
            table.objectId = static_cast<uint32_t>(t->id);
            if (Original o = originalOf(*t)) {
                table.preferredPage = o->page;
            }
            // Jet's own tables are held (the writer renumbers the ids in
            // their rows); user tables are read while they are written.
            if (t->system) {
                table.rows = rowsOf(*t, table.definition);
            } else {
                table.rowSource = std::make_shared<StoreRowSource>(
                    db_, selectOf(*t, table.definition), table.definition.columns, t->name);
            }
            image.tables.push_back(std::move(table));
        }
        updateColumnProperties(image);
        return image;
    }

private:
    // Required, AllowZeroLength and DefaultValue live in the table's
    // MSysObjects row; DDL changed them in the catalog only.
    void updateColumnProperties(jet::DatabaseImage& image) const {
        jet::TableImage* objects = image.findTable(jet::kCatalogTableName);
        if (!objects) {
            return;
        }
        auto position = [&](std::string_view name) -> std::optional<size_t> {
            for (size_t i = 0; i < objects->definition.columns.size(); ++i) {
                if (sameName(objects->definition.columns[i].name, name)) {
                    return i;
                }
            }
            return std::nullopt;
        };
        auto id = position("Id"), parent = position("ParentId"), type = position("Type"),
             lvProp = position("LvProp");
        if (!id || !parent || !type || !lvProp) {
            return;
        }
        for (auto& row : objects->rows) {
            const auto* rowId = std::get_if<int64_t>(&row[*id]);
            const auto* rowParent = std::get_if<int64_t>(&row[*parent]);
            const auto* rowType = std::get_if<int64_t>(&row[*type]);
            if (!rowId || !rowParent || !rowType || *rowParent != kTablesContainerId ||
                *rowType != 1) {
                continue;
            }
            const TableInfo* t = tableById(*rowId);
            if (!t || t->system) {
                continue;
            }
            const auto* bytes = std::get_if<jet::Bytes>(&row[*lvProp]);
            auto updated = updatedColumnProperties(bytes ? *bytes : jet::Bytes{}, t->columns,
                                                   fileName_, t->name);
            if (updated) {
                row[*lvProp] = std::move(*updated);
            }
        }
    }

    Original originalOf(const TableInfo& t) const {
        auto found = originals_.find(t.id);
        return found == originals_.end() ? nullptr : found->second;
    }

    const TableInfo* tableById(int64_t id) const {
        for (const TableInfo* t : tables_) {
            if (t->id == id) {
                return t;
            }
        }
        return nullptr;
    }

    // A table keeps its original definition when it matches the catalog and
    // every table it is related to (in the file or in the catalog) keeps its
    // own: relationship indexes name each other's entries by number.
    void findUnchangedTables() {
        for (const TableInfo* t : tables_) {
            Original o = originalOf(*t);
            if (o && definitionMatches(*t, *o)) {
                unchanged_.insert(t->id);
            }
        }
        bool shrunk = true;
        while (shrunk) {
            shrunk = false;
            for (const TableInfo* t : tables_) {
                if (!unchanged_.count(t->id)) {
                    continue;
                }
                bool keep = true;
                for (const auto& li : originalOf(*t)->indexes) {
                    if (li.relatedTablePage != 0 && !unchanged_.count(li.relatedTablePage)) {
                        keep = false;
                    }
                }
                for (const auto& r : catalog_.relationships()) {
                    if (!sameName(r.foreignTable, t->name) && !sameName(r.primaryTable, t->name)) {
                        continue;
                    }
                    const TableInfo* a = catalog_.findTableInfo(r.foreignTable);
                    const TableInfo* b = catalog_.findTableInfo(r.primaryTable);
                    if (!a || !b || !unchanged_.count(a->id) || !unchanged_.count(b->id)) {
                        keep = false;
                    }
                }
                if (!keep) {
                    unchanged_.erase(t->id);
                    shrunk = true;
                }
            }
        }
    }

    jet::TableDefinition definitionOf(const TableInfo& t) {
        Original o = originalOf(t);
        if (unchanged_.count(t.id)) {
            jet::TableDefinition d = *o;
            d.name = t.name;
            d.lastAutoNumber = static_cast<uint32_t>(lastAutoNumber(t));
            return d;
        }
        jet::TableDefinition d;
        d.name = t.name;
        d.tableType = t.system ? jet::tdef::kSystemTable : jet::tdef::kUserTable;
        d.lastAutoNumber = static_cast<uint32_t>(lastAutoNumber(t));
        for (const ColumnDef& c : t.columns) {
            d.columns.push_back(columnOf(c, o.get()));
        }
        jet::assignColumnLayout(d);
        addIndexes(t, d, o.get());
        return d;
    }

    int64_t lastAutoNumber(const TableInfo& t) const {
        Stmt s(db_, "SELECT last_auto FROM _orv_tables WHERE id=?");
        s.bind(1, t.id);
        int64_t value = s.step() ? s.getInt(0) : t.lastAutoNumber;
        return std::clamp<int64_t>(value, 0, UINT32_MAX);
    }

    static jet::Column columnOf(const ColumnDef& c, const jet::TableDefinition* original) {
        jet::Column column;
        // What the catalog does not model (hyperlink, sort order, Access's own
        // types) is kept from the original column of that name and type.
        if (original) {
            if (const jet::Column* was = original->findColumn(c.name);
                was && engineTypeOf(was->typeCode).value_or(JetType::Binary) == c.type) {
                column = *was;
                column.longValueOwnedPages.reset();
                column.longValueFreePages.reset();
            }
        }
        column.name = c.name;
        if (column.typeCode == 0 || engineTypeOf(column.typeCode) != c.type) {
            column.typeCode = static_cast<uint8_t>(c.type);
        }
        switch (c.type) {
            case JetType::Text:
                column.length = static_cast<uint16_t>(c.size * 2);
                break;
            case JetType::Binary:
                column.length = static_cast<uint16_t>(c.size);
                break;
            case JetType::Memo:
            case JetType::OLE:
                column.length = 0;
                break;
            default:
                column.length = static_cast<uint16_t>(jetFixedSize(c.type));
        }
        if (c.autoNumber) {
            column.flags |= jet::Column::kAutoNumber;
        } else {
            column.flags &= static_cast<uint8_t>(~jet::Column::kAutoNumber);
        }
        bool textual = c.type == JetType::Text || c.type == JetType::Memo;
        if (textual && c.compressedUnicode) {
            column.extendedFlags |= jet::Column::kCompressedUnicode;
        } else {
            column.extendedFlags &= static_cast<uint8_t>(~jet::Column::kCompressedUnicode);
        }
        if (c.type == JetType::Decimal) {
            column.precision = static_cast<uint8_t>(c.precision);
            column.scale = static_cast<uint8_t>(c.scale);
        }
        return column;
    }

    static std::vector<jet::IndexColumn> indexColumns(const TableInfo& t, const IndexDef& ix,
                                                      const jet::TableDefinition& d) {
        std::vector<jet::IndexColumn> out;
        for (const auto& ic : ix.columns) {
            const jet::Column* c = d.findColumn(ic.column);
            if (!c) {
                throw EngineError("Index '" + ix.name + "' of table '" + t.name +
                                  "' names column '" + ic.column + "', which the table lacks.");
            }
            out.push_back({c->number, !ic.descending});
        }
        return out;
    }

    static uint32_t physicalIndexFor(jet::TableDefinition& d,
                                     const std::vector<jet::IndexColumn>& columns, uint8_t flags) {
        for (const auto& p : d.physicalIndexes) {
            bool same = p.columns.size() == columns.size();
            for (size_t i = 0; same && i < columns.size(); ++i) {
                same = p.columns[i].columnNumber == columns[i].columnNumber &&
                       p.columns[i].ascending == columns[i].ascending;
            }
            if (same) {
                return p.number;
            }
        }
        jet::PhysicalIndex p;
        p.number = static_cast<uint32_t>(d.physicalIndexes.size());
        p.columns = columns;
        p.flags = flags;
        d.physicalIndexes.push_back(p);
        return p.number;
    }

    // Ordinary indexes first (physical index i = logical index i), then the
    // relationship indexes, which share a physical index on the same columns.
    void addIndexes(const TableInfo& t, jet::TableDefinition& d,
                    const jet::TableDefinition* original) {
        std::vector<const IndexDef*> ordinary;
        std::vector<std::pair<const IndexDef*, const Relationship*>> referring;
        for (const auto& ix : t.indexes) {
            const Relationship* r = ix.foreignKey ? relationshipOf(catalog_, t, ix) : nullptr;
            if (r && enforced(*r)) {
                referring.emplace_back(&ix, r);
            } else {
                ordinary.push_back(&ix);
            }
        }
        std::sort(ordinary.begin(), ordinary.end(), [](const IndexDef* a, const IndexDef* b) {
            return upperAscii(a->name) < upperAscii(b->name);
        });
        for (const IndexDef* ix : ordinary) {
            uint8_t flags = jet::PhysicalIndex::kAlwaysSet;
            if (ix->unique || ix->primary) {
                flags |= jet::PhysicalIndex::kUnique;
            }
            if (ix->ignoreNulls) {
                flags |= jet::PhysicalIndex::kIgnoreNulls;
            }
            if (ix->required || ix->primary) {
                flags |= jet::PhysicalIndex::kRequired;
            }
            jet::PhysicalIndex p;
            p.number = static_cast<uint32_t>(d.physicalIndexes.size());
            p.columns = indexColumns(t, *ix, d);
            p.flags = flags;
            d.physicalIndexes.push_back(p);
            jet::LogicalIndex l;
            l.name = ix->name;
            l.number = static_cast<uint32_t>(d.indexes.size());
            l.physicalIndex = p.number;
            l.kindCode = static_cast<uint8_t>(ix->primary ? jet::IndexKind::PrimaryKey
                                                          : jet::IndexKind::Normal);
            d.indexes.push_back(l);
        }
        for (const auto& [ix, r] : referring) {
            jet::LogicalIndex l = relationshipIndex(ix->name, original);
            l.physicalIndex =
                physicalIndexFor(d, indexColumns(t, *ix, d), jet::PhysicalIndex::kAlwaysSet);
            l.number = static_cast<uint32_t>(d.indexes.size());
            links_.push_back({t.id, l.number, *r, false});
            d.indexes.push_back(l);
        }
        // The referenced side: one index per enforced relationship.
        std::set<std::string> taken;
        for (const auto& l : d.indexes) {
            taken.insert(upperAscii(l.name));
        }
        for (const auto& r : catalog_.relationships()) {
            if (!enforced(r) || !sameName(r.primaryTable, t.name)) {
                continue;
            }
            const TableInfo* child = catalog_.findTableInfo(r.foreignTable);
            // Only a relationship the referring table keeps an index for
            // gets one here: the two name each other.
            bool childIndexed = false;
            for (const auto& ix : child ? child->indexes : std::vector<IndexDef>{}) {
                childIndexed = childIndexed || (ix.foreignKey && sameName(ix.name, r.name));
            }
            if (!childIndexed) {
                continue;
            }
            std::string name = originalReferencedName(original, child);
            for (char letter = 'B'; name.empty() || !taken.insert(upperAscii(name)).second;) {
                name = std::string(".r") + letter;
                if (letter == 'Z') {
                    break;
                }
                ++letter;
            }
            IndexDef ix;
            ix.name = name;
            for (const auto& c : r.primaryColumns) {
                ix.columns.push_back({c, false});
            }
            jet::LogicalIndex l = relationshipIndex(name, original);
            l.physicalIndex =
                physicalIndexFor(d, indexColumns(t, ix, d),
                                 jet::PhysicalIndex::kAlwaysSet | jet::PhysicalIndex::kUnique);
            l.number = static_cast<uint32_t>(d.indexes.size());
            links_.push_back({t.id, l.number, r, true});
            d.indexes.push_back(l);
        }
        // Access lists logical indexes by name.
        std::sort(d.indexes.begin(), d.indexes.end(),
                  [](const jet::LogicalIndex& a, const jet::LogicalIndex& b) {
                      return upperAscii(a.name) < upperAscii(b.name);
                  });
    }

    // What the original file said of a relationship index of that name
    // (related-table type, cascade flags) is kept.
    static jet::LogicalIndex relationshipIndex(const std::string& name,
                                               const jet::TableDefinition* original) {
        jet::LogicalIndex l;
        if (original) {
            if (const jet::LogicalIndex* was = original->findIndex(name);
                was && was->isForeignKey()) {
                l = *was;
            }
        }
        l.name = name;
        l.kindCode = static_cast<uint8_t>(jet::IndexKind::ForeignKey);
        return l;
    }

    static std::string originalReferencedName(const jet::TableDefinition* original,
                                              const TableInfo* child) {
        if (!original || !child) {
            return {};
        }
        for (const auto& l : original->indexes) {
            if (l.isForeignKey() && !l.name.empty() && l.name[0] == '.' &&
                l.relatedTablePage == static_cast<uint32_t>(child->id)) {
                return l.name;
            }
        }
        return {};
    }

    // Each relationship index names the other side's table and index.
    void relateForeignKeys() {
        for (const Link& link : links_) {
            const Link* other = nullptr;
            for (const Link& candidate : links_) {
                if (candidate.referenced != link.referenced &&
                    sameName(candidate.relationship.name, link.relationship.name)) {
                    other = &candidate;
                }
            }
            if (!other) {
                continue;
            }
            for (auto& l : definitions_[link.table].indexes) {
                if (l.number != link.number) {
                    continue;
                }
                // The referenced side says 1, the referring side 2.
                l.relatedTableType = link.referenced ? 1 : 2;
                l.relatedTablePage = static_cast<uint32_t>(other->table);
                l.relatedIndex = static_cast<int32_t>(other->number);
                l.cascadeUpdates =
                    (link.relationship.grbit & relationship_flags::kCascadeUpdates) != 0;
                l.cascadeDeletes =
                    (link.relationship.grbit & relationship_flags::kCascadeDeletes) != 0;
                l.cascadeSetNull =
                    (link.relationship.grbit & relationship_flags::kCascadeSetNull) != 0;
            }
        }
    }

    static std::string selectOf(const TableInfo& t, const jet::TableDefinition& d) {
        std::string columns;
        for (const auto& c : d.columns) {
            const ColumnDef* stored = t.findColumn(c.name);
            if (!stored) {
                throw EngineError("Table '" + t.name + "' has no column '" + c.name +
                                  "' in the working store.");
            }
            columns += (columns.empty() ? "" : ", ") + quoteIdent(stored->name);
        }
        return "SELECT " + columns + " FROM " + quoteIdent(t.storedName) + " ORDER BY rowid";
    }

    std::vector<std::vector<jet::Value>> rowsOf(const TableInfo& t,
                                                const jet::TableDefinition& d) const {
        Stmt s(db_, selectOf(t, d));
        std::vector<std::vector<jet::Value>> rows;
        while (s.step()) {
            std::vector<jet::Value> row;
            row.reserve(d.columns.size());
            for (size_t i = 0; i < d.columns.size(); ++i) {
                row.push_back(
                    jetValueFromStore(s.handle(), static_cast<int>(i), d.columns[i], t.name));
            }
            rows.push_back(std::move(row));
        }
        return rows;
    }

    struct Link {
        int64_t table;
        uint32_t number;
        Relationship relationship;
        bool referenced;
    };

    sqlite3* db_;
    const Catalog& catalog_;
    const jet::JetFile* original_ = nullptr;
    std::string fileName_;
    std::map<int64_t, Original> originals_;
    std::vector<const TableInfo*> tables_;
    std::set<int64_t> unchanged_;
    std::map<int64_t, jet::TableDefinition> definitions_;
    std::vector<Link> links_;
};

}  // namespace

jet::DatabaseImage storeImage(sqlite3* db, const Catalog& catalog, const jet::JetFile& original) {
    return ImageBuilder(db, catalog, original).build();
}

CatalogDefinitions catalogDefinitions(sqlite3* db, const Catalog& catalog,
                                      const jet::JetFile& original) {
    return ImageBuilder(db, catalog, original).definitions();
}

CatalogDefinitions catalogDefinitions(
    sqlite3* db, const Catalog& catalog, const std::set<int64_t>& tables,
    std::map<int64_t, std::shared_ptr<const jet::TableDefinition>> originals,
    const std::string& fileName) {
    return ImageBuilder(db, catalog, tables, std::move(originals), fileName).definitions();
}

}  // namespace orvdb::engine

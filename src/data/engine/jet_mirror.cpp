#include "data/engine/jet_mirror.hpp"

#include "data/engine/catalog.hpp"
#include "data/engine/engine_error.hpp"
#include "data/engine/sqlite_util.hpp"
#include "data/engine/working_store.hpp"
#include "jet/jet_error.hpp"
#include "jet/jet_file.hpp"
#include "jet/saved_queries.hpp"

#include <optional>

namespace orvdb::engine {

namespace {

std::optional<JetType> engineType(uint8_t code) {
    switch (code) {
        case 1: return JetType::Boolean;
        case 2: return JetType::Byte;
        case 3: return JetType::Integer;
        case 4: return JetType::Long;
        case 5: return JetType::Currency;
        case 6: return JetType::Single;
        case 7: return JetType::Double;
        case 8: return JetType::DateTime;
        case 9: return JetType::Binary;
        case 10: return JetType::Text;
        case 11: return JetType::OLE;
        case 12: return JetType::Memo;
        case 15: return JetType::GUID;
        case 16: return JetType::Decimal;
        default: return std::nullopt;
    }
}

bool propertyTrue(const jet::Value& v) {
    if (auto b = std::get_if<bool>(&v)) return *b;
    if (auto i = std::get_if<int64_t>(&v)) return *i != 0;
    return false;
}

std::optional<std::string> propertyText(const jet::Value& v) {
    if (auto s = std::get_if<std::string>(&v)) return *s;
    return std::nullopt;
}

ColumnDef columnDef(const jet::Column& c, const jet::PropertyMap* props) {
    ColumnDef d;
    d.name = c.name;
    // Column types this engine does not know (Access's internal ones) are kept as bytes.
    d.type = engineType(c.typeCode).value_or(JetType::Binary);
    switch (d.type) {
        case JetType::Text: d.size = c.characterLength(); break;
        case JetType::Binary: d.size = c.length; break;
        default: d.size = jetFixedSize(d.type);
    }
    d.autoNumber = c.isAutoNumber() && d.type == JetType::Long;
    d.compressedUnicode = c.isCompressedUnicode();
    d.precision = c.precision;
    d.scale = c.scale;
    if (props) {
        d.required = propertyTrue(props->value("Required"));
        if (props->find("AllowZeroLength")) d.allowZeroLength = propertyTrue(props->value("AllowZeroLength"));
        d.defaultValue = propertyText(props->value("DefaultValue"));
    }
    return d;
}

std::vector<IndexDef> indexDefs(const jet::TableDefinition& def) {
    std::vector<IndexDef> out;
    for (const auto& li : def.indexes) {
        // The referenced side of a relationship gets a logical index of its
        // own ('.rB' ...) sharing the primary key: the relationship covers it.
        if (li.isForeignKey() && !li.name.empty() && li.name[0] == '.') continue;
        const jet::PhysicalIndex* pi = def.physicalIndexOf(li);
        if (!pi) continue;
        IndexDef ix;
        ix.name = li.name;
        ix.primary = li.isPrimaryKey();
        ix.foreignKey = li.isForeignKey();
        ix.unique = pi->isUnique() || ix.primary;
        ix.ignoreNulls = pi->ignoresNulls();
        ix.required = pi->isRequired();
        bool complete = true;
        for (const auto& ic : pi->columns) {
            const jet::Column* c = def.columnByNumber(ic.columnNumber);
            if (!c) {
                complete = false;
                break;
            }
            ix.columns.push_back({c->name, !ic.ascending});
        }
        if (complete && !ix.columns.empty()) out.push_back(std::move(ix));
    }
    return out;
}

void bindJetValue(Stmt& s, int index, const jet::Value& v) {
    std::visit(
        [&](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                s.bindNull(index);
            } else if constexpr (std::is_same_v<T, bool>) {
                s.bind(index, int64_t{x ? -1 : 0});
            } else if constexpr (std::is_same_v<T, int64_t>) {
                s.bind(index, x);
            } else if constexpr (std::is_same_v<T, double>) {
                s.bind(index, x);
            } else if constexpr (std::is_same_v<T, jet::Currency>) {
                s.bind(index, static_cast<double>(x.scaled) / 10000.0);
            } else if constexpr (std::is_same_v<T, jet::DateTime>) {
                s.bind(index, x.days);
            } else if constexpr (std::is_same_v<T, std::string>) {
                s.bind(index, std::string_view(x));
            } else if constexpr (std::is_same_v<T, jet::Bytes>) {
                s.bindBlob(index, x.data(), x.size());
            } else if constexpr (std::is_same_v<T, jet::Guid>) {
                s.bind(index, std::string_view(x.toString()));
            } else if constexpr (std::is_same_v<T, jet::Decimal>) {
                s.bind(index, std::string_view(x.text));
            }
        },
        v);
}

void loadTable(const jet::JetFile& file, const jet::CatalogObject& object, Catalog& catalog,
               sqlite3* db) {
    auto def = file.table(object.name);
    jet::ObjectProperties props = file.tableProperties(object.name);
    TableInfo info;
    info.id = object.id;
    info.name = object.name;
    info.storedName = Catalog::storedNameFor(object.name);
    info.system = object.isSystemTable();
    info.lastAutoNumber = def->lastAutoNumber;
    for (const auto& c : def->columns) info.columns.push_back(columnDef(c, props.column(c.name)));
    info.indexes = indexDefs(*def);
    catalog.registerTable(info);

    std::string cols, marks;
    for (size_t i = 0; i < info.columns.size(); ++i) {
        cols += (i ? ", " : "") + quoteIdent(info.columns[i].name);
        marks += i ? ", ?" : "?";
    }
    Stmt insert(db, "INSERT INTO " + quoteIdent(info.storedName) + " (" + cols + ") VALUES (" +
                        marks + ")");
    jet::TableReader reader = file.readTable(object.name);
    while (auto row = reader.next()) {
        insert.reset();
        for (size_t i = 0; i < row->values.size() && i < info.columns.size(); ++i)
            bindJetValue(insert, static_cast<int>(i + 1), row->values[i]);
        insert.run();
    }
}

}  // namespace

std::shared_ptr<WorkingStore> mirrorJetFile(const std::string& path, const std::string& password) {
    std::optional<std::string> pw;
    if (!password.empty()) pw = password;
    try {
        jet::JetFile file = jet::JetFile::open(path, pw);
        sqlite3* db = nullptr;
        // An empty name gives a private on-disk database that SQLite removes
        // when it is closed.
        if (sqlite3_open_v2("", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK) {
            sqlite3_close_v2(db);
            throw EngineError("Cannot create a working store for '" + path + "'.");
        }
        auto store = WorkingStore::adoptMirror(path, db);
        store->configureForMirror();
        Catalog& catalog = store->catalog();
        execSql(db, "BEGIN");
        catalog.initializeHidden();
        for (const auto& object : file.catalog().objects()) {
            if (!object.isTable()) continue;
            loadTable(file, object, catalog, db);
        }
        for (const auto& q : jet::readSavedQueries(file)) {
            if (q.sql.empty() || q.isInternal()) continue;
            catalog.registerSavedQuery(q.id, q.name, q.sql, static_cast<int>(q.kind));
        }
        catalog.load();
        catalog.materializeIndexes();
        catalog.rebuildTriggers();
        execSql(db, "COMMIT");
        catalog.load();
        return store;
    } catch (const jet::JetError& e) {
        throw EngineError(e.what());
    } catch (const EngineError& e) {
        std::string message = e.what();
        if (message.find(path) == std::string::npos) message += " (file '" + path + "')";
        throw EngineError(message);
    }
}

}  // namespace orvdb::engine

#include "engine/store/jet_mirror.hpp"

#include "engine/catalog/catalog.hpp"
#include "engine/catalog/jet_definition_mapping.hpp"
#include "engine/engine_error.hpp"
#include "engine/store/sqlite_util.hpp"
#include "engine/store/working_store.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/read/saved_queries.hpp"

#include <optional>

namespace orvdb::engine {

namespace {

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
    for (const auto& c : def->columns) {
        info.columns.push_back(columnDefOf(c, props.column(c.name)));
    }
    info.indexes = indexDefsOf(*def);
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
        for (size_t i = 0; i < row->values.size() && i < info.columns.size(); ++i) {
            bindJetValue(insert, static_cast<int>(i + 1), row->values[i]);
        }
        insert.run();
    }
}

}  // namespace

std::shared_ptr<WorkingStore> mirrorJetFile(const std::string& path, const std::string& password,
                                            bool readOnly) {
    std::optional<std::string> pw;
    if (!password.empty()) {
        pw = password;
    }
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
        auto store = WorkingStore::adoptMirror(path, db, readOnly, pw);
        store->configureForMirror();
        Catalog& catalog = store->catalog();
        execSql(db, "BEGIN");
        catalog.initializeHidden();
        for (const auto& object : file.catalog().objects()) {
            if (!object.isTable()) {
                continue;
            }
            loadTable(file, object, catalog, db);
        }
        for (const auto& q : jet::readSavedQueries(file)) {
            if (q.sql.empty() || q.isInternal()) {
                continue;
            }
            catalog.registerSavedQuery(q.id, q.name, q.sql, q.kind);
        }
        catalog.load();
        catalog.materializeIndexes();
        catalog.rebuildTriggers();
        execSql(db, "COMMIT");
        catalog.load();
        store->markSaved();
        return store;
    } catch (const jet::JetError& e) {
        throw EngineError(e.what());
    } catch (const EngineError& e) {
        std::string message = e.what();
        if (message.find(path) == std::string::npos) {
            message += " (file '" + path + "')";
        }
        throw EngineError(message);
    }
}

}  // namespace orvdb::engine

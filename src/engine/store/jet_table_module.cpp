#include "engine/store/jet_table_module.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "engine/catalog/catalog_sql.hpp"
#include "engine/catalog/jet_definition_mapping.hpp"
#include "engine/engine_error.hpp"
#include "engine/store/sqlite_util.hpp"
#include "jet/format/byte_view.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/index/index_key.hpp"
#include "jet/read/row_decoder.hpp"
#include "jet/read/table_definition.hpp"
#include "jet/read/table_reader.hpp"
#include "jet/update/index_tree.hpp"
#include "jet/update/table_editor.hpp"

namespace orvdb::engine {

namespace {

// idxNum: 0 walks the data pages, 1 fetches one row by its rowid, and
// otherwise the low 16 bits are the physical index + 2 and the high bits
// the number of its leading columns the filter gives values for.
constexpr int kScan = 0;
constexpr int kByRowid = 1;
constexpr int kFirstIndex = 2;

struct ModuleContext {
    FileView view;
};

struct JetVtab : sqlite3_vtab {
    ModuleContext* context = nullptr;
    std::shared_ptr<jet::TableDefinition> definition;
    std::vector<std::vector<jet::KeyColumn>> keys;  // per physical index
};

struct JetCursor : sqlite3_vtab_cursor {
    std::unique_ptr<jet::FilePages> pages;
    std::optional<jet::TableReader> reader;
    std::optional<jet::IndexCursor> entries;
    std::vector<uint8_t> prefix;  // index entries must start with it
    std::optional<jet::RowPointer> single;
    jet::PhysicalIndex index;  // the copy the index cursor reads through
    jet::Row row;
    bool eof = true;
};

JetVtab& tableOf(sqlite3_vtab_cursor* cursor) {
    return *static_cast<JetVtab*>(cursor->pVtab);
}

int fail(sqlite3_vtab* table, const std::exception& error) {
    sqlite3_free(table->zErrMsg);
    table->zErrMsg = sqlite3_mprintf("%s", error.what());
    return SQLITE_ERROR;
}

bool isText(const jet::Column& column) {
    return column.type() == jet::ColumnType::Text || column.type() == jet::ColumnType::Memo;
}

int connect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out,
            char** error) {
    auto* context = static_cast<ModuleContext*>(aux);
    if (argc < 4) {
        *error = sqlite3_mprintf("orvjet needs the table's definition page");
        return SQLITE_ERROR;
    }
    auto table = std::make_unique<JetVtab>();
    table->context = context;
    try {
        auto page = static_cast<uint32_t>(std::stoul(argv[3]));
        std::unique_ptr<jet::FilePages> pages = context->view();
        table->definition =
            std::make_shared<jet::TableDefinition>(jet::readTableDefinition(pages->source(), page));
        std::string declaration = "CREATE TABLE x(";
        for (size_t n = 0; n < table->definition->columns.size(); ++n) {
            declaration += (n ? ", " : "") + catalog_sql::columnSql(columnDefOf(
                                                 table->definition->columns[n], nullptr));
        }
        declaration += ")";
        for (const jet::PhysicalIndex& index : table->definition->physicalIndexes) {
            table->keys.push_back(jet::keyColumnsOf(*table->definition, index));
        }
        if (int rc = sqlite3_declare_vtab(db, declaration.c_str()); rc != SQLITE_OK) {
            *error = sqlite3_mprintf("%s", sqlite3_errmsg(db));
            return rc;
        }
    } catch (const std::exception& failure) {
        *error = sqlite3_mprintf("%s", failure.what());
        return SQLITE_ERROR;
    }
    *out = table.release();
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab* table) {
    delete static_cast<JetVtab*>(table);
    return SQLITE_OK;
}

// The position of the column with number `number` in the definition.
std::optional<size_t> positionOf(const jet::TableDefinition& table, uint16_t number) {
    for (size_t n = 0; n < table.columns.size(); ++n) {
        if (table.columns[n].number == number) {
            return n;
        }
    }
    return std::nullopt;
}

int bestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info) {
    auto& table = *static_cast<JetVtab*>(vtab);
    const jet::TableDefinition& definition = *table.definition;
    double rows = std::max<double>(definition.rowCount, 1);
    // Which usable equality constraint each column has.
    std::vector<int> equality(definition.columns.size(), -1);
    int rowidConstraint = -1;
    for (int n = 0; n < info->nConstraint; ++n) {
        const auto& constraint = info->aConstraint[n];
        if (!constraint.usable || constraint.op != SQLITE_INDEX_CONSTRAINT_EQ) {
            continue;
        }
        if (constraint.iColumn < 0) {
            rowidConstraint = n;
        } else if (static_cast<size_t>(constraint.iColumn) < equality.size()) {
            equality[static_cast<size_t>(constraint.iColumn)] = n;
        }
    }
    info->idxNum = kScan;
    info->estimatedCost = rows * 4 + 10;
    info->estimatedRows = static_cast<sqlite3_int64>(rows);
    if (rowidConstraint >= 0) {
        info->idxNum = kByRowid;
        info->aConstraintUsage[rowidConstraint].argvIndex = 1;
        info->estimatedCost = 2;
        info->estimatedRows = 1;
        info->idxFlags = SQLITE_INDEX_SCAN_UNIQUE;
        return SQLITE_OK;
    }
    int bestIndexNumber = -1;
    size_t bestPrefix = 0;
    double bestCost = info->estimatedCost;
    for (const jet::PhysicalIndex& index : definition.physicalIndexes) {
        size_t prefix = 0;
        bool textual = false;
        for (const jet::IndexColumn& column : index.columns) {
            std::optional<size_t> position = positionOf(definition, column.columnNumber);
            if (!position || equality[*position] < 0 || !column.ascending) {
                break;
            }
            ++prefix;
            if (isText(definition.columns[*position])) {
                textual = true;
                break;  // a text's key is matched on its letters alone: nothing may follow it
            }
        }
        if (prefix == 0) {
            continue;
        }
        // Letters alone match texts that differ in accents: not unique then.
        bool unique = index.isUnique() && prefix == index.columns.size() && !textual;
        double matches =
            unique ? 1 : std::max(1.0, rows / std::pow(10.0, static_cast<double>(prefix)));
        double cost = std::log2(rows + 1) * 2 + matches * 4;
        if (cost < bestCost) {
            bestCost = cost;
            bestIndexNumber = static_cast<int>(index.number);
            bestPrefix = prefix;
            info->estimatedRows = static_cast<sqlite3_int64>(matches);
            info->idxFlags = unique ? SQLITE_INDEX_SCAN_UNIQUE : 0;
        }
    }
    if (bestIndexNumber >= 0) {
        const jet::PhysicalIndex& index =
            definition.physicalIndexes[static_cast<size_t>(bestIndexNumber)];
        for (size_t n = 0; n < bestPrefix; ++n) {
            size_t position = *positionOf(definition, index.columns[n].columnNumber);
            auto& usage = info->aConstraintUsage[equality[position]];
            usage.argvIndex = static_cast<int>(n + 1);
            usage.omit = 0;  // SQLite checks the values again: text keys match more than one
        }
        info->idxNum = (bestIndexNumber + kFirstIndex) | static_cast<int>(bestPrefix << 16);
        info->estimatedCost = bestCost;
    }
    return SQLITE_OK;
}

int open(sqlite3_vtab*, sqlite3_vtab_cursor** out) {
    *out = new JetCursor();
    return SQLITE_OK;
}

int close(sqlite3_vtab_cursor* cursor) {
    delete static_cast<JetCursor*>(cursor);
    return SQLITE_OK;
}

// A filter value as the key column's type takes it; nullopt when it has no
// such value (a Null, a fraction for a whole number, a text for a number).
std::optional<jet::Value> keyValue(sqlite3_value* value, const jet::Column& column) {
    int kind = sqlite3_value_type(value);
    if (kind == SQLITE_NULL) {
        return std::nullopt;
    }
    switch (column.type()) {
        case jet::ColumnType::Byte:
        case jet::ColumnType::Integer:
        case jet::ColumnType::Long: {
            if (kind == SQLITE_INTEGER) {
                return jet::Value(static_cast<int64_t>(sqlite3_value_int64(value)));
            }
            if (kind == SQLITE_FLOAT) {
                double number = sqlite3_value_double(value);
                if (std::trunc(number) == number && std::abs(number) < 9e15) {
                    return jet::Value(static_cast<int64_t>(number));
                }
            }
            return std::nullopt;
        }
        case jet::ColumnType::Single:
        case jet::ColumnType::Double:
            if (kind == SQLITE_INTEGER || kind == SQLITE_FLOAT) {
                return jet::Value(sqlite3_value_double(value));
            }
            return std::nullopt;
        case jet::ColumnType::DateTime:
            if (kind == SQLITE_INTEGER || kind == SQLITE_FLOAT) {
                return jet::Value(jet::DateTime{sqlite3_value_double(value)});
            }
            return std::nullopt;
        case jet::ColumnType::Text:
        case jet::ColumnType::Memo:
            if (kind == SQLITE_TEXT) {
                return jet::Value(
                    std::string(reinterpret_cast<const char*>(sqlite3_value_text(value)),
                                static_cast<size_t>(sqlite3_value_bytes(value))));
            }
            return std::nullopt;
        default:
            return std::nullopt;  // other key types: the data pages are walked
    }
}

// The bytes every entry matching `values` starts with: whole keys for the
// columns before the last, and for a text the key of its letters alone (the
// part before the marks for case and accents), which compares as Jet's text
// comparison does.
std::optional<std::vector<uint8_t>> keyPrefix(const jet::TableDefinition& table,
                                              const std::vector<jet::KeyColumn>& columns,
                                              const std::vector<jet::Value>& values) {
    std::vector<uint8_t> prefix;
    for (size_t n = 0; n < values.size(); ++n) {
        const jet::KeyColumn& key = columns[n];
        const jet::Column& column = table.columns[key.valueIndex];
        if (isText(column)) {
            std::vector<uint8_t> text =
                jet::encodeIndexKey({key}, {values[n]});  // marker, letters, 01, marks, 00
            auto letters = std::find(text.begin() + 1, text.end(), uint8_t{0x01});
            if (letters == text.end()) {
                return std::nullopt;
            }
            prefix.insert(prefix.end(), text.begin(), letters + 1);
        } else {
            std::vector<uint8_t> bytes = jet::encodeIndexKey({key}, {values[n]});
            prefix.insert(prefix.end(), bytes.begin(), bytes.end());
        }
    }
    return prefix;
}

// Moves to the next row the cursor's plan gives.
void advance(JetCursor& cursor, JetVtab& table) {
    if (cursor.reader) {
        cursor.eof = !cursor.reader->next(cursor.row);
        return;
    }
    if (cursor.single) {
        jet::RowPointer where = *cursor.single;
        cursor.single.reset();
        if (auto found = jet::locateRow(*cursor.pages, *table.definition, where)) {
            jet::RowDecoder decoder(*table.definition, cursor.pages->source());
            decoder.decode(jet::ByteView(found->bytes, cursor.pages->fileName()),
                           cursor.row.values);
            cursor.row.id = where;
            cursor.eof = false;
        } else {
            cursor.eof = true;
        }
        return;
    }
    while (cursor.entries) {
        std::optional<jet::IndexEntry> entry = cursor.entries->next();
        if (!entry || entry->key.size() < cursor.prefix.size() ||
            !std::equal(cursor.prefix.begin(), cursor.prefix.end(), entry->key.begin())) {
            break;
        }
        if (auto found = jet::locateRow(*cursor.pages, *table.definition, entry->row)) {
            jet::RowDecoder decoder(*table.definition, cursor.pages->source());
            decoder.decode(jet::ByteView(found->bytes, cursor.pages->fileName()),
                           cursor.row.values);
            cursor.row.id = entry->row;
            cursor.eof = false;
            return;
        }
    }
    cursor.entries.reset();
    cursor.eof = true;
}

int filter(sqlite3_vtab_cursor* base, int idxNum, const char*, int argc, sqlite3_value** argv) {
    auto& cursor = *static_cast<JetCursor*>(base);
    JetVtab& table = tableOf(base);
    try {
        cursor.reader.reset();
        cursor.entries.reset();
        cursor.single.reset();
        cursor.pages = table.context->view();
        cursor.eof = true;
        auto scanAll = [&] {
            cursor.reader.emplace(cursor.pages->sharedSource(), table.definition);
            advance(cursor, table);
        };
        if (idxNum == kScan) {
            scanAll();
            return SQLITE_OK;
        }
        if (idxNum == kByRowid) {
            if (argc == 1 && sqlite3_value_type(argv[0]) == SQLITE_INTEGER) {
                sqlite3_int64 rowid = sqlite3_value_int64(argv[0]);
                if (rowid > 0 && rowid <= 0xFFFFFFFF) {
                    cursor.single = jet::RowPointer::fromRaw(static_cast<uint32_t>(rowid));
                    advance(cursor, table);
                }
            }
            return SQLITE_OK;
        }
        auto indexNumber = static_cast<size_t>((idxNum & 0xFFFF) - kFirstIndex);
        const std::vector<jet::KeyColumn>& columns = table.keys.at(indexNumber);
        std::vector<jet::Value> values;
        for (int n = 0; n < argc; ++n) {
            const jet::Column& column =
                table.definition->columns[columns[static_cast<size_t>(n)].valueIndex];
            std::optional<jet::Value> value = keyValue(argv[n], column);
            if (!value) {
                if (sqlite3_value_type(argv[n]) == SQLITE_NULL) {
                    return SQLITE_OK;  // "= Null" is never true
                }
                scanAll();
                return SQLITE_OK;
            }
            values.push_back(std::move(*value));
        }
        std::optional<std::vector<uint8_t>> prefix;
        try {
            prefix = keyPrefix(*table.definition, columns, values);
        } catch (const jet::IndexKeyError&) {
            prefix.reset();  // a character without a sort code: walk the pages
        }
        if (!prefix) {
            scanAll();
            return SQLITE_OK;
        }
        cursor.prefix = std::move(*prefix);
        cursor.index = table.definition->physicalIndexes.at(indexNumber);
        jet::IndexTreeEditor tree(*cursor.pages, *table.definition, cursor.index);
        cursor.entries.emplace(tree.seek(cursor.prefix));
        advance(cursor, table);
        return SQLITE_OK;
    } catch (const std::exception& error) {
        return fail(base->pVtab, error);
    }
}

int next(sqlite3_vtab_cursor* base) {
    auto& cursor = *static_cast<JetCursor*>(base);
    try {
        advance(cursor, tableOf(base));
        return SQLITE_OK;
    } catch (const std::exception& error) {
        return fail(base->pVtab, error);
    }
}

int eof(sqlite3_vtab_cursor* base) {
    return static_cast<JetCursor*>(base)->eof ? 1 : 0;
}

// The value as the store holds it: the forms the mirror loads rows in.
int column(sqlite3_vtab_cursor* base, sqlite3_context* context, int index) {
    auto& cursor = *static_cast<JetCursor*>(base);
    const jet::Value& value = cursor.row.values.at(static_cast<size_t>(index));
    std::visit(
        [&](const auto& held) {
            using T = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                sqlite3_result_null(context);
            } else if constexpr (std::is_same_v<T, bool>) {
                sqlite3_result_int64(context, held ? -1 : 0);
            } else if constexpr (std::is_same_v<T, int64_t>) {
                sqlite3_result_int64(context, held);
            } else if constexpr (std::is_same_v<T, double>) {
                sqlite3_result_double(context, held);
            } else if constexpr (std::is_same_v<T, jet::Currency>) {
                sqlite3_result_double(context, static_cast<double>(held.scaled) / 10000.0);
            } else if constexpr (std::is_same_v<T, jet::DateTime>) {
                sqlite3_result_double(context, held.days);
            } else if constexpr (std::is_same_v<T, std::string>) {
                sqlite3_result_text64(context, held.data(), held.size(), SQLITE_TRANSIENT,
                                      SQLITE_UTF8);
            } else if constexpr (std::is_same_v<T, jet::Bytes>) {
                sqlite3_result_blob64(context, held.data(), held.size(), SQLITE_TRANSIENT);
            } else if constexpr (std::is_same_v<T, jet::Guid>) {
                std::string text = held.toString();
                sqlite3_result_text64(context, text.data(), text.size(), SQLITE_TRANSIENT,
                                      SQLITE_UTF8);
            } else if constexpr (std::is_same_v<T, jet::Decimal>) {
                sqlite3_result_text64(context, held.text.data(), held.text.size(), SQLITE_TRANSIENT,
                                      SQLITE_UTF8);
            }
        },
        value);
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor* base, sqlite3_int64* out) {
    const auto& cursor = *static_cast<JetCursor*>(base);
    *out = static_cast<sqlite3_int64>(cursor.row.id.page) << 8 | cursor.row.id.row;
    return SQLITE_OK;
}

sqlite3_module& module() {
    static sqlite3_module instance = [] {
        sqlite3_module m{};
        m.iVersion = 1;
        m.xCreate = connect;
        m.xConnect = connect;
        m.xBestIndex = bestIndex;
        m.xDisconnect = disconnect;
        m.xDestroy = disconnect;
        m.xOpen = open;
        m.xClose = close;
        m.xFilter = filter;
        m.xNext = next;
        m.xEof = eof;
        m.xColumn = column;
        m.xRowid = rowid;
        return m;
    }();
    return instance;
}

}  // namespace

std::string jetTableName(int64_t id) {
    return "orvjet_" + std::to_string(id);
}

void registerJetTableModule(sqlite3* db, FileView view) {
    auto* context = new ModuleContext{std::move(view)};
    if (sqlite3_create_module_v2(db, "orvjet", &module(), context, [](void* aux) {
            delete static_cast<ModuleContext*>(aux);
        }) != SQLITE_OK) {
        throw EngineError(std::string("Cannot register the Access table reader: ") +
                          sqlite3_errmsg(db));
    }
}

}  // namespace orvdb::engine

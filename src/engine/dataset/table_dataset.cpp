#include "engine/dataset/table_dataset.hpp"

#include "engine/catalog/catalog.hpp"
#include "engine/engine_error.hpp"
#include "engine/messages.hpp"
#include "engine/store/sqlite_util.hpp"

namespace orvdb::engine {

namespace {

void bindValue(Stmt& statement, int index, const SqlValue& value) {
    if (auto i = std::get_if<int64_t>(&value)) {
        statement.bind(index, *i);
    } else if (auto real = std::get_if<double>(&value)) {
        statement.bind(index, *real);
    } else if (auto text = std::get_if<std::string>(&value)) {
        statement.bind(index, std::string_view(*text));
    } else if (auto bytes = std::get_if<std::vector<uint8_t>>(&value)) {
        statement.bindBlob(index, bytes->data(), bytes->size());
    } else {
        statement.bindNull(index);
    }
}

std::string coerceCall(const TableInfo& table, const ColumnDef& column,
                       const std::string& valueSql) {
    return "jet_coerce(" + valueSql + ", " + std::to_string(static_cast<int>(column.type)) + ", " +
           std::to_string(column.size) + ", " + quoteText(table.name + "." + column.name) + ")";
}

}  // namespace

TableDataset::TableDataset(Connection& connection) : connection_(&connection) {
    description_ = "the table";
}

TableDataset::TableDataset() {
    description_ = "the table";
}

const TableInfo& TableDataset::table() const {
    const TableInfo* table = connection_->store().catalog().findTableInfo(tableName_);
    if (!table) {
        throw EngineError(msg::tableNotFound(tableName_));
    }
    return *table;
}

void TableDataset::setTableName(std::string name) {
    close();
    tableName_ = std::move(name);
    description_ = "table '" + tableName_ + "'";
}

void TableDataset::selectIndex(std::string indexName) {
    if (!indexName.empty()) {
        bool found = false;
        for (const auto& index : table().indexes) {
            found = found || sameName(index.name, indexName);
        }
        if (!found) {
            throw EngineError(msg::notAnIndex(indexName, tableName_));
        }
    }
    indexName_ = std::move(indexName);
    if (open_) {
        loadRows();
    }
}

void TableDataset::open() {
    if (open_) {
        return;
    }
    // A table cursor holds every row and may change them.
    WorkingStore::Access access(connection_->store(), false);
    connection_->store().loadForChange({tableName_});
    loadRows();
    open_ = true;
}

void TableDataset::close() {
    open_ = false;
    state_ = State::Browse;
    rowids_.clear();
    clearRows();
}

void TableDataset::loadRows() {
    const TableInfo& definition = table();
    fields_.clear();
    for (const auto& column : definition.columns) {
        fields_.push_back(fieldInfoFor(column.name, column));
    }
    std::string sql = "SELECT rowid";
    for (const auto& column : definition.columns) {
        sql += ", " + quoteIdent(column.name);
    }
    sql += " FROM " + quoteIdent(definition.storedName);
    const IndexDef* order = definition.primaryKey();
    if (!indexName_.empty()) {
        for (const auto& index : definition.indexes) {
            if (sameName(index.name, indexName_)) {
                order = &index;
            }
        }
    }
    sql += " ORDER BY ";
    if (order) {
        for (const auto& indexColumn : order->columns) {
            sql += quoteIdent(indexColumn.column) + " COLLATE JETTEXT" +
                   (indexColumn.descending ? " DESC" : "") + ", ";
        }
    }
    sql += "rowid";
    Stmt statement(connection_->store().db(), sql);
    rows_.clear();
    rowids_.clear();
    int n = static_cast<int>(definition.columns.size());
    while (statement.step()) {
        rowids_.push_back(statement.getInt(0));
        Row row;
        row.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            row.push_back(readColumnValue(statement.handle(), i + 1));
        }
        rows_.push_back(std::move(row));
    }
    pos_ = 0;
    state_ = State::Browse;
}

Row TableDataset::readRow(int64_t rowid) {
    const TableInfo& definition = table();
    std::string sql = "SELECT ";
    for (size_t i = 0; i < definition.columns.size(); ++i) {
        sql += (i ? ", " : "") + quoteIdent(definition.columns[i].name);
    }
    sql += " FROM " + quoteIdent(definition.storedName) + " WHERE rowid=?";
    Stmt statement(connection_->store().db(), sql);
    statement.bind(1, rowid);
    Row row;
    if (statement.step()) {
        for (int i = 0; i < statement.columnCount(); ++i) {
            row.push_back(readColumnValue(statement.handle(), i));
        }
    }
    return row;
}

bool TableDataset::locate(std::string_view fieldName, const SqlValue& value) {
    requireOpen();
    int index = fieldIndex(fieldName);
    std::string wanted = valueToText(value);
    for (size_t r = 0; r < rows_.size(); ++r) {
        const SqlValue& candidate = rows_[r][static_cast<size_t>(index)];
        if (candidate == value ||
            (!engine::isNull(candidate) && valueToText(candidate) == wanted)) {
            pos_ = r;
            return true;
        }
    }
    return false;
}

void TableDataset::edit() {
    if (state_ != State::Browse) {
        return;
    }
    requireOpen();
    if (eof()) {
        throw EngineError(msg::noCurrentRecord(description_));
    }
    buffer_ = rows_[pos_];
    changed_.assign(buffer_.size(), false);
    state_ = State::Edit;
}

void TableDataset::append() {
    requireOpen();
    if (state_ != State::Browse) {
        cancel();
    }
    buffer_.assign(fields_.size(), std::monostate{});
    changed_.assign(fields_.size(), false);
    state_ = State::Insert;
}

void TableDataset::cancel() {
    state_ = State::Browse;
    buffer_.clear();
    changed_.clear();
}

const Row& TableDataset::currentRow() const {
    // While a row is edited or added, fields read what has been set so far.
    return state_ == State::Browse ? Dataset::currentRow() : buffer_;
}

void TableDataset::setValue(int index, SqlValue value) {
    requireOpen();
    field(index);
    if (state_ == State::Browse) {
        throw EngineError(msg::notEditing(description_));
    }
    const TableInfo& definition = table();
    const ColumnDef& column = definition.columns[static_cast<size_t>(index)];
    if (column.autoNumber && state_ == State::Edit) {
        throw EngineError(msg::notUpdatable(column.name));
    }
    buffer_[static_cast<size_t>(index)] = std::move(value);
    changed_[static_cast<size_t>(index)] = true;
}

void TableDataset::post() {
    if (state_ == State::Browse) {
        return;
    }
    WorkingStore& store = connection_->store();
    if (store.readOnly()) {
        throw EngineError(store.readOnlyMessage());
    }
    WorkingStore::Access access(store, true);
    const TableInfo& definition = table();
    SessionScope scope(store, connection_->session());
    int64_t rowid = 0;
    try {
        // Outside a transaction the row is committed (and in the file) when
        // Post returns.
        Savepoint change(store.db());
        if (state_ == State::Insert) {
            std::string cols, vals;
            std::vector<const SqlValue*> params;
            for (size_t i = 0; i < definition.columns.size(); ++i) {
                const ColumnDef& column = definition.columns[i];
                std::string valueSql;
                if (changed_[i]) {
                    params.push_back(&buffer_[i]);
                    valueSql = column.autoNumber ? "jet_note_autonumber(" +
                                                       quoteText(definition.storedName) + ", ?)"
                                                 : coerceCall(definition, column, "?");
                } else if (column.autoNumber) {
                    valueSql = "jet_next_autonumber(" + quoteText(definition.storedName) + ")";
                } else {
                    continue;
                }
                if (!cols.empty()) {
                    cols += ", ";
                    vals += ", ";
                }
                cols += quoteIdent(column.name);
                vals += valueSql;
            }
            std::string sql = cols.empty() ? "INSERT INTO " + quoteIdent(definition.storedName) +
                                                 " DEFAULT VALUES"
                                           : "INSERT INTO " + quoteIdent(definition.storedName) +
                                                 " (" + cols + ") VALUES (" + vals + ")";
            Stmt statement(store.db(), sql);
            for (size_t i = 0; i < params.size(); ++i) {
                bindValue(statement, static_cast<int>(i + 1), *params[i]);
            }
            statement.run();
            rowid = sqlite3_last_insert_rowid(store.db());
        } else {
            rowid = rowids_[pos_];
            std::string sets;
            std::vector<const SqlValue*> params;
            for (size_t i = 0; i < definition.columns.size(); ++i) {
                if (!changed_[i]) {
                    continue;
                }
                if (!sets.empty()) {
                    sets += ", ";
                }
                sets += quoteIdent(definition.columns[i].name) + " = " +
                        coerceCall(definition, definition.columns[i], "?");
                params.push_back(&buffer_[i]);
            }
            if (!sets.empty()) {
                Stmt s(store.db(), "UPDATE " + quoteIdent(definition.storedName) + " SET " + sets +
                                       " WHERE rowid = ?");
                int n = 1;
                for (const auto* parameter : params) {
                    bindValue(s, n++, *parameter);
                }
                s.bind(n, rowid);
                s.run();
            }
        }
        store.catalog().flushAutoNumbers();
        change.commit();
    } catch (const EngineError& e) {
        throw EngineError(msg::translateSqliteError(e.what()));
    }
    Row row = readRow(rowid);
    if (state_ == State::Insert) {
        rows_.push_back(std::move(row));
        rowids_.push_back(rowid);
        pos_ = rows_.size() - 1;
    } else {
        rows_[pos_] = std::move(row);
    }
    cancel();
}

}  // namespace orvdb::engine

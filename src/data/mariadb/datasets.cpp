#include "data/mariadb/datasets.hpp"

#include <cstdio>

#include "base/names.hpp"
#include "data/mariadb/server_statements.hpp"
#include "engine/jet_datetime.hpp"

namespace orvdb::data::mariadb {

using engine::FieldType;
using engine::SqlValue;

// --- query ---

ServerQueryDataset::ServerQueryDataset(std::shared_ptr<Session> session)
    : session_(std::move(session)) {}

void ServerQueryDataset::open() {
    close();
    engine::QueryResult result = queryOnServer(sql(), *session_);
    fields_ = std::move(result.fields);
    rows_ = std::move(result.rows);
    pos_ = 0;
    open_ = true;
}

int64_t ServerQueryDataset::execute() {
    close();
    return executeOnServer(sql(), *session_);
}

void ServerQueryDataset::close() {
    open_ = false;
    clearRows();
}

// --- table ---

ServerTableDataset::ServerTableDataset(std::shared_ptr<Session> session)
    : session_(std::move(session)) {}

void ServerTableDataset::selectIndex(std::string indexName) {
    if (!indexName.empty()) {
        std::string found = session_->scalar(
            "SELECT COUNT(*) FROM information_schema.STATISTICS WHERE "
            "TABLE_SCHEMA=DATABASE() AND TABLE_NAME=" +
            session_->quoteText(tableName_) + " AND INDEX_NAME=" + session_->quoteText(indexName));
        if (found == "0" || found.empty()) {
            throw std::runtime_error("'" + indexName + "' is not an index in table '" + tableName_ +
                                     "'");
        }
    }
    indexName_ = std::move(indexName);
    if (open_) {
        loadRows();
    }
}

void ServerTableDataset::open() {
    if (open_) {
        return;
    }
    loadRows();
    open_ = true;
}

void ServerTableDataset::close() {
    open_ = false;
    state_ = State::Browse;
    clearRows();
}

void ServerTableDataset::loadRows() {
    std::string keys =
        "SELECT INDEX_NAME, COLUMN_NAME FROM information_schema.STATISTICS WHERE "
        "TABLE_SCHEMA=DATABASE() AND TABLE_NAME=" +
        session_->quoteText(tableName_) + " ORDER BY INDEX_NAME, SEQ_IN_INDEX";
    engine::QueryResult indexes = session_->query(keys);
    std::string orderIndex = indexName_.empty() ? "PRIMARY" : indexName_;
    std::vector<std::string> order;
    std::vector<std::string> primary;
    for (const engine::Row& row : indexes.rows) {
        std::string index = engine::valueToText(row[0]);
        std::string column = engine::valueToText(row[1]);
        if (base::sameName(index, orderIndex)) {
            order.push_back(column);
        }
        if (index == "PRIMARY") {
            primary.push_back(column);
        }
    }
    std::string sql = "SELECT * FROM " + quoteName(tableName_);
    for (size_t i = 0; i < order.size(); ++i) {
        sql += (i == 0 ? " ORDER BY " : ", ") + quoteName(order[i]);
    }
    engine::QueryResult result = session_->query(sql);
    fields_ = std::move(result.fields);
    rows_ = std::move(result.rows);
    keyColumns_.clear();
    for (const std::string& column : primary) {
        keyColumns_.push_back(findField(column));
    }
    autoColumn_ = -1;
    for (int i = 0; i < fieldCount(); ++i) {
        if (fields_[static_cast<size_t>(i)].type == FieldType::AutoInc) {
            autoColumn_ = i;
        }
    }
    pos_ = 0;
    state_ = State::Browse;
}

void ServerTableDataset::setValue(int index, SqlValue value) {
    requireOpen();
    field(index);
    if (state_ == State::Browse) {
        throw std::runtime_error("the current row of table '" + tableName_ +
                                 "' is not being edited or added");
    }
    buffer_[static_cast<size_t>(index)] = std::move(value);
    changed_[static_cast<size_t>(index)] = true;
}

std::string ServerTableDataset::literal(int index, const SqlValue& value) const {
    const engine::FieldInfo& info = field(index);
    if (engine::isNull(value)) {
        return "NULL";
    }
    if (info.type == FieldType::DateTime) {
        if (auto text = std::get_if<std::string>(&value)) {
            auto date = engine::parseJetDate(*text);
            return date ? dateTimeLiteral(*date) : session_->quoteText(*text);
        }
        double days = std::holds_alternative<double>(value)
                          ? std::get<double>(value)
                          : static_cast<double>(std::get<int64_t>(value));
        return dateTimeLiteral(days);
    }
    if (auto number = std::get_if<int64_t>(&value)) {
        if (info.type == FieldType::Boolean) {
            return *number != 0 ? "1" : "0";
        }
        return std::to_string(*number);
    }
    if (auto real = std::get_if<double>(&value)) {
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", *real);
        return text;
    }
    if (auto bytes = std::get_if<std::vector<uint8_t>>(&value)) {
        return hexLiteral(*bytes);
    }
    return session_->quoteText(std::get<std::string>(value));
}

std::string ServerTableDataset::rowCondition(const engine::Row& row) const {
    std::vector<int> columns = keyColumns_;
    if (columns.empty()) {
        for (int i = 0; i < fieldCount(); ++i) {
            columns.push_back(i);
        }
    }
    std::string where;
    for (int column : columns) {
        where += (where.empty() ? " WHERE " : " AND ") +
                 quoteName(fields_[static_cast<size_t>(column)].name) + " <=> " +
                 literal(column, row[static_cast<size_t>(column)]);
    }
    return where;
}

engine::Row ServerTableDataset::readBack(const engine::Row& written) {
    std::string where;
    if (autoColumn_ >= 0 && state_ == State::Insert &&
        engine::isNull(written[static_cast<size_t>(autoColumn_)])) {
        where = " WHERE " + quoteName(fields_[static_cast<size_t>(autoColumn_)].name) + " = " +
                std::to_string(session_->lastInsertId());
    } else if (!keyColumns_.empty()) {
        where = rowCondition(written);
    } else {
        return written;
    }
    engine::QueryResult result =
        session_->query("SELECT * FROM " + quoteName(tableName_) + where + " LIMIT 1");
    return result.rows.empty() ? written : result.rows.front();
}

void ServerTableDataset::post() {
    if (state_ == State::Browse) {
        return;
    }
    if (state_ == State::Insert) {
        std::string columns;
        std::string values;
        for (int i = 0; i < fieldCount(); ++i) {
            if (!changed_[static_cast<size_t>(i)]) {
                continue;
            }
            columns +=
                (columns.empty() ? "" : ", ") + quoteName(fields_[static_cast<size_t>(i)].name);
            values += (values.empty() ? "" : ", ") + literal(i, buffer_[static_cast<size_t>(i)]);
        }
        session_->execute("INSERT INTO " + quoteName(tableName_) + " (" + columns + ") VALUES (" +
                          values + ")");
        rows_.push_back(readBack(buffer_));
        pos_ = rows_.size() - 1;
    } else {
        std::string sets;
        for (int i = 0; i < fieldCount(); ++i) {
            if (changed_[static_cast<size_t>(i)]) {
                sets += (sets.empty() ? "" : ", ") +
                        quoteName(fields_[static_cast<size_t>(i)].name) + " = " +
                        literal(i, buffer_[static_cast<size_t>(i)]);
            }
        }
        if (!sets.empty()) {
            session_->execute("UPDATE " + quoteName(tableName_) + " SET " + sets +
                              rowCondition(rows_[pos_]) + " LIMIT 1");
        }
        rows_[pos_] = readBack(buffer_);
    }
    cancel();
}

}  // namespace orvdb::data::mariadb

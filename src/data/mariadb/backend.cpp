#include "data/mariadb/backend.hpp"

#include "base/names.hpp"
#include "data/field_codes.hpp"
#include "data/mariadb/datasets.hpp"
#include "data/mariadb/server_statements.hpp"
#include "data/query_cursor.hpp"
#include "data/table_cursor.hpp"
#include "data/user_tables_query.hpp"
#include "host/debug_output.hpp"
#include "host/paths.hpp"
#include "host/utf16.hpp"

namespace orvdb::data::mariadb {

std::u16string typeWord(int32_t kindCode, int32_t size) {
    switch (kindCode) {
        case kKindLong:
            return u"INT";
        case kKindFloat:
            return u"DOUBLE";
        case kKindText:
            return u"VARCHAR(" + host::toUtf16(std::to_string(static_cast<uint32_t>(size))) + u")";
        case kKindShort:
            return u"SMALLINT";
        case kKindAutoIncrement:
            // MariaDB counts only on a key column.
            return u"INT NOT NULL AUTO_INCREMENT PRIMARY KEY";
        case kKindBlob:
            return u"LONGBLOB";
        case kKindMemo:
            return u"LONGTEXT";
        case kKindTimestamp:
        case kKindDateTime:
            return u"DATETIME";
        case kKindBoolean:
            return u"BOOLEAN";
        default:
            return {};
    }
}

ServerBackend::ServerBackend(Settings settings)
    : session_(std::make_shared<Session>(std::move(settings))) {}

void ServerBackend::open(std::u16string_view) {
    session_->open();
    transactionLevel_ = 0;
}

void ServerBackend::close() {
    // Views that still wait go with the connection: said where failed
    // statements are.
    for (const std::string& waiting : session_->keptViews().waitingList()) {
        host::debugOutput("MariaDB " + describe(session_->settings()) + ": never made, " + waiting);
    }
    session_->keptViews() = KeptViews();
    session_->close();
    transactionLevel_ = 0;
}

// Nested save points are one transaction, committed by the outermost Commit.
void ServerBackend::beginTransaction() {
    if (transactionLevel_ == 0) {
        session_->execute("START TRANSACTION");
    }
    ++transactionLevel_;
}

void ServerBackend::commitTransaction() {
    if (transactionLevel_ == 0) {
        throw std::runtime_error("MariaDB " + describe(session_->settings()) +
                                 ": Commit without a transaction");
    }
    if (--transactionLevel_ == 0) {
        session_->execute("COMMIT");
    }
}

void ServerBackend::rollbackTransaction() {
    if (transactionLevel_ == 0) {
        throw std::runtime_error("MariaDB " + describe(session_->settings()) +
                                 ": Rollback without a transaction");
    }
    transactionLevel_ = 0;
    session_->execute("ROLLBACK");
}

std::vector<std::string> ServerBackend::column(const std::string& sql) const {
    engine::QueryResult result = session_->query(sql);
    std::vector<std::string> values;
    for (const engine::Row& row : result.rows) {
        values.push_back(engine::valueToText(row.front()));
    }
    return values;
}

std::vector<std::string> ServerBackend::userTableNames() const {
    return column(serverStatement(data::userTablesQuery(), *session_) + " ORDER BY TABLE_NAME");
}

std::vector<std::string> ServerBackend::fieldNames(std::string_view table) const {
    std::vector<std::string> names = column(
        "SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA=DATABASE() "
        "AND TABLE_NAME=" +
        session_->quoteText(table) + " ORDER BY ORDINAL_POSITION");
    if (names.empty()) {
        throw std::runtime_error("MariaDB " + describe(session_->settings()) + ": no table '" +
                                 std::string(table) + "'");
    }
    return names;
}

FieldDef ServerBackend::fieldDef(std::u16string_view, std::u16string_view table,
                                 std::u16string_view field) const {
    try {
        engine::QueryResult result =
            session_->query("SELECT * FROM " + quoteName(host::toUtf8(table)) + " LIMIT 0");
        for (const engine::FieldInfo& info : result.fields) {
            if (!base::sameName(info.name, host::toUtf8(field)) || !info.jetType) {
                continue;
            }
            engine::ColumnDef column;
            column.type = *info.jetType;
            column.size = info.type == engine::FieldType::Text ? info.declaredSize : info.size;
            return daoFieldDef(column);
        }
    } catch (const std::exception&) {
        // Unknown table or a closed session: the definition stays unknown.
    }
    return {0, 0};
}

ComPtr<iQueryDatabase> ServerBackend::newQuery() {
    return ComPtr<iQueryDatabase>(
        new torvc_Query(session_, std::make_unique<ServerQueryDataset>(session_)));
}

ComPtr<iTableDatabase> ServerBackend::newTable() {
    return ComPtr<iTableDatabase>(
        new torvc_Table(session_, std::make_unique<ServerTableDataset>(session_)));
}

std::u16string ServerBackend::fieldTypeText(int32_t kindCode, int32_t size) const {
    return typeWord(kindCode, size);
}

std::u16string ServerBackend::alterColumnText(int32_t value) const {
    return value == 0 ? u"MODIFY" : u"";
}

std::u16string ServerBackend::userTablesQuery() const {
    return host::toUtf16(serverStatement(data::userTablesQuery(), *session_));
}

std::u16string ServerBackend::selectAllText(std::u16string_view table) const {
    return u"SELECT * FROM " + host::toUtf16(quoteName(host::toUtf8(table)));
}

}  // namespace orvdb::data::mariadb

#include "data/jet_backend.hpp"

#include "data/field_codes.hpp"
#include "data/jet_connection_string.hpp"
#include "data/query_cursor.hpp"
#include "data/table_cursor.hpp"
#include "data/user_tables_query.hpp"
#include "host/paths.hpp"
#include "host/utf16.hpp"

namespace orvdb::data {

std::string engineConnectionString(std::u16string_view path) {
    std::string resolved = path.empty() ? std::string() : host::resolvePath(host::toUtf8(path));
    return host::toUtf8(jetConnectionString(host::toUtf16(resolved)));
}

JetBackend::JetBackend() : connection_(std::make_shared<engine::Connection>()) {}

void JetBackend::open(std::u16string_view path) {
    connection_->setConnectionString(engineConnectionString(path));
    connection_->open();
}

void JetBackend::close() {
    connection_->close();
}

std::vector<std::string> JetBackend::userTableNames() const {
    return connection_->userTableNames();
}

std::vector<std::string> JetBackend::fieldNames(std::string_view table) const {
    return connection_->fieldNames(table);
}

FieldDef JetBackend::fieldDef(std::u16string_view path, std::u16string_view table,
                              std::u16string_view field) const {
    FieldDef definition{0, 0};
    try {
        std::string file = host::toUtf8(path);
        if (file.empty() || !host::fileExists(file)) {
            return definition;
        }
        auto lookUp = [&](engine::Connection& connection) {
            const engine::TableInfo* info =
                connection.store().catalog().findTableInfo(host::toUtf8(table));
            if (!info) {
                return;
            }
            if (const engine::ColumnDef* column = info->findColumn(host::toUtf8(field))) {
                definition = daoFieldDef(*column);
            }
        };
        if (connection_->isOpen()) {
            lookUp(*connection_);
        } else {
            // The definition is read from the file even while closed.
            engine::Connection reader;
            reader.setConnectionString(engineConnectionString(path));
            reader.open();
            lookUp(reader);
            reader.close();
        }
    } catch (const std::exception&) {
        // Unknown table, unreadable file: the definition stays unknown.
    }
    return definition;
}

ComPtr<iQueryDatabase> JetBackend::newQuery() {
    return ComPtr<iQueryDatabase>(new torvc_Query(connection_));
}

ComPtr<iTableDatabase> JetBackend::newTable() {
    return ComPtr<iTableDatabase>(new torvc_Table(connection_));
}

std::u16string JetBackend::fieldTypeText(int32_t kindCode, int32_t size) const {
    return columnTypeText(kindCode, size);
}

std::u16string JetBackend::alterColumnText(int32_t value) const {
    return data::alterColumnText(value);
}

std::u16string JetBackend::userTablesQuery() const {
    return host::toUtf16(data::userTablesQuery());
}

std::u16string JetBackend::selectAllText(std::u16string_view table) const {
    return u"SELECT * FROM [" + std::u16string(table) + u"]";
}

}  // namespace orvdb::data

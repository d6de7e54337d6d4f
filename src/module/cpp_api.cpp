// The C++ API over the interfaces (include/orvdb/orvdb.hpp).
#include <orvdb/exports.h>
#include <orvdb/strings.h>
#include <orvdb/orvdb.hpp>

#include <cstdio>
#include <filesystem>

#include "data/database_factory.hpp"
#include "data/record_data.hpp"
#include "host/boundary_strings.hpp"
#include "host/paths.hpp"

namespace orvdb {

namespace {

using host::Bstr;

Bstr wide(std::string_view utf8) {
    return Bstr::fromUtf8(utf8);
}

template <class Call>
std::string textResult(Call&& call, const char* operation) {
    Bstr text;
    checkStatus(call(text.put()), operation);
    return text.utf8();
}

// The direct slots let the implementation's exceptions through.
template <class Call>
auto direct(Call&& call) {
    try {
        return call();
    } catch (const std::exception& e) {
        throw Error(ORV_E_FAIL, e.what());
    }
}

bool wordBool(OrvWordBool value) {
    return value != 0;
}

ComPtr<iQueryDatabase> pushedQuery(iDatabase& db) {
    checkStatus(db.PushQuery(), "PushQuery");
    ComPtr<iQueryDatabase> query;
    checkStatus(db.Get_ActiveQuery(query.put()), "Get_ActiveQuery");
    return query;
}

ComPtr<iTableDatabase> pushedTable(iDatabase& db) {
    checkStatus(db.PushTable(), "PushTable");
    ComPtr<iTableDatabase> table;
    checkStatus(db.Get_ActiveTable(table.put()), "Get_ActiveTable");
    return table;
}

}  // namespace

void checkStatus(OrvHResult status, const char* operation) {
    if (ORV_SUCCEEDED(status)) {
        return;
    }
    std::string message = host::lastErrorMessage();
    if (message.empty()) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(status));
        message = std::string(operation) + " failed with status " + code;
    }
    throw Error(status, message);
}

// --- Record ---

bool Record::opened() const {
    OrvWordBool value = ORV_WFALSE;
    checkStatus(record_->Get_Opened(&value), "Get_Opened");
    return wordBool(value);
}

int Record::fieldCount() const {
    int32_t count = 0;
    checkStatus(record_->FieldCount(&count), "FieldCount");
    return count;
}

std::string Record::fieldName(int index) const {
    return textResult([&](OrvBstr* out) { return record_->Get_FieldName(index, out); },
                      "Get_FieldName");
}

std::string Record::getString(std::string_view field) const {
    return textResult([&](OrvBstr* out) { return record_->Getstring(wide(field).get(), out); },
                      "Getstring");
}

int32_t Record::getInt(std::string_view field) const {
    int32_t value = 0;
    checkStatus(record_->GetInteger(wide(field).get(), &value), "GetInteger");
    return value;
}

double Record::getDouble(std::string_view field) const {
    double value = 0;
    checkStatus(record_->GetDouble(wide(field).get(), &value), "GetDouble");
    return value;
}

bool Record::getBool(std::string_view field) const {
    return direct([&] { return wordBool(record_->GetBoolean(wide(field).get())); });
}

OrvDateTime Record::getDateTime(std::string_view field) const {
    return direct([&] { return record_->GetDateTime(wide(field).get()); });
}

namespace {

// Calls `read` on the library's own cursor behind record; throws for a
// cursor of another implementation.
template <class Read>
auto onOwnCursor(const iRecordDatabase* record, const char* operation, Read&& read) {
    if (auto* query = dynamic_cast<const data::TORVC_Data<iQueryDatabase>*>(record)) {
        return read(*query);
    }
    if (auto* table = dynamic_cast<const data::TORVC_Data<iTableDatabase>*>(record)) {
        return read(*table);
    }
    throw Error(ORV_E_NOTIMPL,
                std::string(operation) + ": the cursor was not made by this library");
}

}  // namespace

bool Record::isNull(std::string_view field) const {
    return direct([&] {
        return onOwnCursor(record_, "isNull",
                           [&](const auto& cursor) { return cursor.isNull(field); });
    });
}

std::string Record::lastError() const {
    return onOwnCursor(record_, "lastError", [](const auto& cursor) { return cursor.lastError(); });
}

void Record::setString(std::string_view field, std::string_view text) {
    checkStatus(record_->Setstring(wide(field).get(), wide(text).get()), "Setstring");
}

void Record::setInt(std::string_view field, int32_t value) {
    checkStatus(record_->SetInteger(wide(field).get(), value), "SetInteger");
}

void Record::setDouble(std::string_view field, double value) {
    checkStatus(record_->SetDouble(wide(field).get(), value), "SetDouble");
}

void Record::setBool(std::string_view field, bool value) {
    checkStatus(record_->SetBoolean(wide(field).get(), value ? ORV_WTRUE : ORV_WFALSE),
                "SetBoolean");
}

void Record::setDateTime(std::string_view field, OrvDateTime value) {
    checkStatus(record_->SetDateTime(wide(field).get(), value), "SetDateTime");
}

// --- Query ---

Query::Query(ComPtr<iQueryDatabase> query) : Record(query.get()), query_(std::move(query)) {}

bool Query::openSql(std::string_view sql, int32_t kind) {
    checkStatus(query_->Set_TypeRequete(kind), "Set_TypeRequete");
    OrvWordBool found = ORV_WFALSE;
    checkStatus(query_->OpenSQL(wide(sql).get(), &found), "OpenSQL");
    return wordBool(found);
}

bool Query::select(std::string_view sql) {
    return openSql(sql, 0);
}

bool Query::execute(std::string_view sql) {
    return openSql(sql, 1);
}

bool Query::next() {
    checkStatus(query_->Next(), "Next");
    return opened();
}

int Query::recordCount() const {
    int32_t count = 0;
    checkStatus(query_->Get_RecordCount(&count), "Get_RecordCount");
    return count;
}

// --- Table ---

Table::Table(ComPtr<iTableDatabase> table) : Record(table.get()), table_(std::move(table)) {}

void Table::open(std::string_view tableName) {
    checkStatus(table_->Set_Tablename(wide(tableName).get()), "Set_Tablename");
}

void Table::seek(std::string_view id) {
    checkStatus(table_->Set_IdRow(wide(id).get()), "Set_IdRow");
}

void Table::edit() {
    checkStatus(table_->Edit(), "Edit");
}

void Table::append() {
    checkStatus(table_->Append(), "Append");
}

void Table::post() {
    checkStatus(table_->Post(), "Post");
}

void Table::last() {
    checkStatus(table_->Last(), "Last");
}

std::string Table::id() const {
    return textResult([&](OrvBstr* out) { return table_->Get_IdRow(out); }, "Get_IdRow");
}

// --- Database ---

Database Database::fromSettings(const std::string& settingsFile, const std::string& alias) {
    host::HostString file = host::HostString::fromUtf8(settingsFile);
    host::HostString section = host::HostString::fromUtf8(alias);
    OrvIDatabase* database = nullptr;
    const OrvHResult status = ::OpenDatabase(file.get(), section.get(), &database);
    if (status == ORV_E_INVALIDARG) {
        throw Error(status, "settings file '" + settingsFile + "' does not exist");
    }
    if (status == ORV_S_FALSE) {
        throw Error(status, "section CONNEXION" + alias + " of '" + settingsFile +
                                "' names no database (NAME empty, or no file at PATH)");
    }
    checkStatus(status, "OpenDatabase");
    return Database(ComPtr<iDatabase>::adopt(reinterpret_cast<iDatabase*>(database)));
}

Database Database::openFile(const std::string& path, const std::string& name) {
    if (!host::fileExists(path)) {
        std::error_code error;
        throw Error(ORV_E_INVALIDARG,
                    std::filesystem::exists(path, error)
                        ? "'" + path +
                              "' is not a regular file (a folder, device or pipe): only "
                              "database files open"
                        : "database file '" + path + "' does not exist");
    }
    const std::string dbName = name.empty() ? std::filesystem::path(path).stem().string() : name;
    Database db(data::createDatabase(host::toUtf16(dbName), u"", host::toUtf16(dbName), false, u"",
                                     host::toUtf16(path), nullptr));
    checkStatus(db.get()->Open(), "Open");
    if (!db.opened()) {
        throw Error(ORV_E_FAIL, "database file '" + path +
                                    "' could not be opened (the reason went to the host's "
                                    "exception handler)");
    }
    return db;
}

Database::Database(ComPtr<iDatabase> database) : db_(std::move(database)) {
    if (!db_) {
        throw Error(ORV_E_POINTER, "Database: no database object");
    }
}

bool Database::opened() const {
    OrvWordBool value = ORV_WFALSE;
    checkStatus(db_->Get_Opened(&value), "Get_Opened");
    return wordBool(value);
}

void Database::open() {
    checkStatus(db_->Open(), "Open");
    if (!opened()) {
        throw Error(ORV_E_FAIL, "database '" + name() +
                                    "' could not be opened (the reason went to the host's "
                                    "exception handler)");
    }
}

void Database::close() {
    checkStatus(db_->Close(), "Close");
}

std::string Database::name() const {
    return textResult([&](OrvBstr* out) { return db_->Get_dbname(out); }, "Get_dbname");
}

bool Database::tableExists(std::string_view table) const {
    OrvWordBool exists = ORV_WFALSE;
    checkStatus(db_->TableExists(wide(table).get(), &exists), "TableExists");
    return wordBool(exists);
}

bool Database::fieldExists(std::string_view table, std::string_view field) const {
    OrvWordBool exists = ORV_WFALSE;
    checkStatus(db_->FieldExists(wide(table).get(), wide(field).get(), &exists), "FieldExists");
    return wordBool(exists);
}

bool Database::execute(std::string_view sql) {
    QueryScope query(*this);
    return query->execute(sql);
}

void Database::savePoint() {
    checkStatus(db_->SavePoint(), "SavePoint");
}

void Database::commit() {
    checkStatus(db_->Commit(), "Commit");
}

void Database::rollback() {
    checkStatus(db_->Rollback(), "Rollback");
}

// --- Scopes ---

QueryScope::QueryScope(Database& db) : db_(db.get()), query_(pushedQuery(*db.get())) {}

QueryScope::~QueryScope() {
    db_->PopQuery();  // the level this scope pushed; popping it cannot fail
}

TableScope::TableScope(Database& db) : db_(db.get()), table_(pushedTable(*db.get())) {}

TableScope::~TableScope() {
    db_->PopTable();
}

}  // namespace orvdb

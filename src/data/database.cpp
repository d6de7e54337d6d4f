#include "data/database.hpp"

#include "base/names.hpp"
#include "data/boundary_values.hpp"
#include "data/field_codes.hpp"
#include "data/jet_backend.hpp"
#include "data/jet_connection_string.hpp"
#include "host/paths.hpp"
#include "host/reporting.hpp"

namespace orvdb::data {

using host::guarded;

torvc_Database::torvc_Database(std::u16string_view name, std::u16string_view format,
                               std::u16string_view paramFilePath, std::u16string_view path,
                               IServerInfo* serverInfo)
    : torvc_Database(name, format, paramFilePath, path, serverInfo,
                     std::make_unique<JetBackend>()) {}

torvc_Database::torvc_Database(std::u16string_view name, std::u16string_view format,
                               std::u16string_view paramFilePath, std::u16string_view path,
                               IServerInfo* serverInfo, std::unique_ptr<DatabaseBackend> backend)
    : paramFilename_(paramFilePath),
      dbname_(name),
      path_(path),
      format_(format),
      connectionString_(jetConnectionString(path)),
      backend_(std::move(backend)),
      serverInfo_(serverInfo) {}

torvc_Database::~torvc_Database() {
    dbname_.clear();
    path_.clear();
    format_.clear();
    try {
        setQueryCount(0);
        setTableCount(0);
    } catch (...) {
        // Closing cursors does not fail; a destructor has nobody to tell.
    }
    // Whatever the stacks could not drop is closed and dropped here.
    for (auto it = tables_.rbegin(); it != tables_.rend(); ++it) {
        if (*it) {
            (*it)->Set_Opened(ORV_WFALSE);
        }
    }
    tables_.clear();
    for (auto it = queries_.rbegin(); it != queries_.rend(); ++it) {
        if (*it) {
            (*it)->Set_Opened(ORV_WFALSE);
        }
    }
    queries_.clear();
    try {
        backend_->close();
    } catch (...) {
        // The write-back failed; the engine keeps the original file intact.
    }
}

engine::Connection& torvc_Database::connection() {
    auto* jet = dynamic_cast<JetBackend*>(backend_.get());
    if (!jet) {
        throw std::runtime_error("database '" + host::toUtf8(dbname_) +
                                 "' is not an Access database");
    }
    return jet->connection();
}

void torvc_Database::setWorkingFolder(std::string folder) {
    backend_->setWorkingFolder(std::move(folder));
}

void torvc_Database::setOpened(bool value) {
    for (size_t i = 0; i < queries_.size(); ++i) {
        activeQuery_ = static_cast<int32_t>(i);
        host::throwIfFailed(queries_[i]->Set_Opened(ORV_WFALSE), "Set_Opened of a query");
    }
    for (size_t i = 0; i < tables_.size(); ++i) {
        activeTable_ = static_cast<int32_t>(i);
        host::throwIfFailed(tables_[i]->Set_Opened(ORV_WFALSE), "Set_Opened of a table");
    }
    opened_ = value;
}

bool torvc_Database::tableExists(std::u16string_view name) const {
    std::vector<std::string> tables = backend_->userTableNames();
    if (name.size() >= 2 && name.front() == u'[' && name.back() == u']') {
        name = name.substr(1, name.size() - 2);
    }
    std::string wanted = host::toUtf8(name);
    for (const std::string& table : tables) {
        if (base::sameName(table, wanted)) {
            return true;
        }
    }
    return false;
}

bool torvc_Database::fieldExists(std::u16string_view table, std::u16string_view field) const {
    std::vector<std::string> fields = backend_->fieldNames(host::toUtf8(table));
    std::string wanted = host::toUtf8(field);
    for (const std::string& name : fields) {
        if (base::sameName(name, wanted)) {
            return true;
        }
    }
    return false;
}

// --- iDatabase ---

OrvHResult torvc_Database::Get_Opened(OrvWordBool* opened) {
    return guarded([&] { outArgument(opened, "Get_Opened") = wordBool(opened_); });
}

OrvHResult torvc_Database::Set_Opened(OrvWordBool opened) {
    return guarded([&] { setOpened(opened != 0); });
}

OrvHResult torvc_Database::GetVersion(OrvBstr* version) {
    host::clearOut(version);
    return guarded([&] {
        outArgument(version, "GetVersion");
        setOut(version, this->version(), "GetVersion");
    });
}

OrvHResult torvc_Database::ChangePath(const char16_t* newPath) {
    return guarded([&] {
        path_ = newPath ? std::u16string(newPath) : std::u16string();
        connectionString_ = jetConnectionString(path_);
    });
}

void torvc_Database::replaceBackend(std::unique_ptr<DatabaseBackend> backend) {
    if (backend_->isOpen()) {
        throw std::runtime_error("the database " + host::toUtf8(path_) +
                                 " is open: close it before it changes backend");
    }
    if (!queries_.empty() || !tables_.empty()) {
        throw std::runtime_error("the database " + host::toUtf8(path_) +
                                 " has cursors in use: pop them before it changes backend");
    }
    backend_ = std::move(backend);
}

OrvHResult torvc_Database::Open() {
    return guarded([&] {
        setOpened(false);
        // A database that cannot be opened is the host's to report; the
        // caller learns of it from Get_Opened.
        try {
            backend_->open(path_);
            setOpened(true);
        } catch (const std::exception& e) {
            host::HandleException(e);
        }
    });
}

OrvHResult torvc_Database::Close() {
    return guarded([&] {
        setOpened(false);
        setQueryCount(0);
        setTableCount(0);
        backend_->close();
    });
}

OrvHResult torvc_Database::Purge() {
    return guarded([&] { purge(); });
}

OrvHResult torvc_Database::Get_dbname(OrvBstr* name) {
    host::clearOut(name);
    return guarded([&] { setOut(name, dbname_, "Get_dbname"); });
}

OrvHResult torvc_Database::Set_dbname(OrvBstr name) {
    return guarded([&] { dbname_ = host::bstrView(name); });
}

OrvHResult torvc_Database::SavePoint() {
    return guarded([&] { backend_->beginTransaction(); });
}

OrvHResult torvc_Database::Commit() {
    return guarded([&] { backend_->commitTransaction(); });
}

OrvHResult torvc_Database::Rollback() {
    return guarded([&] { backend_->rollbackTransaction(); });
}

OrvHResult torvc_Database::ReadDump(void*, void*) {
    return guarded([] {});
}

OrvHResult torvc_Database::TableExists(OrvBstr table, OrvWordBool* exists) {
    return guarded(
        [&] { outArgument(exists, "TableExists") = wordBool(tableExists(host::bstrView(table))); });
}

OrvHResult torvc_Database::FieldExists(OrvBstr table, OrvBstr field, OrvWordBool* exists) {
    return guarded([&] {
        outArgument(exists, "FieldExists") =
            wordBool(fieldExists(host::bstrView(table), host::bstrView(field)));
    });
}

OrvHResult torvc_Database::Update(IInterface* rightsHost, IInterface* hostObject) {
    return guarded([&] { update(rightsHost, hostObject); });
}

OrvHResult torvc_Database::Get_SQL(int32_t index, OrvBstr* sql) {
    host::clearOut(sql);
    return guarded([&] {
        outArgument(sql, "Get_SQL");
        setOut(sql, this->sql(index), "Get_SQL");
    });
}

OrvHResult torvc_Database::ExecSQLScript(void*) {
    return guarded([] {});
}

OrvHResult torvc_Database::ExportTo(void*, void*) {
    return guarded([] {});
}

OrvHResult torvc_Database::Get_ServerInfo(IServerInfo** info) {
    host::clearOut(info);
    return guarded([&] { outArgument(info, "Get_ServerInfo") = ComPtr(serverInfo_).detach(); });
}

OrvHResult torvc_Database::Get_FieldTypeText(int32_t kindCode, int32_t size, OrvBstr* typeText) {
    host::clearOut(typeText);
    return guarded(
        [&] { setOut(typeText, backend_->fieldTypeText(kindCode, size), "Get_FieldTypeText"); });
}

OrvHResult torvc_Database::Get_AlterColumnText(int32_t value, OrvBstr* text) {
    host::clearOut(text);
    return guarded([&] { setOut(text, backend_->alterColumnText(value), "Get_AlterColumnText"); });
}

OrvHResult torvc_Database::Get_SortOrderText(int32_t order, OrvBstr* text) {
    host::clearOut(text);
    return guarded([&] { setOut(text, sortOrderText(order), "Get_SortOrderText"); });
}

}  // namespace orvdb::data

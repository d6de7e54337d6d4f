// torvc_Database: one Access database as the host sees it. It owns the engine
// connection and two stacks of cursors (queries and tables) through which all
// reading and writing is done, answers schema questions, runs transactions,
// and carries the whole-database operations (empty, list tables, export a
// table, column definitions). The database kinds derive from it and override
// its hooks.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/database_backend.hpp"
#include "engine/dataset/connection.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::data {

class torvc_Database : public host::TInterfacedObjectEx<iDatabase> {
public:
    // Construction never opens the database: the hooks of a derived kind are
    // not reachable from a constructor, so whoever creates the object calls
    // Open afterwards (createDatabase does).
    torvc_Database(std::u16string_view name, std::u16string_view format,
                   std::u16string_view paramFilePath, std::u16string_view path,
                   IServerInfo* serverInfo);
    // The same on another kind of database (a server) than an Access file.
    torvc_Database(std::u16string_view name, std::u16string_view format,
                   std::u16string_view paramFilePath, std::u16string_view path,
                   IServerInfo* serverInfo, std::unique_ptr<DatabaseBackend> backend);
    ~torvc_Database() override;

    // --- iDatabase (slots 3 to 36) ---
    OrvHResult Get_ActiveQuery(iQueryDatabase** query) override;
    OrvHResult Get_ActiveTable(iTableDatabase** table) override;
    OrvHResult Get_Opened(OrvWordBool* opened) override;
    OrvHResult Set_Opened(OrvWordBool opened) override;
    OrvHResult GetVersion(OrvBstr* version) override;
    OrvHResult ChangePath(const char16_t* newPath) override;
    OrvHResult Open() override;
    OrvHResult Close() override;
    OrvHResult Purge() override;
    OrvHResult Empty() override;
    OrvHResult Get_dbname(OrvBstr* name) override;
    OrvHResult SavePoint() override;
    OrvHResult Commit() override;
    OrvHResult Rollback() override;
    OrvHResult PushQuery() override;
    OrvHResult PopQuery() override;
    OrvHResult PushTable() override;
    OrvHResult PopTable() override;
    OrvHResult ReadDump(void* unused1, void* unused2) override;
    OrvHResult Get_FieldDef(OrvBstr table, OrvBstr field, FieldDef* definition) override;
    OrvHResult Set_dbname(OrvBstr name) override;
    OrvHResult TableExists(OrvBstr table, OrvWordBool* exists) override;
    OrvHResult Update(IInterface* rightsHost, IInterface* hostObject) override;
    OrvHResult Get_SQL(int32_t index, OrvBstr* sql) override;
    OrvHResult Get_TableList(void* unused, IInterfaceList* list) override;
    OrvHResult ExportTable(ISystemObject* table, iDatabase* target) override;
    OrvHResult ExecSQLScript(void* unused) override;
    OrvHResult ExportTo(void* unused1, void* unused2) override;
    OrvHResult Get_ServerInfo(IServerInfo** info) override;
    OrvHResult Get_FieldTypeText(int32_t kindCode, int32_t size, OrvBstr* typeText) override;
    OrvHResult Get_AlterColumnText(int32_t value, OrvBstr* text) override;
    OrvHResult FieldExists(OrvBstr table, OrvBstr field, OrvWordBool* exists) override;
    OrvHResult EmptyTable(OrvBstr table) override;
    OrvHResult Get_SortOrderText(int32_t order, OrvBstr* text) override;

    // --- outside the interface ---
    void pushProcedure();
    // Nothing when the procedure stack is already empty.
    void popProcedure();
    void writeDump(void*, void*) {}

    bool opened() const { return opened_; }
    const std::u16string& dbname() const { return dbname_; }
    const std::u16string& path() const { return path_; }
    const std::u16string& format() const { return format_; }
    const std::u16string& paramFilename() const { return paramFilename_; }
    // The text built from the path as it was given.
    const std::u16string& connectionString() const { return connectionString_; }
    IServerInfo* serverInfo() const { return serverInfo_.get(); }
    // The engine connection of an Access database; raises for another kind.
    engine::Connection& connection();
    DatabaseBackend& backend() { return *backend_; }
    // The folder SQL that names another database by a relative name
    // ([XLIB].TypeArticleXLIB) resolves it from, for this connection only
    // (the process's working directory is never changed); on a server, the
    // folder where NAME.mariadb names that database there.
    void setWorkingFolder(std::string folder);

    int32_t queryDepth() const { return queryDepth_; }
    int32_t tableDepth() const { return tableDepth_; }
    int32_t procedureDepth() const { return procedureDepth_; }
    int32_t activeQueryIndex() const { return activeQuery_; }
    int32_t activeTableIndex() const { return activeTable_; }
    int32_t activeProcedureIndex() const { return activeProcedure_; }

    // Whether a user table of that name exists; brackets around the name and
    // letter case do not matter.
    bool tableExists(std::u16string_view name) const;
    bool fieldExists(std::u16string_view table, std::u16string_view field) const;
    // Type and size of a column as DAO numbers them; {0, 0} when unknown.
    FieldDef fieldDef(std::u16string_view table, std::u16string_view field) const;

protected:
    // --- hooks the database kinds override ---
    // Base: closes every cursor of both stacks and records the flag; it
    // neither connects nor disconnects.
    virtual void setOpened(bool value);
    virtual void backup() {}
    virtual void purge() {}
    // The schema version as text; the base holds none.
    virtual std::u16string version() { return u"0.0"; }
    virtual void update(IInterface* rightsHost, IInterface* hostObject) {}
    virtual std::u16string sql(int32_t index) { return {}; }

    // Puts the connection on another database backend; raises while open
    // or while a cursor of the present one is in a stack.
    void replaceBackend(std::unique_ptr<DatabaseBackend> backend);

private:
    void setQueryCount(int32_t depth);
    void setTableCount(int32_t depth);
    void setProcedureCount(int32_t depth);
    void emptyAllTables();
    void listTables(IInterfaceList& list);
    void exportTable(ISystemObject& table, iDatabase& target);
    void emptyTable(std::u16string_view table);

    std::u16string paramFilename_;
    bool opened_ = false;
    std::u16string dbname_;
    std::u16string path_;
    std::u16string format_;
    std::u16string connectionString_;
    std::vector<ComPtr<iQueryDatabase>> queries_;
    std::vector<ComPtr<iTableDatabase>> tables_;
    int32_t activeQuery_ = -1;
    int32_t activeTable_ = -1;
    int32_t activeProcedure_ = -1;
    int32_t queryDepth_ = 0;
    int32_t tableDepth_ = 0;
    int32_t procedureDepth_ = 0;
    std::unique_ptr<DatabaseBackend> backend_;
    ComPtr<IServerInfo> serverInfo_;
};

}  // namespace orvdb::data

// A stand-in for another database: it gives its own column type words and
// records every statement its queries are asked to run, with the statement
// kind in force, so that tests can read exactly what an export sends.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <memory>
#include <string>
#include <vector>

#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::data::testing {

using EventLog = std::shared_ptr<std::vector<std::string>>;

class RecordingQuery final : public host::TInterfacedObjectEx<iQueryDatabase> {
public:
    explicit RecordingQuery(EventLog log) : log_(std::move(log)) {}

    OrvHResult Get_TypeRequete(int32_t* kind) override {
        *kind = kind_;
        return ORV_S_OK;
    }
    OrvHResult Set_TypeRequete(int32_t kind) override {
        kind_ = kind;
        return ORV_S_OK;
    }
    OrvHResult OpenSQL(OrvBstr sql, OrvWordBool* found) override {
        log_->push_back("[" + std::to_string(kind_) + "] " + host::toUtf8(host::bstrView(sql)));
        *found = ORV_WFALSE;
        return ORV_S_OK;
    }
    OrvHResult Get_Opened(OrvWordBool* opened) override {
        *opened = ORV_WFALSE;
        return ORV_S_OK;
    }

    // Nothing else is expected of a target's query.
    OrvHResult Set_Opened(OrvWordBool) override { return ORV_E_NOTIMPL; }
    OrvHResult Get_FieldName(int32_t, OrvBstr*) override { return ORV_E_NOTIMPL; }
    OrvHResult GetFieldStructure(int32_t, OrvBstr*, OrvBstr*) override { return ORV_E_NOTIMPL; }
    OrvHResult FieldCount(int32_t*) override { return ORV_E_NOTIMPL; }
    OrvHResult Getstring(OrvBstr, OrvBstr*) override { return ORV_E_NOTIMPL; }
    OrvHResult Setstring(OrvBstr, OrvBstr) override { return ORV_E_NOTIMPL; }
    OrvHResult SetInteger(OrvBstr, int32_t) override { return ORV_E_NOTIMPL; }
    OrvHResult SetColor(OrvBstr, int32_t) override { return ORV_E_NOTIMPL; }
    OrvHResult GetColor(OrvBstr, int32_t*) override { return ORV_E_NOTIMPL; }
    OrvHResult GetFloat(OrvBstr, float*) override { return ORV_E_NOTIMPL; }
    OrvHResult SetFloat(OrvBstr, float) override { return ORV_E_NOTIMPL; }
    OrvHResult GetInteger(OrvBstr, int32_t*) override { return ORV_E_NOTIMPL; }
    OrvHResult SetSerializable(OrvBstr, iSerializable*) override { return ORV_E_NOTIMPL; }
    OrvHResult GetSerializable(OrvBstr, iSerializable*) override { return ORV_E_NOTIMPL; }
    OrvHResult GetSerializableWithCreate(OrvBstr, iSerializable**) override {
        return ORV_E_NOTIMPL;
    }
    OrvHResult SetSerializableWithCreate(OrvBstr, iSerializable*) override { return ORV_E_NOTIMPL; }
    OrvHResult GetDouble(OrvBstr, double*) override { return ORV_E_NOTIMPL; }
    OrvHResult SetDouble(OrvBstr, double) override { return ORV_E_NOTIMPL; }
    OrvHResult FillStream(OrvBstr) override { return ORV_E_NOTIMPL; }
    OrvHResult SaveFileInBlobField(OrvBstr, OrvBstr) override { return ORV_E_NOTIMPL; }
    IZvStream* GetBlob(OrvBstr) override { return nullptr; }
    OrvHResult SetBlob(OrvBstr, IZvStream*) override { return ORV_E_NOTIMPL; }
    OrvWordBool GetBoolean(OrvBstr) override { return ORV_WFALSE; }
    OrvHResult SetBoolean(OrvBstr, OrvWordBool) override { return ORV_E_NOTIMPL; }
    OrvDateTime GetDateTime(OrvBstr) override { return 0; }
    OrvHResult SetDateTime(OrvBstr, OrvDateTime) override { return ORV_E_NOTIMPL; }
    OrvHResult GetFieldInternalTypeStructure(int32_t, OrvBstr*, int32_t*, int32_t*) override {
        return ORV_E_NOTIMPL;
    }
    OrvHResult Get_RecordCount(int32_t*) override { return ORV_E_NOTIMPL; }
    OrvHResult Next() override { return ORV_E_NOTIMPL; }
    OrvHResult FillstringList(IWideStringList*, OrvBstr) override { return ORV_E_NOTIMPL; }

private:
    EventLog log_;
    int32_t kind_ = 0;
};

class RecordingTarget final : public host::TInterfacedObjectEx<iDatabase> {
public:
    explicit RecordingTarget(EventLog log) : log_(std::move(log)) {}

    int32_t depth() const { return static_cast<int32_t>(queries_.size()); }

    OrvHResult PushQuery() override {
        queries_.emplace_back(new RecordingQuery(log_));
        return ORV_S_OK;
    }
    OrvHResult PopQuery() override {
        if (!queries_.empty())
            queries_.pop_back();
        return ORV_S_OK;
    }
    OrvHResult Get_ActiveQuery(iQueryDatabase** query) override {
        if (queries_.empty())
            return ORV_E_FAIL;
        *query = ComPtr<iQueryDatabase>(queries_.back()).detach();
        return ORV_S_OK;
    }
    // Words of its own, to show that the export asks the target.
    OrvHResult Get_FieldTypeText(int32_t kindCode, int32_t size, OrvBstr* typeText) override {
        *typeText =
            host::Bstr::fromUtf8("T" + std::to_string(kindCode) + "/" + std::to_string(size))
                .release();
        return ORV_S_OK;
    }

    OrvHResult Get_ActiveTable(iTableDatabase**) override { return ORV_E_NOTIMPL; }
    OrvHResult Get_Opened(OrvWordBool*) override { return ORV_E_NOTIMPL; }
    OrvHResult Set_Opened(OrvWordBool) override { return ORV_E_NOTIMPL; }
    OrvHResult GetVersion(OrvBstr*) override { return ORV_E_NOTIMPL; }
    OrvHResult ChangePath(const char16_t*) override { return ORV_E_NOTIMPL; }
    OrvHResult Open() override { return ORV_E_NOTIMPL; }
    OrvHResult Close() override { return ORV_E_NOTIMPL; }
    OrvHResult Purge() override { return ORV_E_NOTIMPL; }
    OrvHResult Empty() override { return ORV_E_NOTIMPL; }
    OrvHResult Get_dbname(OrvBstr*) override { return ORV_E_NOTIMPL; }
    OrvHResult SavePoint() override { return ORV_E_NOTIMPL; }
    OrvHResult Commit() override { return ORV_E_NOTIMPL; }
    OrvHResult Rollback() override { return ORV_E_NOTIMPL; }
    OrvHResult PushTable() override { return ORV_E_NOTIMPL; }
    OrvHResult PopTable() override { return ORV_E_NOTIMPL; }
    OrvHResult ReadDump(void*, void*) override { return ORV_E_NOTIMPL; }
    OrvHResult Get_FieldDef(OrvBstr, OrvBstr, FieldDef*) override { return ORV_E_NOTIMPL; }
    OrvHResult Set_dbname(OrvBstr) override { return ORV_E_NOTIMPL; }
    OrvHResult TableExists(OrvBstr, OrvWordBool*) override { return ORV_E_NOTIMPL; }
    OrvHResult Update(IInterface*, IInterface*) override { return ORV_E_NOTIMPL; }
    OrvHResult Get_SQL(int32_t, OrvBstr*) override { return ORV_E_NOTIMPL; }
    OrvHResult Get_TableList(void*, IInterfaceList*) override { return ORV_E_NOTIMPL; }
    OrvHResult ExportTable(ISystemObject*, iDatabase*) override { return ORV_E_NOTIMPL; }
    OrvHResult ExecSQLScript(void*) override { return ORV_E_NOTIMPL; }
    OrvHResult ExportTo(void*, void*) override { return ORV_E_NOTIMPL; }
    OrvHResult Get_ServerInfo(IServerInfo**) override { return ORV_E_NOTIMPL; }
    OrvHResult Get_AlterColumnText(int32_t, OrvBstr*) override { return ORV_E_NOTIMPL; }
    OrvHResult FieldExists(OrvBstr, OrvBstr, OrvWordBool*) override { return ORV_E_NOTIMPL; }
    OrvHResult EmptyTable(OrvBstr) override { return ORV_E_NOTIMPL; }
    OrvHResult Get_SortOrderText(int32_t, OrvBstr*) override { return ORV_E_NOTIMPL; }

private:
    EventLog log_;
    std::vector<ComPtr<iQueryDatabase>> queries_;
};

}  // namespace orvdb::data::testing

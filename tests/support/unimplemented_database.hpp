// Stand-ins for another database and its query that answer every call with
// "not implemented" (or an empty value): a test derives from them and
// overrides only what the code under test calls.
#pragma once

#include <orvdb/interfaces.hpp>

#include "host/interfaced_object.hpp"

namespace orvdb::test_support {

class UnimplementedQuery : public host::TInterfacedObjectEx<iQueryDatabase> {
public:
    OrvHResult Get_TypeRequete(int32_t*) override { return ORV_E_NOTIMPL; }
    OrvHResult Set_TypeRequete(int32_t) override { return ORV_E_NOTIMPL; }
    OrvHResult OpenSQL(OrvBstr, OrvWordBool*) override { return ORV_E_NOTIMPL; }
    OrvHResult Get_Opened(OrvWordBool*) override { return ORV_E_NOTIMPL; }
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
};

class UnimplementedDatabase : public host::TInterfacedObjectEx<iDatabase> {
public:
    OrvHResult PushQuery() override { return ORV_E_NOTIMPL; }
    OrvHResult PopQuery() override { return ORV_E_NOTIMPL; }
    OrvHResult Get_ActiveQuery(iQueryDatabase**) override { return ORV_E_NOTIMPL; }
    OrvHResult Get_FieldTypeText(int32_t, int32_t, OrvBstr*) override { return ORV_E_NOTIMPL; }
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
};

}  // namespace orvdb::test_support

// A stand-in for a database of another engine: it records every statement
// (text, kind, query-stack depth), answers schema questions from sets, names
// types with its own words and raises on the statements it is told to; a
// select finds a row only for "SELECT Version FROM Version".
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::test_support {

// Every call answers "not implemented" (or an empty value).
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

struct RecordedStatement {
    int depth;  // of the query stack when the statement ran
    int kind;   // FTypeRequete
    std::string sql;
};

struct StandInState {
    float version = 0;
    bool hasVersion = true;         // SELECT Version FROM Version finds a row
    std::set<std::string> tables;   // that exist
    std::set<std::string> fields;   // "table.field" that exist
    std::set<std::string> raising;  // statements whose execution fails
    bool commandsOnly = false;      // selects (kind 0) are not recorded
    std::vector<RecordedStatement> recorded;
    int depth = 0;  // of the query stack
    // "T<kind code>/<size>" unless told otherwise: a caller that makes its own
    // words shows.
    std::function<std::string(int32_t code, int32_t size)> typeWord = [](int32_t code,
                                                                         int32_t size) {
        return "T" + std::to_string(code) + "/" + std::to_string(size);
    };
    std::string alterColumn;  // the words for ALTER COLUMN

    std::vector<std::string> statements() const {
        std::vector<std::string> texts;
        for (const RecordedStatement& statement : recorded) {
            texts.push_back(statement.sql);
        }
        return texts;
    }
};

class StandInQuery : public UnimplementedQuery {
public:
    StandInQuery(StandInState& state, int depth) : state_(state), depth_(depth) {}
    OrvHResult Set_TypeRequete(int32_t kind) override {
        kind_ = kind;
        return ORV_S_OK;
    }
    OrvHResult Get_TypeRequete(int32_t* kind) override {
        *kind = kind_;
        return ORV_S_OK;
    }
    OrvHResult OpenSQL(OrvBstr sql, OrvWordBool* found) override {
        std::string text = host::toUtf8(host::bstrView(sql));
        opened_ = kind_ == 0 && text == "SELECT Version FROM Version" && state_.hasVersion;
        if (kind_ != 0 || !state_.commandsOnly) {
            state_.recorded.push_back({depth_, kind_, text});
        }
        *found = opened_ ? ORV_WTRUE : ORV_WFALSE;
        return state_.raising.count(text) ? ORV_E_FAIL : ORV_S_OK;
    }
    OrvHResult Get_Opened(OrvWordBool* opened) override {
        *opened = opened_ ? ORV_WTRUE : ORV_WFALSE;
        return ORV_S_OK;
    }
    OrvHResult GetFloat(OrvBstr, float* value) override {
        *value = state_.version;
        return opened_ ? ORV_S_OK : ORV_E_FAIL;
    }

private:
    StandInState& state_;
    int depth_;
    int32_t kind_ = 0;
    bool opened_ = false;
};

class StandInDatabase : public UnimplementedDatabase {
public:
    StandInState state;

    OrvHResult PushQuery() override {
        queries_.emplace_back(new StandInQuery(state, ++state.depth));
        return ORV_S_OK;
    }
    OrvHResult PopQuery() override {
        if (!queries_.empty()) {
            queries_.pop_back();
            --state.depth;
        }
        return ORV_S_OK;
    }
    OrvHResult Get_ActiveQuery(iQueryDatabase** query) override {
        if (queries_.empty()) {
            *query = nullptr;
            return ORV_E_FAIL;
        }
        *query = ComPtr<iQueryDatabase>(queries_.back().get()).detach();
        return ORV_S_OK;
    }
    OrvHResult Get_FieldTypeText(int32_t code, int32_t size, OrvBstr* text) override {
        *text = host::Bstr::fromUtf8(state.typeWord(code, size)).release();
        return ORV_S_OK;
    }
    OrvHResult Get_AlterColumnText(int32_t value, OrvBstr* text) override {
        *text = host::Bstr::fromUtf8(value == 0 ? state.alterColumn : "").release();
        return ORV_S_OK;
    }
    OrvHResult TableExists(OrvBstr table, OrvWordBool* exists) override {
        *exists = state.tables.count(host::toUtf8(host::bstrView(table))) ? ORV_WTRUE : ORV_WFALSE;
        return ORV_S_OK;
    }
    OrvHResult FieldExists(OrvBstr table, OrvBstr field, OrvWordBool* exists) override {
        std::string name =
            host::toUtf8(host::bstrView(table)) + "." + host::toUtf8(host::bstrView(field));
        *exists = state.fields.count(name) ? ORV_WTRUE : ORV_WFALSE;
        return ORV_S_OK;
    }

private:
    std::vector<ComPtr<StandInQuery>> queries_;
};

}  // namespace orvdb::test_support

// A database that answers the schema questions of an upgrade from sets,
// names its types through a function of its own, records the statements it
// is given (in command mode, or all) and raises on the ones it is told to.
// It shows the exact texts a driver sends to a database of another engine.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "host/boundary_strings.hpp"
#include "unimplemented_database.hpp"

namespace orvdb::test_support {

struct StandInState {
    float version = 0;
    bool hasVersion = true;         // SELECT Version FROM Version finds a row
    std::set<std::string> tables;   // that exist
    std::set<std::string> fields;   // "table.field" that exist
    std::set<std::string> raising;  // statements whose execution fails
    bool recordSelects = false;     // selects are recorded too
    std::vector<std::string> statements;
    int depth = 0;  // of the query stack
    std::function<std::string(int32_t code, int32_t size)> typeWord;
    std::string alterColumn;  // the words for ALTER COLUMN
};

class StandInQuery : public UnimplementedQuery {
public:
    explicit StandInQuery(StandInState& state) : state_(state) {}
    OrvHResult Set_TypeRequete(int32_t kind) override {
        kind_ = kind;
        return ORV_S_OK;
    }
    OrvHResult OpenSQL(OrvBstr sql, OrvWordBool* found) override {
        std::string text = host::toUtf8(host::bstrView(sql));
        opened_ = kind_ == 0 && text == "SELECT Version FROM Version" && state_.hasVersion;
        if (kind_ != 0 || state_.recordSelects) {
            state_.statements.push_back(text);
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
    int32_t kind_ = 0;
    bool opened_ = false;
};

class StandInDatabase : public UnimplementedDatabase {
public:
    StandInState state;

    OrvHResult PushQuery() override {
        queries_.emplace_back(new StandInQuery(state));
        ++state.depth;
        return ORV_S_OK;
    }
    OrvHResult PopQuery() override {
        queries_.pop_back();
        --state.depth;
        return ORV_S_OK;
    }
    OrvHResult Get_ActiveQuery(iQueryDatabase** query) override {
        *query =
            queries_.empty() ? nullptr : ComPtr<iQueryDatabase>(queries_.back().get()).detach();
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

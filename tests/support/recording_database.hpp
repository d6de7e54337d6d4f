// A database whose query stack records every statement it is given, with
// its kind and stack depth; it holds no table and no row. It shows
// the exact texts and the push/pop balance of what the driver sends to
// another database; it names column types with words of its own.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <string>
#include <vector>

#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"
#include "unimplemented_database.hpp"

namespace orvdb::test_support {

struct RecordedStatement {
    int depth;  // of the query stack when the statement ran
    int kind;   // FTypeRequete
    std::string sql;
};

struct Recording {
    std::vector<RecordedStatement> statements;
    int depth = 0;
};

// Every statement finds nothing: selects answer no row.
class RecordingQuery : public UnimplementedQuery {
public:
    RecordingQuery(Recording& r, int depth) : r_(r), depth_(depth) {}

    OrvHResult Get_Opened(OrvWordBool* opened) override {
        *opened = ORV_WFALSE;
        return ORV_S_OK;
    }
    OrvHResult Set_TypeRequete(int32_t kind) override {
        kind_ = kind;
        return ORV_S_OK;
    }
    OrvHResult Get_TypeRequete(int32_t* kind) override {
        *kind = kind_;
        return ORV_S_OK;
    }
    OrvHResult OpenSQL(OrvBstr sql, OrvWordBool* found) override {
        r_.statements.push_back({depth_, kind_, host::toUtf8(host::bstrView(sql))});
        *found = ORV_WFALSE;
        return ORV_S_OK;
    }

private:
    Recording& r_;
    int depth_;
    int32_t kind_ = 0;
};

class RecordingDatabase : public UnimplementedDatabase {
public:
    Recording r;

    OrvHResult PushQuery() override {
        queries_.emplace_back(new RecordingQuery(r, ++r.depth));
        return ORV_S_OK;
    }
    OrvHResult PopQuery() override {
        if (!queries_.empty()) {
            queries_.pop_back();
            --r.depth;
        }
        return ORV_S_OK;
    }
    OrvHResult Get_ActiveQuery(iQueryDatabase** query) override {
        if (queries_.empty()) {
            return ORV_E_FAIL;
        }
        *query = ComPtr<iQueryDatabase>(queries_.back().get()).detach();
        return ORV_S_OK;
    }
    // "T<kind code>/<size>": a caller that makes its own words shows.
    OrvHResult Get_FieldTypeText(int32_t kindCode, int32_t size, OrvBstr* typeText) override {
        *typeText =
            host::Bstr::fromUtf8("T" + std::to_string(kindCode) + "/" + std::to_string(size))
                .release();
        return ORV_S_OK;
    }
    OrvHResult TableExists(OrvBstr, OrvWordBool* exists) override {
        *exists = ORV_WFALSE;
        return ORV_S_OK;
    }

private:
    std::vector<ComPtr<RecordingQuery>> queries_;
};

}  // namespace orvdb::test_support

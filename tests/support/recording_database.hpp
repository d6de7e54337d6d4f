// A database whose query stack records every statement it is given, with
// its kind and stack depth, and answers selects from scripted rows. It shows
// the exact texts and the push/pop balance of what the driver sends to
// another database; it names column types with words of its own.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <algorithm>
#include <cctype>
#include <map>
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

using ScriptedRow = std::map<std::string, std::string>;

struct Recording {
    std::vector<RecordedStatement> statements;
    // Rows answered to the selects whose text starts with the key.
    std::map<std::string, std::vector<ScriptedRow>> rows;
    std::vector<std::string> tables;  // TableExists says yes for these
    int depth = 0;
    int maxDepth = 0;
};

class RecordingQuery : public UnimplementedQuery {
public:
    RecordingQuery(Recording& r, int depth) : r_(r), depth_(depth) {}

    OrvHResult Get_Opened(OrvWordBool* opened) override {
        *opened = row_ < rows_.size() ? ORV_WTRUE : ORV_WFALSE;
        return ORV_S_OK;
    }
    OrvHResult Getstring(OrvBstr field, OrvBstr* text) override {
        return host::guarded([&] {
            const std::string name = host::toUtf8(host::bstrView(field));
            auto& row = rows_.at(row_);
            for (const auto& [key, value] : row) {
                if (equalsNoCase(key, name)) {
                    *text = host::Bstr::fromUtf8(value).release();
                }
            }
        });
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
        const std::string text = host::toUtf8(host::bstrView(sql));
        r_.statements.push_back({depth_, kind_, text});
        rows_.clear();
        row_ = 0;
        if (kind_ == 0) {
            for (const auto& [prefix, rows] : r_.rows) {
                if (text.rfind(prefix, 0) == 0) {
                    rows_ = rows;
                }
            }
        }
        *found = rows_.empty() ? ORV_WFALSE : ORV_WTRUE;
        return ORV_S_OK;
    }
    OrvHResult Next() override {
        ++row_;
        return ORV_S_OK;
    }

private:
    static bool equalsNoCase(const std::string& a, const std::string& b) {
        if (a.size() != b.size()) {
            return false;
        }
        for (size_t i = 0; i < a.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(a[i])) !=
                std::tolower(static_cast<unsigned char>(b[i]))) {
                return false;
            }
        }
        return true;
    }

    Recording& r_;
    int depth_;
    int32_t kind_ = 0;
    std::vector<ScriptedRow> rows_;
    size_t row_ = 0;
};

class RecordingDatabase : public UnimplementedDatabase {
public:
    Recording r;

    OrvHResult PushQuery() override {
        queries_.emplace_back(new RecordingQuery(r, ++r.depth));
        r.maxDepth = std::max(r.maxDepth, r.depth);
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
    OrvHResult TableExists(OrvBstr table, OrvWordBool* exists) override {
        const std::string name = host::toUtf8(host::bstrView(table));
        *exists = std::find(r.tables.begin(), r.tables.end(), name) != r.tables.end() ? ORV_WTRUE
                                                                                      : ORV_WFALSE;
        return ORV_S_OK;
    }

private:
    std::vector<ComPtr<RecordingQuery>> queries_;
};

}  // namespace orvdb::test_support

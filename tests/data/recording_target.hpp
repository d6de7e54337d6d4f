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
#include "support/unimplemented_database.hpp"

namespace orvdb::data::testing {

using EventLog = std::shared_ptr<std::vector<std::string>>;

class RecordingQuery final : public test_support::UnimplementedQuery {
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

private:
    EventLog log_;
    int32_t kind_ = 0;
};

class RecordingTarget final : public test_support::UnimplementedDatabase {
public:
    explicit RecordingTarget(EventLog log) : log_(std::move(log)) {}

    int32_t depth() const { return static_cast<int32_t>(queries_.size()); }

    OrvHResult PushQuery() override {
        queries_.emplace_back(new RecordingQuery(log_));
        return ORV_S_OK;
    }
    OrvHResult PopQuery() override {
        if (!queries_.empty()) {
            queries_.pop_back();
        }
        return ORV_S_OK;
    }
    OrvHResult Get_ActiveQuery(iQueryDatabase** query) override {
        if (queries_.empty()) {
            return ORV_E_FAIL;
        }
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

private:
    EventLog log_;
    std::vector<ComPtr<iQueryDatabase>> queries_;
};

}  // namespace orvdb::data::testing

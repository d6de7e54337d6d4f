// torvc_Query: the query cursor of a connection's query stack. It runs one
// SQL text at a time: a select, positioned on its first row, or (statement
// kind other than 0) an action statement, executed. Failures of either are
// quiet: a failing select is noted on the debug channel, a failing action
// statement only on the opt-in trace, and both just report "nothing found";
// lastError() keeps the message for callers that must report it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "data/record_data.hpp"
#include "engine/dataset/connection.hpp"
#include "engine/dataset/query_dataset.hpp"

namespace orvdb::data {

class torvc_Query final : public TORVC_Data<iQueryDatabase> {
public:
    // Shares the connection so that a cursor the host still holds after its
    // database is gone fails cleanly instead of dangling.
    explicit torvc_Query(std::shared_ptr<engine::Connection> connection);
    // A cursor on a query dataset another kind of connection serves;
    // keepAlive is that connection.
    torvc_Query(std::shared_ptr<void> keepAlive, std::unique_ptr<engine::QueryDataset> query);
    ~torvc_Query() override;

    // --- iQueryDatabase (slots 31 to 36) ---
    OrvHResult Get_TypeRequete(int32_t* kind) override;
    OrvHResult Set_TypeRequete(int32_t kind) override;
    OrvHResult Get_RecordCount(int32_t* count) override;
    OrvHResult OpenSQL(OrvBstr sql, OrvWordBool* found) override;
    OrvHResult Next() override;
    OrvHResult FillstringList(IWideStringList* list, OrvBstr field) override;

    // --- for C++ callers ---
    int32_t typeRequete() const { return typeRequete_; }
    void setTypeRequete(int32_t kind) { typeRequete_ = kind; }
    // True when a select found a row (the cursor is then on it) or an action
    // statement changed at least one.
    bool openSql(std::string_view sql);
    void next();
    // Whether the last select failed (as opposed to finding no row). The
    // failure itself stays quiet; callers that must tell the two apart, such
    // as a probe for a column, ask here.
    bool lastSelectFailed() const { return selectFailed_; }

protected:
    engine::Dataset& data() override { return *query_; }
    void openData() override;
    void closeData() override;
    void postRecord() override;
    std::string creationKey(std::string_view field) const override;

private:
    std::shared_ptr<void> connection_;
    std::unique_ptr<engine::QueryDataset> query_;
    int32_t typeRequete_ = 0;  // 0 select, anything else an action statement
    bool selectFailed_ = false;
};

}  // namespace orvdb::data

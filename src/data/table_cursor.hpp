// torvc_Table: the table cursor of a connection's table stack. It opens every
// row of one table, positions on a row by its key for editing or starts a new
// one, and after a post reports the "Id" of the last row (the new row's key
// when the key is an autonumber).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "data/record_data.hpp"
#include "engine/dataset/connection.hpp"
#include "engine/dataset/table_dataset.hpp"

namespace orvdb::data {

class torvc_Table final : public TORVC_Data<iTableDatabase> {
public:
    explicit torvc_Table(std::shared_ptr<engine::Connection> connection);
    // A cursor on a table dataset another kind of connection serves;
    // keepAlive is that connection.
    torvc_Table(std::shared_ptr<void> keepAlive, std::unique_ptr<engine::TableDataset> table);
    ~torvc_Table() override;

    // --- iTableDatabase (slots 31 to 39) ---
    OrvHResult Get_IdRow(OrvBstr* id) override;
    OrvHResult Set_IdRow(OrvBstr id) override;
    OrvHResult Get_Tablename(OrvBstr* name) override;
    OrvHResult Set_Tablename(OrvBstr name) override;
    OrvHResult Post() override;
    OrvHResult Edit() override;
    OrvHResult Append() override;
    OrvHResult Last() override;
    OrvHResult GotoKey(OrvBstr field, OrvBstr indexName, OrvBstr value) override;

    // --- for C++ callers ---
    const std::u16string& tableName() const { return tableName_; }
    const std::u16string& idRow() const { return idRow_; }
    void setTableName(std::u16string_view name);
    // With a value: edits the first row whose field equals it (or, when none
    // does, the current row). Without one (none or empty): starts a new row.
    void setRefRow(std::string_view field, std::optional<std::string_view> value);
    // Posts; a refused row is shown to the user in a message box, not
    // raised (lastError() keeps it).
    void post();
    void edit();
    void append();
    void last();
    // Opens the table again in the order of the index and edits the current
    // row with field set to value.
    void gotoKey(std::string_view field, std::string_view indexName, std::string_view value);

protected:
    engine::Dataset& data() override { return *table_; }
    void openData() override;
    void closeData() override;
    void postRecord() override;
    std::string creationKey(std::string_view field) const override;

private:
    std::shared_ptr<void> connection_;
    std::unique_ptr<engine::TableDataset> table_;
    std::u16string tableName_;
    std::u16string idRow_;
};

}  // namespace orvdb::data

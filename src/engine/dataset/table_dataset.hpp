// A table dataset: every row of one table, in the order of the selected index
// (the primary key when none is selected), editable row by row.
#pragma once

#include "engine/dataset/connection.hpp"
#include "engine/dataset/dataset.hpp"

namespace orvdb::engine {

class TableDataset : public Dataset {
public:
    enum class State { Browse, Edit, Insert };

    explicit TableDataset(Connection& connection);

    void setTableName(std::string name);
    const std::string& tableName() const { return tableName_; }
    // "" orders by the primary key (or by insertion when there is none).
    void selectIndex(std::string indexName);

    void open();
    void close();
    State state() const { return state_; }

    // Makes the first row whose field equals value (compared exactly) current.
    bool locate(std::string_view fieldName, const SqlValue& value);
    void edit();
    void append();
    // Writes the edited or new row; raises with Jet's message when the store
    // refuses it (the row then stays in its state).
    void post();
    void cancel();

protected:
    void setValue(int index, SqlValue value) override;
    const Row& currentRow() const override;

private:
    void loadRows();
    Row readRow(int64_t rowid);
    const TableInfo& table() const;

    Connection& connection_;
    std::string tableName_;
    std::string indexName_;
    std::vector<int64_t> rowids_;
    State state_ = State::Browse;
    Row buffer_;
    std::vector<bool> changed_;
};

}  // namespace orvdb::engine

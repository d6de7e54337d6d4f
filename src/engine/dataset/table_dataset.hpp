// A table dataset: every row of one table, in the order of the selected index
// (the primary key when none is selected), editable row by row. A dataset
// served by another kind of connection derives from it and reads and writes
// the rows itself (selectIndex, open, close, setValue, post).
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
    virtual void selectIndex(std::string indexName);

    virtual void open();
    virtual void close();
    State state() const { return state_; }

    // Makes the first row whose field equals value (compared exactly) current.
    bool locate(std::string_view fieldName, const SqlValue& value);
    void edit();
    void append();
    // Writes the edited or new row; raises with Jet's message when the store
    // refuses it (the row then stays in its state).
    virtual void post();
    void cancel();

protected:
    TableDataset();

    void setValue(int index, SqlValue value) override;
    const Row& currentRow() const override;

    std::string tableName_;
    std::string indexName_;
    State state_ = State::Browse;
    Row buffer_;  // the row being edited or added
    std::vector<bool> changed_;

private:
    void loadRows();
    Row readRow(int64_t rowid);
    const TableInfo& table() const;

    Connection* connection_ = nullptr;
    std::vector<int64_t> rowids_;
};

}  // namespace orvdb::engine

// A query dataset: one SQL text, opened as a result or executed. A dataset
// served by another kind of connection derives from it and runs the text
// itself (open, execute, close).
#pragma once

#include "engine/dataset/connection.hpp"
#include "engine/dataset/dataset.hpp"

namespace orvdb::engine {

class QueryDataset : public Dataset {
public:
    explicit QueryDataset(Connection& connection);

    void setSql(std::string sql);
    const std::string& sql() const { return sql_; }

    // Runs the select and holds its rows, positioned on the first.
    virtual void open();
    // Runs an action statement; the number of rows it changed.
    virtual int64_t execute();
    virtual void close();

protected:
    QueryDataset();

private:
    Connection* connection_ = nullptr;
    std::string sql_;
};

}  // namespace orvdb::engine

// A query dataset: one SQL text, opened as a result or executed.
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
    void open();
    // Runs an action statement; the number of rows it changed.
    int64_t execute();
    void close();

private:
    Connection& connection_;
    std::string sql_;
};

}  // namespace orvdb::engine

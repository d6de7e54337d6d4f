#include "engine/dataset/query_dataset.hpp"

namespace orvdb::engine {

QueryDataset::QueryDataset(Connection& connection) : connection_(&connection) {
    description_ = "the query";
}

QueryDataset::QueryDataset() {
    description_ = "the query";
}

void QueryDataset::setSql(std::string sql) {
    close();
    sql_ = std::move(sql);
}

void QueryDataset::open() {
    close();
    QueryResult result = connection_->query(sql_);
    fields_ = std::move(result.fields);
    rows_ = std::move(result.rows);
    pos_ = 0;
    open_ = true;
}

int64_t QueryDataset::execute() {
    close();
    return connection_->execute(sql_);
}

void QueryDataset::close() {
    open_ = false;
    clearRows();
}

}  // namespace orvdb::engine

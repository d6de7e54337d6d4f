// The query and table datasets of a MariaDB database: the same datasets the
// cursors walk for an Access file, their rows read from and written to the
// server.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/mariadb/session.hpp"
#include "engine/dataset/query_dataset.hpp"
#include "engine/dataset/table_dataset.hpp"

namespace orvdb::data::mariadb {

class ServerQueryDataset final : public engine::QueryDataset {
public:
    explicit ServerQueryDataset(std::shared_ptr<Session> session);

    void open() override;
    int64_t execute() override;
    void close() override;

private:
    std::shared_ptr<Session> session_;
};

class ServerTableDataset final : public engine::TableDataset {
public:
    explicit ServerTableDataset(std::shared_ptr<Session> session);

    void selectIndex(std::string indexName) override;
    void open() override;
    void close() override;
    // Writes the row with INSERT or UPDATE; the row is found again by its
    // primary key (or, in a table without one, by all its old values).
    void post() override;

protected:
    void setValue(int index, engine::SqlValue value) override;

private:
    void loadRows();
    std::string literal(int index, const engine::SqlValue& value) const;
    // WHERE text that finds the row with these values.
    std::string rowCondition(const engine::Row& row) const;
    engine::Row readBack(const engine::Row& written);

    std::shared_ptr<Session> session_;
    std::vector<int> keyColumns_;  // the primary key's columns
    int autoColumn_ = -1;
};

}  // namespace orvdb::data::mariadb

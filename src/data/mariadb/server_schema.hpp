// What the statements written for the server need to know of its schema,
// asked of information_schema as each statement is written.
#pragma once

#include <optional>
#include <set>
#include <string>

#include "data/mariadb/session.hpp"
#include "engine/sql/translate/mariadb_dialect.hpp"

namespace orvdb::data::mariadb {

class ServerSchema final : public engine::sql::MariaDbSchema {
public:
    explicit ServerSchema(Session& session) : session_(session) {}

    std::string tableName(const std::string& name) const override;
    bool isView(const std::string& name) const override;
    bool isLongColumn(const std::string& table, const std::string& column) const override;
    bool isPrimaryKey(const std::string& table, const std::string& name) const override;
    bool isForeignKeyWithIndex(const std::string& table, const std::string& name) const override;
    std::string catalogTable(const std::string& name) const override;
    // [NAME].T: the database NAME.mariadb names in the session's working
    // folder, when it is on the same server.
    OtherTable otherDatabaseTable(const std::string& database,
                                  const std::string& table) const override;

    // The folded names of the tables and views the statements written so
    // far read or change.
    const std::set<std::string>& namesAsked() const { return namesAsked_; }

private:
    struct Found {
        std::string name;
        bool view = false;
    };
    std::optional<Found> find(const std::string& name) const;

    Session& session_;
    mutable std::set<std::string> namesAsked_;
};

}  // namespace orvdb::data::mariadb

// The backend of a database on a MariaDB server: its session, cursors over
// the server's rows, its schema questions through information_schema and
// the MySQL dialect's words.
#pragma once

#include <memory>

#include "data/database_backend.hpp"
#include "data/mariadb/session.hpp"

namespace orvdb::data::mariadb {

class ServerBackend final : public DatabaseBackend {
public:
    explicit ServerBackend(Settings settings);

    void open(std::u16string_view path) override;
    void close() override;
    bool isOpen() const override { return session_->isOpen(); }

    void beginTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() override;

    std::vector<std::string> userTableNames() const override;
    std::vector<std::string> fieldNames(std::string_view table) const override;
    FieldDef fieldDef(std::u16string_view path, std::u16string_view table,
                      std::u16string_view field) const override;

    ComPtr<iQueryDatabase> newQuery() override;
    ComPtr<iTableDatabase> newTable() override;

    std::u16string fieldTypeText(int32_t kindCode, int32_t size) const override;
    std::u16string alterColumnText(int32_t value) const override;
    std::u16string userTablesQuery() const override;
    std::u16string selectAllText(std::u16string_view table) const override;
    // The server's own form: the host's #...# form starts a comment in MariaDB.
    std::optional<std::string> dateTimeLiteral(double days) const override {
        return mariadb::dateTimeLiteral(days);
    }

    void setWorkingFolder(std::string folder) override {
        session_->setWorkingFolder(std::move(folder));
    }
    std::vector<std::string> waitingDefinitions() const override {
        return session_->keptViews().waitingList();
    }

    Session& session() { return *session_; }
    // Another database for the next open: the cursors already made, which
    // share the session, follow.
    void retarget(Settings settings) { session_->retarget(std::move(settings)); }

private:
    std::vector<std::string> column(const std::string& sql) const;

    // Shared with the cursors, which may outlive the connection object in the host.
    std::shared_ptr<Session> session_;
    int transactionLevel_ = 0;
};

// The column type word of a field kind code in MariaDB ("" for none).
std::u16string typeWord(int32_t kindCode, int32_t size);

}  // namespace orvdb::data::mariadb

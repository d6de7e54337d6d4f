// The backend of an Access database: the engine connection on its file.
#pragma once

#include <memory>

#include "data/database_backend.hpp"
#include "engine/dataset/connection.hpp"

namespace orvdb::data {

class JetBackend final : public DatabaseBackend {
public:
    JetBackend();

    void open(std::u16string_view path) override;
    void close() override;
    bool isOpen() const override { return connection_->isOpen(); }

    void beginTransaction() override { connection_->beginTransaction(); }
    void commitTransaction() override { connection_->commitTransaction(); }
    void rollbackTransaction() override { connection_->rollbackTransaction(); }

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

    void setWorkingFolder(std::string folder) override {
        connection_->setWorkingFolder(std::move(folder));
    }

    engine::Connection& connection() { return *connection_; }

private:
    // Shared with the cursors, which may outlive the connection object in the host.
    std::shared_ptr<engine::Connection> connection_;
};

// The connection string for the engine, on the path resolved the way every
// suite path is.
std::string engineConnectionString(std::u16string_view path);

}  // namespace orvdb::data

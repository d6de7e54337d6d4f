// Helpers for the data-layer suite: a scratch database with tables made
// through the engine catalog, host services that record what they are asked,
// and short calls on the interfaces.
#pragma once

#include <gtest/gtest.h>
#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../support/column_defs.hpp"
#include "../support/recording_host.hpp"
#include "../support/temp_dir.hpp"
#include "data/database.hpp"
#include "engine/dataset/connection.hpp"
#include "engine/store/working_store.hpp"
#include "host/boundary_strings.hpp"
#include "host/debug_output.hpp"
#include "host/host_services.hpp"

namespace orvdb::data::testing {

// A wide string for an in argument, alive until the end of the full expression.
inline host::Bstr W(std::string_view utf8) {
    return host::Bstr::fromUtf8(utf8);
}

// The UTF-8 text of an out wide string, which it frees.
inline std::string take(OrvBstr text) {
    return host::Bstr::adopt(text).utf8();
}

using ScratchDir = test::TempDir;

using test_support::autoNumber;
using test_support::column;
using test_support::primaryKey;

// What the host services were asked during a test; installed by DataTest.
using test_support::HostRecorder;

// A test with a fresh database file and recording host services.
class DataTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A database object on the scratch file (or on another path), opened.
    ComPtr<torvc_Database> openDatabase(const std::string& file = {});
    engine::Catalog& catalog(torvc_Database& db) { return db.connection().store().catalog(); }
    int64_t rowCount(torvc_Database& db, const std::string& table);
    // Adds rows through a table dataset: each row gives text per column name.
    void addRows(torvc_Database& db, const std::string& table,
                 const std::vector<std::vector<std::pair<std::string, std::string>>>& rows);

    ScratchDir dir;
    std::string path = dir.file("data.mdb");
    std::shared_ptr<HostRecorder> recorder = std::make_shared<HostRecorder>();
};

// Calls that expect success.
ComPtr<iQueryDatabase> pushQuery(iDatabase& db);
ComPtr<iTableDatabase> pushTable(iDatabase& db);
bool openSql(iQueryDatabase& query, const std::string& sql);
bool isOpened(iRecordDatabase& cursor);
bool databaseOpened(iDatabase& database);
std::string getString(iRecordDatabase& cursor, const std::string& field);
int32_t getInteger(iRecordDatabase& cursor, const std::string& field);

}  // namespace orvdb::data::testing

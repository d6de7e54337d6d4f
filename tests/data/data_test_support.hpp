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
#include "engine/dataset/table_dataset.hpp"
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

using test_support::autoNumber;
using test_support::column;
using test_support::primaryKey;

// What the host services were asked during a test; installed by DataTest.
using test_support::HostRecorder;

// A test with a fresh database file and recording host services.
class DataTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine::WorkingStore::createDatabase(path);
        host::HostServices services;
        services.exceptions = std::make_shared<test_support::RecordingExceptions>(recorder);
        services.dialogs = std::make_shared<test_support::RecordingDialogs>(recorder);
        installHostServices(std::move(services));
        test_support::recordDebugChannel(recorder);
    }
    void TearDown() override {
        host::resetHostServices();
        host::setDebugSink({});
        host::setDebugTrace(false);
    }

    // A database object on the scratch file (or on another path), opened.
    ComPtr<torvc_Database> openDatabase(const std::string& file = {}) {
        std::u16string target = host::toUtf16(file.empty() ? path : file);
        ComPtr<torvc_Database> db(new torvc_Database(u"TEST", u"", u"", target, nullptr));
        EXPECT_EQ(db->Open(), ORV_S_OK);
        EXPECT_TRUE(db->opened()) << (recorder->handedExceptions.empty()
                                          ? std::string()
                                          : recorder->handedExceptions.back());
        return db;
    }
    engine::Catalog& catalog(torvc_Database& db) { return db.connection().store().catalog(); }
    int64_t rowCount(torvc_Database& db, const std::string& table) {
        engine::TableDataset dataset(db.connection());
        dataset.setTableName(table);
        dataset.open();
        return dataset.recordCount();
    }
    // Adds rows through a table dataset: each row gives text per column name.
    void addRows(torvc_Database& db, const std::string& table,
                 const std::vector<std::vector<std::pair<std::string, std::string>>>& rows) {
        engine::TableDataset t(db.connection());
        t.setTableName(table);
        t.open();
        for (const auto& row : rows) {
            t.append();
            for (const auto& [name, text] : row) {
                t.setText(t.fieldIndex(name), text);
            }
            t.post();
        }
    }

    test::TempDir dir;
    std::string path = dir.file("data.mdb");
    std::shared_ptr<HostRecorder> recorder = std::make_shared<HostRecorder>();
};

// Calls that expect success.
inline ComPtr<iQueryDatabase> pushQuery(iDatabase& db) {
    EXPECT_EQ(db.PushQuery(), ORV_S_OK);
    ComPtr<iQueryDatabase> query;
    EXPECT_EQ(db.Get_ActiveQuery(query.put()), ORV_S_OK);
    return query;
}

inline ComPtr<iTableDatabase> pushTable(iDatabase& db) {
    EXPECT_EQ(db.PushTable(), ORV_S_OK);
    ComPtr<iTableDatabase> table;
    EXPECT_EQ(db.Get_ActiveTable(table.put()), ORV_S_OK);
    return table;
}

inline bool openSql(iQueryDatabase& query, const std::string& sql) {
    OrvWordBool found = 7;
    EXPECT_EQ(query.OpenSQL(W(sql).get(), &found), ORV_S_OK) << sql;
    EXPECT_TRUE(found == ORV_WTRUE || found == ORV_WFALSE) << "found = " << found;
    return found != 0;
}

inline bool isOpened(iRecordDatabase& cursor) {
    OrvWordBool opened = 7;
    EXPECT_EQ(cursor.Get_Opened(&opened), ORV_S_OK);
    EXPECT_TRUE(opened == ORV_WTRUE || opened == ORV_WFALSE) << "opened = " << opened;
    return opened != 0;
}

inline bool databaseOpened(iDatabase& database) {
    OrvWordBool opened = 7;
    EXPECT_EQ(database.Get_Opened(&opened), ORV_S_OK);
    EXPECT_TRUE(opened == ORV_WTRUE || opened == ORV_WFALSE) << "opened = " << opened;
    return opened != 0;
}

// The text an out-string call gives, expecting success:
// textOf([&](OrvBstr* out) { return db->Get_dbname(out); }).
template <typename Call>
std::string textOf(Call call) {
    OrvBstr text = nullptr;
    EXPECT_EQ(call(&text), ORV_S_OK);
    return take(text);
}

inline std::string getString(iRecordDatabase& cursor, const std::string& field) {
    OrvBstr text = nullptr;
    EXPECT_EQ(cursor.Getstring(W(field).get(), &text), ORV_S_OK) << field;
    return take(text);
}

inline int32_t getInteger(iRecordDatabase& cursor, const std::string& field) {
    int32_t value = -12345;
    EXPECT_EQ(cursor.GetInteger(W(field).get(), &value), ORV_S_OK) << field;
    return value;
}

}  // namespace orvdb::data::testing

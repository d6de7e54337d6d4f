#include "data_test_support.hpp"

#include "engine/dataset/table_dataset.hpp"

namespace orvdb::data::testing {

void DataTest::SetUp() {
    engine::WorkingStore::createDatabase(path);
    host::HostServices services;
    services.exceptions = std::make_shared<test_support::RecordingExceptions>(recorder);
    services.dialogs = std::make_shared<test_support::RecordingDialogs>(recorder);
    installHostServices(std::move(services));
    test_support::recordDebugChannel(recorder);
}

void DataTest::TearDown() {
    host::resetHostServices();
    host::setDebugSink({});
    host::setDebugTrace(false);
}

ComPtr<torvc_Database> DataTest::openDatabase(const std::string& file) {
    std::u16string target = host::toUtf16(file.empty() ? path : file);
    ComPtr<torvc_Database> db(new torvc_Database(u"TEST", u"", u"", target, nullptr));
    EXPECT_EQ(db->Open(), ORV_S_OK);
    EXPECT_TRUE(db->opened()) << (recorder->handedExceptions.empty()
                                      ? std::string()
                                      : recorder->handedExceptions.back());
    return db;
}

void DataTest::addRows(torvc_Database& db, const std::string& table,
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

int64_t DataTest::rowCount(torvc_Database& db, const std::string& table) {
    engine::TableDataset dataset(db.connection());
    dataset.setTableName(table);
    dataset.open();
    return dataset.recordCount();
}

ComPtr<iQueryDatabase> pushQuery(iDatabase& db) {
    EXPECT_EQ(db.PushQuery(), ORV_S_OK);
    ComPtr<iQueryDatabase> query;
    EXPECT_EQ(db.Get_ActiveQuery(query.put()), ORV_S_OK);
    return query;
}

ComPtr<iTableDatabase> pushTable(iDatabase& db) {
    EXPECT_EQ(db.PushTable(), ORV_S_OK);
    ComPtr<iTableDatabase> table;
    EXPECT_EQ(db.Get_ActiveTable(table.put()), ORV_S_OK);
    return table;
}

bool openSql(iQueryDatabase& query, const std::string& sql) {
    OrvWordBool found = 7;
    EXPECT_EQ(query.OpenSQL(W(sql).get(), &found), ORV_S_OK) << sql;
    EXPECT_TRUE(found == ORV_WTRUE || found == ORV_WFALSE) << "found = " << found;
    return found != 0;
}

bool isOpened(iRecordDatabase& cursor) {
    OrvWordBool opened = 7;
    EXPECT_EQ(cursor.Get_Opened(&opened), ORV_S_OK);
    EXPECT_TRUE(opened == ORV_WTRUE || opened == ORV_WFALSE) << "opened = " << opened;
    return opened != 0;
}

bool databaseOpened(iDatabase& database) {
    OrvWordBool opened = 7;
    EXPECT_EQ(database.Get_Opened(&opened), ORV_S_OK);
    EXPECT_TRUE(opened == ORV_WTRUE || opened == ORV_WFALSE) << "opened = " << opened;
    return opened != 0;
}

std::string getString(iRecordDatabase& cursor, const std::string& field) {
    OrvBstr text = nullptr;
    EXPECT_EQ(cursor.Getstring(W(field).get(), &text), ORV_S_OK) << field;
    return take(text);
}

int32_t getInteger(iRecordDatabase& cursor, const std::string& field) {
    int32_t value = -12345;
    EXPECT_EQ(cursor.GetInteger(W(field).get(), &value), ORV_S_OK) << field;
    return value;
}

}  // namespace orvdb::data::testing

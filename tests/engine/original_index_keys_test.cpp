// Texts whose characters have no sort code known here can still be in an
// Access file's indexes, under the keys Access wrote.
#include "engine_test_support.hpp"
#include "jet/index/index_key.hpp"
#include "jet/index/index_reader.hpp"
#include "jet/write/file_writer.hpp"
#include "jet/write/image_from_file.hpp"

namespace orvdb::engine {
namespace {

const std::string kUnknown = "C\xC5\x93ur";  // "Cœur": U+0153 has no known code
const std::string kStandIn = "Coeur";        // the key the file is given for it

struct OriginalIndexKeysTest : testing::StoreFixture {
    // The file as Access would have left it: a row "Cœur" in an indexed
    // column, listed under a key this build could not have made.
    void SetUp() override {
        testing::StoreFixture::SetUp();
        conn.execute("CREATE TABLE Article (ID LONG PRIMARY KEY, Nom TEXT(30), Prix CURRENCY)");
        conn.execute("CREATE INDEX ByNom ON Article (Nom)");
        conn.execute("INSERT INTO Article VALUES (1, 'Porte', 10)");
        conn.execute("INSERT INTO Article VALUES (2, '" + kStandIn + "', 20)");
        conn.close();

        jet::DatabaseImage image = jet::imageFromFile(jet::JetFile::open(path));
        jet::TableImage* article = image.findTable("Article");
        ASSERT_NE(article, nullptr);
        for (auto& row : article->rows) {
            if (row[1] == jet::Value(kStandIn)) {
                row[1] = kUnknown;
            }
        }
        jet::WriteOptions options;
        options.indexPages = [](const jet::IndexPagesRequest& request) {
            std::vector<std::vector<jet::Value>> rows(request.rows.begin(), request.rows.end());
            for (auto& row : rows) {
                for (auto& value : row) {
                    if (value == jet::Value(kUnknown)) {
                        value = kStandIn;
                    }
                }
            }
            jet::IndexPagesRequest standIn = request;
            standIn.rows = rows;
            return jet::buildIndexPages(standIn);
        };
        jet::writeJetFile(image, path, options);
        conn.open();
    }

    // The key each row has in the file's ByNom index, by the row's name.
    std::map<std::string, std::vector<uint8_t>> keysByName() {
        jet::JetFile file = jet::JetFile::open(path);
        auto table = file.table("Article");
        std::map<uint32_t, std::string> names;
        auto reader = file.readTable("Article");
        jet::Row row;
        while (reader.next(row)) {
            names[row.id.page << 8 | row.id.row] = std::get<std::string>(row.values[1]);
        }
        const jet::LogicalIndex* byNom = table->findIndex("ByNom");
        const jet::PhysicalIndex* index = table->physicalIndexOf(*byNom);
        std::map<std::string, std::vector<uint8_t>> keys;
        for (auto& entry : jet::readIndexEntries(file.pages(), index->rootPage, table->page)) {
            keys[names.at(entry.row.page << 8 | entry.row.row)] = entry.key;
        }
        return keys;
    }
    static std::vector<uint8_t> keyOf(const std::string& text) {
        jet::KeyColumn column;
        column.typeCode = static_cast<uint8_t>(jet::ColumnType::Text);
        column.name = "Nom";
        return jet::encodeIndexKey({column}, {jet::Value(text)});
    }
};

TEST_F(OriginalIndexKeysTest, SavingKeepsTheKeysAccessWrote) {
    conn.execute("INSERT INTO Article VALUES (3, 'Fenêtre', 30)");
    conn.execute("UPDATE Article SET Prix = 25 WHERE ID = 2");
    conn.close();  // writes the file: without the original keys it could not

    std::map<std::string, std::vector<uint8_t>> keys = keysByName();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[kUnknown], keyOf(kStandIn));
    EXPECT_EQ(keys["Fenêtre"], keyOf("Fenêtre"));
    jet::CheckReport report = jet::checkJetFile(jet::JetFile::open(path));
    EXPECT_FALSE(report.hasErrors())
        << (report.findings.empty() ? std::string() : jet::describe(report.findings.front()));
}

TEST_F(OriginalIndexKeysTest, NewTextsWithoutAKeyAreRefusedWhenStored) {
    auto refusal = [&](const std::string& sql) {
        return testing::errorOf([&] { conn.execute(sql); });
    };
    const std::string inserted = refusal("INSERT INTO Article VALUES (4, 'S\xC5\x93ur', 1)");
    EXPECT_NE(inserted.find("U+0153"), std::string::npos) << inserted;
    EXPECT_NE(inserted.find("'Nom'"), std::string::npos) << inserted;
    EXPECT_NE(inserted.find("'Article'"), std::string::npos) << inserted;
    EXPECT_NE(refusal("UPDATE Article SET Nom = 'Porte \xE2\x80\x99' WHERE ID = 1"), "");
    // Equal to the old value for Access's comparison, but another text.
    EXPECT_NE(refusal("UPDATE Article SET Nom = UCase(Nom) WHERE ID = 2"), "");
    // Not indexed, or the row's own value: accepted.
    EXPECT_EQ(refusal("UPDATE Article SET Prix = 5 WHERE Nom = '" + kUnknown + "'"), "");
    EXPECT_EQ(refusal("UPDATE Article SET Nom = Nom"), "");
    conn.close();
    EXPECT_EQ(keysByName().count(kUnknown), 1u);
}

}  // namespace
}  // namespace orvdb::engine

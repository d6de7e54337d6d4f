// A merge of providers whose databases are on a MariaDB server gives what
// the merge of their Access files gives. Skipped without a server
// (ORVDB_MARIADB).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/mariadb/copy.hpp"
#include "merge_test_support.hpp"
#include "support/database_rows.hpp"
#include "support/mariadb_server.hpp"
#include "support/schema_snapshot.hpp"

namespace orvdb::merge_test {
namespace {

namespace fs = std::filesystem;
using test_support::Lines;

// Tables, columns, keys and indexes, then every row.
Lines contentOf(const fs::path& file) {
    Lines lines = test_support::tablesAndKeys(file);
    Lines rows = test_support::allTableRows(file);
    lines.insert(lines.end(), rows.begin(), rows.end());
    return lines;
}

class MariaDbMergeTest : public MergeTest {
protected:
    void SetUp() override {
        MergeTest::SetUp();
        answer(host::DialogAnswer::yes);
        makeLibrary();
        makeStandardProviders();
    }

    fs::path folder(const std::string& provider) const { return root + "Providers/" + provider; }

    // The provider folder `provider` as a folder `name` whose database is
    // the scratch database on the server.
    void onServer(const std::string& provider, const std::string& name,
                  const test_support::ScratchServerDatabase& database) {
        test_support::copyFolder(folder(provider), folder(name));
        data::mariadb::copyToServer(providerFile(name), database.settings());
        fs::remove(providerFile(name));
        std::ofstream(folder(name) / "XLibData.mariadb") << database.url() << "\n";
    }

    // A server database copied back into an Access file of the test.
    fs::path copiedBack(const test_support::ScratchServerDatabase& database,
                        const std::string& name) {
        fs::path file = root + name + ".mdb";
        data::mariadb::copyFromServer(database.settings(), file.string());
        return file;
    }
};

TEST_F(MariaDbMergeTest, ServerProvidersMergeAsTheirAccessFilesDo) {
    test_support::ScratchServerDatabase first, second, output, staging;
    ORVDB_SKIP_WITHOUT_MARIADB(first);
    onServer("P1", "S1", first);
    onServer("P2", "S2", second);
    // The output and its staging folder name the databases the copies go to.
    for (const auto& [name, database] : {std::pair{"SOUT", &output}, {"SOUT_Temp", &staging}}) {
        fs::create_directories(folder(name));
        std::ofstream(folder(name) / "XLibData.mariadb") << database->url() << "\n";
    }

    auto factory = std::make_shared<TestObjectFactory>();
    factory->businessTables = {"OPTIONS"};
    ASSERT_EQ(runMerge("P1", "P2", "OUT", factory), ORV_S_OK) << failure;
    const size_t rejectedFromFiles = rejected;
    ASSERT_EQ(runMerge("S1", "S2", "SOUT", factory), ORV_S_OK) << failure;
    EXPECT_EQ(rejected, rejectedFromFiles);
    using test_support::differences;
    EXPECT_EQ(differences(contentOf(copiedBack(output, "merged")), contentOf(providerFile("OUT"))),
              Lines{});
    EXPECT_EQ(differences(contentOf(copiedBack(first, "first")), contentOf(providerFile("P1"))),
              Lines{});
    EXPECT_EQ(differences(contentOf(copiedBack(second, "second")), contentOf(providerFile("P2"))),
              Lines{});
    EXPECT_FALSE(fs::exists(folder("SOUT_Temp")));
    EXPECT_TRUE(fs::exists(folder("SOUT") / "XLibData.mariadb"));
    auto session = output.session();
    EXPECT_EQ(session->scalar("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE "
                              "SCHEMA_NAME=" +
                              session->quoteText(staging.settings().database)),
              "0")
        << "the staging database stays";
}

}  // namespace
}  // namespace orvdb::merge_test

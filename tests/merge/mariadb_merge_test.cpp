// The merge of two provider folders whose databases are on a MariaDB server
// (their XLibData.mariadb names them): the output database, copied back to
// an Access file, holds the tables, keys, indexes and rows the merge of the
// same providers as Access files gives; the inputs' databases are left as
// they were and the staging database goes with its folder. Skipped without
// a server (ORVDB_MARIADB).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "data/mariadb/copy.hpp"
#include "host/dialogs.hpp"
#include "host/host_services.hpp"
#include "merge/kinds_database_container.hpp"
#include "merge/merge_access_database.hpp"
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
    engine::Connection connection;
    connection.setConnectionString("Data Source=" + file.string());
    connection.open();
    Lines lines;
    for (const std::string& line : test_support::schemaSnapshot(connection)) {
        if (line.rfind("view ", 0) != 0) {
            lines.push_back(line);
        }
    }
    connection.close();
    Lines rows = test_support::allTableRows(file);
    lines.insert(lines.end(), rows.begin(), rows.end());
    return lines;
}

// The lines only one side has, marked "-" (only the expected) and "+":
// empty when both hold the same.
Lines differences(Lines actual, Lines expected) {
    std::sort(actual.begin(), actual.end());
    std::sort(expected.begin(), expected.end());
    Lines out;
    std::set_difference(expected.begin(), expected.end(), actual.begin(), actual.end(),
                        std::back_inserter(out));
    for (std::string& line : out) {
        line = "- " + line;
    }
    Lines extra;
    std::set_difference(actual.begin(), actual.end(), expected.begin(), expected.end(),
                        std::back_inserter(extra));
    for (const std::string& line : extra) {
        out.push_back("+ " + line);
    }
    return out;
}

class MariaDbMergeTest : public MergeTest {
protected:
    void SetUp() override {
        MergeTest::SetUp();
        host::HostServices services;
        services.dialogs = std::make_shared<host::AutoAnswerDialogs>(host::DialogAnswer::yes);
        host::installHostServices(std::move(services));
        makeLibrary();
        makeStandardProviders();
    }

    void merge(const std::string& first, const std::string& second, const std::string& output) {
        auto factory = std::make_shared<TestObjectFactory>();
        factory->businessTables = {"OPTIONS"};
        merge::TMergeAccessDatabase engine;
        engine.InitParams(merge::makeKindsDatabaseContainer(host::databases()), first, second,
                          output, kOffset);
        engine.Set_CreateObject(factory);
        try {
            EXPECT_EQ(engine.Merge(), ORV_S_OK) << output;
        } catch (const std::exception& e) {
            ADD_FAILURE() << output << ": " << e.what();
        }
        rejected.push_back(engine.rejectedInserts().size());
        host::databases()->unregisterDatabase("GAMMISTE");
        host::databases()->unregisterDatabase("XLIB");
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

    std::vector<size_t> rejected;
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

    merge("P1", "P2", "OUT");
    merge("S1", "S2", "SOUT");

    EXPECT_EQ(rejected[1], rejected[0]);
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

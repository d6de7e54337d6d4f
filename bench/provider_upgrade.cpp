// The provider upgrade from 0.35835 to the last version on the old provider
// of the examples grown to --rows=N rows (10,000 by default) in its main
// tables: articles (with their profile rows), actions (copies of the example
// lists, so every script has its rows to rewrite) and the text and value
// lists of the variable trees. Prints the time of the upgrade (wall and CPU)
// and the peak resident set before and after it.
//
//   bench_provider_upgrade [--rows=N]
#include <cstdio>
#include <cstring>
#include <string>

#include "../tests/support/old_provider.hpp"
#include "bench_support.hpp"
#include "data/database_factory.hpp"
#include "host/host_services.hpp"
#include "host/registry_info.hpp"
#include "host/utf16.hpp"
#include "upgrade/provider_upgrade.hpp"

using namespace orvdb;

namespace {

int64_t count(engine::Connection& connection, const std::string& table) {
    return std::get<int64_t>(connection.query("SELECT Count(*) FROM " + table).rows.at(0).at(0));
}

// Doubles the rows a select gives until the table holds at least `rows`.
void grow(engine::Connection& connection, const std::string& table, const std::string& insert,
          int64_t rows) {
    while (count(connection, table) < rows) {
        connection.execute(insert);
    }
}

void growMainTables(const std::filesystem::path& file, int64_t rows) {
    engine::Connection connection;
    connection.setConnectionString("Data Source=" + file.string());
    connection.open();
    connection.beginTransaction();
    grow(connection, "Article",
         "INSERT INTO Article (Name, Ref, Code, Description, Affichage, Ref2, Logo, [Position], "
         "RefGroup, VariableTree, Reference, PictureFile, Fictif, Commandable, NotProvided, "
         "Surface) SELECT Name, Ref, Code, Description, Affichage, Ref2, Logo, [Position], "
         "RefGroup, VariableTree, Reference, PictureFile, Fictif, Commandable, NotProvided, "
         "Surface FROM Article",
         rows);
    connection.execute(
        "INSERT INTO Article_Profil (ID, Weight, RefSection, Hauteur) SELECT ID, 1.5, 1, 70 "
        "FROM Article WHERE Ref=1 AND ID > 2");
    // The apostrophe row stays single: its update is meant to fail.
    grow(connection, "[Action]",
         "INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) SELECT Ref, Name, "
         "Description, Parametre, RefGroup FROM [Action] WHERE Name <> 'It''s quoted'",
         rows);
    grow(connection, "VariableObjTree_TextList_Text",
         "INSERT INTO VariableObjTree_TextList_Text (Ref1, ItemIndex, Name, Condition) SELECT "
         "Ref1, ItemIndex, Name, Condition FROM VariableObjTree_TextList_Text",
         rows);
    grow(connection, "VariableObjTree_ValueList_Value",
         "INSERT INTO VariableObjTree_ValueList_Value (Ref1, ItemIndex, [Value], Condition) "
         "SELECT Ref1, ItemIndex, [Value], Condition FROM VariableObjTree_ValueList_Value",
         rows);
    connection.commitTransaction();
    connection.close();
}

}  // namespace

int main(int argc, char** argv) {
    int64_t rows = 10000;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rows=", 7) == 0) {
            rows = std::stoll(argv[i] + 7);
        }
    }
    bench::ScratchDir scratch;
    std::filesystem::path root = scratch.file("root");
    std::filesystem::path provider = test_support::buildOldProvider(root);
    growMainTables(provider, rows);

    host::HostServices services;
    services.registry = std::make_shared<host::MemoryRegistryInfo>();
    host::installHostServices(std::move(services));
    host::registry()->set(28, root.string() + "/");
    host::registry()->set(30, root.string() + "/");

    long peakBefore = bench::peakRssKiB();
    bench::Stopwatch watch;
    {
        ComPtr<iDatabase> db = data::createDatabase(u"GAMMISTE", u"0", u"XLIBDATA", true, u"",
                                                    host::toUtf16(provider.string()), nullptr);
        upgrade::UpgradeLog log;
        upgrade::runProviderUpgrade(*db, log, "Acme");
        std::printf("%s\n", log.at(2).c_str());
    }
    double wall = watch.seconds();
    double cpu = watch.cpuSeconds();
    std::printf("rows in the main tables: %lld\n", static_cast<long long>(rows));
    std::printf(
        "upgrade 0.35835 -> 0.36052 (file written back included): %.2f s wall, %.2f s CPU\n", wall,
        cpu);
    std::printf("peak resident set: %.1f MiB before the upgrade, %.1f MiB after\n",
                peakBefore / 1024.0, bench::peakRssKiB() / 1024.0);
    std::printf("file size after: %.1f MiB\n",
                std::filesystem::file_size(provider) / (1024.0 * 1024.0));
    host::resetHostServices();
    return 0;
}

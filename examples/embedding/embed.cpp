// A host program in C++ that embeds liborvdb through orvdb/orvdb.hpp and
// orvdb/host.hpp.
//
//   embed_cpp DATA_ROOT
//
// DATA_ROOT/Data/DataModel.Dat is the provider template (any Access
// database). The program routes the library's messages, errors and debug
// output into its own log, creates the provider "Bois" from the template
// and works in its database with the RAII handles. Exits 0 when every
// check holds.
#include <orvdb/exports.h>
#include <orvdb/host.hpp>
#include <orvdb/orvdb.hpp>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

int failures = 0;

void check(bool condition, const char* what) {
    if (!condition) {
        std::cerr << "embed.cpp: check failed: " << what << '\n';
        ++failures;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " DATA_ROOT\n";
        return 2;
    }
    const std::string root = argv[1];
    std::vector<std::string> log;

    try {
        orvdb::setRegistryEntry(ORV_REGISTRY_DATA_ROOT, root);
        orvdb::setMessageHandler([&](std::string_view text) { log.emplace_back(text); });
        orvdb::setExceptionHandler(
            [&](orvdb::ExceptionKind, std::string_view message) { log.emplace_back(message); });
        orvdb::setDebugHandler([&](std::string_view text) { log.emplace_back(text); });
        orvdb::setDefaultAnswer(false);
        check(orvdb::registryEntry(ORV_REGISTRY_DATA_ROOT).back() == '/', "folders end with '/'");

        OrvBstr bois = OrvBstrFromUtf8("Bois");
        check(CreateProvider(bois, nullptr) == ORV_S_OK, "CreateProvider");
        OrvBstrFree(bois);
        const std::string file = root + "/Providers/Bois/XLibData.mdb";
        check(std::filesystem::exists(file), "the provider lies under the data root");

        orvdb::Database db = orvdb::Database::openFile(file);
        db.execute("CREATE TABLE Essence (Id COUNTER PRIMARY KEY, Nom VARCHAR(30), Densite LONG)");
        db.execute("INSERT INTO Essence (Nom, Densite) VALUES ('Chêne', 710)");
        db.execute("INSERT INTO Essence (Nom, Densite) VALUES ('Pin', 520)");
        {
            orvdb::QueryScope query(db);
            std::vector<std::string> names;
            for (bool row = query->select("SELECT Nom FROM Essence ORDER BY Densite"); row;
                 row = query->next()) {
                names.push_back(query->getString("Nom"));
            }
            check((names == std::vector<std::string>{"Pin", "Chêne"}), "rows in order");
            // A select the engine rejects finds nothing; the reason goes to
            // the debug output and to the cursor's lastError().
            check(!query->select("SELECT Nom FROM Nowhere"), "failing select finds nothing");
            check(!query->lastError().empty(), "its error is kept");
        }
        orvdb::resetHostServices();
    } catch (const orvdb::Error& e) {
        std::cerr << "orvdb error: " << e.what() << '\n';
        return 1;
    }

    check(!log.empty(), "the debug output reached the program's log");
    for (const std::string& line : log) {
        std::cout << "host log: " << line << '\n';
    }
    if (failures) {
        std::cerr << failures << " check(s) failed\n";
        return 1;
    }
    std::cout << "all checks passed\n";
    return 0;
}

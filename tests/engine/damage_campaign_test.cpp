// Damage campaign through the engine: damaged copies of fixtures
// (tests/support/damage_mutants.hpp) opened, read whole and compacted. Each
// either reads the original rows or fails naming the file; a compact that
// succeeds leaves a file with the original rows that check finds sound.
#include "engine_test_support.hpp"
#include "jet/check/file_check.hpp"
#include "support/damage_mutants.hpp"
#include "support/database_rows.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvdb::engine {
namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DamageCampaign, EngineReadsTheOriginalOrRefusesAndCompactsOnlySoundFiles) {
    const fs::path fixtures = fs::path(ORVDB_FIXTURES_DIR) / "jet4";
    if (!fs::exists(fixtures / "overflowTestV2000.mdb")) {
        GTEST_SKIP() << "Jet fixtures not found under " << fixtures;
    }
    testing::ScratchDir dir;
    int made = 0;
    int compacted = 0;
    for (const char* name : {"overflowTestV2000.mdb", "delTestV2000.mdb", "indexTestV2000.mdb",
                             "testPromotionV2000.mdb", "compIndexTestV2000.mdb"}) {
        std::vector<unsigned char> original = bytesOf(fixtures / name);
        fs::path intactCopy = dir.file(std::string("intact-") + name);
        std::ofstream(intactCopy, std::ios::binary)
            .write(reinterpret_cast<const char*>(original.data()),
                   static_cast<std::streamsize>(original.size()));
        const test_support::Lines intact = test_support::allTableRows(intactCopy);
        test_support::DamageMaker maker(original, 7);
        std::vector<unsigned char> mutant;
        for (int attempt = 0, fromThis = 0; fromThis < 24 && attempt < 96; ++attempt) {
            test_support::Damage kind{};
            if (!maker.next(mutant, kind)) {
                continue;
            }
            ++fromThis;
            ++made;
            const std::string file =
                dir.file("mutant-" + std::to_string(made) + "-" + std::string(name));
            std::ofstream(file, std::ios::binary)
                .write(reinterpret_cast<const char*>(mutant.data()),
                       static_cast<std::streamsize>(mutant.size()));
            const char* what = test_support::kDamageNames[static_cast<int>(kind)];
            try {
                EXPECT_EQ(test_support::allTableRows(file), intact) << file << " (" << what << ")";
            } catch (const std::exception& error) {
                EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
                continue;
            }
            try {
                Connection connection;
                connection.setConnectionString("Data Source=" + file);
                connection.open();
                connection.store().compact();
            } catch (const std::exception& error) {
                EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
                continue;
            }
            ++compacted;
            EXPECT_EQ(test_support::allTableRows(file), intact) << file << " (" << what << ")";
            EXPECT_FALSE(jet::checkJetFile(jet::JetFile::open(file)).hasErrors())
                << file << " (" << what << ") compacted into a file check rejects";
        }
    }
    EXPECT_GE(made, 100);
    RecordProperty("mutants", made);
    RecordProperty("compacted", compacted);
}

}  // namespace
}  // namespace orvdb::engine

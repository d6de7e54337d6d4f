// Damaged copies of fixtures (tests/support/damage_mutants.hpp) through the
// engine: a damaged file never reads or compacts into other rows unnoticed.
#include "engine_test_support.hpp"
#include "support/damage_mutants.hpp"
#include "support/database_rows.hpp"

namespace orvdb::engine {
namespace {

namespace fs = std::filesystem;

// 1 when the repair wrote a copy.
int expectSoundRepair(const std::string& file, const test_support::Lines& intact,
                      const char* what) {
    const std::string copy = file + ".repaired.mdb";
    std::vector<std::string> report;
    try {
        report = testing::openFile(file, "Mode=Read;")->store().salvageTo(copy);
    } catch (const std::exception& error) {
        EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
        return 0;
    }
    EXPECT_FALSE(jet::checkJetFile(jet::JetFile::open(copy)).hasErrors())
        << file << " (" << what << ") repaired into a file check rejects";
    if (test_support::allTableRows(copy) != intact) {
        EXPECT_FALSE(report.empty()) << file << " (" << what << ") repaired without a report";
    }
    return 1;
}

using DamageCampaign = testing::JetFixtureTest;

TEST_F(DamageCampaign, EngineReadsTheOriginalOrRefusesAndCompactsOnlySoundFiles) {
    const fs::path fixtures = testing::jetFixture("");
    testing::ScratchDir dir;
    int made = 0;
    int compacted = 0;
    int repairs = 0;
    for (const char* name : {"overflowTestV2000.mdb", "delTestV2000.mdb", "indexTestV2000.mdb",
                             "testPromotionV2000.mdb", "compIndexTestV2000.mdb"}) {
        const std::string originalText = testing::readFile(fixtures / name);
        const std::vector<unsigned char> original(originalText.begin(), originalText.end());
        fs::path intactCopy = dir.file(std::string("intact-") + name);
        testing::writeFile(intactCopy, originalText);
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
            testing::writeFile(file, std::string(mutant.begin(), mutant.end()));
            const char* what = test_support::kDamageNames[static_cast<int>(kind)];
            try {
                EXPECT_EQ(test_support::allTableRows(file), intact) << file << " (" << what << ")";
            } catch (const std::exception& error) {
                EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
                repairs += expectSoundRepair(file, intact, what);
                continue;
            }
            try {
                testing::openFile(file)->store().compact();
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
    RecordProperty("repaired", repairs);
}

}  // namespace
}  // namespace orvdb::engine

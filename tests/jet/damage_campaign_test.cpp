// Every fixture copied with one structure damaged (seeded, so a failure
// reproduces; ORVDB_DAMAGE_MUTANTS sets the count): the reader gives the
// original rows or names the file, and `check` finds what stops the reader.
#include <gtest/gtest.h>

#include <cstdlib>

#include "jet/check/file_check.hpp"
#include "jet/fixture_support.hpp"
#include "support/damage_mutants.hpp"

namespace orvdb::jet {
namespace {

using Tables = std::vector<std::vector<std::vector<Value>>>;

Tables readAll(const JetFile& file) {
    Tables tables;
    for (const std::string& name : file.tableNames(true)) {
        tables.push_back(testing::allRows(file, name));
    }
    return tables;
}

// Enough for 2,000 in all; the two large files fewer (checking them whole
// takes most of the time).
int mutantsFor(size_t fileSize) {
    const char* configured = std::getenv("ORVDB_DAMAGE_MUTANTS");
    if (configured) {
        return std::max(1, std::atoi(configured));
    }
    return fileSize > (1u << 20) ? 40 : 120;
}

class DamageCampaign : public testing::EveryFixture {};

TEST_P(DamageCampaign, ReadsTheOriginalOrFailsAndCheckSeesWhatStopsTheReader) {
    const std::optional<std::string>& password = GetParam().password;
    std::vector<unsigned char> original = testing::readFileBytes(path());
    const Tables intact = readAll(JetFile::openMemory(original, "intact.mdb", password));
    test_support::DamageMaker maker(original, 20261206);
    const int wanted = mutantsFor(original.size());
    int made = 0;
    std::vector<unsigned char> mutant;
    for (int attempt = 0; made < wanted && attempt < 4 * wanted; ++attempt) {
        test_support::Damage kind{};
        if (!maker.next(mutant, kind)) {
            continue;
        }
        ++made;
        const std::string name = "mutant-" + std::to_string(attempt) + ".mdb";
        const char* what = test_support::kDamageNames[static_cast<int>(kind)];
        std::string failure;
        try {
            EXPECT_TRUE(readAll(JetFile::openMemory(mutant, name, password)) == intact)
                << name << " (" << what << ") reads other rows without an error";
        } catch (const JetError& error) {
            failure = error.what();
        }
        if (failure.empty()) {
            continue;
        }
        EXPECT_NE(failure.find(name), std::string::npos) << failure;
        try {
            EXPECT_TRUE(checkJetFile(JetFile::openMemory(mutant, name, password)).hasErrors())
                << name << " (" << what << "): check finds nothing, reading fails: " << failure;
        } catch (const DamagedCatalog&) {
            // The catalog itself: opening says so already.
        }
    }
    EXPECT_GE(made, wanted / 2);
    RecordProperty("mutants", made);
}

ORVDB_FOR_EVERY_FIXTURE(DamageCampaign);

}  // namespace
}  // namespace orvdb::jet

// The shared Access-made files (ORVDB_FIXTURES_DIR/jet4), and a test base
// that skips, saying where it looked, when they are absent.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace orvdb::test {

inline std::string jetFixture(const std::string& name) {
    return std::string(ORVDB_FIXTURES_DIR) + "/jet4/" + name;
}

// Every file of the folder and its password. withPassword2000's was
// recovered from its header: the stored bytes XOR the creation date spell it.
struct JetFixtureFile {
    const char* file;
    const char* password;  // nullptr: none
};
inline constexpr JetFixtureFile kJetFixtures[] = {
    {"adox_jet4.mdb", nullptr},
    {"bigIndexTestV2000.mdb", nullptr},
    {"compIndexTestV2000.mdb", nullptr},
    {"delColTestV2000.mdb", nullptr},
    {"delTestV2000.mdb", nullptr},
    {"empty.mdb", nullptr},
    {"emptyJet4.mdb", nullptr},
    {"fixedNumericTestV2000.mdb", nullptr},
    {"fixedTextTestV2000.mdb", nullptr},
    {"indexCursorTestV2000.mdb", nullptr},
    {"indexTestV2000.mdb", nullptr},
    {"northwind.mdb", nullptr},
    {"overflowTestV2000.mdb", nullptr},
    {"passwordless2000.mdb", nullptr},
    {"queryTestV2000.mdb", nullptr},
    {"test2V2000.mdb", nullptr},
    {"testIndexPropertiesV2000.mdb", nullptr},
    {"testPromotionV2000.mdb", nullptr},
    {"testV2000.mdb", nullptr},
    {"withPassword2000.mdb", "password"},
};

struct JetFixtureTest : ::testing::Test {
    void SetUp() override {
        if (!std::filesystem::exists(jetFixture("northwind.mdb"))) {
            GTEST_SKIP() << "Jet fixtures not found under " << ORVDB_FIXTURES_DIR;
        }
    }
};

}  // namespace orvdb::test

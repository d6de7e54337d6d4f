// Damaged copies of real files: every structure the reader follows may now
// point anywhere. Reading must end with the data or with a JetError that
// names the file -- never a crash, a hang or an unbounded allocation.
#include <gtest/gtest.h>

#include <random>

#include "jet/fixture_support.hpp"
#include "jet/format/bytes.hpp"
#include "jet/format/tdef.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/read/relationships.hpp"
#include "jet/read/saved_queries.hpp"

namespace orvdb::jet {
namespace {

using testing::fixturePath;
using testing::readFileBytes;
using testing::TempDir;
using testing::writeFileBytes;

// Everything a reader of the file would touch. Returns the rows read.
size_t readEverything(const std::filesystem::path& path) {
    JetFile file = JetFile::open(path);
    size_t rows = 0;
    for (const std::string& name : file.tableNames(true)) {
        TableReader reader = file.readTable(name);
        while (reader.next()) {
            ++rows;
        }
        file.tableProperties(name);
    }
    file.databaseProperties();
    readRelationships(file);
    readSavedQueries(file);
    return rows;
}

// Empty on success, else the error message; any other exception fails the test.
std::string tryReadEverything(const std::filesystem::path& path) {
    return testing::errorOf([&] { readEverything(path); });
}

TEST(DamagedFiles, TruncatedAtPageBoundariesFailCleanly) {
    ORVDB_REQUIRE_FIXTURE("northwind.mdb");
    auto original = readFileBytes(fixturePath("northwind.mdb"));
    TempDir dir;
    size_t pages = original.size() / kPageSize;
    int failures = 0;
    for (size_t keep : {size_t{3}, size_t{5}, size_t{20}, pages / 4, pages / 2, pages - 1}) {
        auto cut = original;
        cut.resize(keep * kPageSize);
        auto path = dir.path() / ("northwind-" + std::to_string(keep) + ".mdb");
        writeFileBytes(path, cut);
        std::string message = tryReadEverything(path);
        if (!message.empty()) {
            ++failures;
            EXPECT_NE(message.find(path.string()), std::string::npos) << message;
        }
    }
    // Only the copy missing its last page might still read completely.
    EXPECT_GE(failures, 5);
}

struct FlipCase {
    const char* fixture;
    int trials;
    int bytesPerTrial;
};

class RandomDamage : public ::testing::TestWithParam<FlipCase> {};

TEST_P(RandomDamage, FlippedBytesNeverCrashOrHang) {
    const FlipCase& flip = GetParam();
    ORVDB_REQUIRE_FIXTURE(flip.fixture);
    auto original = readFileBytes(fixturePath(flip.fixture));
    size_t intactRows = readEverything(fixturePath(flip.fixture));
    TempDir dir;
    std::mt19937 random(20240607);  // fixed: failures must reproduce
    std::uniform_int_distribution<size_t> position(0, original.size() - 1);
    std::uniform_int_distribution<int> bit(0, 7);
    int errors = 0;
    for (int trial = 0; trial < flip.trials; ++trial) {
        auto damaged = original;
        std::string flipped;
        for (int n = 0; n < flip.bytesPerTrial; ++n) {
            size_t at = position(random);
            // Most of a file is free space; aim half the flips at the pages
            // that hold structures (header, catalog, first tables).
            if (n % 2 == 0) {
                at %= std::min<size_t>(original.size(), 40 * kPageSize);
            }
            damaged[at] ^= static_cast<unsigned char>(1u << bit(random));
            flipped += " " + std::to_string(at);
        }
        auto path = dir.path() / (std::string("flip-") + std::to_string(trial) + ".mdb");
        writeFileBytes(path, damaged);
        SCOPED_TRACE("trial " + std::to_string(trial) + ", flipped bytes at" + flipped);
        try {
            readEverything(path);
        } catch (const JetError& error) {
            ++errors;
            EXPECT_NE(std::string(error.what()).find(path.string()), std::string::npos)
                << error.what();
        }
        std::filesystem::remove(path);
    }
    // The flips must have hit something: some copies fail, and the intact
    // file still reads.
    EXPECT_GT(errors, 0);
    EXPECT_GT(intactRows, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, RandomDamage,
    ::testing::Values(FlipCase{"testV2000.mdb", 60, 8}, FlipCase{"test2V2000.mdb", 60, 48},
                      FlipCase{"northwind.mdb", 60, 12}, FlipCase{"overflowTestV2000.mdb", 100, 4},
                      FlipCase{"queryTestV2000.mdb", 60, 6}, FlipCase{"delColTestV2000.mdb", 60, 6},
                      FlipCase{"indexTestV2000.mdb", 60, 6}),
    [](const ::testing::TestParamInfo<FlipCase>& info) {
        std::string name = info.param.fixture;
        return name.substr(0, name.find('.'));
    });

TEST(DamagedFiles, BrokenStructuresInThePagesAreReportedByName) {
    ORVDB_REQUIRE_FIXTURE("testV2000.mdb");
    auto original = readFileBytes(fixturePath("testV2000.mdb"));
    TempDir dir;
    JetFile intact = JetFile::open(fixturePath("testV2000.mdb"));
    const CatalogObject* table = intact.catalog().findTable("Table1");
    ASSERT_NE(table, nullptr);
    uint32_t tablePage = table->tablePage();

    struct Damage {
        const char* what;
        std::function<void(std::vector<unsigned char>&)> apply;
        const char* expected;
    };
    const std::vector<Damage> damages = {
        {"catalog page type", [](auto& bytes) { bytes[kCatalogPage * kPageSize] = 0x07; },
         "should hold a table definition"},
        {"catalog continuation loops to itself",
         [](auto& bytes) { bytes[kCatalogPage * kPageSize + tdef::kNextPage] = kCatalogPage; },
         "loops back to page 2"},
        {"table definition continues past the end",
         [&](auto& bytes) { bytes[tablePage * kPageSize + tdef::kNextPage + 2] = 0x7F; },
         "beyond the end of the file"},
        {"table definition claims 60000 columns",
         [&](auto& bytes) {
             putU16(std::span(bytes).subspan(tablePage * kPageSize), tdef::kColumnCount, 60000);
         },
         "claims 60000 columns"},
    };
    for (const Damage& damage : damages) {
        auto bytes = original;
        damage.apply(bytes);
        auto path = dir.path() / "damaged.mdb";
        writeFileBytes(path, bytes);
        std::string message = tryReadEverything(path);
        EXPECT_NE(message.find(path.string()), std::string::npos) << damage.what << ": " << message;
        EXPECT_NE(message.find(damage.expected), std::string::npos)
            << damage.what << ": " << message;
    }
}

}  // namespace
}  // namespace orvdb::jet

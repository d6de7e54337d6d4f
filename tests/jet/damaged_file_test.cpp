// Damaged copies of real files: reading ends with the data or a JetError
// naming the file, never a crash, a hang or an unbounded allocation.
#include <gtest/gtest.h>

#include "jet/fixture_support.hpp"
#include "jet/format/bytes.hpp"
#include "jet/format/data_page.hpp"
#include "jet/format/row_pointer.hpp"
#include "jet/format/tdef.hpp"
#include "jet/format/usage_map.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/read/relationships.hpp"
#include "jet/read/saved_queries.hpp"

namespace orvdb::jet {
namespace {

using testing::fixturePath;
using testing::readFileBytes;

// Everything a reader of the file would touch: empty on success, else the
// error message; any other exception fails the test.
std::string readEverything(const std::vector<unsigned char>& bytes, const std::string& name) {
    return testing::errorOf([&] {
        JetFile file = JetFile::openMemory(bytes, name);
        for (const std::string& table : file.tableNames(true)) {
            TableReader reader = file.readTable(table);
            while (reader.next()) {
            }
            file.tableProperties(table);
        }
        file.databaseProperties();
        readRelationships(file);
        readSavedQueries(file);
    });
}

// Cut files are refused on opening (DamagedHeader); pages past the end that
// a structure names are refused here.
TEST(DamagedFiles, BrokenStructuresInThePagesAreReportedByName) {
    ORVDB_REQUIRE_FIXTURE("testV2000.mdb");
    auto original = readFileBytes(fixturePath("testV2000.mdb"));
    const uint32_t tablePage = JetFile::openMemory(original, "intact.mdb").table("Table1")->page;

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
        {"owned-pages map starts past the end",
         [&](auto& bytes) {
             std::span<uint8_t> all(bytes);
             RowPointer map =
                 RowPointer::fromRaw(getU32(all.subspan(tablePage * kPageSize), tdef::kOwnedPages));
             auto mapPage = all.subspan(map.page * kPageSize, kPageSize);
             size_t row = getU16(mapPage, data_page::rowOffsetAt(map.row)) & data_page::kOffsetMask;
             ASSERT_EQ(mapPage[row + usage_map::kType], usage_map::kInline);
             putU32(mapPage, row + usage_map::kStartPage, 0x100000);
         },
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
        std::string message = readEverything(bytes, "damaged.mdb");
        EXPECT_NE(message.find("damaged.mdb"), std::string::npos) << damage.what << ": " << message;
        EXPECT_NE(message.find(damage.expected), std::string::npos)
            << damage.what << ": " << message;
    }
}

}  // namespace
}  // namespace orvdb::jet

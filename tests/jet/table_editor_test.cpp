// The table editor's own unique check: only a store and a file that disagree
// reach it, and then nothing else guards the unique index.
#include <gtest/gtest.h>

#include <algorithm>

#include "jet/fixture_support.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/update/table_editor.hpp"

namespace orvdb::jet {
namespace {

// A file image's pages, as the engine's pager hands them to a change.
class MemoryPageReader : public PageReader {
public:
    explicit MemoryPageReader(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    uint32_t pageCount() const override { return static_cast<uint32_t>(bytes_.size() / kPageSize); }
    void readPage(uint32_t number, PageBytes& out) override {
        std::copy_n(bytes_.begin() + static_cast<ptrdiff_t>(number) * kPageSize, kPageSize,
                    out.begin());
    }

private:
    std::vector<uint8_t> bytes_;
};

TEST(TableEditor, RefusesAKeyTheUniqueIndexListsOnInsertAndOnUpdate) {
    ORVDB_REQUIRE_FIXTURE("northwind.mdb");
    std::vector<uint8_t> bytes = testing::readFileBytes(testing::fixturePath("northwind.mdb"));
    const uint32_t shippersPage =
        JetFile::openMemory(bytes, "northwind.mdb").table("Shippers")->page;
    MemoryPageReader reader(bytes);
    FilePages pages(reader, "northwind.mdb");
    TableEditor shippers(pages, shippersPage, "Shippers");
    auto shipper = [](int64_t id) {
        return std::vector<Value>{id, std::string("Carrier"), std::string("555")};
    };
    const std::string refusal = "would create duplicate values in the index";
    EXPECT_NE(testing::errorOf([&] { shippers.insert(shipper(1)); }).find(refusal),
              std::string::npos);
    RowPointer added = shippers.insert(shipper(100));
    EXPECT_NE(testing::errorOf([&] { shippers.update(added, shipper(2)); }).find(refusal),
              std::string::npos);
}

}  // namespace
}  // namespace orvdb::jet

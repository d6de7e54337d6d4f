// Damaged files are read as far as they can be, and repaired into sound copies.
#include "engine_test_support.hpp"

#include <algorithm>

namespace orvdb::engine {
namespace {

constexpr size_t kPage = 4096;
constexpr int kRows = 600;

using Bytes = std::string;
using testing::openFile;
using testing::readFile;
using testing::writeFile;

uint32_t ownerOf(const Bytes& bytes, size_t page) {
    uint32_t owner = 0;
    std::copy_n(bytes.begin() + static_cast<long>(page * kPage + 4), 4,
                reinterpret_cast<char*>(&owner));
    return owner;
}

bool isLongValuePage(const Bytes& bytes, size_t page) {
    return std::equal(bytes.begin() + static_cast<long>(page * kPage + 4),
                      bytes.begin() + static_cast<long>(page * kPage + 8), "LVAL");
}

// The data pages of the user table (the last table made: the highest owner)
// and the long-value pages, in file order.
struct Pages {
    std::vector<size_t> rows;
    std::vector<size_t> longValues;
};

Pages pagesOf(const Bytes& bytes) {
    Pages pages;
    uint32_t table = 0;
    for (size_t page = 3; page < bytes.size() / kPage; ++page) {
        if (bytes[page * kPage] == 0x01 && !isLongValuePage(bytes, page)) {
            table = std::max(table, ownerOf(bytes, page));
        }
    }
    for (size_t page = 3; page < bytes.size() / kPage; ++page) {
        if (bytes[page * kPage] != 0x01) {
            continue;
        }
        if (isLongValuePage(bytes, page)) {
            pages.longValues.push_back(page);
        } else if (ownerOf(bytes, page) == table) {
            pages.rows.push_back(page);
        }
    }
    return pages;
}

// The row offset table of a data page starts at byte 14.
void setRowOffset(Bytes& bytes, size_t page, int row, uint16_t offset) {
    size_t at = page * kPage + 14 + static_cast<size_t>(row) * 2;
    bytes[at] = static_cast<char>(offset & 0xFF);
    bytes[at + 1] = static_cast<char>(offset >> 8);
}

struct DamageCase {
    const char* what;
    std::function<void(Bytes&, const Pages&)> damage;
    int rowsKept;
    const char* reported;
};

TEST(DamagedFile, RepairKeepsEveryRowThatReadsAndNamesWhatIsLost) {
    testing::ScratchDir dir;
    const std::string original = dir.file("original.mdb");
    WorkingStore::createDatabase(original);
    {
        auto conn = openFile(original);
        conn->execute("CREATE TABLE T (ID LONG PRIMARY KEY, Name TEXT(50), Notes MEMO)");
        conn->beginTransaction();
        for (int id = 0; id < kRows; ++id) {
            // Every 50th memo is long enough to live on a long-value page.
            std::string notes = id % 50 == 0 ? std::string(3000, 'n') : "short";
            conn->execute("INSERT INTO T VALUES (" + std::to_string(id) + ", 'name " +
                          std::to_string(id) + "', '" + notes + "')");
        }
        conn->commitTransaction();
    }
    const Bytes intact = readFile(original);
    const Pages pages = pagesOf(intact);
    ASSERT_GE(pages.rows.size(), 3u);
    ASSERT_FALSE(pages.longValues.empty());

    const DamageCase cases[] = {
        {"a data page's owner field",
         [](Bytes& bytes, const Pages& found) { bytes[found.rows[1] * kPage + 6] = 0x7F; }, kRows,
         "names no table as its owner"},
        // Row 2's offset points into the page header: rows 2 and 3 (which
        // ends where row 2 starts) have no bounds left.
        {"one row's offset",
         [](Bytes& bytes, const Pages& found) { setRowOffset(bytes, found.rows[2], 2, 5); },
         kRows - 2, "row 2 of page"},
        {"a long value's row",
         [](Bytes& bytes, const Pages& found) { setRowOffset(bytes, found.longValues[0], 0, 7); },
         kRows, "the value of column 'Notes' is lost"},
        {"a data page's type",
         [](Bytes& bytes, const Pages& found) { bytes[found.rows[1] * kPage] = 0x07; }, -1,
         "is a page of type 7"},
    };
    int index = 0;
    for (const DamageCase& damage : cases) {
        Bytes bytes = intact;
        damage.damage(bytes, pages);
        const std::string damaged = dir.file("damaged" + std::to_string(index) + ".mdb");
        const std::string copy = dir.file("copy" + std::to_string(index++) + ".mdb");
        writeFile(damaged, bytes);
        std::string joined;
        for (const std::string& line : openFile(damaged, "Mode=Read;")->store().salvageTo(copy)) {
            joined += line + "\n";
        }
        EXPECT_NE(joined.find(damage.reported), std::string::npos) << damage.what << "\n" << joined;
        const int kept = std::stoi(
            testing::column(*openFile(copy, "Mode=Read;"), "SELECT Count(*) FROM T").front());
        if (damage.rowsKept >= 0) {
            EXPECT_EQ(kept, damage.rowsKept) << damage.what << "\n" << joined;
        } else {
            // A page that is not a data page any more: its rows are lost,
            // every other page's are kept.
            EXPECT_GT(kept, kRows / 2) << damage.what << "\n" << joined;
            EXPECT_LT(kept, kRows) << damage.what << "\n" << joined;
        }
        EXPECT_EQ(testing::checkErrors(copy), std::vector<std::string>{}) << damage.what;
    }
}

// The file's unique indexes hold after it is opened again; one over rows that
// hold duplicates leaves every row readable and the file untouched.
TEST(DamagedFile, UniqueIndexOverDuplicatesOpensReadOnlyNamingIt) {
    testing::ScratchDir dir;
    const std::string good = dir.file("good.mdb");
    WorkingStore::createDatabase(good);
    {
        auto conn = openFile(good);
        conn->execute("CREATE TABLE T (ID LONG PRIMARY KEY, Code TEXT(10))");
        conn->execute("CREATE INDEX ByCode ON T (Code)");
        for (const char* row : {"1, 'a'", "2, 'a'", "3, 'b'"}) {
            conn->execute(std::string("INSERT INTO T VALUES (") + row + ")");
        }
    }
    {
        auto conn = openFile(good);
        EXPECT_NE(testing::errorOf([&] {
                      conn->execute("INSERT INTO T VALUES (1, 'c')");
                  }).find("duplicate values"),
                  std::string::npos);
        EXPECT_EQ(testing::column(*conn, "SELECT Count(*) FROM T"), std::vector<std::string>{"3"});
    }
    // ByCode, the physical index whose first column is Code (column 1), made
    // unique in the table's definition.
    Bytes bytes = readFile(good);
    const uint32_t table = ownerOf(bytes, pagesOf(bytes).rows.front());
    const char marker[] = {char(0x83), char(0x07), 0, 0, 1, 0};
    auto at = std::search(bytes.begin() + static_cast<long>(table * kPage),
                          bytes.begin() + static_cast<long>((table + 1) * kPage), marker,
                          marker + sizeof marker);
    ASSERT_NE(at, bytes.begin() + static_cast<long>((table + 1) * kPage));
    at[46] = static_cast<char>(at[46] | 0x01);
    const std::string damaged = dir.file("damaged.mdb");
    writeFile(damaged, bytes);
    auto conn = openFile(damaged);
    EXPECT_EQ(testing::column(*conn, "SELECT Count(*) FROM T"), std::vector<std::string>{"3"});
    const std::string refused =
        testing::errorOf([&] { conn->execute("INSERT INTO T VALUES (4, 'a')"); });
    EXPECT_NE(refused.find("read-only"), std::string::npos) << refused;
    EXPECT_NE(refused.find("ByCode"), std::string::npos) << refused;
    conn.reset();
    EXPECT_EQ(readFile(damaged), bytes);
    // A repair keeps the rows and the index, which then allows duplicates.
    const std::string copy = dir.file("copy.mdb");
    const std::vector<std::string> report =
        openFile(damaged, "Mode=Read;")->store().salvageTo(copy);
    ASSERT_EQ(report.size(), 1u);
    EXPECT_NE(report.front().find("'ByCode'"), std::string::npos) << report.front();
    EXPECT_NE(report.front().find("allows duplicates"), std::string::npos) << report.front();
    EXPECT_TRUE(jet::checkJetFile(copy, std::nullopt).findings.empty());
}

}  // namespace
}  // namespace orvdb::engine

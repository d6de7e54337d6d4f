// Opening files: what each fixture's header says, the database password,
// and the clear refusals for files the codec must not read.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>

#include "jet/fixture_support.hpp"
#include "jet/format/header_page.hpp"
#include "jet/format/rc4.hpp"
#include "jet/read/database_info.hpp"
#include "jet/read/jet_file.hpp"

namespace orvdb::jet {
namespace {

using testing::fixturePath;
using testing::readFileBytes;
using testing::TempDir;
using testing::writeFileBytes;

constexpr size_t kMaskedOffset = 0x18;
constexpr size_t kMaskedLength = 128;

void applyHeaderMask(std::vector<unsigned char>& file) {
    const std::array<uint8_t, 4> key = {0xC7, 0xDA, 0x39, 0x6B};
    Rc4 mask(key);
    mask.apply(std::span(file).subspan(kMaskedOffset, kMaskedLength));
}

// Changes a field inside the masked part of the header the way Jet would.
void setMaskedU32(std::vector<unsigned char>& file, size_t offset, uint32_t value) {
    applyHeaderMask(file);
    std::memcpy(file.data() + offset, &value, 4);
    applyHeaderMask(file);
}

std::string openError(const std::filesystem::path& path,
                      const std::optional<std::string>& password = std::nullopt) {
    try {
        JetFile::open(path, password);
    } catch (const JetError& error) {
        return error.what();
    }
    return "";
}

class FixtureHeader : public ::testing::TestWithParam<testing::FixtureInfo> {};

TEST_P(FixtureHeader, OpensAsJet4WithWesternCodePage) {
    ORVDB_REQUIRE_FIXTURE(GetParam().file);
    JetFile file = JetFile::open(fixturePath(GetParam().file), GetParam().password);
    EXPECT_EQ(file.header().version, header_page::kJet4Version);
    EXPECT_EQ(file.header().codePage, 1252);
    EXPECT_EQ(file.header().sortOrder, 0x0409);
    EXPECT_EQ(file.header().encryptionKey, 0u);
    // Created by Access 2000 or later: after 1999, before 2030.
    EXPECT_GT(file.header().creationDate, 36161.0);
    EXPECT_LT(file.header().creationDate, 47484.0);
    EXPECT_EQ(file.pageCount() * uint64_t{kPageSize},
              std::filesystem::file_size(fixturePath(GetParam().file)));
    for (const char* system : {"MSysObjects", "MSysACEs", "MSysQueries", "MSysRelationships"}) {
        EXPECT_NE(file.catalog().findTable(system), nullptr) << system;
    }
}

TEST_P(FixtureHeader, OpensTheSameFromMemory) {
    ORVDB_REQUIRE_FIXTURE(GetParam().file);
    auto bytes = readFileBytes(fixturePath(GetParam().file));
    JetFile fromDisk = JetFile::open(fixturePath(GetParam().file), GetParam().password);
    JetFile fromMemory = JetFile::openMemory(bytes, GetParam().file, GetParam().password);
    EXPECT_EQ(fromMemory.tableNames(true), fromDisk.tableNames(true));
    EXPECT_EQ(fromMemory.pageCount(), fromDisk.pageCount());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureHeader, ::testing::ValuesIn(testing::knownFixtures()),
                         [](const auto& info) { return testing::fixtureTestName(info.param); });

TEST(FixtureSet, EveryFixtureFileIsCovered) {
    if (testing::fixtureDir().empty()) {
        GTEST_SKIP() << "fixture folder " ORVDB_FIXTURES_DIR "/jet4 not found";
    }
    for (const auto& entry : std::filesystem::directory_iterator(testing::fixtureDir())) {
        if (entry.path().extension() != ".mdb") {
            continue;
        }
        const auto& known = testing::knownFixtures();
        bool listed = std::any_of(known.begin(), known.end(), [&](const testing::FixtureInfo& f) {
            return f.file == entry.path().filename().string();
        });
        EXPECT_TRUE(listed) << entry.path().filename() << " is not in knownFixtures()";
    }
}

TEST(DatabasePassword, OpensOnlyWithTheRightPassword) {
    ORVDB_REQUIRE_FIXTURE("withPassword2000.mdb");
    auto path = fixturePath("withPassword2000.mdb");
    JetFile file = JetFile::open(path, std::string("password"));
    EXPECT_EQ(file.header().password, u"password");
    EXPECT_TRUE(describeDatabase(file).hasPassword);
    EXPECT_NE(file.catalog().findTable("Table1"), nullptr);

    std::string missing = openError(path);
    EXPECT_NE(missing.find(path.string()), std::string::npos) << missing;
    EXPECT_NE(missing.find("is protected by a password"), std::string::npos) << missing;
    EXPECT_EQ(openError(path, std::string("")), missing);

    // Jet compares passwords case-sensitively.
    for (const char* wrong : {"Password", "passwor", "password1", "secret"}) {
        std::string message = openError(path, std::string(wrong));
        EXPECT_NE(message.find(path.string()), std::string::npos) << message;
        EXPECT_NE(message.find("wrong password"), std::string::npos) << wrong << ": " << message;
    }
}

TEST(DatabasePassword, IsIgnoredForFilesWithoutOne) {
    ORVDB_REQUIRE_FIXTURE("passwordless2000.mdb");
    JetFile file = JetFile::open(fixturePath("passwordless2000.mdb"), std::string("anything"));
    EXPECT_TRUE(file.header().password.empty());
}

class DamagedHeader : public ::testing::Test {
protected:
    void SetUp() override {
        ORVDB_REQUIRE_FIXTURE("testV2000.mdb");
        original_ = readFileBytes(fixturePath("testV2000.mdb"));
    }
    std::filesystem::path write(const std::string& name, const std::vector<unsigned char>& bytes) {
        auto path = dir_.path() / name;
        writeFileBytes(path, bytes);
        return path;
    }

    TempDir dir_;
    std::vector<unsigned char> original_;
};

TEST_F(DamagedHeader, RefusesJet3AndAceFilesByName) {
    auto jet3 = original_;
    jet3[0x14] = 0x00;
    auto path = write("old97.mdb", jet3);
    std::string message = openError(path);
    EXPECT_NE(message.find(path.string()), std::string::npos) << message;
    EXPECT_NE(message.find("is an Access 97 (Jet 3) database; only Access 2000 and later (Jet 4) "
                           "files are supported"),
              std::string::npos)
        << message;

    auto ace = original_;
    std::memcpy(ace.data() + 4, "Standard ACE DB", 15);
    ace[0x14] = 0x02;
    path = write("new2007.accdb", ace);
    message = openError(path);
    EXPECT_NE(message.find("ACE"), std::string::npos) << message;
    EXPECT_NE(message.find(path.string()), std::string::npos) << message;
}

TEST_F(DamagedHeader, RefusesFilesThatAreNotJetDatabases) {
    std::string text = "This is a text file, not a database.\n";
    std::vector<unsigned char> bytes(text.begin(), text.end());
    bytes.resize(8192, ' ');
    for (const auto& [name, content] :
         std::vector<std::pair<std::string, std::vector<unsigned char>>>{
             {"notes.mdb", bytes},
             {"tiny.mdb", {0x00, 0x01}},
             {"zeros.mdb", std::vector<unsigned char>(4096, 0)}}) {
        auto path = write(name, content);
        std::string message = openError(path);
        EXPECT_NE(message.find(path.string()), std::string::npos) << message;
        EXPECT_NE(message.find("not an Access database"), std::string::npos) << message;
    }
    auto empty = write("empty-file.mdb", {});
    EXPECT_NE(openError(empty).find("is empty"), std::string::npos);

    std::string missing = openError(dir_.path() / "absent.mdb");
    EXPECT_NE(missing.find("absent.mdb: cannot open the file"), std::string::npos) << missing;
    EXPECT_NE(openError(dir_.path()).find("not a regular file"), std::string::npos);
}

TEST_F(DamagedHeader, RefusesTruncatedFiles) {
    for (size_t size : {size_t{100}, size_t{4096 + 17}, original_.size() - 1, size_t{2 * 4096}}) {
        auto cut = original_;
        cut.resize(size);
        auto path = write("cut" + std::to_string(size) + ".mdb", cut);
        std::string message = openError(path);
        EXPECT_NE(message.find(path.string()), std::string::npos) << size << ": " << message;
        EXPECT_NE(message.find("truncated"), std::string::npos) << size << ": " << message;
    }
}

TEST_F(DamagedHeader, RefusesEncryptedFiles) {
    auto encrypted = original_;
    setMaskedU32(encrypted, 0x3E, 0x5A3C1F02);
    auto path = write("encoded.mdb", encrypted);
    std::string message = openError(path);
    EXPECT_NE(message.find(path.string()), std::string::npos) << message;
    EXPECT_NE(message.find("encrypted"), std::string::npos) << message;
}

TEST_F(DamagedHeader, ReadsAPasswordWrittenIntoAnotherFile) {
    // Writing a password into the header of a file that has none must make
    // it demand that password: checks the mask against the creation date.
    auto bytes = original_;
    applyHeaderMask(bytes);
    double created = 0;
    std::memcpy(&created, bytes.data() + 0x72, 8);
    auto days = static_cast<uint32_t>(static_cast<int32_t>(created));
    const std::u16string secret = u"Tür42";
    for (size_t n = 0; n < 40; ++n) {
        uint8_t plain = 0;
        if (n / 2 < secret.size()) {
            plain = static_cast<uint8_t>(secret[n / 2] >> (n % 2 ? 8 : 0));
        }
        bytes[0x42 + n] = plain ^ static_cast<uint8_t>(days >> (8 * (n % 4)));
    }
    applyHeaderMask(bytes);
    auto path = write("locked.mdb", bytes);
    EXPECT_NE(openError(path).find("is protected by a password"), std::string::npos);
    EXPECT_NE(openError(path, std::string("T\xC3\xBCr4")).find("wrong password"),
              std::string::npos);
    EXPECT_EQ(openError(path, std::string("T\xC3\xBCr42")), "");
}

TEST(DatabaseInfoSummary, NamesFormatCodePageAndTables) {
    ORVDB_REQUIRE_FIXTURE("testV2000.mdb");
    ORVDB_REQUIRE_FIXTURE("adox_jet4.mdb");
    JetFile file = JetFile::open(fixturePath("testV2000.mdb"));
    DatabaseInfo info = describeDatabase(file);
    EXPECT_EQ(info.format, "Access 2000");
    EXPECT_EQ(info.accessVersion, "08.50");
    EXPECT_EQ(info.codePage, 1252);
    EXPECT_EQ(info.pageCount, 743u);
    ASSERT_EQ(info.tables.size(), 4u);
    for (const TableSummary& table : info.tables) {
        TableReader reader = file.readTable(table.name);
        uint32_t rows = 0;
        while (reader.next()) {
            ++rows;
        }
        EXPECT_EQ(table.rowCount, rows) << table.name;
    }
    std::string text = formatDatabaseInfo(info);
    EXPECT_NE(text.find("Format: Access 2000 (AccessVersion 08.50)"), std::string::npos) << text;
    EXPECT_NE(text.find("  Table1: 2 rows\n"), std::string::npos) << text;

    // Made by the Jet engine itself: no Access properties, so no Access version.
    DatabaseInfo adox = describeDatabase(JetFile::open(fixturePath("adox_jet4.mdb")), true);
    EXPECT_EQ(adox.format, "Jet 4");
    EXPECT_EQ(adox.tables.size(), 4u);
}

}  // namespace
}  // namespace orvdb::jet

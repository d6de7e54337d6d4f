// Opening files: what each fixture's header says, the database password,
// and the clear refusals for files the codec must not read.
#include <gtest/gtest.h>

#include <functional>

#include "jet/fixture_support.hpp"
#include "jet/format/bytes.hpp"
#include "jet/format/header_page.hpp"
#include "jet/read/database_info.hpp"
#include "jet/read/jet_file.hpp"

namespace orvdb::jet {
namespace {

using testing::EveryFixture;

using testing::errorOf;
using testing::fixturePath;
using testing::readFileBytes;
using testing::TempDir;
using testing::writeFileBytes;

std::string openError(const std::filesystem::path& path,
                      const std::optional<std::string>& password = std::nullopt) {
    return errorOf([&] { JetFile::open(path, password); });
}

// Opening refuses other versions and encrypted files (DamagedHeader below);
// the system tables are compared with mdbtools' list.
TEST_P(EveryFixture, OpensWithWesternCodePageFromDiskAndMemory) {
    JetFile file = open();
    EXPECT_EQ(file.header().codePage, 1252);
    EXPECT_EQ(file.header().sortOrder, 0x0409);
    JetFile fromMemory =
        JetFile::openMemory(readFileBytes(path()), GetParam().file, GetParam().password);
    EXPECT_EQ(fromMemory.tableNames(true), file.tableNames(true));
    EXPECT_EQ(fromMemory.pageCount(), file.pageCount());
}

TEST(DatabasePassword, OpensOnlyWithTheRightPasswordAndIsIgnoredWithoutOne) {
    ORVDB_REQUIRE_FIXTURE("withPassword2000.mdb");
    auto path = fixturePath("withPassword2000.mdb");
    JetFile file = JetFile::open(path, std::string("password"));
    EXPECT_EQ(file.header().password, u"password");
    EXPECT_TRUE(describeDatabase(file).hasPassword);

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
    // A file without one ignores a password given.
    ORVDB_REQUIRE_FIXTURE("passwordless2000.mdb");
    EXPECT_TRUE(JetFile::open(fixturePath("passwordless2000.mdb"), std::string("anything"))
                    .header()
                    .password.empty());
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

struct HeaderDamage {
    const char* file;
    std::function<void(std::vector<unsigned char>&)> apply;
    const char* says;
};

TEST_F(DamagedHeader, FilesTheCodecMustNotReadAreRefusedByName) {
    std::string text = "This is a text file, not a database.\n";
    const HeaderDamage cases[] = {
        {"old97.mdb", [](auto& bytes) { bytes[header_page::kVersion] = 0x00; },
         "is an Access 97 (Jet 3) database; only Access 2000 and later (Jet 4) files are "
         "supported"},
        {"new2007.accdb",
         [](auto& bytes) {
             std::copy(header_page::kAceSignature.begin(), header_page::kAceSignature.end(),
                       bytes.begin() + header_page::kSignature);
             bytes[header_page::kVersion] = 0x02;
         },
         "ACE"},
        {"notes.mdb",
         [&](auto& bytes) {
             bytes.assign(text.begin(), text.end());
             bytes.resize(8192, ' ');
         },
         "not an Access database"},
        {"tiny.mdb", [](auto& bytes) { bytes.resize(2); }, "not an Access database"},
        {"zeros.mdb", [](auto& bytes) { bytes.assign(4096, 0); }, "not an Access database"},
        {"empty-file.mdb", [](auto& bytes) { bytes.clear(); }, "is empty"},
        {"cut100.mdb", [](auto& bytes) { bytes.resize(100); }, "truncated"},
        {"cut4113.mdb", [](auto& bytes) { bytes.resize(4096 + 17); }, "truncated"},
        {"cut-last-byte.mdb", [](auto& bytes) { bytes.pop_back(); }, "truncated"},
        {"cut8192.mdb", [](auto& bytes) { bytes.resize(2 * 4096); }, "truncated"},
        {"encoded.mdb",
         [](auto& bytes) {
             header_page::toggleMask(bytes);  // the key lies in the masked part
             putU32(bytes, header_page::kEncryptionKey, 0x5A3C1F02);
             header_page::toggleMask(bytes);
         },
         "encrypted"},
    };
    for (const HeaderDamage& damage : cases) {
        auto bytes = original_;
        damage.apply(bytes);
        auto path = write(damage.file, bytes);
        std::string message = openError(path);
        EXPECT_NE(message.find(path.string() + ": "), std::string::npos) << message;
        EXPECT_NE(message.find(damage.says), std::string::npos) << damage.file << ": " << message;
    }
    std::string missing = openError(dir_.path() / "absent.mdb");
    EXPECT_NE(missing.find("absent.mdb: cannot open the file"), std::string::npos) << missing;
    EXPECT_NE(openError(dir_.path()).find("not a regular file"), std::string::npos);
}

TEST_F(DamagedHeader, ReadsAPasswordWrittenIntoAnotherFile) {
    // Writing a password into the header of a file that has none must make
    // it demand that password: checks the mask against the creation date.
    auto bytes = original_;
    header_page::toggleMask(bytes);
    auto days =
        static_cast<uint32_t>(static_cast<int32_t>(getF64(bytes, header_page::kCreationDate)));
    const std::u16string secret = u"Tür42";
    for (size_t n = 0; n < header_page::kPasswordLength; ++n) {
        uint8_t plain = 0;
        if (n / 2 < secret.size()) {
            plain = static_cast<uint8_t>(secret[n / 2] >> (n % 2 ? 8 : 0));
        }
        bytes[header_page::kPassword + n] = plain ^ static_cast<uint8_t>(days >> (8 * (n % 4)));
    }
    header_page::toggleMask(bytes);
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

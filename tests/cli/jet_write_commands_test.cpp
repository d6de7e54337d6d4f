// Commands that change an Access file write it back when they end; compact
// rewrites one in place.
#include "cli_run.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace orvdb::cli_test {
namespace {

namespace fs = std::filesystem;

struct JetWriteCommands : ::testing::Test {
    test::TempDir scratch;
    fs::path dir = scratch.path();
    std::string file = scratch.file("northwind.mdb");

    void SetUp() override {
        fs::path source = fs::path(ORVDB_FIXTURES_DIR) / "jet4" / "northwind.mdb";
        if (!fs::exists(source)) {
            GTEST_SKIP() << "Jet fixtures not found under " << ORVDB_FIXTURES_DIR;
        }
        fs::copy_file(source, file);
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    }
};

TEST_F(JetWriteCommands, SqlChangesReachTheFile) {
    auto r = runOrvdb("sql " + file +
                      " \"UPDATE Shippers SET CompanyName = 'Vite' WHERE ShipperID = 1\""
                      " \"CREATE TABLE Note (ID COUNTER PRIMARY KEY, Body TEXT(30))\""
                      " \"INSERT INTO Note (Body) VALUES ('menuiserie')\"");
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_FALSE(fs::exists(file + ".orvlock"));
    auto read = runOrvdb("sql " + file +
                         " \"SELECT CompanyName FROM Shippers WHERE ShipperID = 1\""
                         " \"SELECT Body FROM Note\"");
    ASSERT_EQ(read.exitCode, 0) << read.out;
    EXPECT_EQ(read.out, "CompanyName\nVite\nBody\nmenuiserie\n");
}

TEST_F(JetWriteCommands, CompactRewritesTheFileKeepingItsData) {
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    auto r = runOrvdb("compact " + file);
    ASSERT_EQ(r.exitCode, 0) << r.out;
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "a new file took the old one's place";
    auto count = runOrvdb("sql " + file + " \"SELECT Count(*) AS N FROM [Order Details]\"");
    EXPECT_EQ(count.out, "N\n2155\n");
}

// Bad input: each command fails naming the file or why, and a write-protected
// file is left as it was.
TEST_F(JetWriteCommands, CommandsNameTheFileOrWhyTheyCannotRun) {
    const std::string missing = (dir / "none.mdb").string();
    const std::string locked =
        (fs::path(ORVDB_FIXTURES_DIR) / "jet4" / "withPassword2000.mdb").string();
    struct Case {
        std::string args;
        const char* says;
    };
    const Case cases[] = {
        {"tables " + missing, "none.mdb"},
        {"compact " + missing, "none.mdb"},
        {"tables " + locked, "password"},
        {"--password nope tables " + locked, "password"},
        {"check " + locked, "password"},
        {"sql " + file + " \"DELETE FROM Shippers\"", "read-only"},
        {"compact " + file, "read-only"},
    };
    fs::permissions(file, fs::perms::owner_read);
    for (const Case& c : cases) {
        auto r = runOrvdb(c.args);
        EXPECT_EQ(r.exitCode, 1) << c.args;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << ": " << r.out;
    }
    EXPECT_EQ(runOrvdb("sql " + file + " \"SELECT Count(*) AS N FROM Shippers\"").out, "N\n3\n");
}

std::vector<char> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::vector<char> bytes(static_cast<size_t>(in.tellg()));
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// A command that only reads, or fails (to open, to parse, on a rule), writes
// nothing: the file keeps its bytes and its modification time, and no
// journal or lock file stays beside it.
TEST_F(JetWriteCommands, ReadingOrFailingCommandsNeverWriteTheFile) {
    const std::string truncated = (dir / "truncated.mdb").string();
    {
        std::vector<char> bytes = bytesOf(file);
        bytes.resize(3 * 4096);
        std::ofstream(truncated, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const std::string out = (dir / "out").string();
    struct Case {
        std::string file;
        std::string args;  // FILE stands for the file
        int exitCode;
    };
    const Case cases[] = {
        {file, "tables FILE", 0},
        {file, "schema FILE", 0},
        {file, "info FILE", 0},
        {file, "check FILE", 0},
        {file, "export FILE --out " + out, 0},
        {file, "sql FILE \"SELECT Count(*) FROM Orders\"", 0},
        {file, "repair FILE --out " + (dir / "copy.mdb").string(), 0},
        {file, "sql FILE \"SELEC 1\"", 1},
        {file, "sql FILE \"SELECT * FROM Nowhere\"", 1},
        {file, "sql FILE \"INSERT INTO Shippers (ShipperID, CompanyName) VALUES (1, 'x')\"", 1},
        {file, "sql FILE \"UPDATE Shippers SET CompanyName = Null\"", 1},
        {file, "export FILE Nowhere", 1},
        {truncated, "tables FILE", 1},
        {truncated, "sql FILE \"SELECT 1\"", 1},
        {truncated, "compact FILE", 1},
    };
    fs::create_directories(out);
    for (const Case& c : cases) {
        const std::vector<char> before = bytesOf(c.file);
        struct stat statBefore {};
        ASSERT_EQ(::stat(c.file.c_str(), &statBefore), 0);
        std::string args = c.args;
        args.replace(args.find("FILE"), 4, c.file);
        auto r = runOrvdbBounded(args, 60, 1 << 20);
        EXPECT_EQ(r.exitCode, c.exitCode) << args << ": " << r.out;
        struct stat statAfter {};
        ASSERT_EQ(::stat(c.file.c_str(), &statAfter), 0);
        EXPECT_EQ(bytesOf(c.file), before) << args;
        EXPECT_EQ(statAfter.st_mtim.tv_sec, statBefore.st_mtim.tv_sec) << args;
        EXPECT_EQ(statAfter.st_mtim.tv_nsec, statBefore.st_mtim.tv_nsec) << args;
        EXPECT_FALSE(fs::exists(c.file + "-journal")) << args;
        EXPECT_FALSE(fs::exists(c.file + ".orvlock")) << args;
    }
}

}  // namespace
}  // namespace orvdb::cli_test

// A failed write must leave the target exactly as it was and no temporary
// file behind, and say which file failed and why.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <functional>

#include "jet/fixture_support.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/write/file_writer.hpp"
#include "jet/write/image_from_file.hpp"

namespace orvdb::jet {
namespace {

constexpr const char* kFixture = testing::kNorthwind;

class WriterFailure : public ::testing::Test {
protected:
    void SetUp() override {
        ORVDB_REQUIRE_FIXTURE(kFixture);
        target_ = dir_.path() / "target.mdb";
        original_ = testing::readFileBytes(testing::fixturePath(kFixture));
        testing::writeFileBytes(target_, original_);
        image_ = imageFromFile(JetFile::open(target_));
    }

    // The target is byte for byte what it was and is alone in its folder.
    void expectUntouched() {
        EXPECT_EQ(testing::readFileBytes(target_), original_);
        size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
            EXPECT_EQ(entry.path(), target_) << "left behind: " << entry.path();
            ++files;
        }
        EXPECT_EQ(files, 1u);
    }

    std::string failureOf(const FileSystemCalls& calls) {
        return testing::errorOf([&] { writeJetFile(image_, target_, {}, calls); });
    }

    testing::TempDir dir_;
    std::filesystem::path target_;
    std::vector<unsigned char> original_;
    DatabaseImage image_;
};

// Writes and flushes that fail as a full or failing disk makes them.
TEST_F(WriterFailure, InjectedFaultsLeaveTheTargetAsItWas) {
    struct InjectedFault {
        const char* what;
        bool failWrite;  // else the flush fails
        size_t bytesBeforeFailure;
        int error;
        std::string reason;
    };
    const InjectedFault faults[] = {
        {"disk full at once", true, 0, ENOSPC, "No space left on device"},
        {"disk full halfway", true, 1000000, ENOSPC, "No space left on device"},
        {"I/O error on write", true, 4096, EIO, "Input/output error"},
        {"I/O error on flush", false, 0, EIO, "Input/output error"},
    };
    for (const InjectedFault& fault : faults) {
        SCOPED_TRACE(fault.what);
        size_t written = 0;
        FileSystemCalls calls;
        if (fault.failWrite) {
            calls.write = [&](int fd, const void* data, size_t size) -> ssize_t {
                if (written >= fault.bytesBeforeFailure) {
                    errno = fault.error;
                    return -1;
                }
                // Short writes on the way, as a nearly full disk gives them.
                size = std::min({size, fault.bytesBeforeFailure - written, size_t{10000}});
                ssize_t done = ::write(fd, data, size);
                written += static_cast<size_t>(std::max<ssize_t>(done, 0));
                return done;
            };
        } else {
            calls.fsync = [&](int) {
                errno = fault.error;
                return -1;
            };
        }
        std::string message = failureOf(calls);
        EXPECT_NE(message.find(target_.string()), std::string::npos) << message;
        EXPECT_NE(message.find(fault.reason), std::string::npos) << message;
        expectUntouched();
    }
}

// A real limit on the file size: the kernel refuses the write (EFBIG) in a
// child process, which reports through its exit status.
TEST_F(WriterFailure, FileSizeLimitLeavesTheTargetAsItWas) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{256 * 1024, 256 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            writeJetFile(image_, target_);
        } catch (const JetError& error) {
            std::string message = error.what();
            ::_exit(message.find("File too large") != std::string::npos ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the write succeeded; 2: the message lacks the reason";
    expectUntouched();
}

// Writes refused before the target is touched, each naming the file and
// what stops it: a missing folder, a text without an index key (a character
// with no known sort code; values a column cannot hold fail the same way).
TEST_F(WriterFailure, RefusedWritesLeaveTheTargetAsItWas) {
    struct Refusal {
        const char* what;
        std::function<std::filesystem::path(DatabaseImage&)> prepare;  // gives the target
        std::vector<std::string> says;
    };
    const std::filesystem::path elsewhere = dir_.path() / "no such folder" / "x.mdb";
    const Refusal refusals[] = {
        {"a missing folder",
         [&](DatabaseImage&) { return elsewhere; },
         {elsewhere.string(), "No such file or directory"}},
        {"a text without an index key",
         [&](DatabaseImage& image) {
             TableImage& customers = *image.findTable("Customers");
             const Column* column = customers.definition.findColumn("CompanyName");
             customers.rows.at(
                 0)[static_cast<size_t>(column - customers.definition.columns.data())] =
                 std::string("Dvo\u0159\u00E1k Joinery");
             return target_;
         },
         // The index northwind keeps on Customers.CompanyName.
         {target_.string(), "table 'Customers', index 'CompanyName' (physical index",
          "column 'CompanyName'", "U+0159"}},
    };
    for (const Refusal& refusal : refusals) {
        DatabaseImage image = image_;
        std::filesystem::path target = refusal.prepare(image);
        std::string message = testing::errorOf([&] { writeJetFile(image, target); });
        for (const std::string& part : refusal.says) {
            EXPECT_NE(message.find(part), std::string::npos) << refusal.what << ": " << message;
        }
        expectUntouched();
    }
}

// Written through a link, the linked file is replaced and keeps its mode,
// owner and group.
TEST_F(WriterFailure, SuccessfulWriteReplacesTheLinkedTargetAndKeepsItsModeAndOwners) {
    std::filesystem::permissions(target_, std::filesystem::perms(0640));
    // Only root can hand the file to someone else; others test the mode alone.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(target_.c_str(), 1, 4), 0);
    }
    std::filesystem::path link = dir_.path() / "link.mdb";
    std::filesystem::create_symlink(target_, link);
    TableImage& shippers = *image_.findTable("Shippers");
    shippers.rows.pop_back();
    writeJetFile(image_, link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_NE(testing::readFileBytes(target_), original_);
    EXPECT_EQ(std::filesystem::status(target_).permissions(), std::filesystem::perms(0640));
    if (root) {
        struct stat after {};
        ASSERT_EQ(::stat(target_.c_str(), &after), 0);
        EXPECT_EQ(after.st_uid, 1u);
        EXPECT_EQ(after.st_gid, 4u);
    }
    EXPECT_EQ(JetFile::open(target_).table("Shippers")->rowCount, shippers.rows.size());
}

}  // namespace
}  // namespace orvdb::jet

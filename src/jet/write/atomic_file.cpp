#include "jet/write/atomic_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "jet/format/jet_error.hpp"

namespace orvdb::jet {

namespace {

std::string reason(int error) {
    return std::strerror(error);
}

class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target) {
        std::string pattern = target.string() + ".tmp-XXXXXX";
        path_.assign(pattern.begin(), pattern.end());
        path_.push_back('\0');
        fd_ = ::mkstemp(path_.data());
        if (fd_ < 0) {
            int error = errno;
            throwError(target.string(), "cannot be written: cannot create a temporary file in " +
                                            target.parent_path().string() + ": " + reason(error));
        }
        // mkstemp creates the file for its writer only; the replacement
        // keeps the owner, group and permissions of the file it replaces, so
        // that the other users of a shared folder keep their access. Only
        // root may give a file away: others keep at least the group (which
        // they must belong to), and failing that the file is theirs.
        struct stat existing {};
        if (::stat(target.c_str(), &existing) == 0) {
            if (::fchown(fd_, existing.st_uid, existing.st_gid) != 0) {
                [[maybe_unused]] int ignored =
                    ::fchown(fd_, static_cast<uid_t>(-1), existing.st_gid);
            }
            ::fchmod(fd_, existing.st_mode & 07777);
        } else {
            ::fchmod(fd_, 0644);
        }
    }
    ~TemporaryFile() {
        closeFd();
        if (!committed_) {
            ::unlink(path_.data());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    const char* path() const { return path_.data(); }
    // 0 or the errno of a failed close (a delayed write error).
    int closeFd() {
        int error = 0;
        if (fd_ >= 0 && ::close(fd_) != 0) {
            error = errno;
        }
        fd_ = -1;
        return error;
    }
    void commit() { committed_ = true; }

private:
    std::vector<char> path_;
    int fd_ = -1;
    bool committed_ = false;
};

}  // namespace

void replaceFileAtomically(const std::filesystem::path& target, std::span<const uint8_t> bytes,
                           const FileSystemCalls& calls) {
    std::span<const uint8_t> whole[] = {bytes};
    replaceFileAtomically(target, whole, calls);
}

void replaceFileAtomically(const std::filesystem::path& target,
                           std::span<const std::span<const uint8_t>> parts,
                           const FileSystemCalls& calls) {
    auto writeCall = calls.write ? calls.write : [](int fd, const void* data, size_t size) {
        return ::write(fd, data, size);
    };
    auto fsyncCall = calls.fsync ? calls.fsync : [](int fd) { return ::fsync(fd); };
    const std::string name = target.string();
    auto fail = [&](const std::string& step, int error) {
        throwError(name, "cannot be written: " + step + ": " + reason(error));
    };

    // Through a symbolic link the file it points to is replaced, not the
    // link; a file marked read-only is left alone.
    std::error_code ignored;
    std::filesystem::path file = target;
    if (std::filesystem::is_symlink(target, ignored)) {
        file = std::filesystem::weakly_canonical(target, ignored);
        if (file.empty()) {
            file = target;
        }
    }
    if (::access(file.c_str(), F_OK) == 0 && ::access(file.c_str(), W_OK) != 0) {
        fail("the file is read-only", errno);
    }
    std::filesystem::path directory = file.parent_path();
    if (directory.empty()) {
        directory = ".";
    }
    TemporaryFile temporary(directory / file.filename());
    auto writeAll = [&](std::span<const uint8_t> bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t wrote = writeCall(temporary.fd(), bytes.data() + done, bytes.size() - done);
            if (wrote < 0 && errno == EINTR) {
                continue;
            }
            if (wrote < 0) {
                fail("writing the temporary file failed", errno);
            }
            if (wrote == 0) {
                fail("writing the temporary file failed", ENOSPC);
            }
            done += static_cast<size_t>(wrote);
        }
    };
    // Small parts go out gathered, a megabyte at a time.
    constexpr size_t kGather = size_t{1} << 20;
    std::vector<uint8_t> gathered;
    for (std::span<const uint8_t> part : parts) {
        if (part.size() >= kGather) {
            writeAll(gathered);
            gathered.clear();
            writeAll(part);
            continue;
        }
        if (gathered.size() + part.size() > kGather) {
            writeAll(gathered);
            gathered.clear();
        }
        if (gathered.capacity() < kGather) {
            gathered.reserve(kGather);
        }
        gathered.insert(gathered.end(), part.begin(), part.end());
    }
    writeAll(gathered);
    if (fsyncCall(temporary.fd()) != 0) {
        fail("flushing the temporary file failed", errno);
    }
    if (int error = temporary.closeFd(); error != 0) {
        fail("closing the temporary file failed", error);
    }
    if (::rename(temporary.path(), file.c_str()) != 0) {
        fail("renaming the temporary file over it failed", errno);
    }
    temporary.commit();
    // The rename is durable once the directory is flushed; the new file is
    // already in place, so a failure here is not reported.
    int directoryFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directoryFd >= 0) {
        fsyncCall(directoryFd);
        ::close(directoryFd);
    }
}

}  // namespace orvdb::jet

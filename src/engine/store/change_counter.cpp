#include "engine/store/change_counter.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/engine_error.hpp"

namespace orvdb::engine {

namespace {

constexpr char kMagic[8] = "orvdb 1";
constexpr size_t kSize = 16;

}  // namespace

std::string ChangeCounter::pathFor(const std::string& databaseFile) {
    return databaseFile + ".orvlock";
}

ChangeCounter::ChangeCounter(std::string databaseFile, bool create)
    : databaseFile_(std::move(databaseFile)), path_(pathFor(databaseFile_)) {
    openFile(create);
}

ChangeCounter::~ChangeCounter() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void ChangeCounter::openFile(bool create) {
    if (fd_ >= 0) {
        return;
    }
    fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    writable_ = fd_ >= 0;
    if (fd_ < 0 && create) {
        // Whoever may write the database may raise its counter.
        struct stat info {};
        mode_t mode = ::stat(databaseFile_.c_str(), &info) == 0 ? info.st_mode & 0666 : 0644;
        fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, mode);
        writable_ = fd_ >= 0;
        if (fd_ >= 0) {
            ::fchmod(fd_, mode);  // not narrowed by the umask
        }
    }
    if (fd_ < 0) {
        fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        writable_ = false;
    }
}

uint64_t ChangeCounter::read() {
    openFile(false);
    if (fd_ < 0) {
        return 0;
    }
    uint8_t bytes[kSize] = {};
    ssize_t got = ::pread(fd_, bytes, kSize, 0);
    if (got != static_cast<ssize_t>(kSize) || std::memcmp(bytes, kMagic, sizeof kMagic) != 0) {
        return 0;
    }
    uint64_t value = 0;
    for (int n = 7; n >= 0; --n) {
        value = value << 8 | bytes[8 + n];
    }
    return value;
}

void ChangeCounter::raise() {
    openFile(true);
    if (fd_ < 0 || !writable_) {
        throw EngineError("Cannot save '" + databaseFile_ + "': cannot write '" + path_ +
                          "', which tells other processes of the change: " + std::strerror(errno));
    }
    uint64_t value = read() + 1;
    uint8_t bytes[kSize] = {};
    std::memcpy(bytes, kMagic, sizeof kMagic);
    for (int n = 0; n < 8; ++n) {
        bytes[8 + n] = static_cast<uint8_t>(value >> (8 * n));
    }
    if (::pwrite(fd_, bytes, kSize, 0) != static_cast<ssize_t>(kSize)) {
        throw EngineError("Cannot save '" + databaseFile_ + "': cannot write '" + path_ +
                          "', which tells other processes of the change: " + std::strerror(errno));
    }
}

void ChangeCounter::remove() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    ::unlink(path_.c_str());
}

}  // namespace orvdb::engine

#include "engine/store/file_lock.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include "engine/engine_error.hpp"

namespace orvdb::engine {

namespace {

// Just below 2 GB, the most a Jet file can hold: the bytes are never read
// or written, only locked.
constexpr long long kPendingByte = 0x7FFFFF00;
constexpr long long kReservedByte = kPendingByte + 1;
constexpr long long kSharedByte = kPendingByte + 2;
// A process-wide lock held beside RESERVED only so that a waiting process
// can learn who is writing: open file description locks carry no pid.
constexpr long long kHolderByte = kPendingByte + 3;
constexpr long long kOpenByte = kPendingByte + 4;

struct flock byteLock(long long offset, short type) {
    struct flock request {};
    request.l_type = type;
    request.l_whence = SEEK_SET;
    request.l_start = static_cast<off_t>(offset);
    request.l_len = 1;
    return request;
}

std::string processName(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(in, name);
    return name;
}

std::string seconds(std::chrono::milliseconds time) {
    auto tenths = time.count() / 100;
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) {
        text += "." + std::to_string(tenths % 10);
    }
    return text + " s";
}

}  // namespace

FileLock::FileLock(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

FileLock::~FileLock() {
    try {
        release(LockLevel::None);
    } catch (const EngineError&) {
        // Closing the descriptor drops the locks anyway.
    }
}

std::chrono::milliseconds FileLock::defaultTimeout() {
    if (const char* value = std::getenv("ORVDB_LOCK_TIMEOUT_MS")) {
        char* end = nullptr;
        long milliseconds = std::strtol(value, &end, 10);
        if (end != value && milliseconds >= 0) {
            return std::chrono::milliseconds(milliseconds);
        }
    }
    return std::chrono::seconds(10);
}

bool FileLock::tryByte(long long offset, short type) const {
    struct flock request = byteLock(offset, type);
    if (::fcntl(fd_, F_OFD_SETLK, &request) == 0) {
        return true;
    }
    if (errno == EAGAIN || errno == EACCES || errno == EINTR) {
        return false;
    }
    throw EngineError("Cannot lock '" + path_ + "': " + std::strerror(errno) + ".");
}

void FileLock::setByte(long long offset, short type) const {
    struct flock request = byteLock(offset, type);
    while (::fcntl(fd_, F_OFD_SETLK, &request) != 0) {
        if (errno != EINTR) {
            throw EngineError("Cannot lock '" + path_ + "': " + std::strerror(errno) + ".");
        }
    }
}

void FileLock::waitForByte(long long offset, short type, std::chrono::milliseconds timeout,
                           const char* what) {
    auto start = std::chrono::steady_clock::now();
    auto pause = std::chrono::microseconds(200);
    while (!tryByte(offset, type)) {
        auto waited = std::chrono::steady_clock::now() - start;
        if (waited >= timeout) {
            throw EngineError("Could not " + std::string(what) + " '" + path_ +
                              "'; currently locked by " + holderDescription() + " (waited " +
                              seconds(timeout) + ").");
        }
        std::this_thread::sleep_for(pause);
        pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(20));
    }
}

std::string FileLock::holderDescription() const {
    struct flock request = byteLock(kHolderByte, F_WRLCK);
    if (::fcntl(fd_, F_GETLK, &request) == 0 && request.l_type != F_UNLCK && request.l_pid > 0) {
        std::string name = processName(request.l_pid);
        return "process " + std::to_string(request.l_pid) +
               (name.empty() ? "" : " (" + name + ")") + ", which is changing it";
    }
    return "another process, which is changing it";
}

void FileLock::acquire(LockLevel level, std::chrono::milliseconds timeout) {
    if (level <= level_) {
        return;
    }
    if (level_ == LockLevel::None && level >= LockLevel::Reserved) {
        // Writer intent first, then the right to read: waiting for RESERVED
        // while holding SHARED could wait on a writer that waits on us.
        waitForByte(kReservedByte, F_WRLCK, timeout, "update");
        try {
            waitForByte(kPendingByte, F_RDLCK, timeout, "read");
            waitForByte(kSharedByte, F_RDLCK, timeout, "read");
        } catch (...) {
            setByte(kPendingByte, F_UNLCK);
            setByte(kReservedByte, F_UNLCK);
            throw;
        }
        setByte(kPendingByte, F_UNLCK);
        struct flock holder = byteLock(kHolderByte, F_WRLCK);
        ::fcntl(fd_, F_SETLK, &holder);  // best effort: only names us to waiting processes
        level_ = LockLevel::Reserved;
    }
    if (level_ == LockLevel::None) {
        // A writer waiting for EXCLUSIVE holds PENDING: new readers wait.
        waitForByte(kPendingByte, F_RDLCK, timeout, "read");
        bool shared = false;
        try {
            waitForByte(kSharedByte, F_RDLCK, timeout, "read");
            shared = true;
        } catch (...) {
            setByte(kPendingByte, F_UNLCK);
            throw;
        }
        setByte(kPendingByte, F_UNLCK);
        level_ = shared ? LockLevel::Shared : LockLevel::None;
    }
    if (level >= LockLevel::Reserved && level_ < LockLevel::Reserved) {
        waitForByte(kReservedByte, F_WRLCK, timeout, "update");
        struct flock holder = byteLock(kHolderByte, F_WRLCK);
        ::fcntl(fd_, F_SETLK, &holder);  // best effort: only names us to waiting processes
        level_ = LockLevel::Reserved;
    }
    if (level == LockLevel::Exclusive && level_ < LockLevel::Exclusive) {
        waitForByte(kPendingByte, F_WRLCK, timeout, "update");
        try {
            // Readers finish what they are reading; none start meanwhile.
            waitForByte(kSharedByte, F_WRLCK, timeout, "update");
        } catch (...) {
            setByte(kPendingByte, F_UNLCK);
            throw;
        }
        level_ = LockLevel::Exclusive;
    }
}

void FileLock::release(LockLevel level) {
    if (level >= level_) {
        return;
    }
    if (level_ == LockLevel::Exclusive) {
        setByte(kSharedByte, F_RDLCK);
        setByte(kPendingByte, F_UNLCK);
    }
    if (level_ >= LockLevel::Reserved) {
        struct flock holder = byteLock(kHolderByte, F_UNLCK);
        ::fcntl(fd_, F_SETLK, &holder);
        setByte(kReservedByte, F_UNLCK);
    }
    if (level == LockLevel::None) {
        setByte(kSharedByte, F_UNLCK);
    }
    level_ = level;
}

void FileLock::holdOpen() {
    setByte(kOpenByte, F_RDLCK);
}

bool FileLock::lastToClose() {
    return tryByte(kOpenByte, F_WRLCK);
}

LockAtLeast::~LockAtLeast() {
    try {
        lock_.release(before_);
    } catch (const EngineError&) {
        // Closing the descriptor drops the locks anyway.
    }
}

bool FileLock::otherWriterActive() const {
    struct flock request = byteLock(kReservedByte, F_WRLCK);
    if (::fcntl(fd_, F_OFD_GETLK, &request) != 0) {
        throw EngineError("Cannot lock '" + path_ + "': " + std::strerror(errno) + ".");
    }
    return request.l_type != F_UNLCK;
}

}  // namespace orvdb::engine

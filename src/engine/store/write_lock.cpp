#include "engine/store/write_lock.hpp"

#include "engine/engine_error.hpp"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

namespace orvdb::engine {

namespace {

std::string hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) {
        return "unknown";
    }
    return name;
}

struct LockOwner {
    long pid = 0;
    std::string host;
};

// "<pid> <host> <time>"; pid 0 when the file cannot be read or parsed.
LockOwner readOwner(const std::string& lockFile) {
    LockOwner owner;
    std::ifstream in(lockFile);
    in >> owner.pid >> owner.host;
    if (!in) {
        owner.pid = 0;
    }
    return owner;
}

bool processAlive(long pid) {
    return pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH);
}

}  // namespace

std::string WriteLock::lockFileFor(const std::string& databaseFile) {
    return databaseFile + ".orvlock";
}

WriteLock::WriteLock(std::string databaseFile)
    : databaseFile_(std::move(databaseFile)), lockFile_(lockFileFor(databaseFile_)) {
    const std::string host = hostName();
    // Two tries: the second after removing a stale lock.
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = ::open(lockFile_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            std::ostringstream text;
            text << getpid() << ' ' << host << ' ' << std::time(nullptr) << '\n';
            std::string content = text.str();
            bool written =
                ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
            ::close(fd);
            if (!written) {
                ::unlink(lockFile_.c_str());
                throw EngineError("Cannot open '" + databaseFile_ +
                                  "' for writing: the lock file '" + lockFile_ +
                                  "' could not be written.");
            }
            return;
        }
        if (errno != EEXIST) {
            throw EngineError("Cannot open '" + databaseFile_ + "' for writing: the lock file '" +
                              lockFile_ + "' cannot be created (" + std::strerror(errno) + ").");
        }
        LockOwner owner = readOwner(lockFile_);
        bool stale = owner.pid == 0 || (owner.host == host && !processAlive(owner.pid));
        if (!stale || attempt > 0) {
            throw EngineError("'" + databaseFile_ + "' is open for writing by process " +
                              std::to_string(owner.pid) + " on " + owner.host + ".");
        }
        ::unlink(lockFile_.c_str());
    }
}

WriteLock::~WriteLock() {
    // Only our own lock is removed.
    if (readOwner(lockFile_).pid == getpid()) {
        ::unlink(lockFile_.c_str());
    }
}

}  // namespace orvdb::engine

// The lock file that keeps a second process from writing a database file
// this process has open for writing: "<file>.orvlock" beside it, holding the
// owner's process id, host name and the time it was taken.
#pragma once

#include <string>

namespace orvdb::engine {

class WriteLock {
public:
    // Takes the lock for `databaseFile`. A lock left by a process of this
    // host that no longer runs is taken over. Throws EngineError
    // "'<file>' is open for writing by process <pid> on <host>." when another
    // live process holds it, or naming the reason when the lock file cannot
    // be made.
    explicit WriteLock(std::string databaseFile);
    // Removes the lock file.
    ~WriteLock();
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

    const std::string& lockFile() const { return lockFile_; }

    static std::string lockFileFor(const std::string& databaseFile);

private:
    std::string databaseFile_;
    std::string lockFile_;
};

}  // namespace orvdb::engine

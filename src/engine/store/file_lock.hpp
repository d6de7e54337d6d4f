// Locks that let several processes share one database file, taken on bytes
// of the file itself far beyond any page (open file description locks: a
// lock belongs to the open file, never to the whole process, so another
// descriptor of the same file closing elsewhere in the process leaves it
// alone, and the kernel drops it when its holder dies).
//
// NOTES ON LOCKING
// (1) Reading a consistent state of the file needs SHARED.
// (2) One process at a time may prepare a change: RESERVED, held from the
//     start of a writing statement or transaction to the end of its commit.
// (3) Writing pages needs EXCLUSIVE: no SHARED holder but the writer. A
//     writer waiting for it holds PENDING, which keeps new readers out so
//     that a steady stream of readers cannot starve it.
// (4) A dead process's locks are gone with it: a lock is never refused
//     because of a process that no longer runs.
#pragma once

#include <chrono>
#include <string>

namespace orvdb::engine {

enum class LockLevel { None, Shared, Reserved, Exclusive };

class FileLock {
public:
    // `fd` is an open descriptor of `path` (read-only descriptors can take
    // SHARED only). The descriptor stays owned by the caller.
    FileLock(int fd, std::string path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Raise the lock to `level`, waiting up to `timeout` for other
    // processes. Throws EngineError naming the file and, when it can be
    // known, the process in the way. Lowering is through release().
    void acquire(LockLevel level, std::chrono::milliseconds timeout);
    // Drop back to `level` (Shared or None).
    void release(LockLevel level);
    LockLevel level() const { return level_; }

    // Without waiting: true when a process holds RESERVED or more (a commit
    // may be running). Needs at least SHARED held by the caller.
    bool otherWriterActive() const;

    // Every process that has the file open holds OPEN (shared) until it
    // closes it; the last one to close can tell, and tidies up after all.
    void holdOpen();
    // True when no other process has the file open (OPEN taken alone; it is
    // dropped again with the descriptor).
    bool lastToClose();

    // How long lock requests wait by default (ORVDB_LOCK_TIMEOUT_MS, else 10 s).
    static std::chrono::milliseconds defaultTimeout();

private:
    bool tryByte(long long offset, short type) const;
    void setByte(long long offset, short type) const;
    void waitForByte(long long offset, short type, std::chrono::milliseconds timeout,
                     const char* what);
    std::string holderDescription() const;

    int fd_;
    std::string path_;
    LockLevel level_ = LockLevel::None;
};

// Holds at least `level` for a scope, then goes back to what was held.
class LockAtLeast {
public:
    LockAtLeast(FileLock& lock, LockLevel level) : lock_(lock), before_(lock.level()) {
        lock_.acquire(level, FileLock::defaultTimeout());
    }
    ~LockAtLeast();
    LockAtLeast(const LockAtLeast&) = delete;
    LockAtLeast& operator=(const LockAtLeast&) = delete;

private:
    FileLock& lock_;
    LockLevel before_;
};

}  // namespace orvdb::engine

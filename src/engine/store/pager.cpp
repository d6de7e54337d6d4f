#include "engine/store/pager.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/engine_error.hpp"

namespace orvdb::engine {

namespace {

std::string reason(int error) {
    return std::strerror(error);
}

uint32_t pagesOf(int fd, const std::string& path) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throw EngineError("Cannot read '" + path + "': " + reason(errno));
    }
    return static_cast<uint32_t>(static_cast<uint64_t>(info.st_size) / jet::kPageSize);
}

// Rolls back a journal left by a process that died while committing. The
// caller holds SHARED; recovery needs the file to itself.
void recoverJournalIfAny(const std::string& path, int fd, bool writable, FileLock& lock,
                         const StorageCalls& calls) {
    if (inspectJournal(path) == JournalState::None) {
        return;
    }
    int writeFd = fd;
    if (!writable) {
        writeFd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (writeFd < 0) {
            throw EngineError("'" + path +
                              "' was left half-changed by a process that stopped while saving "
                              "it; open it once with write access so that the change can be "
                              "rolled back (" +
                              journalPathFor(path) + ").");
        }
    }
    try {
        // Our read-only descriptor cannot take the write locks; the writable
        // one can, and both belong to this process.
        std::unique_ptr<FileLock> writeLock;
        FileLock* exclusive = &lock;
        if (writeFd != fd) {
            lock.release(LockLevel::None);
            writeLock = std::make_unique<FileLock>(writeFd, path);
            exclusive = writeLock.get();
        }
        exclusive->acquire(LockLevel::Exclusive, FileLock::defaultTimeout());
        // Another process may have rolled it back while we waited.
        if (inspectJournal(path) != JournalState::None) {
            recoverJournal(path, writeFd, calls);
        }
        exclusive->release(writeLock ? LockLevel::None : LockLevel::Shared);
        if (writeLock) {
            writeLock.reset();
            lock.acquire(LockLevel::Shared, FileLock::defaultTimeout());
        }
    } catch (...) {
        if (writeFd != fd) {
            ::close(writeFd);
        }
        throw;
    }
    if (writeFd != fd) {
        ::close(writeFd);
    }
}

}  // namespace

Pager::Pager(std::string path, int fd, bool readOnly, const StorageCalls& calls)
    : path_(std::move(path)),
      fd_(fd),
      readOnly_(readOnly),
      calls_(calls.withDefaults()),
      lock_(std::make_unique<FileLock>(fd, path_)) {}

Pager::~Pager() {
    // The last process to close the file removes the counter file.
    try {
        if (counter_ && lock_->lastToClose()) {
            counter_->remove();
        }
    } catch (const EngineError&) {
    }
    lock_.reset();
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::unique_ptr<Pager> Pager::open(const std::string& path, bool readOnly,
                                   const StorageCalls& calls) {
    int fd = ::open(path.c_str(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (fd < 0) {
        throw EngineError("Cannot open '" + path + "': " + reason(errno));
    }
    std::unique_ptr<Pager> pager(new Pager(path, fd, readOnly, calls));
    pager->lock_->holdOpen();
    pager->lock_->acquire(LockLevel::Shared, FileLock::defaultTimeout());
    recoverJournalIfAny(path, fd, !readOnly, *pager->lock_, pager->calls_);
    pager->counter_ = std::make_unique<ChangeCounter>(path, !readOnly);
    pager->markSeen();
    pager->refreshSize();
    return pager;
}

void Pager::recoverIfNeeded() {
    recoverJournalIfAny(path_, fd_, !readOnly_, *lock_, calls_);
    refreshSize();
}

void Pager::refreshSize() {
    pageCount_ = pagesOf(fd_, path_);
}

void Pager::read(uint32_t number, jet::PageBytes& out) const {
    size_t done = 0;
    off_t offset = static_cast<off_t>(number) * jet::kPageSize;
    while (done < out.size()) {
        ssize_t got =
            ::pread(fd_, out.data() + done, out.size() - done, offset + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw EngineError("Cannot read '" + path_ + "': " + reason(errno));
        }
        if (got == 0) {
            throw EngineError("Cannot read '" + path_ + "': page " + std::to_string(number) +
                              " is beyond the end of the file; the file may be truncated.");
        }
        done += static_cast<size_t>(got);
    }
}

void Pager::writePages(const std::map<uint32_t, const jet::PageBytes*>& pages,
                       uint32_t newPageCount) {
    for (const auto& [number, bytes] : pages) {
        if (number >= newPageCount) {
            continue;
        }
        size_t done = 0;
        off_t offset = static_cast<off_t>(number) * jet::kPageSize;
        while (done < jet::kPageSize) {
            ssize_t wrote = calls_.pwrite(fd_, bytes->data() + done, jet::kPageSize - done,
                                          offset + static_cast<off_t>(done));
            if (wrote < 0 && errno == EINTR) {
                continue;
            }
            if (wrote <= 0) {
                throw EngineError("Cannot save '" + path_ +
                                  "': " + reason(wrote < 0 ? errno : ENOSPC));
            }
            done += static_cast<size_t>(wrote);
        }
    }
    if (newPageCount < pageCount_ &&
        calls_.ftruncate(fd_, static_cast<off_t>(newPageCount) * jet::kPageSize) != 0) {
        throw EngineError("Cannot save '" + path_ + "': " + reason(errno));
    }
    if (calls_.fsync(fd_) != 0) {
        throw EngineError("Cannot save '" + path_ + "': " + reason(errno));
    }
}

void Pager::commit(const std::map<uint32_t, const jet::PageBytes*>& pages, uint32_t newPageCount) {
    if (readOnly_) {
        throw EngineError("Cannot save '" + path_ + "': it is open read-only.");
    }
    if (pages.empty() && newPageCount == pageCount_) {
        return;
    }
    LockAtLeast writing(*lock_, LockLevel::Exclusive);
    // A commit of ours that failed half-way may have left its journal.
    if (inspectJournal(path_) != JournalState::None) {
        recoverJournal(path_, fd_, calls_);
        refreshSize();
    }

    std::map<uint32_t, jet::PageBytes> oldPages;
    for (const auto& [number, bytes] : pages) {
        if (number < pageCount_) {
            read(number, oldPages[number]);
        }
    }
    if (newPageCount < pageCount_) {
        for (uint32_t number = newPageCount; number < pageCount_; ++number) {
            if (oldPages.count(number) == 0) {
                read(number, oldPages[number]);
            }
        }
    }
    writeJournal(path_, pageCount_, oldPages, calls_);
    try {
        // Before any page changes: a process that reads the counter after
        // this reads the file again.
        counter_->raise();
        seenCounter_ = counter_->read();
        writePages(pages, newPageCount);
    } catch (const EngineError&) {
        // Put the old images back now; should that fail too, the journal
        // stays and the next open rolls the file back.
        try {
            recoverJournal(path_, fd_, calls_);
        } catch (const EngineError&) {
        }
        refreshSize();
        throw;
    }
    removeJournal(path_);
    pageCount_ = newPageCount;
    ++statistics_.commits;
    statistics_.pagesWritten += pages.size();
    statistics_.pagesJournaled += oldPages.size();
}

}  // namespace orvdb::engine

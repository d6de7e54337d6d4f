// One open database file: page reads, locks shared with other processes,
// and commits that overwrite pages in place behind a rollback journal.
//
// NOTES ON COMMITS
// (1) No page of the file is overwritten before its old image is in the
//     journal and the journal (with its folder entry) is flushed.
// (2) A commit returns only after the file is flushed; then the journal is
//     removed. The journal's removal is the instant the change is in.
// (3) A process that finds a complete journal rolls it back before reading
//     the file; an incomplete one is discarded (the file was never touched).
// (4) Reading takes SHARED; a commit holds EXCLUSIVE while it writes
//     (file_lock.hpp).
// Each point has a test that breaks it on purpose (a killed process, a
// failing write or flush, a second process).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "engine/store/change_counter.hpp"
#include "engine/store/file_lock.hpp"
#include "engine/store/journal.hpp"
#include "jet/update/file_pages.hpp"

namespace orvdb::engine {

class Pager {
public:
    // Opens `path` for reading and, unless `readOnly`, writing. A journal
    // left by an interrupted commit is rolled back first (which needs write
    // access: a read-only open of such a file fails with a message saying
    // so). Throws EngineError naming the file.
    static std::unique_ptr<Pager> open(const std::string& path, bool readOnly,
                                       const StorageCalls& calls = {});
    ~Pager();
    Pager(const Pager&) = delete;
    Pager& operator=(const Pager&) = delete;

    const std::string& path() const { return path_; }
    bool readOnly() const { return readOnly_; }
    int fd() const { return fd_; }
    uint32_t pageCount() const { return pageCount_; }
    FileLock& lock() { return *lock_; }

    // Reads page `number` (< pageCount()) from the file.
    void read(uint32_t number, ::orvdb::jet::PageBytes& out) const;

    // Writes `pages` so that the file holds all of them or none of them
    // whatever happens to the process, and sets the file's length to
    // `newPageCount` pages. Takes EXCLUSIVE for the writes (the caller holds
    // RESERVED) and drops back to RESERVED. On failure the file is as before
    // (rolled back from the journal if pages were already written) and
    // EngineError says what failed.
    void commit(const std::map<uint32_t, const ::orvdb::jet::PageBytes*>& pages,
                uint32_t newPageCount);

    // Re-reads the file's length (another process may have changed it).
    void refreshSize();
    // Whether another process committed since this one last looked (the
    // counter of change_counter.hpp moved), and noting that it has looked.
    bool changedByOthers() { return counter_->read() != seenCounter_; }
    void markSeen() { seenCounter_ = counter_->read(); }
    // Rolls back a journal a dead process left (the caller holds SHARED).
    void recoverIfNeeded();
    // What the commits so far wrote (benchmarks report it).
    struct Statistics {
        uint64_t commits = 0;
        uint64_t pagesWritten = 0;
        uint64_t pagesJournaled = 0;
    };
    const Statistics& statistics() const { return statistics_; }

    // The replacement system calls (tests).
    void setCalls(const StorageCalls& calls) { calls_ = calls.withDefaults(); }

private:
    Pager(std::string path, int fd, bool readOnly, const StorageCalls& calls);
    void writePages(const std::map<uint32_t, const ::orvdb::jet::PageBytes*>& pages,
                    uint32_t newPageCount);

    std::string path_;
    int fd_ = -1;
    bool readOnly_ = false;
    uint32_t pageCount_ = 0;
    StorageCalls calls_;
    std::unique_ptr<FileLock> lock_;
    std::unique_ptr<ChangeCounter> counter_;
    uint64_t seenCounter_ = 0;
    Statistics statistics_;
};

// The file as the pager reads it, for the codec's in-place editors.
class PagerPageReader : public ::orvdb::jet::PageReader {
public:
    explicit PagerPageReader(Pager& pager) : pager_(pager) {}
    uint32_t pageCount() const override { return pager_.pageCount(); }
    void readPage(uint32_t number, ::orvdb::jet::PageBytes& out) override {
        pager_.read(number, out);
    }

private:
    Pager& pager_;
};

namespace detail {
struct PagerReaderHolder {
    explicit PagerReaderHolder(Pager& pager) : reader(pager) {}
    PagerPageReader reader;
};
}  // namespace detail

// A view of the file's pages that owns its reader.
class PagerFilePages : private detail::PagerReaderHolder, public ::orvdb::jet::FilePages {
public:
    explicit PagerFilePages(Pager& pager)
        : detail::PagerReaderHolder(pager), FilePages(reader, pager.path()) {}
};

}  // namespace orvdb::engine

// The rollback journal of a database file: "<file>-journal" beside it holds
// the old images of the pages a commit is about to overwrite, and the
// file's length before the commit.
//
//   OFFSET  SIZE  FIELD (header, 32 bytes)
//      0     16   "orvdb journal 1" and a zero byte
//     16      4   page size (4096)
//     20      4   pages in the file before the commit
//     24      4   records that follow
//     28      4   checksum of bytes 0..27
//   then per record:
//      0      4   page number
//      4   4096   the page as it was
//   4100      4   checksum of the page number and the page
//
// A journal whose header or any record fails its checksum was never
// finished, so the file was never touched: it is simply removed. A complete
// one is "hot": the commit may have written part of its pages, and putting
// the old images back (and the old length) restores the file exactly.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "jet/read/page_source.hpp"

namespace orvdb::engine {

// The system calls the journal and the pager use, replaceable so that tests
// can make any of them fail (a full disk, an I/O error).
struct StorageCalls {
    std::function<ssize_t(int fd, const void* data, size_t size, off_t offset)> pwrite;
    std::function<int(int fd)> fsync;
    std::function<int(int fd, off_t length)> ftruncate;

    // The real calls where a member is empty.
    StorageCalls withDefaults() const;
};

std::string journalPathFor(const std::string& databaseFile);

// Writes the journal for a commit that will overwrite `oldPages` (number ->
// current image) of a file of `pageCount` pages, and makes it durable (the
// journal and its folder entry flushed). Throws EngineError naming the file
// and the system's reason; no journal is left behind then.
void writeJournal(const std::string& databaseFile, uint32_t pageCount,
                  const std::map<uint32_t, ::orvdb::jet::PageBytes>& oldPages,
                  const StorageCalls& calls);

// Removes the journal once the commit is complete.
void removeJournal(const std::string& databaseFile);

// What an open finds beside the file.
enum class JournalState { None, Unfinished, Hot };
JournalState inspectJournal(const std::string& databaseFile);

// Rolls a hot journal back into the file open as `fd` (read-write) and
// removes it; removes an unfinished one. The caller holds the file's
// exclusive lock. Throws EngineError when the file cannot be restored (the
// journal then stays for the next try).
void recoverJournal(const std::string& databaseFile, int fd, const StorageCalls& calls);

}  // namespace orvdb::engine

#include "engine/store/journal.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "engine/engine_error.hpp"
#include "jet/format/bytes.hpp"

namespace orvdb::engine {

namespace {

constexpr char kMagic[16] = "orvdb journal 1";
constexpr size_t kHeaderSize = 32;
constexpr size_t kRecordSize = 4 + jet::kPageSize + 4;

uint32_t checksum(const uint8_t* data, size_t size, uint32_t seed = 0) {
    return static_cast<uint32_t>(crc32(seed, data, static_cast<uInt>(size)));
}

uint32_t readU32(const uint8_t* data) {
    return data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
}

void putU32(uint8_t* data, uint32_t value) {
    for (int n = 0; n < 4; ++n) {
        data[n] = static_cast<uint8_t>(value >> (8 * n));
    }
}

std::string reason(int error) {
    return std::strerror(error);
}

// Makes a new or removed folder entry durable.
void syncFolderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void writeAll(const StorageCalls& calls, int fd, const std::vector<uint8_t>& bytes, off_t offset,
              const std::string& what) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t wrote = calls.pwrite(fd, bytes.data() + done, bytes.size() - done,
                                     offset + static_cast<off_t>(done));
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            int error = wrote < 0 ? errno : ENOSPC;
            throw EngineError(what + ": " + reason(error));
        }
        done += static_cast<size_t>(wrote);
    }
}

struct ParsedJournal {
    bool complete = false;
    uint32_t pageCount = 0;
    std::vector<std::pair<uint32_t, std::vector<uint8_t>>> records;
};

std::vector<uint8_t> readWhole(int fd) {
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
}

ParsedJournal parse(const std::vector<uint8_t>& bytes) {
    ParsedJournal journal;
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0 ||
        readU32(bytes.data() + 16) != jet::kPageSize ||
        readU32(bytes.data() + 28) != checksum(bytes.data(), 28)) {
        return journal;
    }
    journal.pageCount = readU32(bytes.data() + 20);
    uint32_t count = readU32(bytes.data() + 24);
    if (bytes.size() != kHeaderSize + size_t{count} * kRecordSize) {
        return journal;
    }
    for (uint32_t n = 0; n < count; ++n) {
        const uint8_t* record = bytes.data() + kHeaderSize + size_t{n} * kRecordSize;
        if (readU32(record + 4 + jet::kPageSize) != checksum(record, 4 + jet::kPageSize)) {
            return journal;
        }
        journal.records.emplace_back(readU32(record),
                                     std::vector<uint8_t>(record + 4, record + 4 + jet::kPageSize));
    }
    journal.complete = true;
    return journal;
}

}  // namespace

StorageCalls StorageCalls::withDefaults() const {
    StorageCalls calls = *this;
    if (!calls.pwrite) {
        calls.pwrite = [](int fd, const void* data, size_t size, off_t offset) {
            return ::pwrite(fd, data, size, offset);
        };
    }
    if (!calls.fsync) {
        calls.fsync = [](int fd) { return ::fsync(fd); };
    }
    if (!calls.ftruncate) {
        calls.ftruncate = [](int fd, off_t length) { return ::ftruncate(fd, length); };
    }
    return calls;
}

std::string journalPathFor(const std::string& databaseFile) {
    return databaseFile + "-journal";
}

void writeJournal(const std::string& databaseFile, uint32_t pageCount,
                  const std::map<uint32_t, jet::PageBytes>& oldPages, const StorageCalls& calls) {
    std::string path = journalPathFor(databaseFile);
    std::vector<uint8_t> bytes(kHeaderSize + oldPages.size() * kRecordSize);
    std::memcpy(bytes.data(), kMagic, sizeof kMagic);
    putU32(bytes.data() + 16, jet::kPageSize);
    putU32(bytes.data() + 20, pageCount);
    putU32(bytes.data() + 24, static_cast<uint32_t>(oldPages.size()));
    putU32(bytes.data() + 28, checksum(bytes.data(), 28));
    uint8_t* record = bytes.data() + kHeaderSize;
    for (const auto& [number, page] : oldPages) {
        putU32(record, number);
        std::memcpy(record + 4, page.data(), jet::kPageSize);
        putU32(record + 4 + jet::kPageSize, checksum(record, 4 + jet::kPageSize));
        record += kRecordSize;
    }

    // The journal takes the database file's permissions, so that whoever
    // may write the database may also roll it back.
    struct stat info {};
    mode_t mode = ::stat(databaseFile.c_str(), &info) == 0 ? info.st_mode & 0666 : 0644;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) {
        throw EngineError("Cannot save '" + databaseFile + "': cannot create the journal '" + path +
                          "': " + reason(errno));
    }
    try {
        writeAll(calls, fd, bytes, 0,
                 "Cannot save '" + databaseFile + "': cannot write the journal");
        if (calls.fsync(fd) != 0) {
            throw EngineError("Cannot save '" + databaseFile +
                              "': cannot flush the journal: " + reason(errno));
        }
    } catch (...) {
        ::close(fd);
        ::unlink(path.c_str());
        throw;
    }
    ::close(fd);
    syncFolderOf(path);
}

void removeJournal(const std::string& databaseFile) {
    std::string path = journalPathFor(databaseFile);
    // Not flushed: should the removal be lost with the power, the journal
    // only rolls back a change that is in the file anyway, to before it.
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        throw EngineError("Cannot finish saving '" + databaseFile +
                          "': cannot remove the journal '" + path + "': " + reason(errno));
    }
}

JournalState inspectJournal(const std::string& databaseFile) {
    std::string path = journalPathFor(databaseFile);
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? JournalState::None : JournalState::Unfinished;
    }
    std::vector<uint8_t> bytes = readWhole(fd);
    ::close(fd);
    return parse(bytes).complete ? JournalState::Hot : JournalState::Unfinished;
}

void recoverJournal(const std::string& databaseFile, int fd, const StorageCalls& calls) {
    std::string path = journalPathFor(databaseFile);
    int journalFd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (journalFd < 0) {
        if (errno == ENOENT) {
            return;
        }
        throw EngineError("Cannot open '" + databaseFile + "': its journal '" + path +
                          "' cannot be read: " + reason(errno));
    }
    ParsedJournal journal = parse(readWhole(journalFd));
    ::close(journalFd);
    if (journal.complete) {
        std::string what =
            "Cannot open '" + databaseFile + "': an interrupted change cannot be rolled back";
        for (const auto& [number, page] : journal.records) {
            writeAll(calls, fd, page, static_cast<off_t>(number) * jet::kPageSize, what);
        }
        if (calls.ftruncate(fd, static_cast<off_t>(journal.pageCount) * jet::kPageSize) != 0 ||
            calls.fsync(fd) != 0) {
            throw EngineError(what + ": " + reason(errno));
        }
    }
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        throw EngineError("Cannot open '" + databaseFile + "': its journal '" + path +
                          "' cannot be removed: " + reason(errno));
    }
    syncFolderOf(path);
}

}  // namespace orvdb::engine

#include "jet/read/page_source.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace orvdb::jet {

PageSource::PageSource(std::string name, uint64_t size) : name_(std::move(name)) {
    setSize(size);
}

void PageSource::setSize(uint64_t size) {
    size_ = size;
    uint64_t pages = size / kPageSize;
    // Page numbers are 24 bits wide in row pointers; anything larger is not
    // a Jet file the format can address.
    pageCount_ =
        static_cast<uint32_t>(std::min<uint64_t>(pages, std::numeric_limits<uint32_t>::max()));
}

void PageSource::forget(uint32_t number) {
    for (Slot& slot : cache_) {
        if (slot.page && slot.page->number == number) {
            slot.page.reset();
            slot.lastUse = 0;
        }
    }
}

PageRef PageSource::page(uint32_t number) {
    if (number >= pageCount_) {
        throwCorrupt(name_, "page " + std::to_string(number) +
                                " is beyond the end of the file, which has " +
                                std::to_string(pageCount_) + " pages; the file may be truncated");
    }
    ++useCounter_;
    Slot* victim = &cache_[0];
    for (Slot& slot : cache_) {
        if (slot.page && slot.page->number == number) {
            slot.lastUse = useCounter_;
            return slot.page;
        }
        if (!slot.page || (victim->page && slot.lastUse < victim->lastUse)) {
            victim = &slot;
        }
    }
    auto fresh = std::make_shared<Page>();
    fresh->number = number;
    readAt(uint64_t{number} * kPageSize, fresh->bytes);
    victim->page = fresh;
    victim->lastUse = useCounter_;
    return fresh;
}

std::vector<uint8_t> PageSource::readPrefix(size_t length) {
    std::vector<uint8_t> out(static_cast<size_t>(std::min<uint64_t>(length, size_)));
    readAt(0, out);
    return out;
}

namespace {

class FilePageSource final : public PageSource {
public:
    FilePageSource(std::string name, int fd, uint64_t size)
        : PageSource(std::move(name), size), fd_(fd) {}
    ~FilePageSource() override { ::close(fd_); }

protected:
    void readAt(uint64_t offset, std::span<uint8_t> out) override {
        size_t done = 0;
        while (done < out.size()) {
            ssize_t got = ::pread(fd_, out.data() + done, out.size() - done,
                                  static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                throwError(name(), std::string("cannot read the file: ") + std::strerror(errno));
            }
            if (got == 0) {
                throwCorrupt(name(), "the file ended early; it may be truncated");
            }
            done += static_cast<size_t>(got);
        }
    }

private:
    int fd_;
};

class MemoryPageSource final : public PageSource {
public:
    MemoryPageSource(std::string name, std::span<const uint8_t> bytes)
        : PageSource(std::move(name), bytes.size()), bytes_(bytes.begin(), bytes.end()) {}

protected:
    void readAt(uint64_t offset, std::span<uint8_t> out) override {
        if (offset > bytes_.size() || out.size() > bytes_.size() - offset) {
            throwCorrupt(name(), "the data ended early; it may be truncated");
        }
        std::memcpy(out.data(), bytes_.data() + offset, out.size());
    }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace

std::unique_ptr<PageSource> openPageFile(const std::filesystem::path& path) {
    std::string name = path.string();
    // Non-blocking, so that a FIFO is refused below rather than waited on.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        throwError(name, std::string("cannot open the file: ") + std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        int error = errno;
        ::close(fd);
        throwError(name, std::string("cannot read the file: ") + std::strerror(error));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        throwError(name, "is not a regular file");
    }
    return std::make_unique<FilePageSource>(std::move(name), fd,
                                            static_cast<uint64_t>(info.st_size));
}

std::unique_ptr<PageSource> openPageMemory(std::span<const uint8_t> bytes, std::string name) {
    return std::make_unique<MemoryPageSource>(std::move(name), bytes);
}

}  // namespace orvdb::jet

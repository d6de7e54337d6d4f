// Fixed-size page access to a Jet file on disk (pread) or in memory, with a
// small cache so that memory use stays flat however large the file is.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "jet/format/byte_view.hpp"
#include "jet/format/page.hpp"

namespace orvdb::jet {

struct Page {
    uint32_t number = 0;
    PageBytes bytes{};
};
using PageRef = std::shared_ptr<const Page>;

class PageSource {
public:
    virtual ~PageSource() = default;
    PageSource(const PageSource&) = delete;
    PageSource& operator=(const PageSource&) = delete;

    // The name used in error messages (the path as given).
    const std::string& name() const { return name_; }
    uint64_t sizeInBytes() const { return size_; }
    // Whole pages only; a trailing partial page is not counted.
    uint32_t pageCount() const { return pageCount_; }

    // Throws JetError when `number` is beyond the end of the file.
    PageRef page(uint32_t number);
    ByteView view(const Page& page) const { return ByteView(page.bytes, name_); }

    // Up to `length` bytes from the start of the file, without the page cache
    // (for recognising the file before it is known to be a Jet file).
    std::vector<uint8_t> readPrefix(size_t length);

    // Drops a cached copy of page `number` (it was changed underneath).
    void forget(uint32_t number);

protected:
    PageSource(std::string name, uint64_t size);
    // The file grew or shrank underneath.
    void setSize(uint64_t size);
    virtual void readAt(uint64_t offset, std::span<uint8_t> out) = 0;

private:
    struct Slot {
        PageRef page;
        uint64_t lastUse = 0;
    };
    static constexpr size_t kCacheSlots = 32;

    std::string name_;
    uint64_t size_ = 0;
    uint32_t pageCount_ = 0;
    std::array<Slot, kCacheSlots> cache_{};
    uint64_t useCounter_ = 0;
};

std::unique_ptr<PageSource> openPageFile(const std::filesystem::path& path);
// Copies `bytes`; `name` stands in for the file name in messages.
std::unique_ptr<PageSource> openPageMemory(std::span<const uint8_t> bytes, std::string name);

}  // namespace orvdb::jet

// The pages of a file being written: numbers handed out in order, skipping
// pages reserved in advance, and the page images themselves.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "jet/format/page.hpp"

namespace orvdb::jet {

// Where the writer's pages come from: numbers for new pages, and their images.
class PageSink {
public:
    virtual ~PageSink() = default;
    // A page no structure uses yet.
    virtual uint32_t allocate() = 0;
    // The image of page `number`, for filling; references stay valid while
    // more pages are added.
    virtual PageBytes& page(uint32_t number) = 0;
};

class PageSet : public PageSink {
public:
    // Pages 0 and 1 (header, global usage map) always exist; `reserved` are
    // further pages placed by the caller (table definitions kept in place).
    explicit PageSet(std::set<uint32_t> reserved);

    // The lowest page number neither handed out nor reserved.
    uint32_t allocate() override;
    // The image of page `number` (zero-filled until written); references
    // stay valid while more pages are added.
    PageBytes& page(uint32_t number) override;
    // An existing page (number < count()).
    const PageBytes& page(uint32_t number) const { return *pages_.at(number); }
    // Pages 0 .. count-1 make up the file.
    uint32_t count() const { return static_cast<uint32_t>(pages_.size()); }
    // Reserved or handed out: the global usage map marks the others free.
    bool isUsed(uint32_t number) const;

private:
    std::set<uint32_t> reserved_;
    std::vector<bool> used_;
    uint32_t next_ = kGlobalUsageMapPage + 1;
    std::vector<std::unique_ptr<PageBytes>> pages_;
};

}  // namespace orvdb::jet

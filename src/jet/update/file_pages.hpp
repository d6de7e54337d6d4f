// The PageStore of a change to a real file: pages are read from the file as
// it is on disk (through a PageReader the owner supplies), kept in memory
// once read, and the modified ones are handed back to the owner to write.
// Pages are taken from and given back to the file's global usage map (page
// 1), whose bits mark FREE pages; the file grows at its end when no page is
// free, and the map grows with it (an inline map becomes a reference map
// with map pages of its own).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "jet/format/row_pointer.hpp"
#include "jet/read/page_source.hpp"
#include "jet/update/page_store.hpp"

namespace orvdb::jet {

// The file as it is on disk.
class PageReader {
public:
    virtual ~PageReader() = default;
    virtual uint32_t pageCount() const = 0;
    virtual void readPage(uint32_t number, PageBytes& out) = 0;
};

class FilePages : public PageStore {
public:
    FilePages(PageReader& file, std::string fileName);
    ~FilePages() override;

    const std::string& fileName() const override { return name_; }
    uint32_t pageCount() const override { return pageCount_; }
    const PageBytes& read(uint32_t number) override;
    PageBytes& modify(uint32_t number) override;
    uint32_t allocate() override;
    void release(uint32_t number) override;
    // Takes page `number` for a structure whose place was decided earlier
    // (the definition page of a new table, whose number is its id): a free
    // page of the file, or one past its end (the pages between are added
    // free). Throws JetError when the page is in use.
    void claim(uint32_t number);

    // Whether the global usage map marks page `number` free (pages it does
    // not cover count as in use here, unlike for readers: never hand them out).
    bool isFree(uint32_t number) { return freeBit(number).value_or(false); }

    // A PageSource over the pages as this change sees them, for the readers
    // (table definitions, rows, long values, usage maps).
    PageSource& source();
    std::shared_ptr<PageSource> sharedSource();

    // The modified pages (appended ones included), by number.
    std::map<uint32_t, const PageBytes*> modifiedPages() const;
    bool modified() const;
    // Forgets every page read: the file changed underneath (another process
    // committed). Throws when this change has modified pages.
    void reload();

private:
    struct Entry {
        PageBytes bytes{};
        bool modified = false;
    };
    class Source;

    Entry& entry(uint32_t number);
    // The global map: where its row is, and whether page `number` is free.
    std::optional<bool> freeBit(uint32_t number);
    void setFreeBit(uint32_t number, bool free);
    // The inline global map becomes a reference map with map pages.
    void convertToReferenceMap();
    // A map page for `slot`, added at the end of the file; `wasFree` says
    // which of the pages it covers were free.
    void addMapPage(uint32_t slot, const std::function<bool(uint32_t)>& wasFree);
    uint32_t appendPage();

    // Pages 0 (header), 1 (global usage map) and 2 (MSysObjects) are never
    // handed out.
    static constexpr uint32_t kFirstAllocatablePage = kCatalogPage + 1;

    PageReader& file_;
    std::string name_;
    uint32_t pageCount_ = 0;
    std::map<uint32_t, std::unique_ptr<Entry>> pages_;
    std::shared_ptr<Source> source_;
    // Lowest page that may still be free: allocation scans upward from here.
    uint32_t scanFrom_ = kFirstAllocatablePage;
};

}  // namespace orvdb::jet

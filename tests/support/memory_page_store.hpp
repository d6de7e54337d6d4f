// A PageStore over pages held in memory, for tests of the in-place editors:
// allocate() hands out the lowest released page, else a new one at the end.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "jet/format/jet_error.hpp"
#include "jet/update/page_store.hpp"

namespace orvdb::testing {

class MemoryPageStore : public jet::PageStore {
public:
    explicit MemoryPageStore(uint32_t initialPages = 2, std::string name = "memory.mdb")
        : name_(std::move(name)) {
        for (uint32_t n = 0; n < initialPages; ++n) {
            pages_.push_back(std::make_unique<jet::PageBytes>());
        }
    }
    // A store over the pages of a whole file image (a multiple of the page size).
    static MemoryPageStore fromBytes(const std::vector<uint8_t>& bytes, std::string name) {
        MemoryPageStore store(0, std::move(name));
        for (size_t offset = 0; offset + jet::kPageSize <= bytes.size(); offset += jet::kPageSize) {
            auto page = std::make_unique<jet::PageBytes>();
            std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), jet::kPageSize,
                        page->begin());
            store.pages_.push_back(std::move(page));
        }
        return store;
    }

    const std::string& fileName() const override { return name_; }
    uint32_t pageCount() const override { return static_cast<uint32_t>(pages_.size()); }
    const jet::PageBytes& read(uint32_t number) override { return page(number); }
    jet::PageBytes& modify(uint32_t number) override { return page(number); }
    uint32_t allocate() override {
        uint32_t number;
        if (!released_.empty()) {
            number = *released_.begin();
            released_.erase(released_.begin());
        } else {
            number = pageCount();
            pages_.push_back(std::make_unique<jet::PageBytes>());
        }
        page(number).fill(0);
        return number;
    }
    void release(uint32_t number) override {
        if (number >= pageCount() || !released_.insert(number).second) {
            throw jet::JetError(name_ + ": page " + std::to_string(number) +
                                " released twice or beyond the end");
        }
    }

    const std::set<uint32_t>& released() const { return released_; }
    std::vector<uint8_t> bytes() const {
        std::vector<uint8_t> out;
        for (const auto& page : pages_) {
            out.insert(out.end(), page->begin(), page->end());
        }
        return out;
    }

private:
    jet::PageBytes& page(uint32_t number) {
        if (number >= pages_.size()) {
            throw jet::JetError(name_ + ": page " + std::to_string(number) + " is beyond the end");
        }
        return *pages_[number];
    }

    std::string name_;
    std::vector<std::unique_ptr<jet::PageBytes>> pages_;
    std::set<uint32_t> released_;
};

}  // namespace orvdb::testing

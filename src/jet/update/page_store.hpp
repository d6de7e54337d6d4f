// The pages of a Jet file as one change sees them while it rewrites parts of
// the file in place: rows on data pages, entries in index trees, bits in
// usage maps. Reads see the change's own earlier writes; nothing reaches the
// file until the owner of the store writes the modified pages out (the engine
// journals the old images first), or drops them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "jet/read/page_source.hpp"

namespace orvdb::jet {

class PageStore {
public:
    virtual ~PageStore() = default;

    // Names the file in error messages.
    virtual const std::string& fileName() const = 0;
    // Pages 0 .. pageCount()-1 exist, the pages this change added included.
    virtual uint32_t pageCount() const = 0;
    // The page as the change sees it. Throws JetError beyond the end.
    // References stay valid as long as the store lives.
    virtual const PageBytes& read(uint32_t number) = 0;
    // The page for changing; later reads see what is written into it.
    virtual PageBytes& modify(uint32_t number) = 0;
    // A page no structure uses, zero-filled and counted as used from now on:
    // a free page of the file, or a new one at its end.
    virtual uint32_t allocate() = 0;
    // Gives a page back: no structure uses it any more.
    virtual void release(uint32_t number) = 0;
};

}  // namespace orvdb::jet

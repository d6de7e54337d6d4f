// Usage-map rows: which pages belong to a table, an index, a long-value
// column, or (page 1) which pages of the file are free.
//
// Every map row is 69 bytes, as Access writes them. An inline map (type 0)
// holds a start page and a bitmap of 512 pages; when the pages span more, a
// reference map (type 1) lists map pages (type 0x05), each a bitmap of a
// fixed run of 32,736 pages.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/format/value.hpp"
#include "jet/write/page_set.hpp"

namespace orvdb::jet {

inline constexpr size_t kUsageMapRowSize = 69;

// The map row listing `pages`; reference maps take their map pages from
// `pageSet`. Throws JetError when the pages lie beyond what one map row can
// reference.
Bytes encodeUsageMap(std::vector<uint32_t> pages, PageSink& pageSet);

// The global map of page 1: a set bit marks a free page. Needs the final
// page count: call it after every other page is allocated. Map pages it
// allocates itself are marked in use.
Bytes encodeGlobalUsageMap(PageSet& pageSet);

}  // namespace orvdb::jet

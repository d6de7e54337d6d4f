// Usage-map rows: which pages belong to a table, an index, a long-value
// column, or (page 1) which pages of the file are free.
// Maps take the inline form while the pages fit its bitmap, else the
// reference form (format/usage_map.hpp).
#pragma once

#include <cstdint>
#include <vector>

#include "jet/format/value.hpp"
#include "jet/write/page_set.hpp"

namespace orvdb::jet {

// The map row listing `pages`; reference maps take their map pages from
// `pageSet`. Throws JetError when the pages lie beyond what one map row can
// reference.
Bytes encodeUsageMap(std::vector<uint32_t> pages, PageSink& pageSet);

// The global map of page 1: a set bit marks a free page. Needs the final
// page count: call it after every other page is allocated. Map pages it
// allocates itself are marked in use.
Bytes encodeGlobalUsageMap(PageSet& pageSet);

}  // namespace orvdb::jet

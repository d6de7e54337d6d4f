// Usage-map rows as the in-place editors use them: which pages a map lists,
// and adding or removing one page (the map row keeps its place and length).
#pragma once

#include <cstdint>
#include <vector>

#include "jet/format/row_pointer.hpp"
#include "jet/update/page_store.hpp"

namespace orvdb::jet {

std::vector<uint32_t> usageMapPages(PageStore& pages, RowPointer map);
bool usageMapHas(PageStore& pages, RowPointer map, uint32_t page);
void addToUsageMap(PageStore& pages, RowPointer map, uint32_t page);
void removeFromUsageMap(PageStore& pages, RowPointer map, uint32_t page);

}  // namespace orvdb::jet

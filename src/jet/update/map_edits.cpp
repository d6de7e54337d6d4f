#include "jet/update/map_edits.hpp"

#include "jet/update/usage_map_editor.hpp"

namespace orvdb::jet {

namespace {

UsageMapEditor editorOf(PageStore& pages, RowPointer map) {
    return UsageMapEditor(pages, map, "usage map at " + map.toString());
}

}  // namespace

std::vector<uint32_t> usageMapPages(PageStore& pages, RowPointer map) {
    return editorOf(pages, map).pages();
}

bool usageMapHas(PageStore& pages, RowPointer map, uint32_t page) {
    return editorOf(pages, map).contains(page);
}

void addToUsageMap(PageStore& pages, RowPointer map, uint32_t page) {
    editorOf(pages, map).add(page);
}

void removeFromUsageMap(PageStore& pages, RowPointer map, uint32_t page) {
    editorOf(pages, map).remove(page);
}

}  // namespace orvdb::jet

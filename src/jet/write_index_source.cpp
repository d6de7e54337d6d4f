#include "jet/write_index_source.hpp"

#include "jet/write_bytes.hpp"

namespace orvdb::jet {

namespace {

constexpr uint8_t kLeafPageType = 0x04;
constexpr size_t kEntriesOffset = 0x1E0;

}  // namespace

IndexPages emptyIndexPages(const IndexPagesRequest& request) {
    IndexPages result;
    result.rootPage = request.allocatePage();
    auto& page = result.pages[result.rootPage];
    page.fill(0);
    page[0] = kLeafPageType;
    page[1] = 0x01;
    putU16(page, 2, static_cast<uint16_t>(kPageSize - kEntriesOffset));
    putU32(page, 4, request.tablePage);
    return result;
}

}  // namespace orvdb::jet

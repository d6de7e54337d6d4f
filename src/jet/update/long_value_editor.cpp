#include "jet/update/long_value_editor.hpp"

#include <algorithm>
#include <set>

#include "jet/format/bytes.hpp"
#include "jet/format/data_page.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/long_value.hpp"
#include "jet/read/usage_map.hpp"
#include "jet/update/data_page_editor.hpp"
#include "jet/update/map_edits.hpp"
#include "jet/write/data_page_writer.hpp"

namespace orvdb::jet {

namespace {

using namespace long_value;

using data_page_edit::isLongValuePage;

}  // namespace

LongValueEditor::LongValueEditor(PageStore& pages, const Column& column, std::string tableName)
    : pages_(pages), column_(column), tableName_(std::move(tableName)) {
    if (!column.longValueOwnedPages) {
        throw JetError(pages.fileName() + ": column '" + column.name + "' of table '" + tableName_ +
                       "' has no long-value pages");
    }
}

void LongValueEditor::noteRoom(uint32_t page) {
    if (!column_.longValueFreePages) {
        return;
    }
    bool roomy = data_page_edit::freeSpace(pages_.read(page)) >= kRoomWorthListing;
    bool listed = usageMapHas(pages_, *column_.longValueFreePages, page);
    if (roomy && !listed) {
        addToUsageMap(pages_, *column_.longValueFreePages, page);
    } else if (!roomy && listed) {
        removeFromUsageMap(pages_, *column_.longValueFreePages, page);
    }
}

RowPointer LongValueEditor::addRow(std::span<const uint8_t> row) {
    auto fitsOn = [&](uint32_t page) {
        const PageBytes& bytes = pages_.read(page);
        return isLongValuePage(bytes) && data_page_edit::fits(bytes, row.size());
    };
    uint32_t target = 0;
    if (lastPage_ != 0 && fitsOn(lastPage_)) {
        target = lastPage_;
    } else if (column_.longValueFreePages) {
        for (uint32_t page : usageMapPages(pages_, *column_.longValueFreePages)) {
            if (page < pages_.pageCount() && fitsOn(page)) {
                target = page;
                break;
            }
        }
    }
    if (target == 0) {
        target = pages_.allocate();
        data_page_edit::initializeLongValuePage(pages_.modify(target));
        addToUsageMap(pages_, *column_.longValueOwnedPages, target);
    }
    uint8_t slot = data_page_edit::addRow(pages_.modify(target), row);
    noteRoom(target);
    lastPage_ = target;
    return RowPointer{target, slot};
}

void LongValueEditor::release(std::span<const uint8_t> field) {
    if (field.size() < kHeaderSize) {
        return;  // an empty value has no header
    }
    uint32_t head = getU32(field, kLength);
    if (head & kInlineFlag) {
        return;
    }
    uint32_t length = head & kLengthMask;
    RowPointer pointer = RowPointer::fromRaw(getU32(field, kPointer));
    bool single = (head & kSingleRowFlag) != 0;
    std::set<uint32_t> seen;
    // Every link holds at least one byte: no chain has more links than bytes.
    for (uint64_t links = 0; !pointer.isNull() && links <= length; ++links) {
        if (!seen.insert(pointer.page << 8 | pointer.row).second ||
            pointer.page >= pages_.pageCount()) {
            break;
        }
        const PageBytes& page = pages_.read(pointer.page);
        if (!isLongValuePage(page) || pointer.row >= data_page_edit::slotCount(page) ||
            data_page_edit::isDeleted(page, pointer.row)) {
            throwCorrupt(pages_.fileName(), "a long value of column '" + column_.name +
                                                "' of table '" + tableName_ + "' points to " +
                                                pointer.toString() +
                                                ", which holds no long-value row");
        }
        RowPointer next;
        if (!single) {
            std::span<const uint8_t> row = data_page_edit::rowBytes(page, pointer.row);
            if (row.size() >= kLinkData) {
                next = RowPointer::fromRaw(getU32(row, kLinkNext));
            }
        }
        data_page_edit::deleteRow(pages_.modify(pointer.page), pointer.row);
        noteRoom(pointer.page);
        if (single) {
            break;
        }
        pointer = next;
    }
}

}  // namespace orvdb::jet

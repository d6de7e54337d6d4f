#include "jet/update/long_value_editor.hpp"

#include <algorithm>
#include <set>

#include "jet/format/bytes.hpp"
#include "jet/format/data_page.hpp"
#include "jet/format/long_value.hpp"
#include "jet/write/data_page_writer.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/read/usage_map.hpp"
#include "jet/update/data_page_editor.hpp"
#include "jet/update/map_edits.hpp"

namespace orvdb::jet {

namespace {

using namespace long_value;

Bytes header(uint32_t lengthAndFlags, uint32_t pointer) {
    Bytes out(kHeaderSize, 0);
    putU32(out, kLength, lengthAndFlags);
    putU32(out, kPointer, pointer);
    return out;
}

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

Bytes LongValueEditor::store(std::span<const uint8_t> data, bool inlineData,
                             const ValuePlace& where) {
    if (data.size() > kMaxLength) {
        throw JetError(where.text() + ": the value has " + std::to_string(data.size()) +
                       " bytes; long values must stay below 16 MB");
    }
    auto length = static_cast<uint32_t>(data.size());
    if (inlineData) {
        Bytes out = header(kInlineFlag | length, 0);
        out.insert(out.end(), data.begin(), data.end());
        return out;
    }
    if (data.size() <= kMaxSingleRow) {
        RowPointer at = addRow(data);
        return header(kSingleRowFlag | length, at.raw());
    }
    // A chain, each link pointing to the next: written last to first, so
    // that every link knows its successor when it is placed.
    std::vector<std::pair<size_t, size_t>> links;
    for (size_t done = 0; done < data.size(); done += kMaxLinkData) {
        links.emplace_back(done, std::min(data.size() - done, kMaxLinkData));
    }
    RowPointer next;
    for (auto link = links.rbegin(); link != links.rend(); ++link) {
        Bytes row(kLinkData, 0);
        putU32(row, kLinkNext, next.isNull() ? 0 : next.raw());
        row.insert(row.end(), data.begin() + static_cast<ptrdiff_t>(link->first),
                   data.begin() + static_cast<ptrdiff_t>(link->first + link->second));
        next = addRow(row);
    }
    return header(length, next.raw());
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
        if (!seen.insert(pointer.page << 8 | pointer.row).second || pointer.page >= pages_.pageCount()) {
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

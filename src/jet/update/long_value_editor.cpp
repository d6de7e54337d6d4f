#include "jet/update/long_value_editor.hpp"

#include <set>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/read/usage_map.hpp"
#include "jet/update/data_page_editor.hpp"
#include "jet/update/map_edits.hpp"

namespace orvdb::jet {

namespace {

constexpr uint32_t kInlineFlag = 0x80000000;
constexpr uint32_t kSingleRowFlag = 0x40000000;
constexpr uint32_t kLengthMask = 0x3FFFFFFF;
constexpr size_t kMaxLength = 0x00FFFFFF;
constexpr size_t kMaxSingleRow = 4076;
constexpr size_t kLinkPointerSize = 4;
constexpr size_t kMaxLinkData = 4072;
// Pages with at least this much room are listed as having free space.
constexpr size_t kRoomWorthListing = 64;

Bytes header(uint32_t lengthAndFlags, uint32_t pointer) {
    Bytes out(kLongValueHeaderSize, 0);
    putU32(out, 0, lengthAndFlags);
    putU32(out, 4, pointer);
    return out;
}

uint32_t u32At(const uint8_t* data) {
    return data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
}

bool isLongValuePage(const PageBytes& page) {
    return page[0] == 0x01 && page[4] == 'L' && page[5] == 'V' && page[6] == 'A' && page[7] == 'L';
}

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
        return header(kSingleRowFlag | length, rawRowPointer(at.page, at.row));
    }
    // A chain, each link pointing to the next: written last to first, so
    // that every link knows its successor when it is placed.
    std::vector<std::pair<size_t, size_t>> links;
    for (size_t done = 0; done < data.size(); done += kMaxLinkData) {
        links.emplace_back(done, std::min(data.size() - done, kMaxLinkData));
    }
    RowPointer next;
    for (auto link = links.rbegin(); link != links.rend(); ++link) {
        Bytes row(kLinkPointerSize, 0);
        putU32(row, 0, next.isNull() ? 0 : rawRowPointer(next.page, next.row));
        row.insert(row.end(), data.begin() + static_cast<ptrdiff_t>(link->first),
                   data.begin() + static_cast<ptrdiff_t>(link->first + link->second));
        next = addRow(row);
    }
    return header(length, rawRowPointer(next.page, next.row));
}

void LongValueEditor::release(std::span<const uint8_t> field) {
    if (field.size() < kLongValueHeaderSize) {
        return;  // an empty value has no header
    }
    uint32_t head = u32At(field.data());
    if (head & kInlineFlag) {
        return;
    }
    uint32_t length = head & kLengthMask;
    RowPointer pointer = RowPointer::fromRaw(u32At(field.data() + 4));
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
            if (row.size() >= kLinkPointerSize) {
                next = RowPointer::fromRaw(u32At(row.data()));
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

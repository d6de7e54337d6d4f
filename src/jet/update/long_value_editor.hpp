// The long values (Memo, OLE) of one column of an existing table, changed in
// place: new values go into rows of the column's long-value pages that have
// room (those its free-space map lists), or of a page added to its maps;
// values given back free their rows.
#pragma once

#include <cstdint>
#include <span>

#include "jet/format/column.hpp"
#include "jet/update/page_store.hpp"
#include "jet/write/long_value_writer.hpp"

namespace orvdb::jet {

class LongValueEditor : public LongValueStore {
public:
    // `column` must have its long-value usage maps.
    LongValueEditor(PageStore& pages, const Column& column, std::string tableName);

    // Frees the long-value rows a row's field (its 12-byte header, and the
    // data when inline) refers to.
    void release(std::span<const uint8_t> field);

protected:
    RowPointer addRow(std::span<const uint8_t> row) override;

private:
    void noteRoom(uint32_t page);

    PageStore& pages_;
    const Column& column_;
    std::string tableName_;
    // The page new rows went to last: most values of one change fit there.
    uint32_t lastPage_ = 0;
};

}  // namespace orvdb::jet

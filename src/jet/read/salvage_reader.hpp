// The rows of a damaged table that can still be read, for a repair: where
// TableReader stops at the first damage, this reader skips what it cannot
// read (a page, a row, a long value) and records each loss.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "jet/read/data_page.hpp"
#include "jet/read/row_decoder.hpp"
#include "jet/read/table_definition.hpp"
#include "jet/read/table_reader.hpp"

namespace orvdb::jet {

class SalvageReader {
public:
    SalvageReader(std::shared_ptr<PageSource> source, std::shared_ptr<const TableDefinition> table);

    // The next row that reads; a long value that does not read is Null (and
    // a loss). False after the last.
    bool next(Row& row);

    const TableDefinition& definition() const { return *table_; }
    // What could not be read, one line each ("page 12: ...").
    const std::vector<std::string>& losses() const { return losses_; }
    size_t rowsRead() const { return rowsRead_; }
    size_t rowsLost() const { return rowsLost_; }
    size_t pagesLost() const { return pagesLost_; }
    size_t valuesLost() const { return valuesLost_; }

private:
    bool ownPage(uint32_t number);
    bool ownerDamaged(uint32_t number);
    void listPages();
    bool openNextPage();
    bool readRow(uint16_t rowNumber, Row& row);
    std::optional<ByteView> rowBytes(uint16_t rowNumber, PageRef& holder);
    void loseRow(uint16_t rowNumber, const std::string& why);

    std::shared_ptr<PageSource> source_;
    std::shared_ptr<const TableDefinition> table_;
    RowDecoder decoder_;
    std::vector<uint32_t> pages_;
    size_t nextPage_ = 0;
    bool unlistedAdded_ = false;
    std::optional<DataPage> current_;
    uint16_t nextRow_ = 0;
    std::vector<std::string> losses_;
    size_t rowsRead_ = 0;
    size_t rowsLost_ = 0;
    size_t pagesLost_ = 0;
    size_t valuesLost_ = 0;
};

}  // namespace orvdb::jet

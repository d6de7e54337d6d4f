#include "jet/write/table_writer.hpp"

#include <map>
#include <span>

#include "jet/format/jet_error.hpp"
#include "jet/write/data_page_writer.hpp"
#include "jet/write/long_value_writer.hpp"
#include "jet/write/row_writer.hpp"
#include "jet/write/table_definition_writer.hpp"
#include "jet/write/usage_map_writer.hpp"

namespace orvdb::jet {

namespace {

// The counter is the last value handed out: never below a stored value.
void noteAutoNumber(TableDefinition& definition, const std::vector<Value>& row) {
    for (size_t index = 0; index < definition.columns.size(); ++index) {
        const Column& column = definition.columns[index];
        const auto* value = std::get_if<int64_t>(&row[index]);
        if (column.isAutoNumber() && column.type() == ColumnType::Long && value && *value > 0 &&
            static_cast<uint64_t>(*value) > definition.lastAutoNumber) {
            definition.lastAutoNumber = static_cast<uint32_t>(*value);
        }
    }
}

class TableWriter {
public:
    TableWriter(PageSink& pages, MapRowSink& mapRows, const TableWriteOptions& options)
        : pages_(pages), mapRows_(mapRows), options_(options) {}

    void write(TableDefinition& definition, uint32_t tablePage, const RowFeed& feed,
               const std::function<void(TableDefinition&)>& beforeDefinition,
               std::vector<RowPointer>* rowPointers) {
        definition.page = tablePage;
        if (options_.indexPages) {
            // The given index builder sees all rows at once.
            std::vector<std::vector<Value>> held;
            feed([&](const std::vector<Value>& row) { held.push_back(row); });
            std::vector<RowPointer> where;
            writeRows(
                definition,
                [&](const RowVisitor& visit) {
                    for (const auto& row : held) {
                        visit(row);
                    }
                },
                {}, &where);
            for (PhysicalIndex& index : definition.physicalIndexes) {
                IndexPagesRequest request{definition,
                                          held,
                                          where,
                                          index,
                                          definition.page,
                                          [this] { return pages_.allocate(); },
                                          options_.originalKeys};
                placeIndex(index, options_.indexPages(request));
            }
            if (rowPointers != nullptr) {
                *rowPointers = std::move(where);
            }
        } else {
            // Index keys are gathered as the rows are written.
            std::vector<IndexKeyCollector> collectors;
            collectors.reserve(definition.physicalIndexes.size());
            for (const PhysicalIndex& index : definition.physicalIndexes) {
                collectors.emplace_back(definition, index, options_.originalKeys);
            }
            writeRows(definition, feed, collectors, rowPointers);
            for (size_t n = 0; n < collectors.size(); ++n) {
                placeIndex(
                    definition.physicalIndexes[n],
                    collectors[n].build(definition.page, [this] { return pages_.allocate(); }));
            }
        }
        if (beforeDefinition) {
            beforeDefinition(definition);
        }
        writeTableDefinitionPages(encodeTableDefinition(definition), tablePage, pages_);
    }

private:
    void writeRows(TableDefinition& definition, const RowFeed& feed,
                   std::span<IndexKeyCollector> collectors, std::vector<RowPointer>* rowPointers) {
        std::map<uint16_t, LongValueWriter> longValues;
        for (const Column& column : definition.columns) {
            if (column.isLongValue()) {
                longValues.emplace(column.number, LongValueWriter(pages_));
            }
        }
        RowEncoder::LongValueStores stores;
        for (auto& [number, writer] : longValues) {
            stores[number] = &writer;
        }
        RowEncoder encoder(definition, stores);
        std::vector<DataPageBuilder> dataPages;
        size_t count = 0;
        feed([&](const std::vector<Value>& values) {
            Bytes row = encoder.encode(values, count);
            if (dataPages.empty() || !dataPages.back().fits(row.size())) {
                dataPages.emplace_back(pages_, pages_.allocate(), definition.page);
            }
            RowPointer where = dataPages.back().add(row);
            if (rowPointers != nullptr) {
                rowPointers->push_back(where);
            }
            for (IndexKeyCollector& collector : collectors) {
                collector.add(values, where);
            }
            noteAutoNumber(definition, values);
            ++count;
        });
        definition.rowCount = static_cast<uint32_t>(count);

        std::vector<uint32_t> owned;
        std::vector<uint32_t> withRoom;
        for (const DataPageBuilder& page : dataPages) {
            owned.push_back(page.number());
            if (page.freeSpace() >= kRoomWorthListing) {
                withRoom.push_back(page.number());
            }
        }
        definition.ownedPages = mapRows_.add(encodeUsageMap(owned, pages_));
        definition.freeSpacePages = mapRows_.add(encodeUsageMap(withRoom, pages_));
        for (Column& column : definition.columns) {
            if (column.isLongValue()) {
                const LongValueWriter& writer = longValues.at(column.number);
                column.longValueOwnedPages = mapRows_.add(encodeUsageMap(writer.pages(), pages_));
                column.longValueFreePages =
                    mapRows_.add(encodeUsageMap(writer.pagesWithRoom(), pages_));
            }
        }
    }

    void placeIndex(PhysicalIndex& index, const IndexPages& built) {
        std::vector<uint32_t> indexPages;
        for (const auto& [number, bytes] : built.pages) {
            pages_.page(number) = bytes;
            indexPages.push_back(number);
        }
        index.rootPage = built.rootPage;
        index.entryCount = built.uniqueEntryCount;
        index.usageMap = mapRows_.add(encodeUsageMap(indexPages, pages_));
    }

    PageSink& pages_;
    MapRowSink& mapRows_;
    const TableWriteOptions& options_;
};

}  // namespace

void writeTablePages(TableDefinition& definition, uint32_t tablePage, const RowFeed& feed,
                     PageSink& pages, MapRowSink& mapRows, const TableWriteOptions& options,
                     const std::function<void(TableDefinition&)>& beforeDefinition,
                     std::vector<RowPointer>* rowPointers) {
    TableWriter writer(pages, mapRows, options);
    writer.write(definition, tablePage, feed, beforeDefinition, rowPointers);
}

}  // namespace orvdb::jet

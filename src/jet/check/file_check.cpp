#include "jet/check/file_check.hpp"

#include <algorithm>
#include <map>
#include <set>

#include "jet/check/check_index.hpp"
#include "jet/format/bytes.hpp"
#include "jet/format/data_page.hpp"
#include "jet/format/index_page.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/page.hpp"
#include "jet/format/tdef.hpp"
#include "jet/format/usage_map.hpp"
#include "jet/index/index_key.hpp"
#include "jet/read/catalog_rows.hpp"
#include "jet/read/data_page.hpp"
#include "jet/read/usage_map.hpp"

namespace orvdb::jet {

namespace {

// Data pages name their table, index pages theirs, at the same offset.
static_assert(data_page::kOwner == index_page::kTablePage);

uint32_t ownerField(const Page& page) {
    return getU32(page.bytes, data_page::kOwner);
}

uint8_t typeOf(const Page& page) {
    return page.bytes[page::kType];
}

bool isBlank(const Page& page) {
    return std::all_of(page.bytes.begin(), page.bytes.end(), [](uint8_t b) { return b == 0; });
}

std::string hexByte(uint8_t value) {
    static const char* digits = "0123456789ABCDEF";
    return std::string("0x") + digits[value >> 4] + digits[value & 0x0F];
}

std::string kindOf(const Page& page) {
    switch (typeOf(page)) {
        case page::kDataType:
            if (hasLongValueMark(page)) {
                return "long-value page";
            }
            return ownerField(page) == 0
                       ? "usage-map page"
                       : "data page of the table at page " + std::to_string(ownerField(page));
        case page::kDefinitionType:
            return "table definition page";
        case page::kIndexNodeType:
        case page::kIndexLeafType:
            return "index page of the table at page " + std::to_string(ownerField(page));
        case page::kUsageMapType:
            return "usage-map page";
        case page::kEmptiedLongValueType:
            return "emptied long-value page";
        default:
            return "page of type " + hexByte(typeOf(page));
    }
}

class FileCheck {
public:
    FileCheck(std::shared_ptr<PageSource> source, CheckScope scope)
        : shared_(std::move(source)), source_(*shared_), scope_(scope) {}

    // `file` is null when its catalog cannot be read: the catalog table and
    // the pages are checked all the same.
    CheckReport run(const JetFile* file) {
        report_.pages = source_.pageCount();
        own(kHeaderPage, "the file header");
        own(kGlobalUsageMapPage, "the global usage map");
        readGlobalMap();
        // The catalog is checked from its fixed page: damage to it could hide
        // every table, itself included.
        checkTable("MSysObjects", kCatalogPage);
        if (file != nullptr) {
            for (const CatalogObject* object : file->catalog().tables(true)) {
                if (object->tablePage() != kCatalogPage) {
                    checkTable(object->name, object->tablePage());
                }
            }
        }
        if (scope_ == CheckScope::Whole) {
            checkPages();
        } else {
            checkOwnedPagesInUse();
        }
        return std::move(report_);
    }

    std::vector<CheckFinding> runTable(const std::shared_ptr<const TableDefinition>& table) {
        checkTable(table);
        return std::move(report_.findings);
    }

    // A table checked from rows its caller reads: the maps first, then
    // rowsRead() with the rows.
    void startTable(const std::shared_ptr<const TableDefinition>& table) {
        ++report_.tables;
        checkTableMaps(*table, labelOf(*table));
    }
    void rowsUnreadable(const TableDefinition& table, const std::string& why) {
        error(labelOf(table) + ": its rows cannot be read: " + why);
    }
    std::vector<CheckFinding> rowsRead(const TableDefinition& table, TableRows& rows,
                                       bool complete) {
        rows.finish();
        if (complete) {
            checkRowCount(table, labelOf(table), rows);
        }
        checkIndexes(table, labelOf(table), rows);
        return std::move(report_.findings);
    }

private:
    void error(std::string text) {
        report_.findings.push_back({CheckSeverity::Error, std::move(text)});
    }
    void warning(std::string text) {
        report_.findings.push_back({CheckSeverity::Warning, std::move(text)});
    }

    void own(uint32_t page, const std::string& what) { owners_.emplace(page, what); }

    bool isFree(uint32_t page) const { return page >= free_.size() || free_[page]; }

    // A set bit marks a free page; pages beyond the map count as free.
    void readGlobalMap() {
        free_.assign(source_.pageCount(), false);
        try {
            RowPointer where{kGlobalUsageMapPage, 0};
            DataPage page(source_, source_.page(where.page));
            ByteView row = page.rowBytes(where.row);
            if (row.size() >= usage_map::kInlineBitmap &&
                row.u8(usage_map::kType) != usage_map::kReference) {
                uint64_t end = uint64_t{row.u32(usage_map::kStartPage)} +
                               (row.size() - usage_map::kInlineBitmap) * 8;
                for (uint64_t n = end; n < free_.size(); ++n) {
                    free_[n] = true;
                }
            }
            // A large file's map lives on pages of its own.
            ownMapPages(row, "the global usage map");
            UsageMap map = UsageMap::read(source_, where, "whole file");
            while (auto free = map.next()) {
                if (*free < free_.size()) {
                    free_[*free] = true;
                }
            }
        } catch (const JetError& failure) {
            error(std::string("the global usage map cannot be read: ") + failure.what());
        }
    }

    // The map pages of a reference map row belong to the map.
    void ownMapPages(const ByteView& row, const std::string& owner) {
        if (row.size() == 0 || row.u8(usage_map::kType) != usage_map::kReference) {
            return;
        }
        for (size_t offset = usage_map::kMapPages;
             offset + usage_map::kMapPageSlotSize <= row.size();
             offset += usage_map::kMapPageSlotSize) {
            if (uint32_t mapPage = row.u32(offset); mapPage != 0) {
                own(mapPage, owner);
            }
        }
    }

    // The pages a usage map lists; the pages holding the map are owned by it.
    std::vector<uint32_t> readMap(RowPointer where, const std::string& what) {
        std::vector<uint32_t> pages;
        if (where.isNull()) {
            return pages;  // Access leaves some free-space maps of long values out
        }
        try {
            own(where.page, "the usage map of the " + what);
            DataPage page(source_, source_.page(where.page));
            ownMapPages(page.rowBytes(where.row), "the usage map of the " + what);
            UsageMap map = UsageMap::read(source_, where, what);
            while (auto listed = map.next()) {
                if (*listed >= source_.pageCount()) {
                    error("the usage map of the " + what + " lists page " +
                          std::to_string(*listed) + ", beyond the end of the file");
                    continue;
                }
                pages.push_back(*listed);
            }
        } catch (const JetError& failure) {
            error("the usage map of the " + what + " cannot be read: " + failure.what());
        }
        return pages;
    }

    void checkTable(const std::string& name, uint32_t page) {
        std::shared_ptr<TableDefinition> table;
        try {
            table = std::make_shared<TableDefinition>(readTableDefinition(source_, page));
            table->name = name;
        } catch (const JetError& failure) {
            ++report_.tables;
            error("table '" + name + "': the definition cannot be read: " + failure.what());
            return;
        }
        checkTable(table);
    }

    static std::string labelOf(const TableDefinition& table) {
        return "table '" + table.name + "'";
    }

    void checkTable(const std::shared_ptr<const TableDefinition>& table) {
        ++report_.tables;
        const std::string label = labelOf(*table);
        checkTableMaps(*table, label);
        if (scope_ == CheckScope::Maps) {
            for (const PhysicalIndex& index : table->physicalIndexes) {
                ++report_.indexes;
                std::string indexLabel = label + ", " + describeIndex(*table, index);
                for (uint32_t page : readMap(index.usageMap, "pages of " + indexLabel)) {
                    own(page, "index page of " + indexLabel);
                }
            }
            return;
        }
        TableRows rows = readRows(table, label);
        checkIndexes(*table, label, rows);
    }

    void checkTableMaps(const TableDefinition& table, const std::string& label) {
        ownDefinitionPages(table, label);

        std::vector<uint32_t> dataPages = readMap(table.ownedPages, "pages of " + label);
        std::set<uint32_t> owned(dataPages.begin(), dataPages.end());
        for (uint32_t number : dataPages) {
            // Also before a commit: a page the map lists that names another
            // owner hides rows the reader would stop at.
            PageRef page = source_.page(number);
            if (!isDataPageOf(*page, table.page) || hasLongValueMark(*page)) {
                error(label + ": its owned-pages map lists page " + std::to_string(number) +
                      ", which is a " + kindOf(*page) + ", not one of its data pages");
            }
            own(number, "data page of " + label);
        }
        for (uint32_t number : readMap(table.freeSpacePages, "free space of " + label)) {
            if (owned.count(number) == 0) {
                error(label + ": its free-space map lists page " + std::to_string(number) +
                      ", which its owned-pages map does not");
            }
        }
        tablesByPage_[table.page] = {label, std::move(owned)};

        for (const Column& column : table.columns) {
            if (column.longValueOwnedPages) {
                checkLongValuePages(column, label);
            }
        }
    }

    void checkIndexes(const TableDefinition& table, const std::string& label,
                      const TableRows& rows) {
        for (size_t position = 0; position < table.physicalIndexes.size(); ++position) {
            const PhysicalIndex& index = table.physicalIndexes[position];
            ++report_.indexes;
            std::string indexLabel = label + ", " + describeIndex(table, index);
            std::vector<uint32_t> mapped = readMap(index.usageMap, "pages of " + indexLabel);
            std::set<uint32_t> inTree =
                checkIndex(source_, table, index, &rows.index(position), report_.findings);
            std::set<uint32_t> inMap(mapped.begin(), mapped.end());
            for (uint32_t page : inTree) {
                own(page, "index page of " + indexLabel);
                if (inMap.count(page) == 0) {
                    error(indexLabel + ": page " + std::to_string(page) +
                          " of its tree is missing from its usage map");
                }
            }
            for (uint32_t page : mapped) {
                own(page, "index page of " + indexLabel);
            }
        }
    }

    void ownDefinitionPages(const TableDefinition& table, const std::string& label) {
        std::set<uint32_t> seen;
        for (uint32_t page = table.page; page != 0 && seen.insert(page).second;) {
            if (page >= source_.pageCount()) {
                error(label + ": its definition continues on page " + std::to_string(page) +
                      ", beyond the end of the file");
                return;
            }
            own(page, "definition of " + label);
            PageRef bytes = source_.page(page);
            page = source_.view(*bytes).u32(tdef::kNextPage);
        }
    }

    // Long-value chains are followed, and their lengths checked, when the
    // rows are decoded; here the pages of the column's map must be
    // long-value pages.
    void checkLongValuePages(const Column& column, const std::string& label) {
        std::string what = "long values of column '" + column.name + "' of " + label;
        for (uint32_t number : readMap(*column.longValueOwnedPages, what)) {
            if (scope_ == CheckScope::Maps) {
                own(number, what);
                continue;
            }
            PageRef page = source_.page(number);
            uint8_t type = typeOf(*page);
            if ((type != page::kDataType && type != page::kEmptiedLongValueType) ||
                !hasLongValueMark(*page)) {
                error("the map of the " + what + " lists page " + std::to_string(number) +
                      ", which is a " + kindOf(*page) + ", not a long-value page");
            }
            own(number, what);
        }
        if (column.longValueFreePages) {
            readMap(*column.longValueFreePages, "free space of the " + what);
        }
    }

    TableRows readRows(const std::shared_ptr<const TableDefinition>& table,
                       const std::string& label) {
        TableRows rows(*table);
        try {
            TableReader reader(shared_, table);
            Row row;
            while (reader.next(row)) {
                rows.add(row.id, row.values);
            }
        } catch (const JetError& failure) {
            error(label + ": its rows cannot be read: " + failure.what());
            rows.finish();
            return rows;
        }
        rows.finish();
        checkRowCount(*table, label, rows);
        return rows;
    }

    // Access leaves the count stale at times; readers that go by the usage
    // map are not misled.
    void checkRowCount(const TableDefinition& table, const std::string& label,
                       const TableRows& rows) {
        if (rows.size() != table.rowCount) {
            warning(label + ": the definition records " + std::to_string(table.rowCount) +
                    " rows, the data pages hold " + std::to_string(rows.size()));
        }
    }

    // A commit takes the pages the global map marks free: none of them may
    // be in use.
    void checkOwnedPagesInUse() {
        for (const auto& [number, owner] : owners_) {
            if (number != kHeaderPage && number < source_.pageCount() && isFree(number)) {
                error("page " + std::to_string(number) + " (" + owner +
                      ") is in use but the global usage map marks it free");
            }
        }
    }

    void checkPages() {
        for (uint32_t number = 0; number < source_.pageCount(); ++number) {
            PageRef page;
            try {
                page = source_.page(number);
            } catch (const JetError& failure) {
                error(failure.what());
                continue;
            }
            auto owner = owners_.find(number);
            if (owner != owners_.end()) {
                if (number != kHeaderPage && isFree(number)) {
                    error("page " + std::to_string(number) + " (" + owner->second +
                          ") is in use but the global usage map marks it free");
                }
            }
            if (isFree(number)) {
                continue;  // free pages keep whatever they held
            }
            uint8_t type = typeOf(*page);
            bool known = (type >= page::kDataType && type <= page::kUsageMapType) ||
                         (type == page::kEmptiedLongValueType && hasLongValueMark(*page)) ||
                         (type == page::kHeaderType && (number == kHeaderPage || isBlank(*page)));
            if (!known && owner != owners_.end()) {
                error("page " + std::to_string(number) + " (" + owner->second +
                      ") has the unknown page type " + hexByte(type));
                continue;
            }
            // Access leaks pages now and then; only compacting gets them back.
            if (owner == owners_.end() && !isBlank(*page)) {
                leaked_.push_back(number);
            }
            checkDataPageOwner(number, *page);
        }
        reportLeakedPages();
    }

    // A data page naming a table must be in that table's owned-pages map.
    void checkDataPageOwner(uint32_t number, const Page& page) {
        if (typeOf(page) != page::kDataType || hasLongValueMark(page)) {
            return;
        }
        auto table = tablesByPage_.find(ownerField(page));
        if (table == tablesByPage_.end() || table->second.dataPages.count(number) != 0) {
            return;
        }
        std::string text = "data page " + std::to_string(number) + " names " + table->second.label +
                           " but the table's owned-pages map does not list it";
        // Readers go by the map and never see rows there. Access leaves such
        // pages behind when a table is dropped and another one gets its page.
        size_t liveRows = 0;
        try {
            DataPage data(source_, source_.page(number));
            for (uint16_t row = 0; row < data.rowCount(); ++row) {
                liveRows += data.slot(row).deleted ? 0 : 1;
            }
        } catch (const JetError& failure) {
            error(text + "; " + failure.what());
            return;
        }
        warning(text + " (" + std::to_string(liveRows) + " rows there are not read)");
    }

    // One warning for all leaked pages, as runs of page numbers.
    void reportLeakedPages() {
        if (leaked_.empty()) {
            return;
        }
        std::string runs;
        for (size_t n = 0; n < leaked_.size();) {
            size_t last = n;
            while (last + 1 < leaked_.size() && leaked_[last + 1] == leaked_[last] + 1) {
                ++last;
            }
            runs += (runs.empty() ? "" : ", ") + std::to_string(leaked_[n]);
            if (last > n) {
                runs += "-" + std::to_string(leaked_[last]);
            }
            n = last + 1;
        }
        warning(std::to_string(leaked_.size()) +
                " pages are marked in use in the global usage map but no table, index, long "
                "value or usage map owns them (compacting reclaims them): " +
                runs);
    }

    struct TablePages {
        std::string label;
        std::set<uint32_t> dataPages;
    };

    std::shared_ptr<PageSource> shared_;
    PageSource& source_;
    CheckScope scope_;
    CheckReport report_;
    std::vector<bool> free_;
    std::map<uint32_t, std::string> owners_;  // page -> what uses it (the first owner found)
    std::map<uint32_t, TablePages> tablesByPage_;
    std::vector<uint32_t> leaked_;  // in use, owned by nothing, ascending
};

}  // namespace

bool CheckReport::hasErrors() const {
    return std::any_of(findings.begin(), findings.end(), [](const CheckFinding& finding) {
        return finding.severity == CheckSeverity::Error;
    });
}

std::string describe(const CheckFinding& finding) {
    return (finding.severity == CheckSeverity::Error ? "error: " : "warning: ") + finding.text;
}

CheckReport checkJetFile(const JetFile& file, CheckScope scope) {
    return FileCheck(file.sharedPages(), scope).run(&file);
}

CheckReport checkJetFile(const std::filesystem::path& path,
                         const std::optional<std::string>& password) {
    try {
        return checkJetFile(JetFile::open(path, password));
    } catch (const DamagedCatalog& damage) {
        CheckReport report = FileCheck(openPageFile(path), CheckScope::Whole).run(nullptr);
        report.findings.insert(report.findings.begin(), {CheckSeverity::Error, damage.what()});
        return report;
    }
}

struct TableCheck::State {
    State(const std::shared_ptr<PageSource>& source,
          const std::shared_ptr<const TableDefinition>& table)
        : check(source, CheckScope::Whole), definition(table), rows(*table) {}

    FileCheck check;
    std::shared_ptr<const TableDefinition> definition;
    TableRows rows;
    bool complete = true;
};

TableCheck::TableCheck(const std::shared_ptr<PageSource>& source,
                       const std::shared_ptr<const TableDefinition>& table)
    : state_(std::make_unique<State>(source, table)) {
    state_->check.startTable(table);
}

TableCheck::~TableCheck() = default;

void TableCheck::addRow(const Row& row) {
    state_->rows.add(row.id, row.values);
}

void TableCheck::rowsUnreadable(const std::string& why) {
    state_->complete = false;
    state_->check.rowsUnreadable(*state_->definition, why);
}

std::vector<CheckFinding> TableCheck::finish() {
    return state_->check.rowsRead(*state_->definition, state_->rows, state_->complete);
}

std::vector<CheckFinding> checkJetTable(const std::shared_ptr<PageSource>& source,
                                        const std::shared_ptr<const TableDefinition>& table) {
    return FileCheck(source, CheckScope::Whole).runTable(table);
}

}  // namespace orvdb::jet

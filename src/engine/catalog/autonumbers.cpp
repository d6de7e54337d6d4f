// Autonumber counters: the next value of a table's counter, values written
// explicitly moving it on, the counters written back to _orv_tables, and the
// numbering of existing rows when a column becomes an autonumber.
#include "engine/catalog/catalog.hpp"

#include "engine/engine_error.hpp"
#include "engine/messages.hpp"

#include <algorithm>

namespace orvdb::engine {

namespace {

// The counter after `last`: the seed first, then steps from it.
int64_t nextValue(int64_t last, const ColumnDef& column) {
    return last == 0 ? column.autoSeed : last + column.autoStep;
}

}  // namespace

void Catalog::numberRows(TableInfo& table, const ColumnDef& column, int64_t last,
                         RowsToNumber rows) {
    std::string select = "SELECT rowid FROM " + quoteIdent(table.storedName);
    if (rows == RowsToNumber::WithoutValue) {
        select += " WHERE " + quoteIdent(column.name) + " IS NULL";
    }
    Stmt query(db_, select + " ORDER BY rowid");
    std::vector<int64_t> rowids;
    while (query.step()) {
        rowids.push_back(query.getInt(0));
    }
    Stmt update(db_, "UPDATE " + quoteIdent(table.storedName) + " SET " + quoteIdent(column.name) +
                         "=? WHERE rowid=?");
    for (int64_t rowid : rowids) {
        last = nextValue(last, column);
        update.reset();
        update.bind(1, last).bind(2, rowid).run();
    }
    table.lastAutoNumber = last;
    Stmt(db_, "UPDATE _orv_tables SET last_auto=? WHERE id=?")
        .bind(1, last)
        .bind(2, table.id)
        .run();
}

int64_t Catalog::nextAutoNumber(std::string_view storedName) {
    for (auto& table : tables_) {
        if (table.storedName != storedName) {
            continue;
        }
        const ColumnDef* column = table.autoNumberColumn();
        const int64_t step = column ? column->autoStep : 1;
        const int64_t seed = column ? column->autoSeed : 1;
        table.lastAutoNumber =
            table.lastAutoNumber == 0 && seed != 0 ? seed : table.lastAutoNumber + step;
        if (table.lastAutoNumber > INT32_MAX) {
            throw EngineError(msg::kOverflow);
        }
        dirtyCounters_[table.storedName] = table.lastAutoNumber;
        return table.lastAutoNumber;
    }
    throw EngineError(msg::noTableForAutoNumber(storedName));
}

void Catalog::noteAutoNumber(std::string_view storedName, int64_t value) {
    for (auto& table : tables_) {
        if (table.storedName != storedName) {
            continue;
        }
        if (value > table.lastAutoNumber) {
            table.lastAutoNumber = value;
            dirtyCounters_[table.storedName] = value;
        }
        return;
    }
}

void Catalog::flushAutoNumbers() {
    if (dirtyCounters_.empty()) {
        return;
    }
    if (counterUpdate_.handle() == nullptr) {
        counterUpdate_ = Stmt(db_, "UPDATE _orv_tables SET last_auto=? WHERE id=?");
    }
    for (const auto& counter : dirtyCounters_) {
        // By id: a rowid seek rather than a scan of the catalog's table.
        const std::string& storedName = counter.first;
        auto table = std::find_if(tables_.begin(), tables_.end(), [&](const TableInfo& info) {
            return info.storedName == storedName;
        });
        if (table == tables_.end()) {
            continue;
        }
        counterUpdate_.reset();
        counterUpdate_.bind(1, counter.second).bind(2, table->id).run();
    }
    counterUpdate_.reset();
    dirtyCounters_.clear();
}

}  // namespace orvdb::engine

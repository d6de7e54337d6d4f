// The query, table and procedure stacks of torvc_Database. After every push
// or pop a stack holds exactly as many cursors as its depth and the active
// index is depth - 1; a push always makes a fresh cursor, a pop destroys the
// top one, so no setting survives a pop and a push.
#include "data/boundary_values.hpp"
#include "data/database.hpp"
#include "data/messages.hpp"

namespace orvdb::data {

using host::guarded;

namespace {

[[noreturn]] void listIndexError(const char* operation, int32_t index) {
    throw std::out_of_range(msg::listIndexOutOfBounds(operation, index));
}

}  // namespace

void torvc_Database::setQueryCount(int32_t depth) {
    auto count = static_cast<int32_t>(queries_.size());
    if (depth >= count) {
        while (static_cast<int32_t>(queries_.size()) < depth) {
            queries_.push_back(backend_->newQuery());
        }
        activeQuery_ = static_cast<int32_t>(queries_.size()) - 1;
    } else {
        for (int32_t i = count - 1; i >= depth; --i) {
            if (i < 0) {
                listIndexError("PopQuery", i);
            }
            activeQuery_ = i;
            // Releasing the last reference closes the cursor.
            queries_.erase(queries_.begin() + i);
        }
        activeQuery_ = depth - 1;
    }
    queryDepth_ = depth;
}

void torvc_Database::setTableCount(int32_t depth) {
    auto count = static_cast<int32_t>(tables_.size());
    if (depth >= count) {
        while (static_cast<int32_t>(tables_.size()) < depth) {
            tables_.push_back(backend_->newTable());
        }
        activeTable_ = static_cast<int32_t>(tables_.size()) - 1;
    } else {
        for (int32_t i = count - 1; i >= depth; --i) {
            // Popping an empty stack asks for depth -1 and fails here, before
            // anything is removed.
            if (i < 0) {
                listIndexError("PopTable", i);
            }
            activeTable_ = i;
            host::throwIfFailed(tables_[static_cast<size_t>(i)]->Set_Opened(ORV_WFALSE),
                                "Set_Opened of a table");
            tables_[static_cast<size_t>(i)].reset();
            tables_.erase(tables_.begin() + i);
        }
        activeTable_ = depth - 1;
    }
    tableDepth_ = depth;
}

void torvc_Database::setProcedureCount(int32_t depth) {
    // Procedures have no cursor objects: only the counters move.
    activeProcedure_ = depth - 1;
    procedureDepth_ = depth;
}

void torvc_Database::pushProcedure() {
    setProcedureCount(procedureDepth_ + 1);
}

void torvc_Database::popProcedure() {
    if (procedureDepth_ > 0) {
        setProcedureCount(procedureDepth_ - 1);
    }
}

OrvHResult torvc_Database::Get_ActiveQuery(iQueryDatabase** query) {
    host::clearOut(query);
    return guarded([&] {
        iQueryDatabase*& out = outArgument(query, "Get_ActiveQuery");
        out = nullptr;
        if (activeQuery_ < 0 || activeQuery_ >= static_cast<int32_t>(queries_.size())) {
            listIndexError("Get_ActiveQuery", activeQuery_);
        }
        out = ComPtr(queries_[static_cast<size_t>(activeQuery_)]).detach();
    });
}

OrvHResult torvc_Database::Get_ActiveTable(iTableDatabase** table) {
    host::clearOut(table);
    return guarded([&] {
        iTableDatabase*& out = outArgument(table, "Get_ActiveTable");
        out = nullptr;
        if (activeTable_ < 0 || activeTable_ >= static_cast<int32_t>(tables_.size())) {
            listIndexError("Get_ActiveTable", activeTable_);
        }
        out = ComPtr(tables_[static_cast<size_t>(activeTable_)]).detach();
    });
}

OrvHResult torvc_Database::PushQuery() {
    return guarded([&] { setQueryCount(queryDepth_ + 1); });
}

OrvHResult torvc_Database::PopQuery() {
    return guarded([&] {
        if (queryDepth_ > 0) {
            setQueryCount(queryDepth_ - 1);
        }
    });
}

OrvHResult torvc_Database::PushTable() {
    return guarded([&] { setTableCount(tableDepth_ + 1); });
}

OrvHResult torvc_Database::PopTable() {
    return guarded([&] { setTableCount(tableDepth_ - 1); });
}

}  // namespace orvdb::data

#include "data/query_cursor.hpp"

#include "data/boundary_values.hpp"
#include "data/messages.hpp"
#include "data/query_trace.hpp"
#include "data/serialized_objects.hpp"
#include "host/debug_output.hpp"

namespace orvdb::data {

using host::guarded;

torvc_Query::torvc_Query(std::shared_ptr<engine::Connection> connection)
    : connection_(connection), query_(std::make_unique<engine::QueryDataset>(*connection)) {
    setOpened(false);
}

torvc_Query::torvc_Query(std::shared_ptr<void> keepAlive,
                         std::unique_ptr<engine::QueryDataset> query)
    : connection_(std::move(keepAlive)), query_(std::move(query)) {
    setOpened(false);
}

torvc_Query::~torvc_Query() {
    try {
        setOpened(false);
    } catch (...) {
        // Closing a result never fails; nothing to report from a destructor.
    }
}

void torvc_Query::openData() {
    if (!query_->isOpen()) {
        query_->open();
    }
}

void torvc_Query::closeData() {
    query_->close();
}

void torvc_Query::postRecord() {
    // A query result is read-only: writing its fields has already failed.
}

std::string torvc_Query::creationKey(std::string_view field) const {
    return creationKeyFor({}, field);
}

bool torvc_Query::openSql(std::string_view sql) {
    return noteOutcome([&] {
        bool found = false;
        if (query_->isOpen() || opened_) {
            setOpened(false);
        }
        query_->setSql(std::string(sql));
        selectFailed_ = false;
        if (typeRequete_ == 0) {
            // Written before the select runs, so a trace failure is the caller's.
            traceSelect(sql);
            try {
                query_->open();
                opened_ = !query_->eof() && query_->first();
                if (!opened_) {
                    query_->close();
                }
            } catch (const std::exception& e) {
                selectFailed_ = true;
                noteQuietFailure(e.what());
                host::debugOutput(std::string(e.what()) + " " + std::string(sql));
            }
        } else {
            try {
                found = query_->execute() > 0;
            } catch (const std::exception& e) {
                // Schema scripts run statements that may fail by design (drop
                // before create); only the opt-in trace hears about it.
                noteQuietFailure(e.what());
                host::debugTrace(std::string(e.what()) + " " + std::string(sql));
            }
            query_->close();
        }
        return found || opened_;
    });
}

void torvc_Query::next() {
    noteOutcome([&] {
        query_->next();
        setOpened(!query_->eof());
    });
}

OrvHResult torvc_Query::Get_TypeRequete(int32_t* kind) {
    return guarded([&] { outArgument(kind, "Get_TypeRequete") = typeRequete_; });
}

OrvHResult torvc_Query::Set_TypeRequete(int32_t kind) {
    return guarded([&] { typeRequete_ = kind; });
}

OrvHResult torvc_Query::Get_RecordCount(int32_t* count) {
    return guarded([&] {
        outArgument(count, "Get_RecordCount") = static_cast<int32_t>(query_->recordCount());
    });
}

OrvHResult torvc_Query::OpenSQL(OrvBstr sql, OrvWordBool* found) {
    return guarded([&] {
        OrvWordBool& result = outArgument(found, "OpenSQL");
        result = ORV_WFALSE;
        result = wordBool(openSql(utf8(sql)));
    });
}

OrvHResult torvc_Query::Next() {
    return guarded([&] { next(); });
}

OrvHResult torvc_Query::FillstringList(IWideStringList* list, OrvBstr field) {
    return guarded([&] {
        if (!list) {
            throw host::StatusError(ORV_E_POINTER, msg::nullArgument("FillstringList", "the list"));
        }
        int index = fieldIndex(utf8(field));
        // Ends on the last row, not past it: the cursor stays open.
        for (;;) {
            host::Bstr text(host::toUtf16(query_->getText(index)));
            host::throwIfFailed(list->Add(text.get()), "FillstringList: list Add");
            if (query_->position() + 1 >= static_cast<size_t>(query_->recordCount())) {
                break;
            }
            query_->next();
        }
    });
}

}  // namespace orvdb::data

// Driving a database through its interfaces from C++: each call turns a
// failure status into an exception. The whole-database operations use these
// on their own database and on the target of an export alike, the schema
// renames on the database they are given.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <string>
#include <string_view>

#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::host::calls {

inline ComPtr<iQueryDatabase> pushQuery(iDatabase& db) {
    throwIfFailed(db.PushQuery(), "PushQuery");
    ComPtr<iQueryDatabase> query;
    throwIfFailed(db.Get_ActiveQuery(query.put()), "Get_ActiveQuery");
    return query;
}

inline void popQuery(iDatabase& db) {
    throwIfFailed(db.PopQuery(), "PopQuery");
}

inline bool openSql(iQueryDatabase& query, std::u16string_view sql) {
    Bstr text(sql);
    OrvWordBool found = ORV_WFALSE;
    throwIfFailed(query.OpenSQL(text.get(), &found), "OpenSQL");
    return found != 0;
}

inline bool opened(iRecordDatabase& cursor) {
    OrvWordBool value = ORV_WFALSE;
    throwIfFailed(cursor.Get_Opened(&value), "Get_Opened");
    return value != 0;
}

inline std::u16string getString(iRecordDatabase& cursor, std::u16string_view field) {
    Bstr name(field);
    Bstr text;
    throwIfFailed(cursor.Getstring(name.get(), text.put()), "Getstring");
    return std::u16string(text.view());
}

inline std::u16string bstrResult(OrvHResult status, Bstr& text, const char* operation) {
    throwIfFailed(status, operation);
    return std::u16string(text.view());
}

// A query level pushed on the database, popped when the scope ends (also when
// a step raises, so that the stacks stay balanced for the host).
class PushedQuery {
public:
    explicit PushedQuery(iDatabase& db) : db_(db), query_(pushQuery(db)) {}
    ~PushedQuery() {
        query_.reset();
        db_.PopQuery();  // popping a level that exists cannot fail
    }
    PushedQuery(const PushedQuery&) = delete;
    PushedQuery& operator=(const PushedQuery&) = delete;

    void setKind(int32_t kind) { throwIfFailed(query_->Set_TypeRequete(kind), "Set_TypeRequete"); }
    // The statement's own failure is the cursor's to swallow.
    bool run(std::u16string_view sql) { return calls::openSql(*query_.get(), sql); }
    bool opened() { return calls::opened(*query_.get()); }
    std::u16string field(std::u16string_view name) { return calls::getString(*query_.get(), name); }
    void next() { throwIfFailed(query_->Next(), "Next"); }

private:
    iDatabase& db_;
    ComPtr<iQueryDatabase> query_;
};

}  // namespace orvdb::host::calls

// Driving a database through its interfaces from C++: each call turns a
// failure status into an exception. The whole-database operations use these
// on their own database and on the target of an export alike.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <string>
#include <string_view>

#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::data::calls {

inline ComPtr<iQueryDatabase> pushQuery(iDatabase& db) {
    host::throwIfFailed(db.PushQuery(), "PushQuery");
    ComPtr<iQueryDatabase> query;
    host::throwIfFailed(db.Get_ActiveQuery(query.put()), "Get_ActiveQuery");
    return query;
}

inline void popQuery(iDatabase& db) {
    host::throwIfFailed(db.PopQuery(), "PopQuery");
}

inline bool openSql(iQueryDatabase& query, std::u16string_view sql) {
    host::Bstr text(sql);
    OrvWordBool found = ORV_WFALSE;
    host::throwIfFailed(query.OpenSQL(text.get(), &found), "OpenSQL");
    return found != 0;
}

inline bool opened(iRecordDatabase& cursor) {
    OrvWordBool value = ORV_WFALSE;
    host::throwIfFailed(cursor.Get_Opened(&value), "Get_Opened");
    return value != 0;
}

inline std::u16string getString(iRecordDatabase& cursor, std::u16string_view field) {
    host::Bstr name(field);
    host::Bstr text;
    host::throwIfFailed(cursor.Getstring(name.get(), text.put()), "Getstring");
    return std::u16string(text.view());
}

inline std::u16string bstrResult(OrvHResult status, host::Bstr& text, const char* operation) {
    host::throwIfFailed(status, operation);
    return std::u16string(text.view());
}

}  // namespace orvdb::data::calls

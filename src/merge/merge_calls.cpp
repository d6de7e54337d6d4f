#include "merge/merge_calls.hpp"

#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"

#include <stdexcept>

namespace orvdb::merge {

using host::Bstr;
using host::throwIfFailed;

int32_t QueryCalls::type() const {
    int32_t kind = 0;
    throwIfFailed(query_->Get_TypeRequete(&kind), "Get_TypeRequete");
    return kind;
}

void QueryCalls::setType(int32_t kind) const {
    throwIfFailed(query_->Set_TypeRequete(kind), "Set_TypeRequete");
}

bool QueryCalls::open(std::string_view sql) const {
    Bstr text = Bstr::fromUtf8(sql);
    OrvWordBool found = ORV_WFALSE;
    throwIfFailed(query_->OpenSQL(text.get(), &found), "OpenSQL");
    return found != 0;
}

bool QueryCalls::opened() const {
    OrvWordBool value = ORV_WFALSE;
    throwIfFailed(query_->Get_Opened(&value), "Get_Opened");
    return value != 0;
}

void QueryCalls::next() const {
    throwIfFailed(query_->Next(), "Next");
}

int32_t QueryCalls::recordCount() const {
    int32_t count = 0;
    throwIfFailed(query_->Get_RecordCount(&count), "Get_RecordCount");
    return count;
}

int32_t QueryCalls::fieldCount() const {
    int32_t count = 0;
    throwIfFailed(query_->FieldCount(&count), "FieldCount");
    return count;
}

void QueryCalls::fieldStructure(int32_t index, std::string& name, std::string& typeWord) const {
    Bstr nameText;
    Bstr typeText;
    throwIfFailed(query_->GetFieldStructure(index, nameText.put(), typeText.put()),
                  "GetFieldStructure");
    name = nameText.utf8();
    typeWord = typeText.utf8();
}

std::string QueryCalls::text(std::string_view field) const {
    Bstr name = Bstr::fromUtf8(field);
    Bstr value;
    throwIfFailed(query_->Getstring(name.get(), value.put()), "Getstring");
    return value.utf8();
}

int32_t QueryCalls::integer(std::string_view field) const {
    Bstr name = Bstr::fromUtf8(field);
    int32_t value = 0;
    throwIfFailed(query_->GetInteger(name.get(), &value), "GetInteger");
    return value;
}

float QueryCalls::single(std::string_view field) const {
    Bstr name = Bstr::fromUtf8(field);
    float value = 0;
    throwIfFailed(query_->GetFloat(name.get(), &value), "GetFloat");
    return value;
}

void QueryCalls::getSerializable(std::string_view field, iSerializable& object) const {
    Bstr name = Bstr::fromUtf8(field);
    throwIfFailed(query_->GetSerializable(name.get(), &object), "GetSerializable");
}

QueryCalls activeQuery(iDatabase& database) {
    ComPtr<iQueryDatabase> query;
    throwIfFailed(database.Get_ActiveQuery(query.put()), "Get_ActiveQuery");
    return QueryCalls(std::move(query));
}

QueryCalls pushQuery(iDatabase& database) {
    throwIfFailed(database.PushQuery(), "PushQuery");
    return activeQuery(database);
}

void popQuery(iDatabase& database) {
    throwIfFailed(database.PopQuery(), "PopQuery");
}

ComPtr<iTableDatabase> pushTable(iDatabase& database) {
    throwIfFailed(database.PushTable(), "PushTable");
    ComPtr<iTableDatabase> table;
    throwIfFailed(database.Get_ActiveTable(table.put()), "Get_ActiveTable");
    return table;
}

void popTable(iDatabase& database) {
    throwIfFailed(database.PopTable(), "PopTable");
}

void openTable(iTableDatabase& table, std::string_view name) {
    Bstr text = Bstr::fromUtf8(name);
    throwIfFailed(table.Set_Tablename(text.get()), "Set_Tablename");
}

void seekRow(iTableDatabase& table, std::string_view id) {
    Bstr text = Bstr::fromUtf8(id);
    throwIfFailed(table.Set_IdRow(text.get()), "Set_IdRow");
}

void saveFileInBlobField(iTableDatabase& table, std::string_view file, std::string_view field) {
    Bstr fileText = Bstr::fromUtf8(file);
    Bstr fieldText = Bstr::fromUtf8(field);
    throwIfFailed(table.SaveFileInBlobField(fileText.get(), fieldText.get()),
                  "SaveFileInBlobField");
}

ComPtr<iDatabase> useDatabase(iMultiDatabase& container, std::string_view name) {
    Bstr text = Bstr::fromUtf8(name);
    throwIfFailed(container.SetCurrent(text.get()), "iMultiDatabase.SetCurrent");
    return currentDatabase(container);
}

ComPtr<iDatabase> currentDatabase(iMultiDatabase& container) {
    ComPtr<iDatabase> database;
    throwIfFailed(container.Get_Current(database.put()), "iMultiDatabase.Get_Current");
    if (!database) {
        throw std::runtime_error("the database container has no current database");
    }
    return database;
}

}  // namespace orvdb::merge

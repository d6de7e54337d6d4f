#include "upgrade/upgrade_session.hpp"

#include <stdexcept>

#include "data/query_cursor.hpp"
#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::upgrade {

using host::Bstr;
using host::throwIfFailed;

namespace {
Bstr wide(std::string_view text) {
    return Bstr::fromUtf8(text);
}
}  // namespace

void UpgradeSession::pushLevel() {
    throwIfFailed(database_.PushQuery(), "PushQuery");
}

void UpgradeSession::popLevel() {
    throwIfFailed(database_.PopQuery(), "PopQuery");
}

QueryHandle UpgradeSession::current() {
    ComPtr<iQueryDatabase> query;
    throwIfFailed(database_.Get_ActiveQuery(query.put()), "Get_ActiveQuery");
    if (!query) {
        throw std::logic_error("upgrade: no query level is open on the database");
    }
    return QueryHandle(std::move(query));
}

void QueryHandle::setCommandMode() {
    throwIfFailed(query_->Set_TypeRequete(1), "Set_TypeRequete");
}

void QueryHandle::setSelectMode() {
    throwIfFailed(query_->Set_TypeRequete(0), "Set_TypeRequete");
}

bool QueryHandle::open(std::string_view sql) {
    OrvWordBool found = ORV_WFALSE;
    throwIfFailed(query_->OpenSQL(wide(sql).get(), &found), "OpenSQL");
    return found != ORV_WFALSE;
}

bool QueryHandle::tryOpen(std::string_view sql) {
    auto* cursor = dynamic_cast<data::torvc_Query*>(query_.get());
    if (!cursor) {
        throw std::logic_error("upgrade: the query of the current level is not an orvdb query");
    }
    int32_t savedMode = cursor->typeRequete();
    cursor->setTypeRequete(0);
    cursor->openSql(sql);
    cursor->setTypeRequete(savedMode);
    return !cursor->lastSelectFailed();
}

bool QueryHandle::active() {
    OrvWordBool opened = ORV_WFALSE;
    throwIfFailed(query_->Get_Opened(&opened), "Get_Opened");
    return opened != ORV_WFALSE;
}

void QueryHandle::next() {
    throwIfFailed(query_->Next(), "Next");
}

std::string QueryHandle::fieldText(std::string_view field) {
    Bstr text;
    throwIfFailed(query_->Getstring(wide(field).get(), text.put()), "Getstring");
    return text.utf8();
}

float QueryHandle::fieldFloat(std::string_view field) {
    float value = 0;
    throwIfFailed(query_->GetFloat(wide(field).get(), &value), "GetFloat");
    return value;
}

int32_t QueryHandle::fieldInteger(std::string_view field) {
    int32_t value = 0;
    throwIfFailed(query_->GetInteger(wide(field).get(), &value), "GetInteger");
    return value;
}

bool UpgradeSession::tableExists(std::string_view table) {
    OrvWordBool exists = ORV_WFALSE;
    throwIfFailed(database_.TableExists(wide(table).get(), &exists), "TableExists");
    return exists != ORV_WFALSE;
}

bool UpgradeSession::fieldExists(std::string_view table, std::string_view field) {
    OrvWordBool exists = ORV_WFALSE;
    throwIfFailed(database_.FieldExists(wide(table).get(), wide(field).get(), &exists),
                  "FieldExists");
    return exists != ORV_WFALSE;
}

std::string UpgradeSession::typeWord(int32_t kindCode, int32_t size) {
    Bstr text;
    throwIfFailed(database_.Get_FieldTypeText(kindCode, size, text.put()), "Get_FieldTypeText");
    return text.utf8();
}

QueryLevel::~QueryLevel() {
    try {
        session_.popLevel();
    } catch (...) {
        // Lowering a level only closes cursors; there is nothing to report
        // from a destructor that may run while an upgrade error travels out.
    }
}

}  // namespace orvdb::upgrade

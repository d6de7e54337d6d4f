// Proof that the C++ interfaces have the COM vtable layout: every operation
// is reached through the pointer at its slot, from raw vtable pointers and
// from the C structs of interfaces.h.
#include <gtest/gtest.h>
#include <orvdb/interfaces.h>
#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <cstddef>
#include <cstring>
#include <string>
#include <type_traits>

#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"

namespace {

using namespace orvdb;
using host::Bstr;

// ---- Compile-time layout ---------------------------------------------------

template <class I>
constexpr bool isComInterface =
    std::is_polymorphic_v<I> && !std::has_virtual_destructor_v<I> && sizeof(I) == sizeof(void*);

static_assert(isComInterface<iDatabase>);
static_assert(isComInterface<iRecordDatabase>);
static_assert(isComInterface<iQueryDatabase>);
static_assert(isComInterface<iTableDatabase>);
static_assert(isComInterface<IProgressForm>);
static_assert(isComInterface<IServerInfo> && isComInterface<IProviderServerInfo>);

constexpr size_t slot(size_t n) {
    return n * sizeof(void*);
}
static_assert(offsetof(OrvIDatabaseVtbl, Get_ActiveQuery) == slot(3));
static_assert(offsetof(OrvIDatabaseVtbl, Get_dbname) == slot(13));
static_assert(offsetof(OrvIDatabaseVtbl, Get_SortOrderText) == slot(36));
static_assert(sizeof(OrvIDatabaseVtbl) == slot(37));
static_assert(offsetof(OrvIRecordDatabaseVtbl, GetFieldInternalTypeStructure) == slot(30));
static_assert(sizeof(OrvIRecordDatabaseVtbl) == slot(31));
static_assert(offsetof(OrvIQueryDatabaseVtbl, Get_TypeRequete) == slot(31));
static_assert(sizeof(OrvIQueryDatabaseVtbl) == slot(37));
static_assert(offsetof(OrvITableDatabaseVtbl, GotoKey) == slot(39));
static_assert(sizeof(OrvITableDatabaseVtbl) == slot(40));
static_assert(sizeof(OrvFieldDef) == sizeof(FieldDef) && offsetof(OrvFieldDef, Size) == 4);

// Derived interfaces answer for their parents.
static_assert(interfaceHasId<iQueryDatabase>(iRecordDatabase::iid));
static_assert(interfaceHasId<iTableDatabase>(IInterface::iid));
static_assert(!interfaceHasId<iQueryDatabase>(iTableDatabase::iid));
static_assert(interfaceHasId<IXLngServerInfo>(IServerInfo::iid));

// The identifier text maps to the Windows GUID fields.
static_assert(iDatabase::iid.Data1 == 0x00727502 && iDatabase::iid.Data2 == 0x43AF &&
              iDatabase::iid.Data3 == 0x435F && iDatabase::iid.Data4[0] == 0xA6 &&
              iDatabase::iid.Data4[1] == 0xE4 && iDatabase::iid.Data4[2] == 0x87 &&
              iDatabase::iid.Data4[7] == 0x9C);
static_assert(guidFromString("a1bc6bd4-32ee-472b-90ad-bb66be7edcc7") == iProviderName::iid);

// ---- Stubs that record the slot of the operation reached ---------------------

// Every record operation returns its slot number (a success status) and
// remembers it; a few echo their arguments so that passing is checked too.
template <class I>
class RecordStub : public host::TInterfacedObjectEx<I> {
public:
    int lastSlot = -1;
    double lastDouble = 0;
    float lastFloat = 0;

protected:
    OrvHResult hit(int n) {
        lastSlot = n;
        return n;
    }

public:
    OrvHResult Get_Opened(OrvWordBool* v) override {
        *v = ORV_WTRUE;
        return hit(3);
    }
    OrvHResult Set_Opened(OrvWordBool) override { return hit(4); }
    OrvHResult Get_FieldName(int32_t, OrvBstr*) override { return hit(5); }
    OrvHResult GetFieldStructure(int32_t, OrvBstr*, OrvBstr*) override { return hit(6); }
    OrvHResult FieldCount(int32_t* n) override {
        *n = 12;
        return hit(7);
    }
    OrvHResult Getstring(OrvBstr field, OrvBstr* out) override {
        *out = Bstr(std::u16string(host::bstrView(field)) + u"=value").release();
        return hit(8);
    }
    OrvHResult Setstring(OrvBstr, OrvBstr) override { return hit(9); }
    OrvHResult SetInteger(OrvBstr, int32_t) override { return hit(10); }
    OrvHResult SetColor(OrvBstr, int32_t) override { return hit(11); }
    OrvHResult GetColor(OrvBstr, int32_t*) override { return hit(12); }
    OrvHResult GetFloat(OrvBstr, float*) override { return hit(13); }
    OrvHResult SetFloat(OrvBstr, float v) override {
        lastFloat = v;
        return hit(14);
    }
    OrvHResult GetInteger(OrvBstr, int32_t*) override { return hit(15); }
    OrvHResult SetSerializable(OrvBstr, iSerializable*) override { return hit(16); }
    OrvHResult GetSerializable(OrvBstr, iSerializable*) override { return hit(17); }
    OrvHResult GetSerializableWithCreate(OrvBstr, iSerializable**) override { return hit(18); }
    OrvHResult SetSerializableWithCreate(OrvBstr, iSerializable*) override { return hit(19); }
    OrvHResult GetDouble(OrvBstr, double*) override { return hit(20); }
    OrvHResult SetDouble(OrvBstr, double v) override {
        lastDouble = v;
        return hit(21);
    }
    OrvHResult FillStream(OrvBstr) override { return hit(22); }
    OrvHResult SaveFileInBlobField(OrvBstr, OrvBstr) override { return hit(23); }
    IZvStream* GetBlob(OrvBstr) override {
        hit(24);
        return nullptr;
    }
    OrvHResult SetBlob(OrvBstr, IZvStream*) override { return hit(25); }
    OrvWordBool GetBoolean(OrvBstr) override {
        hit(26);
        return ORV_WTRUE;
    }
    OrvHResult SetBoolean(OrvBstr, OrvWordBool) override { return hit(27); }
    OrvDateTime GetDateTime(OrvBstr) override {
        hit(28);
        return 45356.5;  // 2024-03-05 12:00
    }
    OrvHResult SetDateTime(OrvBstr, OrvDateTime) override { return hit(29); }
    OrvHResult GetFieldInternalTypeStructure(int32_t index, OrvBstr* name, int32_t* kind,
                                             int32_t* size) override {
        *name = nullptr;
        *kind = index * 2;
        *size = index * 3;
        return hit(30);
    }
};

class QueryStub final : public RecordStub<iQueryDatabase> {
public:
    OrvHResult Get_TypeRequete(int32_t*) override { return hit(31); }
    OrvHResult Set_TypeRequete(int32_t) override { return hit(32); }
    OrvHResult Get_RecordCount(int32_t*) override { return hit(33); }
    OrvHResult OpenSQL(OrvBstr sql, OrvWordBool* found) override {
        *found = host::bstrView(sql).starts_with(u"SELECT") ? ORV_WTRUE : ORV_WFALSE;
        return hit(34);
    }
    OrvHResult Next() override { return hit(35); }
    OrvHResult FillstringList(IWideStringList*, OrvBstr) override { return hit(36); }
};

class TableStub final : public RecordStub<iTableDatabase> {
public:
    OrvHResult Get_IdRow(OrvBstr*) override { return hit(31); }
    OrvHResult Set_IdRow(OrvBstr) override { return hit(32); }
    OrvHResult Get_Tablename(OrvBstr*) override { return hit(33); }
    OrvHResult Set_Tablename(OrvBstr) override { return hit(34); }
    OrvHResult Post() override { return hit(35); }
    OrvHResult Edit() override { return hit(36); }
    OrvHResult Append() override { return hit(37); }
    OrvHResult Last() override { return hit(38); }
    OrvHResult GotoKey(OrvBstr, OrvBstr, OrvBstr) override { return hit(39); }
};

class DatabaseStub final : public host::TInterfacedObjectEx<iDatabase> {
public:
    int lastSlot = -1;
    ComPtr<iQueryDatabase> query{new QueryStub};

private:
    OrvHResult hit(int n) {
        lastSlot = n;
        return n;
    }

public:
    OrvHResult Get_ActiveQuery(iQueryDatabase** q) override {
        *q = query.get();
        query->AddRef();
        return hit(3);
    }
    OrvHResult Get_ActiveTable(iTableDatabase**) override { return hit(4); }
    OrvHResult Get_Opened(OrvWordBool*) override { return hit(5); }
    OrvHResult Set_Opened(OrvWordBool) override { return hit(6); }
    OrvHResult GetVersion(OrvBstr*) override { return hit(7); }
    OrvHResult ChangePath(const char16_t*) override { return hit(8); }
    OrvHResult Open() override { return hit(9); }
    OrvHResult Close() override { return hit(10); }
    OrvHResult Purge() override { return hit(11); }
    OrvHResult Empty() override { return hit(12); }
    OrvHResult Get_dbname(OrvBstr* name) override {
        *name = Bstr(u"GAMMISTE").release();
        return hit(13);
    }
    OrvHResult SavePoint() override { return hit(14); }
    OrvHResult Commit() override { return hit(15); }
    OrvHResult Rollback() override { return hit(16); }
    OrvHResult PushQuery() override { return hit(17); }
    OrvHResult PopQuery() override { return hit(18); }
    OrvHResult PushTable() override { return hit(19); }
    OrvHResult PopTable() override { return hit(20); }
    OrvHResult ReadDump(void*, void*) override { return hit(21); }
    OrvHResult Get_FieldDef(OrvBstr, OrvBstr, FieldDef* def) override {
        def->Type = 10;
        def->Size = 50;
        return hit(22);
    }
    OrvHResult Set_dbname(OrvBstr) override { return hit(23); }
    OrvHResult TableExists(OrvBstr table, OrvWordBool* exists) override {
        *exists = host::bstrView(table) == u"[Article]" ? ORV_WTRUE : ORV_WFALSE;
        return hit(24);
    }
    OrvHResult Update(IInterface*, IInterface*) override { return hit(25); }
    OrvHResult Get_SQL(int32_t, OrvBstr*) override { return hit(26); }
    OrvHResult Get_TableList(void*, IInterfaceList*) override { return hit(27); }
    OrvHResult ExportTable(ISystemObject*, iDatabase*) override { return hit(28); }
    OrvHResult ExecSQLScript(void*) override { return hit(29); }
    OrvHResult ExportTo(void*, void*) override { return hit(30); }
    OrvHResult Get_ServerInfo(IServerInfo**) override { return hit(31); }
    OrvHResult Get_FieldTypeText(int32_t code, int32_t size, OrvBstr* out) override {
        *out = Bstr::fromUtf8(std::to_string(code) + ":" + std::to_string(size)).release();
        return hit(32);
    }
    OrvHResult Get_AlterColumnText(int32_t, OrvBstr*) override { return hit(33); }
    OrvHResult FieldExists(OrvBstr, OrvBstr, OrvWordBool*) override { return hit(34); }
    OrvHResult EmptyTable(OrvBstr) override { return hit(35); }
    OrvHResult Get_SortOrderText(int32_t order, OrvBstr* out) override {
        *out = Bstr(order == 2 ? u"DESC" : u"").release();
        return hit(36);
    }
};

// ---- The C view, slot by slot -----------------------------------------------

TEST(VtableLayout, CViewOfDatabaseCallsEverySlot) {
    ComPtr<DatabaseStub> stub(new DatabaseStub);
    auto* db = reinterpret_cast<OrvIDatabase*>(static_cast<iDatabase*>(stub.get()));
    const OrvIDatabaseVtbl* v = db->lpVtbl;
    OrvWordBool flag = 0;
    OrvFieldDef def{0, 0};
    Bstr out;
    Bstr order;

    struct Call {
        int slot;
        OrvHResult status;
    };
    OrvIQueryDatabase* query = nullptr;
    const Call calls[] = {
        {3, v->Get_ActiveQuery(db, &query)},
        {4, v->Get_ActiveTable(db, nullptr)},
        {5, v->Get_Opened(db, &flag)},
        {6, v->Set_Opened(db, ORV_WTRUE)},
        {7, v->GetVersion(db, nullptr)},
        {8, v->ChangePath(db, u"/data/XLib.mdb")},
        {9, v->Open(db)},
        {10, v->Close(db)},
        {11, v->Purge(db)},
        {12, v->Empty(db)},
        {13, v->Get_dbname(db, out.put())},
        {14, v->SavePoint(db)},
        {15, v->Commit(db)},
        {16, v->Rollback(db)},
        {17, v->PushQuery(db)},
        {18, v->PopQuery(db)},
        {19, v->PushTable(db)},
        {20, v->PopTable(db)},
        {21, v->ReadDump(db, nullptr, nullptr)},
        {22, v->Get_FieldDef(db, nullptr, nullptr, &def)},
        {23, v->Set_dbname(db, nullptr)},
        {24, v->TableExists(db, Bstr(u"[Article]").get(), &flag)},
        {25, v->Update(db, nullptr, nullptr)},
        {26, v->Get_SQL(db, 0, nullptr)},
        {27, v->Get_TableList(db, nullptr, nullptr)},
        {28, v->ExportTable(db, nullptr, nullptr)},
        {29, v->ExecSQLScript(db, nullptr)},
        {30, v->ExportTo(db, nullptr, nullptr)},
        {31, v->Get_ServerInfo(db, nullptr)},
        {32, v->Get_FieldTypeText(db, 2, 50, out.put())},
        {33, v->Get_AlterColumnText(db, 0, nullptr)},
        {34, v->FieldExists(db, nullptr, nullptr, &flag)},
        {35, v->EmptyTable(db, nullptr)},
        {36, v->Get_SortOrderText(db, 2, order.put())},
    };
    for (const auto& c : calls) {
        EXPECT_EQ(c.status, c.slot);
    }
    EXPECT_EQ(stub->lastSlot, 36);
    EXPECT_EQ(flag, ORV_WTRUE) << "TableExists took its name";
    EXPECT_EQ(out.utf8(), "2:50");
    EXPECT_EQ(order.utf8(), "DESC");
    EXPECT_EQ(def.Type, 10);
    EXPECT_EQ(def.Size, 50);

    // The query handed out through the C view is usable through its own view.
    ASSERT_NE(query, nullptr);
    Bstr field;
    EXPECT_EQ(query->lpVtbl->Getstring(query, Bstr(u"Version").get(), field.put()), 8);
    EXPECT_EQ(field.utf8(), "Version=value");
    EXPECT_EQ(query->lpVtbl->Release(query), 1) << "the database still holds its query";

    // Slot 1 is AddRef, slot 2 Release.
    EXPECT_EQ(v->AddRef(db), 2);
    EXPECT_EQ(v->Release(db), 1);

    // QueryInterface through the C view, with the identifiers of interfaces.h.
    void* same = nullptr;
    EXPECT_EQ(v->QueryInterface(db, &ORV_IID_iDatabase, &same), ORV_S_OK);
    EXPECT_EQ(same, db);
    v->Release(db);
    EXPECT_EQ(v->QueryInterface(db, &ORV_IID_iQueryDatabase, &same), ORV_E_NOINTERFACE);
}

TEST(VtableLayout, CViewOfQueryCallsEverySlot) {
    ComPtr<iQueryDatabase> owner(new QueryStub);
    auto* stub = static_cast<QueryStub*>(owner.get());
    auto* q = reinterpret_cast<OrvIQueryDatabase*>(owner.get());
    const OrvIQueryDatabaseVtbl* v = q->lpVtbl;
    OrvWordBool flag = 0;
    int32_t number = 0, kind = 0, size = 0;
    float f = 0;
    double d = 0;
    OrvBstr none = nullptr;
    Bstr field(u"Prix");
    Bstr value;

    const int slots[] = {
        v->Get_Opened(q, &flag),
        v->Set_Opened(q, ORV_WFALSE),
        v->Get_FieldName(q, 0, nullptr),
        v->GetFieldStructure(q, 0, nullptr, nullptr),
        v->FieldCount(q, &number),
        v->Getstring(q, field.get(), value.put()),
        v->Setstring(q, nullptr, nullptr),
        v->SetInteger(q, nullptr, 1),
        v->SetColor(q, nullptr, 0x00FF1601),
        v->GetColor(q, nullptr, &number),
        v->GetFloat(q, nullptr, &f),
        v->SetFloat(q, nullptr, 0.1f),
        v->GetInteger(q, nullptr, &number),
        v->SetSerializable(q, nullptr, nullptr),
        v->GetSerializable(q, nullptr, nullptr),
        v->GetSerializableWithCreate(q, nullptr, nullptr),
        v->SetSerializableWithCreate(q, nullptr, nullptr),
        v->GetDouble(q, nullptr, &d),
        v->SetDouble(q, nullptr, 1234.5678),
        v->FillStream(q, nullptr),
        v->SaveFileInBlobField(q, nullptr, nullptr),
        (v->GetBlob(q, nullptr), stub->lastSlot),
        v->SetBlob(q, nullptr, nullptr),
        (v->GetBoolean(q, nullptr) == ORV_WTRUE ? stub->lastSlot : -26),
        v->SetBoolean(q, nullptr, ORV_WTRUE),
        (v->GetDateTime(q, nullptr) == 45356.5 ? stub->lastSlot : -28),
        v->SetDateTime(q, nullptr, 0.0),
        v->GetFieldInternalTypeStructure(q, 5, &none, &kind, &size),
        v->Get_TypeRequete(q, &number),
        v->Set_TypeRequete(q, 1),
        v->Get_RecordCount(q, &number),
        v->OpenSQL(q, Bstr(u"SELECT Version FROM Version").get(), &flag),
        v->Next(q),
        v->FillstringList(q, nullptr, nullptr),
    };
    for (int i = 0; i < static_cast<int>(std::size(slots)); ++i) {
        EXPECT_EQ(slots[i], i + 3) << "position " << i;
    }
    EXPECT_EQ(value.utf8(), "Prix=value");
    EXPECT_EQ(flag, ORV_WTRUE) << "OpenSQL took its text";
    EXPECT_EQ(kind, 10);
    EXPECT_EQ(size, 15);
    EXPECT_EQ(stub->lastFloat, 0.1f);
    EXPECT_EQ(stub->lastDouble, 1234.5678);

    // A query answers for the record interface it extends.
    void* record = nullptr;
    ASSERT_EQ(v->QueryInterface(q, &ORV_IID_iRecordDatabase, &record), ORV_S_OK);
    auto* r = static_cast<OrvIRecordDatabase*>(record);
    EXPECT_EQ(r->lpVtbl->FieldCount(r, &number), 7);
    EXPECT_EQ(number, 12);
    r->lpVtbl->Release(r);
}

TEST(VtableLayout, CViewOfTableReachesTheTableSlots) {
    ComPtr<iTableDatabase> owner(new TableStub);
    auto* t = reinterpret_cast<OrvITableDatabase*>(owner.get());
    const OrvITableDatabaseVtbl* v = t->lpVtbl;
    const OrvHResult statuses[] = {
        v->Get_IdRow(t, nullptr),
        v->Set_IdRow(t, nullptr),
        v->Get_Tablename(t, nullptr),
        v->Set_Tablename(t, nullptr),
        v->Post(t),
        v->Edit(t),
        v->Append(t),
        v->Last(t),
        v->GotoKey(t, nullptr, nullptr, nullptr),
    };
    for (int i = 0; i < static_cast<int>(std::size(statuses)); ++i) {
        EXPECT_EQ(statuses[i], i + 31);
    }
    OrvWordBool opened = 0;
    EXPECT_EQ(v->Get_Opened(t, &opened), 3);
    EXPECT_EQ(opened, ORV_WTRUE);
}

TEST(VtableLayout, CIdentifiersMatchTheInterfaces) {
    auto same = [](const OrvGuid& a, const OrvGuid& b) { return std::memcmp(&a, &b, 16) == 0; };
    EXPECT_TRUE(same(ORV_IID_IInterface, IInterface::iid));
    EXPECT_TRUE(same(ORV_IID_iDatabase, iDatabase::iid));
    EXPECT_TRUE(same(ORV_IID_iRecordDatabase, iRecordDatabase::iid));
    EXPECT_TRUE(same(ORV_IID_iQueryDatabase, iQueryDatabase::iid));
    EXPECT_TRUE(same(ORV_IID_iTableDatabase, iTableDatabase::iid));
    static_assert(sizeof(OrvGuid) == 16);
}

}  // namespace

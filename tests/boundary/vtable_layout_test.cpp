// Proof that the C++ interfaces have the COM vtable layout of the C structs
// of interfaces.h: every operation sits at the slot the C view gives it and
// takes its arguments the same way.
#include <gtest/gtest.h>
#include <orvdb/interfaces.h>
#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

namespace {

using namespace orvdb;

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

// ---- Each C slot against the C++ operation ------------------------------------

// Arguments the two views pass alike: the same type, or an object pointer on
// both sides (a C++ interface or reference, a C struct).
template <class Cpp, class C>
constexpr bool passedAlike = std::is_same_v<Cpp, C> ||
                             ((std::is_pointer_v<Cpp> ||
                               std::is_reference_v<Cpp>)&&std::is_pointer_v<C>);

template <class Member, class Function>
struct CalledAlike : std::false_type {};
template <class Class, class Result, class... Args, class Self, class CResult, class... CArgs>
struct CalledAlike<Result (Class::*)(Args...), CResult (*)(Self*, CArgs...)>
    : std::bool_constant<passedAlike<Result, CResult> && (passedAlike<Args, CArgs> && ...)> {};

// The byte offset in the vtable of the slot a pointer to a virtual member
// function names. The Itanium C++ ABI (GCC, Clang) stores it in the first
// word: plus one on x86, as is on ARM (whose virtual flag is in the second).
template <class Member>
size_t slotOffset(Member member) {
    struct {
        uintptr_t pointer;
        ptrdiff_t adjustment;
    } parts;
    static_assert(sizeof(member) == sizeof(parts));
    std::memcpy(&parts, &member, sizeof parts);
#if defined(__aarch64__) || defined(__arm__)
    return parts.pointer;
#else
    return parts.pointer - 1;
#endif
}

#define EXPECT_SLOT(Interface, Vtbl, Method)                                                \
    static_assert(CalledAlike<decltype(&Interface::Method), decltype(Vtbl::Method)>::value, \
                  #Method " takes other arguments in the C view");                          \
    EXPECT_EQ(slotOffset(&Interface::Method), offsetof(Vtbl, Method)) << #Method

template <class Interface, class Vtbl>
void expectRecordSlots() {
    EXPECT_SLOT(Interface, Vtbl, QueryInterface);
    EXPECT_SLOT(Interface, Vtbl, AddRef);
    EXPECT_SLOT(Interface, Vtbl, Release);
    EXPECT_SLOT(Interface, Vtbl, Get_Opened);
    EXPECT_SLOT(Interface, Vtbl, Set_Opened);
    EXPECT_SLOT(Interface, Vtbl, Get_FieldName);
    EXPECT_SLOT(Interface, Vtbl, GetFieldStructure);
    EXPECT_SLOT(Interface, Vtbl, FieldCount);
    EXPECT_SLOT(Interface, Vtbl, Getstring);
    EXPECT_SLOT(Interface, Vtbl, Setstring);
    EXPECT_SLOT(Interface, Vtbl, SetInteger);
    EXPECT_SLOT(Interface, Vtbl, SetColor);
    EXPECT_SLOT(Interface, Vtbl, GetColor);
    EXPECT_SLOT(Interface, Vtbl, GetFloat);
    EXPECT_SLOT(Interface, Vtbl, SetFloat);
    EXPECT_SLOT(Interface, Vtbl, GetInteger);
    EXPECT_SLOT(Interface, Vtbl, SetSerializable);
    EXPECT_SLOT(Interface, Vtbl, GetSerializable);
    EXPECT_SLOT(Interface, Vtbl, GetSerializableWithCreate);
    EXPECT_SLOT(Interface, Vtbl, SetSerializableWithCreate);
    EXPECT_SLOT(Interface, Vtbl, GetDouble);
    EXPECT_SLOT(Interface, Vtbl, SetDouble);
    EXPECT_SLOT(Interface, Vtbl, FillStream);
    EXPECT_SLOT(Interface, Vtbl, SaveFileInBlobField);
    EXPECT_SLOT(Interface, Vtbl, GetBlob);
    EXPECT_SLOT(Interface, Vtbl, SetBlob);
    EXPECT_SLOT(Interface, Vtbl, GetBoolean);
    EXPECT_SLOT(Interface, Vtbl, SetBoolean);
    EXPECT_SLOT(Interface, Vtbl, GetDateTime);
    EXPECT_SLOT(Interface, Vtbl, SetDateTime);
    EXPECT_SLOT(Interface, Vtbl, GetFieldInternalTypeStructure);
}

TEST(VtableLayout, EveryCursorOperationSitsAtItsCSlot) {
    expectRecordSlots<iRecordDatabase, OrvIRecordDatabaseVtbl>();
    expectRecordSlots<iQueryDatabase, OrvIQueryDatabaseVtbl>();
    EXPECT_SLOT(iQueryDatabase, OrvIQueryDatabaseVtbl, Get_TypeRequete);
    EXPECT_SLOT(iQueryDatabase, OrvIQueryDatabaseVtbl, Set_TypeRequete);
    EXPECT_SLOT(iQueryDatabase, OrvIQueryDatabaseVtbl, Get_RecordCount);
    EXPECT_SLOT(iQueryDatabase, OrvIQueryDatabaseVtbl, OpenSQL);
    EXPECT_SLOT(iQueryDatabase, OrvIQueryDatabaseVtbl, Next);
    EXPECT_SLOT(iQueryDatabase, OrvIQueryDatabaseVtbl, FillstringList);
    expectRecordSlots<iTableDatabase, OrvITableDatabaseVtbl>();
    EXPECT_SLOT(iTableDatabase, OrvITableDatabaseVtbl, Get_IdRow);
    EXPECT_SLOT(iTableDatabase, OrvITableDatabaseVtbl, Set_IdRow);
    EXPECT_SLOT(iTableDatabase, OrvITableDatabaseVtbl, Get_Tablename);
    EXPECT_SLOT(iTableDatabase, OrvITableDatabaseVtbl, Set_Tablename);
    EXPECT_SLOT(iTableDatabase, OrvITableDatabaseVtbl, Post);
    EXPECT_SLOT(iTableDatabase, OrvITableDatabaseVtbl, Edit);
    EXPECT_SLOT(iTableDatabase, OrvITableDatabaseVtbl, Append);
    EXPECT_SLOT(iTableDatabase, OrvITableDatabaseVtbl, Last);
    EXPECT_SLOT(iTableDatabase, OrvITableDatabaseVtbl, GotoKey);
}

TEST(VtableLayout, EveryDatabaseOperationSitsAtItsCSlot) {
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, QueryInterface);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, AddRef);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Release);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Get_ActiveQuery);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Get_ActiveTable);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Get_Opened);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Set_Opened);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, GetVersion);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, ChangePath);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Open);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Close);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Purge);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Empty);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Get_dbname);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, SavePoint);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Commit);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Rollback);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, PushQuery);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, PopQuery);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, PushTable);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, PopTable);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, ReadDump);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Get_FieldDef);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Set_dbname);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, TableExists);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Update);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Get_SQL);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Get_TableList);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, ExportTable);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, ExecSQLScript);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, ExportTo);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Get_ServerInfo);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Get_FieldTypeText);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Get_AlterColumnText);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, FieldExists);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, EmptyTable);
    EXPECT_SLOT(iDatabase, OrvIDatabaseVtbl, Get_SortOrderText);
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

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

// Identifiers are read without regard to case.
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

// EXPECT_SLOTS(Interface, Vtbl, Method...): EXPECT_SLOT for each method, one
// per rescan of EXPAND (256 of them).
#define EXPAND(...) EXPAND3(EXPAND3(EXPAND3(EXPAND3(__VA_ARGS__))))
#define EXPAND3(...) EXPAND2(EXPAND2(EXPAND2(EXPAND2(__VA_ARGS__))))
#define EXPAND2(...) EXPAND1(EXPAND1(EXPAND1(EXPAND1(__VA_ARGS__))))
#define EXPAND1(...) __VA_ARGS__
#define PARENS ()
#define EXPECT_SLOTS(Interface, Vtbl, ...) \
    __VA_OPT__(EXPAND(EXPECT_SLOTS_HELPER(Interface, Vtbl, __VA_ARGS__)))
#define EXPECT_SLOTS_HELPER(Interface, Vtbl, Method, ...) \
    EXPECT_SLOT(Interface, Vtbl, Method);                 \
    __VA_OPT__(EXPECT_SLOTS_AGAIN PARENS(Interface, Vtbl, __VA_ARGS__))
#define EXPECT_SLOTS_AGAIN() EXPECT_SLOTS_HELPER

template <class Interface, class Vtbl>
void expectRecordSlots() {
    EXPECT_SLOTS(Interface, Vtbl, QueryInterface, AddRef, Release, Get_Opened, Set_Opened,
                 Get_FieldName, GetFieldStructure, FieldCount, Getstring, Setstring, SetInteger,
                 SetColor, GetColor, GetFloat, SetFloat, GetInteger, SetSerializable,
                 GetSerializable, GetSerializableWithCreate, SetSerializableWithCreate, GetDouble,
                 SetDouble, FillStream, SaveFileInBlobField, GetBlob, SetBlob, GetBoolean,
                 SetBoolean, GetDateTime, SetDateTime, GetFieldInternalTypeStructure);
}

TEST(VtableLayout, EveryCursorOperationSitsAtItsCSlot) {
    expectRecordSlots<iRecordDatabase, OrvIRecordDatabaseVtbl>();
    expectRecordSlots<iQueryDatabase, OrvIQueryDatabaseVtbl>();
    EXPECT_SLOTS(iQueryDatabase, OrvIQueryDatabaseVtbl, Get_TypeRequete, Set_TypeRequete,
                 Get_RecordCount, OpenSQL, Next, FillstringList);
    expectRecordSlots<iTableDatabase, OrvITableDatabaseVtbl>();
    EXPECT_SLOTS(iTableDatabase, OrvITableDatabaseVtbl, Get_IdRow, Set_IdRow, Get_Tablename,
                 Set_Tablename, Post, Edit, Append, Last, GotoKey);
}

TEST(VtableLayout, EveryDatabaseOperationSitsAtItsCSlot) {
    EXPECT_SLOTS(iDatabase, OrvIDatabaseVtbl, QueryInterface, AddRef, Release, Get_ActiveQuery,
                 Get_ActiveTable, Get_Opened, Set_Opened, GetVersion, ChangePath, Open, Close,
                 Purge, Empty, Get_dbname, SavePoint, Commit, Rollback, PushQuery, PopQuery,
                 PushTable, PopTable, ReadDump, Get_FieldDef, Set_dbname, TableExists, Update,
                 Get_SQL, Get_TableList, ExportTable, ExecSQLScript, ExportTo, Get_ServerInfo,
                 Get_FieldTypeText, Get_AlterColumnText, FieldExists, EmptyTable,
                 Get_SortOrderText);
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

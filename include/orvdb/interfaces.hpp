// The COM-style interfaces of liborvdb and of the host services it calls.
//
// Each interface is an abstract class whose pure virtual functions are
// declared in vtable slot order (slots 0..2 come from IInterface), so that a
// C program reaches operation N through the N-th pointer of the vtable with
// the object as first argument (see interfaces.h). Operations return an
// OrvHResult and hand results through out pointers, except the few marked
// "direct", which return their value and let exceptions pass.
//
// String arguments:
//   OrvBstr        wide string; an in argument stays the caller's; an out
//                  argument (OrvBstr*) receives a new string that the caller
//                  frees with OrvBstrFree.
//   const char16_t*  null-terminated UTF-16 text.
//   OrvHostString  host string; the callee adds its own reference to keep it.
// Out interface pointers carry one reference that the caller releases.
//
// Out arguments that hand out a string or an object (OrvBstr*, I**) are
// written, never read: the incoming value is neither looked at nor released,
// so it may be uninitialised. The library's objects write NULL first, so the
// variable holds NULL after a failure; a host object should do the same.
//
// Identifiers marked "ours" were chosen for this library: the host declares
// these interfaces without publishing an identifier.
#pragma once

#include <orvdb/interface.hpp>

#include <cstdint>

namespace orvdb {

namespace detail {

consteval uint32_t guidHexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<uint32_t>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<uint32_t>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<uint32_t>(c - 'A' + 10);
    }
    throw "GUID text holds a character that is not a hexadecimal digit";
}

consteval uint32_t guidHex(const char* text, int digits) {
    uint32_t value = 0;
    for (int i = 0; i < digits; ++i) {
        value = value << 4 | guidHexDigit(text[i]);
    }
    return value;
}

}  // namespace detail

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" (the registry form without braces)
// as an OrvGuid; a malformed text does not compile.
consteval OrvGuid guidFromString(const char (&text)[37]) {
    if (text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-') {
        throw "GUID text must have the form XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX";
    }
    OrvGuid g{};
    g.Data1 = detail::guidHex(text, 8);
    g.Data2 = static_cast<uint16_t>(detail::guidHex(text + 9, 4));
    g.Data3 = static_cast<uint16_t>(detail::guidHex(text + 14, 4));
    g.Data4[0] = static_cast<uint8_t>(detail::guidHex(text + 19, 2));
    g.Data4[1] = static_cast<uint8_t>(detail::guidHex(text + 21, 2));
    for (int i = 0; i < 6; ++i) {
        g.Data4[2 + i] = static_cast<uint8_t>(detail::guidHex(text + 24 + 2 * i, 2));
    }
    return g;
}

// Stored type and size of a column, as the DAO numbering gives them
// (Type 10 text, 4 long, ...); both 0 when unknown.
struct FieldDef {
    int32_t Type;
    int32_t Size;
};

// ---------------------------------------------------------------------------
// Streams and serialisation

// A host stream object; the library only passes it on.
struct IZvStream : IInterface {
    static constexpr OrvGuid iid = guidFromString("0F115539-5BD1-45C4-BC1B-AC6C6E9EACAA");  // ours
    using Parent = IInterface;

protected:
    ~IZvStream() = default;
};

// The sink an object serialises itself into.
struct IWriter : IInterface {
    static constexpr OrvGuid iid = guidFromString("8BE5C22A-7471-4C3D-9B37-4A4850BB12E0");  // ours
    using Parent = IInterface;

    virtual OrvHResult Write(const void* data, int32_t size) = 0;

protected:
    ~IWriter() = default;
};

// The source an object reads itself back from. Reading past the end fails.
struct IReader : IInterface {
    static constexpr OrvGuid iid = guidFromString("100CF890-653F-4022-9654-74D2B80A72D4");  // ours
    using Parent = IInterface;

    virtual OrvHResult Read(void* data, int32_t size) = 0;

protected:
    ~IReader() = default;
};

// A host object that can be stored in a blob field.
struct iSerializable : IInterface {
    static constexpr OrvGuid iid = guidFromString("47027FF4-1C67-4661-B4A8-D6DA0D6AD773");
    using Parent = IInterface;

    virtual OrvHResult WriteObject(IWriter* writer) = 0;
    virtual OrvHResult ReadObject(IReader* reader) = 0;

protected:
    ~iSerializable() = default;
};

// ---------------------------------------------------------------------------
// Host collections

// The list FillstringList appends field texts to.
struct IWideStringList : IInterface {
    static constexpr OrvGuid iid = guidFromString("DB4A4E55-E2CD-4D47-A64F-5026C05E1E54");  // ours
    using Parent = IInterface;

    virtual OrvHResult Add(OrvBstr text) = 0;

protected:
    ~IWideStringList() = default;
};

// A read-only collection of wide texts, indexed from 0.
struct IWideStringCollection : IInterface {
    static constexpr OrvGuid iid = guidFromString("33F4DEEE-9770-4BC0-A8EF-D516B147E2BA");  // ours
    using Parent = IInterface;

    virtual OrvHResult Get_Count(int32_t* count) = 0;
    virtual OrvHResult Get_Item(int32_t index, OrvBstr* text) = 0;

protected:
    ~IWideStringCollection() = default;
};

// The list Get_TableList adds table objects to.
struct IInterfaceList : IInterface {
    static constexpr OrvGuid iid = guidFromString("E42FBBD1-D8E4-4CF8-AFCB-28B2A88CCB21");  // ours
    using Parent = IInterface;

    virtual OrvHResult Add(IInterface* item) = 0;

protected:
    ~IInterfaceList() = default;
};

// A named host object standing for one table. The first two operations are
// the host's own and unused here.
struct ISystemObject : IInterface {
    static constexpr OrvGuid iid = guidFromString("97A0198D-426D-4718-A182-27D5F87FCF83");
    using Parent = IInterface;

    virtual OrvHResult Reserved0() = 0;
    virtual OrvHResult Reserved1() = 0;
    virtual OrvHResult Get_Name(OrvBstr* name) = 0;
    virtual OrvHResult Set_Name(OrvBstr name) = 0;

protected:
    ~ISystemObject() = default;
};

// ---------------------------------------------------------------------------
// Server information: where a database lives. The operation between the two
// used here belongs to the host.

struct IServerInfo : IInterface {
    static constexpr OrvGuid iid = guidFromString("139DB5D4-CB31-4447-B03B-AA23794F6F53");  // ours
    using Parent = IInterface;

    virtual OrvHResult Get_Folder(OrvBstr* folder) = 0;
    virtual OrvHResult Reserved0() = 0;
    virtual OrvHResult Get_DatabaseName(OrvBstr* name) = 0;

protected:
    ~IServerInfo() = default;
};

struct IXLibServerInfo : IServerInfo {
    static constexpr OrvGuid iid = guidFromString("9586FD0E-6674-4871-8295-A4E35DD5EE8B");  // ours
    using Parent = IServerInfo;

protected:
    ~IXLibServerInfo() = default;
};

struct IProviderServerInfo : IServerInfo {
    static constexpr OrvGuid iid = guidFromString("843F6074-198A-4A5F-8D98-D51CB2268923");  // ours
    using Parent = IServerInfo;

protected:
    ~IProviderServerInfo() = default;
};

struct IXManParamServerInfo : IServerInfo {
    static constexpr OrvGuid iid = guidFromString("38036D7B-4CA6-4FDD-844E-CE641CF3494C");  // ours
    using Parent = IServerInfo;

protected:
    ~IXManParamServerInfo() = default;
};

struct IXLngServerInfo : IServerInfo {
    static constexpr OrvGuid iid = guidFromString("0552ABF6-E255-4326-9AD9-257B3D123F23");  // ours
    using Parent = IServerInfo;

protected:
    ~IXLngServerInfo() = default;
};

// ---------------------------------------------------------------------------
// Cursors

// Typed access to the fields of the current record, by field name.
// Colours are 0x00BBGGRR; date-times are days since 1899-12-30.
struct iRecordDatabase : IInterface {
    static constexpr OrvGuid iid = guidFromString("05EC7EE5-D7A3-49D9-9FCF-BBF8026E3B0D");
    using Parent = IInterface;

    virtual OrvHResult Get_Opened(OrvWordBool* opened) = 0;              // 3
    virtual OrvHResult Set_Opened(OrvWordBool opened) = 0;               // 4
    virtual OrvHResult Get_FieldName(int32_t index, OrvBstr* name) = 0;  // 5
    virtual OrvHResult GetFieldStructure(int32_t index, OrvBstr* name,   // 6
                                         OrvBstr* typeWord) = 0;
    virtual OrvHResult FieldCount(int32_t* count) = 0;                             // 7
    virtual OrvHResult Getstring(OrvBstr field, OrvBstr* text) = 0;                // 8
    virtual OrvHResult Setstring(OrvBstr field, OrvBstr text) = 0;                 // 9
    virtual OrvHResult SetInteger(OrvBstr field, int32_t value) = 0;               // 10
    virtual OrvHResult SetColor(OrvBstr field, int32_t color) = 0;                 // 11
    virtual OrvHResult GetColor(OrvBstr field, int32_t* color) = 0;                // 12
    virtual OrvHResult GetFloat(OrvBstr field, float* value) = 0;                  // 13
    virtual OrvHResult SetFloat(OrvBstr field, float value) = 0;                   // 14
    virtual OrvHResult GetInteger(OrvBstr field, int32_t* value) = 0;              // 15
    virtual OrvHResult SetSerializable(OrvBstr field, iSerializable* object) = 0;  // 16
    virtual OrvHResult GetSerializable(OrvBstr field, iSerializable* object) = 0;  // 17
    virtual OrvHResult GetSerializableWithCreate(OrvBstr field,                    // 18
                                                 iSerializable** object) = 0;
    virtual OrvHResult SetSerializableWithCreate(OrvBstr field,  // 19
                                                 iSerializable* object) = 0;
    virtual OrvHResult GetDouble(OrvBstr field, double* value) = 0;                 // 20
    virtual OrvHResult SetDouble(OrvBstr field, double value) = 0;                  // 21
    virtual OrvHResult FillStream(OrvBstr field) = 0;                               // 22
    virtual OrvHResult SaveFileInBlobField(OrvBstr fileName, OrvBstr field) = 0;    // 23
    virtual IZvStream* GetBlob(OrvBstr field) = 0;                                  // 24 direct
    virtual OrvHResult SetBlob(OrvBstr field, IZvStream* stream) = 0;               // 25
    virtual OrvWordBool GetBoolean(OrvBstr field) = 0;                              // 26 direct
    virtual OrvHResult SetBoolean(OrvBstr field, OrvWordBool value) = 0;            // 27
    virtual OrvDateTime GetDateTime(OrvBstr field) = 0;                             // 28 direct
    virtual OrvHResult SetDateTime(OrvBstr field, OrvDateTime value) = 0;           // 29
    virtual OrvHResult GetFieldInternalTypeStructure(int32_t index, OrvBstr* name,  // 30
                                                     int32_t* kindCode, int32_t* size) = 0;

protected:
    ~iRecordDatabase() = default;
};

// A query cursor: runs one SQL text at a time. Statement kind 0 selects,
// any other value executes.
struct iQueryDatabase : iRecordDatabase {
    static constexpr OrvGuid iid = guidFromString("10420834-E32C-492E-9B64-4268479207CB");
    using Parent = iRecordDatabase;

    virtual OrvHResult Get_TypeRequete(int32_t* kind) = 0;                        // 31
    virtual OrvHResult Set_TypeRequete(int32_t kind) = 0;                         // 32
    virtual OrvHResult Get_RecordCount(int32_t* count) = 0;                       // 33
    virtual OrvHResult OpenSQL(OrvBstr sql, OrvWordBool* found) = 0;              // 34
    virtual OrvHResult Next() = 0;                                                // 35
    virtual OrvHResult FillstringList(IWideStringList* list, OrvBstr field) = 0;  // 36

protected:
    ~iQueryDatabase() = default;
};

// A table cursor: appends and edits rows of one table by their "Id".
struct iTableDatabase : iRecordDatabase {
    static constexpr OrvGuid iid = guidFromString("8027607A-A178-440A-A11E-98AF05E573BC");
    using Parent = iRecordDatabase;

    virtual OrvHResult Get_IdRow(OrvBstr* id) = 0;                                    // 31
    virtual OrvHResult Set_IdRow(OrvBstr id) = 0;                                     // 32
    virtual OrvHResult Get_Tablename(OrvBstr* name) = 0;                              // 33
    virtual OrvHResult Set_Tablename(OrvBstr name) = 0;                               // 34
    virtual OrvHResult Post() = 0;                                                    // 35
    virtual OrvHResult Edit() = 0;                                                    // 36
    virtual OrvHResult Append() = 0;                                                  // 37
    virtual OrvHResult Last() = 0;                                                    // 38
    virtual OrvHResult GotoKey(OrvBstr field, OrvBstr indexName, OrvBstr value) = 0;  // 39

protected:
    ~iTableDatabase() = default;
};

// ---------------------------------------------------------------------------
// The database connection

// One open database with its query and table stacks. Arguments named
// `unused` are accepted and ignored.
struct iDatabase : IInterface {
    static constexpr OrvGuid iid = guidFromString("00727502-43AF-435F-A6E4-87F130D4C19C");
    using Parent = IInterface;

    virtual OrvHResult Get_ActiveQuery(iQueryDatabase** query) = 0;  // 3
    virtual OrvHResult Get_ActiveTable(iTableDatabase** table) = 0;  // 4
    virtual OrvHResult Get_Opened(OrvWordBool* opened) = 0;          // 5
    virtual OrvHResult Set_Opened(OrvWordBool opened) = 0;           // 6
    // The schema version as text ("0.0" when the database holds none); the
    // database kinds read it from their Version table.
    virtual OrvHResult GetVersion(OrvBstr* version) = 0;            // 7
    virtual OrvHResult ChangePath(const char16_t* newPath) = 0;     // 8
    virtual OrvHResult Open() = 0;                                  // 9
    virtual OrvHResult Close() = 0;                                 // 10
    virtual OrvHResult Purge() = 0;                                 // 11
    virtual OrvHResult Empty() = 0;                                 // 12
    virtual OrvHResult Get_dbname(OrvBstr* name) = 0;               // 13
    virtual OrvHResult SavePoint() = 0;                             // 14
    virtual OrvHResult Commit() = 0;                                // 15
    virtual OrvHResult Rollback() = 0;                              // 16
    virtual OrvHResult PushQuery() = 0;                             // 17
    virtual OrvHResult PopQuery() = 0;                              // 18
    virtual OrvHResult PushTable() = 0;                             // 19
    virtual OrvHResult PopTable() = 0;                              // 20
    virtual OrvHResult ReadDump(void* unused1, void* unused2) = 0;  // 21
    virtual OrvHResult Get_FieldDef(OrvBstr table, OrvBstr field,   // 22
                                    FieldDef* definition) = 0;
    virtual OrvHResult Set_dbname(OrvBstr name) = 0;                         // 23
    virtual OrvHResult TableExists(OrvBstr table, OrvWordBool* exists) = 0;  // 24
    // The two host objects of an upgrade: the rights host (queried for
    // IRightsManager) and a second object kept for the run.
    virtual OrvHResult Update(IInterface* rightsHost, IInterface* hostObject) = 0;  // 25
    virtual OrvHResult Get_SQL(int32_t index, OrvBstr* sql) = 0;                    // 26
    virtual OrvHResult Get_TableList(void* unused, IInterfaceList* list) = 0;       // 27
    virtual OrvHResult ExportTable(ISystemObject* table, iDatabase* target) = 0;    // 28
    virtual OrvHResult ExecSQLScript(void* unused) = 0;                             // 29
    virtual OrvHResult ExportTo(void* unused1, void* unused2) = 0;                  // 30
    virtual OrvHResult Get_ServerInfo(IServerInfo** info) = 0;                      // 31
    virtual OrvHResult Get_FieldTypeText(int32_t kindCode, int32_t size,            // 32
                                         OrvBstr* typeText) = 0;
    virtual OrvHResult Get_AlterColumnText(int32_t value, OrvBstr* text) = 0;  // 33
    virtual OrvHResult FieldExists(OrvBstr table, OrvBstr field,               // 34
                                   OrvWordBool* exists) = 0;
    virtual OrvHResult EmptyTable(OrvBstr table) = 0;                        // 35
    virtual OrvHResult Get_SortOrderText(int32_t order, OrvBstr* text) = 0;  // 36

protected:
    ~iDatabase() = default;
};

// The provider folder a provider-family database was opened from.
struct iProviderName : IInterface {
    static constexpr OrvGuid iid = guidFromString("A1BC6BD4-32EE-472B-90AD-BB66BE7EDCC7");
    using Parent = IInterface;

    virtual OrvHResult Get_ProviderName(OrvBstr* name) = 0;
    virtual OrvHResult Set_ProviderName(OrvBstr name) = 0;

protected:
    ~iProviderName() = default;
};

// The host's container of open databases, each registered under a name.
struct iMultiDatabase : IInterface {
    static constexpr OrvGuid iid = guidFromString("15B323E7-5E09-4DFF-876B-1FD9A0CDC20F");  // ours
    using Parent = IInterface;

    virtual OrvHResult RegisterDatabase(OrvBstr name, iDatabase* database) = 0;
    // Fails when no database is registered under the name.
    virtual OrvHResult SetCurrent(OrvBstr name) = 0;
    virtual OrvHResult Get_Current(iDatabase** database) = 0;

protected:
    ~iMultiDatabase() = default;
};

// ---------------------------------------------------------------------------
// Host objects used by the upgrades

// Implemented by the manager database kind: the host hands it the texts the
// manager upgrade needs (the list is cleared, then filled in order).
struct IManagerStrings : IInterface {
    static constexpr OrvGuid iid = guidFromString("452ACE96-2AFF-49A6-A37E-A8373D98E2E5");
    using Parent = IInterface;

    virtual OrvHResult SetUpgradeStrings(IWideStringCollection* texts) = 0;

protected:
    ~IManagerStrings() = default;
};

// One rights list of the current group (a category: 0 company, 1 projects,
// 2 quotes).
struct IRightsList : IInterface {
    static constexpr OrvGuid iid = guidFromString("25476FA5-8DD7-412C-A5C7-F6E429A64BB5");  // ours
    using Parent = IInterface;

protected:
    ~IRightsList() = default;
};

// The host's rights management, as the manager upgrade rebuilds groups.
struct IRightsManager : IInterface {
    static constexpr OrvGuid iid = guidFromString("025AE3FB-3FA3-4FFF-AC1A-EBCAC2DC985D");
    using Parent = IInterface;

    virtual OrvHResult SetAdministratorGroup(OrvBstr groupName) = 0;
    // Makes the named group the current one.
    virtual OrvHResult SetGroup(OrvBstr groupName) = 0;
    virtual OrvHResult Get_RightsList(int32_t category, IRightsList** list) = 0;
    virtual OrvHResult SetRight(IRightsList* list, OrvBstr rightName, OrvWordBool granted) = 0;

protected:
    ~IRightsManager() = default;
};

// ---------------------------------------------------------------------------
// Host objects used by the merge

// A business object stored in rows of a database.
struct IDbObject : IInterface {
    static constexpr OrvGuid iid = guidFromString("A7FB7EF2-74CA-4BE1-9D7A-7BFCA77C102C");
    using Parent = IInterface;

    virtual OrvHResult Load(int32_t id, iMultiDatabase* container, OrvBstr databaseName) = 0;
    virtual OrvHResult Validate(OrvWordBool* valid) = 0;
    virtual OrvHResult Save() = 0;
    virtual OrvHResult Get_ID(int32_t* id) = 0;

protected:
    ~IDbObject() = default;
};

// Shifts every identifier an object holds by an offset.
struct IIdOffset : IInterface {
    static constexpr OrvGuid iid = guidFromString("489F2106-177C-44FB-B6A5-22DC1D346A24");
    using Parent = IInterface;

    virtual OrvHResult OffsetIds(int32_t offset) = 0;

protected:
    ~IIdOffset() = default;
};

// The merge progress window: bar 0 is the table, bar 1 the rows; any other
// index changes nothing.
struct IProgressForm : IInterface {
    static constexpr OrvGuid iid = guidFromString("266A1403-C2BB-4508-B3B9-241C67123FE7");  // ours
    using Parent = IInterface;

    virtual OrvHResult Set_Max(uint8_t bar, int32_t maxValue) = 0;
    virtual OrvHResult Step(uint8_t bar) = 0;
    virtual OrvHResult SetPosition(uint8_t bar, int32_t value) = 0;
    virtual OrvHResult Set_Message(uint8_t bar, OrvHostString message) = 0;
    virtual OrvHResult Set_Title(uint8_t bar, OrvHostString title) = 0;

protected:
    ~IProgressForm() = default;
};

// ---------------------------------------------------------------------------
// Provider files

// Makes a provider database at a target path from the template; the folder
// of the target is created when missing.
struct IFileService : IInterface {
    static constexpr OrvGuid iid = guidFromString("93F4D502-D39F-4BF0-B43E-CDA7AB2FBE98");  // ours
    using Parent = IInterface;

    virtual OrvHResult CreateFromTemplate(const char16_t* templatePath,
                                          const char16_t* targetPath) = 0;

protected:
    ~IFileService() = default;
};

}  // namespace orvdb

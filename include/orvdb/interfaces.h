/* The C view of the database interfaces of liborvdb: iDatabase,
 * iRecordDatabase, iQueryDatabase and iTableDatabase as structs of function
 * pointers in vtable slot order. An object pointer received from the
 * library (for example from OpenDatabase) is a pointer to a struct whose
 * only member is its vtable pointer:
 *
 *     OrvIDatabase* db = ...;
 *     OrvBstr name = NULL;
 *     if (db->lpVtbl->Get_dbname(db, &name) == ORV_S_OK) ...
 *     OrvBstrFree(name);
 *     db->lpVtbl->Release(db);
 *
 * Arguments and ownership rules are those of interfaces.hpp. In particular,
 * out arguments (OrvBstr*, interface pointers) are written, never read: they
 * may hold anything on entry and hold NULL after a failure. */
#ifndef ORVDB_INTERFACES_H
#define ORVDB_INTERFACES_H

#include <orvdb/types.h>

ORV_EXTERN_C_BEGIN

/* Stored type and size of a column (DAO numbering). */
typedef struct OrvFieldDef {
    int32_t Type;
    int32_t Size;
} OrvFieldDef;

/* Any interface; used where the library passes an object it does not call. */
typedef struct OrvIInterface OrvIInterface;
typedef struct OrvIInterfaceVtbl {
    OrvHResult (*QueryInterface)(OrvIInterface* self, const OrvGuid* iid, void** object);
    int32_t (*AddRef)(OrvIInterface* self);
    int32_t (*Release)(OrvIInterface* self);
} OrvIInterfaceVtbl;
struct OrvIInterface {
    const OrvIInterfaceVtbl* lpVtbl;
};

typedef struct OrvIDatabase OrvIDatabase;
typedef struct OrvIRecordDatabase OrvIRecordDatabase;
typedef struct OrvIQueryDatabase OrvIQueryDatabase;
typedef struct OrvITableDatabase OrvITableDatabase;

/* Interface identifiers, as in interfaces.hpp. */
static const OrvGuid ORV_IID_IInterface = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
static const OrvGuid ORV_IID_iDatabase = {
    0x00727502, 0x43AF, 0x435F, {0xA6, 0xE4, 0x87, 0xF1, 0x30, 0xD4, 0xC1, 0x9C}};
static const OrvGuid ORV_IID_iRecordDatabase = {
    0x05EC7EE5, 0xD7A3, 0x49D9, {0x9F, 0xCF, 0xBB, 0xF8, 0x02, 0x6E, 0x3B, 0x0D}};
static const OrvGuid ORV_IID_iQueryDatabase = {
    0x10420834, 0xE32C, 0x492E, {0x9B, 0x64, 0x42, 0x68, 0x47, 0x92, 0x07, 0xCB}};
static const OrvGuid ORV_IID_iTableDatabase = {
    0x8027607A, 0xA178, 0x440A, {0xA1, 0x1E, 0x98, 0xAF, 0x05, 0xE5, 0x73, 0xBC}};

/* Slots 0..30, shared by the record, query and table cursors. */
#define ORV_RECORD_DATABASE_SLOTS(Self)                                                           \
    OrvHResult (*QueryInterface)(Self * self, const OrvGuid* iid, void** object);                 \
    int32_t (*AddRef)(Self * self);                                                               \
    int32_t (*Release)(Self * self);                                                              \
    OrvHResult (*Get_Opened)(Self * self, OrvWordBool * opened);                                  \
    OrvHResult (*Set_Opened)(Self * self, OrvWordBool opened);                                    \
    OrvHResult (*Get_FieldName)(Self * self, int32_t index, OrvBstr * name);                      \
    OrvHResult (*GetFieldStructure)(Self * self, int32_t index, OrvBstr * name,                   \
                                    OrvBstr * typeWord);                                          \
    OrvHResult (*FieldCount)(Self * self, int32_t * count);                                       \
    OrvHResult (*Getstring)(Self * self, OrvBstr field, OrvBstr * text);                          \
    OrvHResult (*Setstring)(Self * self, OrvBstr field, OrvBstr text);                            \
    OrvHResult (*SetInteger)(Self * self, OrvBstr field, int32_t value);                          \
    OrvHResult (*SetColor)(Self * self, OrvBstr field, int32_t color);                            \
    OrvHResult (*GetColor)(Self * self, OrvBstr field, int32_t * color);                          \
    OrvHResult (*GetFloat)(Self * self, OrvBstr field, float* value);                             \
    OrvHResult (*SetFloat)(Self * self, OrvBstr field, float value);                              \
    OrvHResult (*GetInteger)(Self * self, OrvBstr field, int32_t * value);                        \
    OrvHResult (*SetSerializable)(Self * self, OrvBstr field, OrvIInterface * object);            \
    OrvHResult (*GetSerializable)(Self * self, OrvBstr field, OrvIInterface * object);            \
    OrvHResult (*GetSerializableWithCreate)(Self * self, OrvBstr field, OrvIInterface * *object); \
    OrvHResult (*SetSerializableWithCreate)(Self * self, OrvBstr field, OrvIInterface * object);  \
    OrvHResult (*GetDouble)(Self * self, OrvBstr field, double* value);                           \
    OrvHResult (*SetDouble)(Self * self, OrvBstr field, double value);                            \
    OrvHResult (*FillStream)(Self * self, OrvBstr field);                                         \
    OrvHResult (*SaveFileInBlobField)(Self * self, OrvBstr fileName, OrvBstr field);              \
    OrvIInterface* (*GetBlob)(Self * self, OrvBstr field);                                        \
    OrvHResult (*SetBlob)(Self * self, OrvBstr field, OrvIInterface * stream);                    \
    OrvWordBool (*GetBoolean)(Self * self, OrvBstr field);                                        \
    OrvHResult (*SetBoolean)(Self * self, OrvBstr field, OrvWordBool value);                      \
    OrvDateTime (*GetDateTime)(Self * self, OrvBstr field);                                       \
    OrvHResult (*SetDateTime)(Self * self, OrvBstr field, OrvDateTime value);                     \
    OrvHResult (*GetFieldInternalTypeStructure)(Self * self, int32_t index, OrvBstr * name,       \
                                                int32_t * kindCode, int32_t * size)

typedef struct OrvIRecordDatabaseVtbl {
    ORV_RECORD_DATABASE_SLOTS(OrvIRecordDatabase);
} OrvIRecordDatabaseVtbl;
struct OrvIRecordDatabase {
    const OrvIRecordDatabaseVtbl* lpVtbl;
};

typedef struct OrvIQueryDatabaseVtbl {
    ORV_RECORD_DATABASE_SLOTS(OrvIQueryDatabase);
    OrvHResult (*Get_TypeRequete)(OrvIQueryDatabase* self, int32_t* kind);
    OrvHResult (*Set_TypeRequete)(OrvIQueryDatabase* self, int32_t kind);
    OrvHResult (*Get_RecordCount)(OrvIQueryDatabase* self, int32_t* count);
    OrvHResult (*OpenSQL)(OrvIQueryDatabase* self, OrvBstr sql, OrvWordBool* found);
    OrvHResult (*Next)(OrvIQueryDatabase* self);
    OrvHResult (*FillstringList)(OrvIQueryDatabase* self, OrvIInterface* list, OrvBstr field);
} OrvIQueryDatabaseVtbl;
struct OrvIQueryDatabase {
    const OrvIQueryDatabaseVtbl* lpVtbl;
};

typedef struct OrvITableDatabaseVtbl {
    ORV_RECORD_DATABASE_SLOTS(OrvITableDatabase);
    OrvHResult (*Get_IdRow)(OrvITableDatabase* self, OrvBstr* id);
    OrvHResult (*Set_IdRow)(OrvITableDatabase* self, OrvBstr id);
    OrvHResult (*Get_Tablename)(OrvITableDatabase* self, OrvBstr* name);
    OrvHResult (*Set_Tablename)(OrvITableDatabase* self, OrvBstr name);
    OrvHResult (*Post)(OrvITableDatabase* self);
    OrvHResult (*Edit)(OrvITableDatabase* self);
    OrvHResult (*Append)(OrvITableDatabase* self);
    OrvHResult (*Last)(OrvITableDatabase* self);
    OrvHResult (*GotoKey)(OrvITableDatabase* self, OrvBstr field, OrvBstr indexName, OrvBstr value);
} OrvITableDatabaseVtbl;
struct OrvITableDatabase {
    const OrvITableDatabaseVtbl* lpVtbl;
};

typedef struct OrvIDatabaseVtbl {
    OrvHResult (*QueryInterface)(OrvIDatabase* self, const OrvGuid* iid, void** object);
    int32_t (*AddRef)(OrvIDatabase* self);
    int32_t (*Release)(OrvIDatabase* self);
    OrvHResult (*Get_ActiveQuery)(OrvIDatabase* self, OrvIQueryDatabase** query);
    OrvHResult (*Get_ActiveTable)(OrvIDatabase* self, OrvITableDatabase** table);
    OrvHResult (*Get_Opened)(OrvIDatabase* self, OrvWordBool* opened);
    OrvHResult (*Set_Opened)(OrvIDatabase* self, OrvWordBool opened);
    OrvHResult (*GetVersion)(OrvIDatabase* self, OrvBstr* version);
    OrvHResult (*ChangePath)(OrvIDatabase* self, const char16_t* newPath);
    OrvHResult (*Open)(OrvIDatabase* self);
    OrvHResult (*Close)(OrvIDatabase* self);
    OrvHResult (*Purge)(OrvIDatabase* self);
    OrvHResult (*Empty)(OrvIDatabase* self);
    OrvHResult (*Get_dbname)(OrvIDatabase* self, OrvBstr* name);
    OrvHResult (*SavePoint)(OrvIDatabase* self);
    OrvHResult (*Commit)(OrvIDatabase* self);
    OrvHResult (*Rollback)(OrvIDatabase* self);
    OrvHResult (*PushQuery)(OrvIDatabase* self);
    OrvHResult (*PopQuery)(OrvIDatabase* self);
    OrvHResult (*PushTable)(OrvIDatabase* self);
    OrvHResult (*PopTable)(OrvIDatabase* self);
    OrvHResult (*ReadDump)(OrvIDatabase* self, void* unused1, void* unused2);
    OrvHResult (*Get_FieldDef)(OrvIDatabase* self, OrvBstr table, OrvBstr field,
                               OrvFieldDef* definition);
    OrvHResult (*Set_dbname)(OrvIDatabase* self, OrvBstr name);
    OrvHResult (*TableExists)(OrvIDatabase* self, OrvBstr table, OrvWordBool* exists);
    OrvHResult (*Update)(OrvIDatabase* self, OrvIInterface* rightsHost, OrvIInterface* hostObject);
    OrvHResult (*Get_SQL)(OrvIDatabase* self, int32_t index, OrvBstr* sql);
    OrvHResult (*Get_TableList)(OrvIDatabase* self, void* unused, OrvIInterface* list);
    OrvHResult (*ExportTable)(OrvIDatabase* self, OrvIInterface* table, OrvIDatabase* target);
    OrvHResult (*ExecSQLScript)(OrvIDatabase* self, void* unused);
    OrvHResult (*ExportTo)(OrvIDatabase* self, void* unused1, void* unused2);
    OrvHResult (*Get_ServerInfo)(OrvIDatabase* self, OrvIInterface** info);
    OrvHResult (*Get_FieldTypeText)(OrvIDatabase* self, int32_t kindCode, int32_t size,
                                    OrvBstr* typeText);
    OrvHResult (*Get_AlterColumnText)(OrvIDatabase* self, int32_t value, OrvBstr* text);
    OrvHResult (*FieldExists)(OrvIDatabase* self, OrvBstr table, OrvBstr field,
                              OrvWordBool* exists);
    OrvHResult (*EmptyTable)(OrvIDatabase* self, OrvBstr table);
    OrvHResult (*Get_SortOrderText)(OrvIDatabase* self, int32_t order, OrvBstr* text);
} OrvIDatabaseVtbl;
struct OrvIDatabase {
    const OrvIDatabaseVtbl* lpVtbl;
};

ORV_EXTERN_C_END

#endif

/* The exported functions of liborvdb, with the names and argument order the
 * suite's host calls them by. Usable from C and C++.
 *
 * Strings: OrvHostString arguments are host strings (strings.h) that stay the
 * caller's. OrvBstr arguments are wide strings. Interface pointers are the C
 * views of interfaces.h.
 *
 * Out arguments (an OrvHostString* result, an OrvIDatabase** or other
 * interface out pointer) are written, never read: the function neither looks
 * at nor releases what the variable held, so it may be uninitialised, and a
 * caller that reuses a variable releases its old content first. The variable
 * holds NULL until the function stores its result, and after a failure. A
 * result host string carries one reference and an out interface one
 * reference, both the caller's to release.
 *
 * Status codes: 0 success; 1 a negative answer or nothing done; see each
 * function for the others. The host lets exceptions of the functions that
 * create objects pass to its caller; a C function cannot, so here every
 * function that returns a status reports them as ORV_E_FAIL, and
 * OrvGetLastErrorMessage() gives the text (NULL after a call that
 * succeeded). The functions documented as returning nothing return that
 * status too: a caller that ignores the result sees the same behaviour. */
#ifndef ORVDB_EXPORTS_H
#define ORVDB_EXPORTS_H

#include <orvdb/interfaces.h>
#include <orvdb/strings.h>
#include <orvdb/types.h>

ORV_EXTERN_C_BEGIN

/* ---- Host objects the exports take ------------------------------------- */

/* Where a database lives: its folder and its name, as wide strings the
 * caller frees. The middle operation belongs to the host and is not called.
 * The server information of every database kind begins with these slots. */
typedef struct OrvIServerInfo OrvIServerInfo;
typedef struct OrvIServerInfoVtbl {
    OrvHResult (*QueryInterface)(OrvIServerInfo* self, const OrvGuid* iid, void** object);
    int32_t (*AddRef)(OrvIServerInfo* self);
    int32_t (*Release)(OrvIServerInfo* self);
    OrvHResult (*Get_Folder)(OrvIServerInfo* self, OrvBstr* folder);
    OrvHResult (*Reserved0)(OrvIServerInfo* self);
    OrvHResult (*Get_DatabaseName)(OrvIServerInfo* self, OrvBstr* name);
} OrvIServerInfoVtbl;
struct OrvIServerInfo {
    const OrvIServerInfoVtbl* lpVtbl;
};

/* Makes a provider database at targetPath from the template at templatePath
 * (null-terminated UTF-16 suite paths); a failure status when it cannot. */
typedef struct OrvIFileService OrvIFileService;
typedef struct OrvIFileServiceVtbl {
    OrvHResult (*QueryInterface)(OrvIFileService* self, const OrvGuid* iid, void** object);
    int32_t (*AddRef)(OrvIFileService* self);
    int32_t (*Release)(OrvIFileService* self);
    OrvHResult (*CreateFromTemplate)(OrvIFileService* self, const char16_t* templatePath,
                                     const char16_t* targetPath);
} OrvIFileServiceVtbl;
struct OrvIFileService {
    const OrvIFileServiceVtbl* lpVtbl;
};

/* ---- Opening databases and provider files ------------------------------ */

/* Opens the database that section "CONNEXION" + alias of the settings file
 * (INI) describes: keys NAME (default "UNDEFINED"), ALIAS (default the name),
 * PATH, PARAMPATH, FORMAT, OPEN (default "FALSE"); section and key names
 * without regard to case, every value upper-cased (ASCII letters). Returns 0 with the database in
 * *database (opened when OPEN is TRUE; a failed open goes to the host's exception handler and the
 * database comes back unopened), 1 when NAME is empty or no file exists at
 * PATH, ORV_E_INVALIDARG when the settings file does not exist. *database
 * is an out argument: written (NULL first), never read or released. */
ORV_API OrvHResult OpenDatabase(OrvHostString settingsFile, OrvHostString alias,
                                OrvIDatabase** database);

/* Copies the template (registry entry 29 + "Data\DataModel.Dat") to entry
 * 30 + "Providers\<name>\XLibData.mdb" through the file service. 1 when there
 * is no template; ORV_E_FAIL when the file service fails. A NULL file
 * service stands for the one installed with OrvSetFileService (host.h), by
 * default the copy of OrvCreateFileService. */
ORV_API OrvHResult CreateProvider(OrvBstr providerName, OrvIFileService* fileService);

/* 0 when the provider's data file exists, 1 when not. The name "XMANDATA"
 * (exactly so) stands for the workshop file, entry 57 + "Xmandata.mdb". */
ORV_API OrvHResult ExistsProvider(OrvBstr providerName);

/* 0 when the provider folder holds its data file, 1 when not. */
ORV_API OrvHResult isCorrectProvider(OrvBstr providerName);

/* Not provided: ORV_E_NOTIMPL, nothing touched. */
ORV_API OrvHResult DeleteProvider(void* unused);
ORV_API OrvHResult Backup(void* unused);

/* A file service for CreateProvider that copies the template, creating the
 * provider folder; it refuses to replace an existing provider database.
 * *service is an out argument (written, never read). */
ORV_API OrvHResult OrvCreateFileService(OrvIFileService** service);

/* ---- SQL dialect helpers (Access) -------------------------------------- */

/* "IIF(condition,valueIfTrue,valueIfFalse)", then " AS " + alias unless the
 * alias is exactly "[CONDITION]". Returns 0. */
ORV_API OrvHResult DecodeValueSQL_2(OrvHostString condition, OrvHostString valueIfTrue,
                                    OrvHostString valueIfFalse, OrvHostString alias,
                                    OrvHostString* result);

/* DecodeValueSQL_2(field + " IS NULL", valueWhenNull, field, alias). */
ORV_API OrvHResult DecodeValueSQL(OrvHostString field, OrvHostString valueWhenNull,
                                  OrvHostString alias, OrvHostString* result);

/* A text with line breaks (CR and the character after it) as quoted pieces
 * joined by &chr(13)&chr(10)&: abc CR LF def gives
 * 'abc'&chr(13)&chr(10)&'def'. An empty piece (a leading break, two breaks
 * in a row) is written '', so the result stays a valid expression. Single
 * quotes inside the text are not doubled. */
ORV_API void LineFeed(OrvHostString text, OrvHostString* result);

/* "0x" + text, or "0x0" for an empty text. */
ORV_API void CastHex(OrvHostString text, OrvHostString* result);

/* #YYYY-MM-DD HH.NN.SS# (milliseconds dropped). A value that is not a finite
 * number gives the date of day 0. */
ORV_API void DateTimeToStr(OrvDateTime value, OrvHostString* result);

/* ---- Schema maintenance ------------------------------------------------ */
/* Each works through the database's query stack; statements the engine
 * rejects are dropped quietly, so an operation may end half done. */

/* Copies table oldName into newName (SELECT * INTO), gives the copy the
 * primary key ID_<newName> on ID and re-creates the foreign keys of
 * MSysRelationships that involve oldName under "<relationship>__X". With
 * dropOld the old constraints are dropped first and the old table at the end;
 * with dropNewFirst an existing newName is dropped before the copy. */
ORV_API OrvHResult RenameTable(OrvIDatabase* database, OrvHostString oldName, OrvHostString newName,
                               OrvWordBool dropOld, OrvWordBool dropNewFirst);

/* Adds newColumn (columnType, e.g. "LONG"), copies oldColumn into it and,
 * with dropOld, drops oldColumn; the foreign keys on oldColumn are
 * re-created on newColumn (recreateKeys) or dropped (dropOld). */
ORV_API OrvHResult RenameColumn(OrvIDatabase* database, OrvHostString table,
                                OrvHostString oldColumn, OrvHostString newColumn,
                                OrvHostString columnType, OrvWordBool dropOld,
                                OrvWordBool recreateKeys);

/* Deletes every row and declares the column Id a counter again. */
ORV_API OrvHResult FlushTable(OrvIDatabase* database, OrvHostString table);

/* Send "SET FOREIGN_KEY_CHECKS = 0" / "= 1" as a select; Access rejects
 * both, quietly. */
ORV_API OrvHResult DisableAllconstaint(OrvIDatabase* database);
ORV_API OrvHResult EnableAllconstaint(OrvIDatabase* database);

/* ORV_LTRUE when folder (with a separator added when missing) + name +
 * ".mdb" is a file, ORV_LFALSE otherwise (also when the description fails). */
ORV_API OrvLongBool ExistsDatabase(OrvIServerInfo* description);

/* ---- Databases by kind --------------------------------------------------
 * Each hands its arguments to the kind's CreateDatabase and stores the
 * database in *database, an out argument (written, never read). It is NULL
 * when the kind could not find or open its file; the kind has told the host's
 * message manager or exception handler why. */
ORV_API OrvHResult Get_XLibDatabase(OrvIDatabase** database, OrvIServerInfo* libraryInfo);
ORV_API OrvHResult Get_XLibDataDatabase(OrvIDatabase** database, OrvBstr providerName,
                                        OrvIServerInfo* providerInfo);
ORV_API OrvHResult Get_FillingDatabase(OrvIDatabase** database, OrvBstr providerName);
ORV_API OrvHResult Get_HardwareDatabase(OrvIDatabase** database, OrvBstr providerName);
ORV_API OrvHResult Get_ManagerDatabase(OrvIDatabase** database, OrvHostString databaseName,
                                       OrvIServerInfo* serverInfo);
ORV_API OrvHResult Get_XLngDatabase(OrvIDatabase** database, OrvIServerInfo* languageInfo);
ORV_API OrvHResult Get_XManParamDatabase(OrvIDatabase** database, OrvIServerInfo* parametersInfo);

/* ---- Merging provider folders ------------------------------------------ */

/* The host's container of open databases, each registered under a name
 * ("XLIB" the library, "GAMMISTE" the provider database). SetCurrent fails
 * when nothing can be found under the name. */
typedef struct OrvIMultiDatabase OrvIMultiDatabase;
typedef struct OrvIMultiDatabaseVtbl {
    OrvHResult (*QueryInterface)(OrvIMultiDatabase* self, const OrvGuid* iid, void** object);
    int32_t (*AddRef)(OrvIMultiDatabase* self);
    int32_t (*Release)(OrvIMultiDatabase* self);
    OrvHResult (*RegisterDatabase)(OrvIMultiDatabase* self, OrvBstr name, OrvIDatabase* database);
    OrvHResult (*SetCurrent)(OrvIMultiDatabase* self, OrvBstr name);
    OrvHResult (*Get_Current)(OrvIMultiDatabase* self, OrvIDatabase** database);
} OrvIMultiDatabaseVtbl;
struct OrvIMultiDatabase {
    const OrvIMultiDatabaseVtbl* lpVtbl;
};

/* The host's object factory: the business object for an upper-cased name (a
 * table name, or TABLE_FIELD for the object a binary column holds), carrying
 * one reference for the caller, or NULL when the host has none. */
typedef OrvIInterface* (*OrvCreateObjectFunction)(OrvHostString upperName);

/* Merges the provider folders inputDB1 and inputDB2 (names of folders under
 * <data root>/Providers) into outputDB, shifting the keys of inputDB2's rows
 * by offset as the library's MergeKey_* tables configure, and writes the
 * merge log to <data root>/Merge.Log. A NULL container stands for the one
 * installed with OrvSetDatabaseContainer (host.h), by default one that opens
 * the library and the provider database where the host would find them. The progress window is
 * shown during the run (with showProgress 0 it keeps its initial captions and empty bars); a NULL
 * createObject stands for the object factory installed with
 * OrvSetObjectFactory (host.h), by default none, so that binary values of
 * inputDB2 are not carried. `unused` is ignored.
 * Returns 0 when the run ended, also when the user answered No at the
 * common-files warning (then nothing was copied). A failure is handed to the
 * host's exception handler and returns ORV_E_FAIL with the message. */
ORV_API OrvHResult MergeDatabase(OrvIMultiDatabase* container, OrvBstr inputDB1, OrvBstr inputDB2,
                                 OrvBstr outputDB, int32_t unused, uint8_t showProgress,
                                 OrvCreateObjectFunction createObject, int32_t offset);

ORV_EXTERN_C_END

#endif

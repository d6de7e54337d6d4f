/* Host services: what liborvdb asks of the program that embeds it, and how
 * that program replaces each service. Usable from C and C++ (orvdb/host.hpp
 * wraps it with std::function and exceptions).
 *
 * Every service starts as the library's default, which behaves as the orvdb
 * command-line tool does when given no option: folders from the environment
 * and ORVDB_CONFIG (below), messages, errors and questions logged on stderr,
 * every question answered No, the debug channel as ORVDB_DEBUG says, progress
 * in a window when there is a display and on the terminal otherwise.
 *
 * Handlers. A setter that takes a function also takes a context pointer,
 * handed back as the first argument of every call, and an optional release
 * function: the library owns the context from the call on and calls release
 * with it exactly once, when a later setter or reset drops the handler (or at
 * once, should the setter fail). Free the context there. A NULL function puts
 * the default back; context and release are then ignored. The library calls handlers on the
 * thread that called into it; texts are UTF-8 and valid during the call only.
 * A handler must return normally (no longjmp, no C++ exception).
 *
 * All functions return ORV_S_OK, or a failure status with the reason in
 * OrvGetLastErrorMessage() (strings.h). */
#ifndef ORVDB_HOST_H
#define ORVDB_HOST_H

#include <orvdb/exports.h>
#include <orvdb/interfaces.h>
#include <orvdb/strings.h>
#include <orvdb/types.h>

ORV_EXTERN_C_BEGIN

typedef void (*OrvReleaseFunction)(void* context);

/* Every service back to the default, and the registry read again from the
 * environment. Fails only when the config file cannot be read (the
 * services are reset all the same). */
ORV_API OrvHResult OrvResetHostServices(void);

/* ---- Registry information -----------------------------------------------
 * The host's table of texts by entry number (0 to ORV_REGISTRY_ENTRY_COUNT-1).
 * Folder entries always read as absolute paths ending with '/'; suite paths
 * with '\' work, and file names inside are found without regard to case.
 *
 * Sources, strongest first:
 *   1. OrvSetRegistryEntry;
 *   2. the environment: ORVDB_DATA_ROOT (entry 30), ORVDB_REGISTRY_<n>
 *      (entry n), ORVDB_LANGUAGE_ID;
 *   3. the config file (OrvSetRegistryConfigFile, else ORVDB_CONFIG), INI
 *      section [registry]: "30 = /srv/joinery" or by name: DataRoot,
 *      LibraryFolder, TemplateFolder, ParametersFolder, WorkshopFolder,
 *      ManagerParamFolder, LanguageFolder, Provider, LanguageId;
 *   4. folders derived from the data root R (the current directory when no
 *      source names one): 9, 28, 29 = R; 57, 63 = R/XMan/; 64 = R/Languages/.
 * The environment and the config file are read at first use; relative
 * folders follow the current directory of that moment (those of a config
 * file follow the file's folder). */
#define ORV_REGISTRY_PROVIDER_NAME 4
#define ORV_REGISTRY_PARAMETERS_FOLDER 9
#define ORV_REGISTRY_LIBRARY_FOLDER 28
#define ORV_REGISTRY_TEMPLATE_FOLDER 29
#define ORV_REGISTRY_DATA_ROOT 30
#define ORV_REGISTRY_WORKSHOP_FOLDER 57
#define ORV_REGISTRY_MANAGER_PARAM_FOLDER 63
#define ORV_REGISTRY_LANGUAGE_FOLDER 64
#define ORV_REGISTRY_ENTRY_COUNT 80

/* Sets an entry (UTF-8; a relative folder is taken from the current
 * directory). Setting the data root moves the folders derived from it.
 * NULL or "" drops the value set here, so that the weaker sources show
 * again. ORV_E_INVALIDARG for an entry number outside the table. */
ORV_API OrvHResult OrvSetRegistryEntry(int32_t entry, const char* text);

/* The entry's text as a new wide string the caller frees with OrvBstrFree
 * (NULL for an empty entry). *text is written, never read: NULL after a
 * failure. Fails when the config file cannot be read. */
ORV_API OrvHResult OrvGetRegistryEntry(int32_t entry, OrvBstr* text);

/* Reads the config file now and uses it from then on; "" means none, NULL
 * goes back to ORVDB_CONFIG. A file that cannot be read or holds a bad line
 * fails with its name and line, and nothing changes. */
ORV_API OrvHResult OrvSetRegistryConfigFile(const char* path);

/* Drops every entry set through OrvSetRegistryEntry and reads the
 * environment and the config file again. */
ORV_API OrvHResult OrvResetRegistry(void);

/* ---- Messages -------------------------------------------------------------
 * A text for the user ("CANNOT FIND /srv/joinery/Providers/Acme/XLibData.mdb"
 * when a database kind finds no file). Default: "orvdb: message: TEXT" on
 * stderr. */
typedef void (*OrvMessageFunction)(void* context, const char* text);
ORV_API OrvHResult OrvSetMessageHandler(OrvMessageFunction handler, void* context,
                                        OrvReleaseFunction release);

/* ---- Exception hand-off -----------------------------------------------------
 * An error the library reports to the host and then goes on (a database that
 * cannot be opened, a failing merge); the call itself may still succeed.
 * Default: "orvdb: error: MESSAGE" on stderr. */
#define ORV_EXCEPTION_OTHER 0
#define ORV_EXCEPTION_DATABASE_CONNECTION 1 /* EORV_DATABASECONNEXION */
#define ORV_EXCEPTION_DATABASE_UPDATE 2     /* EORV_DATABASEUPDATE */
typedef void (*OrvExceptionFunction)(void* context, int32_t kind, const char* message);
ORV_API OrvHResult OrvSetExceptionHandler(OrvExceptionFunction handler, void* context,
                                          OrvReleaseFunction release);

/* ---- Questions --------------------------------------------------------------
 * A message box: text, caption and the Windows button set in the low four
 * bits of flags; the handler returns the button pressed. Default: no user to
 * ask, so the default answer is given and logged on stderr. */
#define ORV_MB_OK 0
#define ORV_MB_OKCANCEL 1
#define ORV_MB_ABORTRETRYIGNORE 2
#define ORV_MB_YESNOCANCEL 3
#define ORV_MB_YESNO 4
#define ORV_MB_RETRYCANCEL 5
#define ORV_IDOK 1
#define ORV_IDCANCEL 2
#define ORV_IDABORT 3
#define ORV_IDRETRY 4
#define ORV_IDIGNORE 5
#define ORV_IDYES 6
#define ORV_IDNO 7
typedef int32_t (*OrvQuestionFunction)(void* context, const char* text, const char* caption,
                                       int32_t flags);
ORV_API OrvHResult OrvSetQuestionHandler(OrvQuestionFunction handler, void* context,
                                         OrvReleaseFunction release);

/* Puts the default question handler back, answering with the accepting
 * button (Yes, OK, Retry) when accept is nonzero and the refusing one (No,
 * Cancel, Abort) otherwise. The default answer is No. */
ORV_API OrvHResult OrvSetDefaultAnswer(int32_t accept);

/* ---- Debug output -----------------------------------------------------------
 * Diagnostics never shown to the user: the error and text of a select that
 * failed (the select itself just finds no row) and, while tracing is on,
 * those of rejected action statements, which are otherwise dropped. */
typedef void (*OrvDebugFunction)(void* context, const char* text);
/* A NULL handler goes back to what ORVDB_DEBUG says (and its tracing). */
ORV_API OrvHResult OrvSetDebugHandler(OrvDebugFunction handler, void* context,
                                      OrvReleaseFunction release);

/* The built-in sinks, named as ORVDB_DEBUG names them: "" or "0" silent,
 * "1" or "stderr" lines on stderr, any other text a file each text is
 * appended to. NULL: as ORVDB_DEBUG says (tracing included). */
ORV_API OrvHResult OrvSetDebugOutput(const char* target);

/* Tracing of rejected action statements on (nonzero) or off. */
ORV_API OrvHResult OrvSetDebugTrace(int32_t enabled);

/* ---- Progress ---------------------------------------------------------------
 * The progress window of a merge: two bars, the upper one for the stage or
 * table, the lower one for the rows. update receives both whenever one
 * changes (counters may change often: keep it cheap). */
typedef struct OrvProgressBar {
    int32_t position;
    int32_t max;
    const char* caption;
} OrvProgressBar;

typedef struct OrvProgressHandler {
    void* context;
    void (*show)(void* context); /* a run begins; may be NULL */
    void (*update)(void* context, const OrvProgressBar* upper, const OrvProgressBar* lower);
    void (*finish)(void* context); /* the run is over; may be NULL */
    OrvReleaseFunction release;    /* may be NULL */
} OrvProgressHandler;

/* The members are copied; NULL (or a NULL update) puts the default back. */
ORV_API OrvHResult OrvSetProgressHandler(const OrvProgressHandler* handler);

/* One of the built-in progress displays. GUI fails when there is no display
 * or no GTK 3. */
#define ORV_PROGRESS_AUTO 0 /* a window when there is a display, else TTY */
#define ORV_PROGRESS_GUI 1  /* a GTK 3 window */
#define ORV_PROGRESS_TTY 2  /* two lines on stderr (plain lines when not a terminal) */
#define ORV_PROGRESS_NONE 3
ORV_API OrvHResult OrvSetProgressKind(int32_t kind);

/* ---- Database container -----------------------------------------------------
 * The container MergeDatabase uses when its caller passes none (exports.h).
 * The library keeps a reference until it is replaced. NULL: the default,
 * which opens the library and the provider databases where the registry says
 * they lie. */
ORV_API OrvHResult OrvSetDatabaseContainer(OrvIMultiDatabase* container);

/* ---- Object factory ---------------------------------------------------------
 * The host's business objects, by upper-cased name: a table name, or
 * TABLE_FIELD for the object a binary column holds. The handler returns an
 * object carrying one reference for the library, or NULL when it has none.
 * Used to read serialised objects back (GetSerializableWithCreate) and by
 * MergeDatabase when its createObject argument is NULL. Default: none. */
typedef OrvIInterface* (*OrvObjectFactoryFunction)(void* context, const char* upperName);
ORV_API OrvHResult OrvSetObjectFactory(OrvObjectFactoryFunction factory, void* context,
                                       OrvReleaseFunction release);

/* ---- File service -----------------------------------------------------------
 * The service CreateProvider uses when its caller passes none. The library
 * keeps a reference until it is replaced. NULL: the default, the copy of
 * OrvCreateFileService. */
ORV_API OrvHResult OrvSetFileService(OrvIFileService* service);

ORV_EXTERN_C_END

#endif

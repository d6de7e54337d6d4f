/* A host program in C that embeds liborvdb through its public headers only.
 *
 *   embed DATA_ROOT
 *
 * DATA_ROOT/Data/DataModel.Dat is the provider template (any Access
 * database, e.g. made with `orvdb create`). The program sets the data root,
 * installs message and error handlers, creates the provider "Acme" from the
 * template, works in its database through the query stack, and shows what a
 * failing open reports. Every out argument it passes starts as garbage: the
 * library writes out arguments and never reads them.
 *
 * Exits 0 when every check holds, 1 after printing the checks that failed. */
#include <orvdb/exports.h>
#include <orvdb/host.h>
#include <orvdb/interfaces.h>
#include <orvdb/strings.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int failures = 0;

#define CHECK(condition)                                                             \
    do {                                                                             \
        if (!(condition)) {                                                          \
            fprintf(stderr, "embed.c:%d: check failed: %s\n", __LINE__, #condition); \
            ++failures;                                                              \
        }                                                                            \
    } while (0)

/* What an uninitialised variable might hold. */
#define GARBAGE ((void*)(uintptr_t)0xDEADBEEFu)

/* ---- Handlers: the library's messages and errors land here ---------------- */

typedef struct Log {
    char text[4096];
    int entries;
    int released;
} Log;

static void append(Log* log, const char* prefix, const char* text) {
    size_t used = strlen(log->text);
    snprintf(log->text + used, sizeof log->text - used, "%s%s\n", prefix, text);
    ++log->entries;
}

static void onMessage(void* context, const char* text) {
    append((Log*)context, "message: ", text);
}

static void onException(void* context, int32_t kind, const char* message) {
    append((Log*)context,
           kind == ORV_EXCEPTION_DATABASE_CONNECTION ? "connection: " : "error: ", message);
}

static void onRelease(void* context) {
    ++((Log*)context)->released;
}

/* ---- Small helpers ----------------------------------------------------------- */

/* The UTF-8 text of a wide string, which it frees. */
static const char* take(OrvBstr text, char* buffer, size_t size) {
    OrvBstrToUtf8(text, buffer, size);
    OrvBstrFree(text);
    return buffer;
}

static int fileExists(const char* path) {
    FILE* file = fopen(path, "rb");
    if (file) {
        fclose(file);
    }
    return file != NULL;
}

/* Runs one statement; kind 0 selects, 1 executes. Whether it found or
 * changed rows. */
static int run(OrvIQueryDatabase* query, int32_t kind, const char* sql) {
    OrvBstr text = OrvBstrFromUtf8(sql);
    OrvWordBool found = ORV_WFALSE;
    CHECK(query->lpVtbl->Set_TypeRequete(query, kind) == ORV_S_OK);
    CHECK(query->lpVtbl->OpenSQL(query, text, &found) == ORV_S_OK);
    OrvBstrFree(text);
    return found != 0;
}

/* ---- The steps ----------------------------------------------------------------- */

static void workInProvider(OrvIDatabase* db) {
    char buffer[256];
    OrvIQueryDatabase* query = GARBAGE;
    CHECK(db->lpVtbl->PushQuery(db) == ORV_S_OK);
    CHECK(db->lpVtbl->Get_ActiveQuery(db, &query) == ORV_S_OK && query != NULL);
    if (!query || query == GARBAGE) {
        return;
    }

    run(query, 1, "CREATE TABLE Prix (Id COUNTER PRIMARY KEY, Nom VARCHAR(50), Montant DOUBLE)");
    CHECK(run(query, 1, "INSERT INTO Prix (Nom, Montant) VALUES ('Fenêtre', 480.5)"));
    CHECK(run(query, 1, "INSERT INTO Prix (Nom, Montant) VALUES ('Porte', 1250)"));

    /* Walk a result: the cursor closes itself after the last row. */
    {
        const char* expected[] = {"Fenêtre", "Porte"};
        int rows = 0;
        OrvWordBool opened = ORV_WFALSE;
        OrvBstr field = OrvBstrFromUtf8("Nom");
        CHECK(run(query, 0, "SELECT Nom FROM Prix ORDER BY Montant"));
        CHECK(query->lpVtbl->Get_Opened(query, &opened) == ORV_S_OK);
        while (opened && rows < 2) {
            OrvBstr name = GARBAGE;
            CHECK(query->lpVtbl->Getstring(query, field, &name) == ORV_S_OK);
            CHECK(strcmp(take(name, buffer, sizeof buffer), expected[rows]) == 0);
            CHECK(query->lpVtbl->Next(query) == ORV_S_OK);
            CHECK(query->lpVtbl->Get_Opened(query, &opened) == ORV_S_OK);
            ++rows;
        }
        CHECK(rows == 2 && !opened);
        /* A closed cursor refuses to move. */
        CHECK(ORV_FAILED(query->lpVtbl->Next(query)));
        OrvBstrFree(field);
    }

    /* A failing operation: a failure status, NULL in the out argument and the
     * reason in the last error message. */
    {
        OrvBstr name = GARBAGE;
        CHECK(run(query, 0, "SELECT Nom FROM Prix"));
        CHECK(ORV_FAILED(query->lpVtbl->Get_FieldName(query, 7, &name)));
        CHECK(name == NULL);
        OrvBstr message = OrvGetLastErrorMessage();
        CHECK(message != NULL);
        printf("expected failure: %s\n", take(message, buffer, sizeof buffer));
    }

    query->lpVtbl->Release(query);
    CHECK(db->lpVtbl->PopQuery(db) == ORV_S_OK);
}

/* OPEN=TRUE on a file that is no database: OpenDatabase still gives a
 * database, unopened, and the reason goes to the exception handler. */
static void failingOpen(const char* root, Log* log) {
    char settings[1024], notDatabase[1024];
    snprintf(settings, sizeof settings, "%s/broken.ini", root);
    snprintf(notDatabase, sizeof notDatabase, "%s/broken.mdb", root);
    FILE* file = fopen(notDatabase, "w");
    CHECK(file != NULL);
    if (!file) {
        return;
    }
    fputs("not an Access database\n", file);
    fclose(file);
    file = fopen(settings, "w");
    CHECK(file != NULL);
    if (!file) {
        return;
    }
    fprintf(file, "[CONNEXIONBROKEN]\nNAME=broken\nPATH=%s\nOPEN=TRUE\n", notDatabase);
    fclose(file);

    OrvHostString settingsText = OrvHostStringFromUtf8(settings);
    OrvHostString alias = OrvHostStringFromUtf8("BROKEN");
    OrvIDatabase* db = GARBAGE;
    int before = log->entries;
    CHECK(OpenDatabase(settingsText, alias, &db) == ORV_S_OK && db != NULL && db != GARBAGE);
    /* The handed error names the file that would not open. */
    CHECK(log->entries > before && strstr(log->text, "broken.mdb") != NULL);
    if (db && db != GARBAGE) {
        OrvWordBool opened = ORV_WTRUE;
        CHECK(db->lpVtbl->Get_Opened(db, &opened) == ORV_S_OK && opened == ORV_WFALSE);
        db->lpVtbl->Release(db);
    }
    OrvHostStringRelease(settingsText);
    OrvHostStringRelease(alias);
}

int main(int argc, char** argv) {
    char buffer[1024];
    if (argc != 2) {
        fprintf(stderr, "usage: %s DATA_ROOT\n", argv[0]);
        return 2;
    }
    const char* root = argv[1];
    Log log = {{0}, 0, 0};

    /* Configure the host services: folders, then handlers. */
    CHECK(OrvSetRegistryEntry(ORV_REGISTRY_DATA_ROOT, root) == ORV_S_OK);
    CHECK(OrvSetMessageHandler(onMessage, &log, onRelease) == ORV_S_OK);
    CHECK(OrvSetExceptionHandler(onException, &log, onRelease) == ORV_S_OK);
    {
        OrvBstr folder = GARBAGE;
        CHECK(OrvGetRegistryEntry(ORV_REGISTRY_TEMPLATE_FOLDER, &folder) == ORV_S_OK);
        printf("template folder: %s\n", take(folder, buffer, sizeof buffer));
    }

    /* No provider yet: the database kind says why it gives nothing. */
    OrvBstr acme = OrvBstrFromUtf8("Acme");
    OrvIDatabase* db = GARBAGE;
    CHECK(Get_XLibDataDatabase(&db, acme, NULL) == ORV_S_OK && db == NULL);
    CHECK(strstr(log.text, "message: CANNOT FIND ") != NULL);

    /* CreateProvider copies the template under the data root (a NULL file
     * service: the library's own). */
    CHECK(CreateProvider(acme, NULL) == ORV_S_OK);
    snprintf(buffer, sizeof buffer, "%s/Providers/Acme/XLibData.mdb", root);
    CHECK(fileExists(buffer));
    CHECK(ExistsProvider(acme) == ORV_S_OK);
    CHECK(isCorrectProvider(acme) == ORV_S_OK);

    db = GARBAGE;
    CHECK(Get_XLibDataDatabase(&db, acme, NULL) == ORV_S_OK && db != NULL && db != GARBAGE);
    if (db && db != GARBAGE) {
        OrvBstr name = GARBAGE;
        CHECK(db->lpVtbl->Get_dbname(db, &name) == ORV_S_OK);
        printf("provider database: %s\n", take(name, buffer, sizeof buffer));
        workInProvider(db);
        db->lpVtbl->Release(db);
    }
    OrvBstrFree(acme);

    /* An SQL helper fills a host string result, garbage on entry too. */
    {
        OrvHostString text = OrvHostStringFromUtf8("ligne 1\r\nligne 2");
        OrvHostString result = GARBAGE;
        LineFeed(text, &result);
        OrvHostStringToUtf8(result, buffer, sizeof buffer);
        CHECK(strcmp(buffer, "'ligne 1'&chr(13)&chr(10)&'ligne 2'") == 0);
        OrvHostStringRelease(result);
        OrvHostStringRelease(text);
    }

    failingOpen(root, &log);

    /* Back to the defaults: the library lets go of both handlers. */
    CHECK(OrvResetHostServices() == ORV_S_OK);
    CHECK(log.released == 2);

    printf("host log:\n%s", log.text);
    if (failures) {
        fprintf(stderr, "%d check(s) failed\n", failures);
        return 1;
    }
    printf("all checks passed\n");
    return 0;
}

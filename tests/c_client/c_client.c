/* A host written in C: it reaches the library only through the exports of
 * liborvdb and the C views of its interfaces.
 *
 *   c_client DATABASE SETTINGS
 *
 * DATABASE is an existing empty database (the test fixture makes it);
 * SETTINGS is the connection-settings file this program writes for it.
 * Exits 0 when every check holds, 1 after printing the checks that failed. */
#include <orvdb/exports.h>
#include <orvdb/interfaces.h>
#include <orvdb/strings.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int failures = 0;

#define CHECK(condition)                                                                  \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                                   \
        }                                                                                 \
    } while (0)

/* The UTF-8 text of a wide string, which it frees. */
static const char* take(OrvBstr text, char* buffer, size_t size) {
    OrvBstrToUtf8(text, buffer, size);
    OrvBstrFree(text);
    return buffer;
}

static const char* hostText(OrvHostString text, char* buffer, size_t size) {
    OrvHostStringToUtf8(text, buffer, size);
    return buffer;
}

/* Runs one statement on the query; returns whether it found or changed rows. */
static int run(OrvIQueryDatabase* query, int32_t kind, const char* sql) {
    OrvBstr text = OrvBstrFromUtf8(sql);
    OrvWordBool found = ORV_WFALSE;
    CHECK(query->lpVtbl->Set_TypeRequete(query, kind) == ORV_S_OK);
    CHECK(query->lpVtbl->OpenSQL(query, text, &found) == ORV_S_OK);
    OrvBstrFree(text);
    return found != 0;
}

static void checkQueries(OrvIDatabase* db) {
    char buffer[128];
    OrvIQueryDatabase* query = NULL;
    CHECK(db->lpVtbl->PushQuery(db) == ORV_S_OK);
    CHECK(db->lpVtbl->Get_ActiveQuery(db, &query) == ORV_S_OK);
    if (!query) {
        return;
    }

    run(query, 1, "DROP TABLE Items");
    run(query, 1, "CREATE TABLE Items (Id COUNTER PRIMARY KEY, Name VARCHAR(20), Qty LONG)");
    CHECK(run(query, 1, "INSERT INTO Items (Name, Qty) VALUES ('bolt', 40)"));
    CHECK(run(query, 1, "INSERT INTO Items (Name, Qty) VALUES ('nut', 7)"));
    CHECK(!run(query, 1, "INSERT INTO Nowhere (A) VALUES (1)")); /* rejected quietly */

    /* Walking a result with Getstring and Next is what examples/embedding/embed.c
     * does; here the numbers through the C view. */
    {
        OrvBstr qtyField = OrvBstrFromUtf8("Qty");
        int32_t qty = 0;
        CHECK(run(query, 0, "SELECT Qty FROM Items WHERE Name = 'nut'"));
        CHECK(query->lpVtbl->GetInteger(query, qtyField, &qty) == ORV_S_OK);
        CHECK(qty == 7);
        OrvBstrFree(qtyField);
    }

    /* A failing operation returns a failure status and leaves its message. */
    {
        OrvBstr missing = OrvBstrFromUtf8("Missing");
        int32_t value = 0;
        CHECK(run(query, 0, "SELECT Qty FROM Items"));
        CHECK(ORV_FAILED(query->lpVtbl->GetInteger(query, missing, &value)));
        OrvBstr message = OrvGetLastErrorMessage();
        CHECK(message != NULL && strstr(take(message, buffer, sizeof buffer), "Missing"));
        OrvBstrFree(missing);
    }

    /* The query object also answers as a record cursor. */
    {
        void* record = NULL;
        CHECK(query->lpVtbl->QueryInterface(query, &ORV_IID_iRecordDatabase, &record) == ORV_S_OK);
        if (record) {
            ((OrvIRecordDatabase*)record)->lpVtbl->Release((OrvIRecordDatabase*)record);
        }
    }
    query->lpVtbl->Release(query);
    CHECK(db->lpVtbl->PopQuery(db) == ORV_S_OK);
}

/* LineFeed is the example's (examples/embedding/embed.c). */
static void checkHelpers(void) {
    char buffer[128];
    OrvHostString result = NULL;
    OrvHostString text = OrvHostStringFromUtf8("Prix");
    {
        OrvHostString zero = OrvHostStringFromUtf8("0");
        CHECK(DecodeValueSQL(text, zero, text, &result) == ORV_S_OK);
        CHECK(strcmp(hostText(result, buffer, sizeof buffer), "IIF(Prix IS NULL,0,Prix) AS Prix") ==
              0);
        OrvHostStringRelease(zero);
        OrvHostStringRelease(result);
    }
    OrvHostStringRelease(text);

    CastHex(NULL, &result);
    CHECK(strcmp(hostText(result, buffer, sizeof buffer), "0x0") == 0);
    OrvHostStringRelease(result);
    CHECK(Backup(NULL) == ORV_E_NOTIMPL);
}

static int writeSettings(const char* settings, const char* database) {
    FILE* file = fopen(settings, "w");
    if (!file) {
        return 0;
    }
    fprintf(file, "[CONNEXIONCLIENT]\nname=client\npath=%s\nopen=true\n", database);
    return fclose(file) == 0;
}

int main(int argc, char** argv) {
    char buffer[128];
    if (argc != 3) {
        fprintf(stderr, "usage: %s DATABASE SETTINGS\n", argv[0]);
        return 2;
    }
    if (!writeSettings(argv[2], argv[1])) {
        fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }

    OrvHostString settings = OrvHostStringFromUtf8(argv[2]);
    OrvHostString alias = OrvHostStringFromUtf8("CLIENT");
    OrvHostString wrongAlias = OrvHostStringFromUtf8("NOSUCHSECTION");
    OrvIDatabase* db = NULL;
    CHECK(OpenDatabase(settings, alias, &db) == ORV_S_OK);
    if (db) {
        OrvWordBool opened = ORV_WFALSE;
        OrvBstr name = NULL;
        CHECK(db->lpVtbl->Get_Opened(db, &opened) == ORV_S_OK && opened == ORV_WTRUE);
        CHECK(db->lpVtbl->Get_dbname(db, &name) == ORV_S_OK);
        CHECK(strcmp(take(name, buffer, sizeof buffer), "CLIENT") == 0);
        checkQueries(db);
        {
            OrvBstr table = OrvBstrFromUtf8("items");
            OrvWordBool exists = ORV_WFALSE;
            CHECK(db->lpVtbl->TableExists(db, table, &exists) == ORV_S_OK && exists);
            OrvBstrFree(table);
        }
        CHECK(DisableAllconstaint(db) == ORV_S_OK);
        db->lpVtbl->Release(db);
    }
    /* A section that is not there names "UNDEFINED" with no PATH: no database. */
    db = NULL;
    CHECK(OpenDatabase(settings, wrongAlias, &db) == ORV_S_FALSE && db == NULL);

    checkHelpers();
    OrvHostStringRelease(settings);
    OrvHostStringRelease(alias);
    OrvHostStringRelease(wrongAlias);
    if (failures) {
        fprintf(stderr, "%d check(s) failed\n", failures);
    }
    return failures ? 1 : 0;
}

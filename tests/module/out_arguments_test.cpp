// Out arguments that hand out a string or an object are written, never read:
// a result on success and NULL on failure, whatever garbage they held.
#include <gmock/gmock.h>
#include <orvdb/host.h>

#include <cstdint>
#include <functional>

#include "module_test_support.hpp"

namespace orvdb::module_test {
namespace {

enum class Kind { wide, hostString, object };

struct Cursors {
    iDatabase* db;
    iQueryDatabase* query;  // on a row of Items
    iTableDatabase* table;  // on table Items
};

struct OutCase {
    const char* operation;
    Kind kind;
    bool succeeds;
    std::function<OrvHResult(const Cursors&, void** out)> call;
};

template <class T>
T** as(void** out) {
    return reinterpret_cast<T**>(out);
}

const OutCase kCases[] = {
    {"Get_ActiveQuery", Kind::object, true,
     [](const Cursors& c, void** out) { return c.db->Get_ActiveQuery(as<iQueryDatabase>(out)); }},
    {"Get_ActiveTable", Kind::object, true,
     [](const Cursors& c, void** out) { return c.db->Get_ActiveTable(as<iTableDatabase>(out)); }},
    {"GetVersion", Kind::wide, true,
     [](const Cursors& c, void** out) { return c.db->GetVersion(as<char16_t>(out)); }},
    {"Get_dbname", Kind::wide, true,
     [](const Cursors& c, void** out) { return c.db->Get_dbname(as<char16_t>(out)); }},
    {"Get_FieldTypeText", Kind::wide, true,
     [](const Cursors& c, void** out) {
         return c.db->Get_FieldTypeText(2, 50, as<char16_t>(out));
     }},
    {"Get_AlterColumnText", Kind::wide, true,
     [](const Cursors& c, void** out) { return c.db->Get_AlterColumnText(1, as<char16_t>(out)); }},
    {"Get_SortOrderText", Kind::wide, true,
     [](const Cursors& c, void** out) { return c.db->Get_SortOrderText(1, as<char16_t>(out)); }},
    {"Get_FieldName", Kind::wide, true,
     [](const Cursors& c, void** out) { return c.query->Get_FieldName(0, as<char16_t>(out)); }},
    {"Get_FieldName past the last field", Kind::wide, false,
     [](const Cursors& c, void** out) { return c.query->Get_FieldName(9, as<char16_t>(out)); }},
    {"Getstring", Kind::wide, true,
     [](const Cursors& c, void** out) {
         return c.query->Getstring(W("Name").get(), as<char16_t>(out));
     }},
    {"GetFieldStructure past the last field", Kind::wide, false,
     [](const Cursors& c, void** out) {
         OrvBstr typeWord = reinterpret_cast<OrvBstr>(static_cast<uintptr_t>(0xDEADBEEF));
         OrvHResult status = c.query->GetFieldStructure(9, as<char16_t>(out), &typeWord);
         EXPECT_EQ(typeWord, nullptr);
         return status;
     }},
    {"GetFieldInternalTypeStructure past the last field", Kind::wide, false,
     [](const Cursors& c, void** out) {
         int32_t code = 0;
         int32_t size = 0;
         return c.query->GetFieldInternalTypeStructure(9, as<char16_t>(out), &code, &size);
     }},
    {"GetSerializableWithCreate of an unknown field", Kind::object, false,
     [](const Cursors& c, void** out) {
         return c.query->GetSerializableWithCreate(W("Nowhere").get(), as<iSerializable>(out));
     }},
    {"Get_Tablename", Kind::wide, true,
     [](const Cursors& c, void** out) { return c.table->Get_Tablename(as<char16_t>(out)); }},
    {"Get_IdRow", Kind::wide, true,
     [](const Cursors& c, void** out) { return c.table->Get_IdRow(as<char16_t>(out)); }},
    {"QueryInterface of an unknown interface", Kind::object, false,
     [](const Cursors& c, void** out) { return c.db->QueryInterface(IFileService::iid, out); }},
    {"Get_FillingDatabase of an absent provider", Kind::object, true,
     [](const Cursors&, void** out) {
         return Get_FillingDatabase(as<OrvIDatabase>(out), W("Absent").get());
     }},
    {"OrvCreateFileService", Kind::object, true,
     [](const Cursors&, void** out) { return OrvCreateFileService(as<OrvIFileService>(out)); }},
    {"OrvGetRegistryEntry", Kind::wide, true,
     [](const Cursors&, void** out) {
         return OrvGetRegistryEntry(ORV_REGISTRY_PROVIDER_NAME, as<char16_t>(out));
     }},
    {"DecodeValueSQL", Kind::hostString, true,
     [](const Cursors&, void** out) {
         return DecodeValueSQL(H("Prix").get(), H("0").get(), H("Prix").get(), as<char16_t>(out));
     }},
    {"CastHex", Kind::hostString, true,
     [](const Cursors&, void** out) {
         CastHex(H("FF").get(), as<char16_t>(out));
         return ORV_S_OK;
     }},
};

class OutArgumentsTest : public ModuleTest {};

TEST_F(OutArgumentsTest, GarbageInAnOutArgumentIsNeitherReadNorReleased) {
    const std::string file = dir.file("out.mdb");
    createDatabaseFile(file);
    setRegistryEntry(ORV_REGISTRY_DATA_ROOT, dir.folder());
    setRegistryEntry(ORV_REGISTRY_PROVIDER_NAME, "Acme");
    ::testing::internal::CaptureStderr();
    Database db = Database::openFile(file);
    db.execute("CREATE TABLE Items (Id COUNTER PRIMARY KEY, Name VARCHAR(20))");
    db.execute("INSERT INTO Items (Name) VALUES ('bolt')");
    QueryScope query(db);
    ASSERT_TRUE(query->select("SELECT Id, Name FROM Items"));
    TableScope table(db);
    table->open("Items");
    const Cursors cursors{db.get(), query->get(), table->get()};

    void* const garbage = reinterpret_cast<void*>(static_cast<uintptr_t>(0xDEADBEEF));
    for (const OutCase& c : kCases) {
        void* out = garbage;
        const OrvHResult status = c.call(cursors, &out);
        EXPECT_EQ(ORV_SUCCEEDED(status), c.succeeds) << c.operation << ": " << lastErrorMessage();
        EXPECT_NE(out, garbage) << c.operation;
        if (!c.succeeds) {
            EXPECT_EQ(out, nullptr) << c.operation;
        }
        if (out == garbage || out == nullptr) {
            continue;
        }
        switch (c.kind) {
            case Kind::wide:
                OrvBstrFree(static_cast<OrvBstr>(out));
                break;
            case Kind::hostString:
                OrvHostStringRelease(static_cast<OrvHostString>(out));
                break;
            case Kind::object:
                static_cast<IInterface*>(out)->Release();
                break;
        }
    }
    ::testing::internal::GetCapturedStderr();
}

}  // namespace
}  // namespace orvdb::module_test

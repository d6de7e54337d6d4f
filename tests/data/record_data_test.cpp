// Typed field access shared by both cursors: colours, numbers, booleans,
// dates, field descriptions, blobs and serialised host objects.
#include <gmock/gmock.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "../support/temp_dir.hpp"
#include "data/serialized_objects.hpp"
#include "data_test_support.hpp"

namespace orvdb::data {
namespace {

using testing::DataTest;
using ::testing::HasSubstr;
using testing::W;

struct RecordDataTest : DataTest {
    void SetUp() override {
        DataTest::SetUp();
        db = openDatabase();
        catalog(*db.get()).createTable(
            "Things",
            {testing::autoNumber("Id"), testing::column("Color", engine::JetType::Text, 20),
             testing::column("Ratio", engine::JetType::Double),
             testing::column("Done", engine::JetType::Boolean),
             testing::column("When", engine::JetType::DateTime),
             testing::column("Data", engine::JetType::OLE),
             testing::column("Money", engine::JetType::Currency),
             testing::column("Tiny", engine::JetType::Byte)},
            {testing::primaryKey("Id")});
        catalog(*db.get()).createTable(
            "Refs",
            {testing::autoNumber("Ref"), testing::column("Label", engine::JetType::Text, 30),
             testing::column("Notes", engine::JetType::Memo),
             testing::column("Qty", engine::JetType::Integer)},
            {testing::primaryKey("Ref")});
        table = testing::pushTable(*db.get());
        ASSERT_EQ(table->Set_Tablename(W("Things").get()), ORV_S_OK);
        ASSERT_EQ(table->Set_IdRow(W("0").get()), ORV_S_OK);
    }
    // Posts the row, then re-reads it from the store.
    void postAndReopen() {
        ASSERT_EQ(table->Post(), ORV_S_OK);
        reopen();
    }
    void reopen() {
        ASSERT_EQ(table->Set_Tablename(W("Things").get()), ORV_S_OK);
        ASSERT_EQ(table->Edit(), ORV_S_OK);
    }
    ComPtr<torvc_Database> db;
    ComPtr<iTableDatabase> table;
};

// A colour is stored as its nine-digit text (field_codes_test's) and is
// zero for a missing field; a float is stored widened, not re-rounded.
TEST_F(RecordDataTest, ColoursNumbersBooleansAndDates) {
    int32_t color = 1 | 22 << 8 | 255 << 16;
    ASSERT_EQ(table->SetColor(W("Color").get(), color), ORV_S_OK);
    ASSERT_EQ(table->SetDouble(W("Ratio").get(), 0.1), ORV_S_OK);
    ASSERT_EQ(table->SetBoolean(W("Done").get(), 1), ORV_S_OK) << "any non-zero is true";
    ASSERT_EQ(table->SetDateTime(W("When").get(), 45000.25), ORV_S_OK);
    ASSERT_NO_FATAL_FAILURE(postAndReopen());
    EXPECT_EQ(testing::getString(*table.get(), "Color"), "001022255");
    int32_t read = -1;
    ASSERT_EQ(table->GetColor(W("Color").get(), &read), ORV_S_OK);
    EXPECT_EQ(read, color);
    ASSERT_EQ(table->GetColor(W("NoSuchField").get(), &read), ORV_S_OK);
    EXPECT_EQ(read, 0);
    float single = 0;
    ASSERT_EQ(table->GetFloat(W("Ratio").get(), &single), ORV_S_OK);
    EXPECT_EQ(single, 0.1f);
    double full = 0;
    ASSERT_EQ(table->GetDouble(W("Ratio").get(), &full), ORV_S_OK);
    EXPECT_EQ(full, 0.1);
    EXPECT_EQ(table->GetBoolean(W("Done").get()), ORV_WTRUE);
    EXPECT_DOUBLE_EQ(table->GetDateTime(W("When").get()), 45000.25);
    ASSERT_EQ(table->SetFloat(W("Ratio").get(), 0.1f), ORV_S_OK);
    ASSERT_NO_FATAL_FAILURE(postAndReopen());
    ASSERT_EQ(table->GetDouble(W("Ratio").get(), &full), ORV_S_OK);
    EXPECT_EQ(full, static_cast<double>(0.1f)) << "stored widened, not re-rounded";
}

TEST_F(RecordDataTest, UnknownFieldsFailButGetstringReadsEmpty) {
    double value = 0;
    EXPECT_TRUE(ORV_FAILED(table->GetDouble(W("Nope").get(), &value)));
    EXPECT_THAT(host::lastErrorMessage(), HasSubstr("Nope"));
    EXPECT_TRUE(ORV_FAILED(table->SetInteger(W("Nope").get(), 1)));
    EXPECT_THROW(table->GetBoolean(W("Nope").get()), std::exception) << "direct operation";
    EXPECT_EQ(testing::getString(*table.get(), "Nope"), "");
}

// Each column's name, type word, kind code and size; a kind the host has no
// code for fails with the host's message but still has its (empty) word.
TEST_F(RecordDataTest, FieldDescriptionsOfATable) {
    const struct {
        const char* table;
        int32_t index;
        const char* name;
        const char* word;
        int32_t kind;  // -1: no code
        int32_t size;
    } cases[] = {
        {"Refs", 0, "Ref", "LONG", 0, 4},    {"Refs", 1, "Label", "VARCHAR (30)", 2, 31},
        {"Refs", 2, "Notes", "MEMO", 10, 0}, {"Refs", 3, "Qty", "SHORT", 6, 2},
        {"Things", 3, "Done", "", 13, 0},    {"Things", 4, "When", "", 12, 8},
        {"Things", 6, "Money", "", -1, 0},   {"Things", 7, "Tiny", "", 6, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(table->Set_Tablename(W(c.table).get()), ORV_S_OK);
        OrvBstr name = nullptr;
        OrvBstr word = nullptr;
        ASSERT_EQ(table->GetFieldStructure(c.index, &name, &word), ORV_S_OK);
        EXPECT_EQ(testing::take(name), c.name);
        EXPECT_EQ(testing::take(word), c.word);
        int32_t kind = -1;
        int32_t size = -1;
        const OrvHResult status =
            table->GetFieldInternalTypeStructure(c.index, &name, &kind, &size);
        if (c.kind < 0) {
            EXPECT_TRUE(ORV_FAILED(status));
            EXPECT_EQ(host::lastErrorMessage(), "Error Ado Database Unknown FieldType[Unknown]");
            continue;
        }
        ASSERT_EQ(status, ORV_S_OK);
        EXPECT_EQ(testing::take(name), c.name);
        EXPECT_EQ(kind, c.kind);
        EXPECT_EQ(size, c.size);
    }
    int32_t count = 0;
    ASSERT_EQ(table->FieldCount(&count), ORV_S_OK);
    EXPECT_EQ(count, 8);
    OrvBstr name = nullptr;
    EXPECT_TRUE(ORV_FAILED(table->Get_FieldName(8, &name)));
}

// A host object whose content is one text, written in two pieces.
class Note : public host::TInterfacedObjectEx<iSerializable> {
public:
    explicit Note(std::string text = {}, bool writesNothing = false)
        : text(std::move(text)), writesNothing_(writesNothing) {}
    OrvHResult WriteObject(IWriter* writer) override {
        if (writesNothing_) {
            return ORV_S_OK;
        }
        auto length = static_cast<int32_t>(text.size());
        OrvHResult status = writer->Write(&length, sizeof length);
        if (ORV_FAILED(status)) {
            return status;
        }
        return writer->Write(text.data(), length);
    }
    OrvHResult ReadObject(IReader* reader) override {
        int32_t length = 0;
        OrvHResult status = reader->Read(&length, sizeof length);
        if (ORV_FAILED(status)) {
            return status;
        }
        std::string read(static_cast<size_t>(length), '\0');
        status = reader->Read(read.data(), length);
        if (ORV_SUCCEEDED(status)) {
            text = read;
        }
        return status;
    }
    std::string text;

private:
    bool writesNothing_;
};

class NoteFactory : public host::ObjectFactory {
public:
    ComPtr<IInterface> createObject(std::string_view name) override {
        names.emplace_back(name);
        if (name != "THINGS_DATA") {
            return {};
        }
        ComPtr<Note> note(new Note);
        return note.as<IInterface>();
    }
    std::vector<std::string> names;
};

// An object that then writes nothing leaves the blob as the first wrote it;
// a blob that is not an object leaves the object as it was, and succeeds.
TEST_F(RecordDataTest, SerialisableObjectRoundTripAndBrokenBlobs) {
    ComPtr<Note> written(new Note(std::string(600, 'n') + "é"));
    ASSERT_EQ(table->SetSerializable(W("Data").get(), written.get()), ORV_S_OK);
    ComPtr<Note> silent(new Note("ignored", true));
    ASSERT_EQ(table->SetSerializable(W("Data").get(), silent.get()), ORV_S_OK);
    ASSERT_EQ(table->Setstring(W("Color").get(), W("x").get()), ORV_S_OK);
    ASSERT_NO_FATAL_FAILURE(postAndReopen());
    ComPtr<Note> read(new Note);
    ASSERT_EQ(table->GetSerializable(W("Data").get(), read.get()), ORV_S_OK);
    EXPECT_EQ(read->text, written->text);
    EXPECT_EQ(table->GetSerializable(W("Color").get(), read.get()), ORV_S_OK);
    EXPECT_EQ(read->text, written->text);
    EXPECT_EQ(table->SetSerializable(W("Nope").get(), read.get()), ORV_S_OK)
        << "a missing field is swallowed too";
}

TEST_F(RecordDataTest, ObjectsWithCreateComeBackThroughTheHostFactory) {
    auto factory = std::make_shared<NoteFactory>();
    host::HostServices services;
    services.objectFactory = factory;
    host::installHostServices(std::move(services));

    ASSERT_NO_FATAL_FAILURE(postAndReopen());
    iSerializable* none = reinterpret_cast<iSerializable*>(1);
    ASSERT_EQ(table->GetSerializableWithCreate(W("Data").get(), &none), ORV_S_OK);
    EXPECT_EQ(none, nullptr) << "an empty blob gives no object";

    ComPtr<Note> written(new Note("created again"));
    ASSERT_EQ(table->SetSerializableWithCreate(W("Data").get(), written.get()), ORV_S_OK);
    ASSERT_NO_FATAL_FAILURE(postAndReopen());
    iSerializable* created = nullptr;
    ASSERT_EQ(table->GetSerializableWithCreate(W("Data").get(), &created), ORV_S_OK);
    ComPtr<iSerializable> owner = ComPtr<iSerializable>::adopt(created);
    ASSERT_TRUE(owner);
    EXPECT_EQ(static_cast<Note*>(owner.get())->text, "created again");
    EXPECT_EQ(factory->names, (std::vector<std::string>{"THINGS_DATA"}));

    // None is stored as such and read back as none.
    ASSERT_EQ(table->SetSerializableWithCreate(W("Data").get(), nullptr), ORV_S_OK);
    ASSERT_NO_FATAL_FAILURE(postAndReopen());
    ASSERT_EQ(table->GetSerializableWithCreate(W("Data").get(), &created), ORV_S_OK);
    EXPECT_EQ(created, nullptr);
}

// The object is named by table and field, upper-cased; one unknown to the
// host fails with its name.
TEST(CreationKeyTest, NamesTheObjectByTableAndField) {
    EXPECT_EQ(creationKeyFor("Refs", "Label"), "REFS_LABEL");
    EXPECT_EQ(creationKeyFor("", "Data"), "DATA");
    EXPECT_EQ(creationKeyFor("Donn\u00e9es", "x"), "DONN\u00c9ES_X");
    ComPtr<Note> written(new Note("x"));
    std::vector<uint8_t> bytes = serializeWithCreate(written.get(), "REFS_LABEL");
    try {
        deserializeWithCreate(bytes);  // the default factory knows no objects
        FAIL() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_THAT(e.what(), HasSubstr("REFS_LABEL"));
    }
    EXPECT_THROW(serializeWithCreate(written.get(), ""), std::invalid_argument);
}

// Sets TEMP for the test's length.
struct TempVariable {
    explicit TempVariable(const std::string& value) {
        if (const char* old = std::getenv("TEMP")) {
            previous = old;
        }
        ::setenv("TEMP", value.c_str(), 1);
    }
    ~TempVariable() {
        if (previous) {
            ::setenv("TEMP", previous->c_str(), 1);
        } else {
            ::unsetenv("TEMP");
        }
    }
    std::optional<std::string> previous;
};

// FillStream writes the blob to orv_blob.blob in TEMP (with or without a
// trailing separator); an empty blob leaves the older file. A missing file
// stores nothing, without even looking at the field.
TEST_F(RecordDataTest, FillStreamWritesTheBlobToTheTempFolder) {
    TempVariable temp(dir.path().string() + "/");
    auto blobFile = dir.path() / "orv_blob.blob";
    std::ofstream(blobFile, std::ios::binary) << "older";
    ASSERT_NO_FATAL_FAILURE(postAndReopen());
    ASSERT_EQ(table->FillStream(W("Data").get()), ORV_S_OK);
    EXPECT_EQ(test::readFile(blobFile), "older");

    ::setenv("TEMP", dir.path().string().c_str(), 1);
    std::filesystem::path source = dir.file("picture.bin");
    std::ofstream(source, std::ios::binary) << std::string("\x89PNG\0\x01", 6);
    ASSERT_EQ(table->SaveFileInBlobField(W(source.string()).get(), W("Data").get()), ORV_S_OK);
    for (const char* field : {"Data", "Nope"}) {
        ASSERT_EQ(table->SaveFileInBlobField(W(dir.file("none.bin")).get(), W(field).get()),
                  ORV_S_OK);
    }
    reopen();
    ASSERT_EQ(table->FillStream(W("Data").get()), ORV_S_OK);
    EXPECT_EQ(test::readFile(blobFile), std::string("\x89PNG\0\x01", 6));
    EXPECT_TRUE(ORV_FAILED(table->FillStream(W("Nope").get())));
}

}  // namespace
}  // namespace orvdb::data

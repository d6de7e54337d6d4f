#include "merge_test_support.hpp"

#include "../support/temp_dir.hpp"

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "data/database_factory.hpp"
#include "host/boundary_strings.hpp"
#include "host/host_services.hpp"
#include "host/utf16.hpp"
#include "merge/kinds_database_container.hpp"
#include "merge/merge_access_database.hpp"
#include "merge/merge_calls.hpp"

namespace orvdb::merge_test {

namespace fs = std::filesystem;

OrvHResult Picture::WriteObject(IWriter* writer) {
    int32_t size = static_cast<int32_t>(bytes_.size());
    OrvHResult status = writer->Write(&size, sizeof size);
    if (status == ORV_S_OK && size > 0) {
        status = writer->Write(bytes_.data(), size);
    }
    return status;
}

OrvHResult Picture::ReadObject(IReader* reader) {
    int32_t size = 0;
    OrvHResult status = reader->Read(&size, sizeof size);
    if (status != ORV_S_OK || size < 0) {
        return ORV_E_FAIL;
    }
    bytes_.assign(static_cast<size_t>(size), '\0');
    return size > 0 ? reader->Read(bytes_.data(), size) : ORV_S_OK;
}

namespace {

// A business object of the table Options: its Ref column is an identifier
// only the object knows how to shift.
class OptionObject : public host::TInterfacedObjectEx<IDbObject, IIdOffset> {
public:
    explicit OptionObject(bool failLoad) : failLoad_(failLoad) {}

    OrvHResult Load(int32_t id, iMultiDatabase* container, OrvBstr databaseName) override {
        return host::guarded([&] {
            if (failLoad_) {
                throw std::runtime_error("Options object " + std::to_string(id) +
                                         " cannot be loaded");
            }
            id_ = id;
            container_ = ComPtr<iMultiDatabase>(container);
            name_ = host::toUtf8(host::bstrView(databaseName));
            ComPtr<iDatabase> db = merge::useDatabase(*container_, name_);
            merge::QueryCalls query = merge::pushQuery(*db);
            query.open("SELECT Ref FROM Options WHERE ID=" + std::to_string(id));
            ref_ = query.integer("Ref");
            merge::popQuery(*db);
        });
    }
    OrvHResult Validate(OrvWordBool* valid) override {
        *valid = ORV_WTRUE;
        return ORV_S_OK;
    }
    OrvHResult Save() override {
        return host::guarded([&] {
            ComPtr<iDatabase> db = merge::useDatabase(*container_, name_);
            merge::QueryCalls query = merge::pushQuery(*db);
            query.setType(merge::kActionStatement);
            query.open("UPDATE Options SET Ref=" + std::to_string(ref_) +
                       " WHERE ID=" + std::to_string(id_));
            merge::popQuery(*db);
        });
    }
    OrvHResult Get_ID(int32_t* id) override {
        *id = id_;
        return ORV_S_OK;
    }
    OrvHResult OffsetIds(int32_t offset) override {
        ref_ += offset;
        return ORV_S_OK;
    }

private:
    bool failLoad_;
    int32_t id_ = 0;
    int32_t ref_ = 0;
    std::string name_;
    ComPtr<iMultiDatabase> container_;
};

}  // namespace

ComPtr<IInterface> TestObjectFactory::createObject(std::string_view upperName) {
    if (upperName == "ARTICLE_PICTURE") {
        return ComPtr<IInterface>(static_cast<iSerializable*>(new Picture()));
    }
    for (const std::string& table : businessTables) {
        if (upperName == table) {
            return ComPtr<IInterface>(static_cast<IDbObject*>(new OptionObject(failLoad)));
        }
    }
    return {};
}

void MergeTest::SetUp() {
    SuiteTest::SetUp();
    temp = root + "tmp/";
    fs::create_directories(temp);
    if (const char* value = std::getenv("TEMP")) {
        savedTemp = value;
    }
    ::setenv("TEMP", temp.c_str(), 1);
    ::unsetenv("temp");
}

void MergeTest::TearDown() {
    if (savedTemp) {
        ::setenv("TEMP", savedTemp->c_str(), 1);
    } else {
        ::unsetenv("TEMP");
    }
    SuiteTest::TearDown();
}

ComPtr<iDatabase> MergeTest::openDatabase(const std::string& path) {
    return data::createDatabase(u"TEST", u"0", u"TEST", true, u"", host::toUtf16(path), nullptr);
}

void MergeTest::answer(host::DialogAnswer value) {
    host::HostServices services;
    services.dialogs = std::make_shared<host::AutoAnswerDialogs>(value);
    host::installHostServices(std::move(services));
}

OrvHResult MergeTest::runMerge(const std::string& first, const std::string& second,
                               const std::string& output,
                               std::shared_ptr<host::ObjectFactory> factory) {
    merge::TMergeAccessDatabase engine;
    engine.InitParams(merge::makeKindsDatabaseContainer(host::databases()), first, second, output,
                      kOffset);
    engine.Set_CreateObject(std::move(factory));
    OrvHResult result = ORV_E_FAIL;
    try {
        result = engine.Merge();
    } catch (const std::exception& e) {
        failure = e.what();
    }
    log = engine.lastLog();
    rejected = engine.rejectedInserts().size();
    uncarried = engine.uncarriedBinaryValues();
    host::databases()->unregisterDatabase("GAMMISTE");
    host::databases()->unregisterDatabase("XLIB");
    return result;
}

void MergeTest::makeLibrary() {
    ComPtr<iDatabase> library = openDatabase(createDatabase("XLib.Mdb"));
    suite_test::execute(
        *library,
        {"CREATE TABLE MergeKey_Element (ID COUNTER PRIMARY KEY, FromTablename VARCHAR(64), "
         "FromFieldname VARCHAR(64), toTablename VARCHAR(64), ToFieldname VARCHAR(64), "
         "[condition] VARCHAR(255))",
         "CREATE TABLE MergeKey_toChange (ID COUNTER PRIMARY KEY, Tablename VARCHAR(64), "
         "Fieldname VARCHAR(64))",
         "CREATE TABLE MergeKey_Primary (ID COUNTER PRIMARY KEY, Tablename VARCHAR(64), "
         "Fieldname VARCHAR(64))",
         "CREATE TABLE MergeKey_Forbiden (ID COUNTER PRIMARY KEY, Tablename VARCHAR(64), "
         "Fieldname VARCHAR(64))",
         "CREATE TABLE MergeTarifQueries (ID COUNTER PRIMARY KEY, mtLog VARCHAR(100), "
         "mtQuery VARCHAR(255))",
         "CREATE TABLE FieldSize (ID COUNTER PRIMARY KEY, FieldName VARCHAR(64), "
         "Tablename VARCHAR(64))",
         "INSERT INTO MergeKey_Element (FromTablename, FromFieldname, toTablename, "
         "ToFieldname, [condition]) VALUES ('Article', 'FamilyID', 'Family', 'ID', '')",
         "INSERT INTO MergeKey_Element (FromTablename, FromFieldname, toTablename, "
         "ToFieldname, [condition]) VALUES ('article', 'linkedid', 'ARTICLE', 'Id', 'Kind=1')",
         "INSERT INTO MergeKey_toChange (Tablename, Fieldname) VALUES ('Colour', 'ID')",
         "INSERT INTO MergeKey_toChange (Tablename, Fieldname) VALUES ('Colour', 'Code')",
         "INSERT INTO MergeKey_toChange (Tablename, Fieldname) VALUES ('Options', 'ID')",
         "INSERT INTO MergeKey_toChange (Tablename, Fieldname) VALUES "
         "('Halvo_MachiningOperationParam', 'ID')",
         "INSERT INTO MergeKey_Primary (Tablename, Fieldname) VALUES ('Article', 'ID')",
         "INSERT INTO MergeKey_Forbiden (Tablename, Fieldname) VALUES ('Colour', 'Code')",
         "INSERT INTO MergeTarifQueries (mtLog, mtQuery) VALUES ('Remove tariffs', "
         "'DELETE FROM Tarif')",
         "INSERT INTO FieldSize (FieldName, Tablename) VALUES ('Reference', 'Article')"});
}

void MergeTest::makeProvider(const ProviderContent& content) {
    const std::string folder = "Providers/" + content.name + "/";
    ComPtr<iDatabase> db = openDatabase(createDatabase(folder + "XLibData.mdb"));
    suite_test::execute(
        *db,
        {"CREATE TABLE Family (ID COUNTER PRIMARY KEY, Name VARCHAR(30))",
         "CREATE TABLE Article (ID COUNTER PRIMARY KEY, FamilyID LONG, Reference VARCHAR(" +
             std::to_string(content.referenceWidth) +
             "), Price DOUBLE, Kind LONG, LinkedID LONG, Picture LONGBINARY, Note MEMO)",
         "ALTER TABLE Article ADD CONSTRAINT ArticleFamily FOREIGN KEY (FamilyID) "
         "REFERENCES Family (ID)",
         "CREATE TABLE Colour (ID LONG PRIMARY KEY, Code LONG, Name VARCHAR(30))",
         "CREATE TABLE Options (ID LONG PRIMARY KEY, Ref LONG, Label VARCHAR(30))",
         "CREATE TABLE Tarif (ID COUNTER PRIMARY KEY, Price DOUBLE)",
         "CREATE TABLE Halvo_MachiningOperationParam (ID COUNTER PRIMARY KEY, Name VARCHAR(10), "
         "ParamValue DOUBLE)"});
    suite_test::execute(*db, content.rows);
    if (!content.pictures.empty()) {
        ComPtr<iTableDatabase> table = merge::pushTable(*db);
        merge::openTable(*table, "Article");
        for (const auto& [id, bytes] : content.pictures) {
            merge::seekRow(*table, std::to_string(id));
            ComPtr<Picture> picture(new Picture(bytes));
            host::Bstr field(u"Picture");
            EXPECT_EQ(table->SetSerializable(field.get(), picture.get()), ORV_S_OK);
            EXPECT_EQ(table->Post(), ORV_S_OK);
        }
        merge::popTable(*db);
    }
    for (const auto& [relative, text] : content.files) {
        test::writeFile(root + folder + relative, text);
    }
}

void MergeTest::makeStandardProviders() {
    ProviderContent first;
    first.name = "P1";
    first.rows = {
        "INSERT INTO Family (ID, Name) VALUES (1, 'Wood')",
        "INSERT INTO Family (ID, Name) VALUES (2, 'Alu')",
        "INSERT INTO Article (ID, FamilyID, Reference, Price, Kind, LinkedID) "
        "VALUES (1, 1, 'A-1', 10.5, 1, 2)",
        "INSERT INTO Article (ID, FamilyID, Reference, Price, Kind, LinkedID) "
        "VALUES (2, 2, 'A-2', 20, 2, 0)",
        "INSERT INTO Colour (ID, Code, Name) VALUES (5, 42, 'White')",
        "INSERT INTO Options (ID, Ref, Label) VALUES (1, 7, 'first')",
        "INSERT INTO Tarif (ID, Price) VALUES (1, 3.5)",
        "INSERT INTO Halvo_MachiningOperationParam (ID, Name, ParamValue) VALUES (1, 'V', 9)"};
    first.pictures = {{1, "first picture"}};
    first.files = {{"Readme.txt", "first"},
                   {"X2D/a.x2d", "a"},
                   {"Shapes/Frames/DIRECTORIES.XML",
                    "<?xml version=\"1.0\"?>\n<DIRECTORIES><DIR NAME=\"Frames A\"/>"
                    "<DIR NAME=\"Common\"/></DIRECTORIES>\n"}};
    makeProvider(first);

    ProviderContent second;
    second.name = "P2";
    second.referenceWidth = 40;
    second.rows = {
        "INSERT INTO Family (ID, Name) VALUES (1, 'Steel')",
        "INSERT INTO Family (ID, Name) VALUES (3, 'PVC')",
        "INSERT INTO Article (ID, FamilyID, Reference, Price, Kind, LinkedID, Note) "
        "VALUES (1, 1, 'B-LONG-REFERENCE-0123456789', 7.25, 1, 3, 'it''s noted')",
        "INSERT INTO Article (ID, FamilyID, Reference, Price, Kind, LinkedID) "
        "VALUES (2, 3, 'B-2', 8, 2, 77)",
        "INSERT INTO Article (ID, FamilyID, Reference, Price, Kind, LinkedID) "
        "VALUES (3, 3, 'B-3', 0, 1, 0)",
        "INSERT INTO Colour (ID, Code, Name) VALUES (5, 42, 'Red')",
        "INSERT INTO Options (ID, Ref, Label) VALUES (1, 500, 'second')",
        "INSERT INTO Tarif (ID, Price) VALUES (1, 4.5)",
        "INSERT INTO Halvo_MachiningOperationParam (ID, Name, ParamValue) VALUES (1, 'V', 5)",
        "INSERT INTO Halvo_MachiningOperationParam (ID, Name, ParamValue) VALUES (2, 'W', 6)"};
    second.pictures = {{1, std::string("\x89PNG\r\n\x1a\n second picture", 24)}};
    second.files = {{"Readme.txt", "second"},
                    {"X2D/b.x2d", "b"},
                    {"Picture/p2.png", "png"},
                    {"Shapes/Frames/DIRECTORIES.XML",
                     "<?xml version=\"1.0\"?>\n<DIRECTORIES><DIR NAME=\"common\"/>"
                     "<DIR NAME=\"Frames B\"/></DIRECTORIES>\n"},
                    {"Libraries/Gates/DIRECTORIES.XML",
                     "<?xml version=\"1.0\"?>\n<DIRECTORIES><DIR NAME=\"Gate\"/></DIRECTORIES>\n"}};
    makeProvider(second);
}

std::map<std::string, std::string> MergeTest::snapshot(const std::string& folder) const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        files[fs::relative(entry.path(), folder).string()] =
            std::to_string(std::hash<std::string>{}(test::readFile(entry.path())));
    }
    return files;
}

}  // namespace orvdb::merge_test

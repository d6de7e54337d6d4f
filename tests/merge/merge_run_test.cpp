// The merge of two generated provider folders, end to end: rows and their
// shifted keys, relationships, binary values, folders, directory indexes,
// the log, the user's No at the common-files warning, and failures.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>

#include "host/boundary_strings.hpp"

#include "host/dialogs.hpp"
#include "host/host_services.hpp"
#include "merge/kinds_database_container.hpp"
#include "merge/merge_access_database.hpp"
#include "merge/merge_calls.hpp"
#include "merge_test_support.hpp"
#include "support/mdb_reader.hpp"
#include "support/shell_command.hpp"
#include "support/temp_dir.hpp"

namespace orvdb::merge_test {
namespace {

namespace fs = std::filesystem;
using merge::TMergeAccessDatabase;

// Rows of a select as "a|b" lines.
std::vector<std::string> rowsOf(iDatabase& db, const std::string& sql,
                                const std::vector<std::string>& fields) {
    std::vector<std::string> rows;
    merge::QueryCalls query = merge::pushQuery(db);
    for (query.open(sql); query.opened(); query.next()) {
        std::string line;
        for (const std::string& field : fields) {
            line += (line.empty() ? "" : "|") + query.text(field);
        }
        rows.push_back(line);
    }
    merge::popQuery(db);
    return rows;
}

class MergeRunTest : public MergeTest {
protected:
    void SetUp() override {
        MergeTest::SetUp();
        answer(host::DialogAnswer::yes);
        makeLibrary();
        makeStandardProviders();
    }

    void answer(host::DialogAnswer value) {
        host::HostServices services;
        services.dialogs = std::make_shared<host::AutoAnswerDialogs>(value);
        host::installHostServices(std::move(services));
    }

    // Runs the merge of P1 and P2 into OUT, then closes every database so
    // that what follows reads the files.
    OrvHResult merge(std::shared_ptr<host::ObjectFactory> factory = nullptr) {
        TMergeAccessDatabase engine;
        engine.InitParams(merge::makeKindsDatabaseContainer(host::databases()), "P1", "P2", "OUT",
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
        host::databases()->unregisterDatabase("GAMMISTE");
        host::databases()->unregisterDatabase("XLIB");
        return result;
    }

    std::vector<std::string> outputRows(const std::string& sql,
                                        const std::vector<std::string>& fields) {
        ComPtr<iDatabase> output = openDatabase(providerFile("OUT"));
        return rowsOf(*output, sql, fields);
    }

    std::vector<std::string> log;
    std::string failure;
    size_t rejected = 0;
};

struct RowCase {
    const char* sql;
    std::vector<std::string> fields;
    std::vector<std::string> expected;
};

TEST_F(MergeRunTest, EveryRowAndBinaryValueOfTheSecondInputArrivesWithItsKeysShifted) {
    auto factory = std::make_shared<TestObjectFactory>();
    factory->businessTables = {"OPTIONS"};
    ASSERT_EQ(merge(factory), ORV_S_OK) << failure;
    EXPECT_EQ(rejected, 0u);

    const RowCase cases[] = {
        // Referred field always shifted; the first input's rows unchanged.
        {"SELECT ID, Name FROM Family ORDER BY ID",
         {"ID", "Name"},
         {"1|Wood", "2|Alu", "1001|Steel", "1003|PVC"}},
        // FamilyID refers to Family without condition; LinkedID only where
        // Kind=1 holds for the row, and a value of 0 stays 0.
        {"SELECT ID, FamilyID, Reference, Kind, LinkedID FROM Article ORDER BY ID",
         {"ID", "FamilyID", "Reference", "Kind", "LinkedID"},
         {"1|1|A-1|1|2", "2|2|A-2|2|0", "1001|1001|B-LONG-REFERENCE-0123456789|1|1003",
          "1002|1003|B-2|2|77", "1003|1003|B-3|1|0"}},
        // Text with a quote, a floating-point value that is not a key.
        {"SELECT Note, Price FROM Article WHERE ID=1001", {"Note", "Price"}, {"it's noted|7.25"}},
        // Code is both to change and forbidden: never shifted.
        {"SELECT ID, Code, Name FROM Colour ORDER BY ID",
         {"ID", "Code", "Name"},
         {"5|42|White", "1005|42|Red"}},
        // Ref is shifted by the business object's re-save, ID by the export.
        {"SELECT ID, Ref, Label FROM Options ORDER BY ID",
         {"ID", "Ref", "Label"},
         {"1|7|first", "1001|1500|second"}},
        // The clean-up query emptied the staging tariff.
        {"SELECT ID FROM Tarif", {"ID"}, {"1"}},
        // V parameters are shifted in the staging database before the export.
        {"SELECT ID, Name, ParamValue FROM Halvo_MachiningOperationParam ORDER BY ID",
         {"ID", "Name", "ParamValue"},
         {"1|V|9", "1001|V|1005", "1002|W|6"}},
    };
    for (const RowCase& c : cases) {
        EXPECT_EQ(outputRows(c.sql, c.fields), c.expected) << c.sql;
    }

    // Binary values arrive through the host objects; the staging columns go.
    ComPtr<iDatabase> output = openDatabase(providerFile("OUT"));
    OrvWordBool exists = ORV_WTRUE;
    host::Bstr table(u"Article");
    host::Bstr column(u"Picture_BIN");
    ASSERT_EQ(output->FieldExists(table.get(), column.get(), &exists), ORV_S_OK);
    EXPECT_FALSE(exists);

    const std::pair<int, std::string> pictures[] = {
        {1, "first picture"},
        {1001, std::string("\x89PNG\r\n\x1a\n second picture", 24)},
        {1002, ""},  // the second input's row had none
    };
    merge::QueryCalls query = merge::pushQuery(*output);
    for (const auto& [id, bytes] : pictures) {
        ASSERT_TRUE(query.open("SELECT Picture FROM Article WHERE ID=" + std::to_string(id)));
        ComPtr<Picture> picture(new Picture());
        query.getSerializable("Picture", *picture);
        EXPECT_EQ(picture->bytes(), bytes) << "article " << id;
    }
    merge::popQuery(*output);
    for (const char* file : {"merge_halvo2", "merge_halvo4"}) {
        EXPECT_FALSE(fs::exists(temp + file)) << file << " is left behind";
    }
}

// One merge with the default host: relationships re-created and enforced,
// folders and directory indexes merged, the log of every step, and the
// output as mdbtools and the independent reader see it.
TEST_F(MergeRunTest, OneMergeKeepsKeysFoldersAndLogAndOthersReadTheOutput) {
    ASSERT_EQ(merge(), ORV_S_OK) << failure;
    {
        ComPtr<iDatabase> output = openDatabase(providerFile("OUT"));
        EXPECT_EQ(rowsOf(*output,
                         "SELECT szObject, szReferencedObject FROM MSysRelationships WHERE "
                         "szRelationship='ArticleFamily'",
                         {"szObject", "szReferencedObject"}),
                  std::vector<std::string>{"Article|Family"});
        merge::QueryCalls query = merge::pushQuery(*output);
        query.setType(merge::kActionStatement);
        EXPECT_FALSE(query.open("INSERT INTO Article (ID, FamilyID) VALUES (5000, 4242)"))
            << "a family that does not exist is refused";
        EXPECT_TRUE(query.open("INSERT INTO Article (ID, FamilyID) VALUES (5000, 1003)"));
        merge::popQuery(*output);
        // The script ran with the drops first and the additions last (its copy
        // in the temporary folder was written before they were known).
        auto position = [this](const std::string& line) {
            return std::find(log.begin(), log.end(), line) - log.begin();
        };
        EXPECT_LT(position("ALTER TABLE Article DROP CONSTRAINT ArticleFamily"),
                  position("-- IN 1"));
        EXPECT_GT(position("ALTER TABLE Article ADD CONSTRAINT ArticleFamily FOREIGN KEY "
                           "(FamilyID) REFERENCES Family(ID)"),
                  position("-- Table: Tarif"));
        EXPECT_LT(position("-- Table: Tarif"), static_cast<std::ptrdiff_t>(log.size()));
        const std::string script = test::readFile(temp + "mergedatabase.txt");
        EXPECT_NE(script.find("-- IN 1"), std::string::npos);
        EXPECT_EQ(script.find("DROP CONSTRAINT"), std::string::npos);
    }

    const std::string out = root + "Providers/OUT/";
    for (const char* file : {"X2D/a.x2d", "X2D/b.x2d", "Picture/p2.png", "XLibData.mdb"}) {
        EXPECT_TRUE(fs::exists(out + file)) << file;
    }
    // A common file keeps the first input's content.
    EXPECT_EQ(test::readFile(out + "Readme.txt"), "first");
    EXPECT_FALSE(fs::exists(root + "Providers/OUT_Temp"));

    pugi::xml_document frames;
    ASSERT_TRUE(frames.load_file((out + "Shapes/Frames/DIRECTORIES.XML").c_str()));
    std::vector<std::string> names;
    for (pugi::xml_node dir : frames.child("DIRECTORIES").children("DIR")) {
        names.push_back(dir.attribute("NAME").value());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Frames A", "Common", "Frames B"}));
    // An index only the second input has comes with its folder.
    EXPECT_NE(test::readFile(out + "Libraries/Gates/DIRECTORIES.XML").find("Gate"),
              std::string::npos);

    const std::string written = test::readFile(root + "Merge.Log");
    std::vector<std::string> fileLines;
    std::istringstream lines(written.substr(3));  // after the byte-order mark
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        fileLines.push_back(line);
    }
    EXPECT_EQ(fileLines, log);
    EXPECT_EQ(written.substr(0, 3), "\xEF\xBB\xBF");

    const std::vector<std::string> inOrder = {
        "Prepare merge",
        "Copy 1 in Output",
        "Copy 2 in Output temp",
        "------Start Tarif",
        "Remove tariffs",
        "DELETE FROM Tarif",
        "SUCCEED",
        "Query tarif complete",
        "Traitement des tailles de champs",
        "Récupérons la taille de tous les champs",
        "Table: Article, Field: Reference, Size: 3",
        "Get all relationship",
        "ALTER TABLE Article DROP CONSTRAINT ArticleFamily",
        "ALTER TABLE Article ALTER COLUMN Reference TEXT (27)",
        "-- Table: Article",
        "ALTER TABLE Article ADD COLUMN Picture_BIN LONG",
        "start import blob field",
        "Picture",
        "Copy Directory " + root + "Providers/OUT_Temp/X2D",
        "Congratulations, your merge is now functionnal...",
        "XML : " + root + "Providers/OUT/ " + root +
            "Providers/OUT_Temp/ Shapes/Frames/ DIRECTORIES.XML",
        "Remove temp directory",
    };
    size_t at = 0;
    for (const std::string& expected : inOrder) {
        auto found = std::find(log.begin() + static_cast<std::ptrdiff_t>(at), log.end(), expected);
        ASSERT_NE(found, log.end()) << "missing or out of order: " << expected;
        at = static_cast<size_t>(found - log.begin());
    }

    if (test_support::haveCommand("mdb-export")) {
        auto csv = test_support::runCommand(
            "mdb-export " + test_support::shellQuote(providerFile("OUT")) + " Article");
        ASSERT_TRUE(csv.has_value());
        EXPECT_NE(csv->find("B-LONG-REFERENCE-0123456789"), std::string::npos);
        EXPECT_NE(csv->find("1003"), std::string::npos);
    } else {
        ADD_FAILURE() << "mdbtools (mdb-export) is not installed";
    }
    std::string why = test_support::mdbReaderUnavailable();
    if (!why.empty()) {
        std::cout << "[ INFO ] mdb-reader skipped: " << why << "\n";
        return;
    }
    auto dump = test_support::mdbReaderDump(providerFile("OUT"));
    ASSERT_TRUE(dump.has_value());
    EXPECT_NE(dump->find("B-LONG-REFERENCE-0123456789"), std::string::npos) << *dump;
    EXPECT_NE(dump->find("Steel"), std::string::npos);
}

TEST_F(MergeRunTest, WithoutHostObjectsBinaryValuesAreCountedAsNotCarried) {
    TMergeAccessDatabase engine;
    engine.InitParams(merge::makeKindsDatabaseContainer(host::databases()), "P1", "P2", "OUT",
                      kOffset);
    ASSERT_EQ(engine.Merge(), ORV_S_OK);
    EXPECT_EQ(engine.uncarriedBinaryValues(), 1u);
    host::databases()->unregisterDatabase("GAMMISTE");
    EXPECT_EQ(outputRows("SELECT ID FROM Article WHERE Picture IS NULL ORDER BY ID", {"ID"}),
              (std::vector<std::string>{"2", "1001", "1002", "1003"}));
}

TEST_F(MergeRunTest, AnsweringNoAtTheCommonFilesWarningStopsBeforeAnyCopy) {
    answer(host::DialogAnswer::no);
    const auto first = snapshot(root + "Providers/P1");
    const auto second = snapshot(root + "Providers/P2");
    EXPECT_EQ(merge(), ORV_S_FALSE);
    EXPECT_FALSE(fs::exists(root + "Providers/OUT"));
    EXPECT_FALSE(fs::exists(root + "Providers/OUT_Temp"));
    EXPECT_EQ(snapshot(root + "Providers/P1"), first);
    EXPECT_EQ(snapshot(root + "Providers/P2"), second);
    EXPECT_EQ(log, std::vector<std::string>{"Prepare merge"});
    EXPECT_TRUE(fs::exists(root + "Merge.Log"));
}

struct FailureCase {
    const char* name;
    // Prepares the failure; returns whether the output folder may have been
    // written (then its database must be set aside).
    std::function<bool(const std::string& outputFolder, const std::string& firstDatabase,
                       TestObjectFactory& factory)>
        arrange;
};

TEST_F(MergeRunTest, AFailureLeavesTheInputsUntouchedAndNoOutputLookingComplete) {
    const FailureCase cases[] = {
        {"read-only output database",
         [](const std::string& outputFolder, const std::string& firstDatabase, TestObjectFactory&) {
             fs::create_directories(outputFolder);
             fs::copy_file(firstDatabase, outputFolder + "/XLibData.mdb");
             ::chmod((outputFolder + "/XLibData.mdb").c_str(), 0444);
             return false;
         }},
        {"a business object that cannot load",
         [](const std::string&, const std::string&, TestObjectFactory& factory) {
             factory.businessTables = {"OPTIONS"};
             factory.failLoad = true;
             return true;
         }},
    };
    const auto first = snapshot(root + "Providers/P1");
    const auto second = snapshot(root + "Providers/P2");
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(root + "Providers/OUT");
        fs::remove_all(root + "Providers/OUT_Temp");
        record->handedExceptions.clear();
        auto factory = std::make_shared<TestObjectFactory>();
        const bool written = c.arrange(root + "Providers/OUT", providerFile("P1"), *factory);
        const auto before = fs::exists(root + "Providers/OUT") ? snapshot(root + "Providers/OUT")
                                                               : decltype(first){};
        failure.clear();
        merge(factory);
        EXPECT_FALSE(failure.empty());
        EXPECT_EQ(log.back().rfind("Merge failed: ", 0) == 0 || written, true);
        EXPECT_EQ(snapshot(root + "Providers/P1"), first);
        EXPECT_EQ(snapshot(root + "Providers/P2"), second);
        if (written) {
            EXPECT_FALSE(fs::exists(providerFile("OUT")));
            EXPECT_TRUE(fs::exists(providerFile("OUT") + ".incomplete"));
        } else {
            EXPECT_EQ(snapshot(root + "Providers/OUT"), before) << "nothing may be copied";
            EXPECT_FALSE(record->messages.empty() && record->handedExceptions.empty())
                << "the host hears why the output cannot be used";
        }
        EXPECT_NE(test::readFile(root + "Merge.Log").find("Merge failed: "), std::string::npos);
    }
}

}  // namespace
}  // namespace orvdb::merge_test

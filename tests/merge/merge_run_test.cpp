// The merge of two generated provider folders, end to end, and its pieces
// (directory-index documents, the literals of its script).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <orvdb/exports.h>

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
#include "merge/directory_index_merge.hpp"
#include "merge/merge_calls.hpp"
#include "merge/table_export.hpp"
#include "merge_test_support.hpp"
#include "support/database_rows.hpp"
#include "support/mdb_reader.hpp"
#include "support/shell_command.hpp"
#include "support/temp_dir.hpp"

namespace orvdb::merge_test {
namespace {

namespace fs = std::filesystem;

// Records what the window was told.
class RecordingProgress : public host::ProgressWindow {
public:
    int shown = 0;
    int finished = 0;
    std::vector<std::string> captions;
    void show() override {
        ++shown;
        ProgressWindow::show();
    }
    void finish() override { ++finished; }

protected:
    void repaint() override { captions.push_back(bars()[0].caption + "|" + bars()[1].caption); }
};

class MergeRunTest : public MergeTest {
protected:
    void SetUp() override {
        MergeTest::SetUp();
        answer(host::DialogAnswer::yes);
        makeLibrary();
        makeStandardProviders();
    }
    OrvHResult merge(std::shared_ptr<host::ObjectFactory> factory = nullptr) {
        return runMerge("P1", "P2", "OUT", std::move(factory));
    }
    std::vector<std::string> outputRows(const std::string& sql) {
        return test_support::selectRows(providerFile("OUT"), sql);
    }
    // The MergeDatabase export on the default container, its window recorded.
    OrvHResult mergeExport(host::DialogAnswer answer, uint8_t showProgress) {
        host::HostServices services;
        services.dialogs = std::make_shared<host::AutoAnswerDialogs>(answer);
        services.progress = progress;
        host::installHostServices(std::move(services));
        host::Bstr first(u"P1");
        host::Bstr second(u"P2");
        host::Bstr output(u"OUT");
        OrvHResult status = MergeDatabase(nullptr, first.get(), second.get(), output.get(), 0,
                                          showProgress, nullptr, kOffset);
        host::databases()->unregisterDatabase("GAMMISTE");
        host::databases()->unregisterDatabase("XLIB");
        return status;
    }
    std::shared_ptr<RecordingProgress> progress = std::make_shared<RecordingProgress>();
};

TEST_F(MergeRunTest, EveryRowAndBinaryValueOfTheSecondInputArrivesWithItsKeysShifted) {
    auto factory = std::make_shared<TestObjectFactory>();
    factory->businessTables = {"OPTIONS"};
    ASSERT_EQ(merge(factory), ORV_S_OK) << failure;
    EXPECT_EQ(rejected, 0u);

    const test_support::RowCheck checks[] = {
        {"the referred field always shifted; the first input's rows unchanged",
         "SELECT ID, Name FROM Family ORDER BY ID",
         {"1|Wood", "2|Alu", "1001|Steel", "1003|PVC"}},
        {"FamilyID refers to Family without condition; LinkedID only where Kind=1 holds for the "
         "row, and a value of 0 stays 0",
         "SELECT ID, FamilyID, Reference, Kind, LinkedID FROM Article ORDER BY ID",
         {"1|1|A-1|1|2", "2|2|A-2|2|0", "1001|1001|B-LONG-REFERENCE-0123456789|1|1003",
          "1002|1003|B-2|2|77", "1003|1003|B-3|1|0"}},
        {"text with a quote, a floating-point value that is not a key",
         "SELECT Note, Price FROM Article WHERE ID=1001",
         {"it's noted|7.25"}},
        {"Code is both to change and forbidden: never shifted",
         "SELECT ID, Code, Name FROM Colour ORDER BY ID",
         {"5|42|White", "1005|42|Red"}},
        {"Ref shifted by the business object's re-save, ID by the export",
         "SELECT ID, Ref, Label FROM Options ORDER BY ID",
         {"1|7|first", "1001|1500|second"}},
        {"the clean-up query emptied the staging tariff", "SELECT ID FROM Tarif", {"1"}},
        {"V parameters shifted in the staging database before the export",
         "SELECT ID, Name, ParamValue FROM Halvo_MachiningOperationParam ORDER BY ID",
         {"1|V|9", "1001|V|1005", "1002|W|6"}},
    };
    for (const test_support::RowCheck& check : checks) {
        EXPECT_EQ(outputRows(check.sql), check.expected) << check.what;
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
        EXPECT_EQ(outputRows("SELECT szObject, szReferencedObject FROM MSysRelationships WHERE "
                             "szRelationship='ArticleFamily'"),
                  std::vector<std::string>{"Article|Family"});
        ComPtr<iDatabase> output = openDatabase(providerFile("OUT"));
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
    ASSERT_EQ(merge(), ORV_S_OK) << failure;
    EXPECT_EQ(uncarried, 1u);
    EXPECT_EQ(outputRows("SELECT ID FROM Article WHERE Picture IS NULL ORDER BY ID"),
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

TEST_F(MergeRunTest, ExportRunsOnTheDefaultContainerAndDrivesTheWindow) {
    ASSERT_EQ(mergeExport(host::DialogAnswer::yes, 1), ORV_S_OK);
    EXPECT_TRUE(fs::exists(providerFile("OUT")));
    EXPECT_EQ(progress->shown, 1);
    EXPECT_EQ(progress->finished, 1);
    EXPECT_NE(std::find(progress->captions.begin(), progress->captions.end(),
                        "Progression de la table en cours: Article|"
                        "Progression des champs de la table en cours"),
              progress->captions.end());
}

TEST_F(MergeRunTest, ExportWithoutProgressKeepsTheWindowsCaptionsAndNoStopsBeforeAnyCopy) {
    ASSERT_EQ(mergeExport(host::DialogAnswer::no, 0), ORV_S_OK);
    EXPECT_FALSE(fs::exists(root + "Providers/OUT"));
    EXPECT_EQ(progress->shown, 1);
    EXPECT_EQ(progress->finished, 1);
    EXPECT_EQ(progress->captions, std::vector<std::string>{"stTablename|stFieldname"});
}

// ---- directory-index documents, node by node ----

std::string merged(const std::string& output, const std::string& staging) {
    pugi::xml_document x;
    pugi::xml_document y;
    EXPECT_TRUE(x.load_string(output.c_str()));
    EXPECT_TRUE(y.load_string(staging.c_str()));
    merge::mergeNode(x.last_child(), y.last_child());
    std::ostringstream text;
    x.save(text, "", pugi::format_raw | pugi::format_no_declaration);
    return text.str();
}

struct NodeCase {
    const char* name;
    const char* output;
    const char* staging;
    const char* expected;
};

const NodeCase kNodeCases[] = {
    {"identical children stay as they are", "<R><D N=\"a\"/><D N=\"b\"/></R>",
     "<R><D N=\"b\"/><D N=\"a\"/></R>", "<R><D N=\"a\"/><D N=\"b\"/></R>"},
    {"names and values match without regard to case", "<R><D N=\"Common\"/></R>",
     "<r><d n=\"COMMON\"/><D N=\"New\"/></r>", "<R><D N=\"Common\"/><D N=\"New\"/></R>"},
    {"a different attribute count is another node", "<R><D N=\"a\"/></R>",
     "<R><D N=\"a\" P=\"x\"/></R>", "<R><D N=\"a\"/><D N=\"a\" P=\"x\"/></R>"},
    {"children of matched nodes merge recursively", "<R><G N=\"g\"><F>one</F></G></R>",
     "<R><G N=\"g\"><F>two</F><F>one</F></G></R>", "<R><G N=\"g\"><F>one</F><F>two</F></G></R>"},
    {"single texts that differ are different nodes", "<R><F>one</F></R>", "<R><F>ONE</F></R>",
     "<R><F>one</F></R>"},
    {"the last matching staging node is taken", "<R><D N=\"a\"><X/></D></R>",
     "<R><D N=\"a\"><Y/></D><D N=\"a\"><Z/></D></R>",
     "<R><D N=\"a\"><X/><Z/></D><D N=\"a\"><Y/></D></R>"},
};

TEST(NodeMerge, GivesTheExpectedDocument) {
    for (const NodeCase& node : kNodeCases) {
        EXPECT_EQ(merged(node.output, node.staging), node.expected) << node.name;
    }
}

class IndexFileTest : public MergeTest {};

TEST_F(IndexFileTest, AnIndexOnlyTheStagingFolderHasGoesToTheTemporaryFolder) {
    const std::string output = root + "Out/";
    const std::string staging = root + "Out_Temp/";
    test::writeFile(staging + "Libraries/Gates/DIRECTORIES.XML", "<D><G N=\"gate\"/></D>");
    merge::mergeDirectoryIndex(output, staging, "Libraries/Gates/", "DIRECTORIES.XML");
    EXPECT_FALSE(std::filesystem::exists(output + "Libraries/Gates/DIRECTORIES.XML"));
    pugi::xml_document written;
    ASSERT_TRUE(written.load_file((temp + "outputtemp.xml").c_str()));
    EXPECT_STREQ(written.child("D").child("G").attribute("N").value(), "gate");
}

TEST_F(IndexFileTest, AnIndexThatIsNotXmlIsReportedWithItsFileName) {
    const std::string output = root + "Out/";
    const std::string staging = root + "Out_Temp/";
    test::writeFile(output + "Shapes/Frames/DIRECTORIES.XML", "<D><G N=\"a\"/></D>");
    test::writeFile(staging + "Shapes/Frames/DIRECTORIES.XML", "<D><G N=");
    try {
        merge::mergeDirectoryIndex(output, staging, "Shapes/Frames/", "DIRECTORIES.XML");
        FAIL() << "a broken index was merged";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(staging + "Shapes/Frames/DIRECTORIES.XML"),
                  std::string::npos)
            << e.what();
    }
}

TEST(MergeLiterals, QuotesAreDoubledAndFloatsKeepTheirShortestForm) {
    EXPECT_EQ(merge::quoteText("it's 'x'"), "it''s ''x''");
    EXPECT_EQ(merge::quoteText("plain"), "plain");
    const std::pair<float, const char*> floats[] = {
        {2.5f, "10000002.5"}, {0.1f, "10000000.1"}, {7.0f, "10000007"}};
    for (const auto& [value, expected] : floats) {
        EXPECT_EQ(merge::shiftedFloatLiteral(value, 10000000), expected) << value;
    }
}

}  // namespace
}  // namespace orvdb::merge_test

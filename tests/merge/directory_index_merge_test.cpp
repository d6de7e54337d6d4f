// The merge of directory-index documents, node by node.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "merge/directory_index_merge.hpp"
#include "merge_test_support.hpp"

namespace orvdb::merge_test {
namespace {

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

class NodeMerge : public ::testing::TestWithParam<NodeCase> {};

TEST_P(NodeMerge, GivesTheExpectedDocument) {
    EXPECT_EQ(merged(GetParam().output, GetParam().staging), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, NodeMerge, ::testing::ValuesIn(kNodeCases), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
});

class IndexFileTest : public MergeTest {};

TEST_F(IndexFileTest, AnIndexOnlyTheStagingFolderHasGoesToTheTemporaryFolder) {
    const std::string output = root + "Out/";
    const std::string staging = root + "Out_Temp/";
    std::filesystem::create_directories(staging + "Libraries/Gates");
    std::ofstream(staging + "Libraries/Gates/DIRECTORIES.XML") << "<D><G N=\"gate\"/></D>";
    merge::mergeDirectoryIndex(output, staging, "Libraries/Gates/", "DIRECTORIES.XML");
    EXPECT_FALSE(std::filesystem::exists(output + "Libraries/Gates/DIRECTORIES.XML"));
    pugi::xml_document written;
    ASSERT_TRUE(written.load_file((temp + "outputtemp.xml").c_str()));
    EXPECT_STREQ(written.child("D").child("G").attribute("N").value(), "gate");
}

TEST_F(IndexFileTest, AnIndexThatIsNotXmlIsReportedWithItsFileName) {
    const std::string output = root + "Out/";
    const std::string staging = root + "Out_Temp/";
    for (const std::string& folder : {output, staging}) {
        std::filesystem::create_directories(folder + "Shapes/Frames");
    }
    std::ofstream(output + "Shapes/Frames/DIRECTORIES.XML") << "<D><G N=\"a\"/></D>";
    std::ofstream(staging + "Shapes/Frames/DIRECTORIES.XML") << "<D><G N=";
    try {
        merge::mergeDirectoryIndex(output, staging, "Shapes/Frames/", "DIRECTORIES.XML");
        FAIL() << "a broken index was merged";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(staging + "Shapes/Frames/DIRECTORIES.XML"),
                  std::string::npos)
            << e.what();
    }
}

}  // namespace
}  // namespace orvdb::merge_test

// Every statement the suite sends must parse; the ones it sends knowing Jet
// refuses them must fail with Jet's message.
#include "sql_test_support.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace orvdb::engine::sql {
namespace {

std::vector<std::string> readLines(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in) << "cannot read " << path;
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

const std::string kDir = std::string(ORVDB_SOURCE_DIR) + "/tests/sql/";

TEST(SuiteStatements, AllParse) {
    auto lines = readLines(kDir + "suite_statements.sql");
    ASSERT_GT(lines.size(), 300u);
    size_t parsed = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) {
            continue;
        }
        try {
            parseStatement(lines[i]);
            ++parsed;
        } catch (const SqlError& e) {
            ADD_FAILURE() << "line " << i + 1 << ": " << lines[i] << "\n  -> " << e.what();
        }
    }
    EXPECT_GT(parsed, 300u);
}

TEST(SuiteStatements, RejectedOnesFailAsInJet) {
    auto lines = readLines(kDir + "suite_rejected.txt");
    std::vector<std::pair<std::string, std::string>> cases;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty() || lines[i][0] == '#') {
            continue;
        }
        ASSERT_LT(i + 1, lines.size()) << "statement without message: " << lines[i];
        cases.emplace_back(lines[i], lines[i + 1]);
        ++i;
    }
    ASSERT_GE(cases.size(), 8u);
    for (const auto& [sql, message] : cases) {
        EXPECT_EQ(testing::errorOf([&] { parseStatement(sql); }), message) << sql;
    }
}

}  // namespace
}  // namespace orvdb::engine::sql

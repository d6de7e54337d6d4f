// The shared Access-made files (ORVDB_FIXTURES_DIR/jet4), and a test base
// that skips, saying where it looked, when they are absent.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace orvdb::test {

inline std::string jetFixture(const std::string& name) {
    return std::string(ORVDB_FIXTURES_DIR) + "/jet4/" + name;
}

struct JetFixtureTest : ::testing::Test {
    void SetUp() override {
        if (!std::filesystem::exists(jetFixture("northwind.mdb"))) {
            GTEST_SKIP() << "Jet fixtures not found under " << ORVDB_FIXTURES_DIR;
        }
    }
};

}  // namespace orvdb::test

// Table and column properties from MSysObjects.LvProp, checked against mdb-prop.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "base/names.hpp"
#include "jet/fixture_support.hpp"
#include "jet/read/jet_file.hpp"

namespace orvdb::jet {
namespace {

using testing::fixturePath;
using Block = std::map<std::string, std::string>;

// mdb-prop prints "name: <block>" and then "\t<property>: <value>" lines.
std::map<std::string, Block> parseMdbProp(const std::string& text) {
    std::map<std::string, Block> blocks;
    Block* current = nullptr;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("name: ", 0) == 0) {
            current = &blocks[line.substr(6)];
        } else if (current && !line.empty() && line[0] == '\t') {
            size_t colon = line.find(": ");
            if (colon != std::string::npos) {
                (*current)[line.substr(1, colon - 1)] = line.substr(colon + 2);
            }
        }
    }
    return blocks;
}

bool sameAsMdbProp(const Property& property, const std::string& theirs) {
    const Value& value = property.value;
    if (const bool* flag = std::get_if<bool>(&value)) {
        return theirs == (*flag ? "yes" : "no");
    }
    if (const int64_t* number = std::get_if<int64_t>(&value)) {
        return theirs == std::to_string(*number);
    }
    if (const double* number = std::get_if<double>(&value)) {
        return std::fabs(std::strtod(theirs.c_str(), nullptr) - *number) < 1e-6;
    }
    if (const std::string* text = std::get_if<std::string>(&value)) {
        return theirs == *text;
    }
    if (const Bytes* bytes = std::get_if<Bytes>(&value)) {
        if (theirs == "(binary data of length " + std::to_string(bytes->size()) + ")") {
            return true;
        }
        // mdb-prop shows 16-byte values as GUIDs (dropping one hyphen).
        if (bytes->size() == 16) {
            Guid guid;
            std::copy(bytes->begin(), bytes->end(), guid.bytes.begin());
            auto plain = [](std::string text) {
                text.erase(std::remove(text.begin(), text.end(), '-'), text.end());
                return text;
            };
            return plain(theirs) == plain(guid.toString());
        }
        return false;
    }
    return false;
}

using testing::EveryFixture;

TEST_P(EveryFixture, TablePropertiesAgreeWithMdbProp) {
    ORVDB_REQUIRE_COMMANDS("mdb-prop");
    JetFile file = open();
    for (const std::string& name : file.tableNames(true)) {
        // mdb-prop shows the first object of that name; forms and pages may
        // share a table's name.
        size_t namesakes = 0;
        for (const CatalogObject& object : file.catalog().objects()) {
            namesakes += base::sameName(object.name, name) ? 1 : 0;
        }
        if (namesakes != 1) {
            continue;
        }
        SCOPED_TRACE(name);
        auto output = testing::mdbtools("mdb-prop", path(), {name}, true);
        if (!output) {
            continue;  // mdb-prop fails on objects without properties
        }
        auto theirs = parseMdbProp(*output);
        ObjectProperties mine = file.tableProperties(name);
        auto compare = [&](const PropertyMap& map, const std::string& blockName) {
            ASSERT_EQ(theirs.count(blockName), 1u) << "mdb-prop has no block " << blockName;
            const Block& block = theirs[blockName];
            EXPECT_EQ(block.size(), map.properties.size()) << blockName;
            for (const Property& property : map.properties) {
                auto found = block.find(property.name);
                ASSERT_NE(found, block.end()) << blockName << "." << property.name;
                EXPECT_TRUE(sameAsMdbProp(property, found->second))
                    << blockName << "." << property.name << ": codec " << describe(property.value)
                    << ", mdb-prop '" << found->second << "'";
            }
        };
        if (!mine.object.properties.empty()) {
            compare(mine.object, mine.object.name.empty() ? "(none)" : mine.object.name);
        }
        for (const PropertyMap& column : mine.columns) {
            compare(column, column.name);
        }
    }
}

// Lookups by name (values are compared with mdb-prop above) and the database's own.
TEST(Properties, ColumnRulesOfNorthwind) {
    ORVDB_REQUIRE_FIXTURE(testing::kNorthwind);
    JetFile file = JetFile::open(fixturePath(testing::kNorthwind));
    ObjectProperties orders = file.tableProperties("Orders");
    ASSERT_NE(orders.column("Freight"), nullptr);
    EXPECT_EQ(orders.column("freight")->value("DefaultValue"), Value(std::string("0")));
    ObjectProperties customers = file.tableProperties("Customers");
    ASSERT_NE(customers.column("CustomerID"), nullptr);
    EXPECT_TRUE(isNull(customers.column("CustomerID")->value("NoSuchProperty")));
    EXPECT_EQ(customers.column("NoSuchColumn"), nullptr);

    ObjectProperties database = file.databaseProperties();
    EXPECT_EQ(database.object.value("AccessVersion"), Value(std::string("08.50")));
    EXPECT_EQ(database.object.value("Build"), Value(int64_t{169}));
}

TEST(Properties, DamagedBlocksAreReportedWithTheObject) {
    const std::vector<std::pair<Bytes, std::string>> cases = {
        {{'K', 'K', 'D', 0}, "signature"},
        {{'M', 'R', '2', 0, 0xFF, 0, 0, 0, 0x80, 0}, "block of impossible length"},
        // A property entry naming property 5 of an empty name list.
        {{'M', 'R', '2', 0, 18, 0, 0, 0, 0, 0, 4, 0, 0, 0, 8, 0, 0, 4, 5, 0, 0, 0},
         "property name 5"},
    };
    for (const auto& [block, expected] : cases) {
        const Bytes& bytes = block;  // clang before 16 cannot capture a structured binding
        std::string message =
            testing::errorOf([&] { decodeProperties(bytes, "file.mdb", "Orders"); });
        EXPECT_NE(message.find("file.mdb: the file is damaged (the properties of 'Orders'"),
                  std::string::npos)
            << message;
        EXPECT_NE(message.find(expected), std::string::npos) << message;
    }
    EXPECT_TRUE(decodeProperties({}, "file.mdb", "Orders").empty());
}

}  // namespace
}  // namespace orvdb::jet

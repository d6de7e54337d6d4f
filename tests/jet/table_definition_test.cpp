// Table definitions, indexes and relationships of the fixtures, checked
// against mdbtools and against each other; reading tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>

#include "jet/fixture_support.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/read/relationships.hpp"

namespace orvdb::jet {
namespace {

using testing::EveryFixture;

using testing::fixturePath;

using testing::lower;

std::vector<std::string> indexColumnNames(const TableDefinition& table,
                                          const PhysicalIndex& index) {
    std::vector<std::string> names;
    for (const IndexColumn& column : index.columns) {
        const Column* found = table.columnByNumber(column.columnNumber);
        names.push_back(found ? found->name : "#" + std::to_string(column.columnNumber));
    }
    return names;
}

// Each definition is consistent in itself (its indexes are held to their
// columns by the file check) and with its rows: the autonumber
// counter covers the stored values, and the buffer-reusing path gives what
// fresh decoding gives (a value left over from the previous row must never
// show through).
TEST_P(EveryFixture, DefinitionsAgreeWithThemselvesAndTheirRows) {
    JetFile file = open();
    size_t rows = 0;
    int counters = 0;
    for (const std::string& name : file.tableNames(true)) {
        SCOPED_TRACE(name);
        auto table = file.table(name);
        EXPECT_TRUE(table->tableType == tdef::kUserTable || table->tableType == tdef::kSystemTable);
        EXPECT_GE(table->maxColumns, table->columns.size());
        std::set<uint16_t> variableSlots;
        for (const Column& column : table->columns) {
            EXPECT_LT(column.number, table->maxColumns) << column.name;
            if (!column.isFixedLength()) {
                // The count of variable slots includes deleted columns.
                EXPECT_LT(column.variableIndex, table->variableColumnCount) << column.name;
                EXPECT_TRUE(variableSlots.insert(column.variableIndex).second) << column.name;
            }
            if (column.type() == ColumnType::Text) {
                EXPECT_GT(column.length, 0) << column.name;
                EXPECT_EQ(column.sortOrder, 0x0409) << column.name;
            }
            if (column.isLongValue()) {
                EXPECT_TRUE(column.longValueOwnedPages.has_value()) << column.name;
            }
        }
        std::vector<size_t> autoNumbers;
        for (size_t n = 0; n < table->columns.size(); ++n) {
            if (table->columns[n].isAutoNumber() && table->tableType == tdef::kUserTable) {
                autoNumbers.push_back(n);
                ++counters;
            }
        }
        TableReader fresh = file.readTable(name);
        TableReader reused = file.readTable(name);
        Row row;
        while (auto expected = fresh.next()) {
            ASSERT_TRUE(reused.next(row)) << "ends early after " << rows << " rows";
            ASSERT_EQ(row.id, expected->id);
            ASSERT_EQ(row.values, expected->values) << "at " << row.id.toString();
            for (size_t n : autoNumbers) {
                if (auto value = std::get_if<int64_t>(&row.values[n])) {
                    EXPECT_GE(int64_t{table->lastAutoNumber}, *value);
                }
            }
            ++rows;
        }
        EXPECT_FALSE(reused.next(row)) << "more rows when reused";
    }
    EXPECT_GT(rows, 0u);
    if (GetParam().file == testing::kNorthwind) {
        EXPECT_GE(counters, 5);  // Categories, Employees, Orders, Products, Shippers, Suppliers
    }
}

TEST_P(EveryFixture, RelationshipsMatchTheirForeignKeyIndexes) {
    JetFile file = open();
    for (const Relationship& relationship : readRelationships(file)) {
        SCOPED_TRACE(relationship.name);
        ASSERT_FALSE(relationship.columns.empty());
        ASSERT_EQ(relationship.columns.size(), relationship.referencedColumns.size());
        auto table = file.table(relationship.table);
        auto referenced = file.table(relationship.referencedTable);
        for (size_t n = 0; n < relationship.columns.size(); ++n) {
            EXPECT_NE(table->findColumn(relationship.columns[n]), nullptr);
            EXPECT_NE(referenced->findColumn(relationship.referencedColumns[n]), nullptr);
        }
        // Enforced, the foreign-key side holds an index named after the
        // relationship that points at the primary side, with the same rules.
        const LogicalIndex* foreign = table->findIndex(relationship.name);
        if (!relationship.enforcesIntegrity()) {
            EXPECT_EQ(foreign, nullptr);
            continue;
        }
        ASSERT_NE(foreign, nullptr);
        EXPECT_TRUE(foreign->isForeignKey());
        EXPECT_EQ(foreign->relatedTablePage, referenced->page);
        EXPECT_EQ(foreign->cascadeUpdates, relationship.cascadesUpdates());
        EXPECT_EQ(foreign->cascadeDeletes, relationship.cascadesDeletes());
        EXPECT_EQ(indexColumnNames(*table, *table->physicalIndexOf(*foreign)),
                  relationship.columns);
        // ... and the primary side an index pointing back at it.
        ASSERT_GE(foreign->relatedIndex, 0);
        auto back = std::find_if(
            referenced->indexes.begin(), referenced->indexes.end(), [&](const LogicalIndex& index) {
                return index.number == static_cast<uint32_t>(foreign->relatedIndex);
            });
        ASSERT_NE(back, referenced->indexes.end());
        EXPECT_TRUE(back->isForeignKey());
        EXPECT_EQ(back->relatedTablePage, table->page);
        EXPECT_EQ(static_cast<uint32_t>(back->relatedIndex), foreign->number);
        EXPECT_EQ(indexColumnNames(*referenced, *referenced->physicalIndexOf(*back)),
                  relationship.referencedColumns);
    }
}

// mdb-schema's PostgreSQL output lists the indexes (the foreign keys are held
// to the relationships above):
//   CREATE [UNIQUE] INDEX "t_c_idx" ON "t" ("c1", "c2");
//   ALTER TABLE "t" ADD CONSTRAINT "t_pkey" PRIMARY KEY ("c");
TEST_P(EveryFixture, IndexesAgreeWithMdbSchema) {
    ORVDB_REQUIRE_COMMANDS("mdb-schema");
    JetFile file = open();
    auto schema = testing::mdbtools("mdb-schema --indexes --no-relations", path(), {"postgres"});
    ASSERT_TRUE(schema) << "mdb-schema cannot read " << GetParam().file;
    const std::regex indexLine(R"re(CREATE (UNIQUE )?INDEX "[^"]*" ON "([^"]*)" \(([^)]*)\);)re");
    const std::regex keyLine(
        R"re(ALTER TABLE "([^"]*)" ADD CONSTRAINT "[^"]*" PRIMARY KEY \(([^)]*)\);)re");
    std::multiset<std::string> theirs;
    std::istringstream lines(*schema);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_match(line, match, indexLine)) {
            theirs.insert(lower(match[2]) + (match[1].matched ? " unique" : "") + " (" +
                          lower(match[3]) + ")");
        } else if (std::regex_match(line, match, keyLine)) {
            theirs.insert(lower(match[1]) + " primary (" + lower(match[2]) + ")");
        }
    }

    auto quotedList = [](const std::vector<std::string>& names,
                         const std::vector<IndexColumn>& order) {
        std::string out;
        for (size_t n = 0; n < names.size(); ++n) {
            out += (out.empty() ? "\"" : ", \"") + lower(names[n]) + "\"";
            if (n < order.size() && !order[n].ascending) {
                out += " desc";
            }
        }
        return out;
    };
    std::multiset<std::string> mine;
    std::set<std::string> misread;
    for (const std::string& name : file.tableNames(false)) {
        auto table = file.table(name);
        for (const LogicalIndex& index : table->indexes) {
            const PhysicalIndex& physical = *table->physicalIndexOf(index);
            if (index.isForeignKey()) {
                continue;
            }
            // mdbtools takes the logical index number for the physical one;
            // where they differ it prints the wrong columns. Such tables are
            // checked by IndexFlags below instead.
            if (index.number != index.physicalIndex) {
                misread.insert(lower(name));
            }
            std::string columns = quotedList(indexColumnNames(*table, physical), physical.columns);
            if (index.isPrimaryKey()) {
                mine.insert(lower(name) + " primary (" + columns + ")");
            } else {
                mine.insert(lower(name) + (physical.isUnique() ? " unique" : "") + " (" + columns +
                            ")");
            }
        }
    }
    auto dropMisread = [&](std::multiset<std::string>& entries) {
        for (auto it = entries.begin(); it != entries.end();) {
            it = misread.count(it->substr(0, it->find(' '))) ? entries.erase(it) : std::next(it);
        }
    };
    dropMisread(mine);
    dropMisread(theirs);
    EXPECT_EQ(mine, theirs);
}

TEST(IndexFlags, IgnoreNullsUniqueAndPrimaryKeysAreRead) {
    ORVDB_REQUIRE_FIXTURE("testIndexPropertiesV2000.mdb");
    JetFile file = JetFile::open(fixturePath("testIndexPropertiesV2000.mdb"));
    struct Case {
        const char* table;
        bool unique;
        bool ignoreNulls;
    };
    // The tables are named after the DataIndex property they test; the index
    // columns are held to the rows by the file check.
    const Case cases[] = {
        {"TableIgnoreNulls1", false, true},
        {"TableIgnoreNulls2", false, true},
        {"TableUnique1_temp", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        auto table = file.table(c.table);
        const LogicalIndex* data = table->findIndex("DataIndex");
        ASSERT_NE(data, nullptr);
        const PhysicalIndex* physical = table->physicalIndexOf(*data);
        EXPECT_EQ(physical->isUnique(), c.unique);
        EXPECT_EQ(physical->ignoresNulls(), c.ignoreNulls);
        const LogicalIndex* key = table->findIndex("PrimaryKey");
        ASSERT_NE(key, nullptr);
        EXPECT_TRUE(key->isPrimaryKey());
        EXPECT_TRUE(table->physicalIndexOf(*key)->isUnique());
        EXPECT_TRUE(table->physicalIndexOf(*key)->isRequired());
    }
}

TEST(TableDefinitions, DeletedColumnsLeaveNumberGaps) {
    ORVDB_REQUIRE_FIXTURE("delColTestV2000.mdb");
    JetFile file = JetFile::open(fixturePath("delColTestV2000.mdb"));
    auto table = file.table("Table1");
    std::vector<uint16_t> numbers;
    for (const Column& column : table->columns) {
        numbers.push_back(column.number);
    }
    EXPECT_EQ(numbers, (std::vector<uint16_t>{0, 2, 3, 5}));
    EXPECT_EQ(table->maxColumns, 6);
    EXPECT_EQ(
        testing::allRows(file, "Table1").at(0),
        (std::vector<Value>{int64_t{0}, int64_t{2}, std::string("foo"), std::string("foo2")}));
}

TEST(TableReading, SelectedColumnsOnlyAreDecoded) {
    ORVDB_REQUIRE_FIXTURE("northwind.mdb");
    JetFile file = JetFile::open(fixturePath("northwind.mdb"));
    TableReader reader = file.readTable("Employees");
    reader.selectColumns({"lastname", "EmployeeID"});
    auto row = reader.next();
    ASSERT_TRUE(row);
    const TableDefinition& table = reader.definition();
    for (size_t n = 0; n < table.columns.size(); ++n) {
        bool wanted = table.columns[n].name == "LastName" || table.columns[n].name == "EmployeeID";
        EXPECT_EQ(isNull(row->values[n]), !wanted) << table.columns[n].name;
    }
    std::string message = testing::errorOf([&] { reader.selectColumns({"NoSuchColumn"}); });
    EXPECT_NE(message.find("no column 'NoSuchColumn'"), std::string::npos) << message;
    message = testing::errorOf([&] { file.readTable("NoSuchTable"); });
    EXPECT_NE(message.find("northwind.mdb: has no table named 'NoSuchTable'"), std::string::npos)
        << message;
}

}  // namespace
}  // namespace orvdb::jet

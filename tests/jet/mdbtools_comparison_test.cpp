// Every table of every fixture reads as mdbtools reads it: table lists, column
// names and types, every value (where mdbtools is lossy, compared another way).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

#include "jet/fixture_support.hpp"
#include "jet/read/jet_file.hpp"

namespace orvdb::jet {
namespace {

using testing::CsvField;
using testing::CsvRow;

const char* const kDateFormat = "%Y-%m-%d %H:%M:%S";

using testing::hex;
using testing::lower;

std::string withoutHyphens(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '-'), text.end());
    return text;
}

// Empty when the value matches what mdb-export printed, else a description
// of the difference.
std::string compareValue(const Column& column, const Value& mine, const CsvField& theirs) {
    auto differ = [&](const std::string& expected) {
        auto clip = [](std::string text) {
            return text.size() > 120 ? text.substr(0, 120) + "..." : text;
        };
        return "column '" + column.name + "': codec " + clip(describe(mine)) + ", mdbtools '" +
               clip(theirs.text) + "'" +
               (expected.empty() ? "" : " (expected text '" + clip(expected) + "')");
    };
    if (isNull(mine)) {
        return (!theirs.quoted && theirs.text.empty()) ? "" : differ("");
    }
    if (const bool* value = std::get_if<bool>(&mine)) {
        return theirs.text == (*value ? "1" : "0") ? "" : differ("");
    }
    if (const int64_t* value = std::get_if<int64_t>(&mine)) {
        return theirs.text == std::to_string(*value) ? "" : differ(std::to_string(*value));
    }
    if (const Currency* value = std::get_if<Currency>(&mine)) {
        // mdbtools prints four decimals but goes through a double; compare
        // exactly as long as the amount fits a double's 15 digits.
        if (theirs.text == value->toString()) {
            return "";
        }
        double theirValue = std::strtod(theirs.text.c_str(), nullptr);
        return std::fabs(theirValue - static_cast<double>(value->scaled) / 10000.0) < 1e-4
                   ? ""
                   : differ(value->toString());
    }
    if (const double* value = std::get_if<double>(&mine)) {
        // mdbtools prints a limited number of digits: compare numerically
        // with the precision of the stored type.
        char* end = nullptr;
        double theirValue = std::strtod(theirs.text.c_str(), &end);
        if (end == theirs.text.c_str()) {
            return differ("");
        }
        double tolerance = column.type() == ColumnType::Single ? 1e-6 : 1e-13;
        double scale = std::max(1.0, std::fabs(*value));
        return std::fabs(theirValue - *value) <= tolerance * scale ? "" : differ("");
    }
    if (const DateTime* value = std::get_if<DateTime>(&mine)) {
        return theirs.text == value->toString() ? "" : differ(value->toString());
    }
    if (const std::string* value = std::get_if<std::string>(&mine)) {
        // Access stores some texts (DDL query text, names in MSysNameMap)
        // with a trailing NUL character; mdbtools stops at it.
        std::string untilNul = value->substr(0, value->find('\0'));
        return (theirs.quoted && (theirs.text == *value || theirs.text == untilNul)) ? ""
                                                                                     : differ("");
    }
    if (const Bytes* value = std::get_if<Bytes>(&mine)) {
        // mdbtools has no decoder for type 17 (Access's own 3992-byte
        // blobs in MSysAccessObjects) and prints nothing for it.
        if (column.typeCode == static_cast<uint8_t>(ColumnType::Unknown11) && theirs.text.empty()) {
            return "";
        }
        // mdbtools treats binary data as a C string: it stops at the first
        // zero byte.
        Bytes untilZero(value->begin(), std::find(value->begin(), value->end(), 0));
        return lower(theirs.text) == hex(*value) || lower(theirs.text) == hex(untilZero)
                   ? ""
                   : differ(hex(*value));
    }
    if (const Guid* value = std::get_if<Guid>(&mine)) {
        // With -b hex mdbtools prints the hex of its GUID text, and its text
        // drops the hyphen between the fourth and fifth group.
        std::string guidText = value->toString();
        std::string printed = lower(theirs.text);
        if (printed.size() % 2 == 0 && printed.rfind("7b", 0) == 0) {
            std::string decoded;
            for (size_t n = 0; n < printed.size(); n += 2) {
                decoded += static_cast<char>(std::stoi(printed.substr(n, 2), nullptr, 16));
            }
            printed = decoded;
        }
        return lower(withoutHyphens(printed)) == lower(withoutHyphens(guidText)) ? ""
                                                                                 : differ(guidText);
    }
    if (const Decimal* value = std::get_if<Decimal>(&mine)) {
        return theirs.text == value->text ? "" : differ(value->text);
    }
    return differ("");
}

std::string compareRow(const TableDefinition& table, const std::vector<Value>& mine,
                       const CsvRow& theirs) {
    if (theirs.size() != mine.size()) {
        return "mdbtools row has " + std::to_string(theirs.size()) + " fields";
    }
    for (size_t n = 0; n < theirs.size(); ++n) {
        std::string difference = compareValue(table.columns[n], mine[n], theirs[n]);
        if (!difference.empty()) {
            return difference;
        }
    }
    return "";
}

using testing::EveryFixture;
using testing::mdbtools;

TEST_P(EveryFixture, TableListsAndEveryValueAgreeWithMdbtools) {
    ORVDB_REQUIRE_COMMANDS("mdb-tables", "mdb-export");
    JetFile file = open();
    auto all = mdbtools("mdb-tables -S -1", path());
    auto user = mdbtools("mdb-tables -1", path());
    ASSERT_TRUE(all && user) << "mdbtools cannot read " << GetParam().file;
    auto sorted = [](std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(sorted(file.tableNames(true)), sorted(testing::nonEmptyLines(*all)));
    EXPECT_EQ(sorted(file.tableNames(false)), sorted(testing::nonEmptyLines(*user)));
    const std::string options = "mdb-export -b hex -D " + testing::shellQuote(kDateFormat) +
                                " -T " + testing::shellQuote(kDateFormat);
    for (const std::string& name : file.tableNames(true)) {
        SCOPED_TRACE("table " + name);
        auto exported = mdbtools(options, path(), {name});
        ASSERT_TRUE(exported) << "mdb-export failed on table " << name;
        std::vector<CsvRow> theirs = testing::parseCsv(*exported);
        ASSERT_FALSE(theirs.empty());
        auto definition = file.table(name);

        ASSERT_EQ(theirs.front().size(), definition->columns.size());
        for (size_t n = 0; n < definition->columns.size(); ++n) {
            EXPECT_EQ(theirs.front()[n].text, definition->columns[n].name);
        }
        theirs.erase(theirs.begin());
        std::vector<std::vector<Value>> mine = testing::allRows(file, name);
        ASSERT_EQ(mine.size(), theirs.size()) << "row count";
        if (name.rfind("MSys", 0) != 0) {
            EXPECT_EQ(definition->rowCount, mine.size()) << "row count in the table definition";
        }

        // Same order first; mdbtools lists overflow rows elsewhere, so fall
        // back to matching each row with any unmatched one.
        std::vector<bool> used(theirs.size(), false);
        for (size_t n = 0; n < mine.size(); ++n) {
            if (!used[n] && compareRow(*definition, mine[n], theirs[n]).empty()) {
                used[n] = true;
                continue;
            }
            bool matched = false;
            for (size_t m = 0; m < theirs.size() && !matched; ++m) {
                if (!used[m] && compareRow(*definition, mine[n], theirs[m]).empty()) {
                    used[m] = matched = true;
                }
            }
            if (!matched) {
                ADD_FAILURE() << "row " << n << " has no match in mdb-export; against row " << n
                              << ": " << compareRow(*definition, mine[n], theirs[n]);
            }
        }
    }
}

std::string mdbtoolsTypeName(const Column& column) {
    switch (column.type()) {
        case ColumnType::Long:
            return "Long Integer";
        case ColumnType::Text:
            return "Text (" + std::to_string(column.characterLength()) + ")";
        case ColumnType::Memo:
            return "Memo/Hyperlink";
        case ColumnType::OLE:
            return "OLE";
        case ColumnType::Guid:
            return "Replication ID";
        case ColumnType::Decimal:
            return "Numeric (" + std::to_string(column.precision) + ", " +
                   std::to_string(column.scale) + ")";
        default:
            return columnTypeName(column.typeCode);
    }
}

TEST_P(EveryFixture, ColumnTypesAgreeWithMdbSchema) {
    ORVDB_REQUIRE_COMMANDS("mdb-schema");
    JetFile file = open();
    auto schema = mdbtools("mdb-schema --no-relations --no-indexes", path());
    ASSERT_TRUE(schema) << "mdb-schema cannot read " << GetParam().file;
    // Lines look like "\t[name]\t\t\tText (50) NOT NULL, " inside
    // "CREATE TABLE [table]" blocks.
    std::string table;
    int checked = 0;
    for (const std::string& line : testing::nonEmptyLines(*schema)) {
        if (line.rfind("CREATE TABLE [", 0) == 0) {
            table = line.substr(14, line.rfind(']') - 14);
            continue;
        }
        if (line.size() < 3 || line[0] != '\t' || line[1] != '[' || table.empty()) {
            continue;
        }
        size_t close = line.find(']');
        std::string column = line.substr(2, close - 2);
        std::string type = line.substr(line.find_first_not_of('\t', close + 1));
        type = type.substr(0, type.find_last_not_of(", ") + 1);
        if (type.ends_with(" NOT NULL")) {
            type.resize(type.size() - 9);
        }
        auto definition = file.table(table);
        const Column* mine = definition->findColumn(column);
        ASSERT_NE(mine, nullptr) << table << "." << column;
        std::string expected = mdbtoolsTypeName(*mine);
        // mdbtools prints a meaningless size for Memo and OLE.
        EXPECT_EQ(mine->isLongValue() ? type.substr(0, expected.size()) : type, expected)
            << table << "." << column;
        ++checked;
    }
    if (!file.tableNames(false).empty()) {
        EXPECT_GT(checked, 0);
    }
}

}  // namespace
}  // namespace orvdb::jet

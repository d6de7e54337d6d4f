// JETTEXT: case-insensitive, accent-sensitive comparison and ordering.
#include "engine/functions/jet_collation.hpp"
#include "functions_test_support.hpp"

#include <random>

namespace orvdb::engine::testing {
namespace {

int sign(int v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

TEST(JetCollation, ComparesWithoutCaseButWithAccents) {
    struct Case {
        const char* a;
        const char* b;
        int expected;
    } const cases[] = {
        {"abc", "ABC", 0},     {"Name", "nAME", 0}, {"é", "É", 0},
        {"e", "é", -1},        {"é", "f", -1},      {"a", "B", -1},
        {"B", "c", -1},        {"abc", "abcd", -1}, {"", "a", -1},
        {"Zebra", "apple", 1}, {"côte", "cote", 1}, {"Prix unitaire", "prix UNITAIRE", 0},
        {"Prix", "Príx", -1},  {"a b", "ab", -1},
    };
    // Fold keys are equal exactly for texts that compare equal.
    for (const Case& c : cases) {
        EXPECT_EQ(sign(jetCompareText(c.a, c.b)), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(sign(jetCompareText(c.b, c.a)), -c.expected) << c.b << " vs " << c.a;
        EXPECT_EQ(jetFoldKey(c.a) == jetFoldKey(c.b), c.expected == 0) << c.a << " vs " << c.b;
    }
}

int compareKeys(const std::string& a, const std::string& b) {
    return sign(a.compare(b));
}

// ASCII text takes a shortcut past ICU; it must order exactly as ICU's sort
// keys do, control characters, punctuation and case included.
TEST(JetCollation, AsciiShortcutAgreesWithIcuSortKeys) {
    std::mt19937 random(7);
    const std::string alphabet =
        std::string("aAbBzZ09 -_.,'~!#%&()*+/:;<=>?@[\\]^`{|}\t\n\x01\x7f") + '\0';
    auto randomText = [&] {
        std::string text;
        for (size_t n = random() % 6; n > 0; --n) {
            text.push_back(alphabet[random() % alphabet.size()]);
        }
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::string a = randomText();
        const std::string b = randomText();
        ASSERT_EQ(sign(jetCompareText(a, b)), compareKeys(jetFoldKey(a), jetFoldKey(b)))
            << "'" << a << "' vs '" << b << "'";
    }
}

using CollationSqlTest = JetSqlTest;

TEST_F(CollationSqlTest, OrderByMixesCaseAndPlacesAccentsAfterTheirLetter) {
    exec("CREATE TABLE t(x TEXT)");
    exec("INSERT INTO t VALUES ('b'), ('A'), ('é'), ('e'), ('E'), ('a'), ('f'), ('Z'), ('ef')");
    // Ties (a/A, e/E) are broken by the binary order so the result is fixed.
    EXPECT_EQ(rows("SELECT x FROM t ORDER BY x COLLATE JETTEXT, x"),
              "text:A;text:a;text:b;text:E;text:e;text:é;text:ef;text:f;text:Z");
    EXPECT_EQ(rows("SELECT count(*) FROM t WHERE x = 'E' COLLATE JETTEXT"), "int:2");
}

TEST_F(CollationSqlTest, DeclaredColumnCollationGroupsCaseVariants) {
    exec("CREATE TABLE t(x TEXT COLLATE JETTEXT)");
    exec("INSERT INTO t VALUES ('Paris'), ('PARIS'), ('paris'), ('Pâris')");
    EXPECT_EQ(rows("SELECT count(DISTINCT x) FROM t"), "int:2");
}

}  // namespace
}  // namespace orvdb::engine::testing

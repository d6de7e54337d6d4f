// The operators the translator maps to functions, Like, and First/Last.
#include "functions_test_support.hpp"

#include <cmath>

namespace orvdb::engine::testing {
namespace {

using OperatorsTest = JetSqlTest;

TEST_F(OperatorsTest, OperatorsGiveJetsResults) {
    const SqlCase cases[] = {
        // Concatenation treats null as empty unless both are null.
        {"jet_concat('a', 'b')", "text:ab"},
        {"jet_concat(NULL, 'b')", "text:b"},
        {"jet_concat('a', NULL)", "text:a"},
        {"jet_concat('', NULL)", "text:"},
        {"jet_concat(NULL, NULL)", "null"},
        {"jet_concat(1, 2)", "text:12"},
        {"jet_concat('x', 2.5)", "text:x2.5"},
        {"jet_concat('x', 0.1 + 0.2)", "text:x0.30000000000000004"},
        // Plus adds numbers joins texts and propagates null.
        {"jet_add(1, 2)", "int:3"},
        {"jet_add(1.5, 2)", "real:3.5"},
        {"jet_add('a', 'b')", "text:ab"},
        {"jet_add('5', 2)", "int:7"},
        {"jet_add(' 5 ', 2.5)", "real:7.5"},
        {"jet_add(2, '1e3')", "real:1002"},
        {"jet_add('abc', 1)", "error:Data type mismatch in criteria expression."},
        {"jet_add(NULL, 'a')", "null"},
        {"jet_add(1, NULL)", "null"},
        // Past 64 bits the sum continues in floating point.
        {"jet_add(9223372036854775807, 1)", "real:9223372036854775808"},
        {"jet_sub(10, '4')", "int:6"},
        {"jet_mul(2.5, 4)", "real:10"},
        // Division is floating point and rejects zero.
        {"jet_div(7, 2)", "real:3.5"},
        {"jet_div(6, 3)", "real:2"},
        {"jet_div('1', 4)", "real:0.25"},
        {"jet_div(1, 0)", "error:Division by zero"},
        // VBA raises Overflow, not "Division by zero", for 0/0 (the FPU
        // reports an invalid operation, not a zero divide).
        {"jet_div(0, 0)", "error:Overflow"},
        {"jet_div(NULL, 0)", "null"},
        // Integer division and mod round operands half to even first.
        {"jet_intdiv(7, 2)", "int:3"},
        {"jet_intdiv(-7, 2)", "int:-3"},
        {"jet_intdiv(2.5, 1)", "int:2"},
        {"jet_intdiv(3.5, 1)", "int:4"},
        {"jet_intdiv(5, 1.5)", "int:2"},
        {"jet_intdiv(5, 0.4)", "error:Division by zero"},
        {"jet_intdiv(3000000000, 2)", "error:Overflow"},
        {"jet_intdiv(NULL, 2)", "null"},
        {"jet_mod(7, 3)", "int:1"},
        {"jet_mod(-7, 3)", "int:-1"},
        {"jet_mod(7, -3)", "int:1"},
        {"jet_mod(10.5, 3)", "int:1"},
        {"jet_mod(11.5, 3)", "int:0"},
        {"jet_mod(5, 0)", "error:Division by zero"},
        {"jet_mod(5, NULL)", "null"},
        // Power and truth values.
        {"jet_pow(2, 10)", "real:1024"},
        {"jet_pow(4, 0.5)", "real:2"},
        {"jet_pow(-2, 3)", "real:-8"},
        {"jet_pow(-8, 1.0 / 3)", "error:Invalid procedure call or argument"},
        {"jet_pow(NULL, 2)", "null"},
        {"jet_not(0)", "int:-1"},
        {"jet_not(-1)", "int:0"},
        {"jet_not(5)", "int:0"},
        {"jet_not(NULL)", "null"},
        {"jet_bool(1 = 1)", "int:-1"},
        {"jet_bool(1 = 2)", "int:0"},
        {"jet_bool(NULL)", "null"},
        // Like wildcards lists and ranges.
        {"jet_like('abc', 'a%')", "int:-1"},
        {"jet_like('ABC', 'a_c')", "int:-1"},
        {"jet_like('abc', 'a_')", "int:0"},
        {"jet_like('', '%')", "int:-1"},
        {"jet_like('', '_')", "int:0"},
        {"jet_like('abcbc', '%bc')", "int:-1"},
        {"jet_like('abcbd', '%bc')", "int:0"},
        {"jet_like('axxbyyc', 'a%b%c')", "int:-1"},
        {"jet_like('b', '[a-c]')", "int:-1"},
        {"jet_like('B', '[a-c]')", "int:-1"},
        {"jet_like('d', '[a-c]')", "int:0"},
        {"jet_like('d', '[!a-c]')", "int:-1"},
        {"jet_like('b', '[!a-c]')", "int:0"},
        {"jet_like('x7', 'x[0-9]')", "int:-1"},
        {"jet_like('y', '[xyz]')", "int:-1"},
        {"jet_like('50%', '50[%]')", "int:-1"},
        {"jet_like('500', '50[%]')", "int:0"},
        {"jet_like('a-b', 'a[-]b')", "int:-1"},
        // ANSI-92: '*' and '?' are ordinary characters.
        {"jet_like('a*c', 'a*c')", "int:-1"},
        {"jet_like('abc', 'a*c')", "int:0"},
        // Accents count, case does not; ranges follow the text order.
        {"jet_like('éa', 'e%')", "int:0"},
        {"jet_like('Éa', 'é%')", "int:-1"},
        {"jet_like('é', '[a-z]')", "int:-1"},
        {"jet_like(123, '1%')", "int:-1"},
        {"jet_like(NULL, '%')", "null"},
        {"jet_like('a', NULL)", "null"},
        {"jet_like('a', '[a')", "error:Invalid pattern string"},
    };
    expectCases(cases);
}

TEST_F(OperatorsTest, LikeWithAPatternThatChangesPerRow) {
    exec("CREATE TABLE t(v TEXT, p TEXT)");
    exec("INSERT INTO t VALUES ('abc', 'a%'), ('abc', 'b%'), ('bcd', 'b%'), ('bcd', '%d')");
    EXPECT_EQ(rows("SELECT jet_like(v, p) FROM t ORDER BY rowid"), "int:-1;int:0;int:-1;int:-1");
}

TEST_F(OperatorsTest, FirstAndLastKeepRowsInInputOrderIncludingNull) {
    exec("CREATE TABLE t(v)");
    exec("INSERT INTO t VALUES (NULL), ('b'), (3), ('last')");
    EXPECT_EQ(rows("SELECT jet_first(v), jet_last(v) FROM t"), "null|text:last");
    EXPECT_EQ(rows("SELECT jet_first(v), jet_last(v) FROM t WHERE rowid BETWEEN 2 AND 3"),
              "text:b|int:3");
    EXPECT_EQ(rows("SELECT jet_first(v), jet_last(v) FROM t WHERE 0"), "null|null");
}

TEST_F(OperatorsTest, DeviationAndVarianceIgnoreNulls) {
    exec("CREATE TABLE t(v)");
    // Mean 5, squared deviations sum to 32 over 8 values.
    exec("INSERT INTO t VALUES (2), (4), (4), (NULL), (4), (5), (5), (7), ('9')");
    auto number = [&](const char* sql) {
        const std::string value = rows(sql);
        EXPECT_EQ(value.rfind("real:", 0), 0u) << sql << " gave " << value;
        return value.rfind("real:", 0) == 0 ? std::stod(value.substr(5)) : -1.0;
    };
    EXPECT_NEAR(number("SELECT jet_varp(v) FROM t"), 4.0, 1e-12);
    EXPECT_NEAR(number("SELECT jet_stdevp(v) FROM t"), 2.0, 1e-12);
    EXPECT_NEAR(number("SELECT jet_var(v) FROM t"), 32.0 / 7.0, 1e-12);
    EXPECT_NEAR(number("SELECT jet_stdev(v) FROM t"), std::sqrt(32.0 / 7.0), 1e-12);
    // One value has no sample spread; none has no spread at all.
    EXPECT_EQ(rows("SELECT jet_var(v), jet_varp(v) FROM t WHERE rowid = 1"), "null|real:0");
    EXPECT_EQ(rows("SELECT jet_stdev(v), jet_stdevp(v) FROM t WHERE 0"), "null|null");
    exec("INSERT INTO t VALUES ('x')");
    EXPECT_EQ(rows("SELECT jet_var(v) FROM t"), "error:Data type mismatch in criteria expression.");
}

}  // namespace
}  // namespace orvdb::engine::testing

// Conversions, tests and choices: Str, Val, C... functions, Nz, IIf, Switch,
// Choose, IsNull, IsNumeric, IsDate.
#include "functions_test_support.hpp"

namespace orvdb::engine::testing {
namespace {

using ConversionTest = JetSqlTest;

TEST_F(ConversionTest, ConversionsGiveJetsResults) {
    const SqlCase cases[] = {
        // Str and c str write numbers like vba.
        {"jet_str(5)", "text: 5"},
        {"jet_str(-5)", "text:-5"},
        {"jet_str(2.5)", "text: 2.5"},
        {"jet_str('7')", "text: 7"},
        {"jet_str(NULL)", "null"},
        {"jet_cstr(5)", "text:5"},
        {"jet_cstr(0.1)", "text:0.1"},
        {"jet_cstr(1e14)", "text:100000000000000"},
        {"jet_cstr(1e15)", "text:1E+15"},
        {"jet_cstr(0.00001)", "text:0.00001"},
        {"jet_cstr(0.000001)", "text:1E-06"},
        {"jet_cstr(-1.5e-7)", "text:-1.5E-07"},
        {"jet_cstr('x')", "text:x"},
        {"jet_cstr(NULL)", "error:Invalid use of Null"},
        // Val reads the leading number.
        // Blanks inside the number are skipped, as in VBA.
        {"jet_val('  12 34abc')", "real:1234"},
        {"jet_val('1.5e2x')", "real:150"},
        {"jet_val('-3.5')", "real:-3.5"},
        {"jet_val('1.2.3')", "real:1.2"},
        {"jet_val('1e')", "real:1"},
        {"jet_val('&HFF')", "real:255"},
        {"jet_val('&HFFFF')", "real:-1"},
        {"jet_val('&O17')", "real:15"},
        {"jet_val('abc')", "real:0"},
        {"jet_val('')", "real:0"},
        {"jet_val(NULL)", "error:Invalid use of Null"},
        // Integer conversions round half to even and check range.
        {"jet_cint(2.5)", "int:2"},
        {"jet_cint(3.5)", "int:4"},
        {"jet_cint(-2.5)", "int:-2"},
        {"jet_cint(2.51)", "int:3"},
        {"jet_cint('7.5')", "int:8"},
        {"jet_cint(32767.4)", "int:32767"},
        {"jet_cint(32767.5)", "error:Overflow"},
        {"jet_cint(-32768)", "int:-32768"},
        {"jet_cint(-32769)", "error:Overflow"},
        {"jet_cint('abc')", "error:Data type mismatch in criteria expression."},
        {"jet_cint(NULL)", "error:Invalid use of Null"},
        {"jet_clng(2147483647)", "int:2147483647"},
        {"jet_clng(2147483647.5)", "error:Overflow"},
        {"jet_clng(-2147483648.4)", "int:-2147483648"},
        {"jet_cbyte(255)", "int:255"},
        {"jet_cbyte(255.5)", "error:Overflow"},
        {"jet_cbyte(-1)", "error:Overflow"},
        // Floating boolean and date conversions.
        {"jet_ccur(1.23455)", "real:1.2346"},
        {"jet_ccur(1.23445)", "real:1.2344"},
        {"jet_ccur(1e16)", "error:Overflow"},
        // The double nearest to the float nearest to 0.1.
        {"jet_csng(0.1)", "real:0.10000000149011612"},
        {"jet_csng(1e39)", "error:Overflow"},
        {"jet_cdbl('1,234.5')", "real:1234.5"},
        {"jet_cdbl('x')", "error:Data type mismatch in criteria expression."},
        {"jet_cbool('True')", "int:-1"},
        {"jet_cbool('no')", "int:0"},
        {"jet_cbool(2)", "int:-1"},
        {"jet_cbool(0.0)", "int:0"},
        {"jet_cbool('x')", "error:Data type mismatch in criteria expression."},
        // 2024-01-01 is day 45292; March 5 comes 31 + 29 + 4 days later.
        {"jet_cdate('2024-03-05')", "real:45356"},
        {"jet_cdate('3/5/2024 12:00 PM')", "real:45356.5"},
        {"jet_cdate(45356.25)", "real:45356.25"},
        {"jet_cdate('nonsense')", "error:Data type mismatch in criteria expression."},
        {"jet_cdate(3000000)", "error:Overflow"},
        {"jet_cdate(NULL)", "error:Invalid use of Null"},
        {"jet_cvdate(NULL)", "null"},
        {"jet_hex(255)", "text:FF"},
        {"jet_hex(-1)", "text:FFFF"},
        {"jet_oct(8)", "text:10"},
        // Nz i if switch choose.
        // In a query Nz(Null) without a second argument is the empty text.
        {"jet_nz(NULL)", "text:"},
        {"jet_nz(NULL, 0)", "int:0"},
        {"jet_nz(5, 0)", "int:5"},
        {"jet_nz('', 'x')", "text:"},
        {"jet_iif(1, 'a', 'b')", "text:a"},
        {"jet_iif(0, 'a', 'b')", "text:b"},
        {"jet_iif(NULL, 'a', 'b')", "text:b"},
        {"jet_iif('True', 1, 2)", "int:1"},
        {"jet_switch(0, 'a', 1, 'b')", "text:b"},
        {"jet_switch(0, 'a', 0, 'b')", "null"},
        {"jet_switch(NULL, 'a', -1, 'c')", "text:c"},
        {"jet_switch(1, 'a', 2)", "error:Invalid procedure call or argument"},
        {"jet_choose(2, 'a', 'b', 'c')", "text:b"},
        {"jet_choose(4, 'a', 'b', 'c')", "null"},
        {"jet_choose(0, 'a')", "null"},
        {"jet_choose(NULL, 'a')", "null"},
        // The index is rounded like a Long: 1.5 -> 2, 2.5 -> 2.
        {"jet_choose(1.5, 'a', 'b', 'c')", "text:b"},
        {"jet_choose(2.5, 'a', 'b', 'c')", "text:b"},
        // Type tests.
        {"jet_isnull(NULL)", "int:-1"},
        {"jet_isnull('')", "int:0"},
        {"jet_isnumeric('12')", "int:-1"},
        {"jet_isnumeric(' 1e3 ')", "int:-1"},
        {"jet_isnumeric('12a')", "int:0"},
        {"jet_isnumeric('')", "int:0"},
        {"jet_isnumeric(NULL)", "int:0"},
        {"jet_isnumeric(4.5)", "int:-1"},
        {"jet_isdate('2/29/2024')", "int:-1"},
        {"jet_isdate('2/29/2023')", "int:0"},
        {"jet_isdate('Mar 5, 2024')", "int:-1"},
        {"jet_isdate('hello')", "int:0"},
        {"jet_isdate(NULL)", "int:0"},
        // Date columns hold REALs; whole numbers of Long columns are not dates.
        {"jet_isdate(45356.5)", "int:-1"},
        {"jet_isdate(45356)", "int:0"},
    };
    expectCases(cases);
}

}  // namespace
}  // namespace orvdb::engine::testing

// String functions. Lengths and positions count UTF-16 units, so the emoji
// U+1F600 (4 bytes in UTF-8) counts 2, and cutting it in half leaves U+FFFD.
#include "functions_test_support.hpp"

namespace orvdb::engine::testing {
namespace {

using TextFunctionsTest = JetSqlTest;

#define EMOJI "\xF0\x9F\x98\x80"
#define REPLACEMENT "\xEF\xBF\xBD"

TEST_F(TextFunctionsTest, TextFunctionsGiveJetsResults) {
    const SqlCase cases[] = {
        // Length counts utf16 units.
        {"jet_len('abc')", "int:3"},
        {"jet_len('')", "int:0"},
        {"jet_len(NULL)", "null"},
        {"jet_len(12.5)", "int:4"},
        {"jet_len('été')", "int:3"},
        {"jet_len('a" EMOJI "')", "int:3"},
        // Mid left right.
        {"jet_mid('abcdef', 2, 3)", "text:bcd"},
        {"jet_mid('abcdef', 4)", "text:def"},
        {"jet_mid('abc', 5)", "text:"},
        {"jet_mid('abc', 2, 0)", "text:"},
        {"jet_mid('héllo', 2, 2)", "text:él"},
        {"jet_mid('abc', 0)", "error:Invalid procedure call or argument"},
        {"jet_mid('abc', 1, -1)", "error:Invalid procedure call or argument"},
        {"jet_mid(NULL, 1)", "null"},
        // VBA's start and length are Longs: Null there cannot be converted.
        {"jet_mid('abc', NULL)", "error:Invalid use of Null"},
        {"jet_mid('abc', 1.5, 1)", "text:b"},
        {"jet_mid('a" EMOJI "b', 2, 2)", "text:" EMOJI},
        {"jet_mid('a" EMOJI "b', 3, 2)", "text:" REPLACEMENT "b"},
        {"jet_mid('a" EMOJI "b', 2, 1)", "text:" REPLACEMENT},
        {"jet_left('abc', 2)", "text:ab"},
        {"jet_left('abc', 5)", "text:abc"},
        {"jet_left('abc', -1)", "error:Invalid procedure call or argument"},
        {"jet_left(NULL, 1)", "null"},
        {"jet_right('abc', 2)", "text:bc"},
        {"jet_right('abc', 10)", "text:abc"},
        {"jet_right('x" EMOJI "', 2)", "text:" EMOJI},
        // In str positions start and compare mode.
        {"jet_instr('abcabc', 'c')", "int:3"},
        {"jet_instr(4, 'abcabc', 'c')", "int:6"},
        {"jet_instr('abc', 'z')", "int:0"},
        // Text compare by default, as in Access queries.
        {"jet_instr('abc', 'B')", "int:2"},
        {"jet_instr(1, 'abc', 'B', 0)", "int:0"},
        {"jet_instr(1, 'abc', 'B', 1)", "int:2"},
        {"jet_instr('ÉCOLE', 'é')", "int:1"},
        {"jet_instr('ecole', 'é')", "int:0"},
        {"jet_instr('" EMOJI "x', 'x')", "int:3"},
        {"jet_instr('abc', '')", "int:1"},
        {"jet_instr(2, 'abc', '')", "int:2"},
        {"jet_instr('', 'a')", "int:0"},
        {"jet_instr(5, 'abc', 'a')", "int:0"},
        {"jet_instr(NULL, 'a')", "null"},
        {"jet_instr('a', NULL)", "null"},
        {"jet_instr(0, 'abc', 'a')", "error:Invalid procedure call or argument"},
        {"jet_instr(NULL, 'abc', 'a')", "error:Invalid use of Null"},
        // Case trim and padding.
        {"jet_ucase('abcé')", "text:ABCÉ"},
        {"jet_lcase('ÀB')", "text:àb"},
        {"jet_ucase(NULL)", "null"},
        {"jet_trim('  a b  ')", "text:a b"},
        {"jet_ltrim('  a ')", "text:a "},
        {"jet_rtrim(' a  ')", "text: a"},
        // Only spaces are trimmed.
        {"jet_trim(char(9) || 'a ')", "text:\ta"},
        {"jet_space(3)", "text:   "},
        {"jet_space(-1)", "error:Invalid procedure call or argument"},
        {"jet_string(3, 'xy')", "text:xxx"},
        {"jet_string(2, 65)", "text:AA"},
        {"jet_string(2, 321)", "text:AA"},
        {"jet_string(NULL, 'a')", "null"},
        {"jet_string(2, '')", "error:Invalid procedure call or argument"},
        {"jet_strreverse('abc')", "text:cba"},
        {"jet_strreverse('aé')", "text:éa"},
        // Character codes use windows1252.
        {"jet_chr(65)", "text:A"},
        {"jet_chr(128)", "text:€"},
        {"jet_chr(233)", "text:é"},
        {"jet_chr(256)", "error:Invalid procedure call or argument"},
        {"jet_chr(NULL)", "error:Invalid use of Null"},
        {"jet_asc('A')", "int:65"},
        {"jet_asc('€uro')", "int:128"},
        {"jet_asc('Ω')", "int:63"},
        {"jet_asc('')", "error:Invalid procedure call or argument"},
        {"jet_ascw('€')", "int:8364"},
        {"jet_chrw(8364)", "text:€"},
        // Str comp and replace.
        {"jet_strcomp('abc', 'ABC')", "int:0"},
        {"jet_strcomp('abc', 'ABC', 0)", "int:1"},
        {"jet_strcomp('a', 'b')", "int:-1"},
        {"jet_strcomp('é', 'e')", "int:1"},
        {"jet_strcomp(NULL, 'a')", "null"},
        {"jet_replace('aXbxc', 'x', '-')", "text:a-b-c"},
        {"jet_replace('aXbxc', 'x', '-', 1, -1, 0)", "text:aXb-c"},
        // The result starts at `start`, as in VBA.
        {"jet_replace('abcabc', 'b', '', 3)", "text:cac"},
        {"jet_replace('aaa', 'a', 'b', 1, 2)", "text:bba"},
        {"jet_replace('abc', '', 'x')", "text:abc"},
        {"jet_replace('ééé', 'É', 'e')", "text:eee"},
        // Replace takes Strings in VBA: Null is refused, as Access queries show #Error.
        {"jet_replace(NULL, 'a', 'b')", "error:Invalid use of Null"},
    };
    expectCases(cases);
}

}  // namespace
}  // namespace orvdb::engine::testing

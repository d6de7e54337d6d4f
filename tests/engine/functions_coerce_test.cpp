// jet_coerce and coerceForColumn: the conversion of values stored into
// columns, with Jet's errors naming the column.
#include "engine/engine_error.hpp"
#include "engine/functions/column_coercion.hpp"
#include "functions_test_support.hpp"

namespace orvdb::engine::testing {
namespace {

using CoerceTest = JetSqlTest;

#define MISMATCH(column) "error:Data type mismatch in criteria expression. (field '" column "')"
#define OVERFLOW(column) "error:Overflow (field '" column "')"
#define TOO_SMALL(column)                                                                   \
    "error:The field is too small to accept the amount of data you attempted to add.  Try " \
    "inserting or pasting less data. (field '" column "')"

TEST_F(CoerceTest, CoercionsGiveJetsResults) {
    const SqlCase cases[] = {
        // Boolean columns.
        {"jet_coerce(NULL, 1, 0, 'T.B')", "int:0"},
        {"jet_coerce(5, 1, 0, 'T.B')", "int:-1"},
        {"jet_coerce(0.0, 1, 0, 'T.B')", "int:0"},
        {"jet_coerce('True', 1, 0, 'T.B')", "int:-1"},
        {"jet_coerce(' yes ', 1, 0, 'T.B')", "int:-1"},
        {"jet_coerce('Off', 1, 0, 'T.B')", "int:0"},
        {"jet_coerce('0', 1, 0, 'T.B')", "int:0"},
        {"jet_coerce('maybe', 1, 0, 'T.B')", MISMATCH("T.B")},
        // Integer columns round and check their range.
        {"jet_coerce(255, 2, 1, 'T.Y')", "int:255"},
        {"jet_coerce(256, 2, 1, 'T.Y')", OVERFLOW("T.Y")},
        {"jet_coerce(-1, 2, 1, 'T.Y')", OVERFLOW("T.Y")},
        {"jet_coerce(2.5, 2, 1, 'T.Y')", "int:2"},
        {"jet_coerce('3.5', 2, 1, 'T.Y')", "int:4"},
        {"jet_coerce(' 7 ', 2, 1, 'T.Y')", "int:7"},
        {"jet_coerce(32767, 3, 2, 'T.I')", "int:32767"},
        {"jet_coerce(32768, 3, 2, 'T.I')", OVERFLOW("T.I")},
        {"jet_coerce('1e3', 3, 2, 'T.I')", "int:1000"},
        {"jet_coerce('5.5', 3, 2, 'T.I')", "int:6"},
        {"jet_coerce('abc', 3, 2, 'T.I')", MISMATCH("T.I")},
        {"jet_coerce(x'01', 3, 2, 'T.I')", MISMATCH("T.I")},
        {"jet_coerce(NULL, 3, 2, 'T.I')", "null"},
        {"jet_coerce(2147483647, 4, 4, 'T.L')", "int:2147483647"},
        {"jet_coerce(2147483648, 4, 4, 'T.L')", OVERFLOW("T.L")},
        {"jet_coerce(-2147483648.4, 4, 4, 'T.L')", "int:-2147483648"},
        {"jet_coerce('99999999999', 4, 4, 'T.L')", OVERFLOW("T.L")},
        // Floating and date columns.
        {"jet_coerce(1.23456, 5, 8, 'T.C')", "real:1.2346"},
        {"jet_coerce(1, 5, 8, 'T.C')", "real:1"},
        {"jet_coerce(1e16, 5, 8, 'T.C')", OVERFLOW("T.C")},
        {"jet_coerce(0.1, 6, 4, 'T.S')", "real:0.10000000149011612"},
        {"jet_coerce(1e39, 6, 4, 'T.S')", OVERFLOW("T.S")},
        {"jet_coerce('2.5', 7, 8, 'T.D')", "real:2.5"},
        {"jet_coerce(3, 7, 8, 'T.D')", "real:3"},
        {"jet_coerce('2024-03-05', 8, 8, 'T.W')", "real:45356"},
        {"jet_coerce('3/5/2024 12:00 PM', 8, 8, 'T.W')", "real:45356.5"},
        {"jet_coerce(45356.25, 8, 8, 'T.W')", "real:45356.25"},
        {"jet_coerce(45356, 8, 8, 'T.W')", "real:45356"},
        {"jet_coerce('soon', 8, 8, 'T.W')", MISMATCH("T.W")},
        {"jet_coerce(1e7, 8, 8, 'T.W')", OVERFLOW("T.W")},
        // Text columns take numbers as text and check the size.
        {"jet_coerce(12, 10, 5, 'T.X')", "text:12"},
        {"jet_coerce(2.5, 10, 5, 'T.X')", "text:2.5"},
        {"jet_coerce(0.1 + 0.2, 10, 50, 'T.X')", "text:0.30000000000000004"},
        {"jet_coerce('abcde', 10, 5, 'T.X')", "text:abcde"},
        {"jet_coerce('abcdef', 10, 5, 'T.X')", TOO_SMALL("T.X")},
        {"jet_coerce(123456, 10, 5, 'T.X')", TOO_SMALL("T.X")},
        // Characters, not bytes: five accented letters fit five places...
        {"jet_coerce('éèêëà', 10, 5, 'T.X')", "text:éèêëà"},
        // ...but a character beyond the BMP takes two.
        {"jet_coerce('\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80', 10, 5, 'T.X')",
         TOO_SMALL("T.X")},
        {"jet_coerce('abcdefgh', 12, 5, 'T.M')", "text:abcdefgh"},
        {"jet_coerce(NULL, 10, 5, 'T.X')", "null"},
        // Binary guid and decimal columns.
        {"jet_coerce(x'0102', 9, 2, 'T.Bin')", "blob:0102"},
        {"jet_coerce(x'010203', 9, 2, 'T.Bin')", TOO_SMALL("T.Bin")},
        {"jet_coerce('AB', 9, 10, 'T.Bin')", "blob:4142"},
        {"jet_coerce('hello', 11, 0, 'T.O')", "blob:68656C6C6F"},
        {"jet_coerce(5, 11, 0, 'T.O')", MISMATCH("T.O")},
        {"jet_coerce('{12345678-9abc-def0-1234-56789abcdef0}', 15, 16, 'T.G')",
         "text:{12345678-9ABC-DEF0-1234-56789ABCDEF0}"},
        {"jet_coerce('123456789abcdef0123456789abcdef0', 15, 16, 'T.G')",
         "text:{12345678-9ABC-DEF0-1234-56789ABCDEF0}"},
        // 16 bytes in Windows order: the first three fields little-endian.
        {"jet_coerce(x'78563412BC9AF0DE123456789ABCDEF0', 15, 16, 'T.G')",
         "text:{12345678-9ABC-DEF0-1234-56789ABCDEF0}"},
        {"jet_coerce('not-a-guid', 15, 16, 'T.G')", MISMATCH("T.G")},
        {"jet_coerce('12.340', 16, 0, 'T.N')", "text:12.34"},
        {"jet_coerce(12, 16, 0, 'T.N')", "text:12"},
        {"jet_coerce('1e3', 16, 0, 'T.N')", "text:1000"},
        {"jet_coerce('-12.34', 16, 0, 'T.N', 18, 4)", "text:-12.3400"},
        {"jet_coerce(2.345, 16, 0, 'T.N', 18, 2)", "text:2.34"},
        {"jet_coerce(2.355, 16, 0, 'T.N', 18, 2)", "text:2.36"},
        {"jet_coerce(12345, 16, 0, 'T.N', 5, 2)", OVERFLOW("T.N")},
        {"jet_coerce('x', 16, 0, 'T.N')", MISMATCH("T.N")},
        {"jet_coerce(1, 13, 0, 'T.Q')", "error:jet_coerce: unknown Jet column type code 13"},
    };
    expectCases(cases);
}

TEST(CoerceForColumn, ConvertsAndNamesTheColumnInErrors) {
    ColumnCoercion byte;
    byte.type = JetType::Byte;
    try {
        coerceForColumn(SqlValue{std::string("300")}, byte, "Orders.Qty");
        FAIL() << "300 must not fit a Byte";
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), "Overflow (field 'Orders.Qty')");
    }
    EXPECT_EQ(coerceForColumn(SqlValue{std::string(" 7 ")}, byte, "Orders.Qty"),
              SqlValue{int64_t{7}});

    ColumnCoercion boolean;
    boolean.type = JetType::Boolean;
    EXPECT_EQ(coerceForColumn(SqlValue{}, boolean, ""), SqlValue{int64_t{0}});

    ColumnCoercion text;
    text.type = JetType::Text;
    text.size = 10;
    EXPECT_EQ(coerceForColumn(SqlValue{int64_t{5}}, text, "T.X"), SqlValue{std::string("5")});
    EXPECT_EQ(coerceForColumn(SqlValue{std::string("kept")}, text, "T.X"),
              SqlValue{std::string("kept")});

    ColumnDef price;
    price.type = JetType::Decimal;
    price.precision = 10;
    price.scale = 2;
    EXPECT_EQ(coerceForColumn(SqlValue{1.005}, coercionFor(price), "T.Price"),
              SqlValue{std::string("1.00")});
    EXPECT_EQ(coerceForColumn(SqlValue{int64_t{3}}, coercionFor(price), "T.Price"),
              SqlValue{std::string("3.00")});
}

}  // namespace
}  // namespace orvdb::engine::testing

// Kind codes, type words, DAO numbers, colour text and the connection string:
// the vocabularies other layers and the host match on character for character.
#include <gtest/gtest.h>

#include "data/field_codes.hpp"
#include "data/jet_connection_string.hpp"
#include "engine/dataset/connection.hpp"
#include "host/utf16.hpp"

namespace orvdb::data {
namespace {

using engine::FieldInfo;
using engine::FieldType;
using engine::JetType;

struct FieldCase {
    const char* name;
    FieldType type;
    int size;
    int32_t kind;
    const char* word;
};

TEST(FieldCodesTest, KindCodeAndTypeWordOfEveryEngineType) {
    const FieldCase cases[] = {
        {"Name", FieldType::Text, 51, 2, "VARCHAR (50)"},
        {"Label", FieldType::WideText, 256, 2, "VARCHAR (255)"},
        {"Qty", FieldType::SmallInt, 2, 6, "SHORT"},
        {"Small", FieldType::Word, 1, 6, ""},
        {"Count", FieldType::Integer, 4, 0, "LONG"},
        {"Done", FieldType::Boolean, 0, 13, ""},
        {"Price", FieldType::Float, 8, 1, "NUMERIC"},
        {"When", FieldType::DateTime, 8, 12, ""},
        {"Id", FieldType::AutoInc, 4, 8, "AUTOINCREMENT"},
        {"Ref", FieldType::AutoInc, 4, 0, "LONG"},
        // Only the exact spelling is the reference column.
        {"REF", FieldType::AutoInc, 4, 8, "AUTOINCREMENT"},
        {"ref", FieldType::AutoInc, 4, 8, "AUTOINCREMENT"},
        {"Picture", FieldType::Blob, 0, 9, "LONGBINARY"},
        {"Notes", FieldType::Memo, 0, 10, "MEMO"},
        {"WideNotes", FieldType::WideMemo, 0, 10, ""},
        {"Stamp", FieldType::Timestamp, 8, 11, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FieldInfo field;
        field.name = c.name;
        field.type = c.type;
        field.size = c.size;
        EXPECT_EQ(fieldKindCode(field), c.kind);
        EXPECT_EQ(fieldTypeWord(field), c.word);
    }
}

TEST(FieldCodesTest, ColumnTypeTextForCreatingTables) {
    const struct {
        int32_t code;
        int32_t size;
        std::u16string text;
    } cases[] = {
        {0, 4, u"LONG"},
        {1, 8, u"FLOAT"},
        {2, 50, u"VARCHAR(50)"},
        {2, 0, u"VARCHAR(0)"},
        {2, -1, u"VARCHAR(4294967295)"},
        {6, 99, u"BYTE"},
        {8, 4, u"AUTOINCREMENT"},
        {9, 0, u"LONGBLOB"},
        {10, 0, u"MEMO"},
        {3, 4, u""},
        {12, 8, u""},
        {-1, 0, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(columnTypeText(c.code, c.size), c.text);
    }
}

TEST(FieldCodesTest, DaoTypeNumbersAndSizes) {
    const struct {
        JetType type;
        int declared;
        int32_t daoType;
        int32_t daoSize;
    } cases[] = {
        {JetType::Boolean, 0, 1, 1}, {JetType::Byte, 1, 2, 1},       {JetType::Integer, 2, 3, 2},
        {JetType::Long, 4, 4, 4},    {JetType::Currency, 8, 5, 8},   {JetType::Single, 4, 6, 4},
        {JetType::Double, 8, 7, 8},  {JetType::DateTime, 8, 8, 8},   {JetType::Binary, 16, 9, 16},
        {JetType::Text, 40, 10, 40}, {JetType::OLE, 0, 11, 0},       {JetType::Memo, 0, 12, 0},
        {JetType::GUID, 16, 15, 16}, {JetType::Decimal, 17, 20, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        engine::ColumnDef column;
        column.type = c.type;
        column.size = c.declared;
        FieldDef def = daoFieldDef(column);
        EXPECT_EQ(def.Type, c.daoType);
        EXPECT_EQ(def.Size, c.daoSize);
    }
    engine::ColumnDef counter;
    counter.type = JetType::Long;
    counter.autoNumber = true;
    EXPECT_EQ(daoFieldDef(counter).Type, 4) << "an autonumber is stored as a long";
}

TEST(FieldCodesTest, ColourTextIsNineDigitsRedGreenBlue) {
    int32_t color = 1 | 22 << 8 | 255 << 16;
    EXPECT_EQ(colorToText(color), "001022255");
    EXPECT_EQ(colorFromText(u"001022255"), color);
    EXPECT_EQ(colorToText(0), "000000000");
    // Bits above blue are not part of a colour.
    EXPECT_EQ(colorToText(static_cast<int32_t>(0xFF0A0B0Cu)), "012011010");
    // Text that is not nine digits reads as zero.
    EXPECT_EQ(colorFromText(u"00102225"), 0) << "eight digits";
    EXPECT_EQ(colorFromText(u""), 0);
    EXPECT_EQ(colorFromText(u"abc022255"), 0) << "letters in one group zero all three";
    EXPECT_EQ(colorFromText(u"001 22255"), 0);
    // Characters after the ninth are ignored; groups keep their low 8 bits.
    EXPECT_EQ(colorFromText(u"001022255xyz"), 1 | 22 << 8 | 255 << 16);
    EXPECT_EQ(colorFromText(u"256000000"), 0);
    EXPECT_EQ(colorFromText(u"300000001"), 44 | 1 << 16);
}

TEST(JetConnectionStringTest, ExactProviderText) {
    EXPECT_EQ(jetConnectionString(u"C:\\Data\\XLibData.mdb"),
              u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=C:\\Data\\XLibData.mdb;"
              u"Mode=Share Deny None;Extended Properties=\"\";Jet OLEDB:System database=\"\";"
              u"Jet OLEDB:Registry Path=\"\";Jet OLEDB:Database Password=\"\";"
              u"Jet OLEDB:Engine Type=5;Jet OLEDB:Database Locking Mode=1;"
              u"Jet OLEDB:Global Partial Bulk Ops=2;Jet OLEDB:Global Bulk Transactions=1;"
              u"Jet OLEDB:New Database Password=\"\";Jet OLEDB:Create System Database=False;"
              u"Jet OLEDB:Encrypt Database=False;Jet OLEDB:Don't Copy Locale on Compact=False;"
              u"Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False");
}

TEST(JetConnectionStringTest, EngineFindsThePathInIt) {
    for (const char16_t* path : {u"/tmp/a b/Donn\u00e9es.mdb", u"rel/x.mdb"}) {
        std::string text = host::toUtf8(jetConnectionString(path));
        EXPECT_EQ(engine::dataSourceFromConnectionString(text), host::toUtf8(path));
    }
}

}  // namespace
}  // namespace orvdb::data

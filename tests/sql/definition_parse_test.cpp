// CREATE / ALTER / DROP: the definitions the catalog receives.
#include "sql_test_support.hpp"

#include "engine/sql/translate/type_words.hpp"

#include <gtest/gtest.h>

namespace orvdb::engine::sql {
namespace {

using testing::errorOf;

template <typename T>
T parseAs(const std::string& sql) {
    Statement st = parseStatement(sql);
    EXPECT_TRUE(st.isDefinition());
    return std::get<T>(st.body);
}

// Every word Jet accepts for a type; "(n)" and "(n, m)" sizes are parsed
// with the word, a blank before the length allowed.
struct TypeCase {
    const char* words;  // separated by "|"
    JetType type;
    int size;  // checked for Text and Binary
    bool autoNumber;
};

class TypeWords : public ::testing::TestWithParam<TypeCase> {};

TEST_P(TypeWords, MapToJetTypes) {
    const TypeCase& c = GetParam();
    std::string words = c.words;
    for (size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
        end = words.find('|', start);
        std::string word = words.substr(start, end - start);
        auto t = parseAs<CreateTableStatement>("CREATE TABLE t (c " + word + ")");
        ASSERT_EQ(t.columns.size(), 1u) << word;
        EXPECT_EQ(t.columns[0].type, c.type) << word;
        EXPECT_EQ(t.columns[0].autoNumber, c.autoNumber) << word;
        if (c.type == JetType::Text || c.type == JetType::Binary) {
            EXPECT_EQ(t.columns[0].size, c.size) << word;
        }
        // The word `orvdb schema` and the server copy write for the column
        // declares the same column again.
        const std::string declared = declarationOf(t.columns[0]);
        auto again = parseAs<CreateTableStatement>("CREATE TABLE t (c " + declared + ")");
        EXPECT_EQ(again.columns[0].type, c.type) << word << " -> " << declared;
        EXPECT_EQ(again.columns[0].autoNumber, c.autoNumber) << word << " -> " << declared;
        EXPECT_EQ(again.columns[0].size, t.columns[0].size) << word << " -> " << declared;
    }
}

INSTANTIATE_TEST_SUITE_P(
    AnsiMode, TypeWords,
    ::testing::Values(
        TypeCase{"LONG|integer|INT|INTEGER4", JetType::Long, 0, false},
        TypeCase{"COUNTER|AUTOINCREMENT|IDENTITY", JetType::Long, 0, true},
        TypeCase{"SHORT|SMALLINT|INTEGER2", JetType::Integer, 0, false},
        TypeCase{"BYTE|TINYINT", JetType::Byte, 0, false},
        TypeCase{"REAL|SINGLE|FLOAT4|IEEESINGLE", JetType::Single, 0, false},
        TypeCase{"FLOAT|DOUBLE|FLOAT8|IEEEDOUBLE|NUMBER", JetType::Double, 0, false},
        TypeCase{"NUMERIC|DECIMAL|DEC", JetType::Decimal, 0, false},
        TypeCase{"MONEY|CURRENCY", JetType::Currency, 0, false},
        TypeCase{"DATETIME|DATE|TIME|TIMESTAMP", JetType::DateTime, 0, false},
        TypeCase{"BIT|YESNO|LOGICAL|LOGICAL1", JetType::Boolean, 0, false},
        TypeCase{"VARCHAR|NCHAR", JetType::Text, 255, false},
        TypeCase{"VARCHAR(20)|NVARCHAR (20)|TEXT(20)|CHAR(20)|CHARACTER(20)|ALPHANUMERIC(20)|"
                 "STRING(20)",
                 JetType::Text, 20, false},
        // In ANSI-92 mode TEXT without a length is a Memo.
        TypeCase{"TEXT|MEMO|LONGTEXT|LONGCHAR|NOTE|NTEXT", JetType::Memo, 0, false},
        TypeCase{"LONGBINARY|OLEOBJECT|GENERAL|IMAGE", JetType::OLE, 0, false},
        TypeCase{"GUID|UNIQUEIDENTIFIER", JetType::GUID, 0, false},
        TypeCase{"BINARY(16)|VARBINARY (16)", JetType::Binary, 16, false},
        TypeCase{"BINARY", JetType::Binary, 510, false}));

TEST(CreateTable, ColumnsAndColumnConstraints) {
    auto t = parseAs<CreateTableStatement>(
        "CREATE TABLE Expression (Id AUTOINCREMENT(100, 5) PRIMARY KEY, "
        "Expression VARCHAR(255) NOT NULL DEFAULT 'x', Price DECIMAL(10, 2) DEFAULT -1.5, "
        "Stamp DATETIME DEFAULT Now() NOT NULL, "
        "Ref LONG CONSTRAINT fk_ref REFERENCES Article (ID) ON DELETE CASCADE, "
        "Code TEXT(20) WITH COMPRESSION UNIQUE)");
    EXPECT_EQ(t.table, "Expression");
    ASSERT_EQ(t.columns.size(), 6u);
    EXPECT_TRUE(t.columns[0].autoNumber);
    EXPECT_EQ(t.columns[0].autoSeed, 100);
    EXPECT_EQ(t.columns[0].autoStep, 5);
    EXPECT_TRUE(t.columns[1].required);
    EXPECT_EQ(t.columns[1].defaultValue, "'x'");
    EXPECT_EQ(t.columns[2].precision, 10);
    EXPECT_EQ(t.columns[2].scale, 2);
    EXPECT_EQ(t.columns[2].defaultValue, "-1.5");
    EXPECT_EQ(t.columns[3].defaultValue, "Now()");
    EXPECT_TRUE(t.columns[3].required);
    EXPECT_FALSE(t.columns[1].compressedUnicode);
    EXPECT_TRUE(t.columns[5].compressedUnicode);

    ASSERT_EQ(t.constraints.size(), 3u);
    EXPECT_EQ(t.constraints[0].kind, TableConstraint::Kind::PrimaryKey);
    EXPECT_EQ(t.constraints[0].columns, std::vector<std::string>{"Id"});
    EXPECT_EQ(t.constraints[1].kind, TableConstraint::Kind::ForeignKey);
    EXPECT_EQ(t.constraints[1].name, "fk_ref");
    EXPECT_EQ(t.constraints[1].columns, std::vector<std::string>{"Ref"});
    EXPECT_EQ(t.constraints[1].referencedTable, "Article");
    EXPECT_EQ(t.constraints[1].referencedColumns, std::vector<std::string>{"ID"});
    EXPECT_EQ(t.constraints[1].onDelete, ReferentialAction::Cascade);
    EXPECT_EQ(t.constraints[1].onUpdate, ReferentialAction::NoAction);
    EXPECT_EQ(t.constraints[2].kind, TableConstraint::Kind::Unique);
}

TEST(CreateTable, TableConstraints) {
    auto t = parseAs<CreateTableStatement>(
        "CREATE TABLE PillingUp_MG_Side (PillingUpID LONG, Side BYTE, "
        "CONSTRAINT pk PRIMARY KEY (PillingUpID, Side), UNIQUE (Side), "
        "CONSTRAINT fk FOREIGN KEY (PillingUpID) REFERENCES PillingUp ON UPDATE CASCADE "
        "ON DELETE SET NULL)");
    ASSERT_EQ(t.constraints.size(), 3u);
    EXPECT_EQ(t.constraints[0].name, "pk");
    EXPECT_EQ(t.constraints[0].columns, (std::vector<std::string>{"PillingUpID", "Side"}));
    EXPECT_EQ(t.constraints[1].name, "");
    EXPECT_EQ(t.constraints[1].kind, TableConstraint::Kind::Unique);
    EXPECT_TRUE(t.constraints[2].referencedColumns.empty());
    EXPECT_EQ(t.constraints[2].onUpdate, ReferentialAction::Cascade);
    EXPECT_EQ(t.constraints[2].onDelete, ReferentialAction::SetNull);
}

TEST(AlterTable, Actions) {
    using A = AlterTableStatement::Action;
    auto add = parseAs<AlterTableStatement>(
        "ALTER TABLE ProfileWorkstationProfiles ADD COLUMN COMPTYPE INTEGER, SERIEID INTEGER, "
        "COMPTYPENAME VARCHAR(50)");
    EXPECT_EQ(add.action, A::AddColumns);
    ASSERT_EQ(add.columns.size(), 3u);
    EXPECT_EQ(add.columns[2].name, "COMPTYPENAME");
    EXPECT_EQ(add.columns[2].size, 50);

    auto noColumnWord =
        parseAs<AlterTableStatement>("ALTER TABLE [Language] ADD Español VARCHAR(255)");
    EXPECT_EQ(noColumnWord.columns[0].name, "Español");

    auto alter = parseAs<AlterTableStatement>("ALTER TABLE  T  ALTER COLUMN  Id AUTOINCREMENT");
    EXPECT_EQ(alter.action, A::AlterColumn);
    EXPECT_TRUE(alter.columns[0].autoNumber);

    auto drop = parseAs<AlterTableStatement>("ALTER TABLE Machining DROP COLUMN [Position]");
    EXPECT_EQ(drop.action, A::DropColumn);
    EXPECT_EQ(drop.name, "Position");

    auto addFk = parseAs<AlterTableStatement>(
        "ALTER TABLE  LanguageExpression   ADD CONSTRAINT fk_LngExp_LngID  FOREIGN KEY (LngID)  "
        "REFERENCES [Language](ID)");
    EXPECT_EQ(addFk.action, A::AddConstraint);
    ASSERT_EQ(addFk.constraints.size(), 1u);
    EXPECT_EQ(addFk.constraints[0].name, "fk_LngExp_LngID");
    EXPECT_EQ(addFk.constraints[0].referencedTable, "Language");

    auto dropC = parseAs<AlterTableStatement>("ALTER TABLE [EmpillageBeam] DROP CONSTRAINT fk_x");
    EXPECT_EQ(dropC.action, A::DropConstraint);
    EXPECT_EQ(dropC.name, "fk_x");
}

TEST(CreateIndex, Options) {
    auto ix = parseAs<CreateIndexStatement>(
        "CREATE UNIQUE INDEX pk_Msg ON Msg_Text_Expression(Ref, [zv_Position] DESC) WITH PRIMARY");
    EXPECT_EQ(ix.table, "Msg_Text_Expression");
    EXPECT_EQ(ix.index.name, "pk_Msg");
    EXPECT_TRUE(ix.index.unique);
    EXPECT_TRUE(ix.index.primary);
    ASSERT_EQ(ix.index.columns.size(), 2u);
    EXPECT_FALSE(ix.index.columns[0].descending);
    EXPECT_TRUE(ix.index.columns[1].descending);

    auto plain = parseAs<CreateIndexStatement>("CREATE INDEX i ON t (a) WITH IGNORE NULL");
    EXPECT_FALSE(plain.index.unique);
    EXPECT_TRUE(plain.index.ignoreNulls);
    auto required = parseAs<CreateIndexStatement>("CREATE INDEX i ON t (a ASC) WITH DISALLOW NULL");
    EXPECT_TRUE(required.index.required);
    EXPECT_FALSE(required.index.primary);
}

TEST(ViewsAndDrops, ViewsKeepTheSelectTextAndDropsNameTheirObjects) {
    auto v = parseAs<CreateViewStatement>(
        "CREATE VIEW Get_LanguageColor (a, b) AS SELECT * FROM [Language] WHERE x = 'y' ;");
    EXPECT_EQ(v.view, "Get_LanguageColor");
    EXPECT_EQ(v.columns, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(v.selectText, "SELECT * FROM [Language] WHERE x = 'y'");
    ASSERT_TRUE(v.query);
    EXPECT_EQ(parseAs<DropViewStatement>("DROP VIEW Get_ItemPicture").view, "Get_ItemPicture");
    // A column list becomes aliases.
    Statement st = parseStatement(
        "CREATE VIEW v (Code, Label) AS SELECT ID, Name AS n FROM t WHERE x = 1 ORDER BY Name");
    EXPECT_EQ(viewDefinitionSql(st),
              "SELECT ID AS [Code], Name AS [Label] FROM t WHERE x = 1 ORDER BY Name");
    Statement plain = parseStatement("CREATE VIEW v AS SELECT * FROM t");
    EXPECT_EQ(viewDefinitionSql(plain), "SELECT * FROM t");
    Statement mismatch = parseStatement("CREATE VIEW v (a, b) AS SELECT ID FROM t");
    EXPECT_EQ(errorOf([&] { viewDefinitionSql(mismatch); }),
              "Number of query values and destination fields are not the same.");
    EXPECT_EQ(parseAs<DropTableStatement>("DROP TABLE [Old One]").table, "Old One");
    auto ix = parseAs<DropIndexStatement>("DROP INDEX pk ON t");
    EXPECT_EQ(ix.index, "pk");
    EXPECT_EQ(ix.table, "t");
}

struct ErrorCase {
    const char* sql;
    const char* message;
};

class DefinitionErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(DefinitionErrors, UseJetWording) {
    EXPECT_EQ(errorOf([&] { parseStatement(GetParam().sql); }), GetParam().message)
        << GetParam().sql;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefinitionErrors,
    ::testing::Values(
        // LONGBLOB is another engine's word: Jet does not know it.
        ErrorCase{"CREATE TABLE `x` (`A`  LONG, `B`  LONGBLOB);",
                  "Syntax error in field definition."},
        ErrorCase{"ALTER TABLE t ADD COLUMN c INTEGER8", "Syntax error in field definition."},
        ErrorCase{"CREATE TABLE t (a LONG(4))", "Syntax error in field definition."},
        ErrorCase{"CREATE TABLE t (Position LONG)", "Syntax error in field definition."},
        ErrorCase{"CREATE TABLE t (a DECIMAL(40))", "Syntax error in field definition."},
        ErrorCase{"CREATE TABLE t (a VARCHAR(300))", "Size of field 'a' is too long."},
        ErrorCase{"CREATE TABLE t ()", "Syntax error in field definition."},
        ErrorCase{"CREATE TABLE t (a LONG", "Syntax error in CREATE TABLE statement."},
        ErrorCase{"CREATE TABLE t (a LONG, CONSTRAINT c FOREIGN KEY a REFERENCES u)",
                  "Syntax error in CONSTRAINT clause."},
        ErrorCase{"CREATE TABLE t (a LONG, CONSTRAINT c PRIMARY (a))",
                  "Syntax error in CONSTRAINT clause."},
        ErrorCase{"CREATE TABLE IF NOT EXISTS t (a LONG)",
                  "Syntax error in CREATE TABLE statement."},
        ErrorCase{"DROP TABLE IF EXISTS `x`", "Syntax error in DROP TABLE or DROP INDEX."},
        // Double quotes make text, not a name.
        ErrorCase{"DROP TABLE  \"Table des erreurs\"", "Syntax error in DROP TABLE or DROP INDEX."},
        ErrorCase{"DROP INDEX i", "Syntax error in DROP TABLE or DROP INDEX."},
        ErrorCase{"DROP DATABASE x", "Syntax error in DROP TABLE or DROP INDEX."},
        ErrorCase{"ALTER TABLE DOSSIERDEVISTREENODES  MODIFY  NAME  VARCHAR(255)",
                  "Syntax error in ALTER TABLE statement."},
        ErrorCase{"ALTER TABLE t RENAME TO u", "Syntax error in ALTER TABLE statement."},
        ErrorCase{"ALTER TABLE t ADD COLUMN a LONG b LONG", "Syntax error in field definition."},
        ErrorCase{"CREATE INDEX i ON t (a) WITH UNIQUE", "Syntax error in CREATE INDEX statement."},
        ErrorCase{"CREATE INDEX i t (a)", "Syntax error in CREATE INDEX statement."},
        ErrorCase{"CREATE VIEW v AS SELECT * INTO x FROM t",
                  "Only simple SELECT queries are allowed in VIEWS."},
        ErrorCase{"CREATE VIEW v AS DELETE FROM t",
                  "Only simple SELECT queries are allowed in VIEWS."}));

}  // namespace
}  // namespace orvdb::engine::sql

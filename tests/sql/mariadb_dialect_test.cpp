// Access statements written in MariaDB's dialect: the constructs whose
// meaning or spelling differs on the server, each with the text the server
// is sent, and the constructs it cannot express refused with the statement
// named. The schema is a fixed stand-in (no server needed).
#include "engine/sql/translate/mariadb_dialect.hpp"
#include "engine/engine_error.hpp"
#include "engine/sql/front_end.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orvdb::engine::sql {
namespace {

// The server spells the table Article (and knows it as such whatever the
// case written), View_A is a view, Article.Note is a TEXT column, PK the
// primary key of every table and FK_A a foreign key with its own index.
class StandInSchema final : public MariaDbSchema {
public:
    std::string tableName(const std::string& name) const override {
        return foldName(name) == "article" ? "Article" : name;
    }
    bool isView(const std::string& name) const override { return foldName(name) == "view_a"; }
    bool isLongColumn(const std::string&, const std::string& column) const override {
        return column == "Note";
    }
    bool isPrimaryKey(const std::string&, const std::string& name) const override {
        return name == "PK";
    }
    bool isForeignKeyWithIndex(const std::string&, const std::string& name) const override {
        return name == "FK_A";
    }
    std::string catalogTable(const std::string& name) const override {
        return foldName(name) == "msysrelationships" ? "SELECT 1 AS szObject" : "";
    }
    // XLIB is the database lib on the server, which spells Opening so.
    OtherTable otherDatabaseTable(const std::string& database,
                                  const std::string& table) const override {
        if (foldName(database) != "xlib") {
            throw std::runtime_error("no " + database + ".mariadb");
        }
        return {"lib", foldName(table) == "opening" ? "Opening" : table};
    }

private:
    static std::string foldName(std::string text) {
        for (char& c : text) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return text;
    }
};

struct Case {
    const char* access;
    const char* server;
};

const Case kCases[] = {
    {"SELECT a.[Name] & ' ' & Code FROM ARTICLE AS a WHERE a.Visible=True",
     "SELECT CONCAT(IFNULL(`a`.`Name`, ''), IFNULL(' ', ''), IFNULL(`Code`, '')) AS `Expr1000` "
     "FROM `Article` AS `a` WHERE (`a`.`Visible` = TRUE)"},
    {"SELECT TOP 3 IIf(IsNull(x), 'it''s', Mid(y, 2, 3)) AS z FROM article ORDER BY x DESC",
     "SELECT IF(ISNULL(`x`), 'it''s', SUBSTRING(`y`, 2, 3)) AS `z` FROM `Article` ORDER BY `x` "
     "DESC LIMIT 3"},
    {"SELECT ID FROM Article WHERE Name LIKE 'a*_?' AND D < #12/31/1999# AND P LIKE 'C:\\*'",
     "SELECT `ID` FROM `Article` WHERE ((`Name` LIKE 'a%\\\\__') AND (`D` < '1999-12-31 "
     "00:00:00') AND (`P` LIKE 'C:\\\\\\\\%'))"},
    {"SELECT * FROM MSysRelationships WHERE szObject='T'",
     "SELECT * FROM (SELECT 1 AS szObject) AS `MSysRelationships` WHERE (`szObject` = 'T')"},
    {"SELECT * INTO New FROM [Article]",
     "CREATE TABLE `New` ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 "
     "COLLATE=utf8mb4_uca1400_nopad_as_ci AS SELECT * FROM `Article`"},
    {"CREATE TABLE T (ID COUNTER, Name VARCHAR(50) NOT NULL, Flag YESNO)",
     "CREATE TABLE `T` (`ID` INT NOT NULL AUTO_INCREMENT COMMENT 'access:COUNTER', `Name` "
     "VARCHAR(50) NOT NULL COMMENT 'access:VARCHAR(50) NOT NULL', `Flag` BOOLEAN COMMENT "
     "'access:BIT', KEY (`ID`) COMMENT 'access: counter key') ENGINE=InnoDB DEFAULT "
     "CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci"},
    {"CREATE UNIQUE INDEX PK ON article (ID, Note) WITH PRIMARY",
     "ALTER TABLE `Article` ADD PRIMARY KEY (`ID`, `Note`(255)), COMMENT = 'access primary key: "
     "PK'"},
    {"ALTER TABLE Article ADD CONSTRAINT FK_B FOREIGN KEY (R) REFERENCES Other (ID)",
     "ALTER TABLE `Article` ADD INDEX `FK_B` (`R`), ADD CONSTRAINT `FK_B` FOREIGN KEY (`R`) "
     "REFERENCES `Other` (`ID`)"},
    {"ALTER TABLE Article DROP CONSTRAINT FK_A",
     "ALTER TABLE `Article` DROP FOREIGN KEY `FK_A`, DROP INDEX `FK_A`"},
    {"ALTER TABLE Article DROP CONSTRAINT PK", "ALTER TABLE `Article` DROP PRIMARY KEY"},
    {"ALTER TABLE Article ALTER COLUMN Weight FLOAT",
     "ALTER TABLE `Article` MODIFY COLUMN `Weight` DOUBLE COMMENT 'access:FLOAT'"},
    {"DROP TABLE View_A", "DROP VIEW `View_A`"},
    {"DELETE FROM Article WHERE ID IN (SELECT R FROM Other)",
     "DELETE FROM `Article` WHERE (`ID` IN (SELECT `R` FROM `Other`))"},
    {"SELECT DatePart('q', D), Year(D), Weekday(D), CCur(P) FROM Article",
     "SELECT QUARTER(`D`) AS `Expr1000`, YEAR(`D`) AS `Expr1001`, DAYOFWEEK(`D`) AS `Expr1002`, "
     "CAST(`P` AS DECIMAL(19,4)) AS `Expr1003` FROM `Article`"},
    {"SELECT c.Name, s.name, s.ID FROM Article AS c, Other AS s",
     "SELECT `c`.`Name` AS `c.Name`, `s`.`name` AS `s.name`, `s`.`ID` FROM `Article` AS `c`, "
     "`Other` AS `s`"},
    {"SELECT O.ID, opening.Name FROM [XLIB].OPENING AS O, [xlib].opening",
     "SELECT `O`.`ID`, `opening`.`Name` FROM `lib`.`Opening` AS `O`, `lib`.`Opening` AS "
     "`opening`"},
};

TEST(MariaDbDialect, WritesEachConstructAsTheServerReadsIt) {
    StandInSchema schema;
    for (const Case& row : kCases) {
        EXPECT_EQ(toMariaDb(parseStatement(row.access), schema), row.server) << row.access;
    }
}

TEST(MariaDbDialect, RefusesWhatTheServerCannotExpressNamingTheStatement) {
    StandInSchema schema;
    for (const char* access : {
             "SELECT * FROM [C:\\other.mdb].Article",
             "SELECT Format(D, 'yyyy') FROM Article",
             "SELECT TOP 10 PERCENT ID FROM Article",
             "TRANSFORM Sum(A) SELECT B FROM T GROUP BY B PIVOT C",
             "SELECT A Eqv B FROM T",
             "SELECT 'Ref ' + Name FROM T",
             "SELECT DatePart('ww', D) FROM T",
         }) {
        try {
            toMariaDb(parseStatement(access), schema);
            ADD_FAILURE() << "written for the server: " << access;
        } catch (const SqlError& e) {
            EXPECT_NE(std::string(e.what()).find(access), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace orvdb::engine::sql

// Pieces of the provider upgrade: the driver and the step runner on small
// databases built here, version numbers and the action parameter edits (the
// whole catalogue runs in upgrade_provider/).
#include <gmock/gmock.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../support/mariadb_server.hpp"
#include "../support/suite_database.hpp"
#include "data/database.hpp"
#include "data/database_factory.hpp"
#include "data/mariadb/database_factory.hpp"
#include "host/exceptions.hpp"
#include "host/format.hpp"
#include "host/utf16.hpp"
#include "upgrade/action_parameters.hpp"
#include "upgrade/provider_upgrade.hpp"
#include "upgrade/step_runner.hpp"
#include "upgrade/version_number.hpp"

namespace orvdb::upgrade {
namespace {

using Lines = std::vector<std::string>;
using suite_test::execute;
using suite_test::hasColumn;
using suite_test::rows;

// The provider steps up to 0.35841, on tables built here (the whole
// catalogue runs in provider_catalogue_test.cpp).
const UpgradeCatalogue& firstSteps() {
    static const UpgradeCatalogue steps = stepsUpTo(providerCatalogue(), "0.35841");
    return steps;
}

UpgradeLog upgrade(iDatabase& db, const UpgradeCatalogue& catalogue = firstSteps()) {
    UpgradeLog log;
    runProviderUpgrade(db, log, "Acme", catalogue);
    return log;
}

class ProviderUpgradeTest : public suite_test::SuiteTest {
protected:
    // A provider database at the given version with the tables of the first
    // steps.
    ComPtr<iDatabase> provider(const std::string& version, const std::string& objectVersion,
                               bool withTables = true) {
        std::string file = createDatabase("Providers/Acme/XLibData.mdb");
        ComPtr<iDatabase> db = data::createDatabase(u"GAMMISTE", u"0", u"XLIBDATA", true, u"",
                                                    host::toUtf16(file), nullptr);
        execute(*db, {"CREATE TABLE Version (Version SINGLE, ObjectVersion SINGLE)",
                      "INSERT INTO Version VALUES (" + version + ", " + objectVersion + ")"});
        if (withTables) {
            execute(*db, {"CREATE TABLE variableobjtree_Textlist_Text (ID LONG, Name TEXT(20))",
                          "INSERT INTO variableobjtree_Textlist_Text VALUES (7, 'a')",
                          "INSERT INTO variableobjtree_Textlist_Text VALUES (9, 'b')",
                          "CREATE TABLE variableobjtree_Valuelist_Value (ID LONG, [Position] LONG)",
                          "INSERT INTO variableobjtree_Valuelist_Value VALUES (3, 30)",
                          "CREATE TABLE GroupArticle (ID LONG PRIMARY KEY)",
                          "INSERT INTO GroupArticle VALUES (1)",
                          "CREATE TABLE Article (ID LONG, RefGroup LONG)",
                          "INSERT INTO Article VALUES (1, 1)", "INSERT INTO Article VALUES (2, 99)",
                          "CREATE TABLE Provider (ID LONG, Name TEXT(50))"});
        }
        return db;
    }

    std::string storedVersion(iDatabase& db) {
        return rows(db, "SELECT Version FROM Version", {"Version"}).at(0);
    }
};

// One row per starting version: how many steps the upgrade reports, and
// that a second upgrade finds nothing left to do.
struct StartCase {
    const char* version;
    int stepsRun;
};
const StartCase kStartCases[] = {
    {"0.35835", 5},
    {"0.35839", 2},
    {"0.3584", 1},  // equal to a target after rounding: that step does not run
    {"0.35841", 0},
};

class ProviderUpgradeFrom : public ProviderUpgradeTest,
                            public ::testing::WithParamInterface<StartCase> {};

TEST_P(ProviderUpgradeFrom, ReachesTheLastTargetAndASecondRunDoesNothing) {
    const StartCase& start = GetParam();
    ComPtr<iDatabase> db = provider(start.version, "0.8");
    UpgradeLog log = upgrade(*db);
    EXPECT_EQ(
        log, (UpgradeLog{
                 "Providername: Acme",
                 std::string("Current Version: ") +
                     host::TFormat::FloatToStrFormated(std::stod(start.version), 5),
                 std::to_string(start.stepsRun) + " mise(s) à jour efféctuée(s) avec succès", ""}));
    EXPECT_EQ(storedVersion(*db), "0.35841");

    UpgradeLog again = upgrade(*db);
    EXPECT_EQ(again.at(2), "0 mise(s) à jour efféctuée(s) avec succès");
}

INSTANTIATE_TEST_SUITE_P(Versions, ProviderUpgradeFrom, ::testing::ValuesIn(kStartCases));

TEST_F(ProviderUpgradeTest, FirstStepsChangeTheirTables) {
    ComPtr<iDatabase> db = provider("0.35835", "0.8");
    upgrade(*db);
    EXPECT_EQ(rows(*db, "SELECT ID, [Position] FROM variableobjtree_Textlist_Text ORDER BY ID",
                   {"ID", "Position"}),
              (std::vector<std::string>{"7|7", "9|9"}));
    // Step 1 numbered the value list too (its ALTER failed: the column existed).
    EXPECT_EQ(rows(*db, "SELECT [Position] FROM variableobjtree_Valuelist_Value", {"Position"}),
              std::vector<std::string>{"3"});
    EXPECT_EQ(rows(*db, "SELECT ID, RefGroup FROM Article ORDER BY ID", {"ID", "RefGroup"}),
              (std::vector<std::string>{"1|1", "2|"}));
    EXPECT_TRUE(hasColumn(*db, "Provider", "LogoFilename"));
}

TEST_F(ProviderUpgradeTest, AScriptStepProbesBeforeItChanges) {
    ComPtr<iDatabase> db = provider("0.3584", "0.8");
    upgrade(*db);
    EXPECT_FALSE(hasColumn(*db, "Provider", "LogoFilename"));  // step 0.35840
    // Script 15 ran: the text list had no [Position] column.
    EXPECT_TRUE(hasColumn(*db, "variableobjtree_Textlist_Text", "Position"));
}

TEST_F(ProviderUpgradeTest, TheLibraryFolderIsTheConnectionsNotTheProcesses) {
    ComPtr<iDatabase> db = provider("0.35841", "0.8");
    std::filesystem::path before = std::filesystem::current_path();
    upgrade(*db);
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_EQ(dynamic_cast<data::torvc_Database&>(*db).connection().workingFolder(), root);
}

TEST_F(ProviderUpgradeTest, StepsWhoseStatementsAllFailStillRecordTheirVersion) {
    ComPtr<iDatabase> db = provider("0.35839", "0.8", /*withTables=*/false);
    upgrade(*db);
    EXPECT_EQ(storedVersion(*db), "0.35841");
}

TEST_F(ProviderUpgradeTest, TooOldDatabasesAreRefusedWithTheirOwnException) {
    {
        ComPtr<iDatabase> db = provider("0.35834", "0.7");
        EXPECT_THROW(upgrade(*db), host::EORV_DATABASEUPDATE);
        EXPECT_EQ(storedVersion(*db), "0.35834");
    }
    TearDown();
    SetUp();
    ComPtr<iDatabase> db = provider("0.35834", "0.8");
    try {
        upgrade(*db);
        FAIL() << "a database at 0.35834 was upgraded";
    } catch (const DatabaseTooOld& e) {
        EXPECT_STREQ(e.what(), "Your database Acme version (0.36) is too old");
    }
    EXPECT_FALSE(hasColumn(*db, "Provider", "LogoFilename"));
}

// A catalogue declared here: one step, a patch of two statements, a patch
// whose routine looks at the database first.
void addCustomWhenMissing(UpgradeSession& session) {
    if (!session.fieldExists("Provider", "Custom")) {
        session.open("ALTER TABLE Provider ADD COLUMN Custom TEXT(10)");
    }
}
constexpr UpgradeRow kTestSteps[] = {
    statement("0.36051", "ALTER TABLE Provider ADD COLUMN Colour TEXT(10)"),
};
constexpr UpgradeRow kTestPatches[] = {
    statement("LOGOFILE", "ALTER TABLE Provider ADD COLUMN Logo TEXT(10)"),
    statement("NOTES", "ALTER TABLE Provider ADD COLUMN Notes TEXT(10)"),
    statement("NOTES", "UPDATE Provider SET Notes='none'"),
    script("CUSTOM", addCustomWhenMissing),
};
static_assert(ascendingTargets(kTestSteps) && distinctCodes(kTestPatches));
constexpr UpgradeCatalogue kTestCatalogue{kTestSteps, kTestPatches};

TEST_F(ProviderUpgradeTest, PatchesRecordedInAnyLetterCaseAreNotRunAgain) {
    ComPtr<iDatabase> db = provider("0.3605", "0.8");
    execute(*db,
            {"CREATE TABLE ZV_VersionCode (zvID AUTOINCREMENT PRIMARY KEY, zvCode VARCHAR(20))",
             "INSERT INTO ZV_VersionCode (zvCode) VALUES ('logofile')",
             "INSERT INTO Provider (ID) VALUES (1)"});
    UpgradeLog log = upgrade(*db, kTestCatalogue);

    EXPECT_TRUE(hasColumn(*db, "Provider", "Colour"));
    EXPECT_FALSE(hasColumn(*db, "Provider", "Logo"));
    EXPECT_EQ(rows(*db, "SELECT Notes FROM Provider", {"Notes"}), std::vector<std::string>{"none"});
    EXPECT_TRUE(hasColumn(*db, "Provider", "Custom"));
    EXPECT_EQ(rows(*db, "SELECT zvCode FROM ZV_VersionCode ORDER BY zvID", {"zvCode"}),
              (std::vector<std::string>{"logofile", "NOTES", "CUSTOM"}));
    EXPECT_EQ(storedVersion(*db), "0.36051");
    EXPECT_EQ(log.at(2), "3 mise(s) à jour efféctuée(s) avec succès");

    UpgradeLog again = upgrade(*db, kTestCatalogue);
    EXPECT_EQ(again.at(1), "Current Version: 0.36051");
    EXPECT_EQ(again.at(2), "0 mise(s) à jour efféctuée(s) avec succès");
}

TEST_F(ProviderUpgradeTest, BelowTheFirstVersionWithCodesEveryPatchRuns) {
    ComPtr<iDatabase> db = provider("0.36049", "0.8");
    execute(*db,
            {"CREATE TABLE ZV_VersionCode (zvID AUTOINCREMENT PRIMARY KEY, zvCode VARCHAR(20))",
             "INSERT INTO ZV_VersionCode (zvCode) VALUES ('NOTES')"});
    upgrade(*db, kTestCatalogue);
    // The table is not read below 0.3605, so NOTES runs again.
    EXPECT_TRUE(hasColumn(*db, "Provider", "Notes"));
    EXPECT_EQ(
        rows(*db, "SELECT zvCode FROM ZV_VersionCode WHERE zvCode='NOTES'", {"zvCode"}).size(), 2u);
}

// What the build-time checks of a catalogue accept.
void noop(UpgradeSession&) {}
// On a server, a view made before a column it reads waits for it; one that
// still waits at the end fails the upgrade, named with the server's reason.
constexpr UpgradeRow kServerViewSteps[] = {
    statement("0.36051", "CREATE VIEW Early AS SELECT Colour FROM Provider"),
    statement("0.36051", "ALTER TABLE Provider ADD COLUMN Colour TEXT(10)"),
    statement("0.36052", "CREATE VIEW Never AS SELECT * FROM Missing"),
};
constexpr UpgradeCatalogue kServerViewCatalogue{kServerViewSteps, {}};

TEST_F(ProviderUpgradeTest, OnAServerAViewStillWaitingAtTheEndFailsTheUpgrade) {
    test_support::ScratchServerDatabase scratch;
    ORVDB_SKIP_WITHOUT_MARIADB(scratch);
    ComPtr<iDatabase> db =
        data::mariadb::createDatabase(u"GAMMISTE", u"MARIADB", scratch.settings(), true, nullptr);
    auto server = scratch.session();
    for (const char* sql : {"CREATE TABLE Version (Version FLOAT, ObjectVersion FLOAT)",
                            "INSERT INTO Version VALUES (0.36049, 0.8)",
                            "CREATE TABLE Provider (ID INT, Name VARCHAR(50))"}) {
        server->execute(sql);
    }
    try {
        upgrade(*db, kServerViewCatalogue);
        ADD_FAILURE() << "the upgrade ended with a view missing";
    } catch (const host::EORV_DATABASEUPDATE& e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr("view 'Never'"));
        EXPECT_THAT(e.what(), ::testing::HasSubstr("Missing' doesn't exist"));
        EXPECT_THAT(e.what(), ::testing::Not(::testing::HasSubstr("Early")));
    }
    EXPECT_EQ(server->scalar("SELECT GROUP_CONCAT(TABLE_NAME) FROM "
                             "information_schema.VIEWS WHERE TABLE_SCHEMA=DATABASE()"),
              "Early");
}

struct TableCase {
    const char* name;
    std::vector<UpgradeRow> rows;
    bool ascending;
    bool distinct;
};
const TableCase kTableCases[] = {
    {"one step of two rows", {statement("0.1", "A"), statement("0.1", "B")}, true, true},
    {"ascending", {statement("0.35836", "A"), script("0.3584", 15, noop)}, true, true},
    {"descending", {statement("0.35836", "A"), statement("0.35835", "B")}, false, true},
    {"within the tolerance", {statement("0.1", "A"), statement("0.1000005", "B")}, false, true},
    {"not a number", {statement("0.3a", "A")}, false, true},
    {"script without routine", {script("0.2", 15, nullptr)}, false, false},
    {"code in two places",
     {statement("A", "x"), statement("B", "y"), statement("a", "z")},
     false,
     false},
    {"code too long", {statement("ABCDEFGHIJKLMNOPQRSTU", "x")}, false, false},
};

TEST(UpgradeCatalogueChecks, AcceptOnlyOrderedTargetsAndDistinctCodes) {
    for (const TableCase& table : kTableCases) {
        SCOPED_TRACE(table.name);
        EXPECT_EQ(ascendingTargets(table.rows), table.ascending);
        EXPECT_EQ(distinctCodes(table.rows), table.distinct);
    }
}

// Versions are single-precision numbers compared with a tolerance and
// written back as the decimal expansion of the single value.
TEST(VersionNumber, TextIsTheExpansionOfTheSingleValue) {
    // The single nearest 0.3605 is 0.36050000786781311 (its neighbours are
    // 0.36049997806549072 and 0.36050003767013550).
    EXPECT_EQ(versionText(0.3605f), "0.360500007867813");
    EXPECT_EQ(versionText(2.18f), "2.1800000667572");
    EXPECT_EQ(versionText(0.5f), "0.5");
    EXPECT_EQ(versionUpdateSql(0.35841f), "UPDATE Version SET Version=" + versionText(0.35841f));
    // Reading the text back as a single and rounding gives the version again.
    float back = std::stof(versionText(0.3605f));
    EXPECT_EQ(roundVersion(back), 0.3605f);
}

TEST(VersionNumber, RoundingToFiveDecimals) {
    EXPECT_EQ(roundVersion(0.358399987f), 0.3584f);
    EXPECT_EQ(roundVersion(0.3583649f), 0.35836f);
    EXPECT_EQ(roundVersion(0.3583651f), 0.35837f);
}

TEST(VersionNumber, ComparisonTolerance) {
    // Equal after rounding: not below, so the step does not run.
    EXPECT_FALSE(versionBelow(roundVersion(0.358359993f), 0.35836f));
    EXPECT_FALSE(versionBelow(0.3605 - 0.0000009, 0.3605));
    EXPECT_TRUE(versionBelow(0.3605 - 0.0000011, 0.3605));
    EXPECT_TRUE(versionBelow(0.35835f, 0.35836f));
}

// ---- the edit programs of the action parameter rewrites ----

struct EditCase {
    const char* program;
    int ref;
    Lines before;
    Lines after;          // when applied
    bool applied = true;  // false: no alternative applies, the row is left alone
};

const EditCase kEditCases[] = {
    {"append 0", 0, {"a"}, {"a", "0"}},
    {"insert 0 at 2; insert 0 at 2", 0, {"a", "b", "c"}, {"a", "b", "0", "0", "c"}},
    {"insert 0 at 3", 0, {"a", "b", "c"}, {"a", "b", "c", "0"}},
    {"insert 0 before last; insert 0 before last", 0, {"a", "b"}, {"a", "0", "0", "b"}},
    {"insert last at 0", 0, {"a", "b"}, {"b", "a", "b"}},
    {"take last; insert 0 at 0; insert taken at 0", 0, {"a", "b"}, {"b", "0", "a"}},
    {"swap 0 1", 0, {"a", "b", "c"}, {"b", "a", "c"}},
    {"delete 1", 0, {"a", "b", "c"}, {"a", "c"}},
    {"negate 1", 0, {"a", "5"}, {"a", "-(5)"}},
    {"negate 1", 0, {"a", "0"}, {"a", "0"}},
    {"layout L1 0;0 L0 L1", 0, {"a", "b"}, {"b", "0;0", "a", "b"}},
    {"ref 1: append x | ref 2, 3: append y", 3, {"a"}, {"a", "y"}},
    {"ref 1: append x | ref 2, 3: append y", 1, {"a"}, {"a", "x"}},
    {"ref 1: append x | ref 2, 3: append y", 4, {"a"}, {"a"}, false},
    {"ref 5, 2 lines: append x | ref 5: append y", 5, {"a", "b"}, {"a", "b", "x"}},
    {"ref 5, 2 lines: append x | ref 5: append y", 5, {"a"}, {"a", "y"}},
    {"2 lines: delete 0", 0, {"a", "b"}, {"b"}},
    {"2 lines: delete 0", 0, {"a"}, {"a"}, false},
};

TEST(ActionParameterEdits, EachEditAndTheChoiceOfAlternative) {
    for (const EditCase& edit : kEditCases) {
        std::string before;
        for (const std::string& line : edit.before) {
            before += " [" + line + "]";
        }
        SCOPED_TRACE(std::string(edit.program) + " on Ref " + std::to_string(edit.ref) + before);
        Lines lines = edit.before;
        EXPECT_EQ(editParameters(edit.program, edit.ref, lines, "action 1"), edit.applied);
        EXPECT_EQ(lines, edit.after);
    }
}

struct FailureCase {
    const char* program;
    Lines before;
    const char* error;  // what the exception says
};

const FailureCase kFailureCases[] = {
    {"insert 0 at 2",
     {"a"},
     "action 1: its parameter list has 1 lines, too few for 'insert 0 at 2'"},
    {"swap 1 2", {"a", "b"}, "action 1: its parameter list has 2 lines, too few for 'swap 1 2'"},
    {"delete 0", {}, "action 1: its parameter list has 0 lines, too few for 'delete 0'"},
    {"insert 0 before last", {}, "too few for 'insert 0 before last'"},
    {"layout L0 L3", {"a"}, "too few for 'layout L0 L3'"},
    {"take last", {}, "too few for 'take last'"},
};

TEST(ActionParameterEdits, AListTooShortStopsWithTheActionNamed) {
    for (const FailureCase& failure : kFailureCases) {
        SCOPED_TRACE(failure.program);
        Lines lines = failure.before;
        try {
            editParameters(failure.program, 0, lines, "action 1");
            ADD_FAILURE() << "the edit went through";
        } catch (const ActionParameterError& e) {
            EXPECT_NE(std::string(e.what()).find(failure.error), std::string::npos) << e.what();
        }
    }
    Lines lines{"a"};
    EXPECT_THROW(editParameters("rotate 1", 0, lines, "action 1"), std::invalid_argument);
}

TEST(ActionParameterEdits, ListsSplitOnEveryLineBreakAndJoinWithCrLf) {
    const std::pair<const char*, Lines> splits[] = {
        {"a\r\nb\r\n", {"a", "b"}}, {"a\rb", {"a", "b"}}, {"a\n\nb", {"a", "", "b"}}, {"", {}}};
    for (const auto& [text, lines] : splits) {
        EXPECT_EQ(parameterLines(text), lines) << text;
    }
    EXPECT_EQ(parameterText({"a", "b"}), "a\r\nb\r\n");
}

// Every program of the catalogue reads: whatever the Ref and the length of
// the list, it applies or finds the list too short, never fails to parse.
TEST(ActionParameterEdits, EveryCatalogueProgramReads) {
    for (const ActionRewrite& rewrite : kActionRewrites) {
        SCOPED_TRACE("script " + std::to_string(rewrite.script));
        for (int ref = 0; ref <= 140; ++ref) {
            for (size_t count : {8u, 9u, 20u}) {
                Lines lines(count, "x");
                try {
                    editParameters(rewrite.edits, ref, lines, "action 1");
                } catch (const ActionParameterError&) {
                    EXPECT_LT(count, 20u) << "Ref " << ref;
                } catch (const std::invalid_argument& e) {
                    ADD_FAILURE() << e.what();
                }
            }
        }
    }
}

}  // namespace
}  // namespace orvdb::upgrade

// The whole provider upgrade on the old provider of the examples, run once
// for the suite (a minute in Debug); tests work on copies of its files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../support/mariadb_server.hpp"
#include "../support/old_provider.hpp"
#include "../support/upgrade_checks.hpp"
#include "data/database.hpp"
#include "data/database_factory.hpp"
#include "data/mariadb/copy.hpp"
#include "data/mariadb/database_factory.hpp"
#include "host/host_services.hpp"
#include "host/interfaced_object.hpp"
#include "host/registry_info.hpp"
#include "host/utf16.hpp"
#include "kinds/kind_sql.hpp"
#include "kinds/provider_database.hpp"
#include "upgrade/action_parameters.hpp"
#include "upgrade/provider_catalogue.hpp"
#include "upgrade/provider_upgrade.hpp"
#include "upgrade/step_runner.hpp"

namespace orvdb::upgrade {
namespace {

namespace fs = std::filesystem;
using test_support::Lines;

// A data root with the library folder and data root (registry entries 28
// and 30) on it.
class Host {
public:
    explicit Host(fs::path root) : root_(std::move(root)) {
        host::HostServices services;
        services.registry = std::make_shared<host::MemoryRegistryInfo>();
        host::installHostServices(std::move(services));
        host::registry()->set(28, root_.string() + "/");
        host::registry()->set(30, root_.string() + "/");
    }
    ~Host() { host::resetHostServices(); }

    fs::path provider() const { return root_ / "Providers" / "Acme" / "XLibData.Mdb"; }

private:
    fs::path root_;
};

UpgradeCatalogue stepsUpTo(std::string_view last) {
    return stepsUpTo(providerCatalogue(), last);
}

UpgradeLog upgrade(const fs::path& file, const UpgradeCatalogue& catalogue = providerCatalogue()) {
    ComPtr<iDatabase> db = data::createDatabase(u"GAMMISTE", u"0", u"XLIBDATA", true, u"",
                                                host::toUtf16(file.string()), nullptr);
    UpgradeLog log;
    runProviderUpgrade(*db, log, "Acme", catalogue);
    return log;
}

// A provider file read through an engine connection whose working folder is
// the library's (the data root, three folders up).
test_support::FileConnection reader(const fs::path& file) {
    return test_support::FileConnection(file, file.parent_path().parent_path().parent_path());
}

Lines rows(const fs::path& file, const std::string& sql) {
    return reader(file).rows(sql);
}

class ProviderCatalogueTest : public test_support::SharedSuiteTest<test_support::UpgradedRoots> {
protected:
    static void SetUpTestSuite() {
        suite = new test_support::UpgradedRoots;
        suite->make(test_support::buildOldProvider,
                    [](const fs::path& root, const char* upTo) {
                        Host host(root);
                        return upgrade(host.provider(),
                                       upTo ? stepsUpTo(upTo) : providerCatalogue());
                    },
                    {"0.35857", "0.35864", "0.35928"});
    }
    static fs::path upgradedFile() {
        return suite->upgradedRoot / "Providers" / "Acme" / "XLibData.Mdb";
    }
};

const test_support::ExpectedFailure kExpectedFailures[] = {
    {"WHERE ID=32", 1,
     "script 16: the action text holds an apostrophe; the update inserts it unescaped"},
    {"ALTER TABLE variableobjtree_Textlist_Text ADD COLUMN [Position] LONG", 1,
     "script 21 adds [Position] again: 0.35836 added it"},
    {"ALTER TABLE variableobjtree_Valuelist_Value ADD COLUMN [Position] LONG", 1, "as above"},
    {"DROP TABLE Colors_Gamme", 1,
     "0.35871 re-creates the view Colors_Gamme, but Colors_Gamme is the gamme table the colours "
     "refer to (the table Get_Color_Gamme reads): Jet refuses to drop it"},
    {"CREATE VIEW Colors_Gamme AS SELECT G.ID, G.NameID FROM Get_Color_Gamme AS G", 1,
     "the name is the gamme table's"},
    {"ALTER TABLE GroupMachining ADD COLUMN Color VARCHAR(10)", 1, "0.35851 added it"},
    {"ALTER TABLE GroupMachining ADD COLUMN Description VARCHAR(255)", 1, "as above"},
    {"ALTER TABLE Machining ADD COLUMN Description VARCHAR (255)", 1, "0.35851 added Description"},
    {"DROP TABLE ZV_Language", 1, "script 40 renames with drop-new-first: no ZV_Language yet"},
    {"DROP TABLE ZV_Action", 1, "as above"},
    {"DROP TABLE ZV_Section", 1, "as above"},
    {"ALTER TABLE Msg_Text_Expression DROP COLUMN [Position]", 1,
     "script 40 moves [Position] but Msg_Text_Expression's is in its primary key; the patch "
     "POSITION_EXP_MSG moves it later"},
    {"ALTER TABLE ZV_Language ADD COLUMN [Русский] VARCHAR(255)", 1,
     "0.36003 adds Русский again: script 40 added it"},
    {"UPDATE [Article] SET zvPosition=[Position]", 1,
     "script 41 copies [Position], which script 40 already moved to ZV_Position"},
    {"ALTER TABLE [Article] DROP COLUMN [Position]", 1, "as above"},
    {"ALTER TABLE TabBorderPairValue ADD COLUMN zvMax VARCHAR(255)", 1,
     "script 44 renames columns of TabBorderPairValue, which 0.36034 creates later (with zvMin "
     "and zvMax)"},
    {"UPDATE TabBorderPairValue SET zvMax=[Max]", 1, "as above"},
    {"ALTER TABLE TabBorderPairValue DROP COLUMN [Max]", 1, "as above"},
    {"ALTER TABLE TabBorderPairValue ADD COLUMN zvMin VARCHAR(255)", 1, "as above"},
    {"UPDATE TabBorderPairValue SET zvMin=[Min]", 1, "as above"},
    {"ALTER TABLE TabBorderPairValue DROP COLUMN [Min]", 1, "as above"},
    {"ALTER TABLE Msg_Text_Expression ADD COLUMN zv_Position LONG", 1,
     "POSITION_EXP_MSG adds zv_Position: script 40 added ZV_Position"},
    {"ALTER TABLE VariableObjTree_Color_Group ADD COLUMN DescExpression VARCHAR(255)", 1,
     "TREEVAR_ONEDIT adds DescExpression again: script 48 added it"},
    {"ALTER TABLE VariableObjTree_Monetary_Group ADD COLUMN DescExpression VARCHAR(255)", 1,
     "as above"},
    {"ALTER TABLE VariableObjTree_Physical_Group ADD COLUMN DescExpression VARCHAR(255)", 1,
     "as above"},
    {"' WHERE ID=38", 1,
     "CLOSOIRADDPTYPE_1 runs its update as a select: it takes effect, then reports no rows"},
    {"' WHERE ID=34", 1, "MINUSDISAXEDY likewise"},
    {"' WHERE ID=35", 1, "MINUSDISAXEDY likewise"},
    {"ALTER TABLE Article ALTER COLUMN Weight REAL", 1, "WEIGHTARTICLEDOUBLE likewise"},
};

TEST_F(ProviderCatalogueTest, NoStatementFailsButThoseTheStepsExpect) {
    test_support::expectOnlyTheseFailures(
        suite->debug, kExpectedFailures, [](const std::string& line) {
            // The position move names each table it looks
            // at; its probe fails for every table without
            // [Position], as meant.
            return line.find(' ') == std::string::npos ||
                   (line.find("SELECT [Position] FROM ") != std::string::npos &&
                    line.rfind("(unknown name 'Position')") != std::string::npos);
        });
}

TEST_F(ProviderCatalogueTest, ReachesTheLastVersionWithEveryCodeAndItsLog) {
    EXPECT_EQ(suite->log, (UpgradeLog{"Providername: Acme", "Current Version: 0.35835",
                                      "157 mise(s) à jour efféctuée(s) avec succès", ""}));
    EXPECT_EQ(rows(upgradedFile(), "SELECT Version FROM Version"), Lines{"0.36052"});
    EXPECT_EQ(rows(upgradedFile(), "SELECT zvCode FROM ZV_VersionCode ORDER BY zvID"),
              (Lines{"OPENING",
                     "PASTILLE",
                     "LIBERTYPASTILLE",
                     "POSITION_EXP_MSG",
                     "ADD_SECTIONMAT",
                     "SCALEVIEW",
                     "PROCEDDRAW",
                     "PROCEDGROUP",
                     "MSGCORRECTMERGE",
                     "ARTPROCNODECORR",
                     "TREEVAR_ONEDIT",
                     "TREEHEADER_1",
                     "CORRECTMERGE_1",
                     "CLOSOIRADDPTYPE_1",
                     "ARTICLEWEIGHT",
                     "MINUSDISAXEDY",
                     "WEIGHTARTICLEDOUBLE",
                     "STRING255",
                     "THERMICENABLE",
                     "GLAZINGTHERMICENABLE",
                     "SECTMATPOS",
                     "THERMICID_INDEXED",
                     "THERMICID_FLOAT"}));
}

TEST_F(ProviderCatalogueTest, SchemaIsTheReviewedOne) {
    test_support::expectReviewedSchema(reader(upgradedFile()).schema(),
                                       "upgrade_provider/provider-0.36052.schema");
}

// ---- what each family of steps leaves in the rows ----

// A parameter list from its lines, separated by spaces here.
std::string parameters(const std::string& lines) {
    std::string text;
    for (size_t from = 0, space = 0; from <= lines.size(); from = space + 1) {
        space = std::min(lines.find(' ', from), lines.size());
        text += lines.substr(from, space - from) + "\r\n";
    }
    return text;
}

const test_support::RowCheck kRowChecks[] = {
    {"first steps: orphan groups cleared, positions added",
     "SELECT ID, RefGroup FROM Article ORDER BY ID",
     {"1|1", "2|1", "3|2", "4|", "5|"}},
    {"orphan trees cleared (0.35854)",
     "SELECT Name, VariableTree FROM EmpillageBeam ORDER BY ID",
     {"Transom|1", "Orphan tree|"}},
    {"construction-model procedures (script 35)",
     "SELECT ID, BeforeProcedure, AfterProcedure FROM ModeleConstruction ORDER BY ID",
     {"1|4|0", "2|3|0", "3|0|0", "4|0|0"}},
    {"the after-procedure under the before-procedure (script 35)",
     "SELECT Ref, Type, Owner, Niveau FROM ProcedureNodes ORDER BY ID",
     {"1|1|2|0", "3|5|4|0"}},
    {"procedures marked (0.35946, script 35)",
     "SELECT ID, Ref FROM Procedures ORDER BY ID",
     {"1|0", "2|0", "3|25", "4|0", "5|0"}},
    {"glazing order references (script 36)",
     "SELECT Article_Id, OrderRef FROM GlazingPrice ORDER BY ID",
     {"3|G4164-REF", "3|G4164-REF", "2|S70-REF"}},
    {"positions renumbered per list, then moved to ZV_Position (scripts 21, 40)",
     "SELECT Ref1, ID, ZV_Position FROM VariableObjTree_TextList_Text ORDER BY Ref1, ZV_Position",
     {"1|1|0", "1|2|1", "1|3|2", "2|4|0", "2|5|1"}},
    {"current values point at positions (script 21)",
     "SELECT ID, CurrentVal FROM VariableObjTree_TextList ORDER BY ID",
     {"1|0", "2|1"}},
    {"visibility texts become expressions (script 24)",
     "SELECT T.ID, E.Expression FROM VariableObjTree_Bool AS T INNER JOIN Expression AS E "
     "ON E.Id = T.isVisible ORDER BY T.ID",
     {"1|IsFrame", "2|Width > 1000"}},
    {"item conditions become expressions, in table order (script 24)",
     "SELECT T.ID, E.Id, E.Expression FROM VariableObjTree_TextList_Text AS T INNER JOIN "
     "Expression AS E ON E.Id = T.isVisible ORDER BY T.ID",
     {"1|11|True", "2|12|IsFrame", "3|13|", "4|14|True", "5|15|Width < 500"}},
    {"the renamed tables and the section column moved (script 40)",
     "SELECT ID, ZV_Section FROM ZV_Section ORDER BY ID",
     {"1|f70.dxf", "2|s70.dxf"}},
    {"old names gone (script 40)",
     "SELECT Name FROM MSysObjects WHERE Name IN ('Language', 'Action', 'Section', 'ZV_Language', "
     "'ZV_Action', 'ZV_Section') AND Type=1 ORDER BY Name",
     {"ZV_Action", "ZV_Language", "ZV_Section"}},
    {"keys to the renamed language table re-created under __X names",
     "SELECT szRelationship FROM MSysRelationships WHERE szReferencedObject='ZV_Language' AND "
     "szRelationship LIKE 'fk_VariableObjTree_ItemList%' ORDER BY szRelationship",
     {"fk_VariableObjTree_ItemList_Description__X",
      "fk_VariableObjTree_ItemList_Group_DescTemplate__X", "fk_VariableObjTree_ItemList_name__X"}},
    {"borders as pair values (scripts 46)",
     "SELECT ID, zvMin, zvMax, MinIncluded, MaxIncluded FROM TabBorderPairValue ORDER BY ID",
     {"1|0|800|1|0", "2|800|1600|1|1", "3|0|2400|0|1"}},
    {"borders point at their arrays (0.36034, script 46)",
     "SELECT ID, Ref, RefType, Zv_Position, Orientation, Comment FROM TabBorders ORDER BY ID",
     {"1|1|2|0|0|", "2|1|2|1|0|", "3|1|2|0|1|"}},
    {"arrays know their border kind (0.36034)",
     "SELECT ID, BordersType FROM TabParamArray ORDER BY ID",
     {"1|2", "2|0"}},
    {"the unitary packaging and its group, linked by their new identifiers (script 47)",
     "SELECT C.Name, C.Id_Type, C.Nombre, G.Name FROM (Conditionnements_groupConditionnements "
     "AS L INNER JOIN Conditionnement AS C ON C.ID = L.id_conditionnement) INNER JOIN "
     "Conditionnement_group AS G ON G.ID = L.id_groupConditionnement ORDER BY C.ID",
     {"Box of 10|1|10|Boxes", "ZV_UNnitary1|0|1|ZV_Unitary"}},
    {"descriptions of event groups (scripts 45, 48)",
     "SELECT EventType, DescExpression FROM VariableObjTree_Physical_Group ORDER BY EventType",
     {"0|FALSE", "1|TRUE", "2|TRUE"}},
    // NUMERIC is DECIMAL(18, 0): the weights are rounded to whole numbers
    // before WEIGHTARTICLEDOUBLE makes the column REAL.
    {"weights moved to the article (ARTICLEWEIGHT, WEIGHTARTICLEDOUBLE)",
     "SELECT ID, Weight FROM Article ORDER BY ID",
     {"1|1", "2|1", "3|20", "4|", "5|0"}},
    {"GroupMO language ids from their descriptions (closing check)",
     "SELECT Name, Id_Lng FROM GroupMO ORDER BY ID",
     {"Workshop|12", "Site|0", "Other|", "Negative|-3"}},
    {"order reference columns added where missing (closing check)",
     "SELECT Name FROM MSysObjects WHERE Name IN ('Tarif_Article', 'PanelBasePrice') ORDER BY Name",
     {"PanelBasePrice", "Tarif_Article"}},
    {"a view reading the library through the working folder",
     "SELECT TypeName, Rate FROM DiscountByArticleType ORDER BY TypeID",
     {"Profile|0.1", "Filling|0.05"}},
    {"the default section material group (ADD_SECTIONMAT)",
     "SELECT ID, Name, RefGroup, Color FROM zv_GroupSectionMaterial",
     {"1|Default group||0"}},
    {"the section materials", "SELECT COUNT(*) FROM zv_SectionMaterial", {"29"}},
    // A gas (tiny exponents), a metal and the first row, numbers as the
    // document writes them (REAL columns hold single-precision numbers).
    {"three of the section materials",
     "SELECT ID, Name, YoungModulus, PoissonRatio, ThermalExpansion, VolumetricDensity, "
     "ElasticLimit, TensileStrength, HeatTreated, BrushStyle, R, G, B, ThermalConductivity, "
     "MaterialType, DynamicViscosity, RefGroup, SpecificHeat FROM zv_SectionMaterial "
     "WHERE ID IN (1, 2, 20) ORDER BY ID",
     {"1|EMPTY|0|0|0|1.2|0|0|0|0|255|255|255|0.025|1050|0.00001761|1|1008",
      "2|STEEL|210000|0.3|0.000012|7850|200|300|0|0|128|64|64|50|1000|0|1|0",
      "20|KRYPTON_10|0|0|0|3.6|0|0|0|0|100|100|100|0.009|1050|0.000024|1|245"}},
};

TEST_F(ProviderCatalogueTest, EachFamilyOfStepsLeavesItsRows) {
    test_support::expectRows(reader(upgradedFile()).connection(), kRowChecks);
}

// Each action's list after every script that edits its Ref, worked out by
// hand from the edit rules (ID, Ref, lines).
struct ActionCase {
    int id;
    std::string parameters;
};

TEST_F(ProviderCatalogueTest, ActionParameterListsAfterEveryScript) {
    const ActionCase cases[] = {
        {1, parameters("p0 p1 p2 0")},  // Ref 5
        {2, "p0\r\np1"},                // Ref 7, untouched
        {3, parameters("p0 p1 p2 0.0 0 p6 p3 p4 p5 0.0 0 p6 0")},
        {4, parameters("p0 p1 0 0")},                                      // Ref 29
        {5, parameters("p0 p1 0 0")},                                      // Ref 40
        {6, parameters("p0 p1 0")},                                        // Ref 48
        {7, parameters("p0 p1 0 0 p2")},                                   // Ref 49
        {8, parameters("p0 p1 0 0 p2 0 0 p3")},                            // Ref 52
        {10, parameters("p0 p1 0")},                                       // Ref 58
        {11, parameters("p0 p1 0 0 p2")},                                  // Ref 59
        {12, parameters("p0 p1 p2 p3 0.0 0 p8 p4 p5 p6 p7 0.0 0 p8 0")},   // Ref 61, nine
        {13, parameters("p0 p1 p2 0;0 0.0 0 p7 p3 p4 p5 p6 0.0 0 p7 0")},  // Ref 61, eight
        {19, parameters("p0 0 0")},                                        // Ref 76
        {20, parameters("p0 0")},                                          // Ref 79
        {21, parameters("p0 p1 p7 0 0 p2 p3 p7 0 0 p4 p5 p7 0 0 p6")},     // Ref 92
        {23, parameters("p0 0 0 p1")},                                     // Ref 109
        {24, parameters("p0 p2 p3 p4 p5 p6 p7 0")},                        // Ref 113, nine
        {25, parameters("p0 p1 p2 p3 0")},                                 // Ref 113, short
        {26, parameters("p0 p1 p2 p3 p4 p5 0 0 0")},                       // Ref 114
        {28, parameters("p0 p1 p2 p3 p4 p5 p6 p7 p8 p9 0 0 0")},           // Ref 116 (LF)
        {29, parameters("p0 p1 p2 0 0 p3 p4 0 0 p5 0")},                   // Ref 117
        {30, parameters("p0 p1 p2 0 0 p3 p4 0")},                          // Ref 117, eight lines
        {32, "it's\r\nx"},            // Ref 118 with an apostrophe: its update failed
        {31, parameters("p0 p1 0")},  // Ref 118
        {33, parameters("p0 p1 0.0 0 p4 p2 p3 0.0 0 p4")},  // Ref 119
        {34, parameters("a b -(5) c")},                     // Ref 122
        {35, parameters("a b 0 c")},                        // Ref 122, zero
        {36, parameters("p0 p1 0 0 p2")},                   // Ref 123
        {37, parameters("p0 p1 0 0.0 0 0")},                // Ref 134
        {38, parameters("p0 p1 0")},                        // Ref 138
    };
    for (const ActionCase& action : cases) {
        Lines found = rows(upgradedFile(),
                           "SELECT Parametre FROM ZV_Action WHERE ID=" + std::to_string(action.id));
        EXPECT_EQ(found, Lines{action.parameters}) << "action " << action.id;
    }
}

// The texts the provider kinds hand the host name the upgraded tables and
// columns: each runs on the upgraded file, its placeholders filled (a
// language column for %s, numbers for the rest). The last three are the
// host's as it sends them: they name what a provider lacks.
TEST_F(ProviderCatalogueTest, TheKindsTextsRunOnTheUpgradedFile) {
    const std::map<int32_t, std::string> kFailing = {
        {16, "'OpeningXLIBName'"},  // a library table
        {17, "(unknown name 'Ref')"},
        {18, "(unknown name 'Ref')"},
    };
    Host host(copyOf(suite->upgradedRoot));
    test_support::FileConnection file = reader(host.provider());
    int32_t index = 0;
    for (std::string text = kinds::providerSql(index); !text.empty();
         text = kinds::providerSql(++index)) {
        for (const auto& [placeholder, value] :
             {std::pair{"%s", "English"}, {"%d", "1"}, {"%f", "1.5"}}) {
            for (size_t at = text.find(placeholder); at != std::string::npos;
                 at = text.find(placeholder, at)) {
                text.replace(at, 2, value);
            }
        }
        std::string error;
        try {
            file.execute({text});
        } catch (const std::exception& e) {
            error = e.what();
        }
        const auto failing = kFailing.find(index);
        if (failing == kFailing.end()) {
            EXPECT_EQ(error, "") << text;
        } else {
            EXPECT_NE(error.find(failing->second), std::string::npos) << text << ": " << error;
        }
    }
    EXPECT_EQ(index, 19);
}

// ---- runs that start elsewhere ----

TEST_F(ProviderCatalogueTest, ASecondUpdateChangesNothing) {
    Host host(copyOf(suite->upgradedRoot));
    test_support::expectSecondRunChangesNothing(
        host.provider(), [&] { return reader(host.provider()).schema(); },
        [&] { return upgrade(host.provider()).at(2); });
}

TEST_F(ProviderCatalogueTest, TooFewParameterLinesStopTheUpgradeWithTheEarlierStepsKept) {
    Host host(copyOf(suite->rootAt["0.35857"]));
    test_support::FileConnection(host.provider())
        .execute({"UPDATE [Action] SET Parametre='only one' WHERE Ref=52"});
    try {
        upgrade(host.provider());
        FAIL() << "the upgrade went past the short list";
    } catch (const ActionParameterError& e) {
        EXPECT_STREQ(e.what(),
                     "action 8 (script 18): its parameter list has 1 lines, too few for "
                     "'insert 0 at 2'");
    }
    // Script 18 is the step to 0.35859: the steps before it stay as they were.
    test_support::FileConnection file = reader(host.provider());
    EXPECT_EQ(file.rows("SELECT Version FROM Version"), Lines{"0.35857"});
    EXPECT_EQ(file.rows("SELECT Parametre FROM [Action] WHERE Ref=58"),
              Lines{parameters("p0 p1 0")});
    EXPECT_EQ(file.rows("SELECT Parametre FROM [Action] WHERE Ref=52"), Lines{"only one"});
}

// Script 32 swaps lines 4 and 5 of Ref 117 at 0.35929, 0.35931 and 0.35933:
// a database reaches 0.35933 with its lists swapped once per run left.
struct SwapCase {
    const char* from;
    int swaps;
};
const SwapCase kSwapCases[] = {{"0.35928", 3}, {"0.3593", 2}, {"0.35932", 1}};

TEST_F(ProviderCatalogueTest, ScriptThirtyTwoSwapsOncePerStepLeft) {
    const fs::path old = suite->rootAt["0.35928"] / "Providers" / "Acme" / "XLibData.Mdb";
    Host host(copyOf(suite->rootAt["0.35928"]));
    for (const SwapCase& swap : kSwapCases) {
        SCOPED_TRACE(swap.from);
        fs::copy_file(old, host.provider(), fs::copy_options::overwrite_existing);
        upgrade(host.provider(), stepsUpTo(swap.from));
        const std::string list = "SELECT Parametre FROM [Action] WHERE ID=29";
        std::vector<std::string> before = parameterLines(rows(host.provider(), list).at(0));
        upgrade(host.provider(), stepsUpTo("0.35933"));
        std::vector<std::string> after = parameterLines(rows(host.provider(), list).at(0));
        ASSERT_GE(before.size(), 6u);
        if (swap.swaps % 2 == 1) {
            std::swap(before[4], before[5]);
        }
        EXPECT_EQ(after, before);
    }
}

TEST_F(ProviderCatalogueTest, PositionRenumberingKeepsTiesInTheEnginesOrder) {
    Host host(copyOf(suite->rootAt["0.35864"]));
    // List 1: items 1 and 2 tie, item 3 comes first; its current value is
    // item 2 (ItemIndex 1).
    test_support::FileConnection(host.provider())
        .execute({"UPDATE VariableObjTree_TextList_Text SET [Position]=5 WHERE ID IN (1, 2)",
                  "UPDATE VariableObjTree_TextList_Text SET [Position]=1 WHERE ID=3",
                  "UPDATE VariableObjTree_TextList SET CurrentVal=1 WHERE ID=1"});
    upgrade(host.provider(), stepsUpTo("0.35865"));
    EXPECT_EQ(rows(host.provider(),
                   "SELECT ID, [Position] FROM VariableObjTree_TextList_Text "
                   "WHERE Ref1=1 ORDER BY [Position]"),
              (Lines{"3|0", "1|1", "2|2"}));
    EXPECT_EQ(rows(host.provider(), "SELECT CurrentVal FROM VariableObjTree_TextList WHERE ID=1"),
              Lines{"2"});
}

TEST_F(ProviderCatalogueTest, ClosingChecksLeaveExistingOrderReferencesAlone) {
    Host host(copyOf(suite->upgradedRoot));
    test_support::FileConnection(host.provider())
        .execute({"ALTER TABLE Tarif_Article DROP COLUMN OrderProvider",
                  "ALTER TABLE Tarif_Article ADD COLUMN OrderProvider VARCHAR(10)",
                  "ALTER TABLE PanelBasePrice DROP COLUMN OrderProvider"});
    upgrade(host.provider());
    test_support::FileConnection file = reader(host.provider());
    EXPECT_EQ(test_support::columnOf(file.connection(), "Tarif_Article", "OrderProvider"),
              "OrderProvider Text(10)");
    EXPECT_EQ(test_support::columnOf(file.connection(), "PanelBasePrice", "OrderProvider"),
              "OrderProvider Text(50)");
}

TEST_F(ProviderCatalogueTest, OtherReadersReadTheUpgradedFile) {
    test_support::expectOtherReadersRead(
        upgradedFile(), {.views = {"All_VariableGroupInformation", "DiscountByArticleType",
                                   "Get_ArticleProfils", "view_VariableObjTree_ItemList_Item"}});
}

// ---- the same upgrade on a MariaDB server ----

// Each view as read: a line of its columns and one per row, each led by the
// view's name (a view has no order of its own).
void addReading(Lines& lines, const std::string& view, const engine::QueryResult& result) {
    std::string columns = view + " columns:";
    for (const engine::FieldInfo& field : result.fields) {
        columns += " " + field.name;
    }
    lines.push_back(columns);
    for (const std::string& row : test_support::resultRows(result)) {
        lines.push_back(view + ": " + row);
    }
}

Lines accessViews(const fs::path& file) {
    test_support::FileConnection connection = reader(file);
    Lines lines;
    for (const std::string& line : connection.schema()) {
        if (line.rfind("view ", 0) == 0) {
            std::string name = line.substr(5, line.find(':') - 5);
            addReading(lines, name, connection.connection().query("SELECT * FROM [" + name + "]"));
        }
    }
    return lines;
}

Lines serverViews(data::mariadb::Session& session) {
    Lines lines;
    for (const engine::Row& row :
         session
             .query("SELECT TABLE_NAME FROM information_schema.VIEWS WHERE "
                    "TABLE_SCHEMA=DATABASE()")
             .rows) {
        std::string name = engine::valueToText(row[0]);
        addReading(lines, name, session.query("SELECT * FROM " + data::mariadb::quoteName(name)));
    }
    return lines;
}

TEST_F(ProviderCatalogueTest, OnMariaDbTheUpgradeMakesTheSameSchemaAndViews) {
    test_support::ScratchServerDatabase scratch;
    ORVDB_SKIP_WITHOUT_MARIADB(scratch);
    test_support::ScratchServerDatabase library;
    fs::path root = copyOf(suite->oldRoot);
    Host host(root);
    // The provider's folder names the server database in place of its file;
    // the library folder names the library's copy on the same server.
    data::mariadb::copyToServer(host.provider().string(), scratch.settings());
    fs::remove(host.provider());
    std::ofstream(host.provider().parent_path() / "XLibData.mariadb") << scratch.url() << "\n";
    data::mariadb::copyToServer((root / "XLib.Mdb").string(), library.settings());
    std::ofstream(root / "XLib.mariadb") << library.url() << "\n";
    {
        ComPtr<iDatabase> server = kinds::TXLIBProvider_Database::CreateDatabase(u"Acme", nullptr);
        ASSERT_TRUE(server) << "the provider kind did not open on the server";
        ASSERT_EQ(server->Update(nullptr, nullptr), ORV_S_OK) << host::lastErrorMessage();
        EXPECT_EQ(static_cast<kinds::TProvider_Database*>(server.get())->lastUpgradeLog(),
                  suite->log);
    }
    fs::path back = root / "back.mdb";
    data::mariadb::copyFromServer(scratch.settings(), back.string());
    // "-": only in the Access upgrade, "+": only on the server.
    EXPECT_EQ(test_support::differences(test_support::tablesAndKeys(back),
                                        test_support::tablesAndKeys(upgradedFile())),
              Lines{});
    EXPECT_EQ(
        test_support::differences(serverViews(*scratch.session()), accessViews(upgradedFile())),
        Lines{});
}

}  // namespace
}  // namespace orvdb::upgrade

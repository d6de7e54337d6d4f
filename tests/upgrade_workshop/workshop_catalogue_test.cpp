// The whole workshop upgrade on the old workshop of the examples, run once
// for the suite; tests work on copies of its file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../support/old_provider.hpp"
#include "../support/upgrade_checks.hpp"
#include "data/database_factory.hpp"
#include "host/format.hpp"
#include "host/utf16.hpp"
#include "upgrade/step_runner.hpp"
#include "upgrade/workshop_upgrade.hpp"

namespace orvdb::upgrade {
namespace {

namespace fs = std::filesystem;
using test_support::DebugRecording;
using test_support::Lines;

// The file opened as the manager kind opens the workshop data, then upgraded.
UpgradeLog upgrade(const fs::path& file, const UpgradeCatalogue& catalogue = workshopCatalogue()) {
    ComPtr<iDatabase> db = data::createDatabase(u"XMANDATA", u"", u"XMANDATA", true, u"",
                                                host::toUtf16(file.string()), nullptr);
    UpgradeLog log;
    runWorkshopUpgrade(*db, log, catalogue);
    return log;
}

// A workshop file read and changed through an engine connection of its own.
class Workshop : public test_support::FileConnection {
public:
    using FileConnection::FileConnection;
    float version() { return std::stof(rows("SELECT Version FROM Version").at(0)); }
};

fs::path workshopIn(const fs::path& root) {
    return root / "XMan" / "Xmandata.mdb";
}

class WorkshopCatalogueTest : public test_support::SharedSuiteTest<test_support::UpgradedRoots> {
protected:
    // Besides the roots: OverLength set to 7 at 1.69, and the upgraded root
    // with its version set to 1.9.
    static void SetUpTestSuite() {
        suite = new test_support::UpgradedRoots;
        suite->make(test_support::buildOldWorkshop,
                    [](const fs::path& root, const char* upTo) {
                        return upgrade(workshopIn(root), upTo ? stepsUpTo(workshopCatalogue(), upTo)
                                                              : workshopCatalogue());
                    },
                    {"1.69"});
        Workshop(workshopIn(suite->rootAt["1.69"]))
            .execute({"UPDATE CuttingOffMachines SET OverLength=7"});
        suite->rootAt["1.9"] = suite->folder.path() / "at1.9";
        test_support::copyFolder(suite->upgradedRoot, suite->rootAt["1.9"]);
        Workshop(workshopIn(suite->rootAt["1.9"])).execute({"UPDATE Version SET Version=1.9"});
    }
    static fs::path upgradedFile() { return workshopIn(suite->upgradedRoot); }
};

// Each once, in a run from 1.1.
const test_support::ExpectedFailure kExpectedFailures[] = {
    {"DROP TABLE qryProfilWSDestinationCart", 1,
     "1.56 drops each cart view before it makes it; the views per family and role first "
     "appear there (the unions of 1.2 and 1.4 read the family tables)"},
    {"DROP TABLE qryPillingUpWSDestinationCart", 1, "as above"},
    {"DROP TABLE qryFrameWSDestinationCart", 1, "as above"},
    {"DROP TABLE qryOnFrameWSFrameDestinationCart", 1, "as above"},
    {"DROP TABLE qryOnFrameWSFrameOriginCart", 1, "as above"},
    {"DROP TABLE qryFillingWSDestinationCart", 1, "as above"},
    {"DROP TABLE qryProfilWSOrigineCart", 1, "as above"},
    {"DROP TABLE qryPillingUpWSOrigineCart", 1, "as above"},
    {"DROP TABLE qryFrameWSOrigineCart", 1, "as above"},
    {"DROP TABLE qryOnFrameWSOrigineCart", 1, "as above"},
    {"DROP TABLE qryOnFrameWSFrameOrigineCart", 1, "as above"},
    {"DROP TABLE qryOnFrameWSFillingOrigineCart", 1, "as above"},
    {"DROP TABLE qryFillingWSOrigineCart", 1, "as above"},
    {"ALTER TABLE BatchArticles ADD COLUMN INSTALLTEAM VARCHAR(50), BuildSiteDepartment "
     "VARCHAR(50)",
     1,
     "1.57 adds INSTALLTEAM again (1.56 added it): the whole statement is refused, "
     "BuildSiteDepartment with it"},
    {"DROP TABLE qryAllFrameProfilesFromMap", 1, "1.58 re-creates a view no earlier step made"},
    {"DROP TABLE qryAllOnFrameProfilesFromMap", 1, "as above"},
    {"DROP TABLE qryAllFillingFromMap", 1, "1.65 re-creates a view no earlier step made"},
    {"ALTER TABLE BatchArticles ADD COLUMN SUBSTRUCTID LONG", 1,
     "1.72 adds SUBSTRUCTID again: 1.71 added it"},
};

TEST_F(WorkshopCatalogueTest, NoStatementFailsButThoseTheStepsExpect) {
    test_support::expectOnlyTheseFailures(suite->debug, kExpectedFailures);
}

TEST_F(WorkshopCatalogueTest, ReachesTheLastVersionWithItsLog) {
    EXPECT_EQ(suite->log, (UpgradeLog{"Current Version: 1.10000",
                                      "35 mise(s) à jour efféctuée(s) avec succès"}));
    EXPECT_EQ(Workshop(upgradedFile()).version(), targetVersion(workshopCatalogue().current()));
}

TEST_F(WorkshopCatalogueTest, SchemaIsTheReviewedOne) {
    test_support::expectReviewedSchema(Workshop(upgradedFile()).schema(),
                                       "upgrade_workshop/workshop-1.81.schema");
}

// ---- what the views return ----

// Rows the tables made by the steps get, on top of the generated ones:
// batch 1 holds three articles of projects 100 and 200, batch 2 none; one
// launching takes batch 1 to delivery and manufacture (on map 2, Annex) and
// batch 2 to an order on a map that is gone; the stacking, glazing and
// accessories workstations get their family rows.
const std::vector<std::string> kLaterRows = {
    "INSERT INTO BatchItem (NAME) VALUES ('Batch A')",
    "INSERT INTO BatchItem (NAME) VALUES ('Batch B')",
    "INSERT INTO BatchArticles (NAME, DOSSIERID, BATCHITEMID) VALUES ('Window 1', 100, 1)",
    "INSERT INTO BatchArticles (NAME, DOSSIERID, BATCHITEMID) VALUES ('Door 1', 100, 1)",
    "INSERT INTO BatchArticles (NAME, DOSSIERID, BATCHITEMID) VALUES ('Window 2', 200, 1)",
    "INSERT INTO Launchings (NAME, REFERENCE) VALUES ('Week 12', 'L-12')",
    "INSERT INTO LaunchingsBatchItems (MATERIALORDERID, BATCHITEMID) VALUES (1, 1)",
    "INSERT INTO LaunchingsDelivery (LAUNCHINGID) VALUES (1)",
    "INSERT INTO LaunchingsDeliveryItems (LAUNCHINGID, BATCHID) VALUES (1, 1)",
    "INSERT INTO LaunchingsManufacture (LAUNCHINGID, PRODUCTIONMAPID) VALUES (1, 2)",
    "INSERT INTO LaunchingsManufactureItems (LAUNCHINGID, BATCHID) VALUES (1, 1)",
    "INSERT INTO LaunchingsOrder (LAUNCHINGID, PRODUCTIONMAPID) VALUES (1, 9)",
    "INSERT INTO LaunchingsOrderItems (LAUNCHINGID, BATCHID) VALUES (1, 2)",
    "INSERT INTO PillingUpWorkStations (WorkStationID, Destination, BeamStyle, BeamStyleName) "
    "VALUES (4, 6, 1, 'Flat')",
    "INSERT INTO PillingUpWorkstationProfiles (PillingUpWorkStationID, Provider, ProvProfRef, "
    "Origine) VALUES (1, 'Acme', 'B40', 2)",
    "INSERT INTO FillingWorkstations (WorkStationID, Destination, Origine) VALUES (5, 5, 4)",
    "INSERT INTO FillingWorkstationFillings (FillingWorkStationID, Provider, ProvFillRef, "
    "Origine, Destination) VALUES (1, 'Glassco', '4-16-4', 4, 5)",
    "INSERT INTO AccessoriesWorkStation (WorkStationId) VALUES (6)",
    "INSERT INTO ArticlesForAccessoriesWorkStation (AccessorieWorkStationId, Provider, "
    "ProvArtRef) VALUES (1, 'Acme', 'H-100')",
    "UPDATE ProfileWorkstationProfiles SET PrefOrderID=2 WHERE Id=1",
};

const test_support::RowCheck kViewChecks[] = {
    {"every batch, with its articles or none",
     "SELECT BATCHID, BATCHNAME, NAME FROM qryAllBatches ORDER BY BATCHID, Id",
     {"1|Batch A|Window 1", "1|Batch A|Door 1", "1|Batch A|Window 2", "2|Batch B|"}},
    {"the batches a launching takes",
     "SELECT LAUNCHINGNAME, BATCHNAME FROM qryAllLauchingBatches",
     {"Week 12|Batch A"}},
    {"a manufacture with the name of its map",
     "SELECT MANUFACTUREID, NAME, MAPNAME FROM qryLaunchingsManufacture",
     {"1|Week 12|Annex"}},
    {"an order whose map is gone keeps its launching",
     "SELECT ORDERID, PRODUCTIONMAPID, NAME FROM qryLaunchingsOrder",
     {"1|9|Week 12"}},
    {"the batches of each launching kind",
     "SELECT 'D', BATCHNAME FROM qryAllLaunchingDeliveryBatches UNION ALL SELECT 'M', BATCHNAME "
     "FROM qryAllLaunchingManufactureBatches UNION ALL SELECT 'O', BATCHNAME FROM "
     "qryAllLaunchingOrderBatches",
     {"D|Batch A", "M|Batch A", "O|Batch B"}},
    {"the projects a delivery takes, each once",
     "SELECT DOSSIERID, LAUNCHINGID FROM qryDossierLaunchingDelivery ORDER BY DOSSIERID",
     {"100|1", "200|1"}},
    {"an order of an empty batch takes no project",
     "SELECT DOSSIERID FROM qryDossierLaunchingOrder",
     {}},
    {"the workstations of a map, place by place in line order",
     "SELECT PLACEINDEX, LINENAME, WSORDER, WORKSTATIONNAME FROM qryAllMapWorkStations "
     "WHERE MAPID=1 ORDER BY PLACEINDEX, WSORDER",
     {"1|PVC line|1|Cutting", "1|PVC line|2|Punching", "1|PVC line|3|Welding",
      "1|PVC line|4|Hardware", "2|Alu line|1|Stacking", "2|Alu line|2|Glazing",
      "2|Alu line|3|Accessories"}},
    {"the profiles of every profile workstation on a map (the PVC line is on both maps)",
     "SELECT MAPID, MAPPLACEID, LINEID, WORKSTATIONID, ProvProfRef FROM qryAllProfilesFromMap "
     "ORDER BY MAPID, WORKSTATIONID, Id",
     {"1|1|1|1|F70", "1|1|1|1|S70", "1|1|1|7|F70", "2|3|1|1|F70", "2|3|1|1|S70", "2|3|1|7|F70"}},
    {"the frame, on-frame, pilling-up, filling and accessory rows of each map",
     "SELECT 'F', MAPNAME, WORKSTATIONNAME, ProvProfRef FROM qryAllFrameProfilesFromMap UNION ALL "
     "SELECT 'O', MAPNAME, WORKSTATIONNAME, ProvProfRef FROM qryAllOnFrameProfilesFromMap UNION "
     "ALL SELECT 'P', MAPNAME, WORKSTATIONNAME, ProvProfRef FROM qryAllPillingUpProfilesFromMap "
     "UNION ALL SELECT 'G', MAPNAME, WORKSTATIONNAME, ProvFillRef FROM qryAllFillingFromMap UNION "
     "ALL SELECT 'A', MAPID, WORKSTATIONID, ProvArtRef FROM qryAllArticleFromMap",
     {"F|Main hall|Welding|F70", "F|Annex|Welding|F70", "O|Main hall|Hardware|G20",
      "O|Annex|Hardware|G20", "P|Main hall|Stacking|B40", "G|Main hall|Glazing|4-16-4",
      "A|1|6|H-100"}},
    {"the carts each workstation fills (an on-frame one puts frames back where they were)",
     "SELECT WORKSTATIONNAME, FAMILY, CARTROLE, CARTNAME FROM qryWorkStationsDestinationCart "
     "ORDER BY WORKSTATIONID, CARTID",
     {"Cutting|PROFILE|PROFILES|Cut bars", "Welding|FRAME|FRAMES|Frames",
      "Hardware|ONFRAME|FRAMES|Frames", "Hardware|ONFRAME|FRAMES|Finished",
      "Stacking|PILLINGUP|STACKS|Stacks", "Glazing|FILLING|FILLINGS|Finished",
      "Punching|PROFILE|PROFILES|Cut bars"}},
    {"the carts each workstation takes from",
     "SELECT WORKSTATIONNAME, FAMILY, CARTROLE, CARTNAME FROM qryWorkStationsOrigineCart "
     "ORDER BY WORKSTATIONID, CARTID",
     {"Cutting|PROFILE|PROFILES|Bars in", "Welding|FRAME|PROFILES|Cut bars",
      "Hardware|ONFRAME|PROFILES|Cut bars", "Hardware|ONFRAME|FRAMES|Frames",
      "Hardware|ONFRAME|FILLINGS|Glass rack", "Stacking|PILLINGUP|PROFILES|Cut bars",
      "Glazing|FILLING|FILLINGS|Glass rack", "Punching|PROFILE|PROFILES|Cut bars"}},
    {"one row per saw, the second only where there is one",
     "SELECT MACHINENAME, SAW, SAWDIAMETER, OverLength, IsConvertedAngle, WorkType FROM "
     "qryCuttingOffMachines ORDER BY MACHINEID, SAW",
     {"Double mitre saw|1|550|3|0|0", "Double mitre saw|2|550|3|0|0", "Saw and punch|1|400|3|0|0"}},
    {"machines that saw and punch",
     "SELECT MACHINENAME, ToolCount FROM qryMixCuttingOfPunching",
     {"Saw and punch|4"}},
    {"punching and frame machines",
     "SELECT MACHINENAME, PUNCHINGID FROM qryCNCPunchingMachines UNION ALL SELECT MACHINENAME, "
     "FRAMEENGINEID FROM qryFrameEngineMachines",
     {"Punching centre|1", "Saw and punch|2", "Four-head welder|1"}},
    {"profiles per workstation in the order it prefers",
     "SELECT WORKSTATIONID, Id, PrefOrderID, PrefMachineOrderID FROM "
     "qryProfilesForProfileWorkstations",
     {"1|2|0|0", "1|1|2|0", "7|3|0|0"}},
    {"the family workstations and their rows",
     "SELECT NAME, ORIGINECARTNAME, DESTINATIONCARTNAME FROM qryFillingWorkStations UNION ALL "
     "SELECT WORKSTATIONNAME, ProvFillRef, NULL FROM qryFillingForFillingWorkstations UNION ALL "
     "SELECT NAME, BeamStyleName, NULL FROM qryPillingUpWorkStations UNION ALL SELECT "
     "WORKSTATIONNAME, ProvProfRef, NULL FROM qryProfilesForPillingUpWorkstations UNION ALL "
     "SELECT NAME, ACCESSORIESWORKSTATIONID, NULL FROM qryAccessoriesWorkStations",
     {"Glazing|Glass rack|Finished", "Glazing|4-16-4|", "Stacking|Flat|", "Stacking|B40|",
      "Accessories|1|"}},
    {"1.7 adds ExtraOptions without a value",
     "SELECT COUNT(*) FROM WorkStations WHERE ExtraOptions IS NULL",
     {"7"}},
};

TEST_F(WorkshopCatalogueTest, EachViewReturnsWhatItsRoleGives) {
    Workshop workshop(workshopIn(copyOf(suite->upgradedRoot)));
    workshop.execute(kLaterRows);
    test_support::expectRows(workshop.connection(), kViewChecks);
}

// ---- runs that start elsewhere ----

struct StartCase {
    const char* name;
    const char* version;
    int stepsRun;
    std::vector<test_support::ExpectedFailure> failures;
    const char* probe;
    Lines probed;
};

const StartCase kStartCases[] = {
    {"from169",
     "1.69",
     12,
     {{"ALTER TABLE BatchArticles ADD COLUMN SUBSTRUCTID LONG", 1, "1.72 adds it again"}},
     // 1.69 set OverLength to 3 and does not run again.
     "SELECT OverLength FROM CuttingOffMachines ORDER BY Id",
     {"7", "7"}},
    {"from19", "1.9", 0, {}, "SELECT Version FROM Version", {"1.9"}},
};

class WorkshopUpgradeFrom : public WorkshopCatalogueTest,
                            public ::testing::WithParamInterface<StartCase> {};

TEST_P(WorkshopUpgradeFrom, RunsTheStepsAboveAndASecondRunChangesNothing) {
    const StartCase& start = GetParam();
    fs::path file = workshopIn(copyOf(suite->rootAt[start.version]));
    {
        DebugRecording debug;
        UpgradeLog log = upgrade(file);
        EXPECT_EQ(log, (UpgradeLog{"Current Version: " + host::TFormat::FloatToStrFormated(
                                                             std::stof(start.version), 5),
                                   std::to_string(start.stepsRun) +
                                       " mise(s) à jour efféctuée(s) avec succès"}));
        test_support::expectOnlyTheseFailures(debug.lines(), start.failures);
    }
    {
        Workshop workshop(file);
        EXPECT_EQ(workshop.rows(start.probe), start.probed);
        EXPECT_GE(workshop.version(), targetVersion("1.81"));
        // A WORKSHOP that holds a row shows the table is never made again.
        workshop.execute({"INSERT INTO WORKSHOP (PROJECT) VALUES ('P-1')"});
    }
    test_support::expectSecondRunChangesNothing(
        file, [&] { return Workshop(file).schema(); }, [&] { return upgrade(file).at(1); });
}

INSTANTIATE_TEST_SUITE_P(Versions, WorkshopUpgradeFrom, ::testing::ValuesIn(kStartCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the final patches, on an upgraded file changed first ----

struct PatchCase {
    const char* name;
    std::vector<std::string> change;
    const char* table;
    const char* column;
    const char* expected;  // the column after the upgrade
};

const PatchCase kPatchCases[] = {
    {"WorkshopMadeWhenMissing",
     {"DROP TABLE WORKSHOP"},
     "WORKSHOP",
     "VALIDATION",
     "VALIDATION Byte"},
    {"ProjectIdAddedWhenMissing",
     {"ALTER TABLE BatchArticles DROP COLUMN EXTERNALPROJECTID"},
     "BatchArticles",
     "EXTERNALPROJECTID",
     "EXTERNALPROJECTID Text(25)"},
    {"CustomerIdAddedWhenMissing",
     {"ALTER TABLE BatchArticles DROP COLUMN EXTERNALCUSTOMERID"},
     "BatchArticles",
     "EXTERNALCUSTOMERID",
     "EXTERNALCUSTOMERID Text(25)"},
    {"GlobalRuleMadeTextEachTime",
     {"ALTER TABLE FillingWorkstationFillings ALTER COLUMN GLOBAL_RULE VARCHAR(200)"},
     "FillingWorkstationFillings",
     "GLOBAL_RULE",
     "GLOBAL_RULE Text(25)"},
    {"GlobalRuleNotAddedWhenAbsent",
     {"ALTER TABLE FillingWorkstationFillings DROP COLUMN GLOBAL_RULE"},
     "FillingWorkstationFillings",
     "GLOBAL_RULE",
     "(none)"},
};

class WorkshopFinalPatch : public WorkshopCatalogueTest,
                           public ::testing::WithParamInterface<PatchCase> {};

TEST_P(WorkshopFinalPatch, RunsOnEveryUpgradeWhenItsTestHolds) {
    const PatchCase& patch = GetParam();
    fs::path file = workshopIn(copyOf(suite->upgradedRoot));
    Workshop(file).execute(patch.change);
    DebugRecording debug;
    EXPECT_EQ(upgrade(file).at(1), "0 mise(s) à jour efféctuée(s) avec succès");
    EXPECT_EQ(debug.lines(), Lines{});
    Workshop workshop(file);
    EXPECT_EQ(test_support::columnOf(workshop.connection(), patch.table, patch.column),
              patch.expected);
    EXPECT_EQ(workshop.version(), targetVersion("1.81"));
}

INSTANTIATE_TEST_SUITE_P(Patches, WorkshopFinalPatch, ::testing::ValuesIn(kPatchCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkshopCatalogueTest, OtherReadersReadTheUpgradedFile) {
    Lines views = Workshop(upgradedFile())
                      .rows(
                          "SELECT Name FROM MSysObjects WHERE ParentId=251658241 AND Type=5 "
                          "ORDER BY Name");
    ASSERT_GT(views.size(), 40u);
    test_support::expectOtherReadersRead(
        upgradedFile(), {.views = views, .exportEach = true, .readEachView = true});
}

}  // namespace
}  // namespace orvdb::upgrade

// The whole manager upgrade on the old manager of the examples, run once for
// the suite; tests work on copies of its files.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../support/database_rows.hpp"
#include "../support/md5_hex.hpp"
#include "../support/old_provider.hpp"
#include "../support/upgrade_checks.hpp"
#include "data/database_factory.hpp"
#include "host/host_services.hpp"
#include "host/rights_objects.hpp"
#include "host/utf16.hpp"
#include "upgrade/manager_catalogue.hpp"
#include "upgrade/manager_driver.hpp"
#include "upgrade/step_runner.hpp"

namespace orvdb::upgrade {
namespace {

namespace fs = std::filesystem;
using test_support::Lines;
using test_support::selectRows;

constexpr int kLanguageId = 12;

// What a host sets up before it upgrades a manager database: the upgrade
// strings (entry 23 names the administrators), a registry whose language
// identifier is kLanguageId, its own rights management and VAT list.
class Host {
public:
    explicit Host(fs::path root, size_t upgradeStrings = 24) : root_(std::move(root)) {
        host::HostServices services;
        services.registry = std::make_shared<host::MemoryRegistryInfo>();
        services.rights = rights_;
        services.vatRates = vatRates_;
        host::installHostServices(std::move(services));
        host::registry()->setLanguageId(kLanguageId);
        Lines strings(upgradeStrings, "unused");
        if (upgradeStrings > 23) {
            strings[23] = "Administrateur(5035)";
        }
        setManagerUpgradeStrings(strings);
    }
    ~Host() {
        host::resetHostServices();
        setManagerUpgradeStrings({});
    }

    fs::path manager() const { return root_ / "XMan" / "Manager.mdb"; }
    // The host service's rights management: what the upgrade tells when
    // Update gets no rights host object.
    host::MemoryRightsManager& rights() { return *rights_; }
    host::MemoryVatRateList& vatRates() { return *vatRates_; }

private:
    fs::path root_;
    std::shared_ptr<host::MemoryRightsManager> rights_ =
        std::make_shared<host::MemoryRightsManager>();
    std::shared_ptr<host::MemoryVatRateList> vatRates_ =
        std::make_shared<host::MemoryVatRateList>();
};

UpgradeLog upgrade(const fs::path& file, IInterface* rightsHost = nullptr,
                   const UpgradeCatalogue& catalogue = managerCatalogue()) {
    ComPtr<iDatabase> db = data::createDatabase(u"MANAGER", u"", u"MANAGER", true, u"",
                                                host::toUtf16(file.string()), nullptr);
    UpgradeLog log;
    runManagerUpgrade(*db, log, rightsHost, nullptr, catalogue);
    return log;
}

// The steps up to `last` only: the run stops at the check that it went past
// 2.18, with those steps kept.
void upgradeTo(const fs::path& file, std::string_view last, IInterface* rightsHost = nullptr) {
    try {
        upgrade(file, rightsHost, stepsUpTo(managerCatalogue(), last));
        ADD_FAILURE() << "a run ending at " << last << " passed the check after the steps";
    } catch (const ManagerCatalogueIncomplete&) {
    }
}

void execute(const fs::path& file, const std::vector<std::string>& statements) {
    test_support::FileConnection(file).execute(statements);
}

std::string emptyPasswordHash() {
    const std::string digest = test_support::md5Hex("$QKM");
    return digest + digest.front();
}

struct ManagerRoots : test_support::UpgradedRoots {
    Lines rightsListing;  // told to the rights object handed to Update
    Lines hostServiceRights;
    std::vector<host::VatRate> vatRates;
};

class ManagerCatalogueTest : public test_support::SharedSuiteTest<ManagerRoots> {
protected:
    static void SetUpTestSuite() {
        suite = new ManagerRoots;
        suite->make(test_support::buildOldManager,
                    [](const fs::path& root, const char* upTo) {
                        Host host(root);
                        if (upTo) {
                            upgradeTo(host.manager(), upTo);
                            return UpgradeLog{};
                        }
                        auto rights = std::make_shared<host::MemoryRightsManager>();
                        ComPtr<IRightsManager> rightsObject = host::makeRightsManagerObject(rights);
                        UpgradeLog log = upgrade(host.manager(), rightsObject.get());
                        suite->rightsListing = rights->listing();
                        suite->hostServiceRights = host.rights().listing();
                        suite->vatRates = host.vatRates().rates();
                        return log;
                    },
                    {"1.23", "1.67", "1.76", "2.13", "2.17"});
    }
    static fs::path upgradedFile() { return suite->upgradedRoot / "XMan" / "Manager.mdb"; }
};

const test_support::ExpectedFailure kExpectedFailures[] = {
    {"ALTER TABLE Devis ADD COLUMN DEVISEID INTEGER", 1,
     "the old manager's quotes already carry a currency number (for block 9 to name)"},
    {"DROP TABLE MACHINES", 1, "1.3 drops before it creates: a 1.0 manager has no machines"},
    {"DROP TABLE MACHINES_SCIES", 1, "as above"},
    {"ALTER TABLE POSTESFAB ADD CONSTRAINT fk_RefOnMachineID FOREIGN KEY (Machines_ID) "
     "REFERENCES MACHINES(ID)",
     1, "1.31 gives its key the name 1.3 gave the saws' key: relationship names are unique"},
    {"CREATE TABLE ApplicationUserRightGroups (ID AUTOINCREMENT PRIMARY KEY, "
     "RightsGroupName VARCHAR(50), RightsACL LONG, RightsACL2 LONG, RightsCheck VARCHAR(50), "
     "RightsGroupStatus LONG)",
     1, "the old manager already holds its rights groups, in this layout"},
    {"CREATE TABLE ApplicationUsers (ID AUTOINCREMENT PRIMARY KEY, UserName VARCHAR(50), "
     "UserStatus VARCHAR(50), RightsModel LONG, UserPassword VARCHAR(50), UserCheck VARCHAR(50))",
     1, "the old manager already holds its users, in this layout"},
    {"CREATE TABLE ArticleArticlesGroupe (Id AUTOINCREMENT PRIMARY KEY, ArticlesId INTEGER, "
     "ArticleGroupeId INTEGER, Name VARCHAR(50))",
     1, "1.53 creates again what 1.26 created"},
    {"ALTER TABLE VATID ADD COLUMN CREATIONDATE DATETIME", 1,
     "1.56 stamps a table VATID, which no manager has (the VAT rates are in VAT)"},
    {"ALTER TABLE VATID ADD COLUMN UPDATEDATE DATETIME", 1, "as above"},
    {"ALTER TABLE VATID ADD COLUMN REMOTEID INTEGER", 1, "as above"},
    {"ALTER TABLE ApplicationUserRightGroups ALTER COLUMN RightsACL OLEOBJECT", 1,
     "the old groups' access numbers cannot become OLE objects; block 1 makes the table anew"},
    {"ALTER TABLE Locks ADD COLUMN GPAOLock INTEGER", 1, "1.63 created Locks with GPAOLock"},
    {"CREATE TABLE Devis_price_construction (IdConstruction LONG, IdComputesModes LONG, "
     "Price FLOAT)",
     1, "1.98 created it; 2.13 creates it again before adding PriceStatus"},
};

TEST_F(ManagerCatalogueTest, NoStatementFailsButThoseTheStepsExpect) {
    test_support::expectOnlyTheseFailures(suite->debug, kExpectedFailures);
}

TEST_F(ManagerCatalogueTest, ReachesTheLastVersionWithItsLog) {
    std::set<std::string_view> versions;
    for (const UpgradeRow& row : managerSteps()) {
        versions.insert(row.key);
    }
    EXPECT_EQ(suite->log, (UpgradeLog{"Current Version: 1.00000",
                                      std::to_string(versions.size()) +
                                          " mise(s) à jour efféctuée(s) avec succès"}));
    // Version is a single-precision column: what was written reads back as 2.18.
    EXPECT_EQ(selectRows(upgradedFile(), "SELECT Version FROM Version"), Lines{"2.18"});
}

TEST_F(ManagerCatalogueTest, SchemaIsTheReviewedOne) {
    test_support::expectReviewedSchema(test_support::FileConnection(upgradedFile()).schema(),
                                       "upgrade_manager/manager-2.18.schema");
}

// ---- what the steps and blocks leave in the rows ----

const test_support::RowCheck kRowChecks[] = {
    // 540 grants at 1.23, 27 more at 1.26, 76 taken back at 1.29 (operations
    // 100 to 103 and 800), 20 more from 1.38 to 1.5.
    {"quote rights of user group 2", "SELECT COUNT(*) FROM RightsDevis", {"511"}},
    {"block 1: the administrator with the empty password's hash, then every old user with the "
     "hash it had; no group exists in the new table, so each gets group 1",
     "SELECT UserName, RightsModel, UserPassword, UserStatus, VisibilityOnLogin "
     "FROM ApplicationUsers ORDER BY ID",
     {"Administrateur|1|" + emptyPasswordHash() + "||3",
      "admin|1|b2dc78338e89e1cfd5ba6036134d7246b||3",
      "Marie|1|5a79bcf0fb2a7dae3867103690ef022b5||3",
      "Jeanne D'Arc|1|62cf368480e51a904de6e2d197635cab6||3",
      "Paul|1|f72b5bad7f6556109a5e1d4087772d4bf||3"}},
    {"block 1: the rights groups' table made anew, the groups left to the host",
     "SELECT COUNT(*) FROM ApplicationUserRightGroups",
     {"0"}},
    {"block 2: quote methods through both mappings (0, 2, 3, 4, 7)",
     "SELECT ID, COMPMETHOD FROM DEVIS ORDER BY ID",
     {"1|1", "2|1", "3|2", "4|3", "5|1"}},
    {"block 2: formula types (0, 3, 4, 5, 6, 7, 2)",
     "SELECT ID, COMPUTETYPE FROM Devis_info_formula ORDER BY ID",
     {"1|0", "2|2", "3|3", "4|1", "5|4", "6|1", "7|2"}},
    {"block 8: the modes with their labels",
     "SELECT M.ID, M.Name, L.Name, L.Français FROM ComputesModes AS M INNER JOIN ZV_Language AS L "
     "ON L.ID = M.TranslationId ORDER BY M.ID",
     {"1|Fixed|Fixed price|Prix fixé", "2|Real price|Real price|Prix sans chute",
      "3|Price real waste|Price real waste|Prix chutes réelles",
      "4|Price fixed waste|Price fixed waste|Prix chutes forfaitaires"}},
    {"block 8: the modes' data; 2.08 gives waste mode 3 price mode 4 for material 6",
     "SELECT ComputesModesId, MaterialObjectType, PackagingMode, PriceMode FROM ComputesModesData "
     "ORDER BY ComputesModesId, MaterialObjectType",
     {"1|3|2|1", "1|6|1|1", "2|3|2|1", "2|6|1|1", "3|3|2|3", "3|6|1|4", "4|3|2|4", "4|6|1|4"}},
    {"block 8: the default mode is the real-waste one, for the company, quotes and constructions",
     "SELECT 'company', DefaultComputesModesId FROM CompanyData UNION ALL SELECT DISTINCT "
     "'quotes', ComputesModesId FROM DEVIS UNION ALL SELECT DISTINCT 'constructions', "
     "ComputesModesId FROM Devis_info_construction",
     {"company|3", "quotes|3", "constructions|3"}},
    {"block 8: node status by type",
     "SELECT NODETYPE, NODESTATUS FROM DOSSIERDEVISTREENODES ORDER BY ID",
     {"2|0",   "1|0",   "3|0",   "4|0",  "5|2",  "6|2",   "7|2",   "8|2",   "9|2",
      "10|2",  "11|0",  "50|1",  "89|1", "90|0", "101|0", "102|2", "103|2", "104|3",
      "105|3", "199|0", "200|0", "1|0",  "5|2",  "9|2",   "90|0",  "102|2"}},
    {"block 9: VAT rate and currency names (VAT 99 and no VAT have no rate; currency 0 and none "
     "are the euro, 12 keeps its number)",
     "SELECT ID, VATRateName, DeviseName FROM DEVIS ORDER BY ID",
     {"1|TVA 20 %|Euro", "2|TVA 5,5 %|USDol", "3||Dirham émirati (AED)", "4|TVA 10 %|12",
      "5||Euro"}},
    {"block 3: the report templates point at their new labels",
     "SELECT T.Title, L.English FROM TemplatesDocsPaths AS T INNER JOIN ZV_Language AS L "
     "ON L.ID = T.id_lng WHERE T.Tree IN (1, 4) ORDER BY T.ID",
     {"Devis tableau|Quote Table", "Rapport commercial|Commercial Report",
      "Rapport commercial détaillé|Detailed commercial report"}},
    {"templates: their document type and label after 1.24 to 2.16 (1.24 and 1.25 take the "
     "label's id as the type: the order template went with the calculation type at 1.34, the "
     "delivery template sits under the type numbered like its label)",
     "SELECT T.Title, T.DocName, D.DefaultName, L.Name FROM (TemplatesDocsPaths AS T LEFT JOIN "
     "DocumentsTypes AS D ON D.ID = T.Tree) LEFT JOIN ZV_Language AS L ON L.ID = T.id_lng "
     "ORDER BY T.ID",
     {"Devis tableau|Devis tableau|DEVIS|Devis tableau",
      "Rapport commercial|Rapport commercial|COMMERCIAL_OFFER|Rapport commercial",
      "Rapport commercial détaillé|Rapport commercial détaillé|COMMERCIAL_OFFER|"
      "Rapport commercial détaillé",
      "Papier à en-tête|Papier à en-tête|DOC_ENTREP|",
      "Lettre de relance|Lettre de relance|LETERS_TYPES|",
      "Bons de livraison|Bon de livraison|SCIENTIFIC_REPORTS|",
      "Fiche de fabrication|Fiche de fabrication|MATERIALSLIST|Fiche de fabrication",
      "Liste des débits|Liste des débits|MATERIALSLIST|Liste des débits",
      "Bons de livraison|Bons de livraison|DELIVERYLIST|Bons de livraison",
      "Bon de commande|Bon de commande|ORDERLIST|Bon de commande",
      "Detail|Detail|CALCULATION|Detail",
      "Coupes et plans de montages|Coupes et plans de montages|MATERIALSLIST|"
      "Coupes et plans de montages",
      "Synthese MO|Synthese MO|CALCULATION|Synthese MO",
      "Calcul statique|Calcul statique|SCIENTIFIC_REPORTS|Calcul statique",
      "Calcul thermique|Calcul thermique|SCIENTIFIC_REPORTS|Calcul thermique"}},
    // Three of the labels: accents kept, and the letters Polish needs beyond
    // the code page the statements are written in read as question marks.
    {"labels in every language, accents and Polish question marks as written",
     "SELECT Name, Français, Nederlands, English, Deutsch, Polski FROM ZV_Language WHERE Name IN "
     "('Liste des débits', 'Rapport commercial détaillé', 'WALL') ORDER BY Name",
     {"Liste des débits|Liste des débits|Zaaglijst|Cutting List|Sägeliste|Lista ci?\?",
      "Rapport commercial détaillé|Rapport commercial détaillé||Detailed commercial report||"
      "Szczegółowy raport handlowa",
      "WALL|?\?\?|?\?\?|?\?\?|?\?\?|?\?\?"}},
    {"labels whose templates went at 2.01 and 2.16 went with them",
     "SELECT Name FROM ZV_Language WHERE Name IN ('Detail sans chute', 'Detail avec taux de "
     "chute', 'Detail chutes reelles', 'Synthese daffaire')",
     {}},
    {"block 6: a contact per person",
     "SELECT ID, PeopleId FROM Contacts ORDER BY ID",
     {"1|1", "2|2", "3|3"}},
    {"block 6: RIGHT renamed zvRight",
     "SELECT RESSOURCE, zvRight FROM RightOnRessources ORDER BY ID",
     {"Tarifs|rw", "Modèles|r"}},
    {"block 6: the tree header modes under their new name",
     "SELECT ID, Name FROM TreeHeader_Mode ORDER BY ID",
     {"1|DEFAULT", "2|Liste", "3|Devis"}},
    {"block 6: the old names are gone",
     "SELECT Name FROM MSysObjects WHERE Name IN ('Language', 'TitleTree_Mode', "
     "'RESSOURCESWITHRIGHTS') ORDER BY Name",
     {}},
    {"block 11 and the final patches: each project's language and external id",
     "SELECT ID, LanguageId, EXTERNALID, PROGRESSSTATE FROM DOSSIERS ORDER BY ID",
     {"1|12||0", "2|12||0"}},
    {"2.17: documents asking for a new generation, in any of the nine languages",
     "SELECT ID, ZvStatus FROM ProjectDoc ORDER BY ID",
     {"1|2", "2|1", "3|2", "4|2", "5|1"}},
    {"1.63: the dossier-group rights given to user group 1",
     "SELECT DOSSIERSGROUPID, USERGROUPID, USERGROUPRIGHT FROM RIGHTSONDOSSIERSGROUPS ORDER BY ID",
     {"1|1|w", "2|1|w"}},
    {"1.3 to 1.76: the machine, its saw and post",
     "SELECT M.Name, M.ConstructorName, S.SAW, S.AngleConversionType1, S.AngleConversionType2, "
     "S.BeginWaste, S.EndWaste, S.OverLength, P.Name FROM (MACHINES AS M INNER JOIN "
     "MACHINES_SCIES AS S ON S.Machines_ID = M.ID) INNER JOIN POSTESFAB AS P ON P.Machines_ID = "
     "M.ID",
     {"Fictif|Halvo|4|1|1|50|50|3|Fictif"}},
    {"the quote-tree views: the current quotes' nodes of each kind with their data",
     "SELECT NODEID, NODETYPE, DATAREFERENCE, DATADESCRIPTION, DATAPRICE FROM "
     "DEVISNODESARTICLEDATA WHERE NODETYPE IN (1, 11, 50, 90, 199) ORDER BY NODEID",
     {"11|11|QUI-07|Kit quincaillerie|120", "12|50||Garde-corps|310",
      "14|90||Pose des menuiseries|650", "20|199||Formule libre|", "25|90||Dalle béton|85"}},
};

TEST_F(ManagerCatalogueTest, EachStepAndBlockLeavesItsRows) {
    test_support::expectRows(test_support::FileConnection(upgradedFile()).connection(), kRowChecks);
}

// ---- what the host was told ----

TEST_F(ManagerCatalogueTest, TheRightsObjectGotTheGroupsAndTheHostTheVatRates) {
    // The rights host object handed to Update took everything; the host
    // service's own rights management heard nothing.
    EXPECT_EQ(suite->hostServiceRights, Lines{});
    const Lines& listing = suite->rightsListing;
    ASSERT_FALSE(listing.empty());
    EXPECT_EQ(listing.front(), "administrators\tAdministrateur");
    // Every old group is read with the access value 0xFFFF; its quote rights
    // are the operations RightsDevis holds at 1.68 (101 and 800 were taken
    // back at 1.29; 106 and 406 were never given).
    const std::pair<const char*, bool> kGroupRights[] = {
        {"company\tURCCP_COMPANYINFO\tgranted", true},
        {"company\tURCCP_PROVIDERS\tgranted", true},
        {"company\tURCCP_TECHICALPREF\trefused", true},
        {"company\tUSER_RIGHT_COMPANY\trefused", true},
        {"projects\tURPD_SYNTHESIS\tgranted", true},
        {"projects\tURPD_ORDERBON_COEF_VISIBLE\trefused", true},
        {"quotes\tURD_CONSERVATORY_POPUP_ITEM\tgranted", true},
        {"quotes\tURD_LABOUR_CREATE_POPUP_ITEM\tgranted", true},
        {"quotes\tURD_CONSTRUCTION_RESTORE_POPUP_ITEM\tgranted", true},
        {"quotes\tURD_SPECIALVAT_DELETE_POPUP_ITEM\tgranted", true},
        {"quotes\tURD_FRAME_POPUP_ITEM\tgranted", false},
        {"quotes\tURD_DISCOUNT_CREATE_POPUP_ITEM\tgranted", false},
        {"quotes\tURD_PARAPET_POPUP_ITEM\tgranted", false},
        {"quotes\tURD_CONSTRUCTION_COPY_POPUP_ITEM\tgranted", false},
    };
    for (const std::string group : {"Direction", "Commerciaux", "Atelier"}) {
        EXPECT_EQ(std::count(listing.begin(), listing.end(), "group\t" + group), 1) << group;
        for (const auto& [right, told] : kGroupRights) {
            EXPECT_EQ(std::count(listing.begin(), listing.end(), group + "\t" + right), told)
                << group << "\t" << right;
        }
        EXPECT_EQ(std::count_if(listing.begin(), listing.end(),
                                [&](const std::string& line) {
                                    return line.rfind(group + "\tquotes\t", 0) == 0;
                                }),
                  36)
            << group;
    }

    ASSERT_EQ(suite->vatRates.size(), 3u);
    EXPECT_EQ(suite->vatRates[1].caption, "TVA 5,5 %");
    EXPECT_FLOAT_EQ(static_cast<float>(suite->vatRates[1].rate), 5.5f);
    EXPECT_EQ(suite->vatRates[1].description, "Taux réduit");
}

// ---- runs that start elsewhere ----

TEST_F(ManagerCatalogueTest, ASecondUpdateChangesNothing) {
    Host host(copyOf(suite->upgradedRoot));
    test_support::expectSecondRunChangesNothing(
        host.manager(), [&] { return test_support::FileConnection(host.manager()).schema(); },
        [&] { return upgrade(host.manager()).at(1); });
}

TEST_F(ManagerCatalogueTest, FromTwoThirteenTheLastFourStepsRun) {
    Host host(copyOf(suite->rootAt["2.13"]));
    execute(host.manager(), {"UPDATE DOSSIERS SET LanguageId=7"});
    EXPECT_EQ(upgrade(host.manager()), (UpgradeLog{"Current Version: 2.13000",
                                                   "4 mise(s) à jour efféctuée(s) avec succès"}));
    EXPECT_EQ(selectRows(host.manager(), "SELECT DISTINCT LanguageId FROM DOSSIERS"), Lines{"7"});
    EXPECT_EQ(selectRows(host.manager(), "SELECT Version FROM Version"), Lines{"2.18"});
}

TEST_F(ManagerCatalogueTest, TheVersionWrittenIsTheSinglePrecisionNumber) {
    Host host(copyOf(suite->rootAt["2.17"]));
    // A double column shows the digits written.
    execute(host.manager(), {"ALTER TABLE Version ALTER COLUMN Version FLOAT"});
    upgrade(host.manager());
    EXPECT_EQ(selectRows(host.manager(), "SELECT Version FROM Version"), Lines{"2.1800000667572"});
}

TEST_F(ManagerCatalogueTest, ARunThatEndsBelowTheLastVersionStopsBeforeTheFinalPatches) {
    Host host(copyOf(suite->rootAt["2.13"]));
    try {
        upgrade(host.manager(), nullptr, stepsUpTo(managerCatalogue(), "2.17"));
        FAIL() << "the run passed the check";
    } catch (const ManagerCatalogueIncomplete& e) {
        EXPECT_STREQ(e.what(),
                     "La mise à jour du manager doit contenir sous forme de Block "
                     "l'agrandissement de la taille du champ name de la table "
                     "DOSSIERDEVISTREENODES  et la table pour les barcodes");
    }
    EXPECT_EQ(selectRows(host.manager(), "SELECT Version FROM Version"), Lines{"2.17"});
    EXPECT_EQ(selectRows(host.manager(), "SELECT Name FROM MSysObjects WHERE Name='ARTUNICID'"),
              Lines{});
}

TEST_F(ManagerCatalogueTest, TooFewUpgradeStringsStopTheRunBeforeAnyStatement) {
    Host host(copyOf(suite->rootAt["1.23"]), 23);
    Lines before = test_support::allTableRows(host.manager());
    test_support::DebugRecording debug;
    try {
        upgrade(host.manager());
        ADD_FAILURE() << "23 upgrade strings were taken";
    } catch (const std::out_of_range& e) {
        EXPECT_NE(std::string(e.what()).find("entry 23"), std::string::npos) << e.what();
    }
    EXPECT_EQ(test_support::allTableRows(host.manager()), before);
    EXPECT_EQ(debug.lines(), Lines{});
}

TEST_F(ManagerCatalogueTest, GrantsOfOneTwentyThree) {
    Lines grants =
        selectRows(suite->rootAt["1.23"] / "XMan" / "Manager.mdb",
                   "SELECT id_user, node_type, id_operation FROM RightsDevis ORDER BY id");
    ASSERT_EQ(grants.size(), 540u);
    EXPECT_EQ(grants.front(), "2|1|100");
    EXPECT_EQ(grants[35], "2|1|104");
    EXPECT_EQ(grants[36], "2|2|100");
    EXPECT_EQ(grants.back(), "2|15|104");
}

TEST_F(ManagerCatalogueTest, FallingModeThreeBecomesTwo) {
    Host host(copyOf(suite->rootAt["1.76"]));
    execute(host.manager(), {"UPDATE CompanyData SET FallingMode=3"});
    upgradeTo(host.manager(), "1.77");
    EXPECT_EQ(selectRows(host.manager(), "SELECT FallingMode FROM CompanyData"), Lines{"2"});
}

// Block 1 again on its own result: the tables are made anew from the old
// ones kept at 1.63, so users and groups come out the same.
TEST_F(ManagerCatalogueTest, BlockOneRunTwiceGivesTheSameUsers) {
    Host host(copyOf(suite->rootAt["1.67"]));
    const std::string users = "SELECT * FROM ApplicationUsers ORDER BY ID";
    upgradeTo(host.manager(), "1.68");
    Lines once = selectRows(host.manager(), users);
    Lines told = host.rights().listing();
    ASSERT_EQ(once.size(), 5u);
    execute(host.manager(), {"UPDATE Version SET Version=1.67"});
    upgradeTo(host.manager(), "1.68");
    EXPECT_EQ(selectRows(host.manager(), users), once);
    EXPECT_EQ(host.rights().listing(), told);
    EXPECT_EQ(selectRows(host.manager(), "SELECT COUNT(*) FROM ApplicationUserRightGroups"),
              Lines{"0"});
}

TEST_F(ManagerCatalogueTest, BlockOneLeavesAnAdministratorsGroupAlone) {
    Host host(copyOf(suite->rootAt["1.67"]));
    execute(host.manager(), {"INSERT INTO ApplicationUserRightGroups (RightsGroupName) "
                             "VALUES ('Administrateur')"});
    const std::string users = "SELECT UserName, UserStatus FROM ApplicationUsers ORDER BY ID";
    Lines before = selectRows(host.manager(), users);
    upgradeTo(host.manager(), "1.68");
    EXPECT_EQ(selectRows(host.manager(), users), before);
    EXPECT_EQ(selectRows(host.manager(), "SELECT COUNT(*) FROM ApplicationUserRightGroups"),
              Lines{"4"});
    EXPECT_EQ(host.rights().listing(), Lines{});
    EXPECT_EQ(selectRows(host.manager(), "SELECT Version FROM Version"), Lines{"1.68"});
}

// A host whose rights management keeps its groups in the database: each
// group it is told of becomes a row of ApplicationUserRightGroups, numbered
// from 10.
class SavingRights : public host::MemoryRightsManager {
public:
    explicit SavingRights(fs::path file) : file_(std::move(file)) {}
    void setAdministratorGroup(std::string_view name) override {
        MemoryRightsManager::setAdministratorGroup(name);
        save(name);
    }
    void selectGroup(std::string_view name) override {
        MemoryRightsManager::selectGroup(name);
        save(name);
    }

private:
    void save(std::string_view name) {
        execute(file_, {"INSERT INTO ApplicationUserRightGroups (ID, RightsGroupName) VALUES (" +
                        std::to_string(next_++) + ", '" + std::string(name) + "')"});
    }
    fs::path file_;
    int next_ = 10;
};

TEST_F(ManagerCatalogueTest, BlockOnePutsEachUserInTheGroupTheHostSaved) {
    Host host(copyOf(suite->rootAt["1.67"]));
    auto rights = std::make_shared<SavingRights>(host.manager());
    ComPtr<IRightsManager> rightsObject = host::makeRightsManagerObject(rights);
    upgradeTo(host.manager(), "1.68", rightsObject.get());
    EXPECT_EQ(selectRows(host.manager(),
                         "SELECT ID, RightsGroupName FROM ApplicationUserRightGroups ORDER BY ID"),
              (Lines{"10|Administrateur", "11|Direction", "12|Commerciaux", "13|Atelier"}));
    // The administrator is always written with group 1; 'admin' (RightsModel
    // 0) joins the administrators, Paul's group 7 has no counterpart: 1.
    EXPECT_EQ(selectRows(host.manager(),
                         "SELECT UserName, RightsModel FROM ApplicationUsers ORDER BY ID"),
              (Lines{"Administrateur|1", "admin|10", "Marie|12", "Jeanne D'Arc|11", "Paul|1"}));
}

TEST_F(ManagerCatalogueTest, OtherReadersReadTheUpgradedFile) {
    test_support::expectOtherReadersRead(
        upgradedFile(),
        {.views = {"DEVISNODESARTICLEDATA", "DEVISNODESFORMULADATA", "SCIES", "AllLabourRate"}});
    if (test_support::haveCommand("mdb-export")) {
        std::optional<std::string> exported = test_support::runCommand(
            "timeout 60 mdb-export " + test_support::shellQuote(upgradedFile().string()) +
            " ApplicationUsers");
        ASSERT_TRUE(exported) << "mdb-export failed";
        EXPECT_NE(exported->find(emptyPasswordHash()), std::string::npos) << *exported;
    }
}

}  // namespace
}  // namespace orvdb::upgrade

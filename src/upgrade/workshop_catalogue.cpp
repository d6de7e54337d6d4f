// The workshop data's version steps (1.2 to 1.81), in run order, one row per
// statement, then the final patches that run on every upgrade. A statement
// whose column types the database names is a typed<> row (type_words.hpp):
// it is written as it runs on an Access database, the supplied words in
// braces. Views are in workshop_views.hpp; a view is dropped with DROP TABLE
// before it is made, so a step can run on a database that lacks it.
#include "upgrade/type_words.hpp"
#include "upgrade/workshop_upgrade.hpp"
#include "upgrade/workshop_views.hpp"

namespace orvdb::upgrade {

namespace {

using namespace workshop_views;

constexpr UpgradeRow kWorkshopSteps[] = {
    // target  statement, or a statement with type words
    statement("1.2",
              "CREATE TABLE BatchArticles (Id AUTOINCREMENT PRIMARY KEY, NAME VARCHAR(50), "
              "DOSSIERID INTEGER, DEVISTREENODEID INTEGER, PARENTDEVISTREENODEID INTEGER, "
              "BATCHITEMID INTEGER, QUANTITY REAL, ARTICLEDATAID INTEGER, NODETYPE INTEGER, "
              "CREATIONDATE DATETIME, UPDATEDATE DATETIME, REMOTEID INTEGER, "
              "CUSTOMERNAME VARCHAR(50), COLORIN VARCHAR(50), COLOROUT VARCHAR(50), "
              "DOSSIERNAME VARCHAR(50), SERIENAME VARCHAR(50), PROVIDERNAME VARCHAR(50), "
              "MAXQTY REAL)"),
    statement("1.2",
              "CREATE TABLE BatchGroup (Id AUTOINCREMENT PRIMARY KEY, NAME VARCHAR(50), "
              "CREATIONDATE DATETIME, UPDATEDATE DATETIME, REMOTEID INTEGER)"),
    statement("1.2",
              "CREATE TABLE BatchItem (Id AUTOINCREMENT PRIMARY KEY, NAME VARCHAR(50), "
              "PARENTGROUPID INTEGER, CREATIONDATE DATETIME, UPDATEDATE DATETIME, "
              "REMOTEID INTEGER)"),
    statement("1.2", kAllBatches),
    statement("1.2",
              "CREATE TABLE Launchings (Id AUTOINCREMENT PRIMARY KEY, NAME VARCHAR(50), "
              "ORDERCREATIONDATE REAL, ORDERPREPAREDATE REAL, ORDERLAUNCHDATE REAL, "
              "DESCRIPTION VARCHAR(50), REFERENCE VARCHAR(50), ORDERSTATUS INTEGER, "
              "ORDERTYPE INTEGER, CREATIONDATE DATETIME, UPDATEDATE DATETIME, REMOTEID INTEGER)"),
    statement("1.2",
              "CREATE TABLE LaunchingsBatchItems (Id AUTOINCREMENT PRIMARY KEY, "
              "MATERIALORDERID INTEGER, BATCHITEMID INTEGER, CREATIONDATE DATETIME, "
              "UPDATEDATE DATETIME, REMOTEID INTEGER)"),
    statement("1.2", kAllLaunchingBatches),
    statement("1.2",
              "CREATE TABLE LaunchingsDelivery (Id AUTOINCREMENT PRIMARY KEY, LAUNCHINGID INTEGER, "
              "CREATIONDATE DATETIME, UPDATEDATE DATETIME, REMOTEID INTEGER)"),
    statement("1.2",
              "CREATE TABLE LaunchingsDeliveryItems (Id AUTOINCREMENT PRIMARY KEY, "
              "LAUNCHINGID INTEGER, BATCHID INTEGER, CREATIONDATE DATETIME, UPDATEDATE DATETIME, "
              "REMOTEID INTEGER)"),
    statement("1.2", kLaunchingsDelivery),
    statement("1.2", kAllLaunchingDeliveryBatches),
    statement("1.2",
              "CREATE TABLE LaunchingsOrder (Id AUTOINCREMENT PRIMARY KEY, LAUNCHINGID INTEGER, "
              "PRODUCTIONMAPID INTEGER, CREATIONDATE DATETIME, UPDATEDATE DATETIME, "
              "REMOTEID INTEGER)"),
    statement("1.2",
              "CREATE TABLE LaunchingsOrderItems (Id AUTOINCREMENT PRIMARY KEY, "
              "LAUNCHINGID INTEGER, BATCHID INTEGER, CREATIONDATE DATETIME, UPDATEDATE DATETIME, "
              "REMOTEID INTEGER)"),
    statement("1.2", kLaunchingsOrder),
    statement("1.2", kAllLaunchingOrderBatches),
    statement("1.2",
              "CREATE TABLE LaunchingsManufacture (Id AUTOINCREMENT PRIMARY KEY, "
              "LAUNCHINGID INTEGER, PRODUCTIONMAPID INTEGER, CREATIONDATE DATETIME, "
              "UPDATEDATE DATETIME, REMOTEID INTEGER)"),
    statement("1.2",
              "CREATE TABLE LaunchingsManufactureItems (Id AUTOINCREMENT PRIMARY KEY, "
              "LAUNCHINGID INTEGER, BATCHID INTEGER, CREATIONDATE DATETIME, UPDATEDATE DATETIME, "
              "REMOTEID INTEGER)"),
    statement("1.2", kLaunchingsManufacture),
    statement("1.2", kAllLaunchingManufactureBatches),
    statement("1.2",
              "CREATE TABLE PillingUpWorkStations (Id AUTOINCREMENT PRIMARY KEY, "
              "WorkStationID INTEGER, Destination INTEGER, BeamStyle INTEGER, "
              "BeamStyleName VARCHAR(50))"),
    statement("1.2",
              "CREATE TABLE PillingUpWorkstationProfiles (Id AUTOINCREMENT PRIMARY KEY, "
              "PillingUpWorkStationID INTEGER, Provider VARCHAR(50), ProvProfRef VARCHAR(50), "
              "ProvProfDesc VARCHAR(50), ProvProfId INTEGER, MachineRef VARCHAR(50), "
              "Origine INTEGER)"),
    statement("1.2", kPillingUpWorkStations),
    statement("1.2", kProfilesForPillingUpWorkstations),
    statement("1.2", "DROP TABLE qryWorkStationsDestinationCart"),
    statement("1.2", kWorkStationsDestinationCartOfFour),
    statement("1.2", "DROP TABLE qryWorkStationsOrigineCart"),
    statement("1.2", kWorkStationsOrigineCartOfFour),

    statement("1.3", "ALTER TABLE BatchArticles ADD COLUMN PARENTSTRUCTID INTEGER"),

    statement("1.4", "DROP TABLE qryWorkStationsOrigineCart"),
    statement("1.4", kWorkStationsOrigineCartOfProfiles),

    statement("1.5",
              "ALTER TABLE ProfileWorkstationProfiles ADD COLUMN COMPTYPE INTEGER, "
              "SERIEID INTEGER, MODELID INTEGER, COMPTYPENAME VARCHAR(50), "
              "SERIENAME VARCHAR(50), MODELNAME VARCHAR(50)"),
    statement("1.5", kAllProfilesFromMap),

    statement("1.51", "DROP TABLE qryManufacturingLinesWorkStations"),
    statement("1.51", kManufacturingLinesWorkStations),
    statement("1.51", kAllMapWorkStations),
    statement("1.51", "DROP TABLE qryLaunchingsManufacture"),
    statement("1.51", kLaunchingsManufactureWithMap),

    statement("1.52",
              "CREATE TABLE ProductionDocuments (Id AUTOINCREMENT PRIMARY KEY, NAME VARCHAR(50), "
              "DOCTYPE INTEGER, DocFileName VARCHAR(50))"),
    statement("1.52",
              "CREATE TABLE WorkstationProductionDocuments (Id AUTOINCREMENT PRIMARY KEY, "
              "DOCID INTEGER, WSID INTEGER)"),

    statement("1.53",
              "CREATE TABLE LaunchingGroup (Id AUTOINCREMENT PRIMARY KEY, NAME VARCHAR(50), "
              "CREATIONDATE DATETIME, UPDATEDATE DATETIME, REMOTEID INTEGER ) "),
    statement("1.53", "ALTER TABLE Launchings ADD COLUMN PARENTGROUPID INTEGER"),

    statement("1.54",
              "ALTER TABLE BatchArticles ADD COLUMN BUILDSITE VARCHAR(50), "
              "BUILDCOMMENT VARCHAR(50), QTYSURVEYOR VARCHAR(50) "),

    statement("1.55", "ALTER TABLE LaunchingGroup ADD COLUMN GROUPTYPE INTEGER "),
    statement("1.55", kAllPillingUpProfilesFromMapByTables),
    statement("1.55",
              "CREATE TABLE FillingWorkstations (Id AUTOINCREMENT PRIMARY KEY, "
              "WorkStationID INTEGER, Destination INTEGER, Origine INTEGER)"),
    statement("1.55",
              "CREATE TABLE FillingWorkstationFillings (Id AUTOINCREMENT PRIMARY KEY, "
              "FillingWorkStationID INTEGER, Provider VARCHAR(50), ProvFillRef VARCHAR(50), "
              "ProvFillDesc VARCHAR(50), ProvFillId INTEGER, MachineRef VARCHAR(50), "
              "Origine INTEGER, Destination INTEGER)"),
    statement("1.55", kFillingWorkStations),
    statement("1.55", kFillingForFillingWorkstations),

    statement("1.56", "ALTER TABLE MACHINES ADD COLUMN EXPORTPATH VARCHAR(50)"),
    statement("1.56", "DROP TABLE qryProfilWSDestinationCart"),
    statement("1.56", kProfilWSDestinationCart),
    statement("1.56", "DROP TABLE qryPillingUpWSDestinationCart"),
    statement("1.56", kPillingUpWSDestinationCart),
    statement("1.56", "DROP TABLE qryFrameWSDestinationCart"),
    statement("1.56", kFrameWSDestinationCart),
    statement("1.56", "DROP TABLE qryOnFrameWSFrameDestinationCart"),
    statement("1.56", kOnFrameWSFrameDestinationCart),
    statement("1.56", "DROP TABLE qryOnFrameWSFrameOriginCart"),
    statement("1.56", kOnFrameWSFrameOriginCart),
    statement("1.56", "DROP TABLE qryFillingWSDestinationCart"),
    statement("1.56", kFillingWSDestinationCart),
    statement("1.56", "DROP TABLE qryWorkStationsDestinationCart"),
    statement("1.56", kWorkStationsDestinationCart),
    statement("1.56", "DROP TABLE qryProfilWSOrigineCart"),
    statement("1.56", kProfilWSOrigineCart),
    statement("1.56", "DROP TABLE qryPillingUpWSOrigineCart"),
    statement("1.56", kPillingUpWSOrigineCart),
    statement("1.56", "DROP TABLE qryFrameWSOrigineCart"),
    statement("1.56", kFrameWSOrigineCart),
    statement("1.56", "DROP TABLE qryOnFrameWSOrigineCart"),
    statement("1.56", kOnFrameWSOrigineCart),
    statement("1.56", "DROP TABLE qryOnFrameWSFrameOrigineCart"),
    statement("1.56", kOnFrameWSFrameOrigineCart),
    statement("1.56", "DROP TABLE qryOnFrameWSFillingOrigineCart"),
    statement("1.56", kOnFrameWSFillingOrigineCart),
    statement("1.56", "DROP TABLE qryFillingWSOrigineCart"),
    statement("1.56", kFillingWSOrigineCart),
    statement("1.56", "DROP TABLE qryWorkStationsOrigineCart"),
    statement("1.56", kWorkStationsOrigineCart),
    statement("1.56", "DROP TABLE qryCuttingOffMachines"),
    statement("1.56", kCuttingOffMachines),
    statement("1.56", "DROP TABLE qryCNCPunchingMachines"),
    statement("1.56", kCNCPunchingMachines),
    statement("1.56", "DROP TABLE qryFrameEngineMachines"),
    statement("1.56", kFrameEngineMachines),
    statement("1.56", "DROP TABLE qryMixCuttingOfPunching"),
    statement("1.56", kMixCuttingOfPunching),
    statement("1.56", "ALTER TABLE BatchArticles ADD COLUMN INSTALLTEAM VARCHAR(50) "),
    statement("1.56",
              "ALTER TABLE ProductionDocuments ADD COLUMN ResDir VARCHAR(255), "
              "ResFileName VARCHAR(50)"),
    statement("1.56", "DROP TABLE qryFillingWorkStations"),
    statement("1.56", kFillingWorkStationsWithCarts),

    // INSTALLTEAM came with 1.56: Jet refuses the whole statement, so a
    // database that went through 1.56 never gets BuildSiteDepartment here.
    statement("1.57",
              "ALTER TABLE BatchArticles ADD COLUMN INSTALLTEAM VARCHAR(50), "
              "BuildSiteDepartment VARCHAR(50)"),

    statement("1.58", "DROP TABLE qryAllFrameProfilesFromMap"),
    statement("1.58", kAllFrameProfilesFromMap),
    statement("1.58", "DROP TABLE qryAllOnFrameProfilesFromMap"),
    statement("1.58", kAllOnFrameProfilesFromMap),
    statement("1.58", "DROP TABLE qryAllPillingUpProfilesFromMap"),
    statement("1.58", kAllPillingUpProfilesFromMap),

    statement("1.59",
              "ALTER TABLE ProfileWorkstationProfiles ADD COLUMN COMPTYPE_RULE VARCHAR(255), "
              "SERIE_RULE VARCHAR(255), MODEL_RULE VARCHAR(255), GLOBAL_RULE VARCHAR(255) "),

    statement("1.6",
              "ALTER TABLE BatchArticles ADD COLUMN USERID VARCHAR(255), USERNAME VARCHAR(255) "),

    statement("1.61", "ALTER TABLE CuttingOffMachines ADD COLUMN IsProjectedAngle INTEGER"),
    statement("1.61", "DROP TABLE qryCuttingOffMachines"),
    statement("1.61", kCuttingOffMachinesProjected),

    statement("1.62",
              "CREATE TABLE DOSSIERSGROUPSEXPANDED (Id AUTOINCREMENT PRIMARY KEY, "
              "DossierExpanded INTEGER, UserId INTEGER, Source INTEGER)"),

    statement("1.63", "ALTER TABLE CuttingOffMachines ADD COLUMN ProfilLengthOption INTEGER"),
    statement("1.63", "DROP TABLE qryCuttingOffMachines"),
    statement("1.63", kCuttingOffMachinesLengthOption),

    statement("1.64",
              "CREATE TABLE AccessoriesWorkStation (Id AUTOINCREMENT PRIMARY KEY, "
              "WorkStationId INTEGER)"),
    statement("1.64",
              "CREATE TABLE ArticlesForAccessoriesWorkStation (Id AUTOINCREMENT PRIMARY KEY, "
              "AccessorieWorkStationId INTEGER, Provider VARCHAR(50), ProvArtRef VARCHAR(50), "
              "ProvArtDesc VARCHAR(50), ProvArtId INTEGER)"),
    statement("1.64", kAccessoriesWorkStations),
    statement("1.64", kAllArticleFromMapIds),

    statement("1.65", "DROP TABLE qryAllFillingFromMap"),
    statement("1.65", kAllFillingFromMap),

    statement("1.66", "DROP TABLE qryAllArticleFromMap"),
    statement("1.66", kAllArticleFromMap),

    statement("1.67", kDossierLaunchingDelivery),
    statement("1.67", kDossierLaunchingManufacture),
    statement("1.67", kDossierLaunchingOrder),

    script("1.68", typed<"ALTER TABLE ProductionDocuments ADD COLUMN DefaultPrinter "
                         "{VARCHAR(150)}">),

    script("1.69", typed<"ALTER TABLE CuttingOffMachines ADD OverLength {FLOAT}">),
    statement("1.69", "UPDATE CuttingOffMachines SET OverLength=3"),
    statement("1.69", "DROP TABLE qryCuttingOffMachines"),
    statement("1.69", kCuttingOffMachinesOverLength),

    // Added without a value.
    script("1.7", typed<"ALTER TABLE WorkStations ADD COLUMN ExtraOptions {LONG}">),

    script("1.71", typed<"CREATE TABLE ProdMapWorkStation (Id {AUTOINCREMENT},  ProdMapId {LONG}, "
                         "WorkStationId {LONG}, ItemGUID {VARCHAR(50)},  PosX {FLOAT}, "
                         "PosY {FLOAT}, DimX {FLOAT}, DimY {FLOAT}, ItemCaption {VARCHAR(50)}) ">),
    script("1.71", typed<"CREATE TABLE ProdMapEntity (Id {AUTOINCREMENT},  ProdMapId {LONG}, "
                         "ItemGUID {VARCHAR(50)},  PosX {FLOAT}, PosY {FLOAT}, DimX {FLOAT}, "
                         "DimY {FLOAT}, ItemCaption {VARCHAR(50)}) ">),
    script("1.71",
           typed<"CREATE TABLE ProdMapLink (Id {AUTOINCREMENT},  ProdMapId {LONG}, "
                 "ProdLineId {LONG}, ItemGUID {VARCHAR(50)},  PosX {FLOAT}, PosY {FLOAT}, "
                 "DimX {FLOAT}, DimY {FLOAT}, ItemCaption {VARCHAR(50)},  WSGUIDIN {VARCHAR(50)}, "
                 "WSGUIDOUT {VARCHAR(50)}, GUIDINTYPE  {LONG}, GUIDOUTTYPE {LONG},  "
                 "WSINPtID {LONG}, WSOUTPtID {LONG}, PtAligned {LONG}) ">),
    script("1.71", typed<"CREATE TABLE ProdMapLinkPt (Id {AUTOINCREMENT},  ProdMapLinkId {LONG}, "
                         "PtInd {LONG}, PosPtX {FLOAT}, PosPtY {FLOAT}, PosPtStyle {LONG}) ">),
    script("1.71", typed<"ALTER TABLE BatchArticles ADD COLUMN SUBSTRUCTID {LONG}">),

    script("1.72", typed<"ALTER TABLE ArticlesForAccessoriesWorkStation ADD COLUMN COMPTYPE_RULE "
                         "{VARCHAR(255)}">),
    script("1.72", typed<"ALTER TABLE ArticlesForAccessoriesWorkStation ADD COLUMN MODEL_RULE "
                         "{VARCHAR(255)}">),
    script("1.72", typed<"ALTER TABLE ArticlesForAccessoriesWorkStation ADD COLUMN GLOBAL_RULE "
                         "{VARCHAR(255)}">),
    script("1.72", typed<"ALTER TABLE ArticlesForAccessoriesWorkStation ADD COLUMN IsHereConsumed "
                         "{LONG}">),
    script("1.72",
           typed<"ALTER TABLE FrameWorkStationProfiles ADD COLUMN COMPTYPE_RULE {VARCHAR(255)}">),
    script("1.72",
           typed<"ALTER TABLE FrameWorkStationProfiles ADD COLUMN MODEL_RULE {VARCHAR(255)}">),
    script("1.72",
           typed<"ALTER TABLE FrameWorkStationProfiles ADD COLUMN GLOBAL_RULE {VARCHAR(255)}">),
    script("1.72", typed<"ALTER TABLE FrameWorkStationProfiles ADD COLUMN IsHereConsumed {LONG}">),
    script("1.72",
           typed<"ALTER TABLE OnFrameWorkStationProfiles ADD COLUMN COMPTYPE_RULE {VARCHAR(255)}">),
    script("1.72",
           typed<"ALTER TABLE OnFrameWorkStationProfiles ADD COLUMN MODEL_RULE {VARCHAR(255)}">),
    script("1.72",
           typed<"ALTER TABLE OnFrameWorkStationProfiles ADD COLUMN GLOBAL_RULE {VARCHAR(255)}">),
    script("1.72",
           typed<"ALTER TABLE OnFrameWorkStationProfiles ADD COLUMN IsHereConsumed {LONG}">),
    script("1.72", typed<"ALTER TABLE PillingUpWorkstationProfiles ADD COLUMN COMPTYPE_RULE "
                         "{VARCHAR(255)}">),
    script("1.72",
           typed<"ALTER TABLE PillingUpWorkstationProfiles ADD COLUMN MODEL_RULE {VARCHAR(255)}">),
    script("1.72",
           typed<"ALTER TABLE PillingUpWorkstationProfiles ADD COLUMN GLOBAL_RULE {VARCHAR(255)}">),
    script("1.72",
           typed<"ALTER TABLE PillingUpWorkstationProfiles ADD COLUMN IsHereConsumed {LONG}">),
    script("1.72",
           typed<"ALTER TABLE FillingWorkstationFillings ADD COLUMN COMPTYPE_RULE {VARCHAR(255)}">),
    script("1.72",
           typed<"ALTER TABLE FillingWorkstationFillings ADD COLUMN MODEL_RULE {VARCHAR(255)}">),
    // A number here; the final patches make it text.
    script("1.72", typed<"ALTER TABLE FillingWorkstationFillings ADD COLUMN GLOBAL_RULE {LONG}">),
    script("1.72",
           typed<"ALTER TABLE FillingWorkstationFillings ADD COLUMN IsHereConsumed {LONG}">),
    script("1.72",
           typed<"ALTER TABLE ProfileWorkstationProfiles ADD COLUMN IsHereConsumed {LONG}">),
    // Again: 1.71 added it.
    script("1.72", typed<"ALTER TABLE BatchArticles ADD COLUMN SUBSTRUCTID {LONG}">),

    script("1.73",
           typed<"ALTER TABLE ArticlesForAccessoriesWorkStation ADD COLUMN OBJECTTYPE {LONG}">),
    script("1.73", typed<"ALTER TABLE FillingWorkstationFillings ADD COLUMN OBJECTTYPE {LONG}">),
    script("1.73", typed<"ALTER TABLE FrameWorkStationProfiles ADD COLUMN OBJECTTYPE {LONG}">),
    script("1.73", typed<"ALTER TABLE OnFrameWorkStationProfiles ADD COLUMN OBJECTTYPE {LONG}">),
    script("1.73", typed<"ALTER TABLE PillingUpWorkstationProfiles ADD COLUMN OBJECTTYPE {LONG}">),
    script("1.73", typed<"ALTER TABLE ProfileWorkstationProfiles ADD COLUMN OBJECTTYPE {LONG}">),

    script("1.74",
           typed<"ALTER TABLE ArticlesForAccessoriesWorkStation ADD COLUMN GROUPSTATUS {LONG}">),

    script("1.75", typed<"ALTER TABLE LaunchingGroup ADD COLUMN GROUPSTATUS {LONG}">),

    script("1.76",
           typed<"ALTER TABLE ProfileWorkstationProfiles ADD COLUMN RotationCalculated {LONG}">),
    statement("1.76", "UPDATE ProfileWorkstationProfiles SET RotationCalculated=0"),

    script("1.77", typed<"ALTER TABLE ProfileWorkstationProfiles ADD COLUMN PrefOrderID {LONG}">),
    statement("1.77", "UPDATE ProfileWorkstationProfiles SET PrefOrderID=0"),
    statement("1.77", "DROP TABLE qryProfilesForProfileWorkstations"),
    statement("1.77", kProfilesForProfileWorkstationsInOrder),

    statement("1.78", "ALTER TABLE CuttingOffMachines ADD COLUMN IsConvertedAngle INTEGER"),
    statement("1.78", "UPDATE CuttingOffMachines SET IsConvertedAngle=0"),
    statement("1.78", "DROP TABLE qryCuttingOffMachines"),
    statement("1.78", kCuttingOffMachinesConverted),

    statement("1.79", "ALTER TABLE ProfileWorkstationProfiles ADD COLUMN ZvPtCot INTEGER"),
    statement("1.79", "ALTER TABLE ProfileWorkstationProfiles ADD COLUMN ZvxCot REAL"),
    statement("1.79", "ALTER TABLE ProfileWorkstationProfiles ADD COLUMN ZvyCot REAL"),
    statement("1.79", "UPDATE ProfileWorkstationProfiles SET ZvPtCot=0, ZvxCot=NULL, ZvyCot=NULL"),

    script("1.8", typed<"ALTER TABLE ProfileWorkstationProfiles ADD COLUMN HoldX {FLOAT}">),
    script("1.8", typed<"ALTER TABLE ProfileWorkstationProfiles ADD COLUMN HoldY {FLOAT}">),
    statement("1.8", "UPDATE ProfileWorkstationProfiles SET HoldX=0, HoldY=0"),
    statement("1.8", "DROP TABLE qryProfilesForProfileWorkstations"),
    statement("1.8", kProfilesForProfileWorkstationsWithHolds),

    statement("1.81", "ALTER TABLE Workstations ADD COLUMN PrefMachineOrderID INTEGER"),
    statement("1.81", "UPDATE Workstations SET PrefMachineOrderID=0"),
    statement("1.81", "DROP TABLE qryProfileWorkstations"),
    statement("1.81", kProfileWorkstationsWithMachineOrder),
    statement("1.81", "DROP TABLE qryProfilesForProfileWorkstations"),
    statement("1.81", kProfilesForProfileWorkstationsWithMachineOrder),
};
static_assert(ascendingTargets(kWorkshopSteps));

// ---- final patches: no version, no code; each asks the schema first ----

enum class Guard : uint8_t { TableMissing, FieldMissing, FieldPresent };

struct FinalPatch {
    Guard guard;
    std::string_view table;
    std::string_view field;
    ScriptRoutine run;
};

constexpr FinalPatch kFinalPatches[] = {
    // when                  table / field                  statement
    {Guard::TableMissing,
     "WORKSHOP",
     {},
     typed<"CREATE TABLE WORKSHOP ( ID {AUTOINCREMENT} PRIMARY KEY  , ID_GRP {LONG} , "
           "ID_LNC {LONG} , ID_MAP {LONG} , ID_LINE {LONG} , ID_WORKSTATION {LONG} , "
           "CONSTRUCTION {VARCHAR(100)} , PROJECT {VARCHAR(100)} , COMMENTS {MEMO} , "
           "VALIDATION {BYTE})">},
    {Guard::FieldMissing, "BatchArticles", "EXTERNALPROJECTID",
     typed<"ALTER TABLE BatchArticles ADD COLUMN EXTERNALPROJECTID VARCHAR(25)">},
    {Guard::FieldMissing, "BatchArticles", "EXTERNALCUSTOMERID",
     typed<"ALTER TABLE BatchArticles ADD COLUMN EXTERNALCUSTOMERID VARCHAR(25)">},
    // Every time the column is there, whatever its type already is.
    {Guard::FieldPresent, "fillingworkstationfillings", "GLOBAL_RULE",
     typed<"ALTER TABLE fillingworkstationfillings {ALTER COLUMN} GLOBAL_RULE {VARCHAR(25)}">},
};

bool guardHolds(UpgradeSession& session, const FinalPatch& patch) {
    switch (patch.guard) {
        case Guard::TableMissing:
            return !session.tableExists(patch.table);
        case Guard::FieldMissing:
            return !session.fieldExists(patch.table, patch.field);
        case Guard::FieldPresent:
            return session.fieldExists(patch.table, patch.field);
    }
    return false;
}

}  // namespace

void runWorkshopFinalPatches(UpgradeSession& session) {
    QueryLevel level(session);
    session.setCommandMode();
    for (const FinalPatch& patch : kFinalPatches) {
        if (guardHolds(session, patch)) {
            patch.run(session);
        }
    }
}

const UpgradeCatalogue& workshopCatalogue() {
    static const UpgradeCatalogue catalogue{
        kWorkshopSteps, {}, VersionText::SinglePrecision, runWorkshopFinalPatches};
    return catalogue;
}

}  // namespace orvdb::upgrade

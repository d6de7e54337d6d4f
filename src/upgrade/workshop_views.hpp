// The views the workshop steps create, as CREATE VIEW texts; a view that
// several steps re-create has one text per shape, named after the version
// that makes it. Joins follow the workshop data model:
//
// - a production map (ProductionMaps) has places (ProductionMapPlaces), each
//   holding one manufacturing line (MANUFACTURINGLINEID); a line's
//   workstations are ManufacturingLinesWorkStations rows, in WSORDER;
// - each workstation family has a table of its own keyed by WorkStationID
//   (ProfileWorkStations, PillingUpWorkStations, FrameWorkStations,
//   OnFrameWorkStations, FillingWorkstations, AccessoriesWorkStation) and a
//   table of the profiles, fillings or articles it works on, keyed by the
//   family row's Id;
// - carts (Carts) are named by id: a family row's Destination is the cart it
//   fills; the cart it takes from is the Origine of each of its profile rows
//   (a profile, pilling-up, frame or on-frame workstation takes its bars from
//   several carts), the Origine of a filling workstation, and the
//   FrameOrigine / FillingOrigine of an on-frame workstation;
// - a cutting-off machine (CuttingOffMachines, keyed by MachineID) has two
//   saws, Saw1... and Saw2...; its views show one row per saw;
// - a launching (Launchings) is prepared as an order, a delivery and a
//   manufacture, each a row keyed by LAUNCHINGID with item rows that name a
//   batch (BatchItem) by BATCHID; a batch's articles are BatchArticles rows
//   (BATCHITEMID), each carrying the project (DOSSIERID) it comes from.
#pragma once

#include <string_view>

namespace orvdb::upgrade::workshop_views {

// ---- batches and launchings (1.2) ----

inline constexpr std::string_view kAllBatches =
    "CREATE VIEW qryAllBatches AS SELECT BatchItem.NAME AS BATCHNAME, BatchArticles.*, "
    "BatchItem.Id AS BATCHID FROM BatchArticles RIGHT JOIN BatchItem "
    "ON BatchArticles.BATCHITEMID = BatchItem.Id";

inline constexpr std::string_view kAllLaunchingBatches =
    "CREATE VIEW qryAllLauchingBatches AS SELECT L.Id AS LAUNCHINGID, L.NAME AS LAUNCHINGNAME, "
    "I.Id AS LAUNCHINGBATCHID, B.Id AS BATCHID, B.NAME AS BATCHNAME "
    "FROM (Launchings AS L INNER JOIN LaunchingsBatchItems AS I ON I.MATERIALORDERID = L.Id) "
    "INNER JOIN BatchItem AS B ON B.Id = I.BATCHITEMID";

// A launching kind's rows with their launching's own columns.
// clang-format off
#define ORVDB_LAUNCHING_KIND(VIEW, TABLE, ID_COLUMN, EXTRA)                             \
    "CREATE VIEW " VIEW " AS SELECT K.Id AS " ID_COLUMN ", K.LAUNCHINGID" EXTRA ", "     \
    "L.NAME, L.REFERENCE, L.DESCRIPTION, L.ORDERSTATUS, L.ORDERTYPE, "                  \
    "K.CREATIONDATE, K.UPDATEDATE, K.REMOTEID "                                         \
    "FROM " TABLE " AS K INNER JOIN Launchings AS L ON L.Id = K.LAUNCHINGID"

// A launching kind's items: the batches it takes.
#define ORVDB_LAUNCHING_BATCHES(VIEW, TABLE, ID_COLUMN)                                 \
    "CREATE VIEW " VIEW " AS SELECT I.Id AS " ID_COLUMN ", I.LAUNCHINGID, "              \
    "L.NAME AS LAUNCHINGNAME, I.BATCHID, B.NAME AS BATCHNAME "                          \
    "FROM (" TABLE " AS I INNER JOIN Launchings AS L ON L.Id = I.LAUNCHINGID) "         \
    "INNER JOIN BatchItem AS B ON B.Id = I.BATCHID"
// clang-format on

inline constexpr std::string_view kLaunchingsDelivery =
    ORVDB_LAUNCHING_KIND("qryLaunchingsDelivery", "LaunchingsDelivery", "DELIVERYID", "");
inline constexpr std::string_view kAllLaunchingDeliveryBatches = ORVDB_LAUNCHING_BATCHES(
    "qryAllLaunchingDeliveryBatches", "LaunchingsDeliveryItems", "DELIVERYITEMID");
inline constexpr std::string_view kLaunchingsOrder =
    ORVDB_LAUNCHING_KIND("qryLaunchingsOrder", "LaunchingsOrder", "ORDERID", ", K.PRODUCTIONMAPID");
inline constexpr std::string_view kAllLaunchingOrderBatches =
    ORVDB_LAUNCHING_BATCHES("qryAllLaunchingOrderBatches", "LaunchingsOrderItems", "ORDERITEMID");
inline constexpr std::string_view kLaunchingsManufacture = ORVDB_LAUNCHING_KIND(
    "qryLaunchingsManufacture", "LaunchingsManufacture", "MANUFACTUREID", ", K.PRODUCTIONMAPID");
inline constexpr std::string_view kAllLaunchingManufactureBatches = ORVDB_LAUNCHING_BATCHES(
    "qryAllLaunchingManufactureBatches", "LaunchingsManufactureItems", "MANUFACTUREITEMID");

// 1.51: with the name of the map the manufacture runs on (none when the
// map is gone).
inline constexpr std::string_view kLaunchingsManufactureWithMap =
    "CREATE VIEW qryLaunchingsManufacture AS SELECT K.Id AS MANUFACTUREID, K.LAUNCHINGID, "
    "K.PRODUCTIONMAPID, M.NAME AS MAPNAME, L.NAME, L.REFERENCE, L.DESCRIPTION, L.ORDERSTATUS, "
    "L.ORDERTYPE, K.CREATIONDATE, K.UPDATEDATE, K.REMOTEID FROM (LaunchingsManufacture AS K "
    "INNER JOIN Launchings AS L ON L.Id = K.LAUNCHINGID) LEFT JOIN ProductionMaps AS M "
    "ON M.Id = K.PRODUCTIONMAPID";

// 1.67: the projects whose articles a launching takes, per launching kind.
// clang-format off
#define ORVDB_PROJECT_LAUNCHINGS(VIEW, ITEMS)                                           \
    "CREATE VIEW " VIEW " AS SELECT DISTINCT B.DOSSIERID, I.LAUNCHINGID "               \
    "FROM " ITEMS " AS I INNER JOIN BatchArticles AS B ON B.BATCHITEMID = I.BATCHID"
// clang-format on

inline constexpr std::string_view kDossierLaunchingDelivery =
    ORVDB_PROJECT_LAUNCHINGS("qryDossierLaunchingDelivery", "LaunchingsDeliveryItems");
inline constexpr std::string_view kDossierLaunchingManufacture =
    ORVDB_PROJECT_LAUNCHINGS("qryDossierLaunchingManufacture", "LaunchingsManufactureItems");
inline constexpr std::string_view kDossierLaunchingOrder =
    ORVDB_PROJECT_LAUNCHINGS("qryDossierLaunchingOrder", "LaunchingsOrderItems");

// ---- workstation families ----

#define ORVDB_WORKSTATION_COLUMNS \
    "W.Id AS WORKSTATIONID, W.NAME, W.DESCRIPTION, W.WSTYPE, W.MACHINEID"

inline constexpr std::string_view kPillingUpWorkStations =
    "CREATE VIEW qryPillingUpWorkStations AS SELECT " ORVDB_WORKSTATION_COLUMNS
    ", F.Id AS PILLINGUPWORKSTATIONID, F.Destination, F.BeamStyle, F.BeamStyleName "
    "FROM WorkStations AS W INNER JOIN PillingUpWorkStations AS F ON F.WorkStationID = W.Id";

inline constexpr std::string_view kProfilesForPillingUpWorkstations =
    "CREATE VIEW qryProfilesForPillingUpWorkstations AS SELECT PP.Id, PP.PillingUpWorkStationID, "
    "PP.Provider, PP.ProvProfRef, PP.ProvProfDesc, PP.ProvProfId, PP.MachineRef, PP.Origine, "
    "Q.WORKSTATIONID, Q.NAME AS WORKSTATIONNAME FROM PillingUpWorkstationProfiles AS PP "
    "INNER JOIN qryPillingUpWorkStations AS Q ON Q.PILLINGUPWORKSTATIONID = "
    "PP.PillingUpWorkStationID";

inline constexpr std::string_view kFillingWorkStations =
    "CREATE VIEW qryFillingWorkStations AS SELECT " ORVDB_WORKSTATION_COLUMNS
    ", F.Id AS FILLINGWORKSTATIONID, F.Destination, F.Origine "
    "FROM WorkStations AS W INNER JOIN FillingWorkstations AS F ON F.WorkStationID = W.Id";

// 1.56: with the names of the carts it takes from and fills.
inline constexpr std::string_view kFillingWorkStationsWithCarts =
    "CREATE VIEW qryFillingWorkStations AS SELECT " ORVDB_WORKSTATION_COLUMNS
    ", F.Id AS FILLINGWORKSTATIONID, F.Destination, F.Origine, CO.NAME AS ORIGINECARTNAME, "
    "CD.NAME AS DESTINATIONCARTNAME FROM ((WorkStations AS W INNER JOIN FillingWorkstations AS F "
    "ON F.WorkStationID = W.Id) LEFT JOIN Carts AS CO ON CO.Id = F.Origine) LEFT JOIN Carts AS "
    "CD ON CD.Id = F.Destination";

inline constexpr std::string_view kFillingForFillingWorkstations =
    "CREATE VIEW qryFillingForFillingWorkstations AS SELECT FF.Id, FF.FillingWorkStationID, "
    "FF.Provider, FF.ProvFillRef, FF.ProvFillDesc, FF.ProvFillId, FF.MachineRef, FF.Origine, "
    "FF.Destination, Q.WORKSTATIONID, Q.NAME AS WORKSTATIONNAME FROM FillingWorkstationFillings "
    "AS FF INNER JOIN qryFillingWorkStations AS Q ON Q.FILLINGWORKSTATIONID = "
    "FF.FillingWorkStationID";

inline constexpr std::string_view kAccessoriesWorkStations =
    "CREATE VIEW qryAccessoriesWorkStations AS SELECT " ORVDB_WORKSTATION_COLUMNS
    ", F.Id AS ACCESSORIESWORKSTATIONID FROM WorkStations AS W INNER JOIN AccessoriesWorkStation "
    "AS F ON F.WorkStationId = W.Id";

// 1.81: with the machine order the workstation prefers.
inline constexpr std::string_view kProfileWorkstationsWithMachineOrder =
    "CREATE VIEW qryProfileWorkstations AS SELECT " ORVDB_WORKSTATION_COLUMNS
    ", W.PrefMachineOrderID, F.Id AS PROFILEWORKSTATIONID, F.Destination "
    "FROM WorkStations AS W INNER JOIN ProfileWorkStations AS F ON F.WorkStationID = W.Id";

// The profiles of the profile workstations, in each workstation's preferred
// order; every column the profile rows have at the step that makes it.
#define ORVDB_PROFILE_ROWS_177                                                                 \
    "PP.Id, PP.ProfileWorkStationID, PP.Provider, PP.ProvProfRef, PP.ProvProfDesc, "           \
    "PP.ProvProfId, PP.MachineRef, PP.Origine, PP.COMPTYPE, PP.SERIEID, PP.MODELID, "          \
    "PP.COMPTYPENAME, PP.SERIENAME, PP.MODELNAME, PP.COMPTYPE_RULE, PP.SERIE_RULE, "           \
    "PP.MODEL_RULE, PP.GLOBAL_RULE, PP.IsHereConsumed, PP.OBJECTTYPE, PP.RotationCalculated, " \
    "PP.PrefOrderID"
#define ORVDB_PROFILE_ROWS_18 \
    ORVDB_PROFILE_ROWS_177 ", PP.ZvPtCot, PP.ZvxCot, PP.ZvyCot, PP.HoldX, PP.HoldY"
#define ORVDB_PROFILE_WORKSTATION_JOIN                                             \
    " FROM ProfileWorkstationProfiles AS PP INNER JOIN qryProfileWorkstations ON " \
    "qryProfileWorkstations.PROFILEWORKSTATIONID = PP.ProfileWorkStationID "       \
    "ORDER BY qryProfileWorkstations.WORKSTATIONID, PP.PrefOrderID, PP.Id"

inline constexpr std::string_view kProfilesForProfileWorkstationsInOrder =
    "CREATE VIEW qryProfilesForProfileWorkstations AS SELECT " ORVDB_PROFILE_ROWS_177
    ", qryProfileWorkstations.WORKSTATIONID, qryProfileWorkstations.NAME AS "
    "WORKSTATIONNAME" ORVDB_PROFILE_WORKSTATION_JOIN;

inline constexpr std::string_view kProfilesForProfileWorkstationsWithHolds =
    "CREATE VIEW qryProfilesForProfileWorkstations AS SELECT " ORVDB_PROFILE_ROWS_18
    ", qryProfileWorkstations.WORKSTATIONID, qryProfileWorkstations.NAME AS "
    "WORKSTATIONNAME" ORVDB_PROFILE_WORKSTATION_JOIN;

inline constexpr std::string_view kProfilesForProfileWorkstationsWithMachineOrder =
    "CREATE VIEW qryProfilesForProfileWorkstations AS SELECT " ORVDB_PROFILE_ROWS_18
    ", qryProfileWorkstations.WORKSTATIONID, qryProfileWorkstations.NAME AS WORKSTATIONNAME, "
    "qryProfileWorkstations.PrefMachineOrderID" ORVDB_PROFILE_WORKSTATION_JOIN;

// ---- lines and maps ----

inline constexpr std::string_view kManufacturingLinesWorkStations =
    "CREATE VIEW qryManufacturingLinesWorkStations AS SELECT L.Id AS LINEID, L.NAME AS LINENAME, "
    "LW.Id AS LINEWORKSTATIONID, LW.WSORDER, W.Id AS WORKSTATIONID, W.NAME AS WORKSTATIONNAME, "
    "W.DESCRIPTION AS WORKSTATIONDESCRIPTION, W.WSTYPE, W.MACHINEID "
    "FROM (ManufacturingLines AS L INNER JOIN ManufacturingLinesWorkStations AS LW "
    "ON LW.MANUFACTURINGLINEID = L.Id) INNER JOIN WorkStations AS W ON W.Id = LW.WORKSTATIONID";

// Every workstation placed on a map: map, place, line, then the workstation.
inline constexpr std::string_view kAllMapWorkStations =
    "CREATE VIEW qryAllMapWorkStations AS SELECT M.Id AS MAPID, M.NAME AS MAPNAME, "
    "PL.Id AS MAPPLACEID, PL.PLACEINDEX, Q.LINEID, Q.LINENAME, Q.LINEWORKSTATIONID, Q.WSORDER, "
    "Q.WORKSTATIONID, Q.WORKSTATIONNAME, Q.WSTYPE, Q.MACHINEID "
    "FROM (ProductionMaps AS M INNER JOIN ProductionMapPlaces AS PL ON PL.PRODUCTIONMAPID = M.Id) "
    "INNER JOIN qryManufacturingLinesWorkStations AS Q ON Q.LINEID = PL.MANUFACTURINGLINEID";

// Before qryAllMapWorkStations (1.5, 1.55): the map's places, lines and
// workstations joined from the tables, then a family's profile rows.
// clang-format off
#define ORVDB_FROM_MAP_BY_TABLES(VIEW, FAMILY_TABLE, PROFILE_TABLE, PROFILE_KEY)        \
    "CREATE VIEW " VIEW " AS SELECT M.Id AS MAPID, PL.Id AS MAPPLACEID, "               \
    "PL.MANUFACTURINGLINEID AS LINEID, LW.WORKSTATIONID, PP.* "                         \
    "FROM (((ProductionMaps AS M "                                                      \
    "INNER JOIN ProductionMapPlaces AS PL ON PL.PRODUCTIONMAPID = M.Id) "               \
    "INNER JOIN ManufacturingLinesWorkStations AS LW "                                  \
    "ON LW.MANUFACTURINGLINEID = PL.MANUFACTURINGLINEID) "                              \
    "INNER JOIN " FAMILY_TABLE " AS F ON F.WorkStationID = LW.WORKSTATIONID) "          \
    "INNER JOIN " PROFILE_TABLE " AS PP ON PP." PROFILE_KEY " = F.Id"
// clang-format on

inline constexpr std::string_view kAllProfilesFromMap =
    ORVDB_FROM_MAP_BY_TABLES("qryAllProfilesFromMap", "ProfileWorkStations",
                             "ProfileWorkstationProfiles", "ProfileWorkStationID");
inline constexpr std::string_view kAllPillingUpProfilesFromMapByTables =
    ORVDB_FROM_MAP_BY_TABLES("qryAllPillingUpProfilesFromMap", "PillingUpWorkStations",
                             "PillingUpWorkstationProfiles", "PillingUpWorkStationID");

// From 1.58 on: through qryAllMapWorkStations, with the map and workstation
// names.
// clang-format off
#define ORVDB_FROM_MAP(VIEW, FAMILY_TABLE, ROWS_TABLE, ROWS_KEY)                        \
    "CREATE VIEW " VIEW " AS SELECT Q.MAPID, Q.MAPNAME, Q.MAPPLACEID, Q.LINEID, "       \
    "Q.WORKSTATIONID, Q.WORKSTATIONNAME, PP.* "                                         \
    "FROM (qryAllMapWorkStations AS Q "                                                 \
    "INNER JOIN " FAMILY_TABLE " AS F ON F.WorkStationID = Q.WORKSTATIONID) "           \
    "INNER JOIN " ROWS_TABLE " AS PP ON PP." ROWS_KEY " = F.Id"
// clang-format on

inline constexpr std::string_view kAllFrameProfilesFromMap =
    ORVDB_FROM_MAP("qryAllFrameProfilesFromMap", "FrameWorkStations", "FrameWorkStationProfiles",
                   "FrameWorkStationID");
inline constexpr std::string_view kAllOnFrameProfilesFromMap =
    ORVDB_FROM_MAP("qryAllOnFrameProfilesFromMap", "OnFrameWorkStations",
                   "OnFrameWorkStationProfiles", "OnFrameWorkStationID");
inline constexpr std::string_view kAllPillingUpProfilesFromMap =
    ORVDB_FROM_MAP("qryAllPillingUpProfilesFromMap", "PillingUpWorkStations",
                   "PillingUpWorkstationProfiles", "PillingUpWorkStationID");
inline constexpr std::string_view kAllFillingFromMap =
    ORVDB_FROM_MAP("qryAllFillingFromMap", "FillingWorkstations", "FillingWorkstationFillings",
                   "FillingWorkStationID");

// 1.64: the ids only; 1.66: with the article rows.
inline constexpr std::string_view kAllArticleFromMapIds =
    "CREATE VIEW qryAllArticleFromMap AS SELECT Q.MAPID, Q.MAPPLACEID, Q.LINEID, "
    "Q.WORKSTATIONID, F.Id AS ACCESSORIESWORKSTATIONID, A.Id AS ARTICLEID "
    "FROM (qryAllMapWorkStations AS Q INNER JOIN AccessoriesWorkStation AS F "
    "ON F.WorkStationId = Q.WORKSTATIONID) INNER JOIN ArticlesForAccessoriesWorkStation AS A "
    "ON A.AccessorieWorkStationId = F.Id";

inline constexpr std::string_view kAllArticleFromMap =
    "CREATE VIEW qryAllArticleFromMap AS SELECT Q.MAPID, Q.MAPPLACEID, Q.LINEID, "
    "Q.WORKSTATIONID, ArticlesForAccessoriesWorkStation.* "
    "FROM (qryAllMapWorkStations AS Q INNER JOIN AccessoriesWorkStation AS F "
    "ON F.WorkStationId = Q.WORKSTATIONID) INNER JOIN ArticlesForAccessoriesWorkStation "
    "ON ArticlesForAccessoriesWorkStation.AccessorieWorkStationId = F.Id";

// ---- carts ----

// 1.2 and 1.4: the unions read the family tables themselves.
// clang-format off
#define ORVDB_FAMILY_CART(FAMILY)                                                       \
    "SELECT W.Id AS WORKSTATIONID, W.NAME AS WORKSTATIONNAME, '" FAMILY "' AS FAMILY, " \
    "C.Id AS CARTID, C.NAME AS CARTNAME FROM "
#define ORVDB_STATION_CART(FAMILY, TABLE, CART_COLUMN)                                  \
    ORVDB_FAMILY_CART(FAMILY)                                                           \
    "(" TABLE " AS F INNER JOIN WorkStations AS W ON W.Id = F.WorkStationID) "          \
    "INNER JOIN Carts AS C ON C.Id = F." CART_COLUMN
#define ORVDB_PROFILES_CART(FAMILY, TABLE, PROFILES, KEY)                               \
    ORVDB_FAMILY_CART(FAMILY)                                                           \
    "((" TABLE " AS F INNER JOIN WorkStations AS W ON W.Id = F.WorkStationID) "         \
    "INNER JOIN " PROFILES " AS P ON P." KEY " = F.Id) "                                \
    "INNER JOIN Carts AS C ON C.Id = P.Origine"

inline constexpr std::string_view kWorkStationsDestinationCartOfFour =
    "CREATE VIEW qryWorkStationsDestinationCart AS "
    ORVDB_STATION_CART("PROFILE", "ProfileWorkStations", "Destination")
    " UNION " ORVDB_STATION_CART("PILLINGUP", "PillingUpWorkStations", "Destination")
    " UNION " ORVDB_STATION_CART("FRAME", "FrameWorkStations", "Destination")
    " UNION " ORVDB_STATION_CART("ONFRAME", "OnFrameWorkStations", "Destination");

inline constexpr std::string_view kWorkStationsOrigineCartOfFour =
    "CREATE VIEW qryWorkStationsOrigineCart AS "
    ORVDB_PROFILES_CART("PROFILE", "ProfileWorkStations", "ProfileWorkstationProfiles",
                        "ProfileWorkStationID")
    " UNION " ORVDB_PROFILES_CART("PILLINGUP", "PillingUpWorkStations",
                                  "PillingUpWorkstationProfiles", "PillingUpWorkStationID")
    " UNION " ORVDB_PROFILES_CART("FRAME", "FrameWorkStations", "FrameWorkStationProfiles",
                                  "FrameWorkStationID")
    " UNION " ORVDB_STATION_CART("ONFRAME", "OnFrameWorkStations", "FrameOrigine");

inline constexpr std::string_view kWorkStationsOrigineCartOfProfiles =
    "CREATE VIEW qryWorkStationsOrigineCart AS "
    ORVDB_PROFILES_CART("PROFILE", "ProfileWorkStations", "ProfileWorkstationProfiles",
                        "ProfileWorkStationID");
// clang-format on

// 1.56: one view per family and cart role, gathered by the unions. A row:
// the workstation, its family, what the cart holds (CARTROLE), the cart.
// clang-format off
#define ORVDB_ROLE_CART(VIEW, FAMILY, ROLE)                                             \
    "CREATE VIEW " VIEW " AS SELECT DISTINCT W.Id AS WORKSTATIONID, "                   \
    "W.NAME AS WORKSTATIONNAME, '" FAMILY "' AS FAMILY, '" ROLE "' AS CARTROLE, "       \
    "C.Id AS CARTID, C.NAME AS CARTNAME FROM "
#define ORVDB_STATION_ROLE_CART(VIEW, FAMILY, ROLE, TABLE, CART_COLUMN)                 \
    ORVDB_ROLE_CART(VIEW, FAMILY, ROLE)                                                 \
    "(" TABLE " AS F INNER JOIN WorkStations AS W ON W.Id = F.WorkStationID) "          \
    "INNER JOIN Carts AS C ON C.Id = F." CART_COLUMN
#define ORVDB_PROFILES_ROLE_CART(VIEW, FAMILY, TABLE, PROFILES, KEY)                    \
    ORVDB_ROLE_CART(VIEW, FAMILY, "PROFILES")                                           \
    "((" TABLE " AS F INNER JOIN WorkStations AS W ON W.Id = F.WorkStationID) "         \
    "INNER JOIN " PROFILES " AS P ON P." KEY " = F.Id) "                                \
    "INNER JOIN Carts AS C ON C.Id = P.Origine"
// clang-format on

inline constexpr std::string_view kProfilWSDestinationCart = ORVDB_STATION_ROLE_CART(
    "qryProfilWSDestinationCart", "PROFILE", "PROFILES", "ProfileWorkStations", "Destination");
inline constexpr std::string_view kPillingUpWSDestinationCart = ORVDB_STATION_ROLE_CART(
    "qryPillingUpWSDestinationCart", "PILLINGUP", "STACKS", "PillingUpWorkStations", "Destination");
inline constexpr std::string_view kFrameWSDestinationCart = ORVDB_STATION_ROLE_CART(
    "qryFrameWSDestinationCart", "FRAME", "FRAMES", "FrameWorkStations", "Destination");
inline constexpr std::string_view kOnFrameWSFrameDestinationCart = ORVDB_STATION_ROLE_CART(
    "qryOnFrameWSFrameDestinationCart", "ONFRAME", "FRAMES", "OnFrameWorkStations", "Destination");
// An on-frame workstation works on the frame where it stands and puts it
// back on the cart it came from: that cart is one of its destinations too.
inline constexpr std::string_view kOnFrameWSFrameOriginCart = ORVDB_STATION_ROLE_CART(
    "qryOnFrameWSFrameOriginCart", "ONFRAME", "FRAMES", "OnFrameWorkStations", "FrameOrigine");
inline constexpr std::string_view kFillingWSDestinationCart = ORVDB_STATION_ROLE_CART(
    "qryFillingWSDestinationCart", "FILLING", "FILLINGS", "FillingWorkstations", "Destination");

inline constexpr std::string_view kWorkStationsDestinationCart =
    "CREATE VIEW qryWorkStationsDestinationCart AS SELECT * FROM qryProfilWSDestinationCart "
    "UNION SELECT * FROM qryPillingUpWSDestinationCart UNION SELECT * FROM "
    "qryFrameWSDestinationCart UNION SELECT * FROM qryOnFrameWSFrameDestinationCart UNION "
    "SELECT * FROM qryOnFrameWSFrameOriginCart UNION SELECT * FROM qryFillingWSDestinationCart";

inline constexpr std::string_view kProfilWSOrigineCart =
    ORVDB_PROFILES_ROLE_CART("qryProfilWSOrigineCart", "PROFILE", "ProfileWorkStations",
                             "ProfileWorkstationProfiles", "ProfileWorkStationID");
inline constexpr std::string_view kPillingUpWSOrigineCart =
    ORVDB_PROFILES_ROLE_CART("qryPillingUpWSOrigineCart", "PILLINGUP", "PillingUpWorkStations",
                             "PillingUpWorkstationProfiles", "PillingUpWorkStationID");
inline constexpr std::string_view kFrameWSOrigineCart =
    ORVDB_PROFILES_ROLE_CART("qryFrameWSOrigineCart", "FRAME", "FrameWorkStations",
                             "FrameWorkStationProfiles", "FrameWorkStationID");
inline constexpr std::string_view kOnFrameWSOrigineCart =
    ORVDB_PROFILES_ROLE_CART("qryOnFrameWSOrigineCart", "ONFRAME", "OnFrameWorkStations",
                             "OnFrameWorkStationProfiles", "OnFrameWorkStationID");
inline constexpr std::string_view kOnFrameWSFrameOrigineCart = ORVDB_STATION_ROLE_CART(
    "qryOnFrameWSFrameOrigineCart", "ONFRAME", "FRAMES", "OnFrameWorkStations", "FrameOrigine");
inline constexpr std::string_view kOnFrameWSFillingOrigineCart =
    ORVDB_STATION_ROLE_CART("qryOnFrameWSFillingOrigineCart", "ONFRAME", "FILLINGS",
                            "OnFrameWorkStations", "FillingOrigine");
inline constexpr std::string_view kFillingWSOrigineCart = ORVDB_STATION_ROLE_CART(
    "qryFillingWSOrigineCart", "FILLING", "FILLINGS", "FillingWorkstations", "Origine");

inline constexpr std::string_view kWorkStationsOrigineCart =
    "CREATE VIEW qryWorkStationsOrigineCart AS SELECT * FROM qryProfilWSOrigineCart "
    "UNION SELECT * FROM qryPillingUpWSOrigineCart UNION SELECT * FROM qryFrameWSOrigineCart "
    "UNION SELECT * FROM qryOnFrameWSOrigineCart UNION SELECT * FROM "
    "qryOnFrameWSFrameOrigineCart UNION SELECT * FROM qryOnFrameWSFillingOrigineCart UNION "
    "SELECT * FROM qryFillingWSOrigineCart";

// ---- machines ----

// One row per saw; the second only on a machine that has one.
// clang-format off
#define ORVDB_SAW(N, COLUMNS)                                                           \
    "SELECT M.Id AS MACHINEID, M.NAME AS MACHINENAME, C.Id AS CUTTINGOFFID, "           \
    #N " AS SAW, C.Saw" #N "Diameter AS SAWDIAMETER, C.Saw" #N "Thickness AS "          \
    "SAWTHICKNESS, C.MinAngle, C.MaxAngle, C.MinLength, C.MaxLength" COLUMNS " "        \
    "FROM Machines AS M INNER JOIN CuttingOffMachines AS C ON C.MachineID = M.Id"
#define ORVDB_CUTTING_OFF(COLUMNS)                                                      \
    "CREATE VIEW qryCuttingOffMachines AS " ORVDB_SAW(1, COLUMNS)                       \
    " UNION ALL " ORVDB_SAW(2, COLUMNS) " WHERE C.Saw2Diameter > 0"
// clang-format on

inline constexpr std::string_view kCuttingOffMachines = ORVDB_CUTTING_OFF(", M.EXPORTPATH");
inline constexpr std::string_view kCuttingOffMachinesProjected =
    ORVDB_CUTTING_OFF(", M.EXPORTPATH, C.IsProjectedAngle");
inline constexpr std::string_view kCuttingOffMachinesLengthOption =
    ORVDB_CUTTING_OFF(", M.EXPORTPATH, C.IsProjectedAngle, C.ProfilLengthOption");
inline constexpr std::string_view kCuttingOffMachinesOverLength =
    ORVDB_CUTTING_OFF(", M.EXPORTPATH, C.IsProjectedAngle, C.ProfilLengthOption, C.OverLength");
inline constexpr std::string_view kCuttingOffMachinesConverted = ORVDB_CUTTING_OFF(
    ", C.IsProjectedAngle, C.IsConvertedAngle, C.ProfilLengthOption, "
    "C.OverLength, M.WorkType, M.EXPORTPATH");

inline constexpr std::string_view kCNCPunchingMachines =
    "CREATE VIEW qryCNCPunchingMachines AS SELECT M.Id AS MACHINEID, M.NAME AS MACHINENAME, "
    "P.Id AS PUNCHINGID, P.NbAxes, P.ToolCount, P.MaxLength, M.EXPORTPATH FROM Machines AS M "
    "INNER JOIN CNCPunchingMachines AS P ON P.MachineID = M.Id";

inline constexpr std::string_view kFrameEngineMachines =
    "CREATE VIEW qryFrameEngineMachines AS SELECT M.Id AS MACHINEID, M.NAME AS MACHINENAME, "
    "F.Id AS FRAMEENGINEID, F.NbHeads, F.MaxWidth, F.MaxHeight, M.EXPORTPATH FROM Machines AS M "
    "INNER JOIN FrameEngineMachines AS F ON F.MachineID = M.Id";

// Machines that both cut off and punch.
inline constexpr std::string_view kMixCuttingOfPunching =
    "CREATE VIEW qryMixCuttingOfPunching AS SELECT M.Id AS MACHINEID, M.NAME AS MACHINENAME, "
    "C.Id AS CUTTINGOFFID, P.Id AS PUNCHINGID, C.MaxLength AS CUTTINGMAXLENGTH, P.MaxLength AS "
    "PUNCHINGMAXLENGTH, P.ToolCount, M.EXPORTPATH FROM (Machines AS M INNER JOIN "
    "CuttingOffMachines AS C ON C.MachineID = M.Id) INNER JOIN CNCPunchingMachines AS P "
    "ON P.MachineID = M.Id";

#undef ORVDB_CUTTING_OFF
#undef ORVDB_FAMILY_CART
#undef ORVDB_FROM_MAP
#undef ORVDB_FROM_MAP_BY_TABLES
#undef ORVDB_LAUNCHING_BATCHES
#undef ORVDB_LAUNCHING_KIND
#undef ORVDB_PROFILES_CART
#undef ORVDB_PROFILES_ROLE_CART
#undef ORVDB_PROFILE_ROWS_177
#undef ORVDB_PROFILE_ROWS_18
#undef ORVDB_PROFILE_WORKSTATION_JOIN
#undef ORVDB_PROJECT_LAUNCHINGS
#undef ORVDB_ROLE_CART
#undef ORVDB_SAW
#undef ORVDB_STATION_CART
#undef ORVDB_STATION_ROLE_CART
#undef ORVDB_WORKSTATION_COLUMNS

}  // namespace orvdb::upgrade::workshop_views

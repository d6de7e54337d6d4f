// The views the manager steps and blocks create, as CREATE VIEW texts.
//
// The quote-tree views give one row per node of each project's current quote
// (DOSSIERS.CURRENTDEVISID): the node's columns the host's screens read, then
// four data columns taken from the node's data row (ARTICLEDATAID refers to
// the ID of the data table of its kind), NULL where a kind has no such data.
// One view per kind of node, and DEVISNODESARTICLEDATA as their union.
#pragma once

#include <string_view>

namespace orvdb::upgrade::manager_views {

#define ORVDB_NODE_COLUMNS                                                            \
    "SELECT N.DEVISID AS DEVISID, N.ID AS NODEID, D.ID AS DOSSIERID, N.PARENTNODEID," \
    " N.PROVIDERID, N.NODETYPE, N.NODESTATUS, N.NAME AS NODENAME, N.PICTUREVISIBLE,"  \
    " N.ARTICLEDATAID"
#define ORVDB_CURRENT_NODES \
    "DOSSIERS AS D INNER JOIN DOSSIERDEVISTREENODES AS N ON N.DEVISID = D.CURRENTDEVISID"
#define ORVDB_ARTICLE_DATA                                                         \
    ", A.REFERENCE AS DATAREFERENCE, A.DESCRIPTION AS DATADESCRIPTION,"            \
    " A.QUANTITY AS DATAQUANTITY, A.PRICE AS DATAPRICE FROM (" ORVDB_CURRENT_NODES \
    ") INNER JOIN devis_info_article AS A ON A.ID = N.ARTICLEDATAID"
#define ORVDB_CONSTRUCTION_DATA                                  \
    ", NULL AS DATAREFERENCE, C.DESCRIPTION AS DATADESCRIPTION," \
    " C.QUANTITY AS DATAQUANTITY, C.PRICE AS DATAPRICE"
#define ORVDB_CONSTRUCTION_JOIN   \
    " FROM (" ORVDB_CURRENT_NODES \
    ") INNER JOIN devis_info_construction AS C ON C.ID = N.ARTICLEDATAID"
#define ORVDB_SUBCONTRACTING_DATA                                                  \
    ", NULL AS DATAREFERENCE, S.DESCRIPTION AS DATADESCRIPTION,"                   \
    " S.QUANTITY AS DATAQUANTITY, S.PRICE AS DATAPRICE FROM (" ORVDB_CURRENT_NODES \
    ") INNER JOIN Devis_Info_Subcontracting AS S ON S.ID = N.ARTICLEDATAID"
#define ORVDB_NO_DATA                                                         \
    ", NULL AS DATAREFERENCE, NULL AS DATADESCRIPTION, NULL AS DATAQUANTITY," \
    " NULL AS DATAPRICE FROM " ORVDB_CURRENT_NODES

// ---- before the per-kind views: one union, four kinds of node ----

inline constexpr std::string_view kNodesOfFourKinds =
    "CREATE VIEW DEVISNODESARTICLEDATA AS " ORVDB_NODE_COLUMNS ORVDB_ARTICLE_DATA
    " WHERE N.NODETYPE = 1"
    " UNION " ORVDB_NODE_COLUMNS ORVDB_CONSTRUCTION_DATA ORVDB_CONSTRUCTION_JOIN
    " WHERE N.NODETYPE BETWEEN 5 AND 8"
    " UNION " ORVDB_NODE_COLUMNS ORVDB_SUBCONTRACTING_DATA
    " WHERE N.NODETYPE = 9"
    " UNION " ORVDB_NODE_COLUMNS ORVDB_NO_DATA " WHERE N.NODETYPE NOT IN (1, 5, 6, 7, 8, 9)";

// ---- one view per kind of node ----

inline constexpr std::string_view kSingleArticles =
    "CREATE VIEW DEVISNODESSINGLEARTICLEDATA AS " ORVDB_NODE_COLUMNS ORVDB_ARTICLE_DATA
    " WHERE N.NODETYPE = 1";
// From 1.8 on, a single article is a node of type 11.
inline constexpr std::string_view kSingleArticlesOfType11 =
    "CREATE VIEW DEVISNODESSINGLEARTICLEDATA AS " ORVDB_NODE_COLUMNS ORVDB_ARTICLE_DATA
    " WHERE N.NODETYPE = 11";

inline constexpr std::string_view kConstructions =
    "CREATE VIEW DEVISNODESCONSTRUCTIONARTICLEDATA AS " ORVDB_NODE_COLUMNS ORVDB_CONSTRUCTION_DATA
        ORVDB_CONSTRUCTION_JOIN " WHERE N.NODETYPE BETWEEN 5 AND 89";
inline constexpr std::string_view kConstructionsWithoutType11 =
    "CREATE VIEW DEVISNODESCONSTRUCTIONARTICLEDATA AS " ORVDB_NODE_COLUMNS ORVDB_CONSTRUCTION_DATA
        ORVDB_CONSTRUCTION_JOIN " WHERE N.NODETYPE BETWEEN 5 AND 89 AND N.NODETYPE <> 11";
// From 2.03 on, with the construction's main provider and series.
inline constexpr std::string_view kConstructionsWithMainSeries =
    "CREATE VIEW DEVISNODESCONSTRUCTIONARTICLEDATA AS " ORVDB_NODE_COLUMNS ORVDB_CONSTRUCTION_DATA
    ", C.MAINPROVIDER, C.MAINSERIE" ORVDB_CONSTRUCTION_JOIN
    " WHERE N.NODETYPE BETWEEN 5 AND 89 AND N.NODETYPE <> 11";

inline constexpr std::string_view kSubcontracting =
    "CREATE VIEW DEVISNODESSUBCONTRDATA AS " ORVDB_NODE_COLUMNS ORVDB_SUBCONTRACTING_DATA
    " WHERE N.NODETYPE = 90";

inline constexpr std::string_view kMiscellaneous =
    "CREATE VIEW DEVISNODESMISCDATA AS " ORVDB_NODE_COLUMNS ORVDB_NO_DATA
    " WHERE N.NODETYPE <> 1 AND N.NODETYPE <> 90 AND NOT (N.NODETYPE BETWEEN 5 AND 89)"
    " AND NOT (N.NODETYPE BETWEEN 101 AND 199)";

inline constexpr std::string_view kFormulas =
    "CREATE VIEW DEVISNODESFORMULADATA AS " ORVDB_NODE_COLUMNS
    ", NULL AS DATAREFERENCE, F.DESCRIPTION AS DATADESCRIPTION, NULL AS DATAQUANTITY,"
    " F.ComputeValue AS DATAPRICE FROM (" ORVDB_CURRENT_NODES
    ") INNER JOIN Devis_info_formula AS F ON F.ID = N.ARTICLEDATAID"
    " WHERE N.NODETYPE BETWEEN 101 AND 199";

// ---- the union of the per-kind views ----

inline constexpr std::string_view kNodesOfFiveKinds =
    "CREATE VIEW DEVISNODESARTICLEDATA AS SELECT * FROM DEVISNODESSINGLEARTICLEDATA"
    " UNION SELECT * FROM DEVISNODESCONSTRUCTIONARTICLEDATA"
    " UNION SELECT * FROM DEVISNODESSUBCONTRDATA"
    " UNION SELECT * FROM DEVISNODESMISCDATA"
    " UNION SELECT * FROM DEVISNODESFORMULADATA";

#define ORVDB_NO_MAIN_SERIES ", NULL AS MAINPROVIDER, NULL AS MAINSERIE FROM "
inline constexpr std::string_view kNodesWithMainSeries =
    "CREATE VIEW DEVISNODESARTICLEDATA AS SELECT *" ORVDB_NO_MAIN_SERIES
    "DEVISNODESSINGLEARTICLEDATA"
    " UNION SELECT DEVISID, NODEID, DOSSIERID, PARENTNODEID, PROVIDERID, NODETYPE, NODESTATUS,"
    " NODENAME, PICTUREVISIBLE, ARTICLEDATAID, DATAREFERENCE, DATADESCRIPTION, DATAQUANTITY,"
    " DATAPRICE, MAINPROVIDER, MAINSERIE FROM DEVISNODESCONSTRUCTIONARTICLEDATA"
    " UNION SELECT *" ORVDB_NO_MAIN_SERIES
    "DEVISNODESSUBCONTRDATA"
    " UNION SELECT *" ORVDB_NO_MAIN_SERIES
    "DEVISNODESMISCDATA"
    " UNION SELECT *" ORVDB_NO_MAIN_SERIES "DEVISNODESFORMULADATA";

#undef ORVDB_NO_MAIN_SERIES
#undef ORVDB_NO_DATA
#undef ORVDB_SUBCONTRACTING_DATA
#undef ORVDB_CONSTRUCTION_JOIN
#undef ORVDB_CONSTRUCTION_DATA
#undef ORVDB_ARTICLE_DATA
#undef ORVDB_CURRENT_NODES
#undef ORVDB_NODE_COLUMNS

// ---- machines ----

inline constexpr std::string_view kSaws =
    "CREATE VIEW SCIES AS SELECT M.ID AS Id, M.Name, M.ConstructorName, M.TypeM, S.Saw"
    " FROM MACHINES AS M INNER JOIN MACHINES_SCIES AS S ON M.ID = S.Machines_ID";
inline constexpr std::string_view kSawsWithAngleConversions =
    "CREATE VIEW SCIES AS SELECT M.ID AS Id, M.Name, M.ConstructorName, M.TypeM, S.Saw,"
    " S.AngleConversionType1, S.AngleConversionType2"
    " FROM MACHINES AS M INNER JOIN MACHINES_SCIES AS S ON M.ID = S.Machines_ID";

// ---- labour rates with their label ----

#define ORVDB_LABOUR_COLUMNS                                                          \
    "CREATE VIEW AllLabourRate AS SELECT LP.Id AS LPId, LP.Id_lng, LP.dataValue,"     \
    " LP.Provider, LP.UnitOfTime, LP.Id_Post, LP.Discount, LP.DataType, LP.Id_Model," \
    " LNG.*"
inline constexpr std::string_view kLabourRates = ORVDB_LABOUR_COLUMNS
    " FROM LabourPost AS LP INNER JOIN [Language] AS LNG ON LP.id_lng = LNG.Id";
inline constexpr std::string_view kLabourRatesOfZvLanguage = ORVDB_LABOUR_COLUMNS
    " FROM LabourPost AS LP INNER JOIN zv_Language AS LNG ON LP.id_lng = LNG.Id";
// From 2.18 on, a labour rate without its label is listed too.
inline constexpr std::string_view kAllLabourRates = ORVDB_LABOUR_COLUMNS
    " FROM LabourPost AS LP LEFT JOIN Zv_Language AS LNG ON LP.id_lng = LNG.Id";
#undef ORVDB_LABOUR_COLUMNS

}  // namespace orvdb::upgrade::manager_views

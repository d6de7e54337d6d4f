// The provider family's named patches, in run order: each runs once, when its
// code is not yet in ZV_VersionCode, and its code is recorded after it. The
// patches that read rows first are routines (their updates run the way the
// host's TryOpenSQL runs them: as selects that report no rows).
#include "upgrade/action_parameters.hpp"
#include "upgrade/provider_catalogue.hpp"
#include "upgrade/provider_views.hpp"

namespace orvdb::upgrade {

namespace {

using namespace views;

void appendClosoirParameter(UpgradeSession& session) {
    rewriteActions(session, {0, "SELECT ID, Parametre FROM [zv_Action] WHERE Ref IN (138)",
                             kZvActionUpdate, "append 0", true});
}

void negateAxisDistance(UpgradeSession& session) {
    rewriteActions(session, {0, "SELECT ID, Parametre FROM [zv_Action] WHERE Ref IN (122)",
                             kZvActionUpdate, "negate 2", true});
}

void weightAsReal(UpgradeSession& session) {
    QueryLevel level(session);
    session.tryOpen("ALTER TABLE Article ALTER COLUMN Weight REAL");
}

constexpr UpgradeRow kProviderPatches[] = {
    // code       statement, or routine
    statement("OPENING", "DROP TABLE Opening"),
    statement("OPENING",
              "CREATE TABLE Opening (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), InternalImage "
              "VARCHAR(50), ExternalImage VARCHAR(50), RefCount LONG, Condition VARCHAR(255), "
              "Description LONG, SensDivision BYTE, ElementInformation OLEOBJECT, NameID LONG, "
              "ElementCount LONG, Epaisseur REAL, RefGroup LONG, Code LONG, CodeQ LONG, "
              "ZV_Position LONG)"),
    statement("OPENING", "DROP TABLE OpeningArc"),
    statement("OPENING",
              "CREATE TABLE OpeningArc (ID AUTOINCREMENT PRIMARY KEY, Group_ID LONG, X1 "
              "VARCHAR(50), Y1 VARCHAR(50), LineFactor LONG, LineWidth REAL, LinePattern LONG, "
              "Mode_ID LONG, Index1 BYTE, R VARCHAR(50), ComplementOption BYTE, A VARCHAR(50))"),
    statement("OPENING", "DROP TABLE OpeningCross"),
    statement("OPENING",
              "CREATE TABLE OpeningCross (ID AUTOINCREMENT PRIMARY KEY, Group_ID LONG, X1 "
              "VARCHAR(50), Y1 VARCHAR(50), LineFactor LONG, LineWidth REAL, LinePattern LONG, "
              "Mode_ID LONG, Index1 BYTE, R VARCHAR(50), ComplementOption BYTE)"),
    statement("OPENING", "DROP TABLE OpeningLine"),
    statement("OPENING",
              "CREATE TABLE OpeningLine (ID AUTOINCREMENT PRIMARY KEY, Opening_ID LONG, X1 "
              "VARCHAR(50), Y1 VARCHAR(50), X2 VARCHAR(50), Y2 VARCHAR(50), LineFactor LONG, "
              "LineWidth REAL, LinePattern LONG)"),
    statement("OPENING", "DROP TABLE OpeningLine2D"),
    statement(
        "OPENING",
        "CREATE TABLE OpeningLine2D (ID AUTOINCREMENT PRIMARY KEY, Group_ID LONG, Index1 BYTE, "
        "Index2 BYTE, PercentPoint1 BYTE, PercentPoint2 BYTE, LineFactor INTEGER, LineWidth REAL, "
        "LinePattern LONG, Mode_ID LONG, ComplementOption BYTE, BIndex1 BYTE, BIndex2 BYTE)"),
    statement("OPENING", "DROP TABLE OpeningLineArrow"),
    statement("OPENING",
              "CREATE TABLE OpeningLineArrow (ID AUTOINCREMENT PRIMARY KEY, Group_ID LONG, X1 "
              "VARCHAR(50), Y1 VARCHAR(50), X2 VARCHAR(50), Y2 VARCHAR(50), LineFactor INTEGER, "
              "LineWidth REAL, LinePattern LONG, Mode_ID LONG, ComplementOption BYTE, BIndex1 "
              "BYTE, BIndex2 BYTE)"),
    statement("OPENING", "DROP TABLE OpeningProperty"),
    statement(
        "OPENING",
        "CREATE TABLE OpeningProperty (Ref1 LONG, Orientation BYTE, Vantail BYTE, Ref2 LONG)"),
    statement("OPENING", "DROP TABLE OpeningShapeCode"),
    statement("OPENING", "CREATE TABLE OpeningShapeCode (Group_ID LONG, ShapeCode VARCHAR(20))"),
    statement("OPENING", "DROP TABLE OpeningShapeGroup"),
    statement("OPENING",
              "CREATE TABLE OpeningShapeGroup (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(15), "
              "Opening_ID LONG)"),
    statement("OPENING", "DROP TABLE OpeningTransformations"),
    statement("OPENING",
              "CREATE TABLE OpeningTransformations (ID AUTOINCREMENT PRIMARY KEY, Name "
              "VARCHAR(255), ProcID LONG, Ref LONG, Start REAL, Length REAL, NumElement BYTE)"),

    statement("PASTILLE", "DROP TABLE zv_Pastille"),
    statement("PASTILLE",
              "CREATE TABLE zv_Pastille (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Picture "
              "VARCHAR(50), Description VARCHAR(255), Symbol VARCHAR(50), RefGroup LONG, "
              "zv_Position LONG, Lng_ID LONG)"),
    statement("PASTILLE", "DROP TABLE zv_GroupPastille"),
    statement("PASTILLE",
              "CREATE TABLE zv_GroupPastille (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), "
              "COLOR VARCHAR(10), Filter1 VARCHAR(50), RefGroup LONG, zv_Position LONG, "
              "Description VARCHAR(255))"),

    statement("LIBERTYPASTILLE", "ALTER TABLE zv_Pastille ADD COLUMN LibertyDegree BYTE"),

    statement("POSITION_EXP_MSG", "ALTER TABLE Msg_Text_Expression ADD COLUMN zv_Position LONG"),
    statement("POSITION_EXP_MSG",
              "UPDATE Msg_Text_Expression SET zv_Position=[position] WHERE [Position]<>0"),
    statement("POSITION_EXP_MSG",
              "ALTER TABLE Msg_Text_Expression DROP CONSTRAINT pk_Msg_Text_Expression"),
    statement("POSITION_EXP_MSG",
              "CREATE UNIQUE INDEX pk_Msg_Text_Expression ON Msg_Text_Expression(Ref, "
              "[zv_Position]) WITH PRIMARY"),
    statement("POSITION_EXP_MSG", "ALTER TABLE Msg_Text_Expression DROP COLUMN [Position]"),

    statement("ADD_SECTIONMAT", "DROP TABLE zv_SectionMaterial"),
    statement("ADD_SECTIONMAT",
              "CREATE TABLE zv_SectionMaterial (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(255), "
              "Description VARCHAR(255), RefGroup LONG, TranslateName LONG, YoungModulus REAL, "
              "PoissonRatio REAL, ThermalExpansion REAL, ShearModulus REAL, VolumetricDensity "
              "REAL, ElasticLimit REAL, TensileStrength REAL, HeatTreated BYTE, BrushStyle BYTE, R "
              "BYTE, G BYTE, B BYTE, ThermalConductivity REAL, DynamicViscosity REAL, SpecificHeat "
              "REAL, MaterialType LONG)"),
    statement("ADD_SECTIONMAT", "DROP TABLE zv_GroupSectionMaterial"),
    statement(
        "ADD_SECTIONMAT",
        "CREATE TABLE zv_GroupSectionMaterial (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(255), "
        "Description VARCHAR(255), RefGroup LONG, zv_Position LONG, Color VARCHAR(10))"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_GroupSectionMaterial (ID, Name, RefGroup, Color) VALUES (1, 'Default "
              "group', NULL, 0)"),
    // One material a row, in ID order; HeatTreated, brushStyle 0, RefGroup 1.
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(1,'EMPTY',0,0,0,1.2,0,0,0,0,255,255,255,0.025,1050,0.00001761,1,1008)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(2,'STEEL',210000,0.3,0.000012,7850,200,300,0,0,128,64,64,50,1000,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(3,'ALU',69000,0.33,0.000023,2700,120,160,0,0,192,192,192,160,1000,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES (4,'POLYAMIDE "
              "(NYLON)',4000,0.33,0.000085,1130,70,80,0,0,0,128,255,0.25,1010,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(5,'EPDM',200,0.45,0.00017,1225,0,0,0,0,64,128,128,0.25,1020,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(6,'RIGIDPVC',0,0,0,1390,0,0,0,0,0,128,0,0.17,1000,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(7,'SOFTWOOD',0,0,0,500,0,0,0,0,128,64,0,0.13,1000,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES (8,'POLYAMIDE "
              "REINF.',4000,0.33,0.000085,1130,70,80,0,0,0,64,255,0.3,1010,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES (9,'PU POLYURETHANE "
              "RIGID',0,0,0,1200,0,0,0,0,0,255,128,0.25,1010,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES (10,'PU "
              "POLYURETHANE',0,0,0,25,0,0,0,0,0,255,160,0.028,1010,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(11,'ABS',0,0,0,25,0,0,0,0,0,255,180,0.15,1010,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES (12,'EPDM "
              "FOAM',0,0,0,1225,0,0,0,0,64,128,255,0.155,1020,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES (13,'MOHAIR (POLYESTER) "
              "SWEEP',0,0,0,1225,0,0,0,0,128,0,128,0.14,1020,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(14,'PEX',0,0,0,1225,0,0,0,0,64,0,128,0.038,1020,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES (15,'PE "
              "INSULATION',0,0,0,1225,0,0,0,0,255,128,64,0.04,1020,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(16,'FLOAT',0,0,0,2500,0,0,0,0,128,255,255,1,1040,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(17,'AIR_10',0,0,0,1.2,0,0,0,0,160,160,160,0.02496,1050,0.00001761,1,1008)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(18,'ARGON_10',0,0,0,1.7,0,0,0,0,140,140,140,0.01684,1050,0.00002164,1,519)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(19,'SF6_10',0,0,0,6.4,0,0,0,0,120,120,120,0.01275,1050,0.00001459,1,614)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(20,'KRYPTON_10',0,0,0,3.6,0,0,0,0,100,100,100,0.009,1050,0.000024,1,245)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES (21,'GLASIN "
              "FILLING',0,0,0,0,0,0,0,0,180,180,180,0.034,1040,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(22,'INSULATION',0,0,0,0,0,0,0,0,255,128,0,0.035,1040,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(23,'POLYSULFIDE',0,0,0,1700,0,0,0,0,255,220,0,0.4,1030,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(24,'SILICONE',0,0,0,1200,0,0,0,0,180,150,0,0.35,1030,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(25,'SILICAGEL',0,0,0,720,0,0,0,0,128,128,64,0.13,1030,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES (26,'CONCRETE "
              "2300',0,0,0,2300,0,0,0,0,100,90,90,2.6,1060,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES (27,'BRICK "
              "1800',0,0,0,1800,0,0,0,0,120,80,80,0.9,1060,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(28,'PLASTER',0,0,0,1600,0,0,0,0,210,190,190,0.7,1060,0,1,0)"),
    statement("ADD_SECTIONMAT",
              "INSERT INTO zv_SectionMaterial "
              "(ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,"
              "TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,"
              "DynamicViscosity,RefGroup,SpecificHeat)VALUES "
              "(29,'ROCKWOOL',0,0,0,40,0,0,0,0,220,150,95,0.037,1060,0,1,0)"),

    statement("SCALEVIEW", "ALTER TABLE AutomatedViews ADD COLUMN CotationScale LONG"),
    statement("SCALEVIEW", "UPDATE AutomatedViews SET CotationScale=10"),

    statement("PROCEDDRAW", "ALTER TABLE OpeningLineArrow ADD COLUMN Index1 BYTE"),
    statement("PROCEDDRAW", "ALTER TABLE OpeningLineArrow ADD COLUMN Index2 BYTE"),
    statement("PROCEDDRAW", "DROP TABLE Get_All_OpeningDraw"),

    statement("PROCEDGROUP", "DROP TABLE zv_GroupProceed"),
    statement("PROCEDGROUP", "DROP TABLE zv_OpeningXLibGroup"),
    statement("PROCEDGROUP",
              "CREATE TABLE zv_GroupProceed (ID AUTOINCREMENT PRIMARY KEY, zvName VARCHAR(255), "
              "zvRefGroup LONG, zvNameID LONG, zvDescriptionID LONG, zvPicture VARCHAR(255))"),
    statement("PROCEDGROUP",
              "CREATE TABLE zv_OpeningXLibGroup (OpeningId LONG PRIMARY KEY, zvPresGroup LONG)"),
    statement("PROCEDGROUP", "ALTER TABLE Opening ADD COLUMN zvPresGroup LONG"),
    statement("PROCEDGROUP",
              "ALTER TABLE zv_OpeningXLibGROUP ADD CONSTRAINT fk_xlibpresGroup FOREIGN KEY "
              "(zvPresGroup) REFERENCES zv_GroupProceed(ID)"),
    statement("PROCEDGROUP",
              "ALTER TABLE Opening ADD CONSTRAINT fk_presGroup FOREIGN KEY (zvPresGroup) "
              "REFERENCES zv_GroupProceed(ID)"),
    statement("PROCEDGROUP",
              "ALTER TABLE zv_GroupProceed ADD CONSTRAINT fk_GroupProceedParent FOREIGN KEY "
              "(zvRefGroup) REFERENCES zv_GroupProceed(ID)"),

    statement("MSGCORRECTMERGE", "ALTER TABLE Msg_Apparence ALTER COLUMN Ref LONG"),
    statement("MSGCORRECTMERGE", "ALTER TABLE Msg_Image ALTER COLUMN Ref1 LONG"),
    statement("MSGCORRECTMERGE", "ALTER TABLE Msg_Text ALTER COLUMN Ref1 LONG"),
    statement("MSGCORRECTMERGE", "ALTER TABLE Msg_Text ALTER COLUMN Ref2 LONG"),

    statement("ARTPROCNODECORR", "ALTER TABLE Article_ProcedureNodes ALTER COLUMN Ref LONG"),

    statement("TREEVAR_ONEDIT",
              "ALTER TABLE VariableObjTree_Color_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement("TREEVAR_ONEDIT",
              "UPDATE VariableObjTree_Color_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("TREEVAR_ONEDIT",
              "UPDATE VariableObjTree_Color_Group SET DescExpression='TRUE' WHERE EventType=1 OR "
              "EventType=2"),
    statement("TREEVAR_ONEDIT",
              "ALTER TABLE VariableObjTree_Monetary_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement("TREEVAR_ONEDIT",
              "UPDATE VariableObjTree_Monetary_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("TREEVAR_ONEDIT",
              "UPDATE VariableObjTree_Monetary_Group SET DescExpression='TRUE' WHERE EventType=1 "
              "OR EventType=2"),
    statement("TREEVAR_ONEDIT",
              "ALTER TABLE VariableObjTree_Physical_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement("TREEVAR_ONEDIT",
              "UPDATE VariableObjTree_Physical_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("TREEVAR_ONEDIT",
              "UPDATE VariableObjTree_Physical_Group SET DescExpression='TRUE' WHERE EventType=1 "
              "OR EventType=2"),
    statement("TREEVAR_ONEDIT", "ALTER TABLE VariableObjTree_Group ADD COLUMN OnChangeId LONG"),
    statement("TREEVAR_ONEDIT", "UPDATE VariableObjTree_Group SET OnChangeId=0"),
    statement("TREEVAR_ONEDIT", "ALTER TABLE VariableObjTree_Value ADD COLUMN OnChangeId LONG"),
    statement("TREEVAR_ONEDIT", "UPDATE VariableObjTree_Value SET OnChangeId=0"),
    statement("TREEVAR_ONEDIT", "ALTER TABLE VariableObjTree_Bool ADD COLUMN OnChangeId LONG"),
    statement("TREEVAR_ONEDIT", "UPDATE VariableObjTree_Bool SET OnChangeId=0"),
    statement("TREEVAR_ONEDIT", "ALTER TABLE VariableObjTree_TextList ADD COLUMN OnChangeId LONG"),
    statement("TREEVAR_ONEDIT", "UPDATE VariableObjTree_TextList SET OnChangeId=0"),
    statement("TREEVAR_ONEDIT", "ALTER TABLE VariableObjTree_ValueList ADD COLUMN OnChangeId LONG"),
    statement("TREEVAR_ONEDIT", "UPDATE VariableObjTree_ValueList SET OnChangeId=0"),
    statement("TREEVAR_ONEDIT", "ALTER TABLE VariableObjTree_ItemList ADD COLUMN OnChangeId LONG"),
    statement("TREEVAR_ONEDIT", "UPDATE VariableObjTree_ItemList SET OnChangeId=0"),
    statement("TREEVAR_ONEDIT", "ALTER TABLE VariableObjTree_Line ADD COLUMN OnChangeId LONG"),
    statement("TREEVAR_ONEDIT", "UPDATE VariableObjTree_Line SET OnChangeId=0"),
    statement("TREEVAR_ONEDIT", "ALTER TABLE VariableObjTree_Color ADD COLUMN OnChangeId LONG"),
    statement("TREEVAR_ONEDIT", "UPDATE VariableObjTree_Color SET OnChangeId=0"),
    statement("TREEVAR_ONEDIT", "ALTER TABLE VariableObjTree_Monetary ADD COLUMN OnChangeId LONG"),
    statement("TREEVAR_ONEDIT", "UPDATE VariableObjTree_Monetary SET OnChangeId=0"),
    statement("TREEVAR_ONEDIT", "ALTER TABLE VariableObjTree_Physical ADD COLUMN OnChangeId LONG"),
    statement("TREEVAR_ONEDIT", "UPDATE VariableObjTree_Physical SET OnChangeId=0"),
    statement("TREEVAR_ONEDIT",
              "ALTER TABLE VariableObjTree_ColorizationGroup ADD COLUMN OnChangeId LONG"),
    statement("TREEVAR_ONEDIT", "UPDATE VariableObjTree_ColorizationGroup SET OnChangeId=0"),
    statement("TREEVAR_ONEDIT",
              "ALTER TABLE VariableObjTree_PackagingGroup ADD COLUMN OnChangeId LONG"),
    statement("TREEVAR_ONEDIT", "UPDATE VariableObjTree_PackagingGroup SET OnChangeId=0"),

    statement("TREEHEADER_1",
              "CREATE TABLE TreeView_ImageVar (HeaderVarId LONG, ModeId LONG, ImgType LONG, "
              "VariableName VARCHAR(50))"),

    statement("CORRECTMERGE_1", "ALTER TABLE Discounts ALTER COLUMN TranslateName LONG"),
    statement("CORRECTMERGE_1", "ALTER TABLE Discounts ALTER COLUMN RefGroup LONG"),
    statement("CORRECTMERGE_1", "ALTER TABLE AssignedDiscounts ALTER COLUMN Ref1 LONG"),
    statement("CORRECTMERGE_1", "ALTER TABLE AssignedDiscounts ALTER COLUMN Ref2 LONG"),
    statement("CORRECTMERGE_1", "ALTER TABLE AssignedDiscounts ALTER COLUMN Ref3 LONG"),
    statement("CORRECTMERGE_1", "ALTER TABLE GroupDiscounts ALTER COLUMN RefGroup LONG"),
    statement("CORRECTMERGE_1", "ALTER TABLE MO ALTER COLUMN Ref LONG"),
    statement("CORRECTMERGE_1", "ALTER TABLE MO ALTER COLUMN RefGroup LONG"),
    statement("CORRECTMERGE_1", "ALTER TABLE MO_ProcedureNodes ALTER COLUMN Ref LONG"),

    script("CLOSOIRADDPTYPE_1", appendClosoirParameter),

    statement("ARTICLEWEIGHT", "ALTER TABLE Article ADD COLUMN Weight NUMERIC"),
    statement(
        "ARTICLEWEIGHT",
        "UPDATE Article AS T1, Article_Profil AS T2 SET T1.Weight=T2.Weight WHERE T1.ID=T2.ID"),
    statement(
        "ARTICLEWEIGHT",
        "UPDATE Article AS T1, Article_Surfacique AS T2 SET T1.Weight=T2.Weight WHERE T1.ID=T2.ID"),
    statement(
        "ARTICLEWEIGHT",
        "UPDATE Article AS T1, ComplementBackfill AS T2 SET T1.Weight=T2.Weight WHERE T1.ID=T2.ID"),
    statement("ARTICLEWEIGHT", "ALTER TABLE Article_Profil DROP COLUMN Weight"),
    statement("ARTICLEWEIGHT", "ALTER TABLE Article_Surfacique DROP COLUMN Weight"),
    statement("ARTICLEWEIGHT", "ALTER TABLE ComplementBackfill DROP COLUMN Weight"),
    statement("ARTICLEWEIGHT", "DROP TABLE Get_ArticleProfils"),
    statement("ARTICLEWEIGHT", kProfileArticlesWeighed),
    statement("ARTICLEWEIGHT", "DROP TABLE Get_ArticleSurfacique"),
    statement("ARTICLEWEIGHT", kSurfaceArticlesWeighed),
    statement("ARTICLEWEIGHT", "DROP TABLE Get_ArticleFillings"),
    statement("ARTICLEWEIGHT", kFillingArticlesWeighed),
    statement("ARTICLEWEIGHT", "DROP TABLE Get_ArticleVentilators"),
    statement("ARTICLEWEIGHT", kVentilatorArticlesWeighed),

    script("MINUSDISAXEDY", negateAxisDistance),

    script("WEIGHTARTICLEDOUBLE", weightAsReal),

    statement("STRING255", "ALTER TABLE ZV_Language ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Variables ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Variables ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Msg ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE ZV_Action ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE ZV_Action ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Dialogue ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Procedures ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Procedures ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Points ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Points ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Lignes ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Lignes ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Surfaces ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Surfaces ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE ZV_section ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE ZV_section ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Objet3D ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Objet3D ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Serie ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE AssemblageNode ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE EmpillageBeam ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE ModeleConstruction ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE TabParamArray ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE TabParamArray ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Serie_Quincaillerie ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupText ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupText ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupV ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupV ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupMsg ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupMsg ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupAction ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupAction ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupDialog ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupDialog ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupProc ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupProc ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupPoint ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupPoint ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupLigne ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupLigne ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupSurface ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupSurface ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupSection ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupSection ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupObjet3D ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupObjet3D ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupSerie ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupSerie ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupAssemblageNode ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupAssemblageNode ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupEmpillageBeam ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupEmpillageBeam ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupModeleConstruction ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255",
              "ALTER TABLE GroupModeleConstruction ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupTabParamArray ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupTabParamArray ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupSerie_Quincaillerie ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255",
              "ALTER TABLE GroupSerie_Quincaillerie ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Msg ALTER COLUMN Description VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Condition ALTER COLUMN Expression VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Comments ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE ZV_Section ALTER COLUMN ZV_Section VARCHAR(255)"),
    statement("STRING255",
              "ALTER TABLE Condition_Quincaillerie ALTER COLUMN Condition VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE ZV_Language ALTER COLUMN Français VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE ZV_Language ALTER COLUMN Nederlands VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE ZV_Language ALTER COLUMN English VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE ZV_Language ALTER COLUMN Deutsch VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE ZV_Language ALTER COLUMN Polski VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Serie ALTER COLUMN Preview VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE AssemblageNode ALTER COLUMN SeqCode VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE AssemblageNode ALTER COLUMN GraphicCode VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE TabParamArray ALTER COLUMN Exp1 VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE TabParamArray ALTER COLUMN Exp2 VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE ModeleConstruction ALTER COLUMN Preview VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Article ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Article ALTER COLUMN Reference VARCHAR(255)"),
    statement("STRING255",
              "ALTER TABLE ModeleConstruction ALTER COLUMN VitrageExistence VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupArticle ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE Article ALTER COLUMN PictureFile VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE MO ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE BoucleFor ALTER COLUMN FromStart VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE BoucleFor ALTER COLUMN toEnd VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE GroupMO ALTER COLUMN Name VARCHAR(255)"),
    statement("STRING255", "ALTER TABLE EmpillageBeam ALTER COLUMN Preview VARCHAR(255)"),

    statement("THERMICENABLE", "ALTER TABLE Article_Profil ADD COLUMN zvThermicEnable BYTE"),
    statement("THERMICENABLE", "UPDATE Article_Profil SET zvThermicEnable=1"),
    statement("THERMICENABLE", "DROP TABLE Get_ArticleProfils"),
    statement("THERMICENABLE", kProfileArticlesThermic),

    statement("GLAZINGTHERMICENABLE",
              "ALTER TABLE Provider ADD COLUMN zvThermicEnableGlazing BYTE"),
    statement("GLAZINGTHERMICENABLE", "UPDATE Provider SET zvThermicEnableGlazing=1"),

    statement("SECTMATPOS", "ALTER TABLE Zv_SectionMaterial ADD COLUMN zv_Position BYTE"),

    statement("THERMICID_INDEXED",
              "CREATE INDEX id_ThermicIDProfil ON Zv_ThermicProfil(zvThermicID)"),
    statement("THERMICID_INDEXED",
              "CREATE INDEX id_ThermicIDGlazing ON Zv_ThermicGlazing(zvThermicID)"),
    statement("THERMICID_INDEXED", "CREATE INDEX id_ThermicIDCode ON PillingUpThermic(zvIDCode)"),

    statement("THERMICID_FLOAT", "ALTER TABLE Article_Remplissage ALTER COLUMN Ug REAL"),
    statement("THERMICID_FLOAT", "ALTER TABLE Article_Remplissage ALTER COLUMN Psi REAL"),
};
static_assert(distinctCodes(kProviderPatches));

}  // namespace

std::span<const UpgradeRow> providerPatches() {
    return kProviderPatches;
}

}  // namespace orvdb::upgrade

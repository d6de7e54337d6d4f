// The provider family's version steps, in run order, one row per statement.
// Statements are written as they run (the key helpers' output spelt out:
// "ALTER TABLE A ADD CONSTRAINT k FOREIGN KEY (c) REFERENCES B(ID)"). Script
// rows are the steps that must ask the database something first
// (provider_scripts.hpp); the named patches are in provider_patches.cpp and
// the view texts in provider_views.hpp.
#include "upgrade/provider_catalogue.hpp"

#include "upgrade/provider_upgrade.hpp"

#include "upgrade/action_parameters.hpp"
#include "upgrade/position_columns.hpp"
#include "upgrade/provider_scripts.hpp"
#include "upgrade/provider_views.hpp"

namespace orvdb::upgrade {

namespace {

using namespace views;

constexpr UpgradeRow kProviderSteps[] = {
    // target     statement, or script number and routine
    statement("0.35836", "ALTER TABLE variableobjtree_Textlist_Text ADD COLUMN [Position] LONG"),
    statement("0.35836", "UPDATE variableobjtree_Textlist_Text SET [Position]=ID"),
    statement("0.35836", "ALTER TABLE variableobjtree_Valuelist_Value ADD COLUMN [Position] LONG"),
    statement("0.35836", "UPDATE variableobjtree_Valuelist_Value SET [Position]=ID"),

    statement("0.35837", "ALTER TABLE EmpillageBeam DROP CONSTRAINT fk_Group_empillagebeam"),
    statement("0.35837", "ALTER TABLE EmpillageBeam DROP CONSTRAINT fk_proc_empillagebeam"),
    statement("0.35837", "ALTER TABLE EmpillageBeam DROP CONSTRAINT fk_Comproc_empillagebeam"),
    statement("0.35837", "ALTER TABLE EmpillageBeam DROP CONSTRAINT fk_Fabproc_empillagebeam"),
    statement("0.35837", "ALTER TABLE AssemblageNode DROP CONSTRAINT fk_Group_AssemblageNode"),
    statement("0.35837", "ALTER TABLE AssemblageNode DROP CONSTRAINT fk_proc_AssemblageNode"),
    statement("0.35837", "ALTER TABLE AssemblageNode DROP CONSTRAINT fk_Fabproc_AssemblageNode"),
    statement("0.35837", "ALTER TABLE AssemblageNode DROP CONSTRAINT fk_Relproc_AssemblageNode"),

    statement(
        "0.35838",
        "UPDATE Article SET RefGroup=NULL WHERE NOT (RefGroup IN (SELECT ID FROM GroupArticle))"),
    statement("0.35838",
              "ALTER TABLE Article ADD CONSTRAINT fk_Article_GroupArticle "
              "FOREIGN KEY (RefGroup) REFERENCES GroupArticle(ID)"),

    statement("0.35840", "ALTER TABLE Provider ADD COLUMN LogoFilename VARCHAR(255)"),

    script("0.35841", 15, addMissingPositionColumns),

    statement("0.35843",
              "CREATE TABLE VariableObjTree_ItemList (ID AUTOINCREMENT, CurrentVal LONG, "
              "Visible VARCHAR(255), Picture VARCHAR(255), Name LONG, Description LONG)"),
    statement("0.35843",
              "CREATE TABLE VariableObjTree_ItemList_Group (Ref1 LONG, Ref2 LONG, "
              "Ref3 LONG, [Position] SHORT)"),
    statement("0.35843",
              "CREATE TABLE VariableObjTree_ItemList_Item (ID AUTOINCREMENT, Ref1 LONG, "
              "Ref2 LONG, [Position] LONG, ItemIndex SHORT, Condition VARCHAR(255), "
              "Picture VARCHAR(255))"),
    statement("0.35843",
              "CREATE UNIQUE INDEX ID_VariableObjTree_ItemList "
              "ON VariableObjTree_ItemList(ID) WITH PRIMARY"),
    statement("0.35843",
              "CREATE UNIQUE INDEX ID_VariableObjTree_ItemList_Group "
              "ON VariableObjTree_ItemList_Group(Ref1, Ref3) WITH PRIMARY"),
    statement("0.35843",
              "CREATE UNIQUE INDEX ID_VariableObjTree_ItemList_Item "
              "ON VariableObjTree_ItemList_Item(ID) WITH PRIMARY"),
    statement("0.35843",
              "ALTER TABLE VariableObjTree_ItemList ADD CONSTRAINT "
              "fk_VariableObjTree_ItemList_name FOREIGN KEY (Name) REFERENCES [Language](ID)"),
    statement("0.35843",
              "ALTER TABLE VariableObjTree_ItemList ADD CONSTRAINT "
              "fk_VariableObjTree_ItemList_Description FOREIGN KEY (Description) "
              "REFERENCES [Language](ID)"),
    statement("0.35843",
              "ALTER TABLE VariableObjTree_ItemList_Group ADD CONSTRAINT "
              "fk_VariableObjTree_ItemList_Group_Ref1 FOREIGN KEY (Ref1) "
              "REFERENCES VariableObjTree_ItemList(ID)"),
    statement("0.35843",
              "ALTER TABLE VariableObjTree_ItemList_Group ADD CONSTRAINT "
              "fk_VariableObjTree_ItemList_Group_Ref2 FOREIGN KEY (Ref2) "
              "REFERENCES VariableObjTree_Group(ID)"),
    statement("0.35843",
              "ALTER TABLE VariableObjTree_ItemList_Group ADD CONSTRAINT "
              "fk_VariableObjTree_ItemList_Group_Ref3 FOREIGN KEY (Ref3) "
              "REFERENCES VariableTree(ID)"),
    statement("0.35843",
              "ALTER TABLE VariableObjTree_ItemList_Item ADD CONSTRAINT "
              "fk_VariableObjTree_ItemList_Item_Ref1 FOREIGN KEY (Ref1) "
              "REFERENCES VariableObjTree_ItemList(ID)"),
    statement("0.35843",
              "ALTER TABLE VariableObjTree_ItemList_Item ADD CONSTRAINT "
              "fk_VariableObjTree_ItemList_Item_Ref2 FOREIGN KEY (Ref2) "
              "REFERENCES Article(ID)"),
    statement("0.35843", "DROP TABLE All_VariableGroupInformation"),
    statement("0.35843", kVariableGroupsOfSix),
    statement("0.35843", kItemListItems),

    statement("0.35845", "DROP TABLE View_VariableObjTree_ItemList_Item"),
    statement("0.35845", kItemListItemsWithArticle),

    statement("0.35847", "DROP TABLE View_VariableObjTree_ItemList_Item"),
    statement("0.35847", kItemListItemsWithSectionPictures),

    statement("0.35848", "DROP TABLE VariableObjTree_Line_Group"),
    statement("0.35848", "DROP TABLE VariableObjTree_Line"),
    statement("0.35848",
              "CREATE TABLE VariableObjTree_Line (ID AUTOINCREMENT, LineID LONG, "
              "CurrentVal LONG, Visible VARCHAR(255), Picture VARCHAR(255), Name LONG, "
              "Description LONG)"),
    statement("0.35848",
              "CREATE TABLE VariableObjTree_Line_Group (Ref1 LONG, Ref2 LONG, Ref3 LONG, "
              "[Position] SHORT)"),
    statement("0.35848",
              "CREATE UNIQUE INDEX ID_VariableObjTree_Line ON VariableObjTree_Line(ID) "
              "WITH PRIMARY"),
    statement("0.35848",
              "CREATE UNIQUE INDEX ID_VariableObjTree_Line_Group "
              "ON VariableObjTree_Line_Group(Ref1, Ref3) WITH PRIMARY"),
    statement("0.35848",
              "ALTER TABLE VariableObjTree_Line ADD CONSTRAINT fk_VariableObjTree_Line_name "
              "FOREIGN KEY (Name) REFERENCES [Language](ID)"),
    statement("0.35848",
              "ALTER TABLE VariableObjTree_Line ADD CONSTRAINT "
              "fk_VariableObjTree_Line_Description FOREIGN KEY (Description) "
              "REFERENCES [Language](ID)"),
    statement("0.35848",
              "ALTER TABLE VariableObjTree_Line ADD CONSTRAINT "
              "fk_VariableObjTree_Line_LineID FOREIGN KEY (LineID) REFERENCES Lignes(ID)"),
    statement("0.35848",
              "ALTER TABLE VariableObjTree_Line_Group ADD CONSTRAINT "
              "fk_VariableObjTree_Line_Group_Ref1 FOREIGN KEY (Ref1) "
              "REFERENCES VariableObjTree_Line(ID)"),
    statement("0.35848",
              "ALTER TABLE VariableObjTree_Line_Group ADD CONSTRAINT "
              "fk_VariableObjTree_Line_Group_Ref2 FOREIGN KEY (Ref2) "
              "REFERENCES VariableObjTree_Group(ID)"),
    statement("0.35848",
              "ALTER TABLE VariableObjTree_Line_Group ADD CONSTRAINT "
              "fk_VariableObjTree_Line_Group_Ref3 FOREIGN KEY (Ref3) "
              "REFERENCES VariableTree(ID)"),
    statement("0.35848", "DROP TABLE Share_Groups"),
    statement("0.35848", "CREATE TABLE Share_Groups (ID LONG, RefGroup LONG, [Position] SHORT)"),
    statement("0.35848", "DROP TABLE Share_ValueVariables"),
    statement("0.35848",
              "CREATE TABLE Share_ValueVariables (ID LONG, RefGroup LONG, [Position] SHORT)"),
    statement("0.35848", "DROP TABLE Share_BoolVariables"),
    statement("0.35848",
              "CREATE TABLE Share_BoolVariables (ID LONG, RefGroup LONG, [Position] SHORT)"),
    statement("0.35848", "DROP TABLE Share_TextListVariables"),
    statement("0.35848",
              "CREATE TABLE Share_TextListVariables (ID LONG, RefGroup LONG, [Position] SHORT)"),
    statement("0.35848", "DROP TABLE Share_ValueListVariables"),
    statement("0.35848",
              "CREATE TABLE Share_ValueListVariables (ID LONG, RefGroup LONG, [Position] SHORT)"),
    statement("0.35848", "DROP TABLE Share_ItemListVariables"),
    statement("0.35848",
              "CREATE TABLE Share_ItemListVariables (ID LONG, RefGroup LONG, [Position] SHORT)"),
    statement("0.35848", "DROP TABLE Share_LineVariables"),
    statement("0.35848",
              "CREATE TABLE Share_LineVariables (ID LONG, RefGroup LONG, [Position] SHORT)"),
    statement("0.35848", "DROP TABLE All_VariableGroupInformation"),
    statement("0.35848", kVariableGroupsWithLines),
    statement("0.35848", "DROP TABLE Union_ShareVariables"),
    statement("0.35848", kUnionShareVariables),
    statement("0.35848", "DROP TABLE View_ShareVariables"),
    statement("0.35848", kShareVariables),
    statement("0.35848",
              "CREATE TABLE Article_Constant (ID AUTOINCREMENT, Ref LONG, "
              "Name VARCHAR(255), [Value] VARCHAR(255))"),
    statement("0.35848", "CREATE INDEX Id_ArticleConstant ON Article_Constant(ID)"),
    statement("0.35848",
              "ALTER TABLE Article_Constant ADD CONSTRAINT fk_Ref_ArticleConstant "
              "FOREIGN KEY (Ref) REFERENCES Article(ID)"),

    // The first table's key goes first: a table in a relationship cannot be dropped.
    statement("0.35849", "ALTER TABLE Article_Constant DROP CONSTRAINT fk_Ref_ArticleConstant"),
    statement("0.35849", "DROP TABLE Article_Constant"),
    statement("0.35849",
              "CREATE TABLE Article_Constant (ID AUTOINCREMENT, Name VARCHAR(255), "
              "ConstantValue VARCHAR(255), Ref LONG)"),
    statement("0.35849",
              "ALTER TABLE Article_Constant ADD CONSTRAINT fk_ArticleConstant_Ref "
              "FOREIGN KEY (Ref) REFERENCES Article(ID)"),
    statement("0.35849",
              "CREATE UNIQUE INDEX ID_ArticleConstant ON Article_Constant(ID) WITH PRIMARY"),

    statement("0.35850", "DROP TABLE Machining"),
    statement("0.35850",
              "CREATE TABLE Machining (ID AUTOINCREMENT, Name VARCHAR(255), "
              "[Position] BYTE, RefGroup LONG, [External] GUID)"),
    statement("0.35850",
              "CREATE TABLE GroupMachining (ID AUTOINCREMENT, Name VARCHAR(255), "
              "RefGroup LONG, [Position] BYTE)"),
    // Primary: the keys below need a unique index on the ID they refer to.
    statement("0.35850", "CREATE UNIQUE INDEX ID_Machining ON Machining(ID) WITH PRIMARY"),
    statement("0.35850",
              "CREATE UNIQUE INDEX ID_GroupMachining ON GroupMachining(ID) WITH PRIMARY"),
    statement("0.35850",
              "ALTER TABLE Machining ADD CONSTRAINT fk_Machining_Group "
              "FOREIGN KEY (RefGroup) REFERENCES GroupMachining(ID)"),
    statement("0.35850",
              "ALTER TABLE GroupMachining ADD CONSTRAINT fk_GroupMachining_Group "
              "FOREIGN KEY (RefGroup) REFERENCES GroupMachining(ID)"),

    statement("0.35851", "ALTER TABLE GroupMachining ADD COLUMN Description VARCHAR(255)"),
    statement("0.35851", "ALTER TABLE GroupMachining ADD COLUMN Color VARCHAR(8)"),
    statement("0.35851", "ALTER TABLE Machining ADD COLUMN Description VARCHAR(255)"),

    statement("0.35852", "ALTER TABLE Machining ADD COLUMN MachExternal GUID"),
    statement("0.35852", "UPDATE Machining SET MachExternal=[External]"),
    statement("0.35852", "ALTER TABLE Machining DROP COLUMN [External]"),

    statement("0.35853", "ALTER TABLE Machining ADD COLUMN [External] VARCHAR (40)"),
    statement("0.35853", "DELETE FROM Machining"),
    statement("0.35853", "ALTER TABLE Machining DROP COLUMN MachExternal"),

    statement("0.35854",
              "UPDATE EmpillageBeam SET VariableTree=NULL "
              "WHERE NOT (VariableTree IN (SELECT ID FROM VariableTree))"),
    statement("0.35854",
              "UPDATE AssemblageNode SET VariableTree=NULL "
              "WHERE NOT (VariableTree IN (SELECT ID FROM VariableTree))"),
    statement("0.35854",
              "UPDATE ModeleConstruction SET VariableTree=NULL "
              "WHERE NOT (VariableTree IN (SELECT ID FROM VariableTree))"),
    statement("0.35854",
              "ALTER TABLE EmpillageBeam ADD CONSTRAINT fk_Variabletree_empillagebeam "
              "FOREIGN KEY (VariableTree) REFERENCES VariableTree(ID)"),
    statement("0.35854",
              "ALTER TABLE AssemblageNode ADD CONSTRAINT fk_Variabletree_AssemblageNode "
              "FOREIGN KEY (VariableTree) REFERENCES VariableTree(ID)"),
    statement("0.35854",
              "ALTER TABLE ModeleConstruction ADD CONSTRAINT "
              "fk_Variabletree_ModeleConstruction FOREIGN KEY (VariableTree) "
              "REFERENCES VariableTree(ID)"),

    statement("0.35855", "ALTER TABLE Article_Ventilator ADD COLUMN BrutColorRed BYTE"),
    statement("0.35855", "ALTER TABLE Article_Ventilator ADD COLUMN BrutColorGreen BYTE"),
    statement("0.35855", "ALTER TABLE Article_Ventilator ADD COLUMN BrutColorBlue BYTE"),
    statement("0.35855", "ALTER TABLE Article_Ventilator ADD COLUMN ForfaitPrice REAL"),
    statement("0.35855", "ALTER TABLE Article_Ventilator ADD COLUMN LinearPrice REAL"),

    script("0.35856", 16, rewriteActionParameters<16>),
    script("0.35857", 17, rewriteActionParameters<17>),
    script("0.35859", 18, rewriteActionParameters<18>),
    script("0.35860", 19, rewriteActionParameters<19>),

    statement("0.35861", "ALTER TABLE Procedures ADD COLUMN CommentFile VARCHAR(255)"),

    script("0.35862", 20, widenBackfillPicturesOfCreatedDatabases),

    statement("0.35863", "ALTER TABLE Colors_fournisseurs ADD COLUMN Texture VARCHAR(50)"),

    statement("0.35864", "ALTER TABLE Condition ADD COLUMN [Position] BYTE"),
    statement("0.35864", "ALTER TABLE Condition ADD COLUMN ParentCondition LONG"),
    statement("0.35864", "UPDATE Condition SET [Position]=0"),

    script("0.35865", 21, renumberListPositions),

    statement("0.35866", "ALTER TABLE TabBorders ADD COLUMN Comment VARCHAR(255)"),

    statement("0.35867", "CREATE TABLE ParentVariableTree (Ref1 LONG, Ref2 LONG, [Position] BYTE)"),
    statement("0.35867", "CREATE INDEX ID_ParentVariableTree ON ParentVariableTree(Ref1, Ref2)"),
    statement("0.35867",
              "ALTER TABLE ParentVariableTree ADD CONSTRAINT fk_ParentVariableTree_ref1 "
              "FOREIGN KEY (Ref1) REFERENCES VariableTree(ID)"),
    statement("0.35867",
              "ALTER TABLE ParentVariableTree ADD CONSTRAINT fk_ParentVariableTree_ref2 "
              "FOREIGN KEY (Ref2) REFERENCES VariableTree(ID)"),

    statement("0.35868",
              "CREATE TABLE PanelBasePrice (Id AUTOINCREMENT PRIMARY KEY, "
              "ArticleId INTEGER, Width REAL, Height REAL, Price REAL, "
              "OrderRef VARCHAR(50))"),
    statement("0.35868", "ALTER TABLE ARTICLE_REMPLISSAGE ADD COLUMN PricePkgMode LONG"),

    statement("0.35869",
              "CREATE TABLE ProcedureCommandLine (Id AUTOINCREMENT PRIMARY KEY, "
              "CommandLine VARCHAR(255), Owner Long)"),
    statement("0.35869",
              "ALTER TABLE ProcedureCommandLine ADD CONSTRAINT fk_OwnerCL_Procedure "
              "FOREIGN KEY (Owner) REFERENCES Procedures(ID)"),

    statement("0.35870", "ALTER TABLE Provider ADD COLUMN FramePriceProcedure LONG"),
    statement("0.35870", "ALTER TABLE Provider ADD COLUMN GatePriceProcedure LONG"),
    statement("0.35870", "ALTER TABLE Provider ADD COLUMN CurtainWallPriceProcedure LONG"),
    statement("0.35870", "ALTER TABLE Provider ADD COLUMN CompositionPriceProcedure LONG"),
    statement("0.35870", "ALTER TABLE Provider ADD COLUMN ConservatoryPriceProcedure LONG"),
    statement("0.35870", "ALTER TABLE Provider ADD COLUMN ParapetPriceProcedure LONG"),
    statement("0.35870",
              "ALTER TABLE Provider ADD CONSTRAINT fk_FrPrice_Procedure "
              "FOREIGN KEY (FramePriceProcedure) REFERENCES Procedures(ID)"),
    statement("0.35870",
              "ALTER TABLE Provider ADD CONSTRAINT fk_GatePrice_Procedure "
              "FOREIGN KEY (GatePriceProcedure) REFERENCES Procedures(ID)"),
    statement("0.35870",
              "ALTER TABLE Provider ADD CONSTRAINT fk_CurtWalPrice_Procedure "
              "FOREIGN KEY (CurtainWallPriceProcedure) REFERENCES Procedures(ID)"),
    statement("0.35870",
              "ALTER TABLE Provider ADD CONSTRAINT fk_CompoPrice_Procedure "
              "FOREIGN KEY (CompositionPriceProcedure) REFERENCES Procedures(ID)"),
    statement("0.35870",
              "ALTER TABLE Provider ADD CONSTRAINT fk_ConsPrice_Procedure "
              "FOREIGN KEY (ConservatoryPriceProcedure) REFERENCES Procedures(ID)"),
    statement("0.35870",
              "ALTER TABLE Provider ADD CONSTRAINT fk_Parapet_Procedure "
              "FOREIGN KEY (ParapetPriceProcedure) REFERENCES Procedures(ID)"),

    statement("0.35871", "DROP TABLE Couleur"),
    statement("0.35871", "DROP TABLE Couleur1"),
    statement("0.35871", "DROP TABLE Get_Finitions"),
    statement("0.35871", "DROP TABLE Get_Colors"),
    statement("0.35871", "DROP TABLE Get_Color_Gamme"),
    statement("0.35871", "DROP TABLE Get_Colors_Fournisseurs"),
    statement("0.35871", "DROP TABLE Get_Colors_Palette"),
    statement("0.35871", "DROP TABLE Get_Colors_ColorPalette"),
    statement("0.35871", "DROP TABLE Get_LanguageColor"),
    statement("0.35871", "CREATE VIEW Get_Finitions AS SELECT * FROM Finitions"),
    statement("0.35871", "CREATE VIEW Get_Colors AS SELECT * FROM Colors"),
    statement("0.35871", "CREATE VIEW Get_Color_Gamme AS SELECT * FROM Colors_Gamme"),
    statement("0.35871",
              "CREATE VIEW Get_Colors_Fournisseurs AS SELECT * FROM Colors_Fournisseurs"),
    statement("0.35871",
              "CREATE VIEW Get_Colors_ColorPalette AS SELECT * FROM Colors_ColorsPalette"),
    statement("0.35871", "CREATE VIEW Get_Colors_Palette AS SELECT * FROM Colors_Palette"),
    statement("0.35871", kLanguageColors),
    statement("0.35871", "DROP TABLE Colors_ColorsList"),
    statement("0.35871", kColorsOfPalettes),
    statement("0.35871", "DROP TABLE ColorsList"),
    statement("0.35871", kColorList),
    statement("0.35871", "DROP TABLE Colors_Gamme"),
    statement("0.35871", kGammes),
    statement("0.35871", "DROP TABLE Finitions_Colors"),
    statement("0.35871", kFinishColors),
    statement("0.35871", "DROP TABLE Trad_Color"),
    statement("0.35871", kTranslatedColors),
    statement("0.35871", "DROP TABLE Trad_Finition"),
    statement("0.35871", kTranslatedFinishes),
    statement("0.35871", "DROP TABLE Trad_ProviderColor"),
    statement("0.35871", kTranslatedProviderColors),

    statement("0.35877", "DROP TABLE Get_Finitions"),
    statement("0.35877", "CREATE VIEW Get_Finitions AS SELECT * FROM Finitions"),
    statement("0.35877", "DROP TABLE Colors_ColorsList"),
    statement("0.35877", kColorsOfPalettesNamed),
    statement("0.35877", "DROP TABLE ColorsList"),
    statement("0.35877", kColorListWithFinish),
    statement("0.35877", "DROP TABLE Get_Colors_ColorPalette"),
    statement("0.35877",
              "CREATE VIEW Get_Colors_ColorPalette AS SELECT * FROM Colors_ColorsPalette"),

    statement("0.35878", "DROP TABLE Trad_Palette"),
    statement("0.35878", kTranslatedPalettes),

    statement("0.35879", "ALTER TABLE Provider ADD COLUMN ColorProvider VARCHAR(100)"),

    statement("0.35880", "ALTER TABLE Provider ADD COLUMN ReportProc LONG"),
    statement("0.35880",
              "ALTER TABLE Provider ADD CONSTRAINT fk_Provider_ReportProcedure "
              "FOREIGN KEY (ReportProc) REFERENCES Procedures(ID)"),
    statement("0.35880", "ALTER TABLE Provider ADD COLUMN CommandReferenceProc LONG"),
    statement("0.35880",
              "ALTER TABLE Provider ADD CONSTRAINT fk_Provider_CommandRefProcedure "
              "FOREIGN KEY (CommandReferenceProc) REFERENCES Procedures(ID)"),

    statement("0.35881",
              "CREATE TABLE DescriptionTemplate (ID AUTOINCREMENT, "
              "LogicalName VARCHAR(40), TemplateType BYTE, Condition VARCHAR(255), "
              "DescriptionID LONG)"),
    statement("0.35881",
              "ALTER TABLE DescriptionTemplate ADD CONSTRAINT "
              "fk_DescriptionTemplate_Description FOREIGN KEY (DescriptionID) "
              "REFERENCES [Language](ID)"),
    statement("0.35884", "DROP TABLE SerieDescription"),
    statement("0.35884",
              "CREATE TABLE SerieDescription (ID AUTOINCREMENT, LogicalName VARCHAR(40), "
              "DescriptionID LONG, SerieRef LONG)"),
    statement("0.35884",
              "ALTER TABLE SerieDescription ADD CONSTRAINT fk_SerieDescription_Description FOREIGN "
              "KEY (DescriptionID) REFERENCES [Language](ID)"),
    statement("0.35884",
              "ALTER TABLE SerieDescription ADD CONSTRAINT fk_SerieDescription_SerieRef FOREIGN "
              "KEY (SerieRef) REFERENCES Serie(ID)"),
    statement("0.35884", "DROP TABLE ModelDescription"),
    statement("0.35884",
              "CREATE TABLE ModelDescription (ID AUTOINCREMENT, LogicalName VARCHAR(40), "
              "DescriptionID LONG, ModelRef LONG)"),
    statement("0.35884",
              "ALTER TABLE ModelDescription ADD CONSTRAINT fk_ModelDescription_Description FOREIGN "
              "KEY (DescriptionID) REFERENCES [Language](ID)"),
    statement("0.35884",
              "ALTER TABLE ModelDescription ADD CONSTRAINT fk_ModelDescription_ModelRef FOREIGN "
              "KEY (ModelRef) REFERENCES ModeleConstruction(ID)"),
    statement("0.35884", "DROP TABLE ColorDescription"),
    statement("0.35884",
              "CREATE TABLE ColorDescription (ID AUTOINCREMENT, LogicalName VARCHAR(40), "
              "DescriptionID LONG, ColorRef LONG)"),
    statement("0.35884",
              "ALTER TABLE ColorDescription ADD CONSTRAINT fk_ColorDescription_Description FOREIGN "
              "KEY (DescriptionID) REFERENCES [Language](ID)"),
    statement("0.35884",
              "ALTER TABLE ColorDescription ADD CONSTRAINT fk_ColorDescription_ColorRef FOREIGN "
              "KEY (ColorRef) REFERENCES Colors(ID)"),
    statement("0.35884", "DROP TABLE HardwareDescription"),
    statement("0.35884",
              "CREATE TABLE HardwareDescription (ID AUTOINCREMENT, LogicalName VARCHAR(40), "
              "DescriptionID LONG, HardwareRef LONG)"),
    statement("0.35884",
              "ALTER TABLE HardwareDescription ADD CONSTRAINT fk_HardwareDescription_Description "
              "FOREIGN KEY (DescriptionID) REFERENCES [Language](ID)"),
    statement("0.35884",
              "ALTER TABLE HardwareDescription ADD CONSTRAINT fk_HardwareDescription_HardwareRef "
              "FOREIGN KEY (HardwareRef) REFERENCES Serie_Quincaillerie(ID)"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_Group_Group ADD COLUMN DescriptionTemplate LONG"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_Group_Group ADD CONSTRAINT "
              "fk_VariableObjTree_Group_Group_DescTemplate FOREIGN KEY (DescriptionTemplate) "
              "REFERENCES [Language](ID)"),
    statement("0.35884", "ALTER TABLE VariableObjTree_Group_Group ADD COLUMN EventType BYTE"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_Group_Group ADD COLUMN LogicalName VARCHAR(40)"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_Value_Group ADD COLUMN DescriptionTemplate LONG"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_Value_Group ADD CONSTRAINT "
              "fk_VariableObjTree_Value_Group_DescTemplate FOREIGN KEY (DescriptionTemplate) "
              "REFERENCES [Language](ID)"),
    statement("0.35884", "ALTER TABLE VariableObjTree_Value_Group ADD COLUMN EventType BYTE"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_Value_Group ADD COLUMN LogicalName VARCHAR(40)"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_Bool_Group ADD COLUMN DescriptionTemplate LONG"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_Bool_Group ADD CONSTRAINT "
              "fk_VariableObjTree_Bool_Group_DescTemplate FOREIGN KEY (DescriptionTemplate) "
              "REFERENCES [Language](ID)"),
    statement("0.35884", "ALTER TABLE VariableObjTree_Bool_Group ADD COLUMN EventType BYTE"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_Bool_Group ADD COLUMN LogicalName VARCHAR(40)"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_TextList_Group ADD COLUMN DescriptionTemplate LONG"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_TextList_Group ADD CONSTRAINT "
              "fk_VariableObjTree_TextList_Group_DescTemplate FOREIGN KEY (DescriptionTemplate) "
              "REFERENCES [Language](ID)"),
    statement("0.35884", "ALTER TABLE VariableObjTree_TextList_Group ADD COLUMN EventType BYTE"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_TextList_Group ADD COLUMN LogicalName VARCHAR(40)"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_ValueList_Group ADD COLUMN DescriptionTemplate LONG"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_ValueList_Group ADD CONSTRAINT "
              "fk_VariableObjTree_ValueList_Group_DescTemplate FOREIGN KEY (DescriptionTemplate) "
              "REFERENCES [Language](ID)"),
    statement("0.35884", "ALTER TABLE VariableObjTree_ValueList_Group ADD COLUMN EventType BYTE"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_ValueList_Group ADD COLUMN LogicalName VARCHAR(40)"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_ItemList_Group ADD COLUMN DescriptionTemplate LONG"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_ItemList_Group ADD CONSTRAINT "
              "fk_VariableObjTree_ItemList_Group_DescTemplate FOREIGN KEY (DescriptionTemplate) "
              "REFERENCES [Language](ID)"),
    statement("0.35884", "ALTER TABLE VariableObjTree_ItemList_Group ADD COLUMN EventType BYTE"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_ItemList_Group ADD COLUMN LogicalName VARCHAR(40)"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_Line_Group ADD COLUMN DescriptionTemplate LONG"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_Line_Group ADD CONSTRAINT "
              "fk_VariableObjTree_Line_Group_DescTemplate FOREIGN KEY (DescriptionTemplate) "
              "REFERENCES [Language](ID)"),
    statement("0.35884", "ALTER TABLE VariableObjTree_Line_Group ADD COLUMN EventType BYTE"),
    statement("0.35884",
              "ALTER TABLE VariableObjTree_Line_Group ADD COLUMN LogicalName VARCHAR(40)"),
    statement("0.35884", "DROP TABLE All_VariableGroupInformation"),
    statement("0.35884", kVariableGroupsDescribed),

    script("0.35885", 22, rewriteActionParameters<22>),

    statement("0.35886", "ALTER TABLE GroupMachining ADD COLUMN Color VARCHAR(10)"),
    statement("0.35886", "ALTER TABLE GroupMachining ADD COLUMN Description VARCHAR(255)"),

    script("0.35887", 23, rewriteActionParameters<23>),

    statement("0.35888", "ALTER TABLE ModeleConstruction ADD COLUMN VariableMeshTree LONG"),
    statement("0.35888",
              "ALTER TABLE ModeleConstruction ADD CONSTRAINT fk_MeshVariableTree FOREIGN KEY "
              "(VariableMeshTree) REFERENCES VariableTree(ID)"),

    statement("0.35889", "ALTER TABLE Article ADD COLUMN MaterialProcedure LONG"),
    statement("0.35889",
              "ALTER TABLE Article ADD CONSTRAINT fk_MaterialProcedure FOREIGN KEY "
              "(MaterialProcedure) REFERENCES Procedures(ID)"),

    statement("0.35890", "ALTER TABLE Version ADD COLUMN Revision LONG"),
    statement("0.35890", "ALTER TABLE Objet3D ADD COLUMN Revision LONG"),
    statement("0.35890", "ALTER TABLE [section] ADD COLUMN Revision LONG"),
    statement("0.35890", "UPDATE Version SET Revision=0"),
    statement("0.35890", "UPDATE Objet3D SET Revision=0"),
    statement("0.35890", "UPDATE [section] SET Revision=0"),

    statement("0.35891", "ALTER TABLE Article_Profil ADD COLUMN DilatationProcedure LONG"),
    statement("0.35891",
              "ALTER TABLE Article_Profil ADD CONSTRAINT fk_DilatationProcedure FOREIGN KEY "
              "(DilatationProcedure) REFERENCES Procedures(ID)"),

    script("0.35892", 24, createVisibilityExpressions),

    statement("0.35893", "DROP TABLE View_VariableObjTree_ItemList_Item"),
    statement("0.35893", kItemListItemsVisible),
    statement("0.35893", "ALTER TABLE [Language] ADD COLUMN Svenska VARCHAR(255)"),
    statement("0.35893", "ALTER TABLE [Language] ADD COLUMN Norsk VARCHAR(255)"),
    statement("0.35893", "ALTER TABLE [Language] ADD COLUMN Dansk VARCHAR(255)"),
    statement("0.35893", "ALTER TABLE [Language] ADD COLUMN Suomi VARCHAR(255)"),

    script("0.35894", 25, rewriteActionParameters<25>),

    statement("0.35895", "ALTER TABLE Serie_Quincaillerie ADD COLUMN DefaultHGrabRepere BYTE"),

    statement("0.35898", "DROP TABLE Materials"),
    statement("0.35898",
              "CREATE TABLE Materials (Id AUTOINCREMENT PRIMARY KEY, StaticEnable BYTE, "
              "ThermicEnable BYTE, MatID LONG)"),
    statement("0.35898",
              "INSERT INTO Materials (StaticEnable, ThermicEnable, MatID) VALUES (0, 1, 1)"),
    statement("0.35898",
              "INSERT INTO Materials (StaticEnable, ThermicEnable, MatID) VALUES (1, 1, 2)"),
    statement("0.35898",
              "INSERT INTO Materials (StaticEnable, ThermicEnable, MatID) VALUES (1, 1, 3)"),
    statement("0.35898",
              "INSERT INTO Materials (StaticEnable, ThermicEnable, MatID) VALUES (1, 1, 4)"),
    statement("0.35898", "ALTER TABLE Article_Profil ADD COLUMN StaticEnable BYTE"),
    statement("0.35898", "UPDATE Article_Profil SET StaticEnable=1"),

    statement("0.35899", "ALTER TABLE Provider ADD COLUMN ProviderCode BYTE"),
    statement("0.35899", "ALTER TABLE Version ADD COLUMN ExportDate DATE"),
    statement("0.35899", "ALTER TABLE Version ADD COLUMN ExportVersion BYTE"),
    statement("0.35899", "ALTER TABLE Version ADD COLUMN ExportVersionNumber VARCHAR(30)"),

    script("0.35900", 26, rewriteActionParameters<26>),

    statement("0.35901",
              "CREATE TABLE PillingUp_MG_Side (PillingUpID LONG, Side BYTE, GlazingCount BYTE)"),
    statement("0.35901",
              "CREATE UNIQUE INDEX PillingUp_MG_Side ON PillingUp_MG_Side(PillingUpID, Side) WITH "
              "PRIMARY"),
    statement("0.35901", "ALTER TABLE EmpillageBeam ADD COLUMN MultiGlazing_Picture VARCHAR(255)"),

    statement("0.35904", "ALTER TABLE Article_Profil ADD COLUMN MultiGlazingProcedure LONG"),

    statement("0.35907",
              "CREATE TABLE AutomatedViews (ID AUTOINCREMENT, ViewType LONG, ViewTypeInfo LONG, "
              "PlaneType LONG, Name VARCHAR(50), Lng_ID LONG, ConstructionType LONG, "
              "CotationProcedure LONG, Compact BYTE)"),
    statement("0.35907",
              "CREATE UNIQUE INDEX pk_AutomatedViews ON AutomatedViews(ID) WITH PRIMARY"),
    statement("0.35907", "ALTER TABLE AssemblageNode ADD COLUMN CotationProcedure LONG"),
    statement("0.35907", "ALTER TABLE EmpillageBeam ADD COLUMN CotationProcedure LONG"),
    statement("0.35907",
              "ALTER TABLE AssemblageNode ADD CONSTRAINT fk_AssNodeCotProc_Proc FOREIGN KEY "
              "(CotationProcedure) REFERENCES Procedures(ID)"),
    statement("0.35907",
              "ALTER TABLE EmpillageBeam ADD CONSTRAINT fk_EmpBNodeCotProc_Proc FOREIGN KEY "
              "(CotationProcedure) REFERENCES Procedures(ID)"),
    statement("0.35907",
              "ALTER TABLE AutomatedViews ADD CONSTRAINT fk_AutoVBNodeCotProc_Proc FOREIGN KEY "
              "(CotationProcedure) REFERENCES Procedures(ID)"),

    statement("0.35908",
              "CREATE TABLE BackfillComposition (ID AUTOINCREMENT, pvName VARCHAR(50), NAME "
              "VARCHAR(50), Filling_ID LONG, LAYER BYTE)"),
    statement("0.35908",
              "CREATE UNIQUE INDEX pk_BackfillComposition ON BackfillComposition(ID) WITH PRIMARY"),
    statement("0.35908",
              "ALTER TABLE BackfillComposition ADD CONSTRAINT fk_BackfillCOmposition_Filling "
              "FOREIGN KEY (Filling_ID) REFERENCES Article(ID)"),

    statement("0.35911", "DROP TABLE ProfilBackfill"),
    statement("0.35911",
              "CREATE TABLE ProfilBackfill (ID AUTOINCREMENT, Name VARCHAR(50), VariableTree LONG, "
              "RefGroup LONG, ProcID LONG, [Position] BYTE)"),
    statement("0.35911", "DROP TABLE GroupProfilBackfill"),
    statement("0.35911",
              "CREATE TABLE GroupProfilBackfill (ID AUTOINCREMENT, Name VARCHAR(50), RefGroup "
              "LONG, Color VARCHAR(50), Description VARCHAR(50), [Position] BYTE)"),
    statement("0.35911", "ALTER TABLE Provider ADD COLUMN DefaultProfilBackfillGroupID LONG"),
    statement("0.35911",
              "CREATE UNIQUE INDEX pk_ProfilBackfill ON ProfilBackfill(ID) WITH PRIMARY"),
    statement("0.35911",
              "CREATE UNIQUE INDEX pk_GroupProfilBackfill ON GroupProfilBackfill(ID) WITH PRIMARY"),
    statement("0.35911",
              "ALTER TABLE ProfilBackfill ADD CONSTRAINT fk_ProfilBackfill_Variable FOREIGN KEY "
              "(VariableTree) REFERENCES VariableTree(ID)"),
    statement("0.35911",
              "ALTER TABLE ProfilBackfill ADD CONSTRAINT fk_BackfillCOmposition_RefGroup FOREIGN "
              "KEY (RefGroup) REFERENCES GroupProfilBackfill(ID)"),
    statement("0.35911",
              "ALTER TABLE ProfilBackfill ADD CONSTRAINT fk_BackfillCOmposition_ProcId FOREIGN KEY "
              "(ProcID) REFERENCES Procedures(ID)"),
    statement("0.35911",
              "ALTER TABLE GroupProfilBackfill ADD CONSTRAINT fk_GroupBackfillCOmposition_RefGroup "
              "FOREIGN KEY (RefGroup) REFERENCES GroupProfilBackfill(ID)"),

    statement("0.35912",
              "ALTER TABLE Condition_Quincaillerie DROP CONSTRAINT LngRef_Condition_Quincaillerie"),
    statement("0.35912",
              "ALTER TABLE Condition_Quincaillerie ADD CONSTRAINT SerieRef_Condition_Quincaillerie "
              "FOREIGN KEY (Ref) REFERENCES Serie_Quincaillerie(ID)"),
    statement("0.35912", "ALTER TABLE Msg_Text DROP CONSTRAINT ID_Msg_text"),
    statement("0.35912", "ALTER TABLE Msg_Text ADD COLUMN ID AUTOINCREMENT"),
    statement("0.35912", "CREATE UNIQUE INDEX pk_msgText ON Msg_Text(ID) WITH PRIMARY"),
    statement(
        "0.35912",
        "CREATE TABLE Msg_Text_Expression (Ref LONG, Expression VARCHAR(255), [Position] BYTE)"),
    statement("0.35912",
              "CREATE UNIQUE INDEX pk_Msg_Text_Expression ON Msg_Text_Expression(Ref, [Position]) "
              "WITH PRIMARY"),
    statement("0.35912",
              "ALTER TABLE Msg_Text_Expression ADD CONSTRAINT fk_Msg_Text_Expression FOREIGN KEY "
              "(Ref) REFERENCES Msg_Text(ID)"),

    statement("0.35913", "ALTER TABLE Article_Remplissage ADD COLUMN TextureMode BYTE"),
    statement("0.35913", "UPDATE Article_Remplissage SET TextureMode=0"),
    statement("0.35913", "ALTER TABLE Article_Remplissage ADD COLUMN Ug REAL"),
    statement("0.35913", "ALTER TABLE Article_Remplissage ADD COLUMN Psi REAL"),

    statement("0.35917", "DROP TABLE Get_ALL_FIXE_ConstructionModel"),
    statement("0.35917", kFixedConstructionModels),

    statement("0.35918", "DROP TABLE View_VariableObjTree_ItemList_Item"),
    statement("0.35918", kItemListItemsOwnPicture),

    script("0.35919", 27, rewriteActionParameters<27>),
    script("0.35920", 28, rewriteActionParameters<28>),
    script("0.35922", 29, rewriteActionParameters<29>),
    script("0.35923", 30, rewriteActionParameters<30>),

    statement("0.35924", "ALTER TABLE Article_Ventilator ADD COLUMN Existence VARCHAR(255)"),

    statement("0.35925",
              "ALTER TABLE Article_Ventilator ALTER COLUMN DeductionVitrage VARCHAR(255)"),
    statement("0.35925", "UPDATE Article_Ventilator SET Existence='Thickness='&Thickness"),

    script("0.35926", 31, rewriteActionParameters<31>),

    statement("0.35927", "CREATE TABLE PresentationArticleGroup (ID AUTOINCREMENT, LngID LONG)"),
    statement("0.35927",
              "CREATE TABLE Article_PresentationArticleGroup (ArticleID LONG, GroupID LONG)"),
    statement("0.35927",
              "CREATE TABLE Group_PresentationArticleGroup (GroupID1 LONG, GroupID2 LONG)"),
    statement("0.35927",
              "CREATE UNIQUE INDEX pk_PresentationArticleGroup ON PresentationArticleGroup(ID) "
              "WITH PRIMARY"),
    statement("0.35927",
              "CREATE UNIQUE INDEX pk_Article_PresentationArticleGroup ON "
              "Article_PresentationArticleGroup(ArticleID, GroupID) WITH PRIMARY"),
    statement("0.35927",
              "CREATE UNIQUE INDEX pk_Group_PresentationArticleGroup ON "
              "Group_PresentationArticleGroup(GroupID1, GroupID2) WITH PRIMARY"),
    statement("0.35927",
              "ALTER TABLE PresentationArticleGroup ADD CONSTRAINT fk_Pag_Text FOREIGN KEY (LngID) "
              "REFERENCES [Language](ID)"),
    statement("0.35927",
              "ALTER TABLE Article_PresentationArticleGroup ADD CONSTRAINT fk_aPag_Article FOREIGN "
              "KEY (ArticleID) REFERENCES Article(ID)"),
    statement("0.35927",
              "ALTER TABLE Article_PresentationArticleGroup ADD CONSTRAINT fk_aPag_Group FOREIGN "
              "KEY (GroupID) REFERENCES PresentationArticleGroup(ID)"),
    statement("0.35927",
              "ALTER TABLE Group_PresentationArticleGroup ADD CONSTRAINT fk_aPag_Group1 FOREIGN "
              "KEY (GroupID1) REFERENCES PresentationArticleGroup(ID)"),
    statement("0.35927",
              "ALTER TABLE Group_PresentationArticleGroup ADD CONSTRAINT fk_aPag_Group2 FOREIGN "
              "KEY (GroupID2) REFERENCES PresentationArticleGroup(ID)"),

    statement("0.35928", "ALTER TABLE Article_Ventilator ALTER COLUMN SupRetract VARCHAR(255)"),
    statement("0.35928", "ALTER TABLE Article_Ventilator ALTER COLUMN SubRetract VARCHAR(255)"),

    script("0.35929", 32, rewriteActionParameters<32>),

    statement("0.35930", "ALTER TABLE Article ADD COLUMN ViewProperty BYTE"),

    script("0.35931", 32, rewriteActionParameters<32>),

    statement("0.35932", "DROP TABLE ArticleDescription"),
    statement("0.35932", kArticleTexts),

    script("0.35933", 32, rewriteActionParameters<32>),

    script("0.35934", 33, rewriteActionParameters<33>),

    statement("0.35935", "DROP TABLE ArticleDescription"),
    statement("0.35935", kArticleTextsWithPictures),

    statement("0.35936", "ALTER TABLE [Language] ADD COLUMN Español VARCHAR(255)"),

    statement("0.35937",
              "ALTER TABLE ModeleConstruction_Children ADD COLUMN Condition_Mcc VARCHAR(255)"),
    statement("0.35937",
              "ALTER TABLE ModeleConstruction_Element ADD COLUMN Condition_Mce VARCHAR(255)"),
    statement("0.35937", "DROP TABLE OpeningOnModel"),
    statement("0.35937", kOpeningsOnModels),

    statement(
        "0.35938",
        "CREATE TABLE LanguageExpression (ID AUTOINCREMENT, LngID LONG, Expression VARCHAR(255))"),
    statement("0.35938", "CREATE UNIQUE INDEX pk_LanguageExpression ON LanguageExpression(ID)"),
    statement("0.35938",
              "ALTER TABLE LanguageExpression ADD CONSTRAINT fk_LngExp_LngID FOREIGN KEY (LngID) "
              "REFERENCES [Language](ID)"),

    statement(
        "0.35939",
        "CREATE TABLE PriceTemp (ID AUTOINCREMENT, EnergeticCoef REAL, FillingView VARCHAR(5), "
        "AeratorByM REAL, AeratorForfait REAL, CrossingCellPrice REAL, CrossingCrossPrice REAL, "
        "CrossingTprice REAL, CrossingbyMPrice REAL, GlazingDiscount REAL, GlazingMargin REAL, "
        "GlazingTariffInc REAL, PanelDiscount REAL, PanelMargin REAL, PanelTariffInc REAL, "
        "AlveolarDiscount REAL, AlveolarMargin REAL, AlveolarTariffInc REAL)"),
    statement("0.35939",
              "INSERT INTO PriceTemp (EnergeticCoef, FillingView, AeratorByM, AeratorForfait, "
              "CrossingCellPrice, CrossingCrossPrice, CrossingTprice, CrossingbyMPrice, "
              "GlazingDiscount, GlazingMargin, GlazingTariffInc, PanelDiscount, PanelMargin, "
              "PanelTariffInc, AlveolarDiscount, AlveolarMargin, AlveolarTariffInc) VALUES (1, "
              "'ALL', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)"),
    statement("0.35939",
              "CREATE TABLE SandingModels (ID AUTOINCREMENT, File VARCHAR(255), Price REAL)"),
    statement("0.35939",
              "CREATE TABLE CrossingModels (ID AUTOINCREMENT, File VARCHAR(255), Price REAL)"),

    statement("0.35940", "ALTER TABLE Article_Ventilator ALTER COLUMN SupRetract VARCHAR(255)"),
    statement("0.35940", "ALTER TABLE Article_Ventilator ALTER COLUMN SubRetract VARCHAR(255)"),

    script("0.35941", 34, rewriteActionParameters<34>),

    statement("0.35942", "ALTER TABLE ProfilBackfill ADD COLUMN Preview VARCHAR(255)"),
    statement("0.35942", "ALTER TABLE ProfilBackfill ADD COLUMN Desc_ID LONG"),
    statement("0.35942", "ALTER TABLE ProfilBackfill ADD COLUMN Description VARCHAR(255)"),
    statement("0.35942", "ALTER TABLE ProfilBackfill ADD COLUMN TranslateName LONG"),
    statement("0.35942",
              "ALTER TABLE ProfilBackfill ADD CONSTRAINT fk_ProfilBackfill_DescID FOREIGN KEY "
              "(Desc_ID) REFERENCES [Language](ID)"),
    statement("0.35942",
              "ALTER TABLE ProfilBackfill ADD CONSTRAINT fk_ProfilBackfill_TranslateName FOREIGN "
              "KEY (TranslateName) REFERENCES [Language](ID)"),

    statement("0.35943", "ALTER TABLE ProfilBackfill ALTER COLUMN Description LONG"),

    statement("0.35944",
              "UPDATE PriceTemp SET GlazingMargin=1.0, GlazingTariffInc=1.0, PanelMargin=1.0, "
              "PanelTariffInc=1.0, AlveolarMargin=1.0, AlveolarTariffInc=1.0 WHERE Id=1"),

    statement("0.35945", "ALTER TABLE Article ADD COLUMN VisibilityGroup LONG"),
    statement("0.35945",
              "ALTER TABLE Article ADD CONSTRAINT fk_Article_VisibilityGroup FOREIGN KEY "
              "(VisibilityGroup) REFERENCES AbstractGroup(ID)"),

    statement(
        "0.35946",
        "UPDATE Procedures SET Ref=37 WHERE ID IN (SELECT AfterProcedure FROM ModeleConstruction)"),

    script("0.35947", 35, moveAfterProcedures),

    statement("0.35948",
              "CREATE TABLE PillingUpThermic (ID AUTOINCREMENT PRIMARY KEY, Code VARCHAR(255), "
              "Surface REAL, U Real)"),

    statement("0.35949", "ALTER TABLE Article ADD COLUMN ExportInformationProc LONG"),

    statement("0.35950", "ALTER TABLE Article DROP COLUMN Surface"),
    statement("0.35950", "ALTER TABLE Article ADD COLUMN PerimeterInt LONG"),
    statement("0.35950", "ALTER TABLE Article ADD COLUMN PerimeterExt LONG"),

    statement("0.35951", "ALTER TABLE PresentationArticleGroup ADD COLUMN Picture VARCHAR(255)"),

    statement("0.35952", "ALTER TABLE GlazingPrice ADD COLUMN OrderRef VARCHAR(50)"),
    statement("0.35952", "UPDATE GlazingPrice SET OrderRef=''"),

    script("0.35954", 36, fillGlazingOrderReferences),

    statement("0.35958", "DROP TABLE Get_Construction_By_Parent"),
    statement("0.35958", kConstructionsByParent),

    statement("0.35959", "ALTER TABLE ModeleConstruction ADD COLUMN ExportProcID LONG"),
    statement("0.35959",
              "ALTER TABLE ModeleConstruction ADD CONSTRAINT fk_ExportProcID FOREIGN KEY "
              "(ExportProcID) REFERENCES Procedures(ID)"),

    statement("0.35960", "ALTER TABLE ProfilBackfill ADD COLUMN Visibility VARCHAR (255)"),
    statement("0.35960", "ALTER TABLE ProfilBackfill ADD COLUMN ParamValue REAL"),
    script("0.35960", 37, rewriteActionParameters<37>),

    statement("0.35961",
              "CREATE TABLE PositionMachine (ID AUTOINCREMENT PRIMARY KEY, ArticleID LONG, Mirror "
              "BYTE, RZ Real)"),

    script("0.35963", 38, rewriteActionParameters<38>),

    statement("0.35964", "ALTER TABLE Machining ADD COLUMN Description VARCHAR (255)"),

    statement(
        "0.35967",
        "CREATE TABLE TitleTree (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), ParentId LONG)"),
    statement("0.35967",
              "CREATE TABLE TitleTree_Column (ID AUTOINCREMENT PRIMARY KEY, TitleId LONG, LabelId "
              "LONG, Ratio REAL)"),
    statement("0.35967",
              "CREATE TABLE TreeView_Element (ID AUTOINCREMENT PRIMARY KEY, TitleTreeId LONG, "
              "DbSource BYTE)"),
    statement("0.35967",
              "CREATE TABLE TreeView_ColumnVar (ElementId LONG, ColumnId LONG, VariableName "
              "VARCHAR(50))"),
    statement("0.35967",
              "CREATE TABLE TreeView_DescriptionVar (TitleVarId LONG, LigneId LONG, TextLngId "
              "LONG, VariableName VARCHAR(50))"),
    statement(
        "0.35967",
        "CREATE TABLE Article_FreeArticle (ID LONG PRIMARY KEY, Price REAL, Unit VARCHAR(10))"),
    statement("0.35967",
              "CREATE TABLE IVarTree (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), VariableTree "
              "LONG)"),
    statement("0.35967",
              "CREATE TABLE PresentationIVarTreeGroup (ID AUTOINCREMENT PRIMARY KEY, LngID LONG, "
              "Picture VARCHAR(255))"),
    statement("0.35967",
              "CREATE TABLE Group_PresentationIVarTreeGroup (GroupID1 LONG, GroupID2 LONG)"),
    statement("0.35967",
              "CREATE TABLE IVarTree_PresentationIVarTreeGroup (IVarTreeID LONG, GroupID LONG)"),
    statement("0.35967",
              "CREATE TABLE VariableObjTree_Color (ID AUTOINCREMENT PRIMARY KEY, CurrentVal LONG, "
              "Visible VARCHAR(255), Picture VARCHAR(255), Name LONG, Description LONG)"),
    statement(
        "0.35967",
        "CREATE TABLE VariableObjTree_Color_Group (Ref1 LONG, Ref2 LONG, Ref3 LONG, [Position] "
        "SHORT, DescriptionTemplate LONG, EventType BYTE, LogicalName VARCHAR(40))"),
    statement("0.35967",
              "CREATE TABLE VariableObjTree_Monetary (ID AUTOINCREMENT PRIMARY KEY, CurrentVal "
              "LONG, Visible VARCHAR(255), Picture VARCHAR(255), Name LONG, Description LONG)"),
    statement(
        "0.35967",
        "CREATE TABLE VariableObjTree_Monetary_Group (Ref1 LONG, Ref2 LONG, Ref3 LONG, [Position] "
        "SHORT, DescriptionTemplate LONG, EventType BYTE, LogicalName VARCHAR(40))"),
    statement("0.35967", kFreeArticlesFirst),

    statement("0.35969", "ALTER TABLE VariableObjTree_Group ADD COLUMN HeritedParentId LONG"),
    statement("0.35969", "ALTER TABLE ParentVariableTree ADD COLUMN [Use] LONG"),
    statement("0.35969", "UPDATE ParentVariableTree SET [Use]=0"),

    statement("0.35970", "ALTER TABLE Article_ProcedureNodes ADD COLUMN VariableList VARCHAR (50)"),
    statement("0.35970", "UPDATE Article_ProcedureNodes SET VariableList=''"),

    statement("0.35971", "ALTER TABLE Provider ADD COLUMN DefaultMaterialsRenderingHeader LONG"),

    statement("0.35972", "ALTER TABLE TreeView_DescriptionVar ADD COLUMN Visibility Long"),

    statement("0.35973", "ALTER TABLE TreeView_Element ADD COLUMN ReferenceDocument VARCHAR (50)"),

    script("0.36001", 40, renameLanguageActionAndSection),
    statement("0.36001", "DROP TABLE PresentationTabParamArrayGroup"),
    statement("0.36001",
              "CREATE TABLE PresentationTabParamArrayGroup (ID AUTOINCREMENT, LngID LONG, Picture "
              "VARCHAR(255))"),
    statement("0.36001", "DROP TABLE TabParamArray_PresentationTabParamArrayGroup"),
    statement("0.36001",
              "CREATE TABLE TabParamArray_PresentationTabParamArrayGroup (TabParamArrayID LONG, "
              "GroupID LONG)"),
    statement("0.36001", "DROP TABLE Group_PresentationTabParamArrayGroup"),
    statement("0.36001",
              "CREATE TABLE Group_PresentationTabParamArrayGroup (GroupID1 LONG, GroupID2 LONG)"),
    statement("0.36001", "DROP TABLE ArticleDescription"),
    statement("0.36001", kArticleTextsZv),
    statement("0.36001", "DROP TABLE DiscountByArticleType"),
    statement("0.36001", kDiscountsByArticleType),
    statement("0.36001", "DROP TABLE DiscountByProvider"),
    statement("0.36001", kDiscountsByProvider),
    statement("0.36001", "DROP TABLE Get_LanguageColor"),
    statement("0.36001", kLanguageColorsZv),
    statement("0.36001", "DROP TABLE QLanguage"),
    statement("0.36001", kLanguages),
    statement("0.36001", "DROP TABLE Trad_Discount"),
    statement("0.36001", kTranslatedDiscounts),
    statement("0.36001", "DROP TABLE View_ShareVariables"),
    statement("0.36001", kShareVariablesZv),
    statement("0.36001", "ALTER TABLE ZV_Language ADD COLUMN [Русский] VARCHAR(255)"),
    script("0.36001", 40, movePositionColumns),
    statement("0.36001", "ALTER TABLE ZV_Section ADD COLUMN ZV_Section VARCHAR(255)"),
    statement("0.36001", "UPDATE ZV_Section SET ZV_Section=[Section]"),
    statement("0.36001", "ALTER TABLE ZV_Section DROP COLUMN [Section]"),

    statement("0.36003", "ALTER TABLE ZV_Language ADD COLUMN [Русский] VARCHAR(255)"),

    statement("0.36006", "DROP TABLE All_VariableGroupInformation"),
    statement("0.36006", kVariableGroupsZvPosition),

    // Script 41: fixed statements.
    statement("0.36007", "ALTER TABLE [Article] ADD COLUMN zvPosition LONG"),
    statement("0.36007", "UPDATE [Article] SET zvPosition=[Position]"),
    statement("0.36007", "ALTER TABLE [Article] DROP COLUMN [Position]"),

    statement("0.36010", "DROP TABLE Get_ArticleFillings"),
    statement("0.36010", kFillingArticles),
    statement("0.36010", "DROP TABLE Get_ArticleProfils"),
    statement("0.36010", kProfileArticles),
    statement("0.36010", "DROP TABLE Get_ArticleSurfacique"),
    statement("0.36010", kSurfaceArticles),
    statement("0.36010", "DROP TABLE Get_ArticleVentilators"),
    statement("0.36010", kVentilatorArticles),

    statement("0.36011", "DROP VIEW view_VariableObjTree_ItemList_Item"),
    statement("0.36011", "DROP VIEW Get_ItemPicture"),
    statement("0.36011", kItemPictures),
    statement("0.36011", kItemListItemsOverItemPictures),

    statement("0.36020",
              "CREATE TABLE ZV_ThermicProfil (ID AUTOINCREMENT PRIMARY KEY, zvThermicID LONG, zvMV "
              "BYTE, zvMH BYTE, zvInvertView BYTE, zvArticleID LONG, zvSectionID LONG, "
              "zvTypeObject VARCHAR(1), zvDX REAL, zvDY REAL)"),
    statement("0.36020",
              "CREATE TABLE ZV_ThermicGlazing (ID AUTOINCREMENT PRIMARY KEY, zvThermicID LONG, "
              "zvInvertView BYTE, zvDX REAL, zvDY REAL, zvR REAL, zvH REAL, zvW REAL)"),
    statement("0.36020", "ALTER TABLE PillingUpThermic DROP COLUMN Code"),
    statement("0.36020", "ALTER TABLE PillingUpThermic ADD COLUMN zvIDCode VARCHAR(255)"),
    statement("0.36020", "ALTER TABLE ZV_ThermicProfil ADD COLUMN zvRZ REAL"),

    script("0.36021", 42, renameMachiningExternal),

    statement("0.36024", "ALTER TABLE Article ALTER COLUMN Name VARCHAR(255)"),
    statement("0.36024", "ALTER TABLE Article ALTER COLUMN Reference VARCHAR(255)"),

    script("0.36027", 43, rewriteActionParameters<43>),

    script("0.36030", 44, renameBorderLimits),

    // Script 45: fixed statements.
    statement("0.36031",
              "ALTER TABLE VariableObjTree_Bool_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement("0.36031",
              "UPDATE VariableObjTree_Bool_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("0.36031",
              "UPDATE VariableObjTree_Bool_Group SET DescExpression='TRUE' WHERE EventType=1 OR "
              "EventType=2"),
    statement("0.36031",
              "ALTER TABLE VariableObjTree_Group_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement("0.36031",
              "UPDATE VariableObjTree_Group_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("0.36031",
              "UPDATE VariableObjTree_Group_Group SET DescExpression='TRUE' WHERE EventType=1 OR "
              "EventType=2"),
    statement("0.36031",
              "ALTER TABLE VariableObjTree_ItemList_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement("0.36031",
              "UPDATE VariableObjTree_ItemList_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("0.36031",
              "UPDATE VariableObjTree_ItemList_Group SET DescExpression='TRUE' WHERE EventType=1 "
              "OR EventType=2"),
    statement("0.36031",
              "ALTER TABLE VariableObjTree_Line_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement("0.36031",
              "UPDATE VariableObjTree_Line_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("0.36031",
              "UPDATE VariableObjTree_Line_Group SET DescExpression='TRUE' WHERE EventType=1 OR "
              "EventType=2"),
    statement("0.36031",
              "ALTER TABLE VariableObjTree_TextList_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement("0.36031",
              "UPDATE VariableObjTree_TextList_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("0.36031",
              "UPDATE VariableObjTree_TextList_Group SET DescExpression='TRUE' WHERE EventType=1 "
              "OR EventType=2"),
    statement("0.36031",
              "ALTER TABLE VariableObjTree_Value_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement("0.36031",
              "UPDATE VariableObjTree_Value_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("0.36031",
              "UPDATE VariableObjTree_Value_Group SET DescExpression='TRUE' WHERE EventType=1 OR "
              "EventType=2"),
    statement("0.36031",
              "ALTER TABLE VariableObjTree_ValueList_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement(
        "0.36031",
        "UPDATE VariableObjTree_ValueList_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("0.36031",
              "UPDATE VariableObjTree_ValueList_Group SET DescExpression='TRUE' WHERE EventType=1 "
              "OR EventType=2"),
    statement(
        "0.36031",
        "ALTER TABLE VariableObjTree_ItemList_Item_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement(
        "0.36031",
        "UPDATE VariableObjTree_ItemList_Item_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("0.36031",
              "UPDATE VariableObjTree_ItemList_Item_Group SET DescExpression='TRUE' WHERE "
              "EventType=1 OR EventType=2"),
    statement(
        "0.36031",
        "ALTER TABLE VariableObjTree_TextList_Text_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement(
        "0.36031",
        "UPDATE VariableObjTree_TextList_Text_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("0.36031",
              "UPDATE VariableObjTree_TextList_Text_Group SET DescExpression='TRUE' WHERE "
              "EventType=1 OR EventType=2"),
    statement(
        "0.36031",
        "ALTER TABLE VariableObjTree_ValueList_Value_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement("0.36031",
              "UPDATE VariableObjTree_ValueList_Value_Group SET DescExpression='FALSE' WHERE "
              "EventType=0"),
    statement("0.36031",
              "UPDATE VariableObjTree_ValueList_Value_Group SET DescExpression='TRUE' WHERE "
              "EventType=1 OR EventType=2"),

    statement("0.36033", "DROP TABLE All_VariableGroupInformation"),
    statement("0.36033", kVariableGroupsWithExpressions),

    // The old borders wait in TmpTabBorders for the next step, which moves them.
    statement("0.36034", "SELECT * INTO TmpTabBorders FROM TabBorders"),
    statement("0.36034", "DROP TABLE TabBorders"),
    statement("0.36034",
              "CREATE TABLE TabBorders (ID AUTOINCREMENT PRIMARY KEY, Ref LONG, RefType LONG, "
              "Zv_Position LONG, Orientation LONG, Comment VARCHAR(50))"),
    statement("0.36034",
              "CREATE TABLE TabBorderUniqueValue (ID AUTOINCREMENT PRIMARY KEY, UniqueValue "
              "VARCHAR(50))"),
    statement("0.36034",
              "CREATE TABLE TabBorderPairValue (ID AUTOINCREMENT PRIMARY KEY, zvMin VARCHAR(50), "
              "zvMax VARCHAR(50), MinIncluded SHORT, MaxIncluded SHORT)"),
    statement("0.36034", "ALTER TABLE TabParamArray ADD COLUMN BordersType SHORT"),
    statement("0.36034", "UPDATE TabParamArray SET BordersType=0"),
    statement("0.36034",
              "UPDATE TabParamArray SET BordersType=2 WHERE ID IN (SELECT Ref FROM TmpTabBorders)"),

    script("0.36035", 46, moveBorders),

    statement("0.36036", "ALTER TABLE Article_FreeArticle ADD COLUMN PriceProcedureId LONG"),
    statement("0.36036", "ALTER TABLE Provider ADD COLUMN DefaultTreeTitle VARCHAR(50)"),
    statement("0.36036", "DROP TABLE Get_ArticleFreeArticle"),
    statement("0.36036", kFreeArticles),

    script("0.36038", 47, addUnitaryPackaging),

    // Script 48: fixed statements.
    statement("0.36039",
              "ALTER TABLE VariableObjTree_Color_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement("0.36039",
              "UPDATE VariableObjTree_Color_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("0.36039",
              "UPDATE VariableObjTree_Color_Group SET DescExpression='TRUE' WHERE EventType=1 OR "
              "EventType=2"),
    statement("0.36039",
              "ALTER TABLE VariableObjTree_Monetary_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement("0.36039",
              "UPDATE VariableObjTree_Monetary_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("0.36039",
              "UPDATE VariableObjTree_Monetary_Group SET DescExpression='TRUE' WHERE EventType=1 "
              "OR EventType=2"),
    statement("0.36039",
              "ALTER TABLE VariableObjTree_Physical_Group ADD COLUMN DescExpression VARCHAR(255)"),
    statement("0.36039",
              "UPDATE VariableObjTree_Physical_Group SET DescExpression='FALSE' WHERE EventType=0"),
    statement("0.36039",
              "UPDATE VariableObjTree_Physical_Group SET DescExpression='TRUE' WHERE EventType=1 "
              "OR EventType=2"),

    statement("0.36040", "DROP TABLE All_VariableGroupInformation"),
    statement("0.36040", kVariableGroupsOfTen),

    statement("0.36041", "DROP TABLE TitleTree_Column"),
    statement("0.36041", "DROP TABLE TreeView_ColumnVar"),
    statement("0.36041",
              "CREATE TABLE TitleTree_TitleEntities (TitleId LONG, ModeId LONG, EntityId LONG)"),
    statement("0.36041",
              "CREATE TABLE TitleTree_Entity (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), "
              "Ratio REAL)"),
    statement("0.36041",
              "CREATE TABLE TitleTree_EntityColumns (EntityId LONG, ColumnId LONG, Zv_Order LONG)"),
    statement(
        "0.36041",
        "CREATE TABLE TitleTree_Column (ID AUTOINCREMENT PRIMARY KEY, LabelId LONG, Ratio REAL)"),
    statement("0.36041",
              "CREATE TABLE TreeView_ElementMode (ID AUTOINCREMENT PRIMARY KEY, TitleVarId LONG, "
              "ModeId LONG)"),
    statement("0.36041",
              "CREATE TABLE TreeView_EntityColumns (ID AUTOINCREMENT PRIMARY KEY, EModeId LONG, "
              "EntityName VARCHAR(50))"),
    statement("0.36041",
              "CREATE TABLE TreeView_ColumnVar (EModeEntityId LONG, ColumnId LONG, VariableName "
              "VARCHAR(50), NodeType LONG)"),

    statement("0.36043", "DROP TABLE Get_Construction_By_Parent"),
    statement("0.36043", kConstructionsByParentExported),

    script("0.36044", 49, rewriteActionParameters<49>),

    statement("0.36047", "ALTER TABLE Article ADD COLUMN zvExportGroup LONG"),
    statement("0.36047",
              "ALTER TABLE Article ADD CONSTRAINT fk_ArtExpGroup_Abstract FOREIGN KEY "
              "(zvExportGroup) REFERENCES AbstractGroup(ID)"),

    statement("0.36048", "DROP TABLE Get_ArticleFillings"),
    statement("0.36048", kFillingArticles),
    statement("0.36048", "DROP TABLE Get_ArticleProfils"),
    statement("0.36048", kProfileArticles),
    statement("0.36048", "DROP TABLE Get_ArticleSurfacique"),
    statement("0.36048", kSurfaceArticles),
    statement("0.36048", "DROP TABLE Get_ArticleVentilators"),
    statement("0.36048", kVentilatorArticles),

    statement("0.36049", "ALTER TABLE COmplementBackfill ALTER COLUMN RealEpaisseur LONG"),

    statement("0.36050",
              "CREATE TABLE ZV_VersionCode (zvID AUTOINCREMENT PRIMARY KEY, zvCode VARCHAR(20))"),

    statement("0.36051", "DROP TABLE TitleTree"),
    statement("0.36051", "DROP TABLE TitleTree_Column"),
    statement("0.36051", "DROP TABLE TreeView_Element"),
    statement("0.36051", "DROP TABLE TreeView_ColumnVar"),
    statement("0.36051", "DROP TABLE TreeView_DescriptionVar"),
    statement("0.36051", "DROP TABLE TitleTree_TitleEntities"),
    statement("0.36051", "DROP TABLE TitleTree_Entity"),
    statement("0.36051", "DROP TABLE TitleTree_EntityColumns"),
    statement("0.36051", "DROP TABLE TreeView_ElementMode"),
    statement("0.36051", "DROP TABLE TreeView_EntityColumns"),
    statement("0.36051", "DROP TABLE Get_ArticleFreeArticle"),
    statement(
        "0.36051",
        "CREATE TABLE TreeHeader (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), ParentId LONG)"),
    statement("0.36051",
              "CREATE TABLE TreeHeader_HeaderModes (HeaderId LONG, ModeId LONG, Zv_Align LONG)"),
    statement("0.36051",
              "CREATE TABLE TreeHeader_HeaderEntities (HeaderId LONG, ModeId LONG, EntityId LONG, "
              "Zv_Order LONG)"),
    statement("0.36051",
              "CREATE TABLE TreeHeader_Entity (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), "
              "Ratio REAL, Zv_Align LONG)"),
    statement(
        "0.36051",
        "CREATE TABLE TreeHeader_EntityColumns (EntityId LONG, ColumnId LONG, Zv_Order LONG)"),
    statement(
        "0.36051",
        "CREATE TABLE TreeHeader_Column (ID AUTOINCREMENT PRIMARY KEY, LabelId LONG, Ratio REAL)"),
    statement("0.36051",
              "CREATE TABLE TreeView_ElementMode (ID AUTOINCREMENT PRIMARY KEY, HeaderVarId LONG, "
              "ModeId LONG)"),
    statement("0.36051",
              "CREATE TABLE TreeView_EntityColumns (ID AUTOINCREMENT PRIMARY KEY, EModeId LONG, "
              "EntityName VARCHAR(50))"),
    statement("0.36051",
              "CREATE TABLE TreeView_ColumnVar (EModeEntityId LONG, ColumnId LONG, VariableName "
              "VARCHAR(50), NodeType LONG)"),
    statement("0.36051",
              "CREATE TABLE TreeView_DescriptionVar (HeaderVarId LONG, ModeId LONG, LigneId LONG, "
              "TextLngId LONG, VariableName VARCHAR(50))"),
    statement("0.36051",
              "CREATE TABLE TreeView_Element (ID AUTOINCREMENT PRIMARY KEY, TreeHeaderId Long, "
              "ReferenceDocument VARCHAR (50), DbSource Byte)"),
    statement("0.36051", kFreeArticles),

    statement("0.36052", "ALTER TABLE SandingModels ADD COLUMN PriceModeCompute LONG"),
    statement("0.36052", "ALTER TABLE CrossingModels ADD COLUMN PriceModeCompute LONG"),
    statement("0.36052", "UPDATE SandingModels SET PriceModeCompute=0"),
    statement("0.36052", "UPDATE CrossingModels SET PriceModeCompute=0"),
};
static_assert(ascendingTargets(kProviderSteps));

}  // namespace

std::span<const UpgradeRow> providerSteps() {
    return kProviderSteps;
}

const UpgradeCatalogue& providerCatalogue() {
    static const UpgradeCatalogue catalogue{kProviderSteps, providerPatches(),
                                            VersionText::SinglePrecision, providerClosingChecks};
    return catalogue;
}

}  // namespace orvdb::upgrade

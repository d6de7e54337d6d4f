SELECT * INTO ArticleGroup_New FROM [ArticleGroup]
CREATE UNIQUE INDEX ID_ArticleGroup_New ON ArticleGroup_New(ID) WITH PRIMARY
SELECT * FROM MsysRelationShips WHERE (szReferencedObject='ArticleGroup')    OR (szObject='ArticleGroup')
ALTER TABLE [Article] DROP CONSTRAINT fk_Article_GroupArticle
ALTER TABLE  Article   ADD CONSTRAINT fk_Article_GroupArticle__X   FOREIGN KEY (RefGroup)   REFERENCES ArticleGroup_New(ID)
DROP TABLE ArticleGroup_New
DROP TABLE [ArticleGroup]
ALTER TABLE Article ADD COLUMN RefGroup2 LONG
SELECT * FROM MsysRelationShips WHERE szColumn='RefGroup' AND szObject='Article'
UPDATE Article SET RefGroup2=[RefGroup]
ALTER TABLE Article DROP COLUMN [RefGroup]
DELETE FROM Article
ALTER TABLE  Article  ALTER COLUMN  Id AUTOINCREMENT
SELECT Name FROM MSysObjects WHERE ParentId=251658241 AND Flags=0 AND Type=1
DELETE FROM Colors
CREATE TABLE `Colors` (`A`  LONG, `B`  VARCHAR(255));
SELECT * FROM [Colors]
INSERT INTO `Colors` VALUES ('5', '0');
SELECT IIF(Prix IS NULL,0,Prix) AS Prix FROM Tarif_Article
SELECT IIF(Prix>0,Prix,0) AS Prix FROM Tarif_Article
SELECT IIF(Prix IS NULL,0,Prix) FROM Tarif_Article WHERE IIF(Prix IS NULL,0,Prix)=0
UPDATE Devis SET Comment='abc'&chr(13)&chr(10)&'def' WHERE Id=1
UPDATE Devis SET Comment='abc'&chr(13)&chr(10) WHERE Id=1
UPDATE Devis SET CreationDate=#2024-03-05 14.07.09# WHERE Id=1
SELECT * FROM Devis WHERE CreationDate>=#0987-01-02 00.00.00#
SELECT Français AS zvTranslation FROM ZV_Language, Opening WHERE ZV_Language.ID=Opening.NameID AND Opening.ID=12
SELECT Reference FROM Article WHERE ID=12
SELECT ID, U FROM PillingUpThermic WHERE zvIDCode='AB-12'
SELECT zvArticleID, zvSectionID, zvTypeObject, zvDX, zvDY, zvRZ, zvInvertView, zvMV, zvMH FROM ZV_ThermicProfil WHERE zvThermicID=3
SELECT zvInvertView, zvDX, zvDY, zvR, zvH, zvW  FROM ZV_ThermicGlazing  WHERE zvThermicID=3
UPDATE PillingUpThermic SET U=1.45 WHERE (ID=3) 
INSERT INTO PillingUpThermic (zvIDCode) VALUES ('AB-12')
INSERT INTO ZV_ThermicProfil (zvThermicId, zvArticleID, zvSectionID, zvTypeObject, zvDX,                          zvDY, zvRZ, zvInvertView, zvMV, zvMH)                  VALUES (3, 120, 4, 1, 12.50, -3.25, 90.00, 0, 1, 0)
INSERT INTO zv_ThermicGlazing (zvThermicId, zvInvertView, zvDX, zvDY, zvR, zvH, zvW)                      VALUES (3, 0, 1.00, 2.00, 0.25, 1200.00, 800.00)
SELECT @@Identity AS ID
SELECT English AS zvTranslation FROM ZV_Language WHERE ID=40
SELECT LogicalName, Français AS zvTranslation FROM SerieDescription, ZV_Language WHERE ZV_Language.ID=SerieDescription.DescriptionID AND SerieRef=7
SELECT LogicalName, Français AS zvTranslation FROM ModelDescription, ZV_Language WHERE ZV_Language.ID=ModelDescription.DescriptionID AND ModelRef=7
SELECT LogicalName, Français AS zvTranslation FROM ColorDescription, ZV_Language WHERE ZV_Language.ID=ColorDescription.DescriptionID AND ColorRef=7
SELECT LogicalName, Français AS zvTranslation FROM HardwareDescription, ZV_Language WHERE ZV_Language.ID=HardwareDescription.DescriptionID AND HardwareRef=7
SELECT LogicalName, Nederlands AS zvTranslation, Condition FROM DescriptionTemplate, ZV_Language WHERE ZV_Language.ID=DescriptionTemplate.DescriptionID AND TemplateType=2
SELECT TemplateType, DescriptionTemplate.ID AS ID, LogicalName, DescriptionID,  ZV_Language.Name AS zvTranslation, Condition FROM DescriptionTemplate, ZV_Language WHERE ZV_Language.ID=DescriptionTemplate.DescriptionID ORDER BY TemplateType, DescriptionTemplate.ID
SELECT Deutsch AS zvTranslation FROM ZV_Language, OpeningXLIBName WHERE ZV_Language.ID=OpeningXLIBName.Ref AND OpeningXLIBName.ID=5
UPDATE Article_Remplissage SET UG=1.10 WHERE Ref=44
UPDATE Article_Remplissage SET Psi=0.06 WHERE Ref=44
DELETE FROM Zv_Language
INSERT INTO Zv_Language (Français, Nederlands, English, Deutsch, Polski, Español, Italiano, Svenska, Norsk, Dansk, Suomi, TextID, TblID)  VALUES ('Porte', 'Deur', 'Door', 'Tür', 'Drzwi', 'Puerta', 'Porta', 'Dörr', 'Dør', 'Dør' , 'Ovi', 12, 3)
SELECT TextID, TblID, Français FROM Zv_language
SELECT Version FROM Version
SELECT Name FROM MSysObjects WHERE ParentId=251658241 AND Flags=0 AND Type=1
SELECT [Position] FROM Article_Profil
ALTER TABLE Article_Profil ADD COLUMN ZV_Position LONG
UPDATE Article_Profil SET ZV_Position=[Position]
ALTER TABLE Article_Profil DROP COLUMN [Position]
UPDATE Version SET Version=0.5002
CREATE TABLE ZV_VersionCode (zvID AUTOINCREMENT PRIMARY KEY, zvCode VARCHAR(20))
ALTER TABLE LanguageExpression ADD CONSTRAINT fk_LngExp_LngID FOREIGN KEY (LngID) REFERENCES [Language](ID)
CREATE UNIQUE INDEX ID_VariableObjTree_ItemList ON VariableObjTree_ItemList(ID) WITH PRIMARY
CREATE INDEX ID_ParentVariableTree ON ParentVariableTree(Ref1, Ref2)
CREATE TABLE VariableObjTree_ItemList (ID AUTOINCREMENT, CurrentVal LONG, Visible VARCHAR(255), Picture VARCHAR(255), Name LONG, Description LONG)
CREATE TABLE VariableObjTree_ItemList_Group (Ref1 LONG, Ref2 LONG, Ref3 LONG, [Position] SHORT)
CREATE VIEW Get_Finitions AS SELECT * FROM Finitions
DROP TABLE Get_Finitions
SELECT Version, ObjectVersion FROM Version
SELECT zvCode FROM ZV_VersionCode
UPDATE Version SET Version=0.36051
UPDATE Version SET Version=1.5
INSERT INTO ZV_VersionCode (zvCode) VALUES ('OPENING')
ALTER TABLE variableobjtree_Textlist_Text ADD COLUMN [Position] LONG
UPDATE variableobjtree_Textlist_Text SET [Position]=ID
UPDATE Article SET RefGroup=NULL WHERE NOT (RefGroup IN (SELECT ID FROM GroupArticle))
SELECT [Position] FROM variableobjtree_textlist_text
SELECT [Position] FROM variableobjtree_Valuelist_Value
CREATE TABLE Machining (ID AUTOINCREMENT, Name VARCHAR(255), [Position] BYTE, RefGroup LONG, [External] GUID)
ALTER TABLE Machining ADD COLUMN MachExternal GUID
UPDATE Machining SET MachExternal=[External]
ALTER TABLE Machining ADD COLUMN [External] VARCHAR (40)
DELETE FROM Machining
UPDATE EmpillageBeam SET VariableTree=NULL WHERE NOT (VariableTree IN (SELECT ID FROM VariableTree))
SELECT * FROM Version WHERE CreateFrom=1
ALTER TABLE ComplementBackfill ALTER COLUMN InternalPicture VARCHAR(64)
UPDATE Condition SET [Position]=0
CREATE TABLE PanelBasePrice (Id AUTOINCREMENT PRIMARY KEY, ArticleId INTEGER, Width REAL, Height REAL, Price REAL, OrderRef VARCHAR(50))
CREATE TABLE ProcedureCommandLine (Id AUTOINCREMENT PRIMARY KEY, CommandLine VARCHAR(255), Owner Long)
CREATE VIEW Get_Colors AS SELECT * FROM Colors
CREATE VIEW Get_LanguageColor AS SELECT * FROM [Language]
SELECT * FROM [Language]
CREATE TABLE DescriptionTemplate (ID AUTOINCREMENT, LogicalName VARCHAR(40), TemplateType BYTE, Condition VARCHAR(255), DescriptionID LONG)
ALTER TABLE [Language] ADD COLUMN Svenska VARCHAR(255)
CREATE TABLE Materials (Id AUTOINCREMENT PRIMARY KEY, StaticEnable BYTE, ThermicEnable BYTE, MatID LONG)
INSERT INTO Materials (StaticEnable, ThermicEnable, MatID) VALUES (0, 1, 1)
CREATE TABLE PillingUp_MG_Side (PillingUpID LONG, Side BYTE, GlazingCount BYTE)
CREATE UNIQUE INDEX PillingUp_MG_Side ON PillingUp_MG_Side(PillingUpID, Side) WITH PRIMARY
CREATE TABLE Msg_Text_Expression (Ref LONG, Expression VARCHAR(255), [Position] BYTE)
UPDATE Article_Ventilator SET Existence='Thickness='&Thickness
CREATE TABLE SandingModels (ID AUTOINCREMENT, File VARCHAR(255), Price REAL)
UPDATE PriceTemp SET GlazingMargin=1.0, GlazingTariffInc=1.0, PanelMargin=1.0, PanelTariffInc=1.0, AlveolarMargin=1.0, AlveolarTariffInc=1.0 WHERE Id=1
UPDATE Procedures SET Ref=37 WHERE ID IN (SELECT AfterProcedure FROM ModeleConstruction)
CREATE TABLE PillingUpThermic (ID AUTOINCREMENT PRIMARY KEY, Code VARCHAR(255), Surface REAL, U Real)
ALTER TABLE Article DROP COLUMN Surface
UPDATE GlazingPrice SET OrderRef='REF 12''A' WHERE Article_Id=12
CREATE TABLE PositionMachine (ID AUTOINCREMENT PRIMARY KEY, ArticleID LONG, Mirror BYTE, RZ Real)
DROP VIEW view_VariableObjTree_ItemList_Item
DROP VIEW Get_ItemPicture
CREATE TABLE ZV_ThermicProfil (ID AUTOINCREMENT PRIMARY KEY, zvThermicID LONG, zvMV BYTE, zvMH BYTE, zvInvertView BYTE, zvArticleID LONG, zvSectionID LONG, zvTypeObject VARCHAR(1), zvDX REAL, zvDY REAL)
ALTER TABLE VariableObjTree_Bool_Group ADD COLUMN DescExpression VARCHAR(255)
UPDATE VariableObjTree_Bool_Group SET DescExpression='FALSE' WHERE EventType=0
UPDATE VariableObjTree_Bool_Group SET DescExpression='TRUE' WHERE EventType=1 OR EventType=2
CREATE TABLE TabBorderPairValue (ID AUTOINCREMENT PRIMARY KEY, zvMin VARCHAR(50), zvMax VARCHAR(50), MinIncluded SHORT, MaxIncluded SHORT)
INSERT INTO TabBorderPairValue (zvMin, zvMax, MinIncluded, MaxIncluded) VALUES ('0', '100', 1, 0)
INSERT INTO TabBorders (Ref, RefType, zv_Position, Orientation, Comment) VALUES (4, 1, 0, 2, 'left')
INSERT INTO Conditionnement_group(Name) VALUES ('ZV_Unitary')
SELECT @@IDENTITY AS Id
INSERT INTO Conditionnement(Name, Id_Type, Nombre) VALUES ('ZV_UNnitary1', 0, 1)
INSERT INTO Conditionnements_groupConditionnements(id_conditionnement, id_groupConditionnement) Values(5, 2)
SELECT ID, Parametre FROM [Action] WHERE Ref IN (114, 115, 116, 117, 118)
SELECT ID, Ref, Parametre FROM [Action] WHERE Ref=117
SELECT ID, Ref, Parametre FROM [Action] WHERE Ref>=114 AND Ref<=117
SELECT ID, Parametre FROM [zv_Action] WHERE Ref IN (134)
UPDATE [Action] SET Parametre='0.0' WHERE ID=8
 UPDATE [Action]    SET Parametre='0'   WHERE ID=8
UPDATE Zv_Action SET Parametre='0' WHERE ID=8
UPDATE VariableobjTree_textlist_text SET [Position]=ID WHERE [Position] IS NULL
UPDATE VariableObjTree_ValueList_Value SET [Position]=ID WHERE [Position] IS NULL
SELECT Distinct(Ref1) AS Ref FROM VariableobjTree_textlist_text
SELECT ID FROM VariableobjTree_textlist_text WHERE Ref1=3 ORDER BY [Position]
UPDATE VariableobjTree_textlist_text SET [Position]=2 WHERE ID=17
SELECT P2.[Position] AS P, P1.ID AS PID  FROM VariableobjTree_textlist_text AS P2, VariableobjTree_textlist AS P1 WHERE P1.ID=P2.Ref1 AND P1.CurrentVal=P2.ItemIndex
UPDATE VariableobjTree_textlist SET CurrentVal=2 WHERE ID=3
CREATE TABLE Expression (Id AUTOINCREMENT PRIMARY KEY, Expression VARCHAR(255), NextExpression LONG)
ALTER TABLE VariableObjTree_Bool ADD COLUMN isVisible LONG
ALTER TABLE VariableObjTree_Bool ADD CONSTRAINT fk_VariableObjTree_Bool_isVisible FOREIGN KEY (isVisible) REFERENCES Expression(ID)
SELECT ID, Visible FROM VariableObjTree_Bool
SELECT ID, Condition FROM VariableObjTree_ItemList_Item
INSERT INTO Expression (Expression) VALUES ('IsChecked(''X'')')
SELECT @@IDENTITY AS NEWID FROM VariableObjTree_Bool
UPDATE VariableObjTree_Bool SET isVisible=12 WHERE ID=3
SELECT ID, BeforeProcedure, AfterProcedure FROM ModeleConstruction
INSERT INTO ProcedureNodes (Ref, Type, Owner, Niveau) VALUES (14, 5, 9, 0)
UPDATE ModeleConstruction SET BeforeProcedure=14 WHERE ID=2
UPDATE Procedures SET Ref=25 WHERE ID=14
UPDATE ModeleConstruction SET AfterProcedure=0
CREATE TABLE BatchArticles (Id AUTOINCREMENT PRIMARY KEY, NAME VARCHAR(50), DOSSIERID INTEGER, QUANTITY REAL, CREATIONDATE DATETIME, UPDATEDATE DATETIME, REMOTEID INTEGER, MAXQTY REAL)
CREATE VIEW qryAllBatches AS SELECT BatchItem.NAME AS BATCHNAME, BatchArticles.*, BatchItem.Id AS BATCHID FROM BatchArticles RIGHT JOIN BatchItem ON BatchArticles.BATCHITEMID = BatchItem.Id
ALTER TABLE BatchArticles ADD COLUMN PARENTSTRUCTID INTEGER
ALTER TABLE ProfileWorkstationProfiles ADD COLUMN COMPTYPE INTEGER, SERIEID INTEGER, MODELID INTEGER, COMPTYPENAME VARCHAR(50), SERIENAME VARCHAR(50), MODELNAME VARCHAR(50)
CREATE TABLE ProductionDocuments (Id AUTOINCREMENT PRIMARY KEY, NAME VARCHAR(50), DOCTYPE INTEGER, DocFileName VARCHAR(50))
CREATE TABLE WorkstationProductionDocuments (Id AUTOINCREMENT PRIMARY KEY, DOCID INTEGER, WSID INTEGER)
CREATE TABLE LaunchingGroup (Id AUTOINCREMENT PRIMARY KEY, NAME VARCHAR(50), CREATIONDATE DATETIME, UPDATEDATE DATETIME, REMOTEID INTEGER ) 
ALTER TABLE Launchings ADD COLUMN PARENTGROUPID INTEGER
ALTER TABLE BatchArticles ADD COLUMN BUILDSITE VARCHAR(50), BUILDCOMMENT VARCHAR(50), QTYSURVEYOR VARCHAR(50) 
ALTER TABLE LaunchingGroup ADD COLUMN GROUPTYPE INTEGER 
ALTER TABLE MACHINES ADD COLUMN EXPORTPATH VARCHAR(50)
ALTER TABLE BatchArticles ADD COLUMN INSTALLTEAM VARCHAR(50) 
ALTER TABLE ProductionDocuments ADD COLUMN ResDir VARCHAR(255), ResFileName VARCHAR(50)
ALTER TABLE BatchArticles ADD COLUMN INSTALLTEAM VARCHAR(50), BuildSiteDepartment VARCHAR(50)
ALTER TABLE ProfileWorkstationProfiles ADD COLUMN COMPTYPE_RULE VARCHAR(255), SERIE_RULE VARCHAR(255), MODEL_RULE VARCHAR(255), GLOBAL_RULE VARCHAR(255) 
ALTER TABLE BatchArticles ADD COLUMN USERID VARCHAR(255), USERNAME VARCHAR(255) 
ALTER TABLE CuttingOffMachines ADD COLUMN IsProjectedAngle INTEGER
CREATE TABLE DOSSIERSGROUPSEXPANDED (Id AUTOINCREMENT PRIMARY KEY, DossierExpanded INTEGER, UserId INTEGER, Source INTEGER)
ALTER TABLE CuttingOffMachines ADD COLUMN ProfilLengthOption INTEGER
CREATE TABLE AccessoriesWorkStation (Id AUTOINCREMENT PRIMARY KEY, WorkStationId INTEGER)
CREATE TABLE ArticlesForAccessoriesWorkStation (Id AUTOINCREMENT PRIMARY KEY, AccessorieWorkStationId INTEGER, Provider VARCHAR(50), ProvArtRef VARCHAR(50), ProvArtDesc VARCHAR(50), ProvArtId INTEGER)
ALTER TABLE CuttingOffMachines ADD OverLength FLOAT
UPDATE CuttingOffMachines SET OverLength=3
ALTER TABLE BatchArticles ADD COLUMN SUBSTRUCTID LONG
ALTER TABLE CuttingOffMachines ADD COLUMN IsConvertedAngle INTEGER
ALTER TABLE ProfileWorkstationProfiles ADD COLUMN ZvPtCot INTEGER
ALTER TABLE ProfileWorkstationProfiles ADD COLUMN ZvxCot REAL
ALTER TABLE ProfileWorkstationProfiles ADD COLUMN ZvyCot REAL
UPDATE ProfileWorkstationProfiles SET ZvPtCot=0
UPDATE ProfileWorkstationProfiles SET ZvxCot=NULL
ALTER TABLE Workstations ADD COLUMN PrefMachineOrderID INTEGER
CREATE TABLE ProdMapWorkStation (Id AUTOINCREMENT,  ProdMapId LONG, WorkStationId LONG, ItemGUID VARCHAR(50),  PosX FLOAT, PosY FLOAT, DimX FLOAT, DimY FLOAT, ItemCaption VARCHAR(50)) 
CREATE TABLE ProdMapEntity (Id AUTOINCREMENT,  ProdMapId LONG, ItemGUID VARCHAR(50),  PosX FLOAT, PosY FLOAT, DimX FLOAT, DimY FLOAT, ItemCaption VARCHAR(50)) 
CREATE TABLE ProdMapLink (Id AUTOINCREMENT,  ProdMapId LONG, ProdLineId LONG, ItemGUID VARCHAR(50),  PosX FLOAT, PosY FLOAT, DimX FLOAT, DimY FLOAT, ItemCaption VARCHAR(50),  WSGUIDIN VARCHAR(50), WSGUIDOUT VARCHAR(50), GUIDINTYPE  LONG, GUIDOUTTYPE LONG,  WSINPtID LONG, WSOUTPtID LONG, PtAligned LONG) 
CREATE TABLE ProdMapLinkPt (Id AUTOINCREMENT,  ProdMapLinkId LONG, PtInd LONG, PosPtX FLOAT, PosPtY FLOAT, PosPtStyle LONG) 
CREATE TABLE WORKSHOP ( ID AUTOINCREMENT PRIMARY KEY  , ID_GRP LONG , ID_LNC LONG , ID_MAP LONG , ID_LINE LONG , ID_WORKSTATION LONG , CONSTRUCTION VARCHAR(100) , PROJECT VARCHAR(100) , COMMENTS MEMO , VALIDATION BYTE)
ALTER TABLE BatchArticles ADD COLUMN EXTERNALPROJECTID VARCHAR(25)
ALTER TABLE BatchArticles ADD COLUMN EXTERNALCUSTOMERID VARCHAR(25)
ALTER TABLE fillingworkstationfillings ALTER COLUMN GLOBAL_RULE VARCHAR(25)
ALTER TABLE DOSSIERDEVISTREENODES ALTER COLUMN NAME  VARCHAR(255)
CREATE TABLE ARTUNICID ( ID AUTOINCREMENT PRIMARY KEY  , SERVERID LONG , PROJECTID LONG , STRUCTID LONG , SUBSTRUCTID LONG , IDINPRJ LONG , IDINSTRUCT LONG)
CREATE TABLE SERVERSID ( ID AUTOINCREMENT PRIMARY KEY  , SRVGUID VARCHAR(30))
ALTER TABLE DOSSIERS ADD COLUMN EXTERNALID VARCHAR(25)
UPDATE zv_Language SET Polski = 'Cytat Tabela' WHERE Name='Devis tableau' 
UPDATE zv_Language SET Polski = 'Szczegółowy raport handlowa' WHERE Name='Rapport commercial détaillé' 
ALTER TABLE VAT ADD COLUMN Id_Lng NUMERIC
CREATE TABLE Margin (Id AUTOINCREMENT, Name VARCHAR(30), Id_Type NUMERIC, ValRate REAL, Id_Lng NUMERIC)
ALTER TABLE [Language] ADD COLUMN Français VARCHAR(50)
UPDATE [Language] SET Français=French
ALTER TABLE [Language] DROP COLUMN French
UPDATE [Language] SET Français='???' WHERE Français=''
DELETE * FROM RightsDevis
CREATE VIEW DEVISNODESCONSTRUCTIONARTICLEDATA AS SELECT DOSSIERS.CURRENTDEVISID AS DEVISID, DossierDevisTreeNodes.ID AS NODEID, DOSSIERID, PARENTNODEID, PROVIDERID, NODETYPE, NODESTATUS, DossierDevisTreeNodes.NAME AS NODENAME, PICTUREVISIBLE, ARTICLEDATAID FROM DOSSIERS INNER JOIN DossierDevisTreeNodes ON DOSSIERS.ID = DossierDevisTreeNodes.DOSSIERID WHERE NODETYPE BETWEEN 5 AND 89 AND NODETYPE<>11
CREATE TABLE CompanyData (Id AUTOINCREMENT PRIMARY KEY, ComputeMode INTEGER )
INSERT INTO CompanyData (ComputeMode) VALUES (0)
DELETE FROM RightsDevis WHERE (ID_Operation>=100 AND ID_Operation<=103) OR ID_Operation=750 OR ID_Operation=800
UPDATE [Language] SET Nederlands='Bestellijst' WHERE Nederlands='bestellijst'
CREATE TABLE MACHINES (ID AUTOINCREMENT, Name VARCHAR(50), ConstructorName VARCHAR(50), TypeM BYTE)
CREATE UNIQUE INDEX Id_Machines ON MACHINES(ID) WITH PRIMARY
CREATE VIEW SCIES AS SELECT MACHINES.ID AS Id, MACHINES.Name, MACHINES.ConstructorName, MACHINES.TypeM, MACHINES_SCIES.SAW AS Saw FROM MACHINES INNER JOIN MACHINES_SCIES ON MACHINES.ID = MACHINES_SCIES.Machines_ID
ALTER TABLE MACHINES_SCIES ADD CONSTRAINT fk_RefOnMachineID FOREIGN KEY (Machines_ID) REFERENCES MACHINES(ID)
INSERT INTO Machines (Name, ConstructorName, TypeM) VALUES ('Fictif', 'Halvo', 0)
INSERT INTO Machines_Scies (Machines_Id, Saw) VALUES (1, 4)
CREATE TABLE POSTESFAB (ID AUTOINCREMENT, Name VARCHAR(50), TypeP BYTE, Machines_ID LONG)
ALTER TABLE TemplatesDocsPaths ADD COLUMN id_lng INTEGER
DELETE FROM TEMPLATESDOCSPATHS WHERE TITLE IN (  'Devis allégé', 'Offre simple véranda', 'Offre détaillée véranda')
CREATE TABLE INVALIDARTPRICES (ID AUTOINCREMENT PRIMARY KEY, PROVIDER VARCHAR(50), REFARTICLE VARCHAR(50), COLORIN VARCHAR(50), FININ VARCHAR(50), COLOROUT VARCHAR(50), FINOUT VARCHAR(50), PACKAGING REAL, PRIX REAL)
UPDATE LabourPost SET DataType=-2 WHERE Provider IS NULL
UPDATE LabourPost SET DataType=-3 WHERE Provider IS NOT NULL
CREATE VIEW AllLabourRate AS SELECT LP.Id AS LPId, LP.Id_lng, LP.dataValue, LP.Provider, LP.UnitOfTime, LP.Id_Post, LP.Discount, LP.DataType, LP.Id_Model, LNG.* FROM LabourPost AS LP INNER JOIN zv_Language AS LNG ON LP.id_lng = LNG.Id
CREATE TABLE ApplicationUserRightGroups (ID AUTOINCREMENT PRIMARY KEY, RightsGroupName VARCHAR(50), RightsACL LONG, RightsACL2 LONG, RightsCheck VARCHAR(50), RightsGroupStatus LONG)
ALTER TABLE Version ADD COLUMN UsersCheck VARCHAR(50)
ALTER TABLE CompanyData ADD COLUMN FallingMode LONG
CREATE TABLE USERTEXTS (ID AUTOINCREMENT, TXTTYPE BYTE, TXTTEXT MEMO, LNGFILTER INTEGER)
ALTER TABLE Devis_info_construction ALTER COLUMN PriceList VARCHAR(200)
ALTER TABLE RIGHTSONDOSSIERSGROUPS ADD COLUMN USERGROUPRIGHT Text
ALTER TABLE RIGHTSONDOSSIERSGROUPS DROP COLUMN [RIGHT]
UPDATE RIGHTSONDOSSIERSGROUPS SET USERGROUPID=1, USERGROUPRIGHT='w'
SELECT * INTO TmpApplicationUserRightGroups FROM ApplicationUserRightGroups
SELECT * INTO TmpApplicationUsers FROM ApplicationUsers
ALTER TABLE ApplicationUserRightGroups ALTER COLUMN RightsACL OLEOBJECT
CREATE TABLE Locks  (ID AUTOINCREMENT, DossierId LONG, UserId LONG, lockDate DATETIME, Comment MEMO, GPAOLock Integer)
CREATE TABLE DossierSorted  (ID AUTOINCREMENT, CurrentColumnId LONG, SortOrder LONG, UserId LONG)
ALTER TABLE [Language] ADD Español VARCHAR(255)
ALTER TABLE Locks ADD COLUMN GPAOLock INTEGER
CREATE TABLE TitleTree_Mode (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
INSERT INTO TitleTree_Mode (Name) VALUES ('DEFAULT')
ALTER TABLE Devis_info_construction ALTER COLUMN Description VARCHAR (255)
ALTER TABLE Machines_SCIES ADD COLUMN BeginWaste Real
UPDATE Machines_SCIES SET BeginWaste=50
CREATE TABLE GroupText (ID AUTOINCREMENT PRIMARY KEY, RefGroup LONG, Name VARCHAR(50), Color VARCHAR(20), Filter1 LONGTEXT, Description VARCHAR(50), [Position] INTEGER)
CREATE UNIQUE INDEX pk_LanguageExpression ON LanguageExpression(ID) 
ALTER TABLE CompanyData ADD COLUMN DefaultComputesModesId LONG
ALTER TABLE CompanyData DROP COLUMN FallingMode
CREATE TABLE Devis_price_construction (IdConstruction LONG, IdComputesModes LONG, Price FLOAT)
DELETE FROM zv_Language WHERE Id=(SELECT Id_Lng FROM TemplatesDocsPaths WHERE DocName='Detail avec taux de chute')
DELETE FROM TemplatesDocsPaths WHERE DocName='Detail avec taux de chute'
ALTER TABLE Devis_info_construction ALTER COLUMN Description MEMO
Create Table ConstrPrintedVar (ConstrId LONG, VarName VARCHAR(100), VarValue VARCHAR(100))
UPDATE zv_Language SET Français = 'Prix sans chute', Nederlands = 'Prijs zonder afval', Deutsch = 'Preis ohne Fall ', English = 'Price without waste' WHERE Name='Real price' 
UPDATE ComputesModesData SET PriceMode=4 WHERE MaterialObjectType=6 AND PriceMode=3
UPDATE Devis_price_construction SET PriceStatus=0 WHERE Price<>0
UPDATE Devis SET PriceStatus=0
UPDATE TemplatesDocsPaths SET Title='Detail' WHERE DocName='Detail'
UPDATE ProjectDoc SET ZvStatus=2 WHERE Comment='Projet modifié'
UPDATE ProjectDoc SET ZvStatus=1 WHERE ZvStatus IS NULL OR ZvStatus=0
ALTER TABLE Devis_Prices ADD Discount FLOAT
ALTER TABLE Devis_BackFill_Prices ADD DiscountRate FLOAT
ALTER TABLE Devis_Prices ADD PriceMargin FLOAT
DROP VIEW AllLabourRate
CREATE VIEW AllLabourRate AS SELECT LP.Id AS LPId, LP.Id_lng, LP.dataValue, LP.Provider, LP.UnitOfTime, LP.Id_Post, LP.Discount, LP.DataType, LP.Id_Model, LNG.* FROM LabourPost AS LP LEFT JOIN Zv_Language AS LNG ON LP.id_lng = LNG.Id
DELETE FROM LabourPost WHERE (Datavalue=0) and (Discount=0) and (Unitoftime=0)
UPDATE ApplicationUserRightGroups SET GroupAccesStr='1|' WHERE 1=1
INSERT INTO  rightsdevis (id_user, node_type, id_operation) VALUES ( 2, 1 , 100 )
INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 3, 420)
UPDATE [Language] SET English='Quotation', Nederlands='Offerte', Deutsch='Angebot', Polski='???' WHERE Name='DEVIS'
INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) VALUES  ('MATERIALSLIST', 'Liste des matériaux', 'Materiaal lijst', 'Material list', 'Schnittliste', 0)
INSERT INTO TemplatesDocsPaths (Title, DocName, TREE, id_lng) SELECT 'MATERIALSLIST', 'MATERIALSLIST', DOCUMENTSTYPES.id, [Language].id FROM [Language], DOCUMENTSTYPES WHERE [Language].Name = 'MATERIALSLIST' AND DOCUMENTSTYPES.defaultname='MATERIALSLIST'
UPDATE [Language] SET Nederlands='Calculatielijst'  WHERE Name='COMMERCIAL_OFFER'
UPDATE [Language] SET English='Calculation', Nederlands='Prijs berekening', Deutsch='???', Polski='???' WHERE Name='CALCULATION'
UPDATE [Language] SET Deutsch='Bestellschein'  WHERE Name='Bon de commande'
UPDATE [Language] SET English='Commercial reports',  Nederlands='Calculatielijst',  Deutsch='Kaufmännische berichte',  Polski='Raporty produkcyjne' WHERE Name='COMMERCIAL_OFFER'
INSERT INTO ZV_VersionCode (zvCode) VALUES ('CLOSOIRADDPTYPE_1')
UPDATE Msg_Text_Expression SET zv_Position=[position] WHERE [Position]<>0
CREATE UNIQUE INDEX pk_Msg_Text_Expression ON Msg_Text_Expression(Ref, [zv_Position]) WITH PRIMARY
INSERT INTO zv_GroupSectionMaterial (ID, Name, RefGroup, Color) VALUES (1, 'Default group', NULL, 0)
INSERT INTO zv_SectionMaterial (ID,Name,YoungModulus,PoissonRatio,ThermalExpansion,VolumetricDensity,ElasticLimit,TensileStrength,HeatTreated,brushStyle,r,g,b,ThermalConductivity,MaterialType,DynamicViscosity,RefGroup,SpecificHeat)VALUES (2,'Aluminium',70000,0.33,2.3E-5,2700,160,215,0,0,192,192,192,160,1,0,1,900)
UPDATE AutomatedViews SET CotationScale=10
ALTER TABLE VariableObjTree_Group ADD COLUMN OnChangeId LONG
UPDATE VariableObjTree_Group SET OnChangeId=0
SELECT ID, Parametre FROM [zv_Action] WHERE Ref IN (138)
UPDATE Zv_Action SET Parametre='-(12)' WHERE ID=9
UPDATE Article AS T1, Article_Profil AS T2 SET T1.Weight=T2.Weight WHERE T1.ID=T2.ID
SELECT ID, Parametre FROM [zv_Action] WHERE Ref IN (122)
ALTER TABLE ZV_Language ALTER COLUMN Name VARCHAR(255)
ALTER TABLE GroupMO ADD COLUMN [Id_Lng] LONG
SELECT ID, Description FROM GroupMO
UPDATE [GroupMO] SET Id_Lng=12 WHERE ID = 3
ALTER TABLE Tarif_Article ADD COLUMN OrderProvider VARCHAR(50)
ALTER TABLE PanelBasePrice ADD COLUMN OrderProvider VARCHAR(50)
SELECT count (ID) As ZV_Count FROM ApplicationUserRightGroups Where RightsGroupName='Administrateur'
DROP Table ApplicationUserRightGroups
CREATE TABLE ApplicationUserRightGroups (ID AUTOINCREMENT PRIMARY KEY, RightsGroupName VARCHAR(50),  RightsACL OLEOBJECT, RightsCheck VARCHAR(50) )
DROP Table ApplicationUsers
CREATE TABLE ApplicationUsers (ID AUTOINCREMENT PRIMARY KEY, UserName VARCHAR(50), UserStatus VARCHAR(50),  RightsModel LONG, UserPassword VARCHAR(50), UserCheck VARCHAR(50))
SELECT Id, RightsGroupName, RightsACL, RightsCheck FROM TmpApplicationUserRightGroups WHERE 1=1
SELECT id, node_type, id_operation FROM RightsDevis WHERE 1=1
INSERT INTO ApplicationUsers (UserName, RightsModel, UserPassword) VALUES ('Administrateur', 1, 'D41D8CD98F00B204E9800998ECF8427E')
SELECT U.UserName, U.RightsModel, U.UserPassword, U.UserCheck, TR.RightsGroupName FROM TmpApplicationUsers U LEFT JOIN TmpApplicationUserRightGroups TR ON TR.Id = U.RightsModel
SELECT Id FROM ApplicationUserRightGroups WHERE RightsGroupName = 'Administrateur' 
SELECT Id, FallingMode FROM CompanyData
UPDATE CompanyData Set FallingMode=2 WHERE ID=1
SELECT Id, COMPMETHOD FROM DEVIS
UPDATE DEVIS Set COMPMETHOD=1 WHERE ID=7
SELECT Id, COMPUTETYPE FROM Devis_info_formula
UPDATE Devis_info_formula Set COMPUTETYPE=0 WHERE ID=7
INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) VALUES  ('Devis tableau', 'Devis tableau', '', 'Quote Table', '', 0)
Update TemplatesDocsPaths Set id_lng=81 WHERE Title='Devis tableau'
DROP TABLE AllLabourRate
DROP TABLE RESSOURCESWITHRIGHTS
SELECT Id From PEOPLE
INSERT INTO Contacts (id, PeopleId) VALUES (12, 12)
ALTER TABLE DEVIS  ADD COLUMN ComputesModesId LONG
UPDATE DEVIS SET ComputesModesId=0
SELECT DefaultComputesModesId FROM CompanyData
SELECT COUNT(Id) AS TotalCount From ComputesModes
INSERT INTO ComputesModes (Name, TranslationId) VALUES ('Real price', 83)
INSERT INTO ComputesModesData (ComputesModesId, MaterialObjectType, PackagingMode, PriceMode) VALUES (1, 3, 2, 1)
INSERT INTO zv_Language(Name, Français, Nederlands, Deutsch, English)  VALUES ('Real price', 'Prix réel', 'Reële prijs', 'Realpreis', 'Real price')
SELECT Id From ComputesModes WHERE Name='Price real waste'
UPDATE DEVIS SET ComputesModesId=2
UPDATE CompanyData SET DefaultComputesModesId=2
UPDATE Devis_info_construction SET ComputesModesId=2
UPDATE DossierDevisTreeNodes Set NodeStatus=2 WHERE NodeType  in (5,5,6,7,8,9,10,102, 103)
UPDATE DossierDevisTreeNodes Set NodeStatus=3 WHERE NodeType  in (104,105)
SELECT Caption, Rate, Description FROM VAT
ALTER TABLE DEVIS ADD COLUMN VATRateName VARCHAR (50)
ALTER TABLE DEVIS ADD COLUMN DeviseName VARCHAR (50)
SELECT Id, VATID, DeviseID FROM Devis
SELECT CAPTION FROM VAT WHERE Id=2
UPDATE Devis SET VATRateName='TVA 21%', DeviseName='Euro'  WHERE Id=7
ALTER TABLE DEVIS DROP COLUMN DeviseID
ALTER TABLE DEVIS DROP COLUMN VATID
ALTER TABLE DOSSIERS ADD COLUMN LanguageId LONG
UPDATE DOSSIERS SET LanguageId=1036
SELECT * FROM MergeKey_Element
SELECT * FROM MergeKey_toChange
SELECT * FROM MergeKey_Primary
SELECT * FROM MergeKey_Forbiden
UPDATE Halvo_MachiningOperationParam SET ParamValue=ParamValue+100000 WHERE Name='V'
SELECT Name FROM MSysObjects WHERE ParentId=251658241 AND Flags=0 AND Type=1 ORDER BY NAME
SELECT * FROM MsysRelationShips WHERE grBit=0
ALTER TABLE Article DROP CONSTRAINT fk_Article_GroupArticle
ALTER TABLE Article ADD CONSTRAINT fk_Article_GroupArticle FOREIGN KEY (RefGroup) REFERENCES GroupArticle(ID)
SELECT * FROM Article
ALTER TABLE Article DROP COLUMN Picture_BIN
SELECT mtLog, mtQuery FROM MergeTarifQueries
SELECT FieldName, Tablename FROM FieldSize
SELECT MAX(LEN(Reference)) AS Max1 FROM Article
SELECT MAX(LEN(Reference)) AS Max1 FROM Article HAVING MAX(LEN(Reference))>50
ALTER TABLE Article ALTER COLUMN Reference TEXT (64)
ALTER TABLE Article ADD COLUMN Picture_BIN LONG
INSERT INTO Article (ID, Reference, Picture_BIN) VALUES (100012, 'x''y', 2)
INSERT INTO T (A, B, C_BIN) VALUES (1, 'x', 2)
INSERT INTO Article (ID, Weight, Reference) VALUES (12, NULL, 'AB')
SELECT * FROM Article WHERE (RefGroup>0) AND (ID=12)
SELECT * FROM Article WHERE (RefGroup>0)

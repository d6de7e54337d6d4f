// The manager family's version steps, in run order, one row per statement.
// Statements are written as they run, type words included. Block rows are
// the versions whose work reads rows, walks tables or calls the host
// (manager_blocks.hpp); their number is the block's. The view texts are in
// manager_views.hpp. A question mark that follows two others and comes before
// a quote is written \? so that the three do not read as a trigraph:
// "'??\?'" is '???'.
#include "upgrade/manager_catalogue.hpp"

#include <iterator>
#include <string>

#include "upgrade/manager_blocks.hpp"
#include "upgrade/manager_views.hpp"

namespace orvdb::upgrade {

namespace {

using namespace manager_views;

// A block leaves the working query in command mode for the version row.
template <ScriptRoutine routine>
void block(UpgradeSession& session) {
    routine(session);
    session.setCommandMode();
}

constexpr UpgradeRow kManagerSteps[] = {
    // target  statement, or block number and routine
    statement("1.1", "ALTER TABLE VAT ADD COLUMN Id_Lng NUMERIC"),

    statement("1.2",
              "CREATE TABLE Margin (Id AUTOINCREMENT, Name VARCHAR(30), Id_Type NUMERIC, "
              "ValRate REAL, Id_Lng NUMERIC)"),

    statement("1.21", "ALTER TABLE Devis_Info_Construction ADD COLUMN InsideColor VARCHAR(50)"),
    statement("1.21", "ALTER TABLE Devis_Info_Construction ADD COLUMN OutsideColor VARCHAR(50)"),
    statement("1.21", "DROP TABLE DEVISNODESARTICLEDATA"),
    statement("1.21", kNodesOfFourKinds),

    statement("1.22", "ALTER TABLE [Language] ADD COLUMN Français VARCHAR(50)"),
    statement("1.22", "ALTER TABLE [Language] ADD COLUMN Nederlands VARCHAR(50)"),
    statement("1.22", "ALTER TABLE [Language] ADD COLUMN Deutsch VARCHAR(50)"),
    statement("1.22", "ALTER TABLE [Language] ADD COLUMN English VARCHAR(50)"),
    statement("1.22", "ALTER TABLE [Language] ADD COLUMN Polski VARCHAR(50)"),
    statement("1.22", "UPDATE [Language] SET Français=French"),
    statement("1.22", "ALTER TABLE [Language] DROP COLUMN French"),
    statement("1.22",
              "UPDATE [Language] SET Français='??\?' WHERE Français IS NULL OR Français=''"),
    statement("1.22",
              "UPDATE [Language] SET Nederlands='??\?' WHERE Nederlands IS NULL OR Nederlands=''"),
    statement("1.22", "UPDATE [Language] SET Deutsch='??\?' WHERE Deutsch IS NULL OR Deutsch=''"),
    statement("1.22", "UPDATE [Language] SET English='??\?' WHERE English IS NULL OR English=''"),
    statement("1.22", "UPDATE [Language] SET Polski='??\?' WHERE Polski IS NULL OR Polski=''"),

    statement("1.23", "DELETE * FROM RightsDevis"),
    script("1.23", grantEveryOperation),

    statement("1.24",
              "INSERT INTO [Language] (Name, Français, English, RefGroup) "
              "VALUES ('ORDERLIST', 'Bons de commande', 'Bons de commande', 0)"),
    statement("1.24",
              "INSERT INTO DocumentsTypes (DefaultName, ID_Lng) "
              "SELECT Name, ID FROM [Language] WHERE Name='ORDERLIST'"),
    statement("1.24",
              "UPDATE [Language] SET Français='Offres commerciales véranda' "
              "WHERE Name='COMMERCIAL_OFFER'"),
    statement("1.24",
              "UPDATE [Language] SET Français='Documents de fabrication' "
              "WHERE Name='MATERIALSLIST'"),
    statement("1.24",
              "INSERT INTO TemplatesDocsPaths (Title, Docname, Tree) "
              "SELECT 'Bons de commande', 'Bon de commande', ID FROM [Language] "
              "WHERE Name='ORDERLIST'"),

    statement("1.25",
              "INSERT INTO [Language] (Name, Français, English, RefGroup) "
              "VALUES ('DELIVERYLIST', 'Bons de livraison', 'Bons de livraison', 0)"),
    statement("1.25",
              "INSERT INTO DocumentsTypes (DefaultName, ID_Lng) "
              "SELECT Name, ID FROM [Language] WHERE Name='DELIVERYLIST'"),
    statement("1.25",
              "INSERT INTO TemplatesDocsPaths (Title, Docname, Tree) "
              "SELECT 'Bons de livraison', 'Bon de livraison', ID FROM [Language] "
              "WHERE Name='DELIVERYLIST'"),

    statement("1.26", kSingleArticles),
    statement("1.26", kConstructions),
    statement("1.26", kSubcontracting),
    statement("1.26", kMiscellaneous),
    statement("1.26", kFormulas),
    statement("1.26", "DROP TABLE DEVISNODESARTICLEDATA"),
    statement("1.26", kNodesOfFiveKinds),
    statement("1.26",
              "CREATE TABLE ArticleArticlesGroupe (Id AUTOINCREMENT PRIMARY KEY, "
              "ArticlesId INTEGER, ArticleGroupeId INTEGER, Name VARCHAR(50))"),
    statement("1.26",
              "CREATE TABLE ArticlesGroupes (Id AUTOINCREMENT PRIMARY KEY, "
              "GroupeName VARCHAR(50), GroupeType INTEGER, id_lng INTEGER, Provider VARCHAR(50))"),
    statement("1.26",
              "CREATE TABLE CoefPriceEngine (Id AUTOINCREMENT PRIMARY KEY, Provider VARCHAR(50), "
              "IdParent INTEGER, ValueType INTEGER, ValueData REAL, DataId INTEGER, "
              "id_lng INTEGER)"),
    statement("1.26",
              "CREATE TABLE LabourPost (Id AUTOINCREMENT PRIMARY KEY, id_lng INTEGER, "
              "DataValue REAL, Provider VARCHAR(50), UnitOfTime REAL, Id_Post INTEGER, "
              "Discount REAL)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 3, 1010)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 5, 1010)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 6, 1010)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 7, 1010)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 8, 1010)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 9, 1010)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 10, 1010)"),
    statement("1.26", "ALTER TABLE Devis_info_formula DROP COLUMN ComputeValue"),
    statement("1.26", "ALTER TABLE Devis_info_formula ADD COLUMN ComputeValue REAL"),
    statement("1.26", "ALTER TABLE Devis ADD COLUMN GLOBALDISCOUNT REAL"),
    statement("1.26", "ALTER TABLE Devis ADD COLUMN DEVISEID INTEGER"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 3, 1020)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 5, 1020)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 6, 1020)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 7, 1020)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 8, 1020)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 9, 1020)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 755, 800)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 104, 840)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 104, 860)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 105, 1020)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 105, 1040)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 759, 840)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 5, 405)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 6, 405)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 7, 405)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 8, 405)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 9, 405)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 3, 404)"),
    statement("1.26", "ALTER TABLE Devis_info_construction ALTER COLUMN PriceList VARCHAR(100)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 105, 1020)"),
    statement("1.26",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 105, 1030)"),

    statement("1.27",
              "CREATE TABLE CompanyData (Id AUTOINCREMENT PRIMARY KEY, ComputeMode INTEGER )"),
    statement("1.27", "INSERT INTO CompanyData (ComputeMode) VALUES (0)"),

    statement("1.28",
              "UPDATE [Language] SET English='Commercial reports', "
              "Nederlands='Commercïele rapporten', Deutsch='Kaufmannischese berichte', "
              "Polski='??\?' WHERE Name='COMMERCIAL_OFFER'"),
    statement("1.28",
              "UPDATE [Language] SET English='Company data', Nederlands='Bedrijfs informatie', "
              "Deutsch='Unternehmensdaten', Polski='??\?' WHERE Name='DOC_ENTREP'"),
    statement("1.28",
              "UPDATE [Language] SET English='Templates', Nederlands='Schablonen', "
              "Deutsch='Schablone', Polski='??\?' WHERE Name='LETERS_TYPES'"),
    statement("1.28",
              "UPDATE [Language] SET English='Quotation', Nederlands='Offerte', "
              "Deutsch='Angebot', Polski='??\?' WHERE Name='DEVIS'"),
    statement("1.28",
              "UPDATE [Language] SET English='Material list', Nederlands='Materiaal lijst', "
              "Deutsch='Schnittliste', Polski='??\?' WHERE Name='MATERIALSLIST'"),
    statement("1.28",
              "UPDATE [Language] SET English='Order list', Nederlands='bestellijst', "
              "Deutsch='Bestellung', Polski='??\?' WHERE Name='ORDERLIST'"),
    statement("1.28",
              "UPDATE [Language] SET English='Delivery list', Nederlands='Lever nota', "
              "Deutsch='Lieferschein', Polski='??\?' WHERE Name='DELIVERYLIST'"),

    statement("1.29",
              "DELETE FROM RightsDevis WHERE (ID_Operation>=100 AND ID_Operation<=103) "
              "OR ID_Operation=750 OR ID_Operation=800"),
    statement("1.29",
              "UPDATE [Language] SET Nederlands='Bestellijst' WHERE Nederlands='bestellijst'"),

    statement("1.3", "DROP TABLE MACHINES"),
    statement("1.3",
              "CREATE TABLE MACHINES (ID AUTOINCREMENT, Name VARCHAR(50), "
              "ConstructorName VARCHAR(50), TypeM BYTE)"),
    statement("1.3", "CREATE UNIQUE INDEX Id_Machines ON MACHINES(ID) WITH PRIMARY"),
    statement("1.3", "DROP TABLE MACHINES_SCIES"),
    statement("1.3", "CREATE TABLE MACHINES_SCIES (Machines_ID LONG, SAW REAL)"),
    statement("1.3", "CREATE UNIQUE INDEX Id_Machines_Scies ON MACHINES_SCIES(Machines_ID)"),
    statement("1.3", "DROP TABLE Scies"),
    statement("1.3", kSaws),
    statement("1.3",
              "ALTER TABLE MACHINES_SCIES ADD CONSTRAINT fk_RefOnMachineID "
              "FOREIGN KEY (Machines_ID) REFERENCES MACHINES(ID)"),
    statement("1.3",
              "INSERT INTO Machines (Name, ConstructorName, TypeM) VALUES ('Fictif', 'Halvo', 0)"),
    statement("1.3", "INSERT INTO Machines_Scies (Machines_Id, Saw) VALUES (1, 4)"),

    statement("1.31",
              "CREATE TABLE POSTESFAB (ID AUTOINCREMENT, Name VARCHAR(50), TypeP BYTE, "
              "Machines_ID LONG)"),
    statement("1.31", "CREATE UNIQUE INDEX Id_PostesFab ON POSTESFAB(ID) WITH PRIMARY"),
    statement("1.31",
              "ALTER TABLE POSTESFAB ADD CONSTRAINT fk_RefOnMachineID "
              "FOREIGN KEY (Machines_ID) REFERENCES MACHINES(ID)"),
    statement("1.31", "INSERT INTO POSTESFAB (Name, TypeP, Machines_ID) VALUES ('Fictif', 0, 1)"),

    statement("1.32",
              "INSERT INTO [Language] (Name, Français, English, RefGroup) "
              "VALUES ('CALCULATION', 'Note de calcul', 'Calculation', 0)"),
    statement("1.32",
              "INSERT INTO DocumentsTypes (DefaultName, ID_Lng) "
              "SELECT Name, ID FROM [Language] WHERE Name='CALCULATION'"),
    statement("1.32",
              "INSERT INTO TemplatesDocsPaths (Title, Docname, Tree) "
              "SELECT 'Detail sans chute', 'Detail sans chute', ID FROM DocumentsTypes "
              "WHERE DefaultName='CALCULATION'"),
    statement("1.32",
              "INSERT INTO TemplatesDocsPaths (Title, Docname, Tree) "
              "SELECT 'Detail avec taux de chute', 'Detail avec taux de chute', ID "
              "FROM DocumentsTypes WHERE DefaultName='CALCULATION'"),
    statement("1.32",
              "INSERT INTO TemplatesDocsPaths (Title, Docname, Tree) "
              "SELECT 'Detail chutes reelles', 'Detail chutes reelles', ID FROM DocumentsTypes "
              "WHERE DefaultName='CALCULATION'"),

    statement("1.33", "ALTER TABLE MACHINES_SCIES ADD COLUMN AngleConversionType1 BYTE"),
    statement("1.33", "ALTER TABLE MACHINES_SCIES ADD COLUMN AngleConversionType2 BYTE"),
    statement("1.33", "UPDATE MACHINES_SCIES SET AngleConversionType1=1, AngleConversionType2=1"),
    statement("1.33", "DROP TABLE SCIES"),
    statement("1.33", kSawsWithAngleConversions),

    statement("1.34", "ALTER TABLE TemplatesDocsPaths ADD COLUMN id_lng INTEGER"),
    statement("1.34",
              "DELETE FROM TemplatesDocsPaths WHERE TREE IN "
              "(SELECT ID FROM DOCUMENTSTYPES WHERE DefaultName='MATERIALSLIST')"),
    statement("1.34",
              "DELETE FROM TemplatesDocsPaths WHERE TREE IN "
              "(SELECT ID FROM DOCUMENTSTYPES WHERE DefaultName='DELIVERYLIST')"),
    statement("1.34",
              "DELETE FROM TemplatesDocsPaths WHERE TREE IN "
              "(SELECT ID FROM DOCUMENTSTYPES WHERE DefaultName='ORDERLIST')"),
    statement("1.34",
              "DELETE FROM TemplatesDocsPaths WHERE TREE IN "
              "(SELECT ID FROM DOCUMENTSTYPES WHERE DefaultName='CALCULATION')"),
    statement("1.34",
              "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
              "VALUES  ('Fiche de fabrication', 'Fiche de fabrication', 'Fiche de fabrication', "
              "'Fiche de fabrication', 'Fiche de fabrication', 0)"),
    statement("1.34",
              "INSERT INTO TemplatesDocsPaths (Title, DocName, TREE, id_lng) "
              "SELECT 'Fiche de fabrication', 'Fiche de fabrication', DOCUMENTSTYPES.id, "
              "[Language].id FROM [Language], DOCUMENTSTYPES "
              "WHERE [Language].Name = 'Fiche de fabrication' AND "
              "DOCUMENTSTYPES.defaultname='MATERIALSLIST'"),
    statement("1.34",
              "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
              "VALUES  ('Liste des débits', 'Liste des débits', 'Liste des débits', "
              "'Liste des débits', 'Fiche de fabrication', 0)"),
    statement("1.34",
              "INSERT INTO TemplatesDocsPaths (Title, DocName, TREE, id_lng) "
              "SELECT 'Liste des débits', 'Liste des débits', DOCUMENTSTYPES.id, "
              "[Language].id FROM [Language], DOCUMENTSTYPES "
              "WHERE [Language].Name = 'Liste des débits' AND "
              "DOCUMENTSTYPES.defaultname='MATERIALSLIST'"),
    statement("1.34",
              "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
              "VALUES  ('Bons de livraison', 'Bons de livraison', 'Bons de livraison', "
              "'Bons de livraison', 'Bons de livraison', 0)"),
    statement("1.34",
              "INSERT INTO TemplatesDocsPaths (Title, DocName, TREE, id_lng) "
              "SELECT 'Bons de livraison', 'Bons de livraison', DOCUMENTSTYPES.id, "
              "[Language].id FROM [Language], DOCUMENTSTYPES "
              "WHERE [Language].Name = 'Bons de livraison' AND "
              "DOCUMENTSTYPES.defaultname='DELIVERYLIST'"),
    statement("1.34",
              "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
              "VALUES  ('Bon de commande', 'Bon de commande', 'Bon de commande', "
              "'Bon de commande', 'Bon de commande', 0)"),
    statement("1.34",
              "INSERT INTO TemplatesDocsPaths (Title, DocName, TREE, id_lng) "
              "SELECT 'Bon de commande', 'Bon de commande', DOCUMENTSTYPES.id, "
              "[Language].id FROM [Language], DOCUMENTSTYPES "
              "WHERE [Language].Name = 'Bon de commande' AND "
              "DOCUMENTSTYPES.defaultname='ORDERLIST'"),
    statement("1.34",
              "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
              "VALUES  ('Detail sans chute', 'Detail sans chute', 'Detail sans chute', "
              "'Detail sans chute', 'Detail sans chute', 0)"),
    statement("1.34",
              "INSERT INTO TemplatesDocsPaths (Title, DocName, TREE, id_lng) "
              "SELECT 'Detail sans chute', 'Detail sans chute', DOCUMENTSTYPES.id, "
              "[Language].id FROM [Language], DOCUMENTSTYPES "
              "WHERE [Language].Name = 'Detail sans chute' AND "
              "DOCUMENTSTYPES.defaultname='CALCULATION'"),
    statement("1.34",
              "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
              "VALUES  ('Detail avec taux de chute', 'Detail avec taux de chute', "
              "'Detail avec taux de chute', 'Detail avec taux de chute', "
              "'Detail avec taux de chute', 0)"),
    statement("1.34",
              "INSERT INTO TemplatesDocsPaths (Title, DocName, TREE, id_lng) "
              "SELECT 'Detail avec taux de chute', 'Detail avec taux de chute', "
              "DOCUMENTSTYPES.id, [Language].id FROM [Language], DOCUMENTSTYPES "
              "WHERE [Language].Name = 'Detail avec taux de chute' AND "
              "DOCUMENTSTYPES.defaultname='CALCULATION'"),
    statement("1.34",
              "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
              "VALUES  ('Detail chutes reelles', 'Detail chutes reelles', "
              "'Detail chutes reelles', 'Detail chutes reelles', 'Detail chutes reelles', 0)"),
    statement("1.34",
              "INSERT INTO TemplatesDocsPaths (Title, DocName, TREE, id_lng) "
              "SELECT 'Detail chutes reelles', 'Detail chutes reelles', DOCUMENTSTYPES.id, "
              "[Language].id FROM [Language], DOCUMENTSTYPES "
              "WHERE [Language].Name = 'Detail chutes reelles' AND "
              "DOCUMENTSTYPES.defaultname='CALCULATION'"),
    statement("1.34",
              "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
              "VALUES  ('Coupes et plans de montages', 'Coupes et plans de montages', "
              "'Doorsnede en montagetekeningen', 'Sections and assembly drawings', "
              "'Schnitte und Einbauzeichnungen', 0)"),
    statement("1.34",
              "INSERT INTO TemplatesDocsPaths (Title, DocName, TREE, id_lng) "
              "SELECT 'Coupes et plans de montages', 'Coupes et plans de montages', "
              "DOCUMENTSTYPES.id, [Language].id FROM [Language], DOCUMENTSTYPES "
              "WHERE [Language].Name = 'Coupes et plans de montages' AND "
              "DOCUMENTSTYPES.defaultname='MATERIALSLIST'"),

    statement("1.35",
              "DELETE FROM TEMPLATESDOCSPATHS WHERE TITLE IN (  'Devis allégé', "
              "'Offre simple véranda', 'Offre détaillée véranda')"),

    statement("1.36",
              "UPDATE [Language] SET Nederlands='Calculatielijst'  WHERE Name='COMMERCIAL_OFFER'"),
    statement("1.36",
              "UPDATE [Language] SET English='Manufacturing order', Nederlands='Productielijst', "
              "Deutsch='??\?', Polski='??\?' WHERE Name='Fiche de fabrication'"),
    statement("1.36",
              "UPDATE [Language] SET English='Calculation', Nederlands='Prijs berekening', "
              "Deutsch='??\?', Polski='??\?' WHERE Name='CALCULATION'"),
    statement("1.36",
              "UPDATE [Language] SET English='Cutting List', Nederlands='Zaaglijst', "
              "Deutsch='??\?', Polski='??\?' WHERE Name='Liste des débits'"),
    statement("1.36",
              "UPDATE [Language] SET English='Delivery list', Nederlands='Levernotas', "
              "Deutsch='??\?', Polski='??\?' WHERE Name='Bons de livraison'"),
    statement("1.36",
              "UPDATE [Language] SET English='Order note', Nederlands='Bestelbon', "
              "Deutsch='??\?', Polski='??\?' WHERE Name='Bon de commande'"),
    statement("1.36",
              "UPDATE [Language] SET English='Detail without spill', "
              "Nederlands='Detail zonder verlies', Deutsch='??\?', Polski='??\?' "
              "WHERE Name='Detail sans chute'"),
    statement("1.36",
              "UPDATE [Language] SET English='Detail with spill', "
              "Nederlands='Detail met vast verlies', Deutsch='??\?', Polski='??\?' "
              "WHERE Name='Detail avec taux de chute'"),
    statement("1.36",
              "UPDATE [Language] SET English='Detail with real spill', "
              "Nederlands='Detail met reëel verlies', Deutsch='??\?', Polski='??\?' "
              "WHERE Name='Detail chutes reelles'"),

    statement("1.37",
              "CREATE TABLE INVALIDARTPRICES (ID AUTOINCREMENT PRIMARY KEY, PROVIDER VARCHAR(50), "
              "REFARTICLE VARCHAR(50), COLORIN VARCHAR(50), FININ VARCHAR(50), "
              "COLOROUT VARCHAR(50), FINOUT VARCHAR(50), PACKAGING REAL, PRIX REAL)"),

    statement("1.38",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 3, 420)"),
    statement("1.38",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 3, 421)"),

    statement("1.39",
              "UPDATE [Language] SET Deutsch='Kaufmännische berichte'  "
              "WHERE Name='COMMERCIAL_OFFER'"),
    statement("1.39",
              "UPDATE [Language] SET Deutsch='Notierung der Berechnung'  WHERE Name='CALCULATION'"),
    statement("1.39",
              "UPDATE [Language] SET Deutsch='Karte der Fertigung'  "
              "WHERE Name='Fiche de fabrication'"),
    statement("1.39",
              "UPDATE [Language] SET Deutsch='Notierung der Berechnung'  "
              "WHERE Name='Liste des débits'"),
    statement("1.39",
              "UPDATE [Language] SET Deutsch='Liste der Absätze'  WHERE Name='Bons de livraison'"),
    statement("1.39",
              "UPDATE [Language] SET Deutsch='Bestellschein'  WHERE Name='Bon de commande'"),
    statement("1.39",
              "UPDATE [Language] SET Deutsch='Detail ohne Fall'  WHERE Name='Detail sans chute'"),
    statement("1.39",
              "UPDATE [Language] SET Deutsch='Detail mit Rate von Fall'  "
              "WHERE Name='Detail avec taux de chute'"),
    statement("1.39",
              "UPDATE [Language] SET Deutsch='Detail wirkliche Fälle'  "
              "WHERE Name='Detail chutes reelles'"),
    statement("1.39",
              "UPDATE [Language] SET Deutsch='Schnitte und Einbauzeichnungen'  "
              "WHERE Name='Coupes et plans de montages'"),

    statement("1.4",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 6, 381)"),

    statement("1.41",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 3, 422)"),

    statement("1.42", "ALTER TABLE LabourPost ADD COLUMN DataType INTEGER"),
    statement("1.42", "ALTER TABLE LabourPost ADD COLUMN Id_Model INTEGER"),
    statement("1.42", "UPDATE LabourPost SET DataType=-2 WHERE Provider IS NULL"),
    statement("1.42", "UPDATE LabourPost SET DataType=-3 WHERE Provider IS NOT NULL"),
    statement("1.42", kLabourRates),
    statement("1.42",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 3, 423)"),
    statement("1.42",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 755, 423)"),
    statement("1.42",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 5, 423)"),

    statement("1.43",
              "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
              "VALUES  ('Synthese daffaire', 'Synthese affaire', 'Synthese', 'Synthesis', "
              "'Synthese', 0)"),
    statement("1.43",
              "INSERT INTO TemplatesDocsPaths (Title, DocName, TREE, id_lng) "
              "SELECT 'Synthese daffaire', 'Synthese daffaire', DOCUMENTSTYPES.id, "
              "[Language].id FROM [Language], DOCUMENTSTYPES "
              "WHERE [Language].Name = 'Synthese daffaire' AND "
              "DOCUMENTSTYPES.defaultname='CALCULATION'"),
    statement("1.43", "ALTER TABLE Devis ADD COLUMN FALLRATE REAL"),
    statement("1.43", "ALTER TABLE Devis ADD COLUMN OPTIMIZEDPRICE REAL"),
    statement("1.43", "ALTER TABLE Devis ADD COLUMN REALPRICE REAL"),

    statement("1.44",
              "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
              "VALUES  ('Synthese MO', 'Synthese Main d oeuvre', 'Synthese Werktijd', "
              "'Manufacturing Synthesis', 'Synthese Arbeitszeit', 0)"),
    statement("1.44",
              "INSERT INTO TemplatesDocsPaths (Title, DocName, TREE, id_lng) "
              "SELECT 'Synthese MO', 'Synthese MO', DOCUMENTSTYPES.id, "
              "[Language].id FROM [Language], DOCUMENTSTYPES "
              "WHERE [Language].Name = 'Synthese MO' AND "
              "DOCUMENTSTYPES.defaultname='CALCULATION'"),

    statement("1.45",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 106, 900)"),

    statement("1.46",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 5, 410)"),
    statement("1.46",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 6, 410)"),
    statement("1.46",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 7, 410)"),
    statement("1.46",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 8, 410)"),
    statement("1.46",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 9, 410)"),
    statement("1.46",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 10, 410)"),

    statement("1.47",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 6, 383)"),

    statement("1.48", "ALTER TABLE Devis ADD COLUMN FALLPRICE REAL"),
    statement("1.48", "ALTER TABLE Devis ADD COLUMN REALFALLPRICE REAL"),
    statement("1.48", "ALTER TABLE Devis ADD COLUMN GLOBALMARGIN REAL"),

    statement("1.49", "ALTER TABLE Devis ADD COLUMN LABOURPRICE REAL"),

    statement("1.5",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 3, 409)"),
    statement("1.5",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 4, 409)"),
    statement("1.5",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 5, 409)"),
    statement("1.5",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 6, 409)"),
    statement("1.5",
              "INSERT INTO rightsDevis (id_user, node_type, id_operation) VALUES (2, 7, 409)"),

    statement("1.51",
              "CREATE TABLE ApplicationUserRightGroups (ID AUTOINCREMENT PRIMARY KEY, "
              "RightsGroupName VARCHAR(50), RightsACL LONG, RightsACL2 LONG, "
              "RightsCheck VARCHAR(50), RightsGroupStatus LONG)"),
    statement("1.51",
              "CREATE TABLE ApplicationUsers (ID AUTOINCREMENT PRIMARY KEY, UserName VARCHAR(50), "
              "UserStatus VARCHAR(50), RightsModel LONG, UserPassword VARCHAR(50), "
              "UserCheck VARCHAR(50))"),
    statement("1.51", "ALTER TABLE Version ADD COLUMN UsersCheck VARCHAR(50)"),
    statement("1.51",
              "UPDATE [Language] SET English='Commercial reports',  Nederlands='Calculatielijst',  "
              "Deutsch='Kaufmännische berichte',  Polski='Raporty produkcyjne' "
              "WHERE Name='COMMERCIAL_OFFER'"),
    statement("1.51",
              "UPDATE [Language] SET English='Company data',  Nederlands='Bedrijfsinformatie',  "
              "Deutsch='Unternehmensdaten',  Polski='Dane firmy' WHERE Name='DOC_ENTREP'"),
    statement("1.51",
              "UPDATE [Language] SET English='Templates',  Nederlands='Sjablonen',  "
              "Deutsch='Schablone',  Polski='Szablony' WHERE Name='LETERS_TYPES'"),
    statement("1.51",
              "UPDATE [Language] SET English='Quotation',  Nederlands='Offerte',  "
              "Deutsch='Angebot',  Polski='Wycena' WHERE Name='DEVIS'"),
    statement("1.51",
              "UPDATE [Language] SET English='Material list',  Nederlands='Materiaallijst',  "
              "Deutsch='Schnittliste',  Polski='Lista materia?owa' WHERE Name='MATERIALSLIST'"),
    statement("1.51",
              "UPDATE [Language] SET English='Delivery list',  Nederlands='Levernota',  "
              "Deutsch='Lieferschein',  Polski='Dokument dostawy' WHERE Name='DELIVERYLIST'"),
    statement("1.51",
              "UPDATE [Language] SET English='Order list',  Nederlands='Bestellijst',  "
              "Deutsch='Bestellung',  Polski='Zamówienie' WHERE Name='ORDERLIST'"),
    statement("1.51",
              "UPDATE [Language] SET English='Calculation',  Nederlands='Prijsberekening',  "
              "Deutsch='Preiseberechnung',  Polski='Kalkulacja' WHERE Name='CALCULATION'"),
    statement("1.51",
              "UPDATE [Language] SET English='Manufacturing order',  "
              "Nederlands='Productielijst',  Deutsch='Fertigungsliste',  "
              "Polski='Zamówienie prefabrykacji' WHERE Name='Fiche de fabrication'"),
    statement("1.51",
              "UPDATE [Language] SET English='Cutting List',  Nederlands='Zaaglijst',  "
              "Deutsch='Sägeliste',  Polski='Lista ci?\?' WHERE Name='Liste des débits'"),
    statement("1.51",
              "UPDATE [Language] SET English='Delivery list',  Nederlands='Levernotas',  "
              "Deutsch='Lieferschein',  Polski='Dokument dostawy' WHERE Name='Bons de livraison'"),
    statement("1.51",
              "UPDATE [Language] SET English='Order note',  Nederlands='Bestelbon',  "
              "Deutsch='Bestellschein',  Polski='Notatka dostawy' WHERE Name='Bon de commande'"),
    statement("1.51",
              "UPDATE [Language] SET English='Detail without waste',  "
              "Nederlands='Detail zonder verlies',  Deutsch='Detail ohne Verschnitt',  "
              "Polski='Detale bez odpadu' WHERE Name='Detail sans chute'"),
    statement("1.51",
              "UPDATE [Language] SET English='Detail with waste',  "
              "Nederlands='Detail met vast verlies',  Deutsch='Detail mit festen  Verschnitt',  "
              "Polski='Detale z odpadem' WHERE Name='Detail avec taux de chute'"),
    statement("1.51",
              "UPDATE [Language] SET English='Detail with real waste',  "
              "Nederlands='Detail met reëel verlies',  Deutsch='Detail reellen Verschnitt',  "
              "Polski='Detale z rzeczywistym odpadem' WHERE Name='Detail chutes reelles'"),
    statement("1.51",
              "UPDATE [Language] SET English='Sections and assembly drawings',  "
              "Nederlands='Doorsneden en montagetekeningen',  "
              "Deutsch='Schnitte und Einbauzeichnungen',  "
              "Polski='Przekroje i rysunki monta?owe' WHERE Name='Coupes et plans de montages'"),
    statement("1.51",
              "UPDATE [Language] SET English='Synthesis',  Nederlands='Synthese',  "
              "Deutsch='Synthese',  Polski='Synteza' WHERE Name='Synthese daffaire'"),
    statement("1.51",
              "UPDATE [Language] SET English='Manufacturing Synthesis',  "
              "Nederlands='Synthese Werktijd',  Deutsch='Synthese Arbeitszeit',  "
              "Polski='Prefabrykacja syntezy' WHERE Name='Synthese MO'"),

    statement("1.52", "ALTER TABLE CompanyData ADD COLUMN FallingMode LONG"),

    statement("1.53",
              "CREATE TABLE ArticleArticlesGroupe (Id AUTOINCREMENT PRIMARY KEY, "
              "ArticlesId INTEGER, ArticleGroupeId INTEGER, Name VARCHAR(50))"),

    statement("1.54", "ALTER TABLE DOSSIERS ADD COLUMN PROGRESSSTATE INTEGER"),
    statement("1.54", "UPDATE DOSSIERS SET PROGRESSSTATE=0"),

    statement("1.55",
              "CREATE TABLE USERTEXTS (ID AUTOINCREMENT, TXTTYPE BYTE, TXTTEXT MEMO, "
              "LNGFILTER INTEGER)"),

#define ORVDB_STAMPS(VERSION, TABLE)                                                \
    statement(VERSION, "ALTER TABLE " TABLE " ADD COLUMN CREATIONDATE DATETIME"),   \
        statement(VERSION, "ALTER TABLE " TABLE " ADD COLUMN UPDATEDATE DATETIME"), \
        statement(VERSION, "ALTER TABLE " TABLE " ADD COLUMN REMOTEID INTEGER")
    ORVDB_STAMPS("1.56", "DOSSIERS"),
    ORVDB_STAMPS("1.56", "DEVIS"),
    ORVDB_STAMPS("1.56", "DOSSIERDEVISTREENODES"),
    ORVDB_STAMPS("1.56", "PEOPLE"),
    ORVDB_STAMPS("1.56", "VATID"),
    ORVDB_STAMPS("1.56", "DOSSIERSGROUPS"),
    ORVDB_STAMPS("1.56", "Devis_info_article"),
    ORVDB_STAMPS("1.56", "Devis_info_construction"),
    ORVDB_STAMPS("1.56", "Devis_info_formula"),
    ORVDB_STAMPS("1.56", "Devis_Info_Subcontracting"),
    ORVDB_STAMPS("1.56", "Devis_Models_Formula"),
    statement("1.56", "ALTER TABLE Devis_info_construction ADD COLUMN MAINPROVIDER VARCHAR(50)"),
    statement("1.56", "ALTER TABLE Devis_info_construction ADD COLUMN MAINSERIE VARCHAR(50)"),

    statement("1.57", "DROP TABLE DEVISNODESSINGLEARTICLEDATA"),
    statement("1.57", kSingleArticles),
    statement("1.57", "DROP TABLE DEVISNODESCONSTRUCTIONARTICLEDATA"),
    statement("1.57", kConstructions),
    statement("1.57", "DROP TABLE DEVISNODESSUBCONTRDATA"),
    statement("1.57", kSubcontracting),
    statement("1.57", "DROP TABLE DEVISNODESMISCDATA"),
    statement("1.57", kMiscellaneous),
    statement("1.57", "DROP TABLE DEVISNODESFORMULADATA"),
    statement("1.57", kFormulas),

    statement("1.58", "ALTER TABLE [Language] ADD COLUMN Svenska VARCHAR(50)"),
    statement("1.58", "ALTER TABLE [Language] ADD COLUMN Norsk VARCHAR(50)"),
    statement("1.58", "ALTER TABLE [Language] ADD COLUMN Dansk VARCHAR(50)"),
    statement("1.58", "ALTER TABLE [Language] ADD COLUMN Suomi VARCHAR(50)"),

    statement("1.59",
              "ALTER TABLE DOSSIERS ADD COLUMN BuildSite VARCHAR(50), BuildSiteStreet VARCHAR(50), "
              "BuildSitePC VARCHAR(50), BuildSiteCity VARCHAR(50), BuildSiteCountry VARCHAR(50), "
              "BuildSiteDepartment VARCHAR(50), InstallDate DATETIME, MeasurementDate DATETIME, "
              "QtySurveyor VARCHAR(50), Comment VARCHAR(50)"),

    statement("1.6", "ALTER TABLE DOSSIERS ADD COLUMN ORDERREF VARCHAR(50)"),
    statement("1.6", "ALTER TABLE DOSSIERS ADD COLUMN MANUFACTUREREF VARCHAR(50)"),
    statement("1.6", "ALTER TABLE DOSSIERS ADD COLUMN DELIVERYREF VARCHAR(50)"),
    statement("1.6", "ALTER TABLE DOSSIERS ADD COLUMN INSTALLTEAM VARCHAR(50)"),

    statement("1.61", "ALTER TABLE USERTEXTS ADD COLUMN PARENT INTEGER"),
    statement("1.61", "UPDATE USERTEXTS SET PARENT=-1"),

    statement("1.62", "ALTER TABLE Devis_info_construction ALTER COLUMN PriceList VARCHAR(200)"),

    statement("1.63", "ALTER TABLE RIGHTSONDOSSIERSGROUPS ADD COLUMN USERGROUPID Integer"),
    statement("1.63", "ALTER TABLE RIGHTSONDOSSIERSGROUPS ADD COLUMN USERGROUPRIGHT Text"),
    statement("1.63", "ALTER TABLE RIGHTSONDOSSIERSGROUPS DROP COLUMN USERID"),
    statement("1.63", "ALTER TABLE RIGHTSONDOSSIERSGROUPS DROP COLUMN [RIGHT]"),
    statement("1.63", "UPDATE RIGHTSONDOSSIERSGROUPS SET USERGROUPID=1, USERGROUPRIGHT='w'"),
    ORVDB_STAMPS("1.63", "PEOPLEGROUPS"),
    statement("1.63", "ALTER TABLE rightsDevis ADD COLUMN id_user_group Integer"),
    statement("1.63", "ALTER TABLE rightsDevis DROP COLUMN id_user"),
    statement("1.63", "ALTER TABLE DEVIS DROP COLUMN DATE_CREATION"),
    statement("1.63",
              "SELECT * INTO TmpApplicationUserRightGroups FROM ApplicationUserRightGroups"),
    statement("1.63", "SELECT * INTO TmpApplicationUsers FROM ApplicationUsers"),
    statement("1.63", "ALTER TABLE ApplicationUserRightGroups ALTER COLUMN RightsACL OLEOBJECT"),
    statement("1.63",
              "CREATE TABLE Locks  (ID AUTOINCREMENT, DossierId LONG, UserId LONG, "
              "lockDate DATETIME, Comment MEMO, GPAOLock Integer)"),

    ORVDB_STAMPS("1.64", "PROJECTDOC"),
#undef ORVDB_STAMPS

    statement("1.65",
              "CREATE TABLE DossierSorted  (ID AUTOINCREMENT, CurrentColumnId LONG, "
              "SortOrder LONG, UserId LONG)"),

    statement("1.66", "ALTER TABLE [Language] ADD Español VARCHAR(255)"),

    statement("1.67",
              "INSERT INTO [Language] (Name, Français, English, Deutsch, RefGroup) "
              "VALUES ('STATIC', 'Statique', 'Static', 'Statische', 0)"),
    statement("1.67",
              "INSERT INTO DocumentsTypes (DefaultName, ID_Lng) "
              "SELECT Name, ID FROM [Language] WHERE Name='STATIC'"),
    statement("1.67",
              "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
              "VALUES  ('Calcul statique', 'Note de calcul statique', '', 'Static calculation', "
              "'Statische Berechnung', 0)"),
    statement("1.67",
              "INSERT INTO TemplatesDocsPaths (Title, DocName, TREE, id_lng) "
              "SELECT 'Calcul statique', 'Calcul statique', DOCUMENTSTYPES.id, "
              "[Language].id FROM [Language], DOCUMENTSTYPES "
              "WHERE [Language].Name = 'Calcul statique' AND "
              "DOCUMENTSTYPES.defaultname='STATIC'"),

    script("1.68", 1, block<rebuildUsersAndRightsGroups>),

    statement("1.69", "ALTER TABLE Locks ADD COLUMN GPAOLock INTEGER"),

    statement("1.7", "ALTER TABLE DOSSIERSGROUPSEXPANDED ADD COLUMN Source INTEGER"),
    statement("1.7", "UPDATE DOSSIERSGROUPSEXPANDED SET Source=1"),

    statement("1.71", "ALTER TABLE TEMPLATESDOCSPATHS ADD COLUMN id_Parent INTEGER"),
    statement("1.71", "UPDATE TEMPLATESDOCSPATHS SET id_Parent=0"),

    statement("1.72", "ALTER TABLE ApplicationUserRightGroups ADD COLUMN GroupAccesStr Text"),
    statement("1.72", "UPDATE ApplicationUserRightGroups SET GroupAccesStr='1|' WHERE 1=1"),

    statement("1.73", "ALTER TABLE ApplicationUsers ADD COLUMN VisibilityOnLogin Integer"),
    statement("1.73", "UPDATE ApplicationUsers SET VisibilityOnLogin=3"),

    statement("1.74",
              "UPDATE [Language] SET Name='SCIENTIFIC_REPORTS', English='Scientific reports', "
              "Français='Rapports scientifiques', Deutsch='Wissenschaftliche Berichte' "
              "WHERE Name='STATIC'"),
    statement("1.74",
              "UPDATE DocumentsTypes SET DefaultName='SCIENTIFIC_REPORTS' "
              "WHERE DefaultName='STATIC'"),
    statement("1.74",
              "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
              "VALUES  ('Calcul thermique', 'Note de calcul thermique', '', "
              "'Thermic calculation', 'Thermic Berechnung', 0)"),
    statement("1.74",
              "INSERT INTO TemplatesDocsPaths (Title, DocName, TREE, id_lng) "
              "SELECT 'Calcul thermique', 'Calcul thermique', DOCUMENTSTYPES.id, "
              "[Language].id FROM [Language], DOCUMENTSTYPES "
              "WHERE [Language].Name = 'Calcul thermique' AND "
              "DOCUMENTSTYPES.defaultname='SCIENTIFIC_REPORTS'"),

    statement("1.75",
              "CREATE TABLE TitleTree_Mode (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))"),
    statement("1.75", "INSERT INTO TitleTree_Mode (Name) VALUES ('DEFAULT')"),
    statement("1.75", "INSERT INTO TitleTree_Mode (Name) VALUES ('Liste')"),
    statement("1.75", "INSERT INTO TitleTree_Mode (Name) VALUES ('Devis')"),

    statement("1.76", "ALTER TABLE Devis_info_construction ALTER COLUMN Description VARCHAR (255)"),
    statement("1.76", "ALTER TABLE Machines_SCIES ADD COLUMN BeginWaste Real"),
    statement("1.76", "ALTER TABLE Machines_SCIES ADD COLUMN EndWaste Real"),
    statement("1.76", "ALTER TABLE Machines_SCIES ADD COLUMN OverLength Real"),
    statement("1.76", "UPDATE Machines_SCIES SET BeginWaste=50, EndWaste=50, OverLength=3"),

    script("1.77", 2, block<remapComputationCodes>),

    statement("1.78",
              "CREATE TABLE TitleTree (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), "
              "ParentId LONG)"),
    statement("1.78",
              "CREATE TABLE TitleTree_Column (ID AUTOINCREMENT PRIMARY KEY, ModeId LONG, "
              "TitleId LONG, ColumnId Long, LabelId VARCHAR(50), Ratio REAL)"),
    statement("1.78",
              "CREATE TABLE GroupText (ID AUTOINCREMENT PRIMARY KEY, RefGroup LONG, "
              "Name VARCHAR(50), Color VARCHAR(20), Filter1 LONGTEXT, Description VARCHAR(50), "
              "[Position] INTEGER)"),
    statement("1.78",
              "CREATE TABLE LanguageExpression (ID AUTOINCREMENT, LngID LONG, "
              "Expression VARCHAR(255))"),
    statement("1.78", "CREATE UNIQUE INDEX pk_LanguageExpression ON LanguageExpression(ID) "),

    script("1.79", 3, block<addReportLabels>),

    statement("1.8", "DROP TABLE DEVISNODESCONSTRUCTIONARTICLEDATA"),
    statement("1.8", kConstructionsWithoutType11),
    statement("1.8", "DROP TABLE DEVISNODESSINGLEARTICLEDATA"),
    statement("1.8", kSingleArticlesOfType11),

    script("1.94", 6, block<renameLanguageAndTreeModes>),

    statement("1.98", "ALTER TABLE DEVIS ADD COLUMN MaterialTreeStatus LONG"),
    statement("1.98", "ALTER TABLE Devis_info_construction ADD COLUMN ComputesModesId LONG"),
    statement("1.98", "ALTER TABLE Devis_info_construction ADD COLUMN IdInDevis VARCHAR(10)"),
    statement("1.98", "UPDATE Devis_info_construction SET ComputesModesId=0"),
    statement("1.98", "ALTER TABLE CompanyData ADD COLUMN DefaultComputesModesId LONG"),
    statement("1.98", "ALTER TABLE CompanyData DROP COLUMN FallingMode"),
    statement("1.98",
              "CREATE TABLE Devis_price_construction (IdConstruction LONG, IdComputesModes LONG, "
              "Price FLOAT)"),
    statement("1.98",
              "CREATE TABLE ComputesModes (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), "
              "TranslationId LONG)"),
    statement("1.98",
              "CREATE TABLE ComputesModesData (ComputesModesId LONG, MaterialObjectType LONG, "
              "PackagingMode LONG, PriceMode LONG)"),
    statement("1.98",
              "CREATE TABLE DevisObjectProvider (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), "
              "Version FLOAT)"),
    statement("1.98",
              "CREATE TABLE Packaging_Article (ID AUTOINCREMENT PRIMARY KEY, ArticleId LONG, "
              "ProviderId LONG)"),
    statement("1.98", "CREATE TABLE Packaging_Pref (PackagingPrefId LONG, PackagingId LONG)"),

    script("2.0", 8, block<createComputationModes>),

    statement("2.01",
              "DELETE FROM zv_Language WHERE Id=(SELECT Id_Lng FROM TemplatesDocsPaths "
              "WHERE DocName='Detail avec taux de chute')"),
    statement("2.01", "DELETE FROM TemplatesDocsPaths WHERE DocName='Detail avec taux de chute'"),
    statement("2.01",
              "DELETE FROM zv_Language WHERE Id=(SELECT Id_Lng FROM TemplatesDocsPaths "
              "WHERE DocName='Detail chutes reelles')"),
    statement("2.01", "DELETE FROM TemplatesDocsPaths WHERE DocName='Detail chutes reelles'"),
    statement("2.01",
              "UPDATE TemplatesDocsPaths SET DocName='Detail' WHERE DocName='Detail sans chute'"),
    statement("2.01",
              "UPDATE TemplatesDocsPaths SET DocName='Detail' WHERE DocName='Detail sans chute'"),
    statement("2.01",
              "UPDATE zv_Language SET Name='Detail', Français='Détail', English='Detail' "
              "WHERE Name='Detail sans chute'"),
    statement("2.01", "ALTER TABLE Devis_info_construction ALTER COLUMN Description MEMO"),

    statement("2.02",
              "Create Table ConstrPrintedVar (ConstrId LONG, VarName VARCHAR(100), "
              "VarValue VARCHAR(100))"),

    statement("2.03", "DROP TABLE DEVISNODESCONSTRUCTIONARTICLEDATA"),
    statement("2.03", kConstructionsWithMainSeries),
    statement("2.03", "DROP TABLE DEVISNODESARTICLEDATA"),
    statement("2.03", kNodesWithMainSeries),

    statement("2.04", "ALTER TABLE Devis_info_construction ADD COLUMN Dimensions VARCHAR(50)"),

    statement("2.05",
              "UPDATE zv_Language SET Français = 'Prix sans chute', "
              "Nederlands = 'Prijs zonder afval', Deutsch = 'Preis ohne Fall ', "
              "English = 'Price without waste' WHERE Name='Real price' "),
    statement("2.05",
              "CREATE TABLE Devis_Prices (DevisId LONG, ComputesModesId LONG, MatObjType LONG, "
              "PriceFallOff FLOAT, PriceFalls FLOAT)"),

    statement("2.06",
              "CREATE TABLE Devis_BackFill_Prices (DevisId LONG, ComputesModesId LONG, "
              "BfType LONG, PriceFallOff FLOAT, PriceFalls FLOAT)"),

    statement("2.07", "ALTER TABLE Devis_info_Construction ADD COLUMN IsDescritionModified LONG"),
    statement("2.07", "UPDATE Devis_info_Construction SET IsDescritionModified=0"),

    statement("2.08",
              "UPDATE ComputesModesData SET PriceMode=4 WHERE MaterialObjectType=6 AND "
              "PriceMode=3"),

    script("2.1", 9, block<nameVatRatesAndCurrencies>),

    script("2.11", 10, block<recordVersionOnly>),

    script("2.12", 11, block<addProjectLanguage>),

    statement("2.13",
              "CREATE TABLE Devis_price_construction (IdConstruction LONG, IdComputesModes LONG, "
              "Price FLOAT)"),
    statement("2.13", "ALTER TABLE Devis_price_construction ADD COLUMN PriceStatus LONG"),
    statement("2.13", "ALTER TABLE Devis ADD COLUMN PriceStatus LONG"),
    statement("2.13", "UPDATE Devis_price_construction SET PriceStatus=0 WHERE Price<>0"),
    statement("2.13", "UPDATE Devis SET PriceStatus=0"),

    statement("2.15", "ALTER TABLE PEOPLE ADD COLUMN EXTERNALID VARCHAR(25)"),
    statement("2.15", "ALTER TABLE PEOPLE ADD COLUMN CIVILITE VARCHAR(25)"),

    statement("2.16",
              "DELETE FROM zv_Language WHERE Id=(SELECT Id_Lng FROM TemplatesDocsPaths "
              "WHERE DocName='Synthese daffaire')"),
    statement("2.16", "DELETE FROM TemplatesDocsPaths WHERE DocName='Synthese daffaire'"),
    statement("2.16", "UPDATE TemplatesDocsPaths SET Title='Detail' WHERE DocName='Detail'"),

    statement("2.17", "ALTER TABLE ProjectDoc ADD COLUMN ZvStatus LONG"),
    statement("2.17",
              "UPDATE ProjectDoc SET ZvStatus=2 WHERE Comment='projet modifié, veuillez "
              "regénérer'"),
    statement("2.17",
              "UPDATE ProjectDoc SET ZvStatus=2 WHERE Comment='gewijzigd, opniew genereren'"),
    statement("2.17",
              "UPDATE ProjectDoc SET ZvStatus=2 WHERE Comment='geändertes Projekt bitte neu "
              "generieren'"),
    statement("2.17",
              "UPDATE ProjectDoc SET ZvStatus=2 WHERE Comment='Modified project, please generate "
              "again'"),
    statement("2.17",
              "UPDATE ProjectDoc SET ZvStatus=2 WHERE Comment='Projekt zmodyfikowany, "
              "regenerowac powtornie'"),
    statement("2.17",
              "UPDATE ProjectDoc SET ZvStatus=2 WHERE Comment='Projektet är modifierat, generera "
              "igen'"),
    statement("2.17",
              "UPDATE ProjectDoc SET ZvStatus=2 WHERE Comment='Prosjektet er endret, generere på "
              "nytt'"),
    statement("2.17",
              "UPDATE ProjectDoc SET ZvStatus=2 WHERE Comment='???Modified project, please "
              "generate again'"),
    statement("2.17",
              "UPDATE ProjectDoc SET ZvStatus=2 WHERE Comment='Proyecto modificado, quiera "
              "generar de nuevo'"),
    statement("2.17", "UPDATE ProjectDoc SET ZvStatus=1 WHERE ZvStatus IS NULL OR ZvStatus=0"),

    statement("2.18", "ALTER TABLE Devis_Prices ADD Discount FLOAT"),
    statement("2.18", "ALTER TABLE Devis_Prices ADD DiscountRate FLOAT"),
    statement("2.18", "ALTER TABLE Devis_Prices ADD PriceMargin FLOAT"),
    statement("2.18", "ALTER TABLE Devis_BackFill_Prices ADD Discount FLOAT"),
    statement("2.18", "ALTER TABLE Devis_BackFill_Prices ADD DiscountRate FLOAT"),
    statement("2.18", "DROP VIEW AllLabourRate"),
    statement("2.18", kAllLabourRates),
    statement("2.18",
              "DELETE FROM LabourPost WHERE (Datavalue=0) and (Discount=0) and (Unitoftime=0)"),
};
static_assert(ascendingTargets(kManagerSteps));
// The driver checks after the steps that the run went past 2.18.
static_assert(std::rbegin(kManagerSteps)->key == "2.18");

}  // namespace

void grantEveryOperation(UpgradeSession& session) {
    static constexpr int kOperations[] = {
        100, 120, 140, 160, 180, 200, 220, 240, 260, 280, 300, 320, 340, 360,  380, 401, 402, 403,
        640, 660, 680, 700, 720, 740, 760, 780, 800, 820, 840, 860, 880, 1000, 101, 102, 103, 104};
    for (int nodeType = 1; nodeType <= 15; ++nodeType) {
        for (int operation : kOperations) {
            session.open(
                "INSERT INTO  rightsdevis (id_user, node_type, id_operation) VALUES ( 2, " +
                std::to_string(nodeType) + " , " + std::to_string(operation) + " )");
        }
    }
}

std::span<const UpgradeRow> managerSteps() {
    return kManagerSteps;
}

const UpgradeCatalogue& managerCatalogue() {
    static const UpgradeCatalogue catalogue{
        kManagerSteps, {}, VersionText::SinglePrecision, nullptr};
    return catalogue;
}

}  // namespace orvdb::upgrade

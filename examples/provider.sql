CREATE TABLE Version (Version SINGLE, ObjectVersion SINGLE, CreateFrom LONG)
INSERT INTO Version VALUES (0.35835, 0.8, 1)
CREATE TABLE [Language] (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(100), Français VARCHAR(100), Nederlands VARCHAR(100), English VARCHAR(100), Deutsch VARCHAR(100), Polski VARCHAR(100))
INSERT INTO [Language] (Name, Français, Nederlands, English, Deutsch, Polski) VALUES ('Frame', 'Dormant', 'Kozijn', 'Frame', 'Rahmen', 'Rama')
INSERT INTO [Language] (Name, Français, Nederlands, English, Deutsch, Polski) VALUES ('Sash', 'Ouvrant', 'Raam', 'Sash', 'Flügel', 'Skrzydło')
INSERT INTO [Language] (Name, Français, Nederlands, English, Deutsch, Polski) VALUES ('White', 'Blanc', 'Wit', 'White', 'Weiß', 'Biały')
INSERT INTO [Language] (Name, Français, Nederlands, English, Deutsch, Polski) VALUES ('Oak', 'Chêne', 'Eik', 'Oak', 'Eiche', 'Dąb')
INSERT INTO [Language] (Name, Français, Nederlands, English, Deutsch, Polski) VALUES ('Handle height', 'Hauteur de poignée', 'Greephoogte', 'Handle height', 'Griffhöhe', 'Wysokość klamki')
INSERT INTO [Language] (Name, Français, Nederlands, English, Deutsch, Polski) VALUES ('Glazing', 'Vitrage', 'Beglazing', 'Glazing', 'Verglasung', 'Szklenie')
CREATE TABLE GroupText (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupText (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupV (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupV (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupMsg (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupMsg (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupAction (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupAction (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupDialog (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupDialog (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupProc (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupProc (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupPoint (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupPoint (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupLigne (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupLigne (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupSurface (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupSurface (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupSection (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupSection (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupObjet3D (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupObjet3D (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupSerie (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupSerie (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupAssemblageNode (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupAssemblageNode (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupEmpillageBeam (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupEmpillageBeam (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupModeleConstruction (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupModeleConstruction (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupTabParamArray (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupTabParamArray (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE GroupSerie_Quincaillerie (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupSerie_Quincaillerie (Name, Description) VALUES ('Standard', 'Default group')
CREATE TABLE Procedures (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), Ref LONG, RefGroup LONG)
INSERT INTO Procedures (Name, Description, Ref, RefGroup) VALUES ('FramePrice', 'Price of a frame', 0, 1)
INSERT INTO Procedures (Name, Description, Ref, RefGroup) VALUES ('SashPrice', 'Price of a sash', 0, 1)
INSERT INTO Procedures (Name, Description, Ref, RefGroup) VALUES ('AfterModel', 'Runs after the model', 0, 1)
INSERT INTO Procedures (Name, Description, Ref, RefGroup) VALUES ('BeforeModel', 'Runs before the model', 0, 1)
INSERT INTO Procedures (Name, Description, Ref, RefGroup) VALUES ('Cotation', 'Dimensioning', 0, 1)
CREATE TABLE ProcedureNodes (ID AUTOINCREMENT PRIMARY KEY, Ref LONG, Type LONG, Owner LONG, Niveau LONG)
INSERT INTO ProcedureNodes (Ref, Type, Owner, Niveau) VALUES (1, 1, 2, 0)
CREATE TABLE VariableTree (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
INSERT INTO VariableTree (Name) VALUES ('Window tree')
INSERT INTO VariableTree (Name) VALUES ('Door tree')
INSERT INTO VariableTree (Name) VALUES ('Gate tree')
CREATE TABLE AbstractGroup (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
INSERT INTO AbstractGroup (Name) VALUES ('Visible in catalogue')
CREATE TABLE GroupArticle (ID LONG PRIMARY KEY, Name VARCHAR(50), RefGroup LONG)
INSERT INTO GroupArticle VALUES (1, 'Profiles', NULL)
INSERT INTO GroupArticle VALUES (2, 'Fillings', NULL)
CREATE TABLE Article (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Ref LONG, Code VARCHAR(50), Description LONG, Affichage VARCHAR(50), Autre VARCHAR(50), Ref2 LONG, Logo VARCHAR(100), [Position] LONG, RefGroup LONG, Substitution LONG, Empillage LONG, VariableTree LONG, ID_CondGr LONG, ID_Colorisation LONG, ID_Palette LONG, Reference VARCHAR(50), ID_raw_ClassPrice LONG, PictureFile VARCHAR(100), ColorGroup LONG, DocumentGroup LONG, ColorisationProcedure LONG, Fictif BYTE, Commandable BYTE, NotProvided BYTE, Surface REAL)
INSERT INTO Article (Name, Ref, Code, Description, Affichage, Ref2, Logo, [Position], RefGroup, VariableTree, Reference, PictureFile, Fictif, Commandable, NotProvided, Surface) VALUES ('PVC-70 frame', 1, 'F70', 1, 'Profile', 0, 'F70.bmp', 5, 1, 1, 'F70-REF', 'frame.png', 0, 1, 0, 1.5)
INSERT INTO Article (Name, Ref, Code, Description, Affichage, Ref2, Logo, [Position], RefGroup, VariableTree, Reference, PictureFile, Fictif, Commandable, NotProvided, Surface) VALUES ('PVC-70 sash', 1, 'S70', 2, 'Profile', 0, 'S70.bmp', 4, 1, 1, 'S70-REF', '', 0, 1, 0, 1.5)
INSERT INTO Article (Name, Ref, Code, Description, Affichage, Ref2, Logo, [Position], RefGroup, VariableTree, Reference, PictureFile, Fictif, Commandable, NotProvided, Surface) VALUES ('Double glazing 4-16-4', 2, 'G4164', 6, 'Filling', 0, 'G4164.bmp', 3, 2, 1, 'G4164-REF', 'glass.png', 0, 1, 0, 1.5)
INSERT INTO Article (Name, Ref, Code, Description, Affichage, Ref2, Logo, [Position], RefGroup, VariableTree, Reference, PictureFile, Fictif, Commandable, NotProvided, Surface) VALUES ('Ventilator 30 m3', 3, 'V30', NULL, 'Ventilator (group deleted)', 0, 'V30.bmp', 2, 7, 1, 'V30-REF', '', 0, 1, 0, 1.5)
INSERT INTO Article (Name, Ref, Code, Description, Affichage, Ref2, Logo, [Position], RefGroup, VariableTree, Reference, PictureFile, Fictif, Commandable, NotProvided, Surface) VALUES ('Handle', 4, 'H1', NULL, 'Hardware', 0, 'H1.bmp', 1, NULL, 1, 'H1-REF', 'handle.png', 0, 1, 0, 1.5)
CREATE TABLE Article_Profil (ID LONG PRIMARY KEY, Weight REAL, RefSection LONG, Hauteur REAL)
INSERT INTO Article_Profil VALUES (1, 1.25, 1, 70)
INSERT INTO Article_Profil VALUES (2, 0.95, 2, 78)
CREATE TABLE Article_Surfacique (ID LONG PRIMARY KEY, Weight REAL, Epaisseur REAL)
INSERT INTO Article_Surfacique VALUES (5, 0.3, 2)
CREATE TABLE ComplementBackfill (ID LONG PRIMARY KEY, Weight REAL, InternalPicture VARCHAR(50), ExternalPicture VARCHAR(50), RealEpaisseur REAL)
INSERT INTO ComplementBackfill VALUES (3, 20, 'in.png', 'out.png', 24.5)
CREATE TABLE Article_Remplissage (ID LONG PRIMARY KEY, Epaisseur REAL)
INSERT INTO Article_Remplissage VALUES (3, 24)
CREATE TABLE Article_Ventilator (ID LONG PRIMARY KEY, Thickness LONG, DeductionVitrage LONG, SupRetract LONG, SubRetract LONG)
INSERT INTO Article_Ventilator VALUES (4, 12, 5, 3, 2)
CREATE TABLE Article_ProcedureNodes (ID AUTOINCREMENT PRIMARY KEY, ArticleID LONG, Ref SHORT)
INSERT INTO Article_ProcedureNodes (ArticleID, Ref) VALUES (1, 3)
CREATE TABLE GlazingPrice (ID AUTOINCREMENT PRIMARY KEY, Article_Id LONG, Width REAL, Height REAL, Price REAL)
INSERT INTO GlazingPrice (Article_Id, Width, Height, Price) VALUES (3, 1000, 1000, 45)
INSERT INTO GlazingPrice (Article_Id, Width, Height, Price) VALUES (3, 2000, 1000, 80)
INSERT INTO GlazingPrice (Article_Id, Width, Height, Price) VALUES (2, 500, 500, 12)
CREATE TABLE Tarif_Article (ID AUTOINCREMENT PRIMARY KEY, ArticleID LONG, Price REAL)
INSERT INTO Tarif_Article (ArticleID, Price) VALUES (1, 12.5)
CREATE TABLE VariableObjTree_Group (ID AUTOINCREMENT PRIMARY KEY, CurrentVal LONG, Visible VARCHAR(255), Picture VARCHAR(255), Name LONG, Description LONG)
INSERT INTO VariableObjTree_Group (CurrentVal, Visible, Picture, Name, Description) VALUES (0, 'IsFrame', '', 1, 5)
INSERT INTO VariableObjTree_Group (CurrentVal, Visible, Picture, Name, Description) VALUES (1, 'Width > 1000', '', 2, 6)
CREATE TABLE VariableObjTree_Value (ID AUTOINCREMENT PRIMARY KEY, CurrentVal LONG, Visible VARCHAR(255), Picture VARCHAR(255), Name LONG, Description LONG)
INSERT INTO VariableObjTree_Value (CurrentVal, Visible, Picture, Name, Description) VALUES (0, 'IsFrame', '', 1, 5)
INSERT INTO VariableObjTree_Value (CurrentVal, Visible, Picture, Name, Description) VALUES (1, 'Width > 1000', '', 2, 6)
CREATE TABLE VariableObjTree_Bool (ID AUTOINCREMENT PRIMARY KEY, CurrentVal LONG, Visible VARCHAR(255), Picture VARCHAR(255), Name LONG, Description LONG)
INSERT INTO VariableObjTree_Bool (CurrentVal, Visible, Picture, Name, Description) VALUES (0, 'IsFrame', '', 1, 5)
INSERT INTO VariableObjTree_Bool (CurrentVal, Visible, Picture, Name, Description) VALUES (1, 'Width > 1000', '', 2, 6)
CREATE TABLE VariableObjTree_TextList (ID AUTOINCREMENT PRIMARY KEY, CurrentVal LONG, Visible VARCHAR(255), Picture VARCHAR(255), Name LONG, Description LONG)
INSERT INTO VariableObjTree_TextList (CurrentVal, Visible, Picture, Name, Description) VALUES (0, 'IsFrame', '', 1, 5)
INSERT INTO VariableObjTree_TextList (CurrentVal, Visible, Picture, Name, Description) VALUES (1, 'Width > 1000', '', 2, 6)
CREATE TABLE VariableObjTree_ValueList (ID AUTOINCREMENT PRIMARY KEY, CurrentVal LONG, Visible VARCHAR(255), Picture VARCHAR(255), Name LONG, Description LONG)
INSERT INTO VariableObjTree_ValueList (CurrentVal, Visible, Picture, Name, Description) VALUES (0, 'IsFrame', '', 1, 5)
INSERT INTO VariableObjTree_ValueList (CurrentVal, Visible, Picture, Name, Description) VALUES (1, 'Width > 1000', '', 2, 6)
CREATE TABLE VariableObjTree_Physical (ID AUTOINCREMENT PRIMARY KEY, CurrentVal LONG, Visible VARCHAR(255), Picture VARCHAR(255), Name LONG, Description LONG)
INSERT INTO VariableObjTree_Physical (CurrentVal, Visible, Picture, Name, Description) VALUES (0, 'IsFrame', '', 1, 5)
INSERT INTO VariableObjTree_Physical (CurrentVal, Visible, Picture, Name, Description) VALUES (1, 'Width > 1000', '', 2, 6)
CREATE TABLE VariableObjTree_ColorizationGroup (ID AUTOINCREMENT PRIMARY KEY, CurrentVal LONG, Visible VARCHAR(255), Picture VARCHAR(255), Name LONG, Description LONG)
INSERT INTO VariableObjTree_ColorizationGroup (CurrentVal, Visible, Picture, Name, Description) VALUES (0, 'IsFrame', '', 1, 5)
INSERT INTO VariableObjTree_ColorizationGroup (CurrentVal, Visible, Picture, Name, Description) VALUES (1, 'Width > 1000', '', 2, 6)
CREATE TABLE VariableObjTree_PackagingGroup (ID AUTOINCREMENT PRIMARY KEY, CurrentVal LONG, Visible VARCHAR(255), Picture VARCHAR(255), Name LONG, Description LONG)
INSERT INTO VariableObjTree_PackagingGroup (CurrentVal, Visible, Picture, Name, Description) VALUES (0, 'IsFrame', '', 1, 5)
INSERT INTO VariableObjTree_PackagingGroup (CurrentVal, Visible, Picture, Name, Description) VALUES (1, 'Width > 1000', '', 2, 6)
CREATE TABLE VariableObjTree_Line (ID AUTOINCREMENT, Name LONG)
CREATE TABLE VariableObjTree_Line_Group (Ref1 LONG, Ref2 LONG, Ref3 LONG, [Position] SHORT)
CREATE TABLE VariableObjTree_TextList_Text (ID AUTOINCREMENT PRIMARY KEY, Ref1 LONG, ItemIndex LONG, Name LONG, Condition VARCHAR(255))
INSERT INTO VariableObjTree_TextList_Text (Ref1, ItemIndex, Name, Condition) VALUES (1, 0, 3, 'True')
INSERT INTO VariableObjTree_TextList_Text (Ref1, ItemIndex, Name, Condition) VALUES (1, 1, 3, 'IsFrame')
INSERT INTO VariableObjTree_TextList_Text (Ref1, ItemIndex, Name, Condition) VALUES (1, 2, 3, '')
INSERT INTO VariableObjTree_TextList_Text (Ref1, ItemIndex, Name, Condition) VALUES (2, 0, 3, 'True')
INSERT INTO VariableObjTree_TextList_Text (Ref1, ItemIndex, Name, Condition) VALUES (2, 1, 3, 'Width < 500')
CREATE TABLE VariableObjTree_ValueList_Value (ID AUTOINCREMENT PRIMARY KEY, Ref1 LONG, ItemIndex LONG, [Value] DOUBLE, Condition VARCHAR(255))
INSERT INTO VariableObjTree_ValueList_Value (Ref1, ItemIndex, [Value], Condition) VALUES (1, 0, 600, 'True')
INSERT INTO VariableObjTree_ValueList_Value (Ref1, ItemIndex, [Value], Condition) VALUES (1, 1, 900, 'True')
INSERT INTO VariableObjTree_ValueList_Value (Ref1, ItemIndex, [Value], Condition) VALUES (2, 0, 1.5, 'True')
CREATE TABLE VariableObjTree_Group_Group (Ref1 LONG, Ref2 LONG, Ref3 LONG, [Position] SHORT)
INSERT INTO VariableObjTree_Group_Group VALUES (1, 1, 1, 0)
INSERT INTO VariableObjTree_Group_Group VALUES (2, 1, 1, 1)
CREATE TABLE VariableObjTree_Value_Group (Ref1 LONG, Ref2 LONG, Ref3 LONG, [Position] SHORT)
INSERT INTO VariableObjTree_Value_Group VALUES (1, 1, 1, 0)
INSERT INTO VariableObjTree_Value_Group VALUES (2, 1, 1, 1)
CREATE TABLE VariableObjTree_Bool_Group (Ref1 LONG, Ref2 LONG, Ref3 LONG, [Position] SHORT)
INSERT INTO VariableObjTree_Bool_Group VALUES (1, 1, 1, 0)
INSERT INTO VariableObjTree_Bool_Group VALUES (2, 1, 1, 1)
CREATE TABLE VariableObjTree_TextList_Group (Ref1 LONG, Ref2 LONG, Ref3 LONG, [Position] SHORT)
INSERT INTO VariableObjTree_TextList_Group VALUES (1, 1, 1, 0)
INSERT INTO VariableObjTree_TextList_Group VALUES (2, 1, 1, 1)
CREATE TABLE VariableObjTree_ValueList_Group (Ref1 LONG, Ref2 LONG, Ref3 LONG, [Position] SHORT)
INSERT INTO VariableObjTree_ValueList_Group VALUES (1, 1, 1, 0)
INSERT INTO VariableObjTree_ValueList_Group VALUES (2, 1, 1, 1)
CREATE TABLE VariableObjTree_ItemList_Item_Group (Ref1 LONG, Ref2 LONG, Ref3 LONG, [Position] SHORT, EventType BYTE)
INSERT INTO VariableObjTree_ItemList_Item_Group VALUES (1, 1, 1, 0, 0)
INSERT INTO VariableObjTree_ItemList_Item_Group VALUES (2, 1, 1, 1, 1)
INSERT INTO VariableObjTree_ItemList_Item_Group VALUES (3, 1, 1, 2, 2)
CREATE TABLE VariableObjTree_TextList_Text_Group (Ref1 LONG, Ref2 LONG, Ref3 LONG, [Position] SHORT, EventType BYTE)
INSERT INTO VariableObjTree_TextList_Text_Group VALUES (1, 1, 1, 0, 0)
INSERT INTO VariableObjTree_TextList_Text_Group VALUES (2, 1, 1, 1, 1)
INSERT INTO VariableObjTree_TextList_Text_Group VALUES (3, 1, 1, 2, 2)
CREATE TABLE VariableObjTree_ValueList_Value_Group (Ref1 LONG, Ref2 LONG, Ref3 LONG, [Position] SHORT, EventType BYTE)
INSERT INTO VariableObjTree_ValueList_Value_Group VALUES (1, 1, 1, 0, 0)
INSERT INTO VariableObjTree_ValueList_Value_Group VALUES (2, 1, 1, 1, 1)
INSERT INTO VariableObjTree_ValueList_Value_Group VALUES (3, 1, 1, 2, 2)
CREATE TABLE VariableObjTree_Physical_Group (Ref1 LONG, Ref2 LONG, Ref3 LONG, [Position] SHORT, DescriptionTemplate LONG, EventType BYTE, LogicalName VARCHAR(40))
INSERT INTO VariableObjTree_Physical_Group VALUES (1, 1, 1, 0, NULL, 0, 'Physical0')
INSERT INTO VariableObjTree_Physical_Group VALUES (2, 1, 1, 1, NULL, 1, 'Physical1')
INSERT INTO VariableObjTree_Physical_Group VALUES (3, 1, 1, 2, NULL, 2, 'Physical2')
CREATE TABLE Share_Groups (ID LONG, RefGroup LONG, [Position] SHORT)
CREATE TABLE Share_ValueVariables (ID LONG, RefGroup LONG, [Position] SHORT)
CREATE TABLE Share_BoolVariables (ID LONG, RefGroup LONG, [Position] SHORT)
CREATE TABLE Share_TextListVariables (ID LONG, RefGroup LONG, [Position] SHORT)
CREATE TABLE Share_ValueListVariables (ID LONG, RefGroup LONG, [Position] SHORT)
CREATE TABLE Share_ItemListVariables (ID LONG, RefGroup LONG, [Position] SHORT)
CREATE TABLE Share_LineVariables (ID LONG, RefGroup LONG, [Position] SHORT)
CREATE VIEW All_VariableGroupInformation AS SELECT Ref1, Ref2, Ref3, [Position], 1 AS TypeVariableGroup FROM VariableObjTree_Group_Group UNION ALL SELECT Ref1, Ref2, Ref3, [Position], 2 FROM VariableObjTree_Value_Group UNION ALL SELECT Ref1, Ref2, Ref3, [Position], 3 FROM VariableObjTree_Bool_Group UNION ALL SELECT Ref1, Ref2, Ref3, [Position], 4 FROM VariableObjTree_TextList_Group UNION ALL SELECT Ref1, Ref2, Ref3, [Position], 5 FROM VariableObjTree_ValueList_Group
CREATE VIEW Union_ShareVariables AS SELECT T1.ID AS ID, 1 AS Ref, RefGroup, Name, T2.ID AS ObjID FROM Share_Groups AS T1, VariableObjTree_Group AS T2 WHERE T1.ID=T2.ID
CREATE VIEW View_ShareVariables AS SELECT U.ID, U.Ref, U.RefGroup, L.Name FROM Union_ShareVariables AS U LEFT JOIN [Language] AS L ON L.ID = U.Name
CREATE TABLE Machining (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
INSERT INTO Machining (Name) VALUES ('Drainage slot')
CREATE TABLE Lignes (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50))
INSERT INTO Lignes (Name, Description) VALUES ('Sill', 'Bottom line')
CREATE TABLE EmpillageBeam (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), RefGroup LONG, ProcID LONG, ComProcID LONG, FabProcID LONG, VariableTree LONG, Preview VARCHAR(100))
INSERT INTO EmpillageBeam (Name, RefGroup, ProcID, ComProcID, FabProcID, VariableTree, Preview) VALUES ('Transom', 1, 1, 1, 2, 1, 'transom.png')
INSERT INTO EmpillageBeam (Name, RefGroup, ProcID, ComProcID, FabProcID, VariableTree, Preview) VALUES ('Orphan tree', 1, 1, 1, 2, 99, 'x.png')
ALTER TABLE EmpillageBeam ADD CONSTRAINT fk_Group_empillagebeam FOREIGN KEY (RefGroup) REFERENCES GroupEmpillageBeam(ID)
ALTER TABLE EmpillageBeam ADD CONSTRAINT fk_proc_empillagebeam FOREIGN KEY (ProcID) REFERENCES Procedures(ID)
ALTER TABLE EmpillageBeam ADD CONSTRAINT fk_Comproc_empillagebeam FOREIGN KEY (ComProcID) REFERENCES Procedures(ID)
ALTER TABLE EmpillageBeam ADD CONSTRAINT fk_Fabproc_empillagebeam FOREIGN KEY (FabProcID) REFERENCES Procedures(ID)
CREATE TABLE AssemblageNode (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), RefGroup LONG, ProcID LONG, FabProcID LONG, RelProcID LONG, VariableTree LONG, SeqCode VARCHAR(50), GraphicCode VARCHAR(50))
INSERT INTO AssemblageNode (Name, RefGroup, ProcID, FabProcID, RelProcID, VariableTree, SeqCode, GraphicCode) VALUES ('Corner weld', 1, 1, 2, 1, 2, 'A1', 'G1')
INSERT INTO AssemblageNode (Name, RefGroup, ProcID, FabProcID, RelProcID, VariableTree, SeqCode, GraphicCode) VALUES ('Orphan tree', 1, 1, 2, 1, 77, 'A2', 'G2')
ALTER TABLE AssemblageNode ADD CONSTRAINT fk_Group_AssemblageNode FOREIGN KEY (RefGroup) REFERENCES GroupAssemblageNode(ID)
ALTER TABLE AssemblageNode ADD CONSTRAINT fk_proc_AssemblageNode FOREIGN KEY (ProcID) REFERENCES Procedures(ID)
ALTER TABLE AssemblageNode ADD CONSTRAINT fk_Fabproc_AssemblageNode FOREIGN KEY (FabProcID) REFERENCES Procedures(ID)
ALTER TABLE AssemblageNode ADD CONSTRAINT fk_Relproc_AssemblageNode FOREIGN KEY (RelProcID) REFERENCES Procedures(ID)
CREATE TABLE ModeleConstruction (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), RefGroup LONG, VariableTree LONG, Preview VARCHAR(100), BeforeProcedure LONG, AfterProcedure LONG, VitrageExistence VARCHAR(50), Fixe BYTE)
INSERT INTO ModeleConstruction (Name, RefGroup, VariableTree, Preview, BeforeProcedure, AfterProcedure, VitrageExistence, Fixe) VALUES ('Casement', 1, 1, 'Casement.png', 4, 3, 'True', 0)
INSERT INTO ModeleConstruction (Name, RefGroup, VariableTree, Preview, BeforeProcedure, AfterProcedure, VitrageExistence, Fixe) VALUES ('Fixed light', 1, 2, 'Fixed light.png', 0, 3, 'True', 1)
INSERT INTO ModeleConstruction (Name, RefGroup, VariableTree, Preview, BeforeProcedure, AfterProcedure, VitrageExistence, Fixe) VALUES ('Door', 1, 3, 'Door.png', 0, 0, 'True', 0)
INSERT INTO ModeleConstruction (Name, RefGroup, VariableTree, Preview, BeforeProcedure, AfterProcedure, VitrageExistence, Fixe) VALUES ('Orphan tree', 1, 55, 'Orphan tree.png', 0, 0, 'True', 1)
CREATE TABLE ModeleConstruction_Children (ParentID LONG, ChildID LONG)
INSERT INTO ModeleConstruction_Children VALUES (1, 2)
CREATE TABLE ModeleConstruction_Element (ID AUTOINCREMENT PRIMARY KEY, ModelID LONG, OpeningID LONG)
INSERT INTO ModeleConstruction_Element (ModelID, OpeningID) VALUES (1, 1)
INSERT INTO ModeleConstruction_Element (ModelID, OpeningID) VALUES (1, 2)
CREATE VIEW Get_ALL_FIXE_ConstructionModel AS SELECT ID, Name FROM ModeleConstruction WHERE Fixe=1
CREATE VIEW Get_Construction_By_Parent AS SELECT C.ParentID, M.ID, M.Name FROM ModeleConstruction_Children AS C INNER JOIN ModeleConstruction AS M ON M.ID = C.ChildID
CREATE VIEW OpeningOnModel AS SELECT E.ModelID, E.OpeningID FROM ModeleConstruction_Element AS E
CREATE TABLE Provider (ID LONG PRIMARY KEY, Name VARCHAR(50))
INSERT INTO Provider VALUES (1, 'Acme Profiles')
CREATE TABLE Colors_Gamme (ID AUTOINCREMENT PRIMARY KEY, NameID LONG)
INSERT INTO Colors_Gamme (NameID) VALUES (3)
CREATE TABLE Finitions (ID AUTOINCREMENT PRIMARY KEY, NameID LONG)
INSERT INTO Finitions (NameID) VALUES (4)
CREATE TABLE Colors (ID AUTOINCREMENT PRIMARY KEY, NameID LONG, RGB LONG, RefGamme LONG, RefFinition LONG)
INSERT INTO Colors (NameID, RGB, RefGamme, RefFinition) VALUES (3, 16777215, 1, 1)
INSERT INTO Colors (NameID, RGB, RefGamme, RefFinition) VALUES (4, 9127187, 1, 1)
ALTER TABLE Colors ADD CONSTRAINT fk_Colors_Gamme FOREIGN KEY (RefGamme) REFERENCES Colors_Gamme(ID)
CREATE TABLE Colors_Fournisseurs (ID AUTOINCREMENT PRIMARY KEY, ColorID LONG, Code VARCHAR(50), NameID LONG)
INSERT INTO Colors_Fournisseurs (ColorID, Code, NameID) VALUES (1, 'RAL9016', 3)
CREATE TABLE Colors_Palette (ID AUTOINCREMENT PRIMARY KEY, NameID LONG)
INSERT INTO Colors_Palette (NameID) VALUES (3)
CREATE TABLE Colors_ColorsPalette (PaletteID LONG, ColorID LONG)
INSERT INTO Colors_ColorsPalette VALUES (1, 1)
INSERT INTO Colors_ColorsPalette VALUES (1, 2)
CREATE VIEW Couleur AS SELECT ID, RGB FROM Colors
CREATE VIEW Couleur1 AS SELECT ID, NameID FROM Colors
CREATE VIEW Get_Finitions AS SELECT * FROM Finitions
CREATE VIEW Get_Colors AS SELECT * FROM Colors
CREATE VIEW Get_Color_Gamme AS SELECT * FROM Colors_Gamme
CREATE VIEW Get_Colors_Fournisseurs AS SELECT * FROM Colors_Fournisseurs
CREATE VIEW Get_Colors_Palette AS SELECT * FROM Colors_Palette
CREATE VIEW Get_Colors_ColorPalette AS SELECT * FROM Colors_ColorsPalette
CREATE VIEW Get_LanguageColor AS SELECT * FROM [Language]
CREATE VIEW Colors_ColorsList AS SELECT CP.PaletteID, C.ID AS ColorID FROM Colors_ColorsPalette AS CP INNER JOIN Colors AS C ON C.ID = CP.ColorID
CREATE VIEW ColorsList AS SELECT ID, NameID, RGB FROM Colors
CREATE VIEW Finitions_Colors AS SELECT F.ID AS FinitionID, C.ID AS ColorID FROM Finitions AS F INNER JOIN Colors AS C ON C.RefFinition = F.ID
CREATE VIEW Trad_Color AS SELECT C.ID, L.Name FROM Colors AS C LEFT JOIN [Language] AS L ON L.ID = C.NameID
CREATE VIEW Trad_Finition AS SELECT F.ID, L.Name FROM Finitions AS F LEFT JOIN [Language] AS L ON L.ID = F.NameID
CREATE VIEW Trad_ProviderColor AS SELECT P.ID, L.Name FROM Colors_Fournisseurs AS P LEFT JOIN [Language] AS L ON L.ID = P.NameID
CREATE VIEW Trad_Palette AS SELECT P.ID, L.Name FROM Colors_Palette AS P LEFT JOIN [Language] AS L ON L.ID = P.NameID
CREATE TABLE Condition (ID AUTOINCREMENT PRIMARY KEY, Expression VARCHAR(100), Ref LONG)
INSERT INTO Condition (Expression, Ref) VALUES ('Width > 800', 1)
CREATE TABLE TabParamArray (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), Exp1 VARCHAR(100), Exp2 VARCHAR(100))
INSERT INTO TabParamArray (Name, Description, Exp1, Exp2) VALUES ('Hinges by height', 'Hinge count', 'Height', 'Width')
INSERT INTO TabParamArray (Name, Description, Exp1, Exp2) VALUES ('No borders', 'Plain array', 'Width', '')
CREATE TABLE TabBorders (ID AUTOINCREMENT PRIMARY KEY, Ref LONG, [Position] LONG, Orientation LONG, MinValue VARCHAR(50), MaxValue VARCHAR(50), MinIncluded SHORT, MaxIncluded SHORT)
INSERT INTO TabBorders (Ref, [Position], Orientation, MinValue, MaxValue, MinIncluded, MaxIncluded) VALUES (1, 0, 0, '0', '800', 1, 0)
INSERT INTO TabBorders (Ref, [Position], Orientation, MinValue, MaxValue, MinIncluded, MaxIncluded) VALUES (1, 1, 0, '800', '1600', 1, 1)
INSERT INTO TabBorders (Ref, [Position], Orientation, MinValue, MaxValue, MinIncluded, MaxIncluded) VALUES (1, 0, 1, '0', '2400', 0, 1)
CREATE TABLE [Section] (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), [Section] VARCHAR(100))
INSERT INTO [Section] (Name, Description, [Section]) VALUES ('F70', 'Frame section', 'f70.dxf')
INSERT INTO [Section] (Name, Description, [Section]) VALUES ('S70', 'Sash section', 's70.dxf')
CREATE TABLE Objet3D (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50))
INSERT INTO Objet3D (Name, Description) VALUES ('Handle model', 'Handle 3D')
CREATE TABLE Serie (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Preview VARCHAR(100))
INSERT INTO Serie (Name, Preview) VALUES ('PVC-70', 'pvc70.png')
CREATE TABLE Serie_Quincaillerie (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
INSERT INTO Serie_Quincaillerie (Name) VALUES ('Tilt and turn')
CREATE TABLE Condition_Quincaillerie (ID AUTOINCREMENT PRIMARY KEY, Ref LONG, LngRef LONG, Condition VARCHAR(100))
INSERT INTO Condition_Quincaillerie (Ref, LngRef, Condition) VALUES (1, 5, 'Height > 1200')
ALTER TABLE Condition_Quincaillerie ADD CONSTRAINT LngRef_Condition_Quincaillerie FOREIGN KEY (LngRef) REFERENCES [Language](ID)
CREATE TABLE SerieDescription (ID AUTOINCREMENT PRIMARY KEY, Text VARCHAR(50))
CREATE TABLE ModelDescription (ID AUTOINCREMENT PRIMARY KEY, Text VARCHAR(50))
CREATE TABLE ColorDescription (ID AUTOINCREMENT PRIMARY KEY, Text VARCHAR(50))
CREATE TABLE HardwareDescription (ID AUTOINCREMENT PRIMARY KEY, Text VARCHAR(50))
CREATE TABLE Msg (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50))
INSERT INTO Msg (Name, Description) VALUES ('TooWide', 'Width above the limit')
CREATE TABLE Msg_Text (Ref1 LONG, Ref2 SHORT, Text VARCHAR(100), CONSTRAINT ID_Msg_text PRIMARY KEY (Ref1, Ref2))
INSERT INTO Msg_Text (Ref1, Ref2, Text) VALUES (1, 1, 'The width is too large')
INSERT INTO Msg_Text (Ref1, Ref2, Text) VALUES (1, 2, 'La largeur est trop grande')
CREATE TABLE Msg_Apparence (ID AUTOINCREMENT PRIMARY KEY, Ref SHORT)
INSERT INTO Msg_Apparence (Ref) VALUES (1)
CREATE TABLE Msg_Image (ID AUTOINCREMENT PRIMARY KEY, Ref1 SHORT)
INSERT INTO Msg_Image (Ref1) VALUES (1)
CREATE TABLE Variables (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50))
INSERT INTO Variables (Name, Description) VALUES ('Width', 'Frame width')
CREATE TABLE Dialogue (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
INSERT INTO Dialogue (Name) VALUES ('Options')
CREATE TABLE Points (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50))
INSERT INTO Points (Name, Description) VALUES ('Origin', 'Bottom left')
CREATE TABLE Surfaces (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50))
INSERT INTO Surfaces (Name, Description) VALUES ('Pane', 'Glass pane')
CREATE TABLE Comments (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
INSERT INTO Comments (Name) VALUES ('Checked')
CREATE TABLE BoucleFor (ID AUTOINCREMENT PRIMARY KEY, FromStart VARCHAR(50), toEnd VARCHAR(50))
INSERT INTO BoucleFor (FromStart, toEnd) VALUES ('1', 'HingeCount')
CREATE TABLE Materials (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
INSERT INTO Materials (Name) VALUES ('PVC')
CREATE TABLE ProfilBackfill (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE GroupProfilBackfill (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE PresentationTabParamArrayGroup (ID AUTOINCREMENT PRIMARY KEY, LngID LONG)
CREATE TABLE TabParamArray_PresentationTabParamArrayGroup (TabParamArrayID LONG, GroupID LONG)
CREATE TABLE Group_PresentationTabParamArrayGroup (GroupID1 LONG, GroupID2 LONG)
CREATE TABLE Discounts (ID AUTOINCREMENT PRIMARY KEY, TranslateName SHORT, RefGroup SHORT, Rate REAL, TypeArticle LONG)
INSERT INTO Discounts (TranslateName, RefGroup, Rate, TypeArticle) VALUES (1, 1, 0.1, 1)
INSERT INTO Discounts (TranslateName, RefGroup, Rate, TypeArticle) VALUES (6, 1, 0.05, 2)
CREATE TABLE AssignedDiscounts (Ref1 SHORT, Ref2 SHORT, Ref3 SHORT)
INSERT INTO AssignedDiscounts VALUES (1, 1, 0)
CREATE TABLE GroupDiscounts (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), RefGroup SHORT)
INSERT INTO GroupDiscounts (Name, RefGroup) VALUES ('Trade', 0)
CREATE VIEW ArticleDescription AS SELECT Article.ID, L.Name FROM Article LEFT JOIN [Language] AS L ON L.ID = Article.Description
CREATE VIEW DiscountByArticleType AS SELECT T.ID AS TypeID, D.ID AS DiscountID, D.Rate FROM Discounts AS D INNER JOIN [XLIB].TypeArticleXLIB AS T ON T.ID = D.TypeArticle
CREATE VIEW DiscountByProvider AS SELECT A.Ref1 AS ProviderID, D.ID AS DiscountID, D.Rate FROM AssignedDiscounts AS A INNER JOIN Discounts AS D ON D.ID = A.Ref2
CREATE VIEW QLanguage AS SELECT * FROM [Language]
CREATE VIEW Trad_Discount AS SELECT D.ID, L.Name FROM Discounts AS D LEFT JOIN [Language] AS L ON L.ID = D.TranslateName
CREATE TABLE MO (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Ref SHORT, RefGroup SHORT)
INSERT INTO MO (Name, Ref, RefGroup) VALUES ('Glazing labour', 1, 1)
CREATE TABLE MO_ProcedureNodes (ID AUTOINCREMENT PRIMARY KEY, Ref SHORT)
INSERT INTO MO_ProcedureNodes (Ref) VALUES (2)
CREATE TABLE GroupMO (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Description VARCHAR(50), RefGroup LONG)
INSERT INTO GroupMO (Name, Description, RefGroup) VALUES ('Workshop', ' 12 ', 0)
INSERT INTO GroupMO (Name, Description, RefGroup) VALUES ('Site', '', 0)
INSERT INTO GroupMO (Name, Description, RefGroup) VALUES ('Other', 'abc', 0)
INSERT INTO GroupMO (Name, Description, RefGroup) VALUES ('Negative', '-3', 0)
CREATE TABLE Conditionnement_group (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
INSERT INTO Conditionnement_group (Name) VALUES ('Boxes')
CREATE TABLE Conditionnement (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50), Id_Type LONG, Nombre LONG)
INSERT INTO Conditionnement (Name, Id_Type, Nombre) VALUES ('Box of 10', 1, 10)
INSERT INTO Conditionnement (Name, Id_Type, Nombre) VALUES ('Box of 50', 1, 50)
CREATE TABLE Conditionnements_groupConditionnements (id_conditionnement LONG, id_groupConditionnement LONG)
INSERT INTO Conditionnements_groupConditionnements VALUES (1, 1)
CREATE TABLE Opening (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE OpeningArc (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE OpeningCross (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE OpeningLine (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE OpeningLine2D (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE OpeningLineArrow (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE OpeningShapeGroup (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE OpeningTransformations (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE zv_Pastille (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE zv_GroupPastille (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE zv_SectionMaterial (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE zv_GroupSectionMaterial (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE zv_GroupProceed (ID AUTOINCREMENT PRIMARY KEY, Name VARCHAR(50))
CREATE TABLE OpeningProperty (Ref1 LONG, Orientation BYTE)
CREATE TABLE OpeningShapeCode (Group_ID LONG, ShapeCode VARCHAR(20))
CREATE TABLE zv_OpeningXLibGroup (OpeningId LONG PRIMARY KEY)
CREATE VIEW Get_All_OpeningDraw AS SELECT O.ID, L.ID AS LineID FROM Opening AS O INNER JOIN OpeningLine AS L ON L.ID = O.ID
CREATE VIEW Get_ItemPicture AS SELECT ID AS ArticleID, PictureFile AS Picture FROM Article
CREATE VIEW Get_ArticleProfils AS SELECT Article.ID AS ID, Article.Name AS Name, Article.Reference AS Reference, Article_Profil.Weight AS Weight FROM Article INNER JOIN Article_Profil ON Article_Profil.ID = Article.ID
CREATE VIEW Get_ArticleSurfacique AS SELECT Article.ID AS ID, Article.Name AS Name, Article.Reference AS Reference, Article_Surfacique.Weight AS Weight FROM Article INNER JOIN Article_Surfacique ON Article_Surfacique.ID = Article.ID
CREATE VIEW Get_ArticleFillings AS SELECT Article.ID AS ID, Article.Name AS Name, Article.Reference AS Reference, ComplementBackfill.Weight AS Weight FROM Article INNER JOIN ComplementBackfill ON ComplementBackfill.ID = Article.ID
CREATE VIEW Get_ArticleVentilators AS SELECT Article.ID AS ID, Article.Name AS Name, Article.Reference AS Reference, Article_Ventilator.Thickness AS Thickness FROM Article INNER JOIN Article_Ventilator ON Article_Ventilator.ID = Article.ID
CREATE TABLE [Action] (ID AUTOINCREMENT PRIMARY KEY, Ref LONG, Name VARCHAR(50), Description VARCHAR(50), Parametre MEMO, RefGroup LONG)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (5, 'Move', 'Action 5', 'p0' & Chr(13) & Chr(10) & 'p1' & Chr(13) & Chr(10) & 'p2', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (7, 'Untouched', 'Action 7', 'p0' & Chr(13) & Chr(10) & 'p1', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (28, 'Slide', 'Action 28', 'p0\
p1\
p2\
p3\
p4\
p5\
p6', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (29, 'Rotate', 'Action 29', 'p0' & Chr(13) & Chr(10) & 'p1', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (40, 'Mirror', 'Action 40', 'p0' & Chr(13) & Chr(10) & 'p1', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (48, 'Copy', 'Action 48', 'p0' & Chr(13) & Chr(10) & 'p1', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (49, 'Offset', 'Action 49', 'p0' & Chr(13) & Chr(10) & 'p1' & Chr(13) & Chr(10) & 'p2', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (52, 'Hinge', 'Action 52', 'p0\
p1\
p2\
p3', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (54, 'Cut', 'Action 54', 'p0' & Chr(13) & Chr(10) & 'p1', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (58, 'Drill', 'Action 58', 'p0' & Chr(13) & Chr(10) & 'p1', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (59, 'Mill', 'Action 59', 'p0' & Chr(13) & Chr(10) & 'p1' & Chr(13) & Chr(10) & 'p2', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (61, 'Slide nine', 'Action 61', 'p0\
p1\
p2\
p3\
p4\
p5\
p6\
p7\
p8', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (61, 'Slide eight', 'Action 61', 'p0\
p1\
p2\
p3\
p4\
p5\
p6\
p7', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (63, 'Weld', 'Action 63', 'p0', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (68, 'Glue', 'Action 68', 'p0', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (69, 'Screw', 'Action 69', 'p0', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (70, 'Clip', 'Action 70', 'p0', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (74, 'Seal', 'Action 74', 'p0', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (76, 'Paint', 'Action 76', 'p0', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (79, 'Pack', 'Action 79', 'p0', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (92, 'Arc', 'Action 92', 'p0\
p1\
p2\
p3\
p4\
p5\
p6\
p7', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (99, 'Lock', 'Action 99', 'p0\
p1\
p2\
p3', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (109, 'Grid', 'Action 109', 'p0' & Chr(13) & Chr(10) & 'p1', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (113, 'Bar nine', 'Action 113', 'p0\
p1\
p2\
p3\
p4\
p5\
p6\
p7', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (113, 'Bar short', 'Action 113', 'p0\
p1\
p2\
p3', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (114, 'Place 114', 'Action 114', 'p0\
p1\
p2\
p3\
p4\
p5', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (115, 'Place 115', 'Action 115', 'p0\
p1\
p2\
p3\
p4\
p5\
p6\
p7\
p8\
p9', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (116, 'Place 116', 'Action 116', 'p0\
p1\
p2\
p3\
p4\
p5\
p6\
p7\
p8\
p9', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (117, 'Place 117', 'Action 117', 'p0\
p1\
p2\
p3\
p4\
p5', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (117, 'Place 117 short', 'Action 117', 'p0\
p1\
p2\
p3\
p4', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (118, 'Place 118', 'Action 118', 'p0' & Chr(13) & Chr(10) & 'p1', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (118, 'It''s quoted', 'Action 118', 'it''s' & Chr(13) & Chr(10) & 'x', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (119, 'Hardware', 'Action 119', 'p0\
p1\
p2\
p3\
p4', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (122, 'Axis', 'Action 122', 'a\
b\
5\
c', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (122, 'Axis zero', 'Action 122', 'a\
b\
0\
c', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (123, 'Frame', 'Action 123', 'p0' & Chr(13) & Chr(10) & 'p1' & Chr(13) & Chr(10) & 'p2', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (134, 'Backfill', 'Action 134', 'p0' & Chr(13) & Chr(10) & 'p1', 1)
INSERT INTO [Action] (Ref, Name, Description, Parametre, RefGroup) VALUES (138, 'Closoir', 'Action 138', 'p0' & Chr(13) & Chr(10) & 'p1', 1)

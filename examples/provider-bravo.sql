DELETE FROM VariableObjTree_ValueList_Value
UPDATE Provider SET Name = 'Bravo Aluminium' WHERE ID = 1
UPDATE Article SET Name = 'Bravo ' & Name, Code = 'B' & Code, Reference = 'BRV-' & Reference, Logo = 'B' & Logo
UPDATE Article SET Reference = 'BRV-THERMAL-BREAK-FRAME-75-REF' WHERE ID = 1
UPDATE Article SET Name = 'Bravo AL-75 sash', Code = 'BS75' WHERE ID = 2
INSERT INTO [Language] (Name, Français, Nederlands, English, Deutsch, Polski) VALUES ('Anthracite', 'Anthracite', 'Antraciet', 'Anthracite', 'Anthrazit', 'Antracyt')
INSERT INTO Article (Name, Ref, Code, Description, Affichage, Ref2, Logo, [Position], RefGroup, VariableTree, Reference, PictureFile, Fictif, Commandable, NotProvided, Surface) VALUES ('Bravo sliding door rail', 1, 'BR40', 1, 'Profile', 0, 'BR40.bmp', 6, 1, 1, 'BRV-RAIL-40', 'rail.png', 0, 1, 0, 0.8)
INSERT INTO Article (Name, Ref, Code, Description, Affichage, Ref2, Logo, [Position], RefGroup, VariableTree, Reference, PictureFile, Fictif, Commandable, NotProvided, Surface) VALUES ('Triple glazing 4-12-4-12-4', 2, 'BG3', 6, 'Filling', 0, 'BG3.bmp', 7, 2, 1, 'BRV-G3-36', 'glass3.png', 0, 1, 0, 1.5)
INSERT INTO Article_Profil VALUES (6, 0.85, 1, 40)
INSERT INTO Article_Remplissage VALUES (7, 36)
INSERT INTO ComplementBackfill VALUES (7, 30, 'in3.png', 'out3.png', 36.5)
INSERT INTO GlazingPrice (Article_Id, Width, Height, Price) VALUES (7, 1000, 1000, 72)
INSERT INTO GlazingPrice (Article_Id, Width, Height, Price) VALUES (7, 2000, 1000, 131)
UPDATE GlazingPrice SET Price = Price * 1.08 WHERE Article_Id = 3
INSERT INTO Tarif_Article (ArticleID, Price) VALUES (6, 18.4)
INSERT INTO Tarif_Article (ArticleID, Price) VALUES (2, 14.9)
INSERT INTO Colors (NameID, RGB, RefGamme, RefFinition) VALUES (7, 3684408, 1, 1)
INSERT INTO Colors_Fournisseurs (ColorID, Code, NameID) VALUES (3, 'RAL7016', 7)
INSERT INTO Colors_ColorsPalette VALUES (1, 3)

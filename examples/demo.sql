CREATE TABLE Fournisseur (ID COUNTER PRIMARY KEY, Nom VARCHAR(50) NOT NULL, Pays VARCHAR(30))
CREATE TABLE Article (ID COUNTER PRIMARY KEY, Fournisseur LONG, Libellé VARCHAR(80), \
  Prix FLOAT, Actif BIT, CONSTRAINT FournisseurArticle FOREIGN KEY (Fournisseur) REFERENCES Fournisseur (ID))
INSERT INTO Fournisseur (Nom, Pays) VALUES ('Menuiserie Durand', 'France')
INSERT INTO Fournisseur (Nom, Pays) VALUES ('Okna Nowak', 'Polska')
INSERT INTO Article (Fournisseur, Libellé, Prix, Actif) VALUES (1, 'Fenêtre PVC 2 vantaux', 412.5, True)
INSERT INTO Article (Fournisseur, Libellé, Prix, Actif) VALUES (1, 'Porte d''entrée chêne', 1290, True)
INSERT INTO Article (Fournisseur, Libellé, Prix, Actif) VALUES (2, 'Okno dachowe', 355.9, False)
SELECT F.Nom, A.[Libellé], A.Prix, IIF(A.Actif, 'oui', 'non') AS Vendu FROM Fournisseur AS F \
  INNER JOIN Article AS A ON A.Fournisseur = F.ID ORDER BY A.Prix DESC
SELECT F.Pays, Count(*) AS Articles, Format(Sum(A.Prix), '0.00') AS Total FROM Fournisseur AS F \
  INNER JOIN Article AS A ON A.Fournisseur = F.ID GROUP BY F.Pays

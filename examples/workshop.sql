CREATE TABLE Version (Version SINGLE)
INSERT INTO Version VALUES (1.1)
CREATE TABLE ProductionMaps (Id AUTOINCREMENT PRIMARY KEY, NAME VARCHAR(50), DESCRIPTION VARCHAR(255), CREATIONDATE DATETIME, UPDATEDATE DATETIME, REMOTEID INTEGER)
INSERT INTO ProductionMaps (NAME, DESCRIPTION, CREATIONDATE) VALUES ('Main hall', 'PVC and aluminium lines', #2009-03-02#)
INSERT INTO ProductionMaps (NAME, DESCRIPTION, CREATIONDATE) VALUES ('Annex', 'Overflow of the PVC line', #2010-09-14#)
CREATE TABLE ManufacturingLines (Id AUTOINCREMENT PRIMARY KEY, NAME VARCHAR(50), DESCRIPTION VARCHAR(255), CREATIONDATE DATETIME, UPDATEDATE DATETIME, REMOTEID INTEGER)
INSERT INTO ManufacturingLines (NAME, DESCRIPTION) VALUES ('PVC line', 'Cutting to glazing')
INSERT INTO ManufacturingLines (NAME, DESCRIPTION) VALUES ('Alu line', 'Stacking, glazing and accessories')
CREATE TABLE ProductionMapPlaces (Id AUTOINCREMENT PRIMARY KEY, PRODUCTIONMAPID INTEGER, MANUFACTURINGLINEID INTEGER, PLACEINDEX INTEGER, NAME VARCHAR(50))
INSERT INTO ProductionMapPlaces (PRODUCTIONMAPID, MANUFACTURINGLINEID, PLACEINDEX, NAME) VALUES (1, 1, 1, 'North bay')
INSERT INTO ProductionMapPlaces (PRODUCTIONMAPID, MANUFACTURINGLINEID, PLACEINDEX, NAME) VALUES (1, 2, 2, 'South bay')
INSERT INTO ProductionMapPlaces (PRODUCTIONMAPID, MANUFACTURINGLINEID, PLACEINDEX, NAME) VALUES (2, 1, 1, 'Annex bay')
CREATE TABLE Machines (Id AUTOINCREMENT PRIMARY KEY, NAME VARCHAR(50), DESCRIPTION VARCHAR(255), MACHINETYPE INTEGER, WorkType INTEGER)
INSERT INTO Machines (NAME, DESCRIPTION, MACHINETYPE, WorkType) VALUES ('Double mitre saw', 'Two heads', 1, 0)
INSERT INTO Machines (NAME, DESCRIPTION, MACHINETYPE, WorkType) VALUES ('Punching centre', 'Three axes', 2, 1)
INSERT INTO Machines (NAME, DESCRIPTION, MACHINETYPE, WorkType) VALUES ('Four-head welder', 'Frames up to 3 m', 3, 2)
INSERT INTO Machines (NAME, DESCRIPTION, MACHINETYPE, WorkType) VALUES ('Saw and punch', 'One head, punching unit', 1, 0)
CREATE TABLE CuttingOffMachines (Id AUTOINCREMENT PRIMARY KEY, MachineID INTEGER, Saw1Diameter REAL, Saw1Thickness REAL, Saw2Diameter REAL, Saw2Thickness REAL, MinAngle REAL, MaxAngle REAL, MinLength REAL, MaxLength REAL)
INSERT INTO CuttingOffMachines (MachineID, Saw1Diameter, Saw1Thickness, Saw2Diameter, Saw2Thickness, MinAngle, MaxAngle, MinLength, MaxLength) VALUES (1, 550, 4.2, 550, 4.2, 45, 135, 300, 6500)
INSERT INTO CuttingOffMachines (MachineID, Saw1Diameter, Saw1Thickness, Saw2Diameter, Saw2Thickness, MinAngle, MaxAngle, MinLength, MaxLength) VALUES (4, 400, 3.2, 0, 0, 90, 90, 200, 6000)
CREATE TABLE CNCPunchingMachines (Id AUTOINCREMENT PRIMARY KEY, MachineID INTEGER, NbAxes INTEGER, ToolCount INTEGER, MaxLength REAL)
INSERT INTO CNCPunchingMachines (MachineID, NbAxes, ToolCount, MaxLength) VALUES (2, 3, 12, 6500)
INSERT INTO CNCPunchingMachines (MachineID, NbAxes, ToolCount, MaxLength) VALUES (4, 2, 4, 6000)
CREATE TABLE FrameEngineMachines (Id AUTOINCREMENT PRIMARY KEY, MachineID INTEGER, NbHeads INTEGER, MaxWidth REAL, MaxHeight REAL)
INSERT INTO FrameEngineMachines (MachineID, NbHeads, MaxWidth, MaxHeight) VALUES (3, 4, 3000, 3000)
CREATE TABLE WorkStations (Id AUTOINCREMENT PRIMARY KEY, NAME VARCHAR(50), DESCRIPTION VARCHAR(255), WSTYPE INTEGER, MACHINEID INTEGER, CREATIONDATE DATETIME, UPDATEDATE DATETIME, REMOTEID INTEGER)
INSERT INTO WorkStations (NAME, DESCRIPTION, WSTYPE, MACHINEID) VALUES ('Cutting', 'Bars cut to length', 1, 1)
INSERT INTO WorkStations (NAME, DESCRIPTION, WSTYPE, MACHINEID) VALUES ('Welding', 'Frames and sashes welded', 3, 3)
INSERT INTO WorkStations (NAME, DESCRIPTION, WSTYPE, MACHINEID) VALUES ('Hardware', 'Hardware fitted on the frame', 4, NULL)
INSERT INTO WorkStations (NAME, DESCRIPTION, WSTYPE, MACHINEID) VALUES ('Stacking', 'Beams stacked', 2, NULL)
INSERT INTO WorkStations (NAME, DESCRIPTION, WSTYPE, MACHINEID) VALUES ('Glazing', 'Fillings set', 5, NULL)
INSERT INTO WorkStations (NAME, DESCRIPTION, WSTYPE, MACHINEID) VALUES ('Accessories', 'Accessories packed', 6, NULL)
INSERT INTO WorkStations (NAME, DESCRIPTION, WSTYPE, MACHINEID) VALUES ('Punching', 'Drainage and lock holes', 1, 2)
CREATE TABLE ManufacturingLinesWorkStations (Id AUTOINCREMENT PRIMARY KEY, MANUFACTURINGLINEID INTEGER, WORKSTATIONID INTEGER, WSORDER INTEGER)
INSERT INTO ManufacturingLinesWorkStations (MANUFACTURINGLINEID, WORKSTATIONID, WSORDER) VALUES (1, 1, 1)
INSERT INTO ManufacturingLinesWorkStations (MANUFACTURINGLINEID, WORKSTATIONID, WSORDER) VALUES (1, 7, 2)
INSERT INTO ManufacturingLinesWorkStations (MANUFACTURINGLINEID, WORKSTATIONID, WSORDER) VALUES (1, 2, 3)
INSERT INTO ManufacturingLinesWorkStations (MANUFACTURINGLINEID, WORKSTATIONID, WSORDER) VALUES (1, 3, 4)
INSERT INTO ManufacturingLinesWorkStations (MANUFACTURINGLINEID, WORKSTATIONID, WSORDER) VALUES (2, 4, 1)
INSERT INTO ManufacturingLinesWorkStations (MANUFACTURINGLINEID, WORKSTATIONID, WSORDER) VALUES (2, 5, 2)
INSERT INTO ManufacturingLinesWorkStations (MANUFACTURINGLINEID, WORKSTATIONID, WSORDER) VALUES (2, 6, 3)
CREATE TABLE Carts (Id AUTOINCREMENT PRIMARY KEY, NAME VARCHAR(50), DESCRIPTION VARCHAR(255), CARTTYPE INTEGER, CAPACITY INTEGER)
INSERT INTO Carts (NAME, DESCRIPTION, CARTTYPE, CAPACITY) VALUES ('Bars in', 'Bars from the store', 1, 40)
INSERT INTO Carts (NAME, DESCRIPTION, CARTTYPE, CAPACITY) VALUES ('Cut bars', 'Bars cut to length', 1, 60)
INSERT INTO Carts (NAME, DESCRIPTION, CARTTYPE, CAPACITY) VALUES ('Frames', 'Welded frames', 2, 12)
INSERT INTO Carts (NAME, DESCRIPTION, CARTTYPE, CAPACITY) VALUES ('Glass rack', 'Glass and panels', 3, 20)
INSERT INTO Carts (NAME, DESCRIPTION, CARTTYPE, CAPACITY) VALUES ('Finished', 'Ready for delivery', 2, 10)
INSERT INTO Carts (NAME, DESCRIPTION, CARTTYPE, CAPACITY) VALUES ('Stacks', 'Stacked beams', 4, 30)
CREATE TABLE ProfileWorkStations (Id AUTOINCREMENT PRIMARY KEY, WorkStationID INTEGER, Destination INTEGER)
INSERT INTO ProfileWorkStations (WorkStationID, Destination) VALUES (1, 2)
INSERT INTO ProfileWorkStations (WorkStationID, Destination) VALUES (7, 2)
CREATE TABLE ProfileWorkstationProfiles (Id AUTOINCREMENT PRIMARY KEY, ProfileWorkStationID INTEGER, Provider VARCHAR(50), ProvProfRef VARCHAR(50), ProvProfDesc VARCHAR(50), ProvProfId INTEGER, MachineRef VARCHAR(50), Origine INTEGER)
INSERT INTO ProfileWorkstationProfiles (ProfileWorkStationID, Provider, ProvProfRef, ProvProfDesc, ProvProfId, MachineRef, Origine) VALUES (1, 'Acme', 'F70', 'Frame 70', 11, 'SAW-F70', 1)
INSERT INTO ProfileWorkstationProfiles (ProfileWorkStationID, Provider, ProvProfRef, ProvProfDesc, ProvProfId, MachineRef, Origine) VALUES (1, 'Acme', 'S70', 'Sash 70', 12, 'SAW-S70', 1)
INSERT INTO ProfileWorkstationProfiles (ProfileWorkStationID, Provider, ProvProfRef, ProvProfDesc, ProvProfId, MachineRef, Origine) VALUES (2, 'Acme', 'F70', 'Frame 70', 11, 'PUNCH-F70', 2)
CREATE TABLE FrameWorkStations (Id AUTOINCREMENT PRIMARY KEY, WorkStationID INTEGER, Destination INTEGER)
INSERT INTO FrameWorkStations (WorkStationID, Destination) VALUES (2, 3)
CREATE TABLE FrameWorkStationProfiles (Id AUTOINCREMENT PRIMARY KEY, FrameWorkStationID INTEGER, Provider VARCHAR(50), ProvProfRef VARCHAR(50), ProvProfDesc VARCHAR(50), ProvProfId INTEGER, MachineRef VARCHAR(50), Origine INTEGER)
INSERT INTO FrameWorkStationProfiles (FrameWorkStationID, Provider, ProvProfRef, ProvProfDesc, ProvProfId, MachineRef, Origine) VALUES (1, 'Acme', 'F70', 'Frame 70', 11, 'WELD-F70', 2)
CREATE TABLE OnFrameWorkStations (Id AUTOINCREMENT PRIMARY KEY, WorkStationID INTEGER, Destination INTEGER, FrameOrigine INTEGER, FillingOrigine INTEGER)
INSERT INTO OnFrameWorkStations (WorkStationID, Destination, FrameOrigine, FillingOrigine) VALUES (3, 5, 3, 4)
CREATE TABLE OnFrameWorkStationProfiles (Id AUTOINCREMENT PRIMARY KEY, OnFrameWorkStationID INTEGER, Provider VARCHAR(50), ProvProfRef VARCHAR(50), ProvProfDesc VARCHAR(50), ProvProfId INTEGER, MachineRef VARCHAR(50), Origine INTEGER)
INSERT INTO OnFrameWorkStationProfiles (OnFrameWorkStationID, Provider, ProvProfRef, ProvProfDesc, ProvProfId, MachineRef, Origine) VALUES (1, 'Acme', 'G20', 'Glazing bead 20', 31, 'BEAD-G20', 2)
CREATE VIEW qryProfileWorkstations AS SELECT W.Id AS WORKSTATIONID, W.NAME, W.DESCRIPTION, W.WSTYPE, W.MACHINEID, F.Id AS PROFILEWORKSTATIONID, F.Destination FROM WorkStations AS W INNER JOIN ProfileWorkStations AS F ON F.WorkStationID = W.Id
CREATE VIEW qryProfilesForProfileWorkstations AS SELECT PP.Id, PP.ProfileWorkStationID, PP.Provider, PP.ProvProfRef, PP.ProvProfDesc, PP.ProvProfId, PP.MachineRef, PP.Origine, qryProfileWorkstations.WORKSTATIONID, qryProfileWorkstations.NAME AS WORKSTATIONNAME FROM ProfileWorkstationProfiles AS PP INNER JOIN qryProfileWorkstations ON qryProfileWorkstations.PROFILEWORKSTATIONID = PP.ProfileWorkStationID
CREATE VIEW qryFrameWorkStations AS SELECT W.Id AS WORKSTATIONID, W.NAME, W.DESCRIPTION, W.WSTYPE, W.MACHINEID, F.Id AS FRAMEWORKSTATIONID, F.Destination FROM WorkStations AS W INNER JOIN FrameWorkStations AS F ON F.WorkStationID = W.Id
CREATE VIEW qryProfilesForFrameWorkstations AS SELECT PP.Id, PP.FrameWorkStationID, PP.Provider, PP.ProvProfRef, PP.ProvProfDesc, PP.ProvProfId, PP.MachineRef, PP.Origine, Q.WORKSTATIONID, Q.NAME AS WORKSTATIONNAME FROM FrameWorkStationProfiles AS PP INNER JOIN qryFrameWorkStations AS Q ON Q.FRAMEWORKSTATIONID = PP.FrameWorkStationID
CREATE VIEW qryOnFrameWorkStations AS SELECT W.Id AS WORKSTATIONID, W.NAME, W.DESCRIPTION, W.WSTYPE, W.MACHINEID, F.Id AS ONFRAMEWORKSTATIONID, F.Destination, F.FrameOrigine, F.FillingOrigine FROM WorkStations AS W INNER JOIN OnFrameWorkStations AS F ON F.WorkStationID = W.Id
CREATE VIEW qryProfilesForOnFrameWorkstations AS SELECT PP.Id, PP.OnFrameWorkStationID, PP.Provider, PP.ProvProfRef, PP.ProvProfDesc, PP.ProvProfId, PP.MachineRef, PP.Origine, Q.WORKSTATIONID, Q.NAME AS WORKSTATIONNAME FROM OnFrameWorkStationProfiles AS PP INNER JOIN qryOnFrameWorkStations AS Q ON Q.ONFRAMEWORKSTATIONID = PP.OnFrameWorkStationID
CREATE VIEW qryManufacturingLinesWorkStations AS SELECT L.Id AS LINEID, L.NAME AS LINENAME, LW.WSORDER, W.Id AS WORKSTATIONID, W.NAME AS WORKSTATIONNAME, W.WSTYPE FROM (ManufacturingLines AS L INNER JOIN ManufacturingLinesWorkStations AS LW ON LW.MANUFACTURINGLINEID = L.Id) INNER JOIN WorkStations AS W ON W.Id = LW.WORKSTATIONID
CREATE VIEW qryWorkStationsDestinationCart AS SELECT W.Id AS WORKSTATIONID, W.NAME AS WORKSTATIONNAME, 'PROFILE' AS FAMILY, C.Id AS CARTID, C.NAME AS CARTNAME FROM (ProfileWorkStations AS F INNER JOIN WorkStations AS W ON W.Id = F.WorkStationID) INNER JOIN Carts AS C ON C.Id = F.Destination \
UNION SELECT W.Id AS WORKSTATIONID, W.NAME AS WORKSTATIONNAME, 'FRAME' AS FAMILY, C.Id AS CARTID, C.NAME AS CARTNAME FROM (FrameWorkStations AS F INNER JOIN WorkStations AS W ON W.Id = F.WorkStationID) INNER JOIN Carts AS C ON C.Id = F.Destination \
UNION SELECT W.Id AS WORKSTATIONID, W.NAME AS WORKSTATIONNAME, 'ONFRAME' AS FAMILY, C.Id AS CARTID, C.NAME AS CARTNAME FROM (OnFrameWorkStations AS F INNER JOIN WorkStations AS W ON W.Id = F.WorkStationID) INNER JOIN Carts AS C ON C.Id = F.Destination
CREATE VIEW qryWorkStationsOrigineCart AS SELECT W.Id AS WORKSTATIONID, W.NAME AS WORKSTATIONNAME, 'PROFILE' AS FAMILY, C.Id AS CARTID, C.NAME AS CARTNAME FROM ((ProfileWorkStations AS F INNER JOIN WorkStations AS W ON W.Id = F.WorkStationID) INNER JOIN ProfileWorkstationProfiles AS P ON P.ProfileWorkStationID = F.Id) INNER JOIN Carts AS C ON C.Id = P.Origine \
UNION SELECT W.Id AS WORKSTATIONID, W.NAME AS WORKSTATIONNAME, 'FRAME' AS FAMILY, C.Id AS CARTID, C.NAME AS CARTNAME FROM ((FrameWorkStations AS F INNER JOIN WorkStations AS W ON W.Id = F.WorkStationID) INNER JOIN FrameWorkStationProfiles AS P ON P.FrameWorkStationID = F.Id) INNER JOIN Carts AS C ON C.Id = P.Origine \
UNION SELECT W.Id AS WORKSTATIONID, W.NAME AS WORKSTATIONNAME, 'ONFRAME' AS FAMILY, C.Id AS CARTID, C.NAME AS CARTNAME FROM (OnFrameWorkStations AS F INNER JOIN WorkStations AS W ON W.Id = F.WorkStationID) INNER JOIN Carts AS C ON C.Id = F.FrameOrigine
CREATE VIEW qryCuttingOffMachines AS SELECT M.Id AS MACHINEID, M.NAME AS MACHINENAME, C.Id AS CUTTINGOFFID, 1 AS SAW, C.Saw1Diameter AS SAWDIAMETER, C.Saw1Thickness AS SAWTHICKNESS, C.MinAngle, C.MaxAngle, C.MinLength, C.MaxLength FROM Machines AS M INNER JOIN CuttingOffMachines AS C ON C.MachineID = M.Id \
UNION ALL SELECT M.Id AS MACHINEID, M.NAME AS MACHINENAME, C.Id AS CUTTINGOFFID, 2 AS SAW, C.Saw2Diameter AS SAWDIAMETER, C.Saw2Thickness AS SAWTHICKNESS, C.MinAngle, C.MaxAngle, C.MinLength, C.MaxLength FROM Machines AS M INNER JOIN CuttingOffMachines AS C ON C.MachineID = M.Id WHERE C.Saw2Diameter > 0
CREATE VIEW qryCNCPunchingMachines AS SELECT M.Id AS MACHINEID, M.NAME AS MACHINENAME, P.Id AS PUNCHINGID, P.NbAxes, P.ToolCount, P.MaxLength FROM Machines AS M INNER JOIN CNCPunchingMachines AS P ON P.MachineID = M.Id
CREATE VIEW qryFrameEngineMachines AS SELECT M.Id AS MACHINEID, M.NAME AS MACHINENAME, F.Id AS FRAMEENGINEID, F.NbHeads, F.MaxWidth, F.MaxHeight FROM Machines AS M INNER JOIN FrameEngineMachines AS F ON F.MachineID = M.Id
CREATE VIEW qryMixCuttingOfPunching AS SELECT M.Id AS MACHINEID, M.NAME AS MACHINENAME, C.Id AS CUTTINGOFFID, P.Id AS PUNCHINGID, C.MaxLength AS CUTTINGMAXLENGTH, P.MaxLength AS PUNCHINGMAXLENGTH, P.ToolCount FROM (Machines AS M INNER JOIN CuttingOffMachines AS C ON C.MachineID = M.Id) INNER JOIN CNCPunchingMachines AS P ON P.MachineID = M.Id

-- The tables of a Prep file (*.fcd), format "4.01.01": one administrative unit's setup data.
-- Declared types name the field types the program reads (see platform/dao/dao.h).

CREATE TABLE Properties (
  Property TEXT(50) NOT NULL,
  Value MEMO TEXT,
  PRIMARY KEY (Property)
);

-- A zone; each unit 1..RLCount of it can be imported as one fire management unit.
CREATE TABLE FMZList (
  "Key" LONG INTEGER NOT NULL,
  Name TEXT(50),
  RLCount SHORT INTEGER,
  PRIMARY KEY ("Key")
);

-- Resource management areas and their objectives, in plain text.
CREATE TABLE ManagementGoals (
  "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
  ManagementArea TEXT(100),
  Explanation MEMO TEXT
);

CREATE TABLE SRMasterList (
  Sequence LONG INTEGER NOT NULL,
  Category LONG INTEGER,
  LongName TEXT(50),
  ShortName TEXT(20),
  UnitType TEXT(10),
  Units TEXT(20),
  Cost CURRENCY INTEGER,
  PRIMARY KEY (Sequence)
);

-- Net value change in dollars per acre, per resource (1 to 14) and fire intensity level.
CREATE TABLE NVCPerAcre (
  FMZKey LONG INTEGER NOT NULL,
  ResourceNumber LONG INTEGER NOT NULL,
  FIL1 SINGLE REAL,
  FIL2 SINGLE REAL,
  FIL3 SINGLE REAL,
  FIL4 SINGLE REAL,
  FIL5 SINGLE REAL,
  FIL6 SINGLE REAL,
  PRIMARY KEY (FMZKey, ResourceNumber)
);

-- Suppression cost per acre by fire size class (1 to 9): top size in acres, dollars per acre.
CREATE TABLE SuppressionPerAcreCost (
  FMZKey LONG INTEGER NOT NULL,
  Sequence LONG INTEGER NOT NULL,
  TopSize SINGLE REAL,
  Cost SINGLE REAL,
  PRIMARY KEY (FMZKey, Sequence)
);

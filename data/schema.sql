-- The new-file template "TLM.new", data format "06.01.01".
-- Declared types name the field's type for the data file engine and give SQLite the right
-- affinity: "LONG INTEGER", "SHORT INTEGER", "SINGLE REAL", "CURRENCY INTEGER" (1/10,000),
-- "MEMO TEXT", "TEXT(n)"; AutoNumber keys are INTEGER PRIMARY KEY AUTOINCREMENT.
-- Every table's primary key is its "PrimaryKey" index.

BEGIN;

CREATE TABLE Properties (
  Property TEXT(50) NOT NULL,
  Value MEMO TEXT,
  PRIMARY KEY (Property)
);

CREATE TABLE Items (
  ItemKey LONG INTEGER NOT NULL,
  ItemName MEMO TEXT,
  Heading MEMO TEXT,
  Body MEMO TEXT,
  ItemText MEMO TEXT,
  ParentKey LONG INTEGER,
  ChildIndex LONG INTEGER,
  PRIMARY KEY (ItemKey)
);

CREATE TABLE Objectives (
  "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
  Name TEXT(255),
  Explanation MEMO TEXT,
  ParentKey LONG INTEGER DEFAULT 0,
  ChildKey LONG INTEGER DEFAULT 0,
  SiblingKey LONG INTEGER DEFAULT 0,
  Priority LONG INTEGER DEFAULT 0
);

CREATE TABLE Scores (
  OutcomeKey LONG INTEGER NOT NULL,
  CriterionKey LONG INTEGER NOT NULL,
  Value SINGLE REAL,
  Description MEMO TEXT,
  PRIMARY KEY (OutcomeKey, CriterionKey)
);

CREATE TABLE Outcomes (
  ItemKey LONG INTEGER NOT NULL,
  ItemName MEMO TEXT,
  ParentKey LONG INTEGER,
  ChildIndex LONG INTEGER,
  Description MEMO TEXT,
  FireSize SINGLE REAL,
  ContainTime LONG INTEGER,
  ControlTime LONG INTEGER,
  Success LONG INTEGER,
  SuccessRationale MEMO TEXT,
  DailyContainCost SINGLE REAL,
  DailyControlCost SINGLE REAL,
  AdjustedCost CURRENCY INTEGER,
  CostSource LONG INTEGER,
  CostRationale MEMO TEXT,
  PRIMARY KEY (ItemKey)
);

CREATE TABLE OutcomeFMZs (
  OutcomeKey LONG INTEGER NOT NULL,
  FMZKey LONG INTEGER NOT NULL,
  Portion LONG INTEGER,
  FIL1Portion LONG INTEGER,
  FIL2Portion LONG INTEGER,
  FIL3Portion LONG INTEGER,
  FIL4Portion LONG INTEGER,
  FIL5Portion LONG INTEGER,
  FIL6Portion LONG INTEGER,
  PRIMARY KEY (OutcomeKey, FMZKey)
);

CREATE TABLE ItemImpacts (
  OutcomeKey LONG INTEGER NOT NULL,
  ItemKey LONG INTEGER NOT NULL,
  ItemLoss CURRENCY INTEGER,
  PRIMARY KEY (OutcomeKey, ItemKey)
);

CREATE TABLE ValuesAtRisk (
  ItemKey LONG INTEGER NOT NULL,
  PotentialLoss SINGLE REAL,
  Probability SHORT INTEGER,
  PRIMARY KEY (ItemKey)
);

CREATE TABLE ValuesProtected (
  OutcomeKey LONG INTEGER NOT NULL,
  ItemKey LONG INTEGER NOT NULL,
  Protection SHORT INTEGER,
  Description MEMO TEXT,
  PRIMARY KEY (OutcomeKey, ItemKey)
);

CREATE TABLE SRTypes (
  ItemKey INTEGER PRIMARY KEY AUTOINCREMENT,
  ParentKey LONG INTEGER,
  ChildIndex LONG INTEGER,
  LongName MEMO TEXT,
  ShortName MEMO TEXT,
  UnitType MEMO TEXT,
  UnitName MEMO TEXT,
  UnitCost CURRENCY INTEGER
);

CREATE TABLE SRUses (
  ItemKey LONG INTEGER NOT NULL,
  OutcomeKey LONG INTEGER,
  ItemIndex LONG INTEGER,
  SRTypeKey LONG INTEGER,
  Quantity LONG INTEGER,
  Periods LONG INTEGER,
  PRIMARY KEY (ItemKey)
);
CREATE INDEX "SRUses__OutcomeKey" ON SRUses (OutcomeKey);

CREATE TABLE FMZList (
  "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
  FMZCode TEXT(50),
  Name TEXT(255)
);

CREATE TABLE NVCResources (
  ResourceNumber LONG INTEGER NOT NULL,
  ResourceName TEXT(255),
  PRIMARY KEY (ResourceNumber)
);

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

CREATE TABLE SuppressionPerAcreCost (
  FMZKey LONG INTEGER NOT NULL,
  Sequence LONG INTEGER NOT NULL,
  TopSize SINGLE REAL,
  Cost SINGLE REAL,
  PRIMARY KEY (FMZKey, Sequence)
);

CREATE TABLE ComplexityCategories (
  "Key" SHORT INTEGER NOT NULL,
  Name TEXT(100),
  Rating SHORT INTEGER DEFAULT 0,
  PRIMARY KEY ("Key")
);

CREATE TABLE ComplexityFactors (
  CategoryKey SHORT INTEGER NOT NULL,
  FactorNumber SHORT INTEGER NOT NULL,
  Name TEXT(255),
  Rating SHORT INTEGER DEFAULT 0,
  PRIMARY KEY (CategoryKey, FactorNumber)
);

-- Rows every new data file starts with.

INSERT INTO Properties (Property, Value) VALUES
  ('DataFormatID', '06.01.01'),
  ('ProgramID', 'Advanced');

-- The two decision topics of the Decision worksheet; new items are keyed above them.
INSERT INTO Items (ItemKey, ItemName, Heading, Body, ItemText, ParentKey, ChildIndex) VALUES
  (291, 'Selected Alternative Description', 'Selected Alternative Description',
   '{\rtf1\ansi\ansicpg1252\uc0\deff0{\fonttbl{\f0\fswiss\fcharset0\fprq2 Arial;}}{\colortbl;\red0\green0\blue0;\red255\green255\blue255;}\plain\f0\fs20 \pard \par }',
   'Describe the selected alternative: its strategy, the tactics and resources it calls for, and the outcome it is expected to reach.',
   28, 1),
  (292, 'Rationale for selecting this Alternative', 'Rationale for selecting this Alternative',
   '{\rtf1\ansi\ansicpg1252\uc0\deff0{\fonttbl{\f0\fswiss\fcharset0\fprq2 Arial;}}{\colortbl;\red0\green0\blue0;\red255\green255\blue255;}\plain\f0\fs20 \pard \par }',
   'Explain why this alternative was chosen over the others: safety, objectives met, expected cost and expected resource loss.',
   28, 2);

-- Root 1 holds the objective categories, root 2 the safety issues. Every category and the
-- objectives root carry a priority: the rating lists take a prioritized root as their first entry,
-- and a category of priority 0 would drop out of them.
INSERT INTO Objectives ("Key", Name, Explanation, ParentKey, ChildKey, SiblingKey, Priority) VALUES
  (1, 'Objectives', '{\rtf1\ansi\ansicpg1252\uc0\deff0{\fonttbl{\f0\fswiss\fcharset0\fprq2 Arial;}}{\colortbl;\red0\green0\blue0;\red255\green255\blue255;}\plain\f0\fs20 \pard \par }', 0, 3, 0, 10),
  (2, 'Safety Issues', '{\rtf1\ansi\ansicpg1252\uc0\deff0{\fonttbl{\f0\fswiss\fcharset0\fprq2 Arial;}}{\colortbl;\red0\green0\blue0;\red255\green255\blue255;}\plain\f0\fs20 \pard \par }', 0, 0, 0, 10),
  (3, 'Natural and Cultural Resources', '{\rtf1\ansi\ansicpg1252\uc0\deff0{\fonttbl{\f0\fswiss\fcharset0\fprq2 Arial;}}{\colortbl;\red0\green0\blue0;\red255\green255\blue255;}\plain\f0\fs20 \pard \par }', 1, 0, 4, 10),
  (4, 'Property and Improvements', '{\rtf1\ansi\ansicpg1252\uc0\deff0{\fonttbl{\f0\fswiss\fcharset0\fprq2 Arial;}}{\colortbl;\red0\green0\blue0;\red255\green255\blue255;}\plain\f0\fs20 \pard \par }', 1, 0, 5, 10),
  (5, 'Economic', '{\rtf1\ansi\ansicpg1252\uc0\deff0{\fonttbl{\f0\fswiss\fcharset0\fprq2 Arial;}}{\colortbl;\red0\green0\blue0;\red255\green255\blue255;}\plain\f0\fs20 \pard \par }', 1, 0, 6, 10),
  (6, 'Social and Political', '{\rtf1\ansi\ansicpg1252\uc0\deff0{\fonttbl{\f0\fswiss\fcharset0\fprq2 Arial;}}{\colortbl;\red0\green0\blue0;\red255\green255\blue255;}\plain\f0\fs20 \pard \par }', 1, 0, 7, 10),
  (7, 'Other', '{\rtf1\ansi\ansicpg1252\uc0\deff0{\fonttbl{\f0\fswiss\fcharset0\fprq2 Arial;}}{\colortbl;\red0\green0\blue0;\red255\green255\blue255;}\plain\f0\fs20 \pard \par }', 1, 0, 0, 10);

-- The Extreme outcome shared by every alternative, and its whole-fire burn area.
INSERT INTO Outcomes (ItemKey, ItemName, ParentKey, ChildIndex, Description, FireSize, ContainTime,
                      ControlTime, Success, DailyContainCost, DailyControlCost, AdjustedCost, CostSource)
VALUES (1, 'Extreme Outcome', 0, 1,
        '{\rtf1\ansi\ansicpg1252\uc0\deff0{\fonttbl{\f0\fswiss\fcharset0\fprq2 Arial;}}{\colortbl;\red0\green0\blue0;\red255\green255\blue255;}\plain\f0\fs20 \pard \par }',
        0, 0, 0, 0, 0, 0, 0, 1);

INSERT INTO OutcomeFMZs (OutcomeKey, FMZKey, Portion, FIL1Portion, FIL2Portion, FIL3Portion,
                         FIL4Portion, FIL5Portion, FIL6Portion)
VALUES (1, 0, 50, 0, 0, 0, 5, 0, 0);

INSERT INTO NVCResources (ResourceNumber, ResourceName) VALUES
  (1, 'Timber'),
  (2, 'Range and Forage'),
  (3, 'Watershed and Water Quality'),
  (4, 'Soils'),
  (5, 'Wildlife Habitat'),
  (6, 'Fisheries'),
  (7, 'Threatened and Endangered Species'),
  (8, 'Recreation'),
  (9, 'Wilderness'),
  (10, 'Visual Quality'),
  (11, 'Cultural and Heritage Resources'),
  (12, 'Air Quality'),
  (13, 'Improvements and Structures'),
  (14, 'Other');

-- The default tables under FMU key 0 serve the whole fire until FMUs are defined.
INSERT INTO NVCPerAcre (FMZKey, ResourceNumber, FIL1, FIL2, FIL3, FIL4, FIL5, FIL6) VALUES
  (0, 1, 0, 0, 0, 0, 0, 0), (0, 2, 0, 0, 0, 0, 0, 0), (0, 3, 0, 0, 0, 0, 0, 0),
  (0, 4, 0, 0, 0, 0, 0, 0), (0, 5, 0, 0, 0, 0, 0, 0), (0, 6, 0, 0, 0, 0, 0, 0),
  (0, 7, 0, 0, 0, 0, 0, 0), (0, 8, 0, 0, 0, 0, 0, 0), (0, 9, 0, 0, 0, 0, 0, 0),
  (0, 10, 0, 0, 0, 0, 0, 0), (0, 11, 0, 0, 0, 0, 0, 0), (0, 12, 0, 0, 0, 0, 0, 0),
  (0, 13, 0, 0, 0, 0, 0, 0), (0, 14, 0, 0, 0, 0, 0, 0);

INSERT INTO SuppressionPerAcreCost (FMZKey, Sequence, TopSize, Cost) VALUES
  (0, 1, 0, 0), (0, 2, 0, 0), (0, 3, 0, 0), (0, 4, 0, 0), (0, 5, 0, 0),
  (0, 6, 0, 0), (0, 7, 0, 0), (0, 8, 0, 0), (0, 9, 0, 0);

INSERT INTO ComplexityCategories ("Key", Name, Rating) VALUES
  (1, ' Fire Behavior', 0),
  (2, ' Resources Committed', 0),
  (3, ' Resources Threatened', 0),
  (4, ' Safety', 0),
  (5, ' Ownership', 0),
  (6, ' External Influences', 0),
  (7, ' Change in Strategy', 0),
  (8, ' Existing Overhead', 0);

INSERT INTO ComplexityFactors (CategoryKey, FactorNumber, Name, Rating) VALUES
  (1, 1, 'Burning index (from on-site weather) predicted above the 90th percentile for the fuel model in which the fire is burning.', 0),
  (1, 2, 'Potential exists for blowup conditions (fuel moisture, winds, etc.).', 0),
  (1, 3, 'Crowning, profuse or long-range spotting.', 0),
  (1, 4, 'Weather forecast indicates no significant relief or worsening conditions.', 0),
  (2, 1, '200 or more personnel assigned.', 0),
  (2, 2, 'Three or more divisions.', 0),
  (2, 3, 'Wide variety of special support personnel.', 0),
  (2, 4, 'Substantial air operation which is not properly staffed.', 0),
  (2, 5, 'Majority of initial attack resources committed.', 0),
  (3, 1, 'Wildland urban interface.', 0),
  (3, 2, 'Developments and facilities.', 0),
  (3, 3, 'Restricted, threatened or endangered species habitat.', 0),
  (3, 4, 'Cultural sites.', 0),
  (3, 5, 'Unique natural resources, special designation areas, wilderness.', 0),
  (3, 6, 'Other special resources.', 0),
  (4, 1, 'Unusually hazardous fireline construction.', 0),
  (4, 2, 'Serious accidents or fatalities.', 0),
  (4, 3, 'Threat to the safety of visitors from the fire and related operations.', 0),
  (4, 4, 'Restrictions or closures in effect or being considered.', 0),
  (4, 5, 'No night operations in place for safety reasons.', 0),
  (5, 1, 'Fire burning or threatening more than one jurisdiction.', 0),
  (5, 2, 'Potential for claims (damages).', 0),
  (5, 3, 'Different or conflicting management objectives.', 0),
  (5, 4, 'Disputes over fire management responsibility.', 0),
  (5, 5, 'Potential for unified command.', 0),
  (6, 1, 'Controversial fire policy.', 0),
  (6, 2, 'Pre-existing controversies or relationships.', 0),
  (6, 3, 'Sensitive media relationships.', 0),
  (6, 4, 'Smoke management problems.', 0),
  (6, 5, 'Sensitive political interests.', 0),
  (6, 6, 'Other external influences.', 0),
  (7, 1, 'Change in strategy from confine or contain to control.', 0),
  (7, 2, 'Large amounts of unburned fuel within the planned perimeter.', 0),
  (7, 3, 'The analysis of the fire situation is no longer valid or needs updating.', 0),
  (8, 1, 'Two operational periods worked without achieving the initial objectives.', 0),
  (8, 2, 'Existing management organization ineffective.', 0),
  (8, 3, 'Overhead overextended mentally or physically.', 0),
  (8, 4, 'Incident action plans, briefings, etc. missing or poorly prepared.', 0);

COMMIT;

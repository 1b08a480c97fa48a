-- Sample Prep file: Cedar Basin Ranger District. Run after prepfile-tables.sql and srmasterlist.sql.
-- Costs in dollars per acre by fire size; NVC in dollars per acre, losses negative.

INSERT INTO Properties (Property, Value) VALUES
  ('DataFormatID', '4.01.01'),
  ('UnitName', 'Cedar Basin Ranger District'),
  ('SRDataSource', 'Cedar Basin Ranger District, Regional suppression cost guide 2026, unit costs reviewed 4/2026');

INSERT INTO ManagementGoals ("Key", ManagementArea, Explanation) VALUES
  (1, 'Cedar Creek Municipal Watershed', 'Protect the water supply of the town of Cedar Falls.' || char(13, 10) || 'Keep fire of high intensity out of the riparian zones along Cedar Creek and its tributaries.' || char(13, 10) || 'Use minimum impact suppression tactics within 300 feet of streams; no retardant within 300 feet of water.'),
  (2, 'Lynx Ridge Late-Successional Reserve', 'Maintain old-growth mixed conifer habitat for the northern goshawk and the lynx.' || char(13, 10) || 'Fire of low to moderate intensity is acceptable where it reduces ladder fuels.' || char(13, 10) || 'Avoid dozer line on the ridge top; use existing roads and trails as control lines.'),
  (3, 'Pine Flats Wildland Urban Interface', 'Protect the 240 homes, the fire station and the power line corridor of Pine Flats.' || char(13, 10) || 'Suppress all fires; firefighter and public safety come first.' || char(13, 10) || 'Coordinate evacuation with the county sheriff.'),
  (4, 'Granite Peaks Wilderness', 'Let fire play its natural role where it poses no threat to life or property.' || char(13, 10) || 'Minimum impact suppression tactics only; no mechanised equipment without the Forest Supervisor''s approval.' || char(13, 10) || 'Protect the historic Granite Lookout (1934).');

INSERT INTO FMZList ("Key", Name, RLCount) VALUES
  (10, 'Lower Montane Pine', 2),
  (20, 'Upper Montane Mixed Conifer', 1),
  (30, 'Pine Flats Interface', 2),
  (40, 'Granite Peaks Wilderness', 1);

-- Lower Montane Pine
INSERT INTO SuppressionPerAcreCost (FMZKey, Sequence, TopSize, Cost) VALUES
  (10, 1, 10, 2200),
  (10, 2, 100, 1365),
  (10, 3, 300, 900),
  (10, 4, 1000, 640),
  (10, 5, 5000, 420),
  (10, 6, 10000, 330),
  (10, 7, 50000, 265),
  (10, 8, 100000, 220),
  (10, 9, 250000, 185);
INSERT INTO NVCPerAcre (FMZKey, ResourceNumber, FIL1, FIL2, FIL3, FIL4, FIL5, FIL6) VALUES
  (10, 1, -45, -135, -315, -540, -765, -900),
  (10, 2, 25, 12, -21, -36, -51, -60),
  (10, 3, -16, -48, -112, -192, -272, -320),
  (10, 4, -9, -27, -63, -108, -153, -180),
  (10, 5, 15, 8, -74, -126, -178, -210),
  (10, 6, -4, -14, -31, -54, -76, -90),
  (10, 7, -7, -21, -49, -84, -119, -140),
  (10, 8, -13, -39, -91, -156, -221, -260),
  (10, 9, 0, 0, 0, 0, 0, 0),
  (10, 10, -15, -45, -105, -180, -255, -300),
  (10, 11, -6, -18, -42, -72, -102, -120),
  (10, 12, -2, -6, -14, -24, -34, -40),
  (10, 13, -32, -98, -227, -390, -552, -650),
  (10, 14, -2, -4, -10, -18, -26, -30);

-- Upper Montane Mixed Conifer
INSERT INTO SuppressionPerAcreCost (FMZKey, Sequence, TopSize, Cost) VALUES
  (20, 1, 10, 3100),
  (20, 2, 100, 1920),
  (20, 3, 300, 1270),
  (20, 4, 1000, 900),
  (20, 5, 5000, 590),
  (20, 6, 10000, 465),
  (20, 7, 50000, 370),
  (20, 8, 100000, 310),
  (20, 9, 250000, 265);
INSERT INTO NVCPerAcre (FMZKey, ResourceNumber, FIL1, FIL2, FIL3, FIL4, FIL5, FIL6) VALUES
  (20, 1, -70, -210, -490, -840, -1190, -1400),
  (20, 2, 0, 0, 0, 0, 0, 0),
  (20, 3, -21, -63, -147, -252, -357, -420),
  (20, 4, -13, -39, -91, -156, -221, -260),
  (20, 5, 10, 5, -133, -228, -323, -380),
  (20, 6, -8, -22, -52, -90, -128, -150),
  (20, 7, -16, -48, -112, -192, -272, -320),
  (20, 8, -9, -27, -63, -108, -153, -180),
  (20, 9, 0, 0, 0, 0, 0, 0),
  (20, 10, -12, -36, -84, -144, -204, -240),
  (20, 11, -3, -9, -21, -36, -51, -60),
  (20, 12, -3, -8, -19, -33, -47, -55),
  (20, 13, -6, -18, -42, -72, -102, -120),
  (20, 14, -1, -4, -9, -15, -21, -25);

-- Pine Flats Interface
INSERT INTO SuppressionPerAcreCost (FMZKey, Sequence, TopSize, Cost) VALUES
  (30, 1, 10, 4200),
  (30, 2, 100, 2605),
  (30, 3, 300, 1720),
  (30, 4, 1000, 1220),
  (30, 5, 5000, 800),
  (30, 6, 10000, 630),
  (30, 7, 50000, 505),
  (30, 8, 100000, 420),
  (30, 9, 0, 0);
INSERT INTO NVCPerAcre (FMZKey, ResourceNumber, FIL1, FIL2, FIL3, FIL4, FIL5, FIL6) VALUES
  (30, 1, -25, -75, -175, -300, -425, -500),
  (30, 2, 0, 0, 0, 0, 0, 0),
  (30, 3, -8, -22, -52, -90, -128, -150),
  (30, 4, -4, -14, -31, -54, -76, -90),
  (30, 5, -4, -12, -28, -48, -68, -80),
  (30, 6, 0, 0, 0, 0, 0, 0),
  (30, 7, 0, 0, 0, 0, 0, 0),
  (30, 8, -21, -63, -147, -252, -357, -420),
  (30, 9, 0, 0, 0, 0, 0, 0),
  (30, 10, -26, -78, -182, -312, -442, -520),
  (30, 11, -10, -30, -70, -120, -170, -200),
  (30, 12, -3, -9, -21, -36, -51, -60),
  (30, 13, -240, -720, -1680, -2880, -4080, -4800),
  (30, 14, -4, -11, -26, -45, -64, -75);

-- Granite Peaks Wilderness
INSERT INTO SuppressionPerAcreCost (FMZKey, Sequence, TopSize, Cost) VALUES
  (40, 1, 10, 1500),
  (40, 2, 100, 930),
  (40, 3, 300, 615),
  (40, 4, 1000, 435),
  (40, 5, 5000, 285),
  (40, 6, 10000, 225),
  (40, 7, 50000, 180),
  (40, 8, 100000, 150),
  (40, 9, 250000, 130);
INSERT INTO NVCPerAcre (FMZKey, ResourceNumber, FIL1, FIL2, FIL3, FIL4, FIL5, FIL6) VALUES
  (40, 1, -12, -38, -88, -150, -212, -250),
  (40, 2, 10, 5, 0, 0, 0, 0),
  (40, 3, -19, -57, -133, -228, -323, -380),
  (40, 4, -10, -32, -74, -126, -178, -210),
  (40, 5, 20, 10, -56, -96, -136, -160),
  (40, 6, -11, -33, -77, -132, -187, -220),
  (40, 7, -13, -39, -91, -156, -221, -260),
  (40, 8, 0, 0, 0, 0, 0, 0),
  (40, 9, -42, -128, -298, -510, -722, -850),
  (40, 10, -16, -46, -108, -186, -264, -310),
  (40, 11, -4, -14, -31, -54, -76, -90),
  (40, 12, -4, -10, -24, -42, -60, -70),
  (40, 13, 0, 0, 0, 0, 0, 0),
  (40, 14, -1, -3, -7, -12, -17, -20);

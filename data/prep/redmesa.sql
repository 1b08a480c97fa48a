-- Sample Prep file: Red Mesa Field Office. Run after prepfile-tables.sql and srmasterlist.sql.
-- Costs in dollars per acre by fire size; NVC in dollars per acre, losses negative.

INSERT INTO Properties (Property, Value) VALUES
  ('DataFormatID', '4.01.01'),
  ('UnitName', 'Red Mesa Field Office'),
  ('SRDataSource', 'Red Mesa Field Office, State cost guide for rangeland fire 2026');

INSERT INTO ManagementGoals ("Key", ManagementArea, Explanation) VALUES
  (1, 'Sage Grouse Priority Habitat', 'Keep fire out of the remaining big sagebrush stands: a burned stand takes 30 years or more to return.' || char(13, 10) || 'Aggressive initial attack on every fire within the priority habitat.' || char(13, 10) || 'Protect the four leks of Mesa Flats during the breeding season (March to May).'),
  (2, 'Juniper Canyon Grazing Allotments', 'Protect the forage and the fences, water pipelines and stock tanks of the six grazing permittees.' || char(13, 10) || 'Fire of low intensity in cheatgrass is acceptable where it does not reach the sagebrush.'),
  (3, 'Rio Colorado Riparian Corridor', 'Protect the cottonwood gallery forest and the habitat of the southwestern willow flycatcher.' || char(13, 10) || 'No retardant or foam within 300 feet of the river; use water drops only.'),
  (4, 'Mesa Verde Cultural District', 'Protect the pueblo ruins, rock art panels and historic homesteads.' || char(13, 10) || 'No dozer line within the district without an archaeologist on site.' || char(13, 10) || 'Flag known sites before line construction.');

INSERT INTO FMZList ("Key", Name, RLCount) VALUES
  (1, 'Sagebrush Steppe', 2),
  (2, 'Pinyon-Juniper Woodland', 1),
  (3, 'Rio Colorado Corridor', 1);

-- Sagebrush Steppe
INSERT INTO SuppressionPerAcreCost (FMZKey, Sequence, TopSize, Cost) VALUES
  (1, 1, 10, 650),
  (1, 2, 100, 405),
  (1, 3, 300, 265),
  (1, 4, 1000, 190),
  (1, 5, 5000, 125),
  (1, 6, 10000, 100),
  (1, 7, 50000, 80),
  (1, 8, 100000, 65),
  (1, 9, 250000, 55);
INSERT INTO NVCPerAcre (FMZKey, ResourceNumber, FIL1, FIL2, FIL3, FIL4, FIL5, FIL6) VALUES
  (1, 1, 0, 0, 0, 0, 0, 0),
  (1, 2, 8, 4, -49, -84, -119, -140),
  (1, 3, -3, -9, -21, -36, -51, -60),
  (1, 4, -4, -10, -24, -42, -60, -70),
  (1, 5, -26, -78, -182, -312, -442, -520),
  (1, 6, 0, 0, 0, 0, 0, 0),
  (1, 7, -19, -57, -133, -228, -323, -380),
  (1, 8, -2, -4, -10, -18, -26, -30),
  (1, 9, 0, 0, 0, 0, 0, 0),
  (1, 10, -2, -6, -14, -24, -34, -40),
  (1, 11, -2, -8, -18, -30, -42, -50),
  (1, 12, -1, -3, -7, -12, -17, -20),
  (1, 13, -4, -14, -31, -54, -76, -90),
  (1, 14, 0, -2, -4, -6, -8, -10);

-- Pinyon-Juniper Woodland
INSERT INTO SuppressionPerAcreCost (FMZKey, Sequence, TopSize, Cost) VALUES
  (2, 1, 10, 900),
  (2, 2, 100, 560),
  (2, 3, 300, 370),
  (2, 4, 1000, 260),
  (2, 5, 5000, 170),
  (2, 6, 10000, 135),
  (2, 7, 50000, 110),
  (2, 8, 100000, 90),
  (2, 9, 250000, 75);
INSERT INTO NVCPerAcre (FMZKey, ResourceNumber, FIL1, FIL2, FIL3, FIL4, FIL5, FIL6) VALUES
  (2, 1, -6, -18, -42, -72, -102, -120),
  (2, 2, 12, 6, -21, -36, -51, -60),
  (2, 3, -4, -14, -31, -54, -76, -90),
  (2, 4, -6, -16, -38, -66, -94, -110),
  (2, 5, 6, 3, -59, -102, -144, -170),
  (2, 6, 0, 0, 0, 0, 0, 0),
  (2, 7, 0, 0, 0, 0, 0, 0),
  (2, 8, -3, -9, -21, -36, -51, -60),
  (2, 9, 0, 0, 0, 0, 0, 0),
  (2, 10, -4, -14, -31, -54, -76, -90),
  (2, 11, -9, -27, -63, -108, -153, -180),
  (2, 12, -2, -4, -10, -18, -26, -30),
  (2, 13, -8, -22, -52, -90, -128, -150),
  (2, 14, -1, -2, -5, -9, -13, -15);

-- Rio Colorado Corridor
INSERT INTO SuppressionPerAcreCost (FMZKey, Sequence, TopSize, Cost) VALUES
  (3, 1, 10, 1800),
  (3, 2, 100, 1115),
  (3, 3, 300, 740),
  (3, 4, 1000, 520),
  (3, 5, 5000, 340),
  (3, 6, 10000, 270),
  (3, 7, 50000, 215),
  (3, 8, 100000, 180),
  (3, 9, 0, 0);
INSERT INTO NVCPerAcre (FMZKey, ResourceNumber, FIL1, FIL2, FIL3, FIL4, FIL5, FIL6) VALUES
  (3, 1, 0, 0, 0, 0, 0, 0),
  (3, 2, -2, -6, -14, -24, -34, -40),
  (3, 3, -22, -68, -158, -270, -382, -450),
  (3, 4, -8, -24, -56, -96, -136, -160),
  (3, 5, -19, -57, -133, -228, -323, -380),
  (3, 6, -26, -78, -182, -312, -442, -520),
  (3, 7, -32, -96, -224, -384, -544, -640),
  (3, 8, -12, -36, -84, -144, -204, -240),
  (3, 9, 0, 0, 0, 0, 0, 0),
  (3, 10, -10, -30, -70, -120, -170, -200),
  (3, 11, -8, -22, -52, -90, -128, -150),
  (3, 12, -2, -5, -12, -21, -30, -35),
  (3, 13, -15, -45, -105, -180, -255, -300),
  (3, 14, -1, -3, -7, -12, -17, -20);

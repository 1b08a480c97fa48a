#include "reports/sections/sectionnumbers.h"
#include "reports/sections/tablebands.h"

#include <gtest/gtest.h>

using namespace reports::sections;

TEST(SectionNumbers, NextSizeTextStartsTheNextClassJustAboveTheTopSize)
{
    const struct { float top; const char* from; } cases[] = {
        {0.25f, "0.26"}, {0.5f, "0.51"}, {0.9f, "1.00"}, {0.86f, "1.00"}, {0.94f, "1.00"}, {0.96f, "0.97"},
        {1, "1.10"}, {5, "5.10"}, {9, "10.00"}, {9.5f, "9.60"}, {10, "11.00"}, {12.7f, "13.00"}, {100, "101.00"},
        {1500.5f, "1,501.00"}, {9999998, "9,999,999.00"},
        // No class before, or one that is open-ended: no lower bound to show.
        {0, ""}, {-5, ""}, {9999999, ""}, {2.0e7f, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(NextSizeText(c.top), QString::fromLatin1(c.from)) << c.top;
}

TEST(SectionNumbers, ImpactCellsOfAnFMUAndOfTheWholeFire)
{
    // 60 % of the fire in the FMU, 25 % of that at the level, 1000 acres, a loss of $20 an acre.
    const ImpactCells fmu = FMUImpactCells(60, 25, 1000, -20);
    EXPECT_EQ(fmu.percent, "15");
    EXPECT_EQ(fmu.acres, "150");
    EXPECT_EQ(fmu.impact, "-3000");

    const ImpactCells whole = WholeFireImpactCells(25, 1000, -20);
    EXPECT_EQ(whole.percent, "25");
    EXPECT_EQ(whole.acres, "250");
    EXPECT_EQ(whole.impact, "-5000");

    // The percent is the share rounded half to even, then its hundredths with the remainder dropped;
    // the acres and the impact are rounded as the "0" format does.
    const ImpactCells half = FMUImpactCells(33.5f, 15, 373, 7.5f);
    EXPECT_EQ(half.percent, "5");   // 502.5 -> 502 -> 5
    EXPECT_EQ(half.acres, "19");    // 18.74
    EXPECT_EQ(half.impact, "141");  // 140.56
    EXPECT_EQ(FMUImpactCells(10, 5, 0, -300).impact, "0") << "no minus sign on a zero";
    EXPECT_EQ(WholeFireImpactCells(16, 12.5, 0).acres, "2");   // 200 / 100
}

TEST(SectionNumbers, ImpactTablesAPageFollowTheResourcesAndTheAlternatives)
{
    const struct { int code; int alternatives; BandLayout layout; } cases[] = {
        {38, 4, {2, 9}}, {38, 7, {3, 8}}, {38, 1, {3, 8}}, {38, 2, {2, 9}}, {39, 3, {3, 9}},
        {48, 1, {4, 8}}, {48, 5, {3, 9}}, {48, 4, {4, 8}}, {49, 2, {2, 9}}, {49, 6, {3, 9}}, {49, 0, {4, 9}}};
    for (const auto& c : cases)
        EXPECT_TRUE(BandLayoutFor(c.code, c.alternatives) == c.layout) << c.code << " " << c.alternatives;
}

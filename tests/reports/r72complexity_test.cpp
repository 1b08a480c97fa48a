// The incident complexity analysis: the type, its rationale and every element marked.

#include "sectiontexts_fixture.h"

#include "core/u14properties.h"

using reports::VSPrinter1;

TEST_F(ReportFixture, ComplexityPrintsTheTypeItsRationaleAndEveryElementMarked)
{
    core::Property_Set(QStringLiteral("OverheadTeam"), QStringLiteral("3"));
    core::Property_Set(QStringLiteral("OverheadTeamRationale"), QStringLiteral("Two divisions, night shift."));
    db().Execute(QStringLiteral("UPDATE ComplexityFactors SET Rating = 2 WHERE CategoryKey = 1 AND FactorNumber = 2"));
    db().Execute(QStringLiteral("UPDATE ComplexityFactors SET Rating = 1 WHERE CategoryKey = 8 AND FactorNumber = 4"));
    ASSERT_TRUE(Produce({19}));
    const QString at = QStringLiteral(" margins 720,720,720,720 indents 0,0,0 align 0 F 10");
    ExpectCalls(Calls().mid(0, 10), SectionStart("Incident Complexity Analysis") + QStringList{
        QStringLiteral("Text \"Incident Complexity Rating:   \" at 720,1440") + at + " b",
        QStringLiteral("Paragraph \"Type 3\" at *,1440") + at,
        QStringLiteral("Text \"Rationale:   \" at 720,*") + at + " b",
        QStringLiteral("Paragraph \"Two divisions, night shift.\" at *,*") + at,
        QStringLiteral("Paragraph \"\" at 720,*") + at,
        QStringLiteral("AddTable \"^360|^360|4500;\" \"NO  YES   FACTOR||;\" \"\" style 0 at 720,* margins *,720,720,720 "
                       "indents 0,0,0 align 0 F 10"),
        // Eight categories and the 38 elements a new file has.
        QStringLiteral("EndTable 46 rows")});
    EXPECT_EQ(Calls().last(), QStringLiteral("EndDoc"));
    EXPECT_EQ(Calls()[8].section(QStringLiteral(" margins "), 1).section(u',', 0, 0).toInt(),
              YOf(Calls()[8]))
        << "further pages of the checklist start where it starts";
    const QStringList texts = Texts();
    EXPECT_EQ(TextsAfter(QStringLiteral("NO  YES   FACTOR"), 5), (QStringList{
        " Fire Behavior",
        "-", "Burning index (from on-site weather) predicted above the 90th percentile for the fuel model in which the fire is burning.",
        "X", "Potential exists for blowup conditions (fuel moisture, winds, etc.)."}));
    EXPECT_EQ(texts.count(QStringLiteral("X")), 2);
    EXPECT_EQ(texts.count(QStringLiteral("-")), 36);
    EXPECT_EQ(texts.at(texts.size() - 2), QStringLiteral("X")) << "the last element of the last category";
}

TEST_F(ReportFixture, ComplexityCategoryWithoutItsFirstElementListsTheOthersAndEnds)
{
    // A file without element 1 of a category, with a gap, and with elements of a category that
    // has no row of its own.
    core::Property_Set(QStringLiteral("OverheadTeam"), QString());
    db().Execute(QStringLiteral("DELETE FROM ComplexityFactors WHERE CategoryKey = 2 AND FactorNumber IN (1, 3)"));
    db().Execute(QStringLiteral("INSERT INTO ComplexityFactors (CategoryKey, FactorNumber, Name, Rating) VALUES (9, 1, 'Stray', 2)"));
    ASSERT_TRUE(Produce({19}));
    EXPECT_TRUE(Calls().contains(QStringLiteral("EndTable 44 rows")));
    EXPECT_TRUE(Calls().filter(QStringLiteral("Paragraph \"Type \" at")).size() == 1) << "an empty type prints the word alone";
    EXPECT_EQ(TextsAfter(QStringLiteral(" Resources Committed"), 6), (QStringList{
        "-", "Three or more divisions.", "-", "Substantial air operation which is not properly staffed.", "-",
        "Majority of initial attack resources committed."}));
    EXPECT_FALSE(Texts().contains(QStringLiteral("Stray")));
}

// The NVC tables: every resource of every FMU, and the one reading of the NVC option.

#include "sectiontexts_fixture.h"

#include "core/u14properties.h"

TEST_F(ReportFixture, NVCTablesShowEveryResourceOfEveryFMU)
{
    ASSERT_TRUE(Produce({14}));
    const QStringList calls = Calls();
    const QString format = QStringLiteral("3000!|^1020!|^1020!|^1020!|^1020!|^1020!|^1020!;");
    ExpectCalls(calls.mid(0, 5), SectionStart("NVC Tables") + QStringList{
        QStringLiteral("Paragraph \"Only negative values are included for this fire.\" at 720,* ") + kBase + " align 7 F 10",
        QStringLiteral("Paragraph \"\" at 720,* ") + kBase + " align 7 F 10"});
    const qsizetype header = IndexOf(calls, QStringLiteral("TableRows \"") + format + QStringLiteral("|FIL 1"));
    ASSERT_GT(header, 0);
    ExpectCalls(calls.mid(header - 3, 6), {
        QStringLiteral("Paragraph \"Fire Management Unit: Unit-1\" at 720,1680 margins 1680,720,720,720 indents 0,0,0 align 1 F 11 b"),
        QStringLiteral("Paragraph \"\" at 720,* margins 1680,720,720,720 indents 0,0,0 align 7 F 9 b"),
        QStringLiteral("Paragraph \"\" at 720,* margins 1680,720,720,720 indents 0,0,0 align 7 F 9 b"),
        QStringLiteral("TableRows \"") + format + QStringLiteral("|FIL 1|FIL 2|FIL 3|FIL 4|FIL 5|FIL 6;\" style 0 row 0 header 0 "
                                                                 "at 720,* margins 1680,720,720,720 indents 0,0,0 align 7 F 9 b"),
        // Gains do not count: they show as 0 and stay out of the totals.
        QStringLiteral("TableRows \"") + format + QStringLiteral("Timber|-10|0|0|0|-200|-180;\" style 3 row 0 header 0 at 720,* "
                                                                 "margins 1680,720,720,720 indents 0,0,0 align 7 F 9"),
        QStringLiteral("TableRows \"") + format + QStringLiteral("Range and Forage|0|0|0|-160|-150|-120;\" style 3 row 0 header 0 "
                                                                 "at 720,* margins 1680,720,720,720 indents 0,0,0 align 7 F 9")});
    EXPECT_TRUE(calls[header + 15].startsWith(QStringLiteral("TableRows \"") + format
                                              + QStringLiteral("Totals|-$200|-$400|-$600|-$800|-$1,000|-$1,200;\" style 0 ")))
        << calls[header + 15].toStdString();
    EXPECT_EQ(calls.filter(QStringLiteral("Fire Management Unit: ")).size(), 2);
}

TEST_F(ReportFixture, NVCOptionHasOneReadingInTitlesNotesCellsAndTotals)
{
    // Anything but "No" counts gains, as the model's figures do.
    const struct { const char* option; bool gains; } cases[] = {{"No", false}, {"Yes", true}, {"yes", true}, {"Maybe", true}};
    const QString format = QStringLiteral("3000!|^1020!|^1020!|^1020!|^1020!|^1020!|^1020!;");
    for (const auto& c : cases) {
        core::Property_Set(QStringLiteral("UseNVCGains"), QString::fromLatin1(c.option));
        testsupport::ClearModelCaches();
        ASSERT_TRUE(Produce({12, 13, 14}));
        const QStringList calls = Calls();
        EXPECT_EQ(calls.filter(QStringLiteral("\"Impact on Resource Values\"")).size(), c.gains ? 1 : 0) << c.option;
        EXPECT_EQ(calls.filter(QStringLiteral("\"Resource Value Losses\"")).size(), c.gains ? 0 : 1) << c.option;
        EXPECT_EQ(calls.filter(QStringLiteral("\"Computation of NVC Impacts by FMU and FIL\"")).size(), c.gains ? 1 : 0) << c.option;
        EXPECT_EQ(calls.filter(QStringLiteral("Only negative values")).size(), c.gains ? 0 : 1) << c.option;
        // Unit-1's Timber gains $30 and $80 an acre at levels 3 and 4; the level totals follow.
        EXPECT_EQ(calls.filter(QStringLiteral("\"") + format + QStringLiteral("Timber|-10|0|0|0|-200|-180;")).size(),
                  c.gains ? 0 : 1) << c.option;
        EXPECT_EQ(calls.filter(QStringLiteral("\"") + format + QStringLiteral("Timber|-10|0|30|80|-200|-180;")).size(),
                  c.gains ? 1 : 0) << c.option;
        const QString totals = QStringLiteral("\"") + format + QStringLiteral("Totals|");
        EXPECT_EQ(calls.filter(totals + QStringLiteral("-$200|-$400|")).size(), c.gains ? 0 : 2) << c.option;
    }
}

// The NVC tables of the five units are taller than their third of a page: two fit a page, each
// page takes two, and the fifth stands alone.
TEST_F(FiveFMUReport, NVCBandsThatDoNotFitThreeToAPageFillEachPageWithTwo)
{
    ASSERT_TRUE(Produce({14}));
    const QList<std::pair<int, bool>> bands = Bands();
    ASSERT_EQ(bands.size(), 5);
    EXPECT_EQ(bands[0], std::make_pair(1680, false));
    EXPECT_FALSE(bands[1].second);
    EXPECT_EQ(bands[2], std::make_pair(1680, true));
    EXPECT_FALSE(bands[3].second) << "the page of the third also takes the fourth";
    EXPECT_EQ(bands[4], std::make_pair(1680, true));
    EXPECT_EQ(reports::VSPrinter1().PageCount(), 3);
    ExpectBandsClearOfTheTableBefore();
}

// The cost-per-acre tables: every FMU under its band, with the size classes in use.

#include "sectiontexts_fixture.h"

#include "reports/printsettings.h"

using reports::VSPrinter1;

TEST_F(ReportFixture, AACTablesPrintEveryFMUUnderItsBandWithTheUsedSizeClasses)
{
    ASSERT_TRUE(Produce({10}));
    const QStringList calls = Calls();
    const qsizetype band = IndexOf(calls, QStringLiteral("Paragraph \"Fire Management Unit: Unit-1\""));
    ASSERT_GT(band, 0);
    ExpectCalls(calls.mid(band, 6), {
        QStringLiteral("Paragraph \"Fire Management Unit: Unit-1\" at 720,1440 margins 1440,720,720,720 indents 0,0,0 align 1 F 11 b"),
        QStringLiteral("Paragraph \"\" at 720,* margins 1440,720,720,720 indents 0,0,0 align 7 F 10 b"),
        QStringLiteral("Paragraph \"\" at 720,* margins 1440,720,720,720 indents 0,0,0 align 7 F 10 b"),
        QStringLiteral("TableRows \">1500|>1500|>1440;From|To|Cost;\" style 0 row 0 header 0 at 720,* "
                       "margins 1440,720,720,720 indents 0,0,0 align 7 F 10 b"),
        // Classes 5 to 9 have no top size: the one after 10,000 acres starts at 10,001, those after
        // an unused class have no lower bound.
        QStringLiteral("TableRows \">1500|>1500|>1440;0|10.00|$905;11.00|100.00|$605;101.00|1,000.00|$405;"
                       "1,001.00|10,000.00|$255;10,001.00|0.00|$155;|0.00|$5;|0.00|$5;|0.00|$5;|0.00|$5;\" style 3 row 0 "
                       "header 0 at 720,* margins 1440,720,720,720 indents 0,0,0 align 7 F 9"),
        QStringLiteral("Paragraph \"\" at 720,* margins *,720,720,720 indents 0,0,0 align 7 F 9")});
    EXPECT_TRUE(calls[band + 6].startsWith(QStringLiteral("DrawLine 720,"))) << "the second band's rules";
    EXPECT_EQ(calls.filter(QStringLiteral("Fire Management Unit: ")).size(), 2);
    EXPECT_EQ(calls.count(QStringLiteral("NewPage")), 0);
    EXPECT_EQ(VSPrinter1().MarginTop(), 720) << "the bands' margins are undone at the end";
}

TEST_F(ReportFixture, AACTableOfAClassAfterAnUnusedOneAndOfAnEmptyTable)
{
    model::c35AACTable* table = model::GetFMUs().at(0)->AACTable();
    for (int i = 1; i <= model::kCostBracketCount; ++i) {
        table->SetTopSize(i, 0);
        table->SetCost(i, 0);
    }
    table->SaveChanges();
    model::c35AACTable* second = model::GetFMUs().at(1)->AACTable();
    second->SetTopSize(2, 0);
    second->SetCost(2, 0);
    second->SetTopSize(3, 2500.5f);
    second->SaveChanges();
    ASSERT_TRUE(Produce({10}));
    const QStringList rows = Calls().filter(QStringLiteral("TableRows \">1500|>1500|>1440;0|"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("TableRows \">1500|>1500|>1440;0|0.00|$0;\""))) << rows[0].toStdString();
    EXPECT_TRUE(rows[1].startsWith(QStringLiteral("TableRows \">1500|>1500|>1440;0|10.00|$910;|2,500.50|$410;2,501.00|"
                                                  "10,000.00|$260;")))
        << rows[1].toStdString();
}

TEST_F(FiveFMUReport, AACBandsStandFourToAPage)
{
    ASSERT_TRUE(Produce({10}));
    EXPECT_EQ(Bands(), (QList<std::pair<int, bool>>{{1440, false}, {4590, false}, {7740, false}, {10890, false}, {1440, true}}));
    EXPECT_EQ(Calls().count(QStringLiteral("NewPage")), 1);
    EXPECT_EQ(VSPrinter1().PageCount(), 2);
    EXPECT_TRUE(VSPrinter1().PageRecord(1).last().startsWith(QStringLiteral("running 2 [Tolmar No. 12|Ridge|Page ___]")));
}

TEST_F(FiveFMUReport, AACBandsOfTallTablesMoveDownRatherThanCoverTheTableBefore)
{
    // All nine size classes in use: a table taller than its band.
    for (model::c33FMU* fmu : model::GetFMUs()) {
        for (int i = 5; i <= model::kCostBracketCount; ++i) {
            fmu->AACTable()->SetTopSize(i, float(10000 * i));
            fmu->AACTable()->SetCost(i, 100);
        }
        fmu->AACTable()->SaveChanges();
    }
    ASSERT_TRUE(Produce({10}));
    const QList<std::pair<int, bool>> bands = Bands();
    ASSERT_EQ(bands.size(), 5);
    EXPECT_EQ(bands[0], std::make_pair(1440, false));
    ExpectBandsClearOfTheTableBefore();
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
}

#include "report_fixture.h"
#include "section_record.h"

#include "core/u14properties.h"
#include "model/c33fmu.h"
#include "model/c34nvctable.h"
#include "model/c35aactable.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g33fmus.h"
#include "model/g51alternatives.h"
#include "model/c64burnarea.h"
#include "model/textnumbers.h"
#include "platform/grid/numberformat.h"
#include "reports/printsettings.h"
#include "reports/sections/sectionnumbers.h"

using reports::VSPrinter1;

namespace {

const QString kBase = QStringLiteral("margins 720,720,720,720 indents 0,0,0");

// The cell and paragraph texts of every page in printing order, without the running lines.
QStringList Texts()
{
    QStringList out;
    for (int p = 0; p < VSPrinter1().PageCount(); ++p)
        for (const QString& line : VSPrinter1().PageRecord(p))
            if (line.startsWith(QStringLiteral("text ")))
                out << line.section(u'"', 1, -2);
    return out;
}

// The texts that follow the first one equal to `from`, `count` of them.
QStringList TextsAfter(const QString& from, int count)
{
    const QStringList texts = Texts();
    const qsizetype at = texts.indexOf(from);
    return at < 0 ? QStringList{QStringLiteral("<%1 not printed>").arg(from)} : texts.mid(at + 1, count);
}

// The calls that open a run of one section: the document, the section's title and its empty line.
QStringList SectionStart(const char* title)
{
    return {QStringLiteral("StartDoc"),
            QStringLiteral("Paragraph \"%1\" at 720,770 ").arg(QString::fromLatin1(title)) + kBase + " align 1 F 12 b",
            QStringLiteral("Paragraph \"\" at 720,* ") + kBase + " align 1 F 12 b"};
}

qsizetype IndexOf(const QStringList& calls, const QString& start, qsizetype from = 0)
{
    for (qsizetype i = from; i < calls.size(); ++i)
        if (calls[i].startsWith(start))
            return i;
    return -1;
}

// The vertical position a call was made at.
int YOf(const QString& call)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral(" at -?\\d+,(-?\\d+) ")).match(call);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

}  // namespace

// ---- Estimated suppression cost ---------------------------------------------------------------

TEST_F(ReportFixture, CostsPrintTheCostByFMUAndTheResourcesOfEveryAlternative)
{
    ASSERT_TRUE(Produce({9}));
    const QStringList calls = Calls();
    ExpectCalls(calls.mid(0, 9), SectionStart("Estimated Suppression Costs") + QStringList{
        QStringLiteral("Paragraph \"\" at 720,1440 ") + kBase + " align 0 F 10",
        QStringLiteral("AddTable \"2700|^540|^900|>1260|^540|^900|>1260|^540|^900|>1260;\" \"Alternative A. Strategy 1|||||||||;\" "
                       "\"\" style 7 at 720,* ") + kBase + " align 0 F 8",
        QStringLiteral("EndTable 4 rows"),
        // Two FMUs: the label stands over the first table only.
        QStringLiteral("AddTable \">600|1440|>540|1020|>600|1440|>540|1020|>600|1440|>540|1020;\" \"|||||||||||;\" \"\" style 0 at 720,* ")
            + kBase + " align 0 F 8",
        QStringLiteral("EndTable 5 rows"),
        QStringLiteral("Paragraph \"\" at 720,* ") + kBase + " align 0 F 10"});
    EXPECT_EQ(calls.filter(QRegularExpression(QStringLiteral("^AddTable \"2700\\|"))).size(), 4);
    EXPECT_EQ(calls.last(), QStringLiteral("EndDoc"));
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);

    // Alternative A: Target 373 acres, Fallback 546, Extreme 7,981; Unit-1 costs $405 an acre up to
    // 1,000 acres and $255 up to 10,000 (A's Target: 45 % x $405 x 373 acres = 67,979).
    EXPECT_EQ(TextsAfter(QStringLiteral("Alternative A. Strategy 1"), 25), (QStringList{
        "Target Outcome", "Fallback Outcome", "Extreme Outcome",
        "FMU", "%", "$/acre", "Cost", "%", "$/acre", "Cost", "%", "$/acre", "Cost",
        "Unit-1", "45", "405", "67979", "47", "405", "103931", "48", "255", "976874",
        "Unit-2", "54"}));
    EXPECT_EQ(TextsAfter(QStringLiteral("67979"), 0), QStringList());
    // Its resources, cost and basis; every outcome's cost and basis line up on the last two rows.
    EXPECT_EQ(TextsAfter(QStringLiteral("1058281"), 22), (QStringList{
        "Target Outcome", "Fallback Outcome", "Extreme Outcome",
        "1", "T1C", "1", "crew-day", "2", "T2C", "2", "crew-day", "3", "HOSE", "9", "roll",
        "4", "WT", "10", "day", "5", "T1C", "1"}));
    EXPECT_EQ(TextsAfter(QStringLiteral("crew-day"), 0), QStringList());
    const QStringList texts = Texts();
    const qsizetype cost = texts.indexOf(QStringLiteral("Estimated suppression cost:  $151,000"));
    ASSERT_GT(cost, 0);
    EXPECT_EQ(texts.mid(cost, 6), (QStringList{
        "Estimated suppression cost:  $151,000", "Estimated suppression cost:  $94,000",
        "Estimated suppression cost:  $261,105", "Basis for cost estimate:\r\nHistoric average cost per acre",
        "Basis for cost estimate:\r\nEstimated suppression resources needed",
        "Basis for cost estimate:\r\nEstimated from similar fires"}));
    EXPECT_TRUE(texts.contains(QStringLiteral("Basis for cost estimate:\r\nDaily expense rate")));
}

TEST_F(ReportFixture, CostsLeaveAHiddenFallbackEmptyAndAnUnknownSourceWithoutABasis)
{
    // Alternative C keeps its Fallback hidden. A cost source the program does not know still
    // prints the estimated cost (0 dollars), but no basis.
    const auto c = model::GetAlternatives().At(2);
    db().Execute(QStringLiteral("UPDATE Outcomes SET CostSource = 3 WHERE ItemKey = ?"), {c->Outcome(1)->ItemKey()});
    testsupport::ClearModelCaches();
    ASSERT_TRUE(Produce({9}));
    EXPECT_EQ(TextsAfter(QStringLiteral("Alternative C. Strategy 3"), 10), (QStringList{
        "Target Outcome", "Extreme Outcome", "FMU", "%", "$/acre", "Cost", "%", "$/acre", "Cost", "Unit-1"}));
    const QStringList texts = Texts();
    const qsizetype cost = texts.indexOf(QStringLiteral("Estimated suppression cost:  $0"));
    ASSERT_GT(cost, 0);
    EXPECT_EQ(texts.mid(cost + 1, 2), (QStringList{"Estimated suppression cost:  $261,105",
                                                    "Basis for cost estimate:\r\nEstimated from similar fires"}));
}

// ---- AAC tables -------------------------------------------------------------------------------

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

// ---- Complexity analysis ---------------------------------------------------------------------

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
    EXPECT_EQ(VSPrinter1().Calls()[8].section(QStringLiteral(" margins "), 1).section(u',', 0, 0).toInt(),
              YOf(VSPrinter1().Calls()[8]))
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

// ---- Computation of NVC -----------------------------------------------------------------------

TEST_F(ReportFixture, ImpactComputationsBuildEachOutcomeFromTheFMUsAndLevels)
{
    ASSERT_TRUE(Produce({13}));
    const QStringList calls = Calls();
    ExpectCalls(calls.mid(0, 6), SectionStart("Computation of NVC Losses by FMU and FIL") + QStringList{
        QStringLiteral("Paragraph \"\" at 720,1440 ") + kBase + " align 0 F 10",
        QStringLiteral("AddTable \"1440|^480|^780|^540|>900|>1260|^540|>900|>1260|^540|>900|>1260;\" \"Alternative A. Strategy 1\" "
                       "\"\" style 0 at 720,* ") + kBase + " align 0 F 8",
        QStringLiteral("EndTable 15 rows")});
    EXPECT_EQ(calls.filter(QStringLiteral("EndTable 15 rows")).size(), 4);
    EXPECT_EQ(calls.last(), QStringLiteral("EndDoc"));

    EXPECT_EQ(TextsAfter(QStringLiteral("Alternative A. Strategy 1"), 27), (QStringList{
        "Target Outcome", "Fallback Outcome", "Extreme Outcome",
        "FMU", "FIL", "$/acre", "%", "Acres", "Impact", "%", "Acres", "Impact", "%", "Acres", "Impact",
        // 45 % of A's Target (373 acres) is in Unit-1, 18 % of that at level 1 ($-200 an acre).
        "Unit-1", "1", "-200", "8", "30", "-6043", "15", "85", "-16937", "8", "690", "-137912"}));
    // The totals are the outcomes' own NVC, to 2 significant digits; the rows need not add up to them.
    EXPECT_EQ(TextsAfter(QStringLiteral("-1241205"), 0), QStringList());
    const QStringList texts = Texts();
    const qsizetype total = texts.indexOf(QStringLiteral("Total"));
    ASSERT_GT(total, 0);
    EXPECT_EQ(texts.mid(total, 10), (QStringList{"Total", "100", "373", "-$250,000", "100", "546", "-$370,000", "100", "7981",
                                                  "-$5,400,000"}));
    // C's Fallback is hidden: nothing between its Target and Extreme columns.
    EXPECT_EQ(TextsAfter(QStringLiteral("Alternative C. Strategy 3"), 5),
              (QStringList{"Target Outcome", "Extreme Outcome", "FMU", "FIL", "$/acre"}));
}

TEST_F(ReportFixture, ImpactComputationOfAFireSizeThatCannotBeReadIsZeroAndTheReportGoesOn)
{
    // A size that is empty or not a number in the file reads as 0 in every branch.
    const auto a = model::GetAlternatives().At(0);
    db().Execute(QStringLiteral("UPDATE Outcomes SET FireSize = NULL WHERE ItemKey = ?"), {a->Outcome(1)->ItemKey()});
    db().Execute(QStringLiteral("UPDATE Outcomes SET FireSize = 'abc' WHERE ItemKey = ?"), {a->Outcome(2)->ItemKey()});
    testsupport::ClearModelCaches();
    ASSERT_TRUE(Produce({9, 13}));
    EXPECT_EQ(TextsAfter(QStringLiteral("Unit-1"), 11).mid(0, 11),
              (QStringList{"45", "905", "0", "47", "905", "0", "48", "255", "976874", "Unit-2", "54"}));
    const QStringList texts = Texts();
    const qsizetype total = texts.indexOf(QStringLiteral("Total"));
    ASSERT_GT(total, 0);
    EXPECT_EQ(texts.mid(total, 7), (QStringList{"Total", "100", "0", "$0", "100", "0", "$0"}));
}

class NoFMUReport : public ReportFixture {
protected:
    testsupport::AnalysisSize Size() const override { return {2, 0, 2, 3, 1, 6}; }
};

TEST_F(NoFMUReport, ImpactComputationOfTheWholeFireShowsTheLevelsThemselves)
{
    ASSERT_TRUE(Produce({13}));
    EXPECT_TRUE(Calls().contains(QStringLiteral("EndTable 9 rows")));
    model::c53Outcome& target = *model::GetAlternatives().At(0)->Outcome(1);
    const float perAcre = model::GetNVCTable(0)->FilTotal(1);
    const int level = target.BurnArea(0)->FILPercent(1);
    // The Target covers 373 acres; its first level's share is printed as it is.
    const QStringList texts = TextsAfter(QStringLiteral("$/acre"), 14);
    ASSERT_EQ(texts.size(), 14);
    EXPECT_EQ(texts.mid(9), (QStringList{"1", grid::FormatNumber(perAcre, "0"), QString::number(level),
                                         QString::number(model::textnum::RoundHalfEven(373.0 * level) / 100),
                                         grid::FormatNumber(double(perAcre) * level * 373 / 100, "0")}));
}

// ---- NVC tables -------------------------------------------------------------------------------

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

class FiveFMUReport : public ReportFixture {
protected:
    testsupport::AnalysisSize Size() const override { return {4, 5, 5, 6, 2, 12}; }
    void SetUp() override
    {
        ReportFixture::SetUp();
        // Cost tables of four size classes, short enough for their bands.
        for (model::c33FMU* fmu : model::GetFMUs()) {
            for (int i = 5; i <= model::kCostBracketCount; ++i) {
                fmu->AACTable()->SetTopSize(i, 0);
                fmu->AACTable()->SetCost(i, 0);
            }
            fmu->AACTable()->SaveChanges();
        }
    }

    // The vertical positions of the FMU bands, and whether a new page comes before each.
    static QList<std::pair<int, bool>> Bands()
    {
        QList<std::pair<int, bool>> bands;
        const QStringList calls = Calls();
        qsizetype last = 0;
        for (qsizetype i = 0; i < calls.size(); ++i) {
            if (!calls[i].startsWith(QStringLiteral("Paragraph \"Fire Management Unit: ")))
                continue;
            bands.append({YOf(calls[i]), calls.mid(last, i - last).contains(QStringLiteral("NewPage"))});
            last = i;
        }
        return bands;
    }
};

TEST_F(FiveFMUReport, AACBandsStandFourToAPage)
{
    ASSERT_TRUE(Produce({10}));
    EXPECT_EQ(Bands(), (QList<std::pair<int, bool>>{{1440, false}, {4590, false}, {7740, false}, {10890, false}, {1440, true}}));
    EXPECT_EQ(Calls().count(QStringLiteral("NewPage")), 1);
    EXPECT_EQ(VSPrinter1().PageCount(), 2);
    EXPECT_TRUE(VSPrinter1().PageRecord(1).last().startsWith(QStringLiteral("running 2 [Tolmar No. 12|Ridge|Page ___]")));
}

// A band stands at its place, or just below the table before it where that table is taller
// than the band allows (with the fonts installed), or on a page of its own.
void ExpectBandsClearOfTheTableBefore()
{
    int checked = 0;
    for (int page = 0; page < VSPrinter1().PageCount(); ++page) {
        const QList<sectionrecord::Band> bands = sectionrecord::BandsOn(page);
        for (qsizetype k = 1; k < bands.size(); ++k, ++checked)
            EXPECT_GE(bands[k].top, bands[k - 1].bottom) << "band " << k + 1 << " of page " << page + 1;
    }
    EXPECT_GT(checked, 0) << "bands share a page";
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
    EXPECT_EQ(VSPrinter1().PageCount(), 3);
    ExpectBandsClearOfTheTableBefore();
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

TEST_F(FiveFMUReport, EverySectionPrintsEveryFMU)
{
    ASSERT_TRUE(Produce({9, 10, 12, 13, 14, 19}));
    const QStringList texts = Texts();
    // Cost by FMU of A and the computation of NVC of A list the five units in order.
    const qsizetype cost = texts.indexOf(QStringLiteral("Alternative A. Strategy 1"));
    ASSERT_GE(cost, 0);
    QStringList units;
    for (qsizetype i = cost; i < texts.size() && units.size() < 5; ++i)
        if (texts[i].startsWith(QStringLiteral("Unit-")))
            units << texts[i];
    EXPECT_EQ(units, (QStringList{"Unit-1", "Unit-2", "Unit-3", "Unit-4", "Unit-5"}));
    EXPECT_TRUE(Calls().contains(QStringLiteral("EndTable 33 rows"))) << "five blocks of six levels";
    EXPECT_TRUE(Calls().contains(QStringLiteral("EndTable 7 rows"))) << "the cost-by-FMU table";
    EXPECT_EQ(Calls().filter(QStringLiteral("Paragraph \"Fire Management Unit: ")).size(), 10);
    // The estimated loss takes its resources from all five units: two tables a page.
    const QStringList calls = Calls();
    EXPECT_EQ(YOf(calls[IndexOf(calls, QStringLiteral("Paragraph \"Alternative B. Strategy 2\" at 720,8040"))]), 8040);
    EXPECT_EQ(Calls().filter(QStringLiteral("\"Incident Complexity Analysis\"")).size(), 1);
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
}

// ---- Estimated loss ---------------------------------------------------------------------------

TEST_F(ReportFixture, EstimatedLossPrintsTwoTablesAPageWithTheTotalsAndTheExpectedImpact)
{
    ASSERT_TRUE(Produce({12}));
    const QStringList calls = Calls();
    ExpectCalls(calls.mid(0, 6), SectionStart("Resource Value Losses") + QStringList{
        QStringLiteral("Paragraph \"Note: Outcome values, including totals, are rounded to 3 significant digits counting from the left.\" "
                       "at 720,* ") + kBase + " align 0 F 10",
        QStringLiteral("Paragraph \"Expected Impact is rounded to 2 significant digits.\" at 720,* ") + kBase + " align 0 F 10",
        QStringLiteral("Paragraph \"\" at 720,* ") + kBase + " align 0 F 10"});
    const qsizetype a = IndexOf(calls, QStringLiteral("Paragraph \"Alternative A. Strategy 1\""));
    ASSERT_GT(a, 0);
    const QString at = QStringLiteral(" at 720,* margins 2040,720,720,720 indents 0,0,0 align 0 F ");
    ExpectCalls(calls.mid(a, 3), {
        QStringLiteral("Paragraph \"Alternative A. Strategy 1\" at 720,2040 margins 2040,720,720,720 indents 0,0,0 align 1 F 11 b"),
        QStringLiteral("TableRows \"2880!|^1800!|^1800!|^1800!|^1800;Item|Target Outcome (40%)|Fallback Outcome (18%)|"
                       "Extreme Outcome (42%)|Expected Impact;\" style 0 row 0 header 0 at 720,2440 margins 2040,720,720,720 "
                       "indents 0,0,0 align 0 F 10 b"),
        QStringLiteral("TableRows \"2880!|>1800!|>1800!|>1800!|>1800;Timber|31,600|42,100|676,000|;\" style 2 row 0 header 0")
            + at + "9"});
    ExpectCalls(calls.mid(a + 16, 1), {
        QStringLiteral("TableRows \">2880!|>1800!|>1800!|>1800!|>1800;Total (rounded)|$250,000|$370,000|$5,400,000|$2,400,000;\" "
                       "style 2 row 50 header 0") + at + "10"});
    // Fourteen resources with values and four alternatives: two tables a page.
    const qsizetype b = IndexOf(calls, QStringLiteral("Paragraph \"Alternative B. Strategy 2\""));
    EXPECT_EQ(YOf(calls[b]), 8040);
    const qsizetype c = IndexOf(calls, QStringLiteral("Paragraph \"Alternative C. Strategy 3\""));
    EXPECT_EQ(calls.mid(b, c - b).count(QStringLiteral("NewPage")), 1);
    EXPECT_EQ(YOf(calls[c]), 2040);
    // C's Fallback is hidden: its title and cells are empty.
    EXPECT_TRUE(calls[c + 1].contains(QStringLiteral(";Item|Target Outcome (66%)||Extreme Outcome (34%)|Expected Impact;")));
    EXPECT_TRUE(calls[c + 2].contains(QStringLiteral(";Timber|90,200||676,000|;")));
    EXPECT_EQ(VSPrinter1().TableRowSetting(), 0);
}

TEST_F(ReportFixture, EstimatedLossOfAnOutcomeThatCannotOccurIsNotApplicable)
{
    const auto alternatives = model::GetAlternatives().Items();
    alternatives[0]->Outcome(1)->SetSuccess(100);   // A's Target always succeeds
    alternatives[0]->Outcome(1)->SaveChanges();
    alternatives[1]->Outcome(2)->SetSuccess(100);   // B's Fallback always succeeds
    alternatives[1]->Outcome(2)->SaveChanges();
    alternatives[2]->Outcome(1)->SetSuccess(100);   // C's Target, with its Fallback hidden
    alternatives[2]->Outcome(1)->SaveChanges();
    ASSERT_TRUE(Produce({12}));
    const QStringList calls = Calls();
    const auto rowsOf = [&calls](const char* label) {
        const qsizetype at = IndexOf(calls, QStringLiteral("Paragraph \"") + QString::fromLatin1(label));
        return std::make_pair(calls[at + 2].section(u';', 1, 1), calls[at + 16].section(u';', 1, 1));
    };
    const auto a = rowsOf("Alternative A.");
    EXPECT_EQ(a.first, QStringLiteral("Timber|31,600|n/a|n/a|"));
    EXPECT_TRUE(a.second.startsWith(QStringLiteral("Total (rounded)|$250,000|n/a|n/a|$"))) << a.second.toStdString();
    const auto b = rowsOf("Alternative B.");
    EXPECT_TRUE(b.first.endsWith(QStringLiteral("|n/a|"))) << b.first.toStdString();
    EXPECT_FALSE(b.first.contains(QStringLiteral("n/a|n/a")));
    const auto c = rowsOf("Alternative C.");
    EXPECT_EQ(c.first, QStringLiteral("Timber|90,200|n/a|n/a|"));
    EXPECT_TRUE(c.second.startsWith(QStringLiteral("Total (rounded)|$680,000||n/a|$"))) << c.second.toStdString();
}

TEST_F(ReportFixture, EstimatedLossLayoutFollowsTheResourcesWithValues)
{
    // Resources without a value in any FMU are left out; fewer rows, more tables a page.
    const struct { int withValues; int code; } cases[] = {{14, 38}, {13, 39}, {11, 39}, {10, 48}, {9, 48}, {8, 49}, {0, 49}};
    for (const auto& c : cases) {
        for (model::c33FMU* fmu : model::GetFMUs()) {
            model::c34NVCTable* table = fmu->NVCTable();
            for (int r = 1; r <= model::kNVCResourceCount; ++r)
                for (int fil = 1; fil <= model::kFILCount; ++fil)
                    table->SetNVCCellValue(r, fil, r <= c.withValues ? -10.0f * fil : 0.0f);
            table->SaveChanges();
        }
        EXPECT_EQ(reports::sections::GetImpactTableLayout(), c.code) << c.withValues;
    }
    // No resource with a value: each table has its header and its total only.
    ASSERT_TRUE(Produce({12}));
    const QStringList calls = Calls();
    const qsizetype a = IndexOf(calls, QStringLiteral("Paragraph \"Alternative A."));
    EXPECT_TRUE(calls[a + 2].startsWith(QStringLiteral("TableRows \">2880!|>1800!|>1800!|>1800!|>1800;Total (rounded)|$0|$0|$0|$0;\"")))
        << calls[a + 2].toStdString();
    // Four alternatives at code 49 are four a page.
    EXPECT_EQ(YOf(calls[IndexOf(calls, QStringLiteral("Paragraph \"Alternative B."))]), 5040);
    EXPECT_EQ(YOf(calls[IndexOf(calls, QStringLiteral("Paragraph \"Alternative D."))]), 11040);
    EXPECT_EQ(calls.count(QStringLiteral("NewPage")), 0);
}

TEST_F(NoFMUReport, ImpactComputationOfTheWholeFireReadsAnUnreadableSizeAsZero)
{
    const auto a = model::GetAlternatives().At(0);
    db().Execute(QStringLiteral("UPDATE Outcomes SET FireSize = 'about 40' WHERE ItemKey = ?"), {a->Outcome(1)->ItemKey()});
    testsupport::ClearModelCaches();
    ASSERT_TRUE(Produce({9, 13}));
    const QStringList texts = Texts();
    const qsizetype total = texts.indexOf(QStringLiteral("Total"));
    ASSERT_GT(total, 0);
    EXPECT_EQ(texts.mid(total, 4), (QStringList{"Total", "100", "0", "$0"}));
    EXPECT_EQ(Calls().last(), QStringLiteral("EndDoc"));
}

TEST_F(NoFMUReport, WithoutFMUsEachTableStandsForTheWholeFire)
{
    ASSERT_TRUE(Produce({9, 10, 14}));
    const QStringList calls = Calls();
    EXPECT_TRUE(calls.filter(QStringLiteral("Fire Management Unit: ")).isEmpty());
    EXPECT_TRUE(calls.filter(QStringLiteral("AddTable \"2700|")).isEmpty()) << "no cost by FMU";
    EXPECT_EQ(calls.filter(QStringLiteral("AddTable \">600|1440|>540|1020|>600|1440|>540|1020|>600|1440|>540|1020;\" "
                                          "\"Alternative A. Strategy 1|||||||||||;\"")).size(), 1)
        << "the resource table carries the label";
    const qsizetype aac = IndexOf(calls, QStringLiteral("TableRows \">1500|>1500|>1440;0|"));
    ASSERT_GT(aac, 0);
    EXPECT_TRUE(calls[aac].contains(QStringLiteral(" margins 2880,720,720,720 "))) << calls[aac].toStdString();
    EXPECT_EQ(calls.filter(QStringLiteral("TableRows \"3000!|^1020!|^1020!|^1020!|^1020!|^1020!|^1020!;Totals|")).size(), 1);
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
}

TEST_F(ReportFixture, WithoutAlternativesTheAlternativeSectionsPrintTheirTitlesAlone)
{
    while (!model::GetAlternatives().IsEmpty())
        model::DeleteAlternative(model::GetAlternatives().KeyAt(0));
    testsupport::ClearModelCaches();
    ASSERT_TRUE(Produce({9, 12, 13}));
    const QStringList calls = Calls();
    EXPECT_TRUE(calls.filter(QRegularExpression(QStringLiteral("^(AddTable|TableRows)"))).isEmpty());
    QStringList paragraphs;
    for (const QString& call : calls)
        if (call.startsWith(QStringLiteral("Paragraph \"")) && !call.startsWith(QStringLiteral("Paragraph \"\"")))
            paragraphs << call.section(u'"', 1, 1);
    EXPECT_EQ(paragraphs, (QStringList{"Estimated Suppression Costs", "Resource Value Losses",
                                       "Note: Outcome values, including totals, are rounded to 3 significant digits counting from the left.",
                                       "Expected Impact is rounded to 2 significant digits.", "Computation of NVC Losses by FMU and FIL"}));
    EXPECT_EQ(VSPrinter1().PageCount(), 3);
}

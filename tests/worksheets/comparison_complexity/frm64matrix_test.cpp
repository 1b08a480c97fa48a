#include "worksheets/comparison_complexity/frm64matrix.h"

#include "core/costsource.h"
#include "core/g0items.h"
#include "model/c34nvctable.h"
#include "model/c36threateneditem.h"
#include "model/c41objective.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/c62rating.h"
#include "model/c64burnarea.h"
#include "model/c66itemimpact.h"
#include "model/g33fmus.h"
#include "model/g34nvcresources.h"
#include "model/g36threateneditems.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "support/keeppicture.h"
#include "support/placedform.h"
#include "support/worksheet_fixture.h"
#include "worksheets/comparison_complexity/registerforms.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

using model::OutcomeKind;
using worksheets::comparison_complexity::frm64Matrix;

namespace {

// The system colour, read once the application (and its palette) exists.
QColor ButtonFace() { return grid::VbColor(0x8000000F); }
const QColor kLightYellow(255, 255, 224);
const QColor kGreen(0, 255, 0);
const QColor kLightGreen(192, 255, 192);

class MatrixTest : public WorksheetFixture<frm64Matrix> {
protected:
    MatrixTest() : WorksheetFixture({.size = {900, 600}}) {}
    grid::Grid& open()
    {
        reload();
        return *WorksheetFixture::open().Grid1();
    }
    static int Col(int a, int o) { return frm64Matrix::Column(a, o); }
};

TEST_F(MatrixTest, IsTheRegisteredFormOfItsWorksheet)
{
    worksheets::comparison_complexity::RegisterForms();
    std::unique_ptr<worksheets::WorksheetForm> made = testsupport::CreateForm("tab64");
    ASSERT_NE(dynamic_cast<frm64Matrix*>(made.get()), nullptr);
    made->Setup();
    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab64");
}

TEST_F(MatrixTest, NoAlternativesLeavesTheCaptionColumnsAndSaysWhy)
{
    grid::Grid& g = open();
    EXPECT_EQ(g.cols(), 3);
    EXPECT_EQ(g.rows(), 11);   // ten fixed rows and the safety score; no objective, no issue
    EXPECT_EQ(g.text(2, 0), "Expected Suppression Cost");
    EXPECT_EQ(g.text(7, 0), "Outcome Probabilities");
    EXPECT_EQ(g.text(9, 0), "Expected Objectives Score");
    EXPECT_EQ(g.text(10, 0), "Expected Safety Score");
    EXPECT_TRUE(form->lblNoAlternatives()->isVisible());
}

TEST_F(MatrixTest, LayoutColoursAndMergesOfTwoAlternatives)
{
    // Equal expected costs side by side (B: 60% of 1,000 + 20% of 1,000); A without a
    // Fallback, B with one.
    addAlternative({"Direct attack", 800});
    addAlternative({"Confine", 1000, 60, 50, 1000});
    model::c41Objective* o = model::AddObjective("Protect the watershed", 3);
    o->SetItemName("Protect the watershed");
    o->SetPriority(5);
    o->SaveChanges();
    model::AddSafetyIssue("Steep slopes")->SaveChanges();
    model::ClearObjectives();
    model::ClearSafetyIssues();
    grid::Grid& g = open();

    ASSERT_EQ(g.cols(), 4 * 2 + 3);
    // Rows: 0-9, the category and its objective, the safety score, the issue.
    ASSERT_EQ(g.rows(), 14);
    EXPECT_FALSE(form->lblNoAlternatives()->isVisible());
    EXPECT_EQ(g.rowHeight(0), 660);
    EXPECT_EQ(g.colWidth(0), 3000);
    EXPECT_EQ(g.colWidth(1), 450);
    EXPECT_EQ(g.colWidth(2), 24);
    // The last column of an alternative widens to show its caption whole.
    ASSERT_EQ(g.text(6, 10), "Alt B");
    EXPECT_GE(g.colWidth(10), 450);
    EXPECT_LE(g.fontMetrics().horizontalAdvance("Alt B") + 6, g.columnWidth(10) - 1);

    // Headings: one cell per alternative across its four columns; captions across 0 and 1.
    EXPECT_EQ(g.text(0, Col(1, 1)), "A. Direct attack");
    EXPECT_EQ(g.text(0, Col(2, 4)), " B. Confine");
    EXPECT_EQ(g.mergedRange(0, Col(1, 2)), QRect(Col(1, 1), 0, 4, 1));
    EXPECT_EQ(g.mergedRange(2, 1), QRect(0, 2, 2, 1));
    // The same amount under two alternatives stays two cells.
    EXPECT_EQ(g.text(1, Col(2, 1)), " $1,000");
    EXPECT_EQ(g.text(2, Col(1, 1)), "$800");
    EXPECT_EQ(g.text(2, Col(2, 1)), " $800");
    EXPECT_EQ(g.mergedRange(2, Col(1, 4)), QRect(Col(1, 1), 2, 4, 1));
    EXPECT_EQ(g.mergedRange(2, Col(2, 1)), QRect(Col(2, 1), 2, 4, 1));

    // An NVC table of zeros hides the resource loss row, which stays empty.
    ASSERT_TRUE(model::bNVCTableEmpty());
    EXPECT_EQ(g.rowHeight(4), 0);
    EXPECT_EQ(g.text(4, 0), "");
    EXPECT_EQ(g.text(4, Col(1, 1)), "");

    // Outcome labels and probabilities: A has no Fallback, so 100 / 0 / 0; B 60 / 20 / 20.
    const QStringList labels{"Tgt", "FB", "Ex", "Alt A"};
    for (int o = 1; o <= 4; ++o)
        EXPECT_EQ(g.text(6, Col(1, o)), labels[o - 1]);
    EXPECT_EQ(g.text(6, Col(2, 4)), "Alt B");
    EXPECT_EQ(QStringList({g.text(7, Col(1, 1)), g.text(7, Col(1, 2)), g.text(7, Col(1, 3)), g.text(7, Col(1, 4))}),
              QStringList({"100", "0", "0", ""}));
    EXPECT_EQ(QStringList({g.text(7, Col(2, 1)), g.text(7, Col(2, 2)), g.text(7, Col(2, 3))}),
              QStringList({"60", "20", "20"}));
    EXPECT_EQ(g.text(8, 0), "Objective");
    EXPECT_EQ(g.text(8, 1), "Wgt");

    // Scores: no ratings, so every score is 0. A's Fallback cells stay empty; Extreme shows.
    EXPECT_EQ(g.text(9, Col(1, 1)), "0");
    EXPECT_EQ(g.text(9, Col(1, 2)), "");
    EXPECT_EQ(g.text(9, Col(1, 3)), "0");
    EXPECT_EQ(g.text(9, Col(1, 4)), "0.0");
    // Equal scores of different outcomes are never joined into one cell.
    for (int c = 3; c < g.cols(); ++c)
        EXPECT_EQ(g.mergedRange(9, c).width(), 1) << c;

    // The category row: no indent, light green, no weight, no scores; its objective indented.
    EXPECT_EQ(g.text(10, 0), "Natural and Cultural Resources");
    EXPECT_EQ(g.text(10, 1), "");
    EXPECT_EQ(g.text(10, Col(1, 1)), "");
    EXPECT_EQ(g.cellBackColor(10, Col(2, 4)), kLightGreen);
    EXPECT_EQ(g.text(11, 0), "     Protect the watershed");
    EXPECT_EQ(g.text(11, 1), "1.00");
    EXPECT_EQ(g.text(11, Col(2, 2)), "0");
    EXPECT_FALSE(g.cellBackColor(11, 0).isValid());
    // Safety: the score row, then the issue, indented and never coloured.
    EXPECT_EQ(g.text(12, 0), "Expected Safety Score");
    EXPECT_EQ(g.text(13, 0), "     Steep slopes");
    EXPECT_EQ(g.text(13, 1), "1.00");
    EXPECT_EQ(g.text(13, Col(1, 2)), "");
    EXPECT_EQ(g.text(13, Col(2, 2)), "0");
    EXPECT_FALSE(g.cellBackColor(13, 1).isValid());

    const int last = g.cols() - 1;
    EXPECT_EQ(g.cellBackColor(0, 0), ButtonFace());
    EXPECT_EQ(g.cellBackColor(1, last), kLightYellow);
    EXPECT_EQ(g.cellBackColor(5, 0), kGreen);
    EXPECT_EQ(g.cellBackColor(9, last), kGreen);
    EXPECT_EQ(g.cellBackColor(12, 1), kGreen);
    EXPECT_EQ(g.cellBackColor(7, 4), ButtonFace());
}

TEST_F(MatrixTest, NeighboursWithTheSameLabelKeepAHeadingEach)
{
    addAlternative({"Confine", 1000});
    const int b = addAlternative({"Confine", 1000});
    auto alt = model::GetAlternative(b);
    alt->SetItemName("A");
    alt->SaveChanges();
    grid::Grid& g = open();
    EXPECT_EQ(g.mergedRange(0, Col(1, 1)), QRect(Col(1, 1), 0, 4, 1));
    EXPECT_EQ(g.mergedRange(0, Col(2, 1)), QRect(Col(2, 1), 0, 4, 1));
}

TEST_F(MatrixTest, ARootWithoutPriorityStillLeavesEveryRowInPlace)
{
    // A file whose objectives root lost its priority: the prioritized list then starts with
    // the category, not the root.
    model::c41Objective* o = model::AddObjective("Protect the watershed", 3);
    o->SetItemName("Protect the watershed");
    o->SetPriority(5);
    o->SaveChanges();
    db().Execute("UPDATE Objectives SET Priority = 0 WHERE \"Key\" = 1");
    model::ClearObjectives();
    addAlternative({"Direct attack", 1000});
    grid::Grid& g = open();
    ASSERT_EQ(g.rows(), 13);
    EXPECT_EQ(g.text(9, 0), "Expected Objectives Score");
    EXPECT_EQ(g.text(10, 0), "Natural and Cultural Resources");
    EXPECT_EQ(g.text(11, 0), "     Protect the watershed");
    EXPECT_EQ(g.text(12, 0), "Expected Safety Score");
}

// Every figure of a small analysis, worked by hand. A (Direct attack) has its Target alone:
// 100 / 0 / 0. B (Confine) has a Fallback: 60 / 20 / 20, the last 20 on the Extreme outcome.
TEST_F(MatrixTest, HandWorkedAnalysisCellByCell)
{
    // Objectives of priority 6 and 2 in two categories (weights 0.75 and 0.25); one safety
    // issue (weight 1).
    QList<int> objectives;
    for (const auto& [name, category, priority] : {std::tuple{"Protect the watershed", 3, 6}, std::tuple{"Keep the mill running", 5, 2}}) {
        model::c41Objective* o = model::AddObjective(name, category);
        o->SetItemName(name);
        o->SetPriority(priority);
        o->SaveChanges();
        objectives << o->ItemKey();
    }
    const int issue = model::AddSafetyIssue("Steep slopes")->ItemKey();
    // Costs: A $800; B $1,000 and $2,000 on its Fallback; the Extreme outcome $5,000.
    const int a = addAlternative({"Direct attack", 800});
    const int b = addAlternative({"Confine", 1000, 60, 50, 2000});
    auto extreme = model::GetExtremeOutcome();
    extreme->SetCostSource(model::CostSource::Entered);
    extreme->SetAdjustedCost(5000);
    extreme->SaveChanges();
    // Resources lose $30 an acre at the first intensity level, where every fire burns but the
    // Extreme one (0 acres): A's Target 1,000 acres, B's 500 and its Fallback 2,000.
    model::c34NVCTable* nvc = model::GetNVCTable(0);
    nvc->SetNVCCellValue(1, 1, -30);
    nvc->SaveChanges();
    const auto burn = [](model::c53Outcome& o, const char* acres) {
        o.SetFireSize(QString::fromLatin1(acres));
        o.SaveChanges();
        model::c64BurnArea* area = o.BurnArea(0);
        for (int fil = 1; fil <= 6; ++fil)
            area->SetFILPortion(fil, fil == 1 ? 1 : 0);
        area->SaveChanges();
    };
    burn(*model::GetAlternative(a)->Outcome(OutcomeKind::Target), "1000");
    burn(*model::GetAlternative(b)->Outcome(OutcomeKind::Target), "500");
    burn(*model::GetAlternative(b)->Outcome(OutcomeKind::Fallback), "2000");
    // Cabins worth $10,000 at 50%: $5,000 at risk. Protected fully by A's Target and B's
    // Fallback, half by B's Target.
    auto cabins = model::AddThreatenedItem("Cabins");
    cabins->SetPotentialLoss(10000);
    cabins->SetProbabilityLabel("Medium (50%)");
    cabins->SaveChanges();
    const auto protect = [&](model::c53Outcome& o, const char* level) {
        model::c66ItemImpact impact;
        impact.Initialize(o.ItemKey(), cabins->ItemKey());
        impact.SetProtectionLabel(QString::fromLatin1(level));
        impact.SaveChanges();
    };
    protect(*model::GetAlternative(a)->Outcome(OutcomeKind::Target), "Yes (100%)");
    protect(*model::GetAlternative(b)->Outcome(OutcomeKind::Target), "Partly (50%)");
    protect(*model::GetAlternative(b)->Outcome(OutcomeKind::Fallback), "Yes (100%)");
    // Ratings (first objective, second objective, safety issue).
    const auto rate = [&](model::c53Outcome& o, float first, float second, float safety) {
        using model::Criteria;
        for (const auto& [key, criteria, value] : {std::tuple{objectives[0], Criteria::Objectives, first},
                                                   std::tuple{objectives[1], Criteria::Objectives, second},
                                                   std::tuple{issue, Criteria::Safety, safety}}) {
            model::c62Rating r;
            r.Initialize(o.ItemKey(), key, criteria, model::RatingLevel::Criterion);
            r.SetRawScore(value);
            r.SaveChanges();
        }
    };
    rate(*model::GetAlternative(a)->Outcome(OutcomeKind::Target), 8, 4, 6);
    rate(*model::GetAlternative(b)->Outcome(OutcomeKind::Target), 6, 10, 9);
    rate(*model::GetAlternative(b)->Outcome(OutcomeKind::Fallback), 4, 8, 3);
    rate(*extreme, 2, 0, 1);
    grid::Grid& g = open();
    ASSERT_EQ(g.cols(), 4 * 2 + 3);
    ASSERT_EQ(g.rows(), 16);   // rows 0-9, two categories with an objective each, safety and its issue

    // The money rows span an alternative's four columns.
    const QStringList money[] = {
        // estimated (the Target's), expected cost, protected, resource loss, net
        {"$800", "$800", "$5,000", "$30,000", "-$25,800"},
        // 0.6 x 1,000 + 0.2 x 2,000 + 0.2 x 5,000; 0.6 x 2,500 + 0.2 x 5,000;
        // 0.6 x 15,000 + 0.2 x 60,000; 2,500 - 21,000 - 2,000
        {" $1,000", " $2,000", " $2,500", " $21,000", " -$20,500"},
    };
    for (int alt = 1; alt <= 2; ++alt)
        for (int o = 1; o <= 4; ++o)
            for (int r = 1; r <= 5; ++r)
                EXPECT_EQ(g.text(r, Col(alt, o)), money[alt - 1][r - 1]) << "alternative " << alt << ", row " << r;

    // By outcome (Target, Fallback, Extreme) and the expected value: probabilities, the score,
    // the category and objective rows, the safety score and the issue.
    const struct {
        int row;
        QStringList a, b;
    } rows[] = {
        {7, {"100", "0", "0", ""}, {"60", "20", "20", ""}},
        // 0.75 x 8 + 0.25 x 4 = 7, 0.75 x 2 = 1.5; B: 0.75 x 6 + 0.25 x 10 = 7, 0.75 x 4 + 0.25 x 8 = 5,
        // expected 0.6 x 7 + 0.2 x 5 + 0.2 x 1.5 = 5.5
        {9, {"7", "", "1.5", "7.0"}, {"7", "5", "1.5", "5.5"}},
        {10, {"", "", "", ""}, {"", "", "", ""}},
        {11, {"8", "", "2", "8.0"}, {"6", "4", "2", "4.8"}},     // 0.6 x 6 + 0.2 x 4 + 0.2 x 2
        {12, {"", "", "", ""}, {"", "", "", ""}},
        {13, {"4", "", "0", "4.0"}, {"10", "8", "0", "7.6"}},    // 0.6 x 10 + 0.2 x 8
        {14, {"6", "", "1", "6.0"}, {"9", "3", "1", "6.2"}},     // 0.6 x 9 + 0.2 x 3 + 0.2 x 1
        {15, {"6", "", "1", "6.0"}, {"9", "3", "1", "6.2"}},
    };
    for (const auto& r : rows) {
        for (int o = 1; o <= 4; ++o) {
            EXPECT_EQ(g.text(r.row, Col(1, o)), r.a[o - 1]) << "A, row " << r.row << ", column " << o;
            EXPECT_EQ(g.text(r.row, Col(2, o)), r.b[o - 1]) << "B, row " << r.row << ", column " << o;
        }
    }

    // Captions and weights.
    EXPECT_EQ(QStringList({g.text(10, 0), g.text(11, 0), g.text(12, 0), g.text(13, 0), g.text(14, 0), g.text(15, 0)}),
              QStringList({"Natural and Cultural Resources", "     Protect the watershed", "Economic",
                           "     Keep the mill running", "Expected Safety Score", "     Steep slopes"}));
    EXPECT_EQ(QStringList({g.text(10, 1), g.text(11, 1), g.text(12, 1), g.text(13, 1), g.text(15, 1)}),
              QStringList({"", "0.75", "", "0.25", "1.00"}));
}

} // namespace

// A long alternative name wraps in the heading, as the grid paints it, so that its start (the
// letter) shows; on one line only its middle showed. The "Alt B" of row 6 stays on its line.
TEST_F(MatrixTest, ALongNameWrapsInItsHeading)
{
    addAlternative({"Direct attack", 1000});
    addAlternative({"Hold the ridge line from the county road to the river", 1000});
    grid::Grid& g = open();
    const auto paintedWidth = [&g](int row, int first, int last) {
        int twips = 0;
        for (int c = first; c <= last; ++c)
            twips += g.colWidth(c);
        const auto pixels = [&g](int t) { return int(t * g.logicalDpiX() / 1440.0); };
        const QRect cell = QRect(0, 0, pixels(twips), pixels(g.rowHeight(row))).adjusted(3, 1, -3, -1);
        const int wrap = g.colWordWrap(first) ? int(Qt::TextWordWrap) : 0;
        const QRect needed = g.fontMetrics().boundingRect(cell, int(Qt::AlignCenter) | wrap, g.text(row, first));
        return std::pair{needed, cell};
    };
    const auto [heading, headingCell] = paintedWidth(0, Col(2, 1), Col(2, 4));
    EXPECT_LE(heading.width(), headingCell.width());
    EXPECT_LE(heading.height(), headingCell.height());
    const int altRow = 6;
    ASSERT_EQ(g.text(altRow, Col(2, 4)), QStringLiteral("Alt B"));
    const auto [alt, altCell] = paintedWidth(altRow, Col(2, 4), Col(2, 4));
    EXPECT_LE(alt.height(), altCell.height());
}

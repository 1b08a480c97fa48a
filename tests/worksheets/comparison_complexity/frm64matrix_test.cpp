#include "worksheets/comparison_complexity/frm64matrix.h"

#include "comparison_fixture.h"
#include "model/c41objective.h"
#include "model/g34nvcresources.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/g53outcomes.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "worksheets/comparison_complexity/registerforms.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <memory>

using worksheets::comparison_complexity::frm64Matrix;

namespace {

// The system colour, read once the application (and its palette) exists.
QColor ButtonFace() { return grid::VbColor(0x8000000F); }
const QColor kLightYellow(255, 255, 224);
const QColor kGreen(0, 255, 0);
const QColor kLightGreen(192, 255, 192);

class MatrixTest : public ComparisonFixture {
protected:
    void TearDown() override
    {
        form.reset();
        ComparisonFixture::TearDown();
    }
    grid::Grid& open()
    {
        reload();
        form = std::make_unique<frm64Matrix>();
        form->resize(900, 600);
        form->Setup();
        form->show();
        return *form->Grid1();
    }
    static int Col(int a, int o) { return frm64Matrix::Column(a, o); }

    std::unique_ptr<frm64Matrix> form;
};

TEST_F(MatrixTest, IsTheRegisteredFormOfItsWorksheet)
{
    worksheets::comparison_complexity::RegisterForms();
    std::unique_ptr<worksheets::WorksheetForm> made(worksheets::CreateWorksheetForm("tab64", nullptr));
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

// Every cell of a small filled analysis against the model's figures.
TEST_F(MatrixTest, SmallAnalysisCellByCell)
{
    testsupport::BuildAnalysis(testsupport::kSmallAnalysis);
    grid::Grid& g = open();
    reload();
    const auto& alts = model::GetAlternatives();
    const int n = alts.Count();
    ASSERT_EQ(n, testsupport::kSmallAnalysis.alternatives);
    QList<model::c41Objective*> objectives;
    for (model::c41Objective* o : model::GetPrioritizedObjectives())
        if (!o->bRoot())
            objectives.append(o);
    QList<model::c41Objective*> issues;
    for (model::c41Objective* s : model::SafetyIssuesCollection())
        if (!s->bSafetyRoot())
            issues.append(s);
    ASSERT_EQ(g.cols(), 4 * n + 3);
    ASSERT_EQ(g.rows(), 10 + objectives.size() + 1 + issues.size());
    const bool nvc = !model::bNVCTableEmpty();
    ASSERT_TRUE(nvc);
    auto extreme = model::GetExtremeOutcome();
    const auto plain = [](float v) { return QString::number(double(v), 'g', 7); };
    const auto fmt = [](double v, const char* f) { return grid::FormatNumber(v, QString::fromLatin1(f)); };
    int fallbacks = 0;

    for (int a = 1; a <= n; ++a) {
        model::c51Alternative& alt = *alts.At(a - 1);
        const QString pre = a % 2 == 0 ? " " : "";
        const double cost = alt.ExpectedCost(), prot = alt.ExpectedProtection(), loss = alt.ExpectedNVCLoss();
        for (int o = 1; o <= 4; ++o) {
            const int c = Col(a, o);
            SCOPED_TRACE(QString("alternative %1, column %2").arg(a).arg(c).toStdString());
            EXPECT_EQ(g.text(0, c), pre + alt.Label());
            EXPECT_EQ(g.text(1, c), pre + fmt(alt.EstimatedCost(), "$#,0"));
            EXPECT_EQ(g.text(2, c), pre + fmt(cost, "$#,0"));
            EXPECT_EQ(g.text(3, c), pre + fmt(prot, "$#,0"));
            EXPECT_EQ(g.text(4, c), pre + fmt(loss, "$#,0"));
            EXPECT_EQ(g.text(5, c), pre + fmt(prot - loss - cost, "$#,0"));
            EXPECT_EQ(g.text(7, c), o == 4 ? QString() : QString::number(alt.OutcomePercent(o)));
        }
        // The scores of one outcome (or the expected value) down rows 9 and below.
        const auto expectColumn = [&](int o, model::c53Outcome* outcome) {
            const int c = Col(a, o);
            SCOPED_TRACE(QString("alternative %1, outcome %2").arg(a).arg(o).toStdString());
            const bool shown = o == 4 || outcome->bShow();
            const auto cell = [&](float outcomeValue, float expectedValue) {
                return !shown ? QString() : o == 4 ? fmt(expectedValue, "0.0") : plain(outcomeValue);
            };
            EXPECT_EQ(g.text(9, c), cell(outcome ? outcome->TotalScore() : 0, alt.ExpectedScore()));
            for (int i = 0; i < objectives.size(); ++i) {
                const int key = objectives[i]->ItemKey();
                EXPECT_EQ(g.text(10 + i, c), objectives[i]->bCategory()
                                                 ? QString()
                                                 : cell(outcome ? outcome->RawObjScore(key) : 0, alt.ExpectedRawObjScore(key)));
            }
            const int top = 10 + int(objectives.size());
            EXPECT_EQ(g.text(top, c), cell(outcome ? outcome->SafetyScore() : 0, alt.ExpectedSafetyScore()));
            for (int s = 0; s < issues.size(); ++s) {
                const int key = issues[s]->ItemKey();
                EXPECT_EQ(g.text(top + 1 + s, c),
                          cell(outcome ? outcome->RawSafetyScore(key) : 0, alt.ExpectedRawSafetyScore(key)));
            }
        };
        expectColumn(1, alt.Outcome(1).get());
        expectColumn(2, alt.Outcome(2).get());
        expectColumn(3, extreme.get());
        expectColumn(4, nullptr);
        fallbacks += alt.Outcome(2)->bShow() ? 1 : 0;
    }
    EXPECT_GT(fallbacks, 0);
    EXPECT_LT(fallbacks, n);   // both kinds are checked

    // Captions and weights.
    for (int i = 0; i < objectives.size(); ++i) {
        const model::c41Objective* o = objectives[i];
        EXPECT_EQ(g.text(10 + i, 0), (o->bCategory() ? "" : "     ") + o->ItemName());
        EXPECT_EQ(g.text(10 + i, 1), o->bObjective() ? fmt(o->Weight(), "fixed") : QString());
    }
    const int top = 10 + int(objectives.size());
    for (int s = 0; s < issues.size(); ++s) {
        EXPECT_EQ(g.text(top + 1 + s, 0), "     " + issues[s]->ItemName());
        EXPECT_EQ(g.text(top + 1 + s, 1), fmt(issues[s]->Weight(), "fixed"));
    }
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

// The Comparison section of a filled analysis reached through the program's own window: each
// worksheet shows every alternative, and the decision taken on the last one is in the file
// after the worksheet is left. With TOLMAR_KEEP_PNG set, the main window is kept on each.

#include "core/c0item.h"
#include "core/g8summary.h"
#include "model/c51alternative.h"
#include "model/g51alternatives.h"
#include "platform/chart/barchart.h"
#include "platform/grid/grid.h"
#include "platform/richtext/rtf.h"
#include "support/keeppicture.h"
#include "support/mainwindow_fixture.h"
#include "worksheets/comparison_complexity/frm62graphs.h"
#include "worksheets/comparison_complexity/frm63decisiontree.h"
#include "worksheets/comparison_complexity/frm64matrix.h"
#include "worksheets/comparison_complexity/frm65decision.h"

#include <QAction>
#include <QComboBox>

using namespace worksheets::comparison_complexity;

namespace {

class ComparisonJourney : public MainWindowFixture {};

TEST_F(ComparisonJourney, EachWorksheetOfTheSectionShowsTheAnalysis)
{
    window->sectionItem(6)->trigger();
    auto* graphs = Show<frm62Graphs>(2);
    ASSERT_NE(graphs, nullptr);
    EXPECT_EQ(graphs->chtCosts()->rowCount(), 4);
    testsupport::KeepPicture(*window, "journey-graphs.png");

    auto* tree = Show<frm63DecisionTree>(3);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->cboAlternative(2)->currentIndex(), 1);
    testsupport::KeepPicture(*window, "journey-tree.png");

    auto* matrix = Show<frm64Matrix>(4);
    ASSERT_NE(matrix, nullptr);
    EXPECT_EQ(matrix->Grid1()->cols(), 4 * 4 + 3);
    testsupport::KeepPicture(*window, "journey-matrix.png");

    auto* decision = Show<frm65Decision>(5);
    ASSERT_NE(decision, nullptr);
    decision->cboAlternatives()->setCurrentIndex(1);
    testsupport::KeepPicture(*window, "journey-decision.png");
    Show<frm62Graphs>(2);   // leaving saves the decision texts
    EXPECT_TRUE(prompter.messages().isEmpty());

    // What the next session finds in the file.
    window.reset();
    core::CloseDatafile();
    testsupport::ClearModelCaches();
    ASSERT_TRUE(core::OpenDatafile(path));
    const auto selected = model::GetSelectedAlternative();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->ItemName(), "B");
    // B has a Fallback: its description opens so and has both labels.
    const QString text = richtext::RtfToPlainText(core::GetSummaryItem(291)->Body());
    EXPECT_TRUE(text.startsWith("This alternative includes a Fallback outcome.")) << text.toStdString();
    EXPECT_TRUE(text.contains("Fallback:"));
    core::CloseDatafile();
    testsupport::ClearModelCaches();
}

} // namespace

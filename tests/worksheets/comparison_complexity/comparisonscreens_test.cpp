// The comparison worksheets on a filled analysis, as a fire manager sees them: every form
// shows every alternative, and with TOLMAR_KEEP_PNG set each is saved as a picture.

#include "core/costsource.h"
#include "core/g0items.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g51alternatives.h"
#include "platform/chart/barchart.h"
#include "platform/grid/grid.h"
#include "support/keeppicture.h"
#include "support/placedform.h"
#include "support/worksheet_fixture.h"
#include "worksheets/comparison_complexity/frm62graphs.h"
#include "worksheets/comparison_complexity/frm63decisiontree.h"
#include "worksheets/comparison_complexity/frm64matrix.h"
#include "worksheets/comparison_complexity/frm65decision.h"
#include "core/g8summary.h"
#include "core/c0item.h"
#include "platform/richtext/rtf.h"
#include "platform/canvas/canvas.h"
#include <QComboBox>
#include <QLabel>

#include <gtest/gtest.h>

using namespace worksheets::comparison_complexity;

namespace {

class FilledAnalysis : public WorksheetFixture<> {
protected:
    void SetUp() override
    {
        WorksheetFixture::SetUp();
        testsupport::BuildAnalysis(testsupport::kSmallAnalysis);
    }
};

TEST_F(FilledAnalysis, Graphs)
{
    frm62Graphs form;
    testsupport::PlaceAsShell(form);
    form.resize(1000, 760);
    form.Setup();
    form.show();
    const int n = model::GetAlternatives().Count();
    ASSERT_EQ(n, testsupport::kSmallAnalysis.alternatives);
    EXPECT_EQ(form.chtCosts()->rowCount(), n);
    EXPECT_GT(form.chtCriteria()->columnCount(), 0);
    testsupport::KeepPicture(form, "frm62graphs.png");
}

TEST_F(FilledAnalysis, DecisionTree)
{
    frm63DecisionTree form;
    testsupport::PlaceAsShell(form);
    form.resize(800, 560);
    form.Setup();
    form.show();
    // Drawing 1 on an alternative with a Fallback, drawing 2 on the one after it; the third
    // alternative (C) keeps its Fallback hidden.
    EXPECT_TRUE(form.picDecisionTree(1)->drawing().texts().contains("Fallback Plan"));
    form.cboAlternative(2)->setCurrentIndex(2);
    EXPECT_FALSE(form.picDecisionTree(2)->drawing().texts().contains("Fallback Plan"));
    testsupport::KeepPicture(form, "frm63decisiontree.png");
}

TEST_F(FilledAnalysis, Matrix)
{
    frm64Matrix form;
    testsupport::PlaceAsShell(form);
    form.resize(1250, 760);
    form.Setup();
    form.show();
    EXPECT_EQ(form.Grid1()->cols(), 4 * model::GetAlternatives().Count() + 3);
    testsupport::KeepPicture(form, "frm64matrix.png");
}

TEST_F(FilledAnalysis, Decision)
{
    frm65Decision form;
    testsupport::PlaceAsShell(form);
    form.resize(1000, 620);
    form.Setup();
    form.show();
    // The builder stored the first alternative as the selection; choosing the second writes
    // its description.
    EXPECT_EQ(form.cboAlternatives()->currentIndex(), 0);
    form.cboAlternatives()->setCurrentIndex(1);
    EXPECT_EQ(model::GetSelectedAlternativeKey(), model::GetAlternatives().At(1)->ItemKey());
    EXPECT_TRUE(richtext::RtfToPlainText(core::GetSummaryItem(291)->Body()).startsWith("This alternative"));
    testsupport::KeepPicture(form, "frm65decision.png");
}

} // namespace

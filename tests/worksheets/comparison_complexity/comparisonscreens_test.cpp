// The comparison worksheets on a filled analysis, as a fire manager sees them: every form
// shows every alternative, and with TOLMAR_SCREENSHOTS set each is saved as a picture.

#include "comparison_fixture.h"
#include "model/g51alternatives.h"
#include "platform/chart/barchart.h"
#include "platform/grid/grid.h"
#include "worksheets/comparison_complexity/frm62graphs.h"
#include "worksheets/comparison_complexity/frm64matrix.h"

#include <gtest/gtest.h>

using namespace worksheets::comparison_complexity;

namespace {

class FilledAnalysis : public ComparisonFixture {
protected:
    void SetUp() override
    {
        ComparisonFixture::SetUp();
        testsupport::BuildAnalysis(testsupport::kSmallAnalysis);
    }
};

TEST_F(FilledAnalysis, Graphs)
{
    frm62Graphs form;
    form.resize(1000, 760);
    form.Setup();
    form.show();
    const int n = model::GetAlternatives().Count();
    ASSERT_EQ(n, testsupport::kSmallAnalysis.alternatives);
    EXPECT_EQ(form.chtCosts()->rowCount(), n);
    EXPECT_GT(form.chtCriteria()->columnCount(), 0);
    saveShot(form, "frm62graphs");
}

TEST_F(FilledAnalysis, Matrix)
{
    frm64Matrix form;
    form.resize(1250, 760);
    form.Setup();
    form.show();
    EXPECT_EQ(form.Grid1()->cols(), 4 * model::GetAlternatives().Count() + 3);
    saveShot(form, "frm64matrix");
}

} // namespace

// The comparison worksheets on a filled analysis, as a fire manager sees them: every form
// shows every alternative, and with TOLMAR_SCREENSHOTS set each is saved as a picture.

#include "comparison_fixture.h"
#include "model/g51alternatives.h"
#include "platform/chart/barchart.h"
#include "worksheets/comparison_complexity/frm62graphs.h"

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

} // namespace

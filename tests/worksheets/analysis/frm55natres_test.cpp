#include "worksheets/analysis/frm55natres.h"

#include "analysisfixture.h"
#include "core/u14properties.h"
#include "model/c33fmu.h"
#include "model/c34nvctable.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/c64burnarea.h"
#include "model/g33fmus.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "model/textnumbers.h"
#include "platform/grid/numberformat.h"
#include "support/placedform.h"
#include "worksheets/analysis/frm55filpercents.h"
#include "worksheets/analysis/frm55natresfmu.h"
#include "worksheets/analysis/registerforms.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <functional>
#include <memory>

using worksheets::frm55NatRes;
using worksheets::frm55NatResFMU;

namespace {

class NatResTest : public AnalysisFixture {
protected:
    void TearDown() override
    {
        form.reset();
        AnalysisFixture::TearDown();
    }

    template <class Form> Form& open()
    {
        auto* f = testsupport::NewForm<Form>().release();
        form.reset(f);
        showForm(*f);
        f->Setup();
        QApplication::processEvents();
        return *f;
    }
    // Presses the FIL button; the dialog, once up, is handed to use, which closes it.
    void withDialog(const std::function<void(worksheets::frm55FILPercents&)>& use)
    {
        bool used = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<worksheets::frm55FILPercents*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            used = true;
            use(*dialog);
            QTest::mouseClick(dialog->cmdClose(), Qt::LeftButton);
        });
        QTest::mouseClick(form->cmdFIL(), Qt::LeftButton);
        EXPECT_TRUE(used);
    }
    // The first Target's only burn area gets the FIL portions 0, 0, 0, 5, 0, 0.
    static void fourthLevelOnly(int fmuKey)
    {
        model::c64BurnArea* area = model::GetAlternatives().Items().first()->Outcome(model::OutcomeKind::Target)->BurnArea(fmuKey);
        for (int f = 1; f <= 6; ++f)
            area->SetFILPortion(f, f == 4 ? 5 : 0);
        area->SaveChanges();
        testsupport::ClearModelCaches();
    }
    static QString text(float v) { return QString::number(v); }

    std::unique_ptr<worksheets::NatResForm> form;
};

TEST_F(NatResTest, OnePageForFewerThanTwoFMUsTheOtherForMore)
{
    worksheets::analysis::RegisterForms();
    std::unique_ptr<worksheets::WorksheetForm> a = testsupport::CreateForm("tab55a");
    std::unique_ptr<worksheets::WorksheetForm> b = testsupport::CreateForm("tab55b");
    EXPECT_NE(dynamic_cast<frm55NatRes*>(a.get()), nullptr);
    EXPECT_NE(dynamic_cast<frm55NatResFMU*>(b.get()), nullptr);
}

TEST_F(NatResTest, WithoutFMUsTheWholeFireTableGivesTheImpact)
{
    build({2, 0, 2, 2, 1, 0});
    fourthLevelOnly(0);
    open<frm55NatRes>();
    grid::Grid& c = *form->grdCompute();
    const model::c34NVCTable* table = model::GetNVCTable(0);
    for (int f = 1; f <= 6; ++f) {
        EXPECT_EQ(c.text(f, 0), QString::number(f));
        EXPECT_EQ(c.text(f, 1), f == 4 ? "100" : "0") << f;
        EXPECT_EQ(c.text(f, 2), text(table->FilTotal(f))) << f;
    }
    EXPECT_EQ(form->lblImpactPerAcre()->text(), grid::FormatNumber(table->FilTotal(4), "0"));
    EXPECT_EQ(form->grdOutcomes()->text(1, 3), model::OutcomeImpactPerAcreText(*form->currentOutcome()));
    keep(*form, "tab55a.png");

    // The keyboard moves to the next outcome as a click would.
    form->grdOutcomes()->setFocus();
    key(Qt::Key_Down);
    EXPECT_EQ(form->currentOutcome(), form->grdOutcomes()->rowObject<model::c53Outcome>(2));
    const model::c64BurnArea* area = form->currentOutcome()->BurnArea(0);
    int total = 0;
    for (int f = 1; f <= 6; ++f) {
        EXPECT_EQ(c.text(f, 1), QString::number(area->FILPercent(f)));
        total += int(grid::NumericValue(grid::FormatNumber(table->FilTotal(f) * area->FILPercent(f) / 100.0, "0")));
    }
    EXPECT_EQ(form->lblImpactPerAcre()->text(), QString::number(total));
}

TEST_F(NatResTest, WithOneFMUItsOwnTableGivesTheImpact)
{
    build({2, 1, 2, 2, 1, 0});
    const int key = model::GetFMUs().first()->ItemKey();
    fourthLevelOnly(key);
    open<frm55NatRes>();
    const model::c34NVCTable* table = model::GetFMUs().first()->NVCTable();
    EXPECT_EQ(form->grdCompute()->text(4, 1), "100");
    EXPECT_EQ(form->grdCompute()->text(4, 2), text(table->FilTotal(4)));
    EXPECT_EQ(form->lblImpactPerAcre()->text(), grid::FormatNumber(table->FilTotal(4), "0"));
}

TEST_F(NatResTest, SeveralFMUsShowEachCellItsTotalsAndItsComputation)
{
    build(testsupport::kSmallAnalysis);
    auto& page = open<frm55NatResFMU>();
    grid::Grid& c = *page.grdCompute();
    ASSERT_EQ(c.cols(), 3);
    // A's Target, worked by hand from the builder's analysis. Its FMUs hold portions 17 and 20
    // of it: 45% and 54% (whole percents, cut). At each level both NVC tables lose $200 an acre
    // times the level. Unit-1's levels hold portions 2, 3, 0, 1, 2, 3 of 11 (18, 27, 0, 9, 18,
    // 27%), Unit-2's 3, 0, 1, 2, 3, 0 of 9 (33, 0, 11, 22, 33, 0%). A cell is the level's loss x
    // the FMU's share x the level's share: level 1 of Unit-1 is 200 x 45% x 18% = 16.20.
    const QStringList unit1 = {"-16.20", "-48.60", "0.00", "-32.40", "-81.00", "-145.80"};
    const QStringList unit2 = {"-35.64", "0.00", "-35.64", "-95.04", "-178.20", "0.00"};
    // Each level's total, and the impact per acre: the totals added, rounded at each step,
    // -52, -101, -137, -264, -523, -669.
    const QStringList levels = {"-52", "-49", "-36", "-127", "-259", "-146"};
    const QStringList shares = {"1 (18%)", "2 (27%)", "3 (0%)", "4 (9%)", "5 (18%)", "6 (27%)"};
    for (int f = 1; f <= 6; ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(c.text(f, 1), unit1[f - 1]);
        EXPECT_EQ(c.text(f, 2), unit2[f - 1]);
        EXPECT_EQ(page.grdTotals()->text(f, 0), levels[f - 1]);
        // One setting for all (the default): each level's share beside it.
        EXPECT_EQ(c.text(f, 0), shares[f - 1]);
    }
    EXPECT_EQ(page.lblImpactPerAcre()->text(), "-669");
    EXPECT_EQ(c.text(0, 1), "Unit-1\r\n(45%)");
    EXPECT_EQ(c.row(), 0);
    keep(page, "tab55b.png");

    // A click on a cell explains it; the arrow keys do the same for the next one.
    click(c, 2, 1);
    EXPECT_EQ(page.lblDetail()->text(), "-400  x  45%  x  27%  =  -48.60");
    key(Qt::Key_Right);
    EXPECT_EQ(page.lblDetail()->text(), "-400  x  54%  x  0%  =  0.00");
    key(Qt::Key_Down);
    EXPECT_EQ(page.lblDetail()->text(), "-600  x  54%  x  11%  =  -35.64");
}

TEST_F(NatResTest, ClosingTheFILDialogRefreshesTheFiguresAndTheLevelColumn)
{
    build(testsupport::kSmallAnalysis);
    auto& page = open<frm55NatResFMU>();
    grid::Grid& outcomes = *page.grdOutcomes();
    const QString lossBefore = outcomes.text(1, 4);

    withDialog([&](worksheets::frm55FILPercents& d) {
        d.optFIL(3)->click();
        keep(d, "frm55FILPercents-outcomes.png");
        drag(*d.grdFILs(), 1, 1, {1.0});
        drag(*d.grdFILs(), 2, 1, {0.0});
    });
    EXPECT_EQ(core::Property_Get("FIL option"), "3");
    // The level column names the levels alone now that each outcome has its own shares.
    for (int f = 1; f <= 6; ++f)
        EXPECT_EQ(page.grdCompute()->text(f, 0), QString::number(f));
    model::c53Outcome& o = *page.currentOutcome();
    EXPECT_EQ(o.BurnArea(model::GetFMUs().first()->ItemKey())->FILPortion(1), 10);
    EXPECT_EQ(outcomes.text(1, 4), model::OutcomeNVCLossText(o));
    EXPECT_EQ(outcomes.text(1, 3), model::OutcomeImpactPerAcreText(o));
    EXPECT_NE(outcomes.text(1, 4), lossBefore);

    // Back to one setting for everything: the shares come back beside the levels.
    prompter.answer(ui::Answer::Yes);
    withDialog([&](worksheets::frm55FILPercents& d) { d.optFIL(1)->click(); });
    EXPECT_EQ(page.grdCompute()->text(1, 0), QString("1 (%1%)").arg(o.BurnArea(model::GetFMUs().first()->ItemKey())->FILPercent(1)));
}

} // namespace

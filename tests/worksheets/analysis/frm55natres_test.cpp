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
        auto* f = new Form;
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
        model::c64BurnArea* area = model::GetAlternatives().Items().first()->Outcome(1)->BurnArea(fmuKey);
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
    std::unique_ptr<worksheets::WorksheetForm> a(worksheets::CreateWorksheetForm("tab55a", nullptr));
    std::unique_ptr<worksheets::WorksheetForm> b(worksheets::CreateWorksheetForm("tab55b", nullptr));
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
    model::c53Outcome& o = *page.currentOutcome();
    const QList<model::c33FMU*> fmus = model::GetFMUs();
    ASSERT_EQ(c.cols(), fmus.size() + 1);
    int grand = 0;
    for (int f = 1; f <= 6; ++f) {
        double level = 0;
        for (int j = 1; j <= fmus.size(); ++j) {
            const double v = double(fmus[j - 1]->NVCTable()->FilTotal(f)) *
                             o.BurnArea(fmus[j - 1]->ItemKey())->FILPercent(f) * o.FMUPercent(j) / 10000.0;
            EXPECT_EQ(c.text(f, j), grid::FormatNumber(float(v), "0.00")) << f << "," << j;
            level = float(level + float(v));
        }
        EXPECT_EQ(page.grdTotals()->text(f, 0), grid::FormatNumber(level, "0"));
        grand = model::textnum::RoundHalfEven(grand + level);
        // One setting for all (the default): each level's share beside it.
        EXPECT_EQ(c.text(f, 0), QString("%1 (%2%)").arg(f).arg(o.BurnArea(fmus[0]->ItemKey())->FILPercent(f)));
    }
    EXPECT_EQ(page.lblImpactPerAcre()->text(), QString::number(grand));
    EXPECT_EQ(c.text(0, 1), fmus[0]->ItemName() + "\r\n(" + text(o.FMUPercent(1)) + "%)");
    EXPECT_EQ(c.row(), 0);
    keep(page, "tab55b.png");

    // A click on a cell explains it; the arrow keys do the same for the next one.
    click(c, 2, 1);
    const auto detail = [&](int f, int j) {
        const model::c64BurnArea* area = o.BurnArea(fmus[j - 1]->ItemKey());
        return text(fmus[j - 1]->NVCTable()->FilTotal(f)) + "  x  " + text(o.FMUPercent(j)) + "%  x  " +
               QString::number(area->FILPercent(f)) + "%  =  " + c.text(f, j);
    };
    EXPECT_EQ(page.lblDetail()->text(), detail(2, 1));
    key(Qt::Key_Right);
    EXPECT_EQ(page.lblDetail()->text(), detail(2, 2));
    key(Qt::Key_Down);
    EXPECT_EQ(page.lblDetail()->text(), detail(3, 2));
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

#include "worksheets/analysis/frm55filpercents.h"

#include "analysisfixture.h"
#include "core/u14properties.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/c64burnarea.h"
#include "model/g33fmus.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <memory>

using worksheets::frm55FILPercents;

namespace {

constexpr int kAmount = 1;
constexpr int kPercent = 2;
using Amounts = std::array<int, 6>;

class FILPercentsTest : public AnalysisFixture {
protected:
    void TearDown() override
    {
        dialog.reset();
        AnalysisFixture::TearDown();
    }

    frm55FILPercents& open()
    {
        dialog = std::make_unique<frm55FILPercents>();
        dialog->Setup();
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        QApplication::processEvents();
        return *dialog;
    }
    void close()
    {
        QTest::mouseClick(dialog->cmdClose(), Qt::LeftButton);
        EXPECT_TRUE(dialog->unloaded());
        dialog.reset();
    }
    grid::Grid& fils() { return *dialog->grdFILs(); }

    Amounts shown()
    {
        Amounts a{};
        for (int f = 1; f <= 6; ++f)
            a[f - 1] = dialog->amount(f);
        return a;
    }
    QStringList percents()
    {
        QStringList p;
        for (int f = 1; f <= 6; ++f)
            p << fils().text(f, kPercent);
        return p;
    }
    // Sets the six amounts with presses on their bars.
    void press(const Amounts& amounts)
    {
        for (int f = 1; f <= 6; ++f)
            drag(fils(), f, kAmount, {amounts[f - 1] / 10.0});
    }
    // The stored amounts of every burn area, outcome by outcome.
    static QList<Amounts> everyArea()
    {
        QList<model::c53Outcome*> outcomes;
        for (const auto& alt : model::GetAlternatives())
            for (const model::OutcomeKind kind : model::kAlternativeOutcomeKinds)
                outcomes << alt->Outcome(kind).get();
        outcomes << model::GetExtremeOutcome().get();
        QList<Amounts> all;
        for (model::c53Outcome* o : outcomes) {
            QList<model::c64BurnArea*> areas = o->BurnAreaCollection();
            if (areas.isEmpty())
                areas << o->BurnArea(0);
            for (const model::c64BurnArea* a : areas) {
                Amounts v{};
                for (int f = 1; f <= 6; ++f)
                    v[f - 1] = a->FILPortion(f);
                all << v;
            }
        }
        return all;
    }
    static QList<Amounts> storedAreas()
    {
        testsupport::ClearModelCaches();
        return everyArea();
    }

    std::unique_ptr<frm55FILPercents> dialog;
};

TEST_F(FILPercentsTest, PressesReadTenthsOfTheBarAndClampPastItsEnds)
{
    build(testsupport::kSmallAnalysis);
    open();
    EXPECT_EQ(dialog->windowTitle(), "FIL Proportions");
    struct Case {
        double at;
        int amount;
    };
    for (const Case c : {Case{0.34, 3}, Case{0.36, 4}, Case{0.0, 0}, Case{1.0, 10}}) {
        drag(fils(), 1, kAmount, {c.at});
        EXPECT_EQ(dialog->amount(1), c.amount) << c.at;
        EXPECT_EQ(fils().cellFloodPercent(1, kAmount), c.amount * 10) << c.at;
    }
    drag(fils(), 2, kAmount, {0.5, 4.0});
    EXPECT_EQ(dialog->amount(2), 10);
    drag(fils(), 3, kAmount, {0.5, -2.0});
    EXPECT_EQ(dialog->amount(3), 0);
    EXPECT_EQ(fils().row(), 3);
    keep(*dialog, "frm55FILPercents.png");
}

TEST_F(FILPercentsTest, PercentsAreTheModelsOwn)
{
    build(testsupport::kSmallAnalysis);
    open();
    press({1, 1, 1, 0, 0, 0});
    EXPECT_EQ(percents(), QStringList({"33", "33", "33", "0", "0", "0"}));
    press({1, 7, 0, 0, 0, 0});
    EXPECT_EQ(percents(), QStringList({"12", "88", "0", "0", "0", "0"}));
    // All zero: the 16 each that the impact figures use.
    press({0, 0, 0, 0, 0, 0});
    EXPECT_EQ(percents(), QStringList(6, "16"));
}

TEST_F(FILPercentsTest, OpeningAndClosingWithoutAChangeLeavesTheFileAsItWas)
{
    build(testsupport::kSmallAnalysis);
    const QList<Amounts> before = storedAreas();
    ASSERT_NE(before.first(), before.last());   // the outcomes' amounts differ
    testsupport::ClearModelCaches();
    const QByteArray hash = fileHash();
    open();
    EXPECT_EQ(dialog->filOption(), 1);
    close();
    EXPECT_EQ(fileHash(), hash);

    open();
    const int first = dialog->amount(1);
    drag(fils(), 1, kAmount, {0.5});   // a change that is then taken back
    drag(fils(), 1, kAmount, {first / 10.0});
    close();
    EXPECT_EQ(storedAreas(), before);
}

// One setting for all computations holds for every burn area: a file whose areas differ under
// it (burn areas made before they took the setting) is asked about as the dialog closes, and Yes
// gives the amounts shown to every area.
TEST_F(FILPercentsTest, ClosingUnderOneSettingForAllGivesItToEveryBurnAreaAfterAsking)
{
    build(testsupport::kSmallAnalysis);
    ASSERT_NE(storedAreas().first(), storedAreas().last());
    testsupport::ClearModelCaches();
    open();
    ASSERT_EQ(dialog->filOption(), 1);
    const Amounts set = shown();
    prompter.answer(ui::Answer::Yes);
    close();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "The outcomes and FMUs do not all have the same FIL settings.\r\n"
                                           "Use the settings shown for all of them?");
    EXPECT_EQ(prompter.messages()[0].defaultButton, ui::Answer::No);
    for (const Amounts& a : storedAreas())
        EXPECT_EQ(a, set);

    // Now that they agree, opening and closing asks nothing.
    prompter.clear();
    testsupport::ClearModelCaches();
    open();
    close();
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(FILPercentsTest, WideningTheReachAsksBeforeItOverwritesOtherAmounts)
{
    build(testsupport::kSmallAnalysis);
    core::Property_Set("FIL option", "3");
    testsupport::ClearModelCaches();
    open();
    EXPECT_EQ(dialog->filOption(), 3);
    EXPECT_TRUE(dialog->grdOutcomes()->isVisible());
    EXPECT_TRUE(dialog->pnlFMUs()->isVisible());

    // Per outcome: the amounts of the outcome left are stored as the keyboard moves on.
    press({0, 2, 4, 6, 0, 0});
    dialog->grdOutcomes()->setFocus();
    key(Qt::Key_Down);
    EXPECT_EQ(dialog->currentOutcome(), dialog->grdOutcomes()->rowObject<model::c53Outcome>(2));
    const QList<Amounts> stored = storedAreas();
    EXPECT_EQ(stored.first(), (Amounts{0, 2, 4, 6, 0, 0}));
    testsupport::ClearModelCaches();
    dialog.reset();
    open();

    // To one setting for all: No keeps everything as it is.
    prompter.answer(ui::Answer::No);
    dialog->optFIL(1)->click();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(prompter.messages()[0].defaultButton, ui::Answer::No);
    EXPECT_TRUE(dialog->optFIL(3)->isChecked());
    EXPECT_EQ(dialog->filOption(), 3);
    EXPECT_EQ(core::Property_Get("FIL option"), "3");
    EXPECT_EQ(storedAreas(), stored);
    testsupport::ClearModelCaches();
    dialog.reset();
    open();

    // Yes puts the amounts shown in every burn area of every outcome, the Extreme one too.
    prompter.answer(ui::Answer::Yes);
    dialog->optFIL(1)->click();
    EXPECT_EQ(core::Property_Get("FIL option"), "1");
    EXPECT_FALSE(dialog->grdOutcomes()->isVisible());
    close();
    for (const Amounts& a : storedAreas())
        EXPECT_EQ(a, (Amounts{0, 2, 4, 6, 0, 0}));
}

// Moved to an outcome whose burn areas could not be read, the dialog showed the amounts of
// the outcome left as the next one's, and closing it after a press stored them over the next
// one's. It now closes unsaved after the message; the file keeps every area's amounts.
TEST_F(FILPercentsTest, AnOutcomeWhoseAmountsCannotBeReadClosesTheDialogUnsaved)
{
    build(testsupport::kSmallAnalysis);
    core::Property_Set("FIL option", "3");
    const QList<Amounts> stored = storedAreas();
    testsupport::ClearModelCaches();
    open();
    const Amounts first = shown();

    db().Execute("ALTER TABLE OutcomeFMZs RENAME TO OutcomeFMZsHeld");
    dialog->grdOutcomes()->setFocus();
    key(Qt::Key_Down);
    db().Execute("ALTER TABLE OutcomeFMZsHeld RENAME TO OutcomeFMZs");
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);

    // What a user does next: one press on a bar of the outcome chosen, where the dialog is
    // still there, and the dialog closed.
    if (dialog->isVisible()) {
        EXPECT_EQ(shown(), first);
        drag(fils(), 1, kAmount, {first[0] == 10 ? 0.5 : 1.0});
        QTest::mouseClick(dialog->cmdClose(), Qt::LeftButton);
    }
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(dialog->unloaded());
    dialog.reset();
    EXPECT_EQ(storedAreas(), stored);
    EXPECT_EQ(prompter.messages().size(), 1);
}

TEST_F(FILPercentsTest, WithOneFMUTheOptionPerFMUGives)
{
    build({2, 1, 2, 2, 1, 0});
    core::Property_Set("FIL option", "2");
    testsupport::ClearModelCaches();
    const QByteArray hash = fileHash();
    open();
    EXPECT_FALSE(dialog->optFIL(2)->isVisibleTo(dialog.get()));
    EXPECT_EQ(dialog->optFIL(3)->text().remove('&'), "Use separate FIL settings for each outcome");
    EXPECT_TRUE(dialog->optFIL(1)->isChecked());
    EXPECT_EQ(dialog->currentFMUKey(), model::GetFMUs().first()->ItemKey());
    close();
    EXPECT_EQ(fileHash(), hash);

    open();
    press({0, 0, 10, 0, 0, 0});
    close();
    EXPECT_EQ(core::Property_Get("FIL option"), "1");
    for (const Amounts& a : storedAreas())
        EXPECT_EQ(a, (Amounts{0, 0, 10, 0, 0, 0}));
}

TEST_F(FILPercentsTest, StoredAmountsOutOfRangePaintBarsWithinTheCell)
{
    build({2, 0, 2, 2, 1, 0});
    auto alt = model::GetAlternatives().Items().first();
    model::c64BurnArea* area = alt->Outcome(model::OutcomeKind::Target)->BurnArea(0);
    area->SetFILPortion(1, 15);
    area->SetFILPortion(2, -4);
    area->SaveChanges();
    testsupport::ClearModelCaches();
    open();
    EXPECT_EQ(fils().cellFloodPercent(1, kAmount), 100);
    EXPECT_EQ(fils().cellFloodPercent(2, kAmount), 0);
}

} // namespace
